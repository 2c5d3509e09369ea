#include "shell/recent_commands.h"

#include "panels/rp_menu.h"

#include <string>

#include "base/dbcs.h"
#include "shell/cad_system.h"

RecentCommand RecentCommands[kRecentCommandCount];

void PushRecentCommand(const char* name, int id) {
    int at = kRecentCommandCount - 1;  // not listed: the oldest goes
    RecentCommand entry;
    entry.id = id;
    DbcsCopy(entry.name, sizeof entry.name, name ? name : "");
    for (int i = 0; i < kRecentCommandCount; ++i) {
        if (RecentCommands[i].id == id) {
            at = i;
            entry = RecentCommands[i];  // keeps the name it was recorded with
            break;
        }
    }
    for (int k = at; k > 0; --k)
        RecentCommands[k] = RecentCommands[k - 1];
    RecentCommands[0] = entry;
}

int LoadRecentCommands() {
    for (RecentCommand& r : RecentCommands)
        r = RecentCommand();
    const LocalSettingsStackCmd& stored = GetCadSystem().m_LocalSettingsStackCmd;
    auto id = stored.CmdId.begin();
    auto name = stored.CmdName.begin();
    for (int i = 0; i < kRecentCommandCount && id != stored.CmdId.end(); ++i, ++id) {
        RecentCommands[i].id = *id;
        if (name != stored.CmdName.end()) {
            DbcsCopy(RecentCommands[i].name, sizeof RecentCommands[i].name, name->c_str());
            ++name;
        }
    }
    return 1;
}

int SaveRecentCommands() {
    LocalSettingsStackCmd& stored = GetCadSystem().m_LocalSettingsStackCmd;
    // Slot i overwrites stored entry i when there is one, else it is appended.
    // The two lists run in parallel.
    while (stored.CmdName.size() < stored.CmdId.size())
        stored.CmdName.push_back(std::string());
    while (stored.CmdName.size() > stored.CmdId.size())
        stored.CmdName.pop_back();
    auto id = stored.CmdId.begin();
    auto name = stored.CmdName.begin();
    for (const RecentCommand& r : RecentCommands) {
        if (id != stored.CmdId.end()) {
            *id++ = r.id;
            *name++ = r.name;
        } else {
            stored.CmdId.push_back(r.id);
            stored.CmdName.push_back(r.name);
            id = stored.CmdId.end();
            name = stored.CmdName.end();
        }
    }
    return 1;
}

void AppendRecentCommandsToMenu(void* target) {
    for (const RecentCommand& c : RecentCommands)
        if (c.id != 0) AppendRPMenuItem((HANDLE)target, 0, (UINT_PTR)c.id, c.name);
}
