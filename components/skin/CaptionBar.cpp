#include "components/skin/CaptionBar.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

TCaptionBar::TCaptionBar(QWidget* parent)
    : QWidget(parent), menuButton(new QToolButton(this)), rollUpButton(new QToolButton(this)),
      title(new QLabel(this)), systemMenu(new QMenu(this)) {
    setObjectName(QStringLiteral("CaptionBar"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(6);
    menuButton->setObjectName(QStringLiteral("SystemMenuButton"));
    menuButton->setAutoRaise(true);
    menuButton->setToolTip(QStringLiteral("System menu"));
    menuButton->setPopupMode(QToolButton::InstantPopup);
    menuButton->setMenu(systemMenu);
    menuButton->setIcon(qApp->windowIcon().isNull() ? style()->standardIcon(QStyle::SP_TitleBarMenuButton)
                                                    : qApp->windowIcon());
    rollUpButton->setObjectName(QStringLiteral("RollUpButton"));
    rollUpButton->setAutoRaise(true);
    rollUpButton->setToolTip(QStringLiteral("Roll up"));
    rollUpButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarShadeButton));
    title->setObjectName(QStringLiteral("CaptionText"));
    title->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(menuButton);
    row->addWidget(title, 1);
    row->addWidget(rollUpButton);
    connect(rollUpButton, &QToolButton::clicked, this, [this] { SetRolledUp(!rolledUp); });
    connect(systemMenu, &QMenu::aboutToShow, this, &TCaptionBar::rebuildSystemMenu);
    if (parent) {
        window()->installEventFilter(this);
        title->setText(window()->windowTitle());
    }
    SetCaption(caption);
}

void TCaptionBar::SetSystemMenuItems(QMenu* menu) { ownerItems = menu; rebuildSystemMenu(); }

void TCaptionBar::rebuildSystemMenu() {
    systemMenu->clear();
    if (ownerItems) {
        systemMenu->addActions(ownerItems->actions());
        systemMenu->addSeparator();
    }
    QWidget* w = window();
    const bool maximized = w->isMaximized();
    systemMenu->addAction(QStringLiteral("Restore"), this, [this] { emit SystemCommand(SC_RESTORE); })->setEnabled(maximized);
    systemMenu->addAction(QStringLiteral("Minimize"), this, [this] { emit SystemCommand(SC_MINIMIZE); });
    systemMenu->addAction(QStringLiteral("Maximize"), this, [this] { emit SystemCommand(SC_MAXIMIZE); })->setEnabled(!maximized);
    systemMenu->addSeparator();
    systemMenu->addAction(QStringLiteral("Close"), this, [this] { emit SystemCommand(SC_CLOSE); });
}

void TCaptionBar::SetCaption(const TSkinCaption& c) {
    caption = c;
    setFixedHeight(caption.Height);
    QFont f(caption.Font);
    f.setBold(true);
    title->setFont(f);
    QPalette p = title->palette();
    p.setColor(QPalette::WindowText, caption.Text);
    title->setPalette(p);
    title->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(caption.Text.name()));
    const QString button = QStringLiteral("QToolButton { border: none; border-radius: 3px; padding: 2px; }"
                                          "QToolButton:hover { background: %1; }").arg(caption.ButtonHover.name());
    menuButton->setStyleSheet(button);
    rollUpButton->setStyleSheet(button);
    update();
}

QString TCaptionBar::Title() const { return title->text(); }

void TCaptionBar::SetRolledUp(bool rolled) {
    if (rolled == rolledUp)
        return;
    QWidget* w = window();
    if (rolled) {
        wasMaximized = w->isMaximized();
        if (wasMaximized)
            w->showNormal();
        unrolledGeometry = w->geometry();
        rolledUp = true;
        w->setFixedHeight(height());
    } else {
        rolledUp = false;
        w->setMinimumHeight(0);
        w->setMaximumHeight(QWIDGETSIZE_MAX);
        w->setGeometry(unrolledGeometry);
        if (wasMaximized)
            w->showMaximized();
    }
    rollUpButton->setIcon(style()->standardIcon(rolled ? QStyle::SP_TitleBarUnshadeButton : QStyle::SP_TitleBarShadeButton));
    rollUpButton->setToolTip(rolled ? QStringLiteral("Roll down") : QStringLiteral("Roll up"));
    emit ChangeRollUpState(rolledUp);
}

bool TCaptionBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && event->type() == QEvent::WindowTitleChange)
        title->setText(window()->windowTitle());
    return QWidget::eventFilter(watched, event);
}

void TCaptionBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, caption.Background);
    g.setColorAt(1, caption.Background2.isValid() ? caption.Background2 : caption.Background);
    painter.fillRect(rect(), g);
}

void TCaptionBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    QWidget* w = window();
    if (QWindow* handle = w->windowHandle(); handle && !w->isMaximized() && handle->startSystemMove())
        return;
    dragging = !w->isMaximized();
    dragOffset = event->globalPosition().toPoint() - w->frameGeometry().topLeft();
}

void TCaptionBar::mouseMoveEvent(QMouseEvent* event) {
    if (dragging && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - dragOffset);
}

void TCaptionBar::mouseReleaseEvent(QMouseEvent* event) {
    dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void TCaptionBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit SystemCommand(window()->isMaximized() ? SC_RESTORE : SC_MAXIMIZE);
}
