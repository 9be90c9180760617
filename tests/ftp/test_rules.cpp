// The FTP window's widget-free rules: gauge arithmetic, names that may become local
// files, and the local listing with ".", ".." and hidden entries.
#include "ftp/FtpRules.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void percent_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<int>("percent");
        QTest::newRow("start") << qint64(0) << qint64(1000) << 0;
        QTest::newRow("half") << qint64(500) << qint64(1000) << 50;
        QTest::newRow("rounds down") << qint64(999) << qint64(1000) << 99;
        QTest::newRow("done") << qint64(1000) << qint64(1000) << 100;
        QTest::newRow("more than announced") << qint64(1500) << qint64(1000) << 100;
        QTest::newRow("size unknown") << qint64(500) << qint64(0) << 0;
        QTest::newRow("largest 32-bit size") << qint64(2147483646) << qint64(2147483647) << 99;
        QTest::newRow("beyond 4 GiB")
            << qint64(3) * 1024 * 1024 * 1024 << qint64(6) * 1024 * 1024 * 1024 << 50;
    }
    void percent() {
        QFETCH(qint64, bytes);
        QFETCH(qint64, expected);
        QTEST(TransferPercent(bytes, expected), "percent");
    }

    void refusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("plain") << "report 2024.txt" << false;
        QTest::newRow("hidden") << ".profile" << false;
        QTest::newRow("parent path") << "../../x" << true;
        QTest::newRow("absolute") << "/etc/x" << true;
        QTest::newRow("sub path") << "a/b" << true;
        QTest::newRow("backslash") << "a\\b" << true;
        QTest::newRow("dot") << "." << true;
        QTest::newRow("dot dot") << ".." << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("control") << "bad\x01name" << true;
    }
    void refusals() {
        QFETCH(QString, name);
        QTEST(!DownloadRefusal(name).isEmpty(), "refused");
    }

    void rows() {
        QCOMPARE(RowName(DirMarker + QStringLiteral("pub")), QStringLiteral("pub"));
        QCOMPARE(RowName(QStringLiteral("<DIR>x")), QStringLiteral("<DIR>x")); // a file named so
        QVERIFY(!IsDirRow(QStringLiteral("<DIR>x")));
    }

    void localEntries() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QFile hidden(dir.filePath(QStringLiteral(".hidden")));
        QVERIFY(hidden.open(QIODevice::WriteOnly));
        hidden.write("12345");
        hidden.close();
        QMap<QString, qint64> rows;
        for (const TLocalEntry& e : LocalEntries(dir.path()))
            rows[e.Row] = e.Size;
        QCOMPARE(QStringList(rows.keys()),
                 (QStringList{QStringLiteral(".hidden"), QStringLiteral("<DIR>  ."),
                              QStringLiteral("<DIR>  .."), QStringLiteral("<DIR>  sub")}));
        QCOMPARE(rows.value(QStringLiteral(".hidden")), qint64(5));
        const QList<TLocalEntry> masked = LocalEntries(dir.path(), QStringLiteral("*.txt"));
        QVERIFY(masked.isEmpty());
    }

    void roots() { QCOMPARE(LocalRoots().value(0), QDir::rootPath()); }
};

QTEST_GUILESS_MAIN(TestRules)
#include "test_rules.moc"
