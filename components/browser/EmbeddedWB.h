#pragma once
// TEmbeddedWB: the browser control of every browser tab, the mail reader and the feed
// reader. A QWebEngineView with the operations, properties and events the windows use.
//
// Construct it as `new TEmbeddedWB(parent)`; it uses the profile given once with
// SetSharedProfile (the program sets its persistent profile at start), or the engine's
// default profile. Events are Qt signals named like the control's events; out
// parameters are references and are only valid in directly connected slots.
//
// A page's request for a new window raises NewWindow2: the handler may hand back a
// browser (the page then opens in it) or cancel. Nothing here opens dialogs or knows
// any window of the program.
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWebEngineView>

class QWebEngineProfile;
class TWebPage;

class TEmbeddedWB : public QWebEngineView {
    Q_OBJECT
public:
    enum TReadyState {
        READYSTATE_UNINITIALIZED = 0,
        READYSTATE_LOADING = 1,
        READYSTATE_INTERACTIVE = 3,
        READYSTATE_COMPLETE = 4,
    };
    // Command ids of CommandStateChange.
    enum { CSC_NAVIGATEFORWARD = 1, CSC_NAVIGATEBACK = 2 };
    // Levels of SetSecureLockIcon.
    enum { secureLockIconUnsecure = 0, secureLockIconMixed = 1, secureLockIcon128Bit = 6 };

    explicit TEmbeddedWB(QWidget* parent = nullptr);
    ~TEmbeddedWB() override;

    // The profile every browser created afterwards uses (cookies, cache, history).
    static void SetSharedProfile(QWebEngineProfile* profile);
    static QWebEngineProfile* SharedProfile();
    // Ends every running WaitUntilComplete (the program is ending).
    static void SetProgramEnding(bool ending);
    static bool ProgramEnding();

    // Plain navigation, recorded in the history. Addresses typed by a user ("host/page",
    // a file path) are understood as such.
    void Navigate(const QString& url);
    // Navigation that replaces the current history entry, then WaitUntilComplete.
    void Go(const QString& url);
    // Runs the event loop until the page is complete, the browser is destroyed or the
    // program is ending. Returns false in the last two cases.
    bool WaitUntilComplete();
    bool DocumentLoaded() const;
    void FocusDocument();

    void GoBack();
    void GoForward();
    void GoHome();
    void Stop();
    void Refresh();
    // Level 3: complete reload bypassing the cache; other levels: normal reload.
    void Refresh2(int level);

    QString LocationURL() const;
    QString LocationName() const;
    bool Busy() const;
    int ReadyState() const;
    // The document's own title: empty for a page without one (the engine would show
    // the address instead).
    QString DocumentTitle() const;
    // Home page used by GoHome; empty means the built-in start page "about:blank".
    QString HomePage;

    // Runs a script in the page and waits for its result (an invalid QVariant when the
    // browser goes away or the program ends first).
    QVariant EvaluateJavaScript(const QString& script);
    QString BodyInnerHTML();
    void SetBodyInnerHTML(const QString& html);

    // Stored for callers; the engine shows no script error dialogs in any case.
    bool Silent = false;

    // Per-browser state kept by the program's windows.
    bool ForwardEnabled = false;
    bool BackEnabled = false;
    QString TabTitle;

    // Level from the loaded page: 6 on an https page loaded without certificate errors,
    // 0 otherwise.
    int SecurityLevel() const { return securityLevel; }

signals:
    void StatusTextChange(const QString& text);
    void ProgressChange(int progress, int progressMax);
    void CommandStateChange(int command, bool enable);
    void DownloadBegin();
    void DownloadComplete();
    void TitleChange(const QString& text);
    void PropertyChange(const QString& property);
    void BeforeNavigate2(const QUrl& url, bool isMainFrame, bool& cancel);
    void NewWindow2(TEmbeddedWB*& newBrowser, bool& cancel);
    void NavigateComplete2(const QUrl& url);
    // topLevel: the whole page (not a frame).
    void DocumentComplete(bool topLevel, const QUrl& url);
    void SetSecureLockIcon(int level);
    void ScriptError(int line, int character, int code, const QString& message, const QString& url,
                     bool& continueScript, bool& showDialog);

private:
    friend class TWebPage;
    TEmbeddedWB* requestNewWindow();
    bool beforeNavigate(const QUrl& url, bool isMainFrame);
    void reportScriptError(int line, const QString& message, const QString& source);
    void certificateRefused() { certificateFailed = true; }

    void onLoadStarted();
    void onLoadProgress(int progress);
    void onLoadFinished(bool ok);
    void onTitleChanged(const QString& title);
    void onUrlChanged(const QUrl& url);
    void onWindowCloseRequested();
    void updateCommandStates(bool force);
    void startLoad(const QUrl& url, bool replace);

    TWebPage* webPage = nullptr;
    bool pending = false;  // a navigation was asked for and has not started yet
    bool loading = false;  // the engine is loading the top-level page
    bool everLoaded = false;
    bool committed = false; // a document exists (the first navigation committed)
    bool lastLoadOk = false;
    bool certificateFailed = false;
    bool titleSinceStart = false;
    int securityLevel = 0;
    int lastBack = -1;
    int lastForward = -1;
    QString lastTitle;
};

// Understands what a user types into an address box: a URL with a scheme, an absolute
// file path, or "host/path" (http is assumed).
QUrl AddressToUrl(const QString& address);
