// Pictures of the program's windows for people to look at: the screen part a
// window covers, saved as a bitmap into ZAV_SHOT_DIR when it is set (the
// screenshot scripts run the tests on a virtual display and set it).
#pragma once

#include <windows.h>

// `settleMs` is waited first (scaled by ZAV_TEST_TIME_SCALE), so that the
// window has painted.
void ShotWindow(HWND window, const char* name, DWORD settleMs = 1500);
