#pragma once
// The main window's menus: the main menu `MainMenu1` with its seven entries and the
// tab context menu `PCPopup`. Every entry exists from the start; an entry is disabled
// until the module that handles it connects to it (Wire), so features not built yet
// stay visible and disabled. Entries are found by menu and caption:
//     menu.Action("Options", "Yahoo!")   menu.Action("Tab", "Close Tab")
// Submenu entries use the path: menu.Action("View", "Text Size|Largest").
#include <QHash>
#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class TMainMenu : public QObject {
    Q_OBJECT
public:
    TMainMenu(QWidget* window, QMenuBar* bar);

    QMenuBar* MainMenu1;
    QMenu* PCPopup; // the tab context menu ("Tab")

    // The entry, or null when there is none (a typo shows up as a failed check in tests).
    QAction* Action(const QString& menu, const QString& caption) const;
    QMenu* Menu(const QString& menu) const;
    // Enables the entry and runs handler when it is chosen. Returns the entry.
    QAction* Wire(const QString& menu, const QString& caption, std::function<void()> handler);
    // Every entry, keyed "Menu|Caption".
    const QHash<QString, QAction*>& Actions() const { return actions; }

private:
    void fill(QMenu* menu, const QString& name, std::initializer_list<const char*> entries);
    QHash<QString, QAction*> actions;
    QHash<QString, QMenu*> menus;
};
