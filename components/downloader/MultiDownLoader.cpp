#include "components/downloader/MultiDownLoader.h"

#include "components/downloader/CrawlWorker.h"

#include <QMetaObject>

TclMultiDownLoader::TclMultiDownLoader(QObject* parent) : QObject(parent) {
    qRegisterMetaType<TclDownLoadItem>();
}

TclMultiDownLoader::~TclMultiDownLoader() {
    worker.reset();
}

void TclMultiDownLoader::Start(const QString& url, int maxNestLevel) {
    if (busy)
        throw EclDownLoaderError(QStringLiteral("Operation is in progress"));
    worker.reset();
    const quint64 grab = ++generation;
    TCrawlSettings s;
    s.RootUrl = url;
    s.MaxNestLevel = qMax(0, maxNestLevel);
    s.Options = GrabOptions;
    s.LocalFolder = LocalFolder;
    s.MaxStartedItems = MaxStartedItems;
    s.TryCount = TryCount;
    s.TimeOut = TimeOut;
    s.ReconnectAfter = ReconnectAfter;
    s.Agent = InternetAgent.toUtf8();
    setBusy(true);
    // The worker's events are posted to this object's thread; those of a grab that was
    // stopped meanwhile are dropped there.
    worker = std::make_unique<TCrawlWorker>(
        s,
        [this, grab](const TclDownLoadItem& item) {
            QMetaObject::invokeMethod(
                this,
                [this, grab, item] {
                    if (grab == generation)
                        emit OnProcessCompleted(item);
                },
                Qt::QueuedConnection);
        },
        [this, grab] {
            QMetaObject::invokeMethod(
                this, [this, grab] { workerFinished(grab); }, Qt::QueuedConnection);
        });
}

void TclMultiDownLoader::Stop() {
    if (!worker)
        return;
    ++generation;
    worker.reset();
    setBusy(false);
}

void TclMultiDownLoader::workerFinished(quint64 grab) {
    if (grab != generation)
        return;
    worker.reset();
    setBusy(false);
}

void TclMultiDownLoader::setBusy(bool value) {
    if (busy == value)
        return;
    busy = value;
    emit OnIsBusyChanged();
}
