// The grabber window against a real HTTP server on loopback: its states, log, options,
// Enter in the address edit and the refused close.
#include "components/downloader/MultiDownLoader.h"
#include "grabber/GrabSite.h"
#include "platform/Files.h"
#include "tests/support/TestPeer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
QStringList logLines(const TfrmGrabSite& w) {
    const QString text = w.memLog->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// Answers the next message box with OK and returns its text.
QString answerNextMessageBox(std::function<void()> trigger) {
    QString text;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            text = box->text();
            box->accept();
        }
    });
    poll.start(10);
    trigger();
    return text;
}
} // namespace

class TestGrabSite : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void initialState();
    void grabToFinishedThenStop();
    void whileRunning();

private:
    QTemporaryDir tmp;
    TestPeer http;
};

void TestGrabSite::initTestCase() {
    const QString site = tmp.filePath(QStringLiteral("site"));
    QVERIFY(QDir().mkpath(site));
    SaveFileAtomically(site + QStringLiteral("/index.html"),
          "<html><body><a href='a.html'>a</a><img src='logo.png'><a "
          "href='doc.pdf'>d</a></body></html>");
    SaveFileAtomically(site + QStringLiteral("/a.html"), "<html><body><a href='b.html'>b</a></body></html>");
    SaveFileAtomically(site + QStringLiteral("/b.html"), "<html><body>b</body></html>");
    SaveFileAtomically(site + QStringLiteral("/logo.png"), "\x89PNG");
    SaveFileAtomically(site + QStringLiteral("/doc.pdf"), "%PDF");
    SaveFileAtomically(site + QStringLiteral("/stall.html"),
          "<html><body><a href='/__stall/5'>s</a></body></html>");
    QVERIFY2(http.StartHttp(site), qPrintable(http.Error()));
}

void TestGrabSite::initialState() {
    TfrmGrabSite w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Grab Website "));
    QCOMPARE(w.PageControl1->count(), 1);
    QCOMPARE(w.PageControl1->tabText(0), QStringLiteral("Grab Web Site"));
    QVERIFY(w.btnGrab->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());
    QCOMPARE(w.StatusPanel->text(), QStringLiteral("Ready"));
    QVERIFY(!w.cbGrabAll->isChecked());
    QVERIFY(w.cbGrabImages->isChecked());
    QVERIFY(!w.cbGrabData->isChecked());
    QCOMPARE(w.updMaxNestLevel->value(), 3);
    QVERIFY(w.memLog->isReadOnly());
    QVERIFY(!w.edtRootUrl->text().isEmpty());
    QVERIFY(!w.edtTargetDir->text().isEmpty());
    const TclMultiDownLoader& dl = *w.clMultiDownLoader;
    QCOMPARE(dl.MaxStartedItems, 5);
    QCOMPARE(dl.TryCount, 5);
    QCOMPARE(dl.TimeOut, 5000);
    QCOMPARE(dl.InternetAgent, QStringLiteral("Mozilla/4.0 (compatible; Clever Internet Suite)"));
}

void TestGrabSite::grabToFinishedThenStop() {
    TfrmGrabSite w;
    w.show();
    const QString target = tmp.filePath(QStringLiteral("out1"));
    w.edtRootUrl->setText(http.Url(QStringLiteral("/index.html")));
    w.edtTargetDir->setText(target);
    w.cbGrabImages->setChecked(false);
    w.cbGrabData->setChecked(true);
    w.updMaxNestLevel->setValue(2);
    w.memLog->setPlainText(QStringLiteral("old line"));
    QTest::mouseClick(w.btnGrab, Qt::LeftButton);
    QCOMPARE(w.clMultiDownLoader->GrabOptions, TclGrabOptions(gaGrabData));
    QCOMPARE(w.clMultiDownLoader->LocalFolder, target);
    QVERIFY(!w.btnGrab->isEnabled());
    QVERIFY(w.btnStop->isEnabled());
    QCOMPARE(w.StatusPanel->text(), QStringLiteral("Grabbing..."));
    // Finished by itself: "Ready", but the buttons wait for "Stop".
    QTRY_COMPARE_WITH_TIMEOUT(w.StatusPanel->text(), QStringLiteral("Ready"), 30000);
    QVERIFY(!w.btnGrab->isEnabled());
    QVERIFY(w.btnStop->isEnabled());
    QStringList lines = logLines(w);
    lines.sort();
    QCOMPARE(lines,
             (QStringList{http.Url(QStringLiteral("/a.html")), http.Url(QStringLiteral("/doc.pdf")),
                          http.Url(QStringLiteral("/index.html")),
                          http.Url(QStringLiteral("/logo.png"))}));
    QVERIFY(QFile::exists(target + QStringLiteral("/doc.pdf")));
    QVERIFY(!QFile::exists(target + QStringLiteral("/logo.png")));
    QVERIFY(!QFile::exists(target + QStringLiteral("/b.html")));
    QTest::mouseClick(w.btnStop, Qt::LeftButton);
    QVERIFY(w.btnGrab->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());
    QVERIFY(w.close());
}

void TestGrabSite::whileRunning() {
    TfrmGrabSite w;
    w.show();
    w.edtRootUrl->setText(http.Url(QStringLiteral("/stall.html")));
    w.edtTargetDir->setText(tmp.filePath(QStringLiteral("out2")));
    w.updMaxNestLevel->setValue(0);
    QTest::keyClick(w.edtRootUrl, Qt::Key_Return); // Enter starts a grab like "Grab"
    QCOMPARE(w.StatusPanel->text(), QStringLiteral("Grabbing..."));
    QTRY_COMPARE_WITH_TIMEOUT(logLines(w).size(), 1, 20000); // the page; its link hangs
    // Enter again while it runs: nothing changes, nothing is raised.
    QTest::keyClick(w.edtRootUrl, Qt::Key_Return);
    QCOMPARE(logLines(w), QStringList{http.Url(QStringLiteral("/stall.html"))});
    QVERIFY(w.clMultiDownLoader->IsBusy());
    QCOMPARE(w.edtRootUrl->text(), http.Url(QStringLiteral("/stall.html")));
    // Closing is refused while busy.
    bool closed = true;
    const QString message = answerNextMessageBox([&] { closed = w.close(); });
    QVERIFY(!closed);
    QCOMPARE(
        message,
        QStringLiteral("Can not close the application. Please press the Stop button to cancel the "
                       "grabbing process."));
    QVERIFY(w.isVisible());
    QTest::mouseClick(w.btnStop, Qt::LeftButton);
    QCOMPARE(w.StatusPanel->text(), QStringLiteral("Ready"));
    QVERIFY(w.btnGrab->isEnabled());
    QVERIFY(!w.btnStop->isEnabled());
    QVERIFY(w.close());
}

QTEST_MAIN(TestGrabSite)
#include "test_grabsite.moc"
