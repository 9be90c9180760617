#pragma once
// TTabSet: the main window's tab set `PageControl` with browser tabs and tool tabs.
// It decides which browser the page commands act on (ActiveBrowser), opens addresses in
// new tabs, copies and closes tabs, hosts tool windows, applies the pop-up policy and
// routes Ctrl+N. What the window shows around the tabs (caption, address box, buttons)
// follows the PageControlChange signal and the browser events, wired by TNavigation.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>
#include <functional>

class QMenu;
class QTabWidget;
class QWidget;
class TEmbeddedWB;

class TTabSet : public QObject {
    Q_OBJECT
public:
    // Builds the tab widget (a child of parent) with the first tab "WebBrowser".
    explicit TTabSet(QWidget* parent);

    QTabWidget* PageControl;
    QWidget* tsMain;
    TEmbeddedWB* WebBrowser1;
    // Browser of the last browser tab that was left; may be null.
    QPointer<TEmbeddedWB> CurrentBrowser;
    bool PopupsAllowed = false;

    // The active tab's browser; on a tool tab CurrentBrowser; null when the tab is empty.
    TEmbeddedWB* ActiveBrowser() const;
    // The browser a tab holds as its first child, or null (tool tabs).
    static TEmbeddedWB* BrowserOf(QWidget* tab);

    // A new browser tab right after the active one, made active, navigated to address
    // (none when it is blank) and waited for. Returns the tab.
    QWidget* OpenInNewTab(const QString& address);
    // A switch as a user's click does it (with the switch handlers); nothing when active.
    void ActivateTab(QWidget* tab);
    // Makes a tab active without the switch handlers.
    void SelectTabSilently(QWidget* tab);

    // Hosts a tool window in a new tab: caption, image, a close button whose close hook
    // runs closeHook; the tab becomes active silently and the form gets the focus.
    // switchCaption, when not empty, becomes the tab's caption after every tab switch.
    QWidget* HostTool(QWidget* form, const QString& caption, int imageIndex, std::function<void()> closeHook,
                      const QString& switchCaption = {});
    // Every tool window hosted so far, whether its tab is still shown or was closed.
    QVector<QWidget*> HostedForms() const;
    bool IsToolTab(QWidget* tab) const;

    void SetTabImage(QWidget* tab, int imageIndex);
    void SetTabCaption(QWidget* tab, const QString& caption);
    int TabImage(QWidget* tab) const;
    bool IsFirstTab(QWidget* tab) const { return tab == tsMain; }

    // Commands.
    void NewTabBlankClick();              // "New"
    QWidget* NewPageClick();              // "New Page" (the window adds its steps)
    void Open1Click();                    // "Open..."
    void OpenFile(const QString& path);   // the dialog's choice
    void DuplicateTab1Click();            // "Copy Tab", Ctrl+N
    void CloseTab1Click();                // "Close Tab"
    // The close button of tab number index (the first tab has none).
    void CloseButtonClicked(int index);

    // The file dialog's filter list of "Open...".
    static QString OpenFilter();

signals:
    // A browser was created for a tab; firstTab for WebBrowser1.
    void BrowserCreated(TEmbeddedWB* browser, bool firstTab);
    // After a switch that runs the handlers (user click, ActivateTab, a closed tab).
    void PageControlChange();
    // A page's pop-up was refused because pop-ups are not allowed.
    void PopupBlocked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tool {
        QPointer<QWidget> tab;
        QPointer<QWidget> form;
        std::function<void()> closeHook;
        QString switchCaption;
        int image = 0;
    };
    TEmbeddedWB* createBrowser(QWidget* tab, bool first);
    void onCurrentChanged(int index);
    void onNewWindow(TEmbeddedWB* opener, TEmbeddedWB*& target, bool& cancel);
    Tool* toolOf(QWidget* tab);

    QVector<Tool> tools;
    QPointer<QWidget> lastTab;
    QWidget* offScreen; // parent of closed tabs, never shown
    bool silent = false;
};
