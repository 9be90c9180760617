#pragma once
// An SMTP client: EHLO, AUTH (CRAM-MD5 with UseSPA, else PLAIN or LOGIN), MAIL FROM,
// RCPT TO, DATA with dot-stuffing, QUIT.
#include "components/mail/MailClient.h"

#include <QList>
#include <QStringList>

class TclSMTP : public TclMailClient {
    Q_OBJECT
public:
    explicit TclSMTP(QObject* parent = nullptr) : TclMailClient(parent) { Port = 25; }

    // Connects, greets, and logs in when UserName is set.
    void Open();
    QString MailFrom;
    QStringList Recipients; // bare addresses
    QList<QByteArray> MailData; // the message text, lines without terminators
    // Transfers MailData to every recipient.
    void Send();
    void Close();
};
