#include "search/SearchEngines.h"

#include "platform/Errors.h"
#include "search/SearchData.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

namespace search {

namespace {

bool SameAsciiCaseless(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'A' && x <= u'Z')
            x = x - u'A' + u'a';
        if (y >= u'A' && y <= u'Z')
            y = y - u'A' + u'a';
        if (x != y)
            return false;
    }
    return true;
}

TextMode ModeOf(const QString& name, const QString& file) {
    static const QList<std::pair<QString, TextMode>> modes = {
        {QStringLiteral("typed"), TextMode::Typed},
        {QStringLiteral("dash"), TextMode::Dash},
        {QStringLiteral("plus"), TextMode::Plus},
        {QStringLiteral("address"), TextMode::Address},
        {QStringLiteral("none"), TextMode::None},
        {QStringLiteral("highlight"), TextMode::Highlight}};
    for (const auto& [key, mode] : modes)
        if (key == name)
            return mode;
    throw EInOutError(QStringLiteral("Unknown text mode \"%1\" in %2").arg(name, file));
}

} // namespace

int IndexOfName(const QString& text, const QStringList& names) {
    for (qsizetype i = 0; i < names.size(); ++i)
        if (SameAsciiCaseless(text, names[i]))
            return int(i);
    return -1;
}

QString SpacesToDash(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char(' '), QLatin1Char('-'));
}

QString SpacesToPlus(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char(' '), QLatin1Char('+'));
}

QString EncodeQueryValue(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

QStringList TSearchEndpoints::Names() const {
    QStringList names;
    for (const auto& e : entries)
        names << e.Name;
    return names;
}

QStringList TSearchEndpoints::ComboItems() const {
    QStringList items;
    for (int code = 0; code < entries.size(); ++code)
        items << (IsSeparator(code) ? separatorRow : entries[code].Name);
    return items;
}

bool TSearchEndpoints::IsSeparator(int code) const {
    return code >= 0 && code < entries.size() && entries[code].Name == QLatin1String("*");
}

int TSearchEndpoints::EngineCodeOf(const QString& text) const {
    const int code = IndexOfName(text, Names());
    if (code < 0 || IsSeparator(code))
        return GoogleCode;
    return code;
}

QString TSearchEndpoints::ComposeSearchAddress(int code, const QString& text) const {
    if (code < 0 || code >= entries.size() || IsSeparator(code))
        code = GoogleCode;
    const TSearchEndpoint& e = entries[code];
    QString inserted;
    switch (e.Mode) {
    case TextMode::Highlight:
        return {};
    case TextMode::None:
        break;
    case TextMode::Typed:
        inserted = EncodeQueryValue(text);
        break;
    case TextMode::Dash:
        inserted = EncodeQueryValue(SpacesToDash(text));
        break;
    case TextMode::Plus:
        // Only the spaces become "+": a "+" that was typed is sent as %2B.
        inserted = EncodeQueryValue(text).replace(QStringLiteral("%20"), QStringLiteral("+"));
        break;
    case TextMode::Address:
        // The text is an address for the service to act on: keep its structure, make
        // spaces, "#" and non-ASCII characters safe inside ours.
        inserted = QString::fromLatin1(QUrl::toPercentEncoding(text, ":/?&=@;,+$!~*'()[]%"));
        break;
    }
    return e.Front + inserted + e.Suffix;
}

TSearchEndpoints InitSearchEndpoints(const QString& dataFile) {
    const QString file = dataFile.isEmpty() ? QStringLiteral(":/search/engines.json") : dataFile;
    const QJsonObject root = ReadJsonObject(file);
    const QJsonArray list = root.value(QLatin1String("engines")).toArray();
    if (list.size() != EngineCount)
        throw EInOutError(QStringLiteral("%1 lists %2 engines instead of %3")
                              .arg(file)
                              .arg(list.size())
                              .arg(EngineCount));
    TSearchEndpoints table;
    table.separatorRow = root.value(QLatin1String("separatorRow")).toString();
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        TSearchEndpoint e;
        e.Name = o.value(QLatin1String("name")).toString();
        e.Front = o.value(QLatin1String("front")).toString();
        e.Suffix = o.value(QLatin1String("suffix")).toString();
        e.Mode = ModeOf(o.value(QLatin1String("text")).toString(QStringLiteral("typed")), file);
        if (e.Name.isEmpty())
            throw EInOutError(
                QStringLiteral("%1: engine %2 has no name").arg(file).arg(table.entries.size()));
        if (e.Name != QLatin1String("*") && e.Mode != TextMode::Highlight && e.Front.isEmpty())
            throw EInOutError(QStringLiteral("%1: engine \"%2\" has no address").arg(file, e.Name));
        table.entries << e;
    }
    return table;
}

} // namespace search
