// The per-user settings folder (local application data \ Qv \ VantrelV8),
// the user documents folder of the same names, the installation folder, and
// the seeding of per-user settings files from the installation folder.
//
// For tests and private runs, the environment variables ZAV_LOCAL_APPDATA,
// ZAV_DOCUMENTS and ZAV_INSTALL_DIR (or SetUserFolderOverrides) stand in for
// the local application data folder, the documents folder and the folder of
// the executable.
#pragma once

#include <string>

// UserSettingsDir, without a trailing "\"; with create, the missing folders of
// the chain are made.
std::string GetUserSettingsDir(bool create);
// The user documents folder \ Qv \ VantrelV8, same rule.
std::string GetUserDocumentsDir(bool create);
// The installation folder, without a trailing "\".
std::string GetExeDir();

// Expands "%USER_MYDOCUMENTS%", "%USER_LOCAL_APPDATA%" or "%EXECDIR%" (the
// first found); a relative path without one goes under the user documents
// folder. With create, the resulting folder chain is made.
std::string ExpandPathMacros(const std::string& path, bool create);

// The per-user path of a settings file, seeded from the installation folder:
// when force is set or the file is missing, the installation copy replaces it
// if it is newer (the old file kept as ".bak"). A missing installation copy
// is reported; the path is returned anyway.
std::string SeedUserSettingsFile(const char* fileName, bool create, bool force);

// Writes the per-user path of `name` (in data folder n, or the settings
// folder itself for n < 0) into out (260 bytes), after refreshing it from the
// installation folder. Returns 0.
int EnsureUserSettingsFile(char* out, const char* name, int n);

// Overrides for tests; a null argument leaves that folder as it is, an empty
// text removes the override.
void SetUserFolderOverrides(const char* localAppData, const char* documents, const char* installDir);
