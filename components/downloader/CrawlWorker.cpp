#include "components/downloader/CrawlWorker.h"

#include "platform/Files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <curl/curl.h>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace {

constexpr int MaxRedirectHops = 5;
constexpr qsizetype MaxResourceSize = 256 * 1024 * 1024;

struct Job {
    TclDownLoadItem item;
    QByteArray request; // address asked for now (changes when a redirect is followed)
    int tries = 0;
    int hops = 0;
    qint64 notBefore = 0;
    QByteArray body;
    bool tooLarge = false;
    char error[CURL_ERROR_SIZE] = {};
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* job = static_cast<Job*>(user);
    const size_t n = size * count;
    if (job->body.size() + qsizetype(n) > MaxResourceSize) {
        job->tooLarge = true;
        return 0;
    }
    job->body.append(data, qsizetype(n));
    return n;
}

// Failures worth another try; a malformed address or a refused protocol is not.
bool retryable(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return true;
    default:
        return false;
    }
}

} // namespace

struct TCrawlWorker::Private {
    TCrawlSettings s;
    std::function<void(const TclDownLoadItem&)> completed;
    std::function<void()> finished;
    std::atomic<bool> stop{false};
    std::mutex callbackLock; // held while a callback runs and while stopping
    std::mutex multiLock;
    CURLM* multi = nullptr;
    std::thread thread;

    // Worker-thread state.
    QString rootHost;
    QSet<QString> seen;
    std::deque<std::unique_ptr<Job>> pending;
    std::map<CURL*, std::unique_ptr<Job>> running;
    QElapsedTimer clock;
    // Files are written (each one synced to disk) beside the transfers, not between them.
    QThreadPool writers;

    void report(const TclDownLoadItem& item) {
        std::lock_guard lock(callbackLock);
        if (!stop)
            completed(item);
    }
    void run();
    void addRoot();
    void start(std::unique_ptr<Job> job);
    void done(CURL* easy, CURLcode code);
    void store(Job& job, const QByteArray& effectiveUrl);
    void queueLinks(const TclDownLoadItem& item, const QByteArray& html,
                    const QByteArray& effectiveUrl);
};

void TCrawlWorker::Private::addRoot() {
    QString text = s.RootUrl.trimmed();
    if (!text.isEmpty() && !text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("http://"));
    const QUrl root(text);
    rootHost = root.host();
    auto job = std::make_unique<Job>();
    const QString address = root.isValid() ? root.toString(QUrl::FullyEncoded) : text;
    job->item.RequestURL = address;
    job->item.URL = address.toLower();
    job->item.LocalFile = LocalFileFor(s.LocalFolder, job->item.URL);
    job->request = address.toUtf8();
    seen.insert(job->item.URL);
    pending.push_back(std::move(job));
}

void TCrawlWorker::Private::start(std::unique_ptr<Job> job) {
    CURL* easy = curl_easy_init();
    if (!easy) {
        job->item.ErrorText = QStringLiteral("Could not start the HTTP client");
        report(job->item);
        return;
    }
    job->body.clear();
    job->tooLarge = false;
    job->error[0] = 0;
    ++job->tries;
    curl_easy_setopt(easy, CURLOPT_URL, job->request.constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(easy, CURLOPT_USERAGENT, s.Agent.constData());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(s.TimeOut));
    // No progress for the time-out ends the try.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(qMax(1, s.TimeOut / 1000)));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, job.get());
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, job->error);
    curl_multi_add_handle(multi, easy);
    running.emplace(easy, std::move(job));
}

void TCrawlWorker::Private::done(CURL* easy, CURLcode code) {
    auto node = running.extract(easy);
    std::unique_ptr<Job> job = std::move(node.mapped());
    long status = 0;
    const char* type = nullptr;
    const char* effective = nullptr;
    const char* redirect = nullptr;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(easy, CURLINFO_CONTENT_TYPE, &type);
    curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &effective);
    curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &redirect);
    const QByteArray effectiveUrl = effective ? QByteArray(effective) : job->request;
    const QByteArray redirectUrl = redirect ? QByteArray(redirect) : QByteArray();
    job->item.StatusCode = status;
    job->item.ContentType = type ? QString::fromLatin1(type) : QString();
    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);

    if (code != CURLE_OK) {
        if (retryable(code) && job->tries < s.TryCount) {
            job->notBefore = clock.elapsed() + s.ReconnectAfter;
            pending.push_back(std::move(job));
            return;
        }
        job->item.ErrorText =
            job->tooLarge
                ? QStringLiteral("The resource is too large")
                : QString::fromUtf8(job->error[0] ? job->error : curl_easy_strerror(code));
        report(job->item);
        return;
    }
    if (status >= 300 && status < 400 && !redirectUrl.isEmpty()) {
        const QUrl target(QString::fromUtf8(redirectUrl));
        if (job->hops < MaxRedirectHops && FollowRedirect(target, rootHost)) {
            // Asked for again at the new address; the local file stays the one of the item.
            ++job->hops;
            job->tries = 0;
            job->request = target.toString(QUrl::FullyEncoded).toUtf8();
            pending.push_front(std::move(job));
            return;
        }
        job->item.ErrorText =
            QStringLiteral("Redirect to %1 not followed").arg(QString::fromUtf8(redirectUrl));
        report(job->item);
        return;
    }
    store(*job, effectiveUrl);
}

// Stores the resource when it qualifies and queues the links of a stored page. The item
// is reported once its file is written.
void TCrawlWorker::Private::store(Job& job, const QByteArray& effectiveUrl) {
    TclDownLoadItem& item = job.item;
    if (stop || !ShouldStore(s.Options, item.StatusCode, item.ContentType)) {
        report(item);
        return;
    }
    if (item.LocalFile.isEmpty()) {
        item.ErrorText = QStringLiteral("No safe local name for this address");
        report(item);
        return;
    }
    if (item.ContentType.contains(QLatin1String("html"), Qt::CaseInsensitive))
        queueLinks(item, job.body, effectiveUrl);
    writers.start([this, item = item, body = std::move(job.body)]() mutable {
        try {
            QDir().mkpath(QFileInfo(item.LocalFile).absolutePath());
            SaveFileAtomically(item.LocalFile, body);
            item.Stored = true;
        } catch (const Exception& e) {
            item.ErrorText = e.Message;
        }
        report(item);
    });
}

void TCrawlWorker::Private::queueLinks(const TclDownLoadItem& item, const QByteArray& html,
                                       const QByteArray& effectiveUrl) {
    const QUrl base(QString::fromUtf8(effectiveUrl));
    for (const QString& link : ExtractLinks(html)) {
        const QString text = link.trimmed();
        if (text.isEmpty())
            continue;
        const QUrl resolved = base.resolved(QUrl(text));
        if (!FollowLink(text, resolved, rootHost, item.NestLevel, s.MaxNestLevel))
            continue;
        const QString address = resolved.toString(QUrl::FullyEncoded);
        const QString lower = address.toLower();
        if (seen.contains(lower))
            continue;
        seen.insert(lower);
        auto next = std::make_unique<Job>();
        next->item.URL = lower;
        next->item.RequestURL = address;
        next->item.NestLevel = item.NestLevel + 1;
        next->item.LocalFile = LocalFileFor(s.LocalFolder, lower);
        next->request = address.toUtf8();
        pending.push_back(std::move(next));
    }
}

void TCrawlWorker::Private::run() {
    clock.start();
    addRoot();
    while (!stop) {
        const qint64 now = clock.elapsed();
        qint64 nextDue = -1;
        for (auto it = pending.begin();
             it != pending.end() && int(running.size()) < s.MaxStartedItems;) {
            if ((*it)->notBefore <= now) {
                std::unique_ptr<Job> job = std::move(*it);
                it = pending.erase(it);
                start(std::move(job));
            } else {
                nextDue = nextDue < 0 ? (*it)->notBefore : qMin(nextDue, (*it)->notBefore);
                ++it;
            }
        }
        if (running.empty() && pending.empty())
            break;
        int active = 0;
        curl_multi_perform(multi, &active);
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &left))
            if (msg->msg == CURLMSG_DONE)
                done(msg->easy_handle, msg->data.result);
        if (running.empty() && pending.empty())
            break;
        // Items found meanwhile start at once when a slot is free; otherwise wait for
        // socket activity, a retry falling due, or Stop's wake-up.
        const bool startable = int(running.size()) < s.MaxStartedItems &&
                               std::any_of(pending.begin(), pending.end(), [&](const auto& j) {
                                   return j->notBefore <= clock.elapsed();
                               });
        if (startable)
            continue;
        const int wait =
            nextDue < 0 ? 200 : int(qBound(qint64(1), nextDue - clock.elapsed(), qint64(200)));
        curl_multi_poll(multi, nullptr, 0, wait, nullptr);
    }
    for (auto& [easy, job] : running) {
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
    }
    running.clear();
    pending.clear();
    writers.waitForDone();
}

TCrawlWorker::TCrawlWorker(TCrawlSettings settings,
                           std::function<void(const TclDownLoadItem&)> completed,
                           std::function<void()> finished)
    : d(std::make_shared<Private>()) {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(initialised);
    d->s = std::move(settings);
    d->s.MaxStartedItems = qMax(1, d->s.MaxStartedItems);
    d->s.TryCount = qMax(1, d->s.TryCount);
    d->completed = std::move(completed);
    d->finished = std::move(finished);
    d->multi = curl_multi_init();
    d->writers.setMaxThreadCount(4);
    d->thread = std::thread([p = d] {
        if (p->multi)
            p->run();
        {
            std::lock_guard lock(p->multiLock);
            if (p->multi)
                curl_multi_cleanup(p->multi);
            p->multi = nullptr;
        }
        std::lock_guard lock(p->callbackLock);
        if (!p->stop)
            p->finished();
    });
}

TCrawlWorker::~TCrawlWorker() {
    Stop();
}

void TCrawlWorker::Stop() {
    {
        std::lock_guard lock(d->callbackLock);
        d->stop = true;
    }
    {
        std::lock_guard lock(d->multiLock);
        if (d->multi)
            curl_multi_wakeup(d->multi);
    }
    if (d->thread.joinable())
        d->thread.detach();
}
