#include "app/Splash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

int NextSplashNumber(int n) { return n == 1000 ? n - 1 : n + 1; }

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(385, 290);
    setStyleSheet(QStringLiteral("#frmSplash { background: qlineargradient(x1:0, y1:0, x2:1, y2:1, stop:0 #1d4f91, "
                                 "stop:1 #5fa0e0); } QLabel { color: white; }"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Quillmoor"), this);
    QFont f = title->font();
    f.setPointSize(26);
    f.setBold(true);
    title->setFont(f);
    auto* version = new QLabel(QStringLiteral("Version  5.10"), this);
    auto* loading = new QLabel(QStringLiteral("Program loading..."), this);
    lblNumber = new QLabel(QStringLiteral("X"), this);
    lblNumber->setToolTip(QStringLiteral("Close this panel."));
    lblNumber->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    layout->addStretch(2);
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(version, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(loading, 0, Qt::AlignHCenter);
    layout->addStretch(1);
    layout->addWidget(lblNumber);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    Timer1 = new QTimer(this);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);
    Timer1->start();
}

void TfrmSplash::Timer1Timer() {
    RunningNumber = NextSplashNumber(RunningNumber);
    lblNumber->setText(QString::number(RunningNumber));
}
