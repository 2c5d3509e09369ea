// The tool panel, its layout and its attribute selectors on real windows;
// samples and fields painted into memory DIBs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/host_hooks.h"
#include "panels/attr_pickup.h"
#include "panels/attr_samples.h"
#include "panels/attr_selectors.h"
#include "panels/tool_panel.h"
#include "panels/tool_panel_layout.h"
#include "win/message_box.h"

namespace {

// A white 32-bit DIB to paint into, read back pixel by pixel.
class Dib {
public:
    Dib(int w, int h) : m_w(w), m_h(h) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bmp = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bmp);
        std::memset(m_bits, 0xFF, (size_t)w * h * 4);
    }
    ~Dib() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bmp);
        ::DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const uint32_t p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    bool Black(int x, int y) const { return At(x, y) == RGB(0, 0, 0); }
    // Rows of column x that are black.
    int BlackRows(int x) const {
        int n = 0;
        for (int y = 0; y < m_h; ++y)
            n += Black(x, y);
        return n;
    }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bmp;
    HGDIOBJ m_old;
    uint32_t* m_bits = nullptr;
};

TEST(ToolPanelLayout, BlocksAndSeparatorsFollowTheModeWord) {
    struct Case {
        int mode;
        int blocks[4];
        std::vector<int> separators;
    } cases[] = {
        {0x0, {-1, -1, -1, -1}, {}},
        {0x2, {-1, 2, -1, -1}, {}},
        {0x4 | 0x8, {-1, -1, 2, 89}, {80}},
        {0x1 | 0x8, {0, -1, -1, 84}, {19, 75}},
        {0xF, {0, 84, 249, 336}, {19, 75, 240, 327}},
    };
    for (const Case& c : cases) {
        ToolPanelMetrics m;
        ComputeToolPanelLayout(m, c.mode);
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(c.blocks[b], m.blockY[b]) << "mode " << c.mode << " block " << b;
        std::vector<int> seps;
        for (int s : m.separators) {
            if (!s) break;
            seps.push_back(s);
        }
        EXPECT_EQ(c.separators, seps) << "mode " << c.mode;
    }
}

TEST(ToolPanelLayout, ChildrenStandWhereTheTablesPutThem) {
    ToolPanelMetrics m;
    ComputeToolPanelLayout(m, 0xF);
    struct Case {
        bool lowRes;
        int id;
        RECT rect;
    } cases[] = {
        {false, 3771, {33, 0, 81, 18}},    {false, 8002, {47, 56, 247, 72}},  {false, 5001, {3, 84, 164, 107}},
        {false, 5004, {3, 130, 164, 150}}, {false, 5003, {83, 153, 163, 173}}, {false, 3314, {97, 176, 191, 199}},
        {false, 3312, {3, 199, 164, 239}}, {false, 3405, {3, 249, 97, 272}},  {false, 3404, {97, 295, 191, 318}},
        {false, 3409, {97, 382, 191, 405}}, {true, 5001, {3, 84, 134, 104}},   {true, 5003, {69, 153, 134, 173}},
        {true, 3314, {87, 176, 172, 196}},  {true, 3312, {3, 199, 164, 239}},  {true, 3410, {87, 249, 172, 269}},
    };
    for (const Case& c : cases) {
        const std::vector<ToolPanelChild> children = ToolPanelChildren(m, c.lowRes);
        const ToolPanelChild* hit = nullptr;
        for (const ToolPanelChild& k : children)
            if (k.id == c.id) hit = &k;
        ASSERT_NE(nullptr, hit) << c.id;
        EXPECT_TRUE(EqualRect(&hit->rect, &c.rect))
            << c.id << (c.lowRes ? " low" : "") << ": " << hit->rect.left << "," << hit->rect.top << ","
            << hit->rect.right << "," << hit->rect.bottom;
    }
}

TEST(ToolPanelLayout, ContentHeightIsTheLowestChild) {
    struct Case {
        int mode;
        bool lowRes;
        int height;
    } cases[] = {{0x0, false, 0}, {0x1, false, 78}, {0xF, false, 411}, {0xF, true, 408}, {0x2, true, 163}};
    for (const Case& c : cases) {
        ToolPanelMetrics m;
        ComputeToolPanelLayout(m, c.mode);
        EXPECT_EQ(c.height, ToolPanelContentHeight(m, c.lowRes)) << c.mode << (c.lowRes ? " low" : "");
    }
}

TEST(SnapModes, ButtonsToggleAndTheCombinedBitIsReplaced) {
    struct Case {
        long before;
        int button;
        long after;
    } cases[] = {
        {0x20, 3410, 0x20},  // the only mode stays on
        {0x20, 3411, 0x60},
        {0x08, 3402, 0x68},
        {0x68, 3405, 0x60},
        {0x04 | 0x80, 3412, 0x04},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.after, ToggleSnapMode(c.before, SnapBitOfButton(c.button))) << c.button;
    EXPECT_EQ(0x60, NormaliseSnapModes(0x01));
    EXPECT_EQ(0xFE, NormaliseSnapModes(SNAP_ALL));
}

TEST(AttrSelectorModel, LineEndsAndWidthsByIndex) {
    const std::vector<LineEndItem>& ends = DefaultLineEndItems();
    ASSERT_EQ(15u, ends.size());
    EXPECT_EQ("矢印", ends[1].name);
    EXPECT_EQ(13, ends[13].type);
    EXPECT_EQ(0, ends[14].type);  // the second "無し"
    EXPECT_EQ("無し", ends[14].name);
    const char* const texts[] = {" 3 , 四角 , 3 ", "7,short", "9,片矢印,9"};
    const std::vector<LineEndItem> parsed = ParseLineEndItems(texts, 3);
    ASSERT_EQ(2u, parsed.size());
    EXPECT_EQ("四角", parsed[0].name);
    EXPECT_EQ(9, parsed[1].type);

    EXPECT_EQ("0.13", GetLineWidthText(0));
    EXPECT_EQ("1.2", GetLineWidthText(15));
    EXPECT_EQ("", GetLineWidthText(16));
    EXPECT_DOUBLE_EQ(GetLineWidthValue(0), GetLineWidthValue(16));
    EXPECT_EQ(10, WidthBarThickness(3.0, 14));
    EXPECT_EQ(14, WidthBarThickness(6.0, 14));
}

TEST(AttrSamples, WidthBarsAndDashesInPixels) {
    Dib dib(1100, 40);
    DrawWidthBar(RGB(0, 0, 0), 20, 10, dib.dc(), 10, 30);
    EXPECT_EQ(11, dib.BlackRows(15));
    EXPECT_TRUE(dib.Black(15, 14));  // from y - n/2 - 1 down
    EXPECT_FALSE(dib.Black(15, 13));
    DrawWidthBar(RGB(0, 0, 0), 5, 0, dib.dc(), 40, 50);
    EXPECT_EQ(1, dib.BlackRows(45));

    // Element lengths below 0.1 give 1-pixel dashes; 500 repetitions end it.
    LineTypeEntry tiny = {};
    tiny.segments = 2;
    const double l = 0.05;
    std::memcpy(&tiny.lengths[0], &l, sizeof l);
    std::memcpy(&tiny.lengths[1], &l, sizeof l);
    DrawLinePattern(dib.dc(), tiny, RGB(0, 0, 0), 60, 1090, 30);
    EXPECT_TRUE(dib.Black(60, 30));
    EXPECT_FALSE(dib.Black(61, 30));
    EXPECT_TRUE(dib.Black(62, 30));
    EXPECT_TRUE(dib.Black(60 + 998, 30));
    EXPECT_FALSE(dib.Black(60 + 1000, 30));
    EXPECT_FALSE(dib.Black(60 + 1010, 30));
    LineTypeEntry solid = {};
    DrawLinePattern(dib.dc(), solid, RGB(0, 0, 0), 60, 200, 35);
    EXPECT_TRUE(dib.Black(150, 35));
}

TEST(AttrSamples, LineEndSymbolsSitAtTheirEnd) {
    struct Case {
        int type, endFlag;
        POINT black, white;  // in the box (20, 0) - (120, 20), middle row 10
    } cases[] = {
        {0, 0, {21, 10}, {60, 5}},     // plain line from the left edge
        {2, 0, {24, 11}, {60, 13}},    // filled circle 4 pixels in from the start
        {2, 1, {115, 11}, {25, 13}},   // the same at the end
        {4, 0, {60, 10}, {21, 10}},    // the line stops 4 pixels before the tip
        {5, 1, {110, 10}, {112, 8 + 0}},  // filled triangle at the end, tip at 120
        {8, 0, {20, 7}, {30, 7}},      // filled square centred 4 in
        {14, 0, {21, 10}, {60, 5}},    // unknown types are plain lines
    };
    for (const Case& c : cases) {
        Dib dib(140, 20);
        HGDIOBJ pen = ::SelectObject(dib.dc(), ::GetStockObject(BLACK_PEN));
        HGDIOBJ brush = ::SelectObject(dib.dc(), ::GetStockObject(BLACK_BRUSH));
        DrawLineEndShape(c.type, dib.dc(), c.endFlag, 20, 0, 120, 20);
        EXPECT_TRUE(dib.Black(c.black.x, c.black.y)) << "type " << c.type << " end " << c.endFlag;
        EXPECT_FALSE(dib.Black(c.white.x, c.white.y)) << "type " << c.type << " end " << c.endFlag;
        ::SelectObject(dib.dc(), pen);
        ::SelectObject(dib.dc(), brush);
    }
}

// A panel in a pane with every block, no drawing open.
class ToolPanelWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Running().toolPanelDispMode = 0xF;
        Running().DEGIT = 4;
        Running().bDispLastPosFg = 0;
        PanelAttrDefaults = {4, 0, 0, 0, 0};
        for (int t = 0; t < 16; ++t)
            LineEndEnableTable[t] = t < 15;
        CreateArgs a;
        a.x = a.y = 0;
        a.cx = 200;
        a.cy = 450;
        ASSERT_NE(nullptr, pane.Create(a));
        ASSERT_NE(nullptr, panel.Create(pane.m_hWnd));
    }
    void TearDown() override {
        pane.DestroyWindow();
        MSG m;
        while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&m);
        Running().snapModeFlags = 0;
    }
    HWND Item(int id) { return ::GetDlgItem(panel.m_hWnd, id); }
    std::string Text(int id) {
        char t[64] = {};
        ::GetWindowTextA(Item(id), t, sizeof t);
        return t;
    }
    // As a choice in the drop list does: the model's index, then the
    // selector tells its parent.
    void Choose(int id, int index) {
        panel.Selector(id)->Model().index = index;
        ::SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(id, 1), (LPARAM)Item(id));
    }
    CWindowBase pane;
    CToolPanel panel{&pane};
};

TEST_F(ToolPanelWindowTest, ChoicesWithoutADrawingGoToTheDefaults) {
    Choose(5001, 6);
    EXPECT_EQ(7, PanelAttrDefaults.color);
    EXPECT_EQ(7, LocalIni().iDrawColor);
    Choose(5002, 3);
    Choose(5004, 15);
    EXPECT_EQ(3, PanelAttrDefaults.lineType);
    EXPECT_EQ(15, PanelAttrDefaults.lineWidth);
    // The line-end words hold types: the last "無し" is type 0, not 14.
    Choose(5000, 5);
    Choose(5003, 14);
    EXPECT_EQ(5, PanelAttrDefaults.lineStart);
    EXPECT_EQ(0, PanelAttrDefaults.lineEnd);

    // Resynchronising shows the words again.
    panel.Selector(5001)->Model().index = 0;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3822, 0);
    EXPECT_EQ(6, ::SendMessageA(Item(5001), UM_SEL_GETVALUE, 0, 0));
    EXPECT_EQ(15, ::SendMessageA(Item(5004), UM_SEL_GETVALUE, 0, 0));
    EXPECT_EQ(5, ::SendMessageA(Item(5000), UM_SEL_GETVALUE, 0, 0));
    EXPECT_EQ(0, ::SendMessageA(Item(5003), UM_SEL_GETVALUE, 0, 0));
    LocalIni().iDrawColor = 4;
}

TEST_F(ToolPanelWindowTest, SnapButtonsSetTheWordAndShowIt) {
    Running().snapModeFlags = 0x20;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3410, (LPARAM)Item(3410));
    EXPECT_EQ(0x20, Running().snapModeFlags);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3411, (LPARAM)Item(3411));
    EXPECT_EQ(0x60, Running().snapModeFlags);
    EXPECT_EQ(1, ::GetWindowLongA(Item(3411), 4));
    Running().snapModeFlags = 0x08;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3402, 0);
    EXPECT_EQ(0x68, Running().snapModeFlags);
    for (int id : {3405, 3410, 3411})
        EXPECT_EQ(1, ::GetWindowLongA(Item(id), 4)) << id;
    EXPECT_EQ(0, ::GetWindowLongA(Item(3404), 4));

    // With the free-point lock, the sync adds the free point.
    Running().snapModeFlags = 0x80;
    Running().iLockBtnSnapNINNITEN = 1;
    SyncSnapButtons();
    EXPECT_EQ(0x88, Running().snapModeFlags);
    EXPECT_EQ(1, ::GetWindowLongA(Item(3405), 4));
    Running().iLockBtnSnapNINNITEN = 0;
}

TEST_F(ToolPanelWindowTest, ToolSwitchesWithoutADrawing) {
    // The two-point midpoint button in its "only on" mode leaves a checked
    // button alone; in toggle mode it switches.
    HWND mid = Item(3999);
    ::SetWindowLongA(mid, 4, 1);
    LocalIni().iSnap2TenkanMode = 0;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3999, (LPARAM)mid);
    EXPECT_EQ(1, ::GetWindowLongA(mid, 4));
    LocalIni().iSnap2TenkanMode = 1;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3999, (LPARAM)mid);
    EXPECT_EQ(0, ::GetWindowLongA(mid, 4));
    // A click on the temporary-point button while no command runs leaves it off.
    HWND temp = Item(3409);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3409, (LPARAM)temp);
    EXPECT_EQ(0, ::GetWindowLongA(temp, 4));
    // The coordinate display dialog cannot start without a drawing.
    win::MessageBoxTestHook boxes;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 8003, 0);
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("座標表示オプション選択ダイアログを起動できません", boxes.Calls()[0].text);
    EXPECT_EQ("確認", boxes.Calls()[0].caption);
    // The pick-up button is pressed by its click and released by the end
    // of the pick-up (lParam 0).
    HWND pick = Item(3408);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3408, (LPARAM)pick);
    EXPECT_EQ(1, ::GetWindowLongA(pick, 4));
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 3408, 0);
    EXPECT_EQ(0, ::GetWindowLongA(pick, 4));
}

TEST_F(ToolPanelWindowTest, RelayoutFollowsTheModeWord) {
    Running().toolPanelDispMode = 0x4;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 10, 0);
    EXPECT_EQ(nullptr, Item(5001));
    EXPECT_EQ(nullptr, Item(8000));
    ASSERT_NE(nullptr, Item(3410));
    RECT rc;
    ::GetWindowRect(Item(3410), &rc);
    ::MapWindowPoints(nullptr, panel.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(2, rc.top);  // the snap block alone starts at the top
    // Coordinates are ignored without their block.
    const double p[2] = {1, 2};
    EXPECT_EQ(0, ShowToolPanelCoordinates(p));
    Running().toolPanelDispMode = 0xF;
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, 10, 0);
    EXPECT_NE(nullptr, Item(5001));
}

TEST_F(ToolPanelWindowTest, CoordinatesAreAlignedToTheWiderValue) {
    const double small[2] = {12.5, -3.25};
    ShowToolPanelCoordinates(small);
    EXPECT_EQ("     12.5000", Text(8000));
    EXPECT_EQ("     -3.2500", Text(8001));
    const double wide[2] = {123456789.125, 2.0};
    ShowToolPanelCoordinates(wide);
    EXPECT_EQ("123456789.1250", Text(8000));
    EXPECT_EQ("        2.0000", Text(8001));
    Running().DEGIT = 3;
    ShowToolPanelCoordinates(small);
    EXPECT_EQ("    12.500", Text(8000));
    ShowToolPanelCoordinates(nullptr);
    EXPECT_EQ("", Text(8000));
}

TEST_F(ToolPanelWindowTest, FieldsPaintTheirSamples) {
    // Colour 2 of the library's defaults fills the patch of the colour field.
    ::SendMessageA(Item(5001), UM_SEL_SETVALUE, 0, 1);
    const RECT rc = {0, 0, 161, 23};
    Dib dib(161, 23);
    panel.Selector(5001)->PaintField(dib.dc(), rc);
    const COLORREF expected = SelectorColours()[1];
    EXPECT_EQ(expected, dib.At(80, 11));
    // A width of index 8 (2 mm) in a 20-pixel field: a bar of 6 + 1 lines.
    ::SendMessageA(Item(5004), UM_SEL_SETVALUE, 0, 8);
    const RECT wr = {0, 0, 161, 20};
    Dib w(161, 20);
    panel.Selector(5004)->PaintField(w.dc(), wr);
    EXPECT_EQ(7, w.BlackRows(60));
}

TEST(AttrPickUp, RangeErrorsNameTheFailingValues) {
    struct Case {
        int layer, colour, type, width;
        const char* text;
    } cases[] = {
        {0, 0, 0, 17, "色:0 線幅:17"},
        {1023, 5, 31, 15, ""},  // the last layer of a page
        {1024, 5, 31, 15, "レイヤ:1025"},
        {1025, 5, 32, 0, "レイヤ:1026 線種:32"},
        {3, 257, 0, 0, "色:257"},
    };
    for (const Case& c : cases) {
        PickedElementAttrs e = {};
        e.type = 1;
        e.layer = (uint16_t)c.layer;
        e.colour = (uint16_t)c.colour;
        e.lineType = (uint8_t)c.type;
        e.lineWidth = (uint8_t)c.width;
        EXPECT_EQ(c.text, AttrRangeErrors(e)) << c.layer << " " << c.colour;
    }
}

TEST(AttrPickUp, RejectionShowsTheMessageAndWritesNoFlag) {
    win::MessageBoxTestHook boxes;
    PickedElementAttrs e = {};
    e.type = 1;
    e.colour = 0;
    e.lineWidth = 17;
    int flag = 77;
    EXPECT_EQ(0, PickUpElementAttributes(&e, &flag));
    EXPECT_EQ(77, flag);
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("属性値(色:0 線幅:17)が異常で取り込めません。", boxes.Calls()[0].text);
    EXPECT_EQ("エラー", boxes.Calls()[0].caption);

    // Layer 1024 does not exist on a page and is refused; 1023 is taken, and
    // without the dialog the flag is SetLayer (0).
    e.colour = 3;
    e.lineWidth = 2;
    e.layer = 1024;
    EXPECT_EQ(0, PickUpElementAttributes(&e, &flag));
    EXPECT_EQ(77, flag);
    ASSERT_EQ(2u, boxes.Calls().size());
    EXPECT_EQ("属性値(レイヤ:1025)が異常で取り込めません。", boxes.Calls()[1].text);
    e.layer = 1023;
    EXPECT_EQ(1, PickUpElementAttributes(&e, &flag));
    EXPECT_EQ(0, flag);
    EXPECT_EQ(2u, boxes.Calls().size());
}

DbHeader* g_scaleDb = nullptr;

TEST(AttrPickUp, TextScaleFactorIsTheDrawingsOrLeftAlone) {
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    ASSERT_EQ(1, DAriCreateDB(&db));
    g_scaleDb = &db;
    auto saved = HostHooks().activeDb;
    HostHooks().activeDb = [] { return static_cast<void*>(g_scaleDb); };
    struct Case {
        double scale;
        int result;
        double factor;  // starting at 1
    } cases[] = {{50.0, 1, 50.0}, {1e-9, 0, 1.0}, {0.0, 0, 1.0}, {0.5, 1, 0.5}};
    std::vector<char> head(kDbInfoHeadSize);
    for (const Case& c : cases) {
        ASSERT_EQ(1, DAriGetDBInfo(head.data(), &db));
        std::memcpy(head.data() + kInfoScale, &c.scale, sizeof c.scale);
        ASSERT_EQ(1, DAriSetDBInfo(head.data(), &db));
        double factor = 1.0;
        EXPECT_EQ(c.result, GetTextScaleFactor(0, &factor)) << c.scale;
        EXPECT_DOUBLE_EQ(c.factor, factor) << c.scale;
    }
    // Without a drawing: 0, the factor as it was.
    HostHooks().activeDb = nullptr;
    double untouched = 1.0;
    EXPECT_EQ(0, GetTextScaleFactor(0, &untouched));
    EXPECT_DOUBLE_EQ(1.0, untouched);
    HostHooks().activeDb = saved;
    DAriDeleteDB(&db);
}

}  // namespace
