// What every command of the test module uses: the host's main-frame window
// of the running command, host messages to it, and the module's log (a
// host-log line, and a line in the file that ZAV_TESTCMD_LOG names, for
// tests that drive a whole host process).
#pragma once

#include <windows.h>

HWND& TestCmdFrame();
LRESULT TestCmdHost(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
void TestCmdLog(const char* format, ...);
