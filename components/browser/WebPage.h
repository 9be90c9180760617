#pragma once
// The page object behind a TEmbeddedWB: turns the engine's callbacks (new window,
// navigation request, console errors, certificate errors) into the control's events.
#include <QWebEnginePage>

class TEmbeddedWB;
class QWebEngineCertificateError;

class TWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    TWebPage(QWebEngineProfile* profile, TEmbeddedWB* browser);

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    void onCertificateError(const QWebEngineCertificateError& error);
    TEmbeddedWB* browser;
};
