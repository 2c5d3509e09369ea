// The command registry: item lines, lookups, the "/C:" rule, the split of a
// command line, loading and release of modules.
#include <gtest/gtest.h>

#include <string>

#include "base/file_utils.h"
#include "cmd_fixture.h"
#include "tests/app/test_commands.h"
#include "command/cad_app_cmd.h"
#include "command/executor.h"
#include "win/message_box.h"

namespace {

CmdDefText OneGroup(const std::string& dir, std::vector<std::string> items, const std::string& readOnly = "") {
    CmdDefText def;
    def.readOnlyIds = readOnly;
    def.groups.push_back({"G", dir, std::move(items)});
    return def;
}

struct ItemCase {
    const char* name;
    const char* item;
    int lookupId;
    const char* commandName;
    const char* displayName;
    const char* commandLine;
    const char* extra;
    int slot;
};

TEST(CmdRegistry, ItemLinesBecomeCommands) {
    const ItemCase cases[] = {
        {"all fields", "Line;線分,5001,CadAppBase.dll ARG,extra,ignored", 5001, "Line", "線分", "CadAppBase.dll ARG",
         "extra", 0},
        {"no semicolon", "Circle,5002,CadIo.dll", 5002, "Circle", "Circle", "CadIo.dll", "", 8},
        {"fields missing", "OnlyName", 0, "OnlyName", "OnlyName", "", "", -1},
        {"16-bit id", "Wide;広い,70539,x.dll", 5003, "Wide", "広い", "x.dll", "", -1},
        {"high word ignored in lookup", "Hi,5004,x.dll", 5004 | 0x10000, "Hi", "Hi", "x.dll", "", -1},
        {"DBCS names with 0x5C trail", "表示;ソ表能,5005,CadAppKikai.dll", 5005, "表示", "ソ表能", "CadAppKikai.dll",
         "", 5},
        {"quoted field with comma", "\"Q,1;名\",5006,a.dll", 5006, "Q,1", "名", "a.dll", "", -1},
        {"slot name in other case", "Lower,5007,cadappbase.dll x", 5007, "Lower", "Lower", "cadappbase.dll x", "", -1},
        {"leading blank (quoted)", "Blank,5008,\" CadAppBase.dll\"", 5008, "Blank", "Blank", " CadAppBase.dll", "", -1},
    };
    for (const auto& c : cases) {
        CCadAppCmd reg;
        reg.Load(OneGroup("", {c.item}));
        const CCmdInfo* info = reg.FindCmd(c.lookupId);
        ASSERT_NE(info, nullptr) << c.name;
        EXPECT_EQ(info->commandName, c.commandName) << c.name;
        EXPECT_EQ(info->displayName, c.displayName) << c.name;
        EXPECT_EQ(info->commandLine, c.commandLine) << c.name;
        EXPECT_EQ(info->extraText, c.extra) << c.name;
        EXPECT_EQ(info->slot, c.slot) << c.name;
    }
}

TEST(CmdRegistry, FirstOfDuplicateIdsWinsAcrossGroups) {
    CCadAppCmd reg;
    CmdDefText def;
    def.groups.push_back({"A", "", {"First,6000,a.dll", "Second,6000,b.dll"}});
    def.groups.push_back({"B", "", {"Third,6000,c.dll"}});
    reg.Load(def);
    EXPECT_EQ(reg.FindCmd(6000)->commandName, "First");
    EXPECT_EQ(reg.FindCmd(7000), nullptr);
    std::string line;
    EXPECT_EQ(reg.FindCmdLine(7000, line), -1);
}

TEST(CmdRegistry, ResidentLinesGetTheCommandWordOnce) {
    struct Case {
        const char* item;
        int result;
        const char* line;
        int slot;
    } cases[] = {
        {"Line,5001,CadAppBase.dll ARG", 1, "CadAppBase.dll ARG /C:Line", 0},
        {"Line,5001,CadAppBase.dll /C:Other", 1, "CadAppBase.dll /C:Other", 0},
        {"Line,5001,CadAppBase.dll x /c:lower", 1, "CadAppBase.dll x /c:lower", 0},
        {"Line,5001,CadIoUtils.dll", 1, "CadIoUtils.dll /C:Line", 12},
        {"Line,5001,C:\\mods\\a.dll /C:X", 0, "C:\\mods\\a.dll /C:X", -1},
    };
    for (const auto& c : cases) {
        CCadAppCmd reg;
        reg.Load(OneGroup("", {c.item}));
        std::string line;
        int slot = 99;
        EXPECT_EQ(reg.FindCmdLine(5001, line, &slot), c.result) << c.item;
        EXPECT_EQ(line, c.line) << c.item;
        EXPECT_EQ(slot, c.slot) << c.item;
    }
}

TEST(CmdRegistry, ByPathLinesJoinTheGroupFolder) {
    const std::string exe = GetModuleDir();  // ends with "\"
    struct Case {
        const char* dir;
        const char* line;
        std::string expect;
    } cases[] = {
        {"%EXECDIR%Sub", "m.dll /C:Go", exe + "Sub\\m.dll /C:Go"},
        {"%EXECDIR%", "m.dll", exe + "m.dll"},
        {"C:\\base", "..\\other\\m.dll a", "C:\\other\\m.dll a"},
        {"C:\\base", "D:\\abs\\m.dll", "D:\\abs\\m.dll"},
        {"", "m.dll", "m.dll"},
    };
    for (const auto& c : cases) {
        CCadAppCmd reg;
        reg.Load(OneGroup(c.dir, {std::string("M,5100,") + c.line}));
        std::string line;
        EXPECT_EQ(reg.FindCmdLine(5100, line), 0) << c.dir << " " << c.line;
        EXPECT_EQ(line, c.expect) << c.dir << " " << c.line;
    }
}

TEST(CmdRegistry, SplitCmdLine) {
    struct Case {
        const char* line;
        int result;
        const char* path;
        const char* args;
    } cases[] = {
        {"a.dll  x y ", 0, "a.dll", "x y "}, {"C:\\m\\A.DLL\t/C:Go", 0, "C:\\m\\A.DLL", "/C:Go"},
        {"a.dllx", -1, "a.dll", ""},         {"a.dll", -1, "a.dll", ""},
        {"a.dll   ", -1, "a.dll", ""},       {"$SYSTEMCMD$ abc", 0, "$SYSTEMCMD$", "abc"},
        {"$systemcmd$ abc", -1, "", ""},     {"nothing here", -1, "", ""},
    };
    for (const auto& c : cases) {
        std::string path = "junk", args = "junk";
        EXPECT_EQ(SplitCmdLine(c.line, path, args), c.result) << c.line;
        EXPECT_EQ(path, c.path) << c.line;
        EXPECT_EQ(args, c.args) << c.line;
    }
}

TEST(CmdRegistry, ReadOnlyList) {
    CCadAppCmd reg;
    reg.Load(OneGroup("", {}, "4001, 5000,abc"));
    EXPECT_EQ(reg.ReadOnlyIds(), (std::vector<int>{4001, 5000, 0}));
    EXPECT_EQ(reg.IsReadOnlyCmd(4001), 1);
    EXPECT_EQ(reg.IsReadOnlyCmd(5000), 1);
    EXPECT_EQ(reg.IsReadOnlyCmd(4002), 0);
    CCadAppCmd open;
    open.Load(OneGroup("", {}));
    EXPECT_EQ(open.IsReadOnlyCmd(4002), 1) << "an empty list allows every command";
}

TEST(CmdRegistry, TextsCopiedIntoCallerBuffersAreBounded) {
    CCadAppCmd reg;
    std::string longName(300, 'a');
    longName[258] = '\x95';  // a double-byte character across the limit
    longName[259] = '\\';
    reg.Load(OneGroup("", {"C;" + longName + ",5200,a.dll", "S;短い,5201,a.dll"}));
    SetCmdRegistry(&reg);
    char buffer[260 + 8];
    std::memset(buffer, 'Z', sizeof buffer);
    EXPECT_EQ(GetCmdDisplayName(5200, buffer, 260), 1);
    EXPECT_EQ(std::strlen(buffer), 258u) << "cut before the split character";
    EXPECT_EQ(buffer[260], 'Z') << "nothing written past the buffer";
    EXPECT_EQ(GetCmdDisplayName(5201, buffer, 260), 1);
    EXPECT_STREQ(buffer, "短い");
    EXPECT_EQ(GetCmdDisplayName(5299, buffer, 260), 0);
    EXPECT_EQ(GetCmdLineOfId(5201, buffer, 260), 1);
    EXPECT_STREQ(buffer, "a.dll");
    SetCmdRegistry(nullptr);
}

using CmdRegistryModules = CommandFixture;

TEST_F(CmdRegistryModules, ByPathModuleLivesForOneRun) {
    std::string path, args;
    HMODULE module = registry->LoadCmdModule(kCmdQuick, path, args);
    ASSERT_NE(module, nullptr) << path;
    EXPECT_EQ(args, "/C:Quick");
    EXPECT_EQ(registry->CurrentSlot(), -1);
    EXPECT_NE(GetModuleHandleA("ZavTestCmd.dll"), nullptr);
    registry->ReleaseModule();
    EXPECT_EQ(registry->CurrentModule(), nullptr);
    EXPECT_EQ(GetModuleHandleA("ZavTestCmd.dll"), nullptr) << "unloaded after its run";
}

TEST_F(CmdRegistryModules, LoadFailuresShowTheirMessages) {
    std::string path, args;
    UINT mode = 0x1234;
    const UINT before = SetErrorMode(0);
    SetErrorMode(before);
    EXPECT_EQ(registry->LoadCmdModule(39000, path, args, &mode), nullptr);
    EXPECT_EQ(registry->LoadCmdModule(30007, path, args, &mode), nullptr);
    EXPECT_EQ(errors, (std::vector<std::string>{"msg:5118", "msg:5119"}));
    EXPECT_EQ(SetErrorMode(before), before) << "error mode restored after a failed load";
}

TEST_F(CmdRegistryModules, ModuleExistsChecksTheExecutableFolder) {
    CCadAppCmd reg;
    reg.Load(OneGroup("", {"A,5300,test_command.exe /C:X", "B,5301,nosuch.dll x"}));
    SetCmdRegistry(&reg);
    EXPECT_EQ(CmdModuleExists(5300), 1);
    EXPECT_EQ(CmdModuleExists(5301), 0);
    EXPECT_EQ(CmdModuleExists(5302), 0);
    SetCmdRegistry(registry.get());
}

TEST_F(CmdRegistryModules, LoadingEntryPoints) {
    CmdDefText def;
    def.groups.push_back(
        {"G",
         DistDir(),
         {"Imp,5103,ZavTestCmd.dll /C:Import", "Jwc,5104,ZavTestCmd.dll /C:Jwc", "Bad,5105,ZavTestCmdBroken.dll"}});
    CCadAppCmd reg;
    reg.Load(def);
    SetCmdRegistry(&reg);
    int info = 0;
    EXPECT_EQ(CallLoadingDB(5103, "a.tcf", nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(CallLoadingDB(5104, "b.jwc", nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(CallLoadingDB(5104, "c.jwc", nullptr, nullptr, &info), 1);
    EXPECT_EQ(CallLoadingDB(5105, "d.dxf", nullptr, nullptr, nullptr), 0);
    EXPECT_TRUE(LogHas("TESTCMD LoadingDB a.tcf")) << LogText();
    EXPECT_TRUE(LogHas("TESTCMD Jwc_LoadingDB b.jwc"));
    EXPECT_TRUE(LogHas("TESTCMD LoadingDB_Info c.jwc 0 1"));
    EXPECT_EQ(errors, std::vector<std::string>{"msg:5120"});
    EXPECT_EQ(reg.CurrentModule(), nullptr);
    EXPECT_EQ(GetModuleHandleA("ZavTestCmd.dll"), nullptr);

    // An import module that faults on its file: reported, drawings backed
    // up, and the load counts as failed.
    errors.clear();
    EXPECT_EQ(CallLoadingDB(5103, "fault.dxf", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(backups, 1);
    EXPECT_TRUE(LogHas("コマンド実行中に例外が発生しました"));
    EXPECT_EQ(GetModuleHandleA("ZavTestCmd.dll"), nullptr);
    SetCmdRegistry(registry.get());
}

TEST_F(CmdRegistryModules, ResidentModuleStaysLoadedUntilTheRegistryGoes) {
    // A copy of the test module under a resident name, beside the program.
    const std::string resident = GetModuleDir() + "CadAppBase.dll";
    ASSERT_TRUE(CopyFileA((DistDir() + "\\ZavTestCmd.dll").c_str(), resident.c_str(), FALSE));
    {
        CCadAppCmd reg;
        reg.Load(OneGroup("", {"Res;常駐,5001,CadAppBase.dll /C:Quick"}));
        std::string path, args;
        HMODULE first = reg.LoadCmdModule(5001, path, args);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(reg.CurrentSlot(), 0);
        reg.ReleaseModule();
        EXPECT_EQ(GetModuleHandleA("CadAppBase.dll"), first) << "resident after its run";
        EXPECT_EQ(reg.LoadCmdModule(5001, path, args), first) << "not loaded again";
        reg.ReleaseModule();
    }
    EXPECT_EQ(GetModuleHandleA("CadAppBase.dll"), nullptr) << "unloaded with the registry";
    DeleteFileA(resident.c_str());
}

TEST_F(CmdRegistryModules, RunModuleForFileJoinsItsText) {
    EXPECT_EQ(RunModuleForFile(kCmdQuick, "extra"), 1);
    EXPECT_TRUE(LogHas("TESTCMD quick id=0 args=/C:Quick extra")) << LogText();
    EXPECT_EQ(registry->CurrentModule(), nullptr);
    EXPECT_EQ(RunModuleForFile(kCmdBroken, ""), 0);
    EXPECT_EQ(errors.back(), "msg:5120");
}

TEST(CmdRegistryFile, InstallationFileReadsAndShipsNoTestCommands) {
    win::MessageBoxTestHook boxes;
    CCadAppCmd shipped;
    const std::string path = DistDir() + "\\CadAppCmd.def";
    ASSERT_EQ(shipped.ReadDefFile(path.c_str()), 0) << (boxes.Calls().empty() ? "" : boxes.Calls()[0].text);
    ASSERT_NE(shipped.FindCmd(4000), nullptr);
    EXPECT_EQ(shipped.FindCmd(4000)->displayName, "新規図面");
    EXPECT_EQ(shipped.IsReadOnlyCmd(4001), 1);
    EXPECT_EQ(shipped.FindCmd(30001), nullptr) << "the test commands are no part of the installation";
    EXPECT_EQ(shipped.IsReadOnlyCmd(30001), 0);

    // A test's private copy with the test commands written in.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string dir = std::string(temp) + "zav_registry_install";
    CreateDirectoryA(dir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(path.c_str(), (dir + "\\CadAppCmd.def").c_str(), FALSE));
    ASSERT_TRUE(InstallTestCommands(dir));
    CCadAppCmd reg;
    ASSERT_EQ(reg.ReadDefFile((dir + "\\CadAppCmd.def").c_str()), 0)
        << (boxes.Calls().empty() ? "" : boxes.Calls()[0].text);
    const CCmdInfo* wait = reg.FindCmd(30001);
    ASSERT_NE(wait, nullptr);
    EXPECT_EQ(wait->displayName, "テスト入力待ち");
    EXPECT_EQ(reg.FindCmd(4000)->displayName, "新規図面") << "the system commands stay";
    EXPECT_EQ(reg.IsReadOnlyCmd(4001), 1);
    EXPECT_EQ(reg.IsReadOnlyCmd(30001), 1);
    EXPECT_EQ(reg.IsReadOnlyCmd(30004), 0);
    DeleteFileA((dir + "\\CadAppCmd.def").c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
