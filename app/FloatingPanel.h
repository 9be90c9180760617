#pragma once
// A panel that floats over the main window's client area: a shaded caption bar with
// its title and a close button that hides it; dragging the caption moves the panel
// inside its parent. The content goes into Body().
#include <QFrame>

class QLabel;
class QToolButton;

class TFloatingPanel : public QFrame {
    Q_OBJECT
public:
    TFloatingPanel(const QString& caption, QWidget* parent);
    QWidget* Body() const { return body; }
    QToolButton* CloseButton() const { return closeButton; }
    QString Caption() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* captionBar;
    QLabel* captionText;
    QToolButton* closeButton;
    QWidget* body;
    QPoint dragStart;
};

// Places a panel in the middle of a window's client area; a negative left or top becomes 0.
void CenterInClient(QWidget* control, QWidget* form);
