#pragma once
// The three system-wide keys of the main window and their change panel "Change Hot Keys".
// Key 1 starts the screen saver, key 2 brings the main window back, key 3 hides it.
// Values are shortcut values, stored in "Mail.ini" section "HotKeys" ("Key1".."Key3")
// and written only when a key changes.
#include "app/FloatingPanel.h"

#include <array>

class QLineEdit;
class QPushButton;
class TGlobalHotKeys;
class THotKey;
class TIniFile;

class THotKeyPanel : public TFloatingPanel {
    Q_OBJECT
public:
    static constexpr std::array<quint16, 3> DefaultValues{16467, 49231, 49224};

    THotKeyPanel(TIniFile& ini, TGlobalHotKeys& keys, QWidget* parent);

    // Reads the three values (defaults where missing) and registers the keys.
    void LoadAndRegister();
    // Unregisters the keys and deletes their atoms.
    void Release();

    void Change1Click() { RegisterKey(0); }
    void Change2Click() { RegisterKey(1); }
    void Change3Click() { RegisterKey(2); }
    // Registers key n (0-based) from its capture field, storing a changed value.
    void RegisterKey(int n);

    std::array<quint16, 3> HotKeyValue{};
    std::array<int, 3> HotKeyId{};
    std::array<QLineEdit*, 3> edHotKey{}; // hidden mirrors of the values as decimal text
    std::array<THotKey*, 3> HotKey{};
    std::array<QPushButton*, 3> Change{};

signals:
    void ScreenSaverKey();
    void ShowKey();
    void HideKey();

private:
    void hotKeyPressed(int id);

    TIniFile& ini;
    TGlobalHotKeys& keys;
};
