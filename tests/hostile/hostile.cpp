#include "hostile.h"
#include "qModule.h"
#include "testutil.h"
#define PSAPI_VERSION 2
#include <psapi.h>
#include <cstring>
#include <cwchar>

namespace hostile {

namespace {
void putBig(std::string& out, DWORD v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += (char)(v >> shift);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    putBig(out, (DWORD)data.size());
    const size_t start = out.size();
    out += type;
    out += data;
    DWORD c = 0xFFFFFFFF;
    for (size_t i = start; i < out.size(); ++i) {
        c ^= (BYTE)out[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
    }
    putBig(out, ~c);
}

// A zlib stream of stored blocks; without the end it stops after the first block, unterminated.
std::string zlibStored(const std::string& raw, bool complete) {
    std::string z("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        z += (char)(at + n == raw.size() && complete ? 1 : 0);
        z += (char)(n & 0xFF), z += (char)(n >> 8), z += (char)(~n & 0xFF), z += (char)((~n >> 8) & 0xFF);
        z.append(raw, at, n);
        at += n;
        if (!complete) return z;
    } while (at < raw.size());
    DWORD a = 1, b = 0;
    for (char ch : raw) a = (a + (BYTE)ch) % 65521, b = (b + a) % 65521;
    putBig(z, b << 16 | a);
    return z;
}

std::string readFile(const std::wstring& path) {
    std::string out(1 << 16, '\0');
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ReadFile(f, &out[0], (DWORD)out.size(), &got, nullptr);   // skin files are far smaller
    CloseHandle(f);
    return out.substr(0, got);
}

// Every file under dir (with its backslash), and with folders every folder after its contents.
void listTree(const std::wstring& dir, std::vector<std::wstring>& out, bool folders) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    for (BOOL more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileW(h, &fd)) {
        const std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            out.push_back(dir + n);
        } else {
            listTree(dir + n + L"\\", out, folders);
            if (folders) out.push_back(dir + n);
        }
    }
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
}

std::string garbage(size_t n) {
    std::string s;
    for (DWORD x = 0x2545F491; s.size() < n; s += (char)x) x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    return s;
}

// The content of one skin file of this kind, made from the real one.
std::string skinFile(Kind kind, const std::string& real) {
    switch (kind) {
    case Kind::Truncated: return real.substr(0, real.size() / 2);
    case Kind::HugePng: return pngFile(100000, 100000, {}, true);
    case Kind::HugeBmp: {
        std::string bmp("BM", 2);
        bmp.resize(54, '\0');
        const DWORD header[] = {40, 100000, (DWORD)-100000};   // top-down
        memcpy(&bmp[14], header, sizeof header);
        bmp[26] = 1, bmp[28] = 32;
        return bmp + std::string(4000, '\x55');
    }
    case Kind::HugeGif: return std::string("GIF89a\x08\x20\x08\x20\x00\x00\x00", 13) + std::string(4000, '\0');
    case Kind::WidePng: return pngFile(32768, 1, std::vector<DWORD>(32768, 0xFF2060C0));
    case Kind::Garbage: return garbage(777);
    case Kind::OnePixel: return pngFile(1, 1, {0xFFC03010});
    default: return "";
    }
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_ERASEBKGND) return DefWindowProcW(hwnd, msg, wp, lp);
    RECT r;
    GetClientRect(hwnd, &r);
    for (int y = 0; y < r.bottom; y += 7)
        for (int x = 0; x < r.right; x += 4) {
            const RECT cell = {x, y, x + 4, y + 7};
            SetBkColor((HDC)wp, hostPattern(x, y));
            ExtTextOutW((HDC)wp, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
        }
    return 1;
}
}  // namespace

const char* name(Kind kind) {
    static const char* const names[] = {"missing folder", "zero bytes", "truncated", "huge PNG", "huge BMP",
                                        "8200 x 8200 GIF", "32768 wide", "directory", "garbage", "one pixel"};
    return names[(int)kind];
}

const std::vector<Kind>& allKinds() {
    static std::vector<Kind> kinds;
    for (int k = (int)kinds.size(); k <= (int)Kind::OnePixel; ++k) kinds.push_back((Kind)k);
    return kinds;
}

std::string pngFile(int w, int h, const std::vector<DWORD>& argb, bool claimOnly) {
    std::string png("\x89PNG\r\n\x1a\n", 8), ihdr, raw;
    putBig(ihdr, (DWORD)w);
    putBig(ihdr, (DWORD)h);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);   // 8 bits, RGBA, deflate, no filter, no interlace
    chunk(png, "IHDR", ihdr);
    if (claimOnly) raw.assign(4096, '\0');   // a few kilobytes of the first row, then the stream just stops
    for (int y = 0; y < h && !claimOnly; ++y) {
        raw += '\0';
        for (int x = 0; x < w; ++x) {
            const DWORD p = argb[(size_t)y * w + x];
            raw += (char)(p >> 16), raw += (char)(p >> 8), raw += (char)p, raw += (char)(p >> 24);
        }
    }
    chunk(png, "IDAT", zlibStored(raw, !claimOnly));
    chunk(png, "IEND", "");
    return png;
}

Skin::Skin(Kind kind) : m_saved(gfnGetProgramBitmapPath()), m_ini(testutil::libraryDir() + L"ImportDVDEx\\ImportDVDUI.ini") {
    static int serial = 0;
    wchar_t temp[MAX_PATH] = {}, unique[64];
    GetTempPathW(MAX_PATH, temp);
    swprintf(unique, 64, L"qthostile-%lu-%d\\", GetCurrentProcessId(), ++serial);
    m_root = std::wstring(temp) + unique;
    m_dir = m_root + L"bitmap\\";
    const std::wstring shipped = testutil::libraryDir() + L"bitmap\\";
    std::vector<std::wstring> files;
    if (kind != Kind::MissingFolder) listTree(shipped + L"qDVDUser\\", files, false);
    for (const std::wstring& f : files) {
        const std::wstring path = m_dir + f.substr(shipped.size());
        if (kind == Kind::Directory) testutil::writeTextFile(path + L"\\inside", "");
        else testutil::writeTextFile(path, skinFile(kind, readFile(f)));
    }
    gfnChangeProgramBitmapPath(m_dir.c_str());

    m_movedIni = MoveFileW(m_ini.c_str(), (m_ini + L".kept").c_str()) != 0;
    const std::string section = "[CqToolTipDVDUser]\r\nLayoutSetting=";
    if (kind == Kind::Directory) testutil::writeTextFile(m_ini + L"\\inside", "");
    if (kind == Kind::ZeroBytes) testutil::writeTextFile(m_ini, "");
    if (kind == Kind::Garbage) testutil::writeTextFile(m_ini, section + garbage(5000));
    if (kind == Kind::HugePng)
        testutil::writeTextFile(m_ini, section + std::string(200000, '9') + "\r\nColorSetting=" + std::string(200000, 'F'));
}

Skin::~Skin() {
    gfnChangeProgramBitmapPath(m_saved.c_str());
    std::vector<std::wstring> all;
    listTree(m_root, all, true);
    all.push_back(m_root);
    all.push_back(m_ini + L"\\inside");
    all.push_back(m_ini);
    for (const std::wstring& p : all) DeleteFileW(p.c_str()) || RemoveDirectoryW(p.c_str());
    if (m_movedIni) MoveFileW((m_ini + L".kept").c_str(), m_ini.c_str());
}

SIZE_T peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc = {sizeof pmc};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

COLORREF hostPattern(int x, int y) { return ((x / 4 + y / 7) % 2) ? RGB(210, 70, 30) : RGB(20, 100, 200); }

HWND host() {
    static HWND window = nullptr;
    if (!window) {
        WNDCLASSW wc = {0, hostProc, 0, 0, GetModuleHandleW(nullptr), nullptr, LoadCursorW(nullptr, IDC_ARROW)};
        wc.lpszClassName = L"HostileSkinHost";
        RegisterClassW(&wc);
        window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"hostile", WS_POPUP | WS_CLIPCHILDREN, 60, 60, 480,
                                 240, nullptr, nullptr, wc.hInstance, nullptr);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        repaint();
    }
    return window;
}

void repaint() {
    RedrawWindow(host(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testutil::pumpMessages(30);
}

COLORREF screenPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

}  // namespace hostile
