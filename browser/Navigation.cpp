#include "browser/Navigation.h"

#include "browser/ImageList.h"
#include "browser/StatusBar.h"
#include "browser/TabSet.h"
#include "browser/TypedUrls.h"
#include "components/browser/EmbeddedWB.h"
#include "components/urlhistory/UrlHistory.h"
#include "platform/Sound.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>
#include <QToolButton>

const QString TNavigation::PopupBlockedText = QStringLiteral("PopUp are blocked, go to Edit menu to allow popups.");

namespace {
const QString BuiltInStartPage = QStringLiteral("qrc:/browser/start.html");
const QString PopupSound = QStringLiteral("c:\\windows\\media\\Windows Pop-up Blocked.wav");

QToolButton* Button(QWidget* parent, const char* name, const QString& text, int image) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(text);
    b->setToolTip(text);
    b->setIcon(TImageList::Icon(image));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(true);
    return b;
}

// Enter in the address box sends it; the combo box's own handling of the key is skipped
// so that one key press navigates once.
class EnterFilter : public QObject {
public:
    EnterFilter(QObject* parent, std::function<void()> onEnter) : QObject(parent), onEnter(std::move(onEnter)) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                onEnter();
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }
    std::function<void()> onEnter;
};
} // namespace

TNavigation::TNavigation(QWidget* w, TTabSet& t, TStatusBar& s, TRegistry& r, TUrlHistory* h)
    : QObject(w), window(w), tabs(t), statusBar(s), registry(r), history(h), typed(new TTypedUrls(r)) {
    ToolbtnBack = Button(w, "ToolbtnBack", QStringLiteral("Back"), TImageList::Back);
    ToolBtnForward = Button(w, "ToolBtnForward", QStringLiteral("Forward"), TImageList::Forward);
    ToolBtnStop = Button(w, "ToolBtnStop", QStringLiteral("Stop"), TImageList::Stop);
    ToolBtnRefresh = Button(w, "ToolBtnRefresh", QStringLiteral("Refresh"), TImageList::Refresh);
    HomeBtn = Button(w, "HomeBtn", QStringLiteral("Home"), TImageList::Home);
    // The navigation buttons show their pictures only (captions as hints), so the bar
    // with the main menu fits the window.
    for (QToolButton* b : {ToolbtnBack, ToolBtnForward, ToolBtnStop, ToolBtnRefresh, HomeBtn})
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btnSecurity = Button(w, "btnSecurity", QString(), TImageList::Secure);
    btnSecurity->setToolTip(QStringLiteral("Security Level"));
    btnSecurity->setToolButtonStyle(Qt::ToolButtonIconOnly);
    NewPageBtn = Button(w, "NewPageBtn", QStringLiteral("New Page"), TImageList::NewPage);
    btnGo = new QPushButton(TImageList::Icon(TImageList::Go), QStringLiteral("Go"), w);
    btnGo->setObjectName(QStringLiteral("btnGo"));

    // Back and Forward each drop down the travel log's entries on their side.
    for (QToolButton* b : {ToolbtnBack, ToolBtnForward}) {
        auto* menu = new QMenu(b);
        const bool back = b == ToolbtnBack;
        b->setPopupMode(QToolButton::MenuButtonPopup);
        b->setMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this, menu, back] {
            PopupMenu1 = menu;
            FillTravelMenu(back);
        });
    }
    PopupMenu1 = ToolbtnBack->menu();
    ToolBtnForward->setEnabled(false);
    ToolBtnStop->setEnabled(false);

    edURL = new QComboBox(w);
    edURL->setObjectName(QStringLiteral("edURL"));
    edURL->setEditable(true);
    edURL->setInsertPolicy(QComboBox::NoInsert);
    edURL->setMaxVisibleItems(TTypedUrls::MaxCount);
    edURL->setMinimumWidth(250);
    edURL->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    edURL->setCompleter(nullptr); // no in-line completion; suggestions come in a drop-down
    completions = new QStringListModel(this);
    completer = new QCompleter(completions, this);
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setWidget(edURL->lineEdit());
    connect(edURL->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        completions->setStringList(Completions(text));
        if (completions->rowCount() > 0)
            completer->complete();
        else
            completer->popup()->hide();
    });
    connect(completer, qOverload<const QString&>(&QCompleter::activated), this, [this](const QString& text) {
        edURL->setEditText(text);
        edURLUrlSelected();
    });
    edURL->lineEdit()->installEventFilter(new EnterFilter(this, [this] {
        if (completer->popup()->isVisible())
            completer->popup()->hide();
        if (!edURL->currentText().trimmed().isEmpty())
            edURLUrlSelected();
    }));
    connect(edURL, qOverload<int>(&QComboBox::activated), this, [this](int) { edURLUrlSelected(); });
    ReloadTypedList();
    const QStringList list = typed->Load();
    edURL->setEditText(list.isEmpty() ? QString() : list.first().trimmed());

    connect(btnGo, &QPushButton::clicked, this, &TNavigation::btnGoClick);
    connect(ToolbtnBack, &QToolButton::clicked, this, &TNavigation::ToolbtnBackClick);
    connect(ToolBtnForward, &QToolButton::clicked, this, &TNavigation::ToolBtnForwardClick);
    connect(ToolBtnStop, &QToolButton::clicked, this, &TNavigation::ToolBtnStopClick);
    connect(ToolBtnRefresh, &QToolButton::clicked, this,
            [this] { ToolBtnRefreshClick(QApplication::keyboardModifiers() & Qt::ControlModifier); });
    connect(HomeBtn, &QToolButton::clicked, this, &TNavigation::HomeBtnClick);
    connect(NewPageBtn, &QToolButton::clicked, this, &TNavigation::NewPageBtnClick);

    connect(&tabs, &TTabSet::PageControlChange, this, &TNavigation::PageControlChange);
    connect(&tabs, &TTabSet::PopupBlocked, this, &TNavigation::PopupBlocked);
    connect(&tabs, &TTabSet::BrowserCreated, this, &TNavigation::ConnectBrowser);
    ConnectBrowser(tabs.WebBrowser1, true);
    IETravelLog1.SetEmbeddedWB(tabs.WebBrowser1);
}

TNavigation::~TNavigation() { delete typed; }

QWidget* TNavigation::tabOf(TEmbeddedWB* wb) const {
    for (int i = 0; i < tabs.PageControl->count(); ++i)
        if (TTabSet::BrowserOf(tabs.PageControl->widget(i)) == wb)
            return tabs.PageControl->widget(i);
    return nullptr;
}

bool TNavigation::isActive(TEmbeddedWB* wb) const { return wb && wb == tabs.ActiveBrowser(); }

void TNavigation::ConnectBrowser(TEmbeddedWB* wb, bool firstTab) {
    connect(wb, &TEmbeddedWB::StatusTextChange, this, [this, wb](const QString& t) { statusTextChange(wb, t); });
    connect(wb, &TEmbeddedWB::ProgressChange, this, [this, wb](int p, int m) { progressChange(wb, p, m); });
    connect(wb, &TEmbeddedWB::TitleChange, this, [this, wb](const QString& t) { titleChange(wb, t); });
    connect(wb, &TEmbeddedWB::CommandStateChange, this, [this, wb](int c, bool e) { commandStateChange(wb, c, e); });
    connect(wb, &TEmbeddedWB::DownloadBegin, this, &TNavigation::UpdateStopButton);
    connect(wb, &TEmbeddedWB::DownloadComplete, this, [this, wb] { downloadComplete(wb); });
    connect(wb, &TEmbeddedWB::DocumentComplete, this, [this, wb](bool top, const QUrl&) { documentComplete(wb, top); });
    connect(wb, &TEmbeddedWB::SetSecureLockIcon, this, [this, wb](int level) { setSecureLockIcon(wb, level); });
    // Every tab feeds the URL history.
    if (history) {
        connect(wb, &TEmbeddedWB::NavigateComplete2, this, [this](const QUrl& url) { history->Visit(url.toString()); });
        connect(wb, &TEmbeddedWB::TitleChange, this, [this, wb](const QString& t) {
            if (!t.isEmpty())
                history->SetTitle(wb->LocationURL(), t);
        });
    }
    if (!firstTab)
        return;
    connect(wb, &TEmbeddedWB::BeforeNavigate2, this, [this](const QUrl&, bool, bool&) { ToolBtnStop->setEnabled(true); });
    connect(wb, &TEmbeddedWB::NavigateComplete2, this, [this, wb](const QUrl&) {
        if (isActive(wb))
            edURL->setEditText(wb->LocationURL());
        ShowSecurityState();
    });
    connect(wb, &TEmbeddedWB::PropertyChange, this, &TNavigation::UpdateStopButton);
    // Script errors of the first tab stop the script and never show a dialog.
    connect(wb, &TEmbeddedWB::ScriptError, this,
            [](int, int, int, const QString&, const QString&, bool& cont, bool& show) {
                cont = false;
                show = false;
            });
}

void TNavigation::btnGoClick() {
    const QString text = edURL->currentText().trimmed();
    if (!text.isEmpty()) {
        if (QPointer<TEmbeddedWB> wb = tabs.ActiveBrowser()) {
            wb->Go(text);
            if (wb)
                wb->FocusDocument();
        }
    }
    if (QWidget* tab = tabs.PageControl->currentWidget())
        tabs.SetTabCaption(tab, window->windowTitle());
}

void TNavigation::edURLUrlSelected() {
    const QString text = edURL->currentText().trimmed();
    btnGoClick();
    if (!ToolbtnBack->isEnabled())
        ToolbtnBack->setEnabled(true);
    if (text.isEmpty())
        return;
    typed->Add(text);
    const QString shown = edURL->currentText();
    ReloadTypedList();
    edURL->setEditText(shown);
}

void TNavigation::ReloadTypedList() {
    const QString text = edURL->currentText();
    edURL->blockSignals(true);
    edURL->clear();
    edURL->addItems(typed->Load());
    edURL->setCurrentIndex(-1);
    edURL->setEditText(text);
    edURL->blockSignals(false);
}

QStringList TNavigation::Completions(const QString& text) const {
    return AddressCompletions(text, typed->Load(), history);
}

void TNavigation::ToolbtnBackClick() {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    if (wb && wb->DocumentLoaded())
        wb->GoBack();
    edURL->update();
}

void TNavigation::ToolBtnForwardClick() {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    if (wb && wb->DocumentLoaded())
        wb->GoForward();
    edURL->update();
}

void TNavigation::FillTravelMenu(bool back) {
    PopupMenu1 = (back ? ToolbtnBack : ToolBtnForward)->menu();
    TravelMenuItems.clear();
    PopupMenu1->clear();
    IETravelLog1.SetEmbeddedWB(tabs.ActiveBrowser());
    if (!IETravelLog1.Connect())
        return;
    TravelBack = back;
    auto add = [this](const TIETravelLog::Entry& e) {
        const int index = TravelMenuItems.size();
        TravelMenuItems.push_back({e.Title, e.Url});
        QAction* a = PopupMenu1->addAction(QString(e.Title).replace(QLatin1Char('&'), QLatin1String("&&")));
        a->setToolTip(e.Url);
        connect(a, &QAction::triggered, this, [this, index] { TravelMenuItemClick(index); });
        return TravelMenuItems.size() < 30;
    };
    if (back)
        IETravelLog1.EnumerateBack(add);
    else
        IETravelLog1.EnumerateForward(add);
}

void TNavigation::TravelMenuItemClick(int index) {
    IETravelLog1.TravelTo(TravelBack ? -(index + 1) : index + 1);
}

void TNavigation::ToolBtnStopClick() {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    if (wb && wb->Busy())
        wb->Stop();
    UpdateStopButton();
}

void TNavigation::ToolBtnRefreshClick(bool complete) {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    if (!wb || !wb->DocumentLoaded())
        return;
    if (complete)
        wb->Refresh2(3);
    else
        wb->Refresh();
    ToolBtnStop->setEnabled(true);
}

void TNavigation::HomeBtnClick() {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    if (!wb)
        return;
    const QString start = StartPageOf(registry);
    wb->HomePage = start.isEmpty() ? BuiltInStartPage : start;
    wb->GoHome();
}

void TNavigation::NewPageBtnClick() {
    tabs.NewPageClick();
    edURL->setFocus(Qt::OtherFocusReason);
    IETravelLog1.SetEmbeddedWB(tabs.ActiveBrowser());
    window->setWindowTitle(QStringLiteral("Blank Page"));
}

QString TNavigation::DocumentTitle() {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    if (wb && wb->DocumentLoaded()) {
        const QString t = wb->DocumentTitle();
        if (!t.isEmpty())
            LastTitle = t;
    }
    return LastTitle;
}

void TNavigation::setAddressColor(const QColor& color) {
    QPalette p = edURL->palette();
    p.setColor(QPalette::Base, color);
    edURL->setPalette(p);
    edURL->lineEdit()->setPalette(p);
}

void TNavigation::ShowSecurityState() {
    secureLook = statusBar.PanelText(5) != QLatin1String("Security Level: UnSecure");
    btnSecurity->setIcon(TImageList::Icon(secureLook ? TImageList::Secure : TImageList::NotSecure));
    setAddressColor(QApplication::palette().color(secureLook ? QPalette::ToolTipBase : QPalette::Base));
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    const QUrl url = wb ? wb->page()->url() : QUrl();
    statusBar.StatusBar1DrawPanel(wb ? &url : nullptr);
}

void TNavigation::UpdateStopButton() {
    TEmbeddedWB* wb = tabs.ActiveBrowser();
    ToolBtnStop->setEnabled(wb && wb->Busy());
}

void TNavigation::progressChange(TEmbeddedWB* wb, int progress, int maximum) {
    UpdateStopButton();
    if (maximum == 0 || !isActive(wb))
        return;
    statusBar.ProgressBar1->show();
    const int v = progress * 100 / maximum;
    statusBar.ProgressBar1->setValue(v);
    if (QWidget* tab = tabOf(wb))
        tabs.SetTabImage(tab, v % 2 ? TImageList::Loading1 : TImageList::Loading2);
}

void TNavigation::titleChange(TEmbeddedWB* wb, const QString& text) {
    wb->TabTitle = text;
    if (QWidget* tab = tabOf(wb))
        tabs.SetTabCaption(tab, text);
    if (!isActive(wb))
        return;
    window->setWindowTitle(DocumentTitle());
    edURL->setEditText(wb->LocationURL());
    statusBar.SetPanelText(2, text);
    ShowSecurityState();
}

void TNavigation::statusTextChange(TEmbeddedWB* wb, const QString& text) {
    if (isActive(wb))
        statusBar.SetPanelText(2, text);
}

void TNavigation::commandStateChange(TEmbeddedWB* wb, int command, bool enable) {
    if (command == TEmbeddedWB::CSC_NAVIGATEFORWARD) {
        wb->ForwardEnabled = enable;
        if (isActive(wb))
            ToolBtnForward->setEnabled(enable);
    } else if (command == TEmbeddedWB::CSC_NAVIGATEBACK) {
        wb->BackEnabled = enable;
        if (isActive(wb))
            ToolbtnBack->setEnabled(enable);
    }
}

void TNavigation::downloadComplete(TEmbeddedWB* wb) {
    statusBar.update();
    if (QWidget* tab = tabOf(wb))
        tabs.SetTabImage(tab, tabs.IsFirstTab(tab) ? TImageList::FirstTab : TImageList::BrowserTab);
    if (!isActive(wb))
        return;
    statusBar.ProgressBar1->hide();
    // The page takes the keyboard unless the user is typing into a box of the window.
    QWidget* focus = QApplication::focusWidget();
    if (!qobject_cast<QLineEdit*>(focus) && !qobject_cast<QComboBox*>(focus))
        wb->setFocus(Qt::OtherFocusReason);
}

void TNavigation::documentComplete(TEmbeddedWB* wb, bool topLevel) {
    if (!topLevel || !isActive(wb))
        return;
    statusBar.ProgressBar1->setValue(0);
    ToolBtnStop->setEnabled(false);
}

void TNavigation::setSecureLockIcon(TEmbeddedWB* wb, int level) {
    if (!isActive(wb))
        return;
    statusBar.SetPanelText(5, QStringLiteral("Security Level: ") + SecurityLevelName(level));
    ShowSecurityState();
}

void TNavigation::PageControlChange() {
    window->setWindowTitle(DocumentTitle());
    ToolbtnBack->setEnabled(false);
    ToolBtnForward->setEnabled(false);
    TEmbeddedWB* active = tabs.ActiveBrowser();
    IETravelLog1.SetEmbeddedWB(active);
    QWidget* tab = tabs.PageControl->currentWidget();
    if (TEmbeddedWB* w = TTabSet::BrowserOf(tab)) {
        w->FocusDocument();
        ToolbtnBack->setEnabled(w->BackEnabled);
        ToolBtnForward->setEnabled(w->ForwardEnabled);
        edURL->setEditText(w->LocationURL());
        if (!tabs.IsFirstTab(tab))
            tabs.SetTabCaption(tab, w->TabTitle);
        // The level shown is the one of the page now in front.
        if (w->DocumentLoaded())
            statusBar.SetPanelText(5, QStringLiteral("Security Level: ") + SecurityLevelName(w->SecurityLevel()));
    }
    UpdateStopButton();
    ShowSecurityState();
}

void TNavigation::PopupBlocked() {
    edURL->setEditText(PopupBlockedText);
    setAddressColor(QColor(192, 220, 192));
    PlaySoundFile(PopupSound);
}
