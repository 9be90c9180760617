#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void iniReadsDefaultsWithoutCreatingTheFile() {
        QTemporaryDir dir;
        TIniFile ini(dir.filePath(QStringLiteral("Mail.ini")));
        QCOMPARE(ini.ReadInteger(QStringLiteral("HotKeys"), QStringLiteral("Key1"), 16467), 16467);
        QCOMPARE(ini.ReadString(QStringLiteral("Smtp"), QStringLiteral("AuthType"), QStringLiteral("0")), QStringLiteral("0"));
        QVERIFY(!QFile::exists(ini.FileName));
    }

    void iniWritesOnlyChangesAndKeepsTheRest() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mail.ini"));
        SaveFileAtomically(path, "; kept comment\r\n[Smtp]\r\nAuthType=2\r\n[HotKeys]\r\nkey1=abc\r\n");
        TIniFile a(path), b(path);
        QCOMPARE(a.ReadInteger(QStringLiteral("hotkeys"), QStringLiteral("Key1"), 7), 7); // not decimal
        a.WriteInteger(QStringLiteral("HotKeys"), QStringLiteral("Key3"), 49224);
        b.WriteString(QStringLiteral("SMTP"), QStringLiteral("AUTHTYPE"), QStringLiteral("1"));
        QCOMPARE(a.ReadInteger(QStringLiteral("Smtp"), QStringLiteral("AuthType"), 0), 1);
        QCOMPARE(b.ReadInteger(QStringLiteral("HotKeys"), QStringLiteral("Key3"), 0), 49224);
        const QByteArray text = ReadWholeFile(path);
        QCOMPARE(text, QByteArray("; kept comment\n[Smtp]\nAuthType=1\n[HotKeys]\nkey1=abc\nKey3=49224\n"));

        // An unchanged value leaves the file untouched (a rewrite would end lines with LF).
        const QByteArray crlf = QByteArray(text).replace("\n", "\r\n");
        SaveFileAtomically(path, crlf);
        a.WriteInteger(QStringLiteral("HotKeys"), QStringLiteral("Key3"), 49224);
        QCOMPARE(ReadWholeFile(path), crlf);
        a.WriteInteger(QStringLiteral("New"), QStringLiteral("x"), 1);
        QVERIFY(ReadWholeFile(path).endsWith("Key3=49224\n\n[New]\nx=1\n"));
    }

    void registryKeysAndValues() {
        QTemporaryDir dir;
        TRegistry reg(dir.path());
        const QString typed = QStringLiteral("Software\\Microsoft\\Internet Explorer\\TypedURLs");
        QVERIFY(!reg.OpenKey(typed, false));
        QVERIFY(!reg.KeyExists(typed));
        QVERIFY(reg.OpenKey(typed, true));
        reg.WriteString(QStringLiteral("Url1"), QStringLiteral("http://a/\"q\"\\x"));
        reg.WriteInteger(QStringLiteral("Count"), -2);
        reg.CloseKey();

        TRegistry again(dir.path());
        QVERIFY(again.KeyExists(QStringLiteral("software\\microsoft")));
        QVERIFY(again.OpenKeyReadOnly(QStringLiteral("\\SOFTWARE\\Microsoft\\Internet Explorer\\typedurls")));
        QCOMPARE(again.ReadString(QStringLiteral("url1")), QStringLiteral("http://a/\"q\"\\x"));
        QCOMPARE(again.ReadInteger(QStringLiteral("Count")), -2);
        QCOMPARE(again.ReadString(QStringLiteral("Missing")), QString());
        QVERIFY_THROWS_EXCEPTION(ERegistryException, again.ReadString(QStringLiteral("Count")));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, again.ReadInteger(QStringLiteral("Url1")));
        QVERIFY_THROWS_EXCEPTION(ERegistryException, again.WriteString(QStringLiteral("x"), QStringLiteral("y")));
        QCOMPARE(again.GetValueNames(), (QStringList{QStringLiteral("Url1"), QStringLiteral("Count")}));
    }

    void registryRelativeKeysSubkeysAndDelete() {
        QTemporaryDir dir;
        TRegistry reg(dir.path());
        QVERIFY(reg.OpenKey(QStringLiteral("Software\\Quillmoor"), true));
        QVERIFY(reg.OpenKey(QStringLiteral("Sub\\Deeper"), true));
        QCOMPARE(reg.CurrentPath(), QStringLiteral("Software\\Quillmoor\\Sub\\Deeper"));
        reg.WriteString(QStringLiteral("v"), QStringLiteral("1"));
        QVERIFY(reg.OpenKey(QStringLiteral("\\Software"), false));
        QCOMPARE(reg.GetKeyNames(), QStringList{QStringLiteral("Quillmoor")});
        QVERIFY(reg.DeleteKey(QStringLiteral("Quillmoor")));
        QVERIFY(!reg.KeyExists(QStringLiteral("\\Software\\Quillmoor\\Sub")));

        TRegistry machine(dir.path(), RootKey::HKEY_LOCAL_MACHINE);
        QVERIFY(!machine.KeyExists(QStringLiteral("Software")));
        QVERIFY(machine.HiveFile().endsWith(QStringLiteral("HKEY_LOCAL_MACHINE.ini")));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
