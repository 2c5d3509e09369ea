// File and path helpers; see file_utils.h.
#include "base/file_utils.h"

#include <shlwapi.h>
#include <cstdlib>
#include <cstring>
#include <vector>
#include "base/dbcs.h"

static bool ReadFileTime(const char* path, FILETIME* out, int selector) {
    if (!path || !*path) return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME created, accessed, written;
    BOOL ok = GetFileTime(file, &created, &accessed, &written);
    CloseHandle(file);
    if (!ok) return false;
    *out = selector == 0 ? created : selector == 1 ? accessed : written;
    return true;
}

// The file's time, checked to convert to local calendar time as
// GetFileLocalTime gives it.
static bool ReadLocalFileTime(const char* path, FILETIME* utc, SYSTEMTIME* out, int selector) {
    FILETIME local;
    if (!ReadFileTime(path, utc, selector)) return false;
    return FileTimeToLocalFileTime(utc, &local) && FileTimeToSystemTime(&local, out);
}

int GetFileLocalTime(const char* path, SYSTEMTIME* out, int selector) {
    FILETIME utc;
    SYSTEMTIME local;
    if (!ReadLocalFileTime(path, &utc, &local, selector)) return 0;
    if (out) *out = local;
    return 1;
}

static ULONGLONG Ticks(const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// The target's name with its extension replaced (or added).
static std::string WithExtension(const std::string& path, const char* ext) {
    std::string drive, dir, name;
    SplitPath(path, &drive, &dir, &name, nullptr);
    return drive + dir + name + ext;
}

int CopyIfNewer(const char* source, const char* target, int selector, const char* backupExt) {
    FILETIME sourceTime, targetTime;
    SYSTEMTIME sourceLocal, targetLocal;
    if (!ReadLocalFileTime(source, &sourceTime, &sourceLocal, selector)) return 0;
    if (!ReadLocalFileTime(target, &targetTime, &targetLocal, selector)) return CopyFileA(source, target, TRUE) ? 1 : 0;

    // Times less than 1e-8 day (about 0.86 ms) apart count as equal. They are
    // compared at the file system's resolution: the calendar form would drop
    // the sub-millisecond part and its day number even the milliseconds.
    const ULONGLONG ticksPerDay = 864000000000ULL;  // 100-ns units
    ULONGLONG s = Ticks(sourceTime), t = Ticks(targetTime);
    if (s <= t || static_cast<double>(s - t) / ticksPerDay < 1e-8) return 0;

    if (backupExt && *backupExt) {
        // Without its backup the old target is not given up.
        std::string backup = WithExtension(target, backupExt);
        if (!CopyFileA(target, backup.c_str(), FALSE)) return 0;
    }
    return CopyFileA(source, target, FALSE) ? 1 : 0;
}

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

void SplitPath(const std::string& path, std::string* drive, std::string* dir, std::string* name, std::string* ext) {
    size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':' && !IsSjisLeadByte(static_cast<unsigned char>(path[0]))) pos = 2;
    if (drive) *drive = path.substr(0, pos);

    size_t lastSep = std::string::npos;
    size_t lastDot = std::string::npos;
    for (size_t i = pos; i < path.size();) {
        size_t len = DbcsCharLength(path.c_str() + i);
        if (len == 1 && IsSeparator(path[i])) {
            lastSep = i;
            lastDot = std::string::npos;
        } else if (len == 1 && path[i] == '.') {
            lastDot = i;
        }
        i += len;
    }
    size_t nameBegin = lastSep == std::string::npos ? pos : lastSep + 1;
    size_t extBegin = lastDot == std::string::npos ? path.size() : lastDot;
    if (dir) *dir = path.substr(pos, nameBegin - pos);
    if (name) *name = path.substr(nameBegin, extBegin - nameBegin);
    if (ext) *ext = path.substr(extBegin);
}

static bool EndsWithSeparator(const std::string& path) {
    return !path.empty() && IsSeparator(path.back()) && !IsDbcsTrailAt(path, path.size() - 1);
}

std::string ParentFolder(const std::string& path) {
    std::string p = path;
    if (p.size() >= 2 && EndsWithSeparator(p)) p.pop_back();
    std::string drive, dir;
    SplitPath(p, &drive, &dir, nullptr, nullptr);
    return drive + dir;
}

static DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

int CreateDirectoryTree(const std::string& path) {
    if (path.empty()) return 0;
    DWORD attr = Attributes(path);
    if (attr != INVALID_FILE_ATTRIBUTES) return (attr & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;

    std::string parent = ParentFolder(path);
    if (!parent.empty()) {
        // A path that is its own parent (a missing drive, a bare network
        // root) cannot be made: stop there instead of walking on.
        if (parent == path) return 0;
        if (!CreateDirectoryTree(parent)) return 0;
    }
    if (CreateDirectoryA(path.c_str(), nullptr)) return 1;
    attr = Attributes(path);  // made meanwhile by someone else
    return (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) ? 1 : 0;
}

std::string GetModuleDir() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size() - 1) break;
        buffer.resize(buffer.size() * 2);
    }
    std::string file(buffer.data());
    size_t sep = DbcsFindLast(file, '\\');
    size_t slash = DbcsFindLast(file, '/');
    if (slash != std::string::npos && (sep == std::string::npos || slash > sep)) sep = slash;
    return sep == std::string::npos ? std::string() : file.substr(0, sep + 1);
}

int AppendPath(std::string& path, const char* name) {
    char joined[MAX_PATH];
    if (!PathCombineA(joined, path.c_str(), name ? name : "")) return 0;
    path = joined;
    return 1;
}

std::string PathWithoutExtension(const std::string& path) {
    // The extension starts at the last '.' after the last '\' or blank.
    size_t dot = std::string::npos;
    for (size_t i = 0; i < path.size();) {
        size_t len = DbcsCharLength(path.c_str() + i);
        if (len == 1 && (path[i] == '\\' || path[i] == ' '))
            dot = std::string::npos;
        else if (len == 1 && path[i] == '.')
            dot = i;
        i += len;
    }
    return dot == std::string::npos ? std::string() : path.substr(0, dot);
}

int WriteFileReplacing(const std::string& path, const std::string& bytes, std::string* error) {
    const std::string temp = path + ".$$$";
    auto fail = [&](const char* what) {
        const DWORD code = GetLastError();
        DeleteFileA(temp.c_str());
        if (error) *error = std::string(what) + " (" + std::to_string(code) + "): " + path;
        return 0;
    };
    HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail("cannot create file");
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ok = ok && written == bytes.size() && FlushFileBuffers(h);
    if (!CloseHandle(h)) ok = FALSE;
    if (!ok) return fail("cannot write file");
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail("cannot replace file");
    return 1;
}
