#pragma once
// TStatusBar: the main window's six-panel status bar `StatusBar1`. Panels, left to right:
// 0 (75) hosts the "Zoom" button, 1 (150) clock, 2 (rest) page title or status text,
// 3 (20) security-zone icon, 4 (150) hosts the load gauge `ProgressBar1`, 5 (170)
// "Security Level: ...". Panels are containers: other controls can be put inside.
#include <QStatusBar>
#include <array>

class QLabel;
class QProgressBar;
class QUrl;

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int PanelCount = 6;
    explicit TStatusBar(QWidget* parent);

    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);
    QLabel* Panel(int panel) const { return panels[panel]; }
    int PanelWidth(int panel) const;

    // Panel 3: the zone of the address, icon drawn, display name as the panel's text.
    // A null address leaves the panel empty.
    void StatusBar1DrawPanel(const QUrl* address);

    QProgressBar* ProgressBar1;

private:
    std::array<QLabel*, PanelCount> panels{};
};
