#include "app/FloatingPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TFloatingPanel::TFloatingPanel(const QString& caption, QWidget* parent)
    : QFrame(parent), captionBar(new QWidget(this)), captionText(new QLabel(caption, captionBar)),
      closeButton(new QToolButton(captionBar)), body(new QWidget(this)) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    captionBar->setObjectName(QStringLiteral("FloatingPanelCaption"));
    captionBar->setAutoFillBackground(true);
    captionBar->setBackgroundRole(QPalette::Mid);
    captionBar->setCursor(Qt::SizeAllCursor);
    QFont bold = captionText->font();
    bold.setBold(true);
    captionText->setFont(bold);
    closeButton->setAutoRaise(true);
    closeButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton->setToolTip(QStringLiteral("Close"));
    auto* captionRow = new QHBoxLayout(captionBar);
    captionRow->setContentsMargins(6, 2, 2, 2);
    captionRow->addWidget(captionText, 1);
    captionRow->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(0);
    column->addWidget(captionBar);
    column->addWidget(body, 1);
    connect(closeButton, &QToolButton::clicked, this, &QWidget::hide);
    captionBar->installEventFilter(this);
    hide();
}

QString TFloatingPanel::Caption() const { return captionText->text(); }

bool TFloatingPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == captionBar) {
        if (event->type() == QEvent::MouseButtonPress) {
            dragStart = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pos();
            raise();
            return true;
        }
        if (event->type() == QEvent::MouseMove && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
            QPoint to = static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragStart;
            if (QWidget* p = parentWidget()) {
                to.setX(qBound(0, to.x(), qMax(0, p->width() - width())));
                to.setY(qBound(0, to.y(), qMax(0, p->height() - height())));
            }
            move(to);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void CenterInClient(QWidget* control, QWidget* form) {
    // Integer division that rounds toward zero, as the C++ operator does.
    const int left = form->width() / 2 - control->width() / 2;
    const int top = form->height() / 2 - control->height() / 2;
    control->move(qMax(0, left), qMax(0, top));
}
