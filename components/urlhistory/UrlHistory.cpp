#include "components/urlhistory/UrlHistory.h"

#include "platform/Errors.h"
#include "platform/Files.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {
bool WorthKeeping(const QString& url) {
    const QString u = url.trimmed().toLower();
    return !u.isEmpty() && !u.startsWith(QLatin1String("about:")) && !u.startsWith(QLatin1String("data:")) &&
           !u.startsWith(QLatin1String("javascript:")) && !u.startsWith(QLatin1String("chrome-error:"));
}
QString Stamp(const QDateTime& t) { return t.toUTC().toString(Qt::ISODate); }
QDateTime FromStamp(const QJsonValue& v) { return QDateTime::fromString(v.toString(), Qt::ISODate); }
} // namespace

TUrlHistory::TUrlHistory(QString file, int days, QObject* parent)
    : QObject(parent), fileName(std::move(file)), daysToKeep(days) {
    load();
}

int TUrlHistory::indexOf(const QString& url) const {
    for (int i = 0; i < entries.size(); ++i)
        if (entries[i].Url == url)
            return i;
    return -1;
}

void TUrlHistory::Visit(const QString& rawUrl, const QDateTime& when) {
    const QString url = rawUrl.trimmed();
    if (!WorthKeeping(url))
        return;
    int i = indexOf(url);
    if (i < 0) {
        entries.push_back({url, QString(), when, when, when.addDays(daysToKeep)});
    } else {
        entries[i].LastVisited = when;
        entries[i].Expires = when.addDays(daysToKeep);
    }
    save();
    emit Changed();
}

void TUrlHistory::SetTitle(const QString& rawUrl, const QString& title) {
    const int i = indexOf(rawUrl.trimmed());
    if (i < 0 || entries[i].Title == title)
        return;
    entries[i].Title = title;
    entries[i].LastUpdated = QDateTime::currentDateTimeUtc();
    save();
    emit Changed();
}

bool TUrlHistory::Delete(const QString& url) {
    const int i = indexOf(url);
    if (i < 0)
        return false;
    entries.removeAt(i);
    save();
    emit Changed();
    return true;
}

void TUrlHistory::Clear() {
    entries.clear();
    save();
    emit Changed();
}

QVector<TUrlHistoryEntry> TUrlHistory::Entries() const {
    QVector<TUrlHistoryEntry> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TUrlHistoryEntry& a, const TUrlHistoryEntry& b) { return a.LastVisited > b.LastVisited; });
    return sorted;
}

const TUrlHistoryEntry* TUrlHistory::Find(const QString& url) const {
    const int i = indexOf(url);
    return i < 0 ? nullptr : &entries[i];
}

void TUrlHistory::load() {
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return;
    QByteArray data;
    try {
        data = ReadWholeFile(fileName);
    } catch (const Exception& e) {
        lastError = e.Message;
        return;
    }
    // A damaged file gives an empty history; it is replaced at the next visit.
    const QJsonArray list = QJsonDocument::fromJson(data).object().value(QStringLiteral("entries")).toArray();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        TUrlHistoryEntry e{o.value(QStringLiteral("url")).toString(), o.value(QStringLiteral("title")).toString(),
                           FromStamp(o.value(QStringLiteral("visited"))), FromStamp(o.value(QStringLiteral("updated"))),
                           FromStamp(o.value(QStringLiteral("expires")))};
        if (!WorthKeeping(e.Url) || !e.LastVisited.isValid() || indexOf(e.Url) >= 0)
            continue;
        if (e.Expires.isValid() && e.Expires < now)
            continue;
        entries.push_back(e);
    }
}

void TUrlHistory::save() {
    if (fileName.isEmpty())
        return;
    QJsonArray list;
    for (const TUrlHistoryEntry& e : entries)
        list.append(QJsonObject{{QStringLiteral("url"), e.Url},
                                {QStringLiteral("title"), e.Title},
                                {QStringLiteral("visited"), Stamp(e.LastVisited)},
                                {QStringLiteral("updated"), Stamp(e.LastUpdated)},
                                {QStringLiteral("expires"), Stamp(e.Expires)}});
    try {
        SaveFileAtomically(fileName, QJsonDocument(QJsonObject{{QStringLiteral("entries"), list}}).toJson());
        lastError.clear();
    } catch (const Exception& e) {
        lastError = e.Message;
    }
}
