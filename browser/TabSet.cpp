#include "browser/TabSet.h"

#include "browser/ImageList.h"
#include "components/browser/EmbeddedWB.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QWidget* NewSheet() {
    auto* sheet = new QWidget;
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return sheet;
}
} // namespace

TTabSet::TTabSet(QWidget* parent) : QObject(parent) {
    PageControl = new QTabWidget(parent);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setDocumentMode(true);
    PageControl->setMovable(false);
    PageControl->setTabsClosable(true);
    PageControl->setIconSize(QSize(16, 16));
    PageControl->setStyleSheet(QStringLiteral("QTabBar::tab { min-height: 24px; }"));
    offScreen = new QWidget(parent);
    offScreen->hide();
    offScreen->setObjectName(QStringLiteral("ClosedTabs"));

    tsMain = NewSheet();
    tsMain->setObjectName(QStringLiteral("tsMain"));
    PageControl->addTab(tsMain, TImageList::Icon(TImageList::FirstTab), QStringLiteral("WebBrowser"));
    PageControl->tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    PageControl->tabBar()->setTabButton(0, QTabBar::LeftSide, nullptr);
    WebBrowser1 = createBrowser(tsMain, true);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    lastTab = tsMain;

    connect(PageControl, &QTabWidget::currentChanged, this, &TTabSet::onCurrentChanged);
    connect(PageControl, &QTabWidget::tabCloseRequested, this, &TTabSet::CloseButtonClicked);
    qApp->installEventFilter(this);
}

TEmbeddedWB* TTabSet::BrowserOf(QWidget* tab) {
    if (!tab)
        return nullptr;
    for (QObject* child : tab->children())
        if (auto* w = qobject_cast<QWidget*>(child))
            return qobject_cast<TEmbeddedWB*>(w);
    return nullptr;
}

TEmbeddedWB* TTabSet::ActiveBrowser() const {
    QWidget* tab = PageControl->currentWidget();
    if (!tab)
        return nullptr;
    bool hasChild = false;
    for (QObject* child : tab->children())
        if (qobject_cast<QWidget*>(child))
            hasChild = true;
    if (!hasChild)
        return nullptr;
    if (TEmbeddedWB* wb = BrowserOf(tab))
        return wb;
    return CurrentBrowser.data();
}

TEmbeddedWB* TTabSet::createBrowser(QWidget* tab, bool first) {
    auto* wb = new TEmbeddedWB(tab);
    tab->layout()->addWidget(wb);
    wb->Silent = true;
    wb->ForwardEnabled = false;
    wb->BackEnabled = false;
    connect(wb, &TEmbeddedWB::NewWindow2, this,
            [this, wb](TEmbeddedWB*& target, bool& cancel) { onNewWindow(wb, target, cancel); });
    emit BrowserCreated(wb, first);
    return wb;
}

QWidget* TTabSet::OpenInNewTab(const QString& address) {
    QWidget* sheet = NewSheet();
    sheet->setAutoFillBackground(true);
    QPalette pal = sheet->palette();
    pal.setColor(QPalette::Window, QColor(166, 202, 240));
    sheet->setPalette(pal);
    const int at = PageControl->currentIndex() + 1;
    {
        // Inserting may move the current index; that is not a switch of its own.
        QScopedValueRollback<bool> guard(silent, true);
        PageControl->insertTab(at, sheet, TImageList::Icon(TImageList::BrowserTab), QString());
    }
    TEmbeddedWB* wb = nullptr;
    try {
        wb = createBrowser(sheet, false);
    } catch (...) {
        PageControl->removeTab(PageControl->indexOf(sheet));
        delete sheet;
        throw;
    }
    ActivateTab(sheet);
    QPointer<QWidget> alive(sheet);
    const QString url = address.trimmed();
    if (!url.isEmpty()) {
        wb->Navigate(url);
        wb->WaitUntilComplete();
    }
    return alive.data();
}

void TTabSet::ActivateTab(QWidget* tab) {
    const int i = PageControl->indexOf(tab);
    if (i < 0 || i == PageControl->currentIndex())
        return;
    PageControl->setCurrentIndex(i);
}

void TTabSet::SelectTabSilently(QWidget* tab) {
    const int i = PageControl->indexOf(tab);
    if (i < 0)
        return;
    QScopedValueRollback<bool> guard(silent, true);
    PageControl->setCurrentIndex(i);
    lastTab = tab;
}

void TTabSet::onCurrentChanged(int index) {
    QWidget* now = PageControl->widget(index);
    if (silent) {
        if (lastTab.isNull())
            lastTab = now;
        return;
    }
    // Leaving a browser tab makes its browser the fallback of ActiveBrowser.
    if (TEmbeddedWB* left = BrowserOf(lastTab))
        CurrentBrowser = left;
    lastTab = now;
    for (Tool& t : tools)
        if (t.tab && !t.switchCaption.isEmpty())
            SetTabCaption(t.tab, t.switchCaption);
    emit PageControlChange();
}

TTabSet::Tool* TTabSet::toolOf(QWidget* tab) {
    for (Tool& t : tools)
        if (t.tab == tab)
            return &t;
    return nullptr;
}

bool TTabSet::IsToolTab(QWidget* tab) const {
    for (const Tool& t : tools)
        if (t.tab == tab)
            return true;
    return false;
}

QWidget* TTabSet::HostTool(QWidget* form, const QString& caption, int imageIndex, std::function<void()> closeHook,
                           const QString& switchCaption) {
    QWidget* sheet = NewSheet();
    form->setParent(sheet);
    form->setWindowFlags(Qt::Widget);
    sheet->layout()->addWidget(form);
    form->show();
    {
        QScopedValueRollback<bool> guard(silent, true);
        PageControl->addTab(sheet, TImageList::Icon(imageIndex), caption);
    }
    tools.push_back({sheet, form, std::move(closeHook), switchCaption, imageIndex});
    SelectTabSilently(sheet);
    form->setFocus(Qt::OtherFocusReason);
    return sheet;
}

QVector<QWidget*> TTabSet::HostedForms() const {
    QVector<QWidget*> forms;
    for (const Tool& t : tools)
        if (t.form)
            forms << t.form.data();
    return forms;
}

void TTabSet::SetTabImage(QWidget* tab, int imageIndex) {
    const int i = PageControl->indexOf(tab);
    if (i < 0)
        return;
    PageControl->setTabIcon(i, TImageList::Icon(imageIndex));
    tab->setProperty("imageIndex", imageIndex);
}

int TTabSet::TabImage(QWidget* tab) const {
    if (!tab)
        return -1;
    const QVariant v = tab->property("imageIndex");
    if (v.isValid())
        return v.toInt();
    if (tab == tsMain)
        return TImageList::FirstTab;
    for (const Tool& t : tools)
        if (t.tab == tab)
            return t.image;
    return TImageList::BrowserTab;
}

void TTabSet::SetTabCaption(QWidget* tab, const QString& caption) {
    const int i = PageControl->indexOf(tab);
    if (i >= 0)
        PageControl->setTabText(i, QString(caption).replace(QLatin1Char('&'), QLatin1String("&&")));
}

void TTabSet::NewTabBlankClick() { OpenInNewTab(QStringLiteral("about:blank")); }

QWidget* TTabSet::NewPageClick() { return OpenInNewTab(QStringLiteral("about:blank")); }

QString TTabSet::OpenFilter() {
    return QStringLiteral("Internet Files (*.htm *.html *.url *.mht *.mhtml *.php *.asp);;"
                          "Image Files (*.gif *.bmp *.ico *.jpg *.png *.wmf *.emf);;"
                          "Text & Documents Files (*.txt *.doc *.xls *.dot);;"
                          "Compressed Files (*.zip);;"
                          "XML Files (*.xml);;"
                          "Any Files (*)");
}

void TTabSet::Open1Click() {
    const QString path = QFileDialog::getOpenFileName(PageControl->window(), QStringLiteral("Open"), QString(), OpenFilter());
    if (!path.isEmpty())
        OpenFile(path);
}

void TTabSet::OpenFile(const QString& path) { OpenInNewTab(path); }

void TTabSet::DuplicateTab1Click() {
    TEmbeddedWB* source = ActiveBrowser();
    if (!source)
        return;
    QPointer<TEmbeddedWB> b(source);
    const int position = PageControl->currentIndex();
    QPointer<QWidget> tab = OpenInNewTab(source->LocationURL());
    TEmbeddedWB* copy = BrowserOf(tab);
    if (!tab || !copy || !copy->WaitUntilComplete() || !tab)
        return;
    // The copy shows the page as it is now, changes made on it included.
    if (b && copy->DocumentLoaded() && b->DocumentLoaded())
        copy->SetBodyInnerHTML(b->BodyInnerHTML());
    if (!tab)
        return;
    const int from = PageControl->indexOf(tab);
    const int to = std::min(position + 1, PageControl->count() - 1);
    if (from >= 0 && from != to)
        PageControl->tabBar()->moveTab(from, to);
    ActivateTab(tab);
}

void TTabSet::CloseTab1Click() {
    QWidget* tab = PageControl->currentWidget();
    TEmbeddedWB* wb = BrowserOf(tab);
    if (!tab || tab == tsMain || !wb)
        return;
    delete wb;
    CurrentBrowser = nullptr;
    if (lastTab == tab)
        lastTab = nullptr;
    delete tab; // removes it from the tab set, which shows a neighbour
}

void TTabSet::CloseButtonClicked(int index) {
    QWidget* tab = PageControl->widget(index);
    if (!tab || tab == tsMain)
        return;
    if (Tool* t = toolOf(tab)) {
        if (t->closeHook)
            t->closeHook();
        t->tab = nullptr; // no longer shown; the form stays alive
    }
    // The tab is kept, off screen, with what it holds, until the program ends.
    if (lastTab == tab)
        lastTab = nullptr;
    PageControl->removeTab(index);
    tab->setParent(offScreen);
    tab->hide();
    if (QWidget* now = PageControl->currentWidget())
        if (lastTab != now) {
            lastTab = now;
            emit PageControlChange();
        }
}

void TTabSet::onNewWindow(TEmbeddedWB* opener, TEmbeddedWB*& target, bool& cancel) {
    if (!PopupsAllowed) {
        cancel = true;
        emit PopupBlocked();
        return;
    }
    // A page still loading may not open windows.
    if (opener->ReadyState() != TEmbeddedWB::READYSTATE_COMPLETE) {
        cancel = true;
        return;
    }
    QWidget* tab = OpenInNewTab(QString());
    target = BrowserOf(tab);
    if (!target)
        cancel = true;
    else
        ActivateTab(tab);
}

// Ctrl+N anywhere in the program copies the active tab, the page's focus included.
bool TTabSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_N && (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            auto* w = qobject_cast<QWidget*>(watched);
            TEmbeddedWB* wb = ActiveBrowser();
            if (w && wb && w->window() == PageControl->window() && wb->DocumentLoaded()) {
                if (!key->isAutoRepeat())
                    DuplicateTab1Click();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
