#include "browser/TypedUrls.h"

#include "components/urlhistory/UrlHistory.h"
#include "platform/Errors.h"
#include "platform/Registry.h"

const QString TTypedUrls::Key = QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\TypedURLs");

namespace {
QString ValueName(int n) { return QStringLiteral("Url") + QString::number(n); }
} // namespace

QStringList TTypedUrls::Load() const {
    QStringList list;
    if (!registry.OpenKeyReadOnly(Key))
        return list;
    for (int n = 1; n <= MaxCount; ++n) {
        if (!registry.ValueExists(ValueName(n)))
            continue;
        QString v;
        try {
            v = registry.ReadString(ValueName(n)).trimmed();
        } catch (const ERegistryException&) {
            continue; // a value of another type is not an address
        }
        if (!v.isEmpty() && !list.contains(v))
            list << v;
    }
    registry.CloseKey();
    return list;
}

void TTypedUrls::Add(const QString& address) {
    const QString url = address.trimmed();
    if (url.isEmpty())
        return;
    QStringList list = Load();
    list.removeAll(url);
    list.prepend(url);
    while (list.size() > MaxCount)
        list.removeLast();
    if (!registry.OpenKey(Key, true))
        throw ERegistryException(QStringLiteral("Cannot open the typed-address list."));
    for (int n = 1; n <= MaxCount; ++n) {
        if (n <= list.size())
            registry.WriteString(ValueName(n), list[n - 1]);
        else if (registry.ValueExists(ValueName(n)))
            registry.DeleteValue(ValueName(n));
    }
    registry.CloseKey();
}

QStringList AddressCompletions(const QString& text, const QStringList& typed, const TUrlHistory* history, int limit) {
    QStringList out;
    const QString t = text.trimmed();
    if (t.isEmpty())
        return out;
    auto add = [&](const QString& url) {
        if (out.size() < limit && !out.contains(url, Qt::CaseInsensitive))
            out << url;
    };
    for (const QString& u : typed)
        if (u.contains(t, Qt::CaseInsensitive))
            add(u);
    if (history)
        for (const TUrlHistoryEntry& e : history->Entries())
            if (e.Url.contains(t, Qt::CaseInsensitive) || e.Title.contains(t, Qt::CaseInsensitive))
                add(e.Url);
    return out;
}

QString SecurityLevelName(int level) {
    static const char* const names[] = {"UnSecure", "Mixed", "Unknown Bits", "40 Bit", "56 Bit", "Fortezza", "128 Bit"};
    if (level < 0 || level > 6)
        return {};
    return QString::fromLatin1(names[level]);
}

QString StartPageOf(TRegistry& registry) {
    if (!registry.OpenKeyReadOnly(QStringLiteral("\\Software\\Microsoft\\Internet Explorer\\Main")))
        return {};
    QString page;
    try {
        page = registry.ReadString(QStringLiteral("Start Page")).trimmed();
    } catch (const ERegistryException&) {
    }
    registry.CloseKey();
    return page;
}
