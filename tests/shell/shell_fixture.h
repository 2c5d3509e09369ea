// Shared helpers of the shell tests: private folders, files written in
// code page 932, message pumping, and child processes.
#pragma once

#include "tests/common/dist_dir.h"

#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temp folder, removed with its files at the end.
class TempFolder {
public:
    explicit TempFolder(const char* tag);
    ~TempFolder();
    const std::string& Path() const { return m_path; }
    std::string File(const char* name) const { return m_path + "\\" + name; }
    // Writes `text` (narrow literals are already code page 932) as it is.
    std::string Write(const char* name, const std::string& text) const;

private:
    std::string m_path;
};

std::string ReadWholeFile(const std::string& path);
// A real drawing file written by the CAD library (an empty drawing).
std::string WriteDrawing(const TempFolder& dir, const char* name);
void SetEnv(const char* name, const char* value);  // null removes

// Pumps this thread's queue for `ms` milliseconds (or until `done`).
void PumpFor(DWORD ms);
template <class F>
bool PumpUntil(F done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        PumpFor(20);
    }
    return true;
}

// Points the shell at the installed data files and a private per-user
// folder and ProgramIni for the life of the object.
class ShellEnvironment {
public:
    ShellEnvironment();
    ~ShellEnvironment();
    TempFolder folder{"shellenv"};
    std::string ini;
};

// A child process of ZavIrurer.exe.
struct ChildProcess {
    PROCESS_INFORMATION pi = {};
    bool Start(const std::string& exe, const std::string& args);
    DWORD Wait(DWORD ms);  // exit code, or STILL_ACTIVE
    void Kill();
    ~ChildProcess();
};

// The first top-level window of a class owned by a process (0: any).
HWND FindProcessWindow(const char* cls, DWORD pid, DWORD timeoutMs);
// Titles of the MDI children of a main frame (another process too).
std::vector<std::string> DrawingTitles(HWND frame);
