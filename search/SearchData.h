#pragma once
// Reading the program's data tables (JSON files shipped as resources).
#include <QJsonObject>
#include <QString>

namespace search {

// The top-level object of the JSON file; throws EInOutError when the file cannot be
// read or is not a JSON object.
QJsonObject ReadJsonObject(const QString& file);

} // namespace search
