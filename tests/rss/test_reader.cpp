// The reader window against feeds served by a real HTTP server on loopback.
#include "components/browser/EmbeddedWB.h"
#include "rss/FeedPresets.h"
#include "rss/reader.h"
#include "platform/Files.h"
#include "tests/support/TestPeer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString caption(const TfrmReader& w) {
    return w.PageControl1->tabText(w.PageControl1->indexOf(w.tsRSS));
}

QString cell(const TfrmReader& w, int row, int column) {
    const QTableWidgetItem* item = w.lvwItems->item(row, column);
    return item ? item->text() : QString();
}

QStringList entries(const TfrmReader& w) {
    QStringList out;
    for (int i = 0; i < w.cbRSS->count(); ++i)
        out << w.cbRSS->itemText(i);
    return out;
}

// Runs a handler that is expected to fail; returns the message it raised.
template <typename F> QString failure(F handler) {
    try {
        handler();
    } catch (const Exception& e) {
        return e.Message;
    }
    return {};
}
} // namespace

class TestReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void initialState();
    void feedFormats_data();
    void feedFormats();
    void enterRemembersAddress();
    void choosingAnEntryFetches();
    void failedFetch_data();
    void failedFetch();
    void clickOpensItemLink();

private:
    QString url(const char* path) const { return http.Url(QLatin1String(path)); }
    QTemporaryDir root;
    TestPeer http;
    std::unique_ptr<TEmbeddedWB> engine;
};

void TestReader::initTestCase() {
    SaveFileAtomically(root.filePath(QStringLiteral("rss20.xml")),
          "<?xml version='1.0'?><rss version='2.0'><channel><title>Two</title><description>RSS "
          "two</description>"
          "<item><title>First</title><pubDate>Tue, 02 Jan 2024 10:00:00 "
          "GMT</pubDate><link>/page1.html</link></item>"
          "<item><title>No date</title><link>/page2.html</link></item>"
          "<item><title>Third</title><pubDate>Thu, 04 Jan "
          "2024</pubDate><link>/page3.html</link></item>"
          "</channel></rss>");
    SaveFileAtomically(root.filePath(QStringLiteral("rss091.xml")),
          "<rss version='0.91'><channel><title>Old</title><description>Point nine one</description>"
          "<item><title>Only</title><link>http://h/1</link></item></channel></rss>");
    SaveFileAtomically(root.filePath(QStringLiteral("rdf.xml")),
          "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' "
          "xmlns='http://purl.org/rss/1.0/' "
          "xmlns:dc='http://purl.org/dc/elements/1.1/'><channel><title>RDF</"
          "title><description>Dee</description>"
          "</channel><item><title>R1</title><link>http://h/r1</link><dc:date>2024-01-05</dc:date></"
          "item></rdf:RDF>");
    SaveFileAtomically(root.filePath(QStringLiteral("atom.xml")),
          "<feed "
          "xmlns='http://www.w3.org/2005/Atom'><title>Atom</title><subtitle>Sub</subtitle><entry>"
          "<title>A1</title><link "
          "href='http://h/a1'/><updated>2024-01-06T00:00:00Z</updated></entry></feed>");
    SaveFileAtomically(root.filePath(QStringLiteral("atom03.xml")),
          "<feed version='0.3' xmlns='http://purl.org/atom/ns#'><title>Old "
          "atom</title><tagline>Tag</tagline>"
          "<entry><title>O1</title><link rel='alternate' "
          "href='http://h/o1'/><issued>2004-01-01</issued></entry>"
          "</feed>");
    SaveFileAtomically(root.filePath(QStringLiteral("nodesc.xml")),
          "<rss version='2.0'><channel><title>Titled "
          "only</title><item><title>x</title></item></channel></rss>");
    SaveFileAtomically(root.filePath(QStringLiteral("empty.xml")),
          "<rss version='2.0'><channel><title>E</title><description>No "
          "items</description></channel></rss>");
    SaveFileAtomically(
        root.filePath(QStringLiteral("bomb.xml")),
        "<!DOCTYPE rss [<!ENTITY a "
        "'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'>"
        "<!ENTITY b "
        "'&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;'>"
        "<!ENTITY c "
        "'&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;'>"
        "<!ENTITY d "
        "'&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;'>"
        "]><rss><channel><title>&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;</title></channel></rss>");
    SaveFileAtomically(
        root.filePath(QStringLiteral("xxe.xml")),
        "<!DOCTYPE rss [<!ENTITY x SYSTEM 'file:///etc/hostname'>]><rss><channel><title>&x;</title>"
        "<item><title>&x;</title></item></channel></rss>");
    for (int i = 1; i <= 3; ++i)
        SaveFileAtomically(root.filePath(QStringLiteral("page%1.html").arg(i)),
              QStringLiteral("<html><head><title>Page %1</title></head><body>%1</body></html>")
                  .arg(i)
                  .toUtf8());
    QVERIFY2(http.StartHttp(root.path()), qPrintable(http.Error()));
    // The engine is started by a top-level browser first, as the program's first tab is
    // started before any tool: a browser control that is the first of the process and a
    // child widget crashes inside Qt WebEngine on its first load.
    engine = std::make_unique<TEmbeddedWB>();
    engine->resize(200, 100);
    engine->show();
    engine->Navigate(QStringLiteral("about:blank"));
    QVERIFY(engine->WaitUntilComplete());
}

void TestReader::initialState() {
    TfrmReader w;
    QCOMPARE(caption(w), QStringLiteral("RSS Reader"));
    QCOMPARE(w.bRefresh->text(), QStringLiteral("Get Feed"));
    QCOMPARE(w.txtURL->text(), InitialFeedAddress());
    QCOMPARE(InitialFeedAddress(), PresetFeeds().at(14));
    QCOMPARE(entries(w), PresetFeeds());
    QCOMPARE(PresetFeeds().size(), 29);
    QCOMPARE(QSet<QString>(PresetFeeds().begin(), PresetFeeds().end()).size(), 29);
    for (const QString& feed : PresetFeeds())
        QVERIFY2(QUrl(feed).isValid() && QUrl(feed).scheme().startsWith(QLatin1String("http")),
                 qPrintable(feed));
    QCOMPARE(w.cbRSS->currentIndex(), -1);
    QCOMPARE(w.cbRSS->placeholderText(), QStringLiteral("RSS Feed Addresses"));
    QCOMPARE(w.cbRSS->maxVisibleItems(), 30);
    QCOMPARE(w.lvwItems->horizontalHeaderItem(0)->text(), QStringLiteral("Title"));
    QCOMPARE(w.lvwItems->horizontalHeaderItem(1)->text(), QStringLiteral("Date"));
    QCOMPARE(w.lvwItems->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(w.lvwItems->rowCount(), 0);
    w.resize(900, 700);
    w.show();
    QTRY_COMPARE(w.lvwItems->columnWidth(0), w.lvwItems->columnWidth(1) * 3 + 30);
}

void TestReader::feedFormats_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption"); // the channel description
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("dates");
    QTest::newRow("rss 2.0") << QStringLiteral("rss20.xml") << QStringLiteral("RSS two")
                             << QStringList{QStringLiteral("First"), QStringLiteral("No date"),
                                            QStringLiteral("Third")}
                             << QStringList{QStringLiteral("Tue, 02 Jan 2024 10:00:00 GMT"),
                                            QString(), QStringLiteral("Thu, 04 Jan 2024")};
    QTest::newRow("rss 0.91") << QStringLiteral("rss091.xml") << QStringLiteral("Point nine one")
                              << QStringList{QStringLiteral("Only")} << QStringList{QString()};
    QTest::newRow("rss 1.0") << QStringLiteral("rdf.xml") << QStringLiteral("Dee")
                             << QStringList{QStringLiteral("R1")}
                             << QStringList{QStringLiteral("2024-01-05")};
    QTest::newRow("atom 1.0") << QStringLiteral("atom.xml") << QStringLiteral("Sub")
                              << QStringList{QStringLiteral("A1")}
                              << QStringList{QStringLiteral("2024-01-06T00:00:00Z")};
    QTest::newRow("atom 0.3") << QStringLiteral("atom03.xml") << QStringLiteral("Tag")
                              << QStringList{QStringLiteral("O1")}
                              << QStringList{QStringLiteral("2004-01-01")};
    QTest::newRow("title but no description")
        << QStringLiteral("nodesc.xml") << QStringLiteral("") << QStringList{QStringLiteral("x")}
        << QStringList{QString()};
    QTest::newRow("no items") << QStringLiteral("empty.xml") << QStringLiteral("No items")
                              << QStringList() << QStringList();
}

void TestReader::feedFormats() {
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, dates);
    TfrmReader w;
    w.txtURL->setText(http.Url(QLatin1Char('/') + file));
    QTest::mouseClick(w.bRefresh, Qt::LeftButton);
    QCOMPARE(::caption(w), caption);
    QCOMPARE(w.lvwItems->rowCount(), titles.size());
    for (int row = 0; row < titles.size(); ++row) {
        QCOMPARE(cell(w, row, 0), titles[row]);
        QCOMPARE(cell(w, row, 1), dates[row]);
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestReader::enterRemembersAddress() {
    TfrmReader w;
    const QString feed = url("/rss20.xml");
    w.txtURL->setText(feed);
    QTest::keyClick(w.txtURL, Qt::Key_Return);
    QTest::keyClick(w.txtURL, Qt::Key_Return);
    QCOMPARE(w.txtURL->text(), feed); // the key inserted nothing
    QCOMPARE(entries(w), PresetFeeds() + QStringList{feed});
    QCOMPARE(w.lvwItems->rowCount(), 3);
    // A variant in letter case is another address (the server's path is the same file
    // only when its case matches; the host's case does not matter to it).
    const QString variant = http.Url(QStringLiteral("/rss20.xml"))
                                .replace(QLatin1String("http"), QLatin1String("HTTP"));
    w.txtURL->setText(variant);
    QTest::keyClick(w.txtURL, Qt::Key_Return);
    QCOMPARE(entries(w), PresetFeeds() + (QStringList{feed, variant}));
    // A preset address adds nothing (a failed fetch adds nothing either, see failedFetch).
    w.cbRSS->addItem(url("/atom.xml"));
    w.txtURL->setText(url("/atom.xml"));
    w.txtURLEnter();
    QCOMPARE(w.cbRSS->count(), PresetFeeds().size() + 3);
}

void TestReader::choosingAnEntryFetches() {
    TfrmReader w;
    w.cbRSS->addItem(url("/rdf.xml"));
    const int index = w.cbRSS->count() - 1;
    w.cbRSS->setCurrentIndex(index);
    emit w.cbRSS->activated(index);
    QCOMPARE(w.txtURL->text(), url("/rdf.xml"));
    QCOMPARE(caption(w), QStringLiteral("Dee"));
    QCOMPARE(cell(w, 0, 0), QStringLiteral("R1"));
}

void TestReader::failedFetch_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << QStringLiteral("/nothing.xml") << QStringLiteral("404: Not Found");
    QTest::newRow("redirect not followed")
        << QStringLiteral("/__redirect/302?to=/rss20.xml") << QStringLiteral("302: Found");
    QTest::newRow("entity bomb") << QStringLiteral("/bomb.xml") << QStringLiteral("50");
    QTest::newRow("external entity")
        << QStringLiteral("/xxe.xml") << QStringLiteral("502: External entity 'x' is not allowed");
}

// The list ends empty, the caption stays, the cursor is the normal one again and the
// address is not remembered.
void TestReader::failedFetch() {
    QFETCH(QString, path);
    QFETCH(QString, error);
    TfrmReader w;
    w.txtURL->setText(url("/rss091.xml"));
    w.bRefreshClick();
    QCOMPARE(w.lvwItems->rowCount(), 1);
    w.txtURL->setText(http.Url(path));
    const QString message = failure([&] { w.txtURLEnter(); });
    QVERIFY2(message.startsWith(error), qPrintable(message));
    QCOMPARE(w.lvwItems->rowCount(), 0);
    QCOMPARE(caption(w), QStringLiteral("Point nine one"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(entries(w), PresetFeeds());
}

void TestReader::clickOpensItemLink() {
    TfrmReader w;
    SaveFileAtomically(root.filePath(QStringLiteral("links.xml")),
          QStringLiteral("<rss version='2.0'><channel><title>L</title>"
                         "<item><title>1</title><link>%1</link></item><item><title>2</"
                         "title><link>%2</link></item>"
                         "<item><title>3</title><link>%3</link></item></channel></rss>")
              .arg(url("/page1.html"), url("/page2.html"), url("/page3.html"))
              .toUtf8());
    w.txtURL->setText(url("/links.xml"));
    w.bRefreshClick();
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // No row selected: a click on the empty part of the list does nothing.
    const QPoint empty(10, w.lvwItems->viewport()->height() - 5);
    QTest::mouseClick(w.lvwItems->viewport(), Qt::LeftButton, {}, empty);
    QCOMPARE(w.FirstSelectedRow(), -1);
    QCOMPARE(w.txtData->url(), QUrl());
    // Rows 3 and 2 selected: the first selected row (row 2, item 2) is the one opened.
    w.lvwItems->selectRow(2);
    w.lvwItems->setRangeSelected(QTableWidgetSelectionRange(1, 0, 1, 1), true);
    QCOMPARE(w.FirstSelectedRow(), 1);
    QCOMPARE(w.RSS1.ItemLink(w.FirstSelectedRow() + 1), url("/page2.html"));
    w.lvwItemsClick();
    QTRY_COMPARE_WITH_TIMEOUT(w.txtData->url(), QUrl(url("/page2.html")), 20000);
}

QTEST_MAIN(TestReader)
#include "test_reader.moc"
