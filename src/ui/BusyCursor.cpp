#include "ui/BusyCursor.h"

#include <QCursor>
#include <QGuiApplication>

#include <array>
#include <utility>

std::int16_t SavedCursor = crDefault;

namespace {

// Identifiers of the standard cursors the program can meet, beside Qt's shapes.
constexpr std::array<std::pair<std::int16_t, Qt::CursorShape>, 12> kCursors{{
    {-1, Qt::BlankCursor},
    {-2, Qt::ArrowCursor},
    {-3, Qt::CrossCursor},
    {-4, Qt::IBeamCursor},
    {-6, Qt::SizeBDiagCursor},
    {-7, Qt::SizeVerCursor},
    {-8, Qt::SizeFDiagCursor},
    {-9, Qt::SizeHorCursor},
    {crHourGlass, Qt::WaitCursor},
    {-19, Qt::BusyCursor},
    {-21, Qt::PointingHandCursor},
    {-22, Qt::SizeAllCursor},
}};

std::int16_t IdOf(Qt::CursorShape shape) {
    for (const auto& [id, known] : kCursors) {
        if (known == shape)
            return id;
    }
    return -2;
}

Qt::CursorShape ShapeOf(std::int16_t id) {
    for (const auto& [known, shape] : kCursors) {
        if (known == id)
            return shape;
    }
    return Qt::ArrowCursor;
}

} // namespace

std::int16_t ApplicationCursor() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? IdOf(cursor->shape()) : crDefault;
}

void SetApplicationCursor(std::int16_t cursor) {
    // Qt stacks override cursors; the program has one setting, so the stack never holds more than one.
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    if (cursor != crDefault)
        QGuiApplication::setOverrideCursor(QCursor(ShapeOf(cursor)));
}

void BeginBusyCursor() {
    const std::int16_t current = ApplicationCursor();
    if (current == crHourGlass)
        return;
    SavedCursor = current;
    SetApplicationCursor(crHourGlass);
}

void EndBusyCursor() {
    SetApplicationCursor(SavedCursor);
}
