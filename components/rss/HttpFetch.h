#pragma once
// One HTTP GET over libcurl on a worker thread; the calling thread waits in a local
// event loop meanwhile, so its windows keep painting and its timers keep running.
#include <QByteArray>
#include <QString>
#include <atomic>

struct THttpRequest {
    QString Url;
    QString User;
    QString Password; // with User: basic authorisation
    int TimeoutSeconds = 60;
    qsizetype MaxBody = 0; // 0: no limit
    QByteArray UserAgent;
    bool FollowRedirects = false;
};

struct THttpResult {
    int CurlCode = 0;      // 0: the exchange completed (any HTTP status)
    QString CurlError;     // text of a failed exchange
    bool TooLarge = false; // the body passed MaxBody and the transfer was cut
    bool Aborted = false;
    long Status = 0;
    QString Reason; // reason phrase of the status line
    QByteArray ContentType;
    QByteArray Body;
};

// Runs the request; abort, when set from the waiting thread's handlers, cuts it short.
THttpResult HttpGetWaiting(const THttpRequest& request, const std::atomic<bool>* abort = nullptr);
