#pragma once
// Receiving into the store over POP3 and sending one stored record over SMTP.
#include "components/mail/POP3.h"
#include "components/mail/SMTP.h"
#include "mail/MessagePersister.h"

#include <functional>

// What a transfer shows while it runs (the progress window).
class TMailTransferProgress {
public:
    virtual ~TMailTransferProgress() = default;
    virtual void ShowRetrieve(int maximum) = 0;
    virtual void ShowSend(int maximum) = 0;
    virtual void SetMaximum(int maximum) = 0;
    virtual void StepIt() = 0;
    virtual void HideProgress() = 0;
};

class TMailTransfer {
public:
    TMailTransfer(TclMailMessageList& messages, TclMailAccounts& accounts, TclPOP3& pop3, TclSMTP& smtp)
        : Messages(messages), Accounts(accounts), clPOP3(pop3), clSMTP(smtp) {}

    TclMailMessageList& Messages;
    TclMailAccounts& Accounts;
    TclPOP3& clPOP3;
    TclSMTP& clSMTP;
    TMailTransferProgress* Progress = nullptr;
    // Writes the store to disk; called after the messages are received and before the
    // server is told to commit its deletions.
    std::function<void()> SaveStore;
    // Set by the progress window's Stop; looked at between two messages of a receive.
    bool StopRequested = false;

    // Receives every message whose UID is not yet stored into the Inbox, deleting server
    // copies unless the account leaves them. Throws the first error after cleaning up.
    void ReceiveMessages();
    // Moves the record to the Outbox and, when the account sends immediately, sends it
    // and moves it to Sent Items. Throws on failure; the record then stays in the Outbox.
    void SendMessage(TclMailMessageItem* record);

    // The source without its Bcc header (folded lines included): Bcc recipients get the
    // message through the envelope only.
    static QList<QByteArray> WithoutBccHeader(const QList<QByteArray>& lines);
};
