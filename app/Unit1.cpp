#include "app/Unit1.h"

#include "app/ContactPanel.h"
#include "app/HotKeyPanel.h"
#include "app/MainMenu.h"
#include "app/ToolLauncher.h"
#include "app/WindowChrome.h"
#include "components/skin/CaptionBar.h"
#include "app/Tools.h"
#include "browser/ImageList.h"
#include "browser/InternetOptions.h"
#include "browser/Navigation.h"
#include "browser/OfflineInterceptor.h"
#include "browser/PageCommands.h"
#include "browser/StatusBar.h"
#include "browser/TabSet.h"
#include "components/browser/EmbeddedWB.h"
#include "components/urlhistory/UrlHistory.h"
#include "platform/ConnectionState.h"
#include "platform/HotKeys.h"
#include "platform/IniFile.h"
#include "platform/ScreenSaver.h"
#include "platform/TaskbarButton.h"
#include "search/SearchBox.h"
#include "search/WebServices.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWebEngineProfile>
#include <QToolBar>
#include <QToolButton>

namespace {
quint64 TickCount() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return quint64(clock.elapsed());
}
} // namespace

QString FormatElapsed(quint32 seconds) {
    const quint32 hours = seconds / 3600;
    const quint32 minutes = (seconds - 3600 * hours) / 60;
    const quint32 rest = seconds - 3600 * hours - 60 * minutes;
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes).arg(rest);
}

TfrmQuillmoor::TfrmQuillmoor(TRegistry& reg, TUrlHistory& hist, const QString& exeDir, QWidget* parent)
    : QMainWindow(parent), ExeDir(exeDir), registry(reg), history(hist) {
    setObjectName(QStringLiteral("frmQuillmoor"));
    setWindowTitle(QStringLiteral("Quillmoor v5.10"));
    resize(1028, 600);
    Ini = new TIniFile(ExeDir + QStringLiteral("/Mail.ini"));

    Tabs = new TTabSet(this);
    StatusBar1 = new TStatusBar(this);
    setStatusBar(StatusBar1);
    Navigation = new TNavigation(this, *Tabs, *StatusBar1, registry, &history);
    Menu = new TMainMenu(this, new QMenuBar);
    HotKeys = new TGlobalHotKeys(this);
    GroupBox4 = new THotKeyPanel(*Ini, *HotKeys, this);
    GroupBox4->hide();
    Panel14 = new TContactPanel(this);
    Launcher = new TToolLauncher(*Tabs, this);
    buildBars();

    // Content row: side panel, tab set.
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    PageControl1 = new QTabWidget(splitter);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    for (const char* name : {"Favorites", "Cookies", "IP"}) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        PageControl1->addTab(page, QString::fromLatin1(name));
    }
    PageControl1->setFixedWidth(209);
    splitter->addWidget(PageControl1);
    splitter->addWidget(Tabs->PageControl);
    splitter->setStretchFactor(1, 1);
    splitter->setHandleWidth(3);
    setCentralWidget(splitter);
    PageControl1->hide();
    GroupBox4->raise();
    Panel14->raise();

    wireMenus();
    wirePageCommands();
    Chrome = new TWindowChrome(*this, *Menu, *Tabs, registry, ExeDir, AdvToolBar3, AdvToolBar2);
    attachSearch();
    Tabs->PageControl->tabBar()->installEventFilter(this);

    connect(GroupBox4, &THotKeyPanel::ScreenSaverKey, this, [] { StartScreenSaver(); });
    connect(GroupBox4, &THotKeyPanel::ShowKey, this, [this] {
        show();
        QTimer::singleShot(0, this, [this] { show(); });
    });
    connect(GroupBox4, &THotKeyPanel::HideKey, this, [this] {
        hide();
        QTimer::singleShot(0, this, [this] { hide(); });
    });

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TfrmQuillmoor::Timer1Timer);
}

TfrmQuillmoor::~TfrmQuillmoor() {
    TEmbeddedWB::SetProgramEnding(true);
    // The pages go first, while the modules they report to still exist; the hot-key
    // panel before the settings file it writes to.
    delete centralWidget();
    delete GroupBox4;
    delete Ini;
}

void TfrmQuillmoor::buildBars() {
    AdvToolBar3 = addToolBar(QStringLiteral("Navigation"));
    AdvToolBar3->setObjectName(QStringLiteral("AdvToolBar3"));
    AdvToolBar3->setMovable(false);
    AdvToolBar3->setIconSize(QSize(16, 16));
    AdvToolBar3->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    AdvToolBar3->addWidget(Menu->MainMenu1);
    AdvToolBar3->addSeparator();
    for (QToolButton* b : {Navigation->ToolbtnBack, Navigation->ToolBtnForward, Navigation->ToolBtnStop,
                           Navigation->ToolBtnRefresh})
        AdvToolBar3->addWidget(b);
    auto action = [this](const char* name, const QString& text, int image, const QString& hint = {}) {
        auto* a = AdvToolBar3->addAction(TImageList::Icon(image), text);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint.isEmpty() ? text : hint);
        a->setEnabled(false);
        return a;
    };
    // Page buttons show their pictures; the tool buttons keep their captions.
    auto iconOnly = [this](QAction* a) {
        if (auto* b = qobject_cast<QToolButton*>(AdvToolBar3->widgetForAction(a)))
            b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        return a;
    };
    iconOnly(action("ToolBtnSearch", QStringLiteral("Search"), TImageList::Search));
    iconOnly(action("ToolBtnFavorites", QStringLiteral("Favorites"), TImageList::Favorites));
    AdvToolBar3->addWidget(Navigation->HomeBtn);
    iconOnly(action("PrintBtn", QStringLiteral("Print"), TImageList::Print));
    QAction* open = iconOnly(action("OpenBtn", QStringLiteral("Open"), TImageList::Open));
    open->setEnabled(true);
    connect(open, &QAction::triggered, Tabs, &TTabSet::Open1Click);
    TToolButtons toolButtons;
    toolButtons.insert(QStringLiteral("FTPbtn"), action("FTPbtn", QStringLiteral("FTP"), TImageList::Ftp));
    toolButtons.insert(QStringLiteral("EmailBtn"),
                       action("EmailBtn", QStringLiteral("Emal"), TImageList::Email, QStringLiteral("Emai")));
    toolButtons.insert(QStringLiteral("RSSbtn"), action("RSSbtn", QStringLiteral("RSS Reader"), TImageList::Rss));
    QAction* keys = action("HotKeyBtn", QStringLiteral("Quillmoor Keys"), TImageList::HotKeys);
    keys->setEnabled(true);
    connect(keys, &QAction::triggered, this, [this] {
        GroupBox4->setVisible(!GroupBox4->isVisible());
        if (GroupBox4->isVisible()) {
            CenterInClient(GroupBox4, this);
            GroupBox4->raise();
        }
    });

    addToolBarBreak();
    AdvToolBar2 = addToolBar(QStringLiteral("Address"));
    AdvToolBar2->setObjectName(QStringLiteral("AdvToolBar2"));
    AdvToolBar2->setMovable(false);
    AdvToolBar2->setIconSize(QSize(16, 16));
    AdvToolBar2->addWidget(Navigation->btnSecurity);
    AdvToolBar2->addWidget(Navigation->NewPageBtn);
    AdvToolBar2->addWidget(Navigation->edURL);
    AdvToolBar2->addWidget(Navigation->btnGo);
    SearchSlot = new QWidget(AdvToolBar2);
    SearchSlot->setObjectName(QStringLiteral("SearchSlot"));
    auto* slotLayout = new QHBoxLayout(SearchSlot);
    slotLayout->setContentsMargins(4, 0, 4, 0);
    AdvToolBar2->addWidget(SearchSlot);
    ExitBtn = new QToolButton(AdvToolBar2);
    ExitBtn->setObjectName(QStringLiteral("ExitBtn"));
    ExitBtn->setText(QStringLiteral("Exit"));
    ExitBtn->setIcon(TImageList::Icon(TImageList::Exit));
    ExitBtn->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ExitBtn->setFixedSize(60, 24);
    connect(ExitBtn, &QToolButton::clicked, this, &TfrmQuillmoor::Exit1Click);
    AdvToolBar2->addWidget(ExitBtn);

    RegisterTools(*Launcher, *Menu, toolButtons, TToolServices{registry, *Ini, ExeDir, *Tabs, history});
}

void TfrmQuillmoor::wirePageCommands() {
    Connection = new TConnectionState(this);
    // While offline the engine makes no network request.
    TEmbeddedWB::SharedProfile()->setUrlRequestInterceptor(new TOfflineInterceptor(*Connection, this));
    TMainMenu& m = *Menu;
    const QString file = QStringLiteral("File"), edit = QStringLiteral("Edit"), view = QStringLiteral("View");
    TPageCommandEntries entries;
    for (size_t i = 0; i < TPageCommands::Encodings.size(); ++i)
        entries.Encoding[i] = m.Action(view, QStringLiteral("Encoding|") + QString::fromLatin1(TPageCommands::Encodings[i].caption));
    for (size_t level = 0; level < TPageCommands::TextSizeCaptions.size(); ++level)
        entries.TextSize[level] =
            m.Action(view, QStringLiteral("Text Size|") + QString::fromLatin1(TPageCommands::TextSizeCaptions[level]));
    entries.TextSizeMenu = m.Menu(QStringLiteral("View|Text Size"));
    entries.OfflineMode1 = m.Action(file, QStringLiteral("Offline Mode"));
    entries.DesignMode1 = m.Action(view, QStringLiteral("Design Mode (beta)"));
    TPageCommandHost host;
    host.ActiveBrowser = [this] { return ActiveBrowser(); };
    host.OpenInNewTab = [this](const QString& address) { Tabs->OpenInNewTab(address); };
    host.ShowInternetOptions = [this] { InternetOptions1Click(); };
    PageCommands = new TPageCommands(host, *Connection, entries, this);
    TPageCommands* p = PageCommands;
    m.Wire(file, QStringLiteral("Save As..."), [p] { p->SaveAs1Click(); });
    m.Wire(file, QStringLiteral("Print..."), [p] { p->Print1Click(); });
    m.Wire(file, QStringLiteral("Print Preview"), [p] { p->PrintPreview1Click(); });
    m.Wire(file, QStringLiteral("Page Setup"), [p] { p->PageSetup1Click(); });
    m.Wire(file, QStringLiteral("Properties"), [p] { p->Properties1Click(); });
    m.Wire(edit, QStringLiteral("Cut"), [p] { p->Cut1Click(); });
    m.Wire(edit, QStringLiteral("Copy"), [p] { p->Copy1Click(); });
    m.Wire(edit, QStringLiteral("Paste"), [p] { p->Paste1Click(); });
    m.Wire(edit, QStringLiteral("Select All"), [p] { p->SelectAll1Click(); });
    m.Wire(edit, QStringLiteral("Search (Current Page)..."), [p] { p->Search1Click(); });
    m.Wire(view, QStringLiteral("Source Code"), [p] { p->ViewSource1Click(); });
    m.Wire(QStringLiteral("Tools"), QStringLiteral("Internet Options..."), [p] { p->InternetOptions1Click(); });
    for (const char* name : {"PrintBtn", "ToolBtnSearch"}) {
        QAction* button = findChild<QAction*>(QString::fromLatin1(name));
        button->setEnabled(true);
        connect(button, &QAction::triggered, p, name[0] == 'P' ? &TPageCommands::PrintBtnClick : &TPageCommands::ToolBtnSearchClick);
    }
    // The zoom drop-down lives in status panel 0.
    p->FontBtn->setParent(StatusBar1->Panel(0));
    p->FontBtn->setGeometry(0, 0, 75, 19);
    p->FontBtn->show();
}

void TfrmQuillmoor::InternetOptions1Click() {
    TInternetOptionsHost host;
    host.Registry = &registry;
    host.Profile = TEmbeddedWB::SharedProfile();
    host.CurrentPage = [this] {
        TEmbeddedWB* b = ActiveBrowser();
        return b ? b->LocationURL() : QString();
    };
    host.PopupsAllowed = [this] { return Tabs->PopupsAllowed; };
    host.SetPopupsAllowed = [this](bool allow) {
        if (allow != Tabs->PopupsAllowed)
            AllowPopUp1Click();
    };
    host.ClearHistory = [this] { history.Clear(); };
    TInternetOptionsDialog dialog(host, this);
    dialog.exec();
}

void TfrmQuillmoor::wireMenus() {
    TMainMenu& m = *Menu;
    const QString file = QStringLiteral("File"), edit = QStringLiteral("Edit"), tab = QStringLiteral("Tab"),
                  help = QStringLiteral("Help");
    m.Wire(file, QStringLiteral("New"), [this] { Tabs->NewTabBlankClick(); });
    m.Wire(file, QStringLiteral("Open..."), [this] { Tabs->Open1Click(); });
    m.Wire(file, QStringLiteral("Exit"), [this] { Exit1Click(); });
    m.Wire(edit, QStringLiteral("Allow PopUp"), [this] {
        // The entry has toggled itself already; the command toggles from the old state.
        QAction* a = Menu->Action(QStringLiteral("Edit"), QStringLiteral("Allow PopUp"));
        a->setChecked(!a->isChecked());
        AllowPopUp1Click();
    });
    m.Wire(tab, QStringLiteral("Allow PopUp"), [this] { AllowPopUp2Click(); });
    m.Wire(tab, QStringLiteral("Close Tab"), [this] { Tabs->CloseTab1Click(); });
    m.Wire(tab, QStringLiteral("Copy Tab"), [this] { Tabs->DuplicateTab1Click(); });
    m.Wire(tab, QStringLiteral("Open"), [this] { Tabs->Open1Click(); });
    m.Wire(tab, QStringLiteral("New Page"), [this] { Navigation->NewPageBtnClick(); });
    m.Wire(tab, QStringLiteral("Home"), [this] { Navigation->HomeBtnClick(); });
    m.Wire(tab, QStringLiteral("Quillmoor Keys"), [this] { findChild<QAction*>(QStringLiteral("HotKeyBtn"))->trigger(); });
    m.Wire(help, QStringLiteral("Register"), [this] { Register1Click(); });
}

// The search box in SearchSlot; the quick-link menus under Options; "Send Link of
// Current Page" under Tools.
void TfrmQuillmoor::attachSearch() {
    SearchBox = new search::TSearchBox(search::InitSearchEndpoints(), {[this] { return ActiveBrowser(); }},
                                       SearchSlot);
    SearchSlot->layout()->addWidget(SearchBox);

    search::TWebServicesHost host;
    host.ActiveBrowser = [this] { return ActiveBrowser(); };
    host.OpenInNewTab = [this](const QString& address) { return Tabs->OpenInNewTab(address); };
    host.AddressText = [this] { return Navigation->edURL->currentText(); };
    WebServices = new search::TWebServices(search::LoadQuickLinks(), search::LoadTranslations(), host, this);
    QList<QMenu*> subMenus;
    for (const search::TQuickLinkMenu& m : WebServices->Menus()) {
        QAction* entry = Menu->Action(QStringLiteral("Options"), m.Caption);
        auto* sub = new QMenu(this);
        sub->setObjectName(m.Caption);
        entry->setMenu(sub);
        entry->setEnabled(true);
        subMenus << sub;
    }
    WebServices->FillMenus(subMenus);
    Menu->Wire(QStringLiteral("Tools"), QStringLiteral("Send Link of Current Page"),
               [this] { WebServices->SendLinkofCurrentPage1Click(); });
}

TEmbeddedWB* TfrmQuillmoor::ActiveBrowser() const { return Tabs->ActiveBrowser(); }
QString TfrmQuillmoor::DocumentTitle() { return Navigation->DocumentTitle(); }

void TfrmQuillmoor::FormCreate() {
    Tabs->CurrentBrowser = Tabs->WebBrowser1;
    Tabs->WebBrowser1->ForwardEnabled = false;
    Tabs->WebBrowser1->BackEnabled = false;
    Tabs->WebBrowser1->TabTitle.clear();
    GroupBox4->LoadAndRegister();
    StartTick = TickCount();
    Timer1->start();
    Timer1Timer();
    QDir().mkpath(ExeDir + QStringLiteral("/Screen")); // failure is not fatal
    Navigation->btnGoClick();
}

void TfrmQuillmoor::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown) {
        shown = true;
        FormShow();
    }
}

void TfrmQuillmoor::FormShow() {
    HideTaskbarButton(this);
    if (QWidget* tab = Tabs->PageControl->currentWidget())
        Tabs->SetTabCaption(tab, windowTitle());
    PageControl1->hide();
    Navigation->IETravelLog1.SetEmbeddedWB(Tabs->WebBrowser1);
    Chrome->SetUpToolbars();
    AllowPopUp1Click();
    // A frameless window is maximised by the window manager if there is one; without one
    // it is given the screen's work area directly.
    QTimer::singleShot(0, this, [this] {
        if (isMaximized() && screen() && geometry() != screen()->availableGeometry())
            setGeometry(screen()->availableGeometry());
    });
}

void TfrmQuillmoor::AllowPopUp1Click() {
    QAction* editEntry = Menu->Action(QStringLiteral("Edit"), QStringLiteral("Allow PopUp"));
    QAction* tabEntry = Menu->Action(QStringLiteral("Tab"), QStringLiteral("Allow PopUp"));
    const bool allow = !editEntry->isChecked();
    editEntry->setChecked(allow);
    tabEntry->setChecked(allow);
    Tabs->PopupsAllowed = allow;
}

void TfrmQuillmoor::AllowPopUp2Click() {
    // The tab entry has toggled itself; the Edit entry follows it to the same state.
    QAction* editEntry = Menu->Action(QStringLiteral("Edit"), QStringLiteral("Allow PopUp"));
    QAction* tabEntry = Menu->Action(QStringLiteral("Tab"), QStringLiteral("Allow PopUp"));
    const bool allow = tabEntry->isChecked();
    Tabs->PopupsAllowed = allow;
    editEntry->setChecked(!allow);
    AllowPopUp1Click();
}

void TfrmQuillmoor::Timer1Timer() {
    const quint32 seconds = quint32(TickCount() / 1000 - StartTick / 1000);
    StatusBar1->SetPanelText(1, FormatElapsed(seconds) + QStringLiteral("   ") +
                                    QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void TfrmQuillmoor::Register1Click() {
    Panel14->show();
    CenterInClient(Panel14, this);
    Panel14->raise();
}

void TfrmQuillmoor::Exit1Click() { close(); }

void TfrmQuillmoor::closeEvent(QCloseEvent* event) {
    if (closed) {
        event->accept();
        return;
    }
    const int answer = ConfirmExit ? ConfirmExit()
                                   : QMessageBox::question(this, QStringLiteral("Yes or No?"),
                                                           QStringLiteral("Are you sure to Exit?"),
                                                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    // A tool busy with work (a grab) refuses, and then the program stays.
    if (answer != QMessageBox::Yes || !Launcher->CanCloseAll()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfrmQuillmoor::changeEvent(QEvent* event) {
    // Minimising hides the window completely: it never becomes an icon or a taskbar button.
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        Chrome->SystemCommand(SC_MINIMIZE);
    }
    QMainWindow::changeEvent(event);
}

void TfrmQuillmoor::FormClose() {
    closed = true;
    Timer1->stop();
    GroupBox4->Release();
    TEmbeddedWB::SetProgramEnding(true);
}

void TfrmQuillmoor::PageControlMouseDown(int index, const QPoint& globalPos, bool showMenu) {
    QWidget* tab = Tabs->PageControl->widget(index);
    if (!tab)
        return;
    Tabs->SelectTabSilently(tab);
    const TToolLauncher::Tool* mail = Launcher->Find(QStringLiteral("Email"));
    const TToolLauncher::Tool* urls = Launcher->Find(QStringLiteral("URL History"));
    const bool fixed = Tabs->IsFirstTab(tab) || (mail && mail->Tab == tab) || (urls && urls->Tab == tab);
    Menu->Action(QStringLiteral("Tab"), QStringLiteral("Close Tab"))->setEnabled(!fixed);
    Menu->Action(QStringLiteral("Tab"), QStringLiteral("Copy Tab"))->setEnabled(TTabSet::BrowserOf(tab) != nullptr);
    if (showMenu)
        Menu->PCPopup->popup(globalPos);
}

bool TfrmQuillmoor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Tabs->PageControl->tabBar() && event->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton) {
            const int index = Tabs->PageControl->tabBar()->tabAt(me->position().toPoint());
            if (index >= 0)
                PageControlMouseDown(index, me->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
