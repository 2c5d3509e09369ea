// UM_SET_EPS: the tolerances and number display settings that command
// modules read and set, globally or (iEpsMode 1) per drawing.
#include <cmath>
#include <cstddef>

#include "base/local_settings_ini.h"
#include "cadlib/WmCadApiDb.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view/eps_service.h"
#include "view/geometry.h"
#include "view_fixture.h"

namespace {

class EpsTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        savedMode_ = LocalIni().iEpsMode;
        SetGeometryTolerances(1e-6, 1e-4);
    }
    void TearDown() override {
        LocalIni().iEpsMode = savedMode_;
        SetGeometryTolerances(1e-5, 0.001);
        ViewFixture::TearDown();
    }
    // One request: sub-code, 32-bit and float inputs, the view.
    LRESULT Call(int subCode, int in = 0, double value = 0, HWND view = nullptr) {
        CmdRequest r = {};
        r.w.mode = subCode;
        r.arg = in;
        r.pt1[0] = value;
        r.w.anglePtr = reinterpret_cast<uint32_t>(&outValue);
        r.picked = reinterpret_cast<uint32_t>(&outInt);
        r.view = view;
        return SetDbEpsilon(0, reinterpret_cast<LPARAM>(&r));
    }
    double outValue = -1;
    int outInt = -1;
    int savedMode_ = -1;
};

TEST_F(EpsTest, GlobalTolerancesAndDisplaySettings) {
    LocalIni().iEpsMode = 0;
    Running().iDigit = 5;
    Running().bZero = 1;
    EXPECT_EQ(1, Call(1));
    EXPECT_DOUBLE_EQ(1e-6, outValue);
    EXPECT_EQ(1, Call(3));
    EXPECT_DOUBLE_EQ(1e-4, outValue);
    EXPECT_EQ(1, Call(2, 0, 1e-3));
    EXPECT_DOUBLE_EQ(1e-3, GetDrawingTolerance()) << "the geometry uses what was set";
    EXPECT_DOUBLE_EQ(1e-3, Running().dEps);
    EXPECT_EQ(1, Call(4, 0, 0.01));
    EXPECT_DOUBLE_EQ(0.01, GetAngleTolerance());
    EXPECT_EQ(1, Call(5));
    EXPECT_EQ(5, outInt);
    EXPECT_EQ(1, Call(6, 3));
    EXPECT_EQ(3, Running().iDigit);
    EXPECT_EQ(1, Call(7)) << "sub-code 7 answers bZero itself";
    EXPECT_EQ(1, Call(8, 0));
    EXPECT_EQ(0, Call(7));
    EXPECT_EQ(1, Call(9));
    EXPECT_DOUBLE_EQ(1e14, outValue);
    EXPECT_EQ(1, Call(10, 0, 5e13));
    EXPECT_EQ(1, Call(9));
    EXPECT_DOUBLE_EQ(5e13, outValue);
    Call(10, 0, 1e14);
    outValue = -1;
    EXPECT_EQ(1, Call(11)) << "other sub-codes do nothing";
    EXPECT_EQ(-1, outValue);
    EXPECT_EQ(0, SetDbEpsilon(0, 0)) << "no request";
}

TEST_F(EpsTest, PerDrawingTolerancesLiveInTheDrawing) {
    HWND view = NewDrawing();
    ASSERT_NE(nullptr, view);
    DbHeader* db = GetViewData(view)->db;
    DbInfo* info = DAriGetDbInfoPtr(db->pages.currentPage, db);
    ASSERT_NE(nullptr, info);
    LocalIni().iEpsMode = 1;
    EXPECT_EQ(1, Call(2, 0, 2e-5, view));
    EXPECT_DOUBLE_EQ(2e-5, CadGetF64(info, offsetof(DbInfo, epsDistance)));
    EXPECT_DOUBLE_EQ(1e-6, GetDrawingTolerance()) << "the global tolerance stays";
    EXPECT_EQ(1, Call(1, 0, 0, view));
    EXPECT_DOUBLE_EQ(2e-5, outValue);
    EXPECT_EQ(1, Call(4, 0, 0.25, view));
    EXPECT_DOUBLE_EQ(std::cos(0.25), CadGetF64(info, offsetof(DbInfo, epsAngleCos)));
    EXPECT_DOUBLE_EQ(std::sin(0.25), CadGetF64(info, offsetof(DbInfo, epsAngleSin)));
    EXPECT_EQ(1, Call(3, 0, 0, view));
    EXPECT_NEAR(0.25, outValue, 1e-12);
    // Without a view (or for a window that is no drawing view) the global
    // tolerance answers.
    EXPECT_EQ(1, Call(1));
    EXPECT_DOUBLE_EQ(1e-6, outValue);
    EXPECT_EQ(1, Call(1, 0, 0, m_main.m_hWnd));
    EXPECT_DOUBLE_EQ(1e-6, outValue);
}

// A tolerance set through UM_SET_EPS reaches the CAD library's searches: a
// crossing just short of a line's end counts only within the tolerance.
TEST_F(EpsTest, TheLibrarySearchesWithTheToleranceSet) {
    HWND view = NewDrawing();
    ASSERT_NE(nullptr, view);
    ViewData* d = GetViewData(view);
    ElementRecord a = drawtest::Line(0, 0, 100, 0, 2);
    ElementRecord b = drawtest::Line(50, 0.0005, 50, 100, 2);  // stops 0.0005 short of a
    DAriAppendElement(&a, d->db);
    DAriAppendElement(&b, d->db);
    LocalIni().iEpsMode = 0;
    const CadPoint3 at = {50, 0.25, 0};
    double found[3] = {};
    ASSERT_EQ(1, Call(2, 0, 1e-6));
    EXPECT_EQ(0, DAriSerchPoint3(at, found, 1.0, d, nullptr));
    ASSERT_EQ(1, Call(2, 0, 1e-3));
    ASSERT_EQ(1, DAriSerchPoint3(at, found, 1.0, d, nullptr));
    EXPECT_NEAR(50, found[0], 1e-9);
    EXPECT_NEAR(0, found[1], 1e-9);
}

}  // namespace
