// The main window's chrome: skins, bar switches, web toolbars, window commands, roll-up.
#include "app/MainMenu.h"
#include "app/Unit1.h"
#include "app/WindowChrome.h"
#include "browser/PageCommands.h"
#include "components/browser/EmbeddedWB.h"
#include "components/skin/CaptionBar.h"
#include "components/skin/SkinEngine.h"
#include "components/urlhistory/UrlHistory.h"
#include "platform/Files.h"
#include "platform/Registry.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

class TestWindowChrome : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<TRegistry> registry;
    std::unique_ptr<TUrlHistory> history;
    std::unique_ptr<TfrmQuillmoor> w;

    QAction* entry(const char* menu, const char* caption) const {
        return w->Menu->Action(QString::fromLatin1(menu), QString::fromLatin1(caption));
    }

private slots:
    void initTestCase() {
        registry = std::make_unique<TRegistry>(dir.filePath(QStringLiteral("registry")));
        history = std::make_unique<TUrlHistory>(dir.filePath(QStringLiteral("History.json")));
        // "Chrome.skn" is missing from this program folder; "Energy_Blue.skn" is there.
        SaveFileAtomically(dir.filePath(QStringLiteral("Energy_Blue.skn")),
                           ReadWholeFile(QStringLiteral(QUILLMOOR_SOURCE_DIR "/components/skin/skins/Energy_Blue.skn")));
        w = std::make_unique<TfrmQuillmoor>(*registry, *history, dir.path());
        w->ConfirmExit = [] { return int(QMessageBox::Yes); };
        w->FormCreate();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanupTestCase() { w.reset(); }

    void skinsSwitchAndMissingFileKeepsTheSkin() {
        QCOMPARE(w->styleSheet(), TSkinEngine::BuiltInSkin().StyleSheet);
        QVERIFY(!entry("View", "Skins|Default")->isEnabled());
        entry("View", "Skins|Chrome")->trigger();
        QVERIFY(!entry("View", "Skins|Chrome")->isEnabled());
        QVERIFY(entry("View", "Skins|Default")->isEnabled());
        QCOMPARE(w->styleSheet(), TSkinEngine::BuiltInSkin().StyleSheet);
        entry("View", "Skins|Energy Blue")->trigger();
        QVERIFY(w->styleSheet().contains(QStringLiteral("#0a5bd6")));
        QVERIFY(entry("View", "Skins|Chrome")->isEnabled());
        entry("View", "Skins|Default")->trigger(); // "Option.skn" is not in this folder either
        QVERIFY(w->styleSheet().contains(QStringLiteral("#0a5bd6")));
    }

    void mainMenuSwitchKeepsItsThreeMarks() {
        QVERIFY(w->AdvToolBar3->isVisible());
        entry("Tab", "Main Menu")->trigger();
        QVERIFY(!w->AdvToolBar3->isVisible());
        for (QAction* a : {entry("Tab", "Main Menu"), entry("Options", "Main Menu"), w->Chrome->HideMenu1})
            QVERIFY(!a->isChecked());
        entry("Options", "Main Menu")->trigger();
        QVERIFY(w->AdvToolBar3->isVisible());
        for (QAction* a : {entry("Tab", "Main Menu"), entry("Options", "Main Menu"), w->Chrome->HideMenu1})
            QVERIFY(a->isChecked());
    }

    void statusBarSwitch() {
        entry("Options", "Status Bar")->trigger();
        QVERIFY(!w->statusBar()->isVisible());
        entry("Options", "Status Bar")->trigger();
        QVERIFY(w->statusBar()->isVisible());
    }

    void webToolbarsStayDisabledWhenNotRegistered() {
        for (const char* e : {"Yahoo ToolBar", " Google ToolBar"})
            QVERIFY(!entry("Options", e)->isEnabled());
        for (const char* e : {"Yahoo Bar", " Google Bar"})
            QVERIFY(!entry("Tab", e)->isEnabled());
        for (QAction* a : w->Chrome->tbMenu->actions())
            if (a != w->Chrome->HideMenu1)
                QVERIFY(!a->isEnabled());
        QVERIFY(!w->Chrome->PanelGoogle->isVisible());
        QVERIFY(!w->Chrome->ClassIdRegistered(QString::fromLatin1(TWindowChrome::Google.classId)));
    }

    void registeredToolbarCanBeShownAndHidden() {
        TRegistry classes(dir.filePath(QStringLiteral("registry")), RootKey::HKEY_CLASSES_ROOT);
        QVERIFY(classes.OpenKey(QStringLiteral("CLSID\\") + QString::fromLatin1(TWindowChrome::Yahoo.classId), true));
        classes.WriteString(QString(), QStringLiteral("Yahoo! Toolbar"));
        w->Chrome->SetUpToolbars();
        QVERIFY(entry("Options", "Yahoo ToolBar")->isEnabled());
        entry("Tab", "Yahoo Bar")->trigger();
        QVERIFY(w->Chrome->PanelYahoo->isVisible());
        QVERIFY(entry("Options", "Yahoo ToolBar")->isChecked());
        entry("Options", "Yahoo ToolBar")->trigger();
        QVERIFY(!w->Chrome->PanelYahoo->isVisible());
        QVERIFY(!entry("Tab", "Yahoo Bar")->isChecked());
        QVERIFY(!entry("Options", " Google ToolBar")->isEnabled());
    }

    void minimiseHidesAndRestoreShows() {
        w->Chrome->CaptionBar->SystemMenu()->aboutToShow();
        w->Chrome->SystemCommand(SC_MINIMIZE);
        QVERIFY(!w->isVisible());
        QTest::qWait(0);
        QVERIFY(!w->isVisible());
        w->Chrome->SystemCommand(SC_RESTORE);
        QTRY_VERIFY(w->isVisible());
        QVERIFY(!w->Chrome->SystemCommand(SC_CLOSE)); // left to the default handling
        w->setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(!w->isVisible());
        w->Chrome->SystemCommand(SC_MAXIMIZE);
        QTRY_VERIFY(w->isVisible());
    }

    void rollUpGoesToTheCornerAndStaysOnTop() {
        w->showNormal();
        w->move(200, 150);
        w->Chrome->CaptionBar->SetRolledUp(true);
        QTRY_COMPARE(w->pos(), QPoint(0, 0));
        QVERIFY(w->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(w->isVisible());
        w->Chrome->CaptionBar->SetRolledUp(false);
        QVERIFY(!(w->windowFlags() & Qt::WindowStaysOnTopHint));
        QVERIFY(w->isVisible());
    }

    void pageCommandsAreWired() {
        QVERIFY(entry("File", "Print...")->isEnabled());
        QVERIFY(entry("View", "Encoding|Automatic")->isChecked());
        QVERIFY(!entry("View", "Text Size|Medium")->isEnabled());
        QVERIFY(!entry("File", "Offline Mode")->isChecked());
        QCOMPARE(w->PageCommands->FontBtn->text(), QStringLiteral("Zoom"));
        entry("File", "Offline Mode")->trigger();
        entry("File", "Offline Mode")->trigger();
        QVERIFY(!entry("File", "Offline Mode")->isChecked());
    }
};

QTEST_MAIN(TestWindowChrome)
#include "test_window_chrome.moc"
