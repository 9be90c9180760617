#include "platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TSingleInstance::TSingleInstance(const QString& name, const QString& folder) {
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    path = dir + QLatin1Char('/') + name + QStringLiteral(".lock");
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        others = errno == EWOULDBLOCK;
        ::close(fd);
        fd = -1;
    }
}

TSingleInstance::~TSingleInstance() {
    if (fd >= 0)
        ::close(fd); // releases the lock; the file stays for the next start
}
