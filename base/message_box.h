// The one road of every message box of the base layer, so that tests can
// answer the question instead of a user (no window is shown then).
#pragma once

#include <windows.h>

typedef int (*MessageBoxHook)(HWND owner, const char* text, const char* caption, UINT type);

// MessageBoxA unless a hook is set; the hook's answer is returned instead.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Installs a hook (null restores the real box); returns the previous hook.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
