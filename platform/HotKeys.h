#pragma once
// System-wide hot keys. On X11 a key is a passive grab on the root window for every
// Num Lock / Caps Lock variant of the combination; a press raises HotKey(id) on the UI
// thread, whichever application has the focus. Without X11 registration fails quietly.
#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

class TGlobalHotKeys : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit TGlobalHotKeys(QObject* parent = nullptr);
    ~TGlobalHotKeys() override;

    // Identifier of a named atom (the same name gives the same identifier).
    int GlobalAddAtom(const QString& name);
    void GlobalDeleteAtom(int atom);

    // Registers the combination (MOD_* flags, virtual key) under id. A combination the
    // id held before is released first. False when the system refuses (another program
    // holds the combination, no X11 display, unknown key).
    bool RegisterHotKey(int id, quint32 modifiers, quint8 vk);
    bool UnregisterHotKey(int id);
    bool IsRegistered(int id) const { return grabs.contains(id); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void HotKey(int id);

private:
    struct Grab {
        QVector<quint8> keycodes;
        quint16 mods = 0;
    };
    void ungrab(const Grab& grab);
    QVector<quint16> lockVariants() const;

    QHash<int, Grab> grabs;
    QHash<QString, int> atoms;
    int nextAtom = 0xC000;
    quint16 numLockMask = 0;
};
