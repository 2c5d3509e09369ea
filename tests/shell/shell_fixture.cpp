#include "shell_fixture.h"

#include "base/user_folder.h"

#include <cstring>

#include "cadlib/WmCadApiDb.h"

#include <cstdio>
#include <cstdlib>

#include "shell/shell_seams.h"

TempFolder::TempFolder(const char* tag) {
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    static int counter = 0;
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%szav_%s_%lu_%d", tmp, tag, GetCurrentProcessId(), ++counter);
    m_path = name;
    CreateDirectoryA(m_path.c_str(), nullptr);
}

static void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..") continue;
            std::string full = path + "\\" + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

std::string TempFolder::Write(const char* name, const std::string& text) const {
    std::string path = File(name);
    std::string dir = path.substr(0, path.find_last_of('\\'));
    CreateDirectoryA(dir.c_str(), nullptr);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
    return path;
}

std::string ReadWholeFile(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return out;
}

void SetEnv(const char* name, const char* value) { SetEnvironmentVariableA(name, value); }

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

ShellEnvironment::ShellEnvironment() {
    SetEnv("ZAV_INSTALL_DIR", DistDir().c_str());
    SetEnv("ZAV_LOCAL_APPDATA", folder.Path().c_str());
    // The settings layer reads those variables once, at the start of the
    // process: the same folders through its overrides.
    SetUserFolderOverrides(folder.Path().c_str(), nullptr, DistDir().c_str());
    ini = folder.Write("ZavIrurer.ini", "[SYSTEM]\r\nTIMESTEP=500\r\n");
    SetProgramIniPath(ini.c_str());
    ClearShellTrace();
}

ShellEnvironment::~ShellEnvironment() {
    SetProgramIniPath(nullptr);
    SetUserFolderOverrides("", nullptr, "");
    SetEnv("ZAV_INSTALL_DIR", nullptr);
    SetEnv("ZAV_LOCAL_APPDATA", nullptr);
}

bool ChildProcess::Start(const std::string& exe, const std::string& args) {
    std::string cmd = "\"" + exe + "\"";
    if (!args.empty()) cmd += " " + args;
    STARTUPINFOA si = {sizeof si};
    std::vector<char> buf(cmd.begin(), cmd.end());
    buf.push_back(0);
    return CreateProcessA(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
}

DWORD ChildProcess::Wait(DWORD ms) {
    if (!pi.hProcess) return 0;
    WaitForSingleObject(pi.hProcess, ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

void ChildProcess::Kill() {
    if (pi.hProcess && Wait(0) == STILL_ACTIVE) {
        TerminateProcess(pi.hProcess, 99);
        WaitForSingleObject(pi.hProcess, 5000);
    }
}

ChildProcess::~ChildProcess() {
    Kill();
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
}

struct FindArgs {
    const char* cls;
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK FindTop(HWND w, LPARAM lp) {
    FindArgs* a = (FindArgs*)lp;
    char cls[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (lstrcmpA(cls, a->cls) == 0 && (a->pid == 0 || pid == a->pid)) {
        a->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(const char* cls, DWORD pid, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        FindArgs a = {cls, pid, nullptr};
        EnumWindows(FindTop, (LPARAM)&a);
        if (a.found) return a.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::vector<std::string> DrawingTitles(HWND frame) {
    std::vector<std::string> titles;
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    if (!client) return titles;
    for (HWND w = GetWindow(client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char t[300] = {};
        DWORD_PTR r = 0;
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, (LPARAM)t, SMTO_NORMAL, 5000, &r);
        titles.push_back(t);
    }
    return titles;
}

std::string WriteDrawing(const TempFolder& dir, const char* name) {
    std::string path = dir.Write(name, "");
    DbHeader h;
    memset(&h, 0, sizeof h);
    DAriCreateDB(&h);
    uint32_t status = 0;
    DAriSaveFileOfCWX(path.c_str(), &h, &status);
    DAriDeleteDB(&h);
    return path;
}
