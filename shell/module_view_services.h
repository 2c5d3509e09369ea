// The view-service hook of the command system as the shell fills it: the
// host messages that open, close and save drawings and the file sub-codes
// answered here, every other view, drawing and pop-up message by the
// drawing windows (view/host_view_service.h).
#pragma once

#include <windows.h>

LRESULT ModuleViewService(UINT msg, WPARAM wParam, LPARAM lParam);

// What the file sub-codes leave for the open dialog: its state word and a
// text (the name it starts with).
extern int OpenDialogStateWord;
extern char OpenDialogText[260];
// The path the image sub-code names for the image module.
extern char ImageModulePath[260];
