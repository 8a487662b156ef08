// Tool registration shared by both tooltip classes, and the small pieces of their looks.
#pragma once
#include "qToolTipDVDUser.h"

namespace qtip {

// Sends one 72-byte tool record; 1 when the control took it, 0 without a tooltip window.
int addTool(CToolTipCtrl& tip, UINT flags, HWND owner, UINT_PTR id, const RECT* rect, HINSTANCE inst,
            const wchar_t* text);

// The five registrations both classes offer; `textIsRect` picks the card tooltip's form of the
// text overload (a rectangle tool of hwnd) over the shaped one (hwnd itself as the tool).
int addWindowTool(CToolTipCtrl& tip, HWND hwnd, HWND hwndTool);
int addClientTool(CToolTipCtrl& tip, HWND hwnd, UINT id);
int addRectTool(CToolTipCtrl& tip, HWND hwnd, UINT id, const RECT& rect);
int addTextTool(CToolTipCtrl& tip, HWND hwnd, UINT id, const wchar_t* text, bool textIsRect);
int addStringTool(CToolTipCtrl& tip, HWND hwnd, HINSTANCE inst, UINT stringId);

// The string-table defaults, then the settings file over them.
void loadLooks(tagCQTOOLTIP_LOOKS& looks);

}  // namespace qtip
