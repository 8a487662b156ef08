#include "testutil.h"
#define PSAPI_VERSION 2
#include <psapi.h>
#include <cstring>
#include <cstdio>
#include <vector>

namespace testutil {

Canvas::Canvas(int width, int height, COLORREF fill_, int bits) : m_w(width), m_h(height), m_bits(bits) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = (WORD)bits;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    m_bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    m_pixels = static_cast<BYTE*>(pixels);
    m_dc = CreateCompatibleDC(nullptr);
    m_old = SelectObject(m_dc, m_bitmap);
    fill(fill_);
}

Canvas::~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
}

void Canvas::fill(COLORREF c) {
    GdiFlush();
    int bpp = m_bits / 8, stride = ((m_w * m_bits + 31) / 32) * 4;
    for (int y = 0; y < m_h; ++y)
        for (int x = 0; x < m_w; ++x) {
            BYTE* p = m_pixels + y * stride + x * bpp;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
            if (bpp == 4) p[3] = 0;
        }
}

DWORD Canvas::raw(int x, int y) const {
    GdiFlush();
    int bpp = m_bits / 8, stride = ((m_w * m_bits + 31) / 32) * 4;
    const BYTE* p = m_pixels + y * stride + x * bpp;
    return (bpp == 4 ? (DWORD)p[3] << 24 : 0) | (DWORD)p[2] << 16 | (DWORD)p[1] << 8 | p[0];
}

COLORREF Canvas::at(int x, int y) const {
    DWORD v = raw(x, y);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

DWORD dibPixel(HBITMAP dib, int x, int y) {
    BITMAP bm = {};
    if (!GetObjectW(dib, sizeof(bm), &bm) || x < 0 || y < 0 || x >= bm.bmWidth || y >= bm.bmHeight) return 0xDEADBEEF;
    // Read through GetDIBits as a top-down 32-bit row: the row order of the section itself does
    // not matter then (the platform does not report it reliably).
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    // All rows: scan-line numbers of a partial read count from the bottom.
    std::vector<DWORD> rows((size_t)bm.bmWidth * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    int got = GetDIBits(screen, dib, 0, bm.bmHeight, rows.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (got != bm.bmHeight) return 0xDEADBEEF;
    DWORD v = rows[(size_t)y * bm.bmWidth + x];
    return bm.bmBitsPixel == 32 ? v : (v & 0xFFFFFF);
}

SIZE_T committedBytes() {
    PROCESS_MEMORY_COUNTERS pmc = {sizeof pmc};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PagefileUsage;
}

std::wstring libraryDir() {
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"qTrimUI.dll"), name, MAX_PATH);
    std::wstring s(name);
    return s.substr(0, s.rfind(L'\\') + 1);
}

bool writeTextFile(const std::wstring& path, const std::string& text) {
    for (size_t i = path.find(L'\\', 3); i != std::wstring::npos; i = path.find(L'\\', i + 1))
        CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, text.data(), (DWORD)text.size(), &written, nullptr);
    CloseHandle(f);
    return ok && written == text.size();
}

void pumpMessages(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while ((LONG)(end - GetTickCount()) > 0);
}

void* hookImport(const wchar_t* module, const char* dll, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(module));
    if (!base) return nullptr;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); dir.Size && imp->Name; ++imp) {
        if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD was;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &was);
            void* old = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), was, &was);
            return old;
        }
    }
    return nullptr;
}

namespace {
GdiplusCalls g_gdiplus;
int(WINAPI* realStartup)(ULONG_PTR*, const void*, void*);
void(WINAPI* realShutdown)(ULONG_PTR);
int WINAPI countStartup(ULONG_PTR* token, const void* input, void* output) {
    const int status = realStartup(token, input, output);
    g_gdiplus.startups += status == 0;
    return status;
}
void WINAPI countShutdown(ULONG_PTR token) {
    ++g_gdiplus.shutdowns;
    realShutdown(token);
}
}  // namespace

const GdiplusCalls& gdiplusCalls() {
    if (!realStartup) {
        realStartup = (decltype(realStartup))hookImport(L"qTrimUI.dll", "gdiplus.dll", "GdiplusStartup", (void*)countStartup);
        realShutdown = (decltype(realShutdown))hookImport(L"qTrimUI.dll", "gdiplus.dll", "GdiplusShutdown", (void*)countShutdown);
    }
    return g_gdiplus;
}

}  // namespace testutil
