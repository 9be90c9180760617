// Fetching feeds from a real HTTP server on loopback (tests/servers/httpd.py).
#include "components/rss/ipwRSS.h"
#include "tests/support/TestPeer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestRssFetch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void fetchesAndParses();
    void failures_data();
    void failures();
    void basicAuthorisation();
    void waitKeepsEventsRunning();

private:
    QTemporaryDir root;
    TestPeer http;
};

void TestRssFetch::initTestCase() {
    QFile f(root.filePath(QStringLiteral("feed.xml")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(
        "<?xml version='1.0' encoding='utf-8'?><rss version='2.0'><channel><title>Loop</title>"
        "<description>Local feed</description><item><title>First</title><pubDate>Mon, 01 Jan "
        "2024</pubDate>"
        "<link>http://127.0.0.1/1</link></item><item><title>Second</title></item></channel></rss>");
    f.close();
    QVERIFY2(http.StartHttp(root.path()), qPrintable(http.Error()));
}

void TestRssFetch::fetchesAndParses() {
    TipwRSS rss;
    rss.GetFeed(http.Url(QStringLiteral("/feed.xml")));
    QCOMPARE(rss.ChannelTitle(), QStringLiteral("Loop"));
    QCOMPARE(rss.ChannelDescription(), QStringLiteral("Local feed"));
    QCOMPARE(rss.ItemCount(), 2);
    QCOMPARE(rss.ItemPubDate(1), QStringLiteral("Mon, 01 Jan 2024"));
    QCOMPARE(rss.ItemLink(1), QStringLiteral("http://127.0.0.1/1"));
    QCOMPARE(rss.ItemPubDate(2), QString());
}

void TestRssFetch::failures_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("timeout");
    QTest::addColumn<QString>("error");
    QTest::newRow("redirect not followed")
        << http.Url(QStringLiteral("/__redirect/302?to=/feed.xml")) << 60
        << QStringLiteral("302: Found");
    QTest::newRow("permanent redirect") << http.Url(QStringLiteral("/__redirect/301?to=/feed.xml"))
                                        << 60 << QStringLiteral("301: Moved Permanently");
    QTest::newRow("missing") << http.Url(QStringLiteral("/nothing.xml")) << 60
                             << QStringLiteral("404: Not Found");
    QTest::newRow("server error") << http.Url(QStringLiteral("/__status/500")) << 60
                                  << QStringLiteral("500: Internal Server Error");
    QTest::newRow("not xml") << http.Url(QStringLiteral("/__status/200")) << 60
                             << QStringLiteral("500: XML error");
    QTest::newRow("refused")
        << QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(TestPeer::FreePort()) << 60
        << QStringLiteral("1007: ");
    QTest::newRow("stalled") << http.Url(QStringLiteral("/__stall/10")) << 1
                             << QStringLiteral("1028: ");
    QTest::newRow("not http") << QStringLiteral("file:///etc/passwd") << 60
                              << QStringLiteral("1001: ");
}

// A failed fetch raises "code: text" and keeps the feed parsed before.
void TestRssFetch::failures() {
    QFETCH(QString, url);
    QFETCH(int, timeout);
    QFETCH(QString, error);
    TipwRSS rss;
    rss.GetFeed(http.Url(QStringLiteral("/feed.xml")));
    rss.Timeout = timeout;
    try {
        rss.GetFeed(url);
        QFAIL("the fetch did not fail");
    } catch (const EipwRSS& e) {
        QVERIFY2(e.Message.startsWith(error), qPrintable(e.Message));
    }
    QCOMPARE(rss.ChannelTitle(), QStringLiteral("Loop"));
}

void TestRssFetch::basicAuthorisation() {
    const QString url = http.Url(QStringLiteral("/__auth/ann/s3cret/feed.xml"));
    TipwRSS rss;
    QVERIFY_THROWS_EXCEPTION(EipwRSS, rss.GetFeed(url));
    rss.User = QStringLiteral("ann");
    rss.Password = QStringLiteral("s3cret");
    rss.GetFeed(url);
    QCOMPARE(rss.ItemCount(), 2);
}

// While a fetch waits, timers and other handlers run; a second fetch from one of them
// is refused instead of entering the component twice.
void TestRssFetch::waitKeepsEventsRunning() {
    TipwRSS rss;
    bool timerRan = false;
    QString nested;
    QTimer::singleShot(0, [&] {
        timerRan = true;
        try {
            rss.GetFeed(http.Url(QStringLiteral("/feed.xml")));
        } catch (const EipwRSS& e) {
            nested = e.Message;
        }
    });
    rss.GetFeed(http.Url(QStringLiteral("/__slow/500/feed.xml")));
    QVERIFY(timerRan);
    QCOMPARE(nested, QStringLiteral("143: Component is busy"));
    QCOMPARE(rss.ItemCount(), 2);
}

QTEST_GUILESS_MAIN(TestRssFetch)
#include "test_rss_fetch.moc"
