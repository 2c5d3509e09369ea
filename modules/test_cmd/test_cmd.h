// What the command files of the test module share: the host interface and
// the module's log, and the choice of a command by the "/C:" word.
#pragma once

#include <windows.h>

// A host message to the main frame that started the running command.
LRESULT Host(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// One "TESTCMD ..." line into the host log and the file ZAV_TESTCMD_LOG names.
void Log(const char* format, ...);
// Whether the command word is `name` (followed by nothing or a blank).
bool Is(const char* word, const char* name);
// The text after the command word and its blank ("" when none).
const char* WordArgument(const char* word);

// The settings commands (ids 30200-30299): 1 when `word` is one of them,
// with its result in *result.
int RunSettingsCmd(const char* word, int* result);
