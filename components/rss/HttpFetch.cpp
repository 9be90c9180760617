#include "components/rss/HttpFetch.h"

#include <QEventLoop>
#include <QMetaObject>
#include <curl/curl.h>
#include <thread>

namespace {

struct Transfer {
    const THttpRequest* request;
    const std::atomic<bool>* abort;
    THttpResult result;
    std::atomic<bool> cut{false}; // the waiting loop ended early (the program is quitting)
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t->request->MaxBody > 0 && t->result.Body.size() + qsizetype(n) > t->request->MaxBody) {
        t->result.TooLarge = true;
        return 0;
    }
    t->result.Body.append(data, qsizetype(n));
    return n;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t n = size * count;
    const QByteArray line = QByteArray(data, qsizetype(n)).trimmed();
    if (line.startsWith("HTTP/")) {
        // "HTTP/1.1 404 Not Found": a new response starts (after a 100 Continue, say).
        const QList<QByteArray> parts = line.split(' ');
        t->result.Reason =
            parts.size() > 2 ? QString::fromLatin1(line.mid(parts[0].size() + parts[1].size() + 2))
                             : QString();
    }
    return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    return t->cut.load() || (t->abort && t->abort->load()) ? 1 : 0;
}

void run(Transfer& t) {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(initialised);
    CURL* curl = curl_easy_init();
    if (!curl) {
        t.result.CurlCode = CURLE_FAILED_INIT;
        t.result.CurlError = QStringLiteral("Could not start the HTTP client");
        return;
    }
    const THttpRequest& rq = *t.request;
    const QByteArray url = rq.Url.toUtf8();
    const QByteArray user = rq.User.toUtf8();
    const QByteArray password = rq.Password.toUtf8();
    char error[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, rq.FollowRedirects ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(rq.TimeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    if (!rq.UserAgent.isEmpty())
        curl_easy_setopt(curl, CURLOPT_USERAGENT, rq.UserAgent.constData());
    if (!rq.User.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    const char* type = nullptr;
    curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type);
    t.result.Status = status;
    t.result.ContentType = type ? QByteArray(type) : QByteArray();
    t.result.CurlCode = int(code);
    t.result.Aborted = code == CURLE_ABORTED_BY_CALLBACK;
    if (code != CURLE_OK)
        t.result.CurlError = QString::fromUtf8(error[0] ? error : curl_easy_strerror(code));
    curl_easy_cleanup(curl);
}

} // namespace

THttpResult HttpGetWaiting(const THttpRequest& request, const std::atomic<bool>* abort) {
    Transfer t{&request, abort, {}};
    QEventLoop loop;
    std::thread worker([&] {
        run(t);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    t.cut = true;
    worker.join();
    return t.result;
}
