#include "app/MainMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
using Entries = std::initializer_list<const char*>;
// "-" is a separator, "Sub>" opens a submenu that runs to "<".
const Entries FileEntries = {"New", "Open...", "-", "Save As...", "-", "Print...", "Print Preview", "Page Setup",
                                 "-", "Properties", "Offline Mode", "-", "Exit"};
const Entries EditEntries = {"Allow PopUp", "-", "Cut", "Copy", "Paste", "-", "Select All", "-",
                                 "Search (Current Page)..."};
const Entries ViewEntries = {"Skins>", "Default", "Chrome", "Energy Blue", "Lite Media", "Futurist", "<",
                                 "Encoding>", "Automatic", "-", "Central European (ISO)", "Western European (ISO)",
                           "Unicode (UTF-8)", "-", "Arabic (Windows)", "Baltic (Windows)", "Chinese Simplified (GB2312)",
                           "Chinese Traditional (Big5)", "Greek (Windows)", "Korean (ISO)", "Thai (Windows)",
                           "Turkish (Windows)", "<",
                                 "Text Size>", "Largest", "Large", "Medium", "Small", "Smallest", "<",
                                 "Design Mode (beta)", "Source Code", "-", "View URL History"};
const Entries ToolsEntries = {
    "Music", "Games>", "Pin Ball", "Spider", "<",
    "Short Cuts>", "DOS FTP", "Phone Dialer", "Windows Messenger", "System Config", "System Editor", "Network Config",
    "IExpress", "Character Editor", "DirectX Diagnostic", "Sound Recorder", "System Performance", "Dr Watson",
    "System Security", "<",
    "-", "My PC", "Utilities>", "Desktop Icons", "Windows Uptime?", "<", "Save Screen To File", "-",
    "Import/Export Favorites", "Favorites Organizer", "Send Link of Current Page", "-", "Cookies", "Show Cookies Path",
    "Show History Path", "-", "Internet Options...", "-", "Open Outlook Mail", "Outlook Express"};
const Entries OptionsEntries = {"Grab Website", "-", "Yahoo!", "Google", "MSN", "Useful Services", "-",
                                    "Set Home Page for Browser", "Set as Default Browser", "-", "Export Favorites",
                                    "Import Favorites", "-", "Yahoo ToolBar", " Google ToolBar", "Main Menu", "Status Bar"};
const Entries WindowsEntries = {
    "Allow Task Manager", "Task Bar", "-", "Off-Line Sync", "Open Task Manager", "Open Address Book", "Open Calendar",
    "Open News Client", "Open Net Meeting", "Open Registry Editor", "Open WinChat", "Media Player", "Driver Verifier",
    "TelNet", "Volume Control", "File Signature", "Create Share Folder", "Object Packager", "ODBC Data Source",
    "Character Map", "Disk Clean Up", "Clip Book Viewer"};
const Entries HelpEntries = {"About", "Register", "-", "IE version", "Technical Problem", "License",
                                 "Visit Quillmoor page", "Feedback", "Check for Update", "-", "Windows Version",
                                 "System Info", "DOS Prompt", "Windows Explorer", "Windows Update"};
const Entries TabEntries = {"Close Tab", "Copy Tab", "-", "Main Menu", "Yahoo Bar", " Google Bar", "-",
                                "Allow PopUp", "Open", "New Page", "-", "Email", "FTP", "RSS Reader", "URL History",
                                "Grab Website", "Favorites", "-", "My PC", "Check for Update", "Home", "-",
                                "Quillmoor Keys"};
// Entries that carry a check mark.
const Entries Checkable = {"Edit|Allow PopUp", "Tab|Allow PopUp", "File|Offline Mode", "View|Design Mode (beta)",
                               "Options|Yahoo ToolBar", "Options| Google ToolBar", "Options|Main Menu",
                               "Options|Status Bar", "Tab|Main Menu", "Tab|Yahoo Bar", "Tab| Google Bar",
                               "Windows|Allow Task Manager", "Windows|Task Bar"};
} // namespace

TMainMenu::TMainMenu(QWidget* window, QMenuBar* bar) : QObject(window), MainMenu1(bar) {
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    const std::pair<const char*, const Entries*> top[] = {
        {"File", &FileEntries},         {"Edit", &EditEntries},       {"View", &ViewEntries}, {"Tools", &ToolsEntries},
        {"Options", &OptionsEntries}, {"Windows", &WindowsEntries}, {"Help", &HelpEntries}};
    for (const auto& [name, entries] : top) {
        QMenu* m = MainMenu1->addMenu(QString::fromLatin1(name));
        fill(m, QString::fromLatin1(name), *entries);
    }
    PCPopup = new QMenu(window);
    PCPopup->setObjectName(QStringLiteral("PCPopup"));
    fill(PCPopup, QStringLiteral("Tab"), TabEntries);
}

void TMainMenu::fill(QMenu* menu, const QString& name, std::initializer_list<const char*> entries) {
    menus.insert(name, menu);
    QMenu* current = menu;
    QString prefix;
    for (const char* raw : entries) {
        const QString e = QString::fromLatin1(raw);
        if (e == QLatin1String("-")) {
            current->addSeparator();
        } else if (e.endsWith(QLatin1Char('>'))) {
            prefix = e.chopped(1);
            current = menu->addMenu(prefix);
            menus.insert(name + QLatin1Char('|') + prefix, current);
            prefix += QLatin1Char('|');
        } else if (e == QLatin1String("<")) {
            current = menu;
            prefix.clear();
        } else {
            // Captions are shown as written: "&" is not a mnemonic here.
            QAction* a = current->addAction(QString(e).replace(QLatin1Char('&'), QLatin1String("&&")));
            const QString key = name + QLatin1Char('|') + prefix + e;
            a->setObjectName(key);
            a->setEnabled(false);
            bool checkable = false;
            for (const char* c : Checkable)
                checkable = checkable || key == QLatin1String(c);
            a->setCheckable(checkable);
            actions.insert(key, a);
        }
    }
}

QAction* TMainMenu::Action(const QString& menu, const QString& caption) const {
    return actions.value(menu + QLatin1Char('|') + caption);
}

QMenu* TMainMenu::Menu(const QString& menu) const { return menus.value(menu); }

QAction* TMainMenu::Wire(const QString& menu, const QString& caption, std::function<void()> handler) {
    QAction* a = Action(menu, caption);
    if (!a)
        return nullptr;
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return a;
}
