// Helpers of the button and hover-window tests: one framework parent with a patterned background
// that records the commands its children send; real input and a pump that pre-translates as a
// host's loop does (liveinput.h).
#pragma once
#include "liveinput.h"
#include "qButtonEx.h"
#include "qModule.h"
#include <string>
#include <vector>

namespace buttontest {
using testutil::pointerTo, testutil::buttonDown, testutil::buttonUp, testutil::pump;
using Shot = testutil::ClientShot;

struct Command { UINT id, code; HWND from; };

// A topmost popup at (120, 110), 420 x 260, shared by every test of the binary.
class RecordingParent : public CWnd {
public:
    static RecordingParent& get();   // created on first use, cleared of commands each time
    std::vector<Command> commands;
    // The parent's background at its client point: asymmetric stripes, red and blue differ.
    static COLORREF pattern(int x, int y) { return ((x / 6 + y / 4) & 1) ? RGB(200, 40, 90) : RGB(30, 160, 230); }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

// Pumps (with pre-translation) until done() or ms have passed; the result of done().
inline bool waitFor(const std::function<bool()>& done, DWORD ms = 8000) { return testutil::pumpUntil(ms, done); }
inline void moveTo(HWND window, int x, int y) { pointerTo(window, x, y); }
inline void moveAway() { pointerTo(nullptr, 20, 20); }   // outside the parent
inline COLORREF screenPixel(HWND window, int x, int y) { return Shot(window).at(x, y); }

// The button with its protected state in reach; counts what reaches it and what it paints.
class ButtonProbe : public CqButtonEx {
public:
    using CqButtonEx::m_bInit, CqButtonEx::m_bHover, CqButtonEx::m_bPressed, CqButtonEx::m_pMainImage;
    using CqButtonEx::m_pBackImage, CqButtonEx::m_bmpID, CqButtonEx::m_clrText, CqButtonEx::m_tme;
    using CqButtonEx::m_bmiBuffer, CqButtonEx::m_hBufferDC, CqButtonEx::fnEnumTextFormat, CqButtonEx::fnRebuildDirtyBuffer;
    int hoverMessages = 0, keyDowns = 0, paints = 0;

    // A child of the shared parent, created with Create (so fnInit(0) has run).
    bool make(const wchar_t* caption, const RECT& r, DWORD style = 0, UINT id = kId) {
        return Create(caption, WS_CHILD | WS_VISIBLE | style, r, &RecordingParent::get(), id) != FALSE;
    }
    // The test strip "test\button\cells.png": cells of 20 x 14.
    int useCells(int systemFrame = 0) {
        return fnSetMainBitmapFile(L"test\\button\\cells.png", nullptr, 0, 0, 20, 14, systemFrame, 0);
    }
    void repaint() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    static const UINT kId = 4321;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        hoverMessages += message == WM_MOUSEHOVER, keyDowns += message == WM_KEYDOWN;
        return CqButtonEx::WindowProc(message, wParam, lParam);
    }
    int fnDrawButton(HDC hdc) override { return ++paints, CqButtonEx::fnDrawButton(hdc); }
};

// Colours of the test strip's cells (normal, pressed, disabled, hover) and its layout: a
// transparent margin of 2 left, top and right and 3 at the bottom, a black pixel at (4, 3), a
// half-transparent column at x 15.
extern const COLORREF kCellColours[4];
// What the test strip's cell shows at (x, y) over a background colour.
COLORREF cellPixel(int state, int x, int y, COLORREF background);
// The parent's pattern under a client point of a child.
COLORREF parentUnder(HWND child, int x, int y);

// The bitmap path pointed elsewhere for the guard's life.
struct BitmapPathGuard {
    std::wstring saved = gfnGetProgramBitmapPath();
    explicit BitmapPathGuard(const std::wstring& path) { gfnChangeProgramBitmapPath(path.c_str()); }
    ~BitmapPathGuard() { gfnChangeProgramBitmapPath(saved.c_str()); }
};

}  // namespace buttontest
