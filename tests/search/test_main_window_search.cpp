// The search box and the quick-link menus as the main window composes them.
#include "BrowserFixture.h"
#include "app/MainMenu.h"
#include "app/Unit1.h"
#include "browser/TabSet.h"
#include "components/urlhistory/UrlHistory.h"
#include "platform/Registry.h"
#include "search/SearchBox.h"
#include "search/WebServices.h"
#include "tests/support/TestPeer.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestMainWindowSearch : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    TestPeer http;
    std::unique_ptr<TRegistry> registry;
    std::unique_ptr<TUrlHistory> history;
    std::unique_ptr<TfrmQuillmoor> w;

private slots:
    void initTestCase() {
        fixture::WriteFile(dir.filePath(u"www/page.html"_s), fixture::ApplePage);
        QVERIFY2(http.StartHttp(dir.filePath(u"www"_s)), qPrintable(http.Error()));
        registry = std::make_unique<TRegistry>(dir.filePath(u"registry"_s));
        history = std::make_unique<TUrlHistory>(dir.filePath(u"History.json"_s));
        w = std::make_unique<TfrmQuillmoor>(*registry, *history, dir.path());
        w->ConfirmExit = [] { return int(QMessageBox::Yes); };
        w->FormCreate();
        w->show();
    }

    void cleanupTestCase() {
        w->close();
        w.reset();
    }

    void searchBoxInTheAddressBar() {
        QVERIFY(w->SearchBox);
        QCOMPARE(w->SearchBox->parentWidget(), w->SearchSlot);
        QCOMPARE(w->SearchBox->SearchEngine->currentText(), u"Search Engines"_s);
        QCOMPARE(w->SearchBox->SearchEngine->count(), 49);
    }

    void quickLinkMenusUnderOptions() {
        const QList<std::pair<QString, int>> menus = {
            {u"Yahoo!"_s, 22}, {u"Google"_s, 18}, {u"MSN"_s, 11}, {u"Useful Services"_s, 14}};
        for (const auto& [caption, entries] : menus) {
            QAction* entry = w->Menu->Action(u"Options"_s, caption);
            QVERIFY(entry && entry->isEnabled());
            QVERIFY(entry->menu());
            QCOMPARE(entry->menu()->actions().size(), entries);
        }
        QVERIFY(w->WebServices->ActionFor(u"BabelFishFrenchtoEnglish1Click"_s));
        QVERIFY(w->Menu->Action(u"Tools"_s, u"Send Link of Current Page"_s)->isEnabled());
    }

    void currentPageInTheActiveTab() {
        TEmbeddedWB* wb = w->ActiveBrowser();
        QVERIFY(fixture::LoadSync(wb, http.Url(u"/page.html"_s)));
        w->SearchBox->SearchEngine->setEditText(u"current page"_s);
        w->SearchBox->edSearch->setText(u"apple"_s);
        QTest::keyClick(w->SearchBox->edSearch, Qt::Key_Return);
        QCOMPARE(wb->LocationURL(), http.Url(u"/page.html"_s));
        QCOMPARE(
            wb->EvaluateJavaScript(u"document.querySelectorAll('span[style=\"%1\"]').length"_s.arg(
                                       QString::fromLatin1(search::HighlightStyle)))
                .toInt(),
            3);
    }
};

QTEST_MAIN(TestMainWindowSearch)
#include "test_main_window_search.moc"
