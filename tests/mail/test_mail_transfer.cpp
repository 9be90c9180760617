// Receiving from Dovecot and sending through an aiosmtpd server, both started here.
#include "mail/MailTransfer.h"
#include "tests/support/TestPeer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {
struct Progress : TMailTransferProgress {
    TMailTransfer* transfer = nullptr;
    int steps = 0, maximum = -1, stopAfter = -1;
    bool shown = false;
    QString mode;
    void ShowRetrieve(int m) override { mode = QStringLiteral("retrieve"); shown = true; maximum = m; }
    void ShowSend(int m) override { mode = QStringLiteral("send"); shown = true; maximum = m; }
    void SetMaximum(int m) override { maximum = m; }
    void StepIt() override {
        if (++steps == stopAfter)
            transfer->StopRequested = true;
    }
    void HideProgress() override { shown = false; }
};

QByteArray message(int n, const QByteArray& extra = {}) {
    return "From: Sender <sender@example.org>\nTo: alice@example.org\nSubject: message " + QByteArray::number(n) +
           "\n" + extra + "\nline one\n.dot line\n..two dots\n";
}
} // namespace

class TestMailTransfer : public QObject {
    Q_OBJECT
    QTemporaryDir popDir, smtpDir, storeDir;
    TestPeer pop3d, smtpd;
    int delivered = 0;

    QString maildir() const { return popDir.filePath(QStringLiteral("mail/alice")); }
    int onServer() const {
        return int(QDir(maildir() + QStringLiteral("/new")).entryList(QDir::Files).size() +
                   QDir(maildir() + QStringLiteral("/cur")).entryList(QDir::Files).size());
    }
    void deliver(int count) {
        for (int i = 0; i < count; ++i) {
            const QString path = maildir() + QStringLiteral("/new/%1.test").arg(++delivered);
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(message(delivered));
            f.close();
            f.setPermissions(QFileDevice::Permissions(0x6666));
        }
    }
    void clearServer() {
        for (const char* sub : {"/new", "/cur"})
            for (const QString& name : QDir(maildir() + QLatin1String(sub)).entryList(QDir::Files))
                QFile::remove(maildir() + QLatin1String(sub) + QLatin1Char('/') + name);
    }
    TclMailAccounts account() const {
        TclMailAccounts a;
        a.POP3Server = a.SMTPServer = QStringLiteral("127.0.0.1");
        a.POP3User = a.SMTPUser = QStringLiteral("alice");
        a.POP3Password = a.SMTPPassword = QStringLiteral("secret");
        a.POP3Port = pop3d.Port();
        a.SMTPPort = smtpd.Port();
        return a;
    }

    struct Rig {
        TclMailMessageList messages;
        TclMailAccounts accounts;
        TclPOP3 pop3;
        TclSMTP smtp;
        Progress progress;
        TMailTransfer transfer{messages, accounts, pop3, smtp};
        explicit Rig(const TclMailAccounts& a) : accounts(a) {
            transfer.Progress = &progress;
            progress.transfer = &transfer;
        }
    };

    void startPop3d() {
        QVERIFY2(pop3d.Start(TestPeer::Script(QStringLiteral("pop3d.sh")),
                             {popDir.path(), QStringLiteral("alice"), QStringLiteral("secret")}),
                 qPrintable(pop3d.Error()));
    }

private slots:
    void initTestCase() {
        startPop3d();
        QVERIFY2(smtpd.Start(TestPeer::Script(QStringLiteral("smtpd.py")),
                             {smtpDir.path(), QStringLiteral("alice"), QStringLiteral("secret")}),
                 qPrintable(smtpd.Error()));
    }
    void init() { clearServer(); }

    void receiveTwiceLeavingCopies() {
        deliver(3);
        Rig rig(account());
        rig.accounts.LeaveMessage = true;
        rig.transfer.ReceiveMessages();
        QCOMPARE(rig.messages.Count(), 3);
        QCOMPARE(rig.progress.maximum, 3);
        QVERIFY(!rig.progress.shown);
        QVERIFY(!rig.pop3.Active());
        const TclMailMessageItem* first = rig.messages.Items(0);
        QCOMPARE(first->Status(), msInbox);
        QVERIFY(!first->UID().isEmpty());
        QCOMPARE(first->ParsedHeader().Subject, QStringLiteral("message %1").arg(delivered - 2));
        QVERIFY(first->MailMessage().contains(".dot line"));
        QVERIFY(first->MailMessage().contains("..two dots"));

        rig.transfer.ReceiveMessages();
        QCOMPARE(rig.messages.Count(), 3);
        QCOMPARE(onServer(), 3);

        // Without copies: everything on the server goes, stored ones included.
        deliver(1);
        rig.accounts.LeaveMessage = false;
        int saves = 0;
        rig.transfer.SaveStore = [&] { ++saves; };
        rig.transfer.ReceiveMessages();
        QCOMPARE(rig.messages.Count(), 4);
        QCOMPARE(saves, 1);
        QCOMPARE(onServer(), 0);
    }

    void stopAfterTwoOfFive() {
        deliver(5);
        Rig rig(account());
        rig.progress.stopAfter = 2;
        rig.transfer.ReceiveMessages();
        QCOMPARE(rig.messages.Count(), 2);
        QVERIFY(!rig.pop3.Active());
        QCOMPARE(onServer(), 3); // the two handled were deleted, the QUIT went through
    }

    void apopLogin() {
        deliver(1);
        Rig rig(account());
        rig.accounts.POP3SPA = true;
        rig.accounts.LeaveMessage = true;
        rig.transfer.ReceiveMessages();
        QCOMPARE(rig.messages.Count(), 1);
    }

    void loginAndConnectionErrors_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("spa");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("message");
        QTest::newRow("wrong password") << "nope" << false << 0 << "Your user name or password was rejected";
        QTest::newRow("wrong APOP password") << "nope" << true << 0 << "Your user name or password was rejected";
        QTest::newRow("nobody listening") << "secret" << false << TestPeer::FreePort() << "Cannot connect to 127.0.0.1";
    }
    void loginAndConnectionErrors() {
        QFETCH(QString, password);
        QFETCH(bool, spa);
        QFETCH(int, port);
        QFETCH(QString, message);
        deliver(1);
        Rig rig(account());
        rig.accounts.POP3Password = password;
        rig.accounts.POP3SPA = spa;
        if (port)
            rig.accounts.POP3Port = port;
        try {
            rig.transfer.ReceiveMessages();
            QFAIL("no error");
        } catch (const EclMailError& e) {
            QVERIFY2(e.Message.startsWith(message), qPrintable(e.Message));
        }
        QVERIFY(!rig.pop3.Active());
        QVERIFY(!rig.progress.shown);
        QCOMPARE(rig.messages.Count(), 0);
    }

    void storeWrittenBeforeQuit() {
        // The server dies right after the store is written: nothing received is lost, and
        // the server, never told QUIT, keeps its messages.
        deliver(2);
        Rig rig(account());
        const QString file = storeDir.filePath(QStringLiteral("messages.dat"));
        rig.transfer.SaveStore = [&] {
            rig.messages.SaveToFile(file);
            pop3d.Stop();
        };
        QVERIFY_THROWS_EXCEPTION(EclMailError, rig.transfer.ReceiveMessages());
        TclMailMessageList back;
        back.LoadFromFile(file);
        QCOMPARE(back.Count(), 2);
        QCOMPARE(onServer(), 2);
        startPop3d(); // a fresh server for what follows
    }

    void failedSaveKeepsServerCopies() {
        deliver(2);
        Rig rig(account());
        rig.transfer.SaveStore = [] { throw EInOutError(QStringLiteral("disk full")); };
        try {
            rig.transfer.ReceiveMessages();
            QFAIL("no error");
        } catch (const EInOutError& e) {
            QCOMPARE(e.Message, QStringLiteral("disk full"));
        }
        QVERIFY(!rig.pop3.Active());
        QCOMPARE(onServer(), 2);
    }

    void scriptedServerFaults_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("message");
        QTest::newRow("UID list shorter than the count") << "short-uidl" << 1 << "The server gave no unique id for message 2";
        QTest::newRow("no UIDL") << "no-uidl" << 0 << "The server cannot list unique message ids (UIDL): UIDL not supported here";
        QTest::newRow("reply cut short") << "cut" << 1 << "The server closed the connection";
    }
    void scriptedServerFaults() {
        QFETCH(QString, mode);
        QFETCH(int, stored);
        QFETCH(QString, message);
        TestPeer peer;
        QVERIFY2(peer.Start(TestPeer::Script(QStringLiteral("pop3script.py")), {mode}), qPrintable(peer.Error()));
        TclMailAccounts a = account();
        a.POP3Port = peer.Port();
        Rig rig(a);
        int saves = 0;
        rig.transfer.SaveStore = [&] { ++saves; };
        try {
            rig.transfer.ReceiveMessages();
            QFAIL("no error");
        } catch (const EclMailError& e) {
            QVERIFY2(e.Message.startsWith(message), qPrintable(e.Message));
        }
        QCOMPARE(rig.messages.Count(), stored);
        if (stored) {
            QCOMPARE(rig.messages.Items(0)->UID(), QStringLiteral("id1"));
            QCOMPARE(rig.messages.Items(0)->MailMessage(), (QList<QByteArray>{"Subject: one", "", "first"}));
        }
        QCOMPARE(saves, 1); // what was received is written even when the receive fails
        QVERIFY(!rig.pop3.Active());
    }

    void receiveOverSsl() {
        QTemporaryDir dir;
        TestPeer peer;
        QVERIFY2(peer.Start(TestPeer::Script(QStringLiteral("pop3d.sh")),
                            {dir.path(), QStringLiteral("alice"), QStringLiteral("secret"), QStringLiteral("ssl")}),
                 qPrintable(peer.Error()));
        QFile mail(dir.filePath(QStringLiteral("mail/alice/new/1.test")));
        QVERIFY(mail.open(QIODevice::WriteOnly));
        mail.write(message(1));
        mail.close();
        mail.setPermissions(QFileDevice::Permissions(0x6666));
        TclMailAccounts a = account();
        a.POP3Port = peer.Port();
        a.POP3UseSSL = true;
        Rig rig(a);
        // A certificate nobody vouches for is refused...
        try {
            rig.transfer.ReceiveMessages();
            QFAIL("no error");
        } catch (const EclMailError& e) {
            QVERIFY2(e.Message.startsWith(QLatin1String("Cannot open a secured connection")), qPrintable(e.Message));
        }
        QCOMPARE(rig.messages.Count(), 0);
        // ...and accepted once trusted.
        rig.pop3.CaCertificates = QSslCertificate::fromPath(dir.filePath(QStringLiteral("cert.pem")));
        QCOMPARE(rig.pop3.CaCertificates.size(), 1);
        rig.transfer.ReceiveMessages();
        QCOMPARE(rig.messages.Count(), 1);
    }

    void sendWithBcc() {
        Rig rig(account());
        TclMailMessageItem* record = rig.messages.Add();
        record->SetMailMessage({"From: Alice <alice@example.org>", "To: Bob <bob@example.org>",
                                "Cc: carol@example.org", "Bcc: dave@example.org,", "  erin@example.org",
                                "Subject: hello", "", ".starts with a dot", "bye"});
        rig.transfer.SendMessage(record);
        QCOMPARE(record->Status(), msSent);
        QCOMPARE(rig.progress.mode, QStringLiteral("send"));
        QVERIFY(!rig.smtp.Active());
        const QStringList files = QDir(smtpDir.path()).entryList({QStringLiteral("*.eml")});
        QCOMPARE(files.size(), 1);
        const QString base = smtpDir.filePath(files[0].chopped(4));
        QFile env(base + QStringLiteral(".env")), eml(base + QStringLiteral(".eml"));
        QVERIFY(env.open(QIODevice::ReadOnly) && eml.open(QIODevice::ReadOnly));
        QCOMPARE(env.readAll(), QByteArray("alice@example.org\nbob@example.org\ncarol@example.org\n"
                                           "dave@example.org\nerin@example.org\n"));
        const QByteArray text = eml.readAll();
        QVERIFY2(!text.contains("erin") && !text.toLower().contains("bcc"), text.constData());
        QVERIFY(text.contains("\r\n.starts with a dot\r\nbye\r\n"));
        QFile::remove(env.fileName());
        QFile::remove(eml.fileName());
    }

    void sendRefusals() {
        Rig rig(account());
        TclMailMessageItem* record = rig.messages.Add();
        record->SetMailMessage({"From: alice@example.org", "Subject: nobody", "", "text"});

        rig.accounts.SendImmediately = false;
        rig.transfer.SendMessage(record);
        QCOMPARE(record->Status(), msOutbox);
        QVERIFY(!rig.progress.shown && rig.progress.mode.isEmpty()); // no connection at all

        rig.accounts.SendImmediately = true;
        QVERIFY_THROWS_EXCEPTION(EclMailError, rig.transfer.SendMessage(record));
        QCOMPARE(record->Status(), msOutbox);
        QVERIFY(!rig.smtp.Active());

        record->SetMailMessage({"From: alice@example.org", "To: bob@example.org", "", "text"});
        rig.accounts.SMTPPassword = QStringLiteral("wrong");
        try {
            rig.transfer.SendMessage(record);
            QFAIL("no error");
        } catch (const EclMailError& e) {
            QVERIFY2(e.Message.startsWith(QLatin1String("Your user name or password was rejected: 535")), qPrintable(e.Message));
        }
        QCOMPARE(record->Status(), msOutbox);
        QCOMPARE(QDir(smtpDir.path()).entryList({QStringLiteral("*.eml")}).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestMailTransfer)
#include "test_mail_transfer.moc"
