// 2-D geometry with the system's tolerances.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "view/geometry.h"
#include "view/scale_value.h"
#include "view/key_cursor.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

TEST(Geometry, VectorAngleAndSafeAtan2EdgeCases) {
    SetDrawingTolerance(1e-5);
    struct Case {
        const char* name;
        double y, x, expected;
    } cases[] = {
        {"zero vector", 0, 0, 0},
        {"negative x axis", 0, -5, kPi},
        {"nearly vertical down", -3, 1e-9, -kPi / 2},
        {"nearly horizontal right", 1e-7, 4, 0},
        {"diagonal", 1, 1, kPi / 4},
    };
    for (const Case& k : cases)
        EXPECT_NEAR(k.expected, VectorAngle(k.y, k.x), 1e-12) << k.name;
    EXPECT_EQ(0.0, SafeAtan2(0, 0));
    EXPECT_EQ(0.0, SafeAtan2(std::numeric_limits<double>::quiet_NaN(), 1));
}

TEST(Geometry, LineIntersections) {
    SetDrawingTolerance(1e-5);
    double out[3] = {};
    const double a1[3] = {0, 0, 0}, a2[3] = {1, 1, 0};
    const double b1[3] = {0, 1, 0}, b2[3] = {1, 2, 0};
    EXPECT_EQ(0, IntersectLines(out, a1, a2, b1, b2));  // y = x and y = x + 1

    const double v1[3] = {2, -5, 0}, v2[3] = {2, 5, 0};
    const double h1[3] = {-5, 3, 0}, h2[3] = {5, 3, 0};
    ASSERT_EQ(1, IntersectLines(out, v1, v2, h1, h2));
    EXPECT_DOUBLE_EQ(2, out[0]);
    EXPECT_DOUBLE_EQ(3, out[1]);
    ASSERT_EQ(1, IntersectLines(out, a1, a2, h1, h2));
    EXPECT_DOUBLE_EQ(3, out[0]);
    EXPECT_DOUBLE_EQ(3, out[1]);
    EXPECT_EQ(0, IntersectLines(out, v1, v2, v1, v2));
}

TEST(Geometry, SegmentAndCircle) {
    SetDrawingTolerance(1e-5);
    const double c[3] = {0, 0, 0};
    double p[3] = {}, q[3] = {};
    const double l1[3] = {-2, 0, 0}, l2[3] = {2, 0, 0};
    ASSERT_EQ(2, IntersectLineCircle(p, q, l1, l2, c, 1));
    EXPECT_DOUBLE_EQ(1, p[0]);
    EXPECT_DOUBLE_EQ(-1, q[0]);
    const double s1[3] = {0, 0, 0}, s2[3] = {2, 0, 0};
    ASSERT_EQ(1, IntersectLineCircle(p, q, s1, s2, c, 1));
    EXPECT_DOUBLE_EQ(1, p[0]);
    const double far1[3] = {-2, 5, 0}, far2[3] = {2, 5, 0};
    EXPECT_EQ(0, IntersectLineCircle(p, q, far1, far2, c, 1));
    const double d1[3] = {-2, -2, 0}, d2[3] = {2, 2, 0};
    ASSERT_EQ(2, IntersectLineCircle(p, q, d1, d2, c, std::sqrt(2.0)));
    EXPECT_NEAR(1, p[0], 1e-9);
    EXPECT_NEAR(-1, q[1], 1e-9);
}

TEST(Geometry, PointsDistancesAndTransforms) {
    const double a[3] = {0, 0, 0}, b[3] = {2, 0, 0};
    // The tolerance (1e-8) is on the length sum: 1e-5 off the middle adds
    // only 1e-10, 1e-3 off adds 1e-6.
    const double on[3] = {1, 0, 0}, closeBy[3] = {1, 1e-5, 0}, off[3] = {1, 1e-3, 0};
    const double beyond[3] = {2.001, 0, 0};
    EXPECT_EQ(1, IsPointOnSegment(on, a, b));
    EXPECT_EQ(1, IsPointOnSegment(closeBy, a, b));
    EXPECT_EQ(0, IsPointOnSegment(off, a, b));
    EXPECT_EQ(0, IsPointOnSegment(beyond, a, b));
    const double p345[3] = {3, 4, 0};
    EXPECT_DOUBLE_EQ(5, PointDistance(a, p345));

    double r[3] = {1, 0, 7};
    RotatePoint2D(r, kPi / 2);
    EXPECT_NEAR(0, r[0], 1e-12);
    EXPECT_NEAR(1, r[1], 1e-12);
    EXPECT_EQ(7, r[2]);

    // Move by (5, 6) from base (1, 1) with identity rotation and scale 2.
    const double t[11] = {0, 1, 0, 0, 1, 1, 1, 5, 6, 2, 2};
    double x = 3, y = 4;
    TransformPointAffine(&x, &y, t);
    EXPECT_DOUBLE_EQ(9, x);   // (3 - 1) * 2 + 5
    EXPECT_DOUBLE_EQ(12, y);  // (4 - 1) * 2 + 6
}

TEST(Geometry, GestureCommandsAcceptOnlyServiceIds) {
    struct Case {
        int table, entry, id, stored;
    } cases[] = {{1, 0, 1200, 1200}, {2, 3, 1339, 1339}, {1, 1, 1340, 0}, {1, 2, 999, 0}};
    for (const Case& k : cases) {
        EXPECT_EQ(k.stored, SetGestureCommand(k.table, k.entry, k.id)) << k.id;
        EXPECT_EQ(k.stored, GetGestureCommand(k.table, k.entry)) << k.id;
    }
    EXPECT_EQ(1200, SetGestureCommand(1, 4, 1200));  // beyond the table: only the value
    EXPECT_EQ(0, GetGestureCommand(1, 4));
}

TEST(Geometry, ScaleValuesShowAsFractions) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.02, "1/50"}, {0.4, "2/5"}, {1.0 / 3, "1/3"}, {0.005, "1/200"}, {2, "2"},
        {1, "1"},       {0, "0"},     {-0.5, "-0.5"},   {1.5, "1.5"},
    };
    for (const Case& k : cases) {
        char text[32] = "?";
        FormatScaleValue(k.value, text, sizeof text);
        EXPECT_STREQ(k.text, text) << k.value;
    }
    char small[4] = "";
    FormatScaleValue(0.0001, small, sizeof small);  // "1/10000" does not fit: cut, ended
    EXPECT_EQ(3u, std::strlen(small));
}

TEST(Geometry, FractionApproximation) {
    struct Case {
        double x;
        int result;
        long numerator, denominator;
    } cases[] = {
        {1, 1, 1, 1},
        {0.5, 1, 1, 2},
        {0.4, 1, 2, 5},
        {0.02, 1, 1, 50},
        {0.75, 1, 3, 4},
        {0.3, 1, 3, 10},
        {2, 0, 0, 0},
        {0, 0, 0, 0},
        {-0.25, 0, 0, 0},
        {std::numeric_limits<double>::infinity(), 0, 0, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0, 0, 0},
    };
    for (const Case& k : cases) {
        long n = 0, d = 0;
        EXPECT_EQ(k.result, ApproximateFraction(k.x, &n, &d, 0)) << k.x;
        if (k.result) {
            EXPECT_EQ(k.numerator, n) << k.x;
            EXPECT_EQ(k.denominator, d) << k.x;
        }
    }
}

TEST(Geometry, NotFiniteValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value;
        int result;
    } cases[] = {{0, 0}, {-1e308, 0}, {inf, 1}, {-inf, 1}, {nan, 1}};
    for (const Case& k : cases)
        EXPECT_EQ(k.result, IsNotFinite(k.value)) << k.value;
}

// The tolerances the settings give reach the geometry; a value that is no
// positive finite number leaves the tolerance as it was.
TEST(Geometry, TolerancesFollowTheSettings) {
    SetGeometryTolerances(1e-6, 1e-4);
    EXPECT_DOUBLE_EQ(1e-6, GetDrawingTolerance());
    EXPECT_DOUBLE_EQ(1e-4, GetAngleTolerance());
    // Nearly vertical by 5e-6: within 1e-5, not within 1e-6.
    EXPECT_NE(-kPi / 2, VectorAngle(-3, 5e-6));
    SetGeometryTolerances(1e-5, std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(-kPi / 2, VectorAngle(-3, 5e-6));
    EXPECT_DOUBLE_EQ(1e-4, GetAngleTolerance());
    SetGeometryTolerances(-1, 0);
    EXPECT_DOUBLE_EQ(1e-5, GetDrawingTolerance());
    EXPECT_DOUBLE_EQ(1e-4, GetAngleTolerance());
}

}  // namespace
