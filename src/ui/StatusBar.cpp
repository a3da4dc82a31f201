#include "ui/StatusBar.h"

#include <QLabel>
#include <QPainter>
#include <qdrawutil.h>

namespace {

constexpr std::array<int, TStatusBar::kPanelCount> kPanelWidths{150, 150, 104, 250};
// Room between two panels and above them, as the panels' bevels need.
constexpr int kPanelGap = 2;
constexpr int kTextInset = 2;

} // namespace

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("sbStatus"));
    setSizeGripEnabled(true);
    setFixedHeight(kHeight);
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (panel == kDrawnPanel)
            continue;
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("sbStatusPanel%1").arg(panel));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        labels_[panel] = label;
    }
}

QRect TStatusBar::PanelRect(int panel) const {
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += kPanelWidths[i];
    // The last panel reaches to the right end of the bar.
    const bool last = panel == kPanelCount - 1;
    const int width = last ? this->width() - left : kPanelWidths[panel] - kPanelGap;
    return QRect(left, kPanelGap, qMax(0, width), qMax(0, height() - kPanelGap));
}

QString TStatusBar::PanelText(int panel) const {
    const QLabel* label = labels_.at(panel);
    return label ? label->text() : QString();
}

void TStatusBar::SetPanelText(int panel, const QString& text) {
    if (QLabel* label = labels_.at(panel))
        label->setText(text);
}

void TStatusBar::RepaintPanel(int panel) {
    if (QLabel* label = labels_.at(panel))
        label->repaint();
}

void TStatusBar::PlacePanels() {
    for (int panel = 0; panel < kPanelCount; ++panel) {
        const QRect rect = PanelRect(panel);
        if (QLabel* label = labels_[panel])
            label->setGeometry(rect.adjusted(kTextInset, 1, -kTextInset, -1));
        else
            emit drawPanel(this, panel, rect);
    }
}

void TStatusBar::resizeEvent(QResizeEvent* event) {
    QStatusBar::resizeEvent(event);
    PlacePanels();
}

void TStatusBar::paintEvent(QPaintEvent* event) {
    QStatusBar::paintEvent(event);
    QPainter painter(this);
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (panel == kDrawnPanel)
            continue;
        qDrawShadePanel(&painter, PanelRect(panel), palette(), /*sunken=*/true, 1);
    }
}
