#include "ftp/ftp.h"

#include "components/ftp/TipwFTP.h"
#include "ftp/FtpRules.h"
#include "platform/Errors.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
// The default log-on: a public anonymous server.
const QString DefaultHost = QStringLiteral("ftp.gnu.org");
const QString DefaultPassword = QStringLiteral("quillmoor@example.com");
} // namespace

TFtpDialogs TFtpDialogs::Standard(QWidget* parent) {
    TFtpDialogs d;
    d.InputBox = [parent](const QString& title, const QString& prompt, const QString& value) {
        return QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, value);
    };
    d.InputQuery = [parent](const QString& title, const QString& prompt, QString& value) {
        bool ok = false;
        const QString text =
            QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, value, &ok);
        if (ok)
            value = text;
        return ok;
    };
    d.Message = [parent](const QString& text) {
        QMessageBox::information(parent, QApplication::applicationName(), text);
    };
    d.ErrorReport = [parent](const QString& text) {
        QMessageBox::critical(parent, QApplication::applicationName(), text);
    };
    d.Open = [](const QString& path) { return ShellOpen(path); };
    return d;
}

// The busy cursor while an operation runs.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

TfrmFTP::TfrmFTP(TFtpDialogs dialogs, QWidget* parent)
    : QWidget(parent), ipwFTP1(new TipwFTP(this)) {
    const TFtpDialogs standard = TFtpDialogs::Standard(this);
    Dialogs = std::move(dialogs);
    if (!Dialogs.InputBox)
        Dialogs.InputBox = standard.InputBox;
    if (!Dialogs.InputQuery)
        Dialogs.InputQuery = standard.InputQuery;
    if (!Dialogs.Message)
        Dialogs.Message = standard.Message;
    if (!Dialogs.ErrorReport)
        Dialogs.ErrorReport = standard.ErrorReport;
    if (!Dialogs.Open)
        Dialogs.Open = standard.Open;
    setWindowTitle(QStringLiteral("Ftp Client"));
    BuildWindow();
    BuildMenus();

    connect(ipwFTP1, &TipwFTP::OnPITrail, this, [this](int, const QString& m) { UpdateNotes(m); });
    connect(ipwFTP1, &TipwFTP::OnDirList, this,
            [this](const QString&, const QString& name, bool isDir, qint64 size, const QString&) {
                auto* item = new QTreeWidgetItem(ListBoxRemFiles);
                item->setText(0, isDir ? DirMarker + name : name);
                item->setText(1, isDir ? QString() : QString::number(size));
            });
    connect(ipwFTP1, &TipwFTP::OnStartTransfer, this, [this](int) { ProgressBar->setValue(0); });
    connect(ipwFTP1, &TipwFTP::OnTransfer, this, [this](int, qint64 bytes, const QByteArray&) {
        if (ExpectedSize != 0)
            ProgressBar->setValue(TransferPercent(bytes, ExpectedSize));
    });
    connect(ipwFTP1, &TipwFTP::OnEndTransfer, this, [this](int) {
        UpdateLocal();
        ProgressBar->setValue(0);
    });

    // Creation: disconnected, the working directory first in the drive selector.
    State = 1;
    ComboBoxLocHistory->insertItem(0, QDir::currentPath());
    ComboBoxLocHistory->setCurrentIndex(0);
    SetTreeDir(QDir::currentPath());
    UpdateLocal();
    UpdateButtons();
}

TfrmFTP::~TfrmFTP() = default;

static QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void TfrmFTP::BuildWindow() {
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(2);

    auto* toolbar = new QHBoxLayout;
    btnDownload = Button(QStringLiteral("btnDownload"), QStringLiteral("Download"), this);
    btnUpload = Button(QStringLiteral("btnUpload"), QStringLiteral("Upload"), this);
    BackBtn = Button(QStringLiteral("BackBtn"), QStringLiteral("Back"), this);
    btnAbort = Button(QStringLiteral("btnAbort"), QStringLiteral("Abort"), this);
    btnLogin = Button(QStringLiteral("btnLogin"), QStringLiteral("Connect"), this);
    CancelBtn = Button(QStringLiteral("CancelBtn"), QStringLiteral("Cancel"), this);
    ConnectionType = new QComboBox(this);
    ConnectionType->addItems(
        {QStringLiteral("Normal"), QStringLiteral("SSL"), QStringLiteral("TLS")});
    ConnectionType->setPlaceholderText(QStringLiteral("Connection Type"));
    ConnectionType->setCurrentIndex(-1);
    ConnectionType->setEnabled(false);
    auto separator = [this] {
        auto* line = new QFrame(this);
        line->setFrameShape(QFrame::VLine);
        return line;
    };
    toolbar->addWidget(btnDownload);
    toolbar->addWidget(btnUpload);
    toolbar->addWidget(separator());
    toolbar->addWidget(BackBtn);
    toolbar->addWidget(btnAbort);
    toolbar->addWidget(separator());
    toolbar->addWidget(btnLogin);
    toolbar->addWidget(CancelBtn);
    toolbar->addWidget(separator());
    toolbar->addWidget(ConnectionType);
    toolbar->addStretch();
    root->addLayout(toolbar);

    auto* login = new QHBoxLayout;
    EditHostName = new QLineEdit(DefaultHost, this);
    EditUser = new QLineEdit(QStringLiteral("Anonymous"), this);
    EditPassword = new QLineEdit(DefaultPassword, this);
    EditPassword->setEchoMode(QLineEdit::Password);
    login->addWidget(new QLabel(QStringLiteral("Host Name/Address:"), this));
    login->addWidget(EditHostName, 2);
    login->addWidget(new QLabel(QStringLiteral("User ID:"), this));
    login->addWidget(EditUser, 1);
    login->addWidget(new QLabel(QStringLiteral("Password:"), this));
    login->addWidget(EditPassword, 1);
    root->addLayout(login);

    auto* strip = new QSplitter(Qt::Horizontal, this);
    DirModel = new QFileSystemModel(this);
    DirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    DirModel->setRootPath(QDir::rootPath());
    DirectoryListBox1 = new QTreeView(strip);
    DirectoryListBox1->setModel(DirModel);
    for (int c = 1; c < DirModel->columnCount(); ++c)
        DirectoryListBox1->hideColumn(c);
    DirectoryListBox1->setHeaderHidden(true);
    DirectoryListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListBoxPiTrail = new QListWidget(strip);
    ListBoxPiTrail->setStyleSheet(QStringLiteral("QListWidget { color: green; }"));
    strip->addWidget(DirectoryListBox1);
    strip->addWidget(ListBoxPiTrail);
    strip->setStretchFactor(1, 2);
    root->addWidget(strip, 1);

    auto* panes = new QHBoxLayout;
    panes->addWidget(BuildLocalPane(), 1);
    auto* middle = new QVBoxLayout;
    DownloadBtn = Button(QStringLiteral("DownloadBtn"), QString(), this);
    DownloadBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    DownloadBtn->setToolTip(QStringLiteral("Download"));
    UploadBtn = Button(QStringLiteral("UploadBtn"), QString(), this);
    UploadBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    UploadBtn->setToolTip(QStringLiteral("Upload"));
    middle->addStretch();
    middle->addWidget(DownloadBtn);
    middle->addWidget(UploadBtn);
    middle->addStretch();
    panes->addLayout(middle); // as tall as the panes beside it
    panes->addWidget(BuildRemotePane(), 1);
    root->addLayout(panes, 3);

    auto* modes = new QGroupBox(QStringLiteral(" Transfer Mode "), this);
    auto* modeRow = new QHBoxLayout(modes);
    rbASCII = new QRadioButton(QStringLiteral("ASCII"), modes);
    rbBinary = new QRadioButton(QStringLiteral("Binary"), modes);
    rbAuto = new QRadioButton(QStringLiteral("Auto"), modes);
    modeRow->addWidget(rbASCII);
    modeRow->addWidget(rbBinary);
    modeRow->addWidget(rbAuto);
    root->addWidget(modes);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    ProgressBar = new QProgressBar(status);
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    ProgressBar->setFixedWidth(160); // covers the first panel
    StatusPanel2 = new QLabel(status);
    StatusPanel2->setFixedWidth(570);
    StatusPanel3 = new QLabel(status);
    StatusPanel3->setFixedWidth(160);
    status->addWidget(ProgressBar);
    status->addWidget(StatusPanel2);
    status->addWidget(StatusPanel3);
    root->addWidget(status);

    connect(btnLogin, &QPushButton::clicked, this, &TfrmFTP::btnLoginClick);
    connect(EditPassword, &QLineEdit::returnPressed, this, &TfrmFTP::btnLoginClick);
    connect(btnDownload, &QPushButton::clicked, this, &TfrmFTP::DownloadClick);
    connect(DownloadBtn, &QPushButton::clicked, this, &TfrmFTP::DownloadClick);
    connect(btnUpload, &QPushButton::clicked, this, &TfrmFTP::UploadClick);
    connect(UploadBtn, &QPushButton::clicked, this, &TfrmFTP::UploadClick);
    connect(BackBtn, &QPushButton::clicked, this, &TfrmFTP::BackBtnClick);
    connect(btnAbort, &QPushButton::clicked, this, &TfrmFTP::btnAbortClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TfrmFTP::CancelBtnClick);
    for (QRadioButton* rb : {rbASCII, rbBinary, rbAuto})
        connect(rb, &QRadioButton::clicked, this, &TfrmFTP::RadioGroupTransferModeClick);
}

void TfrmFTP::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ipwFTP1->TransferMode = TipwFTP::tmDefault;
    rbAuto->setChecked(true);
}

void TfrmFTP::Reported(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        Dialogs.ErrorReport(e.Message);
    }
}

void TfrmFTP::UpdateNotes(const QString& line) {
    ListBoxPiTrail->addItem(line);
    if (ListBoxPiTrail->count() > MaxNotes)
        delete ListBoxPiTrail->takeItem(0);
    const int count = ListBoxPiTrail->count();
    if (count > 3)
        ListBoxPiTrail->scrollToItem(ListBoxPiTrail->item(count - 3),
                                     QAbstractItemView::PositionAtTop);
}

void TfrmFTP::UpdateButtons() {
    const bool on = State == 2;
    for (QWidget* w : std::initializer_list<QWidget*>{
             hChgDir, hMkDir, hRename, hDelete, hRefresh, DownloadBtn, UploadBtn, btnDownload,
             btnUpload, BackBtn, btnAbort, CancelBtn, CurrentDirEdit})
        w->setEnabled(on);
    if (on) {
        btnLogin->setText(QStringLiteral("Disconnect"));
    } else {
        CurrentDirEdit->clear();
        btnLogin->setText(QStringLiteral("Connect"));
    }
}

void TfrmFTP::btnLoginClick() {
    BusyCursor busy;
    if (State == 1) {
        try {
            ipwFTP1->SetRemotePath(QString());
            ipwFTP1->RemoteFile.clear();
            ipwFTP1->RemoteHost = EditHostName->text();
            ipwFTP1->User = EditUser->text();
            ipwFTP1->Password = EditPassword->text();
            CurrentDirEdit->clear();
            ipwFTP1->Logon();
            State = 2;
            CurrentDirEdit->setText(ipwFTP1->RemotePath());
            UpdateButtons();
            UpdateRemote();
        } catch (const EipwFTP& e) {
            UpdateNotes(e.Message);
        }
    } else {
        try {
            ipwFTP1->Logoff();
            ListBoxRemFiles->clear();
        } catch (const EipwFTP& e) {
            UpdateNotes(e.Message);
        }
        State = 1;
    }
    UpdateButtons();
}

void TfrmFTP::btnAbortClick() {
    BusyCursor busy;
    if (ipwFTP1->Connected()) {
        try {
            ipwFTP1->Logoff();
        } catch (const EipwFTP& e) {
            UpdateNotes(e.Message);
        }
    }
    close();
}

void TfrmFTP::CancelBtnClick() {
    BusyCursor busy;
    try {
        ipwFTP1->Interrupt();
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
    }
}

void TfrmFTP::RadioGroupTransferModeClick() {
    BusyCursor busy;
    try {
        if (rbASCII->isChecked())
            ipwFTP1->TransferMode = TipwFTP::tmASCII;
        else if (rbBinary->isChecked())
            ipwFTP1->TransferMode = TipwFTP::tmBinary;
        else
            ipwFTP1->TransferMode = TipwFTP::tmDefault;
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
    }
}

void TfrmFTP::BuildMenus() {
    LocalMenu = new QMenu(this);
    LocalMenu->addAction(QStringLiteral("Upload"), this, &TfrmFTP::UploadClick);
    LocalMenu->addSeparator();
    LocalMenu->addAction(QStringLiteral("Delete file(s)"), this, &TfrmFTP::lDeleteClick);
    LocalMenu->addAction(QStringLiteral("Rename file"), this, &TfrmFTP::lRenameClick);
    LocalMenu->addAction(QStringLiteral("View File"), this, &TfrmFTP::ViewFileClick);
    LocalMenu->addSeparator();
    LocalMenu->addAction(QStringLiteral("Refresh"), this, [this] { UpdateLocal(); });
    LocalMenu->addAction(QStringLiteral("Remove Dir"), this, &TfrmFTP::RemoveLocalDirClick);
    LocalMenu->addAction(QStringLiteral("Make Dir"), this, &TfrmFTP::lMkDirClick);

    RemoteMenu = new QMenu(this);
    RemoteMenu->addAction(QStringLiteral("Download"), this, &TfrmFTP::DownloadClick);
    RemoteMenu->addAction(QStringLiteral("Make Dir"), this, &TfrmFTP::hMkDirClick);
    RemoteMenu->addAction(QStringLiteral("Remove Dir"), this, &TfrmFTP::RemoveRemoteDirClick);
    RemoteMenu->addSeparator();
    RemoteMenu->addAction(QStringLiteral("Delete file(s)"), this, &TfrmFTP::hDeleteClick);
    RemoteMenu->addAction(QStringLiteral("Rename file"), this, &TfrmFTP::hRenameClick);
    RemoteMenu->addSeparator();
    RemoteMenu->addAction(QStringLiteral("Refresh"), this, &TfrmFTP::UpdateRemote);
    RemoteMenu->addAction(QStringLiteral("Connect"), this, &TfrmFTP::btnLoginClick);

    ListBoxLocFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBoxLocFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        LocalMenu->popup(ListBoxLocFiles->viewport()->mapToGlobal(p));
    });
    connect(DirectoryListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        LocalMenu->popup(DirectoryListBox1->viewport()->mapToGlobal(p));
    });
    ListBoxRemFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBoxRemFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        RemoteMenu->popup(ListBoxRemFiles->viewport()->mapToGlobal(p));
    });
}
