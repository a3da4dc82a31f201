#include "ui/OuterSize.h"

#include <QEvent>
#include <QWidget>

namespace {

// Watches the window until its frame is known, then sets the inner size that leaves `outer` in all.
class OuterSizeFit : public QObject {
public:
    OuterSizeFit(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || !window_->isVisible())
            return false;
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::ActivationChange:
        case QEvent::WindowStateChange:
            break;
        default:
            return false;
        }
        if (window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) {
            deleteLater();
            return false;
        }
        // Qt learns the frame from the window system's move and resize notices after mapping.
        const QSize frame = window_->frameGeometry().size() - window_->size();
        if (frame.width() <= 0 && frame.height() <= 0)
            return false;
        window_->removeEventFilter(this);
        window_->resize(outer_ - frame);
        deleteLater();
        return false;
    }

private:
    QWidget* window_;
    QSize outer_;
};

} // namespace

void FitOuterSizeWhenFramed(QWidget* window, QSize outerSize) {
    new OuterSizeFit(window, outerSize);
}
