#pragma once
// Small helpers for the search tests: synchronous page loads and scripts, a local page
// with known text, and a minimal tab set standing in for the main window's.
#include "components/browser/EmbeddedWB.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace fixture {

inline bool LoadSync(TEmbeddedWB* view, const QString& address) {
    view->Navigate(address);
    return view->WaitUntilComplete() && view->DocumentLoaded();
}

inline QVariant EvalSync(QWebEnginePage* page, const QString& script) {
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant& v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 10000))
        qWarning("script did not finish: %s", qPrintable(script));
    return result;
}

inline void WriteFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

// "apple" three times in the body text: twice in one text node, once inside <b> in a
// link; also in places that are not page text (head script, attributes, a text area).
inline const char ApplePage[] = "<html><head><title>Daily News</title>\n"
                                "<script>var fruit = \"apple\";</script></head><body>\n"
                                "<p id=\"first\">Apple pie and apple juice</p>\n"
                                "<div style=\"height:3000px\"></div>\n"
                                "<p><a id=\"link\" href=\"/apple.html\" title=\"apple\">an <b "
                                "id=\"bold\">APPLE</b> a day</a></p>\n"
                                "<textarea id=\"area\">apple</textarea>\n"
                                "<div style=\"height:3000px\"></div>\n"
                                "</body></html>\n";

// The tab set: a browser per tab, new tabs right after the active one.
class TTabs {
public:
    TTabs() {
        tabs.resize(800, 600);
        tabs.show();
    }
    // Browsers go one by one while the tab set is whole: a TEmbeddedWB destroyed by
    // its parent's destructor crashes the engine.
    ~TTabs() {
        while (tabs.count())
            delete tabs.widget(0);
    }
    TEmbeddedWB* ActiveBrowser() const { return qobject_cast<TEmbeddedWB*>(tabs.currentWidget()); }
    QWidget* OpenInNewTab(const QString& address) {
        auto* view = new TEmbeddedWB;
        tabs.insertTab(tabs.currentIndex() + 1, view, QString());
        tabs.setCurrentWidget(view);
        if (!address.trimmed().isEmpty())
            LoadSync(view, address);
        return view;
    }
    QTabWidget tabs;
};

} // namespace fixture
