#include "shell/help_files.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/dbcs.h"

namespace {

std::string LowerDbcs(const char* text) {
    std::string out;
    for (const char* p = text; *p;) {
        const char* next = DbcsNext(p);
        if (next == p + 1 && *p >= 'A' && *p <= 'Z')
            out += static_cast<char>(*p - 'A' + 'a');
        else
            out.append(p, static_cast<size_t>(next - p));
        p = next;
    }
    return out;
}

BOOL CALLBACK CloseShowing(HWND window, LPARAM names);

// The one list of remembered names; at process exit the viewer windows
// whose titles show one of them are closed.
class CCadIntHelp {
public:
    ~CCadIntHelp() {
        if (m_names.empty()) return;
        EnumWindows(CloseShowing, reinterpret_cast<LPARAM>(&m_names));
        m_names.clear();
    }
    void Remember(const std::string& name) {
        for (const std::string& n : m_names)
            if (n == name) return;
        m_names.push_back(name);
    }
    std::vector<std::string> m_names;
};

CCadIntHelp g_help;

BOOL CALLBACK CloseShowing(HWND window, LPARAM names) {
    char title[260] = "";
    if (GetWindowTextA(window, title, sizeof title) > 0) {
        const std::string lower = LowerDbcs(title);
        for (const std::string& n : *reinterpret_cast<std::vector<std::string>*>(names)) {
            if (lower.find(n) != std::string::npos) {
                SendMessageA(window, WM_CLOSE, 0, 0);
                break;
            }
        }
    }
    EnumChildWindows(window, CloseShowing, names);
    return TRUE;
}

}  // namespace

int OpenHelpFile(const char* path, bool remember) {
    const int result = static_cast<int>(
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL)));
    if (result <= 32 || !remember || !path) return result;
    const char* name = path;
    for (const char* p = path; *p; p = DbcsNext(p))
        if (*p == '\\' || *p == '/') name = p + 1;
    if (!*name) return result;
    g_help.Remember(LowerDbcs(name));
    return result;
}

const char* RememberedHelpName(int index) {
    return index >= 0 && index < static_cast<int>(g_help.m_names.size()) ? g_help.m_names[index].c_str() : nullptr;
}
