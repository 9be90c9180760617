#pragma once
// The main window's chrome: the skin engine drawing the frameless window with its own
// caption bar (system menu, roll-up), the skin entries, the "Main Menu" and "Status Bar"
// switches, the two optional web toolbars, and the window commands (minimise hides the
// window completely, maximise, restore).
#include <QObject>
#include <QPointer>
#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;
class TCaptionBar;
class TMainMenu;
class TRegistry;
class TSkinEngine;
class TTabSet;

class TWindowChrome : public QObject {
    Q_OBJECT
public:
    struct Skin {
        const char* caption;
        const char* file;
    };
    static const std::array<Skin, 5> Skins;
    struct WebToolbar {
        const char* classId;
        const char* toolbarMenuEntry; // in tbMenu
        const char* optionsEntry;     // in the Options menu
        const char* tabEntry;         // in the tab menu
    };
    static const WebToolbar Google;
    static const WebToolbar Yahoo;

    TWindowChrome(QMainWindow& window, TMainMenu& menu, TTabSet& tabs, TRegistry& registry, const QString& exeDir,
                  QToolBar* navigationBar, QToolBar* addressBar);

    TSkinEngine* bsBusinessSkinForm1;
    TCaptionBar* CaptionBar;
    QMenu* tbMenu;
    QAction* HideMenu1;           // tbMenu "Main Menu"
    QToolBar* PanelGoogle;
    QToolBar* PanelYahoo;
    QPointer<QWidget> GoogleToolBarHost;
    QPointer<QWidget> YahooToolBarHost;

    void Default1Click(int skin); // the one handler of the five skin entries
    void HideMenu1Click();
    void StatusBarClick();
    void ToolbarClick(bool google, QAction* entry);
    // Run when the window is first shown.
    void SetUpToolbars();
    // A system command of the window: minimise hides it, maximise and restore show it.
    // Returns false for commands left to the default handling.
    bool SystemCommand(int command);
    void bsBusinessSkinForm1ChangeRollUpState(bool rolledUp);

    // True when HKEY_CLASSES_ROOT has the key "CLSID\<classId>" (read access only).
    bool ClassIdRegistered(const QString& classId) const;

private:
    std::array<QAction*, 3> toolbarEntries(const WebToolbar& bar) const;
    void hostToolbar(bool google);
    void showAndAgain(void (QWidget::*how)());

    QMainWindow& window;
    TMainMenu& menu;
    TTabSet& tabs;
    TRegistry& registry;
    QString exeDir;
    QToolBar* navigationBar;
};
