#pragma once
// FTP client component on libcurl. The window sets properties and calls blocking
// operations; each operation runs its network work on a worker thread and waits in a
// local event loop, so the caller's window keeps painting and its Cancel button can
// call Interrupt. The events are raised on the caller's thread during the call.
// One control connection stays logged on between operations.
#include "platform/Errors.h"

#include <QObject>
#include <QString>
#include <memory>

// Every failure of the component; the message reads "code: text". Server refusals carry
// the reply code and text ("530: Login incorrect."), other failures the codes below or
// libcurl's error number.
class EipwFTP : public EComponentError {
public:
    using EComponentError::EComponentError;
};

class TipwFTP : public QObject {
    Q_OBJECT
public:
    enum TTransferMode { tmDefault = 0, tmASCII = 1, tmBinary = 2 };
    // Codes of failures that have no server reply.
    enum {
        errBusy = 1000, // another operation of this component is running
        errNotConnected = 1001,
        errBadName = 1002,   // a control character in a name, path or login field
        errLocalFile = 1003, // the local file cannot be opened, written or already exists
        errInterrupted = 1004,
    };

    explicit TipwFTP(QObject* parent = nullptr);
    ~TipwFTP() override;

    QString RemoteHost;
    int RemotePort = 21;
    QString User;
    QString Password;
    QString RemoteFile;
    QString LocalFile;      // relative to the process's current directory unless absolute
    bool Passive = false;   // active mode (PORT/EPRT) unless set
    bool Overwrite = false; // a download never replaces an existing local file unless set
    int Timeout = 60;       // seconds without progress before an operation fails
    TTransferMode TransferMode = tmDefault;

    // The server's current directory. Setting it while connected changes directory on
    // the server (CWD) and reads back the directory now current; before log-on it is
    // only remembered and applied after log-on when not empty.
    QString RemotePath() const;
    void SetRemotePath(const QString& path);
    bool Connected() const;
    bool Busy() const;

    void Logon();
    void Logoff();
    void ListDirectoryLong(); // OnDirList once per entry of RemotePath (RemoteFile empty)
    void Download();          // RemoteFile -> LocalFile
    void Upload();            // LocalFile -> RemoteFile
    void DeleteFile(const QString& name);
    void MakeDirectory(const QString& name);
    void RemoveDirectory(const QString& name);
    void RenameFile(const QString& newName); // renames RemoteFile
    // Stops the operation in progress; it then fails with errInterrupted. Does nothing
    // when idle.
    void Interrupt();

signals:
    void OnDirList(const QString& DirEntry, const QString& FileName, bool IsDir, qint64 FileSize,
                   const QString& FileTime);
    // Direction 0: a command sent (PASS shown as asterisks), 1: a reply line.
    void OnPITrail(int Direction, const QString& Message);
    // Direction 0: upload, 1: download.
    void OnStartTransfer(int Direction);
    void OnTransfer(int Direction, qint64 BytesTransferred, const QByteArray& Text);
    void OnEndTransfer(int Direction);

public:
    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
