// The test module's commands for the drawing services; the module's log.
#pragma once

#include <windows.h>

// Answered when the "/C:" word names no command of this file.
const int kNotDbServiceCmd = -2;
int RunDbServiceCmd(HWND frame, const char* word);

// One line into the host log and the file that ZAV_TESTCMD_LOG names.
void TestCmdLog(const char* text);
