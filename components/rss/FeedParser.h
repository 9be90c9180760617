#pragma once
// Parses a feed document (RSS 0.9x, RSS 1.0/RDF, RSS 2.0, Atom 0.3 and 1.0) into the
// channel and item texts the feed component exposes. Texts are kept as the feed gives
// them (dates are not reformatted).
#include <QByteArray>
#include <QList>
#include <QString>

struct TFeedItem {
    QString Title;
    QString PubDate;
    QString Link;
};

struct TFeed {
    QString Version; // "0.91", "1.0", "2.0", "atom1.0", "atom0.3", ...
    QString ChannelTitle;
    QString ChannelDescription;
    QString ChannelLink;
    QList<TFeedItem> Items;
};

// Largest document accepted, in bytes (raw, before decoding).
constexpr qsizetype MaxFeedSize = 16 * 1024 * 1024;
// Largest number of characters that entity references may expand to in one document.
constexpr int MaxEntityExpansion = 64 * 1024;

// Throws EipwRSS when the document is not well-formed XML, is too large, references an
// external entity, expands entities beyond the bound, or is not a feed.
TFeed ParseFeed(const QByteArray& document);
