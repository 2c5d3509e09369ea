#include "shell/command_bar.h"

LRESULT CMDICommandBarCtrlEx::OnInitMenu(UINT msg, WPARAM wParam, LPARAM lParam,
                                         BOOL& handled) {
  HWND client = GetMDIClient();
  if (HWND child = client ? (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr)
    ::SendMessageA(child, msg, wParam, lParam);
  handled = FALSE;  // the bar forwards it on to the frame
  return 0;
}
