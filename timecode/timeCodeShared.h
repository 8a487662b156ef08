// Private pieces shared by the timecode control's source files.
#pragma once
#include <windows.h>

namespace qtc {
// The control's one timer: blinking at 250 ms, fast spinning at 100 ms.
const UINT_PTR kTimerId = 10;
const UINT kBlinkMs = 250;
const UINT kSpinMs = 100;

// Removes the module's mouse hook when the window going away still holds the focus that put it there.
void releaseFocusHook(HWND control);
}  // namespace qtc
