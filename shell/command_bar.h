// The main frame's menu bar: the framework's command bar in the first band of
// the rebar, following the menus of the MDI client. Before a popup opens the
// active drawing window sees WM_INITMENU first, so that it sets its own check
// marks; the frame, the command target, then sees it as usual.
#pragma once

#include <windows.h>

#include "win/command_bar.h"

class CMDICommandBarCtrlEx : public CCommandBar {
 public:
  // Created at a menu bar's height, so that the rebar band made for it
  // before the menu is attached already has its height.
  HWND Create(HWND parent);
  void AttachMenu(HMENU menu) { CCommandBar::AttachMenu(menu); }
  HMENU Menu() const { return GetMenu(); }
  // Drops down the popup of button `index`; returns when it closed.
  void TrackPopup(int index) { OpenMenu(index); }
  // Alt+character: the popup whose text has "&c"; 0 when none.
  int OpenByMnemonic(char c) { return OpenMenuByMnemonic(c) ? 1 : 0; }
  // Takes over the MDI client's menu messages.
  void TrackMDIClient(HWND mdiClient) { SetMDIClient(mdiClient); }

  BEGIN_MSG_MAP(CMDICommandBarCtrlEx)
    MESSAGE_HANDLER(WM_INITMENU, OnInitMenu)
    CHAIN_MSG_MAP(CCommandBar)
  END_MSG_MAP()

 private:
  LRESULT OnInitMenu(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
};
