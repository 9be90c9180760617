#include "mail/main.h"

#include "components/browser/EmbeddedWB.h"
#include "mail/MessageSourceForm.h"
#include "mail/Progress.h"
#include "platform/Files.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

bool TMainForm::ReadOnlyView = false;
QString TMainForm::SaveAttachmentName;
QString TMainForm::LastAttachmentName;

namespace {
const TclMailMessageStatus folderStatuses[] = {msInbox, msOutbox, msSent, msDeleted, msDraft};
const int RecordRole = Qt::UserRole + 1;

QString joinPath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? QString(folder + name) : QString(folder + QLatin1Char('/') + name);
}

// Enter on the message list runs the window's handler.
class TMessageListView : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void()> OnEnter;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && OnEnter) {
            OnEnter();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
};
} // namespace

std::shared_ptr<TMailData> TMailData::ForFolder(const QString& exeDir) {
    static QMap<QString, std::weak_ptr<TMailData>> open;
    static QList<std::shared_ptr<TMailData>> keep; // lives for the whole run
    if (auto existing = open.value(exeDir).lock())
        return existing;
    auto d = std::make_shared<TMailData>();
    d->MessagesFileName = joinPath(exeDir, QStringLiteral("messages.dat"));
    d->AccountsFileName = joinPath(exeDir, QStringLiteral("accounts.dat"));
    d->IniFileName = joinPath(exeDir, QStringLiteral("Mail.ini"));
    d->Messages.LoadFromFile(d->MessagesFileName);
    d->Accounts.LoadFromFile(d->AccountsFileName);
    open[exeDir] = d;
    keep << d;
    return d;
}

TMainForm::TMainForm(const QString& exeDir, QWidget* parent)
    : QWidget(parent), Messages((data = TMailData::ForFolder(exeDir))->Messages), Accounts(data->Accounts) {
    setWindowTitle(QStringLiteral("E-mail"));
    ProgressWindow = new TfrmProgress(this);
    ProgressWindow->OnStop = [this] {
        StopRequested = true;
        if (transfer)
            transfer->StopRequested = true;
    };
    clPOP3 = new TclPOP3(this);
    clSMTP = new TclSMTP(this);
    transfer = std::make_unique<TMailTransfer>(Messages, Accounts, *clPOP3, *clSMTP);
    transfer->Progress = ProgressWindow;
    transfer->SaveStore = [this] { SaveMessages(); };
    MessageParser = std::make_unique<TclMailMessage>();
    // User changes reach the disk shortly after they are made, coalesced.
    saveTimer = new QTimer(this);
    saveTimer->setSingleShot(true);
    saveTimer->setInterval(300);
    connect(saveTimer, &QTimer::timeout, this, [this] {
        try {
            SaveMessages();
        } catch (const std::exception& e) {
            reportError(e);
        }
    });
    // A change still waiting for the save timer reaches the disk when the program ends.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        try {
            SaveAccounts();
            SaveMessages();
        } catch (const std::exception& e) {
            qWarning("%s", e.what());
        }
    });
    buildLayout();
    connect(&Messages, &TclMailMessageList::OnChange, this, &TMainForm::MessagesChanged);
    ApplyReadOnlyState();
    SaveAttachmentName.clear();
    tvFolders->setCurrentItem(tvFolders->topLevelItem(0));
    tvFoldersChange();
}

QWidget* TMainForm::Create(const QString& exeDir, QWidget* parent) {
    try {
        return new TMainForm(exeDir, parent);
    } catch (const Exception& e) {
        QMessageBox::critical(parent, QStringLiteral("E-mail"), e.Message);
        return nullptr;
    }
}

TMainForm::~TMainForm() {
    disconnect(&Messages, nullptr, this, nullptr);
    try {
        SaveAccounts();
        SaveMessages();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
    }
    ClearMessageTempDir();
}

void TMainForm::reportError(const std::exception& e) {
    const auto* ours = dynamic_cast<const Exception*>(&e);
    QMessageBox::critical(this, QStringLiteral("E-mail"), ours ? ours->Message : QString::fromLocal8Bit(e.what()));
}

void TMainForm::LoadMessages() {
    Loading = true;
    try {
        Messages.LoadFromFile(data->MessagesFileName);
    } catch (...) {
        Loading = false;
        throw;
    }
    Loading = false;
    tvFoldersChange();
}

void TMainForm::SaveMessages() {
    saveTimer->stop();
    Messages.SaveToFile(data->MessagesFileName);
}

void TMainForm::LoadAccounts() { Accounts.LoadFromFile(data->AccountsFileName); }
void TMainForm::SaveAccounts() { Accounts.SaveToFile(data->AccountsFileName); }

void TMainForm::buildLayout() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* toolbar = new QToolBar(this);
    auto button = [&](const char* text) {
        auto* b = new QToolButton(toolbar);
        b->setText(QLatin1String(text));
        toolbar->addWidget(b);
        return b;
    };
    btnCheckMail = button("Check Mail");
    btnNew = button("New");
    btnLoad = button("Load");
    btnDelete = button("Delete");
    btnSave = button("Save");
    btnMsgSource = button("Msg Source");
    btnReply = button("Reply");
    btnPrint = button("Print");
    btnExit = button("Exit");
    btnExit->setEnabled(false);
    btnNew->setEnabled(false);   // the composer is not built yet
    btnReply->setEnabled(false); // enabled once a message is shown; needs the composer
    outer->addWidget(toolbar);

    auto* splitter = new QSplitter(this);
    auto* left = new QWidget(splitter);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    tvFolders = new QTreeWidget(left);
    tvFolders->setHeaderHidden(true);
    tvFolders->setRootIsDecorated(false);
    for (TclMailMessageStatus status : folderStatuses) {
        auto* node = new QTreeWidgetItem(tvFolders, {MailFolderName(status)});
        node->setData(0, RecordRole, int(status));
    }
    leftLayout->addWidget(tvFolders, 1);
    // The composer's bottom panel: present, disabled until the composer exists.
    auto* bottom = new QWidget(left);
    auto* bottomLayout = new QVBoxLayout(bottom);
    auto* sendRow = new QHBoxLayout;
    btnSend = new QPushButton(QStringLiteral("Send"), bottom);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), bottom);
    sendRow->addWidget(btnSend);
    sendRow->addWidget(btnCancel);
    bottomLayout->addLayout(sendRow);
    auto* speakRow = new QHBoxLayout;
    lblSpeak = new QLabel(QStringLiteral("Speak"), bottom);
    cbLanguage = new QComboBox(bottom);
    speakRow->addWidget(lblSpeak);
    speakRow->addWidget(cbLanguage, 1);
    bottomLayout->addLayout(speakRow);
    for (QWidget* w : {static_cast<QWidget*>(btnSend), static_cast<QWidget*>(btnCancel), static_cast<QWidget*>(lblSpeak),
                       static_cast<QWidget*>(cbLanguage)})
        w->setEnabled(false);
    leftLayout->addWidget(bottom);
    left->resize(193, left->height());

    PageControl1 = new QTabWidget(splitter);
    auto* list = new TMessageListView(PageControl1);
    list->OnEnter = [this] { lvMessagesKeyEnter(); };
    lvMessages = list;
    lvMessages->setColumnCount(4);
    lvMessages->setHeaderLabels({QString(), QStringLiteral("From"), QStringLiteral("Subject"), QStringLiteral("Received")});
    lvMessages->setRootIsDecorated(false);
    lvMessages->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvMessages->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvMessages->setAllColumnsShowFocus(true);
    lvMessages->setTextElideMode(Qt::ElideRight);
    lvMessages->header()->resizeSection(0, 37);
    lvMessages->header()->resizeSection(1, 246);
    lvMessages->header()->resizeSection(2, 300);
    lvMessages->header()->resizeSection(3, 150);
    lvMessages->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto action = [&](const char* text, auto handler) {
        auto* a = new QAction(QLatin1String(text), lvMessages);
        connect(a, &QAction::triggered, this, handler);
        lvMessages->addAction(a);
        return a;
    };
    action("New Message...", [this] { ComposeNewMessage(); });
    action("Send Message", [this] { lvMessagesKeyEnter(); });
    action("Receive Message", [this] { ReceiveMessages(); });
    action("Delete Message", [this] { btnDeleteClick(); });
    auto* separator = new QAction(lvMessages);
    separator->setSeparator(true);
    lvMessages->addAction(separator);
    action("Message Source...", [this] { btnMsgSourceClick(); });
    PageControl1->addTab(lvMessages, QStringLiteral("Inbox"));
    PageControl1->addTab(buildAccountPage(), QStringLiteral("Setup"));
    PageControl1->addTab(buildReaderPage(), QStringLiteral("Message"));
    auto* composer = new QLabel(QStringLiteral("The message editor is not available yet."), PageControl1);
    PageControl1->addTab(composer, QStringLiteral("Msg Editor"));
    PageControl1->setTabEnabled(3, false);
    splitter->addWidget(left);
    splitter->addWidget(PageControl1);
    splitter->setSizes({193, 668});
    outer->addWidget(splitter, 1);
    StatusBar1 = new QStatusBar(this);
    outer->addWidget(StatusBar1);
    resize(861, 597);

    connect(tvFolders, &QTreeWidget::currentItemChanged, this, [this] { tvFoldersChange(); });
    connect(lvMessages, &QTreeWidget::itemDoubleClicked, this, [this] { lvMessagesDblClick(); });
    connect(PageControl1, &QTabWidget::tabBarClicked, this, &TMainForm::PageControlChange);
    connect(btnCheckMail, &QToolButton::clicked, this, [this] {
        PageControl1->setCurrentIndex(0);
        ReceiveMessages();
    });
    connect(btnLoad, &QToolButton::clicked, this, &TMainForm::btnLoadClick);
    connect(btnSave, &QToolButton::clicked, this, &TMainForm::btnSaveClick);
    connect(btnDelete, &QToolButton::clicked, this, &TMainForm::btnDeleteClick);
    connect(btnMsgSource, &QToolButton::clicked, this, &TMainForm::btnMsgSourceClick);
    connect(btnPrint, &QToolButton::clicked, this, &TMainForm::btnPrintClick);
}

TclMailMessageStatus TMainForm::CurrentFolderStatus() const {
    const QTreeWidgetItem* node = tvFolders->currentItem();
    return node ? TclMailMessageStatus(node->data(0, RecordRole).toInt()) : msInbox;
}

TclMailMessageItem* TMainForm::SelectedMessage() const {
    for (int i = 0; i < lvMessages->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = lvMessages->topLevelItem(i);
        if (row->isSelected())
            return static_cast<TclMailMessageItem*>(row->data(0, RecordRole).value<void*>());
    }
    return nullptr;
}

int TMainForm::CountMessages(TclMailMessageStatus status) const {
    int count = 0;
    for (int i = 0; i < Messages.Count(); ++i)
        count += Messages.Items(i)->Status() == status;
    return count;
}

void TMainForm::UpdateFolderCaptions() {
    for (int i = 0; i < tvFolders->topLevelItemCount(); ++i) {
        QTreeWidgetItem* node = tvFolders->topLevelItem(i);
        const auto status = TclMailMessageStatus(node->data(0, RecordRole).toInt());
        const int count = CountMessages(status);
        node->setText(0, count == 0 ? MailFolderName(status) : QStringLiteral("%1 (%2)").arg(MailFolderName(status)).arg(count));
    }
}

void TMainForm::FillMessageList(TclMailMessageStatus status) {
    lvMessages->setUpdatesEnabled(false);
    lvMessages->clear();
    for (int i = 0; i < Messages.Count(); ++i)
        if (Messages.Items(i)->Status() == status)
            AddMessageRow(Messages.Items(i));
    lvMessages->setUpdatesEnabled(true);
}

void TMainForm::AddMessageRow(TclMailMessageItem* record) {
    const TclParsedHeader& header = record->ParsedHeader();
    auto* row = new QTreeWidgetItem(lvMessages);
    row->setCheckState(0, Qt::Unchecked);
    row->setText(1, header.From);
    row->setText(2, header.Subject);
    if (header.Date.isValid()) {
        const QDateTime local = header.Date.toLocalTime();
        const QLocale locale;
        QString text = locale.toString(local.date(), QLocale::ShortFormat);
        if (local.time() != QTime(0, 0))
            text += QLatin1Char(' ') + locale.toString(local.time(), QLocale::LongFormat);
        row->setText(3, text);
    }
    row->setData(0, RecordRole, QVariant::fromValue(static_cast<void*>(record)));
    if (header.Priority == TclMessagePriority::mpHigh)
        row->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    else if (header.Priority == TclMessagePriority::mpLow)
        row->setIcon(0, style()->standardIcon(QStyle::SP_ArrowDown));
    // Unread messages are drawn bold.
    QFont font = lvMessages->font();
    font.setBold(!record->MarkedAsRead());
    for (int c = 0; c < 4; ++c)
        row->setFont(c, font);
}

void TMainForm::tvFoldersChange() {
    UpdateFolderCaptions();
    FillMessageList(CurrentFolderStatus());
}

void TMainForm::MessagesChanged() {
    if (Loading)
        return;
    tvFoldersChange();
    saveTimer->start();
}

void TMainForm::lvMessagesDblClick() {
    PageControl1->setCurrentIndex(2);
    cbEmail->blockSignals(true);
    cbEmail->setCurrentIndex(0);
    cbEmail->blockSignals(false);
    StatusBar1->showMessage(QStringLiteral("Displaying the message..."));
    if (!Locked) {
        Locked = true;
        try {
            if (TclMailMessageItem* record = SelectedMessage())
                ShowMessage(record);
        } catch (const std::exception& e) {
            Locked = false;
            reportError(e);
            return;
        }
        Locked = false;
    }
}

void TMainForm::lvMessagesKeyEnter() {
    if (Locked)
        return;
    Locked = true;
    try {
        if (TclMailMessageItem* record = SelectedMessage()) {
            ShowMessage(record);
            SendMessage(record);
        }
    } catch (const std::exception& e) {
        reportError(e);
    }
    Locked = false;
}

void TMainForm::ComposeNewMessage() {
    if (Locked)
        return;
    Locked = true;
    try {
        TclMailMessageItem* record = Messages.Add();
        NewMessage(record, Accounts.DisplaySender());
        SendMessage(record);
    } catch (const std::exception& e) {
        reportError(e);
    }
    Locked = false;
}

void TMainForm::btnLoadClick() {
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      QStringLiteral("Mail; Html (*.eml *.htm *.html);;All (*)"));
    if (path.isEmpty())
        return;
    try {
        const QByteArray bytes = ReadWholeFile(path);
        QList<QByteArray> lines = bytes.split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        for (QByteArray& line : lines)
            if (line.endsWith('\r'))
                line.chop(1);
        TclMailMessageItem* record = Messages.Add();
        record->SetStatus(msDraft);
        record->SetMailMessage(lines);
    } catch (const std::exception& e) {
        reportError(e);
    }
}

void TMainForm::btnSaveClick() {
    TclMailMessageItem* record = SelectedMessage();
    if (!record)
        return;
    const QString suggested = SafeBaseName(record->ParsedHeader().Subject) + QStringLiteral(".eml");
    const QString path = QFileDialog::getSaveFileName(this, QString(), suggested);
    if (path.isEmpty())
        return;
    QByteArray out;
    for (const QByteArray& line : record->MailMessage())
        out += line + "\r\n";
    try {
        SaveFileAtomically(path, out);
    } catch (const std::exception& e) {
        reportError(e);
    }
}

void TMainForm::btnDeleteClick() {
    QList<TclMailMessageItem*> selected;
    for (int i = 0; i < lvMessages->topLevelItemCount(); ++i)
        if (lvMessages->topLevelItem(i)->isSelected())
            selected << static_cast<TclMailMessageItem*>(lvMessages->topLevelItem(i)->data(0, RecordRole).value<void*>());
    if (selected.isEmpty())
        return;
    Messages.BeginUpdate();
    for (TclMailMessageItem* record : selected) {
        if (record->Status() == msDeleted)
            Messages.Remove(record);
        else
            record->SetStatus(msDeleted);
    }
    Messages.EndUpdate();
}

void TMainForm::btnMsgSourceClick() {
    if (TclMailMessageItem* record = SelectedMessage()) {
        TfrmMessageSource source(record->MailMessage(), this);
        source.exec();
    }
}

void TMainForm::PageControlChange(int page) {
    if (page == 1) {
        ShowAccounts(Accounts);
        try {
            SaveAccounts();
        } catch (const std::exception& e) {
            reportError(e);
        }
    } else if (page == 2 && cmbPriority->count() == 0) {
        cmbPriority->addItems({QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")});
    }
    if (page != 3)
        for (QWidget* w : {static_cast<QWidget*>(btnSend), static_cast<QWidget*>(btnCancel),
                           static_cast<QWidget*>(lblSpeak), static_cast<QWidget*>(cbLanguage)})
            w->setEnabled(false);
}

bool TMainForm::TransferInProgress() {
    bool busy = false;
    if (clSMTP->Active()) {
        QMessageBox::warning(this, QStringLiteral("Warning"), QStringLiteral("Mail sending is in progress"));
        busy = true;
    }
    if (clPOP3->Active()) {
        QMessageBox::warning(this, QStringLiteral("Warning"), QStringLiteral("Mail retrieving is in progress"));
        busy = true;
    }
    return busy;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (TransferInProgress())
        event->ignore();
    else
        QWidget::closeEvent(event);
}
