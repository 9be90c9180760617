#pragma once
// A real peer (HTTP, FTP, POP3, SMTP server) started by a test on 127.0.0.1.
// The peer's program prints "READY <port>" on stdout when it accepts connections; the
// peer is stopped (its whole process group) when the object goes away.
#include <QProcess>
#include <QString>
#include <QStringList>

class TestPeer {
public:
    TestPeer() = default;
    TestPeer(const TestPeer&) = delete;
    TestPeer& operator=(const TestPeer&) = delete;
    ~TestPeer() { Stop(); }

    // Starts program with args and waits (up to timeoutMs) for its READY line.
    // Returns false, with Error() telling why, when it did not come.
    bool Start(const QString& program, const QStringList& args, int timeoutMs = 20000);
    void Stop();

    int Port() const { return port; }
    QString Error() const { return error; }
    // "http://127.0.0.1:<port>" + path, for an HTTP peer.
    QString Url(const QString& path = {}) const;

    // Starts tests/servers/httpd.py over docroot.
    bool StartHttp(const QString& docroot);

    // Path of a script under tests/servers.
    static QString Script(const QString& name);
    // A TCP port on 127.0.0.1 that is free at the moment of asking.
    static int FreePort();

private:
    QProcess process;
    int port = 0;
    QString error;
};
