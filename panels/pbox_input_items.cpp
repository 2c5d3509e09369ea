#include "panels/pbox_input_items.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <imm.h>
#include <windowsx.h>

#include "base/csv_parser.h"
#include "base/dbcs.h"
#include "base/monitor.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/input_history.h"
#include "panels/rp_menu.h"
#include "panels/tool_buttons.h"
#include "win/dialog.h"

PBoxEditStateRecord PBoxEditState = {};

namespace {
const char* kOldProcProp = "ZavPanelEditorProc";

HFONT MediumFont() { return PanelFontMedium ? PanelFontMedium : PBoxFont(); }

void Subclass(HWND w, WNDPROC proc) {
    WNDPROC old = (WNDPROC)::SetWindowLongPtrA(w, GWLP_WNDPROC, (LONG_PTR)proc);
    ::SetPropA(w, kOldProcProp, (HANDLE)old);
}

LRESULT CallOld(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    WNDPROC old = (WNDPROC)::GetPropA(w, kOldProcProp);
    return old ? ::CallWindowProcA(old, w, m, wp, lp) : ::DefWindowProcA(w, m, wp, lp);
}

void FocusView() {
    if (HostHooks().focusActiveView) HostHooks().focusActiveView();
}

bool PopupOpen() { return RPMenuState.windowOpen != 0; }

void WriteEvent(int event, int sub, int id) {
    InputRecord& in = CmdInput();
    in.panelKind = sub;
    in.panelValue = id;
    in.event = event;
}

void SetImeOpen(HWND w, bool open) {
    HIMC imc = ::ImmGetContext(w);
    if (!imc) return;
    ::ImmSetOpenStatus(imc, open ? TRUE : FALSE);
    ::ImmReleaseContext(w, imc);
}

// The edit item's in-place editor.
LRESULT CALLBACK EditEditorProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    PBoxEditStateRecord& s = PBoxEditState;
    HWND item = ::GetParent(w);
    switch (m) {
    case WM_SETFOCUS: {
        LRESULT r = CallOld(w, m, wp, lp);
        if (s.openEditor && s.openEditor != w && ::IsWindow(s.openEditor)) {
            ::SetWindowTextA(w, s.editBuffer);
            ::SendMessageA(w, EM_SETSEL, 0, -1);
            ::PostMessageA(s.openEditor, WM_CLOSE, 0, 0);
            s.openEditor = w;
            s.switching = 1;
        } else {
            ::SetWindowTextA(w, s.editBuffer);
            s.editorOpen = 1;
            ::SendMessageA(w, EM_SETSEL, 0, -1);
            SetImeOpen(w, s.imeMode == 7);
        }
        return r;
    }
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_ESCAPE) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::PostMessageA(item, wp == VK_RETURN ? WM_USER : kEditorCancelled, 0, 0);
            if (wp == VK_RETURN) ::GetWindowTextA(w, s.editBuffer, sizeof s.editBuffer);
            ::PostMessageA(w, WM_CLOSE, 0, 0);
            if (!PopupOpen()) PostFocusView();
            SetImeOpen(w, false);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == '\r' || wp == 27) return 0;
        break;
    case WM_COMMAND:
    case 1029:
        if (wp == 13 || wp == 27) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::PostMessageA(item, wp == 13 ? WM_USER : kEditorCancelled, 0, 0);
            if (wp == 13) ::GetWindowTextA(w, s.editBuffer, sizeof s.editBuffer);
        }
        return 0;
    case WM_RBUTTONDOWN:
        if (PanelHistoryEnabled(s.editHistoryKey)) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::PostMessageA(item, kEditorCancelled, 0, 0);
            ::PostMessageA(w, WM_CLOSE, 0, 0);
            if (PopupOpen()) {
                ::PostMessageA(item, WM_RBUTTONDOWN, 0, 0);
            } else {
                ::PostMessageA(item, kEditorCancelled, 0, 0);
                PanelShowHistoryMenu(s.editHistoryKey, item);
            }
            return 0;
        }
        break;
    case WM_DESTROY:
        if (::GetCapture() == w) ::ReleaseCapture();
        if (!s.switching) {
            if (s.openEditor == w) s.openEditor = nullptr;
            s.editorOpen = 0;
        }
        s.switching = 0;
        break;
    case WM_NCDESTROY: {
        LRESULT r = CallOld(w, m, wp, lp);
        ::RemovePropA(w, kOldProcProp);
        return r;
    }
    default: break;
    }
    return CallOld(w, m, wp, lp);
}

// The combo item's in-place editor.
LRESULT CALLBACK ComboEditorProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    PBoxEditStateRecord& s = PBoxEditState;
    HWND item = ::GetParent(w);
    switch (m) {
    case WM_SETFOCUS: ::SetCapture(w); break;
    case WM_KILLFOCUS:
        ::PostMessageA(w, WM_CLOSE, 0, 0);
        if (!PopupOpen()) PostFocusView();
        break;
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::GetWindowTextA(w, s.comboBuffer, sizeof s.comboBuffer);
            ::PostMessageA(item, WM_USER, 0, 0);
            return 0;
        }
        if (wp == VK_ESCAPE) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::PostMessageA(item, kEditorCancelled, 0, 0);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == '\r' || wp == 27) return 0;
        break;
    case WM_COMMAND:
        if (wp == 13) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::GetWindowTextA(w, s.comboBuffer, sizeof s.comboBuffer);
            ::PostMessageA(item, WM_USER, 0, 0);
        } else if (wp == 27) {
            ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
            ::PostMessageA(item, kEditorCancelled, 0, 0);
        }
        return 0;
    case WM_LBUTTONDOWN: {
        POINT pt;
        ::GetCursorPos(&pt);
        RECT rc;
        ::GetWindowRect(w, &rc);
        if (!::PtInRect(&rc, pt)) {
            // A click elsewhere ends the edit: the focus leaves the editor,
            // which closes it.
            ::ReleaseCapture();
            PostFocusView();
            FocusView();
            if (::GetFocus() == w) ::SetFocus(CmdMainFrame());
            return 0;
        }
        break;
    }
    case WM_RBUTTONDOWN:
        ::PostMessageA(w, WM_KILLFOCUS, 0, 0);
        ::PostMessageA(item, kEditorCancelled, 0, 0);
        PanelShowHistoryMenu(s.comboHistoryKey, item);
        return 0;
    case WM_DESTROY:
        if (s.openEditor == w) s.openEditor = nullptr;
        if (::GetCapture() == w) ::ReleaseCapture();
        break;
    case WM_NCDESTROY: {
        LRESULT r = CallOld(w, m, wp, lp);
        ::RemovePropA(w, kOldProcProp);
        return r;
    }
    default: break;
    }
    return CallOld(w, m, wp, lp);
}

// Where a mouse message happened, on the screen: the message's own point,
// which is where the button went down or up even when the pointer has moved
// on since.
POINT ScreenPointOf(HWND w, LPARAM lp) {
    POINT pt = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ::ClientToScreen(w, &pt);
    return pt;
}

// The list box inside the drop-down.
LRESULT CALLBACK DropListProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    HWND dlg = ::GetParent(w);
    switch (m) {
    case WM_KILLFOCUS:
        ::PostMessageA(w, WM_CLOSE, 0, 0);
        PostFocusView();
        break;
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_SPACE) {
            ::PostMessageA(dlg, kDropChosen, 0, 0);
            return 0;
        }
        if (wp == VK_ESCAPE) {
            ::PostMessageA(dlg, kDropCancelled, 0, 0);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN: {
        const POINT pt = ScreenPointOf(w, lp);
        RECT rc;
        ::GetWindowRect(w, &rc);
        if (pt.y < rc.top || pt.y >= rc.bottom) {
            ::PostMessageA(dlg, kDropCancelled, 0, 0);
            return 0;
        }
        break;
    }
    case WM_LBUTTONUP: {
        LRESULT r = CallOld(w, m, wp, lp);
        const POINT pt = ScreenPointOf(w, lp);
        RECT rc;
        ::GetWindowRect(w, &rc);
        rc.right -= ::GetSystemMetrics(SM_CXVSCROLL);
        if (::PtInRect(&rc, pt)) ::PostMessageA(dlg, kDropChosen, 0, 0);
        return r;
    }
    case WM_RBUTTONDOWN: ::PostMessageA(dlg, kDropCancelled, 0, 0); return 0;
    case WM_DESTROY:
        if (::GetCapture() == w) ::ReleaseCapture();
        ::PostMessageA(dlg, kDropCancelled, 0, 0);
        break;
    case WM_NCDESTROY: {
        LRESULT r = CallOld(w, m, wp, lp);
        ::RemovePropA(w, kOldProcProp);
        return r;
    }
    default: break;
    }
    return CallOld(w, m, wp, lp);
}

void EndDrop(HWND dlg) {
    PBoxEditStateRecord& s = PBoxEditState;
    if (s.dropWindow == dlg) {
        s.dropWindow = nullptr;
        s.dropList = nullptr;
    }
    ::DestroyWindow(dlg);
}

// The chosen line of the drop-down's list into comboBuffer; false when no
// line is selected.
bool TakeDropLine() {
    PBoxEditStateRecord& s = PBoxEditState;
    if (!::IsWindow(s.dropList)) return false;
    const int sel = (int)::SendMessageA(s.dropList, LB_GETCURSEL, 0, 0);
    if (sel < 0) return false;
    char line[1024] = {};
    const int n = (int)::SendMessageA(s.dropList, LB_GETTEXTLEN, sel, 0);
    if (n >= 0 && n < (int)sizeof line) ::SendMessageA(s.dropList, LB_GETTEXT, sel, (LPARAM)line);
    DbcsCopy(s.comboBuffer, sizeof s.comboBuffer, line);
    return true;
}

// The drop-down of a combo item, the modeless dialog "COMBO"; its
// initialisation value is the anchor item's text (the choices).
INT_PTR CALLBACK DropProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    PBoxEditStateRecord& s = PBoxEditState;
    switch (m) {
    case WM_INITDIALOG: {
        ::SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RECT cr;
        ::GetClientRect(w, &cr);
        HWND list = ::CreateWindowExA(0, "LISTBOX", "",
                                      WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY, 0, 0,
                                      cr.right, cr.bottom, w, (HMENU)(INT_PTR)kDropListId,
                                      ::GetModuleHandleA(nullptr), nullptr);
        s.dropList = list;
        if (list) {
            ::SendMessageA(list, WM_SETFONT, (WPARAM)MediumFont(), 0);
            Subclass(list, DropListProc);
            FillPBoxComboDrop(list, reinterpret_cast<const char*>(lp));
            ::SetFocus(list);
        }
        return FALSE;  // the focus is set
    }
    case WM_SIZE:
        if (::IsWindow(s.dropList) && ::GetParent(s.dropList) == w)
            ::MoveWindow(s.dropList, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return TRUE;
    case kDropChosen:
        if (TakeDropLine() && s.dropAnchor) ::PostMessageA(s.dropAnchor, WM_USER, 0, 0);
        EndDrop(w);
        return TRUE;
    case kDropCancelled: EndDrop(w); return TRUE;
    case WM_USER:
        if (s.dropList) ::SetFocus(s.dropList);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == kDropListId && HIWORD(wp) == LBN_DBLCLK) {
            TakeDropLine();
            EndDrop(w);
        }
        return TRUE;
    default: break;
    }
    return FALSE;
}

// The template "COMBO": a pop-up of 71 x 146 dialog units in
// "ＭＳ Ｐゴシック" 9 points, with no controls of its own.
const DLGTEMPLATE* ComboDropTemplate() {
    static const std::vector<WORD> words =
        win::EmptyDialogTemplate(WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, 0, 0, 71, 146, 9, "ＭＳ Ｐゴシック");
    return reinterpret_cast<const DLGTEMPLATE*>(words.data());
}

void SetWords(HWND w, int page, int index) {
    ::SetWindowLongA(w, 0, 0);
    ::SetWindowLongA(w, 4, page);
    ::SetWindowLongA(w, 8, index);
}

// The item of the same slot on the page a twin shows.
PBoxItem* TwinItem(CPanelItem* twin) { return twin ? twin->m_item : nullptr; }
}  // namespace

void SetPBoxItemTextBounded(PBoxItem* item, const char* text) {
    if (!item || !item->text) return;
    const size_t size = ::GlobalSize(item->text);
    DbcsCopy(item->text, size ? size : 257, text ? text : "");
}

void DrawPBoxEditItem(HWND w, HDC dc, const PBoxItem& it, bool combo) {
    RECT rc;
    ::GetClientRect(w, &rc);
    const int W = rc.right, H = rc.bottom;
    const bool enabled = it.enabled != 0;
    HBRUSH bg = ::GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    ::FillRect(dc, &rc, bg);
    const LONG word0 = ::GetWindowLongA(w, 0);
    COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
    if (word0 == 0 && it.textColor != -1) text = it.textColor == 0 ? 0 : PBoxPenColor(it.textColor);
    if (word0 == 0 && it.backColor != -1) {
        HBRUSH b = ::CreateSolidBrush(PBoxPenColor(it.backColor));
        HGDIOBJ ob = ::SelectObject(dc, b);
        ::Rectangle(dc, 3, 3, W - 3, H - 3);
        ::SelectObject(dc, ob);
        ::DeleteObject(b);
    }
    auto poly = [&](COLORREF c, std::initializer_list<POINT> pts) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, c);
        HGDIOBJ op = ::SelectObject(dc, pen);
        bool first = true;
        for (POINT p : pts) {
            if (first)
                ::MoveToEx(dc, p.x, p.y, nullptr);
            else
                ::LineTo(dc, p.x, p.y);
            first = false;
        }
        ::SelectObject(dc, op);
        ::DeleteObject(pen);
    };
    if (enabled) {
        poly(0x606060, {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 2}, {0, H - 2}, {1, H - 2}, {1, 1}, {W - 1, 1}});
        poly(0xC0C0C0, {{1, H - 2}, {W - 2, H - 2}, {W - 2, 1}});
    } else {
        if (it.backColor != -1) {
            RECT in = {1, 1, W - 1, H - 1};
            PaintCheckerboard(dc, in, ::GetSysColor(COLOR_BTNFACE));
        }
        poly(::GetSysColor(COLOR_3DDKSHADOW), {{0, H - 1}, {0, 0}, {W - 1, 0}});
        poly(::GetSysColor(COLOR_BTNHIGHLIGHT), {{0, H - 1}, {W - 1, H - 1}, {W - 1, 0}});
    }
    int textWidth = W;
    if (combo) {
        const int bx = W - kComboButtonWidth;
        RECT b = {bx, 0, W, H};
        ::FillRect(dc, &b, ::GetSysColorBrush(COLOR_BTNFACE));
        poly(::GetSysColor(COLOR_3DDKSHADOW), {{W - 1, 0}, {W - 1, H - 1}, {bx, H - 1}});
        poly(::GetSysColor(COLOR_BTNHIGHLIGHT), {{bx, H - 1}, {bx, 0}, {W - 1, 0}});
        const int c = (2 * W - kComboButtonWidth) / 2, m = H / 2;
        HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
        HGDIOBJ op = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        POINT tri[3] = {{c - 2, m - 1}, {c + 2, m - 1}, {c, m + 1}};
        ::Polygon(dc, tri, 3);
        ::SelectObject(dc, ob);
        ::SelectObject(dc, op);
        textWidth = bx;
    }
    HGDIOBJ of = ::SelectObject(dc, MediumFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, text);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    char buf[512] = {};
    int n = ::GetWindowTextA(w, buf, sizeof buf);
    if (n > textWidth / avg) n = textWidth / avg;
    ::TextOutA(dc, avg / 2, H / 2 - tm.tmHeight / 2, buf, n);
    ::SelectObject(dc, of);
}

// --- What edit and combo items share ----------------------------------------------------------
void CPanelInputItem::Confirm(const char* text) {
    WriteEvent(CMD_EV_PANEL, m_sub, m_item->id);
    TakeText(text);
    PanelAddHistory(m_item->label, text);
    CloseRPMenu();
}

bool CPanelInputItem::TakeHistoryEntry(WPARAM command, char* buffer, size_t size) {
    const int k = (int)LOWORD(command) - (int)kInputHistoryFirstId;
    if (k < 0 || k >= kInputHistoryMax) return false;
    if (PanelHistoryItem(m_item->label, k, buffer, size)) Confirm(buffer);
    return true;
}

int CPanelInputItem::RunItemCalculator() {
    const int mode = m_item->calcMode;
    auto& run = HostHooks().runCalculator;
    if (!m_item->enabled || !PanelCalculatorEnabled() || mode == 0 || mode == 7 || !run) return -1;
    char result[64] = "";
    const HWND self = m_hWnd;
    const int ok = run(CmdMainFrame(), mode, m_item->calcTitle, result);
    // The calculator ran its own loop: the page may have been closed
    // meanwhile, and this object with it.
    if (!::IsWindow(self)) return 0;
    if (ok) Confirm(result);
    return ok ? 1 : 0;
}

// --- Edit item -------------------------------------------------------------------------------
LRESULT CAppPanelEditBox::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    SetWords(m_hWnd, m_page, m_index);
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelEditBox::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    PBoxEditStateRecord& s = PBoxEditState;
    if (s.openEditor && ::GetParent(s.openEditor) == m_hWnd) {
        s.openEditor = nullptr;
        s.editorOpen = 0;
        FocusView();
    }
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelEditBox::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    DrawPBoxEditItem(m_hWnd, dc, *m_item, false);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CAppPanelEditBox::OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelEditBox::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    PBoxEditStateRecord& s = PBoxEditState;
    if (PanelCalculatorOpen()) return 0;
    if (RunItemCalculator() >= 0) return 0;
    DbcsCopy(s.editHistoryKey, sizeof s.editHistoryKey, m_item->label);
    if (!m_item->enabled) return 0;
    if (s.openEditor && ::GetParent(s.openEditor) == m_hWnd) return 0;  // already editing here
    s.imeMode = m_item->calcMode;
    RECT rc = GetClientRect();
    HWND ed = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 1, 1,
                                rc.right - 1, rc.bottom - 1, m_hWnd, (HMENU)(INT_PTR)kEditorId,
                                ::GetModuleHandleA(nullptr), nullptr);
    if (!ed) return 0;
    ::SendMessageA(ed, WM_SETFONT, (WPARAM)MediumFont(), 0);
    Subclass(ed, EditEditorProc);
    ::GetWindowTextA(m_hWnd, s.editBuffer, sizeof s.editBuffer);
    ::SendMessageA(ed, EM_LIMITTEXT, 256, 0);
    ::SetFocus(ed);
    s.openEditor = ed;
    s.imeMode = -1;
    return 0;
}

void CAppPanelEditBox::TakeText(const char* text) {
    ::SetWindowTextA(m_hWnd, text);
    SetPBoxItemTextBounded(m_item, text);
    Repaint();
    if (m_twin && m_twin->m_hWnd) {
        SetPBoxItemTextBounded(TwinItem(m_twin), text);
        ::SetWindowTextA(m_twin->m_hWnd, text);
        m_twin->Repaint();
    }
}

LRESULT CAppPanelEditBox::OnConfirmed(UINT, WPARAM, LPARAM, BOOL&) {
    Confirm(PBoxEditState.editBuffer);
    return 0;
}

LRESULT CAppPanelEditBox::OnCancelled(UINT, WPARAM, LPARAM, BOOL&) {
    PBoxEditStateRecord& s = PBoxEditState;
    ::SetWindowTextA(m_hWnd, s.editBuffer);
    SetPBoxItemTextBounded(m_item, s.editBuffer);
    CloseRPMenu();
    WriteEvent(CMD_EV_ESCAPE, PANEL_SUB_EDIT, m_item->id);
    return 0;
}

LRESULT CAppPanelEditBox::OnCommand(UINT, WPARAM w, LPARAM, BOOL& handled) {
    PBoxEditStateRecord& s = PBoxEditState;
    if (!TakeHistoryEntry(w, s.editBuffer, sizeof s.editBuffer)) handled = FALSE;
    return 0;
}

LRESULT CAppPanelEditBox::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (PanelCalculatorOpen()) return -1;
    if (!m_item->enabled) return 0;
    if (!PanelHistoryEnabled(m_item->label)) return -1;
    PanelShowHistoryMenu(m_item->label, m_hWnd);
    return 0;
}

// --- Combo item ------------------------------------------------------------------------------
LRESULT CAppPanelComboBox::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    SetWords(m_hWnd, m_page, m_index);
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelComboBox::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    DrawPBoxEditItem(m_hWnd, dc, *m_item, true);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CAppPanelComboBox::OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    handled = FALSE;
    return 0;
}

void CAppPanelComboBox::OpenDropDown() {
    PBoxEditStateRecord& s = PBoxEditState;
    if (s.dropWindow && ::IsWindow(s.dropWindow)) ::DestroyWindow(s.dropWindow);
    s.dropAnchor = m_hWnd;
    s.dropPage = ::GetWindowLongA(m_hWnd, 4);
    s.dropItem = ::GetWindowLongA(m_hWnd, 8);
    ::GetWindowRect(m_hWnd, &s.dropRect);
    const RECT& r = s.dropRect;
    RECT mon;
    if (!GetMonitorRect(r.left, r.top, &mon, 0)) {
        mon = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    int top = r.bottom, height = 200;
    if (mon.bottom - r.bottom < 70) {
        top = r.bottom - 200;
    } else if (mon.bottom - r.bottom < 200) {
        height = mon.bottom - r.bottom;
    }
    s.dropList = nullptr;
    HWND dlg = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), ComboDropTemplate(), m_hWnd, DropProc,
                                            reinterpret_cast<LPARAM>(m_item->text));
    if (!dlg) return;
    s.dropWindow = dlg;
    ::SetWindowPos(dlg, HWND_TOPMOST, r.left, top, r.right - r.left, height, SWP_NOACTIVATE);
    ::ShowWindow(dlg, SW_SHOWNOACTIVATE);
    if (s.dropList) ::SetFocus(s.dropList);
}

LRESULT CAppPanelComboBox::OnLButtonDown(UINT, WPARAM, LPARAM l, BOOL&) {
    PBoxEditStateRecord& s = PBoxEditState;
    m_closeOnRelease = 1;
    if (PanelCalculatorOpen()) return 0;
    DbcsCopy(s.comboHistoryKey, sizeof s.comboHistoryKey, m_item->label);
    if (!m_item->enabled) return 0;
    RECT rc = GetClientRect();
    const int x = (short)LOWORD(l);
    if (x < rc.right - kComboButtonWidth) {
        if (RunItemCalculator() >= 0) return 0;
        const char* current = m_item->listText;
        if (m_twin && TwinItem(m_twin)) current = TwinItem(m_twin)->listText;
        DbcsCopy(s.comboBuffer, sizeof s.comboBuffer, current);
        HWND ed = ::CreateWindowExA(0, "EDIT", s.comboBuffer, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 1, 1,
                                    rc.right - kComboButtonWidth - 1, rc.bottom - 1, m_hWnd, (HMENU)(INT_PTR)kEditorId,
                                    ::GetModuleHandleA(nullptr), nullptr);
        if (!ed) return 0;
        ::SendMessageA(ed, WM_SETFONT, (WPARAM)MediumFont(), 0);
        Subclass(ed, ComboEditorProc);
        ::SendMessageA(ed, EM_LIMITTEXT, 255, 0);
        ::SetFocus(ed);
        ::SendMessageA(ed, EM_SETSEL, 0, -1);
        s.openEditor = ed;
        m_closeOnRelease = 0;
    } else {
        OpenDropDown();
        m_closeOnRelease = 0;
    }
    return 0;
}

LRESULT CAppPanelComboBox::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (!m_item->enabled) return 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (m_closeOnRelease) CloseRPMenu();
    return 0;
}

void CAppPanelComboBox::TakeText(const char* text) {
    ::SetWindowTextA(m_hWnd, text);
    DbcsCopy(m_item->listText, sizeof m_item->listText, text);
    Repaint();
    if (PBoxItem* t = TwinItem(m_twin)) {
        DbcsCopy(t->listText, sizeof t->listText, text);
        ::SetWindowTextA(m_twin->m_hWnd, text);
        m_twin->Repaint();
    }
}

LRESULT CAppPanelComboBox::OnConfirmed(UINT, WPARAM, LPARAM, BOOL&) {
    Confirm(PBoxEditState.comboBuffer);
    return 0;
}

LRESULT CAppPanelComboBox::OnCancelled(UINT, WPARAM, LPARAM, BOOL&) {
    PBoxEditStateRecord& s = PBoxEditState;
    ::SetWindowTextA(m_hWnd, s.comboBuffer);
    DbcsCopy(m_item->listText, sizeof m_item->listText, s.comboBuffer);
    Repaint();
    return 0;
}

LRESULT CAppPanelComboBox::OnCommand(UINT, WPARAM w, LPARAM, BOOL& handled) {
    PBoxEditStateRecord& s = PBoxEditState;
    if (!TakeHistoryEntry(w, s.comboBuffer, sizeof s.comboBuffer)) handled = FALSE;
    return 0;
}

LRESULT CAppPanelComboBox::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (PanelCalculatorOpen()) return 0;
    PanelShowHistoryMenu(m_item->label, m_hWnd);
    return 0;
}

// --- Selection list --------------------------------------------------------------------------
void FillPBoxComboDrop(HWND list, const char* text) {
    if (!text) return;
    for (const std::string& f : SplitPanelFields(text))
        ::SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)f.c_str());
}

void FillPBoxListItem(HWND list, const char* text) {
    if (!text) return;
    int mode = 0;
    const char* rest = text;
    if (text[0] == '\n') {
        const char* end = strchr(text + 1, '\n');
        if (end) {
            mode = atoi(std::string(text + 1, end).c_str());
            rest = end + 1;
        }
    }
    CCsvParser csv(rest);
    int widest = 0;
    HDC dc = ::GetDC(list);
    HGDIOBJ old = ::SelectObject(dc, (HFONT)::SendMessageA(list, WM_GETFONT, 0, 0));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    for (size_t i = 0; i < csv.GetCount(); ++i) {
        const std::string& f = csv[i];
        ::SendMessageA(list, CB_ADDSTRING, 0, (LPARAM)f.c_str());
        if (mode == 1 && f.compare(0, 3, "***") == 0) continue;
        SIZE sz = {};
        ::GetTextExtentPoint32A(dc, f.c_str(), (int)f.size(), &sz);
        if (sz.cx + tm.tmAveCharWidth > widest) widest = sz.cx + tm.tmAveCharWidth;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    if (mode >= 0)
        ::SendMessageA(list, CB_SETDROPPEDWIDTH,
                       widest + 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL), 0);
}

LRESULT CAppPanelComboList::OnCreate(UINT, WPARAM, LPARAM l, BOOL& handled) {
    // Inside the pop-up the window names the pop-up's copy of the page.
    SetWords(m_hWnd, m_page, m_index);
    const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(l);
    m_client = {0, 0, cs->cx, cs->cy};
    DWORD style = WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST;
    if (m_item->state != 0) style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    HWND list = ::CreateWindowExA(0, "COMBOBOX", "", style, 0, 0, cs->cx, 200, m_hWnd, (HMENU)(INT_PTR)kListControlId,
                                  ::GetModuleHandleA(nullptr), nullptr);
    m_item->listWindow = list;
    if (list) {
        ::SendMessageA(list, WM_SETFONT, (WPARAM)(PanelFontLarge ? PanelFontLarge : PBoxFont()), 0);
        ::ShowWindow(list, SW_SHOW);
        FillPBoxListItem(list, m_item->text);
        ::SendMessageA(list, CB_SETCURSEL, m_item->value, 0);
    }
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelComboList::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_item->listWindow && ::IsWindow(m_item->listWindow)) ::DestroyWindow(m_item->listWindow);
    if (PBoxEditState.openList == m_item->listWindow) PBoxEditState.openList = nullptr;
    m_item->listWindow = nullptr;
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelComboList::OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    handled = FALSE;
    return 0;
}

LRESULT CAppPanelComboList::OnMeasureItem(UINT, WPARAM, LPARAM l, BOOL&) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    mi->itemHeight = 14;
    mi->itemWidth = m_client.right;
    return 1;
}

LRESULT CAppPanelComboList::OnDrawItem(UINT, WPARAM, LPARAM l, BOOL& handled) {
    if (m_item->state == 0) {
        handled = FALSE;
        return 0;
    }
    // The module draws its own entries.
    using DrawRoutine = void(__cdecl*)(DRAWITEMSTRUCT*);
    reinterpret_cast<DrawRoutine>((intptr_t)m_item->state)(reinterpret_cast<DRAWITEMSTRUCT*>(l));
    return 1;
}

LRESULT CAppPanelComboList::OnCommand(UINT, WPARAM w, LPARAM, BOOL& handled) {
    if (LOWORD(w) != kListControlId) {
        handled = FALSE;
        return 0;
    }
    if (PanelCalculatorOpen()) return 0;
    HWND list = m_item->listWindow;
    switch (HIWORD(w)) {
    case CBN_DROPDOWN: PBoxEditState.openList = list; break;
    case CBN_CLOSEUP: {
        const int sel = list ? (int)::SendMessageA(list, CB_GETCURSEL, 0, 0) : -1;
        if (sel >= 0) {
            m_item->value = sel;
            PostPanelEvent(PANEL_SUB_LIST, m_item->id, sel);
            if (PBoxItem* t = TwinItem(m_twin)) {
                t->value = sel;
                if (t->listWindow) ::SendMessageA(t->listWindow, CB_SETCURSEL, sel, 0);
                m_twin->Repaint();
            }
            CloseRPMenu();
        }
        PBoxEditState.openList = nullptr;
        FocusView();
        break;
    }
    default: break;
    }
    return 0;
}
