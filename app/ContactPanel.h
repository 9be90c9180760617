#pragma once
// The contact panel `Panel14` ("Hello"): how to reach the makers with comments and
// problem reports. "Register" in the Help menu shows it centred; its close button hides it.
#include "app/FloatingPanel.h"

class TContactPanel : public TFloatingPanel {
    Q_OBJECT
public:
    explicit TContactPanel(QWidget* parent);
};
