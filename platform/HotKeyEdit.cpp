#include "platform/HotKeyEdit.h"

#include "platform/ShortCut.h"

#include <QKeyEvent>

THotKey::THotKey(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    SetHotKey(0);
}

void THotKey::SetHotKey(quint16 shortCut) {
    value = shortCut;
    setText(ShortCutToText(shortCut));
}

quint16 THotKey::ShortCutFor(int qtKey, Qt::KeyboardModifiers mods) const {
    const quint8 vk = VirtualKeyFromQtKey(qtKey);
    if (vk == 0)
        return 0;
    quint16 bits = 0;
    if (mods & Qt::ShiftModifier)
        bits |= scShift;
    if (mods & Qt::ControlModifier)
        bits |= scCtrl;
    if (mods & Qt::AltModifier)
        bits |= scAlt;
    if (bits == 0 || bits == scShift)
        bits = defaults;
    return quint16(vk | bits);
}

bool THotKey::event(QEvent* e) {
    // Tab and Backtab belong to the combination being typed, not to focus changes.
    if (e->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    return QLineEdit::event(e);
}

void THotKey::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta)
        return;
    const quint16 shortCut = ShortCutFor(key == Qt::Key_Backtab ? int(Qt::Key_Tab) : key, event->modifiers());
    if (shortCut == 0)
        return;
    SetHotKey(shortCut);
    emit HotKeyChanged(shortCut);
}
