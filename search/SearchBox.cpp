#include "search/SearchBox.h"

#include "components/browser/EmbeddedWB.h"

#include <QComboBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace search {

TSearchBox::TSearchBox(TSearchEndpoints table, TSearchBoxHost hostIn, QWidget* parent)
    : QWidget(parent), edSearch(new QLineEdit(this)), SearchEngine(new QComboBox(this)),
      btnSearch(new QToolButton(this)), endpoints(std::move(table)), host(std::move(hostIn)) {
    edSearch->setObjectName(QStringLiteral("edSearch"));
    SearchEngine->setObjectName(QStringLiteral("SearchEngine"));
    btnSearch->setObjectName(QStringLiteral("btnSearch"));

    SearchEngine->setEditable(true);
    SearchEngine->setInsertPolicy(QComboBox::NoInsert);
    SearchEngine->setMaxVisibleItems(30);
    SearchEngine->addItems(endpoints.ComboItems());
    SearchEngine->setCurrentIndex(-1);
    SearchEngine->setEditText(QStringLiteral("Search Engines"));
    SearchEngine->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    SearchEngine->setMinimumContentsLength(14);

    btnSearch->setText(QStringLiteral("Search"));
    btnSearch->setToolTip(QStringLiteral("Search"));
    btnSearch->setIcon(QIcon::fromTheme(QStringLiteral("edit-find")));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(edSearch, 1);
    layout->addWidget(SearchEngine);
    layout->addWidget(btnSearch);

    edSearch->installEventFilter(this);
    connect(btnSearch, &QToolButton::clicked, this, &TSearchBox::btnSearchClick);
    connect(SearchEngine, &QComboBox::activated, this, &TSearchBox::SearchEngineSelect);
}

void TSearchBox::btnSearchClick() {
    const QString text = edSearch->text();
    const int code = endpoints.EngineCodeOf(SearchEngine->currentText());
    TEmbeddedWB* browser = host.ActiveBrowser ? host.ActiveBrowser() : nullptr;
    if (!browser)
        return;
    if (code == CurrentPageCode)
        HighlightTextInPage(browser, text);
    else
        browser->Go(endpoints.ComposeSearchAddress(code, text));
}

void TSearchBox::edSearchKeyPress(QChar& key) {
    if (key == QChar(13)) {
        key = QChar(0);
        btnSearchClick();
    }
}

void TSearchBox::SearchEngineSelect() {
    if (!edSearch->text().isEmpty())
        btnSearch->click();
}

bool TSearchBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edSearch && event->type() == QEvent::KeyPress) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter) {
            QChar key(13);
            edSearchKeyPress(key);
            if (key.isNull())
                return true; // swallowed: no character, no default button, no beep
        }
    }
    return QWidget::eventFilter(watched, event);
}

namespace {

// Walks the body's text nodes (not those of scripts, styles and form fields), wraps
// each case-insensitive occurrence of the text in a span, and scrolls the last one
// into view. Works per text node, so elements are never cut apart.
const char HighlightScript[] = R"JS(
(function (needle, style) {
  var body = document.body;
  if (!body || !needle) return 0;
  var pattern = new RegExp(needle.replace(/[.*+?^${}()|[\]\\]/g, '\\$&'), 'gi');
  var skip = {SCRIPT: 1, STYLE: 1, NOSCRIPT: 1, TEXTAREA: 1, TEMPLATE: 1, SELECT: 1, OPTION: 1};
  var walker = document.createTreeWalker(body, NodeFilter.SHOW_TEXT, {
    acceptNode: function (node) {
      for (var p = node.parentNode; p && p !== body; p = p.parentNode)
        if (skip[p.nodeName]) return NodeFilter.FILTER_REJECT;
      return NodeFilter.FILTER_ACCEPT;
    }
  });
  var nodes = [];
  while (walker.nextNode()) nodes.push(walker.currentNode);
  var count = 0, last = null;
  nodes.forEach(function (node) {
    var text = node.data, match, pos = 0, parts = [];
    pattern.lastIndex = 0;
    while ((match = pattern.exec(text)) !== null) {
      if (match.index > pos) parts.push(document.createTextNode(text.slice(pos, match.index)));
      var span = document.createElement('span');
      span.setAttribute('style', style);
      span.textContent = match[0];
      parts.push(span);
      last = span;
      ++count;
      pos = match.index + match[0].length;
    }
    if (!parts.length) return;
    if (pos < text.length) parts.push(document.createTextNode(text.slice(pos)));
    var parent = node.parentNode;
    parts.forEach(function (part) { parent.insertBefore(part, node); });
    parent.removeChild(node);
  });
  if (last) last.scrollIntoView(true);
  return count;
})
)JS";

QString JsString(const QString& s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

} // namespace

int HighlightTextInPage(TEmbeddedWB* browser, const QString& text) {
    if (!browser || browser->Busy() || !browser->DocumentLoaded() || text.isEmpty())
        return -1;
    QWebEnginePage* page = browser->page();
    const QString script = QString::fromUtf8(HighlightScript) + QLatin1Char('(') + JsString(text) +
                           QStringLiteral(", ") + JsString(QString::fromLatin1(HighlightStyle)) +
                           QStringLiteral(");");
    QPointer<QWebEnginePage> guard(page);
    QEventLoop loop;
    int count = -1;
    bool done = false;
    QObject::connect(page, &QObject::destroyed, &loop, &QEventLoop::quit);
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                        [&, guardLoop = QPointer<QEventLoop>(&loop)](const QVariant& result) {
                            if (!guardLoop)
                                return;
                            bool ok = false;
                            const int n = result.toInt(&ok);
                            count = ok ? n : -1;
                            done = true;
                            guardLoop->quit();
                        });
    if (!done && guard)
        loop.exec();
    return count;
}

} // namespace search
