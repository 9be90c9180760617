#pragma once
// The table of tools hosted in tabs and their factories (see app/ToolLauncher.h).
class TMainMenu;
class TToolLauncher;
class QAction;
struct TToolServices;
#include <QHash>
#include <QString>

// Toolbar buttons that launch tools, by name ("FTPbtn", "EmailBtn", "RSSbtn").
using TToolButtons = QHash<QString, QAction*>;

void RegisterTools(TToolLauncher& launcher, TMainMenu& menu, const TToolButtons& buttons, const TToolServices& s);
