// The test module's commands are no part of the installation: they are
// written into a test's private copy of CadAppCmd.def from the fragment
// TestCmd.def (its command groups, and the ids it adds to the read-only
// list). The build copies the fragment beside the test programs.
#pragma once

#include <string>

// The fragment's path: beside this test program.
std::string TestCommandsFragmentPath();
// Adds the fragment's groups and read-only ids to `installDir`\CadAppCmd.def.
// False when either file is missing or not of the expected form.
bool InstallTestCommands(const std::string& installDir);
