// The browser control against pages served by the loopback HTTP server.
#include "components/browser/EmbeddedWB.h"
#include "components/browser/IETravelLog.h"
#include "tests/support/TestPeer.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEngineHistory>
#include <memory>

class TestEmbeddedWB : public QObject {
    Q_OBJECT
    TestPeer http;
    std::unique_ptr<TEmbeddedWB> wb;
    QString url(const QString& page) const { return http.Url(QStringLiteral("/") + page); }
    // A browser that has never loaded anything, for tests that need a fresh history.
    std::unique_ptr<TEmbeddedWB> fresh() {
        auto b = std::make_unique<TEmbeddedWB>();
        b->resize(400, 300);
        b->show();
        return b;
    }

private slots:
    void initTestCase() {
        QVERIFY2(http.StartHttp(QStringLiteral(QUILLMOOR_SOURCE_DIR "/tests/components/browser/pages")),
                 qPrintable(http.Error()));
        wb = fresh();
    }
    void cleanupTestCase() { wb.reset(); }

    void freshBrowserIsIdle() {
        auto b = fresh();
        QCOMPARE(b->ReadyState(), int(TEmbeddedWB::READYSTATE_UNINITIALIZED));
        QVERIFY(!b->Busy());
        QVERIFY(!b->DocumentLoaded());
        QVERIFY(b->WaitUntilComplete()); // returns at once: nothing is loading
        QVERIFY(b->LocationURL().isEmpty());
    }

    void navigateReportsEvents() {
        QSignalSpy titles(wb.get(), &TEmbeddedWB::TitleChange);
        QSignalSpy progress(wb.get(), &TEmbeddedWB::ProgressChange);
        QSignalSpy complete(wb.get(), &TEmbeddedWB::DocumentComplete);
        QSignalSpy begin(wb.get(), &TEmbeddedWB::DownloadBegin);
        QSignalSpy lock(wb.get(), &TEmbeddedWB::SetSecureLockIcon);
        wb->Navigate(url(QStringLiteral("a.html")));
        QVERIFY(wb->Busy());
        QCOMPARE(wb->ReadyState(), int(TEmbeddedWB::READYSTATE_LOADING));
        QVERIFY(wb->WaitUntilComplete());
        QCOMPARE(wb->ReadyState(), int(TEmbeddedWB::READYSTATE_COMPLETE));
        QVERIFY(wb->DocumentLoaded());
        QCOMPARE(wb->LocationURL(), url(QStringLiteral("a.html")));
        QTRY_COMPARE(wb->DocumentTitle(), QStringLiteral("Page A"));
        QTRY_VERIFY(!titles.isEmpty() && titles.last().at(0).toString() == QLatin1String("Page A"));
        QCOMPARE(begin.count(), 1);
        QCOMPARE(complete.count(), 1);
        QCOMPARE(complete.at(0).at(0).toBool(), true);
        QVERIFY(!progress.isEmpty());
        for (const auto& p : progress)
            QCOMPARE(p.at(1).toInt(), 100);
        QCOMPARE(lock.last().at(0).toInt(), 0); // plain http
    }

    void untitledPageHasEmptyTitle() {
        QSignalSpy titles(wb.get(), &TEmbeddedWB::TitleChange);
        wb->Navigate(url(QStringLiteral("untitled.html")));
        QVERIFY(wb->WaitUntilComplete());
        QTRY_VERIFY(!titles.isEmpty());
        QCOMPARE(titles.last().at(0).toString(), QString());
        QCOMPARE(wb->DocumentTitle(), QString());
        QCOMPARE(wb->LocationName(), wb->LocationURL());
    }

    void framesCompleteOnceForThePage() {
        QSignalSpy complete(wb.get(), &TEmbeddedWB::DocumentComplete);
        wb->Navigate(url(QStringLiteral("frames.html")));
        QVERIFY(wb->WaitUntilComplete());
        QCOMPARE(complete.count(), 1);
        QCOMPARE(complete.at(0).at(0).toBool(), true);
    }

    // Go replaces the current entry; Navigate adds one. The travel log lists nearest first.
    void goReplacesHistoryEntry() {
        auto b = fresh();
        b->Navigate(url(QStringLiteral("a.html")));
        QVERIFY(b->WaitUntilComplete());
        b->Navigate(url(QStringLiteral("b.html")));
        QVERIFY(b->WaitUntilComplete());
        QSignalSpy states(b.get(), &TEmbeddedWB::CommandStateChange);
        b->Go(url(QStringLiteral("c.html")));
        QCOMPARE(b->LocationURL(), url(QStringLiteral("c.html")));
        QCOMPARE(b->history()->count(), 2);

        TIETravelLog log;
        log.SetEmbeddedWB(b.get());
        QStringList back;
        log.EnumerateBack([&](const TIETravelLog::Entry& e) { back << e.Url; return true; });
        QCOMPARE(back, QStringList{url(QStringLiteral("a.html"))});

        QVERIFY(log.TravelTo(-1));
        QTRY_COMPARE(b->LocationURL(), url(QStringLiteral("a.html")));
        QVERIFY(b->WaitUntilComplete());
        QTRY_VERIFY(b->history()->canGoForward());
        QVERIFY(!log.TravelTo(-1)); // nothing further back
        QStringList forward;
        log.EnumerateForward([&](const TIETravelLog::Entry& e) { forward << e.Title; return false; });
        QCOMPARE(forward, QStringList{QStringLiteral("Page C")});
        bool sawForward = false;
        for (const auto& s : states)
            if (s.at(0).toInt() == TEmbeddedWB::CSC_NAVIGATEFORWARD && s.at(1).toBool())
                sawForward = true;
        QVERIFY(sawForward);
    }

    void goWithoutPageLoadsNormally() {
        auto b = fresh();
        b->Go(url(QStringLiteral("b.html")));
        QCOMPARE(b->LocationURL(), url(QStringLiteral("b.html")));
        QVERIFY(!b->Busy());
    }

    void stopEndsSlowLoad() {
        auto b = fresh();
        b->Navigate(http.Url(QStringLiteral("/__slow/10000/a.html")));
        QTRY_VERIFY(b->Busy());
        b->Stop();
        QTRY_VERIFY(!b->Busy());
        QVERIFY(b->WaitUntilComplete());
    }

    void scriptClosingItsWindowShowsBlank() {
        auto b = fresh();
        b->Navigate(url(QStringLiteral("closer.html")));
        QTRY_COMPARE(b->LocationURL(), QStringLiteral("about:blank"));
        QVERIFY(b->WaitUntilComplete());
    }

    void newWindowGoesToHandler() {
        auto b = fresh();
        std::unique_ptr<TEmbeddedWB> popup;
        bool cancelNext = false;
        int requests = 0;
        connect(b.get(), &TEmbeddedWB::NewWindow2, this, [&](TEmbeddedWB*& target, bool& cancel) {
            ++requests;
            if (cancelNext) {
                cancel = true;
                return;
            }
            popup = fresh();
            target = popup.get();
        });
        b->Navigate(url(QStringLiteral("popup-after.html")));
        QVERIFY(b->WaitUntilComplete());
        b->page()->runJavaScript(QStringLiteral("openIt()"));
        QTRY_VERIFY(popup && popup->LocationURL() == url(QStringLiteral("b.html")));
        QVERIFY(popup->WaitUntilComplete());
        QTRY_COMPARE(popup->DocumentTitle(), QStringLiteral("Page B"));

        cancelNext = true;
        popup.reset();
        b->page()->runJavaScript(QStringLiteral("openIt()"));
        QTRY_COMPARE(requests, 2);
        QVERIFY(!popup);
    }

    void scriptErrorsAreReported() {
        QSignalSpy errors(wb.get(), &TEmbeddedWB::ScriptError);
        wb->Navigate(url(QStringLiteral("scripterror.html")));
        QVERIFY(wb->WaitUntilComplete());
        QTRY_VERIFY(!errors.isEmpty());
        QVERIFY(errors.at(0).at(3).toString().contains(QLatin1String("undefinedFunction")));
    }

    void bodyInnerHtmlRoundTrip() {
        wb->Navigate(url(QStringLiteral("a.html")));
        QVERIFY(wb->WaitUntilComplete());
        wb->SetBodyInnerHTML(QStringLiteral("<b id=\"x\">changed \"quoted\"\n</b>"));
        QCOMPARE(wb->BodyInnerHTML(), QStringLiteral("<b id=\"x\">changed \"quoted\"\n</b>"));
    }

    // A certificate nobody vouches for is refused: the engine's error page, never the site.
    void untrustedCertificateIsRefused() {
        TestPeer https;
        QVERIFY2(https.Start(QStringLiteral("python3"),
                             {TestPeer::Script(QStringLiteral("httpsd.py")),
                              QStringLiteral(QUILLMOOR_SOURCE_DIR "/tests/components/browser/pages")}),
                 qPrintable(https.Error()));
        auto b = fresh();
        QSignalSpy lock(b.get(), &TEmbeddedWB::SetSecureLockIcon);
        QSignalSpy finished(b.get(), &QWebEngineView::loadFinished);
        b->Navigate(QStringLiteral("https://127.0.0.1:%1/a.html").arg(https.Port()));
        QVERIFY(b->WaitUntilComplete());
        QVERIFY(!finished.isEmpty());
        QCOMPARE(finished.last().at(0).toBool(), false);
        QCOMPARE(lock.last().at(0).toInt(), 0);
        QVERIFY(b->DocumentTitle() != QLatin1String("Page A"));
        const QString body = b->EvaluateJavaScript(QStringLiteral("document.body ? document.body.innerText : ''")).toString();
        QVERIFY(!body.contains(QLatin1String("Alpha")));
    }

    void addressesFromUsers_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("host") << "example.org/page" << "http://example.org/page";
        QTest::newRow("scheme") << "https://example.org" << "https://example.org";
        QTest::newRow("blank") << "about:blank" << "about:blank";
        QTest::newRow("spaces") << "  example.org  " << "http://example.org";
        QTest::newRow("file") << "/tmp" << "file:///tmp";
        QTest::newRow("empty") << "   " << "";
    }
    void addressesFromUsers() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QCOMPARE(AddressToUrl(typed).toString(), expected);
    }
};

QTEST_MAIN(TestEmbeddedWB)
#include "test_embeddedwb.moc"
