#include "platform/HotKeyEdit.h"
#include "platform/ShortCut.h"

#include <QtTest>

class TestShortCut : public QObject {
    Q_OBJECT
private slots:
    void splitsStoredValues_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("Ctrl+S") << 16467 << 0x53 << int(MOD_CONTROL) << "Ctrl+S";
        QTest::newRow("Ctrl+Alt+O") << 49231 << 0x4F << int(MOD_CONTROL | MOD_ALT) << "Ctrl+Alt+O";
        QTest::newRow("Ctrl+Alt+H") << 49224 << 0x48 << int(MOD_CONTROL | MOD_ALT) << "Ctrl+Alt+H";
        QTest::newRow("Shift+F5") << (0x2000 | 0x74) << 0x74 << int(MOD_SHIFT) << "Shift+F5";
        QTest::newRow("none") << 0 << 0 << 0 << "None";
    }
    void splitsStoredValues() {
        QFETCH(int, value);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        quint8 vk = 0;
        quint32 mods = 0;
        ShortCutToHotKey(quint16(value), vk, mods);
        QCOMPARE(int(vk), key);
        QCOMPARE(int(mods), modifiers);
        QCOMPARE(ShortCutToText(quint16(value)), text);
    }

    void keyTablesAgree() {
        for (int vk = 1; vk < 256; ++vk)
            if (const int qt = QtKeyFromVirtualKey(quint8(vk)))
                QCOMPARE(int(VirtualKeyFromQtKey(qt)), vk);
        QCOMPARE(KeySymFromVirtualKey(0x48), 0x68u); // 'h'
        QCOMPARE(KeySymFromVirtualKey(0x70), 0xffbeu); // F1
    }

    void captureFieldAppliesDefaultModifiers() {
        THotKey field;
        field.SetDefaultModifiers(scCtrl | scAlt);
        QCOMPARE(int(field.ShortCutFor(Qt::Key_H, Qt::NoModifier)), 49224);
        QCOMPARE(int(field.ShortCutFor(Qt::Key_H, Qt::ShiftModifier)), 49224);
        QCOMPARE(int(field.ShortCutFor(Qt::Key_H, Qt::ControlModifier | Qt::ShiftModifier)), 0x6048);
        QCOMPARE(int(field.ShortCutFor(Qt::Key_H, Qt::AltModifier)), 0x8048);

        QSignalSpy changed(&field, &THotKey::HotKeyChanged);
        QTest::keyClick(&field, Qt::Key_Control, Qt::ControlModifier); // a modifier alone is no key
        QCOMPARE(changed.count(), 0);
        QTest::keyClick(&field, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(int(field.HotKey()), 0xC04B);
        QCOMPARE(field.text(), QStringLiteral("Ctrl+Alt+K"));
    }
};

QTEST_MAIN(TestShortCut)
#include "test_shortcut.moc"
