// Arrow-key stepping: the nearest crossing beyond the cursor in the
// arrow's direction, by element kind, within the paper's reach.
#include <gtest/gtest.h>

#include <cmath>

#include "command/crossing_step.h"
#include "command/host_hooks.h"
#include "command/mark_services.h"
#include "drawing_fixture.h"
#include "view/geometry.h"

using namespace cadtest;

namespace {

class CrossingStep : public DrawingFixture {
public:
    void SetUp() override {
        DrawingFixture::SetUp();
        SetDrawingTolerance(1e-6);
        HostHooks().getCursorWorldPoint = [this](double pt[3]) {
            pt[0] = cursor[0];
            pt[1] = cursor[1];
            pt[2] = 0;
        };
    }
    double cursor[2] = {0, 0};

    // The result of one step, or "none" with the point left at the cursor.
    std::string Step(const char* direction) {
        double result[3] = {-1, -1, -1};
        const int found = FindMarkInDirection(direction, result);
        char text[64];
        if (!found) {
            EXPECT_EQ(result[0], cursor[0]);
            EXPECT_EQ(result[1], cursor[1]);
            return "none";
        }
        std::snprintf(text, sizeof text, "%.3f %.3f", result[0], result[1]);
        return text;
    }
    StoredElement* Circle(double x, double y, double r, uint16_t kind = kElmCircle, double from = 0, double to = 0) {
        ElementRecord rec = Record(kind);
        CadSetF64(&rec, kOffP1X, x);
        CadSetF64(&rec, kOffP1Y, y);
        CadSetF64(&rec, kOffRadius, r);
        CadSetF64(&rec, kOffArcStart, from);
        CadSetF64(&rec, kOffArcEnd, to);
        return Add(rec);
    }
};

TEST_F(CrossingStep, ByKindAndDirection) {
    struct Case {
        const char* name;
        std::function<void(CrossingStep&)> build;
        const char* direction;
        const char* expect;
    };
    const Case cases[] = {
        {"a line straight ahead", [](CrossingStep& f) { f.Add(Line(10, -5, 10, 5)); }, "RIGHT", "10.000 0.000"},
        {"a line behind", [](CrossingStep& f) { f.Add(Line(-10, -5, -10, 5)); }, "RIGHT", "none"},
        {"a line through the cursor", [](CrossingStep& f) { f.Add(Line(0, -5, 0, 5)); }, "RIGHT", "none"},
        {"the nearer of two lines",
         [](CrossingStep& f) {
             f.Add(Line(30, -5, 30, 5));
             f.Add(Line(12, -5, 12, 5));
         },
         "RIGHT", "12.000 0.000"},
        {"a line beyond the paper's width", [](CrossingStep& f) { f.Add(Line(900, -5, 900, 5)); }, "RIGHT", "none"},
        {"a circle around the cursor, right", [](CrossingStep& f) { f.Circle(0, 0, 5); }, "RIGHT", "5.000 0.000"},
        {"a circle around the cursor, left", [](CrossingStep& f) { f.Circle(0, 0, 5); }, "LEFT", "-5.000 0.000"},
        {"a circle around the cursor, up", [](CrossingStep& f) { f.Circle(0, 0, 5); }, "UP", "0.000 5.000"},
        {"a circle around the cursor, down", [](CrossingStep& f) { f.Circle(0, 0, 5); }, "DOWN", "0.000 -5.000"},
        {"an arc counts as its whole circle", [](CrossingStep& f) { f.Circle(10, 0, 5, kElmArc, -0.2, 0.2); }, "RIGHT",
         "5.000 0.000"},
        {"an ellipse",
         [](CrossingStep& f) {
             ElementRecord rec = Record(kElmEllipse);
             CadSetF64(&rec, kOffP1X, 20);
             CadSetF64(&rec, kOffP2X, 30);
             CadSetF64(&rec, kOffEllRatio, 0.5);
             f.Add(rec);
         },
         "RIGHT", "10.000 0.000"},
        {"a turned ellipse, upwards",
         [](CrossingStep& f) {
             ElementRecord rec = Record(kElmEllipse);
             CadSetF64(&rec, kOffP1Y, 20);
             CadSetF64(&rec, kOffP2Y, 30);  // major axis along y
             CadSetF64(&rec, kOffEllRatio, 0.5);
             f.Add(rec);
         },
         "UP", "0.000 10.000"},
        {"a line in a group, not one in a group inside it",
         [](CrossingStep& f) {
             StoredElement* g = DAriCreateFgroupHead(Ptr(Record(kElmGroup)), &f.a.db);
             StoredElement* inner = DAriAppendMemberElement(g, Ptr(Record(kElmGroup)), &f.a.db);
             DAriAppendMemberElement(inner, Ptr(Line(3, -5, 3, 5)), &f.a.db);
             DAriAppendMemberElement(g, Ptr(Line(7, -5, 7, 5)), &f.a.db);
         },
         "RIGHT", "7.000 0.000"},
        {"an unknown direction", [](CrossingStep& f) { f.Add(Line(10, -5, 10, 5)); }, "right", "none"},
    };
    for (const Case& c : cases) {
        DAriAllDeleteElement(&a.db);
        c.build(*this);
        EXPECT_EQ(Step(c.direction), c.expect) << c.name;
    }
}

TEST_F(CrossingStep, TheLibraryKeepsItsSearchOptions) {
    SearchOptionRecord before, after;
    SaveSearchOption(0, &before);
    before.words[2] = 5;
    SetSearchOption(0, reinterpret_cast<LPARAM>(&before));
    Add(Line(10, -5, 10, 5, 0, 0));
    Step("RIGHT");
    SaveSearchOption(0, &after);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    SearchOptionRecord library;
    DAriDbGetSerch(&library);
    EXPECT_EQ(std::memcmp(&before, &library, sizeof before), 0);
}

TEST_F(CrossingStep, SegmentsAndEllipses) {
    const double c[3] = {0, 0, 0}, q[3] = {10, 0, 0};
    double first[3], second[3];
    const double a1[3] = {-20, 0, 0}, b1[3] = {20, 0, 0};
    EXPECT_EQ(IntersectSegmentEllipse(first, second, a1, b1, c, q, 0.5), 2);
    EXPECT_NEAR(std::fabs(first[0]), 10, 1e-9);
    EXPECT_NEAR(first[0], -second[0], 1e-9);
    const double a2[3] = {0, 0, 0}, b2[3] = {20, 0, 0};
    EXPECT_EQ(IntersectSegmentEllipse(first, second, a2, b2, c, q, 0.5), 1);
    EXPECT_NEAR(first[0], 10, 1e-9);
    const double a3[3] = {4, -20, 0}, b3[3] = {4, 20, 0};  // along the minor axis
    EXPECT_EQ(IntersectSegmentEllipse(first, second, a3, b3, c, q, 0.5), 2);
    EXPECT_NEAR(std::fabs(first[1]), 5 * std::sqrt(1 - 0.16), 1e-9);
    const double a4[3] = {-20, 9, 0}, b4[3] = {20, 9, 0};  // passes above it
    EXPECT_EQ(IntersectSegmentEllipse(first, second, a4, b4, c, q, 0.5), 0);
    EXPECT_EQ(IntersectSegmentEllipse(first, second, a1, b1, c, c, 0.5), 0) << "no major axis";
    const double here[3] = {1, 1, 0}, up[3] = {1, 2, 0};
    EXPECT_EQ(IsBeyondInDirection("UP", here, up), 1);
    EXPECT_EQ(IsBeyondInDirection("DOWN", here, up), 0);
    EXPECT_EQ(IsBeyondInDirection("UP", here, here), 0) << "no tolerance, strictly beyond";
}

}  // namespace
