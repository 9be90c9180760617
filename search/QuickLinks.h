#pragma once
// The quick-link menus, the page translation entries and the "send link" mail address.
#include <QString>
#include <QVector>

namespace search {

struct TQuickLink {
    QString Caption; // empty for a separator
    QString Handler; // the menu entry's handler name, e.g. "YahooMail1Click"
    QString Address; // the fixed address opened in a new tab
    bool IsSeparator() const { return Caption.isEmpty(); }
};

struct TQuickLinkMenu {
    QString Caption; // "Yahoo!", "Google", "MSN", "Useful Services"
    QVector<TQuickLink> Items;
};

struct TTranslation {
    QString Caption;
    QString Handler;
    QString Front; // the current page's address follows
    bool SeparatorAfter = false;
};

// The quick-link menus in order (shipped table when dataFile is empty). Throws
// EInOutError on a missing or malformed file.
QVector<TQuickLinkMenu> LoadQuickLinks(const QString& dataFile = {});
QVector<TTranslation> LoadTranslations(const QString& dataFile = {});

// The translation address of a page: the front part followed by the page address
// percent-encoded as a query value, so the page's own query and fragment survive.
QString TranslationAddress(const QString& front, const QString& pageAddress);

// "mailto:?subject=<title>&body=<address>" with both parts percent-encoded.
QString MailtoLink(const QString& title, const QString& address);

} // namespace search
