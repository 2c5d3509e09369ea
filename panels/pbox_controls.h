// The classic parameter-box control classes ("PBox_Push", "PBox_Radio",
// "PBox_Check", "PBox_List", "PBox_Edit", "PBox_Combo", "Duze_Edit",
// "PBox_Text") and "LISTOWNSUBCLASS". Each control shows item (word 8) of
// page (word 4), both taken from the build state when it is created.
#pragma once

#include <windows.h>

// Registers "RPMENU", then the control classes in order; 0 at the first
// that fails. The item types and host words of the five pages are cleared.
int RegisterPBoxClasses(HINSTANCE instance);
int UnregisterPBoxClasses(HINSTANCE instance);
