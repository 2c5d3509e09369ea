// ConfigData.xml edited through the DOM (a write into section "SYSTEM") must
// still load through the archive reader.
#include <windows.h>

#include "base/def_file.h"
#include "base/settings_files.h"
#include "settings_fixture.h"

using DomEditTest = SettingsFixture;

TEST_F(DomEditTest, ConfigDataChangedThroughTheDomStillLoads) {
    CCadSystemSettings s;
    s.m_ConfigData.COMPANY = "設計<室>";
    const std::string path = s.GetConfigDataPath(true, true);
    ASSERT_EQ(0, s.SaveConfigDataFile(nullptr));
    {
        CDefFile def(path.c_str());
        ASSERT_TRUE(def.IsLoaded()) << def.GetLastError();
        EXPECT_EQ(0, def.SetValue("SYSTEM", "LOG", "2", 0));
        EXPECT_EQ(0, def.SetValue("SYSTEM", "File/BACKUPDIR", "C:\\バックアップ", 0));
        ASSERT_EQ(1, def.Save(path.c_str()));
    }
    CCadSystemSettings back;
    const std::string edited = ReadBytes(path);
    ASSERT_EQ(0, back.LoadConfigData(false, path.c_str()))
        << edited.substr(0, 300) << "..." << edited.substr(edited.size() - 200);
    EXPECT_EQ(2, back.m_ConfigData.LOG);
    EXPECT_EQ("C:\\バックアップ", back.m_ConfigData.File.BACKUPDIR);
    EXPECT_EQ("設計<室>", back.m_ConfigData.COMPANY);
    EXPECT_EQ("", back.m_ConfigData.YESNOMSG);
    EXPECT_EQ(s.m_ConfigData.File.OPEN_EXT0_N[0], back.m_ConfigData.File.OPEN_EXT0_N[0]);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(DomEditTest, LocalSettingsChangedThroughTheDomStillLoads) {
    CCadSystemSettings s;
    const std::string path = s.GetLocalSettingsPath(true, true);
    {
        CDefFile def(path.c_str());
        ASSERT_TRUE(def.IsLoaded()) << def.GetLastError();
        EXPECT_EQ(0, def.SetValue("Setup", "iUndoCount", "20", 0));
        EXPECT_EQ(0, def.SetValue("Setup", "szDefPaperStr1", "表題", 0));
        ASSERT_EQ(1, def.Save(path.c_str()));
    }
    ASSERT_EQ(0, s.LoadLocalSettings(false, nullptr));
    EXPECT_EQ(20, s.m_LocalSettingsSetup.iUndoCount);
    EXPECT_EQ("表題", s.m_LocalSettingsSetup.szDefPaperStr1);
    EXPECT_EQ("", s.m_LocalSettingsSetup.SysZumenDir);
    EXPECT_TRUE(Messages().empty());
}
