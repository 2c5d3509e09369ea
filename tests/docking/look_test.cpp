// The shared look-and-feel, the caption with its pin button, and text cut with "...".
#include "tests/docking/dock_fixture.h"
#include <cstring>
#include "docking/caption.h"
#include "docking/docking_settings.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"

using namespace zav;

TEST(DockingSettings, ColoursAndDragMode) {
    struct Row {
        const char* name;
        COLORREF face, strip;
    } rows[] = {
        {"classic face: lightened by 35", RGB(212, 208, 200), RGB(247, 242, 233)},
        {"bright face: up to white", RGB(240, 240, 240), RGB(255, 255, 255)},
        {"halves round up", RGB(100, 50, 0), RGB(135, 68, 0)},
        {"black face", RGB(0, 0, 0), RGB(35, 35, 35)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.strip, LightenForStrip(r.face));
    }
    EXPECT_EQ(RGB(84, 84, 84), MixLabelText(RGB(0, 0, 0), RGB(128, 128, 128)));
    EXPECT_EQ(RGB(85, 85, 85), MixLabelText(RGB(255, 255, 255), RGB(0, 0, 0))) << "division towards zero";

    BOOL systemFull = FALSE;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &systemFull, 0);
    struct Mode {
        const char* name;
        int setting;
        BOOL system;
        DWORD flags;
    } modes[] = {
        {"-1 follows the system: off", -1, FALSE, CDockingSettings::kOutlineDrag},
        {"-1 follows the system: on", -1, TRUE, CDockingSettings::kFullDrag},
        {"0: outline", 0, TRUE, CDockingSettings::kOutlineDrag},
        {"other: full window", 7, FALSE, CDockingSettings::kFullDrag},
    };
    static int setting;
    for (const Mode& m : modes) {
        SCOPED_TRACE(m.name);
        setting = m.setting;
        GetDockingHooks().fullDragMode = [] { return setting; };
        ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, m.system, nullptr, 0);
        CDockingSettings::Instance().Update();
        EXPECT_EQ(m.flags, CDockingSettings::Instance().flags & 6);
    }
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, systemFull, nullptr, 0);
    GetDockingHooks() = DockingHooks();
    CDockingSettings::Instance().Update();
    EXPECT_NE(nullptr, CDockingSettings::Instance().hFontVertical);
}

TEST(DockingSettings, DragAndFloatingModesComeFromTheSettings) {
    // Without hooks the framework reads the program's own settings.
    GetDockingHooks() = DockingHooks();
    const int savedDrag = Running().FullDragMode, savedFloat = LocalIni().iCmdPanelFloatingMode;
    struct Row {
        const char* name;
        int fullDragMode;
        DWORD flags;
    } rows[] = {
        {"FullDragMode 0: outline", 0, CDockingSettings::kOutlineDrag},
        {"FullDragMode 3: full window", 3, CDockingSettings::kFullDrag},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Running().FullDragMode = r.fullDragMode;
        CDockingSettings::Instance().Update();
        EXPECT_EQ(r.flags, CDockingSettings::Instance().flags & 6);
    }
    LocalIni().iCmdPanelFloatingMode = 1;
    EXPECT_EQ(1, DockFloatingMode());
    LocalIni().iCmdPanelFloatingMode = 0;
    EXPECT_EQ(0, DockFloatingMode());
    Running().FullDragMode = savedDrag;
    LocalIni().iCmdPanelFloatingMode = savedFloat;
    CDockingSettings::Instance().Update();
}

TEST(CaptionText, EllipsisKeepsWithinWidthAndCharacters) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const char* jp = "コマンドメニュー表示テストソ表";  // trail bytes 0x5C among them
    SIZE full;
    ::GetTextExtentPoint32A(dc, jp, static_cast<int>(std::strlen(jp)), &full);
    EXPECT_EQ(std::string(jp), EllipsisFit(dc, jp, full.cx)) << "fits: unchanged";
    for (int width : {int(full.cx - 1), int(full.cx / 2), 40, 25}) {
        SCOPED_TRACE(width);
        std::string s = EllipsisFit(dc, jp, width);
        ASSERT_GE(s.size(), 3u);
        EXPECT_EQ("...", s.substr(s.size() - 3));
        SIZE sz;
        ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &sz);
        if (width >= 25) {
            EXPECT_LE(sz.cx, width);
        }
        const std::string head = s.substr(0, s.size() - 3);
        EXPECT_EQ(0, std::strncmp(head.c_str(), jp, head.size()));
        // Whole characters only: the head ends on a character boundary.
        size_t i = 0;
        while (i < head.size())
            i += ::IsDBCSLeadByteEx(932, static_cast<BYTE>(head[i])) ? 2 : 1;
        EXPECT_EQ(head.size(), i);
    }
    ::DeleteDC(dc);
}

namespace {
int g_hookCalls = 0;
}

TEST_F(DockingTest, DockedCaptionAndPinButton) {
    GetDockingHooks().paneCaptionColors = [](int kind, int side, const char*, COLORREF* fill, COLORREF*) {
        if (kind == 0 && side == 0) ++g_hookCalls;  // caption bars ask with kind 0, side 0
        *fill = RGB(0, 128, 255);
        return 1;
    };
    TestPane& named = NewPane("作図メニュー");
    TestPane& blank = NewPane("");
    ASSERT_TRUE(DockAt(named, DOCK_SIDE_RIGHT | DOCK_FLAG_SINGLE));
    ASSERT_TRUE(DockAt(blank, DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE));

    // The caption band is 8 pixels taller than the text of the default GUI font.
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    POINT client = {0, 0};
    ::ClientToScreen(named.m_hWnd, &client);
    EXPECT_EQ(tm.tmHeight + 8, client.y - ScreenRect(named.m_hWnd).top);
    EXPECT_EQ(tm.tmHeight + 8, named.Caption().Height());

    // Painting asks the colour hook only for a pane with a title.
    HBITMAP bmp = ::CreateCompatibleBitmap(::GetDC(nullptr), 400, 400);
    ::SelectObject(dc, bmp);
    g_hookCalls = 0;
    ::SendMessageA(blank.m_hWnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    EXPECT_EQ(0, g_hookCalls);
    ::SendMessageA(named.m_hWnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    EXPECT_EQ(1, g_hookCalls);
    EXPECT_EQ(RGB(0, 128, 255), ::GetPixel(dc, 4, 4));
    ::DeleteDC(dc);
    ::DeleteObject(bmp);

    // Hit codes: the pin button, the caption, the client.
    RECT wr = ScreenRect(named.m_hWnd);
    const RECT pin = named.Caption().Pin().rc;
    POINT onPin = {wr.left + (pin.left + pin.right) / 2, wr.top + (pin.top + pin.bottom) / 2};
    EXPECT_EQ(HTOBJECT, ::SendMessageA(named.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(onPin.x, onPin.y)));
    EXPECT_EQ(HTCAPTION, ::SendMessageA(named.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 5, wr.top + 5)));
    EXPECT_EQ(HTCLIENT, ::SendMessageA(named.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(wr.left + 5, client.y + 5)));
    EXPECT_EQ(pin.bottom - pin.top, named.Caption().Height() - 6) << "a square inset by 3";
    EXPECT_EQ(wr.right - wr.left - 3, pin.right);

    // Hover: hot while over the button, cleared at the next tick once the cursor left.
    ::SetCursorPos(onPin.x, onPin.y);
    ::SendMessageA(named.m_hWnd, WM_NCMOUSEMOVE, HTOBJECT, MAKELPARAM(onPin.x, onPin.y));
    EXPECT_TRUE(named.Caption().Pin().Hot());
    const WPARAM timer = reinterpret_cast<WPARAM>(&named.Caption().Pin());
    ::SendMessageA(named.m_hWnd, WM_TIMER, timer, 0);
    EXPECT_TRUE(named.Caption().Pin().Hot()) << "still over it";
    ::SetCursorPos(wr.left - 50, wr.top + 200);
    ::SendMessageA(named.m_hWnd, WM_TIMER, timer, 0);
    EXPECT_FALSE(named.Caption().Pin().Hot());

    // Pressing the pin: Escape cancels; a release over the button pins the pane.
    POINT up = onPin;
    ::ScreenToClient(named.m_hWnd, &up);
    ::PostMessageA(named.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ::SendMessageA(named.m_hWnd, WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(onPin.x, onPin.y));
    EXPECT_FALSE(named.IsPinned());
    ::PostMessageA(named.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    ::SendMessageA(named.m_hWnd, WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(onPin.x, onPin.y));
    Pump();
    EXPECT_TRUE(named.IsPinned());
    EXPECT_EQ(uint32_t(DOCK_SIDE_RIGHT | DOCK_FLAG_PINNED | DOCK_FLAG_SINGLE), Pos(named).side);
}

TEST(PinButton, IconsComeFromTheProgram) {
    // 204 on a docked pane's caption, 205 on the slid-out pane's: two different pictures.
    HICON docked = PinIcon(1), autoHide = PinIcon(0);
    ASSERT_NE(nullptr, docked);
    ASSERT_NE(nullptr, autoHide);
    EXPECT_NE(docked, autoHide);
    // Drawn at 16 x 16 from (width - 11) / 2 into the button, over the caption fill.
    HDC dc = ::CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof bi.bmiHeader, 40, -40, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::SelectObject(dc, dib);
    CPinButton pin;
    pin.rc = {10, 10, 25, 25};
    for (int index : {1, 0}) {
        SCOPED_TRACE(index);
        pin.stateIndex = index;
        std::memset(bits, 0xFF, 40 * 40 * 4);
        pin.Draw(dc);
        ::GdiFlush();
        int dark = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if ((static_cast<DWORD*>(bits)[y * 40 + x] & 0xFFFFFF) == 0) ++dark;
        EXPECT_GT(dark, 20) << "the pin's outline is drawn";
        EXPECT_EQ(kCaptionFill, ::GetPixel(dc, 10, 10)) << "the button's corner keeps the fill";
    }
    ::DeleteDC(dc);
    ::DeleteObject(dib);
}
