// Hostile skins: a private bitmap folder whose every skin file is broken in one way, made at run
// time, switched in as the program bitmap path and removed again afterwards.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

namespace hostile {

enum class Kind {
    MissingFolder,   // the bitmap folder itself is not there
    ZeroBytes,
    Truncated,       // the real skin file cut in the middle of its image data
    HugeClaim,       // a PNG whose header claims 100000 x 100000 pixels
    Directory,       // a folder where the file should be
    Garbage,         // bytes that are no image at all
    OnePixel,        // a valid 1 x 1 PNG: decodes, but is far too small for any skin
};
const char* name(Kind kind);
// Every kind, for table tests.
const std::vector<Kind>& allKinds();
// Kinds no decoder accepts.
inline bool undecodable(Kind kind) { return kind != Kind::OnePixel; }

// A PNG of w x h straight-alpha pixels (stored, uncompressed), or only its signature and header
// with a little image data when claimOnly is set.
std::string pngFile(int w, int h, const std::vector<DWORD>& argb, bool claimOnly = false);

// The skin files the library knows, relative to the bitmap folder (read from the shipped one).
const std::vector<std::wstring>& skinFiles();

// The folder of one kind, made in the temporary directory and switched in as the program bitmap
// path; the old path comes back and the folder goes when the object dies.
class Skin {
public:
    explicit Skin(Kind kind);
    ~Skin();
    const std::wstring& dir() const { return m_dir; }   // the bitmap path, with its backslash
    // Writes one more file of this kind at a path relative to the folder.
    void add(const std::wstring& relative) const;
    Skin(const Skin&) = delete;
    Skin& operator=(const Skin&) = delete;

private:
    Kind m_kind;
    std::wstring m_root, m_dir, m_saved;
};

// Ends the process with a message when a step takes longer than its limit: a hang shows as a
// named failure instead of the runner's time-out.
class Watchdog {
public:
    Watchdog(const char* what, DWORD ms);
    ~Watchdog();

private:
    HANDLE m_done;
    HANDLE m_thread;
};

// The process's resident peak and its commit charge, in bytes.
SIZE_T peakWorkingSet();
SIZE_T committedBytes();

// A visible popup shared by every test, painted in uneven stripes whose red and blue differ.
HWND host();
COLORREF hostPattern(int x, int y);
// Paints what is pending in the host and its children.
void repaint();
// A pixel as shown on screen, at a client point of window.
COLORREF screenPixel(HWND window, int x, int y);

}  // namespace hostile
