// The attribute field classes that modules place in their dialogs, on real
// windows: values through the field messages, the drop-down's entries, the
// notification to the owner and the painted samples.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "base/running_settings.h"
#include "panels/attr_selectors.h"
#include "panels/selector_classes.h"
#include "panels/selector_fields.h"
#include "win/window.h"

namespace {

class CSink : public CWindowBase {
public:
    std::vector<WPARAM> commands;
    BEGIN_MSG_MAP(CSink)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()
    LRESULT OnCommand(UINT, WPARAM w, LPARAM, BOOL&) {
        commands.push_back(w);
        return 0;
    }
};

void Pump() {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&m);
}

class SelectorFields : public ::testing::Test {
protected:
    void SetUp() override {
        inst = ::GetModuleHandleA(nullptr);
        for (int t = 0; t < 16; ++t)
            LineEndEnableTable[t] = t < 15;
        RegisterColorSelectorClasses(inst);
        RegisterLineWidthSelectorClasses(inst);
        RegisterLineStartSelectorClasses(inst);
        RegisterPointSelectorClasses(inst);
        CreateArgs a;
        a.x = a.y = 0;
        a.cx = 300;
        a.cy = 200;
        ASSERT_NE(nullptr, parent.Create(a));
    }
    void TearDown() override {
        parent.DestroyWindow();
        Pump();
    }
    HWND Field(const char* cls, int id, int w = 160, int h = 20) {
        return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, w, h, parent.m_hWnd, (HMENU)(INT_PTR)id, inst,
                                 nullptr);
    }
    HINSTANCE inst = nullptr;
    CSink parent;
};

TEST_F(SelectorFields, LineStartFieldSkipsItsDisabledTypes) {
    HWND f = Field("cmdltermsclass", 40);
    ASSERT_NE(nullptr, f);
    ::SendMessageA(f, UM_SEL_DISABLE, 0, 3);
    ::SendMessageA(f, UM_SEL_DISABLE, 0, 5);
    EXPECT_EQ(1, ::SendMessageA(f, UM_SEL_SETVALUE, 0, 5));
    EXPECT_EQ(4, ::SendMessageA(f, UM_SEL_GETVALUE, 0, 0));  // the type before the disabled one
    ::SendMessageA(f, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    HWND drop = ::GetDlgItem(f, 1);
    ASSERT_NE(nullptr, drop);
    HWND combo = ::GetDlgItem(drop, 1);
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(13, ::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    // Choosing the entry of type 7 (position 5 among the enabled types).
    ::SendMessageA(combo, CB_SETCURSEL, 5, 0);
    ::SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ::SendMessageA(drop, WM_COMMAND, MAKEWPARAM(1, CBN_CLOSEUP), (LPARAM)combo);
    Pump();
    EXPECT_EQ(7, ::SendMessageA(f, UM_SEL_GETVALUE, 0, 0));
    EXPECT_FALSE(::IsWindow(drop));
    ASSERT_FALSE(parent.commands.empty());
    EXPECT_EQ(MAKEWPARAM(40, 1), parent.commands.back());
}

TEST_F(SelectorFields, ButtonModeOnlyNotifies) {
    HWND f = Field("cmdlwidclass", 41);
    ASSERT_NE(nullptr, f);
    ::SendMessageA(f, UM_SEL_SETFLAGS, 0, 1);
    ::SendMessageA(f, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(nullptr, ::GetDlgItem(f, 1));
    Pump();
    ASSERT_EQ(1u, parent.commands.size());
    EXPECT_EQ(MAKEWPARAM(41, 1), parent.commands[0]);
}

TEST_F(SelectorFields, ColourReloadNeedsADrawingView) {
    HWND f = Field("cmdcolorclass", 42);
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(0, ::SendMessageA(f, UM_SEL_RELOAD, 0, 0));
    EXPECT_EQ(0, ::SendMessageA(f, UM_SEL_GETVALUE, 0, 0));
}

TEST_F(SelectorFields, WidthOutsideTheTableIsDrawnAsEntryZero) {
    // A 20-pixel field: entry 0 (0.13 mm) is one line; entry 8 (2 mm) seven.
    struct Case {
        int value, lines;
    } cases[] = {{16, 1}, {8, 7}, {0, 1}};
    for (const Case& c : cases) {
        HWND f = Field("cmdlwidclass", 43, 160, 20);
        ASSERT_NE(nullptr, f);
        ::SendMessageA(f, UM_SEL_SETVALUE, 0, c.value);
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 160, -20, 1, 32, BI_RGB};
        uint32_t* bits = nullptr;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, bmp);
        ::SendMessageA(f, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
        ::GdiFlush();
        int black = 0;
        for (int y = 0; y < 20; ++y)
            black += (bits[y * 160 + 60] & 0xFFFFFF) == 0;
        EXPECT_EQ(c.lines, black) << c.value;
        ::SelectObject(dc, old);
        ::DeleteObject(bmp);
        ::DeleteDC(dc);
        ::DestroyWindow(f);
    }
}

}  // namespace
