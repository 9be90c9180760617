#pragma once
// TMainForm: the mail window. Folder tree and message list (main.cpp), reader page
// (main_reader.cpp), account page (main_account.cpp), transfers (main_transfer.cpp).
// The composer page and its Send/Cancel/language/vowel choosers are placeholders.
#include "mail/MailTransfer.h"
#include "mail/MessagePersister.h"

#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TEmbeddedWB;
class TfrmProgress;

// The store and the account of one program run, shared by every mail window opened in it,
// so a window opened after its tab was closed works on the same data.
struct TMailData {
    TclMailMessageList Messages;
    TclMailAccounts Accounts;
    QString MessagesFileName;
    QString AccountsFileName;
    QString IniFileName;
    // Loads both files on first use; throws when either is damaged.
    static std::shared_ptr<TMailData> ForFolder(const QString& exeDir);
};

class TMainForm : public QWidget {
    Q_OBJECT
    std::shared_ptr<TMailData> data; // first: the references below are bound to it

public:
    // exeDir holds "messages.dat", "accounts.dat" and "Mail.ini". Throws when a store
    // file is damaged (the window then does not open).
    explicit TMainForm(const QString& exeDir, QWidget* parent = nullptr);
    // For the tool launcher: the window, or null after reporting why it cannot open.
    static QWidget* Create(const QString& exeDir, QWidget* parent);
    ~TMainForm() override;

    QString MessagesFileName() const { return data->MessagesFileName; }
    QString AccountsFileName() const { return data->AccountsFileName; }
    void LoadMessages();
    void SaveMessages();
    void LoadAccounts();
    void SaveAccounts();

    TclMailMessageItem* SelectedMessage() const;
    TclMailMessageStatus CurrentFolderStatus() const;
    void UpdateFolderCaptions();
    void FillMessageList(TclMailMessageStatus status);
    void AddMessageRow(TclMailMessageItem* record);
    int CountMessages(TclMailMessageStatus status) const;
    bool ShowMessage(TclMailMessageItem* record);
    bool NewMessage(TclMailMessageItem* record, const QString& sender);
    void DisplayMessage(TclMailMessageItem* record);
    void StoreMessageHeader(TclMailMessageItem* record);
    void ApplyReadOnlyState();
    void ShowAccounts(const TclMailAccounts& account);
    void StoreAccounts(TclMailAccounts& account);
    void ReceiveMessages();
    void SendMessage(TclMailMessageItem* record);
    // True (after the warnings) when a transfer runs and the window must stay.
    bool TransferInProgress();

    TclMailMessageList& Messages;
    TclMailAccounts& Accounts;
    TfrmProgress* ProgressWindow;
    bool Loading = false;
    bool Locked = false;
    bool StopRequested = false;

    // Shared by all mail windows of one run.
    static bool ReadOnlyView;
    static QString SaveAttachmentName;
    static QString LastAttachmentName;

    // Controls.
    QToolButton *btnCheckMail, *btnNew, *btnLoad, *btnDelete, *btnSave, *btnMsgSource, *btnReply, *btnPrint, *btnExit;
    QTreeWidget* tvFolders;
    QPushButton *btnSend, *btnCancel;
    QComboBox* cbLanguage;
    QLabel* lblSpeak;
    QTabWidget* PageControl1;
    QTreeWidget* lvMessages;
    QLineEdit *edtFrom, *edtTo, *edtCc, *edtBcc, *edtSubject;
    QListWidget* lvAttach;
    QComboBox *cmbPriority, *cbEmail;
    TEmbeddedWB* wbBody = nullptr;
    QStatusBar* StatusBar1;
    // Account page.
    QLineEdit *edtName, *edtEMail, *edtPOP3Server, *edtPOP3User, *edtPOP3Password, *edtSMTPServer, *edtSMTPUser,
        *edtSMTPPassword, *edtPOP3Port, *edtSMTPPort, *edtTimeOut;
    QComboBox* cboAuthType;
    QCheckBox *cbPOP3SPA, *cbSMTPSPA, *cbPOP3UseSSL, *cbSMTPUseSSL, *cbLeaveMessage, *cbSendImmediately;
    QTabWidget* AccountPages;

protected:
    // Refuses while a transfer runs.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    QWidget* buildReaderPage();
    QWidget* buildAccountPage();
    void MessagesChanged();
    void tvFoldersChange();
    void lvMessagesDblClick();
    void lvMessagesKeyEnter();
    void btnLoadClick();
    void btnSaveClick();
    void btnDeleteClick();
    void btnMsgSourceClick();
    void btnPrintClick();
    void ComposeNewMessage();
    void PageControlChange(int page);
    void cbEmailChange(int index);
    void SaveAttachment(QListWidgetItem* row, bool open);
    void AccountOkClick();
    void reportError(const std::exception& e);

    TclPOP3* clPOP3;
    TclSMTP* clSMTP;
    std::unique_ptr<TMailTransfer> transfer;
    QTimer* saveTimer;
    QList<QByteArray> CurrentLines;
    std::unique_ptr<TclMailMessage> MessageParser;
    int lastPage = 0;
};
