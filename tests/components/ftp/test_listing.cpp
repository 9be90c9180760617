// Long-listing parsing over real listings (with the expected results kept beside them)
// and small fixtures for the forms those do not show.
#include "components/ftp/FtpListParser.h"

#include <QDir>
#include <QFile>
#include <QtTest>

// The corpus sits beside the repository; a worktree one level deeper finds it one up.
static QString CorpusDir() {
    const QString beside = QStringLiteral(QUILLMOOR_CORPUS_DIR "/ftp-list/");
    if (QDir(beside).exists())
        return beside;
    return QStringLiteral(QUILLMOOR_SOURCE_DIR "/../../shared/corpus/ftp-list/");
}

class TestListing : public QObject {
    Q_OBJECT
private slots:
    void corpus_data();
    void corpus();
    void fixtures_data();
    void fixtures();
};

void TestListing::corpus_data() {
    QTest::addColumn<QString>("name");
    const QDir dir(CorpusDir() + QStringLiteral("expected"));
    const QStringList files = dir.entryList({QStringLiteral("*.expected")});
    QVERIFY(!files.isEmpty());
    for (const QString& f : files)
        QTest::newRow(qPrintable(f)) << f.chopped(9);
}

// Chromium's expected blocks: type, name, size (-1 unknown), then the date fields.
void TestListing::corpus() {
    QFETCH(QString, name);
    const QString base = CorpusDir();
    QFile listing(base + name + QStringLiteral(".txt"));
    QFile expected(base + QStringLiteral("expected/") + name + QStringLiteral(".expected"));
    QVERIFY(listing.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));

    QList<TFtpListEntry> got;
    for (const QByteArray& line : listing.readAll().split('\n'))
        if (auto e = ParseFtpListLine(QString::fromUtf8(line)))
            got.append(*e);

    const QString text = QString::fromUtf8(expected.readAll()).remove(u'\r');
    QStringList blocks = text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    QCOMPARE(got.size(), blocks.size());
    for (int i = 0; i < blocks.size(); ++i) {
        const QStringList f = blocks[i].split(u'\n');
        QVERIFY(f.size() >= 3);
        QCOMPARE(got[i].Name, f[1]);
        QCOMPARE(got[i].IsDir, f[0] == QStringLiteral("d"));
        QCOMPARE(got[i].IsLink, f[0] == QStringLiteral("l"));
        const qint64 size = f[2].trimmed().toLongLong();
        if (size >= 0)
            QCOMPARE(got[i].Size, size);
    }
}

void TestListing::fixtures_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isDir");
    QTest::addColumn<qint64>("size");
    // What vsftpd sends (numeric ids, time form) and what pure-ftpd sends.
    QTest::newRow("vsftpd")
        << "-rw-r--r--    1 0        0         1048576 Dec 11 16:50 big file.bin" << true
        << "big file.bin" << false << qint64(1048576);
    QTest::newRow("pure-ftpd")
        << "drwxr-xr-x    2 1000       1000             4096 Jan  3  2024 public_html" << true
        << "public_html" << true << qint64(0);
    QTest::newRow("dos 4-digit year") << "02-05-2009  11:07AM              3000000000 huge.iso"
                                      << true << "huge.iso" << false << qint64(3000000000);
    QTest::newRow("dos dir with space") << "12-29-08  10:27PM       <DIR>          Live Update"
                                        << true << "Live Update" << true << qint64(0);
    QTest::newRow("link keeps its name")
        << "lrwxrwxrwx 1 0 0 7 Dec  9  1999 bin -> usr/bin" << true << "bin" << false << qint64(7);
    QTest::newRow("hostile name kept for the caller to judge")
        << "-rw-r--r-- 1 0 0 5 Jan  1  2020 ../../x" << true << "../../x" << false << qint64(5);
    QTest::newRow("total") << "total 20" << false << "" << false << qint64(0);
    QTest::newRow("error text") << "ftpd-BSD: .: Permission denied" << false << "" << false
                                << qint64(0);
    QTest::newRow("blank") << "\r" << false << "" << false << qint64(0);
    QTest::newRow("no name") << "-rw-r--r-- 1 0 0 5 Jan  1  2020 " << false << "" << false
                             << qint64(0);
    QTest::newRow("mode without date")
        << "-rw-r--r-- 1 owner group" << false << "" << false << qint64(0);
}

void TestListing::fixtures() {
    QFETCH(QString, line);
    QFETCH(bool, entry);
    const auto e = ParseFtpListLine(line);
    QCOMPARE(e.has_value(), entry);
    if (!entry)
        return;
    QTEST(e->Name, "name");
    QTEST(e->IsDir, "isDir");
    QTEST(e->Size, "size");
}

QTEST_GUILESS_MAIN(TestListing)
#include "test_listing.moc"
