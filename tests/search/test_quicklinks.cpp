// Quick-link and translation tables, translation addresses and the mailto link.
#include "platform/Errors.h"
#include "search/QuickLinks.h"

#include <QSet>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

using namespace search;
using namespace Qt::StringLiterals;

class TestQuickLinks : public QObject {
    Q_OBJECT

private slots:
    void menusAndSeparators() {
        const QVector<TQuickLinkMenu> menus = LoadQuickLinks();
        QCOMPARE(menus.size(), 4);
        // Captions of each menu, "-" for a separator.
        const QList<QStringList> expected = {
            {u"Yahoo Mail"_s,
             u"Yahoo News"_s,
             u"My Yahoo!"_s,
             u"Games"_s,
             u"Finance"_s,
             u"Music"_s,
             u"Sports"_s,
             u"Photos"_s,
             u"-"_s,
             u"360"_s,
             u"Answers"_s,
             u"Driving Direction"_s,
             u"Flickr"_s,
             u"Groups"_s,
             u"Yodel Anecdotal"_s,
             u"-"_s,
             u"Everything Yahoo"_s,
             u"Brand New Yahoo Ads"_s,
             u"Yahoo Current Network"_s,
             u"Yellow Pages"_s,
             u"Education"_s,
             u"Movie Showtimes - by Zip code"_s},
            {u"Google Video"_s, u"Google YouTube"_s, u"News"_s, u"Maps"_s, u"Options"_s, u"-"_s,
             u"Books"_s, u"Froogle"_s, u"Groups"_s, u"Blog Search"_s, u"Finance"_s, u"Scholar"_s,
             u"-"_s, u"Google Code"_s, u"Labs"_s, u"Gmail"_s, u"Translate"_s, u"Free"_s},
            {u"Maps"_s, u"QnA"_s, u"Hotmail"_s, u"My MSN"_s, u"Groups"_s, u"-"_s,
             u"Money Central"_s, u"Shopping"_s, u"Together"_s, u"Inside MSN"_s, u"RSS"_s},
            {u"Free online Network Utilities"_s, u"Traffic Ranking"_s, u"Take Me Back"_s, u"-"_s}};
        const QStringList menuCaptions = {u"Yahoo!"_s, u"Google"_s, u"MSN"_s, u"Useful Services"_s};
        QSet<QString> handlers;
        for (int m = 0; m < 4; ++m) {
            QCOMPARE(menus[m].Caption, menuCaptions[m]);
            QStringList captions;
            for (const TQuickLink& link : menus[m].Items) {
                captions << (link.IsSeparator() ? u"-"_s : link.Caption);
                if (link.IsSeparator())
                    continue;
                const QUrl url(link.Address, QUrl::StrictMode);
                QVERIFY2(url.isValid() && url.scheme().startsWith(u"http"_s),
                         qPrintable(link.Address));
                QVERIFY2(!handlers.contains(link.Handler), qPrintable(link.Handler));
                handlers << link.Handler;
            }
            QCOMPARE(captions, expected[m]);
        }
        QVERIFY(handlers.contains(u"ranslate1Click"_s));
        QVERIFY(handlers.contains(u"akeMeBack1Click"_s));
    }

    void translationEntries() {
        const QVector<TTranslation> list = LoadTranslations();
        QCOMPARE(list.size(), 9);
        QCOMPARE(list[0].Caption, u"Google translate current page"_s);
        QVERIFY(list[0].SeparatorAfter);
        QCOMPARE(list[7].Caption, u"Babel Fish: French to English"_s);
        QCOMPARE(list[8].Caption, u"Babel Fish: Portugese to English"_s);
        for (int i = 1; i < 9; ++i) {
            QVERIFY(!list[i].SeparatorAfter);
            QVERIFY(list[i].Handler.startsWith(u"BabelFish"_s));
        }
    }

    // The page address must come back whole from the translation address's query.
    void translationAddress_data() {
        QTest::addColumn<QString>("page");
        QTest::newRow("plain") << u"http://example.org/"_s;
        QTest::newRow("own query") << u"http://example.org/a?b=1&c=2"_s;
        QTest::newRow("fragment and percent") << u"http://example.org/a%20b#top"_s;
        QTest::newRow("empty") << QString();
    }

    void translationAddress() {
        QFETCH(QString, page);
        const QString front = u"https://translate.example/translate?sl=fr&tl=en&u="_s;
        const QString address = TranslationAddress(front, page);
        QVERIFY(address.startsWith(front));
        const QUrl url(address, QUrl::StrictMode);
        QVERIFY(url.isValid());
        QVERIFY(url.fragment().isEmpty());
        QCOMPARE(QUrlQuery(url).queryItemValue(u"u"_s, QUrl::FullyDecoded), page);
        QCOMPARE(QUrlQuery(url).queryItemValue(u"sl"_s), u"fr"_s);
    }

    void mailtoLink_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("address");
        QTest::newRow("plain") << u"Daily News"_s << u"http://127.0.0.1:8080/news.html"_s;
        QTest::newRow("ampersand and hash")
            << u"Tom & Jerry #1 ? 100%"_s << u"http://x.org/?a=1&b=2#c"_s;
        QTest::newRow("non-ASCII") << u"Tin t\u1ee9c"_s << u"http://x.org/"_s;
    }

    void mailtoLink() {
        QFETCH(QString, title);
        QFETCH(QString, address);
        const QString link = MailtoLink(title, address);
        QVERIFY(link.startsWith(u"mailto:?subject="_s));
        const QUrl url(link, QUrl::StrictMode);
        QVERIFY(url.isValid());
        QVERIFY(url.path().isEmpty());
        const QUrlQuery query(url);
        QCOMPARE(query.queryItems().size(), 2);
        QCOMPARE(query.queryItemValue(u"subject"_s, QUrl::FullyDecoded), title);
        QCOMPARE(query.queryItemValue(u"body"_s, QUrl::FullyDecoded), address);
    }

    void malformedTablesThrow() {
        QVERIFY_THROWS_EXCEPTION(EInOutError, LoadQuickLinks(u"/nonexistent/quicklinks.json"_s));
        QVERIFY_THROWS_EXCEPTION(EInOutError, LoadTranslations(u":/search/engines.json"_s));
    }
};

QTEST_GUILESS_MAIN(TestQuickLinks)
#include "test_quicklinks.moc"
