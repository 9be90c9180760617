#pragma once
// TfrmGrabSite: the website grabber window, hosted in a tab of the main window. It
// configures the multi-downloader, starts and stops it and logs every finished address.
#include "grabber/GrabState.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class TclMultiDownLoader;
struct TclDownLoadItem;

class TfrmGrabSite : public QWidget {
    Q_OBJECT
public:
    explicit TfrmGrabSite(QWidget* parent = nullptr);

    // Handlers, public so that the main window and tests can run them as a click does.
    void btnGrabClick();
    void btnStopClick();

    QPushButton* btnGrab;
    QPushButton* btnStop;
    QLineEdit* edtRootUrl;
    QLineEdit* edtTargetDir;
    QPlainTextEdit* memLog;
    QCheckBox* cbGrabAll;
    QCheckBox* cbGrabImages;
    QCheckBox* cbGrabData;
    QSpinBox* updMaxNestLevel; // the depth edit with its up-down
    QStatusBar* StatusBar1;
    QLabel* StatusPanel;
    QTabWidget* PageControl1;
    TclMultiDownLoader* clMultiDownLoader;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clMultiDownLoaderIsBusyChanged();
    void clMultiDownLoaderProcessCompleted(const TclDownLoadItem& item);
    void showState();

    TGrabState state;
};
