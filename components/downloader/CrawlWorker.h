#pragma once
// The crawl of one grab on its own thread: a libcurl multi loop with the grab rules.
#include "components/downloader/MultiDownLoader.h"

#include <functional>

struct TCrawlSettings {
    QString RootUrl;
    int MaxNestLevel = 0;
    TclGrabOptions Options;
    QString LocalFolder;
    int MaxStartedItems = 5;
    int TryCount = 5;
    int TimeOut = 5000;
    int ReconnectAfter = 5000;
    QByteArray Agent;
};

class TCrawlWorker {
public:
    // completed runs on the worker thread for every finished item; finished once at the
    // end. Both must only hand the work over to another thread.
    TCrawlWorker(TCrawlSettings settings, std::function<void(const TclDownLoadItem&)> completed,
                 std::function<void()> finished);
    ~TCrawlWorker(); // stops
    // From the owner's thread: no callback runs once this returns. The thread ends by
    // itself soon after (a page being scanned is finished first), without being waited for.
    void Stop();

private:
    struct Private;
    std::shared_ptr<Private> d;
};
