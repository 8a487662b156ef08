// What the scroll bar's two source files share: conversions between Win32 rectangles and the
// model's, and the default skin.
#pragma once
#include "qScrollBarEx.h"
#include "controls/ScrollBarModel.h"

namespace qsbwin {

inline qsb::Rect toRect(const RECT& r) { return {(int)r.left, (int)r.top, (int)r.right, (int)r.bottom}; }
inline RECT fromRect(const qsb::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline qsb::Size toSize(const CSize& s) { return {(int)s.cx, (int)s.cy}; }

// The skin of "qDVDUser\ScrollBarEx\" for one orientation, on the program bitmap path.
void defaultSkin(tagSCROLLINFOEX_BMPINFO& info, bool vertical);

}  // namespace qsbwin
