#pragma once
// The transfer progress window: a label, a bar and "Stop".
#include "mail/MailTransfer.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class TfrmProgress : public QDialog, public TMailTransferProgress {
    Q_OBJECT
public:
    explicit TfrmProgress(QWidget* owner = nullptr);
    void ShowRetrieve(int maximum) override;
    void ShowSend(int maximum) override;
    void SetMaximum(int maximum) override;
    void StepIt() override;
    void HideProgress() override { hide(); }
    std::function<void()> OnStop;

    QLabel* lblMessage;
    QProgressBar* ProgressBar;
    QPushButton* btnStop;

private:
    void btnStopClick();
};
