// The data folders of the installation, by number. Each names a sub-folder
// that is relative both to the installation folder and to the per-user
// settings folder.
#pragma once

#include <string>

enum { DATA_FOLDER_COUNT = 14 };

// The sub-folder of data folder n ("" for 0), or null for a number outside
// 0..13.
const char* GetDataFolderName(int n);

// Builds the path of data folder n: with base, the installation folder and
// one "\" first; then the sub-folder, one "\" and the file name when given.
// 0, or -1 with an empty out for a number outside 0..13.
int GetDataFolderPath(int n, std::string& out, const char* fileName, bool withBase);
