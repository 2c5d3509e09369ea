#include "panels/cmd_panel_button.h"

#include "base/dbcs.h"

#include <cstdio>
#include <cstring>

#include "base/user_folder.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "panels/button_faces.h"

CmdButtonImagesRecord CmdButtonImages;

namespace {

COLORREF PanelBackground() {
    return Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE);
}

void RegisterButtonClass() {
    WindowClassArgs wc;
    wc.name = kCmdButtonClass;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.windowExtra = 12;
    wc.background = nullptr;
    win::RegisterWindowClass(wc);
}

}  // namespace

std::string CmdButtonImageFile(const std::string& folder, int set, int number, int lowResolution, int screenWidth) {
    const char* suffix = "";
    if (lowResolution > 0) {
        if (screenWidth <= 1280)
            suffix = "_s";
        else if (screenWidth < 1680)
            suffix = "_m";
    }
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%s\\%02d%d%s.bmp", folder.c_str(), set, number, suffix);
    return name;
}

SIZE CmdButtonImageSize(int lowResolution, int screenWidth) {
    if (lowResolution > 0 && screenWidth <= 1280) return SIZE{59, 17};
    if (lowResolution > 0 && screenWidth < 1680) return SIZE{64, 19};
    return SIZE{76, 32};
}

void FreeCmdButtonImages() {
    for (HIMAGELIST& list : CmdButtonImages.lists) {
        if (list) ImageList_Destroy(list);
        list = nullptr;
    }
    CmdButtonImages.setCount = 0;
}

void LoadCmdButtonImages(const char* folderArg) {
    FreeCmdButtonImages();
    const std::string folder = folderArg ? folderArg : GetExeDir() + "\\Images\\Button1";
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    const int low = LocalIni().iCmdPanelTypeLowResoW;
    const SIZE size = CmdButtonImageSize(low, screen);
    CmdButtonImages.width = size.cx;
    CmdButtonImages.height = size.cy;
    for (int set = 0; set < 10; ++set) {
        bool all = true;
        for (int n = 1; n <= 4 && all; ++n)
            all = ::GetFileAttributesA(CmdButtonImageFile(folder, set, n, low, screen).c_str()) !=
                  INVALID_FILE_ATTRIBUTES;
        if (all) {
            HIMAGELIST list = ImageList_Create(size.cx, size.cy, ILC_MASK | ILC_COLOR32, 2, 0);
            if (!list) break;
            for (int n = 1; n <= 4; ++n) {
                HBITMAP bmp = (HBITMAP)::LoadImageA(nullptr, CmdButtonImageFile(folder, set, n, low, screen).c_str(),
                                                    IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
                if (bmp) {
                    ImageList_AddMasked(list, bmp, RGB(255, 255, 255));
                    ::DeleteObject(bmp);
                }
            }
            CmdButtonImages.lists[set] = list;
        }
        ++CmdButtonImages.setCount;
    }
}

void CCmdPnlButton::SetData(const char* label, int id, const char* tip, int style) {
    m_label = label ? label : "";
    m_id = id;
    m_tip = tip ? tip : "";
    m_style = style;
    m_width = CmdButtonImages.width;
    m_height = CmdButtonImages.height;
}

void CCmdPnlButton::Measure(int* width, int* height) const {
    const int bytes = (int)m_label.size();
    if (width) *width = CmdButtonImages.width + (bytes > 8 ? 8 * (bytes - 8) : 0);
    if (height) *height = CmdButtonImages.height;
}

HWND CCmdPnlButton::Create(HWND parent, int x, int y, int cx, int cy) {
    RegisterButtonClass();
    CreateArgs a;
    a.className = kCmdButtonClass;
    a.parent = parent;
    a.title = m_label.c_str();
    a.style = WS_CHILD | WS_VISIBLE;
    a.id = (UINT)m_id;
    a.menu = (HMENU)(INT_PTR)(m_id & 0xFFFF);
    a.x = x;
    a.y = y;
    a.cx = cx;
    a.cy = cy;
    return CWindowBase::Create(a);
}

void CCmdPnlButton::SetMarked(int marked) {
    marked = marked ? 1 : 0;
    if (marked == m_marked) return;
    m_marked = marked;
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CCmdPnlButton::Report() {
    const WPARAM w = m_pageSelect ? (WPARAM)((m_id & 0xFFFF) + 0x10000) : (WPARAM)m_id;
    ::SendMessageA(::GetParent(m_hWnd), UM_CMDPANEL_BUTTON, w, (LPARAM)m_hWnd);
}

LRESULT CCmdPnlButton::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    ::SetWindowLongA(m_hWnd, 0, 0);
    ::SetWindowLongA(m_hWnd, 4, 0);
    return 0;
}

// A press takes the mouse, so that the release is seen wherever it happens:
// only a release over the button is a click, and a press that lost the mouse
// (or the pointer) is forgotten, so no later release can fire it.
LRESULT CCmdPnlButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    m_pressed = 1;
    ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CCmdPnlButton::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const int wasPressed = m_pressed;
    m_pressed = 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    if (wasPressed && ::PtInRect(&rc, pt)) Report();
    return 0;
}

LRESULT CCmdPnlButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    m_pressed = 0;
    return 0;
}

LRESULT CCmdPnlButton::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    TRACKMOUSEEVENT t = {sizeof t, TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&t);
    return 0;
}

LRESULT CCmdPnlButton::OnKeyDown(UINT, WPARAM key, LPARAM, BOOL&) {
    if (key == VK_SPACE) {
        ::SetWindowLongA(m_hWnd, 0, 1);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return 0;
}

LRESULT CCmdPnlButton::OnKeyUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (::GetWindowLongA(m_hWnd, 0) == 1) {
        ::SetWindowLongA(m_hWnd, 0, 0);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        Report();
    }
    return 0;
}

LRESULT CCmdPnlButton::OnFocus(UINT, WPARAM, LPARAM, BOOL&) {
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

void CCmdPnlButton::PaintInto(HDC dc, const RECT& rect, const char* text, bool focused) const {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HBRUSH back = ::CreateSolidBrush(PanelBackground());
    ::FillRect(dc, &rect, back);
    ::DeleteObject(back);
    if (m_pageSelect) {
        const COLORREF c = m_marked ? kFaceYellow : 0xE6E6E6;
        PaintGradientButtonFace(dc, rect, c, c, c, c, ::GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
    } else if (m_style >= 0 && m_style < CmdButtonImages.setCount && m_style < 10 &&
               CmdButtonImages.lists[m_style]) {
        HIMAGELIST list = CmdButtonImages.lists[m_style];
        ImageList_Draw(list, m_marked ? 1 : 0, dc, rect.left, rect.top, ILD_TRANSPARENT);
        if (CmdButtonImages.width < width)
            ImageList_Draw(list, m_marked ? 3 : 2, dc, rect.right - CmdButtonImages.width, rect.top, ILD_TRANSPARENT);
    }
    const int length = (int)std::strlen(text);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, kFaceText);
    LOGFONTA lf = {};
    lf.lfCharSet = SHIFTJIS_CHARSET;
    if (!m_vertical) {
        lf.lfHeight = height > 20 ? 14 : height > 13 ? 12 : height - 2;
        lf.lfWeight = height > 20 ? 700 : 400;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", m_faceName);
        HFONT font = ::CreateFontIndirectA(&lf);
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
        const int x = rect.left + (width - avg * length) / 2 + 2;
        const int y = rect.top + height / 2 - tm.tmHeight / 2;
        int count = length;
        // A caption too long for the face is cut on a character boundary,
        // never inside a double-byte character.
        if (count > rect.right / avg) count = (int)DbcsBoundary(text, (size_t)(rect.right / avg));
        ::TextOutA(dc, x, y, text, count);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    } else {
        lf.lfHeight = height > 18 ? 14 : height > 13 ? 12 : height - 3;
        lf.lfWeight = height > 18 ? 700 : 400;
        lf.lfEscapement = lf.lfOrientation = 2700;
        lf.lfOutPrecision = 7;
        std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "@%s", m_faceName);
        HFONT font = ::CreateFontIndirectA(&lf);
        HGDIOBJ old = ::SelectObject(dc, font);
        std::string shown = text;
        SIZE extent = {};
        ::GetTextExtentPoint32A(dc, shown.c_str(), (int)shown.size(), &extent);
        if (extent.cx > height) {
            const std::string dotted = "..." + shown;
            int fit = 0;
            ::GetTextExtentExPointA(dc, dotted.c_str(), (int)dotted.size(), height, &fit, nullptr, &extent);
            if (fit < 4) fit = 4;
            shown = shown.substr(0, DbcsBoundary(shown, (size_t)(fit - 3))) + "...";
            ::GetTextExtentPoint32A(dc, shown.c_str(), (int)shown.size(), &extent);
        }
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        // Turned by 270 degrees the text runs downwards from its origin,
        // its cell lying to the left of the origin.
        const int x = rect.left + (width + tm.tmHeight) / 2;
        const int y = rect.top + (height - extent.cx) / 2;
        ::ExtTextOutA(dc, x, y, ETO_CLIPPED, &rect, shown.c_str(), (UINT)shown.size(), nullptr);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    }
    if (focused) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, 0x7F7F7F);
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, rect.left + 5, rect.top + 5, rect.right - 5, rect.bottom - 5);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
    }
}

LRESULT CCmdPnlButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    char text[256] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    // Drawn off screen: no flicker while a page is shown.
    HDC mem = ::CreateCompatibleDC(dc);
    HBITMAP bmp = ::CreateCompatibleBitmap(dc, rc.right > 0 ? rc.right : 1, rc.bottom > 0 ? rc.bottom : 1);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    PaintInto(mem, rc, text, ::GetFocus() == m_hWnd);
    ::BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}
