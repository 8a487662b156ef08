// The in-place edit: a list view of clips renamed where they stand. Double-click a clip or press
// F2; Enter keeps the new name, Escape drops it, a click elsewhere ends the edit (and is eaten).
#include "gallery.h"
#include "qLVEditEx.h"
#include <commctrl.h>

namespace {
const UINT kListId = 1, kEditId = 2;
const UINT WM_APP_FINISHEDIT = WM_APP + 1;   // ends the edit once its focus change is over
const UINT WM_APP_STARTEDIT = WM_APP + 2;    // wParam: item; after the list's own click or key handling

const wchar_t* const kClips[][2] = {
    {L"Opening titles", L"00:00:12:04"},  {L"Interview A-cam", L"00:03:41:17"}, {L"B-roll harbour", L"00:01:05:00"},
    {L"Sunset timelapse", L"00:00:48:22"}, {L"Closing credits", L"00:00:30:00"},
};

// The list view, subclassed: it parents the edit and hears when the edit loses the focus.
class CClipList : public CWnd {
public:
    void startEdit(int item) {
        finishEdit();
        RECT rc = {};
        rc.left = LVIR_LABEL;
        if (!SendMessage(LVM_GETITEMRECT, item, (LPARAM)&rc)) return;
        InflateRect(&rc, 0, 2);
        m_pEdit = new CLVEditEx;
        if (!m_pEdit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rc, this, kEditId)) {
            delete m_pEdit;
            m_pEdit = nullptr;
            return;
        }
        LOGFONTW lf = {};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        m_pEdit->fnSetLOGFONT(&lf);
        m_pEdit->fnSupportMultipleLang(1);
        wchar_t text[128] = {};
        LVITEMW it = {};
        it.pszText = text;
        it.cchTextMax = 128;
        SendMessage(LVM_GETITEMTEXTW, item, (LPARAM)&it);
        m_pEdit->fnSetText(text);
        m_pEdit->SetFocus();
        m_pEdit->SetSel(0, -1);
        m_pEdit->fnStartEdit();
        m_nItem = item;
    }
    // Takes the new name unless the edit ended with Escape or left the name empty.
    void finishEdit() {
        if (!m_pEdit) return;
        CString text;
        m_pEdit->fnGetText(text);
        if (!m_pEdit->IsEscape() && !text.IsEmpty()) {
            LVITEMW it = {};
            it.pszText = (LPWSTR)text.GetString();
            SendMessage(LVM_SETITEMTEXTW, m_nItem, (LPARAM)&it);
        }
        m_pEdit->fnEndEdit();
        delete m_pEdit;
        m_pEdit = nullptr;
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
    CLVEditEx* m_pEdit = nullptr;
    int m_nItem = -1;
};

BEGIN_MESSAGE_MAP(CClipList, CWnd)
    ON_EN_KILLFOCUS(kEditId, OnEditKillFocus)
    ON_MESSAGE(WM_APP_FINISHEDIT, OnFinishEdit)
    ON_MESSAGE(WM_APP_STARTEDIT, OnStartEdit)
END_MESSAGE_MAP()

// The pane that holds the list and starts edits from the list's notifications.
class CClipPane : public CWnd {
public:
    CClipList list;

protected:
    void OnDblClk(NMHDR* hdr, LRESULT*) {
        const NMITEMACTIVATE* act = reinterpret_cast<const NMITEMACTIVATE*>(hdr);
        if (act->iItem >= 0) list.PostMessage(WM_APP_STARTEDIT, act->iItem);
    }
    void OnListKey(NMHDR* hdr, LRESULT*) {
        if (reinterpret_cast<const NMLVKEYDOWN*>(hdr)->wVKey != VK_F2) return;
        int item = (int)list.SendMessage(LVM_GETNEXTITEM, (WPARAM)-1, LVNI_FOCUSED);
        if (item >= 0) list.PostMessage(WM_APP_STARTEDIT, item);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CClipPane, CWnd)
    ON_NOTIFY(NM_DBLCLK, kListId, OnDblClk)
    ON_NOTIFY(LVN_KEYDOWN, kListId, OnListKey)
END_MESSAGE_MAP()

CClipPane* g_pane = nullptr;

void build(HWND panel) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    g_pane = new CClipPane;
    if (!g_pane->CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 34, 400, 150, panel, nullptr)) {
        delete g_pane;
        g_pane = nullptr;
        return;
    }
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 0, 0, 400, 150,
                                g_pane->m_hWnd, (HMENU)(UINT_PTR)kListId, GetModuleHandleW(nullptr), nullptr);
    if (!list || !g_pane->list.SubclassWindow(list)) return;
    g_pane->list.SendMessage(WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
    g_pane->list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    const wchar_t* heads[] = {L"Clip", L"Duration"};
    const int widths[] = {250, 120};
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = widths[c];
        col.pszText = (LPWSTR)heads[c];
        g_pane->list.SendMessage(LVM_INSERTCOLUMNW, c, (LPARAM)&col);
    }
    for (int i = 0; i < (int)(sizeof kClips / sizeof *kClips); ++i) {
        LVITEMW it = {};
        it.mask = LVIF_TEXT;
        it.iItem = i;
        it.pszText = (LPWSTR)kClips[i][0];
        g_pane->list.SendMessage(LVM_INSERTITEMW, 0, (LPARAM)&it);
        it.iSubItem = 1;
        it.pszText = (LPWSTR)kClips[i][1];
        g_pane->list.SendMessage(LVM_SETITEMTEXTW, i, (LPARAM)&it);
    }
    // The picture shows a rename under way; it starts once the page window has been activated.
    if (wcsstr(GetCommandLineW(), L"--shot")) g_pane->list.PostMessage(WM_APP_STARTEDIT, 3);
}

void paint(HDC dc, const RECT&) {
    galleryLabel(dc, 10, 10, L"In-place rename over a list view: double-click a clip or press F2");
    galleryLabel(dc, 10, 192, L"Enter keeps the name, Escape drops it. A click elsewhere ends");
    galleryLabel(dc, 10, 208, L"the edit and does not reach the window under it, unless the");
    galleryLabel(dc, 10, 224, L"right button is held down on the edit.");
}

void teardown(HWND) {
    if (!g_pane) return;
    g_pane->list.finishEdit();
    g_pane->DestroyWindow();
    delete g_pane;
    g_pane = nullptr;
}
}  // namespace

GALLERY_PAGE(lvedit, L"lvedit", 420, 250, build, paint, teardown);
