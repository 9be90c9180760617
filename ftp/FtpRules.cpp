#include "ftp/FtpRules.h"

#include "platform/Files.h"

#include <QDir>
#include <QStorageInfo>

bool IsDirRow(const QString& row) {
    return row.startsWith(DirMarker);
}

QString RowName(const QString& row) {
    return IsDirRow(row) ? row.mid(DirMarker.size()) : row;
}

int TransferPercent(qint64 bytes, qint64 expected) {
    if (expected <= 0 || bytes <= 0)
        return 0;
    if (bytes >= expected)
        return 100;
    return int(__int128(bytes) * 100 / expected); // wide enough for any size
}

QString DownloadRefusal(const QString& name) {
    if (IsPlainFileName(name))
        return {};
    QString shown = name;
    for (QChar& c : shown)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    return QStringLiteral("Refused to download \"%1\": the name is not a plain file name.")
        .arg(shown);
}

QList<TLocalEntry> LocalEntries(const QString& folder, const QString& mask) {
    QDir dir(folder);
    QDir::Filters filters = QDir::AllEntries | QDir::Hidden | QDir::System;
    const bool all = mask.isEmpty() || mask == QStringLiteral("*") || mask == QStringLiteral("*.*");
    if (!all) {
        dir.setNameFilters({mask});
        filters = QDir::Files | QDir::Hidden | QDir::System;
    }
    QList<TLocalEntry> out;
    for (const QFileInfo& fi : dir.entryInfoList(filters, QDir::Unsorted)) {
        const bool isDir = fi.isDir();
        out.append({isDir ? DirMarker + fi.fileName() : fi.fileName(), fi.size()});
    }
    return out;
}

QStringList LocalRoots() {
    QStringList roots{QDir::rootPath()};
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes())
        if (s.isValid() && s.isReady() && !roots.contains(s.rootPath()))
            roots.append(s.rootPath());
    return roots;
}
