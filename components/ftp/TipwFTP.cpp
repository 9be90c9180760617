#include "components/ftp/TipwFTP.h"

#include "components/ftp/FtpListParser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <curl/curl.h>
#include <functional>

namespace {

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

bool HasControl(const QString& s) {
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

// Names from the server: UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise.
QString DecodeName(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : s;
}

QString JoinPath(const QString& dir, const QString& name) {
    if (name.startsWith(u'/') || dir.isEmpty())
        return name;
    if (dir.endsWith(u'/'))
        return dir + name;
    return dir + u'/' + name;
}

// URL path for a server path: absolute paths start with %2F so that libcurl sends them
// as they are; each segment is percent-encoded.
QByteArray UrlPath(const QString& path, bool directory) {
    QByteArray out = "/";
    QString rest = path;
    if (rest.startsWith(u'/')) {
        out += "%2F";
        rest = rest.mid(1);
    }
    const QStringList parts = rest.split(u'/');
    for (int i = 0; i < parts.size(); ++i) {
        if (i)
            out += '/';
        out += QUrl::toPercentEncoding(parts[i]);
    }
    if (directory && !out.endsWith('/'))
        out += '/';
    return out;
}

// The directory in a 257 reply: "257 "/pub" is the current directory" ("" stands for ").
QString ParsePwdReply(const QString& reply) {
    const qsizetype open = reply.indexOf(u'"');
    if (open < 0)
        return {};
    QString path;
    for (qsizetype i = open + 1; i < reply.size(); ++i) {
        if (reply[i] == u'"') {
            if (i + 1 < reply.size() && reply[i + 1] == u'"') {
                path += u'"';
                ++i;
                continue;
            }
            return path;
        }
        path += reply[i];
    }
    return {};
}

} // namespace

struct TipwFTP::Impl {
    TipwFTP* owner;
    CURL* curl = nullptr;
    bool connected = false;
    bool busy = false;
    bool forbidReuse = false;
    QString remotePath;
    std::atomic<bool> interrupted{false};
    char errbuf[CURL_ERROR_SIZE] = {};

    // State of the job in progress, touched by the worker thread while it runs.
    enum Kind { Command, List, Get, Put } kind = Command;
    int lastCode = 0;
    QString lastReply;
    QString pwdReply;
    QByteArray listBuffer;
    QSaveFile* sink = nullptr;
    QFile* source = nullptr;
    bool sinkFailed = false;
    qint64 bytes = 0;
    qint64 bytesPosted = 0;
    QElapsedTimer sincePost;
    std::atomic<bool> started{false};

    explicit Impl(TipwFTP* o) : owner(o) {
        static CurlGlobal global;
        curl = curl_easy_init();
    }
    ~Impl() {
        if (curl)
            curl_easy_cleanup(curl);
    }

    int Direction() const { return kind == Put ? 0 : 1; }

    void Post(std::function<void(TipwFTP*)> f) {
        QMetaObject::invokeMethod(
            owner, [o = owner, f = std::move(f)] { f(o); }, Qt::QueuedConnection);
    }

    void Trail(int direction, const QString& message) {
        Post([direction, message](TipwFTP* o) { emit o->OnPITrail(direction, message); });
    }

    void MarkStarted() {
        if (kind != Get && kind != Put)
            return;
        if (!started.exchange(true)) {
            const int dir = Direction();
            Post([dir](TipwFTP* o) { emit o->OnStartTransfer(dir); });
        }
    }

    void Progress(qint64 n) {
        bytes += n;
        if (!sincePost.isValid() || sincePost.elapsed() >= 50) {
            sincePost.restart();
            bytesPosted = bytes;
            const int dir = Direction();
            const qint64 b = bytes;
            Post([dir, b](TipwFTP* o) { emit o->OnTransfer(dir, b, QByteArray()); });
        }
    }

    void ListLines(bool flush) {
        for (;;) {
            qsizetype nl = listBuffer.indexOf('\n');
            if (nl < 0) {
                if (!flush || listBuffer.isEmpty())
                    return;
                nl = listBuffer.size();
            }
            const QByteArray raw = listBuffer.left(nl);
            listBuffer.remove(0, qMin(nl + 1, listBuffer.size()));
            const QString line = DecodeName(raw.endsWith('\r') ? raw.chopped(1) : raw);
            if (const auto e = ParseFtpListLine(line)) {
                const TFtpListEntry entry = *e;
                Post([line, entry](TipwFTP* o) {
                    emit o->OnDirList(line, entry.Name, entry.IsDir, entry.Size, entry.FileTime);
                });
            }
        }
    }

    static int OnDebug(CURL*, curl_infotype type, char* data, size_t size, void* user) {
        auto* self = static_cast<Impl*>(user);
        if (type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
            return 0;
        const QList<QByteArray> lines = QByteArray(data, qsizetype(size)).split('\n');
        for (QByteArray line : lines) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.isEmpty())
                continue;
            QString text = DecodeName(line);
            if (type == CURLINFO_HEADER_OUT) {
                if (text.startsWith(QStringLiteral("PASS "), Qt::CaseInsensitive))
                    text = QStringLiteral("PASS ********");
                self->Trail(0, text);
                continue;
            }
            self->Trail(1, text);
            // The final line of a reply is "NNN text"; continuation lines use "NNN-".
            if (text.size() >= 3 && text[0].isDigit() && text[1].isDigit() && text[2].isDigit() &&
                (text.size() == 3 || text[3] == u' ')) {
                self->lastCode = text.left(3).toInt();
                self->lastReply = text.mid(4).trimmed();
                if (self->lastCode == 257)
                    self->pwdReply = text;
                if (self->lastCode == 150 || self->lastCode == 125)
                    self->MarkStarted();
            }
        }
        return 0;
    }

    static size_t OnWrite(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Impl*>(user);
        const size_t n = size * count;
        if (self->kind == List) {
            self->listBuffer.append(data, qsizetype(n));
            self->ListLines(false);
            return n;
        }
        if (self->kind != Get || !self->sink)
            return n;
        self->MarkStarted();
        if (self->sink->write(data, qint64(n)) != qint64(n)) {
            self->sinkFailed = true;
            return 0;
        }
        self->Progress(qint64(n));
        return n;
    }

    static size_t OnRead(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Impl*>(user);
        if (!self->source)
            return 0;
        self->MarkStarted();
        const qint64 got = self->source->read(data, qint64(size * count));
        if (got < 0)
            return CURL_READFUNC_ABORT;
        self->Progress(got);
        return size_t(got);
    }

    static int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<Impl*>(user)->interrupted.load() ? 1 : 0;
    }

    QByteArray BaseUrl() const {
        QString host = owner->RemoteHost.trimmed();
        if (host.contains(u':') && !host.startsWith(u'['))
            host = u'[' + host + u']';
        return "ftp://" + host.toUtf8() + ':' + QByteArray::number(owner->RemotePort);
    }

    // Options common to every job; the handle keeps its connection between jobs.
    void Prepare(const QByteArray& url) {
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_USERNAME, owner->User.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, owner->Password.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errbuf);
        curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &Impl::OnDebug);
        curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
        curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Impl::OnWrite);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Impl::OnRead);
        curl_easy_setopt(curl, CURLOPT_READDATA, this);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Impl::OnProgress);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        // Commands name full paths; the server's own current directory is set by CWD
        // commands of ours only, so a reconnect cannot leave us somewhere else.
        curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(curl, CURLOPT_FTPPORT, owner->Passive ? nullptr : "-");
        // A passive data connection goes to the control connection's host, never to
        // the address a server names in its 227 reply.
        curl_easy_setopt(curl, CURLOPT_FTP_SKIP_PASV_IP, 1L);
        const long t = qMax(1, owner->Timeout);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, t);
        curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, t);
        curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, t * 1000);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, t);
        curl_easy_setopt(curl, CURLOPT_MAXAGE_CONN, 86400L);
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 256L * 1024); // fewer callbacks on fast links
        curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, forbidReuse ? 1L : 0L);
        curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, owner->TransferMode == tmASCII ? 1L : 0L);
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(-1));
        curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, 0L);
        lastCode = 0;
        lastReply.clear();
        pwdReply.clear();
        listBuffer.clear();
        sinkFailed = false;
        bytes = bytesPosted = 0;
        sincePost.invalidate();
        started = false;
        errbuf[0] = 0;
        interrupted = false;
    }

    // Runs curl_easy_perform on a worker thread and waits in a local event loop until it
    // is done and every event it raised has been delivered.
    CURLcode Perform() {
        CURLcode rc = CURLE_OK;
        QEventLoop loop;
        bool done = false;
        QThread* worker = QThread::create([this, &rc, &done, &loop] {
            rc = curl_easy_perform(curl);
            QMetaObject::invokeMethod(
                owner,
                [&done, &loop] {
                    done = true;
                    loop.quit();
                },
                Qt::QueuedConnection);
        });
        worker->start();
        while (!done)
            loop.exec();
        worker->wait();
        delete worker;
        return rc;
    }

    EipwFTP Failure(CURLcode rc) const {
        if (interrupted.load() && rc == CURLE_ABORTED_BY_CALLBACK)
            return EipwFTP(errInterrupted, QStringLiteral("Interrupted."));
        if (sinkFailed)
            return EipwFTP(errLocalFile, QStringLiteral("Could not write the local file: ") +
                                             sink->errorString());
        const bool local = rc == CURLE_OPERATION_TIMEDOUT || rc == CURLE_COULDNT_CONNECT ||
                           rc == CURLE_COULDNT_RESOLVE_HOST || rc == CURLE_ABORTED_BY_CALLBACK ||
                           rc == CURLE_READ_ERROR || rc == CURLE_WRITE_ERROR;
        if (!local && lastCode >= 400)
            return EipwFTP(lastCode, lastReply);
        const QString text =
            errbuf[0] ? QString::fromUtf8(errbuf) : QString::fromUtf8(curl_easy_strerror(rc));
        return EipwFTP(int(rc), text);
    }

    // One complete job: options, then perform; throws on failure.
    void Run(const QByteArray& path, Kind k, const QStringList& quote = {}, bool nobody = true) {
        if (busy)
            throw EipwFTP(errBusy, QStringLiteral("Component is busy."));
        busy = true;
        kind = k;
        Prepare(BaseUrl() + path);
        curl_slist* list = nullptr;
        for (const QString& q : quote)
            list = curl_slist_append(list, q.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_QUOTE, list);
        curl_easy_setopt(curl, CURLOPT_NOBODY, nobody ? 1L : 0L);
        if (k == Put) {
            curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(source->size()));
        }
        const CURLcode rc = Perform();
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_slist_free_all(list);
        busy = false;
        if (k == List)
            ListLines(true); // a last line without its newline
        if (rc != CURLE_OK)
            throw Failure(rc);
    }

    // CWD into the current directory first, so relative names act where the user looks.
    QStringList InCurrent(const QStringList& commands) const {
        QStringList all;
        if (!remotePath.isEmpty())
            all << QStringLiteral("CWD ") + remotePath;
        return all + commands;
    }

    void Transfer(Kind k);
};

TipwFTP::TipwFTP(QObject* parent) : QObject(parent), d(std::make_unique<Impl>(this)) {}

TipwFTP::~TipwFTP() {
    d->interrupted = true;
}

QString TipwFTP::RemotePath() const {
    return d->remotePath;
}
bool TipwFTP::Connected() const {
    return d->connected;
}
bool TipwFTP::Busy() const {
    return d->busy;
}

static void CheckName(const QString& s) {
    if (HasControl(s))
        throw EipwFTP(TipwFTP::errBadName, QStringLiteral("Invalid character in name or path."));
}

static void CheckConnected(const TipwFTP* ftp) {
    if (!ftp->Connected())
        throw EipwFTP(TipwFTP::errNotConnected, QStringLiteral("Not connected."));
}

void TipwFTP::SetRemotePath(const QString& path) {
    CheckName(path);
    if (!d->connected || path.isEmpty()) {
        d->remotePath = path;
        return;
    }
    d->Run("/", Impl::Command, {QStringLiteral("CWD ") + path, QStringLiteral("PWD")});
    const QString now = ParsePwdReply(d->pwdReply);
    d->remotePath = now.isEmpty() ? JoinPath(d->remotePath, path) : now;
}

void TipwFTP::Logon() {
    CheckName(RemoteHost);
    CheckName(User);
    CheckName(Password);
    if (d->busy)
        throw EipwFTP(errBusy, QStringLiteral("Component is busy."));
    if (RemoteHost.trimmed().isEmpty())
        throw EipwFTP(errNotConnected, QStringLiteral("No remote host given."));
    // A fresh handle: any earlier connection is closed and a new one logs on.
    curl_easy_cleanup(d->curl);
    d->curl = curl_easy_init();
    d->connected = false;
    const QString wanted = d->remotePath;
    d->remotePath.clear();
    d->Run("/", Impl::Command);
    char* entry = nullptr;
    curl_easy_getinfo(d->curl, CURLINFO_FTP_ENTRY_PATH, &entry);
    d->remotePath = entry ? QString::fromUtf8(entry) : QStringLiteral("/");
    d->connected = true;
    if (!wanted.isEmpty())
        SetRemotePath(wanted);
}

void TipwFTP::Logoff() {
    if (d->busy)
        throw EipwFTP(errBusy, QStringLiteral("Component is busy."));
    d->connected = false;
    // QUIT as a command of its own, so the trail shows it; then the connection is closed.
    d->forbidReuse = true;
    try {
        d->Run("/", Impl::Command, {QStringLiteral("QUIT")});
    } catch (...) {
        d->forbidReuse = false;
        curl_easy_cleanup(d->curl);
        d->curl = curl_easy_init();
        throw;
    }
    d->forbidReuse = false;
    curl_easy_cleanup(d->curl);
    d->curl = curl_easy_init();
}

void TipwFTP::ListDirectoryLong() {
    CheckConnected(this);
    CheckName(RemoteFile);
    const QString dir = RemoteFile.isEmpty() ? d->remotePath : JoinPath(d->remotePath, RemoteFile);
    d->Run(UrlPath(dir.isEmpty() ? QStringLiteral("/") : dir, true), Impl::List, {}, false);
}

void TipwFTP::Impl::Transfer(Kind k) {
    CheckConnected(owner);
    CheckName(owner->RemoteFile);
    CheckName(owner->LocalFile);
    if (owner->RemoteFile.isEmpty() || owner->LocalFile.isEmpty())
        throw EipwFTP(errBadName, QStringLiteral("RemoteFile and LocalFile must be set."));
    if (busy)
        throw EipwFTP(errBusy, QStringLiteral("Component is busy."));
    const QString local = QDir::current().absoluteFilePath(owner->LocalFile);
    const QByteArray path = UrlPath(JoinPath(remotePath, owner->RemoteFile), false);
    if (k == Get) {
        if (!owner->Overwrite && QFileInfo::exists(local))
            throw EipwFTP(errLocalFile,
                          QStringLiteral("Local file already exists: ") + owner->LocalFile);
        QSaveFile file(local);
        if (!file.open(QIODevice::WriteOnly))
            throw EipwFTP(errLocalFile,
                          QStringLiteral("Could not create the local file: ") + file.errorString());
        sink = &file;
        try {
            Run(path, Get, {}, false);
        } catch (...) {
            sink = nullptr;
            file.cancelWriting();
            if (started)
                emit owner->OnEndTransfer(1);
            throw;
        }
        sink = nullptr;
        if (!file.commit())
            throw EipwFTP(errLocalFile,
                          QStringLiteral("Could not write the local file: ") + file.errorString());
    } else {
        QFile file(local);
        if (!file.open(QIODevice::ReadOnly))
            throw EipwFTP(errLocalFile,
                          QStringLiteral("Could not open the local file: ") + file.errorString());
        source = &file;
        try {
            Run(path, Put, {}, false);
        } catch (...) {
            source = nullptr;
            if (started)
                emit owner->OnEndTransfer(0);
            throw;
        }
        source = nullptr;
    }
    // The file is complete on disk before the end of the transfer is announced.
    const int dir = k == Put ? 0 : 1;
    if (!started)
        emit owner->OnStartTransfer(dir);
    if (bytesPosted != bytes || bytes == 0)
        emit owner->OnTransfer(dir, bytes, QByteArray());
    emit owner->OnEndTransfer(dir);
}

void TipwFTP::Download() {
    d->Transfer(Impl::Get);
}
void TipwFTP::Upload() {
    d->Transfer(Impl::Put);
}

void TipwFTP::DeleteFile(const QString& name) {
    CheckConnected(this);
    CheckName(name);
    d->Run("/", Impl::Command, d->InCurrent({QStringLiteral("DELE ") + name}));
}

void TipwFTP::MakeDirectory(const QString& name) {
    CheckConnected(this);
    CheckName(name);
    d->Run("/", Impl::Command, d->InCurrent({QStringLiteral("MKD ") + name}));
}

void TipwFTP::RemoveDirectory(const QString& name) {
    CheckConnected(this);
    CheckName(name);
    d->Run("/", Impl::Command, d->InCurrent({QStringLiteral("RMD ") + name}));
}

void TipwFTP::RenameFile(const QString& newName) {
    CheckConnected(this);
    CheckName(RemoteFile);
    CheckName(newName);
    d->Run("/", Impl::Command,
           d->InCurrent({QStringLiteral("RNFR ") + RemoteFile, QStringLiteral("RNTO ") + newName}));
}

void TipwFTP::Interrupt() {
    if (d->busy)
        d->interrupted = true;
}
