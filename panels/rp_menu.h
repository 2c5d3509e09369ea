// The right-click pop-up panel ("MyRPitem"): its window, the entries a
// running command defines, and the menu-file token buffer.
#pragma once

#include <windows.h>

#include <cstddef>

// State the wait loops and menus read.
struct RPMenuStateRecord {
    int shown;          // the pop-up is open
    int windowOpen;     // the pop-up panel is being built
    int ownerDrawn;     // recent commands go through AppendRPMenuItem
    int editFocus;      // a panel edit field holds the focus
    int relativeInput;  // relative-input switch
    double relativeX, relativeY;
    int gridSnap;         // grid-snap switch
    int rightClickOk;     // a right click posts WM_COMMAND 1219 instead
    int hideFlags;        // hide flags of the fixed entries
    int useCommandItems;  // the command's own entries are shown
};
extern RPMenuStateRecord RPMenuState;

constexpr int kRPMenuMaxItems = 40;
// Message the pop-up is posted when it closes.
constexpr UINT kRPMenuClosedMessage = 1074;

// Creates the hidden pop-up window (132 x 155) owned by `owner`. 1.
int CreateRPMenuWindow(HWND owner, HINSTANCE instance);
// The pop-up window, null before it exists.
HWND RPMenuWindow();
// Opens the pop-up at a screen point (for the views' right click).
void OpenRPMenu(POINT screenPoint);
// 1 when the pop-up was open (it is hidden and posted 1074), 0 otherwise.
int CloseRPMenu();

// Owner-drawn counterpart of AppendMenu for the recent commands. For now
// it appends a plain text item.
int AppendRPMenuItem(HMENU menu, UINT flags, UINT commandId, const char* text);

// Command-defined entries.
void ResetRPMenuItems();
int ClearRPMenuItems();
int EnableRPMenuItems(WPARAM wParam, LPARAM useCommandItems);
// Request fields: text at +0x08, kind at +0x28, value at +0x2c. 1, 0 when
// the list is full.
int AddRPMenuItem(WPARAM wParam, const void* request);
int SetRPMenuRightClickOk(int on);
int SetRPMenuHideFlags(WPARAM wParam, int bits);
int RPMenuItemCount();
// Raises the panel input event of an entry (kind 1, its value); 0 for an
// index without entry.
int RaiseRPMenuItemEvent(int index);

// The menu-file token buffer: a committed 65,535-byte block. 1 on success.
int AllocRPMenuBuffer();
void FreeRPMenuBuffer();
// Parses the right-click menu file into the token buffer; 0 when it cannot
// be opened. For now: the lines are stored as read.
int LoadRPMenuFile(const char* path);
const char* RPMenuBuffer();

// The pop-up classes; results not looked at.
int RegisterRPMenuClasses(HINSTANCE instance);
int UnregisterRPMenuClasses(HINSTANCE instance);
