#include "components/skin/CaptionBar.h"
#include "components/skin/SkinEngine.h"
#include "platform/Files.h"

#include <QMainWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

class TestSkin : public QObject {
    Q_OBJECT
private slots:
    void parsesHeadAndStyleSheet() {
        const auto skin = TSkin::Parse("[Caption]\nBackground=#102030\nText=bogus\nHeight=300\n"
                                       "[StyleSheet]\nQWidget { color: red; }\n");
        QVERIFY(skin);
        QCOMPARE(skin->Caption.Background, QColor(0x10, 0x20, 0x30));
        QCOMPARE(skin->Caption.Background2, QColor(0x10, 0x20, 0x30));
        QCOMPARE(skin->Caption.Text, QColor(Qt::white)); // bad colour keeps the default
        QCOMPARE(skin->Caption.Height, 26);              // out of range keeps the default
        QCOMPARE(skin->StyleSheet, QStringLiteral("QWidget { color: red; }"));
        QVERIFY(!TSkin::Parse(""));
        QVERIFY(!TSkin::Parse("[Caption]\nHeight=20\n"));
        QVERIFY(!TSkin::Parse("[StyleSheet]\n   \n"));
    }

    void shippedSkinsAreDistinctAndComplete() {
        QSet<QString> sheets;
        for (const char* name : {"Option.skn", "Chrome.skn", "Energy_Blue.skn", "LiteMedia.skn", "Futurist_Blue.skn"}) {
            const auto skin = TSkin::Parse(ReadWholeFile(QStringLiteral(QUILLMOOR_SOURCE_DIR "/components/skin/skins/") +
                                                         QString::fromLatin1(name)));
            QVERIFY2(skin, name);
            QVERIFY(skin->StyleSheet.contains(QStringLiteral("QTabBar::tab")));
            sheets << skin->StyleSheet;
        }
        QCOMPARE(sheets.size(), 5);
        QCOMPARE(TSkinEngine::BuiltInSkin().StyleSheet,
                 TSkin::Parse(ReadWholeFile(QStringLiteral(QUILLMOOR_SOURCE_DIR "/components/skin/skins/Option.skn")))->StyleSheet);
    }

    void missingOrEmptyFileKeepsTheCurrentSkin() {
        QTemporaryDir dir;
        QWidget form;
        TSkinEngine engine;
        engine.SetForm(&form);
        const QString builtIn = form.styleSheet();
        QVERIFY(!builtIn.isEmpty());
        QVERIFY(!engine.LoadFromFile(dir.filePath(QStringLiteral("Chrome.skn"))));
        SaveFileAtomically(dir.filePath(QStringLiteral("Empty.skn")), "");
        QVERIFY(!engine.LoadFromFile(dir.filePath(QStringLiteral("Empty.skn"))));
        QCOMPARE(form.styleSheet(), builtIn);
        SaveFileAtomically(dir.filePath(QStringLiteral("Mine.skn")), "[StyleSheet]\nQWidget { color: blue; }");
        QSignalSpy changed(&engine, &TSkinEngine::SkinChanged);
        QVERIFY(engine.LoadFromFile(dir.filePath(QStringLiteral("Mine.skn"))));
        QCOMPARE(form.styleSheet(), QStringLiteral("QWidget { color: blue; }"));
        QCOMPARE(changed.count(), 1);
    }

    void captionBarRollsUpAndBack() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* bar = new TCaptionBar(&window);
        layout->addWidget(bar);
        layout->addWidget(new QWidget(&window), 1);
        window.setWindowTitle(QStringLiteral("Quillmoor v5.10"));
        window.setGeometry(100, 100, 640, 480);
        window.show();
        QCOMPARE(bar->Title(), QStringLiteral("Quillmoor v5.10"));

        QSignalSpy rolled(bar, &TCaptionBar::ChangeRollUpState);
        bar->SetRolledUp(true);
        QCOMPARE(rolled.count(), 1);
        QVERIFY(rolled.at(0).at(0).toBool());
        QTRY_COMPARE(window.height(), bar->height());
        bar->SetRolledUp(false);
        QCOMPARE(rolled.count(), 2);
        QTRY_COMPARE(window.height(), 480);
        bar->SetRolledUp(false);
        QCOMPARE(rolled.count(), 2);
    }

    void systemMenuHoldsOwnerItemsAndWindowCommands() {
        QWidget window;
        auto* bar = new TCaptionBar(&window);
        QMenu tabs;
        tabs.addAction(QStringLiteral("Close Tab"));
        bar->SetSystemMenuItems(&tabs);
        QStringList texts;
        for (QAction* a : bar->SystemMenu()->actions())
            if (!a->isSeparator())
                texts << a->text();
        QCOMPARE(texts, (QStringList{QStringLiteral("Close Tab"), QStringLiteral("Restore"), QStringLiteral("Minimize"),
                                     QStringLiteral("Maximize"), QStringLiteral("Close")}));
        QSignalSpy command(bar, &TCaptionBar::SystemCommand);
        bar->SystemMenu()->actions().at(3)->trigger(); // Minimize
        QCOMPARE(command.at(0).at(0).toInt(), SC_MINIMIZE);
    }
};

QTEST_MAIN(TestSkin)
#include "test_skin.moc"
