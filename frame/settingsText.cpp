// Number lists of the string table and the settings files.
#include "frame/settingsText.h"
#include <climits>

namespace qmod {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

int digitValue(wchar_t c, int base) {
    int d = c >= L'0' && c <= L'9' ? c - L'0'
            : c >= L'a' && c <= L'f' ? c - L'a' + 10
            : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                     : 99;
    return d < base ? d : -1;
}

// One field at p: true with its magnitude and sign; p moves past it.
bool scanNumber(const wchar_t*& p, int base, bool& negative, uint64_t& value) {
    const wchar_t* s = p;
    while (isBlank(*s)) ++s;
    negative = *s == L'-';
    if (*s == L'+' || *s == L'-') ++s;
    // "0x" is a prefix only when a digit follows; otherwise the 0 is the number.
    if (base == 16 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X') && digitValue(s[2], 16) >= 0) s += 2;
    if (digitValue(*s, base) < 0) return false;
    value = 0;
    // Saturates: the callers clamp to their 32-bit range.
    for (int d; (d = digitValue(*s, base)) >= 0; ++s)
        value = value <= (UINT64_MAX - d) / base ? value * base + d : UINT64_MAX;
    p = s;
    return true;
}

template <class T, class Convert>
int scanList(const wchar_t* text, T* out, int count, int base, Convert convert) {
    if (!text || !out) return 0;
    const wchar_t* p = text;
    int n = 0;
    while (n < count) {
        if (n > 0 && *p++ != L',') break;
        bool negative;
        uint64_t value;
        if (!scanNumber(p, base, negative, value)) break;
        out[n++] = convert(negative, value);
    }
    return n;
}

}  // namespace

int scanHexList(const wchar_t* text, uint32_t* out, int count) {
    return scanList(text, out, count, 16, [](bool negative, uint64_t v) {
        const uint32_t m = v > UINT32_MAX ? UINT32_MAX : (uint32_t)v;
        return negative ? 0u - m : m;
    });
}

int scanIntList(const wchar_t* text, int32_t* out, int count) {
    return scanList(text, out, count, 10, [](bool negative, uint64_t v) {
        if (negative) return v >= (uint64_t)INT_MAX + 1 ? INT32_MIN : -(int32_t)v;
        return v >= (uint64_t)INT_MAX ? INT32_MAX : (int32_t)v;
    });
}

}  // namespace qmod
