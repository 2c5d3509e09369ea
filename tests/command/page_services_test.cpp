// UM_PAGE_FUNC: the visible rectangle, the zoom in a chosen view mode and
// the page-record lookups, on a real window of 801 x 601 pixels.
#include <gtest/gtest.h>

#include "drawing_fixture.h"

namespace {

using PageServices = DrawingFixture;

double At(const double* field) {
    double v;
    std::memcpy(&v, field, sizeof v);
    return v;
}

TEST_F(PageServices, TheVisibleRectangleOfAnOddWidth) {
    RECT client;
    GetClientRect(a.view, &client);
    ASSERT_EQ(client.right, 801);
    a.sets[0][0] = 10;   // offset x
    a.sets[0][1] = -20;  // offset y
    a.sets[0][2] = 2;    // pixels per drawing unit
    CmdRequest req = RequestFor(a);
    req.arg = 0;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 20, &req), 1);
    const double x1 = At(&req.pt1[0]), y1 = At(&req.pt1[1]), x2 = At(&req.pt2[0]), y2 = At(&req.pt2[1]);
    EXPECT_DOUBLE_EQ(x1, -400 / 2.0 - 10);
    EXPECT_DOUBLE_EQ(y1, client.bottom / 2 / 2.0 + 20);
    EXPECT_DOUBLE_EQ(x2 - x1, 801 / 2.0) << "the odd pixel belongs to the right half";
    EXPECT_DOUBLE_EQ(y2, -(client.bottom - client.bottom / 2) / 2.0 + 20);
    CmdRequest other = RequestFor(a);
    other.arg = 3;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 20, &other), 1) << "an unknown mode leaves the request";
    EXPECT_EQ(At(&other.pt1[0]), 0);
}

TEST_F(PageServices, ZoomInPaperSpaceWhileShowingModelSpace) {
    a.viewMode = 0;
    const double model[3] = {a.sets[0][0], a.sets[0][1], a.sets[0][2]};
    CmdRequest req = RequestFor(a);
    req.arg = 1;
    const double p1[3] = {0, 100, 0}, p2[3] = {200, 0, 0};
    SetRequestPoint(req.pt1, p1);
    SetRequestPoint(req.pt2, p2);
    EXPECT_EQ(Send(UM_PAGE_FUNC, 26, &req), 1);
    EXPECT_EQ(a.viewMode, 0) << "the view still shows model space";
    EXPECT_DOUBLE_EQ(a.sets[1][0], -100);
    EXPECT_DOUBLE_EQ(a.sets[1][1], -50);
    EXPECT_NEAR(a.sets[1][2], 601.0 / 100 < 801.0 / 200 ? 601.0 / 100 : 801.0 / 200, 1e-12);
    EXPECT_EQ(a.sets[0][0], model[0]);
    EXPECT_EQ(a.sets[0][2], model[2]) << "the model-space set is untouched";
}

TEST_F(PageServices, SubCodesByTable) {
    a.viewMode = 3;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 16, 0), 0) << "a stored mode of 3 reads as 0";
    a.viewMode = 2;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 16, 0), 2);
    a.db.pages.currentPage = 4;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 0, 0), 4);
    CmdRequest req = RequestFor(a);
    req.arg = 0;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 23, &req), 0) << "page 0 has no page record";
    EXPECT_EQ(Send(UM_PAGE_FUNC, 4, 0), 1) << "page 0 exists";
    EXPECT_EQ(Send(UM_PAGE_FUNC, 4, 7), 0);
    active = nullptr;
    for (WPARAM code : {WPARAM(0), WPARAM(4), WPARAM(16), WPARAM(20), WPARAM(26), WPARAM(27), WPARAM(28)})
        EXPECT_EQ(Send(UM_PAGE_FUNC, code, &req), 0) << "no view: sub-code " << code;
    EXPECT_EQ(Send(UM_PAGE_FUNC, 21, 0), 1) << "the transform flag needs no view (its old value)";
    DAriSetTransFg(1);
}

}  // namespace
