// The per-user folder, path placeholders and seeding from the installation.
#include <windows.h>

#include "base/settings_files.h"
#include "base/user_folder.h"
#include "settings_fixture.h"

using UserFolderTest = SettingsFixture;

TEST_F(UserFolderTest, FirstStartCreatesTheFolderAndCopiesTheShippedFiles) {
    ASSERT_FALSE(Exists(userDir_));
    CCadSystemSettings s;
    const std::string path = s.GetConfigDataPath(true, true);
    EXPECT_EQ(userDir_ + "\\ConfigData.xml", path);
    EXPECT_EQ(ReadBytes(InstallPath("ConfigData.xml")), ReadBytes(path));
    EXPECT_EQ(userDir_ + "\\Quillmar.ini", s.GetUserIniPath());
    EXPECT_FALSE(Exists(s.GetUserIniPath()));  // never seeded
    EXPECT_TRUE(Messages().empty());
}

TEST_F(UserFolderTest, SeedingReplacesOnlyWithANewerShippedCopy) {
    struct Case {
        const char* name;
        int userAge;  // seconds from now of the user's file
        bool force;
        bool replaced;
    } cases[] = {
        {"shipped copy older, forced", 0, true, false},
        {"shipped copy newer, forced", -7200, true, true},
        {"shipped copy newer, not forced", -7200, false, false},
    };
    for (const Case& c : cases) {
        CCadSystemSettings s;
        const std::string path = s.GetLocalSettingsPath(true, false);
        const std::string bak = UserPath("LocalSettings.bak");
        DeleteFileA(bak.c_str());
        WriteBytes(path, "user's own");
        Touch(path, c.userAge);
        s.GetLocalSettingsPath(true, c.force);
        EXPECT_EQ(c.replaced ? ReadBytes(InstallPath("LocalSettings.xml")) : std::string("user's own"), ReadBytes(path))
            << c.name;
        EXPECT_EQ(c.replaced, Exists(bak)) << c.name;
        if (c.replaced) {
            EXPECT_EQ("user's own", ReadBytes(bak)) << c.name;
        }
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(UserFolderTest, MissingShippedCopyIsReportedAndThePathStillReturned) {
    DeleteFileA(InstallPath("ConfigData.xml").c_str());
    CCadSystemSettings s;
    EXPECT_EQ(userDir_ + "\\ConfigData.xml", s.GetConfigDataPath(true, true));
    ASSERT_EQ(1u, Messages().size());
    EXPECT_EQ("設定ファイル " + InstallPath("ConfigData.xml") +
                  " がありません。正しくインストールされているか確認してください。",
              Messages()[0].text);
    EXPECT_EQ("エラー", Messages()[0].caption);
    EXPECT_EQ(-1, s.LoadConfigData(false, nullptr));
}

TEST_F(UserFolderTest, ExpandPathMacrosTable) {
    const std::string docs = documents_ + "\\Qv\\VantrelV8";
    struct Case {
        std::string in, out;
    } cases[] = {
        {"%USER_LOCAL_APPDATA%LOG", userDir_ + "\\LOG"},
        {"%USER_MYDOCUMENTS%BK", docs + "\\BK"},
        {"%EXECDIR%a\\%EXECDIR%b", install_ + "\\a\\" + install_ + "\\b"},
        // Only the first placeholder found is expanded.
        {"%USER_LOCAL_APPDATA%x%EXECDIR%", userDir_ + "\\x%EXECDIR%"},
        {"C:\\図面\\ソ", "C:\\図面\\ソ"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"LOG", docs + "\\LOG"},
        {"TEMP\\sub", docs + "\\TEMP\\sub"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, ExpandPathMacros(c.in, false)) << c.in;
    EXPECT_FALSE(Exists(docs));
    EXPECT_EQ(docs + "\\LOG", ExpandPathMacros("LOG", true));
    EXPECT_TRUE(Exists(docs + "\\LOG"));
}

TEST_F(UserFolderTest, InstallFolderEndingInADoubleByteCharacterKeepsIt) {
    // "ソ" ends in byte 0x5C: it must not be taken for a trailing "\".
    const std::string odd = root_ + "\\ソ";
    CreateDirectoryA(odd.c_str(), nullptr);
    SetUserFolderOverrides(nullptr, nullptr, (odd + "\\").c_str());
    EXPECT_EQ(odd, GetExeDir());
    EXPECT_EQ(odd + "\\x", ExpandPathMacros("%EXECDIR%x", false));
    SetUserFolderOverrides(nullptr, nullptr, odd.c_str());
    EXPECT_EQ(odd + "\\x", ExpandPathMacros("%EXECDIR%x", false));
}

TEST_F(UserFolderTest, EnsureUserSettingsFileRefreshesOnEveryCall) {
    CreateDirectoryA(InstallPath("SETTEI").c_str(), nullptr);
    WriteBytes(InstallPath("SETTEI\\sonota.ini"), "[A]\nk=1\n");
    Touch(InstallPath("SETTEI\\sonota.ini"), -3600);
    char out[MAX_PATH];
    EXPECT_EQ(0, EnsureUserSettingsFile(out, "sonota.ini", 7));
    EXPECT_EQ(userDir_ + "\\SETTEI\\sonota.ini", std::string(out));
    EXPECT_EQ("[A]\nk=1\n", ReadBytes(out));
    WriteBytes(InstallPath("SETTEI\\sonota.ini"), "[A]\nk=2\n");
    Touch(InstallPath("SETTEI\\sonota.ini"), 60);
    EnsureUserSettingsFile(out, "sonota.ini", 7);
    EXPECT_EQ("[A]\nk=2\n", ReadBytes(out));
    EXPECT_EQ("[A]\nk=1\n", ReadBytes(userDir_ + "\\SETTEI\\sonota.bak"));

    EXPECT_EQ(0, EnsureUserSettingsFile(out, "rirekimoji.ini", -1));
    EXPECT_EQ(userDir_ + "\\rirekimoji.ini", std::string(out));
    ASSERT_EQ(1u, Messages().size());
    EXPECT_NE(std::string::npos, Messages()[0].text.find(InstallPath("rirekimoji.ini")));
}

TEST_F(UserFolderTest, FoldersSetInTheEnvironmentDuringTheRunAreHonoured) {
    // Without the setters' overrides the environment decides, as the process
    // holds it now (not as it was when the process started).
    SetUserFolderOverrides("", "", "");
    SetEnvironmentVariableA("ZAV_INSTALL_DIR", root_.c_str());
    const std::string dir = GetExeDir();
    SetEnvironmentVariableA("ZAV_INSTALL_DIR", nullptr);
    EXPECT_EQ(root_, dir);
}
