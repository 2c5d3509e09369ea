// The menu bar of the main window, built at start-up from "ZavIrurer.mnu"
// beside the executable. Every drawing window shows it as its MDI menu.
//
// File grammar: "POPUP text" declares a popup, "BEGIN"/"END" bracket the
// items of the popup declared last on that level (nesting is unlimited),
// "MENUITEM text, id[, flag]" adds an item, "MENUITEM SEPARATOR" a
// separator. Id 99999 is a greyed heading; flag -1 keeps an item enabled
// even when its command module is not installed.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CMainMenu {
public:
    CMainMenu() = default;
    virtual ~CMainMenu();
    CMainMenu(const CMainMenu&) = delete;
    CMainMenu& operator=(const CMainMenu&) = delete;

    int LoadDefault();  // Load("ZavIrurer.mnu")
    // 0 built, 1 already built, -1 no file or no menu bar.
    int Load(const char* fileName);
    // The first top-level item whose text holds "ｳｨﾝﾄﾞｳ(&W)" becomes the
    // Window menu: its position from the end and its text are kept.
    void FindWindowMenu();
    // Check and enable rules for the active drawing, run when a menu opens.
    void UpdateItems(HMENU menu);

    HMENU Handle() const { return m_hMenu; }
    int WindowMenuPos() const { return m_windowMenuPos; }
    const std::string& WindowMenuName() const { return m_windowMenuName; }
    HMENU WindowPopup() const { return m_hWindowPopup; }

private:
    int m_windowMenuPos = 11;
    std::string m_windowMenuName;
    HMENU m_hMenu = nullptr;
    std::vector<int> m_itemIds;
    HMENU m_hWindowPopup = nullptr;

    friend struct MenuBuilder;
};

// Tests decide which command modules count as installed; unset, the
// command registry answers (CmdModuleExists).
extern std::function<int(int id)> MenuModuleExistsHook;

// The Window popup of the process (the popup that holds id 1200).
extern HMENU WindowPopupMenu;

// The popup at `posFromEnd` (outside 1..count: 2) when its text equals
// `name`, or, without a name, holds "ｳｨﾝﾄﾞｳ(&W)"; else null.
HMENU FindWindowPopup(HMENU menuBar, int posFromEnd, const char* name);
// Shows `menuBar` in the MDI client's frame with its Window popup.
void SetMdiWindowMenu(HWND mdiClient, HMENU menuBar, int posFromEnd, const char* name);

// What the menu's check and enable rules read of the active drawing; the
// drawing windows fill it in (a null view leaves the view rules out).
struct MenuDrawingState {
    bool hasView = false;
    bool canUndo = false;
    bool canRedo = false;
    bool hasRasterImage = false;
    int viewMode = 0;       // 1..3
    int displayOption = 0;  // 1 paper, 0 model, 2 both
    bool overviewOn = false;
    bool inputScaleOn = false;
};
MenuDrawingState GetMenuDrawingState();
