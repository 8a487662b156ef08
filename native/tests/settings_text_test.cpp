// Number lists read like "%x,%x" and "%d,%d" scanf formats, at the edges of the format and of the
// number range.
#include "frame/settingsText.h"
#include <gtest/gtest.h>
#include <climits>

namespace {

TEST(SettingsText, HexListsStopAtTheFirstBadFieldAndKeepTheRest) {
    struct Case {
        const wchar_t* text;
        int read;
        uint32_t a, b, c;
    } cases[] = {
        {L"0x808080,0xFFFFFF", 2, 0x808080, 0xFFFFFF, 7},
        {L"  0X1a, \t2B,c", 3, 0x1A, 0x2B, 0xC},
        {L"0x1 ,2", 1, 1, 6, 7},                  // the comma must follow at once
        {L"0x,5", 1, 0, 6, 7},                    // a bare 0x is the number 0 followed by x
        {L"-0x1,+0x2", 2, 0xFFFFFFFF, 2, 7},
        {L"123456789ABCDEF01,0x123456789,-0x100000000", 3, 0xFFFFFFFF, 0xFFFFFFFF, 1},
        {L",1", 0, 5, 6, 7},
        {L"", 0, 5, 6, 7},
        {L"g", 0, 5, 6, 7},
    };
    for (const Case& c : cases) {
        uint32_t v[3] = {5, 6, 7};
        EXPECT_EQ(qmod::scanHexList(c.text, v, 3), c.read) << c.text;
        EXPECT_EQ(v[0], c.a) << c.text;
        EXPECT_EQ(v[1], c.b) << c.text;
        EXPECT_EQ(v[2], c.c) << c.text;
    }
    uint32_t v = 9;
    EXPECT_EQ(qmod::scanHexList(nullptr, &v, 1), 0);
    EXPECT_EQ(qmod::scanHexList(L"1,2,3", &v, 1), 1) << "never more than asked";
    EXPECT_EQ(v, 1u);
}

TEST(SettingsText, DecimalListsStopAtTheIntRange) {
    // 2^64 + 1 would read as 1 if the digits wrapped instead of saturating.
    int32_t v[5] = {};
    EXPECT_EQ(qmod::scanIntList(L"2147483647,-2147483648,18446744073709551617,-2147483649,-18446744073709551617", v, 5), 5);
    EXPECT_EQ(v[0], INT_MAX);
    EXPECT_EQ(v[1], INT_MIN);
    EXPECT_EQ(v[2], INT_MAX);
    EXPECT_EQ(v[3], INT_MIN);
    EXPECT_EQ(v[4], INT_MIN);
    int32_t w[3] = {1, 2, 3};
    EXPECT_EQ(qmod::scanIntList(L" 2,20x,7", w, 3), 2);  // "x" ends the second field and the list
    EXPECT_EQ(w[0], 2);
    EXPECT_EQ(w[1], 20);
    EXPECT_EQ(w[2], 3);
}

}  // namespace
