// The remote pane of the FTP window: listing, navigation, changes and transfers.
#include "components/ftp/TipwFTP.h"
#include "ftp/FtpRules.h"
#include "ftp/ftp.h"
#include "platform/Errors.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

QTreeWidgetItem* Selected(QTreeWidget* list) {
    const auto items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}
} // namespace

QWidget* TfrmFTP::BuildRemotePane() {
    auto* pane = new QGroupBox(QStringLiteral("Remote Host"), this);
    auto* v = new QVBoxLayout(pane);
    auto* top = new QHBoxLayout;
    CurrentDirEdit = new QLineEdit(QStringLiteral("/"), pane);
    Upbtn = new QPushButton(pane);
    Upbtn->setObjectName(QStringLiteral("Upbtn"));
    Upbtn->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    Upbtn->setFixedWidth(25);
    hChgDir = new QPushButton(QStringLiteral("ChgDir"), pane);
    hChgDir->setFixedWidth(70);
    hMkDir = new QPushButton(QStringLiteral("MkDir"), pane);
    top->addWidget(CurrentDirEdit, 1);
    top->addWidget(Upbtn);
    top->addWidget(hChgDir);
    top->addWidget(hMkDir);
    v->addLayout(top);

    auto* body = new QHBoxLayout;
    ListBoxRemFiles = new QTreeWidget(pane);
    ListBoxRemFiles->setColumnCount(2);
    ListBoxRemFiles->setHeaderHidden(true);
    ListBoxRemFiles->setRootIsDecorated(false);
    ListBoxRemFiles->setSortingEnabled(false);
    ListBoxRemFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxRemFiles->setColumnWidth(0, 300);
    ListBoxRemFiles->setColumnWidth(1, 100);
    body->addWidget(ListBoxRemFiles, 1);
    auto* buttons = new QVBoxLayout;
    hRename = new QPushButton(QStringLiteral("Rename"), pane);
    hDelete = new QPushButton(QStringLiteral("Delete"), pane);
    hRefresh = new QPushButton(QStringLiteral("Refresh"), pane);
    buttons->addWidget(hRename);
    buttons->addWidget(hDelete);
    buttons->addWidget(hRefresh);
    buttons->addStretch();
    body->addLayout(buttons);
    v->addLayout(body, 1);
    for (QPushButton* b : {hChgDir, hMkDir, hRename, hDelete, hRefresh})
        b->setAutoDefault(false);

    connect(Upbtn, &QPushButton::clicked, this, &TfrmFTP::BackBtnClick);
    connect(hChgDir, &QPushButton::clicked, this, &TfrmFTP::hChgDirClick);
    connect(CurrentDirEdit, &QLineEdit::returnPressed, this, &TfrmFTP::hChgDirClick);
    connect(hMkDir, &QPushButton::clicked, this, &TfrmFTP::hMkDirClick);
    connect(hRename, &QPushButton::clicked, this, &TfrmFTP::hRenameClick);
    connect(hDelete, &QPushButton::clicked, this, &TfrmFTP::hDeleteClick);
    connect(hRefresh, &QPushButton::clicked, this, &TfrmFTP::UpdateRemote);
    connect(ListBoxRemFiles, &QTreeWidget::itemDoubleClicked, this,
            [this] { ListBoxRemFilesDblClick(); });
    return pane;
}

void TfrmFTP::UpdateRemote() {
    BusyCursor busy;
    ListBoxRemFiles->clear();
    ipwFTP1->RemoteFile.clear();
    try {
        ipwFTP1->ListDirectoryLong();
    } catch (const EipwFTP&) {
        // The trail already carries the server's reply.
        try {
            ipwFTP1->Interrupt();
        } catch (const EipwFTP&) {
        }
        State = 1;
        UpdateButtons();
    }
}

void TfrmFTP::ListBoxRemFilesDblClick() {
    QTreeWidgetItem* item = Selected(ListBoxRemFiles);
    if (!item)
        return;
    const QString row = item->text(0);
    if (!IsDirRow(row)) {
        DownloadClick();
        return;
    }
    Reported([&] {
        ListBoxRemFiles->clear();
        ipwFTP1->SetRemotePath(ipwFTP1->RemotePath() + u'/' + RowName(row));
        CurrentDirEdit->setText(ipwFTP1->RemotePath());
        UpdateRemote();
    });
}

void TfrmFTP::BackBtnClick() {
    if (!ipwFTP1->Connected())
        return;
    Reported([&] {
        ListBoxRemFiles->clear();
        ipwFTP1->SetRemotePath(QStringLiteral(".."));
        hRefresh->click();
        CurrentDirEdit->setText(ipwFTP1->RemotePath());
    });
}

void TfrmFTP::hChgDirClick() {
    Reported([&] {
        ipwFTP1->SetRemotePath(CurrentDirEdit->text());
        UpdateRemote();
    });
}

void TfrmFTP::hMkDirClick() {
    const QString name =
        Dialogs.InputBox(QStringLiteral("Make new directory"), QStringLiteral("Name"), QString());
    if (name.isEmpty())
        return;
    try {
        ipwFTP1->MakeDirectory(name);
        UpdateRemote();
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
    }
    CurrentDirEdit->setText(ipwFTP1->RemotePath());
}

void TfrmFTP::hRenameClick() {
    QTreeWidgetItem* item = Selected(ListBoxRemFiles);
    if (!item)
        return;
    const QString row = item->text(0);
    const QString name = RowName(row);
    if (IsDirRow(row) && name.startsWith(u'.'))
        return;
    QString newName;
    if (!Dialogs.InputQuery(QStringLiteral("Renaming..."), QStringLiteral("Enter new name:"),
                            newName))
        return;
    try {
        ipwFTP1->RemoteFile = name;
        ipwFTP1->RenameFile(newName);
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
    }
    UpdateRemote();
}

void TfrmFTP::hDeleteClick() {
    QTreeWidgetItem* item = Selected(ListBoxRemFiles);
    if (!item) {
        Dialogs.Message(QStringLiteral("No file selected for deletion"));
        return;
    }
    const QString row = item->text(0);
    const QString name = RowName(row);
    if (IsDirRow(row) && name.startsWith(u'.'))
        return;
    try {
        if (IsDirRow(row))
            ipwFTP1->RemoveDirectory(name);
        else
            ipwFTP1->DeleteFile(name);
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
    }
    UpdateRemote();
}

void TfrmFTP::RemoveRemoteDirClick() {
    QTreeWidgetItem* item = Selected(ListBoxRemFiles);
    if (!item || RowName(item->text(0)) == QStringLiteral("..")) {
        Dialogs.Message(QStringLiteral("No directory selected to remove"));
        return;
    }
    QString name = RowName(item->text(0));
    if (!Dialogs.InputQuery(QStringLiteral("Removing directory..."),
                            QStringLiteral("Are you sure to remove this directory?"), name))
        return;
    Reported([&] {
        ipwFTP1->RemoveDirectory(name);
        UpdateRemote();
    });
}

void TfrmFTP::DownloadClick() {
    QTreeWidgetItem* item = Selected(ListBoxRemFiles);
    if (!item) {
        UpdateNotes(QStringLiteral("No file selected to download."));
        return;
    }
    const QString row = item->text(0);
    if (IsDirRow(row)) {
        UpdateNotes(QStringLiteral("Can not download directories."));
        return;
    }
    // A server name becomes a local file name only when it names one file right here.
    const QString refusal = DownloadRefusal(row);
    if (!refusal.isEmpty()) {
        UpdateNotes(refusal);
        return;
    }
    BusyCursor busy;
    ipwFTP1->RemoteFile = row;
    ipwFTP1->LocalFile = row;
    ExpectedSize = item->text(1).toLongLong();
    try {
        ipwFTP1->Download();
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
        UpdateRemote();
    }
    UpdateLocal();
}

void TfrmFTP::UploadClick() {
    const int index = SelectedLocalRow();
    if (index < 0) {
        UpdateNotes(QStringLiteral("No file selected to upload."));
        return;
    }
    const QString row = ListBoxLocFiles->item(index)->text();
    if (row.startsWith(u'<')) {
        UpdateNotes(QStringLiteral("Can not upload directories."));
        return;
    }
    BusyCursor busy;
    ipwFTP1->LocalFile = row;
    ipwFTP1->RemoteFile = row;
    ExpectedSize = LocalSizeList.value(index).toLongLong();
    try {
        ipwFTP1->Upload();
    } catch (const EipwFTP& e) {
        UpdateNotes(e.Message);
    }
    UpdateRemote();
}
