#include "base/user_folder.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>

#include "base/data_folders.h"
#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/settings_message.h"
#include "base/text_utils.h"

namespace {

const char kVendorFolder[] = "Qv";
const char kProductFolder[] = "VantrelV8";
const char kMissingCopyText[] = "設定ファイル %s がありません。正しくインストールされているか確認してください。";

struct Override {
    bool set = false;
    std::string path;
};
Override g_localAppData, g_documents, g_installDir;

void SetOverride(Override& o, const char* value) {
    if (!value) return;
    o.set = *value != 0;
    o.path = value;
}

// An override from a setter wins over the environment.
bool OverrideFor(const Override& o, const char* envName, std::string* out) {
    if (o.set) {
        *out = o.path;
        return true;
    }
    // Read from the process environment itself: the C runtime's copy is
    // taken at start-up and misses a value set later in the process (a host
    // that sets up its folders before loading settings, a test fixture).
    char env[MAX_PATH * 2] = "";
    const DWORD n = ::GetEnvironmentVariableA(envName, env, sizeof env);
    if (n > 0 && n < sizeof env) {
        *out = env;
        return true;
    }
    return false;
}

std::string SpecialFolder(int csidl, const Override& o, const char* envName) {
    std::string base;
    if (OverrideFor(o, envName, &base)) return base;
    char buffer[MAX_PATH] = {};
    // Asked without creating: a folder the platform cannot give becomes "".
    if (SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer))) return buffer;
    return std::string();
}

std::string Combine(std::string base, const char* name) {
    if (base.empty()) return name;
    if (!AppendPath(base, name)) {
        // Too long for the platform's path helpers: join by hand, one "\" between.
        const size_t last = DbcsFindLast(base, '\\');
        if (last == std::string::npos || last + 1 != base.size()) base += '\\';
        base += name;
    }
    return base;
}

std::string ProductFolder(const std::string& base, bool create) {
    std::string path = Combine(Combine(base, kVendorFolder), kProductFolder);
    if (create) CreateDirectoryTree(path);
    return path;
}

// Removes every trailing "\" that is a character of its own (not a trail byte).
void StripTrailingSeparators(std::string& path) {
    while (!path.empty() && path.back() == '\\' && !IsDbcsTrailAt(path, path.size() - 1))
        path.pop_back();
}

bool FileExists(const std::string& path) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

void ReportMissingCopy(HWND owner, const std::string& source) {
    char text[1024];
    FormatText(text, kMissingCopyText, source.c_str());
    ShowSettingsMessage(owner, text, "エラー", MB_OK | MB_ICONERROR);
}

}  // namespace

void SetUserFolderOverrides(const char* localAppData, const char* documents, const char* installDir) {
    SetOverride(g_localAppData, localAppData);
    SetOverride(g_documents, documents);
    SetOverride(g_installDir, installDir);
}

std::string GetUserSettingsDir(bool create) {
    return ProductFolder(SpecialFolder(CSIDL_LOCAL_APPDATA, g_localAppData, "ZAV_LOCAL_APPDATA"), create);
}

std::string GetUserDocumentsDir(bool create) {
    return ProductFolder(SpecialFolder(CSIDL_PERSONAL, g_documents, "ZAV_DOCUMENTS"), create);
}

std::string GetExeDir() {
    std::string dir;
    if (!OverrideFor(g_installDir, "ZAV_INSTALL_DIR", &dir)) dir = GetModuleDir();
    StripTrailingSeparators(dir);
    return dir;
}

std::string ExpandPathMacros(const std::string& path, bool create) {
    static const char* const kMacros[] = {"%USER_MYDOCUMENTS%", "%USER_LOCAL_APPDATA%", "%EXECDIR%"};
    std::string result = path;
    bool expanded = false;
    for (int i = 0; i < 3; ++i) {
        const std::string macro = kMacros[i];
        // '%' is never a trail byte, so a plain search finds whole characters.
        if (result.find(macro) == std::string::npos) continue;
        std::string value = i == 0 ? GetUserDocumentsDir(false) : i == 1 ? GetUserSettingsDir(false) : GetExeDir();
        if (!value.empty()) {
            StripTrailingSeparators(value);
            value += '\\';
            for (size_t at = result.find(macro); at != std::string::npos; at = result.find(macro, at + value.size()))
                result.replace(at, macro.size(), value);
            expanded = true;
        }
        break;
    }
    if (!expanded && !result.empty() && PathIsRelativeA(result.c_str()))
        result = Combine(GetUserDocumentsDir(false), result.c_str());
    if (create) CreateDirectoryTree(result);
    return result;
}

std::string SeedUserSettingsFile(const char* fileName, bool create, bool force) {
    const std::string path = Combine(GetUserSettingsDir(create), fileName);
    if (force || !FileExists(path)) {
        const std::string source = Combine(GetExeDir(), fileName);
        if (FileExists(source))
            CopyIfNewer(source.c_str(), path.c_str(), 2, ".bak");
        else
            ReportMissingCopy(nullptr, source);
    }
    return path;
}

int EnsureUserSettingsFile(char* out, const char* name, int n) {
    std::string userBase, installBase;
    if (n < 0) {
        userBase = GetUserSettingsDir(true);
        installBase = GetExeDir();
    } else {
        const char* sub = GetDataFolderName(n);
        if (!sub) sub = "";
        userBase = GetUserSettingsDir(true);
        installBase = GetExeDir();
        if (*sub) {
            userBase = Combine(userBase, sub);
            installBase = Combine(installBase, sub);
        }
    }
    const std::string userPath = Combine(userBase, name);
    const std::string installPath = Combine(installBase, name);
    const std::string userFolder = ParentFolder(userPath);
    if (!userFolder.empty()) CreateDirectoryTree(userFolder);
    if (FileExists(installPath))
        CopyIfNewer(installPath.c_str(), userPath.c_str(), 2, ".bak");
    else
        ReportMissingCopy(GetSettingsMessageOwner(), installPath);
    DbcsCopy(out, MAX_PATH, userPath.c_str());
    return 0;
}
