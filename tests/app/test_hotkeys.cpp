// The hot-key panel against a real X server (xvfb-run), keys pressed with xdotool.
#include "app/HotKeyPanel.h"
#include "platform/Files.h"
#include "platform/HotKeyEdit.h"
#include "platform/HotKeys.h"
#include "platform/IniFile.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {
void press(const char* keys) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(keys)}), 0);
}
} // namespace

class TestHotKeyPanel : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("Mail.ini")); }

private slots:
    void initTestCase() {
        if (!qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            QSKIP("needs an X11 display");
    }

    void defaultsWorkWithoutSettingsFile() {
        TIniFile ini(iniPath());
        TGlobalHotKeys keys;
        QWidget window;
        THotKeyPanel panel(ini, keys, &window);
        panel.LoadAndRegister();
        QCOMPARE(panel.edHotKey[2]->text(), QStringLiteral("49224"));
        QCOMPARE(panel.HotKey[1]->text(), QStringLiteral("Ctrl+Alt+O"));
        QSignalSpy hide(&panel, &THotKeyPanel::HideKey), show(&panel, &THotKeyPanel::ShowKey);
        press("ctrl+alt+h");
        QVERIFY(hide.wait(5000));
        press("ctrl+alt+o");
        QVERIFY(show.wait(5000));
        panel.Change[0]->click(); // unchanged: nothing is written
        QVERIFY(!QFile::exists(iniPath()));
        panel.Release();
    }

    void changedKeyIsStoredAndWorksAfterRestart() {
        {
            TIniFile ini(iniPath());
            TGlobalHotKeys keys;
            QWidget window;
            THotKeyPanel panel(ini, keys, &window);
            panel.LoadAndRegister();
            panel.HotKey[2]->setFocus();
            QTest::keyClick(panel.HotKey[2], Qt::Key_J); // a key alone gets Ctrl+Alt
            panel.Change[2]->click();
            QCOMPARE(ini.ReadString(QStringLiteral("HotKeys"), QStringLiteral("Key3"), {}), QStringLiteral("49226"));
            QCOMPARE(panel.edHotKey[2]->text(), QStringLiteral("49226"));
            panel.Release();
        }
        TIniFile ini(iniPath());
        TGlobalHotKeys keys;
        QWidget window;
        THotKeyPanel panel(ini, keys, &window);
        panel.LoadAndRegister();
        QSignalSpy hide(&panel, &THotKeyPanel::HideKey), show(&panel, &THotKeyPanel::ShowKey);
        press("ctrl+alt+h"); // the old combination no longer hides
        press("ctrl+alt+j");
        press("ctrl+alt+o");
        QVERIFY(show.wait(5000));
        QCOMPARE(hide.count(), 1);
        panel.Release();
    }

    void unreadableValueFallsBackToDefault() {
        SaveFileAtomically(iniPath(), "[HotKeys]\nKey1=abc\n");
        TIniFile ini(iniPath());
        TGlobalHotKeys keys;
        QWidget window;
        THotKeyPanel panel(ini, keys, &window);
        panel.LoadAndRegister();
        QCOMPARE(int(panel.HotKeyValue[0]), 16467);
        QCOMPARE(ReadWholeFile(iniPath()), QByteArray("[HotKeys]\nKey1=abc\n"));
        panel.Release();
    }
};

QTEST_MAIN(TestHotKeyPanel)
#include "test_hotkeys.moc"
