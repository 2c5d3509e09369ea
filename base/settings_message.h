// Message boxes of the settings layer go through one replaceable function, so
// that tests can answer them and see what would have been shown.
#pragma once

#include <windows.h>

using SettingsMessageFn = int (*)(HWND owner, const char* text, const char* caption, UINT flags);

// Shows a message box (or what the installed handler does instead).
int ShowSettingsMessage(HWND owner, const char* text, const char* caption, UINT flags);

// Installs a handler; null restores MessageBoxA. Returns the previous one.
SettingsMessageFn SetSettingsMessageHandler(SettingsMessageFn fn);

// The owner window of messages that name the main frame (null until it exists).
void SetSettingsMessageOwner(HWND owner);
HWND GetSettingsMessageOwner();
