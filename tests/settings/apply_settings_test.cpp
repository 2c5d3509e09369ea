// Applying the settings at start-up and capturing them back for the save.
#include <windows.h>

#include <cstring>

#include "base/apply_settings.h"
#include "base/settings_files.h"
#include "settings_fixture.h"

namespace {

class ApplySettingsTest : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        Running() = RunningSettings{};
    }
};

}  // namespace

TEST_F(ApplySettingsTest, ScaleListIsFilledOnlyWhenEmpty) {
    CCadSystemSettings s;
    s.m_ConfigData.Apply();
    ASSERT_EQ(16u, s.m_ConfigData.SCALE.size());
    EXPECT_EQ("1", s.m_ConfigData.SCALE.front());
    EXPECT_EQ("1/1000", s.m_ConfigData.SCALE.back());
    s.m_ConfigData.SCALE = {"1/7"};
    s.m_ConfigData.Apply();
    EXPECT_EQ(1u, s.m_ConfigData.SCALE.size());
    EXPECT_EQ("0.xx Build 942", s.m_ConfigData.VersionText);
    EXPECT_STREQ("0.xx Build 942", Running().versionText);
}

TEST_F(ApplySettingsTest, FoldersAreResolvedAndTheBackupFolderChecked) {
    CCadSystemSettings s;
    s.m_ConfigData.File.HELPFILE = "help\\cad.chm";
    s.m_ConfigData.File.WAV = "ding.wav";
    s.m_ConfigData.File.ZUMENDIR = "D:\\図面";
    s.m_ConfigData.File.AUTOZ = "start.tcf";
    s.m_ConfigData.Apply();
    const std::string docs = documents_ + "\\Qv\\VantrelV8";
    EXPECT_EQ(docs + "\\LOG\\", s.m_ConfigData.File.LOGDIR);  // replaced in the record
    EXPECT_STREQ((docs + "\\LOG\\").c_str(), Running().logDir);
    EXPECT_EQ(docs + "\\TEMP\\", s.m_ConfigData.File.BackupPath);
    EXPECT_TRUE(Exists(docs + "\\TEMP"));
    EXPECT_FALSE(Exists(docs + "\\TEMP\\tmp$bootchk.tmp"));
    EXPECT_EQ(install_ + "\\help\\cad.chm", s.m_ConfigData.File.HELPFILE);
    EXPECT_EQ(install_ + "\\ding.wav", s.m_ConfigData.File.WavPath);
    EXPECT_EQ("D:\\図面\\start.tcf", s.m_ConfigData.File.AutoZumenPath);
    EXPECT_EQ(install_ + "\\SETTEI\\rightmenu.ini", s.m_ConfigData.File.RMenuPath);
    EXPECT_EQ(install_ + "\\SETTEI\\start.bmp", s.m_ConfigData.File.TitleBmpPath);
    // A second apply keeps absolute names as they are.
    s.m_ConfigData.File.AUTOZ.clear();
    s.m_ConfigData.Apply();
    EXPECT_EQ("", s.m_ConfigData.File.AutoZumenPath);
    EXPECT_STREQ("", Running().autoZumenPath);
    EXPECT_EQ(install_ + "\\help\\cad.chm", s.m_ConfigData.File.HELPFILE);
    EXPECT_EQ(docs + "\\LOG\\", s.m_ConfigData.File.LOGDIR);
    EXPECT_TRUE(Messages().empty());

    // Filter lists: name, zero, pattern, zero..., and a final zero.
    const char* f = Running().saveFilters;
    EXPECT_STREQ("Vantrel for Windows V1(*.tcf)", f);
    f += std::strlen(f) + 1;
    EXPECT_STREQ("*.tcf", f);
    for (int i = 0; i < 4; ++i)
        f += std::strlen(f) + 1;
    EXPECT_STREQ("*.DXF", f);
    EXPECT_EQ(0, f[std::strlen(f) + 1]);
}

TEST_F(ApplySettingsTest, UnwritableBackupFolderIsReportedAndStartGoesOn) {
    CCadSystemSettings s;
    WriteBytes(root_ + "\\afile", "x");
    s.m_ConfigData.File.BACKUPDIR = root_ + "\\afile\\sub";
    EXPECT_EQ(1, s.m_ConfigData.Apply());
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("テンポラリチェックエラー", Messages()[0].caption);
    EXPECT_EQ(static_cast<unsigned>(MB_OK), Messages()[0].flags);
}

TEST_F(ApplySettingsTest, GestureCommandsAndRubberBandColour) {
    CCadSystemSettings s;
    int items[10] = {999, 1339, 1340, 1000, 1004, 0, 1204, 1005, 77, 88};
    std::memcpy(s.m_ConfigData.MOUSEMOVECMD, items, sizeof items);
    s.m_ConfigData.SystemColor.RUBBERCOL = 0;
    s.m_ConfigData.Apply();
    const int plain[4] = {0, 1339, 0, 1000}, ctrl[4] = {1004, 0, 1204, 1005};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(plain[i], Running().gestureCommands[0][i]) << "plain entry " << i;
        EXPECT_EQ(ctrl[i], Running().gestureCommands[1][i]) << "ctrl entry " << i;
    }
    EXPECT_EQ(3, Running().rubberColor);
    s.m_LocalSettingsSetup.iRubberCol = 40;  // the user's choice is not limited
    s.m_LocalSettingsSetup.Apply();
    EXPECT_EQ(40, Running().rubberColor);
}

TEST_F(ApplySettingsTest, PerUserSettingsWinOverTheSystemOnes) {
    CCadSystemSettings s;
    s.m_ConfigData.CURSORD = 600.0;
    s.m_ConfigData.File.ZUMENDIR = "C:\\sys";
    s.m_LocalSettingsSetup.CursorRate = 25.0;
    s.m_LocalSettingsSetup.SysZumenDir = "C:\\ユーザー図面";
    s.m_LocalSettingsSetup.LMsFg = 105;
    s.m_LocalSettingsSetup.iDigit_dEps = 7;
    s.m_LocalSettingsSetup.iGridCutFg = 0;
    s.m_LocalSettingsSetup.iGridNoDetFlg = 1;
    s.m_LocalSettingsSetup.iRMenuFg = 0;
    s.m_LocalSettingsSetup.lMenuMode = 3;
    s.m_LocalSettingsSetup.bBkColor = 2;
    ASSERT_EQ(1, s.InitSettings());
    EXPECT_DOUBLE_EQ(25.0, Neighbours().GetKeyCursorStep());
    EXPECT_STREQ("C:\\ユーザー図面", Running().zumenDir);
    EXPECT_EQ(0x68, Running().snapModeFlags);
    EXPECT_EQ(5, s.m_LocalSettingsSetup.iDigit_dEps);
    EXPECT_DOUBLE_EQ(1e-6, Running().dEps);
    EXPECT_DOUBLE_EQ(1e-4, Running().dEpsAngle);
    EXPECT_EQ(0, Running().iGridNoDetFlg);
    EXPECT_EQ(1, Running().iRMenuFg);
    EXPECT_EQ(0, s.m_LocalSettingsSetup.lMenuMode);
    EXPECT_EQ(RGB(0xC0, 0xC0, 0xC0), GetDrawBackColor());
    Running().backgroundMode = 1;
    EXPECT_EQ(RGB(255, 255, 255), GetDrawBackColor());
    Running().backgroundMode = 0;
    EXPECT_EQ(RGB(0, 0, 0), GetDrawBackColor());
    EXPECT_EQ(17u, s.m_LocalSettingsWindow.TbarDisp.size());
    // The right-click menu file is missing from the installation: reported, start goes on.
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ(install_ + "\\SETTEI\\rightmenu.ini ファイルが無いか異常です。", Messages()[0].text);
}

TEST_F(ApplySettingsTest, FailedMenuBufferStopsBeforeThePerUserApplies) {
    CCadSystemSettings s;
    Neighbours().AllocRPMenuBuffer = [] { return 0; };
    s.m_LocalSettingsSetup.iUndoCount = 33;
    EXPECT_EQ(0, s.InitSettings());
    EXPECT_NE(33, Running().iUndoCount);
}

TEST_F(ApplySettingsTest, MainWindowRectangleIsPulledOntoTheScreen) {
    const long cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        RectEx stored, size, expected;
    } cases[] = {
        {{0, 0, cx, cy}, {-20, -10, 50, 60}, {0, 0, cx - 2, cy - 2}},
        {{0, 0, cx, cy}, {30, 40, 500, 50}, {30, 40, 500, 100}},
        {{0, 0, cx, cy}, {cx, cy, 500, 400}, {0, 0, 500, 400}},
        {{0, 0, cx + 1, cy}, {30, 40, 500, 400}, {0, 0, cx - 2, cy - 2}},
    };
    for (const Case& c : cases) {
        ConfigDataMenu m;
        m.WIMDOW_RECT = c.stored;
        m.WINDOW_RECT_SIZE = c.size;
        m.Apply();
        EXPECT_TRUE(m.WIMDOW_RECT == c.expected)
            << c.size.left << "," << c.size.top << "," << c.size.right << "," << c.size.bottom << " -> "
            << m.WIMDOW_RECT.left << "," << m.WIMDOW_RECT.top << "," << m.WIMDOW_RECT.right << ","
            << m.WIMDOW_RECT.bottom;
        EXPECT_TRUE(Running().mainWindowRect == m.WIMDOW_RECT);
    }
}

TEST_F(ApplySettingsTest, RunningValuesAreCapturedBeforeTheSave) {
    CCadSystemSettings s;
    s.GetLocalSettingsPath(true, true);
    ASSERT_EQ(0, s.LoadLocalSettings(true, nullptr));
    s.m_LocalSettingsSetup.grid.z = 5;
    Running().grid = DPointEx{100, 200, 300};
    Running().rubberColor = 9;
    Running().snapModeFlags = 0x21;
    Running().recoveryMode = 1;
    Running().mainWindowRect = RectEx{1, 2, 3, 4};
    Neighbours().SetKeyCursorStep(12.5);
    std::strcpy(Running().szDefPaperStr2, "第二表題");
    ASSERT_EQ(0, SaveUserSettings());
    CCadSystemSettings back;
    ASSERT_EQ(0, back.LoadLocalSettings(false, nullptr));
    const LocalSettingsSetup& b = back.m_LocalSettingsSetup;
    EXPECT_EQ(100, b.grid.x);
    EXPECT_EQ(5, b.grid.z);  // z stays as stored
    EXPECT_EQ(9, b.iRubberCol);
    EXPECT_EQ(0x21, b.LMsFg);
    EXPECT_EQ(1, b.bErrDown);
    EXPECT_DOUBLE_EQ(12.5, b.CursorRate);
    EXPECT_EQ("第二表題", b.szDefPaperStr2);
    EXPECT_TRUE(back.m_LocalSettingsWindow.Screen == (RectEx{1, 2, 3, 4}));
}

TEST_F(ApplySettingsTest, LongTextsAreCutOnACharacterBoundary) {
    CCadSystemSettings s;
    s.m_ConfigData.YESNOMSG = std::string(27, 'a') + "ソソ";  // 31 bytes into a 30-byte buffer: one ソ fits
    s.m_ConfigData.Apply();
    EXPECT_EQ(std::string(27, 'a') + "ソ", std::string(Running().YESNOMSG));
    s.m_ConfigData.YESNOMSG = std::string(28, 'a') + "ソ";  // the lead byte would be the 29th
    s.m_ConfigData.Apply();
    EXPECT_EQ(std::string(28, 'a'), std::string(Running().YESNOMSG));
}

TEST_F(ApplySettingsTest, Command3800WritesTheInstallationCopy) {
    CCadSystemSettings s;
    s.m_ConfigData.Apply();
    s.m_ConfigData.LOG = 2;
    EXPECT_EQ(0, s.SaveConfigData(3799));
    EXPECT_TRUE(Messages().empty());
    boxes_->Answer(IDCANCEL);
    EXPECT_EQ(0, s.SaveConfigData(0x10000 | 3800));
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ(0u, Messages()[0].text.find(InstallPath("ConfigData.xml") + " を更新します。\n前回更新日時 "));
    CCadSystemSettings back;
    ASSERT_EQ(0, back.LoadConfigData(false, InstallPath("ConfigData.xml").c_str()));
    EXPECT_EQ(0, back.m_ConfigData.LOG);
    s.SaveConfigData(3800);
    ASSERT_EQ(0, back.LoadConfigData(false, InstallPath("ConfigData.xml").c_str()));
    EXPECT_EQ(2, back.m_ConfigData.LOG);
    EXPECT_EQ(documents_ + "\\Qv\\VantrelV8\\LOG\\", back.m_ConfigData.File.LOGDIR);
    DeleteFileA(InstallPath("ConfigData.xml").c_str());
    boxes_->Clear();
    s.SaveConfigData(3800);
    ASSERT_EQ(2u, Messages().size());
    EXPECT_EQ("CCadSystem::SaveConfigData() エラー", Messages()[1].text);
}

TEST_F(ApplySettingsTest, ReloadedSystemSettingsKeepTheUsersRunningValues) {
    CCadSystemSettings s;
    s.GetConfigDataPath(true, true);
    ASSERT_EQ(0, s.LoadConfigData(false, nullptr));
    s.m_LocalSettingsSetup.iRubberCol = 12;
    s.m_LocalSettingsSetup.CursorRate = 50.0;
    s.m_LocalSettingsSetup.SysZumenDir = "C:\\私の図面";
    ASSERT_EQ(1, s.InitSettings());
    // Changed during the run, then the system settings are reloaded and applied.
    Running().rubberColor = 13;
    Neighbours().SetKeyCursorStep(75.0);
    ASSERT_EQ(0, s.LoadConfigData(true, nullptr));
    EXPECT_EQ(13, Running().rubberColor);
    EXPECT_DOUBLE_EQ(75.0, Neighbours().GetKeyCursorStep());
    EXPECT_STREQ("C:\\私の図面", Running().zumenDir);
    // Before the per-user apply, the system values are what runs.
    CCadSystemSettings fresh;
    ASSERT_EQ(0, fresh.LoadConfigData(true, nullptr));
    EXPECT_EQ(3, Running().rubberColor);
    EXPECT_DOUBLE_EQ(600.0, Neighbours().GetKeyCursorStep());
}

TEST_F(ApplySettingsTest, PenColoursComeFromTheCadLibrarysStyleTable) {
    HMODULE lib = LoadLibraryA("WmCadApiDb.dll");
    ASSERT_NE(nullptr, lib);
    ForgetLibraryLookups();
    ConfigDataColor colors;
    colors.Apply();
    // The library's first pens: black, white, red, yellow.
    EXPECT_EQ(RGB(0, 0, 0), Running().penColors[0]);
    EXPECT_EQ(RGB(255, 255, 255), Running().penColors[1]);
    EXPECT_EQ(RGB(255, 0, 0), Running().penColors[2]);
    EXPECT_EQ(RGB(255, 255, 0), Running().penColors[3]);
    FreeLibrary(lib);
    ForgetLibraryLookups();
}
