#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

// A TCP proxy on 127.0.0.1 that stands for a network with a round-trip time: every byte is held
// half the round trip on its way to the server and half on its way back, in the order it came.
// It runs on a thread of its own; the benchmark's client connects to port() instead of the
// server's port.
class DelayProxy {
public:
    DelayProxy(int targetPort, std::chrono::microseconds roundTrip);
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;
    ~DelayProxy();

    // The port clients connect to; 0 when the proxy could not listen (see error()).
    int port() const { return port_; }
    const std::string& error() const { return error_; }

private:
    void Run();

    int targetPort_;
    std::chrono::microseconds oneWay_;
    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    int port_ = 0;
    std::string error_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
