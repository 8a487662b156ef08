// The gallery host: a window listing the pages; with --shot DIR it renders every page off-screen
// into a PNG and exits.
#include "gallery.h"
#include <afxwin.h>
#include <gdiplus.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {
std::vector<GalleryPage>& pages() {
    static std::vector<GalleryPage> p;
    return p;
}

const wchar_t kPanelClass[] = L"GalleryPanel";
const wchar_t kMainClass[] = L"GalleryMain";
const GalleryPage* g_current = nullptr;

LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const GalleryPage* page = reinterpret_cast<const GalleryPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect((HDC)wp, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        if (page && page->paint) page->paint(dc, rc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND createPanel(const GalleryPage& page, HWND parent, int x, int y) {
    DWORD style = parent ? (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN) : (WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    HWND panel = CreateWindowExW(0, kPanelClass, page.name, style, x, y, page.width, page.height, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!panel) return nullptr;
    SetWindowLongPtrW(panel, GWLP_USERDATA, (LONG_PTR)&page);
    if (page.build) page.build(panel);
    InvalidateRect(panel, nullptr, TRUE);
    return panel;
}

void destroyPanel(const GalleryPage& page, HWND panel) {
    if (!panel) return;
    if (page.teardown) page.teardown(panel);
    DestroyWindow(panel);
}

void pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    while ((LONG)(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

bool pngEncoder(CLSID* clsid) {
    UINT num = 0, size = 0;
    Gdiplus::DllExports::GdipGetImageEncodersSize(&num, &size);
    if (!size) return false;
    std::vector<BYTE> buf(size);
    auto* info = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
    Gdiplus::DllExports::GdipGetImageEncoders(num, size, info);
    for (UINT i = 0; i < num; ++i)
        if (wcscmp(info[i].MimeType, L"image/png") == 0) {
            *clsid = info[i].Clsid;
            return true;
        }
    return false;
}

bool savePng(HBITMAP bmp, const std::wstring& file) {
    CLSID clsid;
    if (!pngEncoder(&clsid)) return false;
    Gdiplus::GpBitmap* image = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bmp, nullptr, &image) != Gdiplus::Ok) return false;
    bool ok = Gdiplus::DllExports::GdipSaveImageToFile(image, file.c_str(), &clsid, nullptr) == Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(image);
    return ok;
}

// Each page as an on-screen popup at the origin, read back from the window's DC once it has painted.
int shootAll(const std::wstring& dir) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 1;
    int failures = 0, n = 0;
    for (const GalleryPage& page : pages()) {
        ++n;
        HWND panel = createPanel(page, nullptr, 0, 0);
        if (!panel) { ++failures; continue; }
        SetForegroundWindow(panel);
        UpdateWindow(panel);
        pump(400);
        RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pump(100);
        HDC wdc = GetDC(panel);
        HDC mem = CreateCompatibleDC(wdc);
        HBITMAP bmp = CreateCompatibleBitmap(wdc, page.width, page.height);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, page.width, page.height, wdc, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(panel, wdc);
        wchar_t name[64];
        swprintf(name, 64, L"%02d-%ls.png", n, page.name);
        std::wstring file = dir + L"\\" + name;
        if (!savePng(bmp, file)) ++failures;
        DeleteObject(bmp);
        destroyPanel(page, panel);
        pump(50);
    }
    Gdiplus::GdiplusShutdown(token);
    return failures ? 2 : 0;
}

HWND g_list = nullptr;
HWND g_panel = nullptr;

void showPage(HWND main, int index) {
    if (g_panel) destroyPanel(*g_current, g_panel);
    g_panel = nullptr;
    if (index < 0 || index >= (int)pages().size()) return;
    g_current = &pages()[index];
    g_panel = createPanel(*g_current, main, 170, 0);
}

LRESULT CALLBACK mainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CREATE:
        g_list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0, 165, 600, hwnd,
                                 (HMENU)1, GetModuleHandleW(nullptr), nullptr);
        for (const GalleryPage& p : pages()) SendMessageW(g_list, LB_ADDSTRING, 0, (LPARAM)p.name);
        SendMessageW(g_list, LB_SETCURSEL, 0, 0);
        showPage(hwnd, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wp) == 1 && HIWORD(wp) == LBN_SELCHANGE)
            showPage(hwnd, (int)SendMessageW(g_list, LB_GETCURSEL, 0, 0));
        return 0;
    case WM_DESTROY:
        if (g_panel) destroyPanel(*g_current, g_panel);
        g_panel = nullptr;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void registerClasses(HINSTANCE inst) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = panelProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = mainProc;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    RegisterClassW(&wc);
}
}  // namespace

int galleryAddPage(const GalleryPage& page) {
    pages().push_back(page);
    return (int)pages().size();
}

void galleryCheckerboard(HDC dc, const RECT& rc, int cell) {
    HBRUSH grey = CreateSolidBrush(RGB(204, 204, 204));
    FillRect(dc, &rc, (HBRUSH)GetStockObject(WHITE_BRUSH));
    for (int y = rc.top; y < rc.bottom; y += cell)
        for (int x = rc.left + (((y - rc.top) / cell) % 2) * cell; x < rc.right; x += 2 * cell) {
            RECT c = {x, y, std::min<LONG>(x + cell, rc.right), std::min<LONG>(y + cell, rc.bottom)};
            FillRect(dc, &c, grey);
        }
    DeleteObject(grey);
}

void galleryPump(unsigned long ms) { pump(ms); }

void galleryLabel(HDC dc, int x, int y, const wchar_t* text) {
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int mode = SetBkMode(dc, TRANSPARENT);
    COLORREF color = SetTextColor(dc, RGB(40, 40, 40));
    TextOutW(dc, x, y, text, (int)wcslen(text));
    SetTextColor(dc, color);
    SetBkMode(dc, mode);
    SelectObject(dc, old);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, LPWSTR, int show) {
    registerClasses(inst);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i + 1 < argc; ++i)
        if (wcscmp(argv[i], L"--shot") == 0) {
            int rc = shootAll(argv[i + 1]);
            LocalFree(argv);
            return rc;
        }
    LocalFree(argv);
    HWND main = CreateWindowExW(0, kMainClass, L"Gallery", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, 1000, 700, nullptr, nullptr, inst, nullptr);
    ShowWindow(main, show);
    // The framework's loop gives controls their PreTranslateMessage, as a real host's loop does.
    return AfxRunMessageLoop();
}
