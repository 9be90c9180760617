#pragma once
// A POP3 client: USER/PASS or APOP log-in, UIDL, STAT, RETR, DELE, QUIT.
#include "components/mail/MailClient.h"

#include <QList>
#include <QStringList>

class TclPOP3 : public TclMailClient {
    Q_OBJECT
public:
    explicit TclPOP3(QObject* parent = nullptr) : TclMailClient(parent) { Port = 110; }

    // Connects and logs in (APOP when UseSPA is set).
    void Open();
    // UIDL: one id per message, in server order.
    QStringList GetUIDList();
    // STAT: the number of messages.
    int GetMessageCount();
    // RETR of index + 1; the source is then in MessageSource (lines without terminators).
    void Retrieve(int index);
    QList<QByteArray> MessageSource;
    // DELE of index + 1; takes effect at Close.
    void Delete(int index);
    // QUIT (commits deletions) and disconnect; disconnects even when QUIT fails.
    void Close();
};
