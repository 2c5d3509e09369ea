// The shell's own folders, call log and settings (see shell_seams.h).
#include "shell/shell_seams.h"

#include <shlobj.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/text_utils.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "base/settings_layer.h"

// --- Call log ------------------------------------------------------------------
static std::string& TraceText() {
    static std::string text;
    return text;
}

void ShellTrace(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::string& text = TraceText();
    if (!text.empty()) text += '\n';
    text += line;
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZAV_SHELL_TRACE", path, sizeof path);
    if (n > 0 && n < sizeof path) {
        if (FILE* f = std::fopen(path, "a")) {
            std::fprintf(f, "%s\n", line);
            std::fclose(f);
        }
    }
}

const std::string& ShellTraceText() { return TraceText(); }
void ClearShellTrace() { TraceText().clear(); }

// --- Folders and ProgramIni ------------------------------------------------------
static std::string EnvText(const char* name) {
    char buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
    return (n > 0 && n < sizeof buf) ? std::string(buf) : std::string();
}

static std::string WithoutTrailingSlash(std::string s) {
    while (!s.empty() && (s.back() == '\\' || s.back() == '/') && !IsDbcsTrailAt(s, s.size() - 1))
        s.pop_back();
    return s;
}

std::string ShellExeDir() {
    std::string env = EnvText("ZAV_INSTALL_DIR");
    if (!env.empty()) return WithoutTrailingSlash(env);
    return WithoutTrailingSlash(GetModuleDir());
}

std::string ShellUserDir() {
    std::string base = EnvText("ZAV_LOCAL_APPDATA");
    if (base.empty()) {
        char buf[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, buf))) base = buf;
    }
    std::string dir = WithoutTrailingSlash(base) + "\\Qv\\VantrelV8";
    CreateDirectoryTree(dir);
    return dir;
}

std::string SeedUserFile(const char* name) {
    std::string user = ShellUserDir() + "\\" + name;
    if (GetFileAttributesA(user.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::string installed = ShellExeDir() + "\\" + name;
        CopyFileA(installed.c_str(), user.c_str(), TRUE);
    }
    return user;
}

std::string ProgramIniPath() { return GetProgramIniPath(); }

void SetProgramIniPath(const char* path) { SetProgramIniPathOverride(path ? path : ""); }

std::string ReadProgramIniText(const char* section, const char* key, const char* def, size_t maxBytes) {
    std::string buf(maxBytes + 1, '\0');
    GetPrivateProfileStringA(section, key, def, &buf[0], (DWORD)buf.size(), ProgramIniPath().c_str());
    buf.resize(std::strlen(buf.c_str()));
    // A value is cut at its first "//" comment, with the blanks before it.
    size_t pos = 0;
    while ((pos = DbcsFind(buf, '/', pos)) != std::string::npos) {
        if (pos + 1 < buf.size() && buf[pos + 1] == '/') {
            buf.resize(pos);
            while (!buf.empty() && (buf.back() == ' ' || buf.back() == '\t'))
                buf.pop_back();
            break;
        }
        ++pos;
    }
    return buf;
}

int WriteProgramIniText(const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, ProgramIniPath().c_str()) ? 0 : -1;
}

// --- Settings ------------------------------------------------------------------------
ShellSettingValues& ShellSettings() {
    static ShellSettingValues values;
    return values;
}

int LoadShellSettings() {
    ShellSettingValues& s = ShellSettings();
    const RunningSettings& r = Running();
    s.MULTIBOOT = r.MULTIBOOT;
    s.TIMESTEP = r.TIMESTEP > 0 ? r.TIMESTEP : 500;
    s.iStartOpenDlgFg = r.iStartOpenDlgFg;
    s.bToolHlp = r.bToolHlp;
    s.bWindowSz = r.bWindowSz;
    s.bPaperOrg = r.bPaperOrg;
    s.bScTestBtn = r.bScTestBtn;
    s.autoDrawing = r.autoZumenPath;
    s.backupDir = r.backupDir;
    if (CCadSystemSettings* settings = GetCadSystemSettings()) s.AUTOCMD = (int)settings->m_ConfigData.AUTOCMD;
    std::string coord = ReadProgramIniText("CONFIG", "MAX_COORD_VALUE", "1.0e100");
    s.maxCoord = std::atof(coord.c_str());
    return 0;
}

int SaveUserSettingsSeam() {
    int result = SaveUserSettings();
    ShellTrace("SaveUserSettings %d", result);
    return result;
}
