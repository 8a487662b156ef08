// Helpers of the button and hover-window tests: one framework parent with a patterned background
// that records the commands its children send, real mouse input, and a message pump that
// pre-translates as a host's loop does.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <vector>
#include "qButtonEx.h"
#include "qModule.h"
#include "testutil.h"
#include <string>

namespace buttontest {

struct Command {
    UINT id, code;
    HWND from;
};

// A topmost popup at (kLeft, kTop), kWidth x kHeight, shared by every test of the binary.
class RecordingParent : public CWnd {
public:
    static const int kLeft = 120, kTop = 110, kWidth = 420, kHeight = 260;
    static RecordingParent& get();   // created on first use, cleared of commands each time
    std::vector<Command> commands;
    // The parent's background at its client point: asymmetric stripes, red and blue differ.
    static COLORREF pattern(int x, int y);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};

// One pass over the queue: AfxPreTranslateMessage, then translate and dispatch.
void pumpOnce();
// Pumps until done() or ms have passed; the result of done().
bool waitFor(const std::function<bool()>& done, DWORD ms = 8000);
// Pumps for ms (for checking that something does not happen).
void pumpFor(DWORD ms);

// Real pointer input through SendInput, at a client point of a window (screen point for null).
void moveTo(HWND window, int x, int y);
void moveAway();   // to a screen point outside the parent
void leftDown();
void leftUp();

// Pixel of a window as shown, at a client point (read through the window's DC).
COLORREF screenPixel(HWND window, int x, int y);

// The button with its protected state in reach; counts what reaches it and what it paints.
class ButtonProbe : public CqButtonEx {
public:
    using CqButtonEx::m_bInit, CqButtonEx::m_bHover, CqButtonEx::m_bPressed, CqButtonEx::m_nForcedState;
    using CqButtonEx::m_pMainImage, CqButtonEx::m_pBackImage, CqButtonEx::m_bmpID, CqButtonEx::m_clrText;
    using CqButtonEx::m_tme, CqButtonEx::m_ptShadow, CqButtonEx::m_bmiBuffer, CqButtonEx::m_hBufferDC;
    using CqButtonEx::fnEnumTextFormat, CqButtonEx::fnRebuildDirtyBuffer;
    int hoverMessages = 0, keyDowns = 0, paints = 0;

    // A child of the shared parent, created with Create (so fnInit(0) has run).
    bool make(const wchar_t* caption, const RECT& r, DWORD style = 0, UINT id = kId);
    // The test strip "test\button\cells.png": cells of 20 x 14.
    int useCells(int systemFrame = 0) {
        return fnSetMainBitmapFile(L"test\\button\\cells.png", nullptr, 0, 0, 20, 14, systemFrame, 0);
    }
    void repaint() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    static const UINT kId = 4321;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_MOUSEHOVER) ++hoverMessages;
        if (message == WM_KEYDOWN) ++keyDowns;
        return CqButtonEx::WindowProc(message, wParam, lParam);
    }
    int fnDrawButton(HDC hdc) override;
};

// Colours of the test strip's cells (normal, pressed, disabled, hover) and its layout: a
// transparent margin of 2 left, top and right and 3 at the bottom, a black pixel at (4, 3), a
// half-transparent column at x 15.
extern const COLORREF kCellColours[4];
// What the test strip's cell shows at (x, y) over a background colour.
COLORREF cellPixel(int state, int x, int y, COLORREF background);

// A window's client area as shown, read back pixel by pixel through its DC.
class ScreenShot {
public:
    explicit ScreenShot(HWND window);
    COLORREF at(int x, int y) const { return m_canvas.at(x, y); }
    int width() const { return m_canvas.width(); }
    int height() const { return m_canvas.height(); }
    // Pixels that differ from want(x, y) by more than tolerance in a channel.
    template <class F>
    int mismatches(F&& want, int tolerance = 0, std::string* first = nullptr) const {
        int n = 0;
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (!close(at(x, y), want(x, y), tolerance) && n++ == 0 && first) *first = describe(x, y, want(x, y));
        return n;
    }

private:
    static bool close(COLORREF a, COLORREF b, int t);
    std::string describe(int x, int y, COLORREF want) const;
    testutil::Canvas m_canvas;
};

// The parent's pattern under a client point of a child.
COLORREF parentUnder(HWND child, int x, int y);

// The bitmap path pointed elsewhere for the guard's life.
struct BitmapPathGuard {
    std::wstring saved = gfnGetProgramBitmapPath();
    explicit BitmapPathGuard(const std::wstring& path) { gfnChangeProgramBitmapPath(path.c_str()); }
    ~BitmapPathGuard() { gfnChangeProgramBitmapPath(saved.c_str()); }
};

}  // namespace buttontest
