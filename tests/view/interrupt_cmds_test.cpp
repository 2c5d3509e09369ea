// The interrupt commands: the key table's matching (exact text and
// modifiers, a number being typed, the mark-jump prefix) and the stepping
// of the active view's drawing attributes with their wraps.
#include <gtest/gtest.h>

#include <cstring>

#include "command/wait_loop.h"
#include "view/interrupt_cmds.h"
#include "view/view_data.h"
#include "view_fixture.h"
#include "view/view_table.h"

namespace {

class InterruptKeys : public ::testing::Test {
protected:
    void SetUp() override {
        saved = CmdKeyTable();
        CmdKeyTable().count = 0;
        KeyRoad() = KeyRoadState();
        KeyMarkJumpArmed = 0;
        CmdInput() = InputRecord();
    }
    void TearDown() override {
        CmdKeyTable() = saved;
        KeyRoad() = KeyRoadState();
        KeyMarkJumpArmed = 0;
        CmdInput() = InputRecord();
    }
    KeyTable saved;
};

TEST_F(InterruptKeys, MatchingTable) {
    ASSERT_TRUE(AddKeyTableRecord(0, 3021, "[F5]"));
    ASSERT_TRUE(AddKeyTableRecord(1, 3020, "[F6]"));
    ASSERT_TRUE(AddKeyTableRecord(0, 3054, "[F7]"));
    struct Row {
        const char* name;
        const char* key;
        uint8_t modifiers;
        int taken;
        int event;          // the event word afterwards
        uint8_t modsAfter;  // the modifier byte afterwards
        const char* keyAfter;
        int armedAfter;
    } rows[] = {
        {"exact key and modifiers", "[F5]", 0, 1, CMD_EV_CANCEL, 0, "", 0},
        {"modifiers must be equal", "[F5]", 1, 0, 0, 0, "", 0},
        {"shift record with shift", "[F6]", 1, 1, CMD_EV_LBUTTON, 1, "", 0},
        {"case matters", "[f5]", 0, 0, 0, 0, "", 0},
        {"a number being typed is taken", "", 8, 1, 0, 8, "", 0},
        {"the prefix arms the mark jump", "[=]", 0, 0, 0, 0, "", 1},
        {"the jump command leaves the jump armed", "[F7]", 0, 1, 0, 0, "", 1},
    };
    for (const Row& r : rows) {
        KeyMarkJumpArmed = 0;
        CmdInput().event = 0;
        std::strcpy(KeyRoad().keyText, r.key);
        KeyRoad().modifiers = r.modifiers;
        EXPECT_EQ(MatchKeyTable(), r.taken) << r.name;
        EXPECT_EQ(CmdInput().event, r.event) << r.name;
        EXPECT_EQ(KeyRoad().modifiers, r.modsAfter) << r.name;
        EXPECT_STREQ(KeyRoad().keyText, r.keyAfter) << r.name;
        EXPECT_EQ(KeyMarkJumpArmed, r.armedAfter) << r.name;
    }
}

TEST_F(InterruptKeys, KeyStrokesBuildTheTextAndRunTheRecord) {
    ASSERT_TRUE(AddKeyTableRecord(0, 3021, "[F5]"));
    ASSERT_TRUE(AddKeyTableRecord(0, 3020, "[Q]"));
    EXPECT_EQ(OnCmdKeyDown(nullptr, VK_F5), 1);
    EXPECT_EQ(CmdInput().event, CMD_EV_CANCEL);
    CmdInput().event = 0;
    EXPECT_EQ(OnCmdChar(nullptr, 'q'), 1) << "letters are taken as capitals";
    EXPECT_EQ(CmdInput().event, CMD_EV_LBUTTON);
    // An unknown key clears the text and the modifiers.
    KeyRoad().modifiers = 4;
    EXPECT_EQ(OnCmdKeyDown(nullptr, VK_F8), 0);
    EXPECT_EQ(KeyRoad().modifiers, 0);
    EXPECT_STREQ(KeyRoad().keyText, "");
    // The table holds 240 records and no more.
    while (CmdKeyTable().count < 240)
        ASSERT_TRUE(AddKeyTableRecord(0, 3026, "[X]"));
    EXPECT_FALSE(AddKeyTableRecord(0, 3026, "[Y]"));
}

TEST(InterruptWraps, AttributeRanges) {
    EXPECT_EQ(WrapPenColour(257), 1);
    EXPECT_EQ(WrapPenColour(0), 256);
    EXPECT_EQ(WrapPenColour(-3), 256);
    EXPECT_EQ(WrapPenColour(256), 256);
    EXPECT_EQ(WrapLineType(32), 0);
    EXPECT_EQ(WrapLineType(-1), 31);
    EXPECT_EQ(WrapLineWidth(16), 0);
    EXPECT_EQ(WrapLineWidth(-1), 15);
    EXPECT_EQ(WrapLineWidth(15), 15);
}

using InterruptAttributes = ViewFixture;

TEST_F(InterruptAttributes, PanelCommandsStepTheActiveView) {
    HWND view = NewDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(GetActiveView(), view);
    DrawAttr& a = GetViewData(view)->attr;
    struct Row {
        int id;
        int colour, type, width;  // before
        int colourAfter, typeAfter, widthAfter;
    } rows[] = {
        {3023, 256, 0, 0, 1, 0, 0}, {3027, 1, 0, 0, 256, 0, 0}, {3024, 5, 31, 0, 5, 0, 0}, {3028, 5, 0, 0, 5, 31, 0},
        {3025, 5, 3, 15, 5, 3, 0},  {3029, 5, 3, 0, 5, 3, 15},  {3026, 5, 3, 4, 5, 3, 4},  {3030, 5, 3, 4, 5, 3, 4},
    };
    for (const Row& r : rows) {
        a.color = r.colour;
        a.lineType = r.type;
        a.lineWidth = r.width;
        EXPECT_EQ(ExecPanelCmd(static_cast<unsigned short>(r.id)), 0);
        EXPECT_EQ(a.color, r.colourAfter) << r.id;
        EXPECT_EQ(a.lineType, r.typeAfter) << r.id;
        EXPECT_EQ(a.lineWidth, r.widthAfter) << r.id;
    }
    // Nothing typed: the value commands leave the attributes and raise no event.
    double before = 0;
    std::memcpy(&before, reinterpret_cast<unsigned char*>(&a) + 320, sizeof before);
    CmdInput().event = 0;
    ExecPanelCmd(3045);
    double after = 0;
    std::memcpy(&after, reinterpret_cast<unsigned char*>(&a) + 320, sizeof after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(CmdInput().event, 0);
    // The cancel and click commands write the event word.
    ExecPanelCmd(3021);
    EXPECT_EQ(CmdInput().event, CMD_EV_CANCEL);
    CmdInput().event = 0;
}

}  // namespace
