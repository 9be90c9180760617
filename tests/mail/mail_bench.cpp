// Benchmark driver for bench/mailstore.sh and bench/pop3.sh (not a test).
//   mail_bench store <count> <folder>       save and load a store of <count> messages
//   mail_bench pop3 <port> <user> <password> <folder>   receive everything into a store
// Prints "<seconds> <megabytes>" per measured step.
#include "mail/MailTransfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.value(1) == QLatin1String("store") && args.size() == 4) {
            const int count = args[2].toInt();
            const QString file = args[3] + QStringLiteral("/messages.dat");
            TclMailMessageList list;
            QList<QByteArray> lines;
            for (int l = 0; l < 80; ++l)
                lines << QByteArray("Line ") + QByteArray::number(l) + ' ' + QByteArray(56, 'x');
            list.BeginUpdate();
            for (int i = 0; i < count; ++i) {
                TclMailMessageItem* r = list.Add();
                r->SetMailMessage(lines);
                r->SetStatus(msInbox);
                r->SetUID(QString::number(i));
            }
            list.EndUpdate();
            QElapsedTimer t;
            t.start();
            list.SaveToFile(file);
            const double mb = QFileInfo(file).size() / 1e6;
            std::printf("save %.3f %.2f\n", t.nsecsElapsed() / 1e9, mb);
            t.restart();
            TclMailMessageList back;
            back.LoadFromFile(file);
            std::printf("load %.3f %.2f\n", t.nsecsElapsed() / 1e9, mb);
            return back.Count() == count ? 0 : 1;
        }
        if (args.value(1) == QLatin1String("pop3") && args.size() == 6) {
            TclMailMessageList list;
            TclMailAccounts account;
            account.POP3Server = QStringLiteral("127.0.0.1");
            account.POP3Port = args[2].toInt();
            account.POP3User = args[3];
            account.POP3Password = args[4];
            account.LeaveMessage = true;
            TclPOP3 pop3;
            TclSMTP smtp;
            TMailTransfer transfer(list, account, pop3, smtp);
            const QString file = args[5] + QStringLiteral("/messages.dat");
            transfer.SaveStore = [&] { list.SaveToFile(file); };
            QElapsedTimer t;
            t.start();
            transfer.ReceiveMessages();
            std::printf("%.3f %.2f %d\n", t.nsecsElapsed() / 1e9, QFileInfo(file).size() / 1e6, list.Count());
            return 0;
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: mail_bench store <count> <folder> | pop3 <port> <user> <password> <folder>\n");
    return 2;
}
