// The small records, the colour texts and the tolerance digits.
#include <gtest/gtest.h>

#include <windows.h>

#include "base/config_data.h"
#include "base/running_settings.h"
#include "base/local_settings.h"
#include "base/serial_records.h"
#include "base/settings_files.h"

TEST(ParseColorText, TableOfTexts) {
    struct Case {
        const char* text;
        COLORREF expected;
    } cases[] = {
        {"", 0},
        {"#FFFFFF", RGB(0xFF, 0xFF, 0xFF)},
        {"#F46358", RGB(0xF4, 0x63, 0x58)},
        {"#6464FF", RGB(0x64, 0x64, 0xFF)},
        {"#000000", 0},
        {"#ffd877", RGB(0xFF, 0xD8, 0x77)},
        {"color_3dface", 0},
        {"FFFFFF", 0},
        {"#F", RGB(0x0F, 0, 0)},  // short text: never read past its end
        {"#", 0},
        {"#G0A0B0", RGB(0, 0xA0, 0xB0)},  // a pair without a leading hex digit gives 0
        {"#1Z2Z3Z", RGB(1, 2, 3)},        // only the leading hex digit of a pair counts
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ParseColorText(c.text)) << "text \"" << c.text << "\"";
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), ParseColorText("COLOR_3DFACE"));
}

TEST(ColorRecords, SaveRecomputesValueFromText) {
    ConfigData data;
    ColorBtnAttrEx& row = data.SystemColor.COLOR_BTN_ATTR[0];
    row.bkgnd = RGB(1, 2, 3);  // changed in memory without its text
    data.SystemColor.COLOR_SYS_BK.color = 12345;
    SaveConfigDataText(data);
    EXPECT_EQ(RGB(0x64, 0x64, 0xFF), row.bkgnd);
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), data.SystemColor.COLOR_SYS_BK.color);
}

TEST(ConfigDataDefaults, ColoursFollowTheirTextsAndLineEndsAreOffered) {
    ConfigData data;
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xB5), data.SystemColor.COLOR_PANEL.color);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), data.SystemColor.COLOR_BTN_ATTR[3].bkgnd);
    EXPECT_EQ("", data.SystemColor.COLOR_BTN_ATTR[9].textText);
    EXPECT_EQ(0u, data.SystemColor.COLOR_BTN_ATTR[19].text);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(1, LineEndEnableTable[i]) << "entry " << i + 1;
    EXPECT_EQ(0, LineEndEnableTable[15]);
    EXPECT_EQ("*.*", data.File.OPEN_EXT0_E[7]);
    EXPECT_EQ("", data.File.OPEN_EXT1_E[7]);  // the "*.*" entry is not copied to set 1
}

TEST(LocalSettingsSetup, UpdateEpsilonsTable) {
    struct Case {
        int dist, angle;
        bool reset;
        int wantDist, wantAngle;
        double eps, epsAngle;
    } cases[] = {
        {7, 3, false, 5, 3, 1e-6, 1e-4}, {1, 1, false, 5, 3, 1e-6, 1e-4}, {6, 6, false, 5, 3, 1e-6, 1e-4},
        {2, 5, false, 2, 5, 1e-3, 1e-6}, {4, 2, true, 5, 3, 1e-6, 1e-4},
    };
    for (const Case& c : cases) {
        LocalSettingsSetup s;
        s.iDigit_dEps = c.dist;
        s.iDigit_dEpsAngle = c.angle;
        s.UpdateEpsilons(c.reset);
        EXPECT_EQ(c.wantDist, s.iDigit_dEps) << "digits " << c.dist << "/" << c.angle;
        EXPECT_EQ(c.wantAngle, s.iDigit_dEpsAngle) << "digits " << c.dist << "/" << c.angle;
        EXPECT_DOUBLE_EQ(c.eps, s.dEps) << "digits " << c.dist;
        EXPECT_DOUBLE_EQ(c.epsAngle, s.dEpsAngle) << "digits " << c.angle;
    }
    int dist[3], angle[3];
    LocalSettingsSetup::GetEpsDigitsRange(dist, angle);
    EXPECT_EQ(5, dist[0]);
    EXPECT_EQ(2, dist[1]);
    EXPECT_EQ(5, dist[2]);
    EXPECT_EQ(3, angle[0]);
    LocalSettingsSetup::GetEpsDigitsRange(nullptr, nullptr);
}
