#include "shell/host_seam.h"

#include <cstring>

#include "base/dbcs.h"
#include "shell/cad_system.h"
#include "shell/command_line.h"
#include "shell/main_frame.h"
#include "shell/shell_seams.h"

std::function<int(int, LPARAM)> ExecCmdHook;

static std::string ArgText(LPARAM arg) {
  // An argument is a text the sender keeps alive during SendMessage; a
  // small value is no pointer.
  if (arg == 0 || (ULONG_PTR)arg < 0x10000) return std::string();
  char buf[300];
  DbcsCopy(buf, sizeof buf, (const char*)arg);
  return buf;
}

LRESULT CShellHostSeam::OnExecCmd(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  int id = (int)LOWORD(wParam);
  ShellTrace("ExecCmd %d %s", id, ArgText(lParam).c_str());
  if (ExecCmdHook) return ExecCmdHook(id, lParam);
  HWND w = frame ? frame->m_hWnd : MainFrameWindow();
  switch (id) {
    case 4000:
      return SendMessageA(w, UM_NEW_DRAWING_WINDOW, 0, 0) ? 1 : 0;
    case 4005: {
      HWND view = GetActiveViewSeam();
      if (view) PostMessageA(DrawingFrameOfView(view), WM_CLOSE, 0, 0);
      return 1;
    }
    case 4006:
      PostMessageA(w, WM_CLOSE, 0, 0);
      return 1;
  }
  return 1;
}

LRESULT CShellHostSeam::OnEndCmd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CShellHostSeam::OnEndAckFlag(UINT, WPARAM wParam, LPARAM, BOOL&) {
  acceptFlag = (int)wParam;
  return 1;
}

LRESULT CShellHostSeam::OnOpenDrawingFile(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (!frame || !lParam) return 0;
  char path[MAX_PATH];
  DbcsCopy(path, sizeof path, (const char*)lParam);
  return OpenDrawingFileSeam(frame->m_hWnd, path) ? 1 : 0;
}

LRESULT CShellHostSeam::OnNewDrawingWindow(UINT, WPARAM, LPARAM, BOOL&) {
  if (!frame) return 0;
  return (LRESULT)frame->NewDrawingWindow(frame->m_hWnd, 0, nullptr, nullptr);
}

void TakeOverCommandLine(HWND frame, const char* text) {
  SendMessageA(frame, UM_END_CMD, 0, 0);
  ParseCommandLine(frame, text, -1);
}

int RunServiceCmd(HWND frame, WPARAM wParam, LPARAM lParam) {
  int id = LOWORD(wParam);
  switch (id) {
    case 1227: {  // a second start handed over its command line as an atom
      char text[1025] = {};
      if (lParam && GlobalGetAtomNameA((ATOM)lParam, text, sizeof text) > 0)
        TakeOverCommandLine(frame, text);
      return 1;
    }
    case 1228:  // a second start without a command line
      SendMessageA(frame, UM_END_CMD, 0, 0);
      PostMessageA(frame, UM_NEW_DRAWING_WINDOW, 0, 0);
      return 1;
  }
  ShellTrace("Service %d", id);
  return 0;
}

int ExecPanelInterruptCmd(HWND, WPARAM wParam, LPARAM) {
  ShellTrace("Interrupt %d", (int)LOWORD(wParam));
  return 0;
}
