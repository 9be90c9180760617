// The search box: Enter, the engine list, the search button and "Current Page".
#include "BrowserFixture.h"
#include "search/SearchBox.h"
#include "tests/support/TestPeer.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

using namespace search;
using namespace Qt::StringLiterals;

namespace {

// Counts Enter key presses that reach a widget.
class EnterCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                ++count;
        }
        return false;
    }
};

} // namespace

class TestSearchBox : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    TestPeer http;
    TSearchEndpoints local; // the shipped table with every host moved to the local server
    fixture::TTabs tabs;
    QList<QUrl> gone; // top-level navigations of the active browser

    TSearchBoxHost Host(bool withBrowser = true) {
        TSearchBoxHost host;
        host.ActiveBrowser = [this, withBrowser] {
            return withBrowser ? tabs.ActiveBrowser() : nullptr;
        };
        return host;
    }

private slots:
    void initTestCase() {
        fixture::WriteFile(dir.filePath(u"www/page.html"_s), fixture::ApplePage);
        QVERIFY2(http.StartHttp(dir.filePath(u"www"_s)), qPrintable(http.Error()));
        QFile shipped(u":/search/engines.json"_s);
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QString json = QString::fromUtf8(shipped.readAll());
        json.replace(QRegularExpression(u"https?://[^/\"]+"_s), http.Url());
        fixture::WriteFile(dir.filePath(u"engines.json"_s), json.toUtf8());
        local = InitSearchEndpoints(dir.filePath(u"engines.json"_s));
        tabs.OpenInNewTab(http.Url(u"/page.html"_s));
        connect(tabs.ActiveBrowser(), &TEmbeddedWB::BeforeNavigate2, this,
                [this](const QUrl& url, bool isMainFrame, bool&) {
                    if (isMainFrame)
                        gone << url;
                });
    }

    void init() { gone.clear(); }

    void startState() {
        TSearchBox box(local, Host());
        QCOMPARE(box.SearchEngine->count(), 49);
        QCOMPARE(box.SearchEngine->currentIndex(), -1);
        QCOMPARE(box.SearchEngine->currentText(), u"Search Engines"_s);
        QCOMPARE(box.SearchEngine->maxVisibleItems(), 30);
        QVERIFY(box.edSearch->text().isEmpty());
    }

    void enterSearchesAndIsSwallowed() {
        QWidget window;
        EnterCounter parentSaw;
        window.installEventFilter(&parentSaw);
        auto* box = new TSearchBox(local, Host(), &window);
        box->edSearch->setText(u"new york"_s);
        box->SearchEngine->setEditText(u"wikipedia"_s);
        QTest::keyClick(box->edSearch, Qt::Key_Return);
        QCOMPARE(gone, QList<QUrl>{QUrl(http.Url(u"/wiki/new%20york"_s))});
        QCOMPARE(tabs.ActiveBrowser()->url().path(), u"/wiki/new york"_s);
        QCOMPARE(box->edSearch->text(), u"new york"_s);
        QCOMPARE(parentSaw.count, 0);

        QTest::keyClick(box->edSearch, Qt::Key_X); // other keys type as usual
        QCOMPARE(box->edSearch->text(), u"new yorkx"_s);
        QCOMPARE(gone.size(), 1);
    }

    void pickingAnEngine() {
        TSearchBox box(local, Host());
        auto pick = [&](int row) {
            box.SearchEngine->setCurrentIndex(row);
            emit box.SearchEngine->activated(row);
        };
        pick(29); // Wikipedia with an empty box: nothing happens
        QVERIFY(gone.isEmpty());
        box.btnSearch->click(); // the engine's front part alone
        QCOMPARE(gone, QList<QUrl>{QUrl(http.Url(u"/wiki/"_s))});

        box.edSearch->setText(u"AT&T"_s);
        pick(20); // a separator row searches with Google at once
        QCOMPARE(gone.last(), QUrl(http.Url(u"/search?q=AT%26T"_s)));

        pick(40); // PriceWise ignores the text
        QCOMPARE(gone.last(), QUrl(http.Url(u"/"_s)));

        // The combo's text decides, not the selected row.
        box.SearchEngine->setCurrentIndex(29);
        box.SearchEngine->setEditText(u"ebay"_s);
        box.btnSearch->click();
        QCOMPARE(gone.last(), QUrl(local.ComposeSearchAddress(41, u"AT&T"_s)));
        QCOMPARE(gone.size(), 4);
    }

    void noBrowserDoesNothing() {
        TSearchBox box(local, Host(false));
        box.edSearch->setText(u"x"_s);
        box.btnSearch->click();
        box.SearchEngine->setEditText(u"Current Page"_s);
        box.btnSearch->click();
        QVERIFY(gone.isEmpty());
    }

    void currentPageMarksEveryOccurrence() {
        TEmbeddedWB* view = tabs.ActiveBrowser();
        QVERIFY(fixture::LoadSync(view, http.Url(u"/page.html"_s)));
        gone.clear();
        QWebEnginePage* page = view->page();
        const QUrl before = view->url();
        const QString textBefore =
            fixture::EvalSync(page, u"document.body.textContent"_s).toString();

        TSearchBox box(local, Host());
        box.SearchEngine->setEditText(u"Current Page"_s);
        box.edSearch->setText(u"apple"_s);
        box.btnSearch->click();
        QVERIFY(gone.isEmpty());
        QCOMPARE(view->url(), before);

        const QString marks = u"document.querySelectorAll('span[style=\"%1\"]')"_s.arg(
            QString::fromLatin1(HighlightStyle));
        QCOMPARE(fixture::EvalSync(page, marks + u".length"_s).toInt(), 3);
        // Every mark holds the text as the page spells it; the page's elements and
        // text are all still there.
        QCOMPARE(
            fixture::EvalSync(page, u"Array.from(%1).map(s => s.textContent).join()"_s.arg(marks))
                .toString(),
            u"Apple,apple,APPLE"_s);
        QCOMPARE(fixture::EvalSync(page, u"document.body.textContent"_s).toString(), textBefore);
        QCOMPARE(fixture::EvalSync(page, u"document.getElementById('first').childNodes.length"_s)
                     .toInt(),
                 4);
        QCOMPARE(fixture::EvalSync(page,
                                   u"document.getElementById('bold').parentNode.id + ' ' + "
                                   u"document.getElementById('link').getAttribute('title') + ' ' + "
                                   u"document.getElementById('area').value"_s)
                     .toString(),
                 u"link apple apple"_s);
        // The view ends at the last mark, aligned to the top.
        QVERIFY(fixture::EvalSync(page, u"window.scrollY"_s).toDouble() > 1000);
        QVERIFY(
            qAbs(fixture::EvalSync(page, marks + u"[2].getBoundingClientRect().top"_s).toDouble()) <
            2);
    }

    void highlightRefusals() {
        TEmbeddedWB* view = tabs.ActiveBrowser();
        QVERIFY(fixture::LoadSync(view, http.Url(u"/page.html"_s)));
        QCOMPARE(HighlightTextInPage(nullptr, u"apple"_s), -1);
        QCOMPARE(HighlightTextInPage(view, QString()), -1);
        QCOMPARE(HighlightTextInPage(view, u"pear"_s), 0);
        // Text with characters that mean something to a pattern or a script string.
        QCOMPARE(HighlightTextInPage(view, u"a.p\"l\\e("_s), 0);
        QCOMPARE(HighlightTextInPage(view, u"pie and"_s), 1);
        // A page still loading is left alone.
        view->Navigate(http.Url(u"/__slow/500/page.html"_s));
        QVERIFY(view->Busy());
        QCOMPARE(HighlightTextInPage(view, u"apple"_s), -1);
        QVERIFY(view->WaitUntilComplete());
    }
};

QTEST_MAIN(TestSearchBox)
#include "test_search_box.moc"
