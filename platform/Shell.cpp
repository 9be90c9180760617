#include "platform/Shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

bool ShellOpen(const QString& target) {
    const QString t = target.trimmed();
    if (t.isEmpty())
        return false;
    QUrl url;
    if (QFileInfo::exists(t))
        url = QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath());
    else
        url = QUrl::fromUserInput(t);
    return url.isValid() && QDesktopServices::openUrl(url);
}

QString SpecialFolderPath(SpecialFolder folder) {
    QStandardPaths::StandardLocation loc = QStandardPaths::HomeLocation;
    switch (folder) {
    case SpecialFolder::Desktop: loc = QStandardPaths::DesktopLocation; break;
    case SpecialFolder::Documents: loc = QStandardPaths::DocumentsLocation; break;
    case SpecialFolder::Music: loc = QStandardPaths::MusicLocation; break;
    case SpecialFolder::Pictures: loc = QStandardPaths::PicturesLocation; break;
    case SpecialFolder::Downloads: loc = QStandardPaths::DownloadLocation; break;
    case SpecialFolder::Temp: loc = QStandardPaths::TempLocation; break;
    case SpecialFolder::Home: loc = QStandardPaths::HomeLocation; break;
    case SpecialFolder::AppData: loc = QStandardPaths::AppDataLocation; break;
    case SpecialFolder::Fonts: loc = QStandardPaths::FontsLocation; break;
    }
    const QString path = QStandardPaths::writableLocation(loc);
    return path.isEmpty() ? QString() : QDir::toNativeSeparators(QDir::cleanPath(path));
}
