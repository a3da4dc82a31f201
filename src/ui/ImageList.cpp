#include "ui/ImageList.h"

#include <QPixmap>
#include <QString>
#include <QtGlobal>

// Outside any namespace: the resource's initialiser is declared where the macro stands.
static void LoadIconResources() {
#ifdef QB_HAVE_ICONS
    Q_INIT_RESOURCE(icons);
#endif
}

namespace {

constexpr std::array<const char*, TImageList::kCount> kFiles{
    "image0-country.svg", "image1-basket.svg", "image2-organization.svg", "image3-unit.svg",
    "image4-root.svg",    "image5-tree.svg",   "image6-unknown.svg",      "image7-user.svg",
};

QIcon ResourceIcon(const char* file) {
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(file));
}

// A node's picture stays the same when the node is selected: Qt would otherwise tint the
// selected state of a vector icon with the highlight colour.
QIcon UntintedIcon(const char* file) {
    const QIcon drawn = ResourceIcon(file);
    QIcon icon;
    for (int size : {16, 32}) {
        const QPixmap pixmap = drawn.pixmap(size, size);
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
    }
    return icon;
}

} // namespace

TImageList::TImageList(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("imIcons"));
    LoadIconResources();
    for (int i = 0; i < kCount; ++i)
        icons_[i] = UntintedIcon(kFiles[i]);
}

int TImageList::IndexOf(const QIcon& icon) const {
    for (int i = 0; i < kCount; ++i) {
        if (icons_[i].cacheKey() == icon.cacheKey())
            return i;
    }
    return -1;
}

QIcon CreateUserIcon() {
    return ResourceIcon("create-user.svg");
}

QIcon ProgramIcon() {
    return ResourceIcon("program.svg");
}
