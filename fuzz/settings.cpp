// The settings-string parsers over any text: never more fields than asked, nothing written past
// them, and a list read twice gives the same numbers.
#include "fuzzinput.h"
#include "frame/settingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qfuzz::Input in(data, size);
    const int count = in.range(0, 9);
    // The text as Windows holds it: 16-bit characters, ended by the first NUL or the input's end.
    std::vector<wchar_t> text;
    while (in.left() >= 2) text.push_back(wchar_t(in.take<uint16_t>()));
    text.push_back(0);

    uint32_t hex[10], hexAgain[10];
    int32_t dec[10];
    for (int i = 0; i < 10; ++i) hex[i] = hexAgain[i] = 0xA5A5A5A5u, dec[i] = -7;
    const int readHex = qmod::scanHexList(text.data(), hex, count);
    const int readDec = qmod::scanIntList(text.data(), dec, count);
    QFUZZ_CHECK(readHex >= 0 && readHex <= count && readDec >= 0 && readDec <= count);
    for (int i = readHex; i < 10; ++i) QFUZZ_CHECK(hex[i] == 0xA5A5A5A5u);
    for (int i = readDec; i < 10; ++i) QFUZZ_CHECK(dec[i] == -7);
    QFUZZ_CHECK(qmod::scanHexList(text.data(), hexAgain, count) == readHex);
    QFUZZ_CHECK(std::memcmp(hex, hexAgain, sizeof hex) == 0);
    return 0;
}
