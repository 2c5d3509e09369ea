#include "panels/tool_buttons.h"

namespace {
LRESULT CALLBACK PPushProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_LBUTTONUP:
    case WM_KEYUP: {
        const int id = ::GetDlgCtrlID(h);
        ::SendMessageA(::GetParent(h), WM_COMMAND, MAKEWPARAM(id, 0), (LPARAM)h);
        return 0;
    }
    case WM_RBUTTONUP: {
        const int id = ::GetDlgCtrlID(h);
        ::SendMessageA(::GetParent(h), WM_COMMAND, MAKEWPARAM(id + 1, 0), (LPARAM)h);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(h, &ps);
        RECT rc;
        ::GetClientRect(h, &rc);
        ::DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH);
        char text[256];
        int n = ::GetWindowTextA(h, text, sizeof text);
        ::SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextA(dc, text, n, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, old);
        ::EndPaint(h, &ps);
        return 0;
    }
    default: break;
    }
    return ::DefWindowProcA(h, m, w, l);
}
}  // namespace

int RegisterToolButtonClasses(HINSTANCE instance) {
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, kPPushClass, &existing)) return 1;
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PPushProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPPushClass;
    return ::RegisterClassA(&wc) ? 1 : 0;
}

int UnregisterToolButtonClasses(HINSTANCE instance) { return ::UnregisterClassA(kPPushClass, instance) ? 1 : 0; }

namespace {
void Gradient(HDC dc, int left, int top, int right, int bottom, COLORREF a, COLORREF b) {
    if (right <= left || bottom <= top) return;
    if (a == b) {
        HBRUSH br = ::CreateSolidBrush(a);
        RECT r = {left, top, right, bottom};
        ::FillRect(dc, &r, br);
        ::DeleteObject(br);
        return;
    }
    TRIVERTEX v[2] = {
        {left, top, (COLOR16)(GetRValue(a) << 8), (COLOR16)(GetGValue(a) << 8), (COLOR16)(GetBValue(a) << 8), 0},
        {right, bottom, (COLOR16)(GetRValue(b) << 8), (COLOR16)(GetGValue(b) << 8), (COLOR16)(GetBValue(b) << 8), 0}};
    GRADIENT_RECT g = {0, 1};
    ::GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void RoundFrame(HDC dc, const RECT& r, COLORREF color) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 6, 6);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}
}  // namespace

void PaintGradientButtonFace(void*, HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4,
                             COLORREF outer, COLORREF inner) {
    RECT r = rect;
    ::InflateRect(&r, -2, -2);
    if (c1 == c2 && c2 == c3 && c3 == c4) {
        Gradient(dc, r.left, r.top, r.right, r.bottom, c1, c1);
    } else {
        const int mid = r.top + (r.bottom - r.top) / 2;
        Gradient(dc, r.left, r.top, r.right, mid, c1, c2);
        Gradient(dc, r.left, mid, r.right, r.bottom, c3, c4);
    }
    RoundFrame(dc, rect, outer);
    RECT in = rect;
    ::InflateRect(&in, -1, -1);
    RoundFrame(dc, in, inner);
}
