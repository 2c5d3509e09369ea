// Search and picking: the pick aperture, searches in a rectangle, picking
// one element among several with the user's answers, and the selection of
// marked elements.
#include <gtest/gtest.h>

#include "command/host_hooks.h"
#include "command/mark_services.h"
#include "command/wait_loop.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

class MarkServices : public DrawingFixture {
public:
    void SetUp() override {
        DrawingFixture::SetUp();
        keptArea = GetCursorFindArea();
        SetCursorFindArea(8);
        a.sets[0][2] = 2;  // 2 pixels per drawing unit: an aperture of 4 units
        HostHooks().runYesNoDialog = [this](int* placed, int*, int*, const char* title) {
            placements.push_back(*placed);
            titles.push_back(title ? title : "");
            const int n = yesNoAsked++;
            return n < static_cast<int>(yesNoAnswers.size()) ? yesNoAnswers[n] : IDCANCEL;
        };
    }
    void TearDown() override {
        SetCursorFindArea(keptArea);
        DrawingFixture::TearDown();
    }
    void LockLayer(int layer) {
        DbInfo* info = DAriGetDbInfoPtr(0, &a.db);
        uint16_t w;
        std::memcpy(&w, &info->layers.lock[layer / 16], sizeof w);
        w = static_cast<uint16_t>(w | (1u << (layer % 16)));
        std::memcpy(&info->layers.lock[layer / 16], &w, sizeof w);
    }
    StoredElement* Pick(double x, double y) {
        StoredElement* e = nullptr;
        PickElementAtPoint(&e, x, y);
        return e;
    }
    int keptArea = 8;
    std::vector<int> placements;
    std::vector<std::string> titles;
};

TEST_F(MarkServices, TheApertureInPixelsAndInDrawingUnits) {
    EXPECT_DOUBLE_EQ(PickAreaInDrawing(), 4.0);
    EXPECT_EQ(SetCursorFindArea(0), 0);
    EXPECT_EQ(SetCursorFindArea(999), 0);
    EXPECT_EQ(GetCursorFindArea(), 8) << "out-of-range values change nothing";
    EXPECT_EQ(SetCursorFindArea(998), 8) << "the previous value";
    HostHooks().loupePickDistance = [] { return 1.5; };
    EXPECT_DOUBLE_EQ(PickAreaInDrawing(), 1.5) << "input from the loupe";
}

TEST_F(MarkServices, ASinglePickTakesTheOnlyCandidateWithoutAsking) {
    StoredElement* line = Add(Line(0, -10, 0, 10));
    Add(Line(100, -10, 100, 10));
    EXPECT_EQ(Pick(1, 0), line);
    EXPECT_EQ(yesNoAsked, 0);
    EXPECT_EQ(Pick(50, 0), nullptr) << "nothing within the aperture";
}

TEST_F(MarkServices, ALockedCandidateLeavesTheOtherWithoutAQuestion) {
    LockLayer(3);
    Add(Line(0, -10, 0, 10, 0, 3));
    StoredElement* open = Add(Line(1, -10, 1, 10, 0, 0));
    TqSetLockLaySearchMode(1);
    EXPECT_EQ(Pick(0.5, 0), open);
    EXPECT_EQ(yesNoAsked, 0);
    TqSetLockLaySearchMode(0);
}

TEST_F(MarkServices, TheUserIsAskedCandidateByCandidate) {
    StoredElement* lines[3] = {Add(Line(0, -10, 0, 10)), Add(Line(1, -10, 1, 10)), Add(Line(2, -10, 2, 10))};
    yesNoAnswers = {IDNO, IDYES};
    EXPECT_EQ(Pick(1, 0), lines[1]);
    EXPECT_EQ(yesNoAsked, 2);
    EXPECT_EQ(titles[0], "確認");
    for (StoredElement* e : lines)
        EXPECT_EQ(e->selection & 1u, 0u) << "every candidate shown is put back";
    // No, no, no: nothing, and the next question opens near the pointer again.
    yesNoAsked = 0;
    yesNoAnswers = {IDNO, IDNO, IDNO};
    placements.clear();
    EXPECT_EQ(Pick(1, 0), nullptr);
    EXPECT_EQ(yesNoAsked, 3);
    // Cancel ends the pick at the first question.
    yesNoAsked = 0;
    yesNoAnswers = {IDCANCEL, IDYES};
    EXPECT_EQ(Pick(1, 0), nullptr);
    EXPECT_EQ(yesNoAsked, 1);
    EXPECT_EQ(DAriSerchSetGrpFind(0), 0) << "group find is off after a pick";
}

TEST_F(MarkServices, AGroupIsPickedWholeUnderTheGroupBit) {
    StoredElement* g = DAriCreateFgroupHead(Ptr(Record(kElmGroup)), &a.db);
    StoredElement* member = DAriAppendMemberElement(g, Ptr(Line(0, -10, 0, 10)), &a.db);
    EXPECT_EQ(Pick(0, 0), member) << "without the bit the member is the candidate";
    CmdInput().wantedMask = 0x800000;
    EXPECT_EQ(Pick(0, 0), g);
    CmdInput().wantedMask = 0;
}

TEST_F(MarkServices, SelectingMarkedElementsReachesGroupMembers) {
    StoredElement* g = DAriCreateFgroupHead(Ptr(Record(kElmGroup)), &a.db);
    StoredElement* inner = DAriAppendMemberElement(g, Ptr(Record(kElmGroup)), &a.db);
    StoredElement* deep = DAriAppendMemberElement(inner, Ptr(Line(0, 0, 1, 1)), &a.db);
    StoredElement* m = DAriAppendMemberElement(g, Ptr(Line(2, 0, 3, 1)), &a.db);
    StoredElement* plain = Add(Line(5, 0, 6, 1));
    CadMark* mark = MarkOf(&a.db, {g, plain});
    a.db.selectionChanged = 0;
    Send(UM_HIGHLIGHT_COLOR, 0, 9);
    EXPECT_EQ(Send(UM_SELECT_MARKED, 1, mark), 1);
    EXPECT_EQ(a.db.selectionChanged, 1);
    for (StoredElement* e : {g, inner, deep, m, plain}) {
        EXPECT_EQ(e->selection & 1u, 1u);
        EXPECT_EQ(e->selColour, 9u);
    }
    EXPECT_EQ(Send(UM_SELECT_MARKED, 0, mark), 1);
    for (StoredElement* e : {g, inner, deep, m, plain})
        EXPECT_EQ(e->selection & 1u, 0u);
    EXPECT_EQ(Send(UM_SELECT_MARKED, 1, 0), 0) << "a null mark";
    EXPECT_EQ(Send(UM_HIGHLIGHT_COLOR, 1, 0), 2) << "wParam 1 reads the setting";
}

TEST_F(MarkServices, MarkListsAndRectangles) {
    StoredElement* in = Add(Line(0, 0, 1, 1));
    Add(Line(50, 50, 51, 51));
    const double rect[4] = {-1, 2, 2, -1};
    auto* mark = reinterpret_cast<CadMark*>(Send(UM_GET_ELEMENTS_IN_RECT, 0, rect));
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(Send(UM_MARK_COUNT, 0, mark), 1);
    CmdRequest req = {};
    req.word6c = static_cast<int32_t>(W(mark));
    EXPECT_EQ(reinterpret_cast<StoredElement*>(Send(UM_NEXT_MARK, 0, &req)), in);
    req.word70 = W(in);
    EXPECT_EQ(Send(UM_NEXT_MARK, 0, &req), 0) << "the end";
    CmdRequest check = {};
    check.element = W(in);
    check.element2 = W(mark);
    EXPECT_EQ(Send(UM_CHECK_MARK, 0, &check), 1);
    EXPECT_EQ(Send(UM_DEL_MARK, 0, &req), 1);
    EXPECT_EQ(Send(UM_CHECK_MARK, 0, &check), 0);
    EXPECT_EQ(Send(UM_DESTROY_MARK, 0, mark), 1);
    const double inside[4] = {0, 10, 10, 0};
    EXPECT_EQ(IsPointInsideRect(5, 5, inside), 1);
    EXPECT_EQ(IsPointInsideRect(0, 5, inside), 0) << "the edge is not inside";
}

}  // namespace
