#pragma once
// An INI file on disk ("Mail.ini"). Like the Windows profile calls, every read looks at
// the file as it is now and every change is written at once (atomically), so several
// holders of the same file never overwrite each other's sections.
#include <QString>
#include <QStringList>

class TIniFile {
public:
    explicit TIniFile(QString fileName) : FileName(std::move(fileName)) {}

    QString ReadString(const QString& section, const QString& name, const QString& def) const;
    // A value that is not a decimal integer gives the default.
    int ReadInteger(const QString& section, const QString& name, int def) const;
    bool ReadBool(const QString& section, const QString& name, bool def) const;

    // Writes only when the value changes; throws EInOutError when the file cannot be written.
    void WriteString(const QString& section, const QString& name, const QString& value);
    void WriteInteger(const QString& section, const QString& name, int value);
    void WriteBool(const QString& section, const QString& name, bool value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& name) const;
    QStringList ReadSection(const QString& section) const; // value names
    void DeleteKey(const QString& section, const QString& name);
    void EraseSection(const QString& section);

    const QString FileName;
};
