// What the views paint for the element services: the temporary database and
// the overlay databases over a view's own drawing (not in thumbnails), and
// the blocks of the element and mark painters.
#include <cstring>
#include <vector>

#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/temp_db.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view/rubber_band.h"
#include "view/view_paint.h"
#include "view/view_table.h"
#include "view_fixture.h"

namespace {

class OverlayPaint : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        HostHooks().viewDb = [](HWND v) { return GetViewDb(v); };
        HostHooks().drawMarkInViewsAlt = [](HWND v, int c, CadMark* m) { return DrawMarkInViewsAlt(v, c, m); };
    }
    void TearDown() override {
        CmdRequest req = {};
        req.w.mode = 2;
        TempDbRequest(0, &req);
        req.w.mode = 100;
        TempDbRequest(2, &req);
        DrawParamObserver = nullptr;
        HostHooks() = CmdHostHooks();
        ViewFixture::TearDown();
    }
    static LRESULT Temp(int op, WPARAM sub, HWND view, const void* element, int mode = 0) {
        CmdRequest req = {};
        req.w.mode = op;
        req.view = view;
        req.element = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(element));
        req.arg = mode;
        return TempDbRequest(sub, &req);
    }
};

TEST_F(OverlayPaint, TheTemporaryDatabaseShowsOverItsBaseViewButNotInThumbnails) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    ViewData* d = GetViewData(view);
    ASSERT_EQ(1, Temp(1, 0, view, nullptr));
    const ElementRecord preview = drawtest::Line(-40, 0, 40, 0, 5);
    ASSERT_NE(0, Temp(3, 0, nullptr, &preview));
    std::vector<DrawParam> blocks;
    DrawParamObserver = [&](const DrawParam& p) { blocks.push_back(p); };
    drawtest::Canvas c(200, 100, RGB(9, 9, 9));
    DrawParam p;
    RECT rc = {0, 0, 200, 100};
    ViewGridShown = 0;
    DrawViewInto(view, d, c.dc, rc, &p);
    const COLORREF pen = drawtest::Pen(GetTempDb(), 5);
    EXPECT_GT(c.Count(pen, 60, 49, 140, 51), 60) << "the preview line across the centre";
    ASSERT_EQ(2u, blocks.size());
    EXPECT_EQ(1, blocks[1].overlayDb);
    EXPECT_EQ(0, blocks[1].paperFrame);
    EXPECT_EQ(0, blocks[1].originMarker);
    EXPECT_EQ(0, blocks[1].baseMarker);
    // The thumbnail of a save shows the drawing alone.
    drawtest::Canvas thumb(176, 126, RGB(9, 9, 9));
    blocks.clear();
    DrawViewToDc(view, 0, 0, thumb.dc);
    EXPECT_EQ(1u, blocks.size());
    // Another drawing's view shows nothing of it.
    HWND other = NewDrawing("別図面");
    EXPECT_EQ(0, IsTempDbView(GetViewDb(other)));
}

TEST_F(OverlayPaint, OverlayDatabasesShowOverTheViewsOfTheirDrawing) {
    HWND view = NewDrawing();
    SetClientSize(view, 200, 100);
    ResetScales(view);
    DbHeader overlay;
    std::memset(&overlay, 0, sizeof overlay);
    ASSERT_EQ(1, DAriCreateDB(&overlay));
    const ElementRecord line = drawtest::Line(0, -40, 0, 40, 6);
    DAriAppendElement(&line, &overlay);
    CmdRequest req = {};
    req.w.mode = 100;
    req.view = view;
    req.element = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&overlay));
    ASSERT_EQ(1, TempDbRequest(0, &req));
    drawtest::Canvas c(200, 100, RGB(9, 9, 9));
    DrawParam p;
    RECT rc = {0, 0, 200, 100};
    ViewGridShown = 0;
    DrawViewInto(view, GetViewData(view), c.dc, rc, &p);
    const COLORREF pen = drawtest::Pen(&overlay, 6);
    EXPECT_GT(c.Count(pen, 99, 15, 101, 85), 60) << "the overlay's vertical line";
    req.w.mode = 100;
    TempDbRequest(2, &req);
    DAriDeleteDB(&overlay);
}

TEST_F(OverlayPaint, ElementAndMarkPaintersDrawWhatTheyAreGivenOnly) {
    HWND view = NewDrawing();
    ViewData* d = GetViewData(view);
    const ElementRecord line = drawtest::Line(0, 0, 10, 0, 2);
    StoredElement* e = DAriAppendElement(&line, d->db);
    std::vector<DrawParam> blocks;
    DrawParamObserver = [&](const DrawParam& p) { blocks.push_back(p); };
    EXPECT_EQ(1, DrawElementInViews(view, 0, e));
    ASSERT_EQ(1u, blocks.size());
    EXPECT_EQ(kDrawElement, blocks[0].what);
    EXPECT_EQ(e, blocks[0].element);
    EXPECT_EQ(1, blocks[0].colourOverride);
    EXPECT_EQ(0, blocks[0].overrideColour) << "colour 0 erases";
    EXPECT_EQ(0, blocks[0].paperFrame);
    EXPECT_EQ(kDrawToWindow, blocks[0].targetKind);
    CadMark* mark = DAriCreateMark(d->db);
    DAriSetMark(e, mark);
    blocks.clear();
    EXPECT_EQ(1, DrawMarkInViews(nullptr, -1, mark));
    ASSERT_EQ(1u, blocks.size());
    EXPECT_EQ(kDrawMark, blocks[0].what);
    EXPECT_EQ(0, blocks[0].colourOverride) << "the elements' own colours";
    blocks.clear();
    EXPECT_EQ(1, DrawMarkInViewsAlt(view, 3, mark));
    ASSERT_EQ(1u, blocks.size());
    EXPECT_EQ(1, blocks[0].overlayDb);
    DAriDestroyMark(mark);
    EXPECT_EQ(0, DrawElementInViews(nullptr, 0, e));
}

}  // namespace
