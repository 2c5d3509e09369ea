// The version information dialog (system command 4008): the application
// icon, the application title and its version.
#pragma once

#include <string>

// The text of the dialog's title line: the application title, a blank and
// the version text up to its first blank (the build number is left out).
std::string VersionLineText(const char* title, const char* versionText);

// Runs the dialog modally over the active window: 1 when it was closed with
// OK, else 0.
int RunVersionInfoDialog();
