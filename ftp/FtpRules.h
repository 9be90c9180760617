#pragma once
// Widget-free rules of the FTP window: list rows, the notes cap, the gauge, which
// server names may become local files, and the local directory's entries.
#include <QList>
#include <QString>
#include <QStringList>

// A directory row is the marker followed by the name; a file row is the bare name.
inline const QString DirMarker = QStringLiteral("<DIR>  ");
constexpr int MaxNotes = 255;

bool IsDirRow(const QString& row);
QString RowName(const QString& row); // the row without the marker

// Gauge position for a transfer: bytes * 100 / expected, 0..100; 0 when expected is 0.
int TransferPercent(qint64 bytes, qint64 expected);

// Why a server name must not become a local file name, or "" when it may: names with
// "/" or "\", empty names, "." and "..", names with control characters.
QString DownloadRefusal(const QString& name);

struct TLocalEntry {
    QString Row; // with the marker for a directory
    qint64 Size;
};
// Every entry of the folder in the order the file system gives them, "." and "..",
// hidden and system files included. A mask other than "*" keeps only matching files.
QList<TLocalEntry> LocalEntries(const QString& folder, const QString& mask = QStringLiteral("*"));

// The system's roots and mount points for the drive selector, "/" first.
QStringList LocalRoots();
