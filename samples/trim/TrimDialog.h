// The trim dialog a host builds from the library: a clip bin, a preview, a scrubber, timecodes for
// the position, the marks and the duration, transport buttons with tips, in-place renaming, and a
// timeline that takes clips dragged from the bin.
#pragma once
#include "Clips.h"
#include "Preview.h"
#include <qButtonEx.h>
#include <qDragDrop.h>
#include <qLVEditEx.h>
#include <qScrollBarEx.h>
#include <qTimeCode.h>
#include <qToolTipDVDUser.h>
#include <memory>

enum TrimControlId : UINT {
    IDC_BIN = 1001,
    IDC_TIMELINE,
    IDC_PREVIEW,
    IDC_SCRUB,
    IDC_POSITION,
    IDC_MARKIN,
    IDC_MARKOUT,
    IDC_DURATION,
    IDC_STEPBACK,
    IDC_PLAY,
    IDC_STEPFWD,
    IDC_SETIN,
    IDC_SETOUT,
    IDC_LOOP,
    IDC_COPY,
    IDC_SUMMARY,
    IDC_RENAME,   // the in-place edit, a child of the bin
};

// What the dialog hands its owner when it closes.
struct TrimResult {
    int button;   // IDOK or IDCANCEL
    std::wstring name;
    double rate;
    int in, out;
};
// Sent to the owner as the dialog closes: wParam the button, lParam a const TrimResult*.
UINT trimResultMessage();

class CClipBin;
class CBinSource;
class CTimelineTarget;
class CRangeSource;

class CTrimDialog : public CWnd {
public:
    CTrimDialog();
    ~CTrimDialog() override;

    // A top-level window owned by owner (may be null) at (x, y) of the screen, shown without activation.
    BOOL create(HWND owner, int x, int y);
    BOOL PreTranslateMessage(MSG* pMsg) override;

    const std::vector<Clip>& clips() const { return m_clips; }
    int currentClip() const { return m_current; }
    // Puts the marked range of the current clip on the clipboard as text.
    BOOL copyRange();
    // Adds a timeline row for a range of a clip; at -1 appends.
    void addToTimeline(const std::wstring& name, double rate, int in, int out, int at);
    void renameClip(int index, const std::wstring& name);

    static const int kWidth = 780, kHeight = 500;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnBinChanged(NMHDR* hdr, LRESULT* result);
    afx_msg void OnBinKey(NMHDR* hdr, LRESULT* result);
    afx_msg void OnBinDblClk(NMHDR* hdr, LRESULT* result);
    afx_msg void OnPositionChange();
    afx_msg void OnPositionReturn(NMHDR* hdr, LRESULT* result);
    afx_msg void OnMarkInReturn(NMHDR* hdr, LRESULT* result);
    afx_msg void OnMarkOutReturn(NMHDR* hdr, LRESULT* result);
    afx_msg void OnMarkInKillFocus();
    afx_msg void OnMarkOutKillFocus();
    afx_msg void OnStepBack();
    afx_msg void OnPlay();
    afx_msg void OnStepForward();
    afx_msg void OnSetIn();
    afx_msg void OnSetOut();
    afx_msg void OnCopy();
    afx_msg void OnOK();
    afx_msg void OnCancel();
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    enum Source { FromHost, FromScrubber, FromTimecode };
    void build();
    BOOL addTimecode(CTimeCodeCtrl& tc, UINT id, int x, int y, int adjustable);
    CqButtonEx* addButton(UINT id, const wchar_t* caption, const wchar_t* tip, int x, int y, int w, bool toggle);
    void fillBin();
    void selectClip(int index);
    void setPosition(int frame, Source from);
    // Takes the marks from their controls; `moved` is the one the user changed (IDC_MARKIN/OUT).
    void commitMarks(UINT moved);
    void setMarks(int in, int out);
    void startPlay();
    void stopPlay();
    void updateSummary();
    void finish(int button);
    Clip* clip() { return m_current >= 0 ? &m_clips[m_current] : nullptr; }

    std::vector<Clip> m_clips;
    int m_current = -1;
    int m_pos = 0;
    bool m_playing = false;
    DWORD m_playStart = 0;
    int m_playFrom = 0;
    bool m_finished = false;
    HWND m_owner = nullptr;

    std::unique_ptr<CClipBin> m_bin;
    CWnd m_timeline;
    CWnd m_summary;
    CPreview m_preview;
    CqScrollBarEx m_scrub;
    CTimeCodeCtrl m_tcPosition, m_tcIn, m_tcOut, m_tcDuration;
    std::vector<std::unique_ptr<CqButtonEx>> m_buttons;
    HFONT m_font = nullptr;
    HBRUSH m_faceBrush = nullptr;
    CqToolTipDVDUser m_tips;
    std::unique_ptr<CBinSource> m_binSource;
    std::unique_ptr<CTimelineTarget> m_timelineTarget;
    std::unique_ptr<CRangeSource> m_rangeSource;
};
