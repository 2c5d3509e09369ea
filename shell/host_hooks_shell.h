// The services the command system asks of the shell (its hook table),
// filled when the main frame is created.
#pragma once

#include <windows.h>

void InstallShellHostHooks();
// The action of a system command that the shell carries out (new drawing,
// close drawing, exit); -1 when the shell has none for the id.
int RunShellSystemCommand(int id, HWND owner, DWORD word);
