// Microseconds per call of a drawing routine, for the ratios the benchmark programs print after
// their Google Benchmark runs.
#pragma once

#include <chrono>

namespace bench {

// The best of five rounds of 1,000 calls after 100 to warm up, so that a busy machine disturbs
// the figure less than an average would.
template <typename F, typename Target>
double MicrosPerCall(F f, Target& target) {
    for (int i = 0; i < 100; ++i) f(target);
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const int n = 1000;
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < n; ++i) f(target);
        auto t1 = std::chrono::steady_clock::now();
        double us = std::chrono::duration<double, std::micro>(t1 - t0).count() / n;
        if (us < best) best = us;
    }
    return best;
}

}  // namespace bench
