#pragma once
// A mail message over GMime: parse source lines into header fields and a tree of bodies,
// hand attachment and image bodies to a get-body-stream callback, and build a source
// again from the header fields and the bodies of the last parse.
#include "platform/Errors.h"

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

enum class TclMessagePriority { mpLow = 0, mpNormal = 1, mpHigh = 2 };

enum class TclBodyKind { Text, Multipart, Attachment, Image };

struct TclMessageBody {
    TclBodyKind Kind = TclBodyKind::Text;
    QString ContentType; // "text/html", "image/png", ...
    // For attachments and images: a plain file name (no folders, never empty).
    QString FileName;
    QString ContentId; // without the angle brackets
    QStringList Lines; // text bodies, decoded from their charset
    std::vector<TclMessageBody> Parts; // multipart bodies
};

// A body could not be written, or a source could not be built.
class EMailMessageError : public Exception {
public:
    using Exception::Exception;
};

class TclMailMessage {
public:
    // Returns the device a body is written into, or null to skip it. The device is closed
    // and released after writing.
    using GetBodyStream = std::function<std::unique_ptr<QIODevice>(const TclMessageBody& body, const QString& fileName)>;

    TclMailMessage();
    ~TclMailMessage();
    TclMailMessage(const TclMailMessage&) = delete;
    TclMailMessage& operator=(const TclMailMessage&) = delete;

    GetBodyStream OnGetBodyStream;
    QString CharSet = QStringLiteral("iso-8859-1");
    QString ContentType = QStringLiteral("text/plain");
    QString MailAgent = QStringLiteral("Clever Internet Suite v 5.0");

    void Clear();
    // Parses the lines (no terminators); never fails on malformed mail. Throws
    // EMailMessageError when a body cannot be written to its stream.
    void ParseLines(const QList<QByteArray>& lines);

    QString From() const { return from; }
    QString Subject() const { return subject; }
    QDateTime Date() const { return date; }
    TclMessagePriority Priority() const { return priority; }
    QStringList To() const { return to; }
    QStringList Cc() const { return cc; }
    QStringList Bcc() const { return bcc; }
    const std::vector<TclMessageBody>& Bodies() const { return bodies; }

    void SetFrom(const QString& value) { from = value; }
    void SetSubject(const QString& value) { subject = value; }
    void SetPriority(TclMessagePriority value) { priority = value; }
    void SetTo(const QStringList& value) { to = value; }
    void SetCc(const QStringList& value) { cc = value; }
    void SetBcc(const QStringList& value) { bcc = value; }

    // The header fields above over the bodies of the last parse (an empty text body when
    // there was none), as source lines without terminators.
    QList<QByteArray> BuildSource() const;

    // Splits an address field typed by a user ("a@b, Name <c@d>; e@f") into addresses.
    static QStringList SplitAddresses(const QString& text);
    // "Name <address>", the name quoted where needed.
    static QString FormatAddress(const QString& name, const QString& address);
    // The bare address of "Name <address>" (or of a bare address).
    static QString AddressOf(const QString& mailbox);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    QString from, subject;
    QDateTime date;
    TclMessagePriority priority = TclMessagePriority::mpNormal;
    QStringList to, cc, bcc;
    std::vector<TclMessageBody> bodies;
};
