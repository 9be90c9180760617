// Grabbing a generated site from a real HTTP server on loopback (tests/servers/httpd.py).
#include "components/downloader/MultiDownLoader.h"
#include "tests/support/TestPeer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList L(std::initializer_list<const char*> names) {
    QStringList out;
    for (const char* n : names)
        out << QString::fromLatin1(n);
    return out;
}

void write(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(data);
}

QByteArray page(const QByteArray& title, const QByteArray& body) {
    return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

// Every file below folder, relative, sorted.
QStringList filesBelow(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(folder).relativeFilePath(it.next());
    out.sort();
    return out;
}
} // namespace

class TestGrab : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void depthAndOptions_data();
    void depthAndOptions();
    void linkRulesAndSafety();
    void rootWithoutPath();
    void stopAndRestart();

private:
    // Runs a grab to its end; returns the completed items.
    QList<TclDownLoadItem> grab(const QString& root, int max, TclGrabOptions options);

    QTemporaryDir tmp;
    QString target;
    TestPeer http;
};

void TestGrab::initTestCase() {
    const QString site = tmp.filePath(QStringLiteral("site"));
    QVERIFY(QDir().mkpath(site));
    QVERIFY2(http.StartHttp(site), qPrintable(http.Error()));
    const QByteArray other = "http://localhost:" + QByteArray::number(http.Port());
    write(site + QStringLiteral("/index.html"),
          page("Home",
               "<a href='a.html'>a</a> <a href='Page.html'>P</a> <a href='page.html'>p again</a>"
               "<img src='logo.png'> <a href='data.pdf'>pdf</a> <a href='b.html#top'>frag</a>"
               "<a href='" +
                   other +
                   "/other.html'>other host</a> <a href='mailto:me@127.0.0.1'>mail</a>"
                   "<a href=''>empty</a> <a href='docs/'>docs</a> <a href='style.css'>css</a>"
                   "<a href='sub/..%5c..%5cescape.html'>bs</a> <a "
                   "href='%2e%2e/%2e%2e/up.html'>dots</a>"
                   "<a href='/__redirect/302?to=/moved.html'>same-host redirect</a>"
                   "<a href='/__redirect/301?to=" +
                   other +
                   "/a.html'>other-host redirect</a>"
                   "<a href='/__redirect/302?to=file:///etc/passwd'>file redirect</a>"
                   "<a href='/__echo'>echo</a>"));
    write(site + QStringLiteral("/a.html"),
          page("A", "<a href='deep.html'>deep</a><img src='LOGO.png'>"));
    write(site + QStringLiteral("/deep.html"), page("Deep", "<a href='deeper.html'>deeper</a>"));
    write(site + QStringLiteral("/deeper.html"), page("Deeper", "end"));
    write(site + QStringLiteral("/b.html"), page("B", "fragment target"));
    write(site + QStringLiteral("/Page.html"), page("Page", "mixed case"));
    write(site + QStringLiteral("/page.html"), page("page", "lower case"));
    write(site + QStringLiteral("/other.html"), page("Other", "other host"));
    write(site + QStringLiteral("/moved.html"), page("Moved", "moved here"));
    write(site + QStringLiteral("/docs/index.html"), page("Docs", "folder index"));
    write(site + QStringLiteral("/sub/..\\..\\escape.html"), page("Escape", "backslash name"));
    write(site + QStringLiteral("/logo.png"),
          QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, 'p'));
    write(site + QStringLiteral("/data.pdf"), "%PDF-1.4 data");
    write(site + QStringLiteral("/style.css"), "body{}");
    target = tmp.filePath(QStringLiteral("out/grab"));
}

void TestGrab::init() {
    QDir(tmp.filePath(QStringLiteral("out"))).removeRecursively();
    QVERIFY(QDir().mkpath(target));
}

QList<TclDownLoadItem> TestGrab::grab(const QString& root, int max, TclGrabOptions options) {
    TclMultiDownLoader dl;
    dl.GrabOptions = options;
    dl.LocalFolder = target;
    QList<TclDownLoadItem> items;
    bool offThread = false;
    connect(&dl, &TclMultiDownLoader::OnProcessCompleted, this, [&](const TclDownLoadItem& item) {
        offThread |= QThread::currentThread() != thread();
        items << item;
    });
    QSignalSpy busy(&dl, &TclMultiDownLoader::OnIsBusyChanged);
    dl.Start(root, max);
    if (!dl.IsBusy())
        qFatal("not busy after Start");
    if (!QTest::qWaitFor([&] { return !dl.IsBusy(); }, 60000))
        qFatal("grab did not finish");
    if (busy.count() != 2 || offThread)
        qFatal("busy changes %d, events off the owner thread: %d", int(busy.count()),
               int(offThread));
    return items;
}

void TestGrab::depthAndOptions_data() {
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("options");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    const QStringList level1 = L({"a.html", "page.html", "logo.png", "docs/index.htm"});
    QTest::newRow("max 1: root alone") << 1 << int(gaGrabImages) << L({"index.htm"}) << level1;
    QTest::newRow("max 2: root and its links")
        << 2 << int(gaGrabImages) << (L({"index.htm"}) + level1) << L({"deep.html", "data.pdf"});
    QTest::newRow("max 3") << 3 << int(gaGrabImages) << L({"deep.html"}) << L({"deeper.html"});
    QTest::newRow("max 0: no limit")
        << 0 << int(gaGrabImages) << L({"deep.html", "deeper.html"}) << QStringList();
    QTest::newRow("negative counts as 0")
        << -5 << int(gaGrabImages) << L({"deeper.html"}) << QStringList();
    QTest::newRow("no box: html only") << 2 << 0 << L({"index.htm", "a.html", "docs/index.htm"})
                                       << L({"logo.png", "data.pdf", "style.css"});
    QTest::newRow("data") << 2 << int(gaGrabData) << L({"data.pdf"})
                          << L({"logo.png", "style.css"});
    QTest::newRow("all") << 2 << int(gaGrabAll)
                         << L({"logo.png", "data.pdf", "style.css", "__echo"}) << QStringList();
}

void TestGrab::depthAndOptions() {
    QFETCH(int, max);
    QFETCH(int, options);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    grab(http.Url(QStringLiteral("/")), max, TclGrabOptions(options));
    const QStringList files = filesBelow(target);
    for (const QString& f : present)
        QVERIFY2(files.contains(f),
                 qPrintable(f + QStringLiteral(" missing from ") + files.join(QLatin1Char(' '))));
    for (const QString& f : absent)
        QVERIFY2(!files.contains(f), qPrintable(f + QStringLiteral(" stored")));
}

void TestGrab::linkRulesAndSafety() {
    const QList<TclDownLoadItem> items = grab(http.Url(QStringLiteral("/")), 0, gaGrabAll);
    QStringList urls;
    for (const auto& item : items)
        urls << item.URL;
    auto completions = [&](const QString& path) { return urls.count(http.Url(path).toLower()); };
    // Each address once, in any letter case; requested as found.
    QCOMPARE(urls.size(), QSet<QString>(urls.begin(), urls.end()).size());
    QCOMPARE(completions(QStringLiteral("/page.html")), 1);
    QCOMPARE(completions(QStringLiteral("/logo.png")), 1);
    for (const QString& url : urls) {
        QVERIFY2(url.startsWith(http.Url().toLower()), qPrintable(url));
        QVERIFY2(!url.contains(QLatin1Char('#')), qPrintable(url));
    }
    const QStringList files = filesBelow(target);
    // Mixed-case address asked for as found: the server's "Page.html", stored lower-cased.
    QFile stored(target + QStringLiteral("/page.html"));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QVERIFY(stored.readAll().contains("mixed case"));
    // A path with backslashes stays inside; nothing was written outside the target folder.
    QVERIFY2(files.contains(QStringLiteral("sub/escape.html")),
             qPrintable(files.join(QLatin1Char(' '))));
    QCOMPARE(QDir(tmp.filePath(QStringLiteral("out")))
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("grab")});
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("out"), QStringLiteral("site")}));
    // Redirects: same host followed and stored under the asked-for address; another host
    // or scheme not followed and nothing stored.
    QFile moved(target + QStringLiteral("/__redirect/302"));
    QVERIFY(moved.open(QIODevice::ReadOnly));
    QVERIFY(moved.readAll().contains("moved here"));
    QVERIFY(!files.contains(QStringLiteral("__redirect/301")));
    for (const auto& item : items)
        if (item.URL.contains(QLatin1String("__redirect/301")) ||
            item.URL.contains(QLatin1String("file")))
            QVERIFY2(!item.Stored && item.ErrorText.contains(QLatin1String("not followed")),
                     qPrintable(item.URL));
    // The user-agent text the server saw.
    QFile echo(target + QStringLiteral("/__echo"));
    QVERIFY(echo.open(QIODevice::ReadOnly));
    QVERIFY(echo.readAll().contains("User-Agent: Mozilla/4.0 (compatible; Clever Internet Suite)"));
}

void TestGrab::rootWithoutPath() {
    const QList<TclDownLoadItem> items = grab(http.Url(), 1, gaGrabImages);
    QCOMPARE(items.size(), 1);
    QCOMPARE(items[0].LocalFile, target + QStringLiteral("/index.htm"));
    QCOMPARE(filesBelow(target), QStringList{QStringLiteral("index.htm")});
}

void TestGrab::stopAndRestart() {
    write(
        tmp.filePath(QStringLiteral("site/stall.html")),
        page("Stall",
             "<a href='/__stall/10'>1</a><a href='/__stall/20'>2</a><a href='/__stall/30'>3</a>"));
    TclMultiDownLoader dl;
    dl.LocalFolder = target;
    QSignalSpy completed(&dl, &TclMultiDownLoader::OnProcessCompleted);
    QSignalSpy busy(&dl, &TclMultiDownLoader::OnIsBusyChanged);
    dl.Start(http.Url(QStringLiteral("/stall.html")), 0);
    QVERIFY(completed.wait(20000)); // the page; its links now hang
    try {
        dl.Start(http.Url(QStringLiteral("/a.html")), 0);
        QFAIL("a second start was accepted");
    } catch (const EclDownLoaderError& e) {
        QCOMPARE(e.Message, QStringLiteral("Operation is in progress"));
    }
    dl.Stop();
    QVERIFY(!dl.IsBusy());
    QCOMPARE(busy.count(), 2);
    QCOMPARE(completed.count(), 1);
    // A new grab starts after a stop.
    dl.Start(http.Url(QStringLiteral("/deeper.html")), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!dl.IsBusy(), 20000);
    QCOMPARE(completed.count(), 2);
    QCOMPARE(completed.last().at(0).value<TclDownLoadItem>().URL,
             http.Url(QStringLiteral("/deeper.html")));
}

QTEST_GUILESS_MAIN(TestGrab)
#include "test_grab.moc"
