// Program entry: splash, single instance, main window, message loop.
#include "app/Splash.h"
#include "app/Unit1.h"
#include "components/browser/EmbeddedWB.h"
#include "components/urlhistory/UrlHistory.h"
#include "platform/ErrorReport.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"

#include <QMessageBox>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName(QStringLiteral("Quillmoor"));
    TApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Quillmoor"));

    auto* splash = new TfrmSplash;
    splash->show();
    splash->raise();
    splash->repaint();
    QCoreApplication::processEvents();

    TSingleInstance instance(QStringLiteral("Quillmoor"));
    if (instance.AlreadyRunning()) {
        delete splash;
        QMessageBox::information(nullptr, QStringLiteral("Quillmoor"), QStringLiteral("This program is already running."));
        return 0;
    }

    // One persistent profile for every browser: cookies, cache and visited links last.
    auto* profile = new QWebEngineProfile(QStringLiteral("Quillmoor"), &app);
    profile->setPersistentStoragePath(UserDataFolder() + QStringLiteral("/WebEngine"));
    profile->setCachePath(UserDataFolder() + QStringLiteral("/WebEngine/Cache"));
    TEmbeddedWB::SetSharedProfile(profile);

    TRegistry registry(TRegistry::DefaultStoreFolder());
    TUrlHistory history(UserDataFolder() + QStringLiteral("/History.json"));
    int result = 0;
    {
        TfrmQuillmoor window(registry, history, ComputeExeDir());
        window.FormCreate();
        splash->hide();
        delete splash;
        window.showMaximized();
        result = app.exec();
    }
    TEmbeddedWB::SetProgramEnding(true);
    delete profile;
    return result;
}
