#include "components/browser/WebPage.h"

#include "components/browser/EmbeddedWB.h"

#include <QWebEngineCertificateError>

TWebPage::TWebPage(QWebEngineProfile* profile, TEmbeddedWB* browser)
    : QWebEnginePage(profile, browser), browser(browser) {
    connect(this, &QWebEnginePage::certificateError, this, &TWebPage::onCertificateError);
}

QWebEnginePage* TWebPage::createWindow(WebWindowType) {
    TEmbeddedWB* target = browser->requestNewWindow();
    return target ? target->page() : nullptr;
}

bool TWebPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    return browser->beforeNavigate(url, isMainFrame);
}

void TWebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                        int lineNumber, const QString& sourceID) {
    if (level == ErrorMessageLevel)
        browser->reportScriptError(lineNumber, message, sourceID);
}

// A certificate the system does not trust is never accepted: the engine then shows its
// error page instead of the site.
void TWebPage::onCertificateError(const QWebEngineCertificateError& error) {
    browser->certificateRefused();
    QWebEngineCertificateError copy = error;
    copy.rejectCertificate();
}
