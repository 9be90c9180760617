#include "app/WindowChrome.h"

#include "app/MainMenu.h"
#include "browser/TabSet.h"
#include "components/skin/CaptionBar.h"
#include "components/skin/SkinEngine.h"
#include "platform/Registry.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

const std::array<TWindowChrome::Skin, 5> TWindowChrome::Skins{{{"Default", "Option.skn"},
                                                               {"Chrome", "Chrome.skn"},
                                                               {"Energy Blue", "Energy_Blue.skn"},
                                                               {"Lite Media", "LiteMedia.skn"},
                                                               {"Futurist", "Futurist_Blue.skn"}}};
const TWindowChrome::WebToolbar TWindowChrome::Google{"{2318C2B1-4965-11d4-9B18-009027A5CD4F}", "Google ToolBar",
                                                      " Google ToolBar", " Google Bar"};
const TWindowChrome::WebToolbar TWindowChrome::Yahoo{"{EF99BD32-C1FB-11D2-892F-0090271D4F88}", "Yahoo ToolBar",
                                                     "Yahoo ToolBar", "Yahoo Bar"};

TWindowChrome::TWindowChrome(QMainWindow& w, TMainMenu& m, TTabSet& t, TRegistry& reg, const QString& dir,
                             QToolBar* navigation, QToolBar* address)
    : QObject(&w), window(w), menu(m), tabs(t), registry(reg), exeDir(dir), navigationBar(navigation) {
    // The skin draws the frame: no window-manager decorations, our own caption bar.
    window.setWindowFlag(Qt::FramelessWindowHint, true);
    bsBusinessSkinForm1 = new TSkinEngine(this);
    CaptionBar = new TCaptionBar(&window);
    CaptionBar->SetCaption(bsBusinessSkinForm1->Current().Caption);
    CaptionBar->SetSystemMenuItems(menu.PCPopup);
    window.setMenuWidget(CaptionBar);
    bsBusinessSkinForm1->SetForm(&window);
    connect(bsBusinessSkinForm1, &TSkinEngine::SkinChanged, this,
            [this] { CaptionBar->SetCaption(bsBusinessSkinForm1->Current().Caption); });
    connect(CaptionBar, &TCaptionBar::SystemCommand, this, [this](int command) {
        if (!SystemCommand(command) && command == SC_CLOSE)
            window.close();
    });
    connect(CaptionBar, &TCaptionBar::ChangeRollUpState, this, &TWindowChrome::bsBusinessSkinForm1ChangeRollUpState);

    for (size_t i = 0; i < Skins.size(); ++i) {
        QAction* a = menu.Wire(QStringLiteral("View"), QStringLiteral("Skins|") + QString::fromLatin1(Skins[i].caption),
                               [this, i] { Default1Click(int(i)); });
        a->setEnabled(i != 0); // "Default" is in use at start
    }

    // The toolbar menu: context menu of the bars.
    tbMenu = new QMenu(&window);
    tbMenu->setObjectName(QStringLiteral("tbMenu"));
    for (const WebToolbar* bar : {&Yahoo, &Google}) {
        QAction* a = tbMenu->addAction(QString::fromLatin1(bar->toolbarMenuEntry));
        a->setObjectName(QString::fromLatin1(bar->toolbarMenuEntry));
        a->setCheckable(true);
        a->setEnabled(false);
    }
    HideMenu1 = tbMenu->addAction(QStringLiteral("Main Menu"));
    HideMenu1->setObjectName(QStringLiteral("HideMenu1"));
    HideMenu1->setCheckable(true);
    HideMenu1->setChecked(true);
    connect(HideMenu1, &QAction::triggered, this, [this] {
        HideMenu1->setChecked(!HideMenu1->isChecked()); // the command inverts from the old state
        HideMenu1Click();
    });
    for (QToolBar* bar : {navigation, address}) {
        bar->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(bar, &QWidget::customContextMenuRequested, this, [this, bar](const QPoint& at) { tbMenu->popup(bar->mapToGlobal(at)); });
    }
    for (const QString& where : {QStringLiteral("Options"), QStringLiteral("Tab")}) {
        QAction* a = menu.Wire(where, QStringLiteral("Main Menu"), [this] { HideMenu1->trigger(); });
        a->setChecked(true);
    }
    QAction* status = menu.Wire(QStringLiteral("Options"), QStringLiteral("Status Bar"), [this] { StatusBarClick(); });
    status->setChecked(true);

    window.addToolBarBreak();
    PanelGoogle = window.addToolBar(QStringLiteral("Google"));
    PanelGoogle->setObjectName(QStringLiteral("PanelGoogle"));
    window.addToolBarBreak();
    PanelYahoo = window.addToolBar(QStringLiteral("Yahoo"));
    PanelYahoo->setObjectName(QStringLiteral("PanelYahoo"));
    for (QToolBar* dock : {PanelGoogle, PanelYahoo}) {
        dock->setMovable(false);
        dock->hide();
        dock->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(dock, &QWidget::customContextMenuRequested, this, [this, dock](const QPoint& at) { tbMenu->popup(dock->mapToGlobal(at)); });
    }
    for (bool google : {true, false})
        for (QAction* entry : toolbarEntries(google ? Google : Yahoo)) {
            entry->setCheckable(true);
            entry->setEnabled(false);
            connect(entry, &QAction::triggered, this, [this, google, entry] { ToolbarClick(google, entry); });
        }
}

void TWindowChrome::Default1Click(int skin) {
    for (size_t i = 0; i < Skins.size(); ++i)
        menu.Action(QStringLiteral("View"), QStringLiteral("Skins|") + QString::fromLatin1(Skins[i].caption))
            ->setEnabled(int(i) != skin);
    // A missing or empty file keeps the skin in use.
    bsBusinessSkinForm1->LoadFromFile(exeDir + QLatin1Char('/') + QString::fromLatin1(Skins[size_t(skin)].file));
}

void TWindowChrome::HideMenu1Click() {
    const bool shown = !HideMenu1->isChecked();
    HideMenu1->setChecked(shown);
    navigationBar->setVisible(shown);
    menu.Action(QStringLiteral("Options"), QStringLiteral("Main Menu"))->setChecked(shown);
    menu.Action(QStringLiteral("Tab"), QStringLiteral("Main Menu"))->setChecked(shown);
}

void TWindowChrome::StatusBarClick() {
    // The entry's own click has inverted its mark already.
    window.statusBar()->setVisible(menu.Action(QStringLiteral("Options"), QStringLiteral("Status Bar"))->isChecked());
}

std::array<QAction*, 3> TWindowChrome::toolbarEntries(const WebToolbar& bar) const {
    return {tbMenu->findChild<QAction*>(QString::fromLatin1(bar.toolbarMenuEntry)),
            menu.Action(QStringLiteral("Options"), QString::fromLatin1(bar.optionsEntry)),
            menu.Action(QStringLiteral("Tab"), QString::fromLatin1(bar.tabEntry))};
}

bool TWindowChrome::ClassIdRegistered(const QString& classId) const {
    TRegistry classes = registry;
    classes.SetRootKey(RootKey::HKEY_CLASSES_ROOT);
    return classes.OpenKeyReadOnly(QStringLiteral("\\CLSID\\") + classId);
}

void TWindowChrome::hostToolbar(bool google) {
    // The registered toolbar is named by its class id's default value; its host sits in
    // the dock, attached to the browser of the first tab.
    const WebToolbar& bar = google ? Google : Yahoo;
    QToolBar* dock = google ? PanelGoogle : PanelYahoo;
    TRegistry classes = registry;
    classes.SetRootKey(RootKey::HKEY_CLASSES_ROOT);
    QString name = QString::fromLatin1(bar.toolbarMenuEntry);
    if (classes.OpenKeyReadOnly(QStringLiteral("\\CLSID\\") + QString::fromLatin1(bar.classId)) &&
        !classes.ReadString(QString()).isEmpty())
        name = classes.ReadString(QString());
    auto* host = new QLabel(name, dock);
    dock->addWidget(host);
    (google ? GoogleToolBarHost : YahooToolBarHost) = host;
}

void TWindowChrome::SetUpToolbars() {
    for (bool google : {true, false}) {
        const WebToolbar& bar = google ? Google : Yahoo;
        (google ? GoogleToolBarHost : YahooToolBarHost) = nullptr;
        (google ? PanelGoogle : PanelYahoo)->hide();
        const auto entries = toolbarEntries(bar);
        const bool registered = ClassIdRegistered(QString::fromLatin1(bar.classId));
        entries[0]->setEnabled(registered);
        if (registered) {
            hostToolbar(google);
            entries[0]->setChecked(false);
            entries[1]->setEnabled(true);
            entries[2]->setEnabled(true);
        }
    }
}

void TWindowChrome::ToolbarClick(bool google, QAction* entry) {
    const auto entries = toolbarEntries(google ? Google : Yahoo);
    const bool wasMarked = !entry->isChecked(); // the click toggled it
    entry->setChecked(wasMarked);
    if (!(google ? GoogleToolBarHost : YahooToolBarHost))
        return;
    QToolBar* dock = google ? PanelGoogle : PanelYahoo;
    if (wasMarked) {
        dock->hide();
        for (QAction* a : entries)
            a->setChecked(false);
    } else {
        for (QAction* a : entries)
            a->setChecked(true);
        dock->show();
        tabs.SelectTabSilently(tabs.PageControl->widget(0));
        hostToolbar(google);
    }
}

void TWindowChrome::showAndAgain(void (QWidget::*how)()) {
    (window.*how)();
    QTimer::singleShot(0, &window, [this, how] { (window.*how)(); });
}

bool TWindowChrome::SystemCommand(int command) {
    switch (command & 0xFFF0) {
    case SC_MINIMIZE:
        showAndAgain(&QWidget::hide);
        return true;
    case SC_MAXIMIZE:
        showAndAgain(&QWidget::showMaximized);
        return true;
    case SC_RESTORE:
        showAndAgain(&QWidget::showNormal);
        return true;
    default:
        return false;
    }
}

void TWindowChrome::bsBusinessSkinForm1ChangeRollUpState(bool rolledUp) {
    const QRect screen = window.screen() ? window.screen()->geometry() : QRect();
    window.move(screen.topLeft());
    window.setWindowFlag(Qt::WindowStaysOnTopHint, rolledUp);
    window.show(); // changing the flags hides the window
}
