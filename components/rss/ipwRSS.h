#pragma once
// TipwRSS: the feed component. GetFeed downloads a feed over HTTP (redirects are never
// followed, 60 s time-out, basic authorisation when User is set) and parses it; the call
// blocks, waiting in a local event loop while the transfer runs on a worker thread.
// The last parsed feed stays until the next successful fetch.
#include "components/rss/FeedParser.h"
#include "platform/Errors.h"

#include <QString>
#include <atomic>

// A failure of the feed component; the message reads "code: text".
class EipwRSS : public EComponentError {
public:
    enum {
        ErrIndex = 201,      // item number out of range
        ErrBusy = 143,       // a fetch is already running
        ErrXml = 500,        // not well-formed XML
        ErrTooLarge = 501,   // document or its entity expansions too large
        ErrEntity = 502,     // external or undeclared entity
        ErrNotFeed = 503,    // not an RSS or Atom document
        ErrTransport = 1000, // plus the HTTP client's error number
        // HTTP status errors use the status code itself ("404: Not Found").
    };
    using EComponentError::EComponentError;
};

class TipwRSS {
public:
    enum TFollowRedirects { frNever, frAlways };
    enum TRSSVersion { rssVersionUndefined, rssVersion091, rssVersion092, rssVersion200 };
    enum TAuthScheme { authBasic };

    TFollowRedirects FollowRedirects = frNever;
    TRSSVersion RSSVersion = rssVersion200;
    int Timeout = 60; // seconds
    TAuthScheme AuthScheme = authBasic;
    QString User;
    QString Password;

    // Downloads and parses the feed at url; throws EipwRSS on failure, keeping the
    // previous feed.
    void GetFeed(const QString& url);
    // Parses a document already at hand (same errors as GetFeed).
    void ParseDocument(const QByteArray& document);
    // Cuts a running GetFeed short; it then fails.
    void Interrupt() { interrupt = true; }

    QString ChannelTitle() const { return feed.ChannelTitle; }
    QString ChannelDescription() const { return feed.ChannelDescription; }
    QString ChannelLink() const { return feed.ChannelLink; }
    QString FeedVersion() const { return feed.Version; }
    int ItemCount() const { return int(feed.Items.size()); }
    // Item numbers run from 1 to ItemCount; others throw "Invalid array index value for ...".
    QString ItemTitle(int index) const;
    QString ItemPubDate(int index) const;
    QString ItemLink(int index) const;

private:
    const TFeedItem& item(int index, const char* property) const;

    TFeed feed;
    bool busy = false;
    std::atomic<bool> interrupt{false};
};
