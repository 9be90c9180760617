#include "browser/PageCommands.h"

#include "browser/PageDialogs.h"
#include "components/browser/EmbeddedWB.h"
#include "platform/ConnectionState.h"

#include <QAction>
#include <QActionGroup>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolButton>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

const std::array<TPageCommands::Encoding, 12> TPageCommands::Encodings{{
    {"Automatic", "_autodetect_all"},
    {"Central European (ISO)", "iso-8859-2"},
    {"Western European (ISO)", "iso-8859-1"},
    {"Unicode (UTF-8)", "utf-8"},
    {"Arabic (Windows)", "windows-1256"},
    {"Baltic (Windows)", "windows-1257"},
    {"Chinese Simplified (GB2312)", "gb2312"},
    {"Chinese Traditional (Big5)", ""},
    {"Greek (Windows)", "windows-1253"},
    {"Korean (ISO)", "iso-2022-kr"},
    {"Thai (Windows)", "windows-874"},
    {"Turkish (Windows)", "windows-1254"},
}};

const std::array<const char*, 5> TPageCommands::TextSizeCaptions{"Smallest", "Small", "Medium", "Large", "Largest"};

const std::array<std::pair<const char*, double>, 5> TPageCommands::ZoomFactors{{
    {"150%", 1.5}, {"125%", 1.25}, {"100%", 1.0}, {"75%", 0.75}, {"50%", 0.5}}};

namespace {
constexpr char kTextSizeProperty[] = "quillmoorTextSize";

QAction* makeAction(QObject* owner, const char* caption, const char* name) {
    auto* a = new QAction(QString::fromLatin1(caption), owner);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}
} // namespace

TPageCommands::TPageCommands(TPageCommandHost h, TConnectionState& state, const TPageCommandEntries& entries, QWidget* w)
    : QObject(w), Entries(entries), host(std::move(h)), connection(state), window(w),
      printer(new QPrinter(QPrinter::HighResolution)) {
    AskPrinter = [this](QPrinter& p) {
        QPrintDialog dialog(&p, window);
        return dialog.exec() == QDialog::Accepted;
    };
    AskSavePath = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(window, QStringLiteral("Save As"), suggested,
                                            QStringLiteral("Web Page, complete (*.htm *.html);;"
                                                           "Web Archive, single file (*.mht *.mhtml);;"
                                                           "Web Page, HTML only (*.htm *.html)"));
    };
    ShowMessage = [this](const QString& text, bool error) {
        if (error)
            QMessageBox::critical(window, QStringLiteral("Quillmoor"), text, QMessageBox::Ok);
        else
            QMessageBox::information(window, QStringLiteral("Quillmoor"), text);
    };

    bindEntries();
}

TPageCommands::~TPageCommands() { delete printer; }

TPageCommandEntries TPageCommandEntries::Create(QWidget* owner) {
    TPageCommandEntries e;
    auto* encodings = new QMenu(QStringLiteral("Encoding"), owner);
    for (size_t i = 0; i < e.Encoding.size(); ++i)
        e.Encoding[i] = encodings->addAction(QString::fromLatin1(TPageCommands::Encodings[i].caption));
    e.TextSizeMenu = new QMenu(QStringLiteral("Text Size"), owner);
    for (int level = 4; level >= 0; --level)
        e.TextSize[size_t(level)] = e.TextSizeMenu->addAction(QString::fromLatin1(TPageCommands::TextSizeCaptions[size_t(level)]));
    e.OfflineMode1 = makeAction(owner, "Offline Mode", "OfflineMode1");
    e.OfflineMode1->setCheckable(true);
    e.DesignMode1 = makeAction(owner, "Design Mode (beta)", "DesignMode1");
    e.DesignMode1->setCheckable(true);
    return e;
}

void TPageCommands::bindEntries() {
    for (size_t i = 0; i < Entries.Encoding.size(); ++i) {
        QAction* a = Entries.Encoding[i];
        a->setCheckable(true);
        a->setChecked(i == 0);
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, [this, i] { EncodingClick(int(i)); });
    }
    for (size_t level = 0; level < Entries.TextSize.size(); ++level) {
        QAction* a = Entries.TextSize[level];
        a->setCheckable(true);
        a->setEnabled(level != 2); // "Medium" is the setting at start
        connect(a, &QAction::triggered, this, [this, level] { TextSizeClick(int(level)); });
    }
    if (Entries.TextSizeMenu) {
        Entries.TextSizeMenu->setEnabled(true);
        connect(Entries.TextSizeMenu, &QMenu::aboutToShow, this, &TPageCommands::Zoom1Click);
    }
    Entries.OfflineMode1->setCheckable(true);
    Entries.OfflineMode1->setChecked(false); // unmarked at start, whatever the system's state
    Entries.OfflineMode1->setEnabled(true);
    connect(Entries.OfflineMode1, &QAction::triggered, this, &TPageCommands::OfflineMode1Click);
    Entries.DesignMode1->setCheckable(true);
    Entries.DesignMode1->setEnabled(true);
    connect(Entries.DesignMode1, &QAction::triggered, this, &TPageCommands::DesignMode1Click);

    fsPopUp = new QMenu(window);
    fsPopUp->setObjectName(QStringLiteral("fsPopUp"));
    for (size_t i = 0; i < ZoomFactors.size(); ++i) {
        QAction* a = fsPopUp->addAction(QString::fromLatin1(ZoomFactors[i].first));
        ZoomEntries[i] = a;
        connect(a, &QAction::triggered, this, [this, i] { ZoomClick(int(i)); });
    }
    ZoomEntries[2]->setEnabled(false);
    FontBtn = new QToolButton(window);
    FontBtn->setObjectName(QStringLiteral("FontBtn"));
    FontBtn->setText(QStringLiteral("Zoom"));
    FontBtn->setMenu(fsPopUp);
    FontBtn->setPopupMode(QToolButton::InstantPopup);
    FontBtn->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

TEmbeddedWB* TPageCommands::loadedBrowser() const {
    TEmbeddedWB* b = host.ActiveBrowser ? host.ActiveBrowser() : nullptr;
    return b && b->DocumentLoaded() ? b : nullptr;
}

bool TPageCommands::printTo(TEmbeddedWB* browser, QPrinter& target) {
    // The engine prints asynchronously; wait for its verdict with the UI alive.
    QPointer<TEmbeddedWB> guard(browser);
    QEventLoop loop;
    bool ok = false;
    auto done = connect(browser, &QWebEngineView::printFinished, &loop, [&](bool success) {
        ok = success;
        loop.quit();
    });
    connect(browser, &QObject::destroyed, &loop, &QEventLoop::quit);
    browser->print(&target);
    loop.exec();
    if (guard)
        disconnect(done);
    return ok;
}

void TPageCommands::PrintBtnClick() {
    TEmbeddedWB* b = loadedBrowser();
    if (!b)
        return;
    if (!AskPrinter(*printer)) {
        ShowMessage(QStringLiteral("Canceled by User"), false);
        return;
    }
    if (!printTo(b, *printer))
        ShowMessage(QStringLiteral("Error While Printing"), true);
}

void TPageCommands::PrintPreview1Click() {
    TEmbeddedWB* b = loadedBrowser();
    if (!b)
        return;
    QPrintPreviewDialog preview(printer, window);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, b](QPrinter* p) { printTo(b, *p); });
    preview.exec();
}

void TPageCommands::PageSetup1Click() {
    if (!loadedBrowser())
        return;
    QPageSetupDialog dialog(printer, window);
    dialog.exec();
}

void TPageCommands::Properties1Click() {
    TEmbeddedWB* b = loadedBrowser();
    if (!b)
        return;
    const QUrl url(b->LocationURL());
    const QString file = url.isLocalFile() ? url.toLocalFile() : b->LocationName();
    if (!file.isEmpty() && QFileInfo(file).isFile())
        ShowFileProperties(window, file);
    else
        ShowPageProperties(window, b);
}

void TPageCommands::SaveAs1Click() {
    TEmbeddedWB* b = loadedBrowser();
    if (!b || b->Busy())
        return;
    QString name = b->DocumentTitle().trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]")), QStringLiteral("_"));
    if (name.isEmpty())
        name = QStringLiteral("page");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString path = AskSavePath(folder + QLatin1Char('/') + name + QStringLiteral(".htm"));
    if (path.isEmpty())
        return;
    const QString lower = path.toLower();
    const auto format = lower.endsWith(QLatin1String(".mht")) || lower.endsWith(QLatin1String(".mhtml"))
                            ? QWebEngineDownloadRequest::MimeHtmlSaveFormat
                            : QWebEngineDownloadRequest::CompleteHtmlSaveFormat;
    const QString failure = SavePage(b, path, format);
    if (!failure.isEmpty())
        ShowMessage(QStringLiteral("ERROR: Unable to show Save As dialog. \r") + failure + QLatin1Char('.'), true);
}

void TPageCommands::OfflineMode1Click() {
    // The entry's own check mark has already been inverted by the click.
    if (Entries.OfflineMode1->isChecked())
        connection.SetConnectedState(TConnectionState::INTERNET_STATE_DISCONNECTED_BY_USER,
                                     TConnectionState::ISO_FORCE_DISCONNECTED);
    else
        connection.SetConnectedState(TConnectionState::INTERNET_STATE_CONNECTED, 0);
}

void TPageCommands::Cut1Click() {
    if (TEmbeddedWB* b = loadedBrowser())
        b->page()->triggerAction(QWebEnginePage::Cut);
}

void TPageCommands::Copy1Click() {
    if (TEmbeddedWB* b = loadedBrowser())
        b->page()->triggerAction(QWebEnginePage::Copy);
}

void TPageCommands::Paste1Click() {
    if (TEmbeddedWB* b = loadedBrowser())
        b->page()->triggerAction(QWebEnginePage::Paste);
}

void TPageCommands::SelectAll1Click() {
    if (TEmbeddedWB* b = loadedBrowser())
        b->page()->triggerAction(QWebEnginePage::SelectAll);
}

void TPageCommands::Search1Click() {
    if (TEmbeddedWB* b = loadedBrowser())
        ShowFindDialog(window, b);
}

void TPageCommands::ViewSource1Click() {
    TEmbeddedWB* b = loadedBrowser();
    if (b && host.OpenInNewTab)
        host.OpenInNewTab(QStringLiteral("view-source:") + b->LocationURL());
}

void TPageCommands::InternetOptions1Click() {
    if (host.ShowInternetOptions)
        host.ShowInternetOptions();
}

void TPageCommands::EncodingClick(int index) {
    if (TEmbeddedWB* b = loadedBrowser()) {
        const QString charset = QString::fromLatin1(Encodings[size_t(index)].charset);
        // The engine decodes a page by its declared charset; this one applies where the
        // page declares none. "_autodetect_all" gives the engine's own detection back.
        b->page()->settings()->setDefaultTextEncoding(charset == QLatin1String("_autodetect_all") ? QString() : charset);
        b->Refresh2(7);
        markedEncoding = index;
    }
    // A click toggles the entry's own mark; only an applied charset moves it.
    for (size_t i = 0; i < Entries.Encoding.size(); ++i)
        Entries.Encoding[i]->setChecked(int(i) == markedEncoding);
}

void TPageCommands::Zoom1Click() {
    TEmbeddedWB* b = loadedBrowser();
    if (!b)
        return;
    const int level = TextSizeLevel(b);
    for (size_t i = 0; i < Entries.TextSize.size(); ++i)
        Entries.TextSize[i]->setChecked(int(i) == level);
}

void TPageCommands::TextSizeClick(int level) {
    for (size_t i = 0; i < Entries.TextSize.size(); ++i)
        Entries.TextSize[i]->setEnabled(int(i) != level);
    TEmbeddedWB* b = loadedBrowser();
    if (b)
        SetTextSizeLevel(b, level);
    Zoom1Click();
}

int TPageCommands::TextSizeLevel(TEmbeddedWB* browser) {
    const QVariant v = browser->property(kTextSizeProperty);
    return v.isValid() ? v.toInt() : 2;
}

void TPageCommands::SetTextSizeLevel(TEmbeddedWB* browser, int level) {
    level = qBound(0, level, int(TextSizePixels.size()) - 1);
    browser->setProperty(kTextSizeProperty, level);
    QWebEngineSettings* s = browser->page()->settings();
    s->setFontSize(QWebEngineSettings::DefaultFontSize, TextSizePixels[size_t(level)]);
    s->setFontSize(QWebEngineSettings::DefaultFixedFontSize, TextSizePixels[size_t(level)] - 3);
}

void TPageCommands::ZoomClick(int index) {
    for (size_t i = 0; i < ZoomEntries.size(); ++i)
        ZoomEntries[i]->setEnabled(int(i) != index);
    if (TEmbeddedWB* b = loadedBrowser())
        b->EvaluateJavaScript(QStringLiteral("document.body && (document.body.style.zoom = '%1'), true")
                                  .arg(ZoomFactors[size_t(index)].second));
}

void TPageCommands::DesignMode1Click() {
    // The click has toggled the entry already; only the page's answer decides its mark.
    const bool before = !Entries.DesignMode1->isChecked();
    Entries.DesignMode1->setChecked(before);
    TEmbeddedWB* b = host.ActiveBrowser ? host.ActiveBrowser() : nullptr;
    if (!b)
        return;
    Entries.DesignMode1->setChecked(!before);
    if (!b->DocumentLoaded())
        return;
    const QString mode = b->EvaluateJavaScript(QStringLiteral(
        "(function(){ if (document.designMode.toLowerCase() !== 'on') { document.designMode = 'on'; return 'On'; }"
        " document.designMode = 'off'; return 'Off'; })()")).toString();
    Entries.DesignMode1->setChecked(mode == QLatin1String("On"));
}
