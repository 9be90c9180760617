// The FTP engine against vsftpd on loopback (active and passive) and against a scripted
// server for what vsftpd will not do on demand: a stalling transfer, a 227 reply naming
// another host, a server that asks for a password.
#include "components/ftp/TipwFTP.h"
#include "tests/support/TestPeer.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void refusedLogon();
    void sessionWorks_data();
    void sessionWorks();
    void refusesBeforeSending();
    void serverErrors();
    void keepsExistingLocalFile();
    void transferModeSetsType();
    void scriptedPassiveGoesToControlHost();
    void stallTimesOutAndLeavesNoFile();
    void interruptStopsTransfer();

private:
    void Setup(TipwFTP& ftp, int port) {
        ftp.RemoteHost = QStringLiteral("127.0.0.1");
        ftp.RemotePort = port;
        ftp.User = QStringLiteral("anonymous");
        ftp.Password = QStringLiteral("guest@example.com");
    }
    void WriteServerFile(const QString& rel, const QByteArray& data) {
        QFile f(serverRoot.filePath(rel));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    static QString Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    QTemporaryDir serverRoot;
    QTemporaryDir local;
    TestPeer vsftpd;
};

void TestEngine::initTestCase() {
    QVERIFY(serverRoot.isValid() && local.isValid());
    QVERIFY(QDir::setCurrent(local.path()));
    QVERIFY2(vsftpd.Start(TestPeer::Script(QStringLiteral("vsftpd.sh")), {serverRoot.path()}),
             qPrintable(vsftpd.Error()));
}

void TestEngine::refusedLogon() {
    TipwFTP ftp;
    Setup(ftp, vsftpd.Port());
    ftp.User = QStringLiteral("bob");
    try {
        ftp.Logon();
        QFAIL("log-on of an unknown user succeeded");
    } catch (const EipwFTP& e) {
        QCOMPARE(e.Code, 530);
        QVERIFY2(e.Message.startsWith(QStringLiteral("530: ")) && e.Message.size() > 5,
                 qPrintable(e.Message));
    }
    QVERIFY(!ftp.Connected());
    try {
        ftp.ListDirectoryLong();
        QFAIL("listing without a connection succeeded");
    } catch (const EipwFTP& e) {
        QCOMPARE(e.Code, int(TipwFTP::errNotConnected));
    }
}

void TestEngine::sessionWorks_data() {
    QTest::addColumn<bool>("passive");
    QTest::newRow("active") << false;
    QTest::newRow("passive") << true;
}

// One log-on serves a whole session: change directory, upload, list, download, rename,
// make and remove a directory, delete, log off.
void TestEngine::sessionWorks() {
    QFETCH(bool, passive);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    TipwFTP ftp;
    Setup(ftp, vsftpd.Port());
    ftp.Passive = passive;
    QStringList trail;
    connect(&ftp, &TipwFTP::OnPITrail, this, [&](int, const QString& m) { trail << m; });
    QList<qint64> progress;
    int starts = 0, ends = 0;
    connect(&ftp, &TipwFTP::OnStartTransfer, this, [&](int) {
        ++starts;
        progress.clear();
    });
    connect(&ftp, &TipwFTP::OnTransfer, this,
            [&](int, qint64 b, const QByteArray&) { progress << b; });
    connect(&ftp, &TipwFTP::OnEndTransfer, this, [&](int) { ++ends; });

    ftp.Logon();
    QVERIFY(ftp.Connected());
    QCOMPARE(ftp.RemotePath(), QStringLiteral("/"));
    ftp.SetRemotePath(QStringLiteral("pub"));
    QCOMPARE(ftp.RemotePath(), QStringLiteral("/pub"));

    QByteArray data(700 * 1024 + 13, Qt::Uninitialized);
    for (char& c : data)
        c = char(QRandomGenerator::global()->bounded(256));
    const QString up = tag + QStringLiteral(" up.bin");
    {
        QFile f(up);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    ftp.LocalFile = up;
    ftp.RemoteFile = up;
    ftp.Upload();
    QCOMPARE(starts, 1);
    QCOMPARE(ends, 1);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last(), qint64(data.size()));
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));

    ftp.MakeDirectory(tag + QStringLiteral("-dir"));
    QMap<QString, QPair<bool, qint64>> listed;
    connect(&ftp, &TipwFTP::OnDirList, this,
            [&](const QString&, const QString& name, bool dir, qint64 size, const QString&) {
                listed[name] = {dir, size};
            });
    ftp.RemoteFile.clear();
    ftp.ListDirectoryLong();
    QCOMPARE(listed.value(up), qMakePair(false, qint64(data.size())));
    QCOMPARE(listed.value(tag + QStringLiteral("-dir")).first, true);

    ftp.RemoteFile = up;
    ftp.LocalFile = tag + QStringLiteral(" down.bin");
    ftp.Download();
    QCOMPARE(starts, 2);
    QCOMPARE(ends, 2);
    QCOMPARE(progress.last(), qint64(data.size()));
    QFile down(ftp.LocalFile);
    QVERIFY(down.open(QIODevice::ReadOnly));
    QCOMPARE(down.readAll(), data);

    ftp.RemoteFile = up;
    ftp.RenameFile(tag + QStringLiteral(" renamed.bin"));
    QVERIFY(QFile::exists(
        serverRoot.filePath(QStringLiteral("pub/") + tag + QStringLiteral(" renamed.bin"))));
    ftp.DeleteFile(tag + QStringLiteral(" renamed.bin"));
    ftp.RemoveDirectory(tag + QStringLiteral("-dir"));
    QVERIFY(!QFile::exists(
        serverRoot.filePath(QStringLiteral("pub/") + tag + QStringLiteral(" renamed.bin"))));
    QVERIFY(!QFileInfo::exists(
        serverRoot.filePath(QStringLiteral("pub/") + tag + QStringLiteral("-dir"))));

    ftp.SetRemotePath(QStringLiteral(".."));
    QCOMPARE(ftp.RemotePath(), QStringLiteral("/"));
    ftp.Logoff();
    QVERIFY(!ftp.Connected());
    QCOMPARE(trail.filter(QRegularExpression(QStringLiteral("^USER "))).size(), 1);
    QVERIFY(trail.contains(QStringLiteral("QUIT")));
    QVERIFY(trail
                .filter(QRegularExpression(passive ? QStringLiteral("^(EPSV|PASV)")
                                                   : QStringLiteral("^(EPRT|PORT) ")))
                .size() >= 3);
}

// Control characters could smuggle a second command into the control connection.
void TestEngine::refusesBeforeSending() {
    TipwFTP ftp;
    Setup(ftp, vsftpd.Port());
    ftp.Logon();
    int sent = 0;
    connect(&ftp, &TipwFTP::OnPITrail, this, [&](int dir, const QString&) { sent += dir == 0; });
    const QStringList bad = {QStringLiteral("x\r\nDELE y"), QStringLiteral("a\nb"),
                             QString(QChar(0)) + u'z'};
    for (const QString& name : bad) {
        const QList<std::function<void()>> ops = {
            [&] { ftp.DeleteFile(name); },
            [&] { ftp.MakeDirectory(name); },
            [&] { ftp.RemoveDirectory(name); },
            [&] { ftp.SetRemotePath(name); },
            [&] {
                ftp.RemoteFile = name;
                ftp.LocalFile = QStringLiteral("ok");
                ftp.Download();
            },
            [&] {
                ftp.RemoteFile = QStringLiteral("ok");
                ftp.RenameFile(name);
            },
        };
        for (const auto& op : ops) {
            try {
                op();
                QFAIL("a name with a control character was accepted");
            } catch (const EipwFTP& e) {
                QCOMPARE(e.Code, int(TipwFTP::errBadName));
            }
        }
    }
    QCOMPARE(sent, 0);
    QVERIFY(!QFile::exists(QStringLiteral("ok")));
}

void TestEngine::serverErrors() {
    TipwFTP ftp;
    Setup(ftp, vsftpd.Port());
    ftp.Logon();
    const QList<std::function<void()>> ops = {
        [&] { ftp.SetRemotePath(QStringLiteral("/no-such-dir")); },
        [&] {
            ftp.RemoteFile = QStringLiteral("missing");
            ftp.LocalFile = QStringLiteral("missing");
            ftp.Download();
        },
        [&] { ftp.DeleteFile(QStringLiteral("missing")); },
    };
    for (const auto& op : ops) {
        try {
            op();
            QFAIL("a failing command succeeded");
        } catch (const EipwFTP& e) {
            QCOMPARE(e.Code, 550);
            QVERIFY2(e.Message.startsWith(QStringLiteral("550: ")), qPrintable(e.Message));
        }
    }
    QCOMPARE(ftp.RemotePath(), QStringLiteral("/"));
    QVERIFY(!QFile::exists(QStringLiteral("missing")));
    QVERIFY(ftp.Connected());
}

void TestEngine::keepsExistingLocalFile() {
    QFile server(serverRoot.filePath(QStringLiteral("pub/keep.txt")));
    QVERIFY(server.open(QIODevice::WriteOnly));
    server.write("new");
    server.close();
    QFile mine(QStringLiteral("keep.txt"));
    QVERIFY(mine.open(QIODevice::WriteOnly));
    mine.write("mine");
    mine.close();
    TipwFTP ftp;
    Setup(ftp, vsftpd.Port());
    ftp.Logon();
    ftp.SetRemotePath(QStringLiteral("/pub"));
    ftp.RemoteFile = ftp.LocalFile = QStringLiteral("keep.txt");
    QVERIFY_THROWS_EXCEPTION(EipwFTP, ftp.Download());
    QCOMPARE(Read(QStringLiteral("keep.txt")), QStringLiteral("mine"));
    ftp.Overwrite = true;
    ftp.Download();
    QCOMPARE(Read(QStringLiteral("keep.txt")), QStringLiteral("new"));
}

void TestEngine::transferModeSetsType() {
    WriteServerFile(QStringLiteral("pub/mode.txt"), "line\n");
    TipwFTP ftp;
    Setup(ftp, vsftpd.Port());
    ftp.Overwrite = true;
    QStringList trail;
    connect(&ftp, &TipwFTP::OnPITrail, this, [&](int dir, const QString& m) {
        if (dir == 0 &&
            (m.startsWith(QStringLiteral("TYPE")) || m.startsWith(QStringLiteral("RETR"))))
            trail << m;
    });
    ftp.Logon();
    ftp.RemoteFile = QStringLiteral("/pub/mode.txt");
    ftp.LocalFile = QStringLiteral("mode.txt");
    const QList<QPair<TipwFTP::TTransferMode, QString>> modes = {
        {TipwFTP::tmASCII, QStringLiteral("TYPE A")},
        {TipwFTP::tmBinary, QStringLiteral("TYPE I")},
        {TipwFTP::tmDefault, QStringLiteral("TYPE I")}};
    for (const auto& [mode, type] : modes) {
        trail.clear();
        ftp.TransferMode = mode;
        ftp.Download();
        if (mode == TipwFTP::tmDefault) // after binary: binary still, TYPE not resent
            QVERIFY2(!trail.contains(QStringLiteral("TYPE A")), qPrintable(trail.join(u',')));
        else
            QVERIFY2(trail.contains(type), qPrintable(trail.join(u',')));
        QCOMPARE(trail.last(), QStringLiteral("RETR /pub/mode.txt"));
    }
    QCOMPARE(Read(QStringLiteral("mode.txt")), QStringLiteral("line\n"));
}

void TestEngine::scriptedPassiveGoesToControlHost() {
    QTemporaryFile listing;
    QVERIFY(listing.open());
    listing.write("-rw-r--r-- 1 0 0 5 Jan  1  2020 only.txt\r\n");
    listing.close();
    TestPeer script;
    QVERIFY2(script.Start(QStringLiteral("python3"),
                          {TestPeer::Script(QStringLiteral("ftpscript.py")),
                           QStringLiteral("--listing"), listing.fileName(),
                           QStringLiteral("--pasv-host"), QStringLiteral("10.255.255.1")}),
             qPrintable(script.Error()));
    TipwFTP ftp;
    Setup(ftp, script.Port());
    ftp.Passive = true;
    ftp.Timeout = 5;
    QStringList trail;
    connect(&ftp, &TipwFTP::OnPITrail, this, [&](int, const QString& m) { trail << m; });
    QStringList names;
    connect(&ftp, &TipwFTP::OnDirList, this,
            [&](const QString&, const QString& n, bool, qint64, const QString&) { names << n; });
    ftp.Logon();
    ftp.ListDirectoryLong();
    QCOMPARE(names, QStringList{QStringLiteral("only.txt")});
    QVERIFY(trail.contains(QStringLiteral("PASS ********")));
    QVERIFY(!trail.join(u'\n').contains(QStringLiteral("guest@example.com")));
}

void TestEngine::stallTimesOutAndLeavesNoFile() {
    TestPeer script;
    QVERIFY(script.Start(QStringLiteral("python3"),
                         {TestPeer::Script(QStringLiteral("ftpscript.py")),
                          QStringLiteral("--stall"), QStringLiteral("4000")}));
    TipwFTP ftp;
    Setup(ftp, script.Port());
    ftp.Timeout = 2;
    qint64 seen = 0;
    connect(&ftp, &TipwFTP::OnTransfer, this, [&](int, qint64 b, const QByteArray&) { seen = b; });
    ftp.Logon();
    ftp.RemoteFile = ftp.LocalFile = QStringLiteral("stalled.bin");
    try {
        ftp.Download();
        QFAIL("a stalled download succeeded");
    } catch (const EipwFTP& e) {
        QCOMPARE(e.Code, 28); // timed out
    }
    QCOMPARE(seen, qint64(4000));
    QVERIFY(!QFile::exists(QStringLiteral("stalled.bin")));
    QCOMPARE(QDir::current().entryList(QDir::Files).filter(QStringLiteral("stalled")),
             QStringList());
}

// Interrupt from an event handler during the call: the call keeps the event loop running.
void TestEngine::interruptStopsTransfer() {
    TestPeer script;
    QVERIFY(script.Start(QStringLiteral("python3"),
                         {TestPeer::Script(QStringLiteral("ftpscript.py")),
                          QStringLiteral("--stall"), QStringLiteral("100")}));
    TipwFTP ftp;
    Setup(ftp, script.Port());
    ftp.Logon();
    connect(&ftp, &TipwFTP::OnTransfer, this,
            [&] { QTimer::singleShot(0, &ftp, [&] { ftp.Interrupt(); }); });
    ftp.RemoteFile = ftp.LocalFile = QStringLiteral("interrupted.bin");
    try {
        ftp.Download();
        QFAIL("an interrupted download succeeded");
    } catch (const EipwFTP& e) {
        QCOMPARE(e.Code, int(TipwFTP::errInterrupted));
    }
    QVERIFY(!QFile::exists(QStringLiteral("interrupted.bin")));
    try {
        ftp.Download(); // the busy flag is clear again: the next call reaches the server
    } catch (const EipwFTP& e) {
        QVERIFY(e.Code != int(TipwFTP::errBusy));
    }
}

QTEST_GUILESS_MAIN(TestEngine)
#include "test_engine.moc"
