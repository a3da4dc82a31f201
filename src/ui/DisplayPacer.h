#pragma once

#include <QElapsedTimer>

// Paces work inside long handlers: Due() is true on its first call and then at most once per
// interval, by default once per frame of the display, so per-entry work does not pay for a repaint
// (or another costly update) per entry.
class DisplayPacer {
public:
    static constexpr qint64 kFrameMs = 16;

    explicit DisplayPacer(qint64 intervalMs = kFrameMs) : intervalMs_(intervalMs) {}

    bool Due() {
        if (timer_.isValid() && timer_.elapsed() < intervalMs_)
            return false;
        timer_.start();
        return true;
    }

private:
    qint64 intervalMs_;
    QElapsedTimer timer_;
};
