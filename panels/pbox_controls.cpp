#include "panels/pbox_controls.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/wait_loop.h"
#include "panels/app_panel.h"
#include "panels/button_faces.h"
#include "panels/pbox_input_items.h"
#include "panels/rp_menu.h"

namespace {
PBoxItem* ItemOf(HWND w) {
    PBoxPage* page = PBoxPageAt(::GetWindowLongA(w, 4));
    const int i = ::GetWindowLongA(w, 8);
    if (!page || (unsigned)i >= (unsigned)kPBoxItemCount) return nullptr;
    return &page->items[i];
}

// The same slot on the docked page, when this control is not on it.
PBoxItem* MirrorOf(HWND w, int* index) {
    const int page = ::GetWindowLongA(w, 4);
    if (DockedPBoxPage == -1 || page == DockedPBoxPage) return nullptr;
    *index = ::GetWindowLongA(w, 8);
    if ((unsigned)*index >= (unsigned)kPBoxItemCount) return nullptr;
    return &PBoxPageTable[DockedPBoxPage].items[*index];
}

void RepaintMirror(int index) {
    if (CPanelItem* o = PBoxItemWindow(DockedPBoxPage, index)) o->Repaint();
}

void Repaint(HWND w) {
    ::InvalidateRect(w, nullptr, TRUE);
    ::UpdateWindow(w);
}

void Notify(HWND w) { ::SendMessageA(::GetParent(w), UM_PANEL_ITEM_EVENT, 0, 0); }

// A press of a push, check or radio control counts only with the calculator
// closed and the item enabled; it gives the focus back to the view.
bool TakePress(const PBoxItem* it) {
    if (PanelCalculatorOpen() || !it || !it->enabled) return false;
    PostFocusView();
    return true;
}

// The user's change of a check state or radio value: shown, reported to the
// module, copied into the docked page's item of the same slot, and the
// parent told.
void ReportChange(HWND w, PBoxItem& it, int32_t PBoxItem::*field, int value, int sub) {
    it.*field = value;
    Repaint(w);
    PostPanelEvent(sub, it.id, value);
    int i;
    if (PBoxItem* mirror = MirrorOf(w, &i)) {
        mirror->*field = value;
        RepaintMirror(i);
    }
    Notify(w);
}

void Frame3D(HDC dc, const RECT& r, bool sunken) {
    const COLORREF hi = ::GetSysColor(COLOR_BTNHIGHLIGHT), dk = ::GetSysColor(COLOR_3DDKSHADOW);
    HPEN p1 = ::CreatePen(PS_SOLID, 1, sunken ? dk : hi), p2 = ::CreatePen(PS_SOLID, 1, sunken ? hi : dk);
    HGDIOBJ old = ::SelectObject(dc, p1);
    ::MoveToEx(dc, r.left, r.bottom - 1, nullptr);
    ::LineTo(dc, r.left, r.top);
    ::LineTo(dc, r.right - 1, r.top);
    ::SelectObject(dc, p2);
    ::LineTo(dc, r.right - 1, r.bottom - 1);
    ::LineTo(dc, r.left - 1, r.bottom - 1);
    ::SelectObject(dc, old);
    ::DeleteObject(p1);
    ::DeleteObject(p2);
}

void Text(HDC dc, const PBoxItem& it, const RECT& r, const char* s, int dy, bool bold) {
    HGDIOBJ old = ::SelectObject(dc, bold ? PBoxBoldFont() : PBoxFont());
    ::SetBkMode(dc, TRANSPARENT);
    COLORREF c = bold ? kFaceText : ::GetSysColor(COLOR_BTNTEXT);
    if (!it.enabled)
        c = ::GetSysColor(COLOR_GRAYTEXT);
    else if (it.textColor == 0)
        c = 0;
    else if (it.textColor > 0)
        c = PBoxPenColor(it.textColor);
    ::SetTextColor(dc, c);
    RECT t = r;
    ::OffsetRect(&t, 0, dy);
    ::DrawTextA(dc, s, -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

// One face of a push, check or radio segment in the chosen look.
void Face(HDC dc, const PBoxItem& it, const RECT& r, const char* text, bool on, int kind, COLORREF onColor) {
    if (PBoxBuildState.buttonLook == 1) {
        RECT body = r;
        if (kind != 0) {
            RECT strip = {r.left, r.top, r.right, r.top + 6};
            ::FillRect(dc, &strip, (HBRUSH)::GetStockObject(BLACK_BRUSH));
            ::FrameRect(dc, &strip, (HBRUSH)::GetStockObject(GRAY_BRUSH));
            if (on) {
                RECT lamp = {r.left + 2, r.top + 1, r.right - 2, r.top + 5};
                HBRUSH b = ::CreateSolidBrush(Running().btnBkgnd[1]);
                ::FillRect(dc, &lamp, b);
                ::DeleteObject(b);
            }
            body.top += 6;
        }
        HBRUSH face = ::GetSysColorBrush(COLOR_BTNFACE);
        ::FillRect(dc, &body, face);
        if (it.backColor != -1) {
            RECT in = {body.left + 1, body.top + 1, body.right - 1, body.bottom - 1};
            HBRUSH b = ::CreateSolidBrush(PBoxPenColor(it.backColor));
            ::FillRect(dc, &in, b);
            ::DeleteObject(b);
            if (!it.enabled) PaintCheckerboard(dc, in, ::GetSysColor(COLOR_BTNFACE));
        }
        Frame3D(dc, body, on);
        Text(dc, it, body, text, kind != 0 ? 3 : 0, false);
    } else {
        if (on)
            PaintButtonFacePressed(onColor, dc, r);
        else
            PaintButtonFaceNormal(dc, r);
        Text(dc, it, r, text, 0, true);
    }
}

LRESULT CALLBACK PushProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    PBoxItem* it = ItemOf(w);
    switch (m) {
    case WM_CREATE:
        ::SetWindowLongA(w, 0, 0);
        ::SetWindowLongA(w, 4, PBoxBuildState.shownPage);
        ::SetWindowLongA(w, 8, PBoxBuildState.builtItem);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r;
        ::GetClientRect(w, &r);
        char text[256] = {};
        ::GetWindowTextA(w, text, sizeof text);
        PaintParentBackground(w, dc);
        if (it) Face(dc, *it, r, text, ::GetWindowLongA(w, 0) == 1, 0, kFaceYellow);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (!TakePress(it)) return 0;
        ::SetCapture(w);
        ::SetWindowLongA(w, 0, 1);
        Repaint(w);
        return 0;
    case WM_MOUSEMOVE:
        if (::GetCapture() == w && ::GetWindowLongA(w, 0)) {
            RECT r;
            ::GetClientRect(w, &r);
            POINT pt = {(short)LOWORD(lp), (short)HIWORD(lp)};
            const int s = ::PtInRect(&r, pt) ? 1 : 2;
            if (s != ::GetWindowLongA(w, 0)) {
                ::SetWindowLongA(w, 0, s);
                Repaint(w);
            }
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        if (!it || !it->enabled) return 0;
        if (::GetCapture() == w) ::ReleaseCapture();
        const int s = ::GetWindowLongA(w, 0);
        ::SetWindowLongA(w, 0, 0);
        Repaint(w);
        if (s == 1) {
            PostPanelEvent(PANEL_SUB_PUSH, it->id, CmdInput().panelExtra);
            Notify(w);
            const int id = ::GetDlgCtrlID(w) + (m == WM_RBUTTONUP ? 1 : 0);
            ::SendMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == VK_SPACE) {
            ::SetWindowLongA(w, 0, 1);
            Repaint(w);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (wp == VK_SPACE && ::GetWindowLongA(w, 0) == 1) {
            ::SetWindowLongA(w, 0, 0);
            Repaint(w);
            ::SendMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), 0), 0);
            return 0;
        }
        break;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK CheckProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    PBoxItem* it = ItemOf(w);
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r;
        ::GetClientRect(w, &r);
        char text[256] = {};
        ::GetWindowTextA(w, text, sizeof text);
        if (it) Face(dc, *it, r, text, it->state == 1, 1, kFaceYellow);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        if (!TakePress(it)) return 0;
        ReportChange(w, *it, &PBoxItem::state, it->state ? 0 : 1, PANEL_SUB_CHECK);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_KEYDOWN:
    case WM_KEYUP: return 0;
    default: break;
    }
    return PushProc(w, m, wp, lp);
}

LRESULT CALLBACK RadioProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    PBoxItem* it = ItemOf(w);
    const int count = it ? it->state : 0;
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r;
        ::GetClientRect(w, &r);
        char text[1024] = {};
        ::GetWindowTextA(w, text, sizeof text);
        if (it) {
            std::vector<std::string> segs = SplitPanelFields(text);
            const int n = count < 2 ? 1 : count;
            const int sw = r.right / n;
            for (int k = 0; k < n; ++k) {
                RECT s = {k * sw, 0, k * sw + sw - 1, r.bottom};
                const char* cap = k < (int)segs.size() ? segs[k].c_str() : "";
                Face(dc, *it, s, cap, k == it->value, 1, kFaceOrange);
            }
        }
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        if (!TakePress(it)) return 0;
        RECT r;
        ::GetClientRect(w, &r);
        const int x = (short)LOWORD(lp);
        int v = 0;
        // Neither a zero segment count nor a strip narrower than its
        // segments divides by zero.
        if (count >= 2) {
            const int sw = r.right / count;
            v = sw > 0 ? x / sw : 0;
            if (v > count - 1) v = count - 1;
        }
        if (v < 0) v = 0;
        ReportChange(w, *it, &PBoxItem::value, v, PANEL_SUB_RADIO);
        return 0;
    }
    default: break;
    }
    return CheckProc(w, m, wp, lp);
}

LRESULT CALLBACK TextProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r;
        ::GetClientRect(w, &r);
        HBRUSH b = ::CreateSolidBrush(Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE));
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
        char text[256] = {};
        ::GetWindowTextA(w, text, sizeof text);
        HGDIOBJ old = ::SelectObject(dc, PBoxFont());
        ::SetBkMode(dc, TRANSPARENT);
        ::DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, old);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        if (PBoxHostWindow() && ::GetParent(w) == PBoxHostWindow()) CloseRPMenu();
        return 0;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

// The input members borrow the item windows' behaviour: an item object is
// bound to the control's page item and takes the window over.
template <class T>
struct ClassicItem : T {
    void OnFinalMessage(HWND) override { delete this; }
};

template <class T>
LRESULT CALLBACK BorrowedProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_CREATE) {
        const int page = PBoxBuildState.shownPage, index = PBoxBuildState.builtItem;
        ::SetWindowLongA(w, 0, 0);
        ::SetWindowLongA(w, 4, page);
        ::SetWindowLongA(w, 8, index);
        PBoxPage* p = PBoxPageAt(page);
        if (!p || (unsigned)index >= (unsigned)kPBoxItemCount) return 0;
        auto* obj = new ClassicItem<T>;
        obj->Bind(&p->items[index], page, index);
        if (DockedPBoxPage != -1 && page != DockedPBoxPage) obj->m_twin = PBoxItemWindow(DockedPBoxPage, index);
        if (!obj->SubclassWindow(w)) {
            delete obj;
            return 0;
        }
        ::SendMessageA(w, WM_CREATE, wp, lp);  // the object's own creation steps
        return 0;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

// "Duze_Edit": a free-standing edit field.
LRESULT CALLBACK DuzeEditEditorProc(HWND e, UINT m, WPARAM wp, LPARAM lp);

LRESULT CALLBACK DuzeProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_CREATE: ::SetWindowLongA(w, 0, 1); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        PBoxItem plain = {};
        plain.enabled = ::IsWindowEnabled(w) ? 1 : 0;
        plain.backColor = plain.textColor = -1;
        DrawPBoxEditItem(w, dc, plain, false);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_SETTEXT: ::InvalidateRect(w, nullptr, TRUE); break;
    case WM_LBUTTONDOWN: {
        if (::GetDlgItem(w, kEditorId)) return 0;
        RECT r;
        ::GetClientRect(w, &r);
        char text[258] = {};
        ::GetWindowTextA(w, text, sizeof text);
        HWND e =
            ::CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 1, 1, r.right - 1,
                              r.bottom - 1, w, (HMENU)(INT_PTR)kEditorId, ::GetModuleHandleA(nullptr), nullptr);
        if (!e) return 0;
        ::SetPropA(e, "ZavDuzeOld", (HANDLE)::SetWindowLongPtrA(e, GWLP_WNDPROC, (LONG_PTR)DuzeEditEditorProc));
        ::SendMessageA(e, EM_LIMITTEXT, 256, 0);
        ::SetFocus(e);
        ::SendMessageA(e, EM_SETSEL, 0, -1);
        return 0;
    }
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK DuzeEditEditorProc(HWND e, UINT m, WPARAM wp, LPARAM lp) {
    WNDPROC old = (WNDPROC)::GetPropA(e, "ZavDuzeOld");
    HWND owner = ::GetParent(e);
    if (m == WM_KEYDOWN && (wp == VK_RETURN || wp == VK_ESCAPE)) {
        if (wp == VK_RETURN) {
            char text[258] = {};
            ::GetWindowTextA(e, text, sizeof text);
            ::SetWindowTextA(owner, text);
            ::SendMessageA(::GetParent(owner), WM_USER, 0, 0);
            ::SendMessageA(::GetParent(owner), UM_PANEL_ITEM_EVENT, 0, 0);
        }
        ::PostMessageA(e, WM_CLOSE, 0, 0);
        return 0;
    }
    if (m == WM_CHAR && (wp == '\r' || wp == 27)) return 0;
    if (m == WM_NCDESTROY) ::RemovePropA(e, "ZavDuzeOld");
    return old ? ::CallWindowProcA(old, e, m, wp, lp) : ::DefWindowProcA(e, m, wp, lp);
}

LRESULT CALLBACK ListOwnProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

struct ClassRow {
    const char* name;
    WNDPROC proc;
    int extra;
    bool nullCursor;
};
}  // namespace

int RegisterPBoxClasses(HINSTANCE instance) {
    RegisterRPMenuEntryClass(instance);
    for (PBoxPage& page : PBoxPageTable) {
        page.host = 0;
        for (PBoxItem& it : page.items)
            it.type = 0;
    }
    PBoxBuildState.buttonLook = Running().appPanelItemType;
    const ClassRow rows[] = {{"PBox_Push", PushProc, 12, true},
                             {"PBox_Radio", RadioProc, 12, true},
                             {"PBox_Check", CheckProc, 12, true},
                             {"PBox_List", BorrowedProc<CAppPanelComboList>, 12, true},
                             {"PBox_Edit", BorrowedProc<CAppPanelEditBox>, 12, true},
                             {"PBox_Combo", BorrowedProc<CAppPanelComboBox>, 12, true},
                             {"Duze_Edit", DuzeProc, 4, false},
                             {"PBox_Text", TextProc, 4, false},
                             {"LISTOWNSUBCLASS", ListOwnProc, 16, false}};
    for (const ClassRow& row : rows) {
        WNDCLASSA existing;
        if (::GetClassInfoA(instance, row.name, &existing)) continue;
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = row.proc;
        wc.cbWndExtra = row.extra;
        wc.hInstance = instance;
        HCURSOR cursor = row.nullCursor ? ::LoadCursorA(instance, "CURNUL") : nullptr;
        wc.hCursor = cursor ? cursor : ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = row.name;
        if (!::RegisterClassA(&wc)) return 0;
    }
    return 1;
}

int UnregisterPBoxClasses(HINSTANCE instance) {
    for (const char* name : {"RPMENU", "PBox_Push", "PBox_Radio", "PBox_Check", "PBox_List", "PBox_Edit", "PBox_Combo",
                             "Duze_Edit", "PBox_Text", "LISTOWNSUBCLASS"})
        ::UnregisterClassA(name, instance);
    return 1;
}
