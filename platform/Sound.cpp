#include "platform/Sound.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

bool PlaySoundFile(const QString& fileName) {
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile())
        return false;
    // The first player the system has: PipeWire, PulseAudio, ALSA.
    static const QStringList players = {QStringLiteral("pw-play"), QStringLiteral("paplay"), QStringLiteral("aplay")};
    for (const QString& player : players) {
        const QString exe = QStandardPaths::findExecutable(player);
        if (exe.isEmpty())
            continue;
        QStringList args;
        if (player == QLatin1String("aplay"))
            args << QStringLiteral("-q");
        args << fileName;
        return QProcess::startDetached(exe, args);
    }
    return false;
}
