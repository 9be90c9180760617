#include "rss/FeedPresets.h"

const QStringList& PresetFeeds() {
    static const QStringList feeds = {
        // 1-3 programming articles, forum and tips
        QStringLiteral("https://dev.to/feed"),
        QStringLiteral("https://stackoverflow.com/feeds"),
        QStringLiteral("https://css-tricks.com/feed/"),
        // 4-7 a development-tool maker: quality reports, code, developer network, blog
        QStringLiteral(
            "https://bugreports.qt.io/sr/jira.issueviews:searchrequest-rss/temp/SearchRequest.xml"
            "?jqlQuery=project+%3D+QTBUG+ORDER+BY+created+DESC&tempMax=50"),
        QStringLiteral("https://code.qt.io/cgit/qt/qtbase.git/atom/?h=dev"),
        QStringLiteral("https://forum.qt.io/recent.rss"),
        QStringLiteral("https://www.qt.io/blog/rss.xml"),
        // 8 a news service's Vietnam feed
        QStringLiteral("https://e.vnexpress.net/rss/news.rss"),
        // 9-11 a news broadcaster's business, latest and top stories
        QStringLiteral("http://rss.cnn.com/rss/money_latest.rss"),
        QStringLiteral("http://rss.cnn.com/rss/cnn_latest.rss"),
        QStringLiteral("http://rss.cnn.com/rss/cnn_topstories.rss"),
        // 12 a software-review site
        QStringLiteral("https://www.ghacks.net/feed/"),
        // 13 a web portal's top stories
        QStringLiteral("https://news.yahoo.com/rss/topstories"),
        // 14 a government news feed
        QStringLiteral("https://www.gov.uk/search/news-and-communications.atom"),
        // 15 a software developer-network feed
        QStringLiteral("https://devblogs.microsoft.com/feed/"),
        // 16 a programming guide
        QStringLiteral("https://realpython.com/atom.xml"),
        // 17 a consulting company
        QStringLiteral("https://martinfowler.com/feed.atom"),
        // 18 a government's addresses and briefings
        QStringLiteral("https://www.whitehouse.gov/feed/"),
        // 19-20 a public radio network's news
        QStringLiteral("https://feeds.npr.org/1001/rss.xml"),
        QStringLiteral("https://feeds.npr.org/1004/rss.xml"),
        // 21 a broadcaster's national front page
        QStringLiteral("https://feeds.bbci.co.uk/news/uk/rss.xml"),
        // 22 a newspaper
        QStringLiteral("https://www.theguardian.com/world/rss"),
        // 23 a web-site news feed
        QStringLiteral("https://rss.slashdot.org/Slashdot/slashdotMain"),
        // 24 the same newspaper again
        QStringLiteral("https://www.theguardian.com/technology/rss"),
        // 25 the broadcaster's sport front page
        QStringLiteral("https://feeds.bbci.co.uk/sport/rss.xml"),
        // 26 a second newspaper
        QStringLiteral("https://rss.nytimes.com/services/xml/rss/nyt/HomePage.xml"),
        // 27 the broadcaster's entertainment
        QStringLiteral("https://feeds.bbci.co.uk/news/entertainment_and_arts/rss.xml"),
        // 28 a third feed of the first newspaper
        QStringLiteral("https://www.theguardian.com/uk/business/rss"),
        // 29 the broadcaster's business
        QStringLiteral("https://feeds.bbci.co.uk/news/business/rss.xml"),
    };
    return feeds;
}

QString InitialFeedAddress() {
    return PresetFeeds().at(14);
}

bool RememberAddress(QStringList& list, const QString& address) {
    if (list.contains(address, Qt::CaseSensitive))
        return false;
    list.append(address);
    return true;
}
