// The configuration sheet's pages as values: what each shows of the
// settings and what its store step writes back, with the inversions,
// lenient number reads and ranges of every page.
#include <gtest/gtest.h>

#include <string>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "setup/color_number_list.h"
#include "setup/config_pages.h"
#include "setup/small_settings_dialogs.h"
#include "setup_fixture.h"
#include "view/view_data.h"
#include "win/message_box.h"

namespace {

class ConfigPages : public SetupFixture {
protected:
    void SetUp() override {
        SetupFixture::SetUp();
        savedRunning = Running();
        savedIni = LocalIni();
    }
    void TearDown() override {
        Running() = savedRunning;
        LocalIni() = savedIni;
        SetupFixture::TearDown();
    }
    RunningSettings savedRunning;
    LocalSettingsIniValues savedIni;
    CCadSystemSettings settings;  // the application's records
};

TEST_F(ConfigPages, Page01ShowsTheWindowBoxInvertedAndStoresListIndexesPlusOne) {
    Running().bWindowSz = 0;
    Running().rubberColor = 7;
    Running().backgroundMode = 1;
    LocalIni().iHighlightColor = 200;
    Config01Values v = ReadConfig01();
    EXPECT_TRUE(v.resetWindows) << "the box is ticked when the setting is 0";
    EXPECT_EQ(6, v.rubber);
    EXPECT_EQ(1, v.background);
    EXPECT_EQ(199, v.highlight);
    v.resetWindows = false;
    v.rubber = 14;
    v.highlight = 255;
    v.background = 2;
    v.colorMode = 2;
    StoreConfig01(v);
    EXPECT_EQ(1, Running().bWindowSz);
    EXPECT_EQ(15, Running().rubberColor);
    EXPECT_EQ(256, LocalIni().iHighlightColor);
    EXPECT_EQ(2, Running().backgroundMode);
    EXPECT_EQ(2, Running().bColorMode);
}

TEST_F(ConfigPages, RubberBandSwatchesAreThePenColoursXoredWithTheBackground) {
    for (int n = 0; n <= 256; ++n)
        Running().penColors[n] = RGB(n & 0xFF, 0x10, 0xF0);
    const std::vector<COLORREF> black = RubberBandSwatches(RGB(0, 0, 0));
    const std::vector<COLORREF> white = RubberBandSwatches(RGB(255, 255, 255));
    ASSERT_EQ(15u, black.size());
    for (int n = 1; n <= 15; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Running().penColors[n], black[n - 1]) << "item n shows pen colour n unchanged on black";
        EXPECT_EQ(RGB(n ^ 0xFF, 0xEF, 0x0F), white[n - 1]) << "and inverted on white";
    }
}

TEST_F(ConfigPages, Page02StoresTheStartMenuInvertedAndTellsTheToolPanelOnlyOfAChange) {
    Running().iStartOpenDlgFg = 1;
    settings.m_LocalSettingsWindow.ToolPanelDispMode = 5;
    Config02Values v = ReadConfig02();
    EXPECT_FALSE(v.startMenu);
    EXPECT_EQ(5, v.toolPanelParts);
    v.startMenu = true;
    EXPECT_FALSE(StoreConfig02(v, 5)) << "parts unchanged: nothing told";
    EXPECT_EQ(0, Running().iStartOpenDlgFg);
    v.toolPanelParts = 5 | 8;
    EXPECT_TRUE(StoreConfig02(v, 5));
    EXPECT_EQ(13, settings.m_LocalSettingsWindow.ToolPanelDispMode);
    // A folder longer than the setting is cut on a character boundary.
    std::string wide;
    for (int i = 0; i < 200; ++i)
        wide += "図";
    v.folder = "C:\\" + wide;  // 3 + 400 bytes: byte 256 is inside a character
    StoreConfig02(v, v.toolPanelParts);
    const std::string stored = Running().zumenDir;
    EXPECT_EQ("C:\\" + wide.substr(0, 252), stored) << "3 bytes and 126 whole characters";
}

TEST_F(ConfigPages, Page03ReadsNumbersLenientlyAndClipsTheBackupSpans) {
    struct Row {
        const char* name;
        bool undo;
        const char* undoText;
        const char* countText;
        const char* minutesText;
        int undoCount, countSpan, seconds;
    } rows[] = {
        {"undo unticked stores 0", false, "10", "3", "2", 0, 3, 120},
        {"digits then text", true, "12abc", "5", "1", 12, 5, 60},
        {"text without digits reads 0", true, "abc", "x", "x", 0, 0, 0},
        {"a negative count stores 0", true, "3", "-3", "4", 3, 0, 240},
        {"0 minutes store 0 seconds", true, "3", "1", "0", 3, 1, 0},
        {"negative minutes store 0 seconds", true, "3", "1", "-5", 3, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Config03Values v;
        v.undo = r.undo;
        v.undoCount = r.undoText;
        v.countSpan = r.countText;
        v.minutes = r.minutesText;
        v.countBackup = true;
        v.timeBackup = false;
        StoreConfig03(v);
        EXPECT_EQ(r.undoCount, Running().iUndoCount);
        EXPECT_EQ(r.countSpan, settings.m_CadFileBackup.nBackupCountSpan);
        EXPECT_EQ(r.seconds, settings.m_CadFileBackup.nBackupTimeSpanSec);
        EXPECT_EQ(1, settings.m_CadFileBackup.bCountBakup);
        EXPECT_EQ(0, settings.m_CadFileBackup.bTimeBackup);
    }
    settings.m_CadFileBackup.nBackupTimeSpanSec = 150;
    EXPECT_EQ("2", ReadConfig03().minutes) << "whole minutes";
}

TEST_F(ConfigPages, Page04ChangesOnlyAnAxisWhosePitchReadsAbove0) {
    struct Row {
        const char *x, *y;
        double wantX, wantY;
    } rows[] = {{"0", "7", 10, 7}, {"abc", "500", 10, 500}, {"-2", "", 10, 20}, {"2.5", "1e1", 2.5, 10}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.x) + " / " + r.y);
        Running().grid.x = 10;
        Running().grid.y = 20;
        StoreConfig04(Config04Values{r.x, r.y});
        EXPECT_DOUBLE_EQ(r.wantX, Running().grid.x);
        EXPECT_DOUBLE_EQ(r.wantY, Running().grid.y);
    }
}

TEST_F(ConfigPages, Page05KeepsTheSnapMarkWhenNoBoxIsTicked) {
    Running().iSnapShowMode = 2;
    Config05Values v = ReadConfig05();
    EXPECT_EQ(2, v.snapShow);
    v.snapShow = -1;
    v.databaseOrder = false;
    StoreConfig05(v);
    EXPECT_EQ(2, Running().iSnapShowMode);
    EXPECT_EQ(0, Running().bElmHit);
}

TEST_F(ConfigPages, Page06RefusesAMarginOf100AndKeepsAllEight) {
    PaperMarginEx& m = Running().paperMargin;
    m = PaperMarginEx{1, 2, 3, 4, 5, 6, 7, 8, 3, 4};
    Config06Values v = ReadConfig06();
    EXPECT_EQ("3", v.margins[0]) << "top first";
    EXPECT_EQ("2", v.margins[3]) << "right fourth";
    EXPECT_TRUE(v.marginShown);
    EXPECT_EQ(2, v.marginColor);
    EXPECT_EQ(3, v.paperColor);
    struct Row {
        const char* name;
        const char* values[8];
        bool taken;
    } rows[] = {
        {"100 is refused", {"10", "10", "10", "100", "10", "10", "10", "10"}, false},
        {"99.99, 0 and text are taken", {"99.99", "0", "abc", "5", "6", "7", "8", "9"}, true},
        {"a negative value is refused", {"1", "1", "1", "1", "1", "1", "1", "-0.5"}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m = PaperMarginEx{1, 2, 3, 4, 5, 6, 7, 8, 3, 4};
        Config06Values c = v;
        for (int i = 0; i < 8; ++i)
            c.margins[i] = r.values[i];
        c.marginShown = false;  // stored whatever the margins
        c.paperColor = 9;
        win::MessageBoxTestHook boxes;
        int refused = -1;
        EXPECT_EQ(r.taken, StoreConfig06(c, nullptr, &refused));
        EXPECT_EQ(0, m.color) << "unticked: no margin frame";
        EXPECT_EQ(10, m.papercolor);
        if (r.taken) {
            EXPECT_DOUBLE_EQ(99.99, m.top);
            EXPECT_DOUBLE_EQ(0, m.bottom);
            EXPECT_DOUBLE_EQ(0, m.left);
            EXPECT_DOUBLE_EQ(9, m.right2);
            EXPECT_TRUE(boxes.Calls().empty());
        } else {
            EXPECT_DOUBLE_EQ(3, m.top);
            EXPECT_DOUBLE_EQ(6, m.right2);
            ASSERT_EQ(1u, boxes.Calls().size());
            EXPECT_EQ("入力チェック", boxes.Calls()[0].caption);
        }
    }
}

TEST_F(ConfigPages, Page06TakesAndSetsTheOriginOfTheActiveDrawing) {
    DbInfo* info = DAriGetDbInfoPtr(0, db);
    ASSERT_NE(nullptr, info);
    info->originAtCorner = 0;
    Running().bPaperOrg = 1;
    Config06Values v = ReadConfig06();
    EXPECT_FALSE(v.lowerLeft) << "the page shows the drawing's own origin";
    EXPECT_EQ(0, Running().bPaperOrg) << "and the setting takes it at once";
    v.lowerLeft = true;
    ASSERT_TRUE(StoreConfig06(v, nullptr));
    EXPECT_EQ(1, info->originAtCorner);
    EXPECT_EQ(1, Running().bPaperOrg);
    EXPECT_NE(0, GetViewData(view)->modified) << "the drawing is marked modified";
}

TEST_F(ConfigPages, Page07OffersFourTolerancesAndRefusesNoChoice) {
    EXPECT_EQ("0.001", ToleranceText(2));
    EXPECT_EQ("0.0001", ToleranceText(3));
    EXPECT_EQ("0.00001", ToleranceText(4));
    EXPECT_EQ("0.000001", ToleranceText(5));
    settings.m_LocalSettingsSetup.iDigit_dEps = 2;
    settings.m_LocalSettingsSetup.iDigit_dEpsAngle = 2;
    Config07Values v = ReadConfig07();
    v.epsDigits = 5;
    v.angleDigits = -1;
    win::MessageBoxTestHook boxes;
    StoreConfig07(v, nullptr);
    EXPECT_EQ(5, settings.m_LocalSettingsSetup.iDigit_dEps);
    EXPECT_EQ(2, settings.m_LocalSettingsSetup.iDigit_dEpsAngle) << "no angle chosen: kept";
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ("角度誤差の値が異常です。無視します。", boxes.Calls()[0].text);
    EXPECT_DOUBLE_EQ(0.000001, Running().dEps);
    EXPECT_DOUBLE_EQ(0.001, Running().dEpsAngle);
}

TEST_F(ConfigPages, Page10ShowsAnUnknownLineWidthModeAsScaledAndStoresIt0) {
    Running().bLineWidthSize = 7;
    Config10Values v = ReadConfig10();
    EXPECT_EQ(0, v.lineWidth);
    StoreConfig10(v);
    EXPECT_EQ(0, Running().bLineWidthSize);
}

TEST_F(ConfigPages, TheGridDialogRefusesPitchesBeyondHalfTheDrawing) {
    struct Row {
        double x, y;
        int refusal;
    } rows[] = {{5000, 10, 0}, {5000.001, 10, 1}, {0, 10, 1}, {-1, 10, 1}, {1e-9, 10, 1},
                {10, 4000, 0}, {10, 4000.5, 2}, {10, 0, 2},  {0, 0, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.x) + " " + std::to_string(r.y));
        EXPECT_EQ(r.refusal, GridPitchRefusal(r.x, r.y, 10000, 8000));
    }
}

}  // namespace
