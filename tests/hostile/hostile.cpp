#include "hostile.h"
#include "qModule.h"
#include "testutil.h"
#define PSAPI_VERSION 2
#include <psapi.h>
#include <cstdio>
#include <cwchar>

namespace hostile {

namespace {
DWORD crc32(const std::string& bytes, size_t from) {
    DWORD c = 0xFFFFFFFF;
    for (size_t i = from; i < bytes.size(); ++i) {
        c ^= (BYTE)bytes[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
    }
    return ~c;
}

void putBig(std::string& out, DWORD v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += (char)(v >> shift);
}

void chunk(std::string& out, const char* type, const std::string& data) {
    putBig(out, (DWORD)data.size());
    const size_t start = out.size();
    out += type;
    out += data;
    putBig(out, crc32(out, start));
}

// A zlib stream of stored blocks; without the end it stops after the first block, unterminated.
std::string zlibStored(const std::string& raw, bool complete) {
    std::string z("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < 65535 ? raw.size() - at : 65535;
        const bool last = at + n == raw.size();
        z += (char)(last && complete ? 1 : 0);
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
    std::string out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) out.append(buf, got);
    CloseHandle(f);
    return out;
}

bool writeFile(const std::wstring& path, const std::string& bytes) { return testutil::writeTextFile(path, bytes); }

void makeDirs(const std::wstring& path) {
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1))
        CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring n = fd.cFileName;
            if (n == L"." || n == L"..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(dir + n + L"\\");
            else
                DeleteFileW((dir + n).c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

void listFiles(const std::wstring& root, const std::wstring& relative, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((root + relative + L"*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listFiles(root, relative + n + L"\\", out);
        else
            out.push_back(relative + n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}

std::string garbage(size_t n) {
    std::string s;
    DWORD x = 0x2545F491;
    for (size_t i = 0; i < n; ++i) {
        x ^= x << 13, x ^= x >> 17, x ^= x << 5;
        s += (char)x;
    }
    return s;
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HDC dc = (HDC)wp;
        for (int y = 0; y < r.bottom; y += 7)
            for (int x = 0; x < r.right; x += 4) {
                const RECT cell = {x, y, x + 4, y + 7};
                SetBkColor(dc, hostPattern(x, y));
                ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
            }
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

const char* name(Kind kind) {
    switch (kind) {
    case Kind::MissingFolder: return "missing folder";
    case Kind::ZeroBytes: return "zero bytes";
    case Kind::Truncated: return "truncated";
    case Kind::HugeClaim: return "100000 x 100000 claim";
    case Kind::Directory: return "directory";
    case Kind::Garbage: return "garbage";
    case Kind::OnePixel: return "one pixel";
    }
    return "?";
}

const std::vector<Kind>& allKinds() {
    static const std::vector<Kind> kinds = {Kind::MissingFolder, Kind::ZeroBytes, Kind::Truncated, Kind::HugeClaim,
                                            Kind::Directory,     Kind::Garbage,   Kind::OnePixel};
    return kinds;
}

std::string pngFile(int w, int h, const std::vector<DWORD>& argb, bool claimOnly) {
    std::string png("\x89PNG\r\n\x1a\n", 8), ihdr;
    putBig(ihdr, (DWORD)w);
    putBig(ihdr, (DWORD)h);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);   // 8 bits, RGBA, deflate, no filter, no interlace
    chunk(png, "IHDR", ihdr);
    std::string raw;
    if (claimOnly) {
        raw.assign(4096, '\0');   // a few kilobytes of the first row, then the stream just stops
    } else {
        for (int y = 0; y < h; ++y) {
            raw += '\0';
            for (int x = 0; x < w; ++x) {
                const DWORD p = argb[(size_t)y * w + x];
                raw += (char)(p >> 16), raw += (char)(p >> 8), raw += (char)p, raw += (char)(p >> 24);
            }
        }
    }
    chunk(png, "IDAT", zlibStored(raw, !claimOnly));
    chunk(png, "IEND", "");
    return png;
}

const std::vector<std::wstring>& skinFiles() {
    static std::vector<std::wstring> files;
    if (files.empty()) listFiles(testutil::libraryDir() + L"bitmap\\", L"qDVDUser\\", files);
    return files;
}

Skin::Skin(Kind kind) : m_kind(kind), m_saved(gfnGetProgramBitmapPath()) {
    static int serial = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    wchar_t unique[64];
    swprintf(unique, 64, L"qthostile-%lu-%d\\", GetCurrentProcessId(), ++serial);
    m_root = std::wstring(temp) + unique;
    m_dir = m_root + L"bitmap\\";
    makeDirs(m_root.substr(0, m_root.size() - 1));
    if (kind != Kind::MissingFolder) {
        makeDirs(m_dir.substr(0, m_dir.size() - 1));
        for (const std::wstring& f : skinFiles()) add(f);
    }
    gfnChangeProgramBitmapPath(m_dir.c_str());
}

Skin::~Skin() {
    gfnChangeProgramBitmapPath(m_saved.c_str());
    removeTree(m_root);
}

void Skin::add(const std::wstring& relative) const {
    const std::wstring path = m_dir + relative;
    switch (m_kind) {
    case Kind::MissingFolder: return;
    case Kind::ZeroBytes: writeFile(path, ""); return;
    case Kind::Truncated: {
        std::string real = readFile(testutil::libraryDir() + L"bitmap\\" + relative);
        if (real.empty()) real = pngFile(40, 30, std::vector<DWORD>(40 * 30, 0xFF2060C0));
        writeFile(path, real.substr(0, real.size() / 2));
        return;
    }
    case Kind::HugeClaim: writeFile(path, pngFile(100000, 100000, {}, true)); return;
    case Kind::Directory: makeDirs(path); return;
    case Kind::Garbage: writeFile(path, garbage(777)); return;
    case Kind::OnePixel: writeFile(path, pngFile(1, 1, {0xFFC03010})); return;
    }
}

Watchdog::Watchdog(const char* what, DWORD ms) : m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    struct Job {
        HANDLE done;
        DWORD ms;
        char what[120];
    };
    Job* job = new Job{m_done, ms, {}};
    snprintf(job->what, sizeof job->what, "%s", what);
    m_thread = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            Job* j = static_cast<Job*>(p);
            if (WaitForSingleObject(j->done, j->ms) == WAIT_TIMEOUT) {
                fprintf(stderr, "HANG: %s did not finish within %lu ms\n", j->what, j->ms);
                fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
            delete j;
            return 0;
        },
        job, 0, nullptr);
}

Watchdog::~Watchdog() {
    SetEvent(m_done);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_done);
}

SIZE_T peakWorkingSet() {
    PROCESS_MEMORY_COUNTERS pmc = {sizeof pmc};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

SIZE_T committedBytes() {
    PROCESS_MEMORY_COUNTERS pmc = {sizeof pmc};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PagefileUsage;
}

COLORREF hostPattern(int x, int y) { return ((x / 4 + y / 7) % 2) ? RGB(210, 70, 30) : RGB(20, 100, 200); }

HWND host() {
    static HWND window = nullptr;
    if (!window) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = hostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
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
