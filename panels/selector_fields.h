// The attribute field classes that command modules place in their own
// dialogs (colour "cmdcolorclass" / "cmdcolorclass2", line type
// "cmdltypeclass", width "cmdlwidclass", line start "cmdltermsclass", line
// end "cmdltermeclass", point marker "cmdpointclass"): a field showing the
// value with its sample that drops down the list of all values on a click.
// Messages 1025 (colour: reload the table), 1026 set, 1027 get, 1028 flags
// (bit 0 button mode, bit 1 compact), 1029 (line ends: disable a type);
// a choice is told to the parent as WM_COMMAND (id, code 1).
#pragma once

#include <windows.h>

#include <cstdint>

#pragma pack(push, 1)
// The colour field's record (and the process-wide template it is filled from).
struct ColourTableRecord {
    int32_t index;
    COLORREF colours[257];  // entries 0..255 used
    int32_t numbers[257];
    int32_t count;
    int32_t flags;
};
#pragma pack(pop)
static_assert(sizeof(ColourTableRecord) == 2068, "colour table record");
static_assert(offsetof(ColourTableRecord, numbers) == 1032 && offsetof(ColourTableRecord, count) == 2060,
              "colour table record layout");

extern ColourTableRecord ColorTableTemplate;

LRESULT CALLBACK AttrFieldProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK AttrDropProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
