#include "components/mail/MailClient.h"

#include <QEventLoop>
#include <QSslConfiguration>
#include <QSslSocket>
#include <exception>

TclMailSession::~TclMailSession() { Disconnect(); }

void TclMailSession::fail(const QString& what) {
    const QString reason = socket ? socket->errorString() : QString();
    Disconnect();
    throw EclMailError(reason.isEmpty() ? what : what + QStringLiteral(": ") + reason);
}

void TclMailSession::Connect(const QString& host, int port, bool useSsl, int timeoutMs, const QList<QSslCertificate>& extraCa) {
    Disconnect();
    timeout = timeoutMs;
    pending.clear();
    socket = new QSslSocket;
    if (!extraCa.isEmpty()) {
        QSslConfiguration config = socket->sslConfiguration();
        config.addCaCertificates(extraCa);
        socket->setSslConfiguration(config);
    }
    if (useSsl) {
        socket->connectToHostEncrypted(host, quint16(port));
        if (!socket->waitForEncrypted(timeout))
            fail(QStringLiteral("Cannot open a secured connection to %1:%2").arg(host).arg(port));
    } else {
        socket->connectToHost(host, quint16(port));
        if (!socket->waitForConnected(timeout))
            fail(QStringLiteral("Cannot connect to %1:%2").arg(host).arg(port));
    }
}

void TclMailSession::Disconnect() {
    if (!socket)
        return;
    socket->abort();
    delete socket;
    socket = nullptr;
}

QByteArray TclMailSession::ReadLine() {
    if (!socket)
        throw EclMailError(QStringLiteral("Not connected"));
    while (true) {
        const qsizetype end = pending.indexOf('\n');
        if (end >= 0) {
            QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (line.endsWith('\r'))
                line.chop(1);
            return line;
        }
        if (socket->bytesAvailable() == 0 && !socket->waitForReadyRead(timeout))
            fail(socket->state() == QAbstractSocket::ConnectedState
                     ? QStringLiteral("The server did not answer in time")
                     : QStringLiteral("The server closed the connection"));
        pending += socket->readAll();
    }
}

void TclMailSession::Write(const QByteArray& data) {
    if (!socket)
        throw EclMailError(QStringLiteral("Not connected"));
    if (socket->write(data) != data.size())
        fail(QStringLiteral("Cannot send to the server"));
    while (socket->bytesToWrite() > 0)
        if (!socket->waitForBytesWritten(timeout))
            fail(QStringLiteral("Cannot send to the server"));
}

TclMailClient::TclMailClient(QObject* parent) : QObject(parent), session(std::make_unique<TclMailSession>()) {
    context = new QObject;
    context->moveToThread(&thread);
    connect(&thread, &QThread::finished, context, &QObject::deleteLater);
    thread.start();
}

TclMailClient::~TclMailClient() {
    // The socket belongs to the worker thread; it is released there.
    // No event loop here: the owner may be half destroyed. The worker drops the socket
    // while this thread blocks.
    TclMailSession* s = session.get();
    QMetaObject::invokeMethod(context, [s] { s->Disconnect(); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
}

void TclMailClient::Run(const std::function<void(TclMailSession&)>& fn) {
    std::exception_ptr error;
    bool done = false;
    QEventLoop loop;
    TclMailSession* s = session.get();
    QMetaObject::invokeMethod(context, [&, s] {
        try {
            fn(*s);
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, [&] {
            done = true;
            loop.quit();
        }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);
    while (!done)
        loop.exec();
    if (!session->IsOpen())
        active = false;
    if (error)
        std::rethrow_exception(error);
}

void TclMailClient::OpenWith(const std::function<void(TclMailSession&)>& login) {
    if (Server.trimmed().isEmpty())
        throw EclMailError(QStringLiteral("No server is given"));
    const QString host = Server.trimmed();
    const int port = Port;
    const bool ssl = UseSSL;
    const int timeout = TimeOutMs;
    const QList<QSslCertificate> ca = CaCertificates;
    Run([&](TclMailSession& s) {
        s.Connect(host, port, ssl, timeout, ca);
        try {
            login(s);
        } catch (...) {
            s.Disconnect();
            throw;
        }
    });
    active = true;
}

void TclMailClient::CloseWith(const std::function<void(TclMailSession&)>& farewell) {
    Run([&](TclMailSession& s) {
        std::exception_ptr error;
        if (s.IsOpen()) {
            try {
                farewell(s);
            } catch (...) {
                error = std::current_exception();
            }
        }
        s.Disconnect();
        if (error)
            std::rethrow_exception(error);
    });
    active = false;
}

void TclMailClient::Abort() {
    Run([](TclMailSession& s) { s.Disconnect(); });
    active = false;
}
