#include "components/rss/FeedParser.h"

#include "components/rss/FeedDecoding.h"
#include "components/rss/ipwRSS.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

const QString nsAtom10 = QStringLiteral("http://www.w3.org/2005/Atom");
const QString nsAtom03 = QStringLiteral("http://purl.org/atom/ns#");
const QString nsRss10 = QStringLiteral("http://purl.org/rss/1.0/");
const QString nsRss090 = QStringLiteral("http://my.netscape.com/rdf/simple/0.9/");
const QString nsDc = QStringLiteral("http://purl.org/dc/elements/1.1/");

// Feeds use HTML entities without declaring them; those resolve to their text. Anything
// else undeclared, and every external entity, stays unresolved and fails the parse.
class HtmlEntities : public QXmlStreamEntityResolver {
public:
    QString resolveUndeclaredEntity(const QString& name) override { return HtmlEntityText(name); }
};

// Characters read from the document, entity expansions included, are counted against a
// total so that many references to one large entity cannot exhaust memory.
constexpr qsizetype MaxTextTotal = 4 * MaxFeedSize;

class Reader {
public:
    explicit Reader(const QString& text) : source(text), r(text) {
        r.setNamespaceProcessing(true);
        r.setEntityResolver(&entities);
        r.setEntityExpansionLimit(MaxEntityExpansion);
    }

    QXmlStreamReader::TokenType next() {
        const auto t = r.readNext();
        if (t == QXmlStreamReader::EntityReference)
            throw EipwRSS(EipwRSS::ErrEntity,
                          QStringLiteral("Entity '%1' is external or undeclared and is not loaded")
                              .arg(r.name()));
        if (t == QXmlStreamReader::Characters) {
            textTotal += r.text().size();
            if (textTotal > MaxTextTotal)
                throw EipwRSS(EipwRSS::ErrTooLarge, QStringLiteral("Feed document is too large"));
        }
        if (t == QXmlStreamReader::DTD) {
            // An external entity that the document refers to would name a local file or a
            // URL; it is refused outright rather than silently left out.
            for (const auto& e : r.entityDeclarations())
                if ((!e.systemId().isEmpty() || !e.publicId().isEmpty()) &&
                    source.contains(QLatin1Char('&') + e.name() + QLatin1Char(';')))
                    throw EipwRSS(
                        EipwRSS::ErrEntity,
                        QStringLiteral("External entity '%1' is not allowed").arg(e.name()));
        }
        if (t == QXmlStreamReader::Invalid)
            fail();
        return t;
    }

    [[noreturn]] void fail() {
        throw EipwRSS(EipwRSS::ErrXml, QStringLiteral("XML error at line %1, column %2: %3")
                                           .arg(r.lineNumber())
                                           .arg(r.columnNumber())
                                           .arg(r.errorString()));
    }

    // Moves to the next child element of the current one; false at its end.
    bool nextChild() {
        while (!r.atEnd()) {
            const auto t = next();
            if (t == QXmlStreamReader::StartElement)
                return true;
            if (t == QXmlStreamReader::EndElement)
                return false;
        }
        fail();
    }

    void skip() {
        int depth = 1;
        while (depth > 0) {
            const auto t = next();
            if (t == QXmlStreamReader::StartElement)
                ++depth;
            else if (t == QXmlStreamReader::EndElement)
                --depth;
            else if (r.atEnd())
                fail();
        }
    }

    // The element's content as text; child elements (naked markup) are kept as markup.
    QString inner() {
        QString out;
        int depth = 1;
        while (depth > 0) {
            const auto t = next();
            if (t == QXmlStreamReader::Characters) {
                out += r.text();
            } else if (t == QXmlStreamReader::StartElement) {
                ++depth;
                out += QLatin1Char('<') + r.qualifiedName();
                for (const auto& a : r.attributes())
                    out += QLatin1Char(' ') + a.qualifiedName() + QStringLiteral("=\"") +
                           a.value().toString().toHtmlEscaped() + QLatin1Char('"');
                out += QLatin1Char('>');
            } else if (t == QXmlStreamReader::EndElement) {
                if (--depth > 0)
                    out += QStringLiteral("</") + r.qualifiedName() + QLatin1Char('>');
            } else if (r.atEnd()) {
                fail();
            }
        }
        return out.trimmed();
    }

    // Atom text constructs: type="xhtml" wraps its content in one XHTML div.
    QString atomText() {
        const bool xhtml = r.attributes().value(QLatin1String("type")) == QLatin1String("xhtml");
        QString text = inner();
        if (xhtml) {
            static const QRegularExpression div(QStringLiteral("^<div[^>]*>(.*)</div>$"),
                                                QRegularExpression::DotMatchesEverythingOption);
            const auto m = div.match(text);
            if (m.hasMatch())
                text = m.captured(1).trimmed();
        }
        return text;
    }

    QStringView name() const { return r.name(); }
    QStringView ns() const { return r.namespaceUri(); }
    QStringView attr(const char* name) const { return r.attributes().value(QLatin1String(name)); }

    const QString source;
    QXmlStreamReader r;
    HtmlEntities entities;
    qsizetype textTotal = 0;
};

bool rssNs(QStringView ns) {
    return ns.isEmpty() || ns == nsRss10 || ns == nsRss090;
}
bool atomNs(QStringView ns) {
    return ns.isEmpty() || ns == nsAtom10 || ns == nsAtom03;
}

TFeedItem readRssItem(Reader& x) {
    TFeedItem item;
    QString dcDate;
    while (x.nextChild()) {
        if (rssNs(x.ns()) && x.name() == u"title")
            item.Title = x.inner();
        else if (rssNs(x.ns()) && x.name() == u"link")
            item.Link = x.inner();
        else if (rssNs(x.ns()) && x.name() == u"pubDate")
            item.PubDate = x.inner();
        else if (x.ns() == nsDc && x.name() == u"date")
            dcDate = x.inner();
        else
            x.skip();
    }
    if (item.PubDate.isEmpty())
        item.PubDate = dcDate;
    return item;
}

// The children of an RSS channel, or of an RDF root (whose items sit beside the channel).
void readRssContainer(Reader& x, TFeed& feed) {
    while (x.nextChild()) {
        if (rssNs(x.ns()) && x.name() == u"channel")
            readRssContainer(x, feed);
        else if (rssNs(x.ns()) && x.name() == u"item")
            feed.Items.append(readRssItem(x));
        else if (rssNs(x.ns()) && x.name() == u"title" && feed.ChannelTitle.isEmpty())
            feed.ChannelTitle = x.inner();
        else if (rssNs(x.ns()) && x.name() == u"description" && feed.ChannelDescription.isEmpty())
            feed.ChannelDescription = x.inner();
        else if (rssNs(x.ns()) && x.name() == u"link" && feed.ChannelLink.isEmpty())
            feed.ChannelLink = x.inner();
        else
            x.skip();
    }
}

// An Atom link element: its href when it is an alternate link (no rel, or rel="alternate").
void takeAtomLink(Reader& x, QString& alternate, QString& any) {
    const QString href = x.attr("href").toString().trimmed();
    const QStringView rel = x.attr("rel");
    if (alternate.isEmpty() && (rel.isEmpty() || rel == u"alternate"))
        alternate = href;
    if (any.isEmpty())
        any = href;
    x.skip();
}

TFeedItem readAtomEntry(Reader& x) {
    TFeedItem item;
    QString published, updated, anyLink;
    while (x.nextChild()) {
        if (!atomNs(x.ns())) {
            x.skip();
        } else if (x.name() == u"title") {
            item.Title = x.atomText();
        } else if (x.name() == u"link") {
            takeAtomLink(x, item.Link, anyLink);
        } else if (x.name() == u"published" || x.name() == u"issued") {
            const QString d = x.inner();
            if (published.isEmpty())
                published = d;
        } else if (x.name() == u"updated" || x.name() == u"modified") {
            const QString d = x.inner();
            if (updated.isEmpty())
                updated = d;
        } else {
            x.skip();
        }
    }
    if (item.Link.isEmpty())
        item.Link = anyLink;
    item.PubDate = published.isEmpty() ? updated : published;
    return item;
}

void readAtomFeed(Reader& x, TFeed& feed) {
    QString anyLink;
    while (x.nextChild()) {
        if (!atomNs(x.ns()))
            x.skip();
        else if (x.name() == u"entry")
            feed.Items.append(readAtomEntry(x));
        else if (x.name() == u"title")
            feed.ChannelTitle = x.atomText();
        else if (x.name() == u"subtitle" || x.name() == u"tagline")
            feed.ChannelDescription = x.atomText();
        else if (x.name() == u"link")
            takeAtomLink(x, feed.ChannelLink, anyLink);
        else
            x.skip();
    }
    if (feed.ChannelLink.isEmpty())
        feed.ChannelLink = anyLink;
}

} // namespace

TFeed ParseFeed(const QByteArray& document) {
    if (document.size() > MaxFeedSize)
        throw EipwRSS(EipwRSS::ErrTooLarge, QStringLiteral("Feed document is too large"));
    Reader x(DecodeFeedDocument(document));
    TFeed feed;
    if (!x.nextChild()) {
        if (x.r.hasError())
            x.fail();
        throw EipwRSS(EipwRSS::ErrNotFeed, QStringLiteral("The document is empty"));
    }
    if (x.name() == u"rss" && x.ns().isEmpty()) {
        feed.Version = x.attr("version").toString();
        readRssContainer(x, feed);
    } else if (x.name() == u"RDF") {
        feed.Version = x.ns() == nsRss090 ? QStringLiteral("0.90") : QStringLiteral("1.0");
        readRssContainer(x, feed);
    } else if (x.name() == u"feed" && atomNs(x.ns())) {
        feed.Version = x.ns() == nsAtom03 || x.attr("version") == u"0.3"
                           ? QStringLiteral("atom0.3")
                           : QStringLiteral("atom1.0");
        readAtomFeed(x, feed);
    } else {
        throw EipwRSS(
            EipwRSS::ErrNotFeed,
            QStringLiteral("The document is not a feed (root element '%1')").arg(x.name()));
    }
    // The rest of the document must be well-formed too.
    while (!x.r.atEnd())
        x.next();
    if (x.r.hasError())
        x.fail();
    return feed;
}
