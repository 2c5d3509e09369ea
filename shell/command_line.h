// The command line: names of drawing files, which are opened, and start
// switches ("/" or "-" words), which form the key that section "BOOT" of
// ProgramIni maps to a start command and section "DESTROY" to a command run
// when the main frame closes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CommandLineState {
    std::vector<std::string> switches;  // normalised, at most 10
    std::string rawSwitchText;          // as typed, all of them
    std::string switchKey;              // the BOOT / DESTROY key
    std::string startSwitchText;        // set when a BOOT command was posted
    std::string startSwitchKey;         // the key of that BOOT command (for DESTROY)
    int fileOpened = 0;
};
extern CommandLineState CommandLine;
extern int CommandLineFileGiven;
extern int StartCommandPosted;

// Opens the drawings, reports unknown names (message 5121) and posts the
// BOOT command. A show command of 0 or more is applied first; -1 leaves the
// window as it is. Returns 1.
int ParseCommandLine(HWND frame, const char* text, int showCmd);

// Splits a command line into its words as ParseCommandLine reads them (a
// blank ends a word only when the word so far is a switch, a drawing kind or
// an existing file). Words are cut at 519 bytes.
std::vector<std::string> SplitCommandLine(const char* text);
// "/" + the rest upper-cased without digits; "/NUM" when only digits.
std::string NormaliseSwitch(const std::string& word);

// The DESTROY command for the start switches, run when the frame closes:
// 0 when none applies.
int DestroyCommandId();
