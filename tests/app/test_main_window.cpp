// The main window with its tab set and navigation, browsing pages of the loopback server.
#include "app/MainMenu.h"
#include "app/ToolLauncher.h"
#include "app/Unit1.h"
#include "browser/ImageList.h"
#include "browser/Navigation.h"
#include "browser/StatusBar.h"
#include "browser/TabSet.h"
#include "browser/TypedUrls.h"
#include "components/browser/EmbeddedWB.h"
#include "components/urlhistory/UrlHistory.h"
#include "ftp/ftp.h"
#include "platform/Registry.h"
#include "tests/support/TestPeer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineHistory>

namespace {
// A tool window that refuses to close while "busy", as the grabber does during a grab.
class BusyTool : public QWidget {
public:
    using QWidget::QWidget;
    bool busy = true;
    void closeEvent(QCloseEvent* e) override {
        if (busy)
            e->ignore();
        else
            e->accept();
    }
};
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    TestPeer http;
    QTemporaryDir dir;
    std::unique_ptr<TRegistry> registry;
    std::unique_ptr<TUrlHistory> history;
    std::unique_ptr<TfrmQuillmoor> w;
    int answer = QMessageBox::Yes;

    QString url(const char* page) const { return http.Url(QStringLiteral("/") + QLatin1String(page)); }
    TTabSet& tabs() const { return *w->Tabs; }
    TNavigation& nav() const { return *w->Navigation; }
    QTabWidget* pc() const { return w->Tabs->PageControl; }
    QAction* entry(const char* menu, const char* caption) const {
        return w->Menu->Action(QString::fromLatin1(menu), QString::fromLatin1(caption));
    }
    void type(const QString& address) {
        nav().edURL->setEditText(address);
        QTest::keyClick(nav().edURL->lineEdit(), Qt::Key_Return);
    }
    // Back to one tab showing a.html, pop-ups allowed.
    void resetTabs() {
        while (pc()->count() > 1) {
            pc()->setCurrentIndex(pc()->count() - 1);
            tabs().CloseButtonClicked(pc()->count() - 1);
        }
        tabs().ActivateTab(tabs().tsMain);
        tabs().PopupsAllowed = true;
    }

private slots:
    void initTestCase() {
        QVERIFY2(http.StartHttp(QStringLiteral(QUILLMOOR_SOURCE_DIR "/tests/components/browser/pages")),
                 qPrintable(http.Error()));
        registry = std::make_unique<TRegistry>(dir.filePath(QStringLiteral("registry")));
        history = std::make_unique<TUrlHistory>(dir.filePath(QStringLiteral("History.json")));
        w = std::make_unique<TfrmQuillmoor>(*registry, *history, dir.path());
        w->ConfirmExit = [this] { return answer; };
    }
    void cleanupTestCase() {
        answer = QMessageBox::Yes;
        w->close();
        w.reset();
    }

    // With an empty typed-address list nothing is loaded at start.
    void startsEmpty() {
        w->FormCreate();
        w->show();
        QCOMPARE(w->windowTitle(), QStringLiteral("Quillmoor v5.10"));
        QVERIFY(tabs().WebBrowser1->LocationURL().isEmpty());
        QVERIFY(!tabs().WebBrowser1->Busy());
        QVERIFY(QDir(dir.filePath(QStringLiteral("Screen"))).exists());
        QVERIFY(tabs().PopupsAllowed);
        QVERIFY(entry("Edit", "Allow PopUp")->isChecked());
        QVERIFY(entry("Tab", "Allow PopUp")->isChecked());
        QVERIFY(nav().ToolbtnBack->isEnabled());
        QVERIFY(!nav().ToolBtnForward->isEnabled());
        QVERIFY(!nav().ToolBtnStop->isEnabled());
        QVERIFY(pc()->tabBar()->tabButton(0, QTabBar::RightSide) == nullptr);
        // Entries whose features are not built are there, disabled.
        QVERIFY(entry("Options", "Yahoo!") && entry("Options", "Yahoo!")->isEnabled());
        QVERIFY(entry("Tools", "Send Link of Current Page") && entry("Tools", "Send Link of Current Page")->isEnabled());
        QVERIFY(w->findChild<QAction*>(QStringLiteral("FTPbtn")) && w->findChild<QAction*>(QStringLiteral("FTPbtn"))->isEnabled());
        QVERIFY(entry("Options", "Grab Website")->isEnabled());
    }

    // Enter sends the address: the page replaces the current history entry, the typed
    // list gains it, captions follow the title; an untitled page keeps the window caption.
    void addressBoxNavigates() {
        type(url("a.html"));
        TEmbeddedWB* wb = tabs().WebBrowser1;
        QTRY_COMPARE(wb->LocationURL(), url("a.html"));
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Page A"));
        QCOMPARE(pc()->tabText(0), QStringLiteral("Page A"));
        QCOMPARE(w->StatusBar1->PanelText(2), QStringLiteral("Page A"));
        QCOMPARE(TTypedUrls(*registry).Load().value(0), url("a.html"));
        QVERIFY(nav().edURL->findText(url("a.html")) >= 0);

        wb->Navigate(url("b.html"));
        QVERIFY(wb->WaitUntilComplete());
        type(url("untitled.html"));
        QTRY_COMPARE(wb->LocationURL(), url("untitled.html"));
        QCOMPARE(wb->history()->count(), 2); // b.html was replaced
        // After Go the tab takes the window caption, which an untitled page leaves as it was.
        QCOMPARE(w->windowTitle(), QStringLiteral("Page B"));
        QCOMPARE(pc()->tabText(0), QStringLiteral("Page B"));
        wb->Navigate(url("untitled.html?again"));
        QVERIFY(wb->WaitUntilComplete());
        QTRY_COMPARE(pc()->tabText(0), QString());
        QCOMPARE(w->windowTitle(), QStringLiteral("Page B"));
        QCOMPARE(w->StatusBar1->PanelText(2), QString());
        QVERIFY(nav().ToolbtnBack->isEnabled());
        QVERIFY(history->Find(url("b.html")));
        QCOMPARE(history->Find(url("a.html"))->Title, QStringLiteral("Page A"));
        QVERIFY(nav().Completions(QStringLiteral("untitled")).contains(url("untitled.html")));
    }

    void goWithEmptyAddressStays() {
        const QString before = tabs().WebBrowser1->LocationURL();
        nav().edURL->setEditText(QString());
        nav().btnGoClick();
        QCOMPARE(tabs().WebBrowser1->LocationURL(), before);
        QCOMPARE(pc()->tabText(0), w->windowTitle());
    }

    void travelMenu() {
        TEmbeddedWB* wb = tabs().WebBrowser1;
        for (const char* p : {"a.html?t", "b.html", "c.html"}) {
            wb->Navigate(url(p));
            QVERIFY(wb->WaitUntilComplete());
        }
        nav().FillTravelMenu(true);
        QVERIFY(nav().TravelBack);
        QVERIFY(nav().TravelMenuItems.size() >= 3);
        QCOMPARE(nav().TravelMenuItems[0].Title, QStringLiteral("Page B"));
        QCOMPARE(nav().TravelMenuItems[1].Url, url("a.html?t"));
        nav().TravelMenuItemClick(0);
        QTRY_COMPARE(wb->LocationURL(), url("b.html"));
        QVERIFY(wb->WaitUntilComplete());
        QTRY_VERIFY(nav().ToolBtnForward->isEnabled());
        nav().FillTravelMenu(false);
        QCOMPARE(nav().TravelMenuItems.size(), 1);
        QCOMPARE(nav().TravelMenuItems[0].Url, url("c.html"));
        // More than 30 entries back: the list stops at 30.
        for (int i = 0; i < 32; ++i) {
            wb->Navigate(url("a.html") + QStringLiteral("?n=%1").arg(i));
            QVERIFY(wb->WaitUntilComplete());
        }
        nav().FillTravelMenu(true);
        QCOMPARE(nav().TravelMenuItems.size(), 30);
    }

    // Level reports and the look they give; progress without a maximum changes nothing.
    void securityLookAndGauge() {
        TEmbeddedWB* wb = tabs().WebBrowser1;
        emit wb->SetSecureLockIcon(6);
        QCOMPARE(w->StatusBar1->PanelText(5), QStringLiteral("Security Level: 128 Bit"));
        QVERIFY(nav().SecureLook());
        QCOMPARE(nav().edURL->lineEdit()->palette().color(QPalette::Base), QApplication::palette().color(QPalette::ToolTipBase));
        emit wb->SetSecureLockIcon(0);
        QCOMPARE(w->StatusBar1->PanelText(5), QStringLiteral("Security Level: UnSecure"));
        QVERIFY(!nav().SecureLook());
        QCOMPARE(nav().btnSecurity->toolTip(), QStringLiteral("Security Level"));

        w->StatusBar1->ProgressBar1->setValue(17);
        const int image = tabs().TabImage(tabs().tsMain);
        emit wb->ProgressChange(5, 0);
        QCOMPARE(w->StatusBar1->ProgressBar1->value(), 17);
        QCOMPARE(tabs().TabImage(tabs().tsMain), image);
        emit wb->ProgressChange(3, 10);
        QCOMPARE(w->StatusBar1->ProgressBar1->value(), 30);
        QCOMPARE(tabs().TabImage(tabs().tsMain), int(TImageList::Loading2));
        emit wb->ProgressChange(31, 100);
        QCOMPARE(tabs().TabImage(tabs().tsMain), int(TImageList::Loading1));
        emit wb->DownloadComplete();
        QCOMPARE(tabs().TabImage(tabs().tsMain), int(TImageList::FirstTab));
        QVERIFY(w->StatusBar1->Panel(3)->pixmap().isNull() == false);
        QCOMPARE(w->StatusBar1->PanelText(3), QStringLiteral("Local intranet"));
    }

    // Each tab keeps its own title and button states; a background tab's status text is dropped.
    void tabsKeepTheirOwnState() {
        resetTabs();
        QWidget* second = tabs().OpenInNewTab(url("b.html"));
        QVERIFY(second);
        QCOMPARE(pc()->currentWidget(), second);
        QCOMPARE(pc()->indexOf(second), 1);
        TEmbeddedWB* wb2 = TTabSet::BrowserOf(second);
        QTRY_COMPARE(pc()->tabText(1), QStringLiteral("Page B"));
        wb2->Navigate(url("c.html"));
        QVERIFY(wb2->WaitUntilComplete());
        QTRY_VERIFY(wb2->BackEnabled);
        QVERIFY(nav().ToolbtnBack->isEnabled());
        QCOMPARE(tabs().TabImage(second), int(TImageList::BrowserTab));

        tabs().ActivateTab(tabs().tsMain);
        QCOMPARE(tabs().CurrentBrowser.data(), wb2);
        QCOMPARE(tabs().ActiveBrowser(), tabs().WebBrowser1);
        emit wb2->StatusTextChange(QStringLiteral("from the background"));
        QVERIFY(w->StatusBar1->PanelText(2) != QLatin1String("from the background"));
        pc()->setTabText(1, QStringLiteral("scribbled"));
        tabs().ActivateTab(second);
        QCOMPARE(pc()->tabText(1), QStringLiteral("Page C"));
        QCOMPARE(nav().edURL->currentText(), url("c.html"));
        QVERIFY(nav().ToolbtnBack->isEnabled());
        QVERIFY(!nav().ToolBtnForward->isEnabled());
        QCOMPARE(w->windowTitle(), QStringLiteral("Page C"));
    }

    // Right click: the first tab cannot be closed; tool tabs cannot be copied.
    void tabMenuAndClosing() {
        resetTabs();
        w->PageControlMouseDown(0, {}, false);
        QVERIFY(!entry("Tab", "Close Tab")->isEnabled());
        QVERIFY(entry("Tab", "Copy Tab")->isEnabled());
        tabs().CloseTab1Click();
        QCOMPARE(pc()->count(), 1);

        QWidget* second = tabs().OpenInNewTab(url("a.html"));
        w->PageControlMouseDown(1, {}, false);
        QVERIFY(entry("Tab", "Close Tab")->isEnabled());
        QPointer<TEmbeddedWB> wb2 = TTabSet::BrowserOf(second);
        tabs().CloseTab1Click();
        QCOMPARE(pc()->count(), 1);
        QVERIFY(wb2.isNull());
        QVERIFY(tabs().CurrentBrowser.isNull());

        // The close button keeps what the tab holds alive.
        QWidget* third = tabs().OpenInNewTab(url("b.html"));
        QPointer<TEmbeddedWB> wb3 = TTabSet::BrowserOf(third);
        tabs().CloseButtonClicked(pc()->indexOf(third));
        QCOMPARE(pc()->count(), 1);
        QVERIFY(!wb3.isNull());
        QCOMPARE(wb3->LocationURL(), url("b.html"));
    }

    void copyTabCopiesCurrentContent() {
        resetTabs();
        tabs().WebBrowser1->Navigate(url("a.html"));
        QVERIFY(tabs().WebBrowser1->WaitUntilComplete());
        tabs().OpenInNewTab(url("b.html"));
        tabs().ActivateTab(tabs().tsMain);
        tabs().WebBrowser1->SetBodyInnerHTML(QStringLiteral("<p>edited here</p>"));
        // Ctrl+N with the focus inside the page.
        tabs().WebBrowser1->setFocus();
        QWidget* target = tabs().WebBrowser1->focusProxy() ? tabs().WebBrowser1->focusProxy() : tabs().WebBrowser1;
        QTest::keyClick(target, Qt::Key_N, Qt::ControlModifier);
        QTRY_COMPARE(pc()->count(), 3);
        QCOMPARE(pc()->currentIndex(), 1);
        TEmbeddedWB* copy = TTabSet::BrowserOf(pc()->currentWidget());
        QVERIFY(copy && copy != tabs().WebBrowser1);
        QCOMPARE(copy->LocationURL(), url("a.html"));
        QTRY_COMPARE(copy->BodyInnerHTML(), QStringLiteral("<p>edited here</p>"));
    }

    // Pop-ups: new tab after load, refused while loading, blocked after "Allow PopUp".
    void popupPolicy() {
        resetTabs();
        TEmbeddedWB* wb = tabs().WebBrowser1;
        wb->Navigate(url("popup-after.html"));
        QVERIFY(wb->WaitUntilComplete());
        wb->page()->runJavaScript(QStringLiteral("openIt()"));
        QTRY_COMPARE(pc()->count(), 2);
        QCOMPARE(pc()->currentIndex(), 1);
        TEmbeddedWB* popup = TTabSet::BrowserOf(pc()->currentWidget());
        QTRY_COMPARE(popup->LocationURL(), url("b.html"));

        resetTabs();
        wb->Navigate(url("popup-during.html"));
        QVERIFY(wb->WaitUntilComplete());
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Early opener"));
        QCOMPARE(pc()->count(), 1);

        entry("Tab", "Allow PopUp")->trigger();
        QVERIFY(!tabs().PopupsAllowed);
        QVERIFY(!entry("Edit", "Allow PopUp")->isChecked());
        QVERIFY(!entry("Tab", "Allow PopUp")->isChecked());
        wb->Navigate(url("popup-after.html"));
        QVERIFY(wb->WaitUntilComplete());
        wb->page()->runJavaScript(QStringLiteral("openIt()"));
        QTRY_COMPARE(nav().edURL->currentText(), TNavigation::PopupBlockedText);
        QCOMPARE(nav().edURL->lineEdit()->palette().color(QPalette::Base), QColor(192, 220, 192));
        QCOMPARE(pc()->count(), 1);
        entry("Edit", "Allow PopUp")->trigger();
        QVERIFY(tabs().PopupsAllowed);
        QVERIFY(entry("Tab", "Allow PopUp")->isChecked());
    }

    void closingScriptLeavesTab() {
        resetTabs();
        QWidget* tab = tabs().OpenInNewTab(QString());
        TEmbeddedWB* wb = TTabSet::BrowserOf(tab);
        wb->Navigate(url("closer.html"));
        QTRY_COMPARE(wb->LocationURL(), QStringLiteral("about:blank"));
        QCOMPARE(pc()->count(), 2);
    }

    void stopEndsLoad() {
        resetTabs();
        TEmbeddedWB* wb = tabs().WebBrowser1;
        wb->Navigate(http.Url(QStringLiteral("/__slow/10000/a.html")));
        QTRY_VERIFY(nav().ToolBtnStop->isEnabled());
        nav().ToolBtnStop->click();
        QTRY_VERIFY(!wb->Busy());
        QTRY_VERIFY(!nav().ToolBtnStop->isEnabled());
    }

    void homeGoesToStartPage() {
        resetTabs();
        nav().HomeBtnClick();
        QTRY_COMPARE(tabs().WebBrowser1->LocationURL(), QStringLiteral("qrc:/browser/start.html"));
        QVERIFY(registry->OpenKey(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main"), true));
        registry->WriteString(QStringLiteral("Start Page"), url("c.html"));
        registry->CloseKey();
        nav().HomeBtnClick();
        QTRY_COMPARE(tabs().WebBrowser1->LocationURL(), url("c.html"));
    }

    // "FTP" opens the FTP client in a tab; its launch controls wait for the tab to close.
    void ftpOpensInATab() {
        resetTabs();
        QAction* button = w->findChild<QAction*>(QStringLiteral("FTPbtn"));
        QVERIFY(button && button->isEnabled());
        entry("Tab", "FTP")->trigger();
        QCOMPARE(pc()->count(), 2);
        QCOMPARE(pc()->tabText(1), QStringLiteral("FTP"));
        QVERIFY(w->findChild<TfrmFTP*>());
        QCOMPARE(w->findChild<TfrmFTP*>()->windowTitle(), QStringLiteral("Ftp Client"));
        QVERIFY(!button->isEnabled());
        QVERIFY(!entry("Tab", "FTP")->isEnabled());
        tabs().CloseButtonClicked(1);
        QCOMPARE(pc()->count(), 1);
        QVERIFY(button->isEnabled());
        QVERIFY(entry("Tab", "FTP")->isEnabled());
    }

    // One tool tab per tool; its launch controls are disabled while the tab exists, and a
    // tool that refuses to close keeps the program from closing.
    void toolTabsAndExit() {
        resetTabs();
        QAction* launch = new QAction(QStringLiteral("Busy Tool"), w.get());
        w->Launcher->Add(QStringLiteral("Busy"), QStringLiteral("Busy Tool"), TImageList::Ftp, {launch});
        QVERIFY(!launch->isEnabled());
        QPointer<BusyTool> tool;
        w->Launcher->SetFactory(QStringLiteral("Busy"), [&tool](QWidget* p) { return tool = new BusyTool(p); });
        QVERIFY(launch->isEnabled());
        launch->trigger();
        QVERIFY(tool);
        QVERIFY(!launch->isEnabled());
        QCOMPARE(pc()->count(), 2);
        QCOMPARE(pc()->tabText(1), QStringLiteral("Busy Tool"));
        QCOMPARE(pc()->currentIndex(), 1);
        QCOMPARE(tabs().ActiveBrowser(), tabs().WebBrowser1); // tool tab: the last browser
        w->PageControlMouseDown(1, {}, false);
        QVERIFY(!entry("Tab", "Copy Tab")->isEnabled());
        QVERIFY(entry("Tab", "Close Tab")->isEnabled());
        tabs().CloseTab1Click(); // does nothing on a tool tab
        QCOMPARE(pc()->count(), 2);

        tabs().CloseButtonClicked(1);
        QCOMPARE(pc()->count(), 1);
        QVERIFY(launch->isEnabled());
        QVERIFY(tool); // lives on off screen

        answer = QMessageBox::No;
        QVERIFY(!w->close());
        answer = QMessageBox::Cancel;
        QVERIFY(!w->close());
        answer = QMessageBox::Yes;
        QVERIFY(!w->close()); // the busy tool refuses
        QVERIFY(w->isVisible());
        QCOMPARE(pc()->count(), 1);
        tool->busy = false;
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
