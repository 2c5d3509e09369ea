// The one road by which the command system's host messages reach the
// drawing windows: rubber band and drag preview, region painters, overview
// switch, layout and loupe pop-ups and the input scale.
#pragma once

#include <windows.h>

// The answer of the drawing windows to one of their host messages.
LRESULT HandleViewHostMessage(UINT message, WPARAM wParam, LPARAM lParam);
