#include "shell/command_bar.h"

#include <commctrl.h>

#include <cctype>
#include <string>

#include "base/dbcs.h"

HWND CMDICommandBarCtrlEx::Create(HWND parent) {
  m_owner = parent;
  HWND tb = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN | TBSTYLE_FLAT |
                                TBSTYLE_LIST | TBSTYLE_TOOLTIPS,
                            0, 0, 100, 22, parent, (HMENU)(UINT_PTR)0xE801,
                            GetModuleHandleA(nullptr), nullptr);
  if (!tb) return nullptr;
  ::SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELONG(0, 0));
  SubclassWindow(tb);
  return tb;
}

void CMDICommandBarCtrlEx::AttachMenu(HMENU menu) {
  m_menu = menu;
  if (!m_hWnd) return;
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    // A zero-terminated list of one string for the button.
    std::string s(text);
    s.push_back('\0');
    s.push_back('\0');
    int str = (int)SendMessage(TB_ADDSTRINGA, 0, (LPARAM)s.c_str());
    TBBUTTON b = {};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = 0xF100 + i;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    b.iString = str;
    SendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&b);
  }
  SendMessage(TB_AUTOSIZE);
}

void CMDICommandBarCtrlEx::TrackPopup(int index) {
  if (!m_menu || index < 0 || index >= GetMenuItemCount(m_menu)) return;
  HMENU popup = GetSubMenu(m_menu, index);
  if (!popup) return;
  RECT rc = {};
  SendMessage(TB_GETITEMRECT, index, (LPARAM)&rc);
  MapWindowPoints(m_hWnd, nullptr, (POINT*)&rc, 2);
  int id = 0xF100 + index;
  SendMessage(TB_PRESSBUTTON, id, MAKELONG(TRUE, 0));
  // The active drawing window sees WM_INITMENU first (it sets its checks),
  // then the owner; the owner receives the chosen command.
  if (HWND child = (HWND)::SendMessageA(m_owner, WM_MDIGETACTIVE, 0, 0))
    ::SendMessageA(child, WM_INITMENU, (WPARAM)m_menu, 0);
  ::SendMessageA(m_owner, WM_INITMENU, (WPARAM)m_menu, 0);
  TPMPARAMS tpm = {sizeof tpm, rc};
  TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, rc.left, rc.bottom,
                   m_owner, &tpm);
  SendMessage(TB_PRESSBUTTON, id, MAKELONG(FALSE, 0));
}

int CMDICommandBarCtrlEx::OpenByMnemonic(char c) {
  if (!m_menu) return 0;
  int count = GetMenuItemCount(m_menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    GetMenuStringA(m_menu, i, text, sizeof text, MF_BYPOSITION);
    const char* amp = DbcsFindChar(text, '&');
    if (amp && amp[1] && std::toupper((unsigned char)amp[1]) == std::toupper((unsigned char)c)) {
      TrackPopup(i);
      return 1;
    }
  }
  return 0;
}

LRESULT CMDICommandBarCtrlEx::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
  int index = (int)SendMessage(TB_HITTEST, 0, (LPARAM)&pt);
  if (index < 0 || index >= (int)SendMessage(TB_BUTTONCOUNT)) {
    handled = FALSE;
    return 0;
  }
  TrackPopup(index);
  return 0;
}

void CMDICommandBarCtrlEx::TrackMDIClient(HWND mdiClient) {
  m_client.bar = this;
  m_client.SubclassWindow(mdiClient);
}

LRESULT CMDICommandBarCtrlEx::ClientHook::OnSetMenu(UINT msg, WPARAM wParam, LPARAM lParam,
                                                    BOOL&) {
  // The client keeps its window list in the Window popup; the frame menu
  // goes to the bar instead of the frame.
  if (wParam) bar->AttachMenu((HMENU)wParam);
  return DefWindowProc(msg, 0, lParam);
}

LRESULT CMDICommandBarCtrlEx::ClientHook::OnRefreshMenu(UINT msg, WPARAM wParam, LPARAM lParam,
                                                        BOOL&) {
  LRESULT r = DefWindowProc(msg, wParam, lParam);
  ::SetMenu(::GetParent(m_hWnd), nullptr);
  return r;
}
