// The application object's tables and small services.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "shell/cad_system.h"
#include "shell/startup.h"
#include "view/key_cursor.h"
#include "shell/shell_seams.h"

namespace {

TEST(AppObject, PaperSizeTable) {
    BuildPaperSizeTable();
    struct {
        int row;  // 0-based
        const char* name;
        unsigned code;
        double height, width;
    } rows[] = {
        {0, "A0 横", 16, 841, 1189},    {11, "A4 縦", 32788, 297, 210}, {18, "B4 横", 36, 257, 364},
        {27, "B6 縦", 32806, 182, 128}, {28, "その他", 0, 0, 0},
    };
    for (auto& r : rows) {
        const PaperSizeRow& p = PaperSizeTable[r.row];
        EXPECT_STREQ(r.name, p.name) << r.row;
        EXPECT_EQ(r.code, p.code) << r.row;
        EXPECT_EQ(r.height, p.height) << r.row;
        EXPECT_EQ(r.width, p.width) << r.row;
    }
    for (int i = 0; i < 28; ++i) {
        const PaperSizeRow& p = PaperSizeTable[i];
        bool upright = (p.code & 0x8000) != 0;
        EXPECT_EQ(upright, p.height > p.width) << i;
    }
}

// The panel and button colours are those of the system settings
// (ConfigDataColor), a row of COLOR_BTN_ATTR chosen by the button kind.
TEST(AppObject, PanelAndButtonColoursFollowTheSystemSettings) {
    struct {
        int kind, row;
    } rows[] = {{0, 1}, {1, 2}, {2, 3}, {3, 19}, {4, 0}, {7, 19}, {-1, 19}};
    CCadSystem& sys = GetCadSystem();
    ConfigDataColor& colors = sys.m_ConfigData.SystemColor;
    const ConfigDataColor saved = colors;
    for (auto& r : rows) {
        EXPECT_EQ(r.row, ButtonColorRow(r.kind)) << r.kind;
        char text[8], back[8], gray[8];
        std::snprintf(text, sizeof text, "#%02X0102", r.row);
        std::snprintf(back, sizeof back, "#03%02X04", r.row);
        std::snprintf(gray, sizeof gray, "#0506%02X", r.row);
        colors.COLOR_BTN_ATTR[r.row] = ColorBtnAttrEx(text, back, gray);
        EXPECT_EQ(RGB(r.row, 1, 2), GetButtonTextColor(r.kind)) << r.kind;
        EXPECT_EQ(RGB(3, r.row, 4), GetButtonBackColor(r.kind)) << r.kind;
        EXPECT_EQ(RGB(5, 6, r.row), GetButtonDisabledColor(r.kind)) << r.kind;
    }
    colors.COLOR_PANEL = ColorRefEx("#123456");
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPanelColor());
    colors.COLOR_PANEL = ColorRefEx("COLOR_3DFACE");
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPanelColor());
    colors = saved;
    // The shipped defaults: kind 0 is row 1, white on "#F46358".
    EXPECT_EQ(RGB(0xF4, 0x63, 0x58), GetButtonBackColor(0));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), GetButtonTextColor(0));
}

TEST(AppObject, LaunchKinds) {
    struct {
        int mode, kind;
    } rows[] = {{-1, 0}, {99, 1}, {0, 1}, {1, 2}, {5, 2}, {10, 3}, {6, 0}, {8, 0}};
    int saved = LaunchMode;
    for (auto& r : rows) {
        LaunchMode = r.mode;
        EXPECT_EQ(r.kind, LaunchKind()) << r.mode;
    }
    LaunchMode = saved;
}

TEST(AppObject, PageAndLayerNeedADrawing) {
    CCadSystem& sys = GetCadSystem();
    sys.m_currentPage = 2;
    sys.m_currentLayer = 7;
    sys.SetCurrentPageLayer(5, 9);
    EXPECT_EQ(2, sys.m_currentPage);
    EXPECT_EQ(7, sys.m_currentLayer);
}

TEST(AppObject, ViewWindowClassesRegisterAndUnregister) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_EQ(1, CCadSystem::RegisterViewClasses(inst));
    WNDCLASSA wc;
    EXPECT_TRUE(GetClassInfoA(inst, "#LAYOUTVIEW#", &wc));
    EXPECT_TRUE(GetClassInfoA(inst, "LAY_WND", &wc));
    CCadSystem::UnregisterViewClasses(inst);
    EXPECT_FALSE(GetClassInfoA(inst, "#ROUPEVIEW#", &wc));
}

TEST(AppObject, StartUpRegistersThePanelAndSelectorClasses) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    RegisterPanelClasses(inst);
    // One class of each kind start-up registers: buttons, panel items, the
    // seven attribute selectors, the right-click pop-up, the drawing pop-ups.
    const char* kinds[] = {"cmdlayerclass",  "cmdcolorclass",  "cmdltypeclass", "cmdpointclass", "cmdlwidclass",
                           "cmdltermsclass", "cmdltermeclass", "LAY_WND",       "#LAYOUTVIEW#",  "#ROUPEVIEW#"};
    WNDCLASSA wc;
    for (const char* name : kinds)
        EXPECT_TRUE(GetClassInfoA(inst, name, &wc)) << name;
    UnregisterPanelClasses(inst);
    for (const char* name : kinds)
        EXPECT_FALSE(GetClassInfoA(inst, name, &wc)) << name;
}

TEST(AppObject, DrawingViewsGetTheirCrosshairAndEmptyCursor) {
    LoadViewCursors(GetModuleHandleA(nullptr));
    ASSERT_NE(nullptr, DrawCursor);
    EXPECT_NE(ArrowCursor, DrawCursor) << "CURSOR1 is in the resources";
    EXPECT_NE(ArrowCursor, NullCursor) << "CURNUL is in the resources";
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(DrawCursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(15u, info.xHotspot) << "the hot spot is the crosshair's centre";
    EXPECT_EQ(15u, info.yHotspot);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

}  // namespace
