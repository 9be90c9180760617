#pragma once
// The typed-address list shared with the system's browser: values "Url1".."Url25" under
// HKEY_CURRENT_USER "Software\Microsoft\Internet Explorer\TypedURLs", most recent first.
#include <QString>
#include <QStringList>

class TRegistry;
class TUrlHistory;

class TTypedUrls {
public:
    static constexpr int MaxCount = 25;
    static const QString Key;

    explicit TTypedUrls(TRegistry& registry) : registry(registry) {}

    // The list in order; missing numbers are skipped, empty values dropped.
    QStringList Load() const;
    // Puts the address (trimmed) at the top; an earlier copy is removed, the list is cut
    // to 25 and written back. An empty address changes nothing.
    void Add(const QString& address);

private:
    TRegistry& registry;
};

// Suggestions for the text typed so far: typed addresses first, then visited ones,
// each once, matching anywhere in the address (or the title of a visited page), letter
// case ignored; at most limit entries.
QStringList AddressCompletions(const QString& text, const QStringList& typed, const TUrlHistory* history,
                               int limit = 15);

// "Security Level" names of the levels the browser reports; other levels give "".
QString SecurityLevelName(int level);

// The start page: "Start Page" under HKEY_CURRENT_USER "Software\Microsoft\Internet
// Explorer\Main", or "" when none is set.
QString StartPageOf(TRegistry& registry);
