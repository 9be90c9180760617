#include "grabber/GrabSite.h"

#include "components/downloader/MultiDownLoader.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QPushButton* largeButton(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(75, 65);
    return b;
}
} // namespace

TfrmGrabSite::TfrmGrabSite(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmGrabSite"));
    setWindowTitle(QStringLiteral("Grab Website "));
    clMultiDownLoader = new TclMultiDownLoader(this);
    clMultiDownLoader->setObjectName(QStringLiteral("clMultiDownLoader"));

    PageControl1 = new QTabWidget(this);
    auto* sheet = new QWidget;
    PageControl1->addTab(sheet, QStringLiteral("Grab Web Site"));

    // Top panel: "Grab", the two address edits, "Stop".
    auto* top = new QWidget(sheet);
    top->setFixedHeight(81);
    btnGrab = largeButton(QStringLiteral("Grab"), "btnGrab", top);
    btnStop = largeButton(QStringLiteral("Stop"), "btnStop", top);
    btnStop->setEnabled(false);
    edtRootUrl = new QLineEdit(QStringLiteral("http://www.example.com/"), top);
    edtRootUrl->setObjectName(QStringLiteral("edtRootUrl"));
    edtRootUrl->installEventFilter(this);
    // The user's temporary folder stands in for "c:\temp" of the Windows program.
    edtTargetDir = new QLineEdit(
        QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/downloads")), top);
    edtTargetDir->setObjectName(QStringLiteral("edtTargetDir"));
    auto* edits = new QVBoxLayout;
    edits->addWidget(edtRootUrl);
    edits->addWidget(edtTargetDir);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->addWidget(btnGrab);
    topLayout->addLayout(edits, 1);
    topLayout->addWidget(btnStop);

    memLog = new QPlainTextEdit(sheet);
    memLog->setObjectName(QStringLiteral("memLog"));
    memLog->setReadOnly(true);
    memLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // Bottom panel: the options and the depth.
    auto* bottom = new QWidget(sheet);
    auto* options = new QGroupBox(QStringLiteral("Grab Options"), bottom);
    cbGrabAll = new QCheckBox(QStringLiteral("Grab All"), options);
    cbGrabAll->setObjectName(QStringLiteral("cbGrabAll"));
    cbGrabImages = new QCheckBox(QStringLiteral("Grab Images"), options);
    cbGrabImages->setObjectName(QStringLiteral("cbGrabImages"));
    cbGrabImages->setChecked(true);
    cbGrabData = new QCheckBox(QStringLiteral("Grab Data"), options);
    cbGrabData->setObjectName(QStringLiteral("cbGrabData"));
    auto* optionsLayout = new QHBoxLayout(options);
    optionsLayout->addWidget(cbGrabAll);
    optionsLayout->addWidget(cbGrabImages);
    optionsLayout->addWidget(cbGrabData);
    auto* depthLabel = new QLabel(QStringLiteral("Max Nest Level"), bottom);
    updMaxNestLevel = new QSpinBox(bottom);
    updMaxNestLevel->setObjectName(QStringLiteral("edtMaxNestLevel"));
    updMaxNestLevel->setRange(0, 1000);
    updMaxNestLevel->setValue(3);
    auto* depth = new QVBoxLayout;
    depth->addWidget(depthLabel);
    depth->addWidget(updMaxNestLevel);
    auto* bottomLayout = new QHBoxLayout(bottom);
    bottomLayout->addWidget(options);
    bottomLayout->addLayout(depth);
    bottomLayout->addStretch();

    auto* sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->addWidget(top);
    sheetLayout->addWidget(memLog, 1);
    sheetLayout->addWidget(bottom);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel = new QLabel(TGrabState::StatusText(false), StatusBar1);
    StatusPanel->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(StatusBar1);

    connect(btnGrab, &QPushButton::clicked, this, &TfrmGrabSite::btnGrabClick);
    connect(btnStop, &QPushButton::clicked, this, &TfrmGrabSite::btnStopClick);
    connect(clMultiDownLoader, &TclMultiDownLoader::OnIsBusyChanged, this,
            &TfrmGrabSite::clMultiDownLoaderIsBusyChanged);
    connect(clMultiDownLoader, &TclMultiDownLoader::OnProcessCompleted, this,
            &TfrmGrabSite::clMultiDownLoaderProcessCompleted);
}

void TfrmGrabSite::btnGrabClick() {
    state.GrabClicked();
    showState();
    if (clMultiDownLoader->IsBusy())
        return;
    memLog->clear();
    clMultiDownLoader->GrabOptions = TGrabState::OptionsFrom(
        cbGrabAll->isChecked(), cbGrabImages->isChecked(), cbGrabData->isChecked());
    clMultiDownLoader->LocalFolder = edtTargetDir->text();
    clMultiDownLoader->Start(edtRootUrl->text(), updMaxNestLevel->value());
}

void TfrmGrabSite::btnStopClick() {
    clMultiDownLoader->Stop();
    state.StopClicked();
    showState();
}

void TfrmGrabSite::clMultiDownLoaderIsBusyChanged() {
    const bool busy = clMultiDownLoader->IsBusy();
    state.BusyChanged(busy);
    StatusPanel->setText(TGrabState::StatusText(busy));
    showState();
}

void TfrmGrabSite::clMultiDownLoaderProcessCompleted(const TclDownLoadItem& item) {
    memLog->appendPlainText(item.URL);
}

void TfrmGrabSite::showState() {
    btnGrab->setEnabled(state.GrabEnabled());
    btnStop->setEnabled(state.StopEnabled());
}

void TfrmGrabSite::closeEvent(QCloseEvent* event) {
    if (clMultiDownLoader->IsBusy()) {
        event->ignore();
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("Can not close the application. Please press the "
                                                "Stop button to cancel the grabbing process."));
        return;
    }
    event->accept();
}

bool TfrmGrabSite::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtRootUrl && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnGrabClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
