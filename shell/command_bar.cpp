#include "shell/command_bar.h"

HWND CMDICommandBarCtrlEx::Create(HWND parent) {
  HWND h = CCommandBar::Create(parent);
  if (h) ::SetWindowPos(h, nullptr, 0, 0, 100, 22, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  return h;
}

LRESULT CMDICommandBarCtrlEx::OnInitMenu(UINT msg, WPARAM wParam, LPARAM lParam,
                                         BOOL& handled) {
  HWND client = GetMDIClient();
  if (HWND child = client ? (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr)
    ::SendMessageA(child, msg, wParam, lParam);
  handled = FALSE;  // the bar forwards it on to the frame
  return 0;
}
