#pragma once
// TIETravelLog: the back and forward entries of one browser's history, relative to the
// page shown, and travel to a relative offset (negative = back).
#include <QPointer>
#include <QString>
#include <functional>

class TEmbeddedWB;

class TIETravelLog {
public:
    struct Entry {
        QString Title;
        QString Url;
    };
    // Called per entry, nearest first; return false to stop the listing.
    using EntryHandler = std::function<bool(const Entry&)>;

    void SetEmbeddedWB(TEmbeddedWB* browser);
    TEmbeddedWB* EmbeddedWB() const;
    // Checks that the browser still exists; false when there is none.
    bool Connect() const;

    void EnumerateBack(const EntryHandler& handler) const;
    void EnumerateForward(const EntryHandler& handler) const;
    // Goes offset entries back (negative) or forward; out of range does nothing.
    bool TravelTo(int offset) const;

private:
    QPointer<QObject> wb; // a TEmbeddedWB
};
