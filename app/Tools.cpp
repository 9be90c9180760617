#include "app/Tools.h"

#include "app/MainMenu.h"
#include "app/ToolLauncher.h"
#include "browser/ImageList.h"
#include "ftp/ftp.h"
#include "grabber/GrabSite.h"
#include "mail/main.h"
#include "rss/reader.h"

void RegisterTools(TToolLauncher& launcher, TMainMenu& menu, const TToolButtons& buttons, const TToolServices& s) {
    auto tab = [&menu](const char* caption) { return menu.Action(QStringLiteral("Tab"), QString::fromLatin1(caption)); };
    // name, tab caption ("" = the window's own caption), image, launch controls, caption after a switch
    launcher.Add(QStringLiteral("URL History"), QStringLiteral("URL History"), TImageList::UrlHistory,
                 {menu.Action(QStringLiteral("View"), QStringLiteral("View URL History")), tab("URL History")});
    launcher.Add(QStringLiteral("Email"), QString(), TImageList::Email, {buttons.value(QStringLiteral("EmailBtn")), tab("Email")},
                 QStringLiteral("Email"));
    launcher.Add(QStringLiteral("My PC"), QStringLiteral("My PC"), TImageList::MyPC,
                 {menu.Action(QStringLiteral("Tools"), QStringLiteral("My PC")), tab("My PC")});
    launcher.Add(QStringLiteral("FTP"), QStringLiteral("FTP"), TImageList::Ftp, {buttons.value(QStringLiteral("FTPbtn")), tab("FTP")});
    launcher.Add(QStringLiteral("RSS Reader"), QStringLiteral("RSS Reader"), TImageList::Rss,
                 {buttons.value(QStringLiteral("RSSbtn")), tab("RSS Reader")});
    launcher.Add(QStringLiteral("Grab Website"), QStringLiteral("Grab Website"), TImageList::MyPC,
                 {menu.Action(QStringLiteral("Options"), QStringLiteral("Grab Website")), tab("Grab Website")});

    // Factories of the tools that are built.
    launcher.SetFactory(QStringLiteral("Grab Website"), [](QWidget* parent) { return new TfrmGrabSite(parent); });
    launcher.SetFactory(QStringLiteral("RSS Reader"), [](QWidget* parent) { return new TfrmReader(parent); });
    const QString exeDir = s.ExeDir;
    launcher.SetFactory(QStringLiteral("Email"), [exeDir](QWidget* parent) { return TMainForm::Create(exeDir, parent); });
    launcher.SetFactory(QStringLiteral("FTP"), [](QWidget* parent) { return new TfrmFTP(TFtpDialogs::Standard(parent), parent); });
}
