#pragma once
// Shortcut values as the settings file stores them: a 16-bit number whose low 8 bits are
// the Windows virtual-key code, with 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt.
#include <QString>
#include <QtGlobal>

constexpr quint16 scShift = 0x2000;
constexpr quint16 scCtrl = 0x4000;
constexpr quint16 scAlt = 0x8000;

// Modifier flags of a system hot key.
constexpr quint32 MOD_ALT = 1;
constexpr quint32 MOD_CONTROL = 2;
constexpr quint32 MOD_SHIFT = 4;

// Splits a shortcut into its virtual key and hot-key modifier flags.
void ShortCutToHotKey(quint16 shortCut, quint8& key, quint32& modifiers);

// Virtual-key code of a Qt key (Qt::Key_*), 0 when the key has none.
quint8 VirtualKeyFromQtKey(int qtKey);
// Qt key of a virtual-key code, 0 when unknown.
int QtKeyFromVirtualKey(quint8 vk);
// X11 keysym of a virtual-key code, 0 when unknown.
quint32 KeySymFromVirtualKey(quint8 vk);

// "Ctrl+Alt+H"; "None" for 0.
QString ShortCutToText(quint16 shortCut);
