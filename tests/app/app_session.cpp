#include "tests/app/app_session.h"
#include "tests/app/app_shots.h"

#include <ddeml.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "command/host_messages.h"
#include "tests/app/test_commands.h"
#include "tests/common/dist_dir.h"
#include "view/view_data.h"
#include "view/view_transform.h"

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

bool CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        const std::string a = from + "\\" + name, b = to + "\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyTree(a, b) && ok;
        else
            ok = CopyFileA(a.c_str(), b.c_str(), FALSE) && ok;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return ok;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

// This process's environment with `ours` put over it (name=value each).
std::vector<char> EnvironmentWith(const std::vector<std::string>& ours) {
    std::vector<std::string> entries;
    char* block = GetEnvironmentStringsA();
    for (const char* p = block; p && *p; p += std::strlen(p) + 1) {
        std::string entry = p;
        bool replaced = false;
        for (const std::string& o : ours) {
            const std::string name = o.substr(0, o.find('=') + 1);
            if (_strnicmp(entry.c_str(), name.c_str(), name.size()) == 0) replaced = true;
        }
        if (!replaced) entries.push_back(entry);
    }
    if (block) FreeEnvironmentStringsA(block);
    // The installation folder is the executable's own, never a test's override.
    entries.erase(
        std::remove_if(entries.begin(), entries.end(),
                       [](const std::string& e) { return _strnicmp(e.c_str(), "ZAV_INSTALL_DIR=", 16) == 0; }),
        entries.end());
    for (const std::string& o : ours)
        entries.push_back(o);
    std::vector<char> env;
    for (const std::string& e : entries)
        env.insert(env.end(), e.c_str(), e.c_str() + e.size() + 1);
    env.push_back('\0');
    return env;
}

struct WindowSearch {
    DWORD pid;
    const char* cls;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindTopWindow(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && lstrcmpiA(cls, s->cls) == 0 && (!s->visibleOnly || IsWindowVisible(w))) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND TopWindowOf(DWORD pid, const char* cls, bool visibleOnly) {
    WindowSearch s = {pid, cls, visibleOnly, nullptr};
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL CALLBACK FindChildOfClass(HWND w, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    char cls[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, s->cls) == 0) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectTexts(HWND w, LPARAM lp) {
    char t[1024] = {};
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t), SMTO_NORMAL, 2000, &r);
    if (t[0]) *reinterpret_cast<std::string*>(lp) += std::string("[") + t + "]";
    return TRUE;
}

HDDEDATA CALLBACK DdeClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// Waits are for a program on a quiet native machine; ZAV_TEST_TIME_SCALE
// (set where the tests run under emulation) stretches every one of them.
DWORD Scaled(DWORD ms) {
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA("ZAV_TEST_TIME_SCALE", text, sizeof text);
    const int scale = n > 0 && n < sizeof text ? atoi(text) : 1;
    return scale > 1 ? ms * static_cast<DWORD>(scale) : ms;
}

template <class F>
bool WaitFor(F done, DWORD timeoutMs) {
    timeoutMs = Scaled(timeoutMs);
    const DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DWORD TestTimeScaled(DWORD ms) { return Scaled(ms); }

AppSession::AppSession(const char* tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%szav_app_%s_%lu_%d", temp, tag, GetCurrentProcessId(), ++counter);
    m_root = name;
    m_install = m_root + "\\inst";
    m_user = m_root + "\\user";
    m_prepared = Prepare();
}

AppSession::~AppSession() {
    if (Running()) Close(10000);
    EndProcess(0);
    RemoveTree(m_root);
}

bool AppSession::Prepare() {
    CreateDirectoryA(m_root.c_str(), nullptr);
    CreateDirectoryA(m_user.c_str(), nullptr);
    const std::string dist = DistDir();
    // Copy only a real installation folder: a wrong folder would be copied
    // whole, sub-folders and all.
    if (GetFileAttributesA((dist + "\\ZavIrurer.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        m_error = "no installation folder at " + dist;
        return false;
    }
    if (!CopyTree(dist, m_install)) {
        m_error = "the installation folder could not be copied";
        return false;
    }
    if (!InstallTestCommands(m_install)) {
        m_error = "the test commands could not be written (" + TestCommandsFragmentPath() + ")";
        return false;
    }
    // The system log, which the tests read, is written only above level 0.
    if (!SetSystemSetting("LOG", "2") || !SetSystemSetting("CMDLOG", "2")) {
        m_error = "ConfigData.xml has no LOG or CMDLOG";
        return false;
    }
    // The start drawing is made without the start menu, so that a test
    // meets the program ready for commands; the start menu's own tests
    // switch it back on.
    if (!SetUserSetting("iStartOpenDlgFg", "1")) {
        m_error = "LocalSettings.xml has no iStartOpenDlgFg";
        return false;
    }
    return true;
}

std::string AppSession::UserSettingsDir() const { return m_user + "\\local\\Qv\\VantrelV8"; }

bool AppSession::SetSystemSetting(const std::string& name, const std::string& value) {
    return SetSettingIn("ConfigData.xml", name, value);
}

bool AppSession::SetUserSetting(const std::string& name, const std::string& value) {
    return SetSettingIn("LocalSettings.xml", name, value);
}

bool AppSession::SetSettingIn(const std::string& file, const std::string& name, const std::string& value) {
    const std::string path = InstallFile(file);
    std::string xml = ReadFileBytes(path);
    const std::string open = "<" + name + ">", close = "</" + name + ">";
    const size_t a = xml.find(open);
    const size_t b = a == std::string::npos ? a : xml.find(close, a);
    if (b == std::string::npos) return false;
    xml.replace(a + open.size(), b - a - open.size(), value);
    return WriteFileBytes(path, xml);
}

bool AppSession::Start(const std::string& args, DWORD timeoutMs) {
    m_error.clear();
    if (!m_prepared) {
        if (m_error.empty()) m_error = "the private installation was not prepared";
        return false;
    }
    if (Running()) {
        m_error = "already running";
        return false;
    }
    EndProcess(0);
    const std::string exe = InstallFile("ZavIrurer.exe");
    std::string line = "\"" + exe + "\"";
    if (!args.empty()) line += " " + args;
    std::vector<char> cmd(line.begin(), line.end());
    cmd.push_back('\0');
    std::vector<char> env = EnvironmentWith({
        "ZAV_LOCAL_APPDATA=" + m_user + "\\local",
        "ZAV_DOCUMENTS=" + m_user + "\\docs",
        "ZAV_TESTCMD_LOG=" + ModuleLogPath(),
        "ZAV_SHELL_TRACE=" + m_user + "\\shell_trace.log",
    });
    STARTUPINFOA si = {sizeof si};
    m_exitCode = STILL_ACTIVE;
    m_frame = nullptr;
    if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, env.data(), m_install.c_str(), &si,
                        &m_pi)) {
        m_error = "CreateProcess failed";
        m_pi = PROCESS_INFORMATION();
        return false;
    }
    const bool up = WaitFor(
        [&] {
            m_frame = TopWindowOf(m_pi.dwProcessId, "Quillmar001", true);
            return m_frame != nullptr || !Running() || TopWindowOf(m_pi.dwProcessId, "#32770", true) != nullptr;
        },
        timeoutMs);
    if (!m_frame) {
        if (HWND box = TopWindowOf(m_pi.dwProcessId, "#32770", true))
            m_error = "a box came up: " + WindowTexts(box);
        else if (!Running())
            m_error = "the program ended with code " + std::to_string(m_exitCode);
        else if (!up)
            m_error = "no main frame within the time-out";
        return false;
    }
    // The frame shows itself just before its second start-up phase; a
    // message it answers after that phase means start-up is through.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(m_frame, WM_NULL, 0, 0, SMTO_NORMAL, Scaled(timeoutMs), &result)) {
        m_error = "the main frame does not answer";
        return false;
    }
    return true;
}

bool AppSession::Running() const {
    if (!m_pi.hProcess) return false;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        const_cast<AppSession*>(this)->m_exitCode = code;
        return false;
    }
    return true;
}

void AppSession::EndProcess(DWORD timeoutMs) {
    if (!m_pi.hProcess) return;
    if (WaitForSingleObject(m_pi.hProcess, Scaled(timeoutMs)) != WAIT_OBJECT_0) {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, 10000);
        m_exitCode = 99;
    } else {
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        m_exitCode = code;
    }
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    m_pi = PROCESS_INFORMATION();
    m_frame = nullptr;
}

bool AppSession::Close(DWORD timeoutMs) {
    if (!m_pi.hProcess) return false;
    if (m_frame && IsWindow(m_frame)) PostMessageA(m_frame, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(m_pi.hProcess, Scaled(timeoutMs)) == WAIT_OBJECT_0;
    if (!ended) m_error = "the program did not end; killed";
    EndProcess(0);
    return ended;
}

bool AppSession::Restart(const std::string& args, DWORD timeoutMs) {
    if (Running() && !Close(timeoutMs)) return false;
    return Start(args, timeoutMs);
}

LRESULT AppSession::Send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, msg, wParam, lParam, SMTO_NORMAL, Scaled(timeoutMs), &result)) return 0;
    return static_cast<LRESULT>(result);
}

bool AppSession::Post(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(window, msg, wParam, lParam) != 0;
}

bool AppSession::Command(int id) { return Post(m_frame, WM_COMMAND, static_cast<WPARAM>(id), 0); }

bool AppSession::EndCommand() { return Post(m_frame, UM_END_CMD); }

bool AppSession::DdeExecute(const std::string& text, DWORD timeoutMs) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, DdeClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
    HSZ service = DdeCreateStringHandleA(instance, "RAZE", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
    HCONV conv = DdeConnect(instance, service, topic, nullptr);
    bool ok = false;
    if (conv) {
        DWORD result = 0;
        ok = DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                                  static_cast<DWORD>(text.size() + 1), conv, nullptr, 0, XTYP_EXECUTE, timeoutMs,
                                  &result) != nullptr;
        DdeDisconnect(conv);
    }
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    return ok;
}

HWND AppSession::ActiveView() {
    if (!m_frame) return nullptr;
    HWND child = reinterpret_cast<HWND>(Send(m_frame, WM_MDIGETACTIVE));
    if (!child) return nullptr;
    WindowSearch s = {0, "CadwinView", false, nullptr};
    EnumChildWindows(child, FindChildOfClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool AppSession::WaitDrawingCount(size_t count, DWORD timeoutMs) {
    return WaitFor([&] { return DrawingTitles().size() == count; }, timeoutMs);
}

std::vector<std::string> AppSession::DrawingTitles() {
    std::vector<std::string> titles;
    HWND client = m_frame ? FindWindowExA(m_frame, nullptr, "MDIClient", nullptr) : nullptr;
    if (!client) return titles;
    for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char t[300] = {};
        DWORD_PTR r = 0;
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t), SMTO_NORMAL, 5000, &r);
        titles.push_back(t);
    }
    return titles;
}

HWND AppSession::NewDrawing(DWORD timeoutMs) {
    // The program posts its start drawing once the frame is up: let it come
    // first, or it would pass for the new one.
    size_t count = DrawingTitles().size();
    DWORD settled = GetTickCount();
    WaitFor(
        [&] {
            const size_t now = DrawingTitles().size();
            if (now != count) {
                count = now;
                settled = GetTickCount();
            }
            return GetTickCount() - settled >= Scaled(1000);
        },
        timeoutMs);
    const HWND before = ActiveView();
    if (!Command(4000)) return nullptr;
    // The new-drawing dialog comes up first: confirmed as it stands.
    static const char kDialogCaption[] = "新規図面を開く（各種設定後 [OK] ｸﾘｯｸしてください。）";
    HWND view = nullptr, dialog = nullptr;
    WaitFor(
        [&] {
            if (!dialog) {
                HWND top = TopWindowOf(m_pi.dwProcessId, "#32770", true);
                char title[128] = "";
                if (top) GetWindowTextA(top, title, sizeof title);
                if (top && std::strcmp(title, kDialogCaption) == 0) {
                    dialog = top;
                    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                }
            }
            view = ActiveView();
            return view && view != before;
        },
        timeoutMs);
    return view != before ? view : nullptr;
}

HWND AppSession::OpenDrawing(const std::string& path, DWORD timeoutMs) {
    if (!DdeExecute("{Open(" + path + ")}", timeoutMs)) return nullptr;
    const std::string name = FileNameOf(path);
    HWND view = nullptr;
    WaitFor(
        [&] {
            HWND child = m_frame ? reinterpret_cast<HWND>(Send(m_frame, WM_MDIGETACTIVE)) : nullptr;
            char title[300] = {};
            DWORD_PTR r = 0;
            if (child)
                SendMessageTimeoutA(child, WM_GETTEXT, sizeof title, reinterpret_cast<LPARAM>(title), SMTO_NORMAL, 5000,
                                    &r);
            view = std::string(title).find(name) != std::string::npos ? ActiveView() : nullptr;
            return view != nullptr;
        },
        timeoutMs);
    return view;
}

bool AppSession::ReadViewRecord(HWND view, void* record, size_t size) {
    const LONG_PTR address = GetWindowLongPtrA(view, 0);
    SIZE_T read = 0;
    return address && m_pi.hProcess &&
           ReadProcessMemory(m_pi.hProcess, reinterpret_cast<LPCVOID>(address), record, size, &read) && read == size;
}

bool AppSession::ViewPixelOf(HWND view, double x, double y, POINT* pixel) {
    ViewData d;
    if (!ReadViewRecord(view, &d, sizeof d)) return false;
    *pixel = WorldToClient(view, &d, x, y);
    return true;
}

bool AppSession::DrawingPointOf(HWND view, POINT pixel, double* x, double* y) {
    ViewData d;
    if (!ReadViewRecord(view, &d, sizeof d)) return false;
    ClientToWorld(view, &d, pixel.x, pixel.y, x, y);
    return true;
}

double AppSession::ViewScale(HWND view) {
    ViewData d;
    if (!ReadViewRecord(view, &d, sizeof d)) return 0;
    return *CurrentViewSet(&d).scale;
}

bool AppSession::ClickPixel(HWND view, POINT pixel) {
    // The view checks where the pointer is when the button comes up.
    POINT screen = pixel;
    ClientToScreen(view, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM at = MAKELPARAM(pixel.x, pixel.y);
    return Post(view, WM_MOUSEMOVE, 0, at) && Post(view, WM_LBUTTONDOWN, MK_LBUTTON, at) &&
           Post(view, WM_LBUTTONUP, 0, at);
}

POINT AppSession::ClickAt(HWND view, double x, double y) {
    POINT pixel = {-1, -1};
    if (!ViewPixelOf(view, x, y, &pixel) || !ClickPixel(view, pixel)) return {-1, -1};
    return pixel;
}

HWND AppSession::WaitBox(DWORD timeoutMs) {
    HWND box = nullptr;
    WaitFor(
        [&] {
            box = m_pi.hProcess ? TopWindowOf(m_pi.dwProcessId, "#32770", true) : nullptr;
            return box != nullptr;
        },
        timeoutMs);
    return box;
}

std::string AppSession::WindowTexts(HWND window) {
    std::string all;
    CollectTexts(window, reinterpret_cast<LPARAM>(&all));
    EnumChildWindows(window, CollectTexts, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::string AppSession::ModuleLog() const { return ReadFileBytes(ModuleLogPath()); }

std::vector<std::string> AppSession::ModuleLines(const std::string& key) const {
    std::vector<std::string> lines;
    std::istringstream in(ModuleLog());
    const std::string prefix = "TESTCMD " + key;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, prefix.size(), prefix) != 0) continue;
        if (line.size() > prefix.size() && line[prefix.size()] != ' ') continue;  // another key
        lines.push_back(line.size() > prefix.size() ? line.substr(prefix.size() + 1) : std::string());
    }
    return lines;
}

bool AppSession::WaitModuleLine(const std::string& key, size_t count, DWORD timeoutMs) const {
    return WaitFor([&] { return ModuleLines(key).size() >= count; }, timeoutMs);
}

bool AppSession::WaitModuleText(const std::string& text, DWORD timeoutMs) const {
    return WaitFor([&] { return ModuleLog().find(text) != std::string::npos; }, timeoutMs);
}

std::vector<std::vector<double>> AppSession::ModuleValues(const std::string& key) const {
    std::vector<std::vector<double>> values;
    for (const std::string& line : ModuleLines(key)) {
        std::vector<double> row;
        const char* p = line.c_str();
        for (;;) {
            char* end = nullptr;
            const double v = std::strtod(p, &end);
            if (end == p) break;
            row.push_back(v);
            p = end;
        }
        values.push_back(row);
    }
    return values;
}

std::vector<std::vector<double>> AppSession::WaitModuleValues(const std::string& key, size_t count,
                                                              DWORD timeoutMs) const {
    WaitModuleLine(key, count, timeoutMs);
    return ModuleValues(key);
}

std::string AppSession::SystemLog() const {
    const std::string folder = m_user + "\\docs\\Qv\\VantrelV8\\LOG";
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*.LOG").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(fd.cFileName);
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& n : names)
        all += ReadFileBytes(folder + "\\" + n);
    return all;
}

std::vector<std::string> AppSession::SystemLogLines(const std::string& part) const {
    std::vector<std::string> lines;
    std::istringstream in(SystemLog());
    for (std::string line; std::getline(in, line);)
        if (line.find(part) != std::string::npos) lines.push_back(line);
    return lines;
}

std::string AppSession::ShellTrace() const { return ReadFileBytes(m_user + "\\shell_trace.log"); }

// Saves the screen part a window covers as a bitmap into ZAV_SHOT_DIR (when
// set); the screenshot script runs these tests on a virtual display.
void AppSession::Shot(HWND window, const char* name) { ShotWindow(window, name); }
