// The settings-string readers, compiled in from the library's source (they are not exported).
#include <gtest/gtest.h>
#include "controls/tooltipSettings.cpp"

namespace {
TEST(SettingsParse, DecimalFieldsReadAsFarAsTheyGo) {
    const struct {
        const wchar_t* text;
        int read;
        int32_t want[4];
    } cases[] = {
        {L"5,30", 2, {5, 30, -7, -7}},
        {L" 3, -4,+9,12", 4, {3, -4, 9, 12}},
        {L"3 ,4", 1, {3, -7, -7, -7}},            // the comma must follow the number
        {L"5,,7", 1, {5, -7, -7, -7}},
        {L"1,2,3,4,5,6", 4, {1, 2, 3, 4}},        // extra fields ignored
        {L"", 0, {-7, -7, -7, -7}},
        {L"abc", 0, {-7, -7, -7, -7}},
        {L"99999999999,-99999999999,2147483647", 3, {2147483647, -2147483647 - 1, 2147483647, -7}},
        {L"12x,4", 1, {12, -7, -7, -7}},
    };
    for (const auto& c : cases) {
        int32_t out[4] = {-7, -7, -7, -7};
        EXPECT_EQ(c.read, qtip::parseDecimalFields(c.text, out, 4));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c.want[i], out[i]) << i;
    }
    int32_t out[2] = {1, 2};
    EXPECT_EQ(0, qtip::parseDecimalFields(nullptr, out, 2));
    EXPECT_EQ(0, qtip::parseDecimalFields(L"4", nullptr, 2));
    EXPECT_EQ(0, qtip::parseDecimalFields(L"4", out, 0));
    EXPECT_EQ(1, out[0]);
}

TEST(SettingsParse, HexFieldsTakePrefixesCaseAndSigns) {
    const struct {
        const wchar_t* text;
        int read;
        uint32_t want[4];
    } cases[] = {
        {L"0x000000,0xd6FFFF,0X10,808080", 4, {0, 0xD6FFFF, 0x10, 0x808080}},
        {L"0x2040C0,0xA0E0FF", 2, {0x2040C0, 0xA0E0FF, 7, 7}},
        {L"zz,0x1", 0, {7, 7, 7, 7}},
        {L"0x,5", 1, {0, 7, 7, 7}},               // "0" read, the x ends it
        {L"-1, fff", 2, {0xFFFFFFFF, 0xFFF, 7, 7}},
        {L"123456789ABCDEF,1", 2, {0xFFFFFFFF, 1, 7, 7}},
    };
    for (const auto& c : cases) {
        uint32_t out[4] = {7, 7, 7, 7};
        EXPECT_EQ(c.read, qtip::parseHexFields(c.text, out, 4));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c.want[i], out[i]) << i;
    }
}
}  // namespace
