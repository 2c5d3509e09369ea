#include "base/handover_files.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/data_folders.h"

namespace {

// Creates or empties a file; failures are ignored.
void EmptyFile(const std::string& path) {
    if (FILE* f = std::fopen(path.c_str(), "w")) std::fclose(f);
}

}  // namespace

int ReadStartModeFile(int probe) {
    std::string path;
    GetDataFolderPath(7, path, "to_cad.atr", true);
    if (probe == 1) {
        const DWORD attr = GetFileAttributesA(path.c_str());
        return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY) ? 1 : -1;
    }
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return -1;
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    if (!got) return -1;
    char* end = nullptr;
    const long value = std::strtol(line, &end, 10);
    if (end == line) return -1;
    int mode = -1;
    switch (value) {
    case 1: mode = 99; break;
    case 2: mode = 0; break;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7: mode = static_cast<int>(value) - 2; break;
    case 10: mode = 10; break;
    default: return -1;
    }
    if (value == 1 || value == 2) {
        std::string csv;
        GetDataFolderPath(10, csv, "hiroisyuukei.csv", true);
        EmptyFile(csv);
    }
    return mode;
}

void CreateFromCadFile() {
    std::string path;
    GetDataFolderPath(7, path, "from_cad.atr", true);
    EmptyFile(path);
}
