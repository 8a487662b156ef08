// Settings strings of the tooltip looks, read field by field as the scanf family would but without
// its undefined behaviour on numbers that do not fit.
#include "controls/tooltipSettings.h"

namespace qtip {
namespace {

bool isSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// One number at *p in the given base; the magnitude saturates at `limit`. False when no digit.
bool readNumber(const wchar_t*& p, int base, uint64_t limit, bool& negative, uint64_t& magnitude) {
    const wchar_t* s = p;
    while (isSpace(*s)) ++s;
    negative = false;
    if (*s == L'+' || *s == L'-') negative = *s++ == L'-';
    if (base == 16 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X') && hexDigit(s[2]) >= 0) s += 2;
    magnitude = 0;
    const wchar_t* digits = s;
    for (int d; (d = hexDigit(*s)) >= 0 && d < base; ++s)
        magnitude = magnitude > limit ? magnitude : magnitude * base + d;
    if (s == digits) return false;
    if (magnitude > limit) magnitude = limit;
    p = s;
    return true;
}

// Walks "number,number,..." and hands each field to store(index, negative, magnitude).
template <class Store>
int walkFields(const wchar_t* text, int count, int base, uint64_t limit, Store store) {
    if (!text || count <= 0) return 0;
    const wchar_t* p = text;
    int n = 0;
    while (n < count) {
        bool negative;
        uint64_t magnitude;
        if (!readNumber(p, base, limit, negative, magnitude)) break;
        store(n++, negative, magnitude);
        if (n == count || *p != L',') break;
        ++p;
    }
    return n;
}

}  // namespace

int parseDecimalFields(const wchar_t* text, int32_t* out, int count) {
    if (!out) return 0;
    // One more than INT32_MAX so that the negative end is reachable too.
    return walkFields(text, count, 10, 0x80000000ull, [out](int i, bool negative, uint64_t m) {
        out[i] = negative ? (int32_t)(0 - (int64_t)m) : (int32_t)(m > 0x7FFFFFFFull ? 0x7FFFFFFFull : m);
    });
}

int parseHexFields(const wchar_t* text, uint32_t* out, int count) {
    if (!out) return 0;
    return walkFields(text, count, 16, 0xFFFFFFFFull, [out](int i, bool negative, uint64_t m) {
        out[i] = negative ? (uint32_t)(0u - (uint32_t)m) : (uint32_t)m;
    });
}

}  // namespace qtip
