#include "shell/host_hooks_shell.h"

#include "base/message_table.h"
#include "base/system_log.h"
#include "command/host_hooks.h"
#include "panels/rp_menu.h"
#include "shell/cad_system.h"
#include "shell/host_messages_shell.h"
#include "shell/main_frame.h"
#include "shell/shell_seams.h"
#include "shell/system_command_actions.h"
#include "shell/reference_drawings.h"
#include "shell/yes_no_services.h"
#include "view/view_table.h"

int RunShellSystemCommand(int id, HWND owner, DWORD word) {
  HWND frame = MainFrameWindow() ? MainFrameWindow() : owner;
  switch (id) {
    case 4000:
      return RunNewDrawingCommand(owner ? owner : frame);
    case 4025:
      return RunSecondWindowCommand();
    case 4050:
      return RunStartDrawingCommand(owner ? owner : frame, word);
    case 4005:
      if (HWND view = GetActiveView()) PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
      return 0;
    case 4006:
      PostMessageA(owner ? owner : frame, WM_CLOSE, 0, 0);
      return 0;
  }
  return -1;
}

void InstallShellHostHooks() {
  CmdHostHooks& h = HostHooks();
  // The call log takes the command system's log lines too.
  h.writeLog = [](int level, const char* category, const char* text) {
    WriteSystemLogText(level, category, text ? text : "");
    ShellTrace("%s,%s", category ? category : "", text ? text : "");
  };
  h.showErrorMessage = [](int id) { ShowErrorMessage(GetMessageText(id)); };
  h.showErrorText = [](const char* text) { ShowErrorMessage(text); };
  h.launchKind = [] { return LaunchKind(); };
  h.appObject = []() -> void* { return &GetCadSystem(); };
  h.translateAccel = [](HWND frame, HACCEL table, MSG* msg) -> BOOL {
    return GetCadSystem().TranslateAccel(frame, table, msg);
  };
  h.statusBarWindow = [] { return StatusBarWindow(); };
  h.mdiClientWindow = [] { return MdiClientWindow(); };
  h.activeView = [] { return GetActiveView(); };
  h.focusActiveView = [] {
    if (HWND v = GetActiveView()) SetFocus(v);
  };
  h.closeRightClickPopup = [] { CloseRPMenu(); };
  h.systemCommand = RunShellSystemCommand;
  // DDE "{Open(": an open drawing is only activated, else it is opened.
  h.ddeOpenDrawing = [](const char* path) -> int {
    return (int)SendMessageA(MainFrameWindow(), UM_OPEN_DRAWING_FILE, 0, (LPARAM)path);
  };
  InstallYesNoServices();
  InstallReferenceDrawingService();
}
