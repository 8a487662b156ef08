// Conversions between buffers, bitmaps and packed DIBs, and drawing through disp32, compared
// pixel by pixel.
#include <gtest/gtest.h>
#include "platform/q32/include/q32Cvt.h"
#include "q32Test.h"
#include <cstdlib>
#include <functional>

using namespace q32test;
using PixelFn = std::function<uint32_t(int x, int y)>;

namespace {
size_t stride(int w, int bits) { return (size_t(w) * bits + 31) / 32 * 4; }

// pattern() packed as a little-endian value of u bytes.
uint32_t patternValue(int x, int y, int u) {
    uint32_t v = 0;
    for (int c = 0; c < u; ++c) v |= uint32_t(pattern(x, y, c)) << (8 * c);
    return v;
}

// DIB rows (padded, in the given order) of value(x, y) at `bits` bits per pixel.
Bytes dibRows(int w, int h, int bits, bool bottomUp, const PixelFn& value) {
    Bytes d(stride(w, bits) * h, 0);
    for (int y = 0; y < h; ++y) {
        BYTE* row = &d[(bottomUp ? h - 1 - y : y) * stride(w, bits)];
        for (int x = 0; x < w; ++x)
            if (bits < 8)
                row[x * bits / 8] |= BYTE(value(x, y) << (8 - bits - x * bits % 8));
            else
                for (int b = 0; b < bits / 8; ++b) row[x * bits / 8 + b] = BYTE(value(x, y) >> (8 * b));
    }
    return d;
}

// A packed DIB: a 40-byte header, `extra` DWORDs (masks or colours), then the rows.
Bytes packedDib(int w, int h, int bits, DWORD comp, const std::vector<DWORD>& extra, const PixelFn& value,
                DWORD colorsUsed = 0) {
    Bytes rows = dibRows(w, std::abs(h), bits, h > 0, value), d(40 + extra.size() * 4);
    BITMAPINFOHEADER hdr = {40, w, h, 1, WORD(bits), comp, DWORD(rows.size()), 0, 0, colorsUsed, 0};
    memcpy(d.data(), &hdr, 40);
    memcpy(d.data() + 40, extra.data(), extra.size() * 4);
    d.insert(d.end(), rows.begin(), rows.end());
    return d;
}

// A block from cvt32BufToDIB / cvt32DDBToDIB must hold pattern(), padding zero; it is freed here.
void checkDibBlock(HGLOBAL g, int w, int h, int u) {
    ASSERT_TRUE(g);
    auto* p = static_cast<const BYTE*>(GlobalLock(g));
    BITMAPINFOHEADER want = {40, w, -h, 1, WORD(u * 8), BI_RGB, DWORD(stride(w, u * 8) * h)};
    EXPECT_EQ(0, memcmp(&want, p, 40));
    EXPECT_GE(GlobalSize(g), 40 + want.biSizeImage);
    EXPECT_EQ(dibRows(w, h, u * 8, false, [u](int x, int y) { return patternValue(x, y, u); }),
              Bytes(p + 40, p + 40 + want.biSizeImage));
    GlobalUnlock(g);
    GlobalFree(g);
}

// Converts a packed DIB and expects a buffer of u-byte pixels holding value(x, y).
void expectDibPixels(const Bytes& dib, int w, int h, int u, const PixelFn& value) {
    void* buf = nullptr;
    HGDIOBJ extra = reinterpret_cast<HGDIOBJ>(1);
    ASSERT_TRUE(cvt32DIBPtrToBuf(dib.data(), &buf, &extra, nullptr, 0));
    int bw, bh, bu;
    EXPECT_TRUE(!extra && buf32GetWHU(buf, &bw, &bh, &bu) && bw * 100 + bh * 10 + bu == w * 100 + h * 10 + u);
    Bytes px = pixelsOf(buf), want;
    buf32Free(buf);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < u; ++c) want.push_back(BYTE(value(x, y) >> (8 * c)));
    EXPECT_EQ(want, px);
}
}  // namespace

// Sections of both row orders to buffers, blocks and device bitmaps: four-byte pixels keep their
// alpha through a device bitmap, three-byte ones become opaque (the width of several widening strips).
TEST(Convert, SectionsAndDeviceBitmapsRoundTrip) {
    const int h = 23;
    for (int u : {3, 4})
        for (bool bottomUp : {false, true}) {
            SCOPED_TRACE(testing::Message() << "u=" << u << (bottomUp ? " bottom-up" : " top-down"));
            const int w = u == 4 ? 37 : 4001;
            BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, bottomUp ? h : -h, 1, WORD(u * 8), BI_RGB}};
            void *bits = nullptr, *buf = nullptr, *again = nullptr;
            HBITMAP section = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), ddb = nullptr;
            ASSERT_TRUE(section && bits);
            Bytes rows = dibRows(w, h, u * 8, bottomUp, [u](int x, int y) { return patternValue(x, y, u); });
            memcpy(bits, rows.data(), rows.size());
            HGLOBAL block = nullptr;
            ASSERT_TRUE(cvt32DDBToBuf(section, &buf, 0));
            const Bytes px = expected(w, h, u);
            EXPECT_EQ(px, pixelsOf(buf));
            ASSERT_TRUE(cvt32BufToDIB(buf, &block, 0, 0));
            checkDibBlock(block, w, h, u);
            ASSERT_TRUE(cvt32DDBToDIB(section, &block, 0));
            checkDibBlock(block, w, h, u);
            ASSERT_TRUE(cvt32BufToDDB(buf, &ddb, 0));
            BITMAP bm = {};
            EXPECT_TRUE(GetObjectW(ddb, sizeof bm, &bm) && bm.bmBitsPixel == 32 && !bm.bmBits);  // not a section
            BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB}};
            Bytes want, got(size_t(w) * h * 4);
            for (size_t i = 0; i < got.size(); ++i) want.push_back(i % 4 < size_t(u) ? px[i / 4 * u + i % 4] : 255);
            HDC screen = GetDC(nullptr);
            EXPECT_TRUE(GetDIBits(screen, ddb, 0, h, got.data(), &info, DIB_RGB_COLORS) == h && want == got);
            ReleaseDC(nullptr, screen);
            if (u == 4) {
                ASSERT_TRUE(cvt32DDBToBuf(ddb, &again, 0) && cvt32DDBToDIB(ddb, &block, 0));
                EXPECT_EQ(px, pixelsOf(again));
                checkDibBlock(block, w, h, 4);
                buf32Free(again);
            }
            DeleteObject(ddb);
            DeleteObject(section);
            buf32Free(buf);
        }
}

TEST(Convert, PackedDibsOfEveryDepthTablesMasksAndRunLengths) {
    auto p3 = [](int x, int y) { return patternValue(x, y, 3); };
    auto p4 = [](int x, int y) { return patternValue(x, y, 4); };
    for (int h : {4, -4}) {  // both row orders; 5 pixels of 3 bytes need row padding
        expectDibPixels(packedDib(5, h, 24, BI_RGB, {}, p3), 5, 4, 3, p3);
        expectDibPixels(packedDib(5, h, 32, BI_RGB, {}, p4), 5, 4, 4, p4);
    }
    expectDibPixels(packedDib(5, -4, 32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, p4), 5, 4, 4, p4);  // alpha kept
    const std::vector<DWORD> six = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF};
    const std::vector<DWORD> two = {0x203040, 0xA0B0C0};
    // 8 bits top-down with a short table (biClrUsed = 6); 1 bit bottom-up, rows ending inside a byte.
    expectDibPixels(packedDib(13, -5, 8, BI_RGB, six, [](int x, int y) { return uint32_t((x + y) % 6); }, 6), 13, 5, 3,
                    [&](int x, int y) { return six[(x + y) % 6]; });
    expectDibPixels(packedDib(19, 3, 1, BI_RGB, two, [](int x, int y) { return uint32_t((x ^ y) & 1); }), 19, 3, 3,
                    [&](int x, int y) { return two[(x ^ y) & 1]; });
    // RLE8, bottom-up: the lower row is two runs, the upper one a run of four.
    const DWORD table[4] = {0, 0x112233, 0x445566, 0x778899};
    const BYTE rle[] = {2, 1, 2, 2, 0, 0, 4, 3, 0, 1};
    BITMAPINFOHEADER hdr = {40, 4, 2, 1, 8, BI_RLE8, sizeof rle, 0, 0, 4, 0};
    Bytes dib(reinterpret_cast<BYTE*>(&hdr), reinterpret_cast<BYTE*>(&hdr + 1));
    dib.insert(dib.end(), reinterpret_cast<const BYTE*>(table), reinterpret_cast<const BYTE*>(table + 4));
    dib.insert(dib.end(), rle, rle + sizeof rle);
    expectDibPixels(dib, 4, 2, 3, [&](int x, int y) { return y == 0 ? table[3] : table[x < 2 ? 1 : 2]; });
}

TEST(Convert, BadInputFailsAndLeavesNothing) {
    const BITMAPINFOHEADER bad[] = {{12, 4, 4, 1, 24}, {40, 0, 4, 1, 24}, {40, 4, 4, 1, 0, BI_JPEG},
                                    {40, 4, -4, 1, 8, BI_RLE8}, {40, 65536, 65536, 1, 32}};
    void *buf = nullptr, *grey = nullptr;
    ASSERT_TRUE(buf32Alloc(&grey, 8, 4, 4, 2, nullptr));
    HBRUSH brush = CreateSolidBrush(0);
    HBITMAP bm = reinterpret_cast<HBITMAP>(1);
    HGLOBAL g = reinterpret_cast<HGLOBAL>(1);
    Bytes dib(4096, 0);
    HeapUse before = heapUse();
    int results = 0;
    for (auto& h : bad) {
        memcpy(dib.data(), &h, sizeof h);
        buf = &buf;
        results += cvt32DIBPtrToBuf(dib.data(), &buf, nullptr, nullptr, 0) + (buf != nullptr);
    }
    results += cvt32DIBPtrToBuf(nullptr, &buf, nullptr, nullptr, 0) + cvt32DDBToBuf(nullptr, &buf, 0) +
               cvt32DDBToBuf(reinterpret_cast<HBITMAP>(brush), &buf, 0) + (buf != nullptr);
    results += cvt32BufToDDB(grey, &bm, 0) + cvt32BufToDDB(nullptr, &bm, 0) + (bm != nullptr);
    results += cvt32BufToDIB(grey, &g, 0, 0) + cvt32DDBToDIB(reinterpret_cast<HBITMAP>(brush), &g, 0) + (g != nullptr);
    results += cvt32BufToDIB(grey, nullptr, 0, 0) + cvt32DDBToBuf(nullptr, nullptr, 0);
    EXPECT_TRUE(0 == results && (before == heapUse()));
    DeleteObject(brush);
    buf32Free(grey);
}

TEST(Display, DrawsDeliveredBlocksIntoTheDestination) {
    const int W = 40, H = 30;
    BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB}};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    auto* px = static_cast<uint32_t*>(bits);
    const RECT dest = {5, 4, 26, 14};  // 21 x 10: odd width pads 3-byte rows
    for (int u : {1, 3, 4}) {
        std::fill(px, px + W * H, 0xFF123456u);
        Bytes block = expected(21, 10, u);
        void* disp = nullptr;
        ASSERT_TRUE(disp32ShowInit(&disp, dc, u * 8, &dest, nullptr, 0, 0) &&
                    disp32ShowData(disp, block.data(), 0, 0, 10, 21 * u) && disp32ShowEnd(disp));
        GdiFlush();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                bool inside = x >= 5 && x < 26 && y >= 4 && y < 14;
                uint32_t want = inside ? patternValue(x - 5, y - 4, 3) : 0x123456;
                if (inside && u == 1) want = pattern(x - 5, y - 4, 0) * 0x010101u;
                ASSERT_EQ(want, px[y * W + x] & 0xFFFFFF) << "u=" << u << " at " << x << "," << y;
            }
    }
    // Failures: rows not of whole pixels, nothing delivered, bad arguments.
    const uint32_t two[2] = {0x00A0B0C0, 0x00D0E0F0};
    void* disp = nullptr;
    ASSERT_TRUE(disp32ShowInit(&disp, dc, 24, &dest, nullptr, 0, 0));
    EXPECT_EQ(0, disp32ShowData(disp, two, 0, 0, 1, 4) + disp32ShowEnd(disp));
    const RECT empty = {5, 5, 5, 9};
    disp = &disp;
    EXPECT_EQ(0, disp32ShowInit(&disp, dc, 16, &dest, nullptr, 0, 0) + disp32ShowInit(&disp, nullptr, 32, &dest, nullptr, 0, 0) +
                     disp32ShowInit(&disp, dc, 32, &empty, nullptr, 0, 0) + disp32ShowInit(&disp, dc, 32, nullptr, nullptr, 0, 0));
    EXPECT_EQ(nullptr, disp);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}
