#include "docking/caption.h"
#include <cstring>
#include "docking/docking_hooks.h"
#include "docking/docking_settings.h"

namespace zav {

HICON PinIcon(int stateIndex) {
    static HICON icons[2] = {
        static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(205), IMAGE_ICON, 16, 16, 0)),
        static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(204), IMAGE_ICON, 16, 16, 0)),
    };
    return icons[stateIndex ? 1 : 0];
}

namespace {

// Without the program's icons a small pin is drawn: upright when docked,
// lying when the pane is auto-hidden.
void DrawPinShape(HDC dc, int x, int y, int stateIndex) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    if (stateIndex) {
        ::Rectangle(dc, x + 5, y + 2, x + 11, y + 9);
        ::MoveToEx(dc, x + 3, y + 9, nullptr);
        ::LineTo(dc, x + 13, y + 9);
        ::MoveToEx(dc, x + 8, y + 9, nullptr);
        ::LineTo(dc, x + 8, y + 14);
    } else {
        ::Rectangle(dc, x + 7, y + 5, x + 14, y + 11);
        ::MoveToEx(dc, x + 7, y + 3, nullptr);
        ::LineTo(dc, x + 7, y + 13);
        ::MoveToEx(dc, x + 2, y + 8, nullptr);
        ::LineTo(dc, x + 7, y + 8);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

// Bytes of text that make up whole characters within `limit` bytes.
size_t CutOnCharacter(const char* text, size_t limit) {
    size_t i = 0;
    while (text[i] && i < limit) {
        size_t n = ::IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) && text[i + 1] ? 2 : 1;
        if (i + n > limit) break;
        i += n;
    }
    return i;
}

}  // namespace

void CPinButton::Draw(HDC dc) const {
    HBRUSH fill = ::CreateSolidBrush(kCaptionFill);
    ::FillRect(dc, &rc, fill);
    ::DeleteObject(fill);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int x = w > 11 ? rc.left + (w - 11) / 2 : rc.left;
    const int y = h > 11 ? rc.top + (h - 11) / 2 : rc.top;
    if (HICON icon = PinIcon(stateIndex))
        ::DrawIconEx(dc, x, y, icon, 16, 16, 0, nullptr, DI_NORMAL);
    else
        DrawPinShape(dc, rc.left + (w - 16) / 2, rc.top + (h - 16) / 2, stateIndex);
    if (Hot() || Pressed()) {
        RECT r = rc;
        ::DrawEdge(dc, &r, Pressed() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
}

void COutlookLikeExCaption::UpdateMetrics() {
    m_height = 23;
    HDC dc = ::GetDC(nullptr);
    if (!dc) return;
    HGDIOBJ old =
        ::SelectObject(dc, CDockingSettings::Instance().hFontHorizontal ? CDockingSettings::Instance().hFontHorizontal
                                                                        : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    if (::GetTextMetricsA(dc, &tm)) m_height = tm.tmHeight + 8;
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

void COutlookLikeExCaption::CalcLayout(RECT& wr) {
    m_rc = wr;
    m_rc.bottom = m_rc.top + m_height;
    wr.top = m_rc.bottom;
    const int side = m_height - 6;
    m_pin.rc.right = m_rc.right - 3;
    m_pin.rc.left = m_pin.rc.right - side;
    m_pin.rc.top = m_rc.top + 3;
    m_pin.rc.bottom = m_rc.bottom - 3;
}

void COutlookLikeExCaption::SetEmpty() {
    ::SetRectEmpty(&m_rc);
    ::SetRectEmpty(&m_pin.rc);
}

LRESULT COutlookLikeExCaption::HitTest(POINT pt) const {
    if (::PtInRect(&m_pin.rc, pt)) return HTOBJECT;
    if (::PtInRect(&m_rc, pt)) return HTCAPTION;
    return HTNOWHERE;
}

void COutlookLikeExCaption::Draw(HDC dc, const char* text) const {
    if (::IsRectEmpty(&m_rc)) return;
    COLORREF fill = RGB(128, 128, 128), textColour = RGB(255, 255, 255);
    if (!text || !*text || !DockPaneCaptionColors(0, 0, text, &fill, &textColour)) fill = kCaptionFill;
    HBRUSH b = ::CreateSolidBrush(fill);
    ::FillRect(dc, &m_rc, b);
    ::DeleteObject(b);
    if (text && *text) {
        RECT tr = m_rc;
        tr.left += 10;
        tr.right = m_pin.rc.left - 3;
        HGDIOBJ old = ::SelectObject(dc, CDockingSettings::Instance().hFontHorizontal
                                             ? CDockingSettings::Instance().hFontHorizontal
                                             : ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, textColour);
        DrawEllipsisText(dc, text, tr, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        ::SelectObject(dc, old);
    }
    m_pin.Draw(dc);
    RECT r = m_rc;
    ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
}

void COutlookLikeExCaption::RedrawNc(HWND hwnd) {
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
}

void COutlookLikeExCaption::OnNcMouseMove(HWND hwnd, LRESULT hit) {
    if (m_pin.Pressed()) return;
    if (hit == HTOBJECT && !m_pin.Hot()) {
        m_pin.state |= CVirtualButton::kHot;
        ::SetTimer(hwnd, reinterpret_cast<UINT_PTR>(&m_pin), 300, nullptr);
        RedrawNc(hwnd);
    }
}

bool COutlookLikeExCaption::OnTimer(HWND hwnd, UINT_PTR id) {
    if (id != reinterpret_cast<UINT_PTR>(&m_pin)) return false;
    POINT pt;
    ::GetCursorPos(&pt);
    RECT wr;
    ::GetWindowRect(hwnd, &wr);
    pt.x -= wr.left;
    pt.y -= wr.top;
    if (!::PtInRect(&m_pin.rc, pt) && !m_pin.Pressed()) {
        m_pin.state &= ~CVirtualButton::kHot;
        ::KillTimer(hwnd, id);
        RedrawNc(hwnd);
    }
    return true;
}

bool COutlookLikeExCaption::PressPin(HWND hwnd) {
    m_pin.state |= CVirtualButton::kPressed;
    RedrawNc(hwnd);
    ::SetCapture(hwnd);
    bool released = false, over = false;
    MSG msg;
    while (!released && ::GetCapture() == hwnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        switch (msg.message) {
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            released = true;
            POINT pt;
            ::GetCursorPos(&pt);
            if (msg.hwnd == hwnd) {
                pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                ::ClientToScreen(hwnd, &pt);
            }
            RECT wr;
            ::GetWindowRect(hwnd, &wr);
            pt.x -= wr.left;
            pt.y -= wr.top;
            over = ::PtInRect(&m_pin.rc, pt) != 0;
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) released = true;
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: released = true; break;
        case WM_SYSKEYDOWN:
            released = true;
            ::DispatchMessageA(&msg);
            break;
        case WM_MOUSEMOVE:
        case WM_KEYUP:
        case WM_CHAR: break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (::GetCapture() == hwnd) ::ReleaseCapture();
    m_pin.state &= ~CVirtualButton::kPressed;
    RedrawNc(hwnd);
    return over;
}

std::string EllipsisFit(HDC dc, const char* text, int width) {
    const size_t len = std::strlen(text);
    SIZE sz;
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(len), &sz);
    if (sz.cx <= width) return text;
    std::string probe = std::string("...") + text;
    int fit = 0;
    ::GetTextExtentExPointA(dc, probe.c_str(), static_cast<int>(probe.size()), width, &fit, nullptr, &sz);
    if (fit < 4) fit = 4;
    size_t keep = CutOnCharacter(text, static_cast<size_t>(fit - 3));
    return std::string(text, keep) + "...";
}

void DrawEllipsisText(HDC dc, const char* text, RECT rc, UINT flags, bool vertical) {
    const int width = vertical ? rc.bottom - rc.top : rc.right - rc.left;
    std::string s = EllipsisFit(dc, text, width);
    if (!vertical) {
        ::DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &rc, flags | DT_NOPREFIX);
        return;
    }
    // Text turned by 270 degrees runs downwards from its origin; centre it across.
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int x = rc.left + (rc.right - rc.left + tm.tmHeight) / 2;
    ::ExtTextOutA(dc, x, rc.top, ETO_CLIPPED, &rc, s.c_str(), static_cast<UINT>(s.size()), nullptr);
}

}  // namespace zav
