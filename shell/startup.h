// Process life: the two start-up phases, the message loop with the main
// frame, and the shut-down; the running-copy marker and the hand-over of a
// command line to a copy that already runs.
#pragma once

#include <windows.h>

#include <string>

// Process-wide start-up flags.
extern int Terminating;

// The body of WinMain: start-up, loop, shut-down. Returns the exit code.
int RunProcess(HINSTANCE instance, const char* cmdLine, int showCmd);
// The window classes start-up registers for the panels, the attribute
// selectors, the right-click pop-up and the drawing pop-ups; shut-down
// unregisters them.
void RegisterPanelClasses(HINSTANCE instance);
void UnregisterPanelClasses(HINSTANCE instance);
// Creates the main frame and runs the loop; 0 when the frame was not made.
int Run(const char* cmdLine, int showCmd);

// Hands a command line to the running copy's main frame: an atom in
// WM_COMMAND 1227, WM_COMMAND 1228 for an empty line, and a line too long
// for an atom as WM_COPYDATA. Returns 1 when the running copy took it.
int HandOverCommandLine(HWND running, const char* cmdLine);

// The marker of a running copy: a semaphore named after the executable.
class CMySemaphore {
public:
    ~CMySemaphore();
    // 1 another copy holds it, 0 created here, -1 neither.
    int Acquire();
    void SetName(const std::string& name) { m_name = name; }
    const std::string& Name() const { return m_name; }

private:
    HANDLE m_handle = nullptr;
    std::string m_name;
};
CMySemaphore& RunningCopySemaphore();
