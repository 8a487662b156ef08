// Drag and drop: a thumbnail list and a menu list that trade items by dragging (thumbnail records
// one way, menu-item references the other), Copy and Paste buttons through the clipboard, and a
// text box whose selected text can be dragged onto either list.
#include "gallery.h"
#include "qDragDrop.h"
#include <string>
#include <vector>

namespace {
const int kListY = 48, kListW = 220, kListH = 190;
const int kLeftX = 10, kRightX = 250, kSideX = 490;
enum { kCopyId = 301, kPasteId = 302 };

// Every clip the page knows; list items carry their index here as item data.
std::vector<std::wstring> g_clips = {L"Interview A - take 3", L"B-roll harbour", L"Titles intro",
                                     L"Drone pass 2", L"Applause", L"Closing credits"};

int addClip(HWND list, int at, const std::wstring& name) {
    size_t id = 0;
    while (id < g_clips.size() && g_clips[id] != name) ++id;
    if (id == g_clips.size()) g_clips.push_back(name);
    int i = (int)SendMessageW(list, LB_INSERTSTRING, (WPARAM)at, (LPARAM)name.c_str());
    if (i >= 0) SendMessageW(list, LB_SETITEMDATA, (WPARAM)i, (LPARAM)id);
    return i;
}

int itemAt(HWND list, POINT p) {
    LRESULT r = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(p.x, p.y));
    return HIWORD(r) ? -1 : (int)LOWORD(r);
}

// A list that starts drags of the item under the press, as thumbnails or as menu items.
class ListSource : public CDragDropSource {
public:
    ListSource(CWnd* list, bool thumbnails) : m_list(list->m_hWnd) {
        m_fnSetPreferClipboardFormat(thumbnails ? m_cfThumbList : m_cfMenuView);
        m_fnSetAllowedDragOperation(1);
        m_fnSetDragWindow(list);
        m_fnEnableDragOperation(1);
    }
    // The centre of the selected item, for copying it.
    bool selectedPoint(CPoint& p) const {
        RECT r;
        int sel = (int)SendMessageW(m_list, LB_GETCURSEL, 0, 0);
        if (sel < 0 || SendMessageW(m_list, LB_GETITEMRECT, (WPARAM)sel, (LPARAM)&r) == LB_ERR) return false;
        p = CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return true;
    }

protected:
    int m_fnOnPrepareDrag(CPoint& point) override { return itemAt(m_list, point) >= 0; }
    int m_fnOnPrepareDragData_ThumbnailListView(CPoint& point, _TList_tag& item) override {
        int i = itemAt(m_list, point);
        if (i < 0) return FALSE;
        item = _TList_tag{};
        item.nItem = i;
        lstrcpynW(item.szName, g_clips[SendMessageW(m_list, LB_GETITEMDATA, i, 0)].c_str(), 40);
        return TRUE;
    }
    int m_fnOnPrepareDragData_MenuView(CPoint& point, CDragDropMenuItemList& items, PFN_MENU_ITEM_CLEANUP*) override {
        int i = itemAt(m_list, point);
        if (i < 0) return FALSE;
        items.AddTail(DRAG_DROP_MENU_ITEM_INFO{(UINT)SendMessageW(m_list, LB_GETITEMDATA, i, 0), 0});
        return TRUE;
    }

private:
    HWND m_list;
};

// A list that takes thumbnails, menu items and text, inserted where they are dropped.
class ListTarget : public CDragDropTarget {
public:
    explicit ListTarget(CWnd* list) : m_list(list->m_hWnd) {
        m_fnSetDropWindow(list);
        m_fnEnableDropOperation(1);
    }

protected:
    int m_fnOnDataArrive(int, int nEvent, UINT nFormat, CString&, DWORD, CPoint point, DWORD,
                         DWORD* pdwEffect) override {
        if (nFormat != CF_TEXT && nFormat != m_cfThumbList && nFormat != m_cfMenuView) return 0;
        *pdwEffect = DROPEFFECT_COPY;
        m_insertAt = itemAt(m_list, point);
        return nEvent == 2 ? 1 : 0;   // take the data only at the drop or the paste
    }
    void m_fnOnDataArrive_CF_TEXT(int, CString& text, DWORD, DWORD* pdwEffect) override {
        if (!text.IsEmpty()) insert(text.GetString());
        *pdwEffect = DROPEFFECT_COPY;
    }
    void m_fnOnDataArrive_ThumbnailListView(int, _TList_tag* item, DWORD, DWORD* pdwEffect) override {
        WCHAR name[41] = {};
        memcpy(name, item->szName, sizeof(item->szName));
        insert(name);
        *pdwEffect = DROPEFFECT_COPY;
    }
    void m_fnOnDataArrive_MenuView(int, CDragDropMenuItemList& items, DWORD, DWORD* pdwEffect) override {
        for (POSITION pos = items.GetHeadPosition(); pos;) {
            UINT id = items.GetNext(pos).nItemID;
            if (id < g_clips.size()) insert(g_clips[id]);
        }
        *pdwEffect = DROPEFFECT_COPY;
    }

private:
    void insert(const std::wstring& name) {
        int i = addClip(m_list, m_insertAt, name);
        if (i >= 0) SendMessageW(m_list, LB_SETCURSEL, (WPARAM)i, 0);
        if (m_insertAt >= 0) ++m_insertAt;
    }
    HWND m_list;
    int m_insertAt = -1;
};

// The text box: its selected text drags as plain text.
class TextSource : public CDragDropSource {
public:
    explicit TextSource(CWnd* edit) : m_edit(edit->m_hWnd) {
        m_fnSetPreferClipboardFormat((UINT)CF_TEXT);
        m_fnSetAllowedDragOperation(1);
        m_fnSetDragWindow(edit);
        m_fnEnableDragOperation(1);
    }

protected:
    // Only a press on the selection drags; elsewhere the box selects as usual.
    int m_fnOnPrepareDrag(CPoint& point) override {
        DWORD from = 0, to = 0;
        SendMessageW(m_edit, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
        LRESULT hit = SendMessageW(m_edit, EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y));
        DWORD ch = LOWORD(hit);
        return from < to && ch >= from && ch < to;
    }
    int m_fnOnPrepareDragData_CF_TEXT(CPoint&, CString& text) override {
        DWORD from = 0, to = 0;
        SendMessageW(m_edit, EM_GETSEL, (WPARAM)&from, (LPARAM)&to);
        int n = GetWindowTextLengthW(m_edit);
        std::wstring all(n + 1, L'\0');
        GetWindowTextW(m_edit, &all[0], n + 1);
        if (from >= to || to > (DWORD)n) return FALSE;
        text = CString(all.c_str() + from, (int)(to - from));
        return TRUE;
    }

private:
    HWND m_edit;
};

struct Page {
    std::vector<CWnd*> windows;
    ListSource* leftSource = nullptr;
    ListSource* rightSource = nullptr;
    TextSource* textSource = nullptr;
    ListTarget* leftTarget = nullptr;
    ListTarget* rightTarget = nullptr;
    WNDPROC panelProc = nullptr;
} g_page;

CWnd* child(HWND panel, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id = 0) {
    HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                panel, (HMENU)(INT_PTR)id, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) return nullptr;
    SendMessageW(hwnd, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 0);
    CWnd* wnd = new CWnd(hwnd);
    g_page.windows.push_back(wnd);
    return wnd;
}

// The buttons: Copy puts the thumbnail list's selected item on the clipboard, Paste drops the
// clipboard into the menu list.
LRESULT CALLBACK buttonsProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
        CPoint p;
        if (LOWORD(wp) == kCopyId && g_page.leftSource && g_page.leftSource->selectedPoint(p))
            g_page.leftSource->m_fnCopyDataToClipboard(p);
        if (LOWORD(wp) == kPasteId && g_page.rightTarget) {
            p = CPoint(-1, -1);
            g_page.rightTarget->m_fnPasteClipboardData(p);
        }
        return 0;
    }
    return CallWindowProcW(g_page.panelProc, hwnd, msg, wp, lp);
}

void build(HWND panel) {
    DWORD listStyle = WS_VSCROLL | WS_BORDER | LBS_NOTIFY;
    CWnd* left = child(panel, L"LISTBOX", L"", listStyle, kLeftX, kListY, kListW, kListH);
    CWnd* right = child(panel, L"LISTBOX", L"", listStyle, kRightX, kListY, kListW, kListH);
    CWnd* edit = child(panel, L"EDIT", L"Drag this selected text onto a list", ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER,
                       kSideX, kListY, 180, 90);
    child(panel, L"BUTTON", L"Copy", BS_PUSHBUTTON, kSideX, kListY + 110, 85, 26, kCopyId);
    child(panel, L"BUTTON", L"Paste", BS_PUSHBUTTON, kSideX + 95, kListY + 110, 85, 26, kPasteId);
    if (!left || !right || !edit) return;
    for (int i = 0; i < 4; ++i) addClip(left->m_hWnd, -1, g_clips[i]);
    for (int i = 4; i < 6; ++i) addClip(right->m_hWnd, -1, g_clips[i]);
    SendMessageW(left->m_hWnd, LB_SETCURSEL, 1, 0);
    SendMessageW(edit->m_hWnd, EM_SETSEL, 0, 4);

    g_page.leftSource = new ListSource(left, true);
    g_page.rightSource = new ListSource(right, false);
    g_page.textSource = new TextSource(edit);
    g_page.leftTarget = new ListTarget(left);
    g_page.rightTarget = new ListTarget(right);
    g_page.panelProc = (WNDPROC)SetWindowLongPtrW(panel, GWLP_WNDPROC, (LONG_PTR)buttonsProc);
}

void paint(HDC dc, const RECT&) {
    galleryLabel(dc, 10, 10, L"Drag and drop and clipboard in the private formats");
    galleryLabel(dc, kLeftX, kListY - 16, L"thumbnail list (drags _TList_tag)");
    galleryLabel(dc, kRightX, kListY - 16, L"menu list (drags item references)");
    galleryLabel(dc, kSideX, kListY - 16, L"text box (drags CF_TEXT)");
    galleryLabel(dc, kSideX, kListY + 146, L"Copy: selected thumbnail");
    galleryLabel(dc, kSideX, kListY + 162, L"Paste: into the menu list");
}

void teardown(HWND panel) {
    if (g_page.panelProc) SetWindowLongPtrW(panel, GWLP_WNDPROC, (LONG_PTR)g_page.panelProc);
    delete g_page.leftSource;
    delete g_page.rightSource;
    delete g_page.textSource;
    delete g_page.leftTarget;
    delete g_page.rightTarget;
    for (CWnd* w : g_page.windows) {
        w->Detach();
        delete w;
    }
    g_page = Page{};
}
}  // namespace

GALLERY_PAGE(dragdrop, L"dragdrop", 690, 260, build, paint, teardown);
