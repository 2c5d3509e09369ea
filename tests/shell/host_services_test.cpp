// The one function that fills the services of the lower layers, and the
// start-up check that names every service left empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/settings_message.h"
#include "command/host_hooks.h"
#include "docking/docking_hooks.h"
#include "shell/host_services.h"
#include "shell/shell_seams.h"

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string all;
    for (const std::string& n : names)
        all += n + " ";
    return all;
}

TEST(HostServices, EveryServiceIsFilledAndAnEmptyOneIsNamedInTheLog) {
    InstallHostServices();
    EXPECT_EQ(Joined(EmptyHostServiceNames()), "");
    ClearShellTrace();
    EXPECT_EQ(CheckHostServices(), 0);

    // A service nobody filled is a fault the start-up check reports by name.
    HostHooks().undoLevel = nullptr;
    zav::GetDockingHooks().paneCaptionColors = nullptr;
    EXPECT_EQ(Joined(EmptyHostServiceNames()), "command.undoLevel docking.paneCaptionColors ");
    EXPECT_EQ(CheckHostServices(), 2);
    const std::string trace = ShellTraceText();
    EXPECT_NE(trace.find(std::string(kEmptyServiceLogText) + "command.undoLevel"), std::string::npos) << trace;
    EXPECT_NE(trace.find(std::string(kEmptyServiceLogText) + "docking.paneCaptionColors"), std::string::npos) << trace;

    // The command system's list names each of its entries.
    const CmdHostHooks saved = HostHooks();
    HostHooks() = CmdHostHooks();
    const std::vector<std::string> all = EmptyHostServices();
    for (const char* name : {"writeLog", "undoLevel", "snapSearch", "systemCommand", "writeSettingString"})
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
    HostHooks() = saved;

    // The settings files show their messages only through the handler the
    // program installs: without it the check names it.
    InstallHostServices();
    SetSettingsMessageHandler(nullptr);
    EXPECT_EQ(Joined(EmptyHostServiceNames()), "settings.message ");

    InstallHostServices();
    EXPECT_EQ(Joined(EmptyHostServiceNames()), "");
    ClearShellTrace();
}

}  // namespace
