// Page commands on real pages served from 127.0.0.1 and from local files.
#include "browser/InternetOptions.h"
#include "browser/OfflineInterceptor.h"
#include "browser/PageCommands.h"
#include "components/browser/EmbeddedWB.h"
#include "platform/ConnectionState.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "tests/support/TestPeer.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QtTest>

class TestPageCommands : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    TestPeer http;
    TConnectionState connection;
    QWidget* window = nullptr;
    TEmbeddedWB* browser = nullptr;
    TPageCommands* commands = nullptr;
    QStringList opened;
    QStringList messages;

    QString local(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QVariant js(const char* script) { return browser->EvaluateJavaScript(QString::fromLatin1(script)); }
    void load(const QString& address) {
        browser->Navigate(address);
        QVERIFY(browser->WaitUntilComplete());
    }

private slots:
    void initTestCase() {
        SaveFileAtomically(local("page.html"),
                           "<html><head><title>Sample Page</title></head><body><p id=p>Hello text</p>"
                           "<input id=field value=abc></body></html>");
        // Polish text in Central European bytes with no declared charset
        SaveFileAtomically(local("latin2.html"), QByteArray("<html><body><p id=p>") + QByteArray::fromHex("aff3b377206368b36f646e792c206deabf637a797a6e6120b36f7769b320727962792e20c66d61206c65636961b361206e6f63ea2c206fbff3672067ea73746e6961b3") +
                                                     "</p></body></html>");
        QVERIFY2(http.StartHttp(dir.path()), qPrintable(http.Error()));

        auto* interceptor = new TOfflineInterceptor(connection, this);
        QWebEngineProfile::defaultProfile()->setUrlRequestInterceptor(interceptor);
        window = new QWidget;
        browser = new TEmbeddedWB(window);
        browser->resize(800, 600);
        window->resize(800, 600);
        window->show();
        TPageCommandHost host;
        host.ActiveBrowser = [this] { return browser; };
        host.OpenInNewTab = [this](const QString& url) { opened << url; };
        commands = new TPageCommands(host, connection, TPageCommandEntries::Create(window), window);
        commands->ShowMessage = [this](const QString& text, bool) { messages << text; };
        load(http.Url(QStringLiteral("/page.html")));
    }
    // The browser goes with its parent window: this once crashed the engine while the
    // view, half destroyed, answered its own signals.
    void cleanupTestCase() { delete window; }
    void init() { messages.clear(); }

    void printGoesToPrinterOrReportsCancel() {
        const QString pdf = local("out.pdf");
        commands->AskPrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return true;
        };
        commands->PrintBtnClick();
        QVERIFY(messages.isEmpty());
        QVERIFY(QFileInfo(pdf).size() > 0);
        QVERIFY(ReadWholeFile(pdf).startsWith("%PDF"));
        commands->AskPrinter = [](QPrinter&) { return false; };
        commands->PrintBtnClick();
        QCOMPARE(messages, QStringList{QStringLiteral("Canceled by User")});
    }

    void saveAsWritesThePageOrTellsWhy() {
        const QString target = local("saved/copy.htm");
        QDir().mkpath(local("saved"));
        QString suggestion;
        commands->AskSavePath = [&](const QString& suggested) {
            suggestion = suggested;
            return target;
        };
        commands->SaveAs1Click();
        QVERIFY(suggestion.endsWith(QStringLiteral("/Sample Page.htm")));
        QVERIFY(messages.isEmpty());
        QVERIFY(ReadWholeFile(target).contains("Hello text"));
        commands->AskSavePath = [&](const QString&) { return local("missing/copy.htm"); };
        commands->SaveAs1Click();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("ERROR: Unable to show Save As dialog. \rEInOutError: ")));
        QVERIFY(messages[0].endsWith(QLatin1Char('.')));
    }

    void textSizeAndZoomAreSeparate() {
        commands->TextSizeClick(3);
        QVERIFY(!commands->Entries.TextSize[3]->isEnabled());
        QVERIFY(commands->Entries.TextSize[2]->isEnabled());
        commands->Zoom1Click();
        QVERIFY(commands->Entries.TextSize[3]->isChecked());
        QTRY_COMPARE(js("getComputedStyle(document.getElementById('p')).fontSize").toString(), QStringLiteral("20px"));

        commands->ZoomClick(4); // 50%
        commands->TextSizeClick(2);
        QCOMPARE(js("document.body.style.zoom").toString(), QStringLiteral("0.5"));
        QTRY_COMPARE(js("getComputedStyle(document.getElementById('p')).fontSize").toString(), QStringLiteral("16px"));
        QVERIFY(!commands->ZoomEntries[4]->isEnabled());
        QVERIFY(commands->ZoomEntries[2]->isEnabled());
    }

    void designModeTwiceEndsOff() {
        commands->Entries.DesignMode1->trigger();
        QVERIFY(commands->Entries.DesignMode1->isChecked());
        QCOMPARE(js("document.designMode").toString(), QStringLiteral("on"));
        commands->Entries.DesignMode1->trigger();
        QVERIFY(!commands->Entries.DesignMode1->isChecked());
        QCOMPARE(js("document.designMode").toString(), QStringLiteral("off"));
    }

    void sourceOpensInANewTab() {
        commands->ViewSource1Click();
        QCOMPARE(opened, QStringList{QStringLiteral("view-source:") + http.Url(QStringLiteral("/page.html"))});
    }

    void encodingReloadsWithTheChosenCharset() {
        load(QUrl::fromLocalFile(local("latin2.html")).toString());
        commands->Entries.Encoding[1]->trigger(); // Central European (ISO)
        QVERIFY(browser->WaitUntilComplete());
        QTRY_COMPARE(js("document.getElementById('p').textContent").toString(), QStringLiteral("Żółw chłodny, mężczyzna łowił ryby. Ćma leciała nocę, ożóg gęstniał"));
        QVERIFY(commands->Entries.Encoding[1]->isChecked());
        QVERIFY(!commands->Entries.Encoding[0]->isChecked());
        commands->Entries.Encoding[0]->trigger(); // back to Automatic
        QVERIFY(browser->WaitUntilComplete());
        QVERIFY(commands->Entries.Encoding[0]->isChecked());
    }

    void offlineBlocksTheNetworkButNotFiles() {
        commands->Entries.OfflineMode1->trigger();
        QVERIFY(connection.Offline());
        load(http.Url(QStringLiteral("/page.html?offline")));
        QVERIFY(js("document.getElementById('p') === null").toBool());
        load(QUrl::fromLocalFile(local("page.html")).toString());
        QCOMPARE(js("document.getElementById('p').textContent").toString(), QStringLiteral("Hello text"));
        commands->Entries.OfflineMode1->trigger();
        QCOMPARE(connection.State(), TConnectionState::INTERNET_STATE_CONNECTED);
        load(http.Url(QStringLiteral("/page.html?online")));
        QCOMPARE(js("document.getElementById('p').textContent").toString(), QStringLiteral("Hello text"));
    }

    void commandsWithoutABrowserDoNothing() {
        TPageCommandHost none;
        none.ActiveBrowser = [] { return static_cast<TEmbeddedWB*>(nullptr); };
        none.OpenInNewTab = [this](const QString& url) { opened << url; };
        TPageCommands idle(none, connection, TPageCommandEntries::Create(window), window);
        idle.ShowMessage = [this](const QString& text, bool) { messages << text; };
        idle.AskPrinter = [](QPrinter&) { return false; };
        const int before = opened.size();
        idle.PrintBtnClick();
        idle.ViewSource1Click();
        idle.Entries.Encoding[5]->trigger();
        idle.Entries.DesignMode1->trigger();
        QVERIFY(messages.isEmpty());
        QCOMPARE(opened.size(), before);
        QVERIFY(idle.Entries.Encoding[0]->isChecked());
        QVERIFY(!idle.Entries.Encoding[5]->isChecked());
        QVERIFY(!idle.Entries.DesignMode1->isChecked());
    }

    void internetOptionsStoreTheStartPage() {
        TRegistry registry(local("registry"));
        bool popups = true;
        TInternetOptionsHost host;
        host.Registry = &registry;
        host.CurrentPage = [] { return QStringLiteral("http://example.test/"); };
        host.PopupsAllowed = [&] { return popups; };
        host.SetPopupsAllowed = [&](bool on) { popups = on; };
        TInternetOptionsDialog options(host, window);
        QVERIFY(options.cbPopups->isChecked());
        options.edStartPage->setText(QStringLiteral("http://start.test/"));
        options.cbPopups->setChecked(false);
        options.Apply();
        QVERIFY(!popups);
        TRegistry reader(local("registry"));
        QVERIFY(reader.OpenKeyReadOnly(TInternetOptionsDialog::MainKey));
        QCOMPARE(reader.ReadString(TInternetOptionsDialog::StartPage), QStringLiteral("http://start.test/"));
        TInternetOptionsDialog again(host, window);
        QCOMPARE(again.edStartPage->text(), QStringLiteral("http://start.test/"));
    }
};

QTEST_MAIN(TestPageCommands)
#include "test_pagecommands.moc"
