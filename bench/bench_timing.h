#pragma once
// Timing helpers shared by the start-up benchmarks.

#include <QElapsedTimer>
#include <algorithm>
#include <ctime>
#include <functional>
#include <vector>

namespace orvanex::bench {

// The thread's processor time in ms: unlike wall time, not inflated when other work shares the
// processors.
inline double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

inline double medianMs(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Timing {
    double wall = 0; // ms, medians
    double cpu = 0;
};

// The medians of runs repetitions of work.
inline Timing measure(int runs, const std::function<void()>& work) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double c0 = cpuMs();
        work();
        cpu.push_back(cpuMs() - c0);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return {medianMs(wall), medianMs(cpu)};
}

} // namespace orvanex::bench
