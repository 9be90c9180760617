// Receiving and sending from the mail window: busy cursor, input disabled, errors shown.
#include "mail/main.h"

#include <QApplication>
#include <QMessageBox>

namespace {
// Input to the mail window is off for a transfer; its own windows (the progress window
// with its Stop button) stay usable, so only the inner parts are disabled.
struct BusyWindow {
    QList<QWidget*> disabled;
    explicit BusyWindow(QWidget* window) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && child->isEnabled()) {
                child->setEnabled(false);
                disabled << child;
            }
    }
    ~BusyWindow() {
        for (QWidget* child : disabled)
            child->setEnabled(true);
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
