// The recent-command list: most recent first, a command listed again moves
// to the front with the name it had, the oldest drops out; loaded from and
// stored into the StackCmd record of the per-user settings.
#include <gtest/gtest.h>

#include <string>

#include "shell/cad_system.h"
#include "shell/recent_commands.h"

namespace {

std::string List() {
    std::string s;
    for (const RecentCommand& r : RecentCommands)
        if (r.id) s += std::to_string(r.id) + ":" + r.name + " ";
    return s;
}

TEST(RecentCommands, PushMovesToTheFrontAndKeepsTenSlots) {
    LocalSettingsStackCmd& stored = GetCadSystem().m_LocalSettingsStackCmd;
    const LocalSettingsStackCmd saved = stored;
    stored = LocalSettingsStackCmd();
    LoadRecentCommands();
    EXPECT_EQ(List(), "") << "an empty StackCmd gives an empty list";

    PushRecentCommand("線", 5001);
    PushRecentCommand("円", 5002);
    PushRecentCommand("線(別名)", 5001);
    EXPECT_EQ(List(), "5001:線 5002:円 ") << "the name of the first time stays";
    for (int id = 6000; id < 6010; ++id)
        PushRecentCommand("c", id);
    EXPECT_EQ(RecentCommands[0].id, 6009);
    EXPECT_EQ(RecentCommands[kRecentCommandCount - 1].id, 6000) << "the two oldest dropped out";

    // Stored and loaded again; slots overwrite the stored entries they meet.
    stored.CmdId = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    stored.CmdName = {"a", "b"};
    SaveRecentCommands();
    ASSERT_EQ(stored.CmdId.size(), 12u) << "entries past the ten slots stay";
    ASSERT_EQ(stored.CmdName.size(), 12u) << "the two lists run in parallel";
    EXPECT_EQ(stored.CmdId.front(), 6009);
    EXPECT_EQ(stored.CmdId.back(), 12);
    for (RecentCommand& r : RecentCommands)
        r = RecentCommand();
    LoadRecentCommands();
    EXPECT_EQ(RecentCommands[0].id, 6009);
    EXPECT_STREQ(RecentCommands[0].name, "c");
    EXPECT_EQ(RecentCommands[9].id, 6000);

    stored = saved;
    for (RecentCommand& r : RecentCommands)
        r = RecentCommand();
}

}  // namespace
