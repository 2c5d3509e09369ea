// Element transforms and extents by table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tests/cadlib_draw/draw_fixture.h"
#include "view/element_transform.h"
#include "view/geometry.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kDeg = kPi / 180;

TEST(ElementExtent, ArcsEllipsesAndCompounds) {
    drawtest::Db db;
    struct Case {
        const char* name;
        ElementRecord rec;
        double box[4];  // left, top, right, bottom
        double tolerance;
    } cases[] = {
        {"arc 350 to 10 degrees",
         drawtest::Arc(0, 0, 10, 350 * kDeg, 10 * kDeg, 0),
         {10 * std::cos(10 * kDeg), 10 * std::sin(10 * kDeg), 10, -10 * std::sin(10 * kDeg)},
         1e-9},
        {"the same arc the other way",
         drawtest::Arc(0, 0, 10, 350 * kDeg, 10 * kDeg, 1),
         {-10, 10, 10 * std::cos(10 * kDeg), -10},
         1e-9},
        {"ellipse ratio 0.5", drawtest::Oval(5, 5, 25, 5, 0.5), {-15, 15, 25, -5}, 0.05},
        {"circle", drawtest::Circle(1, 2, 3), {-2, 5, 4, -1}, 0},
        {"line", drawtest::Line(3, -1, -2, 4), {-2, 4, 3, -1}, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        StoredElement* e = DAriAppendElement(&k.rec, &db);
        double box[4];
        ASSERT_EQ(1, GetElementExtent(nullptr, &db, e, box));
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(k.box[i], box[i], k.tolerance + 1e-12) << i;
    }
    // A compound whose members are all compounds: an all-zero box, result 1.
    ElementRecord c = cadtest::Record(kElmCompound, 0, 0);
    StoredElement* outer = DAriCreateFgroupHead(&c, &db);
    ElementRecord c2 = cadtest::Record(kElmCompound, 0, 0);
    DAriAppendMemberElement(outer, &c2, &db);
    double box[4] = {9, 9, 9, 9};
    EXPECT_EQ(1, GetElementExtent(nullptr, &db, outer, box));
    for (double v : box)
        EXPECT_EQ(0.0, v);
    ElementRecord g = cadtest::Record(kElmGroup, 0, 0);
    StoredElement* group = DAriCreateFgroupHead(&g, &db);
    ElementRecord l = drawtest::Line(0, 0, 4, 2);
    ElementRecord ci = drawtest::Circle(10, 0, 1);
    DAriAppendMemberElement(group, &l, &db);
    DAriAppendMemberElement(group, &ci, &db);
    EXPECT_EQ(1, GetElementExtent(nullptr, &db, group, box));
    EXPECT_DOUBLE_EQ(0, box[0]);
    EXPECT_DOUBLE_EQ(2, box[1]);
    EXPECT_DOUBLE_EQ(11, box[2]);
    EXPECT_DOUBLE_EQ(-1, box[3]);
}

TEST(ElementTransform, CoordsMoveKindsOneToFiveOnly) {
    ElementRecord line = drawtest::Line(1, 0, 2, 0);
    ASSERT_EQ(1, TransformElementCoords(&line, kPi / 2, 2, 2, 10, 20, 1, 0));
    EXPECT_NEAR(10, CadGetF64(&line, kOffP1X), 1e-12);
    EXPECT_NEAR(20, CadGetF64(&line, kOffP1Y), 1e-12);
    EXPECT_NEAR(10, CadGetF64(&line, kOffP2X), 1e-12);
    EXPECT_NEAR(22, CadGetF64(&line, kOffP2Y), 1e-12);
    ElementRecord oval = drawtest::Oval(1, 1, 3, 1, 0.5), before = oval;
    TransformElementCoords(&oval, 1, 2, 2, 5, 5, 0, 0);
    EXPECT_EQ(0, std::memcmp(&before, &oval, sizeof oval)) << "an ellipse is left as it is";
    const double u[9] = {2, 1, 0, 0, 1, 1, 1, 10, 10};  // scale 2 about (1, 1) to (10, 10)
    TransformRecord(&oval, u);
    EXPECT_DOUBLE_EQ(10, CadGetF64(&oval, kOffP1X));
    EXPECT_DOUBLE_EQ(14, CadGetF64(&oval, kOffP2X));
    ElementRecord arc = drawtest::Arc(0, 0, 5, 0, kPi / 2);
    const double turn[9] = {1, 0, -1, 1, 0, 0, 0, 0, 0};  // a quarter turn
    TransformRecord(&arc, turn);
    EXPECT_NEAR(kPi / 2, CadGetF64(&arc, kOffArcStart), 1e-12);
    EXPECT_NEAR(kPi, CadGetF64(&arc, kOffArcEnd), 1e-12);
}

}  // namespace
