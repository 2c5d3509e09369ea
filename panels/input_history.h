// The input histories of the panel's edit and combo items, one per key (the
// item's label). The histories are the shell's; the panels reach them
// through the command hooks.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "base/dbcs.h"
#include "command/host_hooks.h"

constexpr int kInputHistoryMax = 20;
constexpr UINT kInputHistoryFirstId = 1236;  // menu ids 1236 .. 1255

// A key beginning with "~" keeps no history.
inline bool PanelHistoryEnabled(const char* key) { return key && key[0] && key[0] != '~'; }

inline void PanelAddHistory(const char* key, const char* text) {
    auto& add = HostHooks().addInputHistory;
    if (add && PanelHistoryEnabled(key) && text && *text) add(text, key);
}

// The key's history as a pop-up menu at the pointer; the choice reaches
// `owner` as WM_COMMAND 1236 + k.
inline int PanelShowHistoryMenu(const char* key, HWND owner) {
    auto& show = HostHooks().showInputHistoryMenu;
    if (!show || !PanelHistoryEnabled(key)) return 0;
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(owner, &p);
    return show(owner, key, MAKELPARAM(p.x, p.y));
}

// Entry k of the history shown last into out (bounded); false when empty.
inline bool PanelHistoryItem(const char* key, int k, char* out, size_t size) {
    auto& get = HostHooks().getInputHistoryItem;
    if (!get || !out || size == 0 || k < 0 || k >= kInputHistoryMax) return false;
    char entry[300] = "";
    get(entry, k);
    if (!entry[0]) return false;
    DbcsCopy(out, size, entry);
    return true;
}
