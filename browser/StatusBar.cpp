#include "browser/StatusBar.h"

#include "platform/UrlZones.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    static const int widths[PanelCount] = {75, 150, 0, 20, 150, 170};
    for (int i = 0; i < PanelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(3, 0, 3, 0);
        label->setTextFormat(Qt::PlainText);
        if (widths[i] > 0)
            label->setFixedWidth(widths[i]);
        else
            label->setMinimumWidth(40);
        addWidget(label, widths[i] > 0 ? 0 : 1);
        panels[i] = label;
    }
    panels[3]->setAlignment(Qt::AlignCenter);
    panels[3]->setContentsMargins(0, 0, 0, 0);
    auto* gaugeLayout = new QHBoxLayout(panels[4]);
    gaugeLayout->setContentsMargins(2, 2, 2, 2);
    ProgressBar1 = new QProgressBar(panels[4]);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMaximumHeight(14);
    gaugeLayout->addWidget(ProgressBar1);
    ProgressBar1->hide();
}

QString TStatusBar::PanelText(int panel) const {
    if (panel == 3)
        return panels[3]->property("zoneName").toString();
    return panels[panel]->text();
}

void TStatusBar::SetPanelText(int panel, const QString& text) {
    if (panel == 3) {
        panels[3]->setProperty("zoneName", text);
        panels[3]->setToolTip(text);
        return;
    }
    panels[panel]->setText(text);
    panels[panel]->setToolTip(panel == 2 ? text : QString());
}

int TStatusBar::PanelWidth(int panel) const { return panels[panel]->width(); }

void TStatusBar::StatusBar1DrawPanel(const QUrl* address) {
    if (!address) {
        SetPanelText(3, QString());
        panels[3]->setPixmap(QPixmap());
        return;
    }
    const ZoneAttributes zone = ZoneAttributesOf(ZoneOfUrl(*address));
    const QPixmap icon = zone.Icon.pixmap(16, 16);
    if (icon.isNull()) // nothing to draw: the panel stays as it is for this drawing
        return;
    SetPanelText(3, zone.DisplayName);
    panels[3]->setPixmap(icon);
}
