#pragma once
// The settings store standing in for the Windows registry. Each hive is an INI file in
// the store folder ("HKEY_CURRENT_USER.ini", ...); a key is a section named by its full
// path ("Software\Microsoft\Internet Explorer\TypedURLs") and values are written the way
// .reg files write them: "text" (quoted, with \\ \" \n escapes) or dword:0000002a.
// Key and value names are matched without regard to letter case.
#include <QString>
#include <QStringList>

enum class RootKey { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

class TRegistry {
public:
    // storeFolder holds the hive files; it is created on the first write.
    explicit TRegistry(QString storeFolder, RootKey root = RootKey::HKEY_CURRENT_USER);

    // The per-user folder used by the program: <config folder>/Quillmoor.
    static QString DefaultStoreFolder();

    RootKey GetRootKey() const { return rootKey; }
    void SetRootKey(RootKey root);

    // A key path starting with "\" is taken from the root, otherwise from the open key.
    bool OpenKey(const QString& key, bool canCreate);
    bool OpenKeyReadOnly(const QString& key);
    void CloseKey();
    QString CurrentPath() const { return currentKey; }

    bool KeyExists(const QString& key) const;
    bool DeleteKey(const QString& key); // with its subkeys
    QStringList GetKeyNames() const;    // direct subkeys of the open key

    bool ValueExists(const QString& name) const;
    QStringList GetValueNames() const;
    // A missing value reads as ""; a value of another type throws ERegistryException.
    QString ReadString(const QString& name) const;
    // A missing or non-integer value throws ERegistryException.
    int ReadInteger(const QString& name) const;
    void WriteString(const QString& name, const QString& value);
    void WriteInteger(const QString& name, int value);
    bool DeleteValue(const QString& name);

    QString HiveFile() const;

private:
    QString resolve(const QString& key) const;
    void requireWritable() const;

    QString store;
    RootKey rootKey;
    QString currentKey;
    bool keyOpen = false;
    bool readOnly = false;
};
