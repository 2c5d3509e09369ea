// Commands of the test module for closing, drawing windows and questions
// (ids 30300-30399 in the test registry). Each leaves "TESTCMD ..." lines
// in the host log and in the file that ZAV_TESTCMD_LOG names.
#pragma once

#include <windows.h>

// Runs the command named by `word` (the text after "/C:") for the host of
// TestCmdFrame(); false when the word names none of these commands.
bool RunCloseCmd(const char* word, const char* args, int* result);
