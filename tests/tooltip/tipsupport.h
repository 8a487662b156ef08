// Shared by the tooltip tests: one host window with a tool child, real mouse input, a message pump
// that relays mouse messages to a tooltip as a host does, screen read-back and the settings file.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include "testutil.h"

namespace tiptest {

const COLORREF kHostColour = RGB(40, 90, 200);   // red and blue differ: swaps show
const COLORREF kToolColour = RGB(200, 150, 30);
const RECT kHostRect = {60, 80, 900, 700};        // screen
const RECT kToolRect = {40, 40, 240, 90};         // host client

// The shared host (top-level, shown without activation) and its tool child.
HWND host();
HWND tool();
// Text the host hands out for callback tools (TTN_GETDISPINFOW).
void setCallbackText(const wchar_t* text);
// The last key the host saw go down.
UINT lastKeyDown();

// Moves the pointer with SendInput to the screen point, pumping (and relaying to relayTo) until
// the cursor arrives; true when it did.
bool moveMouse(int x, int y, HWND relayTo = nullptr);
void clickMouse();
// The tool's centre on the screen.
POINT toolCentre();

// Pumps this thread's messages, relaying mouse messages to `tip` (when not null) with
// gfnToolTipRelayEvent, until done() or the deadline; the final value of done().
bool pumpUntil(HWND tip, DWORD ms, const std::function<bool()>& done);
inline bool pumpFor(HWND tip, DWORD ms) { return pumpUntil(tip, ms, [] { return false; }), true; }

// The screen's pixels of a rectangle, copied once; read in screen coordinates.
class ScreenShot {
public:
    explicit ScreenShot(const RECT& r);
    COLORREF at(int x, int y) const { return m_canvas.at(x - m_r.left, y - m_r.top); }
    int count(const RECT& r, COLORREF c) const;

private:
    RECT m_r;
    testutil::Canvas m_canvas;
};

// Writes the tooltip section of the library's settings file for the life of the object and puts
// back what was there before.
class SettingsFile {
public:
    explicit SettingsFile(const std::string& body);
    ~SettingsFile();

private:
    std::wstring m_path;
    bool m_existed = false;
    std::string m_old;
};

// Live GDI objects of this process: Wine looks a handle up by its table index alone.
int liveGdiObjects();

// Text extent of text in the library's default font as DrawTextW measures it with format in a
// box of the given width and height.
RECT measureText(const wchar_t* text, int width, int height, UINT format);

// Descriptions for failure messages.
std::string describe(const RECT& r);
std::string describe(HRGN rgn);

}  // namespace tiptest
