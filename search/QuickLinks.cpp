#include "search/QuickLinks.h"

#include "platform/Errors.h"
#include "search/SearchData.h"
#include "search/SearchEngines.h"

#include <QJsonArray>
#include <QJsonObject>

namespace search {

namespace {

QString Required(const QJsonObject& o, const char* key, const QString& file) {
    const QString value = o.value(QLatin1String(key)).toString();
    if (value.isEmpty())
        throw EInOutError(
            QStringLiteral("%1: an entry has no \"%2\"").arg(file, QLatin1String(key)));
    return value;
}

} // namespace

QVector<TQuickLinkMenu> LoadQuickLinks(const QString& dataFile) {
    const QString file = dataFile.isEmpty() ? QStringLiteral(":/search/quicklinks.json") : dataFile;
    QVector<TQuickLinkMenu> menus;
    for (const QJsonValue& mv : ReadJsonObject(file).value(QLatin1String("menus")).toArray()) {
        const QJsonObject m = mv.toObject();
        TQuickLinkMenu menu;
        menu.Caption = Required(m, "caption", file);
        for (const QJsonValue& iv : m.value(QLatin1String("items")).toArray()) {
            const QJsonObject i = iv.toObject();
            TQuickLink link;
            if (!i.value(QLatin1String("separator")).toBool()) {
                link.Caption = Required(i, "caption", file);
                link.Handler = Required(i, "handler", file);
                link.Address = Required(i, "address", file);
            }
            menu.Items << link;
        }
        menus << menu;
    }
    if (menus.isEmpty())
        throw EInOutError(QStringLiteral("%1 holds no quick-link menus").arg(file));
    return menus;
}

QVector<TTranslation> LoadTranslations(const QString& dataFile) {
    const QString file =
        dataFile.isEmpty() ? QStringLiteral(":/search/translations.json") : dataFile;
    QVector<TTranslation> list;
    for (const QJsonValue& v :
         ReadJsonObject(file).value(QLatin1String("translations")).toArray()) {
        const QJsonObject o = v.toObject();
        list << TTranslation{Required(o, "caption", file), Required(o, "handler", file),
                             Required(o, "front", file),
                             o.value(QLatin1String("separatorAfter")).toBool()};
    }
    if (list.isEmpty())
        throw EInOutError(QStringLiteral("%1 holds no translation entries").arg(file));
    return list;
}

QString TranslationAddress(const QString& front, const QString& pageAddress) {
    return front + EncodeQueryValue(pageAddress);
}

QString MailtoLink(const QString& title, const QString& address) {
    return QStringLiteral("mailto:?subject=") + EncodeQueryValue(title) + QStringLiteral("&body=") +
           EncodeQueryValue(address);
}

} // namespace search
