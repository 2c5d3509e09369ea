// What the settings give the running program, in this process: the values
// the applies hand on reach the drawing views, the command system and the
// geometry; the command system's settings services answer from the settings
// files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/apply_settings.h"
#include "base/local_settings.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/user_folder.h"
#include "command/host_hooks.h"
#include "command/pick_aperture.h"
#include "shell/host_services.h"
#include "shell/settings_services.h"
#include "shell_fixture.h"
#include "view/geometry.h"
#include "view/key_cursor.h"
#include "view/view_input.h"
#include "win/message_box.h"

namespace {

class SettingsServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedNeighbours_ = Neighbours();
        savedIni_ = LocalIniNeighbours();
        savedRunning_ = Running();
        savedHooks_ = HostHooks();
        // The settings layer takes its folders from these (the environment of
        // this process is read once, at its start).
        SetUserFolderOverrides(env_.folder.Path().c_str(), env_.folder.Path().c_str(), DistDir().c_str());
    }
    void TearDown() override {
        SetUserFolderOverrides("", "", "");
        Neighbours() = savedNeighbours_;
        LocalIniNeighbours() = savedIni_;
        Running() = savedRunning_;
        HostHooks() = savedHooks_;
        SetKeyCursorStep(1.0);
        SetCursorFindArea(8);
        SetGeometryTolerances(1e-5, 0.001);
    }

    ShellEnvironment env_;
    win::MessageBoxTestHook boxes_;
    SettingsNeighbours savedNeighbours_;
    LocalSettingsIniNeighbours savedIni_;
    RunningSettings savedRunning_;
    CmdHostHooks savedHooks_;
};

// Each applied value reaches the part that uses it.
TEST_F(SettingsServicesTest, AppliedSettingsReachTheirUsers) {
    InstallHostServices();

    ConfigData config;
    config.CURSORD = 300.0;
    const int gestures[10] = {1250, 1210, 1333, 1999, 1004, 1005, 1005, 1004, 0, 0};
    std::memcpy(config.MOUSEMOVECMD, gestures, sizeof gestures);
    ASSERT_EQ(1, config.Apply());
    EXPECT_DOUBLE_EQ(300.0, GetKeyCursorStep()) << "CURSORD until the user's step";
    EXPECT_EQ(1250, GetGestureCommand(1, 0));
    EXPECT_EQ(0, GetGestureCommand(1, 3)) << "not a gesture command";
    EXPECT_EQ(1004, GetGestureCommand(2, 3));

    LocalSettingsSetup setup;
    setup.CursorRate = 250.0;
    setup.iDigit_dEps = 3;
    setup.iDigit_dEpsAngle = 2;
    setup.Apply();
    EXPECT_DOUBLE_EQ(250.0, GetKeyCursorStep());
    MoveKeyCursor(1, 0);  // the keyboard cursor moves by the step
    double before[3], after[3];
    GetCursorWorldPoint(before);
    MoveKeyCursor(1, 0);
    GetCursorWorldPoint(after);
    EXPECT_DOUBLE_EQ(250.0, after[0] - before[0]);
    ToggleKeyCursorMode();
    EXPECT_DOUBLE_EQ(1e-4, GetDrawingTolerance());
    EXPECT_DOUBLE_EQ(1e-3, GetAngleTolerance());
    setup.CursorRate = 0;
    setup.Capture();
    EXPECT_DOUBLE_EQ(250.0, setup.CursorRate) << "the save takes the step the views use";

    // The pick aperture of LocalSettings.ini, and a value out of range kept out.
    const std::string ini = env_.folder.Write("LocalSettings.ini", "[Mouse]\r\niCursorFindArea=20\r\n");
    setup.ReadIni(ini.c_str());
    EXPECT_EQ(20, GetCursorFindArea());
    env_.folder.Write("LocalSettings.ini", "[Mouse]\r\niCursorFindArea=999\r\n");
    setup.ReadIni(ini.c_str());
    EXPECT_EQ(20, GetCursorFindArea());
    for (const win::MessageBoxCall& call : boxes_.Calls())
        ADD_FAILURE() << call.text;
}

// The command system's settings services answer from the settings layer.
TEST_F(SettingsServicesTest, CommandSettingsServicesAnswerFromTheSettingsFiles) {
    InstallHostServices();
    CmdHostHooks& h = HostHooks();
    ASSERT_TRUE(h.readSettingText && h.writeSettingText && h.readSettingSection && h.readCmdIniString &&
                h.writeCmdIniString && h.readSettingFileName && h.readSettingString && h.writeSettingString &&
                h.rightButtonMode && h.setDbEpsilon);

    EXPECT_EQ(DistDir() + "\\", h.readSettingText("SYSTEM", "SYSTEMDIR", ""));
    EXPECT_EQ(1, h.writeSettingText("TestSettings", "Value", "表示ソ"));
    EXPECT_EQ(1, h.writeSettingText("TestSettings", "Other", "x"));
    EXPECT_EQ("表示ソ", h.readSettingText("TestSettings", "Value", "none"));
    EXPECT_EQ("none", h.readSettingText("TestSettings", "Missing", "none"));
    EXPECT_EQ(std::string("Value\0Other\0", 12), h.readSettingSection("TestSettings"));
    EXPECT_NE(std::string::npos, ReadWholeFile(env_.ini).find("Value=表示ソ")) << "ProgramIni";

    EXPECT_EQ("", h.readSettingFileName("CMDINI")) << "not named in ProgramIni";
    EXPECT_EQ(1, h.writeSettingText("CONFIG", "CMDINI", "sonota.ini"));
    EXPECT_EQ(1, h.writeCmdIniString("PTNSAVE", "30200", "0"));
    EXPECT_EQ("0", h.readCmdIniString("PTNSAVE", "30200", "1"));
    const std::string cmdIni = h.readSettingFileName("CMDINI");
    EXPECT_EQ(env_.folder.Path() + "\\Qv\\VantrelV8\\sonota.ini", cmdIni) << "the user's copy";
    EXPECT_NE(std::string::npos, ReadWholeFile(cmdIni).find("30200=0"));

    char value[8] = "?";
    const std::string fileKey = "%EXE_DIR%sonota.ini";
    EXPECT_EQ(0, h.readSettingString("PTNSAVE", "30200", "d", value, 0, fileKey.c_str())) << "no room";
    EXPECT_EQ(0, h.readSettingString("PTNSAVE", "30200", "d", nullptr, 8, fileKey.c_str())) << "no buffer";
    EXPECT_STREQ("?", value);
    EXPECT_EQ(1, h.readSettingString("none", "none", "d", value, sizeof value, fileKey.c_str()));
    EXPECT_STREQ("d", value);

    Running().RMOUSE = 1;
    EXPECT_EQ(1, h.rightButtonMode());
    Running().RMOUSE = 8;
    EXPECT_EQ(8, h.rightButtonMode());
}

}  // namespace
