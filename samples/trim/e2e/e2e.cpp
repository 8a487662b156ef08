// The trim dialog worked end to end, in-process, as a user would through real input (SendInput):
// every step is checked on what the windows show and what the parent and owner hear. The dialog is
// opened twice; after each close nothing of it may be left: windows, hooks, timers, GDI objects.
#include "TrimDialog.h"
#include "probe.h"
#include <commctrl.h>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {
int g_failures = 0;
int g_round = 0;

void check(bool ok, const char* what, int line, const std::wstring& detail = L"") {
    if (ok) return;
    ++g_failures;
    std::printf("FAILED (round %d, line %d): %s %ls\n", g_round, line, what, detail.c_str());
    std::fflush(stdout);
}
#define CHECK(cond, ...) check((cond), #cond, __LINE__, ##__VA_ARGS__)

// The host's loop, one round of it: the framework's PreTranslateMessage first.
void pumpOnce() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    AfxDeleteTempMap();   // idle, as the framework's own loop does
}
void pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        pumpOnce();
        Sleep(5);
    } while ((LONG)(end - GetTickCount()) > 0);
}
// Pumps until cond holds; generous, since the machine may be loaded.
bool pumpUntil(const std::function<bool()>& cond, DWORD ms = 8000) {
    const DWORD end = GetTickCount() + ms;
    for (;;) {
        pumpOnce();
        if (cond()) return true;
        if ((LONG)(end - GetTickCount()) <= 0) return false;
        Sleep(5);
    }
}

// Real input ---------------------------------------------------------------------------------------
void mouse(DWORD flags, POINT p) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)(p.x * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = (LONG)(p.y * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof(in));
}
void moveTo(POINT p) { mouse(0, p); }
void press(POINT p) { mouse(MOUSEEVENTF_LEFTDOWN, p); }
void release(POINT p) { mouse(MOUSEEVENTF_LEFTUP, p); }
void click(POINT p) {
    moveTo(p);
    pump(30);
    press(p);
    release(p);
    pump(60);
}
void key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof(in));
}
void tap(WORD vk) {
    key(vk, false);
    key(vk, true);
    pump(30);
}
// Digits and lower-case letters and spaces.
void type(const char* text) {
    for (const char* c = text; *c; ++c) tap(*c == ' ' ? VK_SPACE : (WORD)toupper((unsigned char)*c));
}

POINT screenCentre(HWND hwnd, RECT rc) {
    POINT p = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(hwnd, &p);
    return p;
}
POINT centreOf(HWND hwnd) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return screenCentre(hwnd, rc);
}

// What the parent hears ----------------------------------------------------------------------------
struct Heard {
    UINT message, id, code;
};
std::vector<Heard> g_heard;
HWND g_dialogHwnd = nullptr;

LRESULT CALLBACK listenParent(int code, WPARAM wp, LPARAM lp) {
    const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && m->hwnd == g_dialogHwnd && g_dialogHwnd) {
        if (m->message == WM_COMMAND) g_heard.push_back({WM_COMMAND, LOWORD(m->wParam), HIWORD(m->wParam)});
        if (m->message == WM_NOTIFY) {
            const NMHDR* h = reinterpret_cast<const NMHDR*>(m->lParam);
            g_heard.push_back({WM_NOTIFY, (UINT)h->idFrom, h->code});
        }
        if (m->message == WM_HSCROLL) g_heard.push_back({WM_HSCROLL, (UINT)GetDlgCtrlID((HWND)m->lParam), LOWORD(m->wParam)});
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
bool heard(UINT message, UINT id, UINT code) {
    for (const Heard& h : g_heard)
        if (h.message == message && h.id == id && h.code == code) return true;
    return false;
}

// Hooks installed before any of the library's: called after them, they show whether the library's
// hooks passed the input on.
int g_mouseDowns = 0, g_keyDowns = 0;
LRESULT CALLBACK countMouse(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_LBUTTONDOWN) ++g_mouseDowns;
    return CallNextHookEx(nullptr, code, wp, lp);
}
LRESULT CALLBACK countKeys(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && !(lp & 0x80000000)) ++g_keyDowns;
    return CallNextHookEx(nullptr, code, wp, lp);
}

// The owner: hears the dialog's result. The probe: a window for the checks after the close.
TrimResult g_result;
int g_results = 0;
int g_probeClicks = 0;
LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == trimResultMessage() && lp) {
        g_result = *reinterpret_cast<const TrimResult*>(lp);
        ++g_results;
        return 0;
    }
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) ++g_probeClicks;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Reading the dialog ---------------------------------------------------------------------------------
template <class T>
T* control(CTrimDialog& dlg, UINT id) {
    return static_cast<T*>(CWnd::FromHandlePermanent(::GetDlgItem(dlg.m_hWnd, id)));
}
std::wstring cell(HWND list, int item, int sub) {
    wchar_t text[128] = {};
    LVITEMW it = {};
    it.iSubItem = sub;
    it.pszText = text;
    it.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, item, (LPARAM)&it);
    return text;
}
std::wstring windowText(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}
std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = (const char*)GlobalLock(h)) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

// Where the scrubber's thumb is: read for aiming the pointer only.
struct ScrubPeek : CqScrollBarEx {
    static RECT thumb(CqScrollBarEx* bar) { return static_cast<ScrubPeek*>(bar)->m_rcThumb; }
};

// The preview as the screen shows it equals frame `frame` of the clip drawn afresh.
bool previewShows(CTrimDialog& dlg, int frame) {
    auto* preview = control<CPreview>(dlg, IDC_PREVIEW);
    RECT rc;
    preview->GetClientRect(&rc);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB};
    void *shown = nullptr, *drawn = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP a = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &shown, nullptr, 0);
    HBITMAP b = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &drawn, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HDC wdc = GetDC(preview->m_hWnd);
    HGDIOBJ old = SelectObject(mem, a);
    BitBlt(mem, 0, 0, rc.right, rc.bottom, wdc, 0, 0, SRCCOPY);
    SelectObject(mem, b);
    paintFrame(mem, rc, dlg.clips()[dlg.currentClip()], frame, preview->font());
    GdiFlush();
    const bool same = memcmp(shown, drawn, (size_t)rc.right * rc.bottom * 4) == 0;
    SelectObject(mem, old);
    ReleaseDC(preview->m_hWnd, wdc);
    DeleteDC(mem);
    DeleteObject(a);
    DeleteObject(b);
    ReleaseDC(nullptr, screen);
    return same;
}

// The dialog's tooltip when it shows.
HWND visibleTip(HWND dialog) {
    struct Find {
        HWND dialog, found;
    } f = {dialog, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lp) -> BOOL {
            Find* f = reinterpret_cast<Find*>(lp);
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            if (_wcsicmp(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(hwnd, GW_OWNER) == f->dialog && IsWindowVisible(hwnd))
                f->found = hwnd;
            return TRUE;
        },
        (LPARAM)&f);
    return f.found;
}

// Position, scrubber and preview agree on `frame`.
void checkFollow(CTrimDialog& dlg, int frame, int line) {
    auto* pos = control<CTimeCodeCtrl>(dlg, IDC_POSITION);
    auto* scrub = control<CqScrollBarEx>(dlg, IDC_SCRUB);
    const bool agree = pumpUntil([&] { return pos->fnGetIndex() == frame && scrub->fnGetScrollPos() == frame; }, 3000);
    check(agree, "position and scrubber follow", line,
          L"want " + std::to_wstring(frame) + L", timecode " + std::to_wstring(pos->fnGetIndex()) + L", scrubber " +
              std::to_wstring(scrub->fnGetScrollPos()));
    check(pumpUntil([&] { return previewShows(dlg, frame); }, 3000), "preview shows the frame", line,
          std::to_wstring(frame));
}

// Clicks the hours of a timecode, types hh mm ss ff and Enter.
void typeTimecode(CTimeCodeCtrl* tc, const char* digits) {
    CRect cell = tc->fnGetElemLayoutPos(UTMTG_CELL_HOUR_TENS);
    RECT r = {cell.left, cell.top, cell.left + cell.right, cell.top + cell.bottom};
    click(screenCentre(tc->m_hWnd, r));
    pumpUntil([&] { return GetFocus() == tc->m_hWnd; }, 3000);
    type(digits);
    tap(VK_RETURN);
    pump(50);
}

void round(HWND owner) {
    ++g_round;
    g_heard.clear();
    g_results = 0;
    CTrimDialog dlg;
    CHECK(dlg.create(owner, 40, 40));
    g_dialogHwnd = dlg.m_hWnd;
    dlg.SetForegroundWindow();
    pumpUntil([&] { return GetForegroundWindow() == dlg.m_hWnd; }, 3000);
    pump(200);

    HWND bin = ::GetDlgItem(dlg.m_hWnd, IDC_BIN), timeline = ::GetDlgItem(dlg.m_hWnd, IDC_TIMELINE);
    auto* pos = control<CTimeCodeCtrl>(dlg, IDC_POSITION);
    auto* in = control<CTimeCodeCtrl>(dlg, IDC_MARKIN);
    auto* out = control<CTimeCodeCtrl>(dlg, IDC_MARKOUT);
    auto* dur = control<CTimeCodeCtrl>(dlg, IDC_DURATION);
    auto* scrub = control<CqScrollBarEx>(dlg, IDC_SCRUB);
    auto* play = control<CqButtonEx>(dlg, IDC_PLAY);
    HWND summary = ::GetDlgItem(dlg.m_hWnd, IDC_SUMMARY);
    CHECK(bin && timeline && pos && in && out && dur && scrub && play && summary);
    if (!bin || !timeline || !pos || !in || !out || !dur || !scrub || !play || !summary) return;

    // The 29.97 clip, chosen with the mouse.
    RECT item = {LVIR_LABEL};
    SendMessageW(bin, LVM_GETITEMRECT, 0, (LPARAM)&item);
    CHECK(cell(bin, 0, 1) == L"29.97 DF", cell(bin, 0, 1));
    CHECK(cell(bin, 0, 2) == L"00:02:00;04", cell(bin, 0, 2));
    click(screenCentre(bin, item));
    CHECK(pumpUntil([&] { return SendMessageW(bin, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) == 0; }));
    CHECK(heard(WM_NOTIFY, IDC_BIN, LVN_ITEMCHANGED));
    CHECK(pos->fnGetFrameRate() == 29.97 && dur->fnGetFrameRate() == 29.97);
    long lo = -1, hi = -1;
    scrub->fnGetScrollRange(&lo, &hi);
    CHECK(lo == 0 && hi == 3599, std::to_wstring(lo) + L".." + std::to_wstring(hi));
    CHECK(in->fnGetIndex() == 0 && out->fnGetIndex() == 3600 && dur->fnGetIndex() == 3600);
    checkFollow(dlg, 0, __LINE__);

    // Scrub: drag the thumb well to the right; timecode and preview follow the scrubber.
    const RECT thumb = ScrubPeek::thumb(scrub);
    POINT grab = screenCentre(scrub->m_hWnd, thumb), to = grab;
    moveTo(grab);
    pump(30);
    press(grab);
    pump(60);
    for (int step = 1; step <= 6; ++step) {
        to.x = grab.x + step * 35;
        moveTo(to);
        pump(40);
    }
    release(to);
    pump(100);
    CHECK(heard(WM_HSCROLL, IDC_SCRUB, SB_THUMBTRACK));
    const int scrubbed = scrub->fnGetScrollPos();
    CHECK(scrubbed > 600 && scrubbed < 3599, std::to_wstring(scrubbed));
    checkFollow(dlg, scrubbed, __LINE__);

    // The other way: a position typed into the timecode moves the scrubber and the preview.
    typeTimecode(pos, "00001000");
    CHECK(heard(WM_NOTIFY, IDC_POSITION, (UINT)NM_RETURN));
    checkFollow(dlg, 300, __LINE__);

    // Set In at the position.
    click(centreOf(::GetDlgItem(dlg.m_hWnd, IDC_SETIN)));
    CHECK(pumpUntil([&] { return in->fnGetIndex() == 300; }));
    CHECK(heard(WM_COMMAND, IDC_SETIN, BN_CLICKED));
    CHECK(dur->fnGetIndex() == 3300);

    // Resting on a button shows its tip.
    const POINT stepFwd = centreOf(::GetDlgItem(dlg.m_hWnd, IDC_STEPFWD));
    for (int dx = 12; dx >= 0; dx -= 4) {
        moveTo({stepFwd.x - dx, stepFwd.y});
        pump(40);
    }
    HWND tip = nullptr;
    CHECK(pumpUntil([&] { return (tip = visibleTip(dlg.m_hWnd)) != nullptr; }, 5000));
    if (tip) {
        RECT tr;
        GetWindowRect(tip, &tr);
        CHECK(std::abs(tr.left - stepFwd.x) < 80 && std::abs(tr.top - stepFwd.y) < 80,
              std::to_wstring(tr.left) + L"," + std::to_wstring(tr.top));
    }

    // An out point before the in point gives way to it; then the real one, past a minute boundary.
    typeTimecode(out, "00000500");
    CHECK(pumpUntil([&] { return out->fnGetIndex() == 300 && dur->fnGetIndex() == 0; }),
          std::to_wstring(out->fnGetIndex()));
    CHECK(in->fnGetIndex() == 300);
    typeTimecode(out, "00013000");
    CHECK(heard(WM_NOTIFY, IDC_MARKOUT, (UINT)NM_RETURN));
    // 00:01:30;00 is frame 2698 in drop-frame; 2398 frames last 00:01:20;00 (not 00:01:19:28).
    CHECK(pumpUntil([&] { return out->fnGetIndex() == 2698 && dur->fnGetIndex() == 2398; }),
          std::to_wstring(out->fnGetIndex()) + L" " + std::to_wstring(dur->fnGetIndex()));
    CHECK(windowText(summary).find(L"Duration 00:01:20;00") != std::wstring::npos, windowText(summary));

    // Play for two seconds and stop: the clip advances at its rate, the scrubber moving with it.
    // The pointer is on the button before the clock starts, so the times bracket play closely.
    const int from = pos->fnGetIndex();
    const POINT playAt = centreOf(play->m_hWnd);
    moveTo(playAt);
    pump(50);
    const DWORD t0 = GetTickCount();
    press(playAt);
    release(playAt);
    CHECK(pumpUntil([&] { return play->GetCheck() == BST_CHECKED; }));
    const DWORD t1 = GetTickCount();
    std::vector<long> seen;
    while (GetTickCount() - t1 < 2000) {
        pump(20);
        const long p = scrub->fnGetScrollPos();
        if (seen.empty() || seen.back() != p) seen.push_back(p);
    }
    const DWORD t2 = GetTickCount();
    press(playAt);
    release(playAt);
    CHECK(pumpUntil([&] { return play->GetCheck() == BST_UNCHECKED; }));
    const DWORD t3 = GetTickCount();
    const int advanced = pos->fnGetIndex() - from;
    const int least = (int)std::floor((t2 - t1) * 29.97 / 1000) - 1, most = (int)std::ceil((t3 - t0) * 29.97 / 1000) + 1;
    CHECK(advanced >= least && advanced <= most,
          std::to_wstring(advanced) + L" not in " + std::to_wstring(least) + L".." + std::to_wstring(most));
    CHECK(seen.size() >= 3, std::to_wstring(seen.size()));
    std::printf("played %d frames in %lu..%lu ms\n", advanced, t2 - t1, t3 - t0);
    pump(200);
    checkFollow(dlg, pos->fnGetIndex(), __LINE__);
    CHECK(in->fnGetIndex() == 300 && out->fnGetIndex() == 2698);

    // Loop on: play runs past the out point back to the in point; off: it stops on the last frame.
    auto* loop = control<CqButtonEx>(dlg, IDC_LOOP);
    CHECK(loop != nullptr);
    if (loop) {
        typeTimecode(pos, "00012920");
        checkFollow(dlg, 2688, __LINE__);
        click(centreOf(loop->m_hWnd));
        CHECK(pumpUntil([&] { return loop->GetCheck() == BST_CHECKED; }));
        click(playAt);
        CHECK(pumpUntil([&] { return pos->fnGetIndex() < 2688; }, 5000), std::to_wstring(pos->fnGetIndex()));
        pump(GetDoubleClickTime() + 50);   // a second click, not a double-click
        click(playAt);
        CHECK(pumpUntil([&] { return play->GetCheck() == BST_UNCHECKED; }));
        CHECK(pos->fnGetIndex() >= 300 && pos->fnGetIndex() < 2688, std::to_wstring(pos->fnGetIndex()));
        click(centreOf(loop->m_hWnd));
        CHECK(pumpUntil([&] { return loop->GetCheck() == BST_UNCHECKED; }));
        typeTimecode(pos, "00012920");
        click(playAt);
        CHECK(pumpUntil([&] { return play->GetCheck() == BST_UNCHECKED && pos->fnGetIndex() == 2697; }, 5000),
              std::to_wstring(pos->fnGetIndex()));
        checkFollow(dlg, 2697, __LINE__);
    }

    // Rename in place: Enter keeps the new name, Escape drops the next one.
    click(screenCentre(bin, item));
    CHECK(pumpUntil([&] { return GetFocus() == bin; }, 3000));
    tap(VK_F2);
    HWND edit = nullptr;
    CHECK(pumpUntil([&] { return (edit = FindWindowExW(bin, nullptr, L"Edit", nullptr)) && GetFocus() == edit; }));
    type("dawn take");
    tap(VK_RETURN);
    CHECK(pumpUntil([&] { return !FindWindowExW(bin, nullptr, L"Edit", nullptr); }));
    CHECK(pumpUntil([&] { return cell(bin, 0, 0) == L"dawn take"; }), cell(bin, 0, 0));
    CHECK(windowText(summary).find(L"dawn take") == 0, windowText(summary));
    tap(VK_F2);
    CHECK(pumpUntil([&] { return (edit = FindWindowExW(bin, nullptr, L"Edit", nullptr)) && GetFocus() == edit; }));
    type("junk");
    tap(VK_ESCAPE);
    CHECK(pumpUntil([&] { return !FindWindowExW(bin, nullptr, L"Edit", nullptr); }));
    pump(100);
    CHECK(cell(bin, 0, 0) == L"dawn take", cell(bin, 0, 0));
    CHECK(IsWindow(dlg.m_hWnd));

    // Drag the clip to the timeline. The drag loop runs inside the press, so another thread moves
    // the pointer while this one pumps.
    SendMessageW(bin, LVM_GETITEMRECT, 0, (LPARAM)&item);
    const POINT start = screenCentre(bin, item), target = centreOf(timeline);
    std::thread driver([=] {
        moveTo(start);
        Sleep(100);
        press(start);
        Sleep(400);
        for (int i = 1; i <= 10; ++i) {
            moveTo({start.x + (target.x - start.x) * i / 10, start.y + (target.y - start.y) * i / 10});
            Sleep(60);
        }
        moveTo({target.x + 3, target.y});
        Sleep(200);
        moveTo(target);
        Sleep(200);
        release(target);
    });
    const bool dropped = pumpUntil([&] { return SendMessageW(timeline, LVM_GETITEMCOUNT, 0, 0) == 1; }, 15000);
    driver.join();
    pump(100);
    CHECK(dropped);
    CHECK(cell(timeline, 0, 0) == L"dawn take", cell(timeline, 0, 0));
    CHECK(cell(timeline, 0, 1) == L"29.97 DF", cell(timeline, 0, 1));
    CHECK(cell(timeline, 0, 2) == L"00:00:10;00", cell(timeline, 0, 2));
    CHECK(cell(timeline, 0, 3) == L"00:01:30;00", cell(timeline, 0, 3));
    CHECK(cell(timeline, 0, 4) == L"00:01:20;00", cell(timeline, 0, 4));

    // Ctrl+C copies the marked range as text in the clip's notation.
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    SetFocus(bin);
    key(VK_CONTROL, false);
    tap('C');
    key(VK_CONTROL, true);
    CHECK(pumpUntil([&] { return clipboardText() == "00:00:10;00 - 00:01:30;00"; }), [] {
        std::string t = clipboardText();
        return std::wstring(t.begin(), t.end());
    }());

    // OK: the owner hears the marks and the dialog is gone.
    click(centreOf(::GetDlgItem(dlg.m_hWnd, IDOK)));
    CHECK(pumpUntil([&] { return !IsWindow(g_dialogHwnd); }));
    CHECK(g_results == 1 && g_result.button == IDOK);
    CHECK(g_result.name == L"dawn take" && g_result.rate == 29.97 && g_result.in == 300 && g_result.out == 2698,
          g_result.name + L" " + std::to_wstring(g_result.in) + L" " + std::to_wstring(g_result.out));
    g_dialogHwnd = nullptr;
}

// After a close: no window, timer or hook of the dialog is left.
void checkNothingLeft(int windowsBefore, HWND probe, HWND probeEdit, HWND probeButton) {
    pump(300);
    CHECK(threadWindows() == windowsBefore,
          std::to_wstring(threadWindows()) + L" windows, " + std::to_wstring(windowsBefore) + L" before");
    CHECK(CqToolTipDVDUser::g_hHook == nullptr);
    MSG msg;
    int timers = 0;
    const DWORD end = GetTickCount() + 300;
    while ((LONG)(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) ++timers;
        Sleep(10);
    }
    CHECK(timers == 0, std::to_wstring(timers));
    // A click and a key reach the probe and the hooks that run after any of the library's; the
    // focus stays where it was put (a mouse hook left behind would take it away).
    SetForegroundWindow(probe);
    SetFocus(probeEdit);
    pump(100);
    const int clicks = g_probeClicks, downs = g_mouseDowns, keys = g_keyDowns;
    click(centreOf(probeButton));
    SetFocus(probeEdit);
    tap('Q');
    pump(100);
    CHECK(g_probeClicks == clicks + 1 && g_mouseDowns == downs + 1,
          std::to_wstring(g_probeClicks - clicks) + L" " + std::to_wstring(g_mouseDowns - downs));
    CHECK(g_keyDowns >= keys + 1 && windowText(probeEdit).find(L"q") != std::wstring::npos, windowText(probeEdit));
    SetWindowTextW(probeEdit, L"");
}
}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const DWORD started = GetTickCount();
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = inst;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TrimE2EOwner";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, inst, nullptr);
    HWND probe = CreateWindowExW(0, wc.lpszClassName, L"probe", WS_POPUP | WS_VISIBLE, 900, 700, 300, 80, nullptr,
                                 nullptr, inst, nullptr);
    HWND probeEdit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 180, 24, probe,
                                     nullptr, inst, nullptr);
    HWND probeButton = CreateWindowExW(0, L"BUTTON", L"probe", WS_CHILD | WS_VISIBLE, 200, 10, 80, 24, probe,
                                       (HMENU)7, inst, nullptr);
    HHOOK listen = SetWindowsHookExW(WH_CALLWNDPROC, listenParent, nullptr, GetCurrentThreadId());
    HHOOK mouseCount = SetWindowsHookExW(WH_MOUSE, countMouse, nullptr, GetCurrentThreadId());
    HHOOK keyCount = SetWindowsHookExW(WH_KEYBOARD, countKeys, nullptr, GetCurrentThreadId());
    pump(200);
    const int windows = threadWindows();

    // The first round lets the lazily made shared objects appear; the second must leave exactly
    // as many GDI objects as the first left.
    round(owner);
    checkNothingLeft(windows, probe, probeEdit, probeButton);
    const int gdiAfterFirst = liveGdiObjects();
    round(owner);
    checkNothingLeft(windows, probe, probeEdit, probeButton);
    const int gdiAfterSecond = liveGdiObjects();
    CHECK(gdiAfterSecond == gdiAfterFirst,
          std::to_wstring(gdiAfterFirst) + L" GDI objects after the first round, " + std::to_wstring(gdiAfterSecond) +
              L" after the second");

    UnhookWindowsHookEx(listen);
    UnhookWindowsHookEx(mouseCount);
    UnhookWindowsHookEx(keyCount);
    DestroyWindow(probe);
    DestroyWindow(owner);
    std::printf("trim end-to-end: %s, %d failure(s), %.1f s\n", g_failures ? "FAILED" : "passed", g_failures,
                (GetTickCount() - started) / 1000.0);
    return g_failures ? 1 : 0;
}
