// Grabs one site with TclMultiDownLoader and prints how many items completed.
// Usage: grab_tool URL FOLDER MAXNESTLEVEL
#include "components/downloader/MultiDownLoader.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: grab_tool URL FOLDER MAXNESTLEVEL\n");
        return 2;
    }
    TclMultiDownLoader dl;
    dl.GrabOptions = gaGrabImages;
    dl.LocalFolder = QString::fromLocal8Bit(argv[2]);
    int completed = 0;
    QObject::connect(&dl, &TclMultiDownLoader::OnProcessCompleted,
                     [&](const TclDownLoadItem&) { ++completed; });
    QObject::connect(&dl, &TclMultiDownLoader::OnIsBusyChanged, [&] {
        if (!dl.IsBusy())
            app.quit();
    });
    dl.Start(QString::fromLocal8Bit(argv[1]), QByteArray(argv[3]).toInt());
    app.exec();
    std::printf("%d\n", completed);
    return 0;
}
