#include "components/mail/POP3.h"

#include <QCryptographicHash>

namespace {
// The reply's text after "+OK"/"-ERR"; throws with what failed and the server's words.
QByteArray expectOk(TclMailSession& s, const QString& failure) {
    const QByteArray reply = s.ReadLine();
    if (reply.startsWith("+OK"))
        return reply.mid(3).trimmed();
    const QByteArray text = reply.startsWith("-ERR") ? reply.mid(4).trimmed() : reply;
    throw EclMailError(text.isEmpty() ? failure : failure + QStringLiteral(": ") + QString::fromUtf8(text));
}

QList<QByteArray> readMultiLine(TclMailSession& s) {
    QList<QByteArray> lines;
    while (true) {
        QByteArray line = s.ReadLine();
        if (line == ".")
            return lines;
        if (line.startsWith('.'))
            line.remove(0, 1);
        lines.append(line);
    }
}
} // namespace

void TclPOP3::Open() {
    const QByteArray user = UserName.toUtf8();
    const QByteArray pass = Password.toUtf8();
    const bool apop = UseSPA;
    OpenWith([&](TclMailSession& s) {
        const QByteArray greeting = expectOk(s, QStringLiteral("The server refused the connection"));
        const QString rejected = QStringLiteral("Your user name or password was rejected");
        if (apop) {
            const qsizetype from = greeting.indexOf('<');
            const qsizetype to = greeting.indexOf('>', from);
            if (from < 0 || to < 0)
                throw EclMailError(QStringLiteral("The server does not offer secure password authentication (APOP)"));
            const QByteArray digest =
                QCryptographicHash::hash(QByteArray(greeting.mid(from, to - from + 1) + pass), QCryptographicHash::Md5).toHex();
            s.WriteLine("APOP " + user + ' ' + digest);
            expectOk(s, rejected);
        } else {
            s.WriteLine("USER " + user);
            expectOk(s, rejected);
            s.WriteLine("PASS " + pass);
            expectOk(s, rejected);
        }
    });
}

QStringList TclPOP3::GetUIDList() {
    QStringList ids;
    Run([&](TclMailSession& s) {
        s.WriteLine("UIDL");
        expectOk(s, QStringLiteral("The server cannot list unique message ids (UIDL)"));
        for (const QByteArray& line : readMultiLine(s)) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 2)
                ids << QString::fromLatin1(fields[1]);
        }
    });
    return ids;
}

int TclPOP3::GetMessageCount() {
    int count = 0;
    Run([&](TclMailSession& s) {
        s.WriteLine("STAT");
        const QByteArray text = expectOk(s, QStringLiteral("The server cannot count the messages (STAT)"));
        bool ok = false;
        count = text.split(' ').value(0).toInt(&ok);
        if (!ok || count < 0)
            throw EclMailError(QStringLiteral("The server's message count is not a number: ") + QString::fromLatin1(text));
    });
    return count;
}

void TclPOP3::Retrieve(int index) {
    MessageSource.clear();
    QList<QByteArray> lines;
    Run([&](TclMailSession& s) {
        s.WriteLine("RETR " + QByteArray::number(index + 1));
        expectOk(s, QStringLiteral("The server cannot send message %1").arg(index + 1));
        lines = readMultiLine(s);
    });
    MessageSource = std::move(lines);
}

void TclPOP3::Delete(int index) {
    Run([&](TclMailSession& s) {
        s.WriteLine("DELE " + QByteArray::number(index + 1));
        expectOk(s, QStringLiteral("The server cannot delete message %1").arg(index + 1));
    });
}

void TclPOP3::Close() {
    CloseWith([](TclMailSession& s) {
        s.WriteLine("QUIT");
        expectOk(s, QStringLiteral("The server did not end the session"));
    });
}
