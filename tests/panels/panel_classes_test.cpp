// Panel window classes and small panel services on real windows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/cmd_request.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "panels/rp_menu.h"
#include "panels/selector_classes.h"
#include "panels/tool_buttons.h"
#include "view/drawing_state.h"

namespace {

class CCommandSink : public CWindowBase {
public:
    std::vector<WPARAM> commands;
    BEGIN_MSG_MAP(CCommandSink)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()
    LRESULT OnCommand(UINT, WPARAM w, LPARAM, BOOL&) {
        commands.push_back(w);
        return 0;
    }
};

TEST(PanelClasses, PPushReportsReleasesToItsParent) {
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    ASSERT_EQ(1, RegisterToolButtonClasses(inst));
    CCommandSink parent;
    CreateArgs a;
    a.x = a.y = 0;
    a.cx = a.cy = 200;
    ASSERT_NE(nullptr, parent.Create(a));
    HWND button = ::CreateWindowExA(0, kPPushClass, "YES", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent.m_hWnd,
                                    (HMENU)(INT_PTR)1000, inst, nullptr);
    ASSERT_NE(nullptr, button);
    // A release without a press on the button is no click.
    ::SendMessageA(button, WM_LBUTTONUP, 0, 0);
    EXPECT_TRUE(parent.commands.empty());
    ::SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    ::SendMessageA(button, WM_LBUTTONUP, 0, 0);
    ::SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(button, WM_KEYUP, VK_SPACE, 0);
    ::SendMessageA(button, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    ::SendMessageA(button, WM_RBUTTONUP, 0, 0);
    EXPECT_EQ((std::vector<WPARAM>{1000, 1000, 1001}), parent.commands);
    parent.DestroyWindow();
}

TEST(PanelClasses, SelectorClassesRegisterUnderTheirNames) {
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    EXPECT_EQ(1, RegisterColorSelectorClasses(inst));
    EXPECT_EQ(1, RegisterLineWidthSelectorClasses(inst));
    WNDCLASSA wc;
    EXPECT_TRUE(::GetClassInfoA(inst, "cmdcolorclass", &wc));
    EXPECT_TRUE(::GetClassInfoA(inst, "escolorwndclass", &wc));
    EXPECT_TRUE(::GetClassInfoA(inst, "cmdlwidclass", &wc));
    UnregisterLineWidthSelectorClass(inst);
    EXPECT_FALSE(::GetClassInfoA(inst, "cmdlwidclass", &wc));
    EXPECT_TRUE(::GetClassInfoA(inst, "eslwidwndclass", &wc));  // drop-down stays
}

TEST(PanelServices, LineEndListSkipsDisabledTypes) {
    int saved[16];
    std::memcpy(saved, LineEndEnableTable, sizeof saved);
    for (int& e : LineEndEnableTable)
        e = 1;
    LineEndEnableTable[2] = 0;
    LineEndEnableTable[15] = 0;
    struct Case {
        int index, type;
    } cases[] = {{0, 0}, {1, 1}, {2, 3}, {13, 14}, {14, 0}, {-1, 0}, {20, 0}};
    for (const Case& k : cases)
        EXPECT_EQ(k.type, LineEndTypeFromIndex(k.index)) << k.index;
    EXPECT_EQ(1, LineEndIndexFromType(2));  // the nearest enabled type before
    EXPECT_EQ(2, LineEndIndexFromType(3));
    EXPECT_EQ(0, LineEndIndexFromType(16));
    LineEndEnableTable[0] = 0;
    EXPECT_EQ(-1, LineEndIndexFromType(0));
    std::memcpy(LineEndEnableTable, saved, sizeof saved);
}

TEST(PanelServices, SnapButtonSyncReplacesTheCombinedBit) {
    struct Case {
        int before, lock, after;
    } cases[] = {{0x01, 0, 0x60}, {0x05, 0, 0x64}, {0x80, 1, 0x88}, {0x01, 1, 0x68}};
    for (const Case& k : cases) {
        Running().snapModeFlags = k.before;
        Running().iLockBtnSnapNINNITEN = k.lock;
        SyncSnapButtons();
        EXPECT_EQ(k.after, Running().snapModeFlags) << std::hex << k.before;
    }
    Running().snapModeFlags = 0;
    Running().iLockBtnSnapNINNITEN = 0;
}

TEST(PanelServices, ToolPanelIsFoundAndFollowsItsButtons) {
    Running().toolPanelDispMode = 0xF;
    EXPECT_EQ(nullptr, ToolPanelWindow());
    CWindowBase pane;
    CreateArgs a;
    a.x = a.y = 0;
    a.cx = 200;
    a.cy = 300;
    ASSERT_NE(nullptr, pane.Create(a));
    CToolPanel panel(&pane);
    ASSERT_NE(nullptr, panel.Create(nullptr));
    EXPECT_EQ(panel.m_hWnd, ToolPanelWindow());
    EXPECT_EQ(200, ::GetDlgCtrlID(panel.m_hWnd));
    RECT rc = panel.GetClientRect(), paneRc = pane.GetClientRect();
    EXPECT_EQ(paneRc.right, rc.right);  // fills its pane
    EXPECT_EQ(paneRc.bottom, rc.bottom);
    // Without a drawing the grid stays off; the mid-point button follows
    // its clicks.
    HWND grid = ::GetDlgItem(panel.m_hWnd, 3516), mid = ::GetDlgItem(panel.m_hWnd, 3999);
    ASSERT_NE(nullptr, grid);
    ASSERT_NE(nullptr, mid);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3516, (LPARAM)grid);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3999, (LPARAM)mid);
    EXPECT_EQ(0, ::GetWindowLongA(grid, 4));
    EXPECT_EQ(1, ::GetWindowLongA(mid, 4));
    MSG posted;
    while (::PeekMessageA(&posted, nullptr, 0, 0, PM_REMOVE)) {
    }
    EXPECT_EQ(1, NotifyToolPanelViewChange());
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, panel.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(WPARAM(68847), msg.wParam);
    pane.DestroyWindow();
    EXPECT_EQ(nullptr, ToolPanelWindow());
}

TEST(PanelServices, RightClickEntriesAreBoundedAndTheBufferIsCommitted) {
    ClearRPMenuItems();
    CmdRequest request = {};
    request.w.text = reinterpret_cast<uint32_t>("削除");
    request.panelKind = 1;  // an entry
    request.panelExtra = 77;
    int n = 0;
    while (AddRPMenuItem(0, &request) == 1)
        ++n;
    EXPECT_EQ(kRPMenuMaxItems, n);

    // Choosing an entry reaches the waiting command as a panel event.
    CmdInput() = InputRecord{};
    EXPECT_EQ(1, RaiseRPMenuItemEvent(3));
    EXPECT_EQ(CMD_EV_PANEL, CmdInput().event);
    EXPECT_EQ(1, CmdInput().panelKind);
    EXPECT_EQ(77, CmdInput().panelValue);
    EXPECT_EQ(0, RaiseRPMenuItemEvent(kRPMenuMaxItems));
    // The attribute-change event never overwrites a pending one.
    RefreshToolPanel();
    EXPECT_EQ(CMD_EV_PANEL, CmdInput().event);
    CmdInput() = InputRecord{};
    RefreshToolPanel();
    EXPECT_EQ(CMD_EV_ATTR_CHANGED, CmdInput().event);
    CmdInput() = InputRecord{};
    ResetRPMenuItems();
    EXPECT_EQ(0, RPMenuItemCount());

    ASSERT_EQ(1, AllocRPMenuBuffer());
    ASSERT_NE(nullptr, RPMenuBuffer());
    const_cast<char*>(RPMenuBuffer())[65534] = 'x';  // writable to the end
    EXPECT_EQ(0, LoadRPMenuFile("Z:\\no\\such\\file.txt"));
    FreeRPMenuBuffer();
    EXPECT_EQ(nullptr, RPMenuBuffer());
}

TEST(PanelPaint, GradientFaceFillsHalvesAndFrames) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 40;
    bi.bmiHeader.biHeight = -40;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bmp);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    auto pixel = [&](int x, int y) {
        DWORD v = static_cast<DWORD*>(bits)[y * 40 + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    RECT rc = {0, 0, 40, 40};
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    PaintGradientButtonFace(nullptr, dc, rc, red, red, blue, blue, RGB(0, 0, 0), RGB(255, 255, 255));
    ::GdiFlush();
    EXPECT_EQ(red, pixel(20, 5));                 // upper half
    EXPECT_EQ(blue, pixel(20, 35));               // lower half
    EXPECT_EQ(RGB(0, 0, 0), pixel(20, 0));        // outer frame
    EXPECT_EQ(RGB(255, 255, 255), pixel(20, 1));  // inner frame
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
}

}  // namespace
