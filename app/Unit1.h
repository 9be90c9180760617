#pragma once
// TfrmQuillmoor: the main window. It builds the bars, the menus and the status bar and
// composes the modules that own their controls and handlers: the tab set and the
// navigation (browser/), the tool launcher (app/ToolLauncher.h), the hot keys and the
// floating panels. Other modules attach here:
//   - the search box goes into SearchSlot (between "Go" and "Exit");
//   - menu entries are found with Menu->Action(menu, caption) and wired with Menu->Wire;
//   - page commands use Tabs->ActiveBrowser(), new tabs Tabs->OpenInNewTab(address).
#include <QMainWindow>
#include <QString>
#include <functional>

class QLabel;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class TContactPanel;
class TEmbeddedWB;
class TGlobalHotKeys;
class THotKeyPanel;
class TIniFile;
class TMainMenu;
class TNavigation;
class TRegistry;
class TStatusBar;
class TTabSet;
class TToolLauncher;
class TUrlHistory;
namespace search {
class TSearchBox;
class TWebServices;
} // namespace search

// "h:m:s" of a number of seconds, without leading zeros (3725 gives "1:2:5").
QString FormatElapsed(quint32 seconds);

class TfrmQuillmoor : public QMainWindow {
    Q_OBJECT
public:
    // exeDir: the program's folder ("Mail.ini", "Screen"); the services are owned by the caller.
    TfrmQuillmoor(TRegistry& registry, TUrlHistory& history, const QString& exeDir, QWidget* parent = nullptr);
    ~TfrmQuillmoor() override;

    // The steps of creation that load pages and register keys (after construction).
    void FormCreate();

    // Fields other modules read.
    QString ExeDir;
    quint64 StartTick = 0;
    TTabSet* Tabs;
    TNavigation* Navigation;
    TMainMenu* Menu;
    TStatusBar* StatusBar1;
    TToolLauncher* Launcher;
    TIniFile* Ini; // "Mail.ini"
    TGlobalHotKeys* HotKeys;
    THotKeyPanel* GroupBox4;
    TContactPanel* Panel14;
    QTabWidget* PageControl1; // side panel "Favorites", "Cookies", "IP"
    QToolBar* AdvToolBar3;    // navigation toolbar with the main menu
    QToolBar* AdvToolBar2;    // address bar
    QWidget* SearchSlot;      // the search module puts its controls here
    search::TSearchBox* SearchBox;     // edSearch, SearchEngine, btnSearch
    search::TWebServices* WebServices; // quick links, translation, "Send Link of Current Page"
    QToolButton* ExitBtn;
    QTimer* Timer1;

    TEmbeddedWB* ActiveBrowser() const;
    QString DocumentTitle();

    // Commands of this window.
    void Exit1Click();
    void Register1Click();
    void AllowPopUp1Click(); // Edit menu "Allow PopUp"
    void AllowPopUp2Click(); // tab menu "Allow PopUp"
    void Timer1Timer();
    // Right click on tab number index at pos (tab bar coordinates): the tab menu.
    void PageControlMouseDown(int index, const QPoint& globalPos, bool showMenu = true);

    // How "Are you sure to Exit?" is answered; a message box unless replaced (tests).
    std::function<int()> ConfirmExit;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildBars();
    void wireMenus();
    void attachSearch();
    void FormShow();
    void FormClose();

    TRegistry& registry;
    TUrlHistory& history;
    bool shown = false;
    bool closed = false;
};
