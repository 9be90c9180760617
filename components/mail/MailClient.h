#pragma once
// Shared ground of the POP3 and SMTP clients: connection settings and one line-oriented
// session on a worker thread. Every operation runs there while the calling thread waits
// in a local event loop, so windows keep painting and their buttons keep working.
#include "platform/Errors.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <QThread>
#include <functional>
#include <memory>

class QSslSocket;

// A connection, log-in or protocol failure; the message carries the server's own text.
class EclMailError : public Exception {
public:
    using Exception::Exception;
};

// The session as the worker thread sees it; only used inside TclMailClient::Run.
class TclMailSession {
public:
    ~TclMailSession();
    void Connect(const QString& host, int port, bool useSsl, int timeoutMs, const QList<QSslCertificate>& extraCa = {});
    void Disconnect();
    bool IsOpen() const { return socket != nullptr; }
    QByteArray ReadLine(); // one line, without its CRLF
    void Write(const QByteArray& data);
    void WriteLine(const QByteArray& line) { Write(line + "\r\n"); }

private:
    QSslSocket* socket = nullptr;
    int timeout = 60000;
    QByteArray pending;
    [[noreturn]] void fail(const QString& what);
};

class TclMailClient : public QObject {
    Q_OBJECT
public:
    explicit TclMailClient(QObject* parent = nullptr);
    ~TclMailClient() override;

    QString Server;
    QString UserName;
    QString Password;
    int Port = 0;
    bool UseSSL = false;
    bool UseSPA = false; // secure password authentication (APOP, CRAM-MD5)
    int TimeOutMs = 60000; // per network wait
    // Authorities trusted beside the system's (a server's own certificate, for example).
    QList<QSslCertificate> CaCertificates;

    // True from a successful Open until Close (or a lost connection found by an operation).
    bool Active() const { return active; }
    // Drops the connection without a farewell (a POP3 server then discards deletions).
    void Abort();

protected:
    // Runs fn on the worker thread and waits for it; rethrows what it threw.
    void Run(const std::function<void(TclMailSession&)>& fn);
    // Opens the connection, then runs login; on any failure the connection is dropped.
    void OpenWith(const std::function<void(TclMailSession&)>& login);
    // Runs farewell (errors kept), then always disconnects; rethrows farewell's error.
    void CloseWith(const std::function<void(TclMailSession&)>& farewell);

private:
    QThread thread;
    QObject* context = nullptr;
    std::unique_ptr<TclMailSession> session;
    bool active = false;
};
