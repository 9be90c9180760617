// The mail window over a store written by the test: captions, bold unread rows, delete,
// the reader's choice of body, inline images and attachment names, the account page.
#include "mail/main.h"
#include "mail/Progress.h"
#include "mail/PropertyStream.h"
#include "platform/IniFile.h"
#include "tests/support/TestPeer.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {
QList<QByteArray> lines(const QByteArray& text) { return text.split('\n'); }

QList<QByteArray> simple(int n) {
    return lines("From: Sender <s@example.org>\nSubject: note " + QByteArray::number(n) +
                 "\nDate: Tue, 01 Dec 2026 10:00:00 +0000\n\nbody");
}

const QByteArray related =
    "From: s@example.org\nTo: a@example.org, b@example.org\nSubject: pictures\n"
    "MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"OUT\"\n\n"
    "--OUT\nContent-Type: multipart/related; boundary=\"REL\"\n\n"
    "--REL\nContent-Type: multipart/alternative; boundary=\"ALT\"\n\n"
    "--ALT\nContent-Type: text/plain\n\nplain version\n"
    "--ALT\nContent-Type: text/html; charset=utf-8\n\n<p>caf\xC3\xA9 <img src=\"CID:logo@x\"></p>\n"
    "--ALT--\n"
    "--REL\nContent-Type: image/png\nContent-ID: <logo@x>\nContent-Transfer-Encoding: base64\n\niVBORw0KGgo=\n"
    "--REL--\n"
    "--OUT\nContent-Type: application/octet-stream\nContent-Disposition: attachment; filename=\"../../evil.bin\"\n"
    "Content-Transfer-Encoding: base64\n\nAAEC\n"
    "--OUT--";
} // namespace

class TestMailWindow : public QObject {
    Q_OBJECT
    QTemporaryDir temp;

    QString freshFolder(const char* name, const QList<std::pair<QList<QByteArray>, bool>>& inbox = {}) {
        const QString dir = temp.filePath(QLatin1String(name));
        QDir().mkpath(dir);
        TclMailMessageList list;
        for (const auto& [source, read] : inbox) {
            TclMailMessageItem* r = list.Add();
            r->SetMailMessage(source);
            r->SetStatus(msInbox);
            r->SetMarkedAsRead(read);
        }
        list.SaveToFile(dir + QStringLiteral("/messages.dat"));
        return dir;
    }
    static QStringList captions(TMainForm& w) {
        QStringList out;
        for (int i = 0; i < w.tvFolders->topLevelItemCount(); ++i)
            out << w.tvFolders->topLevelItem(i)->text(0);
        return out;
    }

private slots:
    void initTestCase() { qputenv("TMPDIR", QFile::encodeName(temp.path())); }

    void emptyStore() {
        TMainForm w(freshFolder("empty"));
        QCOMPARE(captions(w), QStringLiteral("Inbox|Outbox|Sent Items|Deleted Items|Drafts").split(QLatin1Char('|')));
        QCOMPARE(w.lvMessages->topLevelItemCount(), 0);
        QCOMPARE(w.windowTitle(), QStringLiteral("E-mail"));
    }

    void damagedStoreKeepsTheWindowShut() {
        const QString dir = freshFolder("damaged");
        QFile f(dir + QStringLiteral("/messages.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x0E\x01\x06Status", 9);
        f.close();
        QVERIFY_THROWS_EXCEPTION(EReadError, TMainForm w(dir));
        QCOMPARE(f.size(), 9); // left as it was
    }

    void captionsBoldAndDeleteTwice() {
        const QString dir = freshFolder("three", {{simple(1), false}, {simple(2), true}, {simple(3), false}});
        TMainForm w(dir);
        QCOMPARE(captions(w).first(), QStringLiteral("Inbox (3)"));
        QCOMPARE(w.lvMessages->topLevelItemCount(), 3);
        QVERIFY(w.lvMessages->topLevelItem(0)->font(2).bold());
        QVERIFY(!w.lvMessages->topLevelItem(1)->font(2).bold());
        QCOMPARE(w.lvMessages->topLevelItem(1)->text(2), QStringLiteral("note 2"));

        w.lvMessages->topLevelItem(1)->setSelected(true);
        w.btnDelete->click();
        QCOMPARE(captions(w).at(0), QStringLiteral("Inbox (2)"));
        QCOMPARE(captions(w).at(3), QStringLiteral("Deleted Items (1)"));

        w.tvFolders->setCurrentItem(w.tvFolders->topLevelItem(3));
        QCOMPARE(w.lvMessages->topLevelItemCount(), 1);
        w.lvMessages->topLevelItem(0)->setSelected(true);
        w.btnDelete->click();
        QCOMPARE(captions(w).at(3), QStringLiteral("Deleted Items"));
        QCOMPARE(w.Messages.Count(), 2);

        // The change reaches the disk without closing the window.
        QTRY_VERIFY([&] {
            TclMailMessageList onDisk;
            onDisk.LoadFromFile(dir + QStringLiteral("/messages.dat"));
            return onDisk.Count() == 2;
        }());
    }

    void readerPicksHtmlAndInlineImages() {
        TMainForm w(freshFolder("reader", {{lines(related), false}}));
        TclMailMessageItem* record = w.Messages.Items(0);
        const QList<QByteArray> before = record->MailMessage();
        QVERIFY(w.ShowMessage(record));
        QVERIFY(record->MarkedAsRead());
        QCOMPARE(record->MailMessage(), before); // an Inbox message is not rewritten
        QCOMPARE(w.edtTo->text(), QStringLiteral("a@example.org, b@example.org"));

        const QString folder = GetMessageTempDir();
        QFile page(folder + QStringLiteral("htmlbody.htm"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY2(html.contains(QStringLiteral("caf\u00e9")) && !html.contains(QLatin1String("plain version")), qPrintable(html));
        QVERIFY2(!html.contains(QLatin1String("cid:"), Qt::CaseInsensitive), qPrintable(html));
        const QString image = html.section(QLatin1String("src=\""), 1).section(QLatin1Char('"'), 0, 0);
        QVERIFY(QFile::exists(folder + image));
        QCOMPARE(QFile(folder + image).size(), 8);

        QCOMPARE(w.lvAttach->count(), 1);
        QCOMPARE(w.lvAttach->item(0)->text(), QStringLiteral("evil.bin"));
        QVERIFY(!QFile::exists(temp.filePath(QStringLiteral("evil.bin"))));
    }

    void draftIsRewrittenFromTheFields() {
        const QString dir = freshFolder("draft");
        TMainForm w(dir);
        TclMailMessageItem* record = w.Messages.Add();
        record->SetMailMessage(simple(7));
        w.ReadOnlyView = false;
        w.ApplyReadOnlyState();
        w.DisplayMessage(record);
        w.edtTo->setText(QStringLiteral("x@example.org; Y <y@example.org>"));
        w.edtBcc->setText(QStringLiteral("hidden@example.org"));
        w.StoreMessageHeader(record);
        TclMailMessage parsed;
        parsed.ParseLines(record->MailMessage());
        QCOMPARE(parsed.To(), (QStringList{QStringLiteral("x@example.org"), QStringLiteral("Y <y@example.org>")}));
        QCOMPARE(parsed.Bcc(), QStringList{QStringLiteral("hidden@example.org")});
        QCOMPARE(parsed.Subject(), QStringLiteral("note 7"));
    }

    void checkMailFillsTheInbox() {
        const QString dir = freshFolder("check");
        // Outside the test's own temporary folder, which the server's users cannot enter.
        QTemporaryDir server(QStringLiteral("/tmp/mail-window-pop3-XXXXXX"));
        TestPeer pop3d;
        QVERIFY2(pop3d.Start(TestPeer::Script(QStringLiteral("pop3d.sh")),
                             {server.path(), QStringLiteral("alice"), QStringLiteral("secret")}),
                 qPrintable(pop3d.Error()));
        for (int n = 1; n <= 2; ++n) {
            QFile f(server.filePath(QStringLiteral("mail/alice/new/%1.test").arg(n)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            for (const QByteArray& line : simple(n))
                f.write(line + '\n');
            f.close();
            f.setPermissions(QFileDevice::Permissions(0x6666));
        }
        TMainForm w(dir);
        w.Accounts.POP3Server = QStringLiteral("127.0.0.1");
        w.Accounts.POP3Port = pop3d.Port();
        w.Accounts.POP3User = QStringLiteral("alice");
        w.Accounts.POP3Password = QStringLiteral("secret");
        bool stopUsable = false, listBlocked = false;
        QTimer probe; // ticks while the receive waits for the server
        probe.setInterval(0);
        connect(&probe, &QTimer::timeout, &w, [&] {
            if (!w.ProgressWindow->isVisible())
                return;
            stopUsable = w.ProgressWindow->btnStop->isEnabled();
            listBlocked = !w.lvMessages->isEnabled();
            probe.stop();
        });
        probe.start();
        w.btnCheckMail->click();
        QVERIFY(stopUsable);
        QVERIFY(listBlocked);
        QCOMPARE(w.tvFolders->topLevelItem(0)->text(0), QStringLiteral("Inbox (2)"));
        QCOMPARE(w.lvMessages->topLevelItemCount(), 2);
        QVERIFY(w.lvMessages->topLevelItem(0)->font(1).bold());
        QVERIFY(!w.ProgressWindow->isVisible());
        QVERIFY(w.lvMessages->isEnabled());
        TclMailMessageList onDisk; // written before the server was told to delete
        onDisk.LoadFromFile(dir + QStringLiteral("/messages.dat"));
        QCOMPARE(onDisk.Count(), 2);
    }

    void accountPageAndSharedData() {
        const QString dir = freshFolder("account");
        TIniFile ini(dir + QStringLiteral("/Mail.ini"));
        {
            TMainForm w(dir);
            w.ShowAccounts(w.Accounts);
            QCOMPARE(w.cboAuthType->currentIndex(), -1); // no key: nothing chosen
            ini.WriteString(QStringLiteral("Smtp"), QStringLiteral("AuthType"), QStringLiteral("None"));
            w.ShowAccounts(w.Accounts);
            QCOMPARE(w.cboAuthType->currentText(), QStringLiteral("None"));

            w.edtPOP3Port->setText(QStringLiteral("abc"));
            w.edtSMTPPort->setText(QString());
            w.edtName->setText(QStringLiteral("Alice"));
            w.StoreAccounts(w.Accounts);
            QCOMPARE(w.Accounts.POP3Port, 110);
            QCOMPARE(w.Accounts.SMTPPort, 25);
            TclMailAccounts onDisk;
            onDisk.LoadFromFile(dir + QStringLiteral("/accounts.dat"));
            QCOMPARE(onDisk.Name, QStringLiteral("Alice"));

            // A second window of the same run works on the same store and account.
            TMainForm again(dir);
            QCOMPARE(&again.Messages, &w.Messages);
            QCOMPARE(again.Accounts.Name, QStringLiteral("Alice"));
        }
    }
};

QTEST_MAIN(TestMailWindow)
#include "test_mail_window.moc"
