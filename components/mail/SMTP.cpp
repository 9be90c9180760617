#include "components/mail/SMTP.h"

#include <QMessageAuthenticationCode>
#include <QSysInfo>

namespace {
struct Reply {
    int code = 0;
    QList<QByteArray> lines;
    QString text() const {
        QStringList parts;
        for (const QByteArray& l : lines)
            parts << QString::fromUtf8(l);
        return parts.join(QLatin1Char(' '));
    }
};

Reply readReply(TclMailSession& s) {
    Reply r;
    while (true) {
        const QByteArray line = s.ReadLine();
        bool ok = false;
        const int code = line.left(3).toInt(&ok);
        if (!ok)
            throw EclMailError(QStringLiteral("The server's reply is not SMTP: ") + QString::fromUtf8(line));
        r.code = code;
        r.lines << line.mid(4);
        if (line.size() < 4 || line[3] != '-')
            return r;
    }
}

Reply expect(TclMailSession& s, std::initializer_list<int> codes, const QString& failure) {
    Reply r = readReply(s);
    for (int c : codes)
        if (r.code == c)
            return r;
    throw EclMailError(failure + QStringLiteral(": ") + QString::number(r.code) + QLatin1Char(' ') + r.text());
}

QByteArray commandReply(TclMailSession& s, const QByteArray& command, std::initializer_list<int> codes, const QString& failure) {
    s.WriteLine(command);
    return expect(s, codes, failure).lines.join(' ');
}
} // namespace

void TclSMTP::Open() {
    const QByteArray user = UserName.toUtf8();
    const QByteArray pass = Password.toUtf8();
    const bool spa = UseSPA;
    QByteArray host = QSysInfo::machineHostName().toLatin1();
    if (host.isEmpty())
        host = "localhost";
    OpenWith([&](TclMailSession& s) {
        expect(s, {220}, QStringLiteral("The server refused the connection"));
        s.WriteLine("EHLO " + host);
        Reply hello = readReply(s);
        if (hello.code != 250) {
            s.WriteLine("HELO " + host);
            hello = expect(s, {250}, QStringLiteral("The server refused the greeting"));
        }
        if (user.isEmpty())
            return;
        QList<QByteArray> mechanisms;
        for (const QByteArray& line : hello.lines)
            if (line.toUpper().startsWith("AUTH"))
                mechanisms << line.toUpper().mid(5).simplified().split(' ');
        const QString rejected = QStringLiteral("Your user name or password was rejected");
        if (spa) {
            if (!mechanisms.contains("CRAM-MD5"))
                throw EclMailError(QStringLiteral("The server does not offer secure password authentication (CRAM-MD5)"));
            const QByteArray challenge = QByteArray::fromBase64(commandReply(s, "AUTH CRAM-MD5", {334}, rejected));
            const QByteArray digest = QMessageAuthenticationCode::hash(challenge, pass, QCryptographicHash::Md5).toHex();
            commandReply(s, QByteArray(user + " " + digest).toBase64(), {235}, rejected);
        } else if (mechanisms.contains("PLAIN")) {
            commandReply(s, "AUTH PLAIN " + QByteArray(QByteArray(1, 0) + user + QByteArray(1, 0) + pass).toBase64(), {235}, rejected);
        } else if (mechanisms.contains("LOGIN")) {
            commandReply(s, "AUTH LOGIN", {334}, rejected);
            commandReply(s, user.toBase64(), {334}, rejected);
            commandReply(s, pass.toBase64(), {235}, rejected);
        } else {
            throw EclMailError(QStringLiteral("The server does not offer a log-in method this program knows"));
        }
    });
}

void TclSMTP::Send() {
    if (Recipients.isEmpty())
        throw EclMailError(QStringLiteral("The message has no recipients"));
    const QByteArray from = MailFrom.toUtf8();
    QList<QByteArray> to;
    for (const QString& r : Recipients)
        to << r.toUtf8();
    // Dot-stuffing: a line starting with "." gets one more.
    QByteArray data;
    for (const QByteArray& line : MailData) {
        if (line.startsWith('.'))
            data += '.';
        data += line;
        data += "\r\n";
    }
    data += ".\r\n";
    Run([&](TclMailSession& s) {
        try {
            commandReply(s, "MAIL FROM:<" + from + '>', {250}, QStringLiteral("The server refused the sender"));
            for (const QByteArray& r : to)
                commandReply(s, "RCPT TO:<" + r + '>', {250, 251},
                             QStringLiteral("The server refused the recipient %1").arg(QString::fromUtf8(r)));
            commandReply(s, "DATA", {354}, QStringLiteral("The server refused the message"));
        } catch (const EclMailError&) {
            try { // best effort: leave the session clean for another message
                if (s.IsOpen()) {
                    s.WriteLine("RSET");
                    readReply(s);
                }
            } catch (const EclMailError&) {
            }
            throw;
        }
        s.Write(data);
        expect(s, {250}, QStringLiteral("The server refused the message"));
    });
}

void TclSMTP::Close() {
    CloseWith([](TclMailSession& s) {
        s.WriteLine("QUIT");
        expect(s, {221}, QStringLiteral("The server did not end the session"));
    });
}
