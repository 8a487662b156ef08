// Helpers of the button and hover-window tests: one framework parent with a patterned background
// that records the commands its children send, real mouse input, and a message pump that
// pre-translates as a host's loop does.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <vector>
#include "qTrimUIDef.h"

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
    afx_msg void OnPaint();
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
// Where the pointer is, in the window's client coordinates.
POINT cursorIn(HWND window);

// Pixel of the screen at a client point of a window.
COLORREF screenPixel(HWND window, int x, int y);

}  // namespace buttontest
