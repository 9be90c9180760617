#include "platform/Registry.h"

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {
IniDocument loadHive(const QString& file) {
    QFile f(file);
    return IniDocument::Parse(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
}

void saveHive(const QString& file, const IniDocument& doc) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    try {
        SaveFileAtomically(file, doc.Serialize());
    } catch (const EInOutError& e) {
        throw ERegistryException(e.Message);
    }
}

QString normalisedKey(const QString& key) {
    QStringList parts;
    for (const QString& p : key.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        parts << p.trimmed();
    return parts.join(QLatin1Char('\\'));
}

bool isSameOrBelow(const QString& key, const QString& parent) {
    return key.compare(parent, Qt::CaseInsensitive) == 0 ||
           key.startsWith(parent + QLatin1Char('\\'), Qt::CaseInsensitive);
}

QString encodeString(const QString& value) {
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('"'))
            out += QLatin1String("\\\"");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

bool decodeString(const QString& raw, QString* out) {
    if (raw.size() < 2 || !raw.startsWith(QLatin1Char('"')) || !raw.endsWith(QLatin1Char('"')))
        return false;
    out->clear();
    for (qsizetype i = 1; i < raw.size() - 1; ++i) {
        QChar c = raw[i];
        if (c == QLatin1Char('\\') && i + 1 < raw.size() - 1) {
            const QChar n = raw[++i];
            c = n == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : n == QLatin1Char('r') ? QChar(QLatin1Char('\r')) : n;
        }
        *out += c;
    }
    return true;
}

bool decodeDword(const QString& raw, int* out) {
    if (!raw.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive))
        return false;
    bool ok = false;
    const uint v = raw.mid(6).toUInt(&ok, 16);
    if (ok)
        *out = int(v);
    return ok;
}

const char* hiveName(RootKey root) {
    switch (root) {
    case RootKey::HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case RootKey::HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case RootKey::HKEY_CURRENT_USER: break;
    }
    return "HKEY_CURRENT_USER";
}
} // namespace

TRegistry::TRegistry(QString storeFolder, RootKey root) : store(std::move(storeFolder)), rootKey(root) {}

QString TRegistry::DefaultStoreFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Quillmoor");
}

void TRegistry::SetRootKey(RootKey root) {
    CloseKey();
    rootKey = root;
}

QString TRegistry::HiveFile() const {
    return store + QLatin1Char('/') + QLatin1String(hiveName(rootKey)) + QLatin1String(".ini");
}

QString TRegistry::resolve(const QString& key) const {
    if (key.startsWith(QLatin1Char('\\')) || !keyOpen || currentKey.isEmpty())
        return normalisedKey(key);
    return normalisedKey(currentKey + QLatin1Char('\\') + key);
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
    const QString path = resolve(key);
    if (!KeyExists(QLatin1Char('\\') + path)) {
        if (!canCreate)
            return false;
        IniDocument doc = loadHive(HiveFile());
        doc.AddSection(path);
        saveHive(HiveFile(), doc);
    }
    currentKey = path;
    keyOpen = true;
    readOnly = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key) {
    const QString path = resolve(key);
    if (!KeyExists(QLatin1Char('\\') + path))
        return false;
    currentKey = path;
    keyOpen = true;
    readOnly = true;
    return true;
}

void TRegistry::CloseKey() {
    currentKey.clear();
    keyOpen = false;
    readOnly = false;
}

bool TRegistry::KeyExists(const QString& key) const {
    const QString path = resolve(key);
    if (path.isEmpty())
        return true;
    for (const QString& s : loadHive(HiveFile()).SectionNames())
        if (isSameOrBelow(normalisedKey(s), path))
            return true;
    return false;
}

bool TRegistry::DeleteKey(const QString& key) {
    const QString path = resolve(key);
    if (path.isEmpty())
        return false;
    IniDocument doc = loadHive(HiveFile());
    bool removed = false;
    for (const QString& s : doc.SectionNames())
        if (isSameOrBelow(normalisedKey(s), path))
            removed = doc.RemoveSection(s) || removed;
    if (removed)
        saveHive(HiveFile(), doc);
    return removed;
}

QStringList TRegistry::GetKeyNames() const {
    QStringList names;
    const QString prefix = currentKey.isEmpty() ? QString() : currentKey + QLatin1Char('\\');
    for (const QString& s : loadHive(HiveFile()).SectionNames()) {
        const QString k = normalisedKey(s);
        if (!prefix.isEmpty() && !k.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString child = k.mid(prefix.size()).section(QLatin1Char('\\'), 0, 0);
        if (!child.isEmpty() && !names.contains(child, Qt::CaseInsensitive))
            names << child;
    }
    return names;
}

bool TRegistry::ValueExists(const QString& name) const {
    return loadHive(HiveFile()).Value(currentKey, name).has_value();
}

QStringList TRegistry::GetValueNames() const { return loadHive(HiveFile()).ValueNames(currentKey); }

QString TRegistry::ReadString(const QString& name) const {
    const auto raw = loadHive(HiveFile()).Value(currentKey, name);
    if (!raw)
        return {};
    QString text;
    if (decodeString(*raw, &text))
        return text;
    throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

int TRegistry::ReadInteger(const QString& name) const {
    const auto raw = loadHive(HiveFile()).Value(currentKey, name);
    int value = 0;
    if (raw && decodeDword(*raw, &value))
        return value;
    throw ERegistryException(raw ? QStringLiteral("Invalid data type for '%1'").arg(name)
                                 : QStringLiteral("Value '%1' does not exist").arg(name));
}

void TRegistry::requireWritable() const {
    if (!keyOpen)
        throw ERegistryException(QStringLiteral("No key is open"));
    if (readOnly)
        throw ERegistryException(QStringLiteral("Key '%1' is open read-only").arg(currentKey));
}

void TRegistry::WriteString(const QString& name, const QString& value) {
    requireWritable();
    IniDocument doc = loadHive(HiveFile());
    if (doc.SetValue(currentKey, name, encodeString(value)))
        saveHive(HiveFile(), doc);
}

void TRegistry::WriteInteger(const QString& name, int value) {
    requireWritable();
    IniDocument doc = loadHive(HiveFile());
    if (doc.SetValue(currentKey, name, QStringLiteral("dword:%1").arg(uint(value), 8, 16, QLatin1Char('0'))))
        saveHive(HiveFile(), doc);
}

bool TRegistry::DeleteValue(const QString& name) {
    requireWritable();
    IniDocument doc = loadHive(HiveFile());
    if (!doc.RemoveValue(currentKey, name))
        return false;
    saveHive(HiveFile(), doc);
    return true;
}
