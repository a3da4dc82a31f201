#pragma once

#include <QSize>

class QWidget;

// Gives a top-level window the outer size (frame and caption included) it was drawn with, as soon
// as the window system reports its frame. Where no frame is reported (offscreen, a compositor that
// keeps its decorations to itself) the window keeps the inner size it has. Applies once; a window
// that is maximized, full screen or minimized first keeps its size.
void FitOuterSizeWhenFramed(QWidget* window, QSize outerSize);
