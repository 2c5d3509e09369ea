// The data of a new drawing: the paper rows offered, the remembered
// defaults, the checks of OK and what OK remembers.
#include <gtest/gtest.h>

#include <string>

#include "base/paper_sizes.h"
#include "base/running_settings.h"
#include "setup/new_drawing.h"

namespace {

class NewDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        BuildPaperSizeTable();
        saved = Running();
    }
    void TearDown() override { Running() = saved; }
    static double At(const DbInfoHead& r, size_t offset) { return CadGetF64(r.bytes, offset); }
    RunningSettings saved;
};

TEST_F(NewDrawing, SizeNamesAndOrientationsNameTheStandardRows) {
    const std::vector<std::string> names = PaperSizeNames();
    ASSERT_EQ(14u, names.size());
    EXPECT_EQ("A0", names.front());
    EXPECT_EQ("B6", names.back());
    for (int row = 0; row < kCustomPaperRow; ++row) {
        const std::string name = PaperSizeTable[row].name;
        const size_t blank = name.find(' ');
        EXPECT_EQ(row, PaperRowOf(name.substr(0, blank), name.substr(blank + 1))) << name;
        EXPECT_EQ(row, PaperRowOfCode(PaperSizeTable[row].code)) << name;
    }
    EXPECT_EQ(-1, PaperRowOf("A3", "斜"));
    EXPECT_EQ(-1, PaperRowOfCode(0)) << "the custom code";
}

TEST_F(NewDrawing, RememberedDefaultsNeverDivideByZero) {
    struct Row {
        const char* name;
        int row;
        double scale;
        int usedRow;
        double usedScale;
    } rows[] = {{"A3 at 1/50", 3, 0.02, 3, 0.02},
                {"a scale of 0 takes 1/50", 3, 0.0, 3, 0.02},
                {"a negative scale takes 1/50", 3, -1.0, 3, 0.02},
                {"a row beyond the table takes the first", 40, 0.1, 0, 0.1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Running().iDefPaperType = r.row;
        Running().dDefPaperScale = r.scale;
        Running().dDelPaperCx = 420;
        Running().dDelPaperCy = 297;
        DbInfoHead record = {};
        TakeNewDrawingDefaults(record);
        EXPECT_EQ(PaperSizeTable[r.usedRow].code, record.Info()->paperCode);
        EXPECT_DOUBLE_EQ(r.usedScale, At(record, kInfoScale));
        EXPECT_DOUBLE_EQ(420 / r.usedScale, At(record, kInfoDrawW));
        EXPECT_DOUBLE_EQ(297 / r.usedScale, At(record, kInfoDrawH));
    }
}

TEST_F(NewDrawing, OkChecksTheScaleAndTheCustomSizes) {
    const int a3 = PaperRowOf("A3", "横");
    struct Row {
        const char* name;
        int row;
        double scale;
        double custom[4];
        NewDrawingProblem problem;
        double paperW, drawW;
    } rows[] = {
        {"A3 landscape at 1/50", a3, 1.0 / 50, {}, NewDrawingProblem::None, 420, 21000},
        {"scale 0", a3, 0, {}, NewDrawingProblem::Scale, 0, 0},
        {"negative scale", a3, -0.5, {}, NewDrawingProblem::Scale, 0, 0},
        {"custom paper", kCustomPaperRow, 0.5, {300, 200, 600, 400}, NewDrawingProblem::None, 300, 600},
        {"custom paper of height 0", kCustomPaperRow, 0.5, {300, 0, 600, 400}, NewDrawingProblem::PaperSize, 0, 0},
        {"custom drawing of width -1", kCustomPaperRow, 0.5, {300, 200, -1, 400}, NewDrawingProblem::PaperSize, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DbInfoHead record = {};
        NewDrawingChoice c;
        c.row = r.row;
        c.scale = r.scale;
        for (int i = 0; i < 4; ++i)
            c.customSize[i] = r.custom[i];
        EXPECT_EQ(r.problem, ApplyNewDrawingChoice(record, c));
        EXPECT_DOUBLE_EQ(r.paperW, At(record, kInfoPaperWmm));
        EXPECT_NEAR(r.drawW, At(record, kInfoDrawW), 1e-9);
        if (r.problem == NewDrawingProblem::None)
            EXPECT_EQ(r.row == kCustomPaperRow ? 0 : PaperSizeTable[r.row].code, record.Info()->paperCode);
    }
}

TEST_F(NewDrawing, TextsAreCutOnACharacterBoundaryAndRemembered) {
    std::string wide = "a";  // one byte, then two-byte characters: byte 256 is a lead byte
    for (int i = 0; i < 200; ++i)
        wide += "名";
    DbInfoHead record = {};
    SetRecordText(record, kInfoTitle, wide);
    EXPECT_EQ(wide.substr(0, 255), RecordText(record, kInfoTitle));
    SetRecordText(record, kInfoAuthor, "作者");
    NewDrawingChoice c;
    c.row = 5;
    c.scale = 0.01;
    ASSERT_EQ(NewDrawingProblem::None, ApplyNewDrawingChoice(record, c));
    RememberNewDrawing(record, 5);
    EXPECT_EQ(5, Running().iDefPaperType);
    EXPECT_DOUBLE_EQ(0.01, Running().dDefPaperScale);
    EXPECT_DOUBLE_EQ(PaperSizeTable[5].width, Running().dDelPaperCx);
    EXPECT_DOUBLE_EQ(PaperSizeTable[5].height, Running().dDelPaperCy);
    EXPECT_STREQ("作者", Running().szDefPaperStr2);
    EXPECT_EQ(wide.substr(0, 255), std::string(Running().szDefPaperStr1)) << "255 bytes fit the setting";
}

}  // namespace
