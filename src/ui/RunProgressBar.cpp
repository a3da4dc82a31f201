#include "ui/RunProgressBar.h"

#include <QStyleOptionProgressBar>
#include <QStylePainter>

void RunProgressBar::Advance() {
    if (!stepping_) {
        stepping_ = true;
        step_ = value();
    }
    ++step_;
    if (announce_.Due())
        setValue(step_);
    if (paint_.Due())
        repaint();
}

void RunProgressBar::Settle() {
    if (!stepping_)
        return;
    stepping_ = false;
    setValue(step_);
}

void RunProgressBar::paintEvent(QPaintEvent* event) {
    if (!stepping_) {
        QProgressBar::paintEvent(event);
        return;
    }
    // What QProgressBar paints, at the step rather than at the value.
    QStylePainter painter(this);
    QStyleOptionProgressBar option;
    initStyleOption(&option);
    option.progress = step_;
    painter.drawControl(QStyle::CE_ProgressBar, option);
}
