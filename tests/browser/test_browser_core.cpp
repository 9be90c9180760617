// Typed-address list, URL history store, completions and level names, without a browser.
#include "browser/TypedUrls.h"
#include "components/urlhistory/UrlHistory.h"
#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestBrowserCore : public QObject {
    Q_OBJECT
    static QString Url(int n) { return QStringLiteral("Url") + QString::number(n); }

private slots:
    void typedListOrderAndLimit() {
        QTemporaryDir dir;
        TRegistry reg(dir.path());
        TTypedUrls typed(reg);
        QVERIFY(typed.Load().isEmpty());
        typed.Add(QStringLiteral("  "));
        QVERIFY(!reg.KeyExists(TTypedUrls::Key));
        for (int i = 1; i <= 30; ++i)
            typed.Add(QStringLiteral("http://site%1/").arg(i));
        QStringList list = typed.Load();
        QCOMPARE(list.size(), 25);
        QCOMPARE(list.first(), QStringLiteral("http://site30/"));
        QCOMPARE(list.last(), QStringLiteral("http://site6/"));
        // An address typed again moves to the top and is not kept twice.
        typed.Add(QStringLiteral(" http://site10/ "));
        list = typed.Load();
        QCOMPARE(list.size(), 25);
        QCOMPARE(list.first(), QStringLiteral("http://site10/"));
        QCOMPARE(list.count(QStringLiteral("http://site10/")), 1);
        // Stored under the Windows names, readable by anyone using the same key.
        QVERIFY(reg.OpenKeyReadOnly(TTypedUrls::Key));
        QCOMPARE(reg.ReadString(Url(1)), QStringLiteral("http://site10/"));
        QCOMPARE(reg.ReadString(Url(2)), QStringLiteral("http://site30/"));
        QVERIFY(!reg.ValueExists(Url(26)));
    }

    void typedListToleratesForeignValues() {
        QTemporaryDir dir;
        TRegistry reg(dir.path());
        QVERIFY(reg.OpenKey(TTypedUrls::Key, true));
        reg.WriteString(Url(3), QStringLiteral("third.example"));
        reg.WriteInteger(Url(1), 7);
        reg.WriteString(Url(2), QStringLiteral("  "));
        reg.WriteString(Url(5), QStringLiteral("fifth.example"));
        reg.CloseKey();
        TTypedUrls typed(reg);
        QCOMPARE(typed.Load(), (QStringList{QStringLiteral("third.example"), QStringLiteral("fifth.example")}));
        typed.Add(QStringLiteral("new.example"));
        QCOMPARE(typed.Load(), (QStringList{QStringLiteral("new.example"), QStringLiteral("third.example"),
                                            QStringLiteral("fifth.example")}));
    }

    void historyPersistsAndExpires() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("History.json"));
        const QDateTime now = QDateTime::currentDateTimeUtc();
        {
            TUrlHistory h(file, 20);
            h.Visit(QStringLiteral("http://old.example/"), now.addDays(-30));
            h.Visit(QStringLiteral("http://a.example/"), now.addSecs(-60));
            h.Visit(QStringLiteral("http://b.example/"), now);
            h.Visit(QStringLiteral("about:blank"));
            h.Visit(QStringLiteral(""));
            h.SetTitle(QStringLiteral("http://a.example/"), QStringLiteral("Site A"));
            h.SetTitle(QStringLiteral("http://never.example/"), QStringLiteral("ignored"));
            QCOMPARE(h.Entries().size(), 3);
            QVERIFY(h.LastError().isEmpty());
        }
        TUrlHistory again(file, 20);
        const auto entries = again.Entries();
        QCOMPARE(entries.size(), 2); // the 30-day-old visit has expired
        QCOMPARE(entries[0].Url, QStringLiteral("http://b.example/"));
        QCOMPARE(entries[1].Title, QStringLiteral("Site A"));
        QVERIFY(entries[1].Expires > now.addDays(19));
        QVERIFY(again.Delete(QStringLiteral("http://b.example/")));
        QCOMPARE(TUrlHistory(file).Entries().size(), 1);
    }

    void damagedHistoryFileStartsEmpty() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("History.json"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{\"entries\": [ {\"url\": 5}, trunc");
        f.close();
        TUrlHistory h(file);
        QVERIFY(h.Entries().isEmpty());
        h.Visit(QStringLiteral("http://x.example/"));
        QCOMPARE(TUrlHistory(file).Entries().size(), 1);
    }

    void completionsFromTypedAndHistory() {
        TUrlHistory h{QString()};
        h.Visit(QStringLiteral("http://news.example/today"));
        h.SetTitle(QStringLiteral("http://news.example/today"), QStringLiteral("Morning Paper"));
        h.Visit(QStringLiteral("http://typed.example/"));
        const QStringList typed = {QStringLiteral("http://typed.example/"), QStringLiteral("other.org")};
        QCOMPARE(AddressCompletions(QStringLiteral("EXAMPLE"), typed, &h),
                 (QStringList{QStringLiteral("http://typed.example/"), QStringLiteral("http://news.example/today")}));
        QCOMPARE(AddressCompletions(QStringLiteral("paper"), typed, &h), QStringList{QStringLiteral("http://news.example/today")});
        QVERIFY(AddressCompletions(QStringLiteral("  "), typed, &h).isEmpty());
        QCOMPARE(AddressCompletions(QStringLiteral("o"), typed, nullptr, 1).size(), 1);
    }

    void levelNames() {
        QCOMPARE(SecurityLevelName(0), QStringLiteral("UnSecure"));
        QCOMPARE(SecurityLevelName(2), QStringLiteral("Unknown Bits"));
        QCOMPARE(SecurityLevelName(6), QStringLiteral("128 Bit"));
        QCOMPARE(SecurityLevelName(7), QString());
        QCOMPARE(SecurityLevelName(-1), QString());
    }

    void startPage() {
        QTemporaryDir dir;
        TRegistry reg(dir.path());
        QCOMPARE(StartPageOf(reg), QString());
        QVERIFY(reg.OpenKey(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main"), true));
        reg.WriteString(QStringLiteral("Start Page"), QStringLiteral(" http://home.example/ "));
        reg.CloseKey();
        QCOMPARE(StartPageOf(reg), QStringLiteral("http://home.example/"));
    }
};

QTEST_GUILESS_MAIN(TestBrowserCore)
#include "test_browser_core.moc"
