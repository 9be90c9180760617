// Drives the FTP engine from the command line for bench/ftp.sh:
//   ftp_bench PORT active|passive get|put|list REMOTE LOCAL
// logs on anonymously to 127.0.0.1:PORT, does one operation and prints the seconds it
// took (log-on excluded) and, for a listing, the number of entries.
#include "components/ftp/TipwFTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() < 6) {
        std::fprintf(stderr, "usage: ftp_bench PORT active|passive get|put|list REMOTE LOCAL\n");
        return 2;
    }
    TipwFTP ftp;
    ftp.RemoteHost = QStringLiteral("127.0.0.1");
    ftp.RemotePort = a[1].toInt();
    ftp.User = QStringLiteral("anonymous");
    ftp.Password = QStringLiteral("bench@example.com");
    ftp.Passive = a[2] == QStringLiteral("passive");
    ftp.Overwrite = true;
    ftp.TransferMode = TipwFTP::tmBinary;
    qint64 entries = 0;
    QObject::connect(&ftp, &TipwFTP::OnDirList, [&] { ++entries; });
    try {
        ftp.Logon();
        QElapsedTimer t;
        t.start();
        if (a[3] == QStringLiteral("list")) {
            ftp.SetRemotePath(a[4]);
            ftp.ListDirectoryLong();
        } else {
            ftp.RemoteFile = a[4];
            ftp.LocalFile = a[5];
            a[3] == QStringLiteral("put") ? ftp.Upload() : ftp.Download();
        }
        std::printf("%.3f %lld\n", t.nsecsElapsed() / 1e9, entries);
        ftp.Logoff();
    } catch (const EipwFTP& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message));
        return 1;
    }
    return 0;
}
