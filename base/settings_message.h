// The owner window of the settings messages that name the main frame; null
// until the frame exists. Every box goes through ZavMessageBox.
#pragma once

#include <windows.h>

void SetSettingsMessageOwner(HWND owner);
HWND GetSettingsMessageOwner();
