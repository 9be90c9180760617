// Engine list, name matching and the address composed for every engine.
#include "platform/Errors.h"
#include "search/SearchEngines.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace search;
using namespace Qt::StringLiterals;

namespace {

// An expected address tail: literal text, with "{id}" for a configured value
// (an affiliate id, a source id) and "{path}" for a configured script path.
QString TailPattern(const QString& tail) {
    QString p = QRegularExpression::escape(tail);
    p.replace(QStringLiteral("\\{id\\}"), QStringLiteral("[^&]+"));
    p.replace(QStringLiteral("\\{path\\}"), QStringLiteral("(/[^/?#]+)*"));
    return p;
}

void WriteFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

class TestSearchEngines : public QObject {
    Q_OBJECT
    TSearchEndpoints table;

private slots:
    void initTestCase() { table = InitSearchEndpoints(); }

    void engineList() {
        const QStringList names = table.Names();
        QCOMPARE(names.size(), 49);
        const QStringList fixed = {u"Google"_s,
                                   u"Yahoo"_s,
                                   u"MSN"_s,
                                   u"Vivisimo"_s,
                                   u""_s,
                                   u""_s,
                                   u"NetScape"_s,
                                   u"Universal Search"_s,
                                   u"AOL"_s,
                                   u""_s,
                                   u"Dog Pile"_s,
                                   u"HotBot"_s,
                                   u"Lycos"_s,
                                   u"Excite"_s,
                                   u"Alta Vista"_s,
                                   u"Yandex"_s,
                                   u"Search UK"_s,
                                   u""_s,
                                   u"ANZWERS"_s,
                                   u""_s,
                                   u"*"_s,
                                   u"Current Page"_s,
                                   u"Anonymous"_s,
                                   u"ISBN"_s,
                                   u"Traffic Ranking"_s,
                                   u"Slang Decoder"_s,
                                   u"Groups Search"_s,
                                   u"*"_s,
                                   u"Dictionary"_s,
                                   u"Wikipedia"_s,
                                   u"English-VIETNAM"_s,
                                   u"English-Chinese"_s,
                                   u"English-Japanese"_s,
                                   u"English-Korean"_s,
                                   u"English-Spanish"_s,
                                   u"English-Italian"_s,
                                   u"English-French"_s,
                                   u"English-German"_s,
                                   u"*"_s,
                                   u"Wal-Mart"_s,
                                   u"PriceWise"_s,
                                   u"eBay"_s,
                                   u"Office Depot"_s,
                                   u""_s,
                                   u"Bits & Pieces"_s,
                                   u""_s,
                                   u"Price Comparison"_s,
                                   u"Stock Quote"_s,
                                   u""_s};
        for (int code = 0; code < 49; ++code) {
            if (fixed[code].isEmpty()) {
                // A domain label: configuration, but it must be a usable, unique name.
                QVERIFY2(names[code].contains(QLatin1Char('.')), qPrintable(names[code]));
                QCOMPARE(IndexOfName(names[code], names), code);
            } else {
                QCOMPARE(names[code], fixed[code]);
            }
        }
        const QStringList rows = table.ComboItems();
        QCOMPARE(rows.size(), 49);
        for (int code : {20, 27, 38})
            QCOMPARE(rows[code], QStringLiteral("***************"));
        QCOMPARE(rows[29], QStringLiteral("Wikipedia"));
    }

    void composeEveryEngine_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("tail");
        const QString t = QStringLiteral("new%20york");
        const QList<std::pair<int, QString>> rows = {
            {0, u"/search?q="_s + t},
            {1, u"/bin/search?p="_s + t},
            {2, u"/results.asp?q="_s + t},
            {3, u"/search?tb=homepage&query="_s + t + u"&v%3Asources=Web"_s},
            {4, u"/s?wd="_s + t},
            {5, u"/main/askjeeves.asp?ask="_s + t + u"&&o=0"_s},
            {6, u"/search/?s="_s + t},
            {7, u"/search.php?query="_s + t + u"&www=true"_s},
            {8, u"/dirsearch.adp?start=&&from=topsearchbox.%2Findex.adp&&query="_s + t},
            {9, u"/topic/new-york"_s},
            {10, u"/info.dogpl/search/web/"_s + t},
            {11,
             u"/index.php?query="_s + t + u"&ps=&loc=searchbox&tab=web&mode=search&currProv=msn"_s},
            {12, u"/?query="_s + t},
            {13, u"/search.gw?c=web&search="_s + t},
            {14, u"/web/results?itag=ody&q="_s + t + u"&kgs=1&kls=0"_s},
            {15, u"/yandsearch?stype=&nl=0&text="_s + t},
            {16, u"/default.asp?sb=1&d=&search="_s + t},
            {17, u"/system/search.cgi?mode=internet&string="_s + t + u"&language=en"_s},
            {18, u"/search?search="_s + t + u"&cc=au"_s},
            {19, u"/search?tag=se.fd.box.main.search&q="_s + t},
            {20, u"/search?q="_s + t}, // separator rows search with Google
            {22, u"/?"_s + t},
            {23, u"/bookFind/asp/bookFindPrefindLst.asp?srchTxtIsbn="_s + t},
            {24, u"/data/details/traffic_details?url="_s + t},
            {25, u"/search.php?st=new+york"_s},
            {26, u"/groups?q="_s + t},
            {27, u"/search?q="_s + t},
            {28, u"/dictionary/"_s + t},
            {29, u"/wiki/"_s + t},
            {30, u"/1,"_s + t + u",-1,0,0,.html"_s},
            {31, u"/combo/index.html?word="_s + t + u"&lang=9&type=100000137"_s},
            {32, u"/kanji/kansear?dbname=kokug&sword="_s + t + u"&stype=1"_s},
            {33, u"/search.naver?mode=all&query_euckr=&query="_s + t},
            {34, u"/es/translation.asp?tranword="_s + t + u"&dict=enes"_s},
            {35, u"/enit/"_s + t},
            {36, u"/enfr/"_s + t},
            {37, u"{path}/search.sh?string="_s + t + u"&nocase=on&hits=50"_s},
            {38, u"/search?q="_s + t},
            {39, u"/catalog/search-ng.gsp?search_constraint=0&search_query="_s + t +
                     u"&ics=20&ico=0&sourceid={id}"_s},
            {40, u"/"_s}, // PriceWise ignores the text
            {41, u"/search/search.dll?sofocus=bs&sbrftog=1&from=R10&satitle="_s + t +
                     u"&sacat=-1%26catref%3DC6&sargn=-1%26saslc%3D2&sadis=200&fpos="_s
                     u"ZIP%2FPostal&ftrt=1&ftrv=1&saprclo=&saprchi=&fsop=1&fsoo=1"_s},
            {42, u"/fs-bin/statform?id={id}&offerid=27778&bnid=528&subid=&searchTxt="_s + t},
            {43, u"/exec/obidos/external-search?tag={id}&index=blended&keyword="_s + t},
            {44,
             u"/fs-bin/statform?id={id}&offerid=88716&bnid=787&subid=&box=main&category=all&searchtext="_s +
                 t},
            {45, u"/3120-20_4-0.html?qt="_s + t},
            {46, u"/search_gen_top.php?topcat_search=1&form_keyword="_s + t},
            {47, u"/quickchart/quickchart.asp?symb="_s + t},
            {48, u"/fs-bin/statform?id={id}&offerid=90435&bnid=826&subid=&search_form=&ccsyn=218"_s
                 u"&main=ccn_search&sy=products&st="_s +
                     t + u"&url=http{id}"_s},
        };
        for (const auto& [code, tail] : rows)
            QTest::addRow("%d", code) << code << tail;
    }

    void composeEveryEngine() {
        QFETCH(int, code);
        QFETCH(QString, tail);
        const QString address = table.ComposeSearchAddress(code, QStringLiteral("new york"));
        const QRegularExpression shape(QStringLiteral("^https?://[A-Za-z0-9.-]+(:[0-9]+)?") +
                                       TailPattern(tail) + QLatin1Char('$'));
        QVERIFY2(shape.match(address).hasMatch(), qPrintable(address));
        QVERIFY(QUrl(address, QUrl::StrictMode).isValid());
    }

    void currentPageComposesNothing() {
        QVERIFY(table.ComposeSearchAddress(CurrentPageCode, QStringLiteral("x")).isEmpty());
    }

    void affiliateRedirectorShared() {
        // Codes 42, 44 and 48 go through one redirector host with one affiliate id.
        auto prefix = [&](int code) {
            const QString a = table.ComposeSearchAddress(code, {});
            return a.left(a.indexOf(QLatin1String("&offerid=")));
        };
        QCOMPARE(prefix(44), prefix(42));
        QCOMPARE(prefix(48), prefix(42));
    }

    // Encoding of the search text: what was typed reaches the service intact.
    void textEncoding_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("inserted");
        QTest::newRow("space") << 0 << u"a b"_s << u"a%20b"_s;
        QTest::newRow("ampersand") << 0 << u"AT&T"_s << u"AT%26T"_s;
        QTest::newRow("hash") << 0 << u"C#"_s << u"C%23"_s;
        QTest::newRow("percent") << 0 << u"100%"_s << u"100%25"_s;
        QTest::newRow("plus") << 0 << u"c++"_s << u"c%2B%2B"_s;
        QTest::newRow("utf8") << 0 << u"Ti\u1ebfng Vi\u1ec7t"_s
                              << u"Ti%E1%BA%BFng%20Vi%E1%BB%87t"_s;
        QTest::newRow("empty") << 0 << u""_s << u""_s;
        QTest::newRow("plus engine keeps typed plus") << 25 << u"a+b c"_s << u"a%2Bb+c"_s;
        QTest::newRow("dash engine") << 9 << u"C# and F#"_s << u"C%23-and-F%23"_s;
        QTest::newRow("address kept")
            << 22 << u"http://example.org/a?b=1&c=2"_s << u"http://example.org/a?b=1&c=2"_s;
        QTest::newRow("address fragment")
            << 22 << u"http://x.org/a b#top"_s << u"http://x.org/a%20b%23top"_s;
    }

    void textEncoding() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(QString, inserted);
        const QString empty = table.ComposeSearchAddress(code, {});
        QCOMPARE(table.ComposeSearchAddress(code, text), empty + inserted);
    }

    void engineCodeOf_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("exact") << u"Wikipedia"_s << 29;
        QTest::newRow("lower case") << u"wikipedia"_s << 29;
        QTest::newRow("upper case") << u"CURRENT PAGE"_s << 21;
        QTest::newRow("trailing space") << u"wikipedia "_s << 0;
        QTest::newRow("start text") << u"Search Engines"_s << 0;
        QTest::newRow("separator row") << u"***************"_s << 0;
        QTest::newRow("separator name") << u"*"_s << 0;
        QTest::newRow("empty") << u""_s << 0;
        QTest::newRow("last") << table.Names().last() << 48;
        QTest::newRow("ampersand name") << u"bits & pieces"_s << 44;
    }

    void engineCodeOf() {
        QFETCH(QString, text);
        QFETCH(int, code);
        QCOMPARE(table.EngineCodeOf(text), code);
    }

    void indexOfNameFoldsAsciiOnly() {
        const QStringList names = {QStringLiteral("alpha"), u"\u00e9t\u00e9"_s,
                                   QStringLiteral("Alpha")};
        QCOMPARE(IndexOfName(QStringLiteral("ALPHA"), names), 0); // first match wins
        QCOMPARE(IndexOfName(QStringLiteral("\u00e9T\u00e9"), names), 1);
        QCOMPARE(IndexOfName(QStringLiteral("\u00c9t\u00e9"), names), -1);
        QCOMPARE(IndexOfName(QStringLiteral("alph"), names), -1);
        QCOMPARE(IndexOfName({}, {}), -1);
    }

    void spacesTransforms() {
        QCOMPARE(SpacesToDash(QStringLiteral(" new  york ")), QStringLiteral("-new--york-"));
        QCOMPARE(SpacesToPlus(QStringLiteral("lol rofl\tx")), QStringLiteral("lol+rofl\tx"));
    }

    void badDataFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not json") << QByteArray("{ engines: ");
        QTest::newRow("too few") << QByteArray(
            "{\"engines\": [{\"name\": \"Google\", \"front\": \"http://g/\"}]}");
        QTest::newRow("missing file") << QByteArray();
    }

    void badDataFiles() {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("engines.json"));
        if (!content.isEmpty())
            WriteFile(path, content);
        QVERIFY_THROWS_EXCEPTION(EInOutError, InitSearchEndpoints(path));
    }
};

QTEST_GUILESS_MAIN(TestSearchEngines)
#include "test_search_engines.moc"
