// Feed parsing over real-world feeds of every format (../shared/corpus/feeds) and small
// fixtures that pin one behaviour each.
#include "components/rss/ipwRSS.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QByteArray corpus(const QString& rel) {
    QFile f(QStringLiteral(QUILLMOOR_CORPUS_DIR "/feeds/") + rel);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing corpus file %s", qPrintable(rel));
    return f.readAll();
}

// Parses and returns the error message, or "" when the parse succeeded.
QString parseError(TipwRSS& rss, const QByteArray& doc) {
    try {
        rss.ParseDocument(doc);
        return {};
    } catch (const EipwRSS& e) {
        return e.Message;
    }
}
} // namespace

class TestRssParse : public QObject {
    Q_OBJECT
private slots:
    void corpusFeeds_data();
    void corpusFeeds();
    void corpusIllFormed_data();
    void corpusIllFormed();
    void wholeCorpus();
    void itemNumbersAreOneBased();
    void fixtures_data();
    void fixtures();
    void hostileDocuments_data();
    void hostileDocuments();
};

void TestRssParse::corpusFeeds_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("itemTitle");
    QTest::addColumn<QString>("itemDate");
    QTest::addColumn<QString>("itemLink");
    auto row = [](const char* file, const char* v, const QString& t, const QString& d, int n,
                  const QString& it, const char* date, const char* link) {
        QTest::newRow(file) << QString::fromLatin1(file) << QString::fromLatin1(v) << t << d << n
                            << it << QString::fromLatin1(date) << QString::fromLatin1(link);
    };
    // RSS 0.91 / 0.92
    row("feed-rs/rss_0.91_encoding_1.xml", "0.91",
        QStringLiteral("Dicas-L: Dicas técnicas de Linux e Software Livre"),
        QStringLiteral("Dicas-L: Informações Úteis para Administradores de Sistemas"), -1,
        QStringLiteral("bash - Expansão de Parâmetros"), "", "");
    row("feed-rs/rss_0.92_spec_1.xml", "0.92", QStringLiteral("Dave Winer: Grateful Dead"), {}, -1,
        {}, "", "");
    row("newsboat/rss091_1.xml", "0.91", QStringLiteral("Example Channel"),
        QStringLiteral("an example feed"), 1, QStringLiteral("1 < 2"), "",
        "http://example.com/1_less_than_2.html");
    row("newsboat/rss092_1.xml", "0.92", QStringLiteral("Example Channel"),
        QStringLiteral("an example feed"), 3, QStringLiteral("1 < 2"), "",
        "http://example.com/1_less_than_2.html");
    // RSS 1.0 (RDF): items beside the channel, dc:date as the date
    row("feed-rs/rss_1.0_spec_1.xml", "1.0", QStringLiteral("XML.com"), {}, 2,
        QStringLiteral("Processing Inclusions with XSLT"), "",
        "http://xml.com/pub/2000/08/09/xslt/xslt.html");
    row("newsboat/rss10_1.xml", "1.0", QStringLiteral("Example Dot Org"), {}, 1,
        QStringLiteral("New Status Updates"), "2008-12-30T08:20:00+01:00",
        "http://www.example.org/status/foo");
    row("feed-rs/rss_1.0_iso8859.xml", "1.0", QStringLiteral("Golem.de"),
        QStringLiteral("IT-News fuer Profis"), -1,
        QStringLiteral("Digitalministerium: Neue Glasfaserförderung mit Schnellkasse"),
        "2023-01-25T19:03:02+01:00", "");
    // RSS 2.0
    row("feed-rs/rss_2.0_spec_1.xml", "2.0", QStringLiteral("Scripting News"), {}, -1, {},
        "Sun, 29 Sep 2002 19:59:01 GMT", "");
    row("newsboat/rss20_1.xml", "2.0", QStringLiteral("my weblog"),
        QStringLiteral("my description"), 1, QStringLiteral("this is an item"),
        "Fri, 12 Dec 2008 02:36:10 +0100", "http://example.com/blog/this_is_an_item.html");
    row("miniflux/encoding_WINDOWS-1251.xml", "2.0", QStringLiteral("iBash.Org.Ru"),
        QStringLiteral("Новый цитатник Рунета"), 50, QStringLiteral("Цитата #17703"),
        "Wed, 21 Mar 2018 10:27:32 +0300", "http://ibash.org.ru/quote.php?id=17703");
    row("miniflux/koi8r.xml", "2.0", QStringLiteral("Пример RSS ленты"), {}, 2,
        QStringLiteral("Первая новость"), "Sat, 15 Feb 2026 10:00:00 +0000", "");
    row("miniflux/windows-1252.xml", "2.0", QStringLiteral("Euro €"), {}, 0, {}, "", "");
    row("rss-parser/latin2.rss", "2.0", QStringLiteral("EXAMPLE.pl"), {}, 1,
        QStringLiteral("ZAŻÓŁĆ GĘSLĄ JAŹŃ"), "Fri, 18 Oct 2019 17:27:37 +0200",
        "http://www.example.pl/news/1");
    row("rss-parser/encoding.rss", "2.0", QStringLiteral("Jornal de Notícias - Últimas Notícias"),
        QStringLiteral("JN. Rede de Informação."), 40, {}, "Wed, 03 Jan 2018 13:47:00 GMT", "");
    // Undeclared ISO-8859-1 bytes are not read as UTF-8; a date in Portuguese stays as given.
    row("rss-parser/uolNoticias.rss", "", QStringLiteral("UOL Noticias"),
        QStringLiteral("Últimas Notícias"), 15, {}, "Seg, 24 Set 2018 19:42:40 -0300", "");
    row("feedparser/entities/hellip.xml", "", QStringLiteral("testing … entity"), {}, 0, {}, "",
        "");
    row("feedparser/wellformed/rss/channel_title_lt.xml", "0.91", QStringLiteral("1 < 2"), {}, 0,
        {}, "", "");
    row("feedparser/wellformed/rdf/doctype_contains_entity_decl.xml", "1.0", {}, {}, 0, {}, "", "");
    row("feedparser/illformed/always_strip_doctype.xml", "", QStringLiteral("found"), {}, 0, {}, "",
        "");
    // Atom 1.0: subtitle, alternate link (not first, or without rel), published before updated
    row("feed-rs/atom_spec_1.xml", "atom1.0", QStringLiteral("Example Feed"), {}, 1,
        QStringLiteral("Atom-Powered Robots Run Amok"), "2003-12-13T18:30:02Z",
        "http://example.org/2003/12/13/atom03");
    row("newsboat/atom10_1.xml", "atom1.0", QStringLiteral("test atom"),
        QStringLiteral("atom description!"), 3,
        QStringLiteral("A gentle introduction to Atom testing"), "2008-12-30T20:04:15Z",
        "http://example.com/atom_testing.html");
    row("feedparser/wellformed/atom10/entry_link_multiple.xml", "atom1.0", {}, {}, 1, {}, "",
        "http://www.example.com/");
    row("feedparser/wellformed/atom10/entry_title_inline_markup.xml", "atom1.0", {}, {}, 1,
        QStringLiteral("Example <b>Atom</b>"), "", "");
    row("feedparser/wellformed/atom10/entry_title_escaped_markup.xml", "atom1.0", {}, {}, 1,
        QStringLiteral("Example <b>Atom</b>"), "", "");
    row("miniflux/invalid-prolog.xml", "atom1.0", QStringLiteral("테스트 피드"), {}, 1,
        QStringLiteral("Café"), "", "");
    row("rss-parser/missing-fields.atom", "atom1.0", {}, {}, 1, {}, "", "");
    // Atom 0.3: tagline, issued, modified
    row("feedparser/wellformed/atom/feed_tagline.xml", "atom0.3", {},
        QStringLiteral("Example Atom"), 0, {}, "", "");
    row("feedparser/wellformed/atom/entry_issued.xml", "atom0.3", {}, {}, 1, {},
        "Thu, 01 Jan 2004 19:48:21 GMT", "");
    row("feedparser/wellformed/atom/entry_modified.xml", "atom0.3", {}, {}, 1, {},
        "Thu, 01 Jan 2004 19:48:21 GMT", "");
    row("feedparser/wellformed/atom/entry_link_alternate_map_link.xml", "atom0.3", {}, {}, 1, {},
        "", "http://www.example.com/");
}

void TestRssParse::corpusFeeds() {
    QFETCH(QString, file);
    QFETCH(QString, version);
    QFETCH(QString, title);
    QFETCH(QString, description);
    QFETCH(int, count);
    QFETCH(QString, itemTitle);
    QFETCH(QString, itemDate);
    QFETCH(QString, itemLink);
    TipwRSS rss;
    QCOMPARE(parseError(rss, corpus(file)), QString());
    QCOMPARE(rss.FeedVersion(), version);
    QCOMPARE(rss.ChannelTitle(), title);
    if (!description.isEmpty())
        QVERIFY2(rss.ChannelDescription().startsWith(description),
                 qPrintable(rss.ChannelDescription()));
    if (count >= 0)
        QCOMPARE(rss.ItemCount(), count);
    if (rss.ItemCount() == 0)
        return;
    if (!itemTitle.isEmpty())
        QCOMPARE(rss.ItemTitle(1), itemTitle);
    if (!itemDate.isEmpty())
        QCOMPARE(rss.ItemPubDate(1), itemDate);
    if (!itemLink.isEmpty())
        QCOMPARE(rss.ItemLink(1), itemLink);
}

void TestRssParse::corpusIllFormed_data() {
    QTest::addColumn<QString>("file");
    for (const char* f : {"feed-rs/rss_2.0_invalid_1.xml", "feedparser/illformed/aaa_illformed.xml",
                          "feedparser/illformed/rss_empty_document.xml",
                          "feedparser/illformed/rss_incomplete_cdata.xml",
                          "feedparser/illformed/undeclared_namespace.xml"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

// Documents that are not well-formed fail with the XML error and keep the previous feed.
void TestRssParse::corpusIllFormed() {
    QFETCH(QString, file);
    TipwRSS rss;
    QCOMPARE(parseError(rss, corpus(QStringLiteral("newsboat/rss20_1.xml"))), QString());
    const QString error = parseError(rss, corpus(file));
    QVERIFY2(error.startsWith(QStringLiteral("500: XML error at line ")), qPrintable(error));
    QCOMPARE(rss.ChannelTitle(), QStringLiteral("my weblog"));
    QCOMPARE(rss.ItemCount(), 1);
}

// Every feed of the corpus parses, apart from the ill-formed ones, which fail with the
// component's error and nothing else.
void TestRssParse::wholeCorpus() {
    const QString base = QStringLiteral(QUILLMOOR_CORPUS_DIR "/feeds/");
    QDirIterator it(base,
                    {QStringLiteral("*.xml"), QStringLiteral("*.rss"), QStringLiteral("*.atom")},
                    QDir::Files, QDirIterator::Subdirectories);
    QStringList failed;
    int files = 0;
    while (it.hasNext()) {
        const QString rel = it.next().mid(base.size());
        ++files;
        TipwRSS rss;
        if (!parseError(rss, corpus(rel)).isEmpty())
            failed << rel;
    }
    QVERIFY(files >= 100);
    failed.sort();
    const QStringList illFormed = {
        QStringLiteral("feed-rs/rss_2.0_invalid_1.xml"),
        QStringLiteral("feedparser/illformed/aaa_illformed.xml"),
        QStringLiteral("feedparser/illformed/rdf_channel_empty_textinput.xml"),
        QStringLiteral("feedparser/illformed/rss_empty_document.xml"),
        QStringLiteral("feedparser/illformed/rss_incomplete_cdata.xml"),
        QStringLiteral("feedparser/illformed/rss_item_link_corrupted_ampersands.xml"),
        QStringLiteral("feedparser/illformed/undeclared_namespace.xml"),
    };
    QCOMPARE(failed, illFormed);
}

void TestRssParse::itemNumbersAreOneBased() {
    TipwRSS rss;
    rss.ParseDocument("<rss version='2.0'><channel><title>T</title>"
                      "<item><title>one</title></item><item><title>two</title><pubDate>D2</pubDate>"
                      "<link>http://h/2</link></item></channel></rss>");
    QCOMPARE(rss.ItemCount(), 2);
    QCOMPARE(rss.ItemTitle(1), QStringLiteral("one"));
    QCOMPARE(rss.ItemTitle(2), QStringLiteral("two"));
    QCOMPARE(rss.ItemPubDate(1), QString());
    QCOMPARE(rss.ItemLink(2), QStringLiteral("http://h/2"));
    const struct {
        QString (TipwRSS::*get)(int) const;
        const char* name;
    } props[] = {{&TipwRSS::ItemTitle, "ItemTitle"},
                 {&TipwRSS::ItemPubDate, "ItemPubDate"},
                 {&TipwRSS::ItemLink, "ItemLink"}};
    for (const auto& p : props)
        for (int bad : {0, 3, -1}) {
            try {
                (rss.*p.get)(bad);
                QFAIL("no error for an item number out of range");
            } catch (const EipwRSS& e) {
                QCOMPARE(e.Message, QStringLiteral("201: Invalid array index value for ") +
                                        QLatin1String(p.name));
            }
        }
}

void TestRssParse::fixtures_data() {
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("itemTitle");
    QTest::addColumn<QString>("itemLink");
    QTest::newRow("cdata and entities")
        << QByteArray("<rss><channel><title><![CDATA[A & <B>]]></title>"
                      "<description>x &amp; y &#8364; &mdash;</description>"
                      "<item><title>caf&eacute;</title>"
                      "<link>http://h/?a=1&amp;b=2</link></item></channel></rss>")
        << QStringLiteral("A & <B>") << QStringLiteral("x & y € —") << QStringLiteral("café")
        << QStringLiteral("http://h/?a=1&b=2");
    QTest::newRow("declared iso-8859-1")
        << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?><rss><channel>"
                      "<title>caf\xe9</title><item><title>\xe0</title></item>"
                      "</channel></rss>")
        << QStringLiteral("café") << QString() << QStringLiteral("à") << QString();
    QTest::newRow("atom link rel=self is not the item link")
        << QByteArray(
               "<feed "
               "xmlns='http://www.w3.org/2005/Atom'><title>F</title><subtitle>S</subtitle><entry>"
               "<link rel='self' href='http://h/self'/><link rel='alternate' href='http://h/page'/>"
               "<title type='text'>E</title></entry></feed>")
        << QStringLiteral("F") << QStringLiteral("S") << QStringLiteral("E")
        << QStringLiteral("http://h/page");
    QTest::newRow("other namespaces' title and link ignored")
        << QByteArray("<rss xmlns:media='http://search.yahoo.com/mrss/' "
                      "xmlns:atom='http://www.w3.org/2005/Atom'>"
                      "<channel><atom:link href='http://h/feed' rel='self'/><title>C</title><item>"
                      "<media:title>M</media:title><title>I</title><link>http://h/i</link></item></"
                      "channel></rss>")
        << QStringLiteral("C") << QString() << QStringLiteral("I") << QStringLiteral("http://h/i");
}

void TestRssParse::fixtures() {
    QFETCH(QByteArray, doc);
    QFETCH(QString, title);
    QFETCH(QString, description);
    QFETCH(QString, itemTitle);
    QFETCH(QString, itemLink);
    TipwRSS rss;
    QCOMPARE(parseError(rss, doc), QString());
    QCOMPARE(rss.ChannelTitle(), title);
    QCOMPARE(rss.ChannelDescription(), description);
    QCOMPARE(rss.ItemCount(), 1);
    QCOMPARE(rss.ItemTitle(1), itemTitle);
    QCOMPARE(rss.ItemLink(1), itemLink);
}

void TestRssParse::hostileDocuments_data() {
    QTest::addColumn<QByteArray>("doc");
    QTest::addColumn<QString>("errorPrefix"); // empty: may parse, but must read nothing local
    QByteArray bomb =
        "<!DOCTYPE rss [<!ENTITY a0 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx'>";
    for (int i = 1; i <= 9; ++i)
        bomb += QStringLiteral("<!ENTITY a%1 '&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;&a%2;'>")
                    .arg(i)
                    .arg(i - 1)
                    .toLatin1();
    bomb += "]><rss><channel><title>&a9;</title></channel></rss>";
    QTest::newRow("entity expansion bomb") << bomb << QStringLiteral("500: ");
    // One entity near the limit referenced many times: the total is bounded as well.
    QByteArray wide =
        "<!DOCTYPE rss [<!ENTITY w '" + QByteArray(60000, 'w') + "'>]><rss><channel><title>";
    for (int i = 0; i < 2000; ++i)
        wide += "&w;";
    wide += "</title></channel></rss>";
    QTest::newRow("many references to a wide entity") << wide << QStringLiteral("501: ");
    QTest::newRow("external general entity")
        << QByteArray(
               "<!DOCTYPE rss [<!ENTITY x SYSTEM 'file://@FILE@'>]><rss><channel><title>&x;</title>"
               "</channel></rss>")
        << QStringLiteral("502: ");
    QTest::newRow("external parameter entity")
        << QByteArray("<!DOCTYPE rss [<!ENTITY % p SYSTEM 'file://@FILE@'> "
                      "%p;]><rss><channel><title>t</title>"
                      "</channel></rss>")
        << QString();
    QTest::newRow("undeclared entity")
        << QByteArray("<rss><channel><title>&nosuch;</title></channel></rss>")
        << QStringLiteral("50");
    QTest::newRow("too large") << QByteArray("<rss>" + QByteArray(MaxFeedSize, ' ') + "</rss>")
                               << QStringLiteral("501: Feed document is too large");
    QTest::newRow("not a feed") << QByteArray("<html><body>hi</body></html>")
                                << QStringLiteral("503: The document is not a feed");
}

void TestRssParse::hostileDocuments() {
    QFETCH(QByteArray, doc);
    QFETCH(QString, errorPrefix);
    QTemporaryDir dir;
    const QString secret = dir.filePath(QStringLiteral("secret.txt"));
    QFile f(secret);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("LOCAL-SECRET");
    f.close();
    doc.replace("@FILE@", secret.toUtf8());
    TipwRSS rss;
    const QString error = parseError(rss, doc);
    if (!errorPrefix.isEmpty())
        QVERIFY2(error.startsWith(errorPrefix), qPrintable(error));
    QVERIFY(!error.contains(QLatin1String("LOCAL-SECRET")));
    QVERIFY(!rss.ChannelTitle().contains(QLatin1String("LOCAL-SECRET")));
}

QTEST_GUILESS_MAIN(TestRssParse)
#include "test_rss_parse.moc"
