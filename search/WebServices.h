#pragma once
// Quick links ("Yahoo!", "Google", "MSN", "Useful Services" under Options), page
// translation and "Send Link of Current Page".
#include "search/QuickLinks.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class TEmbeddedWB;
class QWidget;

namespace search {

// What these commands need from the main window.
struct TWebServicesHost {
    // The browser of the active tab, or null.
    std::function<TEmbeddedWB*()> ActiveBrowser;
    // Opens address in a new tab right after the active one and makes it active.
    std::function<QWidget*(const QString& address)> OpenInNewTab;
    // The text of the address box (the current page's address).
    std::function<QString()> AddressText;
    // The shell's "open" action for a document or address (mailto: here), false when
    // nothing could open it; the platform shell when not given.
    std::function<bool(const QString& target)> ShellOpen;
};

class TWebServices : public QObject {
    Q_OBJECT
public:
    TWebServices(QVector<TQuickLinkMenu> menus, QVector<TTranslation> translations,
                 TWebServicesHost host, QObject* parent = nullptr);

    // Fills one quick-link sub-menu per table menu, in order ("Yahoo!", "Google", "MSN",
    // "Useful Services"); the translation entries end the last one. Each action is
    // named after its menu item (handler "YahooMail1Click" -> action "YahooMail1").
    void FillMenus(const QList<QMenu*>& menus);
    // Builds the sub-menus under parent, captioned from the table.
    QList<QMenu*> AddMenusTo(QMenu* parent);

    // The action whose handler has this name, once the menus are filled; else null.
    QAction* ActionFor(const QString& handler) const;

    // A quick link: a new blank tab, then the address in it.
    void OpenQuickLink(const QString& address);
    // Translation: the current tab goes to the front part followed by the page address.
    void TranslateCurrentPage(const QString& front);
    // Tools > "Send Link of Current Page". Throws Exception when no mail program
    // could be started.
    void SendLinkofCurrentPage1Click();

    const QVector<TQuickLinkMenu>& Menus() const { return menus; }
    const QVector<TTranslation>& Translations() const { return translations; }

private:
    QAction* AddAction(QMenu* menu, const QString& caption, const QString& handler,
                       std::function<void()> run);

    const QVector<TQuickLinkMenu> menus;
    const QVector<TTranslation> translations;
    TWebServicesHost host;
    QList<QAction*> actions;
};

} // namespace search
