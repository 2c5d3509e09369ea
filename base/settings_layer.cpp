#include "base/settings_layer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/data_folders.h"
#include "base/dbcs.h"
#include "base/def_file.h"
#include "base/settings_files.h"
#include "base/user_folder.h"

namespace {

const char kSystemSection[] = "SYSTEM";
const char kConfigDataFileKey[] = "%USER_LOCAL_APPDATA%ConfigData.xml";

std::string g_programIniOverride;

// Byte offset of `needle` at or after `from`, starting on a character
// boundary of the Shift_JIS text, or npos.
size_t FindText(const std::string& text, const char* needle, size_t from = 0) {
    const size_t n = std::strlen(needle);
    for (size_t i = 0; i + n <= text.size();) {
        if (i >= from && text.compare(i, n, needle) == 0) return i;
        size_t step = DbcsCharLength(text.c_str() + i);
        i += step ? step : 1;
    }
    return std::string::npos;
}

bool RemoveAll(std::string& text, const char* placeholder) {
    bool found = false;
    for (size_t at; (at = FindText(text, placeholder)) != std::string::npos;) {
        text.erase(at, std::strlen(placeholder));
        found = true;
    }
    return found;
}

bool IsSystemSection(const char* section) { return section && std::strcmp(section, kSystemSection) == 0; }

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    std::string out = folder;
    if (DbcsFindLast(out, '\\') != out.size() - 1) out += '\\';
    size_t skip = 0;
    while (skip < name.size() && name[skip] == '\\')
        ++skip;
    return out + name.substr(skip);
}

bool HasExtension(const std::string& name, const char* extension) {
    size_t dot = DbcsFindLast(name, '.');
    size_t slash = DbcsFindLast(name, '\\');
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return false;
    return lstrcmpiA(name.c_str() + dot, extension) == 0;
}

bool HasIniExtension(const std::string& name) { return HasExtension(name, ".ini"); }

// Files the user changes (INI files and the layer-pattern file, which is
// one in all but its extension) live in the per-user folder.
bool IsUserProfileFile(const std::string& name) { return HasIniExtension(name) || HasExtension(name, ".ptn"); }

// What the typed readers read: SYSTEM from the per-user ConfigData.xml,
// anything else from ProgramIni, the default standing when nothing is read.
void ReadRaw(const char* section, const char* key, const char* defaultText, char* out, size_t size) {
    if (IsSystemSection(section)) {
        ReadSettingString(section, key, defaultText, out, size, kConfigDataFileKey);
    } else {
        const std::string ini = GetProgramIniPath();
        GetPrivateProfileStringA(section, key, defaultText ? defaultText : "", out, static_cast<DWORD>(size),
                                 ini.c_str());
    }
}

void CopyOut(char* out, size_t size, const std::string& text) {
    if (out && size) DbcsCopy(out, size, text.c_str());
}

}  // namespace

int ResolveSettingsPath(const char* fileKey, std::string& out) {
    std::string text = fileKey ? fileKey : "";
    int kind = 0;
    if (FindText(text, "ConfigData.xml", 1) != std::string::npos)
        kind = 1;
    else if (FindText(text, "LocalSettings.xml", 1) != std::string::npos)
        kind = 2;

    if (RemoveAll(text, "%USER_LOCAL_APPDATA%")) {
        char path[SETTING_PATH_SIZE] = "";
        EnsureUserSettingsFile(path, text.c_str(), -1);
        out = path;
    } else if (RemoveAll(text, "%EXE_DIR%")) {
        out = JoinFolder(GetExeDir(), text);
    } else if (FindText(text, "%SYSTEM_MEMORY%") != std::string::npos) {
        out = fileKey;
        return 10 + kind;
    } else {
        out = text;
    }
    DWORD attributes = GetFileAttributesA(out.c_str());
    if (out.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    return kind;
}

int ReadSettingString(const char* section, const char* key, const char* defaultText, char* out, size_t size,
                      const char* fileKey) {
    try {
        std::string path;
        int kind = ResolveSettingsPath(fileKey, path);
        switch (kind) {
        case -1: return 0;
        case 0:
            return static_cast<int>(GetPrivateProfileStringA(section, key, defaultText ? defaultText : "", out,
                                                             static_cast<DWORD>(size), path.c_str()));
        case 1:
        case 2: {
            CDefFile file(path.c_str());
            std::string value;
            file.GetValue(section, key, defaultText, value);
            CopyOut(out, size, value);
            return 1;
        }
        default: return ReadMemorySetting(kind, section, key, defaultText, out, size);
        }
    } catch (...) {
        return 0;
    }
}

int WriteSettingString(const char* section, const char* key, const char* value, const char* fileKey) {
    try {
        std::string path;
        int kind = ResolveSettingsPath(fileKey, path);
        if (kind == -1) return 0;
        if (kind == 0) return WritePrivateProfileStringA(section, key, value, path.c_str()) ? 1 : 0;
        if (kind >= 10) return 1;  // memory values are not written

        CCadSystemSettings* settings = GetCadSystemSettings();
        // The file is brought up to the live record first, so that the one
        // key edited below is the only difference.
        if (settings) {
            if (kind == 1)
                settings->SaveConfigDataFile(nullptr);
            else
                settings->SaveLocalSettings(nullptr);
        }
        {
            CDefFile file(path.c_str());
            if (file.SetValue(section, key, value, 0) == 0 && file.m_modified) file.Save(path.c_str());
        }
        // Reload so a changed key takes effect at once; the reload keeps the
        // user's own running values of the settings both records govern.
        if (settings) {
            settings->LoadConfigData(true, nullptr);
            // The per-user records are written from the running values at
            // shutdown: a key changed in their file must run from now on, or
            // that save would put the old value back.
            if (kind == 2 && lstrcmpiA(path.c_str(), settings->GetLocalSettingsPath(true, false).c_str()) == 0)
                settings->ReloadLocalSettings();
        }
        return 1;
    } catch (...) {
        return 0;
    }
}

int ReadMemorySetting(int kind, const char*, const char* key, const char* defaultText, char* out, size_t size) {
    CCadSystemSettings* settings = GetCadSystemSettings();
    if (kind == 11 && settings && key && std::strcmp(key, "Menu/AppPanelType") == 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%d", settings->m_ConfigData.Menu.AppPanelType);
        CopyOut(out, size, text);
    } else {
        CopyOut(out, size, defaultText ? defaultText : "");
    }
    return 1;
}

int ReadSettingValue(void* out, int type, size_t size, const char* section, const char* key, const char* defaultText) {
    if (type < 1 || type > 5 || !out) return -1;
    const char* def = defaultText ? defaultText : "";
    switch (type) {
    case 1: *static_cast<int*>(out) = static_cast<int>(std::strtol(def, nullptr, 10)); break;
    case 2:
    case 3: *static_cast<long*>(out) = std::strtol(def, nullptr, 10); break;
    case 4: *static_cast<double*>(out) = std::strtod(def, nullptr); break;
    default: CopyOut(static_cast<char*>(out), size, def); break;
    }
    if (type == 5) {
        if (!size) return 0;
        ReadRaw(section, key, def, static_cast<char*>(out), size);
        StripSettingComment(static_cast<char*>(out));
        return 0;
    }
    char text[SETTING_TEXT_SIZE];
    CopyOut(text, sizeof text, def);
    ReadRaw(section, key, def, text, sizeof text);
    StripSettingComment(text);
    switch (type) {
    case 1: *static_cast<int*>(out) = static_cast<int>(std::strtol(text, nullptr, 10)); break;
    case 4: *static_cast<double*>(out) = std::strtod(text, nullptr); break;
    default: *static_cast<long*>(out) = std::strtol(text, nullptr, 10); break;
    }
    return 0;
}

int ReadSettingText(const char* section, const char* key, const char* defaultText, char* out) {
    if (!out) return 1;
    if (IsSystemSection(section) && key && std::strcmp(key, "SYSTEMDIR") == 0) {
        std::string dir = GetExeDir();
        if (dir.empty() || DbcsFindLast(dir, '\\') != dir.size() - 1) dir += '\\';
        CopyOut(out, SETTING_TEXT_SIZE, dir);
        return 1;
    }
    CopyOut(out, SETTING_TEXT_SIZE, defaultText ? defaultText : "");
    ReadRaw(section, key, defaultText, out, SETTING_TEXT_SIZE);
    StripSettingComment(out);
    return 1;
}

int WriteSettingText(const char* section, const char* key, const char* value) {
    if (IsSystemSection(section)) {
        WriteSettingString(section, key, value, kConfigDataFileKey);
    } else {
        const std::string ini = GetProgramIniPath();
        WritePrivateProfileStringA(section, key, value, ini.c_str());
    }
    return 1;
}

int ReadSettingFileName(char* out, const char* section, const char* key, const char* defaultText) {
    if (!out) return 1;
    if (key && key[0] == ';') {
        const char* rest = key;
        while (*rest == ';')
            ++rest;
        CopyOut(out, SETTING_PATH_SIZE, ExpandPathMacros(rest, false));
        return 1;
    }
    char value[SETTING_TEXT_SIZE];
    ReadSettingText(section, key, defaultText, value);
    if (!value[0]) {
        out[0] = '\0';
    } else if (IsUserProfileFile(value)) {
        EnsureUserSettingsFile(out, value, -1);
    } else {
        CopyOut(out, SETTING_PATH_SIZE, JoinFolder(GetExeDir(), value));
    }
    return 1;
}

int ReadDataFileName(char* out, const char* section, const char* key, const char* defaultText) {
    if (!out) return 1;
    char value[SETTING_TEXT_SIZE];
    ReadSettingText(section, key, defaultText, value);
    if (!value[0]) {
        out[0] = '\0';
    } else if (HasIniExtension(value)) {
        EnsureUserSettingsFile(out, value, 7);
    } else {
        std::string path;
        GetDataFolderPath(7, path, value, true);
        CopyOut(out, SETTING_PATH_SIZE, path);
    }
    return 1;
}

void StripSettingComment(char* text) {
    if (!text) return;
    for (char* p = text; *p;) {
        if (p[0] == '/' && p[1] == '/') {
            while (p > text && (p[-1] == ' ' || p[-1] == '\t') &&
                   !IsDbcsTrailAt(text, static_cast<size_t>(p - 1 - text)))
                --p;
            *p = '\0';
            return;
        }
        size_t step = DbcsCharLength(p);
        p += step ? step : 1;
    }
}

void StripSettingComment(std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    StripSettingComment(buffer.data());
    text = buffer.data();
}

std::string GetProgramIniPath() {
    if (!g_programIniOverride.empty()) return g_programIniOverride;
    char module[MAX_PATH * 2] = "";
    GetModuleFileNameA(nullptr, module, sizeof module - 1);
    std::string path = module;
    size_t dot = DbcsFindLast(path, '.');
    size_t slash = DbcsFindLast(path, '\\');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.resize(dot);
    return path + ".ini";
}

void SetProgramIniPathOverride(const char* path) { g_programIniOverride = path ? path : ""; }

void GetScaleList(std::list<std::string>& out) {
    if (CCadSystemSettings* settings = GetCadSystemSettings())
        out.insert(out.end(), settings->m_ConfigData.SCALE.begin(), settings->m_ConfigData.SCALE.end());
}

namespace {

std::string AuxiliaryIni(bool dataFile, const char* key, const char* defaultName) {
    char path[SETTING_PATH_SIZE] = "";
    if (dataFile)
        ReadDataFileName(path, "CONFIG", key, defaultName);
    else
        ReadSettingFileName(path, "CONFIG", key, defaultName);
    if (!path[0]) EnsureUserSettingsFile(path, defaultName, 7);
    return path;
}

int ReadIni(const std::string& file, const char* section, const char* key, const char* defaultText, char* out) {
    if (out)
        GetPrivateProfileStringA(section, key, defaultText ? defaultText : "", out, SETTING_TEXT_SIZE, file.c_str());
    return 1;
}

}  // namespace

std::string GetCmdIniPath() { return AuxiliaryIni(false, "CMDINI", "sonota.ini"); }
std::string GetTextHistoryIniPath() { return AuxiliaryIni(true, "DATSTR", "rirekimoji.ini"); }
std::string GetPanelColorIniPath() { return AuxiliaryIni(true, "PBOXCOL", "bottoncolor.ini"); }

int ReadCmdIniString(const char* section, const char* key, const char* defaultText, char* out) {
    return ReadIni(GetCmdIniPath(), section, key, defaultText, out);
}

int WriteCmdIniString(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, GetCmdIniPath().c_str());
    return 1;
}

int ReadTextHistoryString(const char* section, const char* key, const char* defaultText, char* out) {
    return ReadIni(GetTextHistoryIniPath(), section, key, defaultText, out);
}

int WriteTextHistoryString(const char* section, const char* key, const char* value) {
    WritePrivateProfileStringA(section, key, value, GetTextHistoryIniPath().c_str());
    return 1;
}

int ReadPanelColorString(const char* section, const char* key, const char* defaultText, char* out) {
    return ReadIni(GetPanelColorIniPath(), section, key, defaultText, out);
}

CCadSysCmdConfigIO::~CCadSysCmdConfigIO() {}
