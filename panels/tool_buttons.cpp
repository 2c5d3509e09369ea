#include "panels/tool_buttons.h"

#include <cstring>

#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "panels/button_faces.h"
#include "panels/rp_menu.h"

HFONT PanelFontSmall = nullptr;
HFONT PanelFontMedium = nullptr;
HFONT PanelFontLarge = nullptr;
int CmdPanelLowRes = 0;

namespace {
int g_buttonType = 0;        // PANEL_BUTTON_TYPE when the classes were registered
UINT_PTR g_repeatTimer = 0;  // the one edge button that repeats

enum Kind { kPPush, kNPush, kNPush2, kNPush3, kNPushCmdMenu, kScBtn };

const char* FaceName() { return Running().SYSTEMFONT[0] ? Running().SYSTEMFONT : "ＭＳ ゴシック"; }

HFONT MakeFont(int height, int weight = 0) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, FaceName(), LF_FACESIZE);
    return ::CreateFontIndirectA(&lf);
}

void Fill(HDC dc, const RECT& r, COLORREF c) {
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
}

void Line(HDC dc, COLORREF c, int x1, int y1, int x2, int y2) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, c);
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void Frame3D(HDC dc, const RECT& r, bool sunken) {
    const COLORREF hi = ::GetSysColor(COLOR_3DHILIGHT), dk = ::GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF lt = sunken ? dk : hi, rb = sunken ? hi : dk;
    Line(dc, lt, r.left, r.bottom - 1, r.left, r.top);
    Line(dc, lt, r.left, r.top, r.right - 1, r.top);
    Line(dc, rb, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    Line(dc, rb, r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
}

COLORREF RowBkgnd(int row) { return Running().btnBkgnd[row - 1]; }

void FocusMark(HDC dc, HWND w, int width, int height) {
    if (::GetFocus() != w) return;
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(127, 127, 127));
    HGDIOBJ op = ::SelectObject(dc, pen);
    HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, 5, 5, width - 5, height - 5);
    ::SelectObject(dc, ob);
    ::SelectObject(dc, op);
    ::DeleteObject(pen);
}

// Caption with a font of `height` at x = (w - n*avg)/2 + dx, y centred + dy.
void Caption(HDC dc, HWND w, int fontHeight, int weight, int width, int height, int dxHalfAvg, int dx, int dy,
             bool alwaysWindowText) {
    HFONT font = MakeFont(fontHeight, weight);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    char text[256] = {};
    int n = ::GetWindowTextA(w, text, 256);
    if (n > width / avg) n = width / avg;
    ::SetBkMode(dc, TRANSPARENT);
    const bool grey = !alwaysWindowText && !::IsWindowEnabled(w);
    ::SetTextColor(dc, ::GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    ::TextOutA(dc, (width - n * avg) / 2 - dxHalfAvg * avg / 2 + dx, height / 2 - tm.tmHeight / 2 + dy, text, n);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
}

int BevelFontHeight(int h) { return h < 18 ? h - 2 : 16; }

void PaintFace(HWND w, HDC dc, Kind kind) {
    RECT r;
    ::GetClientRect(w, &r);
    const int W = r.right, H = r.bottom;
    const bool pressed = ::GetWindowLongA(w, 0) != 0 || (kind != kScBtn && ::GetWindowLongA(w, 4) != 0);
    switch (kind) {
    case kPPush:
        Fill(dc, r, ::GetSysColor(COLOR_BTNFACE));
        Frame3D(dc, r, pressed);
        Caption(dc, w, BevelFontHeight(H), 0, W, H, 1, 1, 0, true);
        break;
    case kNPush:
        if (g_buttonType != 1) {
            DrawGradientPushButton(dc, w);
            return;
        }
        Fill(dc, r, RowBkgnd(pressed ? 2 : 4));
        Frame3D(dc, r, pressed);
        Caption(dc, w, BevelFontHeight(H), 0, W, H, 0, 0, 0, false);
        break;
    case kNPush2: {
        if (g_buttonType != 1) {
            DrawGradientPushButton(dc, w);
            return;
        }
        for (int y = 0; y < 3; ++y)
            Line(dc, 0, 0, y, W, y);
        RECT face = {0, 3, W, H};
        Fill(dc, face, RowBkgnd(pressed ? 2 : 4));
        if (pressed) Line(dc, RowBkgnd(5), 1, 1, W - 2, 1);
        Frame3D(dc, face, pressed);
        Caption(dc, w, BevelFontHeight(H - 3), 0, W, H, 1, 1, 2, false);
        break;
    }
    case kNPush3: {
        for (int x = 0; x < 3; ++x)
            Line(dc, 0, x, 0, x, H);
        RECT face = {3, 0, W, H};
        Fill(dc, face, RowBkgnd(pressed ? 2 : 4));
        if (pressed) {
            RECT band = {1, 1, 3, H - 1};
            Fill(dc, band, RowBkgnd(5));
        }
        Frame3D(dc, r, pressed);
        const int marker = ::GetWindowLongA(w, 8);
        if (marker == 1 || marker == 2) {
            const COLORREF c = marker == 1 ? RGB(0, 255, 255) : RGB(0, 0, 255);
            HBRUSH b = ::CreateSolidBrush(c);
            HPEN p = ::CreatePen(PS_SOLID, 1, c);
            HGDIOBJ ob = ::SelectObject(dc, b), op = ::SelectObject(dc, p);
            POINT tri[3] = {{W - 2, H - 2}, {W - 2, H - 10}, {W - 10, H - 2}};
            ::Polygon(dc, tri, 3);
            ::SelectObject(dc, ob);
            ::SelectObject(dc, op);
            ::DeleteObject(b);
            ::DeleteObject(p);
        }
        Caption(dc, w, BevelFontHeight(H), 0, W, H, 1, 3, 0, false);
        break;
    }
    case kNPushCmdMenu:
        DrawButtonImagePair(pressed ? 1 : 0, dc, 0, 0, W);
        Caption(dc, w, H <= 17 ? H - 2 : 14, 700, W, H, 0, 3, 0, false);
        break;
    case kScBtn: break;
    }
    FocusMark(dc, w, W, H);
}

void Repaint(HWND w) {
    ::InvalidateRect(w, nullptr, TRUE);
    ::UpdateWindow(w);
}

void Hover(HWND w, LPARAM leaving) { ::SendMessageA(::GetParent(w), kButtonHoverNotify, ::GetDlgCtrlID(w), leaving); }

bool MainFrameEnabled() {
    HWND f = CmdMainFrame();
    return !f || ::IsWindowEnabled(f);
}

LRESULT TrackToolButton(HWND w, UINT m, WPARAM wp, LPARAM lp, Kind kind) {
    const int id = ::GetDlgCtrlID(w);
    switch (m) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (kind != kPPush && id >= 8000) {
            if (m == WM_SETFOCUS && HostHooks().focusActiveView) HostHooks().focusActiveView();
            break;
        }
        if ((HWND)wp == w && ::GetWindowLongA(w, 0)) ::SetWindowLongA(w, 0, 0);
        Repaint(w);
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        PaintFace(w, dc, kind);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_NCMOUSEMOVE:
        if (kind != kPPush) Hover(w, 1);
        break;
    case WM_KEYDOWN:
        if (wp == VK_SPACE) {
            ::SetWindowLongA(w, 0, 1);
            Repaint(w);
        }
        break;
    case WM_KEYUP:
        if (::GetWindowLongA(w, 0) == 1) {
            ::SetWindowLongA(w, 0, 0);
            Repaint(w);
            ::SendMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        }
        break;
    case WM_MOUSEMOVE: {
        POINT pt = {(short)LOWORD(lp), (short)HIWORD(lp)};
        ::ClientToScreen(w, &pt);
        const bool over = ::WindowFromPoint(pt) == w;
        const int s = ::GetWindowLongA(w, 0);
        if (over) {
            if (s == 2) {
                ::SetWindowLongA(w, 0, 1);
                Repaint(w);
            } else if (s == 0 && ::GetCapture() != w) {
                ::SetCapture(w);
                Hover(w, 0);
            }
        } else {
            if (s == 1) {
                ::SetWindowLongA(w, 0, 2);
                Repaint(w);
            } else if (s == 0 && ::GetCapture() == w) {
                ::ReleaseCapture();
                Hover(w, 1);
            }
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (kind == kPPush) {
            if (!MainFrameEnabled()) {
                char caption[20] = {};
                ::GetWindowTextA(::GetParent(w), caption, sizeof caption);
                const char* yesno = Running().YESNOMSG;
                const bool ok = (yesno[0] && strncmp(caption, yesno, 19) == 0) || strcmp(caption, "?") == 0;
                if (!ok) return 0;
            }
            ::SetFocus(w);
            ::SetCapture(w);
            ::SetWindowLongA(w, 0, 1);
            Repaint(w);
            return 0;
        }
        if ((kind == kNPush || kind == kNPushCmdMenu) && CloseRPMenu()) return 0;
        if (!MainFrameEnabled()) return 0;
        if (m == WM_RBUTTONDOWN) {
            ::SendMessageA(::GetParent(w), WM_RBUTTONDOWN, wp, lp);
            return 0;
        }
        ::SetCapture(w);
        ::SetWindowLongA(w, 0, 1);
        Repaint(w);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        if (m == WM_RBUTTONUP && kind != kPPush) return 0;
        if (::GetCapture() == w) ::ReleaseCapture();
        const int s = ::GetWindowLongA(w, 0);
        ::SetWindowLongA(w, 0, 0);
        Repaint(w);
        if (kind != kPPush) Hover(w, 1);
        if (s == 1) {
            const int cmd = (kind == kPPush && m == WM_RBUTTONUP) ? id + 1 : id;
            ::SendMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
        }
        return 0;
    }
    case WM_INITDIALOG:
        ::SetWindowLongA(w, 0, 0);
        ::SetWindowLongA(w, 4, 0);
        return 0;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK PPushProc(HWND h, UINT m, WPARAM w, LPARAM l) { return TrackToolButton(h, m, w, l, kPPush); }
LRESULT CALLBACK NPushProc(HWND h, UINT m, WPARAM w, LPARAM l) { return TrackToolButton(h, m, w, l, kNPush); }
LRESULT CALLBACK NPush2Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return TrackToolButton(h, m, w, l, kNPush2); }
LRESULT CALLBACK NPush3Proc(HWND h, UINT m, WPARAM w, LPARAM l) { return TrackToolButton(h, m, w, l, kNPush3); }
LRESULT CALLBACK NPushCmdMenuProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return TrackToolButton(h, m, w, l, kNPushCmdMenu);
}

void Triangle(HDC dc, POINT a, POINT b, POINT c) {
    HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
    HGDIOBJ op = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    POINT p[3] = {a, b, c};
    ::Polygon(dc, p, 3);
    ::SelectObject(dc, ob);
    ::SelectObject(dc, op);
}

void PaintEdgeButton(HWND w, HDC dc) {
    RECT r;
    ::GetClientRect(w, &r);
    const int W = r.right, H = r.bottom, id = ::GetDlgCtrlID(w);
    COLORREF fill = ::GetSysColor(COLOR_BTNFACE);
    if (id == 1000 || id == 1020) fill = RowBkgnd(8);
    if (id == 1001 || id == 1021) fill = RowBkgnd(6);
    if (id == 1002 || id == 1003 || id == 1022 || id == 1023) fill = RowBkgnd(7);
    Fill(dc, r, fill);
    Frame3D(dc, r, ::GetWindowLongA(w, 0) != 0);
    const int k = id >= 1020 ? id - 1020 : (id >= 1010 ? id - 6 : id - 1000);
    const bool en = Running().LANGUAGE != 0;
    auto text = [&](int x, int y, const char* s) {
        ::SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = ::SelectObject(dc, PanelFontSmall ? PanelFontSmall : ::GetStockObject(DEFAULT_GUI_FONT));
        ::TextOutA(dc, x, y, s, (int)strlen(s));
        ::SelectObject(dc, old);
    };
    switch (k) {
    case 0: Triangle(dc, {W / 2, 3}, {W / 2 + 9, 12}, {W / 2 - 9, 12}); break;
    case 1: Triangle(dc, {W / 2, H - 3}, {W / 2 + 9, H - 12}, {W / 2 - 9, H - 12}); break;
    case 2: Triangle(dc, {2, H / 2}, {11, H / 2 + 9}, {11, H / 2 - 9}); break;
    case 3: Triangle(dc, {W - 3, H / 2}, {W - 12, H / 2 + 9}, {W - 12, H / 2 - 9}); break;
    case 4: text(5, 2, en ? "In" : "拡大"); break;
    case 5: text(5, 2, en ? "Out" : "縮小"); break;
    case 6: text(5, 2, en ? "std" : "基準"); break;
    case 7:
        if (en)
            text(5, H / 2 - 6, "In");
        else
            text(5, 4, "拡"), text(5, H / 2 + 2, "大");
        break;
    case 8:
        if (en)
            text(7, 5, "O"), text(5, H / 2, "ut");
        else
            text(5, 4, "縮"), text(5, H / 2 + 2, "小");
        break;
    case 9:
        if (en)
            text(7, 5, "S"), text(5, H / 2, "td");
        else
            text(5, 4, "基"), text(5, H / 2 + 2, "準");
        break;
    default: break;
    }
}

LRESULT CALLBACK ScBtnProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    switch (m) {
    case WM_LBUTTONDOWN:
        ::SetWindowLongA(w, 0, 1);
        ::SendMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), 0), 0);
        g_repeatTimer = ::SetTimer(w, SCBTN_TIMER_ID, 150, nullptr);
        Repaint(w);
        return 0;
    case WM_TIMER:
        if (wp == SCBTN_TIMER_ID && g_repeatTimer) {
            ::KillTimer(w, SCBTN_TIMER_ID);
            g_repeatTimer = 0;
            POINT pt;
            ::GetCursorPos(&pt);
            if (::WindowFromPoint(pt) == w && ::GetWindowLongA(w, 0) != 0) {
                ::SetWindowLongA(w, 0, 2);
                ::PostMessageA(w, WM_LBUTTONDOWN, 0, 0);
            } else {
                ::SetWindowLongA(w, 0, 0);
            }
            Repaint(w);
        }
        return 0;
    case WM_LBUTTONUP:
        // The timer is kept per button, so a release over another edge
        // button never leaves this one repeating.
        ::KillTimer(w, SCBTN_TIMER_ID);
        g_repeatTimer = 0;
        ::SetWindowLongA(w, 0, 0);
        Repaint(w);
        return 0;
    case WM_SETFOCUS:
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        PaintEdgeButton(w, dc);
        ::EndPaint(w, &ps);
        return 0;
    }
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

struct ClassRow {
    const char* name;
    int extra;
    WNDPROC proc;
};
const ClassRow kClasses[] = {{"PPush", 8, PPushProc},    {"NPush", 8, NPushProc},
                             {"NPush2", 12, NPush2Proc}, {"NPush3", 12, NPush3Proc},
                             {"SCBTN", 8, ScBtnProc},    {"NPushCmdMenu", 8, NPushCmdMenuProc}};
}  // namespace

int RegisterToolButtonClasses(HINSTANCE instance) {
    if (!PanelFontSmall) PanelFontSmall = MakeFont(12);
    if (!PanelFontMedium) PanelFontMedium = MakeFont(CmdPanelLowRes ? 12 : 14);
    if (!PanelFontLarge) PanelFontLarge = MakeFont(CmdPanelLowRes ? 12 : 16);
    g_buttonType = Running().toolPanelButtonType;
    for (const ClassRow& row : kClasses) {
        WNDCLASSA existing;
        if (::GetClassInfoA(instance, row.name, &existing)) continue;
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = row.proc;
        wc.cbWndExtra = row.extra;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = row.name;
        if (!::RegisterClassA(&wc)) return 0;
    }
    return 1;
}

int UnregisterToolButtonClasses(HINSTANCE instance) {
    for (const ClassRow& row : kClasses)
        ::UnregisterClassA(row.name, instance);
    return 1;
}
