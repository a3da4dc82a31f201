#pragma once

#include <cstdint>

// A progress bar on standard error, drawn only when standard error is a terminal and not quiet;
// redrawn when its whole percent changes.
class Progress {
public:
    explicit Progress(bool quiet);
    void Show(std::int32_t done, std::int32_t total);
    // A count whose total is not known yet: "<label><count>", redrawn every 100.
    void ShowCount(const char* label, std::int32_t count);
    // Clears the bar's line (before a message, at the end).
    void Clear();

private:
    bool enabled_ = false;
    bool shown_ = false;
    int lastPercent_ = -1;
};
