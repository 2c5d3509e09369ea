// The input history of the panel's edit and combo items, one list per key
// (the item's label), most recent first. A key beginning with "~" has none.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr int kInputHistoryMax = 24;
constexpr UINT kInputHistoryFirstId = 1236;  // menu ids 1236 .. 1259

bool IsInputHistoryEnabled(const char* key);
// Adds a text at the front (an equal entry moves there).
void AddInputHistory(const char* key, const char* text);
// Entry k into out (bounded); false when there is none.
bool GetInputHistoryItem(const char* key, int k, char* out, size_t size);
// A pop-up menu of the entries at the cursor; the choice reaches `owner` as
// WM_COMMAND 1236 + k. 0 when there is no entry.
int ShowInputHistoryMenu(const char* key, HWND owner);
void ClearInputHistory();
