// Helpers shared by the test binaries: DIB sections to draw into and read back, paths beside the
// library, files created for one test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace testutil {

// A 32-bit top-down DIB section selected into its own memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), int bits = 32);
    ~Canvas();
    HDC dc() const { return m_dc; }
    HBITMAP bitmap() const { return m_bitmap; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    // COLORREF of a pixel (alpha dropped), read from memory after GdiFlush.
    COLORREF at(int x, int y) const;
    // The raw 32-bit value 0xAARRGGBB (32-bit canvases only).
    DWORD raw(int x, int y) const;
    void fill(COLORREF c);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

private:
    int m_w, m_h, m_bits;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    BYTE* m_pixels = nullptr;
};

// Every pixel (x, y) of img (anything with width, height and at) is want(x, y), or the first that is not.
template <class Img, class F>
testing::AssertionResult pixelsAre(const Img& img, F&& want) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.at(x, y) != (COLORREF)want(x, y))
                return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex
                                                   << img.at(x, y) << ", not " << (COLORREF)want(x, y);
    return testing::AssertionSuccess();
}

// Live GDI objects of this process (DCs included). Wine looks a handle whose high word is 0 up by
// its table index alone, so probing every index counts the live entries.
inline int liveGdiObjects() {
    GdiFlush();
    int n = 0;
    for (ULONG_PTR i = 0; i < 0x10000; ++i) n += GetObjectType((HGDIOBJ)i) != 0;
    return n;
}

// Calls fn once to let lazily made objects appear, then again `times` times; the change of the
// live object count over those calls.
template <class F>
int gdiLeakOver(int times, F&& fn) {
    fn();
    int before = liveGdiObjects();
    for (int i = 0; i < times; ++i) fn();
    return liveGdiObjects() - before;
}

// The process's commit charge in bytes (PrivateUsage is not filled in on every platform).
SIZE_T committedBytes();

// Reads pixel (x, y) of any DIB section (bottom-up or top-down; 24 or 32 bits) as 0xAARRGGBB.
DWORD dibPixel(HBITMAP dib, int x, int y);

// Directory of the library DLL, with its trailing backslash.
std::wstring libraryDir();

// Writes text (UTF-16 is not needed: the INI files are ASCII) to a file, creating its folders.
bool writeTextFile(const std::wstring& path, const std::string& text);

// Runs the message loop of this thread for about ms milliseconds.
void pumpMessages(DWORD ms);

// Points module's import of dll!function at replacement; gives the previous address (null: not
// imported). Lets a test watch what the library asks of the system without a test-only export.
void* hookImport(const wchar_t* module, const char* dll, const char* function, void* replacement);

// How often the library started and shut down GDI+, read through its imports of GdiplusStartup
// and GdiplusShutdown (watched from the first call on).
struct GdiplusCalls {
    int startups = 0, shutdowns = 0;
    bool running() const { return startups > shutdowns; }
};
const GdiplusCalls& gdiplusCalls();

}  // namespace testutil
