// A frame with panes docked on several sides, one floating and one pinned,
// rendered into a memory DIB and saved beside the build for people to look at.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "tests/docking/dock_fixture.h"
#include "docking/auto_hide.h"
#include "docking/caption.h"
#include "docking/docking_settings.h"

using namespace zav;

namespace {

// The caption buttons at the right end of a caption band: close alone on a
// tool window, minimise and maximise before it on a frame. Drawn by hand: the
// symbol font the platform would use is not there under a headless run.
void DrawCaptionButton(HDC dc, RECT b, char kind) {
    ::FillRect(dc, &b, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT e = b;
    ::DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ old = ::SelectObject(dc, pen);
    const int w = b.right - b.left, h = b.bottom - b.top;
    const int s = std::min(w, h) / 2 - 1;  // glyph size
    const int x = b.left + (w - s) / 2, y = b.top + (h - s) / 2;
    for (int t = 0; t < 2; ++t) {  // two pixels thick
        switch (kind) {
        case 'x':
            ::MoveToEx(dc, x + t, y, nullptr);
            ::LineTo(dc, x + s + t, y + s + 1);
            ::MoveToEx(dc, x + s - 1 + t, y, nullptr);
            ::LineTo(dc, x - 1 + t, y + s + 1);
            break;
        case 'm':
            ::MoveToEx(dc, x, y + s - t, nullptr);
            ::LineTo(dc, x + s, y + s - t);
            break;
        default:
            ::MoveToEx(dc, x, y + t, nullptr);
            ::LineTo(dc, x + s, y + t);
            break;
        }
    }
    if (kind == 'M') {
        HGDIOBJ brush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, x, y, x + s + 1, y + s + 1);
        ::SelectObject(dc, brush);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void DrawCaptionButtons(HDC dc, const RECT& cap, bool tool, bool minBox, bool maxBox) {
    const int h = cap.bottom - cap.top - 4;
    if (h <= 4) return;
    const int w = tool ? h : h + 2;
    RECT b = {cap.right - 2 - w, cap.top + 2, cap.right - 2, cap.top + 2 + h};
    DrawCaptionButton(dc, b, 'x');
    ::OffsetRect(&b, -(w + 2), 0);
    if (maxBox) {
        DrawCaptionButton(dc, b, 'M');
        ::OffsetRect(&b, -w, 0);
    }
    if (minBox) DrawCaptionButton(dc, b, 'm');
}

// Paints a window and its children into dc, with `origin` the screen point of the image's corner.
void RenderTree(HDC dc, HWND w, POINT origin) {
    if (!::IsWindowVisible(w)) return;
    RECT wr;
    ::GetWindowRect(w, &wr);
    POINT old;
    ::SetViewportOrgEx(dc, wr.left - origin.x, wr.top - origin.y, &old);
    char cls[64] = "";
    ::GetClassNameA(w, cls, sizeof cls);
    const LONG_PTR style = ::GetWindowLongPtrA(w, GWL_STYLE);
    RECT whole = {0, 0, wr.right - wr.left, wr.bottom - wr.top};
    POINT client = {0, 0};
    ::ClientToScreen(w, &client);
    RECT cr;
    ::GetClientRect(w, &cr);
    if (!(style & WS_CHILD)) {
        // A top-level window: frame and caption as the platform would draw them.
        ::FillRect(dc, &whole, ::GetSysColorBrush(COLOR_BTNFACE));
        RECT e = whole;
        ::DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
        RECT cap = {client.x - wr.left, 3, client.x - wr.left + cr.right, client.y - wr.top - 1};
        const bool tool = (::GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
        ::DrawCaption(w, dc, &cap, DC_ACTIVE | DC_TEXT | DC_GRADIENT | (tool ? DC_SMALLCAP : 0));
        DrawCaptionButtons(dc, cap, tool, (style & WS_MINIMIZEBOX) && !tool, (style & WS_MAXIMIZEBOX) && !tool);
        POINT o2;
        ::OffsetViewportOrgEx(dc, client.x - wr.left, client.y - wr.top, &o2);
        ::FillRect(dc, &cr, ::GetSysColorBrush(COLOR_APPWORKSPACE));
        ::SendMessageA(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        ::SetViewportOrgEx(dc, o2.x, o2.y, nullptr);
    } else if (std::strcmp(cls, "MDIClient") == 0) {
        ::FillRect(dc, &whole, ::GetSysColorBrush(COLOR_APPWORKSPACE));
        RECT e = whole;
        ::DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT);
    } else {
        ::SendMessageA(w, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    }
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
    // Children from the bottom of the z-order up.
    for (HWND c = ::GetWindow(::GetWindow(w, GW_CHILD), GW_HWNDLAST); c; c = ::GetWindow(c, GW_HWNDPREV))
        if (::GetParent(c) == w) RenderTree(dc, c, origin);
}

bool SaveBmp(const std::string& path, const void* bits, int w, int h) {
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = -h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    const DWORD size = static_cast<DWORD>(w) * h * 4;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + size;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
              std::fwrite(bits, size, 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

COLORREF PixelAt(const DWORD* bits, int w, POINT p) {
    DWORD v = bits[p.y * w + p.x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

POINT CentreIn(HWND w, POINT origin) {
    RECT r;
    ::GetClientRect(w, &r);
    POINT c = {r.right / 2, r.bottom / 2 + 12};  // below the title text
    ::ClientToScreen(w, &c);
    return {c.x - origin.x, c.y - origin.y};
}

}  // namespace

TEST_F(DockingTest, ScreenshotOfAFrameWithPanes) {
    // The shell's colours for two of the titles, as the hook supplies them.
    GetDockingHooks().paneCaptionColors = [](int, int, const char* title, COLORREF* fill, COLORREF* text) {
        if (std::strcmp(title, "基本操作") == 0) {
            *fill = RGB(0, 128, 128);
            *text = RGB(255, 255, 255);
            return 1;
        }
        return 0;
    };
    ::SetWindowTextA(frame->m_hWnd, "ドッキング ウィンドウ");
    TestPane& left = NewPane("基本操作", RGB(210, 250, 210));
    TestPane& right1 = NewPane("作図メニュー", RGB(250, 215, 215));
    TestPane& right2 = NewPane("属性", RGB(250, 235, 205));
    TestPane& top = NewPane("コマンドメニュー２", RGB(215, 215, 250));
    TestPane& bottom = NewPane("コマンドメニュー", RGB(255, 255, 184));
    TestPane& pinned = NewPane("レイヤー", RGB(230, 210, 250));
    TestPane& floating = NewPane("電卓", RGB(255, 250, 200), RECT{430, 260, 640, 420});
    ASSERT_TRUE(DockAt(left, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 170));
    ASSERT_TRUE(DockAt(right1, DOCK_SIDE_RIGHT | DOCK_FLAG_SINGLE, 0, 0.0f, 190, 250));
    ASSERT_TRUE(DockAt(right2, DOCK_SIDE_RIGHT, 0, 0.5f, 190, 250));
    ASSERT_TRUE(DockAt(top, DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f, 60));
    ASSERT_TRUE(DockAt(bottom, DOCK_SIDE_BOTTOM | DOCK_FLAG_SINGLE, 0, 0.0f, 70));
    // A pane with a small icon: its label shows the icon before the title.
    ::SendMessageA(pinned.m_hWnd, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(::LoadIconA(nullptr, MAKEINTRESOURCEA(32516))));  // information
    ASSERT_TRUE(DockAt(pinned, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 150));
    ASSERT_TRUE(pinned.PinUpAtCurrentSide());
    frame->AutoHide().HidePane();
    ::SetWindowPos(floating.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();

    RECT fr = ScreenRect(frame->m_hWnd);
    const int w = fr.right - fr.left, h = fr.bottom - fr.top;
    const POINT origin = {fr.left, fr.top};
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(dib);
    HGDIOBJ old = ::SelectObject(mem, dib);
    RenderTree(mem, frame->m_hWnd, origin);
    RenderTree(mem, floating.m_hWnd, origin);
    ::GdiFlush();
    const DWORD* px = static_cast<const DWORD*>(bits);

    // Each pane shows its own colour; the docked captions their fills; the strip its colour.
    EXPECT_EQ(left.colour, PixelAt(px, w, CentreIn(left.m_hWnd, origin)));
    EXPECT_EQ(right2.colour, PixelAt(px, w, CentreIn(right2.m_hWnd, origin)));
    EXPECT_EQ(top.colour, PixelAt(px, w, CentreIn(top.m_hWnd, origin)));
    EXPECT_EQ(floating.colour, PixelAt(px, w, CentreIn(floating.m_hWnd, origin)));
    RECT lw = ScreenRect(left.m_hWnd);
    EXPECT_EQ(RGB(0, 128, 128), PixelAt(px, w, POINT{lw.left - origin.x + 5, lw.top - origin.y + 5}))
        << "caption colour from the hook";
    RECT rw = ScreenRect(right1.m_hWnd);
    EXPECT_EQ(kCaptionFill, PixelAt(px, w, POINT{rw.left - origin.x + 5, rw.top - origin.y + 5}))
        << "default caption fill";
    const RECT strip = frame->AutoHide().GetStrip(DOCK_SIDE_LEFT).rc;
    POINT sp = {strip.left + 1, strip.bottom - 2};
    ::ClientToScreen(frame->m_hWnd, &sp);
    EXPECT_EQ(CDockingSettings::Instance().stripColour, PixelAt(px, w, POINT{sp.x - origin.x, sp.y - origin.y}));

    const char* dist = std::getenv("ZAV_DIST_DIR");
    std::string out = dist ? std::string(dist) + "\\..\\docking-frame.bmp" : "docking-frame.bmp";
    // GDI leaves the fourth byte 0; viewers would take the image as transparent.
    for (int i = 0; i < w * h; ++i)
        static_cast<DWORD*>(bits)[i] |= 0xFF000000u;
    EXPECT_TRUE(SaveBmp(out, bits, w, h)) << out;
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
}
