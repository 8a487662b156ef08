// Reads a fuzzer's bytes as parameters, then as data; past the end everything reads as zero.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qfuzz {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_p(data), m_end(data + size) {}
    template <class T>
    T take() {
        T v{};
        size_t n = std::min(sizeof v, size_t(m_end - m_p));
        std::memcpy(&v, m_p, n);
        m_p += n;
        return v;
    }
    // An integer in [lo, hi].
    int range(int lo, int hi) { return lo + int(take<uint32_t>() % uint32_t(hi - lo + 1)); }
    // n bytes of what is left, repeated when it is shorter (zeros when nothing is left).
    std::vector<uint8_t> bytes(size_t n) {
        std::vector<uint8_t> v(n);
        size_t left = size_t(m_end - m_p);
        for (size_t i = 0; left && i < n; ++i) v[i] = m_p[i % left];
        return v;
    }
    const uint8_t* rest() const { return m_p; }
    size_t left() const { return size_t(m_end - m_p); }

private:
    const uint8_t* m_p;
    const uint8_t* m_end;
};

// A failed check: the fuzzer reports it as a crash and keeps the input.
#define QFUZZ_CHECK(c)                                                                \
    do {                                                                              \
        if (!(c)) {                                                                   \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #c, __FILE__, __LINE__);   \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

}  // namespace qfuzz
