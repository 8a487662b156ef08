// trim.exe: the trim dialog as a program. `trim.exe --shot FILE.png` sets up an edit under way,
// writes the dialog's picture to FILE.png and exits.
#include "TrimDialog.h"
#include <commctrl.h>
#include <gdiplus.h>
#include <cstdio>
#include <vector>

namespace {
void pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while ((LONG)(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        AfxDeleteTempMap();
        Sleep(10);
    }
}

bool savePng(HBITMAP bmp, const wchar_t* file) {
    UINT num = 0, size = 0;
    Gdiplus::DllExports::GdipGetImageEncodersSize(&num, &size);
    if (!size) return false;
    std::vector<BYTE> buf(size);
    auto* info = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buf.data());
    Gdiplus::DllExports::GdipGetImageEncoders(num, size, info);
    for (UINT i = 0; i < num; ++i) {
        if (wcscmp(info[i].MimeType, L"image/png") != 0) continue;
        Gdiplus::GpBitmap* image = nullptr;
        if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bmp, nullptr, &image) != Gdiplus::Ok) return false;
        bool ok = Gdiplus::DllExports::GdipSaveImageToFile(image, file, &info[i].Clsid, nullptr) == Gdiplus::Ok;
        Gdiplus::DllExports::GdipDisposeImage(image);
        return ok;
    }
    return false;
}

// The client area as the screen shows it, tooltips included.
bool shoot(HWND hwnd, const wchar_t* file) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    bool ok = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok && savePng(bmp, file);
    if (token) Gdiplus::GdiplusShutdown(token);
    DeleteObject(bmp);
    return ok;
}

// The position timecode set as if typed: the control tells its parent, as it does after typing.
void typePosition(CTrimDialog& dlg, int frame) {
    auto* tc = static_cast<CTimeCodeCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(dlg.m_hWnd, IDC_POSITION)));
    if (!tc) return;
    tc->fnSetIndex(frame, dlg.clips()[dlg.currentClip()].rate, 1);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_POSITION, EN_CHANGE), (LPARAM)tc->m_hWnd);
}

void click(CTrimDialog& dlg, UINT id) { ::SendMessageW(::GetDlgItem(dlg.m_hWnd, id), BM_CLICK, 0, 0); }

int shot(const wchar_t* file) {
    CTrimDialog dlg;
    if (!dlg.create(nullptr, 0, 0)) return 1;
    dlg.SetForegroundWindow();
    pump(300);
    // The 29.97 clip, marked from 10 s to 1 min 30 s, on the timeline, the position in between and
    // loop on; the pointer rests on Set In, so its tip shows.
    HWND bin = ::GetDlgItem(dlg.m_hWnd, IDC_BIN);
    LVITEMW it = {};
    it.stateMask = it.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(bin, LVM_SETITEMSTATE, 0, (LPARAM)&it);
    typePosition(dlg, 300);
    click(dlg, IDC_SETIN);
    typePosition(dlg, 2698);
    click(dlg, IDC_SETOUT);
    const Clip& c = dlg.clips()[0];
    dlg.addToTimeline(c.name, c.rate, c.in, c.out, -1);
    typePosition(dlg, 1283);
    click(dlg, IDC_LOOP);
    RECT r;
    ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, IDC_SETIN), &r);
    // The tip needs the pointer to move there, as a hand would move it.
    for (int dx = 12; dx >= 0; dx -= 4) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = (LONG)(((r.left + r.right) / 2 - dx) * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1));
        in.mi.dy = (LONG)((r.top + r.bottom) / 2 * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1));
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof(in));
        pump(50);
    }
    pump(1500);
    const bool ok = shoot(dlg.m_hWnd, file);
    dlg.DestroyWindow();
    return ok ? 0 : 2;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int show) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int rc = -1;
    for (int i = 1; i + 1 < argc; ++i)
        if (wcscmp(argv[i], L"--shot") == 0) rc = shot(argv[i + 1]);
    LocalFree(argv);
    if (rc >= 0) return rc;
    CTrimDialog dlg;
    if (!dlg.create(nullptr, CW_USEDEFAULT, CW_USEDEFAULT)) return 1;
    dlg.ShowWindow(show);
    return AfxRunMessageLoop();
}
