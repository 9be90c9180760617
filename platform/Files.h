#pragma once
// File helpers shared by every part that writes files or stores names from outside.
#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Writes data to a temporary file in the same folder and renames it over path, so the
// old file stays whole if anything fails. Throws EInOutError with the reason.
void SaveFileAtomically(const QString& path, const QByteArray& data);
// The same, the new file getting exactly these permissions before any data is written
// (for files that hold passwords).
void SaveFileAtomically(const QString& path, const QByteArray& data, QFileDevice::Permissions permissions);

// Reads a whole file; throws EInOutError when it cannot be opened or read.
QByteArray ReadWholeFile(const QString& path);

// Reduces a path that came from outside (server, message, crawled address) to a relative
// path that stays inside any folder it is joined to: segments are split at "/" and "\",
// empty, "." and ".." segments are dropped, control characters (NUL included) removed and
// a drive letter's colon dropped. Returns "" when nothing usable is left.
QString SafeRelativePath(const QString& path);

// The last segment of a name from outside, cleaned the same way; "" when nothing is left.
QString SafeBaseName(const QString& name);

// True when name can be used as is as one file name inside a folder: not empty, not "."
// or "..", and without "/", "\" or control characters.
bool IsPlainFileName(const QString& name);

// True when path, resolved, lies inside folder (or is the folder).
bool IsInsideFolder(const QString& folder, const QString& path);

// Deletes a folder with everything in it, silently; symbolic links are removed, never
// followed. Returns false when anything could not be removed.
bool DeleteTree(const QString& path);
