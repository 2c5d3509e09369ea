// The settings-file layer over real files: file key kinds and placeholders,
// typed and text reads with comments, file-name settings, the auxiliary
// INI files, and writes into section "SYSTEM".
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <list>

#include "base/def_file.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "base/settings_layer.h"
#include "layer_fixture.h"

namespace {

std::string ReplaceOnce(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// Shift_JIS text as UTF-8, for edits of the UTF-8 settings files.
std::string Utf8(const std::string& sjis) {
    std::wstring wide(sjis.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(932, 0, sjis.c_str(), static_cast<int>(sjis.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    std::string out(wide.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), &out[0],
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

}  // namespace

class SettingsLayer : public LayerFixture {};

TEST_F(SettingsLayer, ResolvesFileKeysByKindAndPlaceholder) {
    struct Row {
        std::string fileKey;
        int kind;
        std::string path;
    } rows[] = {
        {"%EXE_DIR%ConfigData.xml", 1, InstallPath("ConfigData.xml")},
        {"%EXE_DIR%\\ZavIrurer.ini", 0, InstallPath("ZavIrurer.ini")},
        {"%USER_LOCAL_APPDATA%LocalSettings.xml", 2, UserPath("LocalSettings.xml")},  // seeded
        {"%USER_LOCAL_APPDATA%ConfigData.xml", 1, UserPath("ConfigData.xml")},
        {InstallPath("ConfigData.xml"), 1, InstallPath("ConfigData.xml")},
        {"%SYSTEM_MEMORY%ConfigData.xml", 11, "%SYSTEM_MEMORY%ConfigData.xml"},
        {"%SYSTEM_MEMORY%LocalSettings.xml", 12, "%SYSTEM_MEMORY%LocalSettings.xml"},
        {"%SYSTEM_MEMORY%other.ini", 10, "%SYSTEM_MEMORY%other.ini"},
        {"%EXE_DIR%missing.ini", -1, InstallPath("missing.ini")},
        {"ConfigData.xml", -1, "ConfigData.xml"},  // kind 0 by name, and no such file here
    };
    for (const Row& row : rows) {
        std::string path;
        EXPECT_EQ(row.kind, ResolveSettingsPath(row.fileKey.c_str(), path)) << row.fileKey;
        EXPECT_EQ(row.path, path) << row.fileKey;
    }
    EXPECT_TRUE(FileExists(UserPath("LocalSettings.xml")));
}

TEST_F(SettingsLayer, ReadsStringsOverEveryKind) {
    WriteFile(InstallPath("extra.ini"), "[表示]\r\n能力=ソフト表示\r\n");
    char out[SETTING_TEXT_SIZE];

    std::strcpy(out, "untouched");
    EXPECT_EQ(0, ReadSettingString("A", "B", "d", out, sizeof out, "%EXE_DIR%none.ini"));
    EXPECT_STREQ("untouched", out);

    EXPECT_EQ(10, ReadSettingString("表示", "能力", "d", out, sizeof out, "%EXE_DIR%extra.ini"));
    EXPECT_STREQ("ソフト表示", out);

    EXPECT_EQ(1, ReadSettingString("SYSTEM", "LOG", "d", out, sizeof out, "%USER_LOCAL_APPDATA%ConfigData.xml"));
    EXPECT_STREQ("0", out);
    EXPECT_EQ(1, ReadSettingString("SYSTEM", "Menu/AppPanelType", "d", out, sizeof out,
                                   "%USER_LOCAL_APPDATA%ConfigData.xml"));
    EXPECT_STRNE("d", out);
    EXPECT_EQ(1, ReadSettingString("SYSTEM", "NOKEY", "既定", out, sizeof out, "%USER_LOCAL_APPDATA%ConfigData.xml"));
    EXPECT_STREQ("既定", out);

    // A small buffer is filled on a character boundary.
    char small[6];
    EXPECT_EQ(
        1, ReadSettingString("SYSTEM", "NOKEY", "表示表示", small, sizeof small, "%USER_LOCAL_APPDATA%ConfigData.xml"));
    EXPECT_STREQ("表示", small);

    // The running panel type answers from memory, with no file behind it.
    {
        CCadSystemSettings settings;
        settings.m_ConfigData.Menu.AppPanelType = 7;
        EXPECT_EQ(
            1, ReadSettingString("SYSTEM", "Menu/AppPanelType", "d", out, sizeof out, "%SYSTEM_MEMORY%ConfigData.xml"));
        EXPECT_STREQ("7", out);
        EXPECT_EQ(1, ReadSettingString("SYSTEM", "LOG", "d", out, sizeof out, "%SYSTEM_MEMORY%ConfigData.xml"));
        EXPECT_STREQ("d", out);
    }
}

TEST_F(SettingsLayer, TypedReadsCutComments) {
    // The per-user copy with a commented LOG value.
    std::string user;
    ASSERT_EQ(1, ResolveSettingsPath("%USER_LOCAL_APPDATA%ConfigData.xml", user));
    WriteFile(user, ReplaceOnce(ReadBytes(user), "<LOG>0</LOG>", Utf8("<LOG>3 // 詳しく</LOG>")));
    WritePrivateProfileStringA("TEST", "INT", "2 // two", InstallPath("ZavIrurer.ini").c_str());
    WritePrivateProfileStringA("TEST", "REAL", "1.5e3\t// real", InstallPath("ZavIrurer.ini").c_str());
    WritePrivateProfileStringA("TEST", "TEXT", "表示ソ//x", InstallPath("ZavIrurer.ini").c_str());
    WritePrivateProfileStringA("TEST", "SLASH", "a/b / c", InstallPath("ZavIrurer.ini").c_str());

    int i = -1;
    EXPECT_EQ(0, ReadSettingValue(&i, 1, 0, "SYSTEM", "LOG", "0"));
    EXPECT_EQ(3, i);
    EXPECT_EQ(0, ReadSettingValue(&i, 1, 0, "TEST", "INT", "9"));
    EXPECT_EQ(2, i);
    EXPECT_EQ(0, ReadSettingValue(&i, 1, 0, "TEST", "NONE", "9"));
    EXPECT_EQ(9, i);
    long l = 0;
    EXPECT_EQ(0, ReadSettingValue(&l, 3, 0, "TEST", "INT", "9"));
    EXPECT_EQ(2, l);
    double d = 0;
    EXPECT_EQ(0, ReadSettingValue(&d, 4, 0, "TEST", "REAL", "0"));
    EXPECT_DOUBLE_EQ(1500.0, d);
    char text[16];
    EXPECT_EQ(0, ReadSettingValue(text, 5, sizeof text, "TEST", "TEXT", ""));
    EXPECT_STREQ("表示ソ", text);
    EXPECT_EQ(0, ReadSettingValue(text, 5, sizeof text, "TEST", "SLASH", ""));
    EXPECT_STREQ("a/b / c", text);
    EXPECT_EQ(-1, ReadSettingValue(&i, 6, 0, "TEST", "INT", "9"));
    EXPECT_EQ(-1, ReadSettingValue(&i, 0, 0, "TEST", "INT", "9"));

    // Leading blanks stay, the blanks before the comment go.
    WritePrivateProfileStringA("CONFIG", "CMDINI", "\"  sonota.ini   // command INI\"",
                               InstallPath("ZavIrurer.ini").c_str());
    char out[SETTING_TEXT_SIZE];
    EXPECT_EQ(1, ReadSettingText("CONFIG", "CMDINI", "x", out));
    EXPECT_STREQ("  sonota.ini", out);
    EXPECT_EQ(1, ReadSettingText("SYSTEM", "SYSTEMDIR", "x", out));
    EXPECT_EQ(install_ + "\\", out);

    std::string comment = "値 表示 // c";
    StripSettingComment(comment);
    EXPECT_EQ("値 表示", comment);
}

TEST_F(SettingsLayer, FileNameSettings) {
    char out[SETTING_PATH_SIZE];
    EXPECT_EQ(1, ReadSettingFileName(out, "CONFIG", ";;%EXECDIR%help.chm", "x"));
    EXPECT_EQ(install_ + "\\help.chm", out);
    EXPECT_FALSE(FileExists(UserPath("help.chm")));

    EXPECT_EQ(1, ReadSettingFileName(out, "CONFIG", "CMDINI", ""));
    EXPECT_EQ(UserPath("sonota.ini"), out);
    EXPECT_TRUE(FileExists(UserPath("sonota.ini"))) << "seeded from the installation folder";

    WritePrivateProfileStringA("CONFIG", "PICTURE", "title.bmp", InstallPath("ZavIrurer.ini").c_str());
    EXPECT_EQ(1, ReadSettingFileName(out, "CONFIG", "PICTURE", ""));
    EXPECT_EQ(InstallPath("title.bmp"), out);
    EXPECT_EQ(1, ReadSettingFileName(out, "CONFIG", "NONE", ""));
    EXPECT_STREQ("", out);

    EXPECT_EQ(1, ReadDataFileName(out, "CONFIG", "DATSTR", ""));
    EXPECT_EQ(UserPath("SETTEI\\rirekimoji.ini"), out);
    EXPECT_TRUE(FileExists(out));
    EXPECT_EQ(1, ReadDataFileName(out, "CONFIG", "PICTURE", ""));
    EXPECT_EQ(InstallPath("SETTEI\\title.bmp"), out);
    EXPECT_TRUE(boxes_->Calls().empty());
}

TEST_F(SettingsLayer, AuxiliaryIniFiles) {
    char out[SETTING_TEXT_SIZE];
    EXPECT_EQ(1, ReadCmdIniString("COPY_SELECT", "FileWriting", "9", out));
    EXPECT_STREQ("0", out);
    EXPECT_EQ(1, WriteCmdIniString("COPY_SELECT", "FileWriting", "1"));
    EXPECT_EQ(1, ReadCmdIniString("COPY_SELECT", "FileWriting", "9", out));
    EXPECT_STREQ("1", out);
    EXPECT_EQ("1",
              std::string(ReadBytes(UserPath("sonota.ini")).find("FileWriting=1") != std::string::npos ? "1" : "0"));

    EXPECT_EQ(1, WriteTextHistoryString("DATA", "0", "配管表示"));
    EXPECT_EQ(1, ReadTextHistoryString("DATA", "0", "", out));
    EXPECT_STREQ("配管表示", out);
    EXPECT_TRUE(FileExists(UserPath("SETTEI\\rirekimoji.ini")));

    WritePrivateProfileStringA("5001", "OK_TextColor", "7", InstallPath("SETTEI\\bottoncolor.ini").c_str());
    Touch(InstallPath("SETTEI\\bottoncolor.ini"), 60);  // newer than any per-user copy
    EXPECT_EQ(1, ReadPanelColorString("5001", "OK_TextColor", "", out));
    EXPECT_STREQ("7", out);

    // An empty setting falls back to the default name in data folder 7.
    WritePrivateProfileStringA("CONFIG", "CMDINI", "", InstallPath("ZavIrurer.ini").c_str());
    WriteFile(InstallPath("SETTEI\\sonota.ini"), "[COPY_SELECT]\r\nFileWriting=5\r\n");
    EXPECT_EQ(1, ReadCmdIniString("COPY_SELECT", "FileWriting", "9", out));
    EXPECT_STREQ("5", out);
    EXPECT_TRUE(boxes_->Calls().empty());

    // A missing installation copy is reported, and the read gives the default.
    WritePrivateProfileStringA("CONFIG", "DATSTR", "gone.ini", InstallPath("ZavIrurer.ini").c_str());
    EXPECT_EQ(1, ReadTextHistoryString("DATA", "0", "既定", out));
    EXPECT_STREQ("既定", out);
    ASSERT_EQ(1u, boxes_->Calls().size());
    EXPECT_EQ("エラー", boxes_->Calls()[0].caption);
    EXPECT_NE(std::string::npos, boxes_->Calls()[0].text.find("gone.ini"));
}

TEST_F(SettingsLayer, ScaleListAppends) {
    CCadSystemSettings settings;
    settings.m_ConfigData.SCALE = {"1", "1/2"};
    std::list<std::string> list = {"x"};
    GetScaleList(list);
    EXPECT_EQ((std::list<std::string>{"x", "1", "1/2"}), list);
}

// A write into section SYSTEM saves the live record, edits the one key in the
// per-user ConfigData.xml and reloads it with apply.
TEST_F(SettingsLayer, SystemWriteTakesEffectAndFileStillLoads) {
    CCadSystemSettings settings;
    ASSERT_EQ(0, settings.LoadConfigData(false, nullptr));
    ASSERT_EQ(0, settings.LoadLocalSettings(false, nullptr));
    ASSERT_EQ(1, settings.InitSettings());
    settings.m_ConfigData.TT = "表示ソフト";  // live, not yet in the file

    EXPECT_EQ(1, WriteSettingText("SYSTEM", "LOG", "2"));
    EXPECT_EQ(2, Running().LOG);
    EXPECT_EQ(2, settings.m_ConfigData.LOG);
    EXPECT_EQ("表示ソフト", settings.m_ConfigData.TT) << "the live record was saved before the edit";

    const std::string backup = root_->File("バックアップ表示");
    EXPECT_EQ(1, WriteSettingText("SYSTEM", "File/BACKUPDIR", backup.c_str()));
    EXPECT_EQ(backup, settings.m_ConfigData.File.BACKUPDIR);

    // A key that names no element adds nothing.
    const std::string path = UserPath("ConfigData.xml");
    EXPECT_EQ(1, WriteSettingText("SYSTEM", "NOSUCHKEY", "1"));
    EXPECT_EQ(std::string::npos, ReadBytes(path).find("NOSUCHKEY"));

    // The edited file still loads through the archive reader.
    CCadSystemSettings* reader = &settings;
    reader->m_ConfigData.LOG = 0;
    EXPECT_EQ(0, reader->LoadConfigData(false, path.c_str()));
    EXPECT_EQ(2, reader->m_ConfigData.LOG);
    for (const win::MessageBoxCall& call : boxes_->Calls())
        ADD_FAILURE() << call.text;
}

// The reload after a SYSTEM write must keep the user's own running values
// (rubber-band colour, cursor step, drawing folder) that the per-user
// settings put over the system defaults; the shutdown save would otherwise
// store the defaults in place of the user's choice.
TEST_F(SettingsLayer, SystemWriteKeepsUserRunningValues) {
    std::string local;
    ASSERT_EQ(2, ResolveSettingsPath("%USER_LOCAL_APPDATA%LocalSettings.xml", local));
    std::string bytes = ReadBytes(local);
    bytes = ReplaceOnce(bytes, "<iRubberCol>3</iRubberCol>", "<iRubberCol>9</iRubberCol>");
    bytes = ReplaceOnce(bytes, "<CursorRate>6.00000000000000000e+02</CursorRate>",
                        "<CursorRate>2.50000000000000000e+01</CursorRate>");
    bytes = ReplaceOnce(bytes, "<SysZumenDir></SysZumenDir>", Utf8("<SysZumenDir>D:\\図面表示</SysZumenDir>"));
    bytes = ReplaceOnce(bytes, "<right>1022</right>\n\t\t<bottom>766</bottom>",
                        "<right>640</right>\n\t\t<bottom>480</bottom>");
    WriteFile(local, bytes);

    CCadSystemSettings settings;
    ASSERT_EQ(0, settings.LoadConfigData(false, nullptr));
    ASSERT_EQ(0, settings.LoadLocalSettings(false, nullptr));
    ASSERT_EQ(9, settings.m_LocalSettingsSetup.iRubberCol);
    ASSERT_EQ(1, settings.InitSettings());
    ASSERT_EQ(9, Running().rubberColor);

    EXPECT_EQ(1, WriteSettingText("SYSTEM", "SystemColor/RUBBERCOL", "5"));
    EXPECT_EQ(5, settings.m_ConfigData.SystemColor.RUBBERCOL);
    EXPECT_EQ(9, Running().rubberColor);
    EXPECT_DOUBLE_EQ(25.0, Running().keyCursorStep);
    EXPECT_STREQ("D:\\図面表示", Running().zumenDir);
    EXPECT_TRUE(Running().mainWindowRect == (RectEx{0, 0, 640, 480}))
        << "the user's window rectangle, not WIMDOW_RECT: " << Running().mainWindowRect.right;

    ASSERT_EQ(0, SaveUserSettings());
    const std::string saved = ReadBytes(local);
    EXPECT_NE(std::string::npos, saved.find("<iRubberCol>9</iRubberCol>"));
    EXPECT_NE(std::string::npos, saved.find("<CursorRate>2.50000000000000000e+01</CursorRate>"));
    EXPECT_NE(std::string::npos, saved.find("<SysZumenDir>D:\\"));
    EXPECT_NE(std::string::npos, saved.find("<right>640</right>"));
}

// A module writing into the user's LocalSettings.xml: the value runs at once
// and is what the shutdown save keeps (the save writes the running values).
// A LocalSettings.xml elsewhere is edited, and the user's settings stay.
TEST_F(SettingsLayer, LocalSettingsWriteRunsAndSurvivesTheShutdownSave) {
    CCadSystemSettings settings;
    ASSERT_EQ(0, settings.LoadConfigData(false, nullptr));
    ASSERT_EQ(0, settings.LoadLocalSettings(false, nullptr));
    ASSERT_EQ(1, settings.InitSettings());
    ASSERT_EQ(10, Running().iUndoCount);
    Running().rubberColor = 11;  // changed during the run, not yet in the file

    EXPECT_EQ(1, WriteSettingString("Setup", "iUndoCount", "7", "%USER_LOCAL_APPDATA%LocalSettings.xml"));
    EXPECT_EQ(7, Running().iUndoCount);
    EXPECT_EQ(7, settings.m_LocalSettingsSetup.iUndoCount);
    EXPECT_EQ(11, Running().rubberColor) << "captured before the edit, applied after it";

    ASSERT_EQ(0, SaveUserSettings());
    const std::string local = UserPath("LocalSettings.xml");
    EXPECT_NE(std::string::npos, ReadBytes(local).find("<iUndoCount>7</iUndoCount>"));
    EXPECT_NE(std::string::npos, ReadBytes(local).find("<iRubberCol>11</iRubberCol>"));

    const std::string other = root_->File("LocalSettings.xml");
    ASSERT_TRUE(CopyFileA(local.c_str(), other.c_str(), FALSE));
    EXPECT_EQ(1, WriteSettingString("Setup", "iUndoCount", "3", other.c_str()));
    EXPECT_NE(std::string::npos, ReadBytes(other).find("<iUndoCount>3</iUndoCount>"));
    EXPECT_EQ(7, Running().iUndoCount);
    for (const win::MessageBoxCall& call : boxes_->Calls())
        ADD_FAILURE() << call.text;
}
