// The trim dialog under random real input for a chosen time: clicks, double clicks, drags, wheel,
// keys and typing sent with SendInput from a second thread (so the dialog's own modal loops, a
// drag and drop among them, run as they would for a user), with a fixed seed. The dialog's thread
// checks the invariants as it runs; the figures are printed at the end. GDI objects and committed
// memory are counted at the start, after the warm-up (every control used once, then the first
// third of the time) and at the end, each time with the buttons up and the dialog idle.
//   trim_soak.exe [SECONDS=20] [SEED=1] [ACTIONS=cdwkt]
// ACTIONS picks the kinds of input: c clicks, d drags, w wheel, k keys, t typing (for finding which
// kind a failure comes from).
// Exit status 0 when every check held.
#include "TrimDialog.h"
#include "../e2e/probe.h"
#include <commctrl.h>
#define PSAPI_VERSION 2
#include <psapi.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {
// What the run sees ---------------------------------------------------------------------------------
struct Figures {
    int gdi;
    SIZE_T committed;
    int byType[16];   // live GDI objects by GetObjectType, for telling what grew
};
Figures measure() {
    PROCESS_MEMORY_COUNTERS pmc = {sizeof pmc};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    Figures f = {liveGdiObjects(), pmc.PagefileUsage, {}};   // the commit charge
    for (ULONG_PTR i = 0; i < 0x10000; ++i) {
        const DWORD type = GetObjectType((HGDIOBJ)i);
        if (type && type < 16) ++f.byType[type];
    }
    return f;
}
std::string byType(const Figures& f) {
    static const char* names[16] = {"", "pen", "brush", "dc", "metadc", "palette", "font", "bitmap", "region",
                                    "metafile", "memdc", "extpen", "enhmetadc", "enhmetafile", "colorspace", ""};
    std::string s;
    for (int t = 1; t < 16; ++t)
        if (f.byType[t]) s += std::string(s.empty() ? "" : ", ") + names[t] + " " + std::to_string(f.byType[t]);
    return s;
}

int g_failures = 0;
long g_checks = 0;
DWORD g_started = 0;
void fail(const std::string& what) {
    if (++g_failures <= 25) std::printf("FAILED at %.1f s: %s\n", (GetTickCount() - g_started) / 1000.0, what.c_str());
    std::fflush(stdout);
}

LONG WINAPI crashed(EXCEPTION_POINTERS* e) {
    std::printf("CRASH at %.1f s: exception %08lx at %p\n", (GetTickCount() - g_started) / 1000.0,
                e->ExceptionRecord->ExceptionCode, e->ExceptionRecord->ExceptionAddress);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The controls' protected state, read for the checks only.
struct TimecodePeek : CTimeCodeCtrl {
    static void shown(CTimeCodeCtrl* t, int out[4]) { std::memcpy(out, static_cast<TimecodePeek*>(t)->m_nMember, 4 * sizeof(int)); }
    static void expected(CTimeCodeCtrl* t, int out[4]) {
        static_cast<TimecodePeek*>(t)->fnGetTimeCode(t->fnGetIndex(), out[0], out[1], out[2], out[3], t->fnGetFrameRate());
    }
};
struct EditPeek : CLVEditEx {
    static HHOOK hook() { return g_hHookMouse; }
};

// The dialog and its checks (dialog thread) ---------------------------------------------------------
CTrimDialog* g_dialog = nullptr;
std::atomic<HWND> g_dialogHwnd{nullptr};   // read by the input thread
int g_opened = 0;
const UINT kTimecodes[] = {IDC_POSITION, IDC_MARKIN, IDC_MARKOUT, IDC_DURATION};

void checkInvariants() {
    if (!g_dialog || !g_dialog->m_hWnd) return;
    ++g_checks;
    char text[200];
    for (UINT id : kTimecodes) {
        auto* tc = static_cast<CTimeCodeCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(g_dialog->m_hWnd, id)));
        if (!tc) continue;
        const int index = tc->fnGetIndex(), lo = tc->fnGetIndexLowerBd(), hi = tc->fnGetIndexUpperBd();
        if (index < lo || index > hi) {
            std::snprintf(text, sizeof text, "timecode %u: index %d outside [%d, %d]", id, index, lo, hi);
            fail(text);
        }
        // Being edited, the fields may hold digits not yet taken; otherwise they show the index.
        if (::GetFocus() != tc->m_hWnd) {
            int shown[4], want[4];
            TimecodePeek::shown(tc, shown);
            TimecodePeek::expected(tc, want);
            if (std::memcmp(shown, want, sizeof shown) != 0) {
                std::snprintf(text, sizeof text, "timecode %u shows %02d:%02d:%02d:%02d for index %d (%02d:%02d:%02d:%02d)",
                              id, shown[0], shown[1], shown[2], shown[3], index, want[0], want[1], want[2], want[3]);
                fail(text);
            }
        }
    }
    if (auto* bar = static_cast<CqScrollBarEx*>(CWnd::FromHandlePermanent(::GetDlgItem(g_dialog->m_hWnd, IDC_SCRUB)))) {
        long lo = 0, hi = 0;
        bar->fnGetScrollRange(&lo, &hi);
        const long pos = bar->fnGetScrollPos(), track = bar->fnGetScrollTrackPos(), limit = bar->fnGetScrollLimit();
        if (pos < lo || pos > limit || limit > hi || track < lo || track > limit) {
            std::snprintf(text, sizeof text, "scrubber: position %ld, track %ld outside [%ld, %ld], limit %ld, max %ld", pos,
                          track, lo, limit, limit, hi);
            fail(text);
        }
    }
}
void CALLBACK onCheckTimer(HWND, UINT, UINT_PTR, DWORD) { checkInvariants(); }

void openDialog(HWND owner) {
    g_dialog = new CTrimDialog;
    if (!g_dialog->create(owner, 40, 40)) {
        fail("the dialog could not be created");
        return;
    }
    ++g_opened;
    g_dialog->SetForegroundWindow();
    g_dialogHwnd = g_dialog->m_hWnd;
}

// After a close nothing of the dialog may be left: no window, no hook.
void checkClosed(int windowsBefore) {
    if (threadWindows() != windowsBefore)
        fail("after the close " + std::to_string(threadWindows()) + " windows, " + std::to_string(windowsBefore) + " before");
    if (CqToolTipDVDUser::g_hHook) fail("the tooltips' keyboard hook outlived the dialog");
    if (EditPeek::hook()) fail("the in-place edit's mouse hook outlived the dialog");
}

// The host's loop, one round: the framework's PreTranslateMessage first.
void pumpOnce() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    AfxDeleteTempMap();
}
void pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        pumpOnce();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while ((LONG)(end - GetTickCount()) > 0);
}

// The owner hears the result, and measures when the input thread asks (between bursts, with the
// buttons up and the pointer away).
const UINT kMeasure = WM_APP + 1;
Figures g_figures[3];
int g_windows[3];
LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kMeasure) {
        // The focus on the dialog itself ends an open rename; what is left on screen settles.
        if (g_dialog && g_dialog->m_hWnd) g_dialog->SetFocus();
        pump(500);
        g_figures[wp] = measure();
        g_windows[wp] = threadWindows();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Random real input (input thread) ------------------------------------------------------------------
struct Counts {
    long events = 0, clicks = 0, doubles = 0, drags = 0, wheels = 0, keys = 0, typed = 0;
};
Counts g_counts;
std::atomic<bool> g_inputDone{false};

class Rng {
public:
    explicit Rng(unsigned seed) : m_x(seed * 2654435761u + 0x9E3779B9u) {}
    unsigned next() {
        m_x ^= m_x << 13, m_x ^= m_x >> 17, m_x ^= m_x << 5;
        return m_x;
    }
    int below(int n) { return n > 0 ? (int)(next() % (unsigned)n) : 0; }

private:
    unsigned m_x;
};

void send(INPUT& in) {
    if (SendInput(1, &in, sizeof in) == 1) ++g_counts.events;
}
void mouse(DWORD flags, POINT p, DWORD data = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (LONG)(p.x * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = (LONG)(p.y * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    in.mi.mouseData = data;
    send(in);
}
void key(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    send(in);
}
void tap(WORD vk) { key(vk, false), key(vk, true); }

// Waits until the dialog's thread has handled what was sent so far (its loops answer sent messages),
// so the input never runs far ahead of a loaded machine.
void settle(HWND owner) {
    DWORD_PTR r;
    SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r);
}

struct Target {
    UINT id;
    RECT rc;   // screen
};
BOOL CALLBACK addTarget(HWND child, LPARAM lp) {
    const UINT id = (UINT)GetDlgCtrlID(child);
    // The closing buttons are left to the keyboard, which reaches them now and then.
    if (id == IDOK || id == IDCANCEL || !IsWindowVisible(child)) return TRUE;
    Target t = {id, {}};
    GetWindowRect(child, &t.rc);
    if (t.rc.right > t.rc.left && t.rc.bottom > t.rc.top) reinterpret_cast<std::vector<Target>*>(lp)->push_back(t);
    return TRUE;
}

POINT pick(Rng& rng, HWND dialog) {
    std::vector<Target> targets;
    EnumChildWindows(dialog, addTarget, (LPARAM)&targets);
    RECT rc;
    if (targets.empty() || rng.below(10) < 2) {
        GetClientRect(dialog, &rc);
        MapWindowPoints(dialog, nullptr, (POINT*)&rc, 2);
    } else {
        rc = targets[rng.below((int)targets.size())].rc;
    }
    return {rc.left + rng.below(rc.right - rc.left), rc.top + rng.below(rc.bottom - rc.top)};
}

// Keys a user presses in such a dialog; Alt (the window menu) is left out.
const WORD kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_TAB, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_SPACE,
                      VK_RETURN, VK_BACK, VK_DELETE, VK_F2, VK_ESCAPE, '0', '5', '9', 'C'};

std::string g_actions = "cdwkt";

void oneAction(Rng& rng, HWND dialog) {
    static const char kKinds[] = "ccccccdddwwwkkkkkttt";   // the weights, in twentieths
    const char kind = kKinds[rng.below(20)];
    if (g_actions.find(kind) == std::string::npos) return;
    const POINT p = pick(rng, dialog);
    if (kind == 'c') {   // a click, now and then a double click
        mouse(0, p);
        mouse(MOUSEEVENTF_LEFTDOWN, p), mouse(MOUSEEVENTF_LEFTUP, p);
        ++g_counts.clicks;
        if (rng.below(6) == 0) {
            mouse(MOUSEEVENTF_LEFTDOWN, p), mouse(MOUSEEVENTF_LEFTUP, p);
            ++g_counts.doubles;
        }
    } else if (kind == 'd') {   // a drag: press, a few steps, release somewhere else (maybe another control)
        mouse(0, p);
        mouse(MOUSEEVENTF_LEFTDOWN, p);
        const POINT to = rng.below(2) ? pick(rng, dialog) : POINT{p.x + rng.below(120) - 60, p.y + rng.below(40) - 20};
        const int steps = 2 + rng.below(7);
        for (int i = 1; i <= steps; ++i) {
            mouse(0, {p.x + (to.x - p.x) * i / steps, p.y + (to.y - p.y) * i / steps});
            Sleep(rng.below(25));
        }
        mouse(MOUSEEVENTF_LEFTUP, to);
        ++g_counts.drags;
    } else if (kind == 'w') {
        mouse(0, p);
        const int notches = rng.below(7) - 3;
        mouse(MOUSEEVENTF_WHEEL, p, (DWORD)(notches ? notches : 1) * WHEEL_DELTA);
        ++g_counts.wheels;
    } else if (kind == 'k') {
        const WORD vk = kKeys[rng.below(sizeof kKeys / sizeof kKeys[0])];
        const bool ctrl = rng.below(8) == 0, shift = rng.below(8) == 0;
        if (ctrl) key(VK_CONTROL, false);
        if (shift) key(VK_SHIFT, false);
        tap(vk);
        if (shift) key(VK_SHIFT, true);
        if (ctrl) key(VK_CONTROL, true);
        ++g_counts.keys;
    } else {   // typing: digits mostly (the timecodes), letters (a rename)
        const int n = 1 + rng.below(8);
        for (int i = 0; i < n; ++i) tap(rng.below(3) ? (WORD)('0' + rng.below(10)) : (WORD)('A' + rng.below(26)));
        ++g_counts.typed;
    }
}

// Buttons up, an open rename put away, the pointer away from the dialog, the machine caught up: a
// quiet moment to measure.
void quiet(HWND owner) {
    mouse(MOUSEEVENTF_LEFTUP, {1270, 1010});
    key(VK_CONTROL, true), key(VK_SHIFT, true);
    tap(VK_ESCAPE);
    settle(owner);
    Sleep(800);
    settle(owner);
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void drag(POINT from, POINT to, int steps) {
    mouse(0, from);
    mouse(MOUSEEVENTF_LEFTDOWN, from);
    for (int i = 1; i <= steps; ++i) {
        mouse(0, {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Sleep(10);
    }
    mouse(MOUSEEVENTF_LEFTUP, to);
}

// Before the warm-up proper: every control clicked once and dragged from onto the timeline and the
// bin, so what is made once on first use (drag cursors, drop feedback, tips) exists before the count.
void prelude(HWND owner, HWND dialog) {
    std::vector<Target> targets;
    EnumChildWindows(dialog, addTarget, (LPARAM)&targets);
    const HWND timeline = GetDlgItem(dialog, IDC_TIMELINE), bin = GetDlgItem(dialog, IDC_BIN);
    RECT tl = {}, bn = {};
    GetWindowRect(timeline, &tl), GetWindowRect(bin, &bn);
    for (const Target& t : targets) {
        if (!IsWindow(dialog)) return;
        const POINT c = centre(t.rc);
        mouse(0, c);
        mouse(MOUSEEVENTF_LEFTDOWN, c), mouse(MOUSEEVENTF_LEFTUP, c);
        settle(owner);
        drag(c, centre(tl), 6);
        settle(owner);
        drag(c, centre(bn), 6);
        settle(owner);
    }
    tap(VK_ESCAPE);
    settle(owner);
}

void inputThread(HWND owner, double seconds, unsigned seed) {
    Rng rng(seed);
    if (HWND dialog = g_dialogHwnd) prelude(owner, dialog);
    const DWORD start = GetTickCount(), warm = (DWORD)(seconds * 1000 / 3), end = (DWORD)(seconds * 1000);
    bool warmed = false;
    while (GetTickCount() - start < end) {
        HWND dialog = g_dialogHwnd;
        if (!dialog || !IsWindow(dialog)) {   // closed by the input itself; the dialog thread reopens it
            settle(owner);
            Sleep(50);
            continue;
        }
        if (!warmed && GetTickCount() - start >= warm) {
            quiet(owner);
            SendMessageW(owner, kMeasure, 1, 0);
            warmed = true;
        }
        oneAction(rng, dialog);
        settle(owner);
        Sleep(rng.below(30));
    }
    quiet(owner);
    if (!warmed) SendMessageW(owner, kMeasure, 1, 0);
    SendMessageW(owner, kMeasure, 2, 0);
    g_inputDone = true;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const double seconds = argc > 1 ? _wtof(argv[1]) : 20.0;
    const unsigned seed = argc > 2 ? (unsigned)_wtoi(argv[2]) : 1u;
    if (argc > 3) {
        char narrow[16] = {};
        for (int i = 0; argv[3][i] && i < 15; ++i) narrow[i] = (char)argv[3][i];
        g_actions = narrow;
    }
    SetUnhandledExceptionFilter(crashed);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ownerProc;
    wc.hInstance = inst;
    wc.lpszClassName = L"TrimSoakOwner";
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, inst, nullptr);
    pump(200);
    const int windows = threadWindows();

    g_started = GetTickCount();
    openDialog(owner);
    pump(500);
    g_figures[0] = measure();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, onCheckTimer);
    std::thread input(inputThread, owner, seconds, seed);
    while (!g_inputDone) {
        pump(20);
        if (g_dialog && !g_dialog->m_hWnd) {   // the input closed it (a key on OK or Cancel)
            g_dialogHwnd = nullptr;
            delete g_dialog;
            g_dialog = nullptr;
            pump(100);
            checkClosed(windows);
            openDialog(owner);
        }
    }
    input.join();
    KillTimer(nullptr, timer);
    checkInvariants();
    const double elapsed = (GetTickCount() - g_started) / 1000.0;
    if (g_dialog && g_dialog->m_hWnd) g_dialog->SendMessage(WM_CLOSE);
    g_dialogHwnd = nullptr;
    delete g_dialog;
    g_dialog = nullptr;
    pump(300);
    checkClosed(windows);

    // Flat after the warm-up. The platform makes a few objects on first use of a cursor or a drop
    // feedback that the prelude may not have met yet; a leak of one object per paint, click or drag
    // grows far past that within seconds.
    const int kGdiAllowance = 8;
    const Figures &start = g_figures[0], &warm = g_figures[1], &last = g_figures[2];
    const long long grown = (long long)last.committed - (long long)warm.committed;
    if (last.gdi > warm.gdi + kGdiAllowance)
        fail(std::to_string(g_windows[1]) + " windows after the warm-up, " + std::to_string(g_windows[2]) + " at the end; " +
             "GDI objects grew after the warm-up: " + byType(warm) + " -> " + byType(last));
    if (grown > (4ll << 20)) fail("committed memory grew by " + std::to_string(grown >> 10) + " KB after the warm-up");

    const double mb = 1024.0 * 1024.0;
    std::printf("soak: seed %u, %.1f s, %ld input events (%ld clicks, %ld double clicks, %ld drags, %ld wheel turns, "
                "%ld keys, %ld typings), dialog opened %d time(s)\n",
                seed, elapsed, g_counts.events, g_counts.clicks, g_counts.doubles, g_counts.drags, g_counts.wheels,
                g_counts.keys, g_counts.typed, g_opened);
    std::printf("soak: GDI objects    start %d, after warm-up %d, end %d\n", start.gdi, warm.gdi, last.gdi);
    std::printf("soak: committed MB   start %.1f, after warm-up %.1f, end %.1f\n", start.committed / mb,
                warm.committed / mb, last.committed / mb);
    std::printf("soak: %ld invariant checks, %d failure(s): %s\n", g_checks, g_failures, g_failures ? "FAILED" : "passed");
    DestroyWindow(owner);
    OleUninitialize();
    return g_failures ? 1 : 0;
}
