// ConfigData.xml and LocalSettings.xml on real files: round trips, the file
// dialect, the shipped copies and safe saving.
#include <windows.h>

#include <clocale>

#include "archive_text.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "settings_fixture.h"

namespace {

class SettingsFilesTest : public SettingsFixture {
protected:
    std::wstring FileText(const std::string& path) { return DecodeSettingsFileBytes(ReadBytes(path)); }
    std::wstring LocalText(CCadSystemSettings& s) {
        return SaveLocalSettingsText(LocalSettingsRecords{&s.m_LocalSettingsSetup, &s.m_LocalSettingsWindow,
                                                          &s.m_CadFileBackup, &s.m_LocalSettingsStackCmd});
    }
};

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

}  // namespace

TEST_F(SettingsFilesTest, EveryStoredValueSurvivesLoadAndSave) {
    struct Kind {
        const char* file;
        bool config;
    } kinds[] = {{"ConfigData.xml", true}, {"LocalSettings.xml", false}};
    for (const Kind& k : kinds) {
        CCadSystemSettings s;
        const std::string path = UserPath(k.file);
        CreateDirectoryA((localAppData_ + "\\Qv").c_str(), nullptr);
        CreateDirectoryA(userDir_.c_str(), nullptr);
        const std::wstring defaults = k.config ? SaveConfigDataText(s.m_ConfigData) : LocalText(s);
        const std::wstring changed = ChangeEveryValue(defaults);
        WriteBytes(path, EncodeSettingsFileText(changed));

        ASSERT_EQ(0, k.config ? s.LoadConfigData(false, path.c_str()) : s.LoadLocalSettings(false, path.c_str()))
            << k.file;
        // Save writes what the records hold; for LocalSettings the running values
        // are captured first, so compare the records' own text here.
        const std::wstring reread = k.config ? SaveConfigDataText(s.m_ConfigData) : LocalText(s);
        std::string why;
        EXPECT_TRUE(SameLeaves(Leaves(changed), Leaves(reread), &why)) << k.file << ": " << why;
        EXPECT_FALSE(SameLeaves(Leaves(defaults), Leaves(reread), &why)) << k.file;

        // And back: the defaults saved to the file load over the changed records.
        CCadSystemSettings fresh;
        if (k.config) {
            ASSERT_EQ(0, fresh.SaveConfigDataFile(path.c_str()));
            ASSERT_EQ(0, s.LoadConfigData(false, path.c_str()));
            EXPECT_EQ(defaults, SaveConfigDataText(s.m_ConfigData));
            EXPECT_EQ(300, s.m_ConfigData.Menu.WINDOW_LAYOUTVIEW_WIDTH);
            EXPECT_EQ(270, s.m_ConfigData.Menu.WINDOW_LAYOUTVIEW_HEIGHT);
        } else {
            WriteBytes(path, EncodeSettingsFileText(defaults));
            ASSERT_EQ(0, s.LoadLocalSettings(false, path.c_str()));
            EXPECT_TRUE(s.m_LocalSettingsSetup == fresh.m_LocalSettingsSetup);
            EXPECT_TRUE(s.m_LocalSettingsWindow == fresh.m_LocalSettingsWindow);
            EXPECT_TRUE(s.m_LocalSettingsStackCmd == fresh.m_LocalSettingsStackCmd);
            EXPECT_TRUE(s.m_CadFileBackup == fresh.m_CadFileBackup);
        }
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsFilesTest, FilesAreWrittenInTheArchiveDialect) {
    CCadSystemSettings s;
    s.m_ConfigData.COMPANY = "株式会社<表>&\"ソ\"";
    s.m_LocalSettingsStackCmd.CmdId = {5001, 4002};
    s.m_LocalSettingsStackCmd.CmdName = {"線", "円"};
    s.m_CadFileBackup.BakupFnames = {"C:\\図面\\$0001_a.tcf"};
    const std::string config = s.GetConfigDataPath(true, true);
    const std::string local = s.GetLocalSettingsPath(true, true);
    ASSERT_EQ(0, s.SaveConfigDataFile(nullptr));
    ASSERT_EQ(0, s.SaveLocalSettings(nullptr));

    const std::string bytes = ReadBytes(config);
    EXPECT_EQ(0u, bytes.find("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n"
                             "<!DOCTYPE boost_serialization>\n"
                             "<boost_serialization signature=\"serialization::archive\" version=\""));
    // UTF-8 of the Japanese text, markup escaped.
    EXPECT_NE(std::string::npos, bytes.find("\xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE&lt;"));
    const std::wstring c = FileText(config);
    const wchar_t* configParts[] = {
        L"<SYSTEM class_id=\"0\" tracking_level=\"0\" version=\"0\">",
        L"<MOUSEMOVECMD>\n\t\t<count>10</count>\n\t\t<item>1204</item>",
        L"<SCALE class_id=\"1\" tracking_level=\"0\" "
        L"version=\"0\">\n\t\t<count>0</count>\n\t\t<item_version>0</item_version>",
        L"<File class_id=\"2\" tracking_level=\"0\" version=\"0\">",
        L"<OPEN_EXT0_N>\n\t\t\t<count>20</count>",
        L"<Menu class_id=\"3\" tracking_level=\"0\" version=\"0\">",
        L"<WIMDOW_RECT class_id=\"4\" tracking_level=\"0\" version=\"0\">",
        L"<WINDOW_RECT_SIZE>",
        L"<COLOR_SYS_BK class_id=\"6\" tracking_level=\"0\" version=\"0\">\n\t\t\t<Color>#C0C0C0</Color>",
        L"<COLOR_PANEL>",
        L"<COLOR_BTN_ATTR>\n\t\t\t<count>20</count>\n\t\t\t<item class_id=\"7\" tracking_level=\"0\" version=\"0\">\n"
        L"\t\t\t\t<Bkgnd>#6464FF</Bkgnd>\n\t\t\t\t<Text>#FFFFFF</Text>\n\t\t\t\t<Disabled>#808080</Disabled>",
        L"<INIT_PARAMETER_09>0</INIT_PARAMETER_09>",
        L"</boost_serialization>",
    };
    for (size_t i = 0; i < sizeof configParts / sizeof configParts[0]; ++i)
        EXPECT_TRUE(Contains(c, configParts[i])) << "ConfigData.xml part " << i;
    EXPECT_FALSE(Contains(c, L"Build 942"));  // derived members are never stored

    const std::wstring l = FileText(local);
    const wchar_t* localParts[] = {
        L"<Setup class_id=\"0\" tracking_level=\"0\" version=\"0\">\n\t<paper_margin class_id=\"1\"",
        L"<iCmdPanelCurrPage>\n\t\t<count>5</count>",
        L"<Window class_id=\"3\" tracking_level=\"0\" version=\"0\">\n\t<Screen class_id=\"4\"",
        L"<TbarDisp class_id=\"5\" tracking_level=\"0\" version=\"0\">",
        L"<CadFileBackup class_id=\"6\" tracking_level=\"0\" version=\"0\">",
        L"<BakupFnames>\n\t\t<count>1</count>\n\t\t<item_version>0</item_version>",
        L"<CmdId>\n\t\t<count>2</count>\n\t\t<item_version>0</item_version>\n\t\t<item>5001</item>",
        L"<CmdName>\n\t\t<count>2</count>",
    };
    for (size_t i = 0; i < sizeof localParts / sizeof localParts[0]; ++i)
        EXPECT_TRUE(Contains(l, localParts[i])) << "LocalSettings.xml part " << i;
    EXPECT_FALSE(Contains(l, L"<dEps>"));
    EXPECT_FALSE(Contains(l, L"<dEpsAngle>"));

    CCadSystemSettings back;
    ASSERT_EQ(0, back.LoadConfigData(false, nullptr));
    ASSERT_EQ(0, back.LoadLocalSettings(false, nullptr));
    EXPECT_EQ(s.m_ConfigData.COMPANY, back.m_ConfigData.COMPANY);
    EXPECT_TRUE(back.m_LocalSettingsStackCmd == s.m_LocalSettingsStackCmd);
    EXPECT_TRUE(back.m_CadFileBackup == s.m_CadFileBackup);
}

TEST_F(SettingsFilesTest, ShippedCopiesAreVersion5AndHoldTheDefaults) {
    CCadSystemSettings shipped, defaults;
    shipped.m_ConfigData.LOG = 9;
    shipped.m_LocalSettingsSetup.iUndoCount = 99;
    ASSERT_EQ(0, shipped.LoadConfigData(false, InstallPath("ConfigData.xml").c_str()));
    ASSERT_EQ(0, shipped.LoadLocalSettings(false, InstallPath("LocalSettings.xml").c_str()));
    for (const char* f : {"ConfigData.xml", "LocalSettings.xml"})
        EXPECT_NE(std::string::npos,
                  ReadBytes(InstallPath(f)).find("signature=\"serialization::archive\" version=\"5\""))
            << f;
    EXPECT_EQ(SaveConfigDataText(defaults.m_ConfigData), SaveConfigDataText(shipped.m_ConfigData));
    EXPECT_TRUE(shipped.m_LocalSettingsSetup == defaults.m_LocalSettingsSetup);
    EXPECT_TRUE(shipped.m_LocalSettingsStackCmd == defaults.m_LocalSettingsStackCmd);
    EXPECT_TRUE(shipped.m_CadFileBackup == defaults.m_CadFileBackup);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsFilesTest, FailedSaveLeavesTheOldFileWhole) {
    struct Case {
        const char* name;
        SettingsFileOps ops;
    } cases[] = {
        {"disk full while writing",
         {[](const char* path, const std::string& bytes, std::string* error) {
              // Half the bytes reach the disk, then the write fails.
              GetDefaultSettingsFileOps().writeFile(path, bytes.substr(0, bytes.size() / 2), error);
              *error = "disk full";
              return false;
          },
          GetDefaultSettingsFileOps().replaceFile}},
        {"crash before the move",
         {GetDefaultSettingsFileOps().writeFile,
          [](const char*, const char*, std::string* error) {
              *error = "refused";
              return false;
          }}},
    };
    for (const Case& c : cases) {
        CCadSystemSettings s;
        const std::string path = s.GetConfigDataPath(true, true);
        const std::string before = ReadBytes(path);
        s.m_ConfigData.LOG = 3;
        boxes_->Clear();
        SetSettingsFileOps(&c.ops);
        EXPECT_EQ(-1, s.SaveConfigDataFile(nullptr)) << c.name;
        SetSettingsFileOps(nullptr);
        EXPECT_EQ(before, ReadBytes(path)) << c.name;
        EXPECT_FALSE(Exists(path + ".$$$")) << c.name;
        ASSERT_EQ(1u, Messages().size()) << c.name;
        EXPECT_NE(std::string::npos, Messages()[0].text.find("の書き出しに失敗しました。")) << c.name;
        EXPECT_NE(std::string::npos, Messages()[0].text.find(path)) << c.name;
        EXPECT_EQ("確認", Messages()[0].caption);
        EXPECT_EQ(0, s.LoadConfigData(false, nullptr)) << c.name;
    }
}

TEST_F(SettingsFilesTest, SaveNeverCreatesAFile) {
    CCadSystemSettings s;
    const std::string path = localAppData_ + "\\nowhere.xml";
    EXPECT_EQ(-1, s.SaveConfigDataFile(path.c_str()));
    EXPECT_EQ(-1, s.SaveLocalSettings(path.c_str()));
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(-1, s.LoadConfigData(false, path.c_str()));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsFilesTest, DeletedLocalSettingsIsSeededAndOverwrittenAtShutdown) {
    CCadSystemSettings s;
    ASSERT_EQ(0, s.LoadLocalSettings(true, nullptr));
    Running().iUndoCount = 42;
    DeleteFileA(UserPath("LocalSettings.xml").c_str());
    EXPECT_EQ(0, SaveUserSettings());
    CCadSystemSettings back;
    ASSERT_EQ(0, back.LoadLocalSettings(false, nullptr));
    EXPECT_EQ(42, back.m_LocalSettingsSetup.iUndoCount);
}

TEST_F(SettingsFilesTest, IniCompanionFollowsTheXmlWithItsExtensionForced) {
    static std::vector<std::string> calls;
    calls.clear();
    SetLocalSettingsIniHandlers(
        [](LocalSettingsSetup&, const char* p) { return calls.push_back(std::string("read ") + p), 0; },
        [](LocalSettingsSetup&, const char* p) { return calls.push_back(std::string("write ") + p), 0; });
    CCadSystemSettings s;
    const std::string missing = root_ + "\\gone.xml";
    EXPECT_EQ(-1, s.LoadLocalSettings(false, missing.c_str()));
    EXPECT_EQ(-1, s.SaveLocalSettings(missing.c_str()));
    s.LoadLocalSettings(false, (root_ + "\\x.INI").c_str());
    SetLocalSettingsIniHandlers(nullptr, nullptr);
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ("read " + root_ + "\\gone.ini", calls[0]);
    EXPECT_EQ("write " + root_ + "\\gone.ini", calls[1]);
    EXPECT_EQ("read " + root_ + "\\x.INI", calls[2]);
    EXPECT_EQ("C:\\a.b\\LocalSettings.ini", LocalSettingsIniPathFor("C:\\a.b\\LocalSettings"));
}

TEST_F(SettingsFilesTest, LoadingSetsTheJapaneseLocale) {
    CCadSystemSettings s;
    s.LoadConfigData(false, InstallPath("ConfigData.xml").c_str());
    const char* locale = setlocale(LC_ALL, nullptr);
    ASSERT_NE(nullptr, locale);
    EXPECT_NE(std::string::npos, std::string(locale).find("Japanese")) << locale;
}

TEST_F(SettingsFilesTest, SaveBeforeTheUserSettingsAreAppliedKeepsTheRecords) {
    CCadSystemSettings s;
    s.GetLocalSettingsPath(true, true);
    s.m_LocalSettingsSetup.iUndoCount = 17;
    s.m_LocalSettingsSetup.SysZumenDir = "D:\\図面";
    Running().iUndoCount = 0;  // never applied: nothing of the user's runs yet
    ASSERT_EQ(0, s.SaveLocalSettings(nullptr));
    CCadSystemSettings back;
    ASSERT_EQ(0, back.LoadLocalSettings(false, nullptr));
    EXPECT_EQ(17, back.m_LocalSettingsSetup.iUndoCount);
    EXPECT_EQ("D:\\図面", back.m_LocalSettingsSetup.SysZumenDir);
    EXPECT_TRUE(back.m_LocalSettingsSetup == s.m_LocalSettingsSetup);
}
