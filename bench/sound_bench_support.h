// What the benchmarks that play through a private PulseAudio server share: threads that keep
// the CPU busy, and a main that starts the server before anything asks for an audio device.
#pragma once

#include "tests/support/audio_server.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace zerkavi::bench {

class BusyLoops {
  public:
    explicit BusyLoops(int n) {
        for (int i = 0; i < n; ++i)
            threads_.emplace_back([this] {
                volatile unsigned long x = 0;
                while (!stop_.load(std::memory_order_relaxed))
                    x = x + 1;
            });
    }
    ~BusyLoops() {
        stop_ = true;
        for (auto& t : threads_)
            t.join();
    }

  private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

struct Figures {
    double median = 0, worst = 0; // worst = largest in magnitude, with its sign
    double lowest = 0, highest = 0;
};
inline Figures figuresOf(std::vector<double> v) {
    Figures f;
    if (v.empty()) return f;
    std::sort(v.begin(), v.end());
    f.median = (v[(v.size() - 1) / 2] + v[v.size() / 2]) / 2;
    f.lowest = v.front();
    f.highest = v.back();
    f.worst = std::abs(f.lowest) > std::abs(f.highest) ? f.lowest : f.highest;
    return f;
}

inline testing::PrivateServer* server = nullptr;

inline int runWithPrivateServer(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The server comes before the application asks for any audio device.
    server = new testing::PrivateServer;
    QString why;
    if (!server->start(why)) {
        std::fprintf(stderr, "No PulseAudio server: %s\n", why.toLocal8Bit().constData());
        return 1;
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server->shutDown();
    // libpulse's static destructors may race its thread at exit.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace zerkavi::bench
