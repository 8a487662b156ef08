// Conversions between buffers, bitmaps and packed DIBs, and drawing through disp32, compared
// pixel by pixel.
#include <gtest/gtest.h>
#include "platform/q32/include/q32Cvt.h"
#include "q32Test.h"
#include <cstdlib>
#include <functional>

using namespace q32test;
using Bytes = std::vector<BYTE>;

namespace {
size_t stride(int w, int bits) { return (size_t(w) * bits + 31) / 32 * 4; }

// Expected top-down pixels: pattern() on colour channels, alpha = 255 - x when u is 4.
Bytes expected(int w, int h, int u) {
    Bytes v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < u; ++c) v.push_back(c == 3 ? BYTE(255 - x) : pattern(x, y, c));
    return v;
}

// Writes expected() into DIB rows of the given order and padding.
void writeRows(BYTE* bits, int w, int h, int u, bool bottomUp) {
    Bytes px = expected(w, h, u);
    for (int y = 0; y < h; ++y)
        memcpy(bits + (bottomUp ? h - 1 - y : y) * stride(w, u * 8), &px[size_t(y) * w * u], size_t(w) * u);
}

Bytes bitmapPixels(HBITMAP bm, int w, int h) {  // 32-bit top-down through GetDIBits
    BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB}};
    Bytes v(size_t(w) * h * 4);
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, bm, 0, h, v.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return lines == h ? v : Bytes();
}

// Checks a block made by cvt32BufToDIB / cvt32DDBToDIB against expected() and frees it.
void checkDibBlock(HGLOBAL g, int w, int h, int u) {
    ASSERT_TRUE(g);
    auto* p = static_cast<const BYTE*>(GlobalLock(g));
    ASSERT_TRUE(p);
    BITMAPINFOHEADER hdr;
    memcpy(&hdr, p, sizeof hdr);
    EXPECT_EQ(40u, hdr.biSize);
    EXPECT_EQ(w, hdr.biWidth);
    EXPECT_EQ(-h, hdr.biHeight);
    EXPECT_EQ(u * 8, hdr.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), hdr.biCompression);
    EXPECT_EQ(stride(w, u * 8) * h, hdr.biSizeImage);
    EXPECT_GE(GlobalSize(g), 40 + hdr.biSizeImage);
    Bytes want(stride(w, u * 8) * h, 0);
    writeRows(want.data(), w, h, u, false);
    EXPECT_EQ(want, Bytes(p + 40, p + 40 + want.size()));  // padding bytes included: zero
    GlobalUnlock(g);
    GlobalFree(g);
}

// A packed DIB: header, `extra` DWORDs (masks or colours), then rows of value(x, y) in `bits` bits.
Bytes packedDib(int w, int h, int bits, DWORD comp, const std::vector<DWORD>& extra,
                const std::function<uint32_t(int, int)>& value, DWORD colorsUsed = 0) {
    int rows = std::abs(h);
    Bytes d(40 + extra.size() * 4 + stride(w, bits) * rows, 0);
    BITMAPINFOHEADER hdr = {40, w, h, 1, WORD(bits), comp, DWORD(stride(w, bits) * rows), 0, 0, colorsUsed, 0};
    memcpy(d.data(), &hdr, 40);
    memcpy(d.data() + 40, extra.data(), extra.size() * 4);
    BYTE* data = d.data() + 40 + extra.size() * 4;
    for (int y = 0; y < rows; ++y) {
        BYTE* row = data + (h > 0 ? rows - 1 - y : y) * stride(w, bits);
        for (int x = 0; x < w; ++x) {
            uint32_t v = value(x, y);
            if (bits < 8)
                row[x * bits / 8] |= BYTE(v << (8 - bits - x * bits % 8));
            else
                for (int b = 0; b < bits / 8; ++b) row[x * bits / 8 + b] = BYTE(v >> (8 * b));
        }
    }
    return d;
}

// Converts a packed DIB and expects a U=3 buffer whose pixel (x, y) is rgb(x, y) (0xRRGGBB).
void expectDibPixels(const Bytes& dib, int w, int h, const std::function<uint32_t(int, int)>& rgb) {
    void* buf = nullptr;
    HGDIOBJ extra = reinterpret_cast<HGDIOBJ>(1);
    ASSERT_TRUE(cvt32DIBPtrToBuf(dib.data(), &buf, &extra, nullptr, 0));
    EXPECT_EQ(nullptr, extra);
    int bw, bh, u;
    ASSERT_TRUE(buf32GetWHU(buf, &bw, &bh, &u));
    EXPECT_EQ(w, bw); EXPECT_EQ(h, bh); ASSERT_EQ(3, u);
    Bytes px = pixelsOf(buf);
    buf32Free(buf);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = rgb(x, y);
            const BYTE* p = &px[(size_t(y) * w + x) * 3];
            ASSERT_EQ(c, uint32_t(p[2] << 16 | p[1] << 8 | p[0])) << "pixel " << x << "," << y;
        }
}
}  // namespace

TEST(Convert, DeviceBitmapRoundTripKeepsAlpha) {
    const int w = 37, h = 23;
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    BITMAP bm;
    GetObjectW(ddb, sizeof bm, &bm);
    ASSERT_EQ(32, bm.bmBitsPixel) << "the test display should be 32 bits deep";
    Bytes src = expected(w, h, 4);
    BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB}};
    ASSERT_EQ(h, SetDIBits(nullptr, ddb, 0, h, src.data(), &bi, DIB_RGB_COLORS));
    ASSERT_EQ(src, bitmapPixels(ddb, w, h));

    void* buf = nullptr;
    ASSERT_TRUE(cvt32DDBToBuf(ddb, &buf, 0));
    EXPECT_EQ(src, pixelsOf(buf));
    HBITMAP back = nullptr;
    ASSERT_TRUE(cvt32BufToDDB(buf, &back, 0));
    GetObjectW(back, sizeof bm, &bm);
    EXPECT_EQ(w, bm.bmWidth); EXPECT_EQ(h, bm.bmHeight);
    EXPECT_EQ(nullptr, bm.bmBits);  // device-dependent, not a section
    EXPECT_EQ(src, bitmapPixels(back, w, h));
    checkDibBlock(cvt32DDBToDIB(ddb, reinterpret_cast<HGLOBAL*>(&buf), 0) ? HGLOBAL(buf) : nullptr, w, h, 4);
    DeleteObject(back);

    // Three-byte pixels, odd width: rows are padded on the way into the bitmap.
    void* rgb = nullptr;
    ASSERT_TRUE(cvt32DDBToBuf(ddb, &buf, 0));
    ASSERT_TRUE(buf32Alloc(&rgb, 24, w, h, 2, nullptr));
    Bytes px = expected(w, h, 3);
    ASSERT_TRUE(buf32MergeMem(rgb, 0, 0, px.data(), w, h));
    ASSERT_TRUE(cvt32BufToDDB(rgb, &back, 0));
    Bytes got = bitmapPixels(back, w, h);
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        ASSERT_EQ(0, memcmp(&px[i * 3], &got[i * 4], 3)) << "pixel " << i;
        ASSERT_EQ(255, got[i * 4 + 3]) << "pixel " << i;
    }
    DeleteObject(back);
    buf32Free(rgb);
    buf32Free(buf);
    DeleteObject(ddb);
}

TEST(Convert, DibSectionsOfBothRowOrdersRoundTrip) {
    const int w = 37, h = 23;
    for (int u : {3, 4})
        for (bool bottomUp : {false, true}) {
            SCOPED_TRACE(testing::Message() << "u=" << u << (bottomUp ? " bottom-up" : " top-down"));
            BITMAPINFO bi = {{sizeof(BITMAPINFOHEADER), w, bottomUp ? h : -h, 1, WORD(u * 8), BI_RGB}};
            void* bits = nullptr;
            HBITMAP section = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
            ASSERT_TRUE(section && bits);
            writeRows(static_cast<BYTE*>(bits), w, h, u, bottomUp);
            void* buf = nullptr;
            ASSERT_TRUE(cvt32DDBToBuf(section, &buf, 0));
            EXPECT_EQ(expected(w, h, u), pixelsOf(buf));
            HGLOBAL block = nullptr;
            ASSERT_TRUE(cvt32BufToDIB(buf, &block, 0, 0));
            checkDibBlock(block, w, h, u);
            ASSERT_TRUE(cvt32DDBToDIB(section, &block, 0));
            checkDibBlock(block, w, h, u);
            buf32Free(buf);
            DeleteObject(section);
        }
}

TEST(Convert, PackedDibsWithoutColourTable) {
    const int w = 5, h = 4;
    for (int bits : {24, 32})
        for (int height : {h, -h}) {
            Bytes dib(40 + stride(w, bits) * h);
            BITMAPINFOHEADER hdr = {40, w, height, 1, WORD(bits), BI_RGB};
            memcpy(dib.data(), &hdr, 40);
            writeRows(dib.data() + 40, w, h, bits / 8, height > 0);
            void* buf = nullptr;
            ASSERT_TRUE(cvt32DIBPtrToBuf(dib.data(), &buf, nullptr, nullptr, 0));
            EXPECT_EQ(expected(w, h, bits / 8), pixelsOf(buf)) << bits << " bits, height " << height;
            buf32Free(buf);
        }
    // 32 bits with the plain masks keeps its alpha; swapped masks are read through the masks.
    auto bgra = [](int x, int y) { return uint32_t(255 - x) << 24 | pattern(x, y, 2) << 16 | pattern(x, y, 1) << 8 | pattern(x, y, 0); };
    Bytes plain = packedDib(w, -h, 32, BI_BITFIELDS, {0xFF0000, 0xFF00, 0xFF}, bgra);
    void* buf = nullptr;
    ASSERT_TRUE(cvt32DIBPtrToBuf(plain.data(), &buf, nullptr, nullptr, 0));
    EXPECT_EQ(expected(w, h, 4), pixelsOf(buf));
    buf32Free(buf);
    Bytes swapped = packedDib(w, h, 32, BI_BITFIELDS, {0xFF, 0xFF00, 0xFF0000}, [](int x, int y) { return uint32_t(x << 16 | y << 8 | (x + y)); });
    expectDibPixels(swapped, w, h, [](int x, int y) { return uint32_t((x + y) << 16 | y << 8 | x); });
}

TEST(Convert, PackedDibsWithColourTablesMasksAndRunLengths) {
    const std::vector<DWORD> six = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF};
    auto colour = [&](const std::vector<DWORD>& t, int i) { return uint32_t(t[i]); };
    // 8 bits, top-down, a short table (biClrUsed = 6).
    expectDibPixels(packedDib(13, -5, 8, BI_RGB, six, [](int x, int y) { return uint32_t((x + y) % 6); }, 6), 13, 5,
                    [&](int x, int y) { return colour(six, (x + y) % 6); });
    // 4 and 1 bits, bottom-up, full tables, widths that end inside a byte.
    std::vector<DWORD> sixteen;
    for (int i = 0; i < 16; ++i) sixteen.push_back(DWORD(i * 0x0F0D0B));
    expectDibPixels(packedDib(7, 3, 4, BI_RGB, sixteen, [](int x, int y) { return uint32_t((x * 3 + y) % 16); }), 7, 3,
                    [&](int x, int y) { return colour(sixteen, (x * 3 + y) % 16); });
    const std::vector<DWORD> two = {0x203040, 0xA0B0C0};
    expectDibPixels(packedDib(19, 3, 1, BI_RGB, two, [](int x, int y) { return uint32_t((x ^ y) & 1); }), 19, 3,
                    [&](int x, int y) { return colour(two, (x ^ y) & 1); });
    // 16 bits 5-6-5 through masks: full and empty channels are exact on every GDI.
    auto rgb565 = [](int x, int y) { return uint32_t((x & 1 ? 0xF800 : 0) | (y & 1 ? 0x07E0 : 0) | (x & 2 ? 0x001F : 0)); };
    expectDibPixels(packedDib(6, 4, 16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}, rgb565), 6, 4, [](int x, int y) {
        return uint32_t((x & 1 ? 0xFF0000 : 0) | (y & 1 ? 0x00FF00 : 0) | (x & 2 ? 0x0000FF : 0));
    });
    // RLE8, bottom-up: the lower row is two runs, the upper one a run of four.
    Bytes rle = {2, 1, 2, 2, 0, 0, 4, 3, 0, 1};
    Bytes dib(40 + 4 * 4 + rle.size());
    BITMAPINFOHEADER hdr = {40, 4, 2, 1, 8, BI_RLE8, DWORD(rle.size()), 0, 0, 4, 0};
    const DWORD table[4] = {0, 0x112233, 0x445566, 0x778899};
    memcpy(dib.data(), &hdr, 40);
    memcpy(dib.data() + 40, table, 16);
    memcpy(dib.data() + 56, rle.data(), rle.size());
    expectDibPixels(dib, 4, 2, [&](int x, int y) { return uint32_t(y == 0 ? table[3] : table[x < 2 ? 1 : 2]); });
}

TEST(Convert, BadInputFailsAndLeavesNothing) {
    BITMAPINFOHEADER bad[] = {{12, 4, 4, 1, 24}, {40, 0, 4, 1, 24}, {40, 4, 0, 1, 24}, {40, 4, 4, 1, 0, BI_JPEG},
                              {40, 4, -4, 1, 8, BI_RLE8}, {40, 4, 4, 1, 24, BI_BITFIELDS}, {40, 65536, 65536, 1, 32}};
    void* buf = nullptr;
    void* rgb1 = nullptr;
    ASSERT_TRUE(buf32Alloc(&rgb1, 8, 4, 4, 2, nullptr));
    HBRUSH brush = CreateSolidBrush(0);
    HeapUse before = heapUse();
    int results = 0;
    for (auto& h : bad) {
        Bytes dib(sizeof h + 4096, 0);
        memcpy(dib.data(), &h, sizeof h);
        buf = &buf;
        results += cvt32DIBPtrToBuf(dib.data(), &buf, nullptr, nullptr, 0) + (buf != nullptr);
    }
    HBITMAP bm = reinterpret_cast<HBITMAP>(1);
    HGLOBAL g = reinterpret_cast<HGLOBAL>(1);
    results += cvt32DIBPtrToBuf(nullptr, &buf, nullptr, nullptr, 0) + cvt32DDBToBuf(nullptr, &buf, 0) +
               cvt32DDBToBuf(reinterpret_cast<HBITMAP>(brush), &buf, 0) + (buf != nullptr);
    results += cvt32BufToDDB(rgb1, &bm, 0) + cvt32BufToDDB(nullptr, &bm, 0) + (bm != nullptr);
    results += cvt32BufToDIB(rgb1, &g, 0, 0) + cvt32DDBToDIB(reinterpret_cast<HBITMAP>(brush), &g, 0) + (g != nullptr);
    results += cvt32BufToDIB(rgb1, nullptr, 0, 0) + cvt32DDBToBuf(nullptr, nullptr, 0);
    HeapUse after = heapUse();
    EXPECT_EQ(0, results);
    EXPECT_TRUE(before == after);
    DeleteObject(brush);
    buf32Free(rgb1);
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
        SCOPED_TRACE(testing::Message() << "u=" << u);
        std::fill(px, px + W * H, 0xFF123456u);
        Bytes block = expected(21, 10, u);
        void* disp = nullptr;
        // Delivered in two bands, as a caller streaming rows would.
        ASSERT_TRUE(disp32ShowInit(&disp, dc, u * 8, &dest, nullptr, 0, 0));
        ASSERT_TRUE(disp32ShowData(disp, block.data(), 0, 0, 4, 21 * u));
        EXPECT_EQ(0, disp32ShowData(disp, block.data(), 1, 4, 6, 21 * u));  // sticks out on the right
        ASSERT_TRUE(disp32ShowData(disp, &block[4 * 21 * u], 0, 4, 6, 21 * u));
        ASSERT_TRUE(disp32ShowEnd(disp));
        GdiFlush();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                uint32_t want = 0x123456;
                if (x >= 5 && x < 26 && y >= 4 && y < 14) {
                    const BYTE* s = &block[((y - 4) * 21 + (x - 5)) * u];
                    want = u == 1 ? s[0] * 0x010101u : uint32_t(s[0] | s[1] << 8 | s[2] << 16);
                }
                ASSERT_EQ(want, px[y * W + x] & 0xFFFFFF) << x << "," << y;
            }
    }
    // A block at an offset draws only itself.
    std::fill(px, px + W * H, 0u);
    const uint32_t two[2] = {0x00A0B0C0, 0x00D0E0F0};
    void* disp = nullptr;
    ASSERT_TRUE(disp32ShowInit(&disp, dc, 32, &dest, nullptr, 0, 0));
    ASSERT_TRUE(disp32ShowData(disp, two, 3, 2, 1, 8));
    ASSERT_TRUE(disp32ShowEnd(disp));
    GdiFlush();
    int drawn = 0;
    for (int i = 0; i < W * H; ++i) drawn += px[i] != 0;
    EXPECT_EQ(2, drawn);
    EXPECT_EQ(two[0], px[6 * W + 8] & 0xFFFFFF);
    EXPECT_EQ(two[1], px[6 * W + 9] & 0xFFFFFF);
    // Failures: nothing delivered, bad rows, bad arguments.
    ASSERT_TRUE(disp32ShowInit(&disp, dc, 24, &dest, nullptr, 0, 0));
    EXPECT_EQ(0, disp32ShowData(disp, two, 0, 0, 1, 4));  // not whole 3-byte pixels
    EXPECT_EQ(0, disp32ShowEnd(disp));
    const RECT empty = {5, 5, 5, 9};
    disp = &disp;
    EXPECT_EQ(0, disp32ShowInit(&disp, dc, 16, &dest, nullptr, 0, 0));
    EXPECT_EQ(0, disp32ShowInit(&disp, nullptr, 32, &dest, nullptr, 0, 0));
    EXPECT_EQ(0, disp32ShowInit(&disp, dc, 32, &empty, nullptr, 0, 0));
    EXPECT_EQ(nullptr, disp);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}
