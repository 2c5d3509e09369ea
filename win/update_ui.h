// Update-UI: one table of command ids with their enabled, checked and text
// state, applied to menus when they open and to toolbars and status-bar
// panes when asked (from an idle handler, typically).
//
//   m_ui.UIAdd(59392, UPDUI_MENUPOPUP | UPDUI_TOOLBAR);
//   m_ui.UIAddToolBar(toolbar);
//   ...
//   BOOL OnIdle() override {          // the frame's idle handler
//     m_ui.UISetCheck(59392, toolbarShown);
//     m_ui.UIUpdateToolBar();
//     return FALSE;
//   }
//   BEGIN_MSG_MAP(CMainFrame) ... CHAIN_MSG_MAP_MEMBER(m_ui) ... END_MSG_MAP()
//
// The map applies the table to every popup menu as it opens
// (WM_INITMENUPOPUP), and to the command items of the menu bar itself when
// it becomes active (WM_INITMENU), and passes both messages on. Ids not in the table are
// left as they are. A toolbar is only touched for ids whose state changed
// since it was last updated.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/msg_map.h"

enum : DWORD {
    UPDUI_MENUPOPUP = 0x0001,  // items of popup menus
    UPDUI_MENUBAR = 0x0002,    // items of the menu bar itself
    UPDUI_TOOLBAR = 0x0004,    // buttons of the registered toolbars
    UPDUI_STATUSBAR = 0x0008,  // the id is a pane index of the status bars
};

class CUpdateUI : public CMessageMap {
public:
    // Adds an id with the places it shows in; enabled, unchecked, no text.
    // Adding it again changes only its places.
    void UIAdd(UINT id, DWORD kinds);
    bool UIHas(UINT id) const { return Find(id) != nullptr; }

    BOOL UIEnable(UINT id, bool enable);
    BOOL UISetCheck(UINT id, int check);  // 0 off, 1 on, 2 indeterminate
    BOOL UISetText(UINT id, const char* text);
    bool UIIsEnabled(UINT id) const;
    int UIGetCheck(UINT id) const;

    void UIAddToolBar(HWND toolbar);
    void UIAddStatusBar(HWND statusbar);
    void UIRemoveWindow(HWND bar);  // a toolbar or status bar that goes away

    // Applies the table to a menu: its items, and with `deep` its submenus.
    void UIUpdateMenu(HMENU menu, bool deep = false) const;
    void UIUpdateToolBar(bool force = false);
    void UIUpdateStatusBar(bool force = false);

    BEGIN_MSG_MAP(CUpdateUI)
    MESSAGE_HANDLER(WM_INITMENU, OnInitMenu)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    END_MSG_MAP()

private:
    struct Entry {
        UINT id;
        DWORD kinds;
        bool enabled = true;
        int check = 0;
        bool hasText = false;
        std::string text;
        DWORD changedBars = ~0u;  // kinds whose bars have not seen the state yet
    };
    Entry* Find(UINT id);
    const Entry* Find(UINT id) const;
    void ApplyToMenuItem(HMENU menu, int pos, const Entry& e) const;
    LRESULT OnInitMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);

    std::vector<Entry> m_entries;
    std::vector<HWND> m_toolbars;
    std::vector<HWND> m_statusbars;
};
