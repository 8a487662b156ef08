// Hostile skins: a private bitmap folder whose every skin file is broken in one way, made at run
// time, switched in as the program bitmap path, with the tooltip's settings file broken alike.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

namespace hostile {

enum class Kind {
    MissingFolder,   // the bitmap folder itself is not there (and no settings file)
    ZeroBytes,
    Truncated,       // the real skin file cut in the middle of its image data
    HugePng,         // headers claiming 100000 x 100000 pixels; settings of endless numbers
    HugeBmp,
    HugeGif,         // 8200 x 8200: each side allowed, but over 64 Mpixel
    WidePng,         // a whole PNG of 32768 x 1: one pixel wider than any image may be
    Directory,       // a folder where the file should be
    Garbage,         // bytes that are no image at all; settings values of binary bytes
    OnePixel,        // a valid 1 x 1 PNG: decodes, but is far too small for any skin
};
const char* name(Kind kind);
const std::vector<Kind>& allKinds();
inline bool undecodable(Kind kind) { return kind != Kind::OnePixel; }

// A PNG of w x h straight-alpha pixels (stored, uncompressed), or only its header and the start of
// its image data when claimOnly is set.
std::string pngFile(int w, int h, const std::vector<DWORD>& argb, bool claimOnly = false);

// The folder of one kind, switched in as the program bitmap path, and the settings file beside the
// library replaced; both come back when the object dies.
class Skin {
public:
    explicit Skin(Kind kind);
    ~Skin();
    const std::wstring& dir() const { return m_dir; }   // the bitmap path, with its backslash

private:
    std::wstring m_root, m_dir, m_saved, m_ini;
    bool m_movedIni = false;
};

// Ends the process with a message when a step takes longer than its limit: a hang shows as a
// named failure instead of the runner's time-out.
class Watchdog {
public:
    Watchdog(const char* what, DWORD ms) {
        CreateTimerQueueTimer(&m_timer, nullptr, [](void* what, BOOLEAN) {
            fprintf(stderr, "HANG: %s did not finish in time\n", (const char*)what), fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }, (void*)what, ms, 0, WT_EXECUTEONLYONCE);
    }
    ~Watchdog() { DeleteTimerQueueTimer(nullptr, m_timer, INVALID_HANDLE_VALUE); }
    HANDLE m_timer = nullptr;
};

SIZE_T peakWorkingSet();   // in bytes

// A visible popup shared by every test, painted in uneven stripes whose red and blue differ.
HWND host();
COLORREF hostPattern(int x, int y);
void repaint();   // what is pending in the host and its children
COLORREF screenPixel(HWND window, int x, int y);

}  // namespace hostile
