#include "components/browser/EmbeddedWB.h"

#include "components/browser/WebPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace {
QPointer<QWebEngineProfile> sharedProfile;
bool programEnding = false;

// Schemes the engine loads itself; only for these does a navigation surely report its end.
bool EngineLoads(const QUrl& url) {
    static const QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("file"), QStringLiteral("about"),
                                        QStringLiteral("data"), QStringLiteral("qrc")};
    return schemes.contains(url.scheme().toLower());
}

QString JsString(const QString& s) {
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : s) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20 || c == QChar(0x2028) || c == QChar(0x2029))
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}
} // namespace

QUrl AddressToUrl(const QString& address) {
    const QString text = address.trimmed();
    if (text.isEmpty())
        return {};
    if (QDir::isAbsolutePath(text) && QFileInfo::exists(text))
        return QUrl::fromLocalFile(text);
    return QUrl::fromUserInput(text);
}

TEmbeddedWB::TEmbeddedWB(QWidget* parent) : QWebEngineView(parent) {
    QWebEngineProfile* profile = sharedProfile ? sharedProfile.data() : QWebEngineProfile::defaultProfile();
    webPage = new TWebPage(profile, this);
    QWebEngineSettings* s = webPage->settings();
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    setPage(webPage);

    connect(this, &QWebEngineView::loadStarted, this, &TEmbeddedWB::onLoadStarted);
    connect(this, &QWebEngineView::loadProgress, this, &TEmbeddedWB::onLoadProgress);
    connect(this, &QWebEngineView::loadFinished, this, &TEmbeddedWB::onLoadFinished);
    connect(this, &QWebEngineView::titleChanged, this, &TEmbeddedWB::onTitleChanged);
    connect(this, &QWebEngineView::urlChanged, this, &TEmbeddedWB::onUrlChanged);
    connect(webPage, &QWebEnginePage::linkHovered, this, [this](const QString& url) { emit StatusTextChange(url); });
    connect(webPage, &QWebEnginePage::windowCloseRequested, this, &TEmbeddedWB::onWindowCloseRequested);
}

TEmbeddedWB::~TEmbeddedWB() {
    // The page must go before the view it belongs to; nobody hears of its last changes.
    blockSignals(true);
    webPage->blockSignals(true);
    setPage(nullptr);
    delete webPage;
}

void TEmbeddedWB::SetSharedProfile(QWebEngineProfile* profile) { sharedProfile = profile; }
QWebEngineProfile* TEmbeddedWB::SharedProfile() {
    return sharedProfile ? sharedProfile.data() : QWebEngineProfile::defaultProfile();
}
void TEmbeddedWB::SetProgramEnding(bool ending) { programEnding = ending; }
bool TEmbeddedWB::ProgramEnding() { return programEnding || QCoreApplication::closingDown(); }

void TEmbeddedWB::startLoad(const QUrl& url, bool replace) {
    if (!url.isValid())
        return;
    if (EngineLoads(url))
        pending = true;
    const QString scheme = page()->url().scheme();
    const bool pageScripts = everLoaded && lastLoadOk &&
                             (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                              scheme == QLatin1String("file") || page()->url() == QUrl(QStringLiteral("about:blank")));
    const bool webTarget = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
                           (url.isLocalFile() && scheme == QLatin1String("file"));
    if (replace && pageScripts && webTarget) {
        // location.replace puts the new page in place of the current history entry.
        QPointer<TEmbeddedWB> self(this);
        const QUrl target = url;
        page()->runJavaScript(QStringLiteral("(function(){try{location.replace(%1);return true;}catch(e){return false;}})()")
                                  .arg(JsString(QString::fromUtf8(url.toEncoded()))),
                              [self, target](const QVariant& ok) {
                                  if (self && !ok.toBool())
                                      self->load(target);
                              });
    } else {
        load(url);
    }
}

void TEmbeddedWB::Navigate(const QString& url) { startLoad(AddressToUrl(url), false); }

void TEmbeddedWB::Go(const QString& url) {
    startLoad(AddressToUrl(url), true);
    WaitUntilComplete();
}

bool TEmbeddedWB::WaitUntilComplete() {
    QPointer<TEmbeddedWB> self(this);
    while (self && Busy() && !ProgramEnding())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return self && !ProgramEnding();
}

bool TEmbeddedWB::DocumentLoaded() const { return committed && !page()->url().isEmpty(); }

void TEmbeddedWB::FocusDocument() {
    setFocus(Qt::OtherFocusReason);
    if (DocumentLoaded())
        page()->runJavaScript(QStringLiteral("window.focus();"));
}

void TEmbeddedWB::GoBack() {
    if (history()->canGoBack()) {
        pending = true;
        back();
    }
}

void TEmbeddedWB::GoForward() {
    if (history()->canGoForward()) {
        pending = true;
        forward();
    }
}

void TEmbeddedWB::GoHome() {
    Navigate(HomePage.trimmed().isEmpty() ? QStringLiteral("about:blank") : HomePage);
}

void TEmbeddedWB::Stop() {
    pending = false;
    stop();
}

void TEmbeddedWB::Refresh() {
    if (!DocumentLoaded())
        return;
    pending = true;
    reload();
}

void TEmbeddedWB::Refresh2(int level) {
    if (!DocumentLoaded())
        return;
    pending = true;
    if (level == 3)
        page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    else
        reload();
}

QString TEmbeddedWB::LocationURL() const {
    const QUrl u = page()->url();
    return u.isEmpty() ? QString() : u.toString();
}

QString TEmbeddedWB::LocationName() const {
    const QString t = DocumentTitle();
    return t.isEmpty() ? LocationURL() : t;
}

bool TEmbeddedWB::Busy() const { return pending || loading; }

int TEmbeddedWB::ReadyState() const {
    if (Busy())
        return READYSTATE_LOADING;
    return everLoaded ? READYSTATE_COMPLETE : READYSTATE_UNINITIALIZED;
}

QString TEmbeddedWB::DocumentTitle() const {
    const QString t = page()->title();
    const QUrl u = page()->url();
    if (t.isEmpty() || u.isEmpty())
        return t;
    // For a page without a title the engine reports its address, with or without scheme.
    QString noScheme = u.toString(QUrl::RemoveScheme);
    if (noScheme.startsWith(QLatin1String("//")))
        noScheme = noScheme.mid(2);
    const QStringList forms = {u.toString(), u.toDisplayString(), noScheme,
                               u.toString(QUrl::RemoveScheme | QUrl::StripTrailingSlash).mid(2),
                               QUrl::fromPercentEncoding(noScheme.toUtf8()), u.fileName()};
    return forms.contains(t) ? QString() : t;
}

QVariant TEmbeddedWB::EvaluateJavaScript(const QString& script) {
    QPointer<TEmbeddedWB> self(this);
    auto done = std::make_shared<bool>(false);
    auto result = std::make_shared<QVariant>();
    page()->runJavaScript(script, [done, result](const QVariant& v) {
        *result = v;
        *done = true;
    });
    while (self && !*done && !ProgramEnding())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    return *result;
}

QString TEmbeddedWB::BodyInnerHTML() {
    return EvaluateJavaScript(QStringLiteral("document.body ? document.body.innerHTML : ''")).toString();
}

void TEmbeddedWB::SetBodyInnerHTML(const QString& html) {
    EvaluateJavaScript(QStringLiteral("if (document.body) document.body.innerHTML = %1; true").arg(JsString(html)));
}

TEmbeddedWB* TEmbeddedWB::requestNewWindow() {
    TEmbeddedWB* target = nullptr;
    bool cancel = false;
    emit NewWindow2(target, cancel);
    return cancel ? nullptr : target;
}

bool TEmbeddedWB::beforeNavigate(const QUrl& url, bool isMainFrame) {
    bool cancel = false;
    emit BeforeNavigate2(url, isMainFrame, cancel);
    if (cancel && isMainFrame)
        pending = false;
    return !cancel;
}

void TEmbeddedWB::reportScriptError(int line, const QString& message, const QString& source) {
    bool continueScript = true;
    bool showDialog = false;
    emit ScriptError(line, 0, 0, message, source, continueScript, showDialog);
}

void TEmbeddedWB::onLoadStarted() {
    pending = false;
    loading = true;
    certificateFailed = false;
    titleSinceStart = false;
    emit DownloadBegin();
    emit PropertyChange(QStringLiteral("Busy"));
    emit StatusTextChange(QStringLiteral("Opening page %1...").arg(page()->requestedUrl().toString()));
}

void TEmbeddedWB::onLoadProgress(int progress) {
    if (loading)
        emit ProgressChange(progress, 100);
}

void TEmbeddedWB::onLoadFinished(bool ok) {
    pending = false;
    loading = false;
    everLoaded = true;
    committed = committed || !page()->url().isEmpty();
    lastLoadOk = ok;
    updateCommandStates(false);
    emit DownloadComplete();
    emit PropertyChange(QStringLiteral("Busy"));
    const QUrl u = page()->url();
    securityLevel = (ok && !certificateFailed && u.scheme() == QLatin1String("https")) ? secureLockIcon128Bit
                                                                                      : secureLockIconUnsecure;
    emit SetSecureLockIcon(securityLevel);
    // Every finished page reports its title, also when it equals the one before.
    if (!titleSinceStart) {
        lastTitle = DocumentTitle();
        emit TitleChange(lastTitle);
    }
    emit DocumentComplete(true, u);
}

void TEmbeddedWB::onTitleChanged(const QString&) {
    const QString t = DocumentTitle();
    if (t == lastTitle && everLoaded)
        return;
    lastTitle = t;
    titleSinceStart = true;
    emit TitleChange(t);
}

void TEmbeddedWB::onUrlChanged(const QUrl& url) {
    if (!url.isEmpty())
        committed = true;
    updateCommandStates(false);
    emit NavigateComplete2(url);
    // An untitled page reports no title change of its own.
    const QString t = DocumentTitle();
    if (t != lastTitle) {
        lastTitle = t;
        titleSinceStart = true;
        emit TitleChange(t);
    }
}

// A page may not close its browser: the tab stays and shows an empty page.
void TEmbeddedWB::onWindowCloseRequested() { Navigate(QStringLiteral("about:blank")); }

void TEmbeddedWB::updateCommandStates(bool force) {
    const int back = history()->canGoBack() ? 1 : 0;
    const int forward = history()->canGoForward() ? 1 : 0;
    if (force || forward != lastForward) {
        lastForward = forward;
        emit CommandStateChange(CSC_NAVIGATEFORWARD, forward);
    }
    if (force || back != lastBack) {
        lastBack = back;
        emit CommandStateChange(CSC_NAVIGATEBACK, back);
    }
}
