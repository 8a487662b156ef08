// Minimal benchmark harness: each file registers cases with BENCH; qbench runs them all
// (or those whose name contains argv[1]) and prints one line per measurement.
#pragma once
#include <algorithm>
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

// Seconds per call of a subject and of its yardstick, measured in alternating short batches so
// both see the same load from whatever else runs on the machine. The machine is shared and
// preempts us often: the fastest batch of each is the one nothing interrupted, so it counts.
struct BenchPair {
    double subject, yardstick;
    double ratio() const { return subject / yardstick; }
};

namespace benchDetail {
template <class F>
double batchSeconds(F& fn, long calls) {
    auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
// Calls per batch so that one batch lasts about `target` seconds.
template <class F>
long batchCalls(F& fn, double target) {
    long calls = 1;
    while (calls < (1L << 24) && batchSeconds(fn, calls) < target) calls *= 2;
    return calls;
}
}  // namespace benchDetail

template <class A, class B>
BenchPair benchPair(A&& subject, B&& yardstick, double seconds = 0.8, double batch = 0.0005) {
    using namespace benchDetail;
    const long na = batchCalls(subject, batch), nb = batchCalls(yardstick, batch);
    BenchPair best = {1e9, 1e9};
    auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 20000; ++round) {
        best.subject = std::min(best.subject, batchSeconds(subject, na) / na);
        best.yardstick = std::min(best.yardstick, batchSeconds(yardstick, nb) / nb);
        if (round >= 20 && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds)
            break;
    }
    return best;
}

// "name: value unit  goal: <= or >= goal  met/MISSED" on one line.
inline void benchGoal(const char* what, double value, const char* unit, bool atMost, double goal) {
    bool met = atMost ? value <= goal : value >= goal;
    std::printf("  %-58s %8.2f %-22s goal %s %.2f  %s\n", what, value, unit, atMost ? "<=" : ">=", goal,
                met ? "met" : "MISSED");
    std::fflush(stdout);
}
