#include "panels/layer_field.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "command/cmd_switches.h"
#include "command/host_hooks.h"
#include "panels/attr_samples.h"
#include "panels/tool_panel_links.h"

namespace {

struct LayerFieldRecord {
    int page, layer;
};

LayerFieldRecord* Record(HWND w) { return reinterpret_cast<LayerFieldRecord*>(::GetWindowLongPtrA(w, 4)); }

DbHeader* ActiveDb() {
    return HostHooks().activeDb ? static_cast<DbHeader*>(HostHooks().activeDb()) : nullptr;
}

// Group and layer name of a layer of a page; false without a drawing.
bool LayerNames(int page, int layer, char* group, size_t gsize, char* name, size_t nsize) {
    group[0] = name[0] = 0;
    DbHeader* db = ActiveDb();
    DbInfo* info = db ? DAriGetDbInfoPtr(page, db) : nullptr;
    if (!info || layer < 0 || layer >= 1024) return false;
    lstrcpynA(group, info->layers.groupNames[layer], (int)std::min<size_t>(gsize, 11));
    if (info->layers.names[layer]) lstrcpynA(name, info->layers.names[layer], (int)nsize);
    return true;
}

void Paint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(w, &ps);
    RECT rc;
    ::GetClientRect(w, &rc);
    const bool enabled = ::IsWindowEnabled(w) != 0;
    ::SetBkColor(dc, ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    LOGFONTA lf = {};
    lf.lfHeight = rc.bottom < 18 ? rc.bottom - 2 : 12;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    ::SetBkMode(dc, TRANSPARENT);
    const LayerFieldRecord* r = Record(w);
    char group[16], name[260];
    if (r && ActiveDb()) {
        const int x = tm.tmAveCharWidth / 2;
        const int upper = rc.bottom / 4 - tm.tmHeight / 2 + 1, lower = 3 * rc.bottom / 4 - tm.tmHeight / 2;
        LayerNames(r->page, r->layer, group, sizeof group, name, sizeof name);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::TextOutA(dc, x, upper, group, (int)strlen(group));
        if (name[0]) {
            ::TextOutA(dc, x, lower, name, (int)strlen(name));
        } else if (r->layer >= 0) {
            char text[32];
            snprintf(text, sizeof text, "レイヤ %d", r->layer + 1);
            ::SetTextColor(dc, RGB(255, 0, 0));
            ::TextOutA(dc, x, lower, text, (int)strlen(text));
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    PaintSelectorFrame(dc, rc, rc.right - 14, true);
    ::EndPaint(w, &ps);
}

void OpenDrop(HWND field) {
    if (LayerFieldLock || !ActiveDb() || ::GetDlgItem(field, 1)) return;
    if (::GetCapture() == field) ::ReleaseCapture();
    RECT rc;
    ::GetClientRect(field, &rc);
    HWND drop = ::CreateWindowExA(0, "eslayerwndclass", "", WS_CHILD, 0, rc.bottom, rc.right, rc.bottom + 60, field,
                                  (HMENU)1, ::GetModuleHandleA(nullptr), nullptr);
    if (!drop) return;
    ::ShowWindow(drop, SW_SHOWNA);
    ::SetWindowLongA(drop, 0, 1);
    HWND combo = ::CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0,
                                   rc.right > 250 ? rc.right : 250, 300, drop, (HMENU)1,
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (!combo) {
        ::DestroyWindow(drop);
        return;
    }
    ::SendMessageA(combo, WM_SETFONT, ::SendMessageA(field, WM_GETFONT, 0, 0), FALSE);
    RECT cr;
    ::GetWindowRect(combo, &cr);
    ::SetWindowPos(combo, nullptr, 0, -(cr.bottom - cr.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    const LayerFieldRecord* r = Record(field);
    // The rows of the drawing's layer tree; an item's data is its page and
    // layer, the position of the current layer's row is selected.
    int current = -1;
    const std::vector<LayerListRow> rows =
        ToolPanelHost().layerTreeRows ? ToolPanelHost().layerTreeRows() : std::vector<LayerListRow>();
    for (const LayerListRow& row : rows) {
        const int at = (int)::SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)row.text.c_str());
        ::SendMessageA(combo, CB_SETITEMDATA, at, MAKELONG(row.layer & 0xFFFF, row.page));
        if (row.kind == 2 && row.page == r->page && row.layer == r->layer) current = at;
    }
    ::SendMessageA(combo, CB_SETCURSEL, current, 0);
    ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
}

}  // namespace

LRESULT CALLBACK LayerFieldProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    LayerFieldRecord* r = Record(w);
    switch (msg) {
    case WM_CREATE:
        ::SetWindowLongPtrA(w, 4, (LONG_PTR) new LayerFieldRecord{0, -1});
        ::SendMessageA(w, WM_USER + 1, 0, 0);
        return 0;
    case WM_DESTROY:
        delete r;
        ::SetWindowLongPtrA(w, 4, 0);
        return 0;
    case WM_USER + 1: {  // reload
        if (!r) return 0;
        DbHeader* db = ActiveDb();
        if (db) {
            r->page = db->pages.currentPage;
            DbInfo* info = DAriGetDbInfoPtr(r->page, db);
            r->layer = info ? info->layers.inputLayer : -1;
        }
        ::InvalidateRect(w, nullptr, TRUE);
        return 1;
    }
    case WM_USER + 2:
        if (!r) return 0;
        r->page = (int)wp;
        r->layer = (int)lp;
        ::InvalidateRect(w, nullptr, TRUE);
        return 1;
    case WM_USER + 3: return r ? r->layer : -1;
    case WM_USER + 4: return r ? r->page : -1;
    case WM_USER:
        ::PostMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), 1), (LPARAM)w);
        ::InvalidateRect(w, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
        if (r) OpenDrop(w);
        return 0;
    case WM_ENABLE: ::InvalidateRect(w, nullptr, TRUE); return 0;
    case WM_PAINT: Paint(w); return 0;
    case WM_ERASEBKGND: return 1;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK LayerDropProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == 1 && HIWORD(wp) == CBN_CLOSEUP && ::GetWindowLongA(w, 0) == 1) {
        ::SetWindowLongA(w, 0, 0);
        HWND combo = (HWND)lp, field = ::GetParent(w);
        const int sel = (int)::SendMessageA(combo, CB_GETCURSEL, 0, 0);
        const LPARAM data = sel >= 0 ? ::SendMessageA(combo, CB_GETITEMDATA, sel, 0) : CB_ERR;
        const int layer = (short)LOWORD(data);
        if (LayerFieldRecord* r = Record(field); r && data != CB_ERR && layer >= 0) {
            r->page = HIWORD(data);
            r->layer = layer;
        }
        ::PostMessageA(field, WM_USER, 0, 0);
        ::PostMessageA(w, WM_CLOSE, 0, 0);
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        return 0;
    }
    if (msg == WM_CLOSE) {
        ::DestroyWindow(w);
        return 0;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
}
