#include "platform/Errors.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void safeRelativePath_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "docs/a.htm" << "docs/a.htm";
        QTest::newRow("parent") << "../../etc/passwd" << "etc/passwd";
        QTest::newRow("absolute") << "/etc/x" << "etc/x";
        QTest::newRow("backslash parent") << "..\\..\\win.ini" << "win.ini";
        QTest::newRow("drive letter") << "C:\\Windows\\x" << "C/Windows/x";
        QTest::newRow("dots and empties") << "a/./b//c/.." << "a/b/c";
        QTest::newRow("nul inside") << QStringLiteral("a\0b/c").replace(QChar(u'\0'), QChar(0)) << "ab/c";
        QTest::newRow("control chars") << "a\r\nb" << "ab";
        QTest::newRow("nothing left") << "../.." << "";
        QTest::newRow("spaces kept") << "my file.txt" << "my file.txt";
    }
    void safeRelativePath() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(SafeRelativePath(input), expected);
    }

    void safeBaseNameAndPlainNames() {
        QCOMPARE(SafeBaseName(QStringLiteral("../../x.txt")), QStringLiteral("x.txt"));
        QCOMPARE(SafeBaseName(QStringLiteral("C:\\temp\\report.pdf")), QStringLiteral("report.pdf"));
        QCOMPARE(SafeBaseName(QStringLiteral("..")), QString());
        QVERIFY(IsPlainFileName(QStringLiteral("a.txt")));
        for (const char* bad : {"", ".", "..", "a/b", "a\\b", "a\nb"})
            QVERIFY2(!IsPlainFileName(QString::fromLatin1(bad)), bad);
        QVERIFY(!IsPlainFileName(QString(QChar(0))));
    }

    void atomicSaveReplacesAndKeepsOldOnFailure() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.dat"));
        SaveFileAtomically(path, "first");
        SaveFileAtomically(path, "second");
        QCOMPARE(ReadWholeFile(path), QByteArray("second"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QVERIFY_THROWS_EXCEPTION(EInOutError, SaveFileAtomically(dir.filePath(QStringLiteral("missing/x")), "x"));
        QVERIFY_THROWS_EXCEPTION(EInOutError, ReadWholeFile(dir.filePath(QStringLiteral("nope"))));
    }

    void insideFolder() {
        QVERIFY(IsInsideFolder(QStringLiteral("/tmp/a"), QStringLiteral("/tmp/a/b/c")));
        QVERIFY(IsInsideFolder(QStringLiteral("/tmp/a"), QStringLiteral("/tmp/a")));
        QVERIFY(!IsInsideFolder(QStringLiteral("/tmp/a"), QStringLiteral("/tmp/a/../b")));
        QVERIFY(!IsInsideFolder(QStringLiteral("/tmp/a"), QStringLiteral("/tmp/ab")));
    }

    void deleteTreeRemovesLinksNotTargets() {
        QTemporaryDir dir;
        QDir root(dir.path());
        root.mkpath(QStringLiteral("keep"));
        QFile(root.filePath(QStringLiteral("keep/precious"))).open(QIODevice::WriteOnly);
        root.mkpath(QStringLiteral("victim/sub"));
        QFile(root.filePath(QStringLiteral("victim/sub/f"))).open(QIODevice::WriteOnly);
        QFile::link(root.filePath(QStringLiteral("keep")), root.filePath(QStringLiteral("victim/link")));
        QVERIFY(DeleteTree(root.filePath(QStringLiteral("victim"))));
        QVERIFY(!root.exists(QStringLiteral("victim")));
        QVERIFY(root.exists(QStringLiteral("keep/precious")));
        QVERIFY(!DeleteTree(root.filePath(QStringLiteral("victim"))));
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"
