#pragma once
// Parses the lines of an FTP long listing (the reply to LIST) into entries. Understands
// Unix "ls -l" (time and year forms, day-before-month locales, missing group column,
// group and size run together as pure-ftpd sends them, ACL marks after the mode, symbolic
// links) and DOS/IIS ("11-02-09  05:32PM  <DIR>  NT").
#include <QString>
#include <optional>

struct TFtpListEntry {
    QString Name; // as the server spells it; for a link, the part before " -> "
    bool IsDir = false;
    bool IsLink = false;
    qint64 Size = 0;    // bytes; 0 for directories and for what the server leaves out
    QString FileTime;   // the date and time columns as listed
    QString LinkTarget; // for a link, the part after " -> "
};

// One line (a trailing CR is ignored). No value for lines that are not entries:
// "total 20", blank lines, error texts, entries without a name.
std::optional<TFtpListEntry> ParseFtpListLine(const QString& line);
