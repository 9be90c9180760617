#pragma once
// The FTP client window "Ftp Client": the local working directory on the left, one FTP
// server's current directory on the right, a notes list with the protocol trail.
// Hosted in a tab of the main window; nothing of it is stored between runs.
#include <QStringList>
#include <QWidget>
#include <functional>

class QButtonGroup;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeView;
class QTreeWidget;
class TipwFTP;

// The questions and reports the window puts to the user; tests answer them.
struct TFtpDialogs {
    // Input box: the text entered, or "" on Cancel.
    std::function<QString(const QString& title, const QString& prompt, const QString& value)>
        InputBox;
    // Input query: false on Cancel; value holds the text entered.
    std::function<bool(const QString& title, const QString& prompt, QString& value)> InputQuery;
    std::function<void(const QString& text)> Message;     // an explicit message box
    std::function<void(const QString& text)> ErrorReport; // the general error report
    std::function<bool(const QString& path)> Open;        // open with the associated program
    static TFtpDialogs Standard(QWidget* parent);
};

class TfrmFTP : public QWidget {
    Q_OBJECT
public:
    explicit TfrmFTP(TFtpDialogs dialogs = {}, QWidget* parent = nullptr);
    ~TfrmFTP() override;

    TipwFTP* ipwFTP1;

    // Toolbar and login bar.
    QPushButton *btnDownload, *btnUpload, *BackBtn, *btnAbort, *btnLogin, *CancelBtn;
    QComboBox* ConnectionType;
    QLineEdit *EditHostName, *EditUser, *EditPassword;
    // Directory tree and notes.
    QTreeView* DirectoryListBox1;
    QFileSystemModel* DirModel;
    QListWidget* ListBoxPiTrail;
    // Local pane.
    QLineEdit* LocalDirEdit;
    QComboBox* ComboBoxLocHistory;
    QListWidget* ListBoxLocFiles;
    QPushButton *lChgDir, *lMkDir, *lRename, *lDelete, *lRefresh;
    QPushButton *DownloadBtn, *UploadBtn;
    // Remote pane.
    QLineEdit* CurrentDirEdit;
    QPushButton *Upbtn, *hChgDir, *hMkDir, *hRename, *hDelete, *hRefresh;
    QTreeWidget* ListBoxRemFiles;
    // Transfer mode and status bar.
    QRadioButton *rbASCII, *rbBinary, *rbAuto;
    QProgressBar* ProgressBar;
    QLabel *StatusPanel2, *StatusPanel3;
    QMenu *LocalMenu, *RemoteMenu;

    bool IsConnected() const { return State == 2; }
    const QStringList& LocalSizes() const { return LocalSizeList; }

    void UpdateLocal(const QString& mask = QStringLiteral("*"));
    void UpdateRemote();
    void UpdateNotes(const QString& line);
    void UpdateButtons();
    void AddToLocalHistory(const QString& dir);

    // Handlers, as the controls call them.
    void btnLoginClick();
    void DownloadClick();
    void UploadClick();
    void BackBtnClick();
    void btnAbortClick();
    void CancelBtnClick();
    void hChgDirClick();
    void hMkDirClick();
    void hRenameClick();
    void hDeleteClick();
    void RemoveRemoteDirClick();
    void ListBoxRemFilesDblClick();
    void lChgDirClick();
    void lMkDirClick();
    void lRenameClick();
    void lDeleteClick();
    void RemoveLocalDirClick();
    void ViewFileClick();
    void ListBoxLocFilesDblClick();
    void LocalDirEditEnter();
    void ComboBoxLocHistoryChange();
    void DirectoryListBox1Open(const QString& dir);
    void RadioGroupTransferModeClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    void BuildMenus();
    QWidget* BuildLocalPane();
    QWidget* BuildRemotePane();
    void Connect();
    QString TreeDir() const;
    void SetTreeDir(const QString& dir);
    void ChangeLocalDir(const QString& dir);
    int SelectedLocalRow() const;
    // Runs an action whose failures go to the general error report.
    void Reported(const std::function<void()>& action);

    TFtpDialogs Dialogs;
    int State = 1; // 1 disconnected, 2 connected
    qint64 ExpectedSize = 0;
    QStringList LocalSizeList;
};
