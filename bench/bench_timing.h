#pragma once
// Timing helpers shared by the start-up benchmarks.

#include <algorithm>
#include <ctime>
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

} // namespace orvanex::bench
