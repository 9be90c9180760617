#include "search/WebServices.h"

#include "components/browser/EmbeddedWB.h"
#include "platform/Errors.h"
#include "platform/Shell.h"
#include <QAction>
#include <QMenu>
#include <QPointer>

namespace search {

TWebServices::TWebServices(QVector<TQuickLinkMenu> menusIn, QVector<TTranslation> translationsIn,
                           TWebServicesHost hostIn, QObject* parent)
    : QObject(parent), menus(std::move(menusIn)), translations(std::move(translationsIn)),
      host(std::move(hostIn)) {
    if (!host.ShellOpen)
        host.ShellOpen = [](const QString& target) { return ::ShellOpen(target); };
}

QAction* TWebServices::AddAction(QMenu* menu, const QString& caption, const QString& handler,
                                 std::function<void()> run) {
    QAction* action = menu->addAction(caption);
    QString name = handler;
    if (name.endsWith(QLatin1String("Click")))
        name.chop(5);
    action->setObjectName(name);
    action->setProperty("handler", handler);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    actions << action;
    connect(action, &QObject::destroyed, this, [this, action] { actions.removeAll(action); });
    return action;
}

void TWebServices::FillMenus(const QList<QMenu*>& targets) {
    TWebServices* self = this;
    for (qsizetype m = 0; m < menus.size() && m < targets.size(); ++m) {
        QMenu* menu = targets[m];
        for (const TQuickLink& link : menus[m].Items) {
            if (link.IsSeparator()) {
                menu->addSeparator();
                continue;
            }
            const QString address = link.Address;
            AddAction(menu, link.Caption, link.Handler,
                      [self, address] { self->OpenQuickLink(address); });
        }
        if (m != menus.size() - 1)
            continue;
        for (const TTranslation& t : translations) {
            const QString front = t.Front;
            AddAction(menu, t.Caption, t.Handler,
                      [self, front] { self->TranslateCurrentPage(front); });
            if (t.SeparatorAfter)
                menu->addSeparator();
        }
    }
}

QList<QMenu*> TWebServices::AddMenusTo(QMenu* parent) {
    QList<QMenu*> added;
    for (const TQuickLinkMenu& m : menus)
        added << parent->addMenu(m.Caption);
    FillMenus(added);
    return added;
}

QAction* TWebServices::ActionFor(const QString& handler) const {
    for (QAction* a : actions)
        if (a->property("handler").toString() == handler)
            return a;
    return nullptr;
}

void TWebServices::OpenQuickLink(const QString& address) {
    if (!host.OpenInNewTab)
        return;
    host.OpenInNewTab(QStringLiteral("about:blank"));
    TEmbeddedWB* browser = host.ActiveBrowser ? host.ActiveBrowser() : nullptr;
    if (browser)
        browser->Go(address);
}

void TWebServices::TranslateCurrentPage(const QString& front) {
    TEmbeddedWB* browser = host.ActiveBrowser ? host.ActiveBrowser() : nullptr;
    if (!browser)
        return;
    const QString page = host.AddressText ? host.AddressText() : QString();
    browser->Go(TranslationAddress(front, page));
}

void TWebServices::SendLinkofCurrentPage1Click() {
    TEmbeddedWB* browser = host.ActiveBrowser ? host.ActiveBrowser() : nullptr;
    if (!browser)
        return;
    if (!host.ShellOpen(MailtoLink(browser->LocationName(), browser->LocationURL())))
        throw Exception(QStringLiteral("No mail program could be started to send the link."));
}

} // namespace search
