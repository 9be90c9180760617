#pragma once
// URL security zones: which zone an address belongs to, and the zone's display name
// and 16x16 icon, as the status bar shows them.
#include <QIcon>
#include <QString>
#include <QUrl>

enum class UrlZone { LocalMachine = 0, Intranet = 1, Trusted = 2, Internet = 3, Restricted = 4 };

// Local files and built-in pages: the local machine; loopback, private addresses and
// single-label host names: the intranet; everything else: the Internet.
UrlZone ZoneOfUrl(const QUrl& url);

struct ZoneAttributes {
    QString DisplayName;
    QIcon Icon; // null when no icon could be loaded
};
ZoneAttributes ZoneAttributesOf(UrlZone zone);
