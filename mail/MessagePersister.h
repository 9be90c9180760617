#pragma once
// The mail store: every message of every folder in one list of records ("messages.dat"),
// and the one account ("accounts.dat"). A folder is the value of a record's Status.
#include "components/mail/MailMessage.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

enum TclMailMessageStatus { msDraft = 0, msOutbox = 1, msSent = 2, msInbox = 3, msDeleted = 4 };

// "Drafts", "Outbox", "Sent Items", "Inbox", "Deleted Items", indexed by status.
QString MailFolderName(TclMailMessageStatus status);

struct TclParsedHeader {
    QString From;
    QString Subject;
    QDateTime Date;
    TclMessagePriority Priority = TclMessagePriority::mpNormal;
};

class TclMailMessageList;

class TclMailMessageItem {
public:
    // The raw source, one line per entry, without terminators; bytes as received.
    const QList<QByteArray>& MailMessage() const { return mailMessage; }
    void SetMailMessage(const QList<QByteArray>& lines);
    TclMailMessageStatus Status() const { return status; }
    void SetStatus(TclMailMessageStatus value);
    bool MarkedAsRead() const { return markedAsRead; }
    void SetMarkedAsRead(bool value);
    const QString& UID() const { return uid; }
    void SetUID(const QString& value) { uid = value; }
    // From, Subject, Date and Priority parsed from MailMessage, kept until the next change.
    const TclParsedHeader& ParsedHeader() const;
    // Copies MailMessage, Status and MarkedAsRead (not UID).
    void Assign(const TclMailMessageItem& source);
    TclMailMessageList* List() const { return list; }

private:
    friend class TclMailMessageList;
    explicit TclMailMessageItem(TclMailMessageList* owner) : list(owner) {}
    void changed();

    TclMailMessageList* list;
    QList<QByteArray> mailMessage;
    TclMailMessageStatus status = msDraft;
    bool markedAsRead = false;
    QString uid;
    mutable std::optional<TclParsedHeader> parsed;
};

class TclMailMessageList : public QObject {
    Q_OBJECT
public:
    explicit TclMailMessageList(QObject* parent = nullptr) : QObject(parent) {}
    ~TclMailMessageList() override;

    TclMailMessageItem* Add();
    int Count() const { return int(items.size()); }
    TclMailMessageItem* Items(int index) const { return items.at(size_t(index)).get(); }
    int IndexOf(const TclMailMessageItem* item) const;
    // Removes and destroys the record.
    void Remove(TclMailMessageItem* item);
    void Clear();
    TclMailMessageItem* FindByUID(const QString& uid) const;
    // Changes between Begin and End raise one OnChange at the end.
    void BeginUpdate() { ++updating; }
    void EndUpdate();

    // Empties the list, then reads the file; a missing file leaves it empty.
    // Throws EReadError for a damaged file, EInOutError when it cannot be read.
    void LoadFromFile(const QString& path);
    // Written atomically; throws EInOutError and keeps the old file on failure.
    void SaveToFile(const QString& path) const;
    QByteArray SaveToBytes() const;
    void LoadFromBytes(const QByteArray& data);

signals:
    void OnChange(TclMailMessageList* sender);

private:
    friend class TclMailMessageItem;
    void notify();
    std::vector<std::unique_ptr<TclMailMessageItem>> items;
    int updating = 0;
    bool pending = false;
};

class TclMailAccounts {
public:
    QString Name, EMail, POP3Server, POP3User, POP3Password, SMTPServer, SMTPUser, SMTPPassword;
    bool POP3SPA = false;
    bool SMTPSPA = false;
    int POP3Port = 110;
    int SMTPPort = 25;
    bool POP3UseSSL = false;
    bool SMTPUseSSL = false;
    bool LeaveMessage = false;
    int TimeOut = 60;
    bool SendImmediately = true;

    bool operator==(const TclMailAccounts&) const = default;
    // "Name <address>" when Name is set and differs from EMail, else EMail.
    QString DisplaySender() const;

    // A missing file keeps the current values.
    void LoadFromFile(const QString& path);
    // Written atomically, readable and writable by the user only (it holds passwords).
    void SaveToFile(const QString& path) const;
    QByteArray SaveToBytes() const;
    void LoadFromBytes(const QByteArray& data);
};

// The mail working folder for bodies and attachments: <temp>/Quillmoor/, created on
// every call, with its trailing separator.
QString GetMessageTempDir();
// Deletes every file directly in the working folder (folders kept); failures ignored.
void ClearMessageTempDir();
