// The frame the command system works for, and the host objects' frame words.
#include "command/command_system.h"

#include "command/dde.h"
#include "command/executor.h"
#include "command/host_objects.h"

namespace {
HWND g_mainFrame = nullptr;
HWND g_statusBar = nullptr;
HWND g_mdiClient = nullptr;
}  // namespace

HWND CmdMainFrame() { return g_mainFrame; }
void SetCmdMainFrame(HWND frame) { g_mainFrame = frame; }
// A destroyed bar is no bar: its handle could be taken by another window.
HWND CmdStatusBar() { return (g_statusBar && IsWindow(g_statusBar)) ? g_statusBar : nullptr; }
void SetCmdStatusBar(HWND bar) { g_statusBar = bar; }
HWND CmdMdiClient() { return g_mdiClient; }
void SetCmdMdiClient(HWND client) { g_mdiClient = client; }

int CommandSystemInit(HWND frame, CCommandHost& host, HACCEL accel, void* mainAccelerator) {
    SetCmdMainFrame(frame);
    host.SetFrame(frame, accel, mainAccelerator);
    const int server = StartDdeServer(frame);
    const int client = DdeClientInit();
    return (server && client) ? 1 : 0;
}

void CommandSystemTerm() {
    StopDdeServer(CmdMainFrame());
    DdeClientTerm();
    DiscardPendingExecCmds();
}

void CCommandHost::SetFrame(HWND frame, HACCEL accel, void* mainAccelerator) {
    CCadCmd* objects[] = {&m_sysCmd,          &m_sysCmd.m_db,   &m_sysCmd.m_pbox, &m_sysCmd.m_page,
                          &m_sysCmd.m_config, &m_sysCmd.m_wait, &m_interruptCmd};
    for (CCadCmd* object : objects) {
        object->m_mainFrame = frame;
        object->m_accel = accel;
        object->m_mainAccelerator = mainAccelerator;
    }
}
