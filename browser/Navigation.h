#pragma once
// TNavigation: the navigation toolbar buttons and the address bar, and the handlers
// that keep them, the window caption, the tab captions and images and the status bar
// in step with what the browsers report. Acts on the tab set's ActiveBrowser.
#include "components/browser/IETravelLog.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

class QComboBox;
class QCompleter;
class QMenu;
class QPushButton;
class QStringListModel;
class QToolButton;
class QUrl;
class QWidget;
class TEmbeddedWB;
class TRegistry;
class TStatusBar;
class TTabSet;
class TTypedUrls;
class TUrlHistory;

class TNavigation : public QObject {
    Q_OBJECT
public:
    static const QString PopupBlockedText;

    // window: whose caption follows the pages. history may be null (nothing recorded).
    TNavigation(QWidget* window, TTabSet& tabs, TStatusBar& statusBar, TRegistry& registry, TUrlHistory* history);
    ~TNavigation() override;

    // Navigation toolbar.
    QToolButton* ToolbtnBack;
    QToolButton* ToolBtnForward;
    QToolButton* ToolBtnStop;
    QToolButton* ToolBtnRefresh;
    QToolButton* HomeBtn;
    // Address bar.
    QToolButton* btnSecurity;
    QToolButton* NewPageBtn;
    QComboBox* edURL;
    QPushButton* btnGo;
    QMenu* PopupMenu1; // the travel-log drop-down shown last (Back or Forward)
    TIETravelLog IETravelLog1;
    bool TravelBack = false;
    struct TravelItem {
        QString Title;
        QString Url;
    };
    QVector<TravelItem> TravelMenuItems;
    QString LastTitle;

    void btnGoClick();
    void edURLUrlSelected();
    void ToolbtnBackClick();
    void ToolBtnForwardClick();
    // Fills PopupMenu1 with the back (or forward) entries, at most 30.
    void FillTravelMenu(bool back);
    void TravelMenuItemClick(int index);
    void ToolBtnStopClick();
    void ToolBtnRefreshClick(bool complete);
    void HomeBtnClick();
    void NewPageBtnClick();

    QString DocumentTitle();
    void ShowSecurityState();
    void UpdateStopButton();
    // The address box's list: the typed addresses, most recent first.
    void ReloadTypedList();
    QStringList Completions(const QString& text) const;
    bool SecureLook() const { return secureLook; }

    // Handlers of the tab set.
    void PageControlChange();
    void PopupBlocked();
    void ConnectBrowser(TEmbeddedWB* wb, bool firstTab);

private:
    void progressChange(TEmbeddedWB* wb, int progress, int maximum);
    void titleChange(TEmbeddedWB* wb, const QString& text);
    void statusTextChange(TEmbeddedWB* wb, const QString& text);
    void commandStateChange(TEmbeddedWB* wb, int command, bool enable);
    void downloadComplete(TEmbeddedWB* wb);
    void documentComplete(TEmbeddedWB* wb, bool topLevel);
    void setSecureLockIcon(TEmbeddedWB* wb, int level);
    void setAddressColor(const QColor& color);
    void showTravelMenu(QToolButton* button, bool back);
    QWidget* tabOf(TEmbeddedWB* wb) const;
    bool isActive(TEmbeddedWB* wb) const;

    QWidget* window;
    TTabSet& tabs;
    TStatusBar& statusBar;
    TRegistry& registry;
    TUrlHistory* history;
    TTypedUrls* typed;
    QCompleter* completer;
    QStringListModel* completions;
    bool secureLook = true;
};
