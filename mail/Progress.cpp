#include "mail/Progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TfrmProgress::TfrmProgress(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Progress"));
    setModal(false);
    resize(310, 76);
    auto* layout = new QVBoxLayout(this);
    lblMessage = new QLabel(this);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setRange(0, 1);
    btnStop = new QPushButton(QStringLiteral("Stop"), this);
    layout->addWidget(lblMessage);
    layout->addWidget(ProgressBar);
    layout->addWidget(btnStop, 0, Qt::AlignRight);
    connect(btnStop, &QPushButton::clicked, this, &TfrmProgress::btnStopClick);
}

void TfrmProgress::ShowRetrieve(int maximum) {
    lblMessage->setText(QStringLiteral("Retrieve Messages"));
    SetMaximum(maximum);
    show();
    raise();
}

void TfrmProgress::ShowSend(int maximum) {
    lblMessage->setText(QStringLiteral("Send Message"));
    SetMaximum(maximum);
    show();
    raise();
}

void TfrmProgress::SetMaximum(int maximum) {
    ProgressBar->setMaximum(qMax(1, maximum));
    ProgressBar->setValue(0);
    QCoreApplication::processEvents();
}

void TfrmProgress::StepIt() {
    ProgressBar->setValue(qMin(ProgressBar->maximum(), ProgressBar->value() + 1));
    QCoreApplication::processEvents();
}

void TfrmProgress::btnStopClick() {
    if (OnStop)
        OnStop();
}
