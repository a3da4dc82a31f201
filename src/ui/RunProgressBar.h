#pragma once

#include "ui/DisplayPacer.h"

#include <QProgressBar>

// The status bar's progress bar, stepped through long runs. Each step is painted (at most once a
// frame), while the bar's value, which assistive technology reads and is told of on every change
// (with a screen reader listening, an event over D-Bus and a call back for the new value), follows
// at most every kAnnounceMs and exactly before a message box and at the run's end: a screen reader
// announcing every one of thousands of steps helps no one.
class RunProgressBar final : public QProgressBar {
public:
    static constexpr qint64 kAnnounceMs = 100;

    using QProgressBar::QProgressBar;

    // One step more than the value, or than the last step: painted now when a frame is due.
    void Advance();
    // The value becomes the step shown; the bar is itself again until the next Advance().
    void Settle();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool stepping_ = false;
    int step_ = 0; // while stepping_
    DisplayPacer paint_;
    DisplayPacer announce_{kAnnounceMs};
};
