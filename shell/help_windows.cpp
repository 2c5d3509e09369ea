#include "shell/help_windows.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "shell/cad_system.h"

std::string HelpFileNameKey(const char* path) {
    const char* p = path ? path : "";
    const char* slash = DbcsFindLastChar(p, '\\');
    const char* fwd = DbcsFindLastChar(p, '/');
    if (fwd && (!slash || fwd > slash)) slash = fwd;
    std::string name = slash ? slash + 1 : p;
    // Lower case, one character at a time: trail bytes are never touched.
    for (size_t i = 0; i < name.size();) {
        const size_t n = DbcsCharLength(name.c_str() + i);
        if (n == 1 && name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
        i += n ? n : 1;
    }
    return name;
}

namespace {

std::string LowerTitle(const char* title) { return HelpFileNameKey(std::string("\\").append(title).c_str()); }

struct Sweep {
    const CCadIntHelp* help;
    const std::vector<DWORD>* viewers;
    int closed;
};

BOOL CALLBACK CloseIfHelpWindow(HWND window, LPARAM param) {
    auto* sweep = reinterpret_cast<Sweep*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (std::find(sweep->viewers->begin(), sweep->viewers->end(), pid) == sweep->viewers->end()) return TRUE;
    char title[260] = "";
    // The title of another process's window is read without a message to
    // it, so a hung viewer cannot hold the sweep.
    const int n = ::GetWindowTextA(window, title, sizeof title);
    if (n <= 0) return TRUE;
    const std::string lower = LowerTitle(title);
    for (const std::string& name : sweep->help->Names()) {
        if (lower.find(name) != std::string::npos) {
            ::PostMessageA(window, WM_CLOSE, 0, 0);
            ++sweep->closed;
            break;
        }
    }
    return TRUE;
}

}  // namespace

CCadIntHelp::~CCadIntHelp() { CloseHelpWindows(); }

int CCadIntHelp::OpenHelpFile(const char* path, bool remember) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = path ? path : "";
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExA(&info);
    const int result = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (info.hProcess) {
        const DWORD pid = ::GetProcessId(info.hProcess);
        if (pid && std::find(m_viewers.begin(), m_viewers.end(), pid) == m_viewers.end()) m_viewers.push_back(pid);
        ::CloseHandle(info.hProcess);
    }
    if (result <= 32 || !remember) return result;
    const std::string name = HelpFileNameKey(path);
    if (name.empty()) return result;
    if (std::find(m_names.begin(), m_names.end(), name) == m_names.end()) m_names.push_back(name);
    return result;
}

int CCadIntHelp::CloseHelpWindows() {
    if (m_closed) return 0;
    m_closed = true;
    if (m_names.empty() || m_viewers.empty()) return 0;
    Sweep sweep = {this, &m_viewers, 0};
    ::EnumWindows(CloseIfHelpWindow, reinterpret_cast<LPARAM>(&sweep));
    return sweep.closed;
}

CCadIntHelp& CadIntHelp() {
    static CCadIntHelp help;
    return help;
}

int OpenHelpFile(const char* path, bool remember) { return CadIntHelp().OpenHelpFile(path, remember); }

int RunHelpFileCommand(const char* path) {
    std::string file = path && path[0] ? path : Running().helpFile;
    if (file.empty() || ::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
    const size_t dot = file.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext != ".hlp") {
        OpenHelpFile(file.c_str(), true);
        return 1;
    }
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, sizeof system);
    std::string viewer = std::string(system) + "\\winhlp32.exe";
    if (::GetFileAttributesA(viewer.c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::string commandLine = "\"" + viewer + "\" \"" + file + "\"";
        STARTUPINFOA si = {sizeof si};
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = SW_SHOW;
        PROCESS_INFORMATION pi = {};
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        if (::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ::CloseHandle(pi.hThread);
            ::CloseHandle(pi.hProcess);
        }
    } else {
        ::WinHelpA(MainFrameWindow(), file.c_str(), HELP_CONTENTS, 0);
    }
    return 1;
}
