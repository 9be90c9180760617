// Quick links, translation of the current page and sending its link.
#include "BrowserFixture.h"
#include "platform/Errors.h"
#include "search/WebServices.h"
#include "tests/support/TestPeer.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QUrlQuery>

using namespace search;
using namespace Qt::StringLiterals;

namespace {

// A menu's entries as captions, "-" for a separator.
QStringList Captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? u"-"_s : a->text());
    return out;
}

} // namespace

class TestWebServices : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    TestPeer http;
    fixture::TTabs tabs;
    QString addressBox;
    QStringList opened; // what the shell was asked to open

    TWebServicesHost Host() {
        TWebServicesHost host;
        host.ActiveBrowser = [this] { return tabs.ActiveBrowser(); };
        host.OpenInNewTab = [this](const QString& address) { return tabs.OpenInNewTab(address); };
        host.AddressText = [this] { return addressBox; };
        host.ShellOpen = [this](const QString& target) {
            opened << target;
            return true;
        };
        return host;
    }

    // The shipped tables with every host moved to the local server, path kept.
    QString Local(const QString& address) const {
        const QUrl url(address);
        return http.Url(url.path(QUrl::FullyEncoded) +
                        (url.hasQuery() ? u"?"_s + url.query(QUrl::FullyEncoded) : QString()));
    }

private slots:
    void initTestCase() {
        fixture::WriteFile(dir.filePath(u"www/page.html"_s), fixture::ApplePage);
        QVERIFY2(http.StartHttp(dir.filePath(u"www"_s)), qPrintable(http.Error()));
        tabs.OpenInNewTab(http.Url(u"/page.html"_s));
    }

    void menuLayout() {
        TWebServices services(LoadQuickLinks(), LoadTranslations(), Host());
        QMenu options;
        const QList<QMenu*> menus = services.AddMenusTo(&options);
        QCOMPARE(Captions(&options),
                 (QStringList{u"Yahoo!"_s, u"Google"_s, u"MSN"_s, u"Useful Services"_s}));
        const QStringList useful = Captions(menus[3]);
        QCOMPARE(useful.mid(0, 6), (QStringList{u"Free online Network Utilities"_s,
                                                u"Traffic Ranking"_s, u"Take Me Back"_s, u"-"_s,
                                                u"Google translate current page"_s, u"-"_s}));
        QCOMPARE(useful.size(), 14);
        QCOMPARE(useful.last(), u"Babel Fish: Portugese to English"_s);
        QCOMPARE(Captions(menus[2]).indexOf(u"-"_s), 5); // MSN: after "Groups"
        QCOMPARE(menus[0]->actions().size(), 22);
        QAction* mail = services.ActionFor(u"YahooMail1Click"_s);
        QVERIFY(mail);
        QCOMPARE(mail->objectName(), u"YahooMail1"_s);
        QCOMPARE(mail->text(), u"Yahoo Mail"_s);
    }

    void everyQuickLinkOpensOneActiveTab() {
        QVector<TQuickLinkMenu> menus = LoadQuickLinks();
        for (TQuickLinkMenu& m : menus)
            for (TQuickLink& link : m.Items)
                if (!link.IsSeparator())
                    link.Address = Local(link.Address);
        TWebServices services(menus, LoadTranslations(), Host());
        QMenu options;
        services.AddMenusTo(&options);

        tabs.tabs.setCurrentIndex(0);
        QWebEngineView* first = tabs.ActiveBrowser();
        const QUrl firstUrl = first->url();
        for (const TQuickLinkMenu& m : menus) {
            for (const TQuickLink& link : m.Items) {
                if (link.IsSeparator())
                    continue;
                const int before = tabs.tabs.count();
                const int active = tabs.tabs.currentIndex();
                services.ActionFor(link.Handler)->trigger();
                QCOMPARE(tabs.tabs.count(), before + 1);
                QCOMPARE(tabs.tabs.currentIndex(), active + 1);
                QCOMPARE(tabs.ActiveBrowser()->url(), QUrl(link.Address));
            }
        }
        QCOMPARE(first->url(), firstUrl); // the tab the links were opened from keeps its page
        while (tabs.tabs.count() > 1)
            delete tabs.tabs.widget(1);
    }

    void translationLoadsInTheCurrentTab() {
        QVector<TTranslation> translations = LoadTranslations();
        for (TTranslation& t : translations)
            t.Front = Local(t.Front);
        TWebServices services(LoadQuickLinks(), translations, Host());
        QMenu options;
        services.AddMenusTo(&options);

        addressBox = u"http://example.org/news?id=7&lang=fr#top"_s;
        const int count = tabs.tabs.count();
        services.ActionFor(u"BabelFishFrenchtoEnglish1Click"_s)->trigger();
        QCOMPARE(tabs.tabs.count(), count);
        const QUrl loaded = tabs.ActiveBrowser()->url();
        QVERIFY(loaded.toString().startsWith(translations[7].Front));
        QCOMPARE(QUrlQuery(loaded).queryItemValue(u"u"_s, QUrl::FullyDecoded), addressBox);
    }

    void sendLinkOfCurrentPage() {
        TEmbeddedWB* view = tabs.ActiveBrowser();
        QVERIFY(fixture::LoadSync(view, http.Url(u"/page.html?a=1&b=2"_s)));
        QCOMPARE(view->LocationName(), u"Daily News"_s);
        TWebServices services(LoadQuickLinks(), LoadTranslations(), Host());
        opened.clear();
        services.SendLinkofCurrentPage1Click();
        QCOMPARE(opened.size(), 1);
        const QUrl mail(opened[0], QUrl::StrictMode);
        QCOMPARE(mail.scheme(), u"mailto"_s);
        QCOMPARE(QUrlQuery(mail).queryItemValue(u"subject"_s, QUrl::FullyDecoded), u"Daily News"_s);
        QCOMPARE(QUrlQuery(mail).queryItemValue(u"body"_s, QUrl::FullyDecoded),
                 view->LocationURL());
        QVERIFY(view->LocationURL().endsWith(u"/page.html?a=1&b=2"_s));

        TWebServicesHost none = Host();
        none.ActiveBrowser = [] { return static_cast<TEmbeddedWB*>(nullptr); };
        TWebServices noBrowser(LoadQuickLinks(), LoadTranslations(), none);
        noBrowser.SendLinkofCurrentPage1Click();
        QCOMPARE(opened.size(), 1);

        // No mail program: a clear error, not silence.
        TWebServicesHost failing = Host();
        failing.ShellOpen = [](const QString&) { return false; };
        TWebServices noMailer(LoadQuickLinks(), LoadTranslations(), failing);
        QVERIFY_THROWS_EXCEPTION(Exception, noMailer.SendLinkofCurrentPage1Click());
    }
};

QTEST_MAIN(TestWebServices)
#include "test_webservices.moc"
