#include "rss/reader.h"

#include "components/browser/EmbeddedWB.h"
#include "rss/FeedPresets.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// The busy cursor for the life of the object, restored however the scope is left.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TfrmReader::TfrmReader(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmReader"));
    setWindowTitle(QStringLiteral("RSS Reader"));
    PageControl1 = new QTabWidget(this);
    tsRSS = new QWidget;
    tsRSS->setObjectName(QStringLiteral("tsRSS"));
    PageControl1->addTab(tsRSS, QStringLiteral("RSS Reader"));

    auto* top = new QWidget(tsRSS);
    top->setFixedHeight(81);
    bRefresh = new QPushButton(QStringLiteral("Get Feed"), top);
    bRefresh->setObjectName(QStringLiteral("bRefresh"));
    bRefresh->setFixedSize(75, 65);
    txtURL = new QLineEdit(InitialFeedAddress(), top);
    txtURL->setObjectName(QStringLiteral("txtURL"));
    txtURL->installEventFilter(this);
    cbRSS = new QComboBox(top);
    cbRSS->setObjectName(QStringLiteral("cbRSS"));
    cbRSS->setMaxVisibleItems(30);
    cbRSS->addItems(PresetFeeds());
    cbRSS->setPlaceholderText(QStringLiteral("RSS Feed Addresses"));
    cbRSS->setCurrentIndex(-1);
    auto* edits = new QVBoxLayout;
    edits->addWidget(txtURL);
    edits->addWidget(cbRSS);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->addWidget(bRefresh);
    topLayout->addLayout(edits, 1);

    lvwItems = new QTableWidget(0, 2, tsRSS);
    lvwItems->setObjectName(QStringLiteral("lvwItems"));
    lvwItems->setHorizontalHeaderLabels({QStringLiteral("Title"), QStringLiteral("Date")});
    lvwItems->setColumnWidth(0, 650);
    lvwItems->setColumnWidth(1, 218);
    lvwItems->setShowGrid(true);
    lvwItems->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwItems->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwItems->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwItems->verticalHeader()->hide();
    lvwItems->viewport()->installEventFilter(this);

    txtData = new TEmbeddedWB(tsRSS);
    txtData->setObjectName(QStringLiteral("txtData"));
    txtData->setFixedHeight(294);
    txtData->Silent = true;
    // Pictures, video and sound load as usual; the pane offers no menu of its own.
    txtData->setContextMenuPolicy(Qt::NoContextMenu);

    auto* sheetLayout = new QVBoxLayout(tsRSS);
    sheetLayout->addWidget(top);
    sheetLayout->addWidget(lvwItems, 1);
    sheetLayout->addWidget(txtData);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PageControl1);

    connect(bRefresh, &QPushButton::clicked, this, &TfrmReader::bRefreshClick);
    connect(cbRSS, &QComboBox::activated, this, &TfrmReader::cbRSSChange);
}

void TfrmReader::bRefreshClick() {
    lvwItems->setRowCount(0);
    {
        BusyCursor busy;
        RSS1.GetFeed(txtURL->text());
    }
    const int page = PageControl1->indexOf(tsRSS);
    PageControl1->setTabText(page, RSS1.ChannelTitle());
    PageControl1->setTabText(page, RSS1.ChannelDescription());
    for (int i = 1; i <= RSS1.ItemCount(); ++i) {
        const int row = lvwItems->rowCount();
        lvwItems->insertRow(row);
        lvwItems->setItem(row, 0, new QTableWidgetItem(RSS1.ItemTitle(i)));
        const QString date = RSS1.ItemPubDate(i);
        if (!date.isEmpty())
            lvwItems->setItem(row, 1, new QTableWidgetItem(date));
    }
}

void TfrmReader::txtURLEnter() {
    bRefreshClick();
    QStringList entries;
    for (int i = 0; i < cbRSS->count(); ++i)
        entries << cbRSS->itemText(i);
    if (RememberAddress(entries, txtURL->text()))
        cbRSS->addItem(txtURL->text());
}

void TfrmReader::cbRSSChange(int index) {
    if (index < 0)
        return;
    txtURL->setText(cbRSS->itemText(index));
    bRefreshClick();
}

int TfrmReader::FirstSelectedRow() const {
    int first = -1;
    for (const auto& r : lvwItems->selectedRanges())
        first = first < 0 ? r.topRow() : qMin(first, r.topRow());
    return first;
}

void TfrmReader::lvwItemsClick() {
    const int row = FirstSelectedRow();
    if (row >= 0)
        txtData->Navigate(RSS1.ItemLink(row + 1));
}

bool TfrmReader::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtURL && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtURLEnter();
            return true;
        }
    }
    if (watched == lvwItems->viewport() && event->type() == QEvent::MouseButtonRelease)
        lvwItemsClick();
    return QWidget::eventFilter(watched, event);
}

void TfrmReader::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    lvwItems->setColumnWidth(0, lvwItems->columnWidth(1) * 3 + 30);
}
