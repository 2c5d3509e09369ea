#include "base/data_folders.h"

#include "base/user_folder.h"

namespace {
const char* const kDataFolders[DATA_FOLDER_COUNT] = {
    "",       "CFG",      "SETTEI\\OptionMenu", "HANYOUC", "KENTIKUC", "DENKIC", "KIKAIC",
    "SETTEI", "KENTIKUD", "KENTIKUD\\HATCH",    "DENKID",  "KIKAID",   "PRINT",  "TEMP",
};
}  // namespace

const char* GetDataFolderName(int n) {
    if (n < 0 || n >= DATA_FOLDER_COUNT) return nullptr;
    return kDataFolders[n];
}

int GetDataFolderPath(int n, std::string& out, const char* fileName, bool withBase) {
    out.clear();
    const char* sub = GetDataFolderName(n);
    if (!sub) return -1;
    if (withBase) out = GetExeDir() + "\\";
    out += sub;
    if (*sub) out += "\\";
    if (fileName) out += fileName;
    return 0;
}
