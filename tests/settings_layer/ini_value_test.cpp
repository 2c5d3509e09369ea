// LocalSettings.ini with the per-user settings, and the INI-bound values.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "base/ini_value.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "base/settings_layer.h"
#include "layer_fixture.h"

class LocalIniTest : public LayerFixture {
protected:
    void SetUp() override {
        LayerFixture::SetUp();
        LocalIni() = LocalSettingsIniValues();
        ini_ = root_->File("LocalSettings.ini");
    }
    int Key(const char* section, const char* key, int missing = -999) {
        return static_cast<int>(GetPrivateProfileIntA(section, key, missing, ini_.c_str()));
    }
    std::string ini_;
};

TEST_F(LocalIniTest, ShippedFileGivesTheDefaults) {
    LocalSettingsSetup setup;
    ASSERT_EQ(0, setup.ReadIni(DistFile("LocalSettings.ini").c_str()));
    const LocalSettingsIniValues defaults;
    const LocalSettingsIniValues& v = LocalIni();
    EXPECT_EQ(0, std::memcmp(&defaults, &v, sizeof v)) << "every key as its default";
    EXPECT_EQ(-1, v.iEpsMode) << "a new user has no iEpsMode yet";
}

TEST_F(LocalIniTest, ReadRules) {
    struct Row {
        const char* caption;
        int expected;
    } rows[] = {
        {"16", 3}, {"-1", 3}, {"15", 15}, {"0", 0}, {"x", 0},
    };
    for (const Row& row : rows) {
        WritePrivateProfileStringA("System", "iPanelCaption", row.caption, ini_.c_str());
        LocalSettingsSetup setup;
        setup.ReadIni(ini_.c_str());
        EXPECT_EQ(row.expected, LocalIni().iPanelCaption) << "iPanelCaption=" << row.caption;
    }
    WritePrivateProfileStringA("Mouse", "iCursorFindArea", "12", ini_.c_str());
    WritePrivateProfileStringA("System", "iLockBtnSnapNINNITEN", "1", ini_.c_str());
    LocalSettingsSetup setup;
    setup.ReadIni(ini_.c_str());
    EXPECT_EQ(12, LocalIni().iCursorFindArea);
    EXPECT_EQ(1, Running().iLockBtnSnapNINNITEN);
    WritePrivateProfileStringA("Mouse", "iCursorFindArea", "999", ini_.c_str());
    setup.ReadIni(ini_.c_str());
    EXPECT_EQ(12, LocalIni().iCursorFindArea) << "out of range values are ignored";
}

// A new INI resets the tolerance digits once; the first save records that.
TEST_F(LocalIniTest, EpsilonResetHappensOnce) {
    WriteFile(ini_, "[System]\r\n");
    LocalSettingsSetup setup;
    setup.iDigit_dEps = 2;
    setup.iDigit_dEpsAngle = 4;
    setup.ReadIni(ini_.c_str());
    EXPECT_EQ(5, setup.iDigit_dEps);
    EXPECT_EQ(3, setup.iDigit_dEpsAngle);

    setup.WriteIni(ini_.c_str());
    EXPECT_EQ(0, Key("System", "iEpsMode"));
    EXPECT_EQ(0, LocalIni().iEpsMode);
    EXPECT_EQ(-999, Key("System", "iDrawColor")) << "not written while iDrawColorMode is 0";
    EXPECT_EQ(3, Key("System", "iPanelCaption"));

    setup.iDigit_dEps = 2;
    setup.iDigit_dEpsAngle = 4;
    setup.ReadIni(ini_.c_str());
    EXPECT_EQ(2, setup.iDigit_dEps) << "from now on the XML values hold";
    EXPECT_EQ(4, setup.iDigit_dEpsAngle);

    LocalIni().iDrawColorMode = 1;
    LocalIni().iDrawColor = 11;
    LocalIni().iHighlightColor = 6;
    setup.WriteIni(ini_.c_str());
    EXPECT_EQ(11, Key("System", "iDrawColor"));
    EXPECT_EQ(0, SaveLocalSettingsIni(root_->File("LocalSettings.xml").c_str()));
    EXPECT_EQ(6, Key("System", "iHighlightColor")) << "the extension is forced to .ini";

    // The extension is found DBCS-aware: the 0x5C trail byte of "ソ" after the
    // dot is no folder separator.
    const std::string dbcs = root_->File("LocalSettings.ソ");
    const std::string forced = root_->File("LocalSettings.ini");
    DeleteFileA(forced.c_str());
    LocalIni().iHighlightColor = 9;
    EXPECT_EQ(0, SaveLocalSettingsIni(dbcs.c_str()));
    EXPECT_EQ(9, static_cast<int>(GetPrivateProfileIntA("System", "iHighlightColor", -1, forced.c_str())));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dbcs + ".ini").c_str()));
}

// The INI travels with LocalSettings.xml through the per-user load and save.
TEST_F(LocalIniTest, TravelsWithThePerUserSettings) {
    InstallLocalSettingsIniHandlers();
    CCadSystemSettings settings;
    ASSERT_EQ(0, settings.LoadLocalSettings(false, nullptr));
    EXPECT_EQ(-1, LocalIni().iEpsMode);
    LocalIni().iPanelCaption = 5;
    ASSERT_EQ(0, settings.SaveLocalSettings(nullptr));
    const std::string user = UserPath("LocalSettings.ini");
    EXPECT_EQ(5, static_cast<int>(GetPrivateProfileIntA("System", "iPanelCaption", 0, user.c_str())));
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntA("System", "iEpsMode", -1, user.c_str())));
}

TEST_F(LocalIniTest, IniValuesThroughTheSettingsLayer) {
    const std::string program = InstallPath("ZavIrurer.ini");
    WritePrivateProfileStringA("TOOLBAR", "SizeMode", "2 // large", program.c_str());
    WritePrivateProfileStringA("TOOLBAR", "SizeMode_FLG", "1", program.c_str());

    CIniValueInt size("TOOLBAR", "SizeMode", 0);
    size.Read("1");
    EXPECT_EQ(2, size.m_value);
    EXPECT_EQ(1, size.m_flag);

    CIniValueDouble coord("CONFIG", "MAX_COORD_VALUE", 0.0);
    coord.Read("1.0e100");
    EXPECT_DOUBLE_EQ(1.0e100, coord.m_value);
    EXPECT_EQ(0, coord.m_flag);

    CIniValueString bar("TOOLBAR", "TB01", "0,1,2,表示");
    bar.m_flag = 1;
    EXPECT_EQ(1, bar.Write(1));
    const std::string bytes = ReadBytes(program);
    const size_t flagAt = bytes.find("TB01_FLG=1");
    const size_t valueAt = bytes.find("TB01=0,1,2,表示");
    ASSERT_NE(std::string::npos, flagAt);
    ASSERT_NE(std::string::npos, valueAt);
    EXPECT_LT(flagAt, valueAt) << "the flag key is written first";

    CIniValueString back("TOOLBAR", "TB01", "");
    back.Read("");
    EXPECT_EQ("0,1,2,表示", back.m_value);
    EXPECT_EQ(1, back.m_flag);

    // Section SYSTEM is ConfigData.xml.
    CIniValueInt log("SYSTEM", "LOG", 7);
    log.Read("5");
    EXPECT_EQ(0, log.m_value);
}
