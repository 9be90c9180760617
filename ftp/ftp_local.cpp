// The local pane of the FTP window: the working directory, its tree and drive selector.
#include "ftp/FtpRules.h"
#include "ftp/ftp.h"
#include "platform/Errors.h"
#include "platform/Files.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

QWidget* TfrmFTP::BuildLocalPane() {
    auto* pane = new QGroupBox(QStringLiteral("Local System"), this);
    auto* v = new QVBoxLayout(pane);
    auto* top = new QHBoxLayout;
    LocalDirEdit = new QLineEdit(QStringLiteral("*.*"), pane);
    ComboBoxLocHistory = new QComboBox(pane);
    for (const QString& root : LocalRoots())
        ComboBoxLocHistory->addItem(root);
    top->addWidget(LocalDirEdit, 1);
    top->addWidget(ComboBoxLocHistory, 1);
    v->addLayout(top);
    auto* body = new QHBoxLayout;
    ListBoxLocFiles = new QListWidget(pane);
    body->addWidget(ListBoxLocFiles, 1);
    auto* buttons = new QVBoxLayout;
    lChgDir = new QPushButton(QStringLiteral("ChgDir"), pane);
    lMkDir = new QPushButton(QStringLiteral("MkDir"), pane);
    lRename = new QPushButton(QStringLiteral("Rename"), pane);
    lDelete = new QPushButton(QStringLiteral("Delete"), pane);
    lRefresh = new QPushButton(QStringLiteral("Refresh"), pane);
    for (QPushButton* b : {lChgDir, lMkDir, lRename, lDelete, lRefresh}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    body->addLayout(buttons);
    v->addLayout(body, 1);

    connect(lChgDir, &QPushButton::clicked, this, &TfrmFTP::lChgDirClick);
    connect(lMkDir, &QPushButton::clicked, this, &TfrmFTP::lMkDirClick);
    connect(lRename, &QPushButton::clicked, this, &TfrmFTP::lRenameClick);
    connect(lDelete, &QPushButton::clicked, this, &TfrmFTP::lDeleteClick);
    connect(lRefresh, &QPushButton::clicked, this, [this] { UpdateLocal(); });
    connect(ListBoxLocFiles, &QListWidget::itemDoubleClicked, this,
            [this] { ListBoxLocFilesDblClick(); });
    connect(LocalDirEdit, &QLineEdit::returnPressed, this, &TfrmFTP::LocalDirEditEnter);
    connect(ComboBoxLocHistory, &QComboBox::activated, this,
            [this] { ComboBoxLocHistoryChange(); });
    return pane;
}

void TfrmFTP::SetTreeDir(const QString& dir) {
    const QModelIndex index = DirModel->index(dir);
    if (!index.isValid())
        return;
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->scrollTo(index);
    if (!DirectoryListBox1->property("wired").toBool()) {
        DirectoryListBox1->setProperty("wired", true);
        connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this] { LocalDirEdit->setText(TreeDir()); });
        connect(DirectoryListBox1, &QTreeView::activated, this,
                [this](const QModelIndex& i) { DirectoryListBox1Open(DirModel->filePath(i)); });
    }
}

QString TfrmFTP::TreeDir() const {
    const QModelIndex index = DirectoryListBox1->currentIndex();
    return index.isValid() ? DirModel->filePath(index) : QDir::currentPath();
}

void TfrmFTP::ChangeLocalDir(const QString& dir) {
    if (dir.isEmpty() || !QDir::setCurrent(dir))
        throw EInOutError(
            QStringLiteral("Could not change the working directory to \"%1\".").arg(dir));
}

int TfrmFTP::SelectedLocalRow() const {
    const auto items = ListBoxLocFiles->selectedItems();
    return items.isEmpty() ? -1 : ListBoxLocFiles->row(items.first());
}

void TfrmFTP::UpdateLocal(const QString& mask) {
    BusyCursor busy;
    ListBoxLocFiles->clear();
    LocalSizeList.clear();
    for (const TLocalEntry& e : LocalEntries(QDir::currentPath(), mask)) {
        ListBoxLocFiles->addItem(e.Row);
        LocalSizeList.append(QString::number(e.Size));
    }
}

void TfrmFTP::AddToLocalHistory(const QString& dir) {
    const int existing =
        ComboBoxLocHistory->findText(dir, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (existing >= 0)
        ComboBoxLocHistory->removeItem(existing);
    ComboBoxLocHistory->insertItem(0, dir);
    ComboBoxLocHistory->setCurrentIndex(0);
}

void TfrmFTP::ListBoxLocFilesDblClick() {
    const int index = SelectedLocalRow();
    if (index < 0)
        return;
    const QString row = ListBoxLocFiles->item(index)->text();
    if (!IsDirRow(row)) {
        UploadClick();
        return;
    }
    Reported([&] {
        ChangeLocalDir(RowName(row));
        AddToLocalHistory(QDir::currentPath());
        UpdateLocal();
    });
}

void TfrmFTP::lChgDirClick() {
    Reported([&] {
        ChangeLocalDir(LocalDirEdit->text());
        UpdateLocal();
    });
}

// A directory shows that directory; anything else is a file mask or a file name.
void TfrmFTP::LocalDirEditEnter() {
    const QString text = LocalDirEdit->text().trimmed();
    if (!text.isEmpty() && QFileInfo(text).isDir()) {
        Reported([&] {
            ChangeLocalDir(text);
            SetTreeDir(QDir::currentPath());
            UpdateLocal();
        });
        return;
    }
    UpdateLocal(text.isEmpty() ? QStringLiteral("*") : text);
}

void TfrmFTP::ComboBoxLocHistoryChange() {
    const QString dir = ComboBoxLocHistory->currentText();
    Reported([&] {
        ChangeLocalDir(dir);
        SetTreeDir(QDir::currentPath());
        LocalDirEdit->setText(QDir::currentPath());
        UpdateLocal();
    });
}

void TfrmFTP::DirectoryListBox1Open(const QString& dir) {
    Reported([&] {
        ChangeLocalDir(dir);
        LocalDirEdit->setText(QDir::currentPath());
        UpdateLocal();
    });
}

void TfrmFTP::lMkDirClick() {
    QString name;
    if (!Dialogs.InputQuery(QStringLiteral("Making directory..."),
                            QStringLiteral("Enter name of new directory:"), name))
        return;
    QDir::current().mkdir(name); // a failure shows nothing
    UpdateLocal();
}

void TfrmFTP::lRenameClick() {
    const int index = SelectedLocalRow();
    if (index < 0)
        return;
    const QString name = RowName(ListBoxLocFiles->item(index)->text());
    if (name.startsWith(u'.'))
        return;
    QString newName;
    if (!Dialogs.InputQuery(QStringLiteral("Renaming..."), QStringLiteral("Enter new name:"),
                            newName))
        return;
    if (!newName.isEmpty() && QDir::current().rename(name, newName))
        UpdateLocal();
    else
        UpdateNotes(QStringLiteral("Could not change the value."));
}

void TfrmFTP::lDeleteClick() {
    const int index = SelectedLocalRow();
    if (index < 0)
        return;
    const QString row = ListBoxLocFiles->item(index)->text();
    QString name = RowName(row);
    if (name.startsWith(u'.'))
        return;
    if (!Dialogs.InputQuery(QStringLiteral("Deleting..."),
                            QStringLiteral("Are you sure to delete?"), name))
        return;
    const bool ok = !name.isEmpty() &&
                    (IsDirRow(row) ? QDir::current().rmdir(name) : QDir::current().remove(name));
    if (ok)
        UpdateLocal();
    else
        UpdateNotes(QStringLiteral("Could not delete directory"));
}

void TfrmFTP::RemoveLocalDirClick() {
    QString path = TreeDir();
    if (!Dialogs.InputQuery(QStringLiteral("Removing directory..."),
                            QStringLiteral("Are you sure to remove this directory?"), path))
        return;
    if (path.isEmpty())
        return;
    // Never leave the working directory inside a folder that is going away.
    if (IsInsideFolder(path, QDir::currentPath()))
        QDir::setCurrent(QFileInfo(QDir(path).absolutePath()).path());
    if (DeleteTree(path))
        UpdateLocal();
}

void TfrmFTP::ViewFileClick() {
    const int index = SelectedLocalRow();
    if (index < 0)
        return;
    Dialogs.Open(QDir(TreeDir()).filePath(ListBoxLocFiles->item(index)->text()));
}
