// The right-click pop-up panel ("MyRPitem"): a borderless window of entry
// windows ("RPMENU") in columns: a copy of the docked application-panel
// page, the recent-command submenu, OK / Cancel / End of command, the
// entries of the right-click menu file and a row of snap buttons. The plain
// form of the same contents is a Win32 pop-up menu, the only form that also
// lists the entries a command registered.
#pragma once

#include <windows.h>

#include <cstddef>

// State the wait loops and menus read.
struct RPMenuStateRecord {
    int shown;          // the pop-up is open (equal to windowOpen)
    int windowOpen;     // the pop-up panel is being built or is shown
    int ownerDrawn;     // unused
    int editFocus;      // a panel edit field holds the focus
    int relativeInput;  // relative-input switch
    double relativeX, relativeY;
    int gridSnap;      // grid-snap switch
    int rightClickOk;  // a right click posts WM_COMMAND 1219 instead
    int hideFlags;     // 1 OK, 2 Cancel, 4 recent commands, 8 menu-file entries
    int itemsEnabled;  // the running command's entries (and the page copy) are offered
};
extern RPMenuStateRecord RPMenuState;

// One entry a command registered.
struct RPMenuItem {
    char text[80];
    int id;
    int kind;  // 0 free, 1 entry, 2 separator, 4 next entry starts a column
};
constexpr int kRPMenuMaxItems = 39;
extern RPMenuItem RPMenuItemTable[kRPMenuMaxItems];
constexpr int RPMENU_BASE_ID = 1260;

// Layout of the pop-up panel while it is built.
struct RPMenuLayoutRecord {
    HWND popupWindow;
    int columnX, nextY, bottom, columnWidth;
    int entryCount, firstResizeEntry;
    HWND entryWindows[100];
    int stripCount;
    HWND stripWindows[100];
    int buildingSubmenu;
    int saved[5];
    HMENU plainMenu, historyMenu;
};
extern RPMenuLayoutRecord RPMenuLayout;

// Message the pop-up is posted when it closes.
constexpr UINT kRPMenuClosedMessage = 1074;
constexpr int kRPMenuMinHeight = 215;

// What the pop-up needs of the application object: the recent commands
// appended to a menu or, while the panel is built, as entries.
struct RPMenuLinks {
    void (*appendRecentCommands)(HANDLE target) = nullptr;
};
RPMenuLinks& RPMenuHost();

// Creates the hidden pop-up window (132 x 155) owned by `owner`. 1.
int CreateRPMenuWindow(HWND owner, HINSTANCE instance);
HWND RPMenuWindow();
// Opens the pop-up for a right click in `view` at a client point packed as
// in a mouse message; force 1 for a right-button drag (bypasses the OK mode).
void BuildRPMenu(HWND view, LPARAM point, int force);
// 1 when the pop-up was open (it is hidden and posted 1074), 0 otherwise.
int CloseRPMenu();
// The window counterpart of AppendMenu while the panel is built (target a
// window), else AppendMenu on the target menu. flags: 0x10 submenu entry,
// 0x20 new column, 0x800 separator.
int AppendRPMenuItem(HANDLE target, UINT flags, UINT_PTR idOrWindow, const char* text);
// The plain form's menu (not tracked); the caller destroys it.
HMENU BuildRPMenuPlain();

// Command-defined entries.
void ResetRPMenuItems(int enabled = 0);
int ClearRPMenuItems();
int EnableRPMenuItems(WPARAM wParam, LPARAM useCommandItems);
// Request fields: text at +0x08, kind at +0x28, id at +0x2c. 1, 0 when the
// table is full. The text is cut at 79 bytes.
int AddRPMenuItem(WPARAM wParam, const void* request);
int SetRPMenuRightClickOk(int on);
int SetRPMenuHideFlags(WPARAM wParam, int bits);
// Entries in use (kind not 0).
int RPMenuItemCount();
// Raises the panel input event of an entry (push, its id); 0 for an index
// outside the table.
int RaiseRPMenuItemEvent(int index);

// The menu-file token buffer: a committed 65,535-byte block. 1 on success.
int AllocRPMenuBuffer();
void FreeRPMenuBuffer();
// Parses the right-click menu file into the token buffer; 0 when it cannot
// be opened. Tokens that would not fit are dropped whole.
int LoadRPMenuFile(const char* path);
const char* RPMenuBuffer();
// Appends the file's entries to a menu or, while the panel is built, to the
// pop-up. 1.
int AppendRPMenuFileItems(HANDLE target);

int RegisterRPMenuClasses(HINSTANCE instance);
int UnregisterRPMenuClasses(HINSTANCE instance);
// "RPMENU", the entry class (registered with the panel classes).
int RegisterRPMenuEntryClass(HINSTANCE instance);
