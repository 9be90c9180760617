#pragma once
// The hot-key input field: focus it and press a combination; it shows and holds the
// shortcut value (virtual key | scShift | scCtrl | scAlt). A key pressed alone or with
// Shift alone gets the field's default modifiers instead (the system control's rule).
#include <QLineEdit>

class THotKey : public QLineEdit {
    Q_OBJECT
public:
    explicit THotKey(QWidget* parent = nullptr);

    quint16 HotKey() const { return value; }
    void SetHotKey(quint16 shortCut);
    // The modifier bits (scCtrl, scAlt, scShift) given to a key typed without a valid set.
    quint16 DefaultModifiers() const { return defaults; }
    void SetDefaultModifiers(quint16 mods) { defaults = mods; }

    // The value a key press with these Qt modifiers yields, 0 for a key with no code.
    quint16 ShortCutFor(int qtKey, Qt::KeyboardModifiers mods) const;

signals:
    void HotKeyChanged(quint16 shortCut);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* e) override;

private:
    quint16 value = 0;
    quint16 defaults = 0;
};
