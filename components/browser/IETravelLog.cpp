#include "components/browser/IETravelLog.h"

#include "components/browser/EmbeddedWB.h"

#include <QWebEngineHistory>

namespace {
TIETravelLog::Entry EntryOf(const QWebEngineHistoryItem& item) {
    QString title = item.title();
    const QString url = item.url().toString();
    return {title.isEmpty() ? url : title, url};
}
} // namespace

void TIETravelLog::SetEmbeddedWB(TEmbeddedWB* browser) { wb = browser; }
TEmbeddedWB* TIETravelLog::EmbeddedWB() const { return static_cast<TEmbeddedWB*>(wb.data()); }
bool TIETravelLog::Connect() const { return !wb.isNull(); }

void TIETravelLog::EnumerateBack(const EntryHandler& handler) const {
    if (!wb)
        return;
    QWebEngineHistory* h = EmbeddedWB()->history();
    for (int i = h->currentItemIndex() - 1; i >= 0; --i)
        if (!handler(EntryOf(h->itemAt(i))))
            return;
}

void TIETravelLog::EnumerateForward(const EntryHandler& handler) const {
    if (!wb)
        return;
    QWebEngineHistory* h = EmbeddedWB()->history();
    for (int i = h->currentItemIndex() + 1; i < h->count(); ++i)
        if (!handler(EntryOf(h->itemAt(i))))
            return;
}

bool TIETravelLog::TravelTo(int offset) const {
    if (!wb || offset == 0)
        return false;
    QWebEngineHistory* h = EmbeddedWB()->history();
    const int index = h->currentItemIndex() + offset;
    if (index < 0 || index >= h->count())
        return false;
    h->goToItem(h->itemAt(index));
    return true;
}
