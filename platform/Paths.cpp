#include "platform/Paths.h"

#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
bool folderIsWritable(const QString& folder) {
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.write-test-XXXXXX"));
    return probe.open();
}

QString withoutTrailingSeparator(QString path) {
    path = QDir::cleanPath(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}
} // namespace

QString UserDataFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Quillmoor");
    QDir().mkpath(folder);
    return withoutTrailingSeparator(folder);
}

QString ExeDirFor(const QString& exeFolder) {
    if (folderIsWritable(exeFolder))
        return withoutTrailingSeparator(QFileInfo(exeFolder).absoluteFilePath());
    return UserDataFolder();
}

QString ComputeExeDir() { return ExeDirFor(QCoreApplication::applicationDirPath()); }

QString ShellFolder(TRegistry& registry, const QString& name) {
    static const QString key = QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    TRegistry reg(QFileInfo(registry.HiveFile()).absolutePath(), RootKey::HKEY_CURRENT_USER);
    QString path;
    if (reg.OpenKeyReadOnly(key))
        path = reg.ReadString(name);
    if (path.isEmpty()) {
        path = UserDataFolder() + QLatin1Char('/') + name;
        if (reg.OpenKey(key, true))
            reg.WriteString(name, path);
    }
    QDir().mkpath(path);
    return withoutTrailingSeparator(path);
}
