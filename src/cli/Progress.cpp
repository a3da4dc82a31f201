#include "cli/Progress.h"

#include <cstdio>
#include <string>
#include <unistd.h>

Progress::Progress(bool quiet) : enabled_(!quiet && isatty(STDERR_FILENO) == 1) {}

void Progress::Show(std::int32_t done, std::int32_t total) {
    if (!enabled_ || total <= 0)
        return;
    const int percent = static_cast<int>(static_cast<std::int64_t>(done) * 100 / total);
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%% %d/%d", bar.c_str(), percent, static_cast<int>(done), static_cast<int>(total));
    std::fflush(stderr);
    shown_ = true;
}

void Progress::ShowCount(const char* label, std::int32_t count) {
    if (!enabled_ || count % 100 != 1)
        return;
    std::fprintf(stderr, "\r%s%d", label, static_cast<int>(count));
    std::fflush(stderr);
    shown_ = true;
}

void Progress::Clear() {
    if (!shown_)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
    lastPercent_ = -1;
}
