#include "platform/IniFile.h"

#include "platform/Files.h"
#include "platform/IniDocument.h"

#include <QFile>

namespace {
IniDocument load(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return IniDocument::Parse({});
    return IniDocument::Parse(file.readAll());
}
} // namespace

QString TIniFile::ReadString(const QString& section, const QString& name, const QString& def) const {
    return load(FileName).Value(section, name).value_or(def);
}

int TIniFile::ReadInteger(const QString& section, const QString& name, int def) const {
    const auto text = load(FileName).Value(section, name);
    if (!text)
        return def;
    bool ok = false;
    const int value = text->toInt(&ok, 10);
    return ok ? value : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& name, bool def) const {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& name, const QString& value) {
    IniDocument doc = load(FileName);
    if (doc.SetValue(section, name, value))
        SaveFileAtomically(FileName, doc.Serialize());
}

void TIniFile::WriteInteger(const QString& section, const QString& name, int value) {
    WriteString(section, name, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& name, bool value) {
    WriteInteger(section, name, value ? 1 : 0);
}

bool TIniFile::SectionExists(const QString& section) const { return load(FileName).HasSection(section); }

bool TIniFile::ValueExists(const QString& section, const QString& name) const {
    return load(FileName).Value(section, name).has_value();
}

QStringList TIniFile::ReadSection(const QString& section) const { return load(FileName).ValueNames(section); }

void TIniFile::DeleteKey(const QString& section, const QString& name) {
    IniDocument doc = load(FileName);
    if (doc.RemoveValue(section, name))
        SaveFileAtomically(FileName, doc.Serialize());
}

void TIniFile::EraseSection(const QString& section) {
    IniDocument doc = load(FileName);
    if (doc.RemoveSection(section))
        SaveFileAtomically(FileName, doc.Serialize());
}
