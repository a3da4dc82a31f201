#pragma once

#include <QLayout>
#include <QRect>
#include <QSize>

#include <memory>
#include <vector>

// Places widgets at the positions they were drawn at for a client area of `designSize`, and keeps
// the edges each one is anchored to at their drawn distance when the area changes size.
class AnchorLayout : public QLayout {
public:
    enum Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    AnchorLayout(QWidget* parent, QSize designSize);
    ~AnchorLayout() override;

    // `minimum` bounds the size a widget anchored on opposite edges may shrink to.
    void addAnchored(QWidget* widget, QRect designRect, int anchors, QSize minimum = QSize(0, 0));

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        std::unique_ptr<QLayoutItem> item;
        QRect designRect;
        int anchors = Left | Top;
        QSize minimum;
    };

    QSize designSize_;
    std::vector<Entry> entries_;
};
