#include "mail/MessagePersister.h"

#include "mail/PropertyStream.h"
#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
const char* const statusIdents[] = {"msDraft", "msOutbox", "msSent", "msInbox", "msDeleted"};
const char* const folderNames[] = {"Drafts", "Outbox", "Sent Items", "Inbox", "Deleted Items"};
const QString messagesWhat = QStringLiteral("The message store");
const QString accountsWhat = QStringLiteral("The account file");
} // namespace

QString MailFolderName(TclMailMessageStatus status) {
    return QLatin1String(folderNames[int(status)]);
}

// --- records ---------------------------------------------------------------------------

void TclMailMessageItem::changed() {
    parsed.reset();
    if (list)
        list->notify();
}

void TclMailMessageItem::SetMailMessage(const QList<QByteArray>& lines) {
    mailMessage = lines;
    changed();
}

void TclMailMessageItem::SetStatus(TclMailMessageStatus value) {
    if (status == value)
        return;
    status = value;
    changed();
}

void TclMailMessageItem::SetMarkedAsRead(bool value) {
    if (markedAsRead == value)
        return;
    markedAsRead = value;
    changed();
}

const TclParsedHeader& TclMailMessageItem::ParsedHeader() const {
    if (!parsed) {
        TclMailMessage message;
        message.ParseLines(mailMessage);
        parsed = TclParsedHeader{message.From(), message.Subject(), message.Date(), message.Priority()};
    }
    return *parsed;
}

void TclMailMessageItem::Assign(const TclMailMessageItem& source) {
    mailMessage = source.mailMessage;
    status = source.status;
    markedAsRead = source.markedAsRead;
    changed();
}

// --- the list ----------------------------------------------------------------------------

TclMailMessageList::~TclMailMessageList() {
    blockSignals(true);
    items.clear();
}

void TclMailMessageList::notify() {
    if (updating > 0) {
        pending = true;
        return;
    }
    emit OnChange(this);
}

void TclMailMessageList::EndUpdate() {
    if (updating > 0 && --updating == 0) {
        pending = false;
        emit OnChange(this);
    }
}

TclMailMessageItem* TclMailMessageList::Add() {
    items.emplace_back(new TclMailMessageItem(this));
    notify();
    return items.back().get();
}

int TclMailMessageList::IndexOf(const TclMailMessageItem* item) const {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == item)
            return int(i);
    return -1;
}

void TclMailMessageList::Remove(TclMailMessageItem* item) {
    const int index = IndexOf(item);
    if (index < 0)
        return;
    // Take it out first, so OnChange handlers never see a dying record.
    std::unique_ptr<TclMailMessageItem> doomed = std::move(items[size_t(index)]);
    items.erase(items.begin() + index);
    notify();
}

void TclMailMessageList::Clear() {
    items.clear();
    notify();
}

TclMailMessageItem* TclMailMessageList::FindByUID(const QString& uid) const {
    for (const auto& item : items)
        if (item->uid == uid)
            return item.get();
    return nullptr;
}

QByteArray TclMailMessageList::SaveToBytes() const {
    TPropWriter w;
    w.WriteTag(PropTag::Collection);
    for (const auto& item : items) {
        w.WriteTag(PropTag::List);
        if (!item->mailMessage.isEmpty()) {
            w.WriteName("MailMessage.Strings");
            w.WriteTag(PropTag::List);
            for (const QByteArray& line : item->mailMessage)
                w.WriteString(line);
            w.WriteTag(PropTag::Null);
        }
        w.WriteName("Status");
        w.WriteIdent(statusIdents[int(item->status)]);
        w.WriteName("MarkedAsRead");
        w.WriteBoolean(item->markedAsRead);
        if (!item->uid.isEmpty()) {
            w.WriteName("UID");
            w.WriteString(item->uid.toUtf8());
        }
        w.WriteTag(PropTag::Null);
    }
    w.WriteTag(PropTag::Null);
    return w.Data;
}

void TclMailMessageList::LoadFromBytes(const QByteArray& data) {
    struct Record {
        QList<QByteArray> lines;
        TclMailMessageStatus status = msDraft;
        bool read = false;
        QString uid;
    };
    std::vector<Record> records;
    TPropReader r(data, messagesWhat);
    r.ExpectTag(PropTag::Collection, "the collection tag 0x0E");
    while (r.PeekTag() != PropTag::Null) {
        // An item may carry an order value before its list.
        const unsigned char tag = r.PeekTag();
        if (tag == PropTag::Int8 || tag == PropTag::Int16 || tag == PropTag::Int32)
            r.ReadInteger();
        r.ExpectTag(PropTag::List, "a record (tag 0x01)");
        Record rec;
        while (r.PeekTag() != PropTag::Null) {
            const qsizetype at = r.Position();
            const QByteArray name = r.ReadName();
            if (name == "MailMessage.Strings") {
                r.ExpectTag(PropTag::List, "a list of lines");
                rec.lines.clear();
                while (r.PeekTag() != PropTag::Null)
                    rec.lines.append(r.ReadString());
                r.ReadTag();
            } else if (name == "Status") {
                const qsizetype identAt = r.Position();
                const QByteArray ident = r.ReadIdent();
                int found = -1;
                for (int i = 0; i < 5; ++i)
                    if (ident == statusIdents[i])
                        found = i;
                if (found < 0)
                    r.Fail(QStringLiteral("unknown status \"%1\"").arg(QString::fromLatin1(ident)), identAt);
                rec.status = TclMailMessageStatus(found);
            } else if (name == "MarkedAsRead") {
                rec.read = r.ReadBoolean();
            } else if (name == "UID") {
                rec.uid = QString::fromUtf8(r.ReadString());
            } else {
                r.Fail(QStringLiteral("unknown property \"%1\"").arg(QString::fromLatin1(name)), at);
            }
        }
        r.ReadTag();
        records.push_back(std::move(rec));
    }
    r.ReadTag();
    if (!r.AtEnd())
        r.Fail(QStringLiteral("unexpected data after the end"));

    BeginUpdate();
    items.clear();
    pending = true;
    for (Record& rec : records) {
        auto item = std::unique_ptr<TclMailMessageItem>(new TclMailMessageItem(this));
        item->mailMessage = std::move(rec.lines);
        item->status = rec.status;
        item->markedAsRead = rec.read;
        item->uid = rec.uid;
        items.push_back(std::move(item));
    }
    EndUpdate();
}

void TclMailMessageList::LoadFromFile(const QString& path) {
    Clear();
    if (!QFileInfo::exists(path))
        return;
    LoadFromBytes(ReadWholeFile(path));
}

void TclMailMessageList::SaveToFile(const QString& path) const {
    SaveFileAtomically(path, SaveToBytes());
}

// --- the account -------------------------------------------------------------------------

QString TclMailAccounts::DisplaySender() const {
    if (!Name.isEmpty() && Name != EMail)
        return TclMailMessage::FormatAddress(Name, EMail);
    return EMail;
}

namespace {
enum class Kind { Text, Bool, Int };
struct AccountField {
    const char* name;
    Kind kind;
    QString TclMailAccounts::*text;
    bool TclMailAccounts::*flag;
    int TclMailAccounts::*number;
};
#define TEXT(f) {#f, Kind::Text, &TclMailAccounts::f, nullptr, nullptr}
#define FLAG(f) {#f, Kind::Bool, nullptr, &TclMailAccounts::f, nullptr}
#define NUMBER(f) {#f, Kind::Int, nullptr, nullptr, &TclMailAccounts::f}
// Persisted order.
const AccountField accountFields[] = {
    TEXT(Name), TEXT(EMail), TEXT(POP3Server), TEXT(POP3User), TEXT(POP3Password),
    TEXT(SMTPServer), TEXT(SMTPUser), TEXT(SMTPPassword), FLAG(POP3SPA), FLAG(SMTPSPA),
    NUMBER(POP3Port), NUMBER(SMTPPort), FLAG(POP3UseSSL), FLAG(SMTPUseSSL), FLAG(LeaveMessage),
    NUMBER(TimeOut), FLAG(SendImmediately),
};
#undef TEXT
#undef FLAG
#undef NUMBER
} // namespace

QByteArray TclMailAccounts::SaveToBytes() const {
    TPropWriter w;
    w.Data = "TPF0";
    w.WriteName("TclMailAccounts");
    w.WriteName("");
    for (const AccountField& f : accountFields) {
        switch (f.kind) {
        case Kind::Text:
            if (!(this->*f.text).isEmpty()) {
                w.WriteName(f.name);
                w.WriteString((this->*f.text).toUtf8());
            }
            break;
        case Kind::Bool:
            // SendImmediately defaults to true and is written only when false.
            if (f.flag != &TclMailAccounts::SendImmediately || !(this->*f.flag)) {
                w.WriteName(f.name);
                w.WriteBoolean(this->*f.flag);
            }
            break;
        case Kind::Int:
            w.WriteName(f.name);
            w.WriteInteger(this->*f.number);
            break;
        }
    }
    w.WriteTag(PropTag::Null);
    w.WriteTag(PropTag::Null);
    return w.Data;
}

void TclMailAccounts::LoadFromBytes(const QByteArray& data) {
    TPropReader r(data, accountsWhat);
    if (r.ReadBytes(qMin<qsizetype>(4, data.size())) != "TPF0")
        r.Fail(QStringLiteral("the signature \"TPF0\" is missing"), 0);
    r.ReadName(); // class name, not checked
    r.ReadName(); // object name
    // The file holds the whole account: what it leaves out has its default.
    TclMailAccounts read;
    while (r.PeekTag() != PropTag::Null) {
        const qsizetype at = r.Position();
        const QByteArray name = r.ReadName();
        const AccountField* field = nullptr;
        for (const AccountField& f : accountFields)
            if (name == f.name)
                field = &f;
        if (!field)
            r.Fail(QStringLiteral("unknown property \"%1\"").arg(QString::fromLatin1(name)), at);
        switch (field->kind) {
        case Kind::Text: read.*(field->text) = QString::fromUtf8(r.ReadString()); break;
        case Kind::Bool: read.*(field->flag) = r.ReadBoolean(); break;
        case Kind::Int: read.*(field->number) = r.ReadInteger(); break;
        }
    }
    r.ReadTag();
    r.ExpectTag(PropTag::Null, "the end of the contained objects");
    if (!r.AtEnd())
        r.Fail(QStringLiteral("unexpected data after the end"));
    *this = read;
}

void TclMailAccounts::LoadFromFile(const QString& path) {
    if (!QFileInfo::exists(path))
        return;
    LoadFromBytes(ReadWholeFile(path));
}

void TclMailAccounts::SaveToFile(const QString& path) const {
    SaveFileAtomically(path, SaveToBytes(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// --- the working folder ------------------------------------------------------------------

QString GetMessageTempDir() {
    QString temp = QDir::tempPath();
    if (!temp.endsWith(QLatin1Char('/')))
        temp += QLatin1Char('/');
    const QString dir = temp + QStringLiteral("Quillmoor/");
    QDir().mkpath(dir);
    return dir;
}

void ClearMessageTempDir() {
    const QString dir = QDir::tempPath() + QStringLiteral("/Quillmoor");
    if (!QFileInfo(dir).isDir())
        return;
    const QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : files) {
        QFile file(info.absoluteFilePath());
        if (!info.isWritable())
            file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
        file.remove();
    }
}
