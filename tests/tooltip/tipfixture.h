// The shaped tooltip on the shared host, with its geometry worked out independently.
#pragma once
#include <gtest/gtest.h>
#include "qToolTipDVDUser.h"
#include "tipsupport.h"
#include <algorithm>

namespace tiptest {

const UINT kFormat = DT_VCENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL;

struct Expected {
    RECT window;   // screen
    RECT body;     // client
    HRGN region;   // client; the caller deletes it
};

// Where a tip with looks l and text should go for anchor a, and the region it should have.
inline Expected expectFor(const tagCQTOOLTIP_LOOKS& l, POINT a, const wchar_t* text) {
    const int sw = GetSystemMetrics(SM_CXFULLSCREEN), sh = GetSystemMetrics(SM_CYFULLSCREEN);
    const bool round = l.bRoundShape != 0;
    const int kx = round ? 4 : 2;
    const int tail = round ? l.nTailHeight : 0;
    const RECT t = measureText(text, sw - kx * l.nMarginX - l.nShadowX - l.nOffsetX,
                               sh - 2 * l.nMarginY - tail - l.nShadowY - l.nOffsetY, kFormat);
    Expected e;
    e.body = {0, 0, t.right + kx * l.nMarginX, t.bottom + 2 * l.nMarginY};
    const int w = e.body.right + l.nShadowX, h = e.body.bottom + l.nShadowY + tail;
    const bool fixed = !(l.ptPosition.x == -1 && l.ptPosition.y == -1);
    POINT tl = (fixed && !round) ? a : POINT{a.x + l.nOffsetX, a.y + l.nOffsetY};
    const bool above = tl.y + h > sh;
    if (above) tl.y = a.y - h;
    else OffsetRect(&e.body, 0, tail);
    if (tl.x + w > sw) tl.x = std::max(sw - w, 0);
    e.window = {tl.x, tl.y, tl.x + w, tl.y + h};

    RECT s = e.body;
    OffsetRect(&s, l.nShadowX, l.nShadowY);
    if (!round) {
        e.region = CreateRectRgnIndirect(&e.body);
        HRGN shadow = CreateRectRgnIndirect(&s);
        CombineRgn(e.region, e.region, shadow, RGN_OR);
        DeleteObject(shadow);
        return e;
    }
    e.region = CreateRoundRectRgn(e.body.left, e.body.top, e.body.right, e.body.bottom, l.nMarginX, l.nMarginY);
    HRGN shadow = CreateRoundRectRgn(s.left, s.top, s.right, s.bottom, l.nMarginX, l.nMarginY);
    // The tail: from the body's edge to the window's edge nearest the anchor, a step in from it.
    const int dir = a.x < tl.x + w / 2 ? 1 : -1, m = l.nMarginX, tx = a.x - tl.x;
    const int base = above ? e.body.bottom - l.nShadowY : e.body.top, ty = above ? h : 0;
    POINT tri[3] = {{tx + m * dir, base}, {tx + m * dir, ty}, {tx + 3 * m * dir, base}};
    HRGN tailRgn = CreatePolygonRgn(tri, 3, ALTERNATE);
    CombineRgn(e.region, e.region, tailRgn, RGN_OR);
    CombineRgn(e.region, e.region, shadow, RGN_OR);
    DeleteObject(tailRgn);
    DeleteObject(shadow);
    return e;
}

class ShapedTip : public testing::Test {
protected:
    explicit ShapedTip(const std::string& settings = "") : m_settings(settings) {}
    void SetUp() override {
        ASSERT_EQ(1, tip.fnCreate(CWnd::FromHandle(host())));
        tip.SetDelayTime(TTDT_AUTOPOP, 60000);
        ASSERT_EQ(1, tip.fnAddTool(host(), tool()));
        setCallbackText(L"Trim the start\nof the clip");
    }
    void TearDown() override {
        tip.DestroyWindow();
        pumpFor(nullptr, 20);
    }
    // Pops the tip, nudges the pointer over the tool and waits for the tip to come back.
    bool showAgain(DWORD wait = 15000) {
        tip.Pop();
        POINT c = toolCentre();
        // A point the pointer was not at: the control sees a move.
        static int nudge = 0;
        POINT now, to;
        GetCursorPos(&now);
        do {
            ++nudge;
            to = {c.x + nudge % 40, c.y + (nudge / 40) % 10};
        } while (to.x == now.x && to.y == now.y);
        if (!moveMouse(to.x, to.y, tip)) return false;
        return pumpUntil(tip, wait, [&] { return tip.IsWindowVisible() != FALSE; });
    }
    // The window rectangle and region against the expectation for anchor a.
    void expectShape(POINT a, const wchar_t* text) {
        Expected e = expectFor(*tip.fnGetLooksData(), a, text);
        RECT wr;
        tip.GetWindowRect(&wr);
        EXPECT_TRUE(EqualRect(&wr, &e.window)) << describe(wr) << " want " << describe(e.window);
        HRGN got = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(ERROR, GetWindowRgn(tip, got));
        EXPECT_TRUE(EqualRgn(got, e.region)) << describe(got) << "\nwant " << describe(e.region);
        DeleteObject(got);
        DeleteObject(e.region);
        m_expected = e;
    }

    SettingsFile m_settings;
    CqToolTipDVDUser tip;
    Expected m_expected = {};
};


}  // namespace tiptest
