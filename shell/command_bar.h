// The menu bar drawn as a flat toolbar in the first band of the rebar: one
// text button per top-level item of the menu; a click or Alt+mnemonic drops
// the popup down under its button. Commands chosen go to the main frame.
// The MDI client's WM_MDISETMENU is taken over, so that the frame never
// gets a window menu bar of its own while the bar shows the menu.
#pragma once

#include <windows.h>

#include "win/window.h"

class CMDICommandBarCtrlEx : public CWindowBase {
 public:
  HWND Create(HWND parent);
  // Shows this menu (the popup texts become the buttons).
  void AttachMenu(HMENU menu);
  HMENU Menu() const { return m_menu; }
  // Drops down the popup of button `index`; returns when it closed.
  void TrackPopup(int index);
  // Alt+character: the popup whose text has "&c"; 0 when none.
  int OpenByMnemonic(char c);
  // Takes over the MDI client's menu messages.
  void TrackMDIClient(HWND mdiClient);

  BEGIN_MSG_MAP(CMDICommandBarCtrlEx)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
  END_MSG_MAP()

 private:
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);

  class ClientHook : public CWindowBase {
   public:
    CMDICommandBarCtrlEx* bar = nullptr;
    BEGIN_MSG_MAP(ClientHook)
      MESSAGE_HANDLER(WM_MDISETMENU, OnSetMenu)
      MESSAGE_HANDLER(WM_MDIREFRESHMENU, OnRefreshMenu)
    END_MSG_MAP()
    LRESULT OnSetMenu(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRefreshMenu(UINT, WPARAM, LPARAM, BOOL&);
  };

  HMENU m_menu = nullptr;
  HWND m_owner = nullptr;
  ClientHook m_client;
};
