#pragma once

#include <QIcon>
#include <QObject>

#include <array>

// The form's image list: eight 16 by 16 pictures, shared by every node that shows one.
class TImageList : public QObject {
public:
    static constexpr int kCount = 8;
    static constexpr int kCountry = 0;
    static constexpr int kOrganization = 2;
    static constexpr int kOrganizationalUnit = 3;
    static constexpr int kRoot = 4;

    explicit TImageList(QObject* parent);

    const QIcon& Icon(int index) const { return icons_.at(index); }
    // Index of the picture `icon` was taken from; -1 when it is none of them.
    int IndexOf(const QIcon& icon) const;

private:
    std::array<QIcon, kCount> icons_;
};

// Picture of the Create button and the program's icon.
QIcon CreateUserIcon();
QIcon ProgramIcon();
