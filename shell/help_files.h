// Help documents opened through the shell: their names are remembered, and
// the viewer windows that show them are closed when the process ends.
#pragma once

// Opens the document with its associated program; the shell's result (above
// 32 is success). With `remember`, a successful open keeps the file name
// (lower case) for the closing at exit.
int OpenHelpFile(const char* path, bool remember);
// The names remembered so far, lower case, in the order they came.
const char* RememberedHelpName(int index);
