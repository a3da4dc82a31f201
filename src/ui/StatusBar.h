#pragma once

#include <QRect>
#include <QStatusBar>

#include <array>

class QLabel;

// Status bar of four panels (150, 150, 104 pixels and the rest) with a size grip. Panels 0, 1
// and 3 show text, each in a plain label whose accessible name is its text; panel 2 is drawn by
// the program: after every change of size the bar emits drawPanel for it.
class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kPanelCount = 4;
    static constexpr int kDrawnPanel = 2;
    static constexpr int kHeight = 19;

    explicit TStatusBar(QWidget* parent = nullptr);

    QRect PanelRect(int panel) const;
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString& text);
    // Paints the panel now instead of at the next pass of the message loop.
    void RepaintPanel(int panel);
    QLabel* PanelLabel(int panel) const { return labels_.at(panel); }

signals:
    void drawPanel(TStatusBar* statusBar, int panel, const QRect& rect);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PlacePanels();

    std::array<QLabel*, kPanelCount> labels_{}; // null for the drawn panel
};
