#pragma once

#include <chrono>

// Time since it was started, for the benchmarks' figures.
class Stopwatch {
public:
    double Seconds() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count(); }
    double Milliseconds() const { return Seconds() * 1000.0; }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
