#include "components/rss/ipwRSS.h"

#include "components/rss/HttpFetch.h"

void TipwRSS::GetFeed(const QString& url) {
    if (busy)
        throw EipwRSS(EipwRSS::ErrBusy, QStringLiteral("Component is busy"));
    busy = true;
    interrupt = false;
    THttpRequest request;
    request.Url = url.trimmed();
    request.User = User;
    request.Password = Password;
    request.TimeoutSeconds = Timeout;
    request.MaxBody = MaxFeedSize;
    request.FollowRedirects = FollowRedirects == frAlways;
    const THttpResult result = HttpGetWaiting(request, &interrupt);
    busy = false;
    if (result.TooLarge)
        throw EipwRSS(EipwRSS::ErrTooLarge, QStringLiteral("Feed document is too large"));
    if (result.CurlCode != 0)
        throw EipwRSS(EipwRSS::ErrTransport + result.CurlCode, result.CurlError);
    if (result.Status >= 300 || result.Status < 200)
        throw EipwRSS(int(result.Status),
                      result.Reason.isEmpty() ? QStringLiteral("HTTP error") : result.Reason);
    ParseDocument(result.Body);
}

void TipwRSS::ParseDocument(const QByteArray& document) {
    feed = ParseFeed(document);
}

const TFeedItem& TipwRSS::item(int index, const char* property) const {
    if (index < 1 || index > feed.Items.size())
        throw EipwRSS(EipwRSS::ErrIndex,
                      QStringLiteral("Invalid array index value for ") + QLatin1String(property));
    return feed.Items[index - 1];
}

QString TipwRSS::ItemTitle(int index) const {
    return item(index, "ItemTitle").Title;
}
QString TipwRSS::ItemPubDate(int index) const {
    return item(index, "ItemPubDate").PubDate;
}
QString TipwRSS::ItemLink(int index) const {
    return item(index, "ItemLink").Link;
}
