#include "search/SearchData.h"

#include "platform/Errors.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

namespace search {

QJsonObject ReadJsonObject(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot read %1: %2").arg(file, f.errorString()));
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        throw EInOutError(
            QStringLiteral("%1 is not a valid data file: %2").arg(file, err.errorString()));
    return doc.object();
}

} // namespace search
