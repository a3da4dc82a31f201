#pragma once

#include <QElapsedTimer>

// Paces painting inside long handlers to the display: Due() is true on its first call and then at
// most once per frame, so per-entry work does not pay for a repaint per entry.
class DisplayPacer {
public:
    static constexpr qint64 kFrameMs = 16;

    bool Due() {
        if (timer_.isValid() && timer_.elapsed() < kFrameMs)
            return false;
        timer_.start();
        return true;
    }

private:
    QElapsedTimer timer_;
};
