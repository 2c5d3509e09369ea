// The messages of the settings files and folders. Base shows no window of
// its own: each message goes to the function the program installs at
// start-up (the shell hands over the system's one message box), with the
// owner window below when it names the main frame.
#pragma once

#include <windows.h>

// The owner window of the settings messages that name the main frame; null
// until the frame exists.
void SetSettingsMessageOwner(HWND owner);
HWND GetSettingsMessageOwner();

// Shows `text` with `caption` (code page 932) and the MB_ flags; returns the
// pressed button (IDOK, IDYES, ...), as MessageBox does.
using SettingsMessageFn = int (*)(HWND owner, const char* text, const char* caption, UINT flags);
void SetSettingsMessageHandler(SettingsMessageFn show);
SettingsMessageFn GetSettingsMessageHandler();

// Through the installed function. With none installed nothing is shown and
// the answer is 0, which no question takes for a yes or an OK; the program's
// start-up check names the empty entry.
int ShowSettingsMessage(HWND owner, const char* text, const char* caption, UINT flags);
