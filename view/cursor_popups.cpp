#include "view/cursor_popups.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "view/key_cursor.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"

namespace {
constexpr const char* kMsgClass = "ZavCursorMsgWin";
constexpr const char* kSnapClass = "ZavCursorSnapWin";
constexpr UINT_PTR kSnapTimer = 10;

bool RegisterPopupClass(const char* name, WNDPROC proc) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, name, &existing)) return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0;
}

HWND MakePopup(const char* cls, HWND owner, void* self) {
    return ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, "", WS_POPUP | WS_BORDER, 0, 0,
                             10, 10, owner, nullptr, ::GetModuleHandleA(nullptr), self);
}

template <class T>
T* SelfOf(HWND h, UINT m, LPARAM l) {
    if (m == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
        ::SetWindowLongPtrA(h, GWLP_USERDATA, (LONG_PTR)cs->lpCreateParams);
    }
    return reinterpret_cast<T*>(::GetWindowLongPtrA(h, GWLP_USERDATA));
}

SIZE TextSize(HDC dc, const std::string& s) {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size;
}

HFONT PopupFont(int height) {
    return ::CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         PROOF_QUALITY, FIXED_PITCH, "ＭＳ ゴシック");
}
}  // namespace

CursorPopupState& CursorPopups() {
    static CursorPopupState state;
    return state;
}

const char* SnapKindName(int kind) {
    static const char* const names[] = {"", "端点", "交点", "線上", "中点", "中心"};
    return kind >= 0 && kind <= 5 ? names[kind] : "";
}

void FormatCoordLines(double x, double y, const double* base, std::string* lineX, std::string* lineY) {
    char nx[64], ny[64];
    std::snprintf(nx, sizeof nx, "%.0lf", x - base[0]);
    std::snprintf(ny, sizeof ny, "%.0lf", y - base[1]);
    const int w = static_cast<int>(std::max(std::strlen(nx), std::strlen(ny)));
    char line[160];
    std::snprintf(line, sizeof line, " X:%*s ", w, nx);
    *lineX = line;
    std::snprintf(line, sizeof line, " Y:%*s ", w, ny);
    *lineY = line;
}

POINT PopupCorner(int corner, int x, int y, int w, int h) {
    switch (corner) {
    case 1: return {x + 8, y + 8};
    case 2: return {x + 8, y - h - 12};
    case 3: return {x - w - 13, y - h - 12};
    default: return {x - w - 13, y + 8};
    }
}

// --- CCursorMsgWin ------------------------------------------------------------------

CCursorMsgWin::~CCursorMsgWin() { Destroy(); }

void CCursorMsgWin::Create(HWND owner) {
    if (disabled || m_wnd) return;
    if (!RegisterPopupClass(kMsgClass, Proc)) return;
    m_wnd = MakePopup(kMsgClass, owner, this);
    if (m_wnd && !m_font) m_font = PopupFont(kind == kMessage ? 14 : 12);
}

void CCursorMsgWin::Destroy() {
    if (m_wnd) {
        ::SetWindowLongPtrA(m_wnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_wnd);
    }
    m_wnd = nullptr;
    shown = 0;
    if (m_font) ::DeleteObject(m_font);
    m_font = nullptr;
}

void CCursorMsgWin::Hide() {
    if (m_wnd && shown) ::ShowWindow(m_wnd, SW_HIDE);
    shown = 0;
}

int CCursorMsgWin::Update(const POINT* at) {
    const CursorPopupState& s = CursorPopups();
    if (kind != kMessage && kind != kCoordinates) return 0;
    if (kind == kCoordinates && !s.baseSet) return 0;
    if (!m_wnd) Create(GetActiveView());
    if (!m_wnd) return 1;
    std::string longest;
    if (kind == kCoordinates) {
        double p[3] = {0, 0, 0};
        GetKeySnappedCursorPoint(p);
        FormatCoordLines(p[0], p[1], s.base, &lineX, &lineY);
        text = lineX;
        longest = lineX.size() >= lineY.size() ? lineX : lineY;
    } else {
        text = s.message;
        longest = text;
    }
    if (text.empty()) return 0;
    HDC dc = ::GetDC(m_wnd);
    HGDIOBJ old = ::SelectObject(dc, m_font);
    SIZE size = TextSize(dc, longest);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_wnd, dc);
    if (kind == kCoordinates) size.cy *= 2;
    if (at) {
        pos = *at;
    } else {
        ::GetCursorPos(&pos);
    }
    const int w = std::max<int>(size.cx, kind == kMessage ? 10 : 20);
    const int h = std::max<int>(size.cy, 2);
    const POINT tl = PopupCorner(corner, pos.x, pos.y, w, h);
    ::SetWindowPos(m_wnd, HWND_TOPMOST, tl.x, tl.y, w + 5, h + 4, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    shown = 1;
    ::InvalidateRect(m_wnd, nullptr, TRUE);
    ::UpdateWindow(m_wnd);
    return 1;
}

void CCursorMsgWin::Paint(HDC dc) {
    RECT rc;
    ::GetClientRect(m_wnd, &rc);
    HBRUSH brush = ::CreateSolidBrush(background);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
    HGDIOBJ old = ::SelectObject(dc, m_font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ink);
    if (kind == kCoordinates) {
        ::TextOutA(dc, 2, 1, lineX.c_str(), static_cast<int>(lineX.size()));
        ::TextOutA(dc, 2, rc.bottom / 2 + 1, lineY.c_str(), static_cast<int>(lineY.size()));
    } else {
        ::TextOutA(dc, 2, 1, text.c_str(), static_cast<int>(text.size()));
    }
    ::SelectObject(dc, old);
}

LRESULT CALLBACK CCursorMsgWin::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    CCursorMsgWin* self = SelfOf<CCursorMsgWin>(h, m, l);
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(h, &ps);
        if (self) self->Paint(dc);
        ::EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_COMMAND:
        if (self && LOWORD(w) == 1000) self->Update();
        if (self && LOWORD(w) == 1001) self->Destroy();
        return 0;
    default: break;
    }
    return ::DefWindowProcA(h, m, w, l);
}

// --- CSnapWin -------------------------------------------------------------------------

CSnapWin::~CSnapWin() {
    if (m_wnd) {
        if (interval > 0) ::KillTimer(m_wnd, kSnapTimer);
        ::SetWindowLongPtrA(m_wnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_wnd);
    }
    m_wnd = nullptr;
}

CSnapWin& CSnapWin::Instance() {
    static CSnapWin instance;
    return instance;
}

void CSnapWin::Hide() {
    if (m_wnd) {
        ::KillTimer(m_wnd, kSnapTimer);
        ::SetWindowLongPtrA(m_wnd, GWLP_USERDATA, 0);
        ::DestroyWindow(m_wnd);
    }
    m_wnd = nullptr;
    shown = 0;
}

int CSnapWin::Show(int kind, const POINT* at) {
    if (disabled) return 0;
    Hide();
    if (kind <= 0 || kind > 5) return 0;
    if (!RegisterPopupClass(kSnapClass, Proc)) return 1;
    m_wnd = MakePopup(kSnapClass, GetActiveView(), this);
    if (!m_wnd) return 1;
    if (at)
        pos = *at;
    else
        ::GetCursorPos(&pos);
    text = SnapKindName(kind);
    HDC dc = ::GetDC(m_wnd);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const SIZE size = TextSize(dc, text);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_wnd, dc);
    const int h = std::max<int>(size.cy, 16);
    const int width = size.cx < 32 ? 37 : size.cx + 5;
    ::SetTimer(m_wnd, kSnapTimer, interval, nullptr);
    if (::SetWindowPos(m_wnd, HWND_TOPMOST, pos.x + 8, pos.y - h - 12, width, h + 4, SWP_NOACTIVATE | SWP_SHOWWINDOW))
        shown = 1;
    return 1;
}

void CSnapWin::ShowAtWorld(int kind, const double* worldPoint) {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d || !worldPoint) {
        Instance().Show(kind, nullptr);
        return;
    }
    POINT p = WorldToClient(view, d, worldPoint[0], worldPoint[1]);
    ::ClientToScreen(view, &p);
    Instance().Show(kind, &p);
}

void CSnapWin::CheckPointer() {
    if (!m_wnd) return;
    POINT now;
    ::GetCursorPos(&now);
    if (std::abs(now.x - pos.x) > 2 || std::abs(now.y - pos.y) >= 3) Hide();
}

LRESULT CALLBACK CSnapWin::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    CSnapWin* self = SelfOf<CSnapWin>(h, m, l);
    switch (m) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(h, &ps);
        if (self) {
            RECT rc;
            ::GetClientRect(h, &rc);
            HBRUSH brush = ::CreateSolidBrush(self->background);
            ::FillRect(dc, &rc, brush);
            ::DeleteObject(brush);
            HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, self->ink);
            ::TextOutA(dc, 2, 1, self->text.c_str(), static_cast<int>(self->text.size()));
            ::SelectObject(dc, old);
        }
        ::EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_TIMER:
        if (self && (m != WM_TIMER || w == kSnapTimer)) self->CheckPointer();
        return 0;
    default: break;
    }
    return ::DefWindowProcA(h, m, w, l);
}

// --- The view's commands ----------------------------------------------------------------

int HandleCursorPopupCommand(HWND, CCursorMsgWin& message, CCursorMsgWin& coords, int id, int code, LPARAM lParam) {
    if (id != kViewCmdMessagePopup && id != kViewCmdCursorPopups) return 0;
    CursorPopupState& s = CursorPopups();
    auto hideAll = [&] {
        message.Hide();
        s.message.clear();
        coords.Hide();
        s.mode = 0;
    };
    if (id == kViewCmdMessagePopup) {
        if (code == 1 && lParam) {
            s.message = reinterpret_cast<const char*>(lParam);
            s.mode = 10;
            message.corner = 1;
            s.shiftRequired = 0;
            s.baseSet = 0;
            coords.Hide();
            message.Update();
        } else if (code == 0) {
            hideAll();
        }
        return 1;
    }
    switch (code) {
    case 1:
        if (!lParam) break;
        s.message = reinterpret_cast<const char*>(lParam);
        s.mode = 1;
        message.corner = 0;
        s.shiftRequired = 1;
        break;
    case 0: hideAll(); break;
    case 10:
        s.baseSet = 0;
        coords.Hide();
        break;
    case 11:
        if (!lParam) break;
        std::memcpy(s.base, reinterpret_cast<const void*>(lParam), sizeof s.base);
        s.baseSet = 1;
        break;
    case 20:
        if (!lParam) break;
        std::memcpy(s.snapPitch, reinterpret_cast<const void*>(lParam), sizeof s.snapPitch);
        break;
    case 21: s.alwaysMessage = lParam ? 1 : 0; break;
    default: break;
    }
    return 1;
}

void UpdateCursorPopups(CCursorMsgWin& message, CCursorMsgWin& coords) {
    const CursorPopupState& s = CursorPopups();
    if (s.mode == 1) {
        if (!s.shiftRequired || ::GetKeyState(VK_SHIFT) < 0) {
            message.Update();
            if (s.baseSet) coords.Update();
        } else if (s.alwaysMessage == 1) {
            message.Update();
            coords.Hide();
        } else {
            message.Hide();
            coords.Hide();
        }
    } else if (s.mode == 10) {
        message.Update();
    }
}

void HideCursorPopupsOnLeave(CCursorMsgWin& message, CCursorMsgWin& coords) {
    const CursorPopupState& s = CursorPopups();
    if (s.mode == 1) {
        message.Hide();
        coords.Hide();
    } else if (s.mode == 10) {
        message.Hide();
    }
}
