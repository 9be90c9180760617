#pragma once
// The rules of a site grab that need no network: which content is stored, which links
// are followed, and where a resource is stored.
#include <QFlags>
#include <QList>
#include <QString>
#include <QUrl>

enum TclGrabOption { gaGrabAll = 1, gaGrabImages = 2, gaGrabData = 4 };
Q_DECLARE_FLAGS(TclGrabOptions, TclGrabOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TclGrabOptions)

// True when a response with this status and content type is stored: status below 400,
// and every type with gaGrabAll, else "html" always, "image" with gaGrabImages and
// "application" with gaGrabData.
bool ShouldStore(TclGrabOptions options, long status, const QString& contentType);

// The local file of an address (lower-cased as the item carries it): the address's
// decoded path reduced to a safe relative path inside folder; a path naming a folder
// ("/" or "/docs/") gets "index.htm". Empty when folder is empty or no file inside it fits.
QString LocalFileFor(const QString& folder, const QString& url);

// The "href" of every "a" and the "src" of every "img" in an HTML document, in order;
// only the first MaxScannedHtml bytes are looked at.
constexpr qsizetype MaxScannedHtml = 8 * 1024 * 1024;
QList<QString> ExtractLinks(const QByteArray& html);

// Whether a link found in a page of level parentLevel becomes an item: a maximum of 0
// sets no depth limit, else the new level must stay below it; the link text holds no
// "#"; the address is http or https on the root's host. Duplicates are checked apart.
bool FollowLink(const QString& linkText, const QUrl& resolved, const QString& rootHost,
                int parentLevel, int maxNestLevel);

// A redirect is followed only to http or https on the root's host.
bool FollowRedirect(const QUrl& target, const QString& rootHost);
