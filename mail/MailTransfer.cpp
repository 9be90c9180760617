#include "mail/MailTransfer.h"

#include <exception>

namespace {
void keepFirst(std::exception_ptr& first) {
    if (!first)
        first = std::current_exception();
}
} // namespace

void TMailTransfer::ReceiveMessages() {
    if (clPOP3.Active())
        return;
    if (Progress)
        Progress->ShowRetrieve(1);
    StopRequested = false;
    clPOP3.Server = Accounts.POP3Server;
    clPOP3.UserName = Accounts.POP3User;
    clPOP3.Password = Accounts.POP3Password;
    clPOP3.Port = Accounts.POP3Port;
    clPOP3.UseSSL = Accounts.POP3UseSSL;
    clPOP3.UseSPA = Accounts.POP3SPA;

    std::exception_ptr error;
    bool received = false;
    try {
        clPOP3.Open();
        const QStringList uids = clPOP3.GetUIDList();
        const int count = clPOP3.GetMessageCount();
        if (Progress)
            Progress->SetMaximum(count);
        for (int i = 0; i < count; ++i) {
            if (StopRequested)
                break;
            if (i >= uids.size())
                throw EclMailError(QStringLiteral("The server gave no unique id for message %1").arg(i + 1));
            const QString& uid = uids[i];
            if (!Messages.FindByUID(uid)) {
                // Retrieved before the record is added: a failed retrieve leaves no empty
                // record whose UID would keep the message from ever being fetched.
                clPOP3.Retrieve(i);
                received = true;
                TclMailMessageItem* record = Messages.Add();
                record->SetStatus(msInbox);
                record->SetUID(uid);
                record->SetMailMessage(clPOP3.MessageSource);
            }
            if (!Accounts.LeaveMessage)
                clPOP3.Delete(i);
            if (Progress)
                Progress->StepIt();
        }
    } catch (...) {
        keepFirst(error);
    }
    // The store reaches the disk before QUIT commits the deletions on the server; when it
    // cannot be written, the connection is dropped so the server keeps every message.
    bool saved = true;
    if (SaveStore && (received || !Accounts.LeaveMessage)) {
        try {
            SaveStore();
        } catch (...) {
            saved = false;
            keepFirst(error);
        }
    }
    try {
        if (saved)
            clPOP3.Close();
        else
            clPOP3.Abort();
    } catch (...) {
        keepFirst(error);
    }
    if (Progress)
        Progress->HideProgress();
    if (error)
        std::rethrow_exception(error);
}

QList<QByteArray> TMailTransfer::WithoutBccHeader(const QList<QByteArray>& lines) {
    QList<QByteArray> out;
    out.reserve(lines.size());
    bool inHeader = true;
    bool skipping = false;
    for (const QByteArray& line : lines) {
        if (inHeader) {
            if (line.isEmpty()) {
                inHeader = false;
            } else if (skipping && (line.startsWith(' ') || line.startsWith('\t'))) {
                continue;
            } else {
                skipping = line.size() >= 4 && qstrnicmp(line.constData(), "bcc:", 4) == 0;
                if (skipping)
                    continue;
            }
        }
        out.append(line);
    }
    return out;
}

void TMailTransfer::SendMessage(TclMailMessageItem* record) {
    if (clSMTP.Active() || !record)
        return;
    record->SetStatus(msOutbox);
    if (!Accounts.SendImmediately)
        return;
    if (Progress)
        Progress->ShowSend(1);
    StopRequested = false;
    clSMTP.Server = Accounts.SMTPServer;
    clSMTP.UserName = Accounts.SMTPUser;
    clSMTP.Password = Accounts.SMTPPassword;
    clSMTP.Port = Accounts.SMTPPort;
    clSMTP.UseSSL = Accounts.SMTPUseSSL;
    clSMTP.UseSPA = Accounts.SMTPSPA;

    std::exception_ptr error;
    try {
        clSMTP.Open();
        TclMailMessage parser;
        parser.ParseLines(record->MailMessage());
        clSMTP.MailFrom = TclMailMessage::AddressOf(parser.From());
        QStringList recipients;
        for (const QString& r : parser.To() + parser.Cc() + parser.Bcc())
            recipients << TclMailMessage::AddressOf(r);
        clSMTP.Recipients = recipients;
        clSMTP.MailData = WithoutBccHeader(record->MailMessage());
        clSMTP.Send();
        record->SetStatus(msSent);
        if (Progress)
            Progress->StepIt();
    } catch (...) {
        keepFirst(error);
    }
    try {
        clSMTP.Close();
    } catch (...) {
        keepFirst(error);
    }
    if (Progress)
        Progress->HideProgress();
    if (error)
        std::rethrow_exception(error);
}
