// Reading the tooltip looks from their text form: comma-separated numbers as the string table and
// the settings file hold them. Plain functions over strings, no window system: the sanitizer and
// fuzzing builds compile this file natively.
#pragma once
#include <cstdint>

namespace qtip {

// Fields of the layout string "offsetX,offsetY,marginX,marginY,shadowX,shadowY,spare,tailHeight".
constexpr int kLayoutFields = 8;
// Fields of the colour string "text,back,frame,shadow".
constexpr int kColourFields = 4;

// Reads up to `count` decimal fields the way "%d,%d,..." does: leading white space before a number
// is skipped, each number may carry a sign, a comma must follow directly to go on. Fields read are
// stored in out[0..n); the others keep their values. Numbers beyond 32 bits are clamped.
// Returns n, the count of fields read (0 for a null text).
int parseDecimalFields(const wchar_t* text, int32_t* out, int count);

// The same with hexadecimal fields as "%x,%x,..." reads them (an optional 0x or 0X prefix, an
// optional sign that negates modulo 2^32); values beyond 32 bits are clamped to 0xFFFFFFFF.
int parseHexFields(const wchar_t* text, uint32_t* out, int count);

}  // namespace qtip
