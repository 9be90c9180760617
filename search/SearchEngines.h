#pragma once
// The search engine list and the endpoint table: which service an engine name stands
// for and how a search text becomes that service's address.
#include <QString>
#include <QStringList>
#include <QVector>

namespace search {

// Engine codes with a meaning of their own.
constexpr int GoogleCode = 0;
constexpr int CurrentPageCode = 21;
constexpr int PriceWiseCode = 40;
constexpr int EngineCount = 49;

// How an engine inserts the search text into its address.
enum class TextMode {
    Typed,    // the text as typed (percent-encoded)
    Dash,     // spaces become "-" first
    Plus,     // spaces become "+" first
    Address,  // a web address is expected: its own structure is kept
    None,     // the text is not used
    Highlight // no address: the text is marked in the current page
};

struct TSearchEndpoint {
    QString Name;  // the engine list entry ("*" for a separator row)
    QString Front; // scheme, host, path and query key; empty for separators
    TextMode Mode = TextMode::Typed;
    QString Suffix; // appended after the text
};

// The endpoint table, indexed by engine code. Filled once by InitSearchEndpoints and
// only read afterwards.
class TSearchEndpoints {
public:
    const QVector<TSearchEndpoint>& Entries() const { return entries; }
    // The 49 names of the engine list, "*" at the separator positions.
    QStringList Names() const;
    // The rows of the engine combo box: the names, separators shown as SeparatorRow().
    QStringList ComboItems() const;
    QString SeparatorRow() const { return separatorRow; }
    bool IsSeparator(int code) const;

    // Code for the combo box text: the matching name's position; no match and the
    // separator rows give Google.
    int EngineCodeOf(const QString& text) const;

    // The address a search for text with engine code opens; empty for "Current Page".
    QString ComposeSearchAddress(int code, const QString& text) const;

private:
    friend TSearchEndpoints InitSearchEndpoints(const QString& dataFile);
    QVector<TSearchEndpoint> entries;
    QString separatorRow;
};

// Reads the endpoint table from dataFile (the table shipped with the program when
// empty). Throws EInOutError when the file is missing or not a table of 49 engines.
TSearchEndpoints InitSearchEndpoints(const QString& dataFile = {});

// Position of the first name equal to text with ASCII letters compared without regard
// to case (everything else must match exactly); -1 when none is.
int IndexOfName(const QString& text, const QStringList& names);

QString SpacesToDash(const QString& text);
QString SpacesToPlus(const QString& text);

// The text percent-encoded (UTF-8) as a query component.
QString EncodeQueryValue(const QString& text);

} // namespace search
