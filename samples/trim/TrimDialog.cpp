#include "TrimDialog.h"
#include <qDraw.h>
#include <commctrl.h>
#include <algorithm>
#include <climits>
#include <cstring>

namespace {
const UINT_PTR kPlayTimer = 1;
const UINT WM_APP_FINISHEDIT = WM_APP + 1;   // ends a rename once the edit's focus change is over
const UINT WM_APP_STARTEDIT = WM_APP + 2;    // wParam: the item; after the list's own key handling
const COLORREF kFace = RGB(226, 230, 236);

// Control places in the client area.
const int kRightX = 324, kTcY = 262, kTcStep = 112, kButtonY = 294;
struct Label {
    int x, y;
    const wchar_t* text;
};
const Label kLabels[] = {
    {12, 8, L"Clip bin (F2 renames)"}, {kRightX + 0 * kTcStep, kTcY - 16, L"Position"},
    {kRightX + 1 * kTcStep, kTcY - 16, L"Mark in"}, {kRightX + 2 * kTcStep, kTcY - 16, L"Mark out"},
    {kRightX + 3 * kTcStep, kTcY - 16, L"Duration"}, {12, 338, L"Timeline (drag clips here from the bin)"},
};

void addColumns(HWND list, const wchar_t* const* heads, const int* widths, int n) {
    for (int c = 0; c < n; ++c) {
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = widths[c];
        col.pszText = (LPWSTR)heads[c];
        SendMessageW(list, LVM_INSERTCOLUMNW, c, (LPARAM)&col);
    }
}

void setCell(HWND list, int item, int sub, const std::wstring& text) {
    LVITEMW it = {};
    it.iSubItem = sub;
    it.pszText = (LPWSTR)text.c_str();
    SendMessageW(list, LVM_SETITEMTEXTW, item, (LPARAM)&it);
}

int itemAt(HWND list, POINT p) {
    LVHITTESTINFO hit = {};
    hit.pt = p;
    return (int)SendMessageW(list, LVM_HITTEST, 0, (LPARAM)&hit);
}
}  // namespace

UINT trimResultMessage() {
    static const UINT message = RegisterWindowMessageW(L"qTrimSample.Result");
    return message;
}

// The bin's list view, subclassed: it parents the rename edit and hears when the edit loses focus.
class CClipBin : public CWnd {
public:
    explicit CClipBin(CTrimDialog* dialog) : m_dialog(dialog) {}
    ~CClipBin() override { finishEdit(); }

    void startEdit(int item) {
        finishEdit();
        RECT rc = {};
        rc.left = LVIR_LABEL;
        if (!SendMessage(LVM_GETITEMRECT, item, (LPARAM)&rc)) return;
        InflateRect(&rc, 0, 2);
        m_edit.reset(new CLVEditEx);
        if (!m_edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, this, IDC_RENAME)) {
            m_edit.reset();
            return;
        }
        LOGFONTW lf = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        m_edit->fnSetLOGFONT(&lf);
        m_edit->fnSetText(m_dialog->clips()[item].name.c_str());
        m_edit->SetFocus();
        m_edit->SetSel(0, -1);
        m_edit->fnStartEdit();
        m_item = item;
    }
    // Takes the new name unless the edit ended with Escape or left the name empty.
    void finishEdit() {
        if (!m_edit) return;
        std::unique_ptr<CLVEditEx> edit(std::move(m_edit));
        CString text;
        edit->fnGetText(text);
        if (!edit->IsEscape() && !text.IsEmpty() && m_hWnd) m_dialog->renameClip(m_item, text.GetString());
        edit->fnEndEdit();
        edit->DestroyWindow();
    }

protected:
    void OnEditKillFocus() { PostMessage(WM_APP_FINISHEDIT); }
    LRESULT OnFinishEdit(WPARAM, LPARAM) {
        finishEdit();
        return 0;
    }
    LRESULT OnStartEdit(WPARAM item, LPARAM) {
        startEdit((int)item);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    CTrimDialog* m_dialog;
    std::unique_ptr<CLVEditEx> m_edit;
    int m_item = -1;
};

BEGIN_MESSAGE_MAP(CClipBin, CWnd)
    ON_EN_KILLFOCUS(IDC_RENAME, OnEditKillFocus)
    ON_MESSAGE(WM_APP_FINISHEDIT, OnFinishEdit)
    ON_MESSAGE(WM_APP_STARTEDIT, OnStartEdit)
END_MESSAGE_MAP()

// Clips leave the bin as thumbnail records carrying their marks.
class CBinSource : public CDragDropSource {
public:
    CBinSource(CTrimDialog* dialog, CWnd* bin) : m_dialog(dialog), m_bin(bin->m_hWnd) {
        m_fnSetPreferClipboardFormat(m_cfThumbList);
        m_fnSetAllowedDragOperation(1);
        m_fnSetDragWindow(bin);
        m_fnEnableDragOperation(1);
    }

protected:
    int m_fnOnPrepareDrag(CPoint& point) override { return itemAt(m_bin, point) >= 0; }
    int m_fnOnPrepareDragData_ThumbnailListView(CPoint& point, _TList_tag& item) override {
        int i = itemAt(m_bin, point);
        if (i < 0 || i >= (int)m_dialog->clips().size()) return FALSE;
        const Clip& c = m_dialog->clips()[i];
        item = _TList_tag{};
        item.nItem = i;
        item.llInPoint = c.in;
        item.llOutPoint = c.out;
        lstrcpynW(item.szName, c.name.c_str(), 40);
        return TRUE;
    }

private:
    CTrimDialog* m_dialog;
    HWND m_bin;
};

// The timeline takes thumbnail records where they are dropped.
class CTimelineTarget : public CDragDropTarget {
public:
    CTimelineTarget(CTrimDialog* dialog, CWnd* timeline) : m_dialog(dialog), m_list(timeline->m_hWnd) {
        m_fnSetDropWindow(timeline);
        m_fnEnableDropOperation(1);
    }
    ~CTimelineTarget() override { m_fnEnableDropOperation(0); }

protected:
    int m_fnOnDataArrive(int, int nEvent, UINT nFormat, CString&, DWORD, CPoint point, DWORD,
                         DWORD* pdwEffect) override {
        if (nFormat != m_cfThumbList) return 0;
        *pdwEffect = DROPEFFECT_COPY;
        m_at = itemAt(m_list, point);
        return nEvent == 2;   // the record is read only at the drop
    }
    void m_fnOnDataArrive_ThumbnailListView(int, _TList_tag* item, DWORD, DWORD* pdwEffect) override {
        // The record names the clip (for its rate) and carries the name and marks it was dragged with.
        if (item->nItem < 0 || item->nItem >= (int)m_dialog->clips().size()) return;
        if (item->llInPoint < 0 || item->llOutPoint < item->llInPoint || item->llOutPoint > INT_MAX) return;
        WCHAR name[41] = {};
        memcpy(name, item->szName, sizeof(item->szName));
        m_dialog->addToTimeline(name, m_dialog->clips()[item->nItem].rate, (int)item->llInPoint,
                                (int)item->llOutPoint, m_at);
        *pdwEffect = DROPEFFECT_COPY;
    }

private:
    CTrimDialog* m_dialog;
    HWND m_list;
    int m_at = -1;
};

// The marked range as text, for the clipboard.
class CRangeSource : public CDragDropSource {
public:
    explicit CRangeSource(CTrimDialog* dialog) : m_dialog(dialog) {
        m_fnSetPreferClipboardFormat((UINT)CF_TEXT);
        m_fnSetAllowedDragOperation(1);
    }

protected:
    int m_fnOnPrepareDrag(CPoint&) override { return m_dialog->currentClip() >= 0; }
    int m_fnOnPrepareDragData_CF_TEXT(CPoint&, CString& text) override {
        if (m_dialog->currentClip() < 0) return FALSE;
        text = rangeText(m_dialog->clips()[m_dialog->currentClip()]).c_str();
        return TRUE;
    }

private:
    CTrimDialog* m_dialog;
};

BEGIN_MESSAGE_MAP(CTrimDialog, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_WM_HSCROLL()
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_BIN, OnBinChanged)
    ON_NOTIFY(LVN_KEYDOWN, IDC_BIN, OnBinKey)
    ON_NOTIFY(NM_DBLCLK, IDC_BIN, OnBinDblClk)
    ON_EN_CHANGE(IDC_POSITION, OnPositionChange)
    ON_NOTIFY(NM_RETURN, IDC_POSITION, OnPositionReturn)
    ON_NOTIFY(NM_RETURN, IDC_MARKIN, OnMarkInReturn)
    ON_NOTIFY(NM_RETURN, IDC_MARKOUT, OnMarkOutReturn)
    ON_EN_KILLFOCUS(IDC_MARKIN, OnMarkInKillFocus)
    ON_EN_KILLFOCUS(IDC_MARKOUT, OnMarkOutKillFocus)
    ON_BN_CLICKED(IDC_STEPBACK, OnStepBack)
    ON_BN_CLICKED(IDC_PLAY, OnPlay)
    ON_BN_CLICKED(IDC_STEPFWD, OnStepForward)
    ON_BN_CLICKED(IDC_SETIN, OnSetIn)
    ON_BN_CLICKED(IDC_SETOUT, OnSetOut)
    ON_BN_CLICKED(IDC_COPY, OnCopy)
    ON_BN_CLICKED(IDOK, OnOK)
    ON_BN_CLICKED(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CTrimDialog::CTrimDialog() : m_clips(sampleClips()) {}

CTrimDialog::~CTrimDialog() {
    if (m_hWnd) DestroyWindow();
}

BOOL CTrimDialog::create(HWND owner, int x, int y) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT rc = {0, 0, kWidth, kHeight};
    AdjustWindowRectEx(&rc, style, FALSE, 0);
    m_owner = owner;
    LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW));
    if (!cls || !CreateEx(0, cls, L"Trim clip", style, x, y, rc.right - rc.left, rc.bottom - rc.top, owner, nullptr))
        return FALSE;
    ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

int CTrimDialog::OnCreate(LPCREATESTRUCT) {
    build();
    return 0;
}

void CTrimDialog::build() {
    m_font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    m_faceBrush = CreateSolidBrush(kFace);
    HINSTANCE inst = GetModuleHandleW(nullptr);

    // The bin.
    m_bin.reset(new CClipBin(this));
    HWND bin = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                               12, 26, 300, 150, m_hWnd, (HMENU)(UINT_PTR)IDC_BIN, inst, nullptr);
    if (bin && m_bin->SubclassWindow(bin)) {
        m_bin->SendMessage(WM_SETFONT, (WPARAM)m_font, 0);
        m_bin->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        const wchar_t* heads[] = {L"Clip", L"Rate", L"Duration"};
        const int widths[] = {128, 66, 96};
        addColumns(bin, heads, widths, 3);
        fillBin();
    }
    m_summary.CreateEx(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 12, 186, 300, 64, m_hWnd,
                       (HMENU)(UINT_PTR)IDC_SUMMARY);
    m_summary.SendMessage(WM_SETFONT, (WPARAM)m_font, 0);

    // Preview, scrubber, timecodes.
    m_preview.create(CRect(kRightX, 12, kRightX + 444, 212), this, IDC_PREVIEW);
    m_scrub.fnCreate(0, CRect(kRightX, 220, kRightX + 444, 236), this, IDC_SCRUB);
    m_scrub.fnSetScrollBehavior(1);   // the position may reach the last frame
    addTimecode(m_tcPosition, IDC_POSITION, kRightX + 0 * kTcStep, kTcY, 1);
    addTimecode(m_tcIn, IDC_MARKIN, kRightX + 1 * kTcStep, kTcY, 1);
    addTimecode(m_tcOut, IDC_MARKOUT, kRightX + 2 * kTcStep, kTcY, 1);
    addTimecode(m_tcDuration, IDC_DURATION, kRightX + 3 * kTcStep, kTcY, 0);

    m_tips.fnCreate(this);
    // Transport and marks.
    struct ButtonDef {
        UINT id;
        const wchar_t* caption;
        const wchar_t* tip;
        bool toggle;
    };
    const ButtonDef transport[] = {
        {IDC_STEPBACK, L"< Step", L"One frame back", false},  {IDC_PLAY, L"Play", L"Play or pause at the clip's rate", true},
        {IDC_STEPFWD, L"Step >", L"One frame forward", false}, {IDC_SETIN, L"Set In", L"Mark in at the position", false},
        {IDC_SETOUT, L"Set Out", L"Mark out at the position", false}, {IDC_LOOP, L"Loop", L"Play the marked range over and over", true},
    };
    int x = kRightX;
    for (const ButtonDef& b : transport) {
        addButton(b.id, b.caption, b.tip, x, kButtonY, 70, b.toggle);
        x += 74;
    }
    addButton(IDC_COPY, L"Copy range", L"Copy the marked range as text (Ctrl+C)", 12, 464, 100, false);
    addButton(IDOK, L"OK", L"Keep the marks", 588, 464, 86, false);
    addButton(IDCANCEL, L"Cancel", L"Leave without keeping the marks", 682, 464, 86, false);

    // The timeline.
    if (m_timeline.CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                            12, 356, 756, 98, m_hWnd, (HMENU)(UINT_PTR)IDC_TIMELINE)) {
        m_timeline.SendMessage(WM_SETFONT, (WPARAM)m_font, 0);
        m_timeline.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
        const wchar_t* heads[] = {L"Clip", L"Rate", L"In", L"Out", L"Duration"};
        const int widths[] = {230, 90, 140, 140, 140};
        addColumns(m_timeline.m_hWnd, heads, widths, 5);
    }
    if (m_bin->m_hWnd) m_binSource.reset(new CBinSource(this, m_bin.get()));
    if (m_timeline.m_hWnd) m_timelineTarget.reset(new CTimelineTarget(this, &m_timeline));
    m_rangeSource.reset(new CRangeSource(this));
    selectClip(-1);
}

BOOL CTrimDialog::addTimecode(CTimeCodeCtrl& tc, UINT id, int x, int y, int adjustable) {
    HWND hwnd = CreateWindowExW(0, L"TimeCodeControl", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, x, y, 10, 10, m_hWnd,
                                (HMENU)(UINT_PTR)id, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return FALSE;
    if (!tc.SubclassWindow(hwnd)) {
        ::DestroyWindow(hwnd);
        return FALSE;
    }
    return tc.fnInit(0, adjustable, 0);
}

CqButtonEx* CTrimDialog::addButton(UINT id, const wchar_t* caption, const wchar_t* tip, int x, int y, int w,
                                   bool toggle) {
    std::unique_ptr<CqButtonEx> b(new CqButtonEx);
    const RECT r = {x, y, x + w, y + 28};
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER;
    // A toggle is made plain, then initialised as an automatic check box.
    const BOOL made = toggle ? b->CButton::Create(caption, style, r, this, id) && b->fnInit(1)
                             : b->Create(caption, style, r, this, id);
    if (!made) return nullptr;
    m_tips.fnAddTool(b->m_hWnd, 0u, const_cast<wchar_t*>(tip));
    m_buttons.push_back(std::move(b));
    return m_buttons.back().get();
}

void CTrimDialog::fillBin() {
    for (int i = 0; i < (int)m_clips.size(); ++i) {
        LVITEMW it = {};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = i;
        it.lParam = i;
        it.pszText = (LPWSTR)m_clips[i].name.c_str();
        m_bin->SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&it);
        setCell(m_bin->m_hWnd, i, 1, rateText(m_clips[i].rate));
        setCell(m_bin->m_hWnd, i, 2, timecodeText(m_clips[i].frames, m_clips[i].rate));
    }
}

void CTrimDialog::selectClip(int index) {
    stopPlay();
    m_current = (index >= 0 && index < (int)m_clips.size()) ? index : -1;
    Clip* c = clip();
    const BOOL on = c != nullptr;
    m_scrub.fnFreezeScrollBar(!on);
    for (CTimeCodeCtrl* tc : {&m_tcPosition, &m_tcIn, &m_tcOut, &m_tcDuration}) tc->EnableWindow(on);
    for (auto& b : m_buttons)
        if (b->GetDlgCtrlID() != IDCANCEL) b->EnableWindow(on || b->GetDlgCtrlID() == IDOK);
    if (!c) {
        m_preview.show(nullptr, 0);
        updateSummary();
        return;
    }
    m_scrub.fnSetScrollInfo(0, c->frames - 1, 0, 1, nominalFps(c->rate), TRUE);
    m_tcPosition.fnSetIndexLowerBd(0);
    m_tcPosition.fnSetIndexUpperBd(c->frames - 1);
    for (CTimeCodeCtrl* tc : {&m_tcIn, &m_tcOut}) {
        tc->fnSetIndexLowerBd(0);
        tc->fnSetIndexUpperBd(c->frames);
    }
    m_tcDuration.fnSetIndexLowerBd(0);
    m_tcDuration.fnSetIndexUpperBd(c->frames);
    m_pos = -1;
    setMarks(c->in, c->out);
    setPosition(c->in < c->frames ? c->in : 0, FromHost);
}

void CTrimDialog::setPosition(int frame, Source from) {
    Clip* c = clip();
    if (!c) return;
    frame = std::max(0, std::min(frame, c->frames - 1));
    m_pos = frame;
    if (from != FromScrubber && m_scrub.fnGetScrollPos() != frame) m_scrub.fnSetScrollPos(frame, TRUE);
    if (from != FromTimecode || m_tcPosition.fnGetIndex() != frame) m_tcPosition.fnSetIndex(frame, c->rate, 1);
    m_preview.show(c, frame);
}

void CTrimDialog::setMarks(int in, int out) {
    Clip* c = clip();
    if (!c) return;
    in = std::max(0, std::min(in, c->frames));
    out = std::max(in, std::min(out, c->frames));
    c->in = in;
    c->out = out;
    m_tcIn.fnSetIndex(in, c->rate, 1);
    m_tcOut.fnSetIndex(out, c->rate, 1);
    m_tcDuration.fnSetIndex(out - in, c->rate, 1);
    updateSummary();
}

void CTrimDialog::commitMarks(UINT moved) {
    Clip* c = clip();
    if (!c) return;
    int in = m_tcIn.fnGetIndex(), out = m_tcOut.fnGetIndex();
    // Out never lies before in: a typed mark stops at the other one.
    if (out < in) {
        if (moved == IDC_MARKIN) in = out;
        else out = in;
    }
    if (in != c->in || out != c->out) setMarks(in, out);
}

void CTrimDialog::updateSummary() {
    const Clip* c = m_current >= 0 ? &m_clips[m_current] : nullptr;
    std::wstring text = L"No clip selected";
    if (c)
        text = c->name + L"\r\n" + rateText(c->rate) + L" fps\r\nMarked " + rangeText(*c) + L"\r\nDuration " +
               timecodeText(c->out - c->in, c->rate);
    m_summary.SetWindowText(text.c_str());
}

void CTrimDialog::renameClip(int index, const std::wstring& name) {
    if (index < 0 || index >= (int)m_clips.size() || name.empty()) return;
    m_clips[index].name = name;
    setCell(m_bin->m_hWnd, index, 0, name);
    if (index == m_current) {
        m_preview.Invalidate(FALSE);
        updateSummary();
    }
}

void CTrimDialog::addToTimeline(const std::wstring& name, double rate, int in, int out, int at) {
    if (!m_timeline.m_hWnd || in < 0 || out < in) return;
    LVITEMW it = {};
    it.mask = LVIF_TEXT;
    it.iItem = at >= 0 ? at : (int)m_timeline.SendMessage(LVM_GETITEMCOUNT);
    it.pszText = (LPWSTR)name.c_str();
    int row = (int)m_timeline.SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&it);
    if (row < 0) return;
    setCell(m_timeline.m_hWnd, row, 1, rateText(rate));
    setCell(m_timeline.m_hWnd, row, 2, timecodeText(in, rate));
    setCell(m_timeline.m_hWnd, row, 3, timecodeText(out, rate));
    setCell(m_timeline.m_hWnd, row, 4, timecodeText(out - in, rate));
}

BOOL CTrimDialog::copyRange() {
    CPoint anywhere(0, 0);
    return m_rangeSource && m_rangeSource->m_fnCopyDataToClipboard(anywhere);
}

// Play: the frame shown is the start frame plus the time since the start at the clip's rate, so
// late timer ticks never slow the clip down; the timer only says when to look again.
void CTrimDialog::startPlay() {
    Clip* c = clip();
    if (!c || m_playing) return;
    const int end = m_pos < c->out ? c->out : c->frames;
    m_playFrom = m_pos + 1 >= end ? (end == c->out ? c->in : 0) : m_pos;
    setPosition(m_playFrom, FromHost);
    m_playStart = GetTickCount();
    m_playing = true;
    SetTimer(kPlayTimer, std::max(10, (int)(1000 / c->rate)));
}

void CTrimDialog::stopPlay() {
    if (!m_playing) return;
    m_playing = false;
    KillTimer(kPlayTimer);
    OnTimer(0);   // show the frame reached by now
    CWnd* play = GetDlgItem(IDC_PLAY);
    if (play) {
        play->SendMessage(BM_SETCHECK, BST_UNCHECKED);
        static_cast<CqButtonEx*>(play)->fnSetCaption(L"Play");
    }
}

void CTrimDialog::OnTimer(UINT_PTR id) {
    Clip* c = clip();
    if (!c || (id != kPlayTimer && id != 0)) return;
    const int end = m_playFrom < c->out ? c->out : c->frames;
    int frame = m_playFrom + (int)((double)(GetTickCount() - m_playStart) * c->rate / 1000.0);
    if (frame >= end) {
        CWnd* loop = GetDlgItem(IDC_LOOP);
        if (loop && loop->SendMessage(BM_GETCHECK) == BST_CHECKED && end == c->out && c->out > c->in) {
            m_playFrom = c->in;
            m_playStart = GetTickCount();
            frame = c->in;
        } else {
            setPosition(end - 1, FromHost);
            if (m_playing) stopPlay();
            return;
        }
    }
    setPosition(frame, FromHost);
}

void CTrimDialog::OnHScroll(UINT code, UINT, CScrollBar* bar) {
    if (!bar || bar->m_hWnd != m_scrub.m_hWnd || code == SB_ENDSCROLL) return;
    stopPlay();
    setPosition(code == SB_THUMBTRACK ? m_scrub.fnGetScrollTrackPos() : m_scrub.fnGetScrollPos(), FromScrubber);
}

void CTrimDialog::OnBinChanged(NMHDR* hdr, LRESULT*) {
    const NMLISTVIEW* nm = reinterpret_cast<const NMLISTVIEW*>(hdr);
    if ((nm->uChanged & LVIF_STATE) && (nm->uNewState & LVIS_SELECTED) && !(nm->uOldState & LVIS_SELECTED))
        selectClip(nm->iItem);
}

void CTrimDialog::OnBinKey(NMHDR* hdr, LRESULT*) {
    if (reinterpret_cast<const NMLVKEYDOWN*>(hdr)->wVKey != VK_F2) return;
    int item = (int)m_bin->SendMessage(LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
    if (item >= 0) m_bin->PostMessage(WM_APP_STARTEDIT, item);
}

void CTrimDialog::OnBinDblClk(NMHDR* hdr, LRESULT*) {
    const NMITEMACTIVATE* act = reinterpret_cast<const NMITEMACTIVATE*>(hdr);
    if (act->iItem >= 0) m_bin->PostMessage(WM_APP_STARTEDIT, act->iItem);
}

void CTrimDialog::OnPositionChange() {
    stopPlay();
    setPosition(m_tcPosition.fnGetIndex(), FromTimecode);
}
void CTrimDialog::OnPositionReturn(NMHDR*, LRESULT*) { OnPositionChange(); }
void CTrimDialog::OnMarkInReturn(NMHDR*, LRESULT*) { commitMarks(IDC_MARKIN); }
void CTrimDialog::OnMarkOutReturn(NMHDR*, LRESULT*) { commitMarks(IDC_MARKOUT); }
void CTrimDialog::OnMarkInKillFocus() { commitMarks(IDC_MARKIN); }
void CTrimDialog::OnMarkOutKillFocus() { commitMarks(IDC_MARKOUT); }

void CTrimDialog::OnStepBack() {
    stopPlay();
    setPosition(m_pos - 1, FromHost);
}
void CTrimDialog::OnStepForward() {
    stopPlay();
    setPosition(m_pos + 1, FromHost);
}

void CTrimDialog::OnPlay() {
    CWnd* play = GetDlgItem(IDC_PLAY);
    if (!play) return;
    if (play->SendMessage(BM_GETCHECK) == BST_CHECKED) {
        startPlay();
        static_cast<CqButtonEx*>(play)->fnSetCaption(m_playing ? L"Pause" : L"Play");
        if (!m_playing) play->SendMessage(BM_SETCHECK, BST_UNCHECKED);
    } else {
        stopPlay();
    }
}

void CTrimDialog::OnSetIn() {
    if (Clip* c = clip()) setMarks(m_pos, std::max(m_pos, c->out));
}
void CTrimDialog::OnSetOut() {
    if (Clip* c = clip()) setMarks(std::min(m_pos, c->in), m_pos);
}
void CTrimDialog::OnCopy() { copyRange(); }
void CTrimDialog::OnOK() { finish(IDOK); }
void CTrimDialog::OnCancel() { finish(IDCANCEL); }
void CTrimDialog::OnClose() { finish(IDCANCEL); }

void CTrimDialog::finish(int button) {
    if (m_finished) return;
    m_finished = true;
    stopPlay();
    TrimResult result = {button, L"", 0.0, 0, 0};
    if (const Clip* c = clip()) result = {button, c->name, c->rate, c->in, c->out};
    if (m_owner) ::SendMessageW(m_owner, trimResultMessage(), button, (LPARAM)&result);
    DestroyWindow();
}

BOOL CTrimDialog::PreTranslateMessage(MSG* pMsg) {
    // The shaped tips hear the mouse only through the host.
    if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST && m_tips.m_hWnd)
        gfnToolTipRelayEvent(m_tips.m_hWnd, pMsg);
    // Ctrl+C anywhere but in a text box copies the marked range.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        wchar_t cls[16] = {};
        ::GetClassNameW(pMsg->hwnd, cls, 16);
        if (_wcsicmp(cls, L"Edit") != 0) {
            copyRange();
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CTrimDialog::OnEraseBkgnd(CDC* pDC) {
    RECT rc;
    GetClientRect(&rc);
    gfnFillSolidRect(pDC->m_hDC, &rc, kFace);
    return TRUE;
}

HBRUSH CTrimDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    // The summary sits on the dialog's face.
    if (pWnd && pWnd->m_hWnd == m_summary.m_hWnd && m_faceBrush) {
        SetBkColor(pDC->m_hDC, kFace);
        return m_faceBrush;
    }
    return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CTrimDialog::OnPaint() {
    CPaintDC dc(this);
    HGDIOBJ old = SelectObject(dc.m_hDC, m_font);
    int mode = SetBkMode(dc.m_hDC, TRANSPARENT);
    for (const Label& l : kLabels) {
        RECT r = {l.x, l.y, l.x + 300, l.y + 16};
        DrawTextW(dc.m_hDC, l.text, -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    SetBkMode(dc.m_hDC, mode);
    SelectObject(dc.m_hDC, old);
}

void CTrimDialog::OnDestroy() {
    stopPlay();
    if (m_bin) m_bin->finishEdit();
    // Hooks and registrations go while their windows still exist.
    m_binSource.reset();
    m_timelineTarget.reset();
    m_rangeSource.reset();
    m_tips.DestroyWindow();
    m_tips.fnUnInit();
    CWnd::OnDestroy();
    if (m_faceBrush) DeleteObject(m_faceBrush);
    m_faceBrush = nullptr;
}

void CTrimDialog::PostNcDestroy() {
    // Without an owner the dialog is the program.
    if (!m_owner) PostQuitMessage(0);
}
