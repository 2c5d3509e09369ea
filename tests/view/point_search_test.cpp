// Point searches of the active drawing for snapped input: the end-point
// search tries the origin, the base point and the paper and margin corners
// (strictly inside the aperture) before the library's end points; the other
// kinds go to the library; in keyboard-cursor mode the end-point search
// hands the point back unfound.
#include "base/running_settings.h"
#include "command/wait_loop.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view/key_cursor.h"
#include "view/point_search.h"
#include "view_fixture.h"

namespace {

using PointSearchTest = ViewFixture;

TEST_F(PointSearchTest, SnapsByKindWithTheCornersFirst) {
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);  // one pixel a unit: the 8-pixel aperture is 8 units
    ViewData* d = GetViewData(view);
    ElementRecord a = drawtest::Line(-50, 3, 50, 3, 2);
    ElementRecord b = drawtest::Line(4, 4, 4, 40, 2);
    ASSERT_NE(nullptr, DAriAppendElement(&a, d->db));
    ASSERT_NE(nullptr, DAriAppendElement(&b, d->db));
    CmdWaitState().basePointShown = 0;

    struct Case {
        const char* name;
        int kind;
        double x, y;
        double paperScale;  // drawing scale of the paper
        int marginColor, paperLinesOff;
        int found;
        double rx, ry;
    } cases[] = {
        {"an element end point", kSearchEndPoint, 47, 1, 1, 0, 0, 1, 50, 3},
        {"the origin before a nearer end point", kSearchEndPoint, 3, 3, 1, 0, 0, 1, 0, 0},
        {"a paper corner", kSearchEndPoint, 197, 98, 1, 0, 0, 1, 200, 100},
        {"a corner one aperture away is outside", kSearchEndPoint, 192, 100, 1, 0, 0, 0, 0, 0},
        {"no paper corners while their lines are off", kSearchEndPoint, 197, 98, 1, 0, 1, 0, 0, 0},
        {"a margin corner, margins by the scale", kSearchEndPoint, 182, 78, 2, 1, 0, 1, 180, 80},
        {"a scale of 0 counts as 1", kSearchEndPoint, 162, 58, 0, 1, 0, 1, 160, 60},
        {"a scale above 99999999 counts as 1", kSearchEndPoint, 162, 58, 1e9, 1, 0, 1, 160, 60},
        {"no margin corners with margin colour 0", kSearchEndPoint, 162, 58, 0, 0, 0, 0, 0, 0},
        {"a mid point", kSearchMidPoint, 1, 1, 1, 0, 0, 1, 0, 3},
        {"nothing near", kSearchEndPoint, 100, 60, 1, 0, 0, 0, 0, 0},
    };
    RunningSettings& r = Running();
    r.bBeepFind = 0;
    r.TYUTEN = 2;
    r.paperMargin.left = r.paperMargin.right = r.paperMargin.top = r.paperMargin.bottom = 40;
    for (const Case& k : cases) {
        SetPaper(view, 400, 200, false, k.paperScale);
        r.paperMargin.color = k.marginColor;
        r.PAPERLINEDSPOFF = k.paperLinesOff;
        const double at[3] = {k.x, k.y, 0};
        double found[3] = {-1, -1, -1};
        EXPECT_EQ(k.found, SearchPointOfKind(k.kind, at, found)) << k.name;
        if (k.found) {
            EXPECT_DOUBLE_EQ(k.rx, found[0]) << k.name;
            EXPECT_DOUBLE_EQ(k.ry, found[1]) << k.name;
        }
    }

    // In keyboard-cursor mode the end-point search finds nothing and hands
    // the point back.
    EnterKeyCursorMode();
    const double at[3] = {47, 1, 0};
    double found[3] = {};
    EXPECT_EQ(0, SearchEndPoint(at, found, nullptr));
    EXPECT_DOUBLE_EQ(47, found[0]);
    EXPECT_DOUBLE_EQ(1, found[1]);
    ToggleKeyCursorMode();
    EXPECT_EQ(0, IsKeyCursorMode());
}

}  // namespace
