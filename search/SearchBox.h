#pragma once
// The search box at the end of the address bar: the text edit edSearch, the engine
// list SearchEngine and the search button btnSearch, with their handlers.
#include "search/SearchEngines.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLineEdit;
class QToolButton;
class TEmbeddedWB;

namespace search {

// What the search box needs from the main window.
struct TSearchBoxHost {
    // The browser of the active tab, or null.
    std::function<TEmbeddedWB*()> ActiveBrowser;
};

class TSearchBox : public QWidget {
    Q_OBJECT
public:
    TSearchBox(TSearchEndpoints endpoints, TSearchBoxHost host, QWidget* parent = nullptr);

    QLineEdit* const edSearch;
    QComboBox* const SearchEngine;
    QToolButton* const btnSearch;

    const TSearchEndpoints& Endpoints() const { return endpoints; }

    // Searches for the text of edSearch with the engine named by SearchEngine's text.
    void btnSearchClick();
    // Enter (13) is swallowed (key becomes 0) and searches; other keys pass unchanged.
    void edSearchKeyPress(QChar& key);
    // A row of SearchEngine was picked: repeats the search when edSearch holds text.
    void SearchEngineSelect();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TSearchEndpoints endpoints;
    const TSearchBoxHost host;
};

// The style of the marks HighlightTextInPage puts around each occurrence.
inline constexpr char HighlightStyle[] = "background-color: yellow; font-weight: bolder;";

// Marks every occurrence of text in the browser's page (letter case ignored) with a
// yellow, bolder span, leaving the page's markup intact, and scrolls the last mark to
// the top of the view. Does nothing without a browser, while it is busy, without a
// document or with an empty text. Waits for the page to finish and returns the number
// of marks made, -1 when nothing was run.
int HighlightTextInPage(TEmbeddedWB* browser, const QString& text);

} // namespace search
