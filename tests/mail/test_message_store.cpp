// The store and account files, byte for byte, and the list's change rules.
#include "mail/MessagePersister.h"
#include "mail/PropertyStream.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray name(const char* n) { return char(qstrlen(n)) + QByteArray(n); }
QByteArray str(const QByteArray& s) { return "\x06" + QByteArray(1, char(s.size())) + s; }
QByteArray ident(const char* n) { return "\x07" + name(n); }
const QByteArray F("\x08", 1), T("\x09", 1), Z("\x00", 1);

// A draft record with no lines, unread, no UID.
QByteArray emptyDraft() { return "\x01" + name("Status") + ident("msDraft") + name("MarkedAsRead") + F + Z; }
} // namespace

class TestMessageStore : public QObject {
    Q_OBJECT
private slots:
    void writesRecordsByteForByte() {
        TclMailMessageList list;
        QCOMPARE(list.SaveToBytes(), QByteArray("\x0E\x00", 2));
        list.Add();
        QCOMPARE(list.SaveToBytes(), "\x0E" + emptyDraft() + Z);

        TclMailMessageItem* item = list.Items(0);
        item->SetMailMessage({"Subject: hi", "", QByteArray(255, 'a'), QByteArray(256, 'b')});
        item->SetStatus(msInbox);
        item->SetMarkedAsRead(true);
        item->SetUID(QStringLiteral("u1"));
        const QByteArray expected = "\x0E\x01" + name("MailMessage.Strings") + "\x01" + str("Subject: hi") + str("") +
                                    "\x06\xFF" + QByteArray(255, 'a') + QByteArray("\x0C\x00\x01\x00\x00", 5) +
                                    QByteArray(256, 'b') + Z + name("Status") + ident("msInbox") +
                                    name("MarkedAsRead") + T + name("UID") + str("u1") + Z + Z;
        QCOMPARE(list.SaveToBytes(), expected);

        TclMailMessageList back;
        back.LoadFromBytes(expected);
        QCOMPARE(back.Count(), 1);
        QCOMPARE(back.Items(0)->MailMessage(), item->MailMessage());
        QCOMPARE(back.Items(0)->Status(), msInbox);
        QVERIFY(back.Items(0)->MarkedAsRead());
        QCOMPARE(back.Items(0)->UID(), QStringLiteral("u1"));
    }

    void readingTolerances() {
        // An order value before a record, properties in any order, a long string for a
        // short line, and 8-bit bytes kept as they are.
        const QByteArray data = "\x0E\x02\x05\x01" + name("UID") + QByteArray("\x0C\x02\x00\x00\x00", 5) + "xy" +
                                name("MarkedAsRead") + T + name("Status") + ident("msSent") +
                                name("MailMessage.Strings") + "\x01" + str("caf\xE9") + Z + Z +
                                QByteArray("\x03\x00\x01", 3) + emptyDraft() + Z;
        TclMailMessageList list;
        list.LoadFromBytes(data);
        QCOMPARE(list.Count(), 2);
        QCOMPARE(list.Items(0)->UID(), QStringLiteral("xy"));
        QCOMPARE(list.Items(0)->Status(), msSent);
        QCOMPARE(list.Items(0)->MailMessage(), QList<QByteArray>{"caf\xE9"});
        QCOMPARE(list.Items(1)->Status(), msDraft);
    }

    void damagedStoresFail_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("reason");
        const QByteArray good = "\x0E" + emptyDraft() + Z;
        QTest::newRow("empty file") << QByteArray() << "ends too early";
        QTest::newRow("no collection tag") << QByteArray("\x01\x00", 2) << "collection";
        QTest::newRow("truncated") << good.left(good.size() - 3) << "ends too early";
        QTest::newRow("no final end") << good.chopped(1) << "ends too early";
        QTest::newRow("unknown property")
            << "\x0E\x01" + name("Flagged") + T + Z + Z << "unknown property \"Flagged\"";
        QTest::newRow("unknown status")
            << "\x0E\x01" + name("Status") + ident("msJunk") + Z + Z << "unknown status \"msJunk\"";
        QTest::newRow("wrong tag for a Boolean")
            << "\x0E\x01" + name("MarkedAsRead") + "\x02\x01" + Z + Z << "Boolean";
        QTest::newRow("identifier as a string")
            << "\x0E\x01" + name("UID") + ident("x") + Z + Z << "string";
        QTest::newRow("long string past the end")
            << "\x0E\x01" + name("UID") + QByteArray("\x0C\xFF\xFF\x00\x00", 5) + "ab" << "ends too early";
        QTest::newRow("negative length")
            << "\x0E\x01" + name("UID") + QByteArray("\x0C\xFF\xFF\xFF\xFF", 5) + "ab" << "ends too early";
        QTest::newRow("trailing bytes") << good + "x" << "after the end";
    }
    void damagedStoresFail() {
        QFETCH(QByteArray, data);
        QFETCH(QString, reason);
        TclMailMessageList list;
        list.Add();
        try {
            list.LoadFromBytes(data);
            QFAIL("no error");
        } catch (const EReadError& e) {
            QVERIFY2(e.Message.contains(reason), qPrintable(e.Message));
            QVERIFY(e.Message.startsWith(QLatin1String("The message store is damaged")));
        }
    }

    void changeRules() {
        TclMailMessageList list;
        QSignalSpy spy(&list, &TclMailMessageList::OnChange);
        TclMailMessageItem* a = list.Add();
        QCOMPARE(spy.count(), 1);
        a->SetMarkedAsRead(false); // unchanged
        a->SetStatus(msDraft);
        QCOMPARE(spy.count(), 1);
        a->SetMarkedAsRead(true);
        a->SetMarkedAsRead(true);
        QCOMPARE(spy.count(), 2);

        a->SetMailMessage({"Subject: first", "From: A <a@x.org>", "X-Priority: 1", ""});
        QCOMPARE(a->ParsedHeader().Subject, QStringLiteral("first"));
        QCOMPARE(a->ParsedHeader().Priority, TclMessagePriority::mpHigh);
        a->SetMailMessage({"Subject: =?utf-8?q?zw=C3=A9i?=", ""});
        QCOMPARE(a->ParsedHeader().Subject, QStringLiteral("zw\u00e9i"));
        QCOMPARE(a->ParsedHeader().Priority, TclMessagePriority::mpNormal);

        a->SetUID(QStringLiteral("dup"));
        TclMailMessageItem* b = list.Add();
        b->SetUID(QStringLiteral("dup"));
        b->Assign(*a);
        QCOMPARE(b->UID(), QStringLiteral("dup"));
        QCOMPARE(b->MailMessage(), a->MailMessage());
        QCOMPARE(list.FindByUID(QStringLiteral("dup")), a);
        QCOMPARE(list.FindByUID(QStringLiteral("DUP")), nullptr);

        spy.clear();
        list.Remove(a);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(list.Count(), 1);
        QCOMPARE(list.FindByUID(QStringLiteral("dup")), b);
    }

    void accountBytes() {
        TclMailAccounts account;
        const QByteArray defaults = "TPF0" + name("TclMailAccounts") + Z + name("POP3SPA") + F + name("SMTPSPA") + F +
                                    name("POP3Port") + "\x02\x6E" + name("SMTPPort") + "\x02\x19" +
                                    name("POP3UseSSL") + F + name("SMTPUseSSL") + F + name("LeaveMessage") + F +
                                    name("TimeOut") + "\x02\x3C" + Z + Z;
        QCOMPARE(account.SaveToBytes(), defaults);

        account.Name = QStringLiteral("J\u00fcrgen");
        account.POP3Port = 995;
        account.TimeOut = 100000;
        account.SendImmediately = false;
        const QByteArray bytes = account.SaveToBytes();
        QVERIFY(bytes.contains(QByteArray(name("Name") + str("J\xC3\xBCrgen"))));
        QVERIFY(bytes.contains(QByteArray(name("POP3Port") + "\x03\xE3\x03")));
        QVERIFY(bytes.contains(QByteArray(name("TimeOut") + "\x04\xA0\x86\x01\x00")));
        QVERIFY(bytes.endsWith(QByteArray(name("SendImmediately") + F + Z + Z)));

        TclMailAccounts back;
        back.LoadFromBytes(bytes);
        QVERIFY(back == account);
        back.LoadFromBytes(defaults); // a file is the whole account: absent means default
        QVERIFY(back.SendImmediately);
        QCOMPARE(back.Name, QString());
    }

    void accountReadingTolerancesAndErrors() {
        TclMailAccounts account;
        // Other class name, properties in any order, a long string.
        account.LoadFromBytes("TPF0" + name("TSomething") + Z + name("SMTPPort") + "\x03\x4B\x02" + name("EMail") +
                              QByteArray("\x0C\x03\x00\x00\x00", 5) + "a@b" + Z + Z);
        QCOMPARE(account.SMTPPort, 587);
        QCOMPARE(account.EMail, QStringLiteral("a@b"));

        const QList<QPair<QByteArray, QLatin1String>> bad = {
            {"TPF1" + name("TclMailAccounts") + Z + Z + Z, QLatin1String("TPF0")},
            {"TP", QLatin1String("TPF0")},
            {"TPF0" + name("TclMailAccounts") + Z + name("Colour") + F + Z + Z, QLatin1String("unknown property \"Colour\"")},
            {"TPF0" + name("TclMailAccounts") + Z + name("POP3Port") + str("110") + Z + Z, QLatin1String("integer")},
            {"TPF0" + name("TclMailAccounts") + Z + name("Name") + "\x02\x01" + Z + Z, QLatin1String("string")},
            {"TPF0" + name("TclMailAccounts") + Z + name("POP3Port") + "\x03\x01", QLatin1String("ends too early")},
            {"TPF0" + name("TclMailAccounts") + Z + Z, QLatin1String("ends too early")},
        };
        for (const auto& [data, reason] : bad) {
            TclMailAccounts target;
            target.Name = QStringLiteral("kept");
            try {
                target.LoadFromBytes(data);
                QFAIL(data.toHex().constData());
            } catch (const EReadError& e) {
                QVERIFY2(e.Message.startsWith(QLatin1String("The account file is damaged")) && e.Message.contains(reason),
                         qPrintable(e.Message));
            }
            QCOMPARE(target.Name, QStringLiteral("kept"));
        }
    }

    void filesOnDisk() {
        QTemporaryDir dir;
        const QString messages = dir.filePath(QStringLiteral("messages.dat"));
        const QString accounts = dir.filePath(QStringLiteral("accounts.dat"));
        const QFileDevice::Permissions ownerGroupOther = QFileDevice::Permissions(0x7077);

        TclMailMessageList list;
        list.Add();
        list.LoadFromFile(messages); // missing: empty, no error
        QCOMPARE(list.Count(), 0);
        TclMailAccounts account;
        account.Name = QStringLiteral("x");
        account.LoadFromFile(accounts);
        QCOMPARE(account.Name, QStringLiteral("x"));

        list.Add()->SetUID(QStringLiteral("1"));
        list.SaveToFile(messages);
        account.POP3Password = QStringLiteral("secret");
        account.SaveToFile(accounts);
        QCOMPARE(QFile::permissions(accounts) & ownerGroupOther, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        account.SaveToFile(accounts); // overwriting keeps it private
        QCOMPARE(QFile::permissions(accounts) & ownerGroupOther, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        TclMailMessageList back;
        back.LoadFromFile(messages);
        QCOMPARE(back.Count(), 1);
        QSignalSpy spy(&back, &TclMailMessageList::OnChange);
        back.LoadFromFile(messages); // one change for the clear, one for the whole load
        QCOMPARE(spy.count(), 2);

        QVERIFY_THROWS_EXCEPTION(EInOutError, list.SaveToFile(dir.filePath(QStringLiteral("gone/messages.dat"))));
        // A failed save keeps the old file and says so.
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(dir.path()).isWritable()) {
            QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("running as a user that ignores folder permissions");
        }
        list.Add();
        QVERIFY_THROWS_EXCEPTION(EInOutError, list.SaveToFile(messages));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        back.LoadFromFile(messages);
        QCOMPARE(back.Count(), 1);
    }

    void workingFolder() {
        QTemporaryDir temp;
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        const QString dir = GetMessageTempDir();
        QCOMPARE(dir, temp.path() + QStringLiteral("/Quillmoor/"));
        QVERIFY(QFileInfo(dir).isDir());
        QFile f(dir + QStringLiteral("a.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        f.setPermissions(QFileDevice::ReadOwner);
        QDir(dir).mkdir(QStringLiteral("sub"));
        ClearMessageTempDir();
        QVERIFY(!QFile::exists(dir + QStringLiteral("a.txt")));
        QVERIFY(QFileInfo(dir + QStringLiteral("sub")).isDir());
        qunsetenv("TMPDIR");
    }
};

QTEST_GUILESS_MAIN(TestMessageStore)
#include "test_message_store.moc"
