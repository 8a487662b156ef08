// Minimal benchmark harness: each file registers cases with BENCH; qbench runs them all
// (or those whose name contains argv[1]) and prints one line per measurement.
#pragma once
#include <chrono>
#include <cstdio>

using BenchFn = void (*)();
int benchRegister(const char* name, BenchFn fn);

#define BENCH(name)                                                          \
    static void name##_bench();                                              \
    static const int name##_registered = benchRegister(#name, name##_bench); \
    static void name##_bench()

// Seconds per call of fn, measured over repeated calls for at least minSeconds (after one warm-up call).
template <class F>
double benchTime(F&& fn, double minSeconds = 0.3) {
    using clock = std::chrono::steady_clock;
    fn();
    long iterations = 0;
    auto start = clock::now();
    double elapsed = 0;
    do {
        fn();
        ++iterations;
        elapsed = std::chrono::duration<double>(clock::now() - start).count();
    } while (elapsed < minSeconds);
    return elapsed / iterations;
}

// "name: value unit" on one line.
inline void benchReport(const char* what, double value, const char* unit) {
    std::printf("  %-58s %12.3f %s\n", what, value, unit);
    std::fflush(stdout);
}
