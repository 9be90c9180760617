#pragma once
// TUrlHistory: the addresses the browsers visited, with title, last visit, last update
// and expiry, kept in a small JSON file that is rewritten atomically on every change.
// Fed by every browser tab (navigations and titles); read by the address box's
// completions and the URL-history viewer.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

struct TUrlHistoryEntry {
    QString Url;
    QString Title;
    QDateTime LastVisited;
    QDateTime LastUpdated;
    QDateTime Expires;
};

class TUrlHistory : public QObject {
    Q_OBJECT
public:
    // fileName "" keeps the history in memory only. Entries older than their expiry are
    // dropped when the file is read.
    explicit TUrlHistory(QString fileName, int daysToKeep = 20, QObject* parent = nullptr);

    // Records a visit now (or at the given time). Addresses that are not worth keeping
    // (empty, about:, data:, javascript:) are ignored.
    void Visit(const QString& url, const QDateTime& when = QDateTime::currentDateTimeUtc());
    void SetTitle(const QString& url, const QString& title);
    bool Delete(const QString& url);
    void Clear();

    // Most recent visit first.
    QVector<TUrlHistoryEntry> Entries() const;
    const TUrlHistoryEntry* Find(const QString& url) const;
    QString FileName() const { return fileName; }

    // Failures to write are reported here instead of interrupting browsing.
    QString LastError() const { return lastError; }

signals:
    void Changed();

private:
    void load();
    void save();
    int indexOf(const QString& url) const;

    QString fileName;
    int daysToKeep;
    QVector<TUrlHistoryEntry> entries; // unordered
    QString lastError;
};
