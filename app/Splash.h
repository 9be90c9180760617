#pragma once
// TfrmSplash: the borderless splash shown while the main window is made: "Quillmoor",
// "Version  5.10", "Program loading..." and a running number that its timer advances
// every 500 ms.
#include <QWidget>

class QLabel;
class QTimer;

// The running number's next value: up by one, except that 1000 steps back to 999.
int NextSplashNumber(int n);

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    void Timer1Timer();
    int RunningNumber = 0;
    QLabel* lblNumber; // shows "X" until the timer runs
    QTimer* Timer1;
};
