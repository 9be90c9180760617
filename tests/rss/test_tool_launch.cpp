// The main window's launchers of the RSS reader and the website grabber: each opens one
// tab with its window, its launch controls stay disabled while the tab exists, and
// closing the tab enables them again.
#include "app/MainMenu.h"
#include "app/Unit1.h"
#include "browser/TabSet.h"
#include "components/browser/EmbeddedWB.h"
#include "components/urlhistory/UrlHistory.h"
#include "grabber/GrabSite.h"
#include "platform/Registry.h"
#include "rss/reader.h"
#include "tests/support/TestPeer.h"
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>

#include <QAction>
#include <QMessageBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestToolLaunch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void launchers_data();
    void launchers();
    void readerPaneInTab();

private:
    QAction* entry(const QString& menu, const QString& caption) const {
        return w->Menu->Action(menu, caption);
    }

    QTemporaryDir dir;
    std::unique_ptr<TRegistry> registry;
    std::unique_ptr<TUrlHistory> history;
    std::unique_ptr<TfrmQuillmoor> w;
};

void TestToolLaunch::initTestCase() {
    registry = std::make_unique<TRegistry>(dir.filePath(QStringLiteral("registry")));
    history = std::make_unique<TUrlHistory>(dir.filePath(QStringLiteral("History.json")));
    w = std::make_unique<TfrmQuillmoor>(*registry, *history, dir.path());
    w->ConfirmExit = [] { return int(QMessageBox::Yes); };
    w->FormCreate();
    w->show();
}

void TestToolLaunch::cleanupTestCase() {
    w->close();
    w.reset();
}

void TestToolLaunch::launchers_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("viaTabMenu");
    QTest::newRow("RSS Reader button") << QStringLiteral("RSS Reader") << false;
    QTest::newRow("RSS Reader tab menu") << QStringLiteral("RSS Reader") << true;
    QTest::newRow("Grab Website menu") << QStringLiteral("Grab Website") << false;
    QTest::newRow("Grab Website tab menu") << QStringLiteral("Grab Website") << true;
}

void TestToolLaunch::launchers() {
    QFETCH(QString, caption);
    QFETCH(bool, viaTabMenu);
    const bool reader = caption == QLatin1String("RSS Reader");
    QAction* main = reader ? w->findChild<QAction*>(QStringLiteral("RSSbtn"))
                           : entry(QStringLiteral("Options"), QStringLiteral("Grab Website"));
    QAction* tabMenu = entry(QStringLiteral("Tab"), caption);
    QVERIFY(main && tabMenu);
    QVERIFY(main->isEnabled() && tabMenu->isEnabled());
    QTabWidget* pc = w->Tabs->PageControl;
    const int before = pc->count();
    (viaTabMenu ? tabMenu : main)->trigger();
    QCOMPARE(pc->count(), before + 1);
    QCOMPARE(pc->tabText(pc->currentIndex()), caption);
    QWidget* form = pc->currentWidget()->findChild<QWidget*>(
        reader ? QStringLiteral("frmReader") : QStringLiteral("frmGrabSite"));
    QVERIFY(form);
    QVERIFY(reader ? qobject_cast<TfrmReader*>(form) != nullptr
                   : qobject_cast<TfrmGrabSite*>(form) != nullptr);
    QVERIFY(!main->isEnabled());
    QVERIFY(!tabMenu->isEnabled());
    w->Tabs->CloseButtonClicked(pc->currentIndex());
    QCOMPARE(pc->count(), before);
    QVERIFY(main->isEnabled());
    QVERIFY(tabMenu->isEnabled());
}

void TestToolLaunch::readerPaneInTab() {
    TestPeer http;
    QFile f(dir.filePath(QStringLiteral("f.xml")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY2(http.StartHttp(dir.path()), qPrintable(http.Error()));
    f.write(QStringLiteral("<rss><channel><title>T</title><item><title>one</title><link>%1</link></"
                           "item></channel></rss>")
                .arg(http.Url(QStringLiteral("/f.xml")))
                .toUtf8());
    f.close();
    w->findChild<QAction*>(QStringLiteral("RSSbtn"))->trigger();
    auto* reader = w->Tabs->PageControl->currentWidget()->findChild<TfrmReader*>();
    QVERIFY(reader);
    reader->txtURL->setText(http.Url(QStringLiteral("/f.xml")));
    reader->bRefreshClick();
    reader->lvwItems->selectRow(0);
    reader->lvwItemsClick();
    QTRY_COMPARE_WITH_TIMEOUT(reader->txtData->url(), QUrl(http.Url(QStringLiteral("/f.xml"))),
                              20000);
}

QTEST_MAIN(TestToolLaunch)
#include "test_tool_launch.moc"
