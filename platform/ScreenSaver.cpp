#include "platform/ScreenSaver.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

bool StartScreenSaver() {
    const QString desktopCommand = QStandardPaths::findExecutable(QStringLiteral("xdg-screensaver"));
    if (!desktopCommand.isEmpty() && QProcess::startDetached(desktopCommand, {QStringLiteral("activate")}))
        return true;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11)
        return false;
    xcb_force_screen_saver(x11->connection(), XCB_SCREEN_SAVER_ACTIVE);
    xcb_flush(x11->connection());
    return true;
}
