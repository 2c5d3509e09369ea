// The host messages of the drawing views, the drawings, the rubber band and
// previews, the pop-ups and the sub-code services (view, input scale,
// vector-font dictionary) that the command system hands on through its one
// view-service hook. The shell answers the few that need the open and save
// roads itself and gives the rest to ViewHostService.
#pragma once

#include <windows.h>

#include <cstdint>

// Answers one host message; *handled is false for a number this does not
// serve (the caller answers 0 then).
LRESULT ViewHostService(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled);

// Contrast adjustment of a pen colour against the background: a colour
// equal to it follows the colour mode (0 unchanged, 2 inverted, others
// moved by 16 per channel); any other colour is returned unchanged.
COLORREF ContrastColor(COLORREF colour, COLORREF background, int colourMode);

// While 1, closing a drawing window does not end the running command.
extern int KeepCmdOnCloseFlag;
