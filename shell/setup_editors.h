// The command-menu and shortcut-key editors as the configuration sheet's
// page 02 opens them.
#pragma once

#include <windows.h>

// Modal over `parent`; results are not used.
void RunCommandMenuEditor(HWND parent);
void RunShortcutKeyEditor(HWND parent);
