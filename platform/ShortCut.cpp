#include "platform/ShortCut.h"

#include <Qt>
#include <QStringList>

namespace {
struct KeyRow {
    quint8 vk;
    int qt;
    quint32 keysym;
    const char* name;
};

// Keys outside the letter, digit and function-key ranges.
constexpr KeyRow kKeys[] = {
    {0x08, Qt::Key_Backspace, 0xff08, "BkSp"},  {0x09, Qt::Key_Tab, 0xff09, "Tab"},
    {0x0D, Qt::Key_Return, 0xff0d, "Enter"},    {0x13, Qt::Key_Pause, 0xff13, "Pause"},
    {0x1B, Qt::Key_Escape, 0xff1b, "Esc"},      {0x20, Qt::Key_Space, 0x0020, "Space"},
    {0x21, Qt::Key_PageUp, 0xff55, "PgUp"},     {0x22, Qt::Key_PageDown, 0xff56, "PgDn"},
    {0x23, Qt::Key_End, 0xff57, "End"},         {0x24, Qt::Key_Home, 0xff50, "Home"},
    {0x25, Qt::Key_Left, 0xff51, "Left"},       {0x26, Qt::Key_Up, 0xff52, "Up"},
    {0x27, Qt::Key_Right, 0xff53, "Right"},     {0x28, Qt::Key_Down, 0xff54, "Down"},
    {0x2C, Qt::Key_Print, 0xff61, "PrtSc"},     {0x2D, Qt::Key_Insert, 0xff63, "Ins"},
    {0x2E, Qt::Key_Delete, 0xffff, "Del"},      {0x6A, Qt::Key_Asterisk, 0xffaa, "Num *"},
    {0x6B, Qt::Key_Plus, 0xffab, "Num +"},      {0x6D, 0, 0xffad, "Num -"},
    {0x6E, 0, 0xffae, "Num Del"},               {0x6F, 0, 0xffaf, "Num /"},
    {0xBA, Qt::Key_Semicolon, 0x003b, ";"},     {0xBB, Qt::Key_Equal, 0x003d, "="},
    {0xBC, Qt::Key_Comma, 0x002c, ","},         {0xBD, Qt::Key_Minus, 0x002d, "-"},
    {0xBE, Qt::Key_Period, 0x002e, "."},        {0xBF, Qt::Key_Slash, 0x002f, "/"},
    {0xC0, Qt::Key_QuoteLeft, 0x0060, "`"},     {0xDB, Qt::Key_BracketLeft, 0x005b, "["},
    {0xDC, Qt::Key_Backslash, 0x005c, "\\"},    {0xDD, Qt::Key_BracketRight, 0x005d, "]"},
    {0xDE, Qt::Key_Apostrophe, 0x0027, "'"},
};

const KeyRow* findVk(quint8 vk) {
    for (const KeyRow& row : kKeys)
        if (row.vk == vk)
            return &row;
    return nullptr;
}
} // namespace

void ShortCutToHotKey(quint16 shortCut, quint8& key, quint32& modifiers) {
    key = quint8(shortCut & 0xff);
    modifiers = 0;
    if (shortCut & scShift)
        modifiers |= MOD_SHIFT;
    if (shortCut & scAlt)
        modifiers |= MOD_ALT;
    if (shortCut & scCtrl)
        modifiers |= MOD_CONTROL;
}

quint8 VirtualKeyFromQtKey(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return quint8(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return quint8(0x70 + (qtKey - Qt::Key_F1));
    if (qtKey == Qt::Key_Enter)
        return 0x0D;
    for (const KeyRow& row : kKeys)
        if (row.qt != 0 && row.qt == qtKey)
            return row.vk;
    return 0;
}

int QtKeyFromVirtualKey(quint8 vk) {
    if ((vk >= 0x41 && vk <= 0x5A) || (vk >= 0x30 && vk <= 0x39))
        return vk;
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + (vk - 0x70);
    const KeyRow* row = findVk(vk);
    return row ? row->qt : 0;
}

quint32 KeySymFromVirtualKey(quint8 vk) {
    if (vk >= 0x41 && vk <= 0x5A)
        return vk + 0x20; // lower-case letter keysyms
    if (vk >= 0x30 && vk <= 0x39)
        return vk;
    if (vk >= 0x60 && vk <= 0x69)
        return 0xffb0 + (vk - 0x60); // keypad digits
    if (vk >= 0x70 && vk <= 0x87)
        return 0xffbe + (vk - 0x70);
    const KeyRow* row = findVk(vk);
    return row ? row->keysym : 0;
}

QString ShortCutToText(quint16 shortCut) {
    const quint8 vk = quint8(shortCut & 0xff);
    if (vk == 0)
        return QStringLiteral("None");
    QStringList parts;
    if (shortCut & scCtrl)
        parts << QStringLiteral("Ctrl");
    if (shortCut & scAlt)
        parts << QStringLiteral("Alt");
    if (shortCut & scShift)
        parts << QStringLiteral("Shift");
    if ((vk >= 0x41 && vk <= 0x5A) || (vk >= 0x30 && vk <= 0x39))
        parts << QString(QChar(char16_t(vk)));
    else if (vk >= 0x70 && vk <= 0x87)
        parts << QStringLiteral("F%1").arg(vk - 0x6f);
    else if (vk >= 0x60 && vk <= 0x69)
        parts << QStringLiteral("Num %1").arg(vk - 0x60);
    else if (const KeyRow* row = findVk(vk))
        parts << QString::fromLatin1(row->name);
    else
        parts << QStringLiteral("#%1").arg(vk);
    return parts.join(QLatin1Char('+'));
}
