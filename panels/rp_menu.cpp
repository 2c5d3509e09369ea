#include "panels/rp_menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/cmd_request.h"
#include "base/dbcs.h"
#include "base/monitor.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/undo_services.h"
#include "command/wait_loop.h"
#include "panels/app_panel.h"
#include "panels/panel_windows.h"
#include "panels/pbox_input_items.h"

RPMenuStateRecord RPMenuState;
RPMenuItem RPMenuItemTable[kRPMenuMaxItems];
RPMenuLayoutRecord RPMenuLayout;

namespace {
constexpr const char* kPopupClass = "MyRPitem";
constexpr const char* kStripClass = "MyRTPitem";
constexpr const char* kEntryClass = "RPMENU";
constexpr int kTopMargin = 5, kCharWidth = 8, kEntryHeight = 14, kSeparatorHeight = 7, kStripWidth = 5;
HWND g_openedSubmenu = nullptr;

COLORREF PanelColor() { return Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE); }

struct SnapRow {
    int id;
    const char* text;
    long bit;
};
const SnapRow kSnapButtons[] = {{3410, "端点", 0x20}, {3411, "交点", 0x40}, {3404, "中点", 0x04},
                                {3405, "任意", 0x08}, {3418, "円心", 0x10}, {3412, "線上", 0x80}};
const struct {
    int id;
    long bit;
} kSnapBits[] = {{3402, 0x01}, {3403, 0x02}, {3407, 0x02}, {3404, 0x04}, {3405, 0x08},
                 {3418, 0x10}, {3410, 0x20}, {3411, 0x40}, {3412, 0x80}};

long SnapBitOf(int id) {
    for (const auto& s : kSnapBits)
        if (s.id == id) return s.bit;
    return 0;
}

void Line(HDC dc, COLORREF c, int x1, int y1, int x2, int y2) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void PaintEntry(HWND w, HDC dc, bool highlighted) {
    RECT r;
    ::GetClientRect(w, &r);
    const int kind = ::GetWindowLongA(w, 12);
    HBRUSH b = ::CreateSolidBrush(highlighted && kind != -1 ? ::GetSysColor(COLOR_HIGHLIGHT) : PanelColor());
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
    if (kind == -1) {
        Line(dc, ::GetSysColor(COLOR_3DDKSHADOW), r.left + 1, r.bottom / 2, r.right - 1, r.bottom / 2);
        Line(dc, ::GetSysColor(COLOR_3DHILIGHT), r.left + 1, r.bottom / 2 + 1, r.right - 1, r.bottom / 2 + 1);
        return;
    }
    HGDIOBJ old = ::SelectObject(dc, PBoxFont());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    char text[256] = {};
    const int len = ::GetWindowTextA(w, text, sizeof text);
    int n = std::min(len, (int)(r.right / avg));
    const int width = r.right - r.left;
    ::TextOutA(dc, r.left + width / 2 - (len / 2) * avg - avg / 2, r.bottom / 2 - tm.tmHeight / 2, text, n);
    ::SelectObject(dc, old);
    if (kind == -2) {
        HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
        HGDIOBJ op = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        const int h = r.bottom;
        POINT tri[3] = {{r.right - 3, h / 2 - 1}, {r.right - 8, h / 2 - 5}, {r.right - 8, h / 2 + 3}};
        ::Polygon(dc, tri, 3);
        ::SelectObject(dc, ob);
        ::SelectObject(dc, op);
    }
}

LRESULT CALLBACK EntryProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_CREATE: g_openedSubmenu = nullptr; return 0;
    case WM_DESTROY:
        g_openedSubmenu = nullptr;
        if (::GetWindowLongA(w, 12) == -2) {
            HWND sub = (HWND)(LONG_PTR)::GetWindowLongA(w, 8);
            if (sub && ::IsWindow(sub)) ::DestroyWindow(sub);
        }
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        PaintEntry(w, dc, false);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (PanelCalculatorOpen() || ::GetWindowLongA(w, 12) == -1) return 0;
        if (::GetCapture() != w) {
            ::SetCapture(w);
            HDC dc = ::GetDC(w);
            PaintEntry(w, dc, true);
            ::ReleaseDC(w, dc);
            const bool submenu = ::GetWindowLongA(w, 12) == -2;
            if (!g_openedSubmenu && submenu) {
                HWND sub = (HWND)(LONG_PTR)::GetWindowLongA(w, 8);
                if (sub && ::IsWindow(sub)) {
                    RECT r;
                    ::GetWindowRect(w, &r);
                    int monRight = 0, monBottom = 0;
                    GetMonitorExtent(r.right, r.top, &monRight, &monBottom);
                    const int x = r.right + 137 < monRight ? r.right + 5 : r.left - 117;
                    ::SetWindowPos(sub, HWND_TOPMOST, x, r.top - 2, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
                    g_openedSubmenu = sub;
                }
            } else if (g_openedSubmenu && !submenu && ::GetWindowLongA(w, 4) != -1) {
                ::ShowWindow(g_openedSubmenu, SW_HIDE);
                g_openedSubmenu = nullptr;
            }
        } else {
            POINT pt;
            ::GetCursorPos(&pt);
            RECT r;
            ::GetWindowRect(w, &r);
            if (!::PtInRect(&r, pt)) {
                ::ReleaseCapture();
                ::InvalidateRect(w, nullptr, FALSE);
            }
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        if (PanelCalculatorOpen()) return 0;
        g_openedSubmenu = nullptr;
        const int id = ::GetWindowLongA(w, 12);
        if (id == -2) return 0;
        if (::GetCapture() == w) ::ReleaseCapture();
        CloseRPMenu();
        if (id != -1)
            if (HWND f = CmdMainFrame()) ::PostMessageA(f, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        return 0;
    }
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

void ClosePopupNow(HWND w) {
    ::ShowWindow(w, SW_HIDE);
    if (HWND host = PBoxHostWindow())
        if (::IsWindowVisible(host))
            for (HWND c = ::GetWindow(host, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                ::InvalidateRect(c, nullptr, TRUE);
                ::UpdateWindow(c);
            }
    // Only the copy goes: a page a module opened itself keeps its windows.
    ClosePBoxPage(4, 1);
    RPMenuState.windowOpen = 0;
    RPMenuState.shown = 0;
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(w, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    for (HWND c : children)
        if (::IsWindow(c)) ::DestroyWindow(c);
    RPMenuLayout.entryCount = RPMenuLayout.stripCount = 0;
    if (HWND f = CmdMainFrame()) ::UpdateWindow(f);
}

LRESULT CALLBACK PopupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r;
        ::GetClientRect(w, &r);
        HBRUSH b = ::CreateSolidBrush(PanelColor());
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
        const COLORREF dk = ::GetSysColor(COLOR_3DDKSHADOW), hi = ::GetSysColor(COLOR_3DHILIGHT);
        Line(dc, dk, r.right - 2, 1, r.right - 2, r.bottom - 1);
        Line(dc, dk, r.right - 2, r.bottom - 1, 1, r.bottom - 1);
        Line(dc, hi, r.right - 2, 1, 1, 1);
        Line(dc, hi, 1, 1, 1, r.bottom - 2);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        if (PanelCalculatorOpen()) return MA_NOACTIVATEANDEAT;
        return MA_NOACTIVATE;
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        if (id == 1 || id == 2) {
            if (PBoxEditState.openEditor) {
                ::PostMessageA(PBoxEditState.openEditor, WM_COMMAND, id == 1 ? 13 : 27, 0);
                return 1;
            }
            return 0;
        }
        const long bit = SnapBitOf(id);
        if (bit) {
            long& flags = Running().snapModeFlags;
            if (flags == bit) return 0;  // the last active mode stays on
            flags ^= bit;
            if (flags == 0) flags = 255;
            if (HostHooks().focusActiveView) HostHooks().focusActiveView();
            SyncSnapButtons();
            for (const SnapRow& s : kSnapButtons)
                if (HWND b = ::GetDlgItem(w, s.id)) {
                    ::SetWindowLongA(b, 4, (flags & s.bit) ? 1 : 0);
                    ::InvalidateRect(b, nullptr, TRUE);
                }
            return 0;
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        if (PanelCalculatorOpen()) break;
        POINT pt;
        ::GetCursorPos(&pt);
        RECT r;
        ::GetWindowRect(w, &r);
        if (!::PtInRect(&r, pt)) ::PostMessageA(w, kRPMenuClosedMessage, 0, 0);
        break;
    }
    case kRPMenuClosedMessage: ClosePopupNow(w); return 0;
    case WM_NCDESTROY:
        if (w == RPMenuLayout.popupWindow) RPMenuLayout.popupWindow = nullptr;
        break;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK StripProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT r;
        ::GetClientRect(w, &r);
        HBRUSH b = ::CreateSolidBrush(PanelColor());
        ::FillRect(dc, &r, b);
        ::DeleteObject(b);
        Line(dc, ::GetSysColor(COLOR_3DDKSHADOW), 2, 0, 2, r.bottom - 3);
        Line(dc, ::GetSysColor(COLOR_3DHILIGHT), 3, 0, 3, r.bottom - 3);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM: return 1;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

bool RegisterOne(HINSTANCE instance, const char* name, WNDPROC proc, UINT style, int extra, HBRUSH background) {
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, name, &existing)) return true;
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extra;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0;
}

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

void Widen(const char* text) {
    RPMenuLayoutRecord& L = RPMenuLayout;
    const int want = kCharWidth * (int)strlen(text ? text : "");
    if (want <= L.columnWidth) return;
    L.columnWidth = want;
    const int last = std::min(L.entryCount, 100);
    for (int i = std::max(L.firstResizeEntry, 0); i < last; ++i)
        if (HWND e = L.entryWindows[i]) {
            RECT r;
            ::GetWindowRect(e, &r);
            ::SetWindowPos(e, nullptr, 0, 0, L.columnWidth, r.bottom - r.top,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
}

bool AnyTableEntry() {
    for (const RPMenuItem& it : RPMenuItemTable)
        if (it.kind == 1 || it.kind == 2) return true;
    return false;
}

int RightMenuMode() {
    const CCadSystemSettings* s = GetCadSystemSettings();
    return s ? s->m_ConfigData.Menu.RightMenuMode : 1;
}
}  // namespace

RPMenuLinks& RPMenuHost() {
    static RPMenuLinks links;
    return links;
}

int RegisterRPMenuEntryClass(HINSTANCE instance) {
    return RegisterOne(instance, kEntryClass, EntryProc, CS_HREDRAW | CS_VREDRAW, 16, nullptr) ? 1 : 0;
}

int RegisterRPMenuClasses(HINSTANCE instance) {
    HBRUSH grey = (HBRUSH)::GetStockObject(GRAY_BRUSH);
    if (!RegisterOne(instance, kPopupClass, PopupProc, CS_HREDRAW | CS_VREDRAW | CS_SAVEBITS, 8, grey)) return 0;
    return RegisterOne(instance, kStripClass, StripProc, CS_HREDRAW | CS_VREDRAW | CS_SAVEBITS, 8, grey) ? 1 : 0;
}

int UnregisterRPMenuClasses(HINSTANCE instance) {
    ::UnregisterClassA(kPopupClass, instance);
    ::UnregisterClassA(kStripClass, instance);
    return 1;
}

int CreateRPMenuWindow(HWND owner, HINSTANCE instance) {
    if (!instance) instance = Instance();
    RegisterRPMenuClasses(instance);
    RegisterRPMenuEntryClass(instance);
    if (!RPMenuLayout.popupWindow)
        RPMenuLayout.popupWindow =
            ::CreateWindowExA(0, kPopupClass, nullptr, WS_POPUP, 0, 0, 132, 155, owner, nullptr, instance, nullptr);
    if (RPMenuLayout.popupWindow) ::ShowWindow(RPMenuLayout.popupWindow, SW_HIDE);
    return 1;
}

HWND RPMenuWindow() { return RPMenuLayout.popupWindow; }

int CloseRPMenu() {
    HWND popup = RPMenuLayout.popupWindow;
    if (RPMenuState.windowOpen != 1 || !popup) return 0;
    ::ShowWindow(popup, SW_HIDE);
    ::PostMessageA(popup, kRPMenuClosedMessage, 0, 0);
    return 1;
}

int AppendRPMenuItem(HANDLE target, UINT flags, UINT_PTR idOrWindow, const char* text) {
    RPMenuLayoutRecord& L = RPMenuLayout;
    if (!text) text = "";
    if (RPMenuState.windowOpen != 1) {
        UINT f = flags & (MF_POPUP | MF_MENUBARBREAK | MF_MENUBREAK | MF_SEPARATOR | MF_GRAYED);
        return ::AppendMenuA((HMENU)target, f | MF_STRING, idOrWindow, (flags & MF_SEPARATOR) ? nullptr : text) ? 1 : 0;
    }
    HWND popup = L.popupWindow;
    if (!popup) return 0;
    if (flags & MF_MENUBARBREAK) {
        HWND strip = ::CreateWindowExA(0, kStripClass, nullptr, WS_CHILD | WS_VISIBLE, L.columnX + L.columnWidth, 2,
                                       kStripWidth, L.nextY + 2, popup, nullptr, Instance(), nullptr);
        if (L.stripCount < 100) L.stripWindows[L.stripCount++] = strip;
        L.columnX += L.columnWidth + kStripWidth;
        L.nextY = kTopMargin;
        L.entryCount = 0;
        L.columnWidth = 0;
        L.bottom = std::max(L.bottom, kTopMargin);
    } else {
        Widen(text);
    }
    HWND parent = popup;
    int mark = 0;
    if (!(flags & MF_POPUP) && L.buildingSubmenu) {
        parent = (HWND)target;
        mark = -1;
    }
    int height = kEntryHeight, advance = kEntryHeight, word12;
    if (flags & MF_POPUP) {
        parent = popup;
        mark = 0;
        word12 = -2;
    } else if (flags & MF_SEPARATOR) {
        height = kSeparatorHeight;
        advance = kSeparatorHeight + 1;
        word12 = -1;
    } else {
        word12 = (int)idOrWindow;
    }
    HWND e = ::CreateWindowExA(0, kEntryClass, "", WS_CHILD, L.columnX, L.nextY, L.columnWidth, height, parent, nullptr,
                               Instance(), nullptr);
    if (!e) return 0;
    ::SetWindowLongA(e, 4, mark);
    ::SetWindowLongA(e, 12, word12);
    if (flags & MF_POPUP) ::SetWindowLongA(e, 8, (LONG)idOrWindow);
    L.nextY += advance;
    ::SetWindowTextA(e, text);
    ::ShowWindow(e, SW_SHOWNA);
    // Only the first hundred entries of a column are kept for widening;
    // further ones are placed all the same.
    if (L.entryCount < 100) L.entryWindows[L.entryCount] = e;
    L.bottom = std::max(L.bottom, L.nextY);
    ++L.entryCount;
    return 1;
}

void BuildRPMenu(HWND view, LPARAM point, int force) {
    RPMenuLayoutRecord& L = RPMenuLayout;
    RPMenuStateRecord& S = RPMenuState;
    const int mode = RightMenuMode();
    if (mode == 0) return;
    if (mode == 1) S.itemsEnabled = 0;
    HWND frame = CmdMainFrame();
    if (S.rightClickOk == 1 && force != 1) {
        if (frame) ::PostMessageA(frame, WM_COMMAND, 1219, 0);
        return;
    }
    L.entryCount = 0;
    L.stripCount = 0;
    L.bottom = L.nextY;
    HWND host = PBoxHostWindow();
    if (host && ::IsWindowVisible(host) && Running().iRMenuFg != 1) {
        HMENU menu = BuildRPMenuPlain();
        POINT pt = {(short)LOWORD(point), (short)HIWORD(point) - 5};
        ::ClientToScreen(view, &pt);
        ::TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, frame, nullptr);
        if (L.historyMenu) ::DestroyMenu(L.historyMenu);
        ::DestroyMenu(menu);
        L.historyMenu = L.plainMenu = nullptr;
        return;
    }
    HWND popup = L.popupWindow;
    if (!popup) return;
    if ((CmdInput().wantedMask & CMD_WANT_TRACK) && HostHooks().updateRubberBandErase)
        HostHooks().updateRubberBandErase();
    L.columnWidth = 0;
    L.nextY = L.bottom = kTopMargin;
    S.windowOpen = 1;
    S.shown = 1;
    PBoxBuildState.floating = 1;
    int maxTop = 0;
    if (S.itemsEnabled == 1 && BuildPBoxPage(popup, &maxTop, 1)) {
        int right = 0;
        bool first = true;
        for (HWND c = ::GetWindow(popup, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            ::SetWindowPos(c, nullptr, 0, 0, 0, 0,
                           SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
            if (first) {
                first = false;
                continue;
            }
            RECT r;
            ::GetWindowRect(c, &r);
            ::MapWindowPoints(nullptr, popup, (POINT*)&r, 2);
            right = std::max(right, (int)r.right);
        }
        L.bottom = std::max(kRPMenuMinHeight, maxTop + 32);
        L.columnX = right > 197 ? right + 3 : 197;
    } else {
        L.bottom = 0;
        L.columnX = 2;
    }
    PBoxBuildState.floating = 0;
    POINT cursor;
    ::GetCursorPos(&cursor);
    const UINT breakFlag = (IsAnyCmdRunning() == 1 && AnyTableEntry() && S.itemsEnabled == 1) ? MF_MENUBARBREAK : 0;
    const bool english = Running().LANGUAGE != 0;
    if (!(S.hideFlags & 4)) {
        HWND sub =
            ::CreateWindowExA(0, kPopupClass, nullptr, WS_POPUP, 0, 0, 132, 155, view, nullptr, Instance(), nullptr);
        AppendRPMenuItem(popup, breakFlag | MF_POPUP, (UINT_PTR)sub, english ? "Stack Command" : "コマンド履歴");
        L.saved[0] = L.columnX;
        L.saved[1] = L.nextY;
        L.saved[2] = L.bottom;
        L.saved[3] = L.columnWidth;
        L.saved[4] = L.entryCount;
        L.columnX = L.nextY = 2;
        L.bottom = 0;
        L.columnWidth = 0;
        L.firstResizeEntry = L.entryCount;
        L.buildingSubmenu = 1;
        if (RPMenuHost().appendRecentCommands && sub) RPMenuHost().appendRecentCommands(sub);
        if (sub)
            ::SetWindowPos(sub, nullptr, 0, 0, L.columnX + L.columnWidth + (L.columnWidth ? 5 : 0), L.bottom + 4,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        L.buildingSubmenu = 0;
        L.columnX = L.saved[0];
        L.nextY = L.saved[1];
        L.bottom = L.saved[2];
        L.columnWidth = L.saved[3];
        L.entryCount = L.saved[4];
        L.firstResizeEntry = 0;
        AppendRPMenuItem(popup, MF_SEPARATOR, 0, "");
    }
    if (IsAnyCmdRunning()) {
        if (!(S.hideFlags & 1)) AppendRPMenuItem(popup, 0, 1219, english ? "OK - [ ENTER ]" : "完了 - [ ENTER ]");
        if (!(S.hideFlags & 2)) AppendRPMenuItem(popup, 0, 1211, english ? "Cancel - [  ESC  ]" : "取消 - [  ESC  ]");
        AppendRPMenuItem(popup, 0, 1305, english ? "End of COMMAND" : "コマンド終了");
        AppendRPMenuItem(popup, MF_SEPARATOR, 0, "");
    }
    if (!(S.hideFlags & 8)) AppendRPMenuFileItems(popup);
    if (Running().RMENU_SNAP == 1) {
        AppendRPMenuItem(popup, MF_SEPARATOR, 0, "");
        for (int k = 0; k < 6; ++k) {
            const SnapRow& s = kSnapButtons[k];
            HWND b = ::CreateWindowExA(0, "NPush2", s.text, WS_CHILD, L.columnX + (k % 3) * 41, L.nextY, 41, 19, popup,
                                       (HMENU)(INT_PTR)s.id, Instance(), nullptr);
            if (b) ::ShowWindow(b, SW_SHOWNA);
            if (k % 3 == 2) {
                L.nextY += 20;
                L.bottom = std::max(L.bottom, L.nextY);
            }
        }
        const long flags = Running().snapModeFlags;
        for (const auto& s : kSnapBits)
            if (HWND b = ::GetDlgItem(popup, s.id)) ::SetWindowLongA(b, 4, (flags & s.bit) ? 1 : 0);
        ::InvalidateRect(popup, nullptr, TRUE);
        ::UpdateWindow(popup);
    }
    const int W = L.columnX + L.columnWidth + (L.columnWidth ? 5 : 0), H = L.bottom + 4;
    RECT mon;
    if (!GetMonitorRect(cursor.x, cursor.y, &mon, 0))
        mon = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    int x = cursor.x + W / 2 > mon.right ? mon.right - W : std::max((int)(cursor.x - W / 2), (int)mon.left);
    int y = cursor.y + H > mon.bottom ? mon.bottom - H - 2 : cursor.y - 2;
    ::SetWindowPos(popup, HWND_TOPMOST, x, y, W, H, SWP_NOACTIVATE);
    const int stripHeight = std::max(L.bottom, kRPMenuMinHeight);
    for (int i = 0; i < L.stripCount; ++i)
        if (L.stripWindows[i])
            ::SetWindowPos(L.stripWindows[i], nullptr, 0, 0, kStripWidth, stripHeight,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(popup, SW_SHOWNOACTIVATE);
    if (frame) ::SetActiveWindow(frame);
}

HMENU BuildRPMenuPlain() {
    RPMenuLayoutRecord& L = RPMenuLayout;
    RPMenuStateRecord& S = RPMenuState;
    L.historyMenu = nullptr;
    L.plainMenu = ::CreatePopupMenu();
    UINT flags = 0;
    if (IsAnyCmdRunning() == 1 && AnyTableEntry() && S.itemsEnabled == 1) {
        for (int i = 0; i < kRPMenuMaxItems; ++i) {
            const RPMenuItem& it = RPMenuItemTable[i];
            if (it.kind == 1) {
                ::AppendMenuA(L.plainMenu, MF_STRING | flags, RPMENU_BASE_ID + i, it.text);
                flags = 0;
            } else if (it.kind == 2) {
                ::AppendMenuA(L.plainMenu, MF_SEPARATOR, 0, nullptr);
            } else if (it.kind == 4) {
                flags = MF_MENUBREAK;
            }
        }
        flags = MF_MENUBARBREAK;
    }
    if (!(S.hideFlags & 4)) {
        L.historyMenu = ::CreatePopupMenu();
        ::AppendMenuA(L.plainMenu, flags | MF_POPUP, (UINT_PTR)L.historyMenu, "コマンド履歴");
        if (RPMenuHost().appendRecentCommands) RPMenuHost().appendRecentCommands(L.historyMenu);
        ::AppendMenuA(L.plainMenu, MF_SEPARATOR, 0, nullptr);
    }
    if (IsAnyCmdRunning()) {
        if (!(S.hideFlags & 1)) ::AppendMenuA(L.plainMenu, MF_STRING, 1219, "完了 - [ ENTER ]");
        if (!(S.hideFlags & 2)) ::AppendMenuA(L.plainMenu, MF_STRING, 1211, "取消 - [  ESC  ]");
        ::AppendMenuA(L.plainMenu, MF_STRING, 1305, "コマンド終了");
        ::AppendMenuA(L.plainMenu, MF_SEPARATOR, 0, nullptr);
    }
    if (!(S.hideFlags & 8)) AppendRPMenuFileItems(L.plainMenu);
    ::EnableMenuItem(L.plainMenu, 1209, MF_BYCOMMAND | (CanUndo() ? MF_ENABLED : MF_GRAYED));
    ::EnableMenuItem(L.plainMenu, 1208, MF_BYCOMMAND | (CanRedo() ? MF_ENABLED : MF_GRAYED));
    return L.plainMenu;
}

void ResetRPMenuItems(int enabled) {
    RPMenuState.itemsEnabled = enabled;
    for (RPMenuItem& it : RPMenuItemTable)
        it.kind = 0;
}

int ClearRPMenuItems() {
    for (RPMenuItem& it : RPMenuItemTable) {
        it.text[0] = '\0';
        it.id = 0;
        it.kind = 0;
    }
    return 1;
}

int EnableRPMenuItems(WPARAM, LPARAM use) {
    RPMenuState.itemsEnabled = use == 1 ? 1 : 0;
    return 1;
}

int AddRPMenuItem(WPARAM, const void* request) {
    if (!request) return 0;
    const auto* req = static_cast<const CmdRequest*>(request);
    for (RPMenuItem& it : RPMenuItemTable) {
        if (it.kind != 0) continue;
        it.kind = req->panelKind;
        if (it.kind == 1) {
            it.id = req->panelExtra;
            const char* text = reinterpret_cast<const char*>(req->w.text);
            // The field holds 79 bytes and its terminator: a longer text is
            // cut on a character boundary.
            DbcsCopy(it.text, sizeof it.text, text ? text : "");
        }
        return 1;
    }
    return 0;
}

int SetRPMenuRightClickOk(int on) {
    RPMenuState.rightClickOk = on;
    return 1;
}

int SetRPMenuHideFlags(WPARAM, int bits) {
    RPMenuState.hideFlags = bits;
    return 1;
}

int RPMenuItemCount() {
    int n = 0;
    for (const RPMenuItem& it : RPMenuItemTable)
        if (it.kind != 0) ++n;
    return n;
}

int RaiseRPMenuItemEvent(int index) {
    if (index < 0 || index >= kRPMenuMaxItems) return 0;
    InputRecord& in = CmdInput();
    in.panelKind = 1;
    in.panelValue = RPMenuItemTable[index].id;
    in.event = CMD_EV_PANEL;
    return 1;
}
