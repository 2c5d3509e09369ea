// Every service that the lower layers borrow from the program around them,
// filled by one function: the command system's table (command/host_hooks.h),
// the rules the docking windows ask for, the neighbours of the settings
// layer, and the links of the drawing frames. No other code of the program
// assigns these tables; unit tests may fill them with fakes of their own instead.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/system_commands.h"  // RunSystemCommandAction, for tests

// Fills every table. Start-up calls it first thing in CCadSystem::Init, so
// that applying the settings already reaches the real neighbours; each
// service looks up the windows it needs when it is called, so those that
// need the main frame or the prompt bar answer as with no window until
// SubInitialize has set them.
void InstallHostServices();

// The services left empty across all tables, named "table.entry" (for
// example "command.activeView", "docking.isDockLayoutLocked").
std::vector<std::string> EmptyHostServiceNames();

// The start-up check (end of SubInitialize): one system-log line (level 0,
// category "Error") for each empty service; returns how many there were.
int CheckHostServices();

// The text of the check's line, before the service's name.
extern const char kEmptyServiceLogText[];
