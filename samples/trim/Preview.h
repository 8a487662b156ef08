// The preview area: a generated picture of the current frame with its timecode burnt in, painted
// with the library's drawing functions through its shared off-screen bitmap.
#pragma once
#include "Clips.h"
#include <afxwin.h>

// Draws frame `frame` of `clip` into rect of dc; font is the burnt-in timecode's.
void paintFrame(HDC dc, const RECT& rect, const Clip& clip, int frame, HFONT font);

class CPreview : public CWnd {
public:
    BOOL create(const RECT& rect, CWnd* parent, UINT id);
    // What to show; null shows an empty frame.
    void show(const Clip* clip, int frame);
    int frame() const { return m_frame; }
    HFONT font() const { return m_font; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    const Clip* m_clip = nullptr;
    int m_frame = 0;
    HFONT m_font = nullptr;
};
