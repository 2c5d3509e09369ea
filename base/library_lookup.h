// Functions of the two platform libraries (the CAD database library and the
// UI library) when the process has them loaded. The host links both, so
// they are there from the start; tools and tests may run without them.
#pragma once

#include <windows.h>

// The function's address in the loaded library, or null. Each pair is asked
// once: a library that is not loaded makes the loader search its whole path,
// which costs far more than the settings work around it.
FARPROC LoadedLibraryFunction(const char* library, const char* function);

// A tool or test that loads a library later makes the next call look again.
void ForgetLibraryLookups();
