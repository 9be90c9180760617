// Start-up rules without windows: the clock text, the splash number, the single-instance lock.
#include "app/Splash.h"
#include "app/Unit1.h"
#include "platform/SingleInstance.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestAppRules : public QObject {
    Q_OBJECT
private slots:
    void elapsed_data() {
        QTest::addColumn<uint>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("start") << 0u << "0:0:0";
        QTest::newRow("59 s") << 59u << "0:0:59";
        QTest::newRow("hour") << 3600u << "1:0:0";
        QTest::newRow("mixed") << 3725u << "1:2:5";
        QTest::newRow("days") << 90061u << "25:1:1";
    }
    void elapsed() {
        QFETCH(uint, seconds);
        QFETCH(QString, text);
        QCOMPARE(FormatElapsed(seconds), text);
    }

    void splashNumberTurnsAtThousand() {
        int n = 0;
        for (int i = 0; i < 1000; ++i)
            n = NextSplashNumber(n);
        QCOMPARE(n, 1000);
        QCOMPARE(NextSplashNumber(1000), 999);
        QCOMPARE(NextSplashNumber(999), 1000);
    }

    void secondInstanceIsRefused() {
        QTemporaryDir dir;
        auto first = std::make_unique<TSingleInstance>(QStringLiteral("Quillmoor"), dir.path());
        QVERIFY(!first->AlreadyRunning());
        TSingleInstance second(QStringLiteral("Quillmoor"), dir.path());
        QVERIFY(second.AlreadyRunning());
        first.reset();
        TSingleInstance third(QStringLiteral("Quillmoor"), dir.path());
        QVERIFY(!third.AlreadyRunning());
    }

    // A holder that is killed leaves no lock behind.
    void killedHolderReleasesTheLock() {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("Quillmoor.lock"));
        QProcess holder;
        holder.start(QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import fcntl, sys, time\n"
                                     "f = open(sys.argv[1], 'w')\n"
                                     "fcntl.flock(f, fcntl.LOCK_EX)\n"
                                     "print('locked', flush=True)\n"
                                     "time.sleep(600)\n"),
                      lock});
        QVERIFY(holder.waitForStarted());
        QVERIFY(holder.waitForReadyRead(10000));
        QVERIFY(TSingleInstance(QStringLiteral("Quillmoor"), dir.path()).AlreadyRunning());
        holder.kill();
        QVERIFY(holder.waitForFinished());
        QVERIFY(!TSingleInstance(QStringLiteral("Quillmoor"), dir.path()).AlreadyRunning());
    }
};

QTEST_GUILESS_MAIN(TestAppRules)
#include "test_app_rules.moc"
