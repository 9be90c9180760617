// The grab rules that need no network: storage by content type, file mapping, links.
#include "components/downloader/GrabRules.h"

#include <QtTest>

class TestGrabRules : public QObject {
    Q_OBJECT
private slots:
    void localFile_data();
    void localFile();
    void storedTypes();
    void linksFound();
    void followedLinks_data();
    void followedLinks();
};

void TestGrabRules::localFile_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("file"); // relative to the folder
    QTest::newRow("no path") << QStringLiteral("http://host") << QStringLiteral("index.htm");
    QTest::newRow("root") << QStringLiteral("http://host/") << QStringLiteral("index.htm");
    QTest::newRow("page") << QStringLiteral("http://host/a/b/page.html")
                          << QStringLiteral("a/b/page.html");
    QTest::newRow("folder") << QStringLiteral("http://host/docs/")
                            << QStringLiteral("docs/index.htm");
    QTest::newRow("query dropped")
        << QStringLiteral("http://host/p.php?id=1") << QStringLiteral("p.php");
    QTest::newRow("encoded dots") << QStringLiteral("http://host/%2e%2e/%2e%2e/etc/x.html")
                                  << QStringLiteral("etc/x.html");
    QTest::newRow("encoded backslash")
        << QStringLiteral("http://host/..%5c..%5cx.html") << QStringLiteral("x.html");
    QTest::newRow("encoded nul") << QStringLiteral("http://host/a%00b.html")
                                 << QStringLiteral("ab.html");
    QTest::newRow("drive letter") << QStringLiteral("http://host/c:/windows/x.ini")
                                  << QStringLiteral("c/windows/x.ini");
    QTest::newRow("double slashes")
        << QStringLiteral("http://host//a///b.html") << QStringLiteral("a/b.html");
    QTest::newRow("encoded space")
        << QStringLiteral("http://host/my%20page.html") << QStringLiteral("my page.html");
}

void TestGrabRules::localFile() {
    QFETCH(QString, url);
    QFETCH(QString, file);
    QCOMPARE(LocalFileFor(QStringLiteral("/tmp/grab"), url), QStringLiteral("/tmp/grab/") + file);
    QCOMPARE(LocalFileFor(QStringLiteral("/tmp/grab/"), url), QStringLiteral("/tmp/grab/") + file);
    QCOMPARE(LocalFileFor(QString(), url), QString());
}

void TestGrabRules::storedTypes() {
    const struct {
        TclGrabOptions options;
        long status;
        const char* type;
        bool stored;
    } cases[] = {
        {{}, 200, "text/html; charset=utf-8", true},
        {{}, 200, "application/xhtml+xml", true}, // contains "html"
        {{}, 200, "image/png", false},
        {gaGrabImages, 200, "image/png", true},
        {gaGrabImages, 200, "application/pdf", false},
        {gaGrabData, 200, "application/pdf", true},
        {gaGrabData, 200, "text/css", false},
        {gaGrabAll, 200, "text/css", true},
        {gaGrabAll, 200, "", true},
        {gaGrabAll, 404, "text/html", false},
        {{}, 399, "text/html", true},
        {{}, 400, "text/html", false},
        {{}, 200, "TEXT/HTML", true},
    };
    for (const auto& c : cases)
        QVERIFY2(ShouldStore(c.options, c.status, QLatin1String(c.type)) == c.stored,
                 qPrintable(QStringLiteral("%1 %2 %3")
                                .arg(int(c.options))
                                .arg(c.status)
                                .arg(QLatin1String(c.type))));
}

void TestGrabRules::linksFound() {
    const QByteArray html =
        "<html><body><A HREF='one.html'>1</A><p><img src=\"i.png\"><a name=x>no href</a>"
        "<link href='style.css'><script src='s.js'></script><a href=''>empty</a>"
        "<div><div><a href='deep.html'>d</a></div></div><img data-src='lazy.png'></body></html>";
    QCOMPARE(ExtractLinks(html),
             (QList<QString>{QStringLiteral("one.html"), QStringLiteral("i.png"), QString(),
                             QStringLiteral("deep.html")}));
    // Deeply nested markup neither exhausts memory nor the stack.
    QByteArray nested = QByteArray("<div>").repeated(20000) + "<a href='x.html'>x</a>";
    QCOMPARE(ExtractLinks(nested), QList<QString>{QStringLiteral("x.html")});
}

void TestGrabRules::followedLinks_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("parentLevel");
    QTest::addColumn<int>("max");
    QTest::addColumn<bool>("followed");
    QTest::newRow("same host") << QStringLiteral("http://site.test/a.html") << 0 << 3 << true;
    QTest::newRow("host in other case")
        << QStringLiteral("http://SITE.test/a.html") << 0 << 3 << true;
    QTest::newRow("https on the host")
        << QStringLiteral("https://site.test/a.html") << 0 << 3 << true;
    QTest::newRow("level reaches max")
        << QStringLiteral("http://site.test/a.html") << 2 << 3 << false;
    QTest::newRow("max 1 root only")
        << QStringLiteral("http://site.test/a.html") << 0 << 1 << false;
    QTest::newRow("max 0 no limit") << QStringLiteral("http://site.test/a.html") << 40 << 0 << true;
    QTest::newRow("fragment") << QStringLiteral("http://site.test/a.html#top") << 0 << 3 << false;
    QTest::newRow("other host") << QStringLiteral("http://other.test/a.html") << 0 << 3 << false;
    QTest::newRow("host only inside the address")
        << QStringLiteral("http://evil.test/?site.test") << 0 << 3 << false;
    QTest::newRow("host as a prefix")
        << QStringLiteral("http://site.test.evil.test/") << 0 << 3 << false;
    QTest::newRow("mail address") << QStringLiteral("mailto:me@site.test") << 0 << 3 << false;
    QTest::newRow("ftp") << QStringLiteral("ftp://site.test/f.zip") << 0 << 3 << false;
    QTest::newRow("script") << QStringLiteral("javascript:alert('site.test')") << 0 << 3 << false;
}

void TestGrabRules::followedLinks() {
    QFETCH(QString, link);
    QFETCH(int, parentLevel);
    QFETCH(int, max);
    QFETCH(bool, followed);
    const QUrl resolved =
        QUrl(QStringLiteral("http://site.test/dir/page.html")).resolved(QUrl(link));
    QCOMPARE(FollowLink(link, resolved, QStringLiteral("site.test"), parentLevel, max), followed);
}

QTEST_GUILESS_MAIN(TestGrabRules)
#include "test_grab_rules.moc"
