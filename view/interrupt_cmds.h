// Interrupt commands (3000-3054): keyboard-cursor moves and searches,
// stepping the drawing attributes of the active view, zoom, scroll, undo,
// redo, ending or cancelling the running command and the mark jump. They
// arrive as WM_COMMAND ids from accelerators, menus and panel buttons
// (ExecPanelCmd) or as key texts built from the strokes in the pop-up
// windows (OnCmdKeyDown, OnCmdChar, MatchKeyTable, ExecInterruptCmd).
#pragma once

#include <windows.h>

#include <cstdint>

// One record of the key table.
#pragma pack(push, 1)
struct KeyTableRecord {
    uint8_t modifiers;  // 1 Shift, 2 Ctrl, 4 Alt, 8 a number is being typed
    int32_t command;
    char key[15];  // zero-terminated key text, compared exactly
};
#pragma pack(pop)
static_assert(sizeof(KeyTableRecord) == 20, "key table records are 20 bytes");

struct KeyTable {
    KeyTableRecord records[240];
    int32_t count;
};
KeyTable& CmdKeyTable();
// Appends a record; false when the table is full.
bool AddKeyTableRecord(uint8_t modifiers, int command, const char* key);

// State of the key road.
struct KeyRoadState {
    char keyText[16];  // the key names joined (up to 15 bytes)
    uint8_t modifiers;
};
KeyRoadState& KeyRoad();
extern int KeyMarkJumpArmed;
extern int PanelMarkJumpArmed;

// The panel dispatcher: ids 3000-3999; 0.
int ExecPanelCmd(unsigned short id);
// The key dispatcher: 1, except 0 for 3054.
int ExecInterruptCmd(int modifiers, int id);
int OnCmdKeyDown(HWND window, int key);
int OnCmdChar(HWND window, int character);
int MatchKeyTable();
int IsKeyScrollMode();

// The wraps of the attribute stepping: colour 1-256, line type 0-31,
// width 0-15.
int WrapPenColour(int colour);
int WrapLineType(int type);
int WrapLineWidth(int width);
