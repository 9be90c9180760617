#pragma once
// TclMultiDownLoader: grabs a web site into a local folder. Start returns at once; the
// crawl runs on a worker thread with up to MaxStartedItems transfers at a time, and its
// events (OnIsBusyChanged, OnProcessCompleted) are delivered on the thread that owns
// the downloader. Stop ends every transfer; no event of that grab follows it.
#include "components/downloader/GrabRules.h"
#include "platform/Errors.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <memory>

// One address of a grab.
struct TclDownLoadItem {
    QString URL;         // lower-cased; the duplicate check and the file name use it
    QString RequestURL;  // the address as found, which is what the server is asked for
    QString LocalFile;   // where it is stored; empty when no safe name exists
    int NestLevel = 0;   // 0 for the root, L + 1 for an item found in a level-L page
    long StatusCode = 0; // last HTTP status, 0 when no answer came
    QString ContentType;
    bool Stored = false;
    QString ErrorText; // why it failed, when it did
};
Q_DECLARE_METATYPE(TclDownLoadItem)

// Raised by Start while a grab runs ("Operation is in progress").
class EclDownLoaderError : public Exception {
public:
    using Exception::Exception;
};

class TCrawlWorker;

class TclMultiDownLoader : public QObject {
    Q_OBJECT
public:
    explicit TclMultiDownLoader(QObject* parent = nullptr);
    ~TclMultiDownLoader() override;

    TclGrabOptions GrabOptions;
    QString LocalFolder;
    int MaxStartedItems = 5;
    int TryCount = 5;
    int TimeOut = 5000;        // milliseconds without progress before a try is given up
    int ReconnectAfter = 5000; // milliseconds before a failed try is repeated
    bool PassiveFTPMode = false;
    QString InternetAgent = QStringLiteral("Mozilla/4.0 (compatible; Clever Internet Suite)");

    bool IsBusy() const { return busy; }
    // Clears the list and starts at url with the given depth (negative counts as 0, which
    // sets no limit). Throws EclDownLoaderError when a grab is running.
    void Start(const QString& url, int maxNestLevel);
    void Stop();

signals:
    void OnIsBusyChanged();
    void OnProcessCompleted(const TclDownLoadItem& item);

private:
    void setBusy(bool value);
    void workerFinished(quint64 grab);

    std::unique_ptr<TCrawlWorker> worker;
    quint64 generation = 0;
    bool busy = false;
};
