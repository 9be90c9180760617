#pragma once
// The caption bar a skinned, frameless window draws for itself: the system-menu button
// on the left (the owner's menu followed by the window commands), the window's title,
// and the roll-up button on the right. Dragging the bar moves the window. Rolling up
// shrinks the window to the bar's height; unrolling gives it back its size.
#include "components/skin/SkinFile.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

class QMenu;
class QLabel;
class QToolButton;

// System commands the bar's menu sends (the values Windows uses).
constexpr int SC_MINIMIZE = 0xF020;
constexpr int SC_MAXIMIZE = 0xF030;
constexpr int SC_CLOSE = 0xF060;
constexpr int SC_RESTORE = 0xF120;

class TCaptionBar : public QWidget {
    Q_OBJECT
public:
    explicit TCaptionBar(QWidget* parent = nullptr);

    // Menu entries shown above the window commands in the system menu.
    void SetSystemMenuItems(QMenu* menu);
    void SetCaption(const TSkinCaption& caption);
    QString Title() const;

    bool RolledUp() const { return rolledUp; }
    void SetRolledUp(bool rolled);

    // The system menu as it would drop down now (the owner's entries and window commands).
    QMenu* SystemMenu() const { return systemMenu; }

signals:
    void SystemCommand(int command);
    void ChangeRollUpState(bool rolledUp);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildSystemMenu();

    TSkinCaption caption;
    QToolButton* menuButton;
    QToolButton* rollUpButton;
    QLabel* title;
    QMenu* systemMenu;
    QPointer<QMenu> ownerItems;
    bool rolledUp = false;
    QRect unrolledGeometry;
    bool wasMaximized = false;
    QPoint dragOffset;
    bool dragging = false;
};
