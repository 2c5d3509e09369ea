// The hand-over files of the companion program.
#include <windows.h>

#include "base/handover_files.h"
#include "settings_fixture.h"

using HandoverFilesTest = SettingsFixture;

TEST_F(HandoverFilesTest, LaunchModeFromTheFirstLine) {
    CreateDirectoryA(InstallPath("SETTEI").c_str(), nullptr);
    CreateDirectoryA(InstallPath("DENKID").c_str(), nullptr);
    const std::string atr = InstallPath("SETTEI\\to_cad.atr");
    const std::string csv = InstallPath("DENKID\\hiroisyuukei.csv");
    EXPECT_EQ(-1, ReadStartModeFile(1));
    EXPECT_EQ(-1, ReadStartModeFile(0));
    struct Case {
        const char* content;
        int mode;
        bool csvEmptied;
    } cases[] = {
        {"1\n", 99, true},   {"2", 0, true},  {"3\r\nx", 1, false}, {"7\n", 5, false},  {"10\n", 10, false},
        {"12\n", -1, false}, {"", -1, false}, {"abc\n", -1, false}, {"0\n", -1, false}, {"8\n", -1, false},
    };
    for (const Case& c : cases) {
        WriteBytes(atr, c.content);
        WriteBytes(csv, "a,b\n");
        EXPECT_EQ(c.mode, ReadStartModeFile(0)) << "\"" << c.content << "\"";
        EXPECT_EQ(c.csvEmptied ? "" : "a,b\n", ReadBytes(csv)) << "\"" << c.content << "\"";
        EXPECT_EQ(c.content, ReadBytes(atr));  // the hand-over file is left as it is
        EXPECT_EQ(1, ReadStartModeFile(1));
    }
    WriteBytes(InstallPath("SETTEI\\from_cad.atr"), "old");
    CreateFromCadFile();
    EXPECT_EQ("", ReadBytes(InstallPath("SETTEI\\from_cad.atr")));
}
