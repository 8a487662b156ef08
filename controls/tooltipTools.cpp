// Tool registration shared by the tooltip classes and the looks record's defaults.
#include "controls/tooltipTools.h"
#include "frame/settingsText.h"
#include "qModule.h"
#include "frame/moduleState.h"

static_assert(sizeof(TTTOOLINFOW) == 72, "the tool record the control expects");

namespace qtip {

int addTool(CToolTipCtrl& tip, UINT flags, HWND owner, UINT_PTR id, const RECT* rect, HINSTANCE inst,
            const wchar_t* text) {
    TTTOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = flags;
    ti.hwnd = owner;
    ti.uId = id;
    if (rect) ti.rect = *rect;
    ti.hinst = inst;
    ti.lpszText = const_cast<wchar_t*>(text);
    return tip.AddTool(&ti) ? 1 : 0;
}

int addWindowTool(CToolTipCtrl& tip, HWND hwnd, HWND hwndTool) {
    if (!::IsWindow(hwnd)) return 0;
    return addTool(tip, TTF_IDISHWND, hwnd, (UINT_PTR)hwndTool, nullptr, nullptr, LPSTR_TEXTCALLBACKW);
}

int addRectTool(CToolTipCtrl& tip, HWND hwnd, UINT id, const RECT& rect) {
    if (::IsRectEmpty(&rect)) return 0;
    return addTool(tip, 0, hwnd, id, &rect, nullptr, LPSTR_TEXTCALLBACKW);
}

int addClientTool(CToolTipCtrl& tip, HWND hwnd, UINT id) {
    RECT rect = {};
    if (!::IsWindow(hwnd) || !::GetClientRect(hwnd, &rect)) return 0;
    return addRectTool(tip, hwnd, id, rect);
}

int addTextTool(CToolTipCtrl& tip, HWND hwnd, UINT id, const wchar_t* text, bool textIsRect) {
    RECT rect = {};
    if (!text || !::IsWindow(hwnd) || !::GetClientRect(hwnd, &rect)) return 0;
    if (textIsRect) return addTool(tip, 0, hwnd, id, &rect, nullptr, text);
    return addTool(tip, TTF_IDISHWND, nullptr, (UINT_PTR)hwnd, &rect, nullptr, text);
}

int addStringTool(CToolTipCtrl& tip, HWND hwnd, HINSTANCE inst, UINT stringId) {
    if (!::IsWindow(hwnd)) return 0;
    return addTool(tip, TTF_IDISHWND | TTF_TRANSPARENT, ::GetParent(hwnd), (UINT_PTR)hwnd, nullptr, inst,
                   MAKEINTRESOURCEW(stringId));
}

namespace {
const int kLayoutFields = 8;
const int kColourFields = 4;
const UINT kColourString = 6361;   // "text,back,frame,shadow"
const UINT kLayoutString = 6362;   // "offsetX,offsetY,marginX,marginY,shadowX,shadowY,spare,tail"
const DWORD kSettingChars = 260;

// The record's layout fields in the order of the layout string.
int* layoutField(tagCQTOOLTIP_LOOKS& l, int i) {
    int* const fields[kLayoutFields] = {&l.nOffsetX, &l.nOffsetY, &l.nMarginX, &l.nMarginY,
                                        &l.nShadowX, &l.nShadowY, &l.nSpare,   &l.nTailHeight};
    return fields[i];
}

void applyLayout(tagCQTOOLTIP_LOOKS& looks, const wchar_t* text) {
    int32_t values[kLayoutFields];
    for (int i = 0; i < kLayoutFields; ++i) values[i] = *layoutField(looks, i);
    qmod::scanIntList(text, values, kLayoutFields);
    for (int i = 0; i < kLayoutFields; ++i) *layoutField(looks, i) = values[i];
}

void applyColours(tagCQTOOLTIP_LOOKS& looks, const wchar_t* text) {
    COLORREF* const fields[kColourFields] = {&looks.crText, &looks.crBack, &looks.crFrame, &looks.crShadow};
    uint32_t values[kColourFields];
    for (int i = 0; i < kColourFields; ++i) values[i] = *fields[i];
    qmod::scanHexList(text, values, kColourFields);
    for (int i = 0; i < kColourFields; ++i) *fields[i] = values[i];
}
}  // namespace

void loadLooks(tagCQTOOLTIP_LOOKS& looks) {
    wchar_t text[kSettingChars] = {};
    if (LoadStringW(qmod::instance(), kLayoutString, text, kSettingChars) > 0) applyLayout(looks, text);
    if (LoadStringW(qmod::instance(), kColourString, text, kSettingChars) > 0) applyColours(looks, text);
    text[0] = 0;
    if (gfnGetqDVDUSerSetting(L"CqToolTipDVDUser", L"LayoutSetting", text, kSettingChars) && text[0])
        applyLayout(looks, text);
    text[0] = 0;
    if (gfnGetqDVDUSerSetting(L"CqToolTipDVDUser", L"ColorSetting", text, kSettingChars) && text[0])
        applyColours(looks, text);
}

}  // namespace qtip
