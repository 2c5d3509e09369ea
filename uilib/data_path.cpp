// The data folders of the installation, by number: the same table the host
// uses (base/data_folders.h).
#include <cstring>
#include <string>

#include "base/data_folders.h"
#include "uilib/WmCadApi.h"

int ZAVAPI Rodad_GetDataPath(int folder, char* out, const char* fileName, int size) {
    if (!out) return -1;
    const size_t capacity = size > 0 ? static_cast<size_t>(size) : MAX_PATH;
    out[0] = '\0';
    std::string path;
    if (GetDataFolderPath(folder, path, fileName, false) != 0) return -1;
    if (!path.empty() && path.back() == '\\' && !fileName)
        path.pop_back();                        // the folder itself, without a final separator
    if (path.size() + 1 > capacity) return -1;  // a cut path would name another file
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 0;
}
