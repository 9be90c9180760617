#include "platform/Files.h"

#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

void SaveFileAtomically(const QString& path, const QByteArray& data) {
    SaveFileAtomically(path, data, QFileDevice::Permissions());
}

void SaveFileAtomically(const QString& path, const QByteArray& data, QFileDevice::Permissions permissions) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EInOutError(QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
    if (permissions && !file.setPermissions(permissions)) {
        file.cancelWriting();
        throw EInOutError(QStringLiteral("Cannot set the permissions of \"%1\"").arg(path));
    }
    if (file.write(data) != data.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw EInOutError(QStringLiteral("Cannot write \"%1\": %2").arg(path, reason));
    }
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    return file.readAll();
}

namespace {
QString cleanSegment(const QString& segment) {
    QString out;
    out.reserve(segment.size());
    for (QChar c : segment)
        if (c.unicode() >= 0x20 && c.unicode() != 0x7f)
            out += c;
    // "C:" as a first segment is a drive letter; a colon is no part of a portable name.
    out.remove(QLatin1Char(':'));
    const QString trimmed = out.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String(".") || trimmed == QLatin1String(".."))
        return {};
    return out;
}

QStringList cleanSegments(const QString& path) {
    QStringList parts;
    for (const QString& raw : QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'))) {
        const QString seg = cleanSegment(raw);
        if (!seg.isEmpty())
            parts << seg;
    }
    return parts;
}
} // namespace

QString SafeRelativePath(const QString& path) { return cleanSegments(path).join(QLatin1Char('/')); }

QString SafeBaseName(const QString& name) {
    const QStringList parts = cleanSegments(name);
    return parts.isEmpty() ? QString() : parts.last();
}

bool IsPlainFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    return true;
}

bool IsInsideFolder(const QString& folder, const QString& path) {
    const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return target == root || target.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
}

bool DeleteTree(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        return QFile::remove(path);
    if (!info.exists())
        return false;
    return QDir(path).removeRecursively();
}
