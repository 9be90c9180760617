#pragma once
// TfrmReader: the RSS reader window, hosted in a tab of the main window. It fetches one
// feed at a time, lists its items as title/date rows and shows an item's page in its own
// browser pane. Fetch failures are not caught here: they reach the general error report.
// The address list is laid out as wide as the address edit, the item list as wide as
// the top panel.
#include "components/rss/ipwRSS.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class TEmbeddedWB;

class TfrmReader : public QWidget {
    Q_OBJECT
public:
    explicit TfrmReader(QWidget* parent = nullptr);

    // Handlers, public so that the main window and tests can run them as the user does.
    void bRefreshClick();
    void txtURLEnter();
    void cbRSSChange(int index);
    void lvwItemsClick();
    // The first selected row of the item list (rows count from 0), -1 with none.
    int FirstSelectedRow() const;

    QPushButton* bRefresh;
    QLineEdit* txtURL;
    QComboBox* cbRSS;
    QTableWidget* lvwItems;
    TEmbeddedWB* txtData;
    QTabWidget* PageControl1;
    QWidget* tsRSS;
    TipwRSS RSS1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
