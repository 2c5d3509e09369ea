// The recent-command list: the last ten commands that ran, most recent
// first. The executor records each command; the list is loaded from and
// stored into the "StackCmd" record of LocalSettings.xml.
#pragma once

struct RecentCommand {
    int id = 0;          // 0: empty slot
    char name[80] = {};  // code page 932, cut on a character boundary
};
enum { kRecentCommandCount = 10 };
extern RecentCommand RecentCommands[kRecentCommandCount];

// A command already listed moves to the front with the name it had; a new
// one enters at the front and the oldest drops out.
void PushRecentCommand(const char* name, int id);
// One entry per recent command into a menu or, while the right-click
// pop-up is built, into its recent-command sub pop-up (`target`).
void AppendRecentCommandsToMenu(void* target);
// From / into the application object's StackCmd record. Both 1.
int LoadRecentCommands();
int SaveRecentCommands();
