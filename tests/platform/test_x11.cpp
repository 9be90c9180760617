// Desktop integration on a real X server (run under xvfb-run): global hot keys pressed
// with xdotool, the taskbar state, the screen saver.
#include "platform/HotKeys.h"
#include "platform/ScreenSaver.h"
#include "platform/ShortCut.h"
#include "platform/TaskbarButton.h"

#include <QWidget>

#include <QGuiApplication>
#include <QProcess>
#include <QtTest>

#include <xcb/screensaver.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace {
void press(const char* keys) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(keys)}), 0);
}

xcb_connection_t* x11() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}
} // namespace

class TestX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            QSKIP("needs an X11 display");
    }

    void pressTriggersFromAnyFocusAndLockState() {
        TGlobalHotKeys keys;
        const int hide = keys.GlobalAddAtom(QStringLiteral("MyHotKey_3"));
        QCOMPARE(keys.GlobalAddAtom(QStringLiteral("MyHotKey_3")), hide);
        QVERIFY(keys.RegisterHotKey(hide, MOD_CONTROL | MOD_ALT, 0x48));
        QSignalSpy spy(&keys, &TGlobalHotKeys::HotKey);
        press("ctrl+alt+h");
        QVERIFY(spy.wait(5000));
        QCOMPARE(spy.takeFirst().at(0).toInt(), hide);

        press("Num_Lock");
        press("ctrl+alt+h");
        QVERIFY(spy.wait(5000));
        press("Num_Lock");
        press("Caps_Lock");
        press("ctrl+alt+h");
        QVERIFY(spy.wait(5000));
        press("Caps_Lock");
    }

    // X delivers key events in order, so once a later sentinel key has arrived, any press
    // of a still-grabbed old combination would have arrived before it.
    void registeringAgainReleasesTheOldCombination() {
        TGlobalHotKeys keys;
        const int id = keys.GlobalAddAtom(QStringLiteral("MyHotKey_2"));
        const int sentinel = keys.GlobalAddAtom(QStringLiteral("sentinel"));
        QVERIFY(keys.RegisterHotKey(sentinel, MOD_CONTROL | MOD_ALT, 0x51));
        QVERIFY(keys.RegisterHotKey(id, MOD_CONTROL | MOD_ALT, 0x4F));
        QVERIFY(keys.RegisterHotKey(id, MOD_CONTROL | MOD_ALT, 0x50));
        QSignalSpy spy(&keys, &TGlobalHotKeys::HotKey);
        press("ctrl+alt+o");
        press("ctrl+alt+p");
        press("ctrl+alt+q");
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 2, 5000);
        QCOMPARE(spy.at(0).at(0).toInt(), id);
        QCOMPARE(spy.at(1).at(0).toInt(), sentinel);

        QVERIFY(keys.UnregisterHotKey(id));
        QVERIFY(!keys.UnregisterHotKey(id));
        press("ctrl+alt+p");
        press("ctrl+alt+q");
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 3, 5000);
        QCOMPARE(spy.at(2).at(0).toInt(), sentinel);
    }

    void unknownKeyIsRefused() {
        TGlobalHotKeys keys;
        QVERIFY(!keys.RegisterHotKey(keys.GlobalAddAtom(QStringLiteral("x")), MOD_CONTROL, 0xFF));
    }

    void windowKeepsOffTheTaskbarAcrossHideAndShow() {
        QWidget window;
        HideTaskbarButton(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(HasTaskbarButtonHidden(&window));
        window.hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(HasTaskbarButtonHidden(&window));
    }

    void screenSaverStarts() {
        QVERIFY(StartScreenSaver());
        QTRY_VERIFY_WITH_TIMEOUT(([] {
            xcb_screensaver_query_info_reply_t* info = xcb_screensaver_query_info_reply(
                x11(), xcb_screensaver_query_info(x11(), xcb_setup_roots_iterator(xcb_get_setup(x11())).data->root), nullptr);
            const bool on = info && info->state == XCB_SCREENSAVER_STATE_ON;
            std::free(info);
            return on;
        })(), 5000);
        xcb_force_screen_saver(x11(), XCB_SCREEN_SAVER_RESET);
        xcb_flush(x11());
    }
};

QTEST_MAIN(TestX11)
#include "test_x11.moc"
