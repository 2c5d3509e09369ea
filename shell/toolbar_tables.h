// The fixed toolbar groups and the button-to-command table.
#pragma once

#include <windows.h>

#include <cstddef>

struct ToolbarGroupDef {
    int visible;
    const char* caption;
    int resLarge, resMedium, resSmall;
    HWND window;
};

struct ToolbarButtonDef {
    int buttonId;
    int commandId;
    const char* caption;
};

extern const ToolbarGroupDef ToolbarGroupTable[10];
extern const ToolbarButtonDef ToolbarButtonTable[70];
const size_t kToolbarGroupCount = 10;
const size_t kToolbarButtonCount = 70;

// Band ids: the command bar is 60160, toolbars follow in list order.
const UINT kFirstBandId = 60160;
const UINT kToolbarControlId = 0xE800;

// The button id of the first row with this command id; the command id
// itself when no row has it.
int ToolbarButtonFromCommand(int commandId);
// 1 and the row when a group of the fixed table has this caption.
int FindToolbarGroup(const char* caption, ToolbarGroupDef* row);
