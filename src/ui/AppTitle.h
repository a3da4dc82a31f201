#pragma once

#include <QString>

// Caption of the main window and title of the application (task bar, every message box).
inline QString FormCaption() {
    return QStringLiteral("Corvan's Quillbarrow");
}
inline QString ApplicationTitle() {
    return QStringLiteral("Corvan's KVIL");
}
