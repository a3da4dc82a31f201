#include "ui/AnchorLayout.h"

#include <QWidget>
#include <QWidgetItem>

#include <utility>

AnchorLayout::AnchorLayout(QWidget* parent, QSize designSize) : QLayout(parent), designSize_(designSize) {
    setContentsMargins(0, 0, 0, 0);
}

AnchorLayout::~AnchorLayout() = default;

void AnchorLayout::addAnchored(QWidget* widget, QRect designRect, int anchors, QSize minimum) {
    addChildWidget(widget);
    entries_.push_back(Entry{std::make_unique<QWidgetItem>(widget), designRect, anchors, minimum});
    invalidate();
}

void AnchorLayout::addItem(QLayoutItem* item) {
    entries_.push_back(Entry{std::unique_ptr<QLayoutItem>(item), item->geometry(), Left | Top, QSize(0, 0)});
}

QLayoutItem* AnchorLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? entries_[index].item.get() : nullptr;
}

QLayoutItem* AnchorLayout::takeAt(int index) {
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = entries_[index].item.release();
    entries_.erase(entries_.begin() + index);
    return item;
}

int AnchorLayout::count() const {
    return static_cast<int>(entries_.size());
}

QSize AnchorLayout::sizeHint() const {
    return designSize_;
}

QSize AnchorLayout::minimumSize() const {
    // The window may shrink below what the controls need; they are clipped then, not squeezed.
    return QSize(0, 0);
}

namespace {

// One axis: position and length of a control within `available`, drawn at `start`/`length` in `designed`.
std::pair<int, int> Place(int start, int length, int designed, int available, bool nearEdge, bool farEdge,
                          int minimum) {
    const int growth = available - designed;
    if (nearEdge && farEdge)
        return {start, qMax(minimum, length + growth)};
    if (farEdge)
        return {start + growth, length};
    if (!nearEdge)
        return {start + growth / 2, length};
    return {start, length};
}

} // namespace

void AnchorLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    for (const Entry& entry : entries_) {
        const QRect& d = entry.designRect;
        const auto [x, w] = Place(d.x(), d.width(), designSize_.width(), rect.width(), entry.anchors & Left,
                                  entry.anchors & Right, entry.minimum.width());
        const auto [y, h] = Place(d.y(), d.height(), designSize_.height(), rect.height(), entry.anchors & Top,
                                  entry.anchors & Bottom, entry.minimum.height());
        // Straight to the widget: a layout item would bend the drawn size to the widget's size hint.
        if (QWidget* widget = entry.item->widget())
            widget->setGeometry(QRect(rect.x() + x, rect.y() + y, w, h));
    }
}
