// The FTP window against vsftpd on loopback and against a scripted server for hostile
// listings, a failing listing and a stalled transfer.
#include "components/ftp/TipwFTP.h"
#include "ftp/ftp.h"
#include "tests/support/TestPeer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <optional>

namespace {

// Answers the window's questions from a queue and records what it asked and reported.
struct FakeDialogs {
    QList<std::optional<QString>> answers;
    QStringList asked, messages, errors, opened;
    TFtpDialogs Make() {
        TFtpDialogs d;
        d.InputBox = [this](const QString& title, const QString&, const QString&) {
            asked << title;
            return answers.isEmpty() ? QString() : answers.takeFirst().value_or(QString());
        };
        d.InputQuery = [this](const QString& title, const QString&, QString& value) {
            asked << title;
            if (answers.isEmpty())
                return false;
            const auto a = answers.takeFirst();
            if (!a)
                return false;
            if (!a->isNull())
                value = *a;
            return true;
        };
        d.Message = [this](const QString& t) { messages << t; };
        d.ErrorReport = [this](const QString& t) { errors << t; };
        d.Open = [this](const QString& p) {
            opened << p;
            return true;
        };
        return d;
    }
};

QStringList Notes(const TfrmFTP& w) {
    QStringList out;
    for (int i = 0; i < w.ListBoxPiTrail->count(); ++i)
        out << w.ListBoxPiTrail->item(i)->text();
    return out;
}

QStringList RemoteRows(const TfrmFTP& w) {
    QStringList out;
    for (int i = 0; i < w.ListBoxRemFiles->topLevelItemCount(); ++i)
        out << w.ListBoxRemFiles->topLevelItem(i)->text(0);
    return out;
}

QStringList LocalRows(const TfrmFTP& w) {
    QStringList out;
    for (int i = 0; i < w.ListBoxLocFiles->count(); ++i)
        out << w.ListBoxLocFiles->item(i)->text();
    return out;
}

bool SelectRemote(TfrmFTP& w, const QString& row) {
    w.ListBoxRemFiles->clearSelection();
    for (int i = 0; i < w.ListBoxRemFiles->topLevelItemCount(); ++i)
        if (w.ListBoxRemFiles->topLevelItem(i)->text(0) == row) {
            w.ListBoxRemFiles->topLevelItem(i)->setSelected(true);
            return true;
        }
    return false;
}

bool SelectLocal(TfrmFTP& w, const QString& row) {
    w.ListBoxLocFiles->clearSelection();
    const auto items = w.ListBoxLocFiles->findItems(row, Qt::MatchExactly);
    if (items.isEmpty())
        return false;
    items.first()->setSelected(true);
    return true;
}

void WriteFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void notesKeepTheNewest255();
    void failedLogon();
    void remoteSession();
    void gauge_data();
    void gauge();
    void listingFailureDisconnects();
    void modeRadioAndAbort();
    void hostileListing();
    void stallTimesOutWindowResponsive();
    void cancelInterruptsTransfer();
    void localPane();

private:
    std::unique_ptr<TfrmFTP> Window(int port);
    bool StartScript(TestPeer& peer, const QStringList& args, const QByteArray& listing);
    QTemporaryDir serverRoot, localRoot;
    QString work;
    TestPeer vsftpd;
    FakeDialogs fake;
};

void TestWindow::initTestCase() {
    QVERIFY(serverRoot.isValid() && localRoot.isValid());
    QVERIFY(QDir(serverRoot.path()).mkpath(QStringLiteral("pub/sub")));
    WriteFile(serverRoot.filePath(QStringLiteral("pub/small.txt")), "hello world");
    WriteFile(serverRoot.filePath(QStringLiteral("pub/empty.bin")), QByteArray());
    WriteFile(serverRoot.filePath(QStringLiteral("pub/big.bin")), QByteArray(6 * 1024 * 1024, 'b'));
    QVERIFY2(vsftpd.Start(TestPeer::Script(QStringLiteral("vsftpd.sh")), {serverRoot.path()}),
             qPrintable(vsftpd.Error()));
}

// Each test starts in an empty local working directory of its own.
void TestWindow::init() {
    work = localRoot.filePath(QString::fromLatin1(QTest::currentTestFunction()) + u'-' +
                              QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(work));
    QVERIFY(QDir::setCurrent(work));
    fake = FakeDialogs();
}

std::unique_ptr<TfrmFTP> TestWindow::Window(int port) {
    auto w = std::make_unique<TfrmFTP>(fake.Make());
    w->EditHostName->setText(QStringLiteral("127.0.0.1"));
    w->EditUser->setText(QStringLiteral("anonymous"));
    w->ipwFTP1->RemotePort = port;
    w->show();
    return w;
}

bool TestWindow::StartScript(TestPeer& peer, const QStringList& args, const QByteArray& listing) {
    const QString file = localRoot.filePath(
        QStringLiteral("listing-%1.txt").arg(QString::fromLatin1(QTest::currentTestFunction())));
    WriteFile(file, listing);
    return peer.Start(QStringLiteral("python3"),
                      QStringList{TestPeer::Script(QStringLiteral("ftpscript.py")),
                                  QStringLiteral("--listing"), file} +
                          args);
}

void TestWindow::notesKeepTheNewest255() {
    TfrmFTP w(fake.Make());
    for (int i = 1; i <= 256; ++i)
        w.UpdateNotes(QStringLiteral("note %1").arg(i));
    QCOMPARE(w.ListBoxPiTrail->count(), 255);
    QCOMPARE(w.ListBoxPiTrail->item(0)->text(), QStringLiteral("note 2"));
    QCOMPARE(w.ListBoxPiTrail->item(254)->text(), QStringLiteral("note 256"));
}

void TestWindow::failedLogon() {
    auto w = Window(vsftpd.Port());
    w->EditUser->setText(QStringLiteral("bob"));
    w->btnLogin->click();
    QCOMPARE(w->btnLogin->text(), QStringLiteral("Connect"));
    QVERIFY(!w->IsConnected());
    for (QWidget* c : std::initializer_list<QWidget*>{w->hChgDir, w->hRefresh, w->btnDownload,
                                                      w->CancelBtn, w->CurrentDirEdit})
        QVERIFY(!c->isEnabled());
    const QStringList errors = Notes(*w).filter(QRegularExpression(QStringLiteral("^\\d+: .+")));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith(QStringLiteral("530: ")), qPrintable(errors[0]));
}

void TestWindow::remoteSession() {
    auto w = Window(vsftpd.Port());
    w->btnLogin->click();
    QCOMPARE(w->btnLogin->text(), QStringLiteral("Disconnect"));
    QCOMPARE(w->CurrentDirEdit->text(), QStringLiteral("/"));
    QVERIFY(w->hChgDir->isEnabled());
    QVERIFY(RemoteRows(*w).contains(QStringLiteral("<DIR>  pub")));

    QVERIFY(SelectRemote(*w, QStringLiteral("<DIR>  pub")));
    w->ListBoxRemFilesDblClick();
    QVERIFY2(w->CurrentDirEdit->text().endsWith(QStringLiteral("/pub")),
             qPrintable(w->CurrentDirEdit->text()));
    QVERIFY(RemoteRows(*w).contains(QStringLiteral("small.txt")));
    QCOMPARE(w->ListBoxRemFiles->findItems(QStringLiteral("small.txt"), Qt::MatchExactly)
                 .value(0)
                 ->text(1),
             QStringLiteral("11"));

    w->ListBoxRemFiles->clearSelection();
    w->btnDownload->click();
    QCOMPARE(Notes(*w).last(), QStringLiteral("No file selected to download."));
    QVERIFY(SelectRemote(*w, QStringLiteral("<DIR>  sub")));
    const int before = w->ListBoxPiTrail->count();
    w->btnDownload->click();
    QCOMPARE(Notes(*w).last(), QStringLiteral("Can not download directories."));
    QCOMPARE(w->ListBoxPiTrail->count(), before + 1); // nothing was sent
    QVERIFY(!QFileInfo::exists(QStringLiteral("sub")));

    QVERIFY(SelectRemote(*w, QStringLiteral("small.txt")));
    w->ListBoxRemFilesDblClick();
    QCOMPARE(ReadFile(QStringLiteral("small.txt")), QByteArray("hello world"));
    QVERIFY(LocalRows(*w).contains(QStringLiteral("small.txt")));

    // Upload, then the refusals of the local side.
    WriteFile(QStringLiteral("up.txt"), "uploaded");
    w->UpdateLocal();
    QVERIFY(SelectLocal(*w, QStringLiteral("up.txt")));
    w->btnUpload->click();
    QCOMPARE(ReadFile(serverRoot.filePath(QStringLiteral("pub/up.txt"))), QByteArray("uploaded"));
    QVERIFY(RemoteRows(*w).contains(QStringLiteral("up.txt")));
    QVERIFY(SelectLocal(*w, QStringLiteral("<DIR>  ..")));
    w->UploadClick();
    QCOMPARE(Notes(*w).last(), QStringLiteral("Can not upload directories."));
    w->ListBoxLocFiles->clearSelection();
    w->UploadClick();
    QCOMPARE(Notes(*w).last(), QStringLiteral("No file selected to upload."));

    // Make a directory, then delete its row: removed by its bare name.
    fake.answers = {QStringLiteral("made")};
    w->hMkDir->click();
    QVERIFY(QFileInfo(serverRoot.filePath(QStringLiteral("pub/made"))).isDir());
    QVERIFY(SelectRemote(*w, QStringLiteral("<DIR>  made")));
    w->hDelete->click();
    QVERIFY(!QFileInfo::exists(serverRoot.filePath(QStringLiteral("pub/made"))));
    QVERIFY(Notes(*w).contains(QStringLiteral("RMD made")));

    fake.answers = {QStringLiteral("up2.txt")};
    QVERIFY(SelectRemote(*w, QStringLiteral("up.txt")));
    w->hRename->click();
    QVERIFY(QFile::exists(serverRoot.filePath(QStringLiteral("pub/up2.txt"))));
    QVERIFY(RemoteRows(*w).contains(QStringLiteral("up2.txt")));

    w->ListBoxRemFiles->clearSelection();
    w->hDelete->click();
    QCOMPARE(fake.messages, QStringList{QStringLiteral("No file selected for deletion")});
    w->RemoveRemoteDirClick();
    QCOMPARE(fake.messages.last(), QStringLiteral("No directory selected to remove"));

    w->CurrentDirEdit->setText(QStringLiteral("/no-such"));
    w->hChgDir->click();
    QCOMPARE(fake.errors.size(), 1);
    QVERIFY2(fake.errors[0].startsWith(QStringLiteral("550: ")), qPrintable(fake.errors[0]));

    w->BackBtn->click();
    QCOMPARE(w->CurrentDirEdit->text(), QStringLiteral("/"));
    QVERIFY(RemoteRows(*w).contains(QStringLiteral("<DIR>  pub")));

    w->btnLogin->click();
    QCOMPARE(w->btnLogin->text(), QStringLiteral("Connect"));
    QCOMPARE(w->ListBoxRemFiles->topLevelItemCount(), 0);
    QCOMPARE(w->CurrentDirEdit->text(), QString());
    QVERIFY(Notes(*w).contains(QStringLiteral("QUIT")));
    const int notes = w->ListBoxPiTrail->count();
    w->BackBtnClick(); // no connection: nothing happens
    QCOMPARE(w->ListBoxPiTrail->count(), notes);
    QVERIFY(fake.errors.size() == 1);
}

void TestWindow::gauge_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("last");
    QTest::newRow("6 MB") << "big.bin" << 100;
    QTest::newRow("empty") << "empty.bin" << 0;
}

// The gauge climbs from 0 to 100 without stepping back, and stays 0 for an empty file.
void TestWindow::gauge() {
    QFETCH(QString, file);
    QFETCH(int, last);
    auto w = Window(vsftpd.Port());
    w->btnLogin->click();
    w->CurrentDirEdit->setText(QStringLiteral("/pub"));
    w->hChgDir->click();
    QVERIFY(SelectRemote(*w, file));
    // The window's own handlers run first; these read the gauge they left.
    QList<int> values;
    connect(w->ipwFTP1, &TipwFTP::OnStartTransfer, this,
            [&] { values << w->ProgressBar->value(); });
    connect(w->ipwFTP1, &TipwFTP::OnTransfer, this, [&] { values << w->ProgressBar->value(); });
    w->btnDownload->click();
    QVERIFY(QFile::exists(file));
    QCOMPARE(w->ProgressBar->value(), 0);
    QVERIFY(values.size() >= 2);
    QCOMPARE(values.first(), 0);
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    QCOMPARE(values.last(), last);
}

void TestWindow::listingFailureDisconnects() {
    TestPeer script;
    QVERIFY(StartScript(script, {QStringLiteral("--fail-list")}, QByteArray()));
    auto w = Window(script.Port());
    w->btnLogin->click();
    QVERIFY(Notes(*w).contains(QStringLiteral("550 Listing refused.")));
    QVERIFY(!w->IsConnected());
    QCOMPARE(w->btnLogin->text(), QStringLiteral("Connect"));
    QVERIFY(!w->hRefresh->isEnabled());
    QVERIFY(Notes(*w).filter(QRegularExpression(QStringLiteral("^\\d+: "))).isEmpty());
}

void TestWindow::modeRadioAndAbort() {
    auto w = Window(vsftpd.Port());
    QVERIFY(w->rbAuto->isChecked());
    QCOMPARE(w->ipwFTP1->TransferMode, TipwFTP::tmDefault);
    w->rbASCII->click();
    QCOMPARE(w->ipwFTP1->TransferMode, TipwFTP::tmASCII);
    w->rbBinary->click();
    QCOMPARE(w->ipwFTP1->TransferMode, TipwFTP::tmBinary);
    w->btnLogin->click();
    QVERIFY(w->IsConnected());
    w->btnAbort->click();
    QVERIFY(Notes(*w).contains(QStringLiteral("QUIT")));
    QVERIFY(!w->ipwFTP1->Connected());
    QVERIFY(!w->isVisible());
}

// Names a server chooses never land outside the local working directory.
void TestWindow::hostileListing() {
    TestPeer script;
    const QByteArray listing = "drwxr-xr-x 2 0 0 4096 Jan  1  2020 ..\r\n"
                               "-rw-r--r-- 1 0 0 1000 Jan  1  2020 ../../x\r\n"
                               "-rw-r--r-- 1 0 0 1000 Jan  1  2020 /tmp/quillmoor-hostile-x\r\n"
                               "-rw-r--r-- 1 0 0 1000 Jan  1  2020 a/b\r\n"
                               "-rw-r--r-- 1 0 0 1000 Jan  1  2020 bad\x01name\r\n"
                               "-rw-r--r-- 1 0 0 1000 Jan  1  2020 good.txt\r\n";
    QVERIFY(StartScript(script, {}, listing));
    auto w = Window(script.Port());
    w->ipwFTP1->Passive = true; // the scripted server offers PASV and PORT; either works
    w->btnLogin->click();
    QCOMPARE(RemoteRows(*w).size(), 6);
    const QStringList hostile = {QStringLiteral("../../x"),
                                 QStringLiteral("/tmp/quillmoor-hostile-x"), QStringLiteral("a/b"),
                                 QStringLiteral("bad\x01name")};
    for (const QString& name : hostile) {
        QVERIFY(SelectRemote(*w, name));
        w->btnDownload->click();
        QVERIFY2(Notes(*w).last().startsWith(QStringLiteral("Refused to download")),
                 qPrintable(Notes(*w).last()));
    }
    QVERIFY(Notes(*w).filter(QStringLiteral("RETR")).isEmpty());
    QVERIFY(SelectRemote(*w, QStringLiteral("good.txt")));
    w->btnDownload->click();
    QCOMPARE(QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("good.txt")});
    QVERIFY(!QFile::exists(localRoot.filePath(QStringLiteral("x"))));
    QVERIFY(!QFile::exists(QStringLiteral("/tmp/quillmoor-hostile-x")));

    // The ".." row: the old path, "/" and "..".
    QVERIFY(SelectRemote(*w, QStringLiteral("<DIR>  ..")));
    w->ListBoxRemFilesDblClick();
    QVERIFY(Notes(*w).contains(QStringLiteral("CWD //..")));
}

void TestWindow::stallTimesOutWindowResponsive() {
    TestPeer script;
    QVERIFY(StartScript(script, {QStringLiteral("--stall"), QStringLiteral("4000")},
                        "-rw-r--r-- 1 0 0 1000000 Jan  1  2020 stalled.bin\r\n"));
    auto w = Window(script.Port());
    w->ipwFTP1->Timeout = 2;
    w->btnLogin->click();
    QVERIFY(SelectRemote(*w, QStringLiteral("stalled.bin")));
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
    timer.start(20);
    w->btnDownload->click();
    timer.stop();
    QVERIFY(ticks > 0); // the event loop ran during the transfer
    QVERIFY(Notes(*w).filter(QRegularExpression(QStringLiteral("^28: "))).size() == 1);
    QVERIFY(!QFile::exists(QStringLiteral("stalled.bin")));
}

void TestWindow::cancelInterruptsTransfer() {
    TestPeer script;
    QVERIFY(StartScript(script, {QStringLiteral("--stall"), QStringLiteral("100")},
                        "-rw-r--r-- 1 0 0 1000000 Jan  1  2020 stalled.bin\r\n"));
    auto w = Window(script.Port());
    w->btnLogin->click();
    QVERIFY(SelectRemote(*w, QStringLiteral("stalled.bin")));
    connect(w->ipwFTP1, &TipwFTP::OnTransfer, this,
            [&] { QTimer::singleShot(0, w->CancelBtn, &QPushButton::click); });
    w->btnDownload->click();
    QVERIFY(Notes(*w).contains(QStringLiteral("1004: Interrupted.")));
    QVERIFY(!QFile::exists(QStringLiteral("stalled.bin")));
    QVERIFY(w->btnDownload->isEnabled());
}

void TestWindow::localPane() {
    WriteFile(QStringLiteral(".hidden"), "h");
    WriteFile(QStringLiteral("keep.txt"), "k");
    WriteFile(QStringLiteral("other.txt"), "o");
    QVERIFY(QDir().mkpath(QStringLiteral("full/inner")));
    TfrmFTP w(fake.Make());
    const QStringList rows = LocalRows(w);
    for (const QString& r : {QStringLiteral("<DIR>  ."), QStringLiteral("<DIR>  .."),
                             QStringLiteral(".hidden"), QStringLiteral("<DIR>  full")})
        QVERIFY2(rows.contains(r), qPrintable(r));
    QCOMPARE(w.LocalSizes().size(), rows.size());
    QCOMPARE(w.LocalSizes().value(rows.indexOf(QStringLiteral("keep.txt"))), QStringLiteral("1"));

    for (const QString& r : {QStringLiteral("<DIR>  ."), QStringLiteral("<DIR>  ..")}) {
        QVERIFY(SelectLocal(w, r));
        w.lRename->click();
        w.lDelete->click();
    }
    QCOMPARE(fake.asked, QStringList());

    QVERIFY(SelectLocal(w, QStringLiteral("keep.txt")));
    fake.answers = {QStringLiteral("missing.txt")}; // the confirmed name is what is deleted
    w.lDelete->click();
    QCOMPARE(Notes(w).last(), QStringLiteral("Could not delete directory"));
    QVERIFY(QFile::exists(QStringLiteral("keep.txt")));
    QVERIFY(SelectLocal(w, QStringLiteral("<DIR>  full")));
    fake.answers = {QString()}; // OK on the name shown
    w.lDelete->click();
    QCOMPARE(Notes(w).last(), QStringLiteral("Could not delete directory"));
    QVERIFY(QFileInfo::exists(QStringLiteral("full/inner")));
    QVERIFY(SelectLocal(w, QStringLiteral("other.txt")));
    fake.answers = {QString()};
    w.lDelete->click();
    QVERIFY(!QFile::exists(QStringLiteral("other.txt")));
    QVERIFY(!LocalRows(w).contains(QStringLiteral("other.txt")));

    QVERIFY(SelectLocal(w, QStringLiteral("keep.txt")));
    fake.answers = {QStringLiteral(".hidden")};
    w.lRename->click();
    QCOMPARE(Notes(w).last(), QStringLiteral("Could not change the value."));
    QVERIFY(SelectLocal(w, QStringLiteral("keep.txt")));
    fake.answers = {QStringLiteral("kept.txt")};
    w.lRename->click();
    QVERIFY(LocalRows(w).contains(QStringLiteral("kept.txt")));

    fake.answers = {QStringLiteral("newdir")};
    w.lMkDir->click();
    QVERIFY(LocalRows(w).contains(QStringLiteral("<DIR>  newdir")));
    QVERIFY(SelectLocal(w, QStringLiteral("<DIR>  newdir")));
    w.ListBoxLocFilesDblClick();
    QCOMPARE(QDir::currentPath(), QDir(work).filePath(QStringLiteral("newdir")));
    QCOMPARE(w.ComboBoxLocHistory->itemText(0), QDir::currentPath());
    QCOMPARE(w.ComboBoxLocHistory->currentIndex(), 0);

    w.LocalDirEdit->setText(QStringLiteral("/no/such/folder"));
    w.lChgDir->click();
    QCOMPARE(fake.errors.size(), 1);
    QCOMPARE(QDir::currentPath(), QDir(work).filePath(QStringLiteral("newdir")));

    // Remove Dir takes the tree's directory, with everything in it.
    w.DirectoryListBox1Open(work);
    fake.answers = {QDir(work).filePath(QStringLiteral("full"))};
    w.RemoveLocalDirClick();
    QVERIFY(!QFileInfo::exists(QDir(work).filePath(QStringLiteral("full"))));
    QVERIFY(!LocalRows(w).contains(QStringLiteral("<DIR>  full")));
}

QTEST_MAIN(TestWindow)
#include "test_window.moc"
