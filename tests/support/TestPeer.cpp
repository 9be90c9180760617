#include "tests/support/TestPeer.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <csignal>
#include <unistd.h>

bool TestPeer::Start(const QString& program, const QStringList& args, int timeoutMs) {
    // Its own process group, so that daemons it forks are stopped with it.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    if (!process.waitForStarted(timeoutMs)) {
        error = process.errorString();
        return false;
    }
    QByteArray seen;
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (!process.canReadLine() && !process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (process.state() != QProcess::Running)
                break;
            continue;
        }
        while (process.canReadLine()) {
            const QByteArray line = process.readLine().trimmed();
            seen += line + '\n';
            if (line.startsWith("READY ")) {
                port = line.mid(6).toInt();
                return true;
            }
        }
    }
    error = QStringLiteral("%1 did not get ready: %2").arg(program, QString::fromUtf8(seen));
    Stop();
    return false;
}

void TestPeer::Stop() {
    if (process.state() == QProcess::NotRunning)
        return;
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGTERM);
    if (!process.waitForFinished(5000)) {
        if (pid > 0)
            ::kill(-pid_t(pid), SIGKILL);
        process.waitForFinished(5000);
    }
}

QString TestPeer::Url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}

bool TestPeer::StartHttp(const QString& docroot) {
    return Start(QStringLiteral("python3"), {Script(QStringLiteral("httpd.py")), docroot});
}

QString TestPeer::Script(const QString& name) {
    return QStringLiteral(QUILLMOOR_SOURCE_DIR "/tests/servers/") + name;
}

int TestPeer::FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
