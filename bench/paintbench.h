// The yardstick of every paint benchmark: "a plain repaint", one invalidate-and-UpdateWindow
// cycle of a same-sized child window whose class paints nothing but its background brush. On
// Wine that cycle costs hundreds of microseconds, so a control's paint is judged against it and
// not against a bare BitBlt.
#pragma once
#include "bench.h"
#include <windows.h>
#include <functional>

namespace paintbench {

// A visible topmost popup shown without activation (hiding an activated window costs Wine two
// seconds), shared by every paint benchmark; its client area is kWidth x kHeight.
const int kWidth = 900, kHeight = 420;
HWND parent();

// Dispatches whatever is queued for this thread.
void pump();
// Pumps until done() or ms have passed; the result of done().
bool pumpUntil(const std::function<bool()>& done, DWORD ms);

// Times step (one paint of the subject) against a plain repaint of a w x h window, alternately,
// and prints the ratio with its goal (at most goal x a plain repaint; 0: no goal). Returns the ratio.
// input, when given, runs before every step of both (a pointer move that is not the paint's cost).
double versusPlainRepaint(const char* what, int w, int h, const std::function<void()>& step, double goal,
                          const std::function<void()>& input = nullptr);

}  // namespace paintbench
