// The key file: entry grammar, sections, merging, saving and key names.
#include <gtest/gtest.h>

#include "shell/main_accelerator.h"
#include "shell_fixture.h"

namespace {

struct EntryCase {
    const char* line;
    int accepted;
    WORD key;
    WORD cmd;
    BYTE flags;
};

const EntryCase kEntries[] = {
    {"\"VK_F5\",5103,VIRTKEY,NOINVERT", 1, VK_F5, 5103, FVIRTKEY | FNOINVERT},
    {"\"a\",5103,CONTROL", 1, 'a', 5103, FCONTROL},
    {"\"VK_F2\",6000,VIRTKEY;comment,SHIFT", 1, VK_F2, 6000, FVIRTKEY},
    {"\"VK_F2\",6000,VIRTKEY // note,SHIFT", 1, VK_F2, 6000, FVIRTKEY},
    {"\"VK_F2\",6000,;only a comment,SHIFT", 1, VK_F2, 6000, 0},
    {"\"VK_DECIMAL\",3030,VIRTKEY,NUM", 1, VK_DECIMAL, 3030, FVIRTKEY | ACCEL_NUM},
    {"\"vk_f5\",5103,VIRTKEY", 0, 0, 0, 0},
    {"\"+\",5103,VIRTKEY", 0, 0, 0, 0},
    {"VK_LEFT, 3003 , VIRTKEY , ALT", 1, VK_LEFT, 3003, FVIRTKEY | FALT},
    {"\"7\",7000,VIRTKEY,SHIFT,CONTROL,ALT,BOGUS", 1, '7', 7000, FVIRTKEY | FSHIFT | FCONTROL | FALT},
    {"\"VK_OEM_CLEAR\",1,VIRTKEY", 1, 254, 1, FVIRTKEY},
};

TEST(KeyFile, EntryLinesFollowTheGrammar) {
    for (const EntryCase& c : kEntries) {
        ACCEL e;
        int ok = ParseKeyEntry(c.line, e);
        EXPECT_EQ(c.accepted, ok) << c.line;
        if (!ok || !c.accepted) continue;
        EXPECT_EQ(c.key, e.key) << c.line;
        EXPECT_EQ(c.cmd, e.cmd) << c.line;
        EXPECT_EQ(c.flags, e.fVirt) << c.line;
    }
}

TEST(KeyFile, NameTableIsCompleteAndOrdered) {
    int rows = 0;
    for (const VkNameRow* r = VkNameTable; r->code; ++r, ++rows)
        if (rows > 0) {
            EXPECT_LE(r[-1].code, r->code) << r->name;
        }
    EXPECT_EQ(154, rows);
    EXPECT_EQ("←", CMainAccelerator::KeyText(37, true));
    EXPECT_EQ("VK_LEFT", CMainAccelerator::KeyText(37, false));
    EXPECT_EQ("A", CMainAccelerator::KeyText(65, false));
    EXPECT_EQ("", CMainAccelerator::KeyText(0x3A, false));
    EXPECT_EQ("スペース", CMainAccelerator::KeyText(32, true));
    EXPECT_EQ("F24", CMainAccelerator::KeyText(135, true));
    EXPECT_EQ("VIRTKEY,NOINVERT,SHIFT,CONTROL,ALT,NUM", CMainAccelerator::FlagText(0x5F));
}

const char kKeyFile[] =
    "; comment\n"
    "[CustomKey]\n"
    "  these lines before BEGIN are ignored,1,VIRTKEY\n"
    "BEGIN\n"
    "    \"VK_F5\",5103,VIRTKEY,NOINVERT\n"
    "    // comment\n"
    "    \"VK_DECIMAL\",3030,VIRTKEY,NUM\n"
    "    \"VK_F6\",0,VIRTKEY\n"
    "    \"nosuchkey\",5000,VIRTKEY\n"
    "END\n"
    "    \"VK_F7\",5104,VIRTKEY\n"
    "[SystemKey]\n"
    "BEGIN\n"
    "    \"VK_F10\",1240,VIRTKEY\n"
    "ENDING\n"
    "    \"VK_F11\",1241,VIRTKEY\n";

TEST(KeyFile, LoadSplitsAcceleratorsAndNumberKeys) {
    ShellEnvironment env;
    std::string path = env.folder.Write("keys.key", kKeyFile);
    CMainAccelerator acc;
    ASSERT_EQ(0, acc.Load(path.c_str()));
    EXPECT_EQ(1, acc.Load(path.c_str())) << "a second load reads nothing";
    ACCEL table[16];
    int n = CopyAcceleratorTableA(acc.Handle(), table, 16);
    ASSERT_EQ(2, n) << "F5 from the custom keys, F10 from the system keys";
    EXPECT_EQ(VK_F5, table[0].key);
    EXPECT_EQ(VK_F10, table[1].key);
    ASSERT_EQ(1u, acc.NumberKeys().size());
    EXPECT_EQ(3030, acc.NumberKeys()[0].cmd);
    EXPECT_TRUE(acc.SystemKeys().empty()) << "a plain read leaves the system list empty";
}

TEST(KeyFile, MergeKeepsSystemKeysApartAndSaveWritesThemBack) {
    ShellEnvironment env;
    std::string path = env.folder.Write("keys.key", kKeyFile);
    CMainAccelerator acc;
    std::vector<ACCEL> custom;
    ASSERT_EQ(0, acc.ReadKeyFile(path.c_str(), custom, true, false));
    ASSERT_EQ(3u, custom.size()) << "merging keeps command 0 and number keys";
    ASSERT_EQ(1u, acc.SystemKeys().size()) << "ENDING begins with END: the section ends there";
    std::string out = env.folder.File("saved.key");
    ASSERT_EQ(0, acc.SaveKeyFile(out.c_str(), custom));
    // Written in text mode: lines end in CR LF.
    EXPECT_EQ(
        "[CustomKey]\r\nBEGIN\r\n"
        "    \"VK_F5\",5103,VIRTKEY,NOINVERT\r\n"
        "    \"VK_DECIMAL\",3030,VIRTKEY,NUM\r\n"
        "    \"VK_F6\",0,VIRTKEY\r\n"
        "END\r\n[SystemKey]\r\nBEGIN\r\n"
        "    \"VK_F10\",1240,VIRTKEY\r\n"
        "END\r\n",
        ReadWholeFile(out));
    CMainAccelerator empty;
    EXPECT_EQ(-1, empty.SaveKeyFile(out.c_str(), custom)) << "no system keys: nothing written";
}

TEST(KeyFile, BadFilesLeaveNoTable) {
    ShellEnvironment env;
    struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"empty custom", "[CustomKey]\nBEGIN\nEND\n[SystemKey]\nBEGIN\n\"VK_F1\",7112,VIRTKEY\nEND\n"},
        {"only unknown keys", "[CustomKey]\nBEGIN\n\"vk_f5\",1,VIRTKEY\nEND\n"},
        {"no sections", "\"VK_F1\",7112,VIRTKEY\n"},
    };
    for (auto& c : cases) {
        std::string path = env.folder.Write("bad.key", c.text);
        CMainAccelerator acc;
        EXPECT_EQ(-1, acc.Load(path.c_str())) << c.name;
        EXPECT_EQ(nullptr, acc.Handle()) << c.name;
    }
    CMainAccelerator missing;
    EXPECT_EQ(-1, missing.Load(env.folder.File("missing.key").c_str()));
}

TEST(KeyFile, PerUserCopyIsSeededFromTheInstalledFile) {
    ShellEnvironment env;
    CMainAccelerator acc;
    ASSERT_EQ(0, acc.Load("ZavIrurer.key"));
    std::string user = env.folder.File("Qv\\VantrelV8\\ZavIrurer.key");
    EXPECT_EQ(ReadWholeFile(DistDir() + "\\ZavIrurer.key"), ReadWholeFile(user));
    ACCEL table[64];
    int n = CopyAcceleratorTableA(acc.Handle(), table, 64);
    bool ctrlN = false;
    for (int i = 0; i < n; ++i)
        if (table[i].key == 'N' && table[i].cmd == 4000 && (table[i].fVirt & FCONTROL)) ctrlN = true;
    EXPECT_TRUE(ctrlN) << "Ctrl+N opens a new drawing";
}

TEST(KeyFile, NumberKeyFiresOnlyWithItsExactFlags) {
    ShellEnvironment env;
    std::string path = env.folder.Write("keys.key", kKeyFile);
    CMainAccelerator acc;
    ASSERT_EQ(0, acc.Load(path.c_str()));
    HWND target = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    MSG m = {};
    m.message = WM_KEYDOWN;
    m.wParam = VK_DECIMAL;
    EXPECT_EQ(0, acc.FireNumberKey(target, &m, FVIRTKEY));
    EXPECT_EQ(1, acc.FireNumberKey(target, &m, FVIRTKEY | ACCEL_NUM));
    m.wParam = VK_F5;
    EXPECT_EQ(0, acc.FireNumberKey(target, &m, FVIRTKEY | ACCEL_NUM));
    DestroyWindow(target);
}

}  // namespace
