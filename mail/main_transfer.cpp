// Receiving and sending from the mail window: busy cursor, input disabled, errors shown.
#include "mail/main.h"

#include <QApplication>
#include <QMessageBox>

namespace {
struct BusyWindow {
    QWidget* window;
    explicit BusyWindow(QWidget* w) : window(w) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window->setEnabled(false);
    }
    ~BusyWindow() {
        window->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
};
} // namespace

void TMainForm::ReceiveMessages() {
    if (transfer->clPOP3.Active())
        return;
    StopRequested = false;
    try {
        BusyWindow busy(this);
        transfer->ReceiveMessages();
    } catch (const std::exception& e) {
        reportError(e);
    }
}

void TMainForm::SendMessage(TclMailMessageItem* record) {
    if (!record || transfer->clSMTP.Active())
        return;
    StopRequested = false;
    try {
        if (!Accounts.SendImmediately) {
            transfer->SendMessage(record); // only moves it to the Outbox
            return;
        }
        BusyWindow busy(this);
        transfer->SendMessage(record);
    } catch (const std::exception& e) {
        reportError(e);
    }
}
