// Tooltips: balloons with their tail pointing right, left and down, a rectangle tip with its
// shadow, a tip at a fixed position and the card tooltip with three lines. Each is shown for
// real over its tool, then copied from the screen through its own window region.
#include "gallery.h"
#include "qvToolTipCtrl.h"
#include <algorithm>
#include <vector>

namespace {
enum Kind { kBalloon, kRectangle, kCard };

struct Sample {
    const wchar_t* label;
    const wchar_t* text;
    Kind kind;
    int fixedX, fixedY;   // anchor as an offset from the screen's right/bottom edge when negative,
                          // from the panel when positive; 0: follow the cursor
};

const Sample kSamples[] = {
    {L"balloon, tail right", L"Sets the in point\nat the current frame", kBalloon, 0, 0},
    {L"balloon, tail left", L"Pushed in from the\nright screen edge", kBalloon, -40, 260},
    {L"balloon, tail down", L"No room below:\nthe tip goes above", kBalloon, 380, -6},
    {L"rectangle + shadow", L"Plays the trimmed clip", kRectangle, 0, 0},
    {L"fixed position", L"Always here", kRectangle, 470, 300},
    {L"card", L"Trim\r\nDrag the handles to set\nthe start and the end\n", kCard, 0, 0},
};
const int kCount = sizeof(kSamples) / sizeof(kSamples[0]);
const int kToolW = 112, kToolH = 24, kToolY = 34;
const int kSlotW = 235, kSlotH = 140, kSlotY = 80;

struct Shot {
    HBITMAP image = nullptr;
    HRGN region = nullptr;   // window coordinates
    SIZE size = {};
    POINT anchor = {-1, -1}; // window coordinates, where the tip points
};

std::vector<CToolTipCtrl*> g_tips;
Shot g_shots[kCount];
HWND g_tools[kCount];

// The shaped tips see the mouse only when the host relays it: the tool windows do that here.
LRESULT CALLBACK toolProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        if (HWND tip = (HWND)GetWindowLongPtrW(hwnd, GWLP_USERDATA)) {
            MSG m = {hwnd, msg, wp, lp, (DWORD)GetMessageTime(), {}};
            GetCursorPos(&m.pt);
            gfnToolTipRelayEvent(tip, &m);
        }
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, (HBRUSH)(COLOR_BTNFACE + 1));
        DrawEdge(dc, &rc, EDGE_RAISED, BF_RECT);
        wchar_t text[64];
        GetWindowTextW(hwnd, text, 64);
        SetBkMode(dc, TRANSPARENT);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Lets the tip's timers run until it shows or ms pass.
void waitShown(DWORD ms, CToolTipCtrl* tip) {
    for (DWORD start = GetTickCount(); !tip->IsWindowVisible() && GetTickCount() - start < ms;) galleryPump(20);
}

// Copies the showing tip from the screen with its window region.
void capture(CToolTipCtrl* tip, POINT anchor, Shot& shot) {
    RECT wr;
    tip->GetWindowRect(&wr);
    shot.size = {wr.right - wr.left, wr.bottom - wr.top};
    shot.anchor = {anchor.x - wr.left, anchor.y - wr.top};
    shot.region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(*tip, shot.region) == ERROR) SetRectRgn(shot.region, 0, 0, shot.size.cx, shot.size.cy);
    HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
    shot.image = CreateCompatibleBitmap(screen, shot.size.cx, shot.size.cy);
    HGDIOBJ old = SelectObject(mem, shot.image);
    BitBlt(mem, 0, 0, shot.size.cx, shot.size.cy, screen, wr.left, wr.top, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}

void build(HWND panel) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = toolProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"GalleryTipTool";
    RegisterClassW(&wc);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    POINT saved;
    GetCursorPos(&saved);
    for (int i = 0; i < kCount; ++i) {
        const Sample& s = kSamples[i];
        const int x = 10 + (i % 6) * (kToolW + 6);
        HWND tool = CreateWindowExW(0, wc.lpszClassName, s.label, WS_CHILD | WS_VISIBLE, x, kToolY, kToolW, kToolH,
                                    panel, nullptr, wc.hInstance, nullptr);
        g_tools[i] = tool;
        POINT fixed = {-1, -1};
        if (s.fixedX || s.fixedY) {
            POINT origin = {0, 0};
            ClientToScreen(panel, &origin);
            fixed.x = s.fixedX < 0 ? sw + s.fixedX : origin.x + s.fixedX;
            fixed.y = s.fixedY < 0 ? sh + s.fixedY : origin.y + s.fixedY;
        }
        CToolTipCtrl* tip = nullptr;
        if (s.kind == kCard) {
            auto* card = new qvCToolTipCtrl;
            card->fnCreate(CWnd::FromHandle(panel));
            card->AddWindowTool(CWnd::FromHandle(tool), s.text);
            tip = card;
        } else {
            auto* shaped = new CqToolTipDVDUser;
            shaped->fnCreate(CWnd::FromHandle(panel));
            shaped->fnAddTool(tool, 0u, const_cast<wchar_t*>(s.text));
            shaped->fnGetLooksData()->bRoundShape = s.kind == kBalloon;
            if (fixed.x != -1) shaped->fnSetPosition(CPoint(fixed));
            SetWindowLongPtrW(tool, GWLP_USERDATA, (LONG_PTR)shaped->GetSafeHwnd());
            tip = shaped;
        }
        g_tips.push_back(tip);
        tip->SetDelayTime(TTDT_INITIAL, 50);
        tip->SetDelayTime(TTDT_AUTOPOP, 30000);

        // Show it for real: the pointer over the tool, a move the tip sees, the system's delay.
        RECT tr;
        GetWindowRect(tool, &tr);
        POINT at = {tr.left + 20 + i, tr.top + 10};
        SetCursorPos(at.x, at.y);
        POINT client = at;
        ScreenToClient(tool, &client);
        SendMessageW(tool, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        waitShown(3000, tip);
        if (!tip->IsWindowVisible()) continue;
        galleryPump(150);
        capture(tip, fixed.x != -1 ? fixed : at, g_shots[i]);
        tip->Pop();
        SetWindowLongPtrW(tool, GWLP_USERDATA, (LONG_PTR)nullptr);
    }
    SetCursorPos(saved.x, saved.y);
    // Live again for a person trying the page.
    for (int i = 0; i < kCount; ++i)
        if (kSamples[i].kind != kCard) SetWindowLongPtrW(g_tools[i], GWLP_USERDATA, (LONG_PTR)g_tips[i]->GetSafeHwnd());
}

void paint(HDC dc, const RECT&) {
    galleryLabel(dc, 10, 10, L"Tooltips: hover a button; below, each tip as it showed, cut by its window region");
    HPEN red = CreatePen(PS_SOLID, 1, RGB(220, 30, 60));
    for (int i = 0; i < kCount; ++i) {
        const int sx = 10 + (i % 3) * kSlotW, sy = kSlotY + (i / 3) * kSlotH;
        galleryLabel(dc, sx, sy, kSamples[i].label);
        const Shot& shot = g_shots[i];
        if (!shot.image) {
            galleryLabel(dc, sx, sy + 20, L"(did not show)");
            continue;
        }
        // Room above for an anchor the tail points up to; tips too tall for the slot show their top.
        const int ox = sx + 4, oy = sy + 18 + (shot.anchor.y < 0 ? std::min<int>(-shot.anchor.y, 24) : 0);
        HRGN clip = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(clip, shot.region, nullptr, RGN_COPY);
        OffsetRgn(clip, ox, oy);
        HRGN slot = CreateRectRgn(sx, sy + 16, sx + kSlotW - 6, sy + kSlotH - 4);
        CombineRgn(clip, clip, slot, RGN_AND);
        SelectClipRgn(dc, clip);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, shot.image);
        BitBlt(dc, ox, oy, shot.size.cx, shot.size.cy, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        SelectClipRgn(dc, nullptr);
        DeleteObject(slot);
        DeleteObject(clip);
        // The anchor the tip belongs to.
        HGDIOBJ oldPen = SelectObject(dc, red);
        const int ax = ox + shot.anchor.x, ay = oy + shot.anchor.y;
        if (ax > sx && ax < sx + kSlotW && ay > sy && ay < sy + kSlotH) {
            MoveToEx(dc, ax - 4, ay, nullptr), LineTo(dc, ax + 5, ay);
            MoveToEx(dc, ax, ay - 4, nullptr), LineTo(dc, ax, ay + 5);
        }
        SelectObject(dc, oldPen);
    }
    DeleteObject(red);
}

void teardown(HWND) {
    for (CToolTipCtrl* tip : g_tips) delete tip;
    g_tips.clear();
    for (Shot& s : g_shots) {
        if (s.image) DeleteObject(s.image);
        if (s.region) DeleteObject(s.region);
        s = Shot();
    }
}
}  // namespace

GALLERY_PAGE(tooltip, L"tooltip", 720, 380, build, paint, teardown);
