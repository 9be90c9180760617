#include "app/HotKeyPanel.h"

#include "platform/HotKeyEdit.h"
#include "platform/HotKeys.h"
#include "platform/IniFile.h"
#include "platform/ShortCut.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kSection = QStringLiteral("HotKeys");

QString keyName(int n) { return QStringLiteral("Key%1").arg(n + 1); }
} // namespace

THotKeyPanel::THotKeyPanel(TIniFile& iniFile, TGlobalHotKeys& hotKeys, QWidget* parent)
    : TFloatingPanel(QStringLiteral("Change Hot Keys"), parent), ini(iniFile), keys(hotKeys) {
    setObjectName(QStringLiteral("GroupBox4"));
    auto* grid = new QGridLayout(Body());
    auto* help = new QLabel(QStringLiteral("Place cursor in edit box, then press a combination of keys, and click Key's."), Body());
    help->setWordWrap(true);
    grid->addWidget(help, 0, 0, 1, 2);
    const QString lines[] = {QStringLiteral("1. Hotkey 1 = Screen saver"), QStringLiteral("2. Hotkey 2 = Bring back Quillmoor"),
                             QStringLiteral("3. Hotkey 3 = Hide Quillmoor")};
    for (int n = 0; n < 3; ++n) {
        grid->addWidget(new QLabel(lines[n], Body()), 1 + n, 0, 1, 2);
        HotKey[n] = new THotKey(Body());
        HotKey[n]->setObjectName(QStringLiteral("HotKey%1").arg(n + 1));
        HotKey[n]->SetDefaultModifiers(n == 0 ? scCtrl : quint16(scCtrl | scAlt));
        Change[n] = new QPushButton(QStringLiteral("Key %1").arg(n + 1), Body());
        Change[n]->setObjectName(QStringLiteral("Change%1").arg(n + 1));
        edHotKey[n] = new QLineEdit(Body());
        edHotKey[n]->setObjectName(QStringLiteral("edHotKey%1").arg(n + 1));
        edHotKey[n]->hide();
        grid->addWidget(HotKey[n], 4 + n, 0);
        grid->addWidget(Change[n], 4 + n, 1);
        connect(Change[n], &QPushButton::clicked, this, [this, n] { RegisterKey(n); });
    }
    resize(330, 250);
    connect(&keys, &TGlobalHotKeys::HotKey, this, &THotKeyPanel::hotKeyPressed);
}

void THotKeyPanel::LoadAndRegister() {
    for (int n = 0; n < 3; ++n) {
        edHotKey[n]->setText(ini.ReadString(kSection, keyName(n), QString::number(DefaultValues[n])));
        bool ok = false;
        const uint value = edHotKey[n]->text().trimmed().toUInt(&ok, 10);
        // A stored text that is not a 16-bit decimal number counts as the default.
        HotKeyValue[n] = ok && value <= 0xffff ? quint16(value) : DefaultValues[n];
        HotKey[n]->SetHotKey(HotKeyValue[n]);
    }
    for (int n = 0; n < 3; ++n)
        RegisterKey(n);
}

void THotKeyPanel::RegisterKey(int n) {
    const quint16 value = HotKey[n]->HotKey();
    quint8 vk = 0;
    quint32 modifiers = 0;
    ShortCutToHotKey(value, vk, modifiers);
    HotKeyId[n] = keys.GlobalAddAtom(QStringLiteral("MyHotKey_%1").arg(n + 1));
    keys.RegisterHotKey(HotKeyId[n], modifiers, vk); // a refused combination is not reported
    if (value != HotKeyValue[n]) {
        HotKeyValue[n] = value;
        edHotKey[n]->setText(QString::number(value));
        ini.WriteString(kSection, keyName(n), edHotKey[n]->text());
    }
}

void THotKeyPanel::Release() {
    for (int n = 0; n < 3; ++n) {
        keys.UnregisterHotKey(HotKeyId[n]);
        keys.GlobalDeleteAtom(HotKeyId[n]);
    }
}

void THotKeyPanel::hotKeyPressed(int id) {
    if (id == HotKeyId[0])
        emit ScreenSaverKey();
    else if (id == HotKeyId[1])
        emit ShowKey();
    else if (id == HotKeyId[2])
        emit HideKey();
}
