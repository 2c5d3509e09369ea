#include "view/view_table.h"

#include <cstring>

#include "base/dbcs.h"
#include "command/command_ids.h"
#include "panels/panel_windows.h"
#include "base/system_log.h"
#include "command/host_messages.h"
#include "view/cadwin_frame.h"
#include "view/drawing_state.h"
#include "view/file_lock.h"
#include "view/key_cursor.h"
#include "view/view_data.h"

HWND ViewTable[kViewTableSize];

namespace {

struct InputLock {
    int locked = 0;
    HWND view = nullptr;
} g_inputLock;

int SlotOf(HWND view) {
    if (!view) return -1;
    for (int i = 0; i < kViewTableSize; ++i)
        if (ViewTable[i] == view) return i;
    return -1;
}

// Equal ignoring the case of single-byte letters; double-byte characters
// must match exactly (their trail bytes may look like letters).
bool SameFileName(const char* a, const char* b) {
    while (*a && *b) {
        size_t la = DbcsCharLength(a), lb = DbcsCharLength(b);
        if (la != lb) return false;
        if (la == 1) {
            unsigned char ca = (unsigned char)*a, cb = (unsigned char)*b;
            if (ca >= 'a' && ca <= 'z') ca -= 32;
            if (cb >= 'a' && cb <= 'z') cb -= 32;
            if (ca != cb) return false;
        } else if (std::memcmp(a, b, la) != 0) {
            return false;
        }
        a += la;
        b += lb;
    }
    return *a == *b;
}

// The MDI client the drawing frames live in, reached through any view in
// the table (view -> frame -> client).
HWND MdiClientOfViews() {
    for (HWND v : ViewTable) {
        if (!v || !::IsWindow(v)) continue;
        HWND frame = ::GetParent(v);
        HWND client = frame ? ::GetParent(frame) : nullptr;
        if (client && ::IsWindow(client)) return client;
    }
    return nullptr;
}

}  // namespace

int FindFreeViewSlot() {
    for (int i = 0; i < kViewTableSize; ++i)
        if (!ViewTable[i]) return i;
    return -1;
}

int AddViewToTable(HWND view) {
    if (!view) return -1;
    int slot = FindFreeViewSlot();
    if (slot >= 0) ViewTable[slot] = view;
    return slot;
}

HWND PeekActiveView() {
    HWND client = MdiClientOfViews();
    HWND child = client ? (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, 0) : nullptr;
    return child ? (HWND)::SendMessageA(child, UM_GET_VIEW, 0, 0) : nullptr;
}

HWND GetActiveView() {
    HWND wanted = PeekActiveView();
    int slot = SlotOf(wanted);
    if (slot < 0) {
        for (int i = 0; i < kViewTableSize; ++i)
            if (ViewTable[i]) {
                slot = i;
                break;
            }
    }
    if (slot < 0) return nullptr;
    HWND result = ViewTable[slot];
    if (!::IsWindow(result)) return nullptr;
    ViewTable[slot] = ViewTable[0];
    ViewTable[0] = result;
    return result;
}

HWND GetNextView(HWND view) {
    int slot = SlotOf(view);
    if (slot < 0) return nullptr;
    for (int i = slot + 1; i < kViewTableSize; ++i)
        if (ViewTable[i]) return ViewTable[i];
    return nullptr;
}

DbHeader* GetViewDb(HWND view) {
    ViewData* d = GetViewData(view);
    return d ? d->db : nullptr;
}

DbHeader* GetActiveViewDb() { return GetViewDb(GetActiveView()); }

HWND FindViewByDb(DbHeader* db) {
    if (!db) return nullptr;
    for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
        ViewData* d = GetViewData(v);
        if (!d) break;
        if (d->db == db) return v;
    }
    return nullptr;
}

HWND FindViewByFileOrDrawing(const char* fileName, HWND view) {
    HWND best = nullptr;
    int bestNumber = 0;
    if (fileName && fileName[0]) {
        for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
            ViewData* d = GetViewData(v);
            if (!d) continue;
            if (!SameFileName(d->fileName, fileName)) continue;
            if (!best || d->windowNumber > bestNumber) {
                best = v;
                bestNumber = d->windowNumber;
            }
        }
        return best;
    }
    ViewData* mine = GetViewData(view);
    if (!mine) return nullptr;
    const int id = mine->drawingId;
    for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
        ViewData* d = GetViewData(v);
        if (!d) break;
        if (d->drawingId != id) continue;
        if (!best || d->windowNumber > bestNumber) {
            best = v;
            bestNumber = d->windowNumber;
        }
    }
    return best;
}

int CountDrawingViews(HWND view) {
    ViewData* mine = GetViewData(view);
    if (!mine) return 0;
    int count = 0;
    for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
        ViewData* d = GetViewData(v);
        if (d && d->drawingId == mine->drawingId) ++count;
    }
    // A view not (yet) in the table still counts itself.
    if (SlotOf(view) < 0) ++count;
    return count;
}

HWND ActivateViewFrame(HWND view) {
    HWND before = GetActiveView();
    HWND frame = view ? ::GetParent(view) : nullptr;
    HWND client = frame ? ::GetParent(frame) : nullptr;
    if (client && ::IsWindow(client) && frame && ::IsWindow(frame))
        ::SendMessageA(client, WM_MDIACTIVATE, (WPARAM)frame, 0);
    return before;
}

int LockInputToActiveView(WPARAM, LPARAM) {
    g_inputLock.locked = 1;
    g_inputLock.view = GetActiveView();
    return 1;
}

int UnlockInput() {
    g_inputLock.locked = 0;
    g_inputLock.view = nullptr;
    return 1;
}

int IsInputLocked() { return g_inputLock.locked ? 1 : 0; }

int IsInputLockView(HWND window) { return (g_inputLock.locked && window && window == g_inputLock.view) ? 1 : 0; }

int CloseView(HWND view) {
    if (IsKeyCursorMode()) ToggleKeyCursorMode();
    HWND frame = view ? ::GetParent(view) : nullptr;
    HWND client = frame ? ::GetParent(frame) : nullptr;
    HWND main = client ? ::GetParent(client) : nullptr;
    if (!CadwinHost().mainFrameClosing && main) ::SendMessageA(main, UM_END_CMD, 0, 0);
    ViewData* d = GetViewData(view);
    if (!d) {
        WriteSystemLog(0, "Error", "Windowデータが読み取れません");
        // Still leave the table: a stale handle must never be found again.
        int slot = SlotOf(view);
        if (slot >= 0) {
            for (int i = slot; i + 1 < kViewTableSize; ++i)
                ViewTable[i] = ViewTable[i + 1];
            ViewTable[kViewTableSize - 1] = nullptr;
        }
        return 1;
    }
    WriteSystemLog(3, "Window Exit", "HANDLE=%ld", (long)(LONG_PTR)view);
    int others = 0;
    if (d->shared == 1) {
        const int count = CountDrawingViews(view);
        if (count == 2) {
            for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
                ViewData* o = GetViewData(v);
                if (v == view || !o || o->drawingId != d->drawingId) continue;
                o->shared = 0;
                o->windowNumber = 1;
                SetViewTitle(v, o->db, 0);
                ++others;
            }
        } else if (count >= 3) {
            int n = 0;
            for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
                ViewData* o = GetViewData(v);
                if (v == view || !o || o->drawingId != d->drawingId) continue;
                o->windowNumber = ++n;
                SetViewTitle(v, o->db, n);
                ++others;
            }
        }
    }
    // The lock belongs to the drawing: its last window lets it go; an
    // earlier one hands it on to a window of the drawing that stays.
    if (others == 0 && d->db) {
        UnlockDrawingFile(view, d);
    } else if (d->fileLocked || d->lockHandle) {
        for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
            ViewData* o = GetViewData(v);
            if (v == view || !o || o->drawingId != d->drawingId) continue;
            o->fileLocked = d->fileLocked;
            o->lockHandle = d->lockHandle;
            d->fileLocked = 0;
            d->lockHandle = nullptr;
            break;
        }
    }
    ::SetWindowLongPtrA(view, 0, 0);
    if (g_inputLock.view == view) UnlockInput();
    if (HWND panel = ToolPanelWindow()) {
        ::SendMessageA(panel, WM_COMMAND, ID_PANEL_VIEW_CHANGED, 0);
        ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(ID_PANEL_VIEW_REFRESH, 1), 0);
    }
    int slot = SlotOf(view);
    if (slot >= 0) {
        for (int i = slot; i + 1 < kViewTableSize; ++i)
            ViewTable[i] = ViewTable[i + 1];
        ViewTable[kViewTableSize - 1] = nullptr;
    }
    WriteSystemLog(3, "Window Exit", "End");
    return 1;
}

namespace {
struct SaveQuestionEntry {
    int32_t inUse;
    int32_t drawingId;
    char fileName[257];
};
SaveQuestionEntry g_asked[kViewTableSize];
}  // namespace

void ClearSaveQuestionList() { std::memset(g_asked, 0, sizeof g_asked); }

int IsSaveQuestionNeeded(HWND view) {
    ViewData* d = GetViewData(view);
    if (!d || !d->db || !d->modified) return 0;
    if (!CadwinHost().closingAllDrawings) return CountDrawingViews(view) > 1 ? 0 : 1;
    for (SaveQuestionEntry& e : g_asked) {
        if (e.inUse == 1) {
            if (e.drawingId == d->drawingId) return 0;
            continue;
        }
        e.inUse = 1;
        e.drawingId = d->drawingId;
        lstrcpynA(e.fileName, d->fileName, sizeof e.fileName);
        return 1;
    }
    return 1;
}

namespace {
HWND SkipScrollButtons(HWND w) {
    char cls[260];
    while (w) {
        if (!::GetClassNameA(w, cls, sizeof cls) || ::lstrcmpiA(cls, "SCBTN") != 0) return w;
        w = ::GetWindow(w, GW_HWNDNEXT);
    }
    return nullptr;
}
}  // namespace

HWND GetFirstChildWindow(HWND view) { return view ? SkipScrollButtons(::GetWindow(view, GW_CHILD)) : nullptr; }

HWND GetNextChildWindow(HWND child) { return child ? SkipScrollButtons(::GetWindow(child, GW_HWNDNEXT)) : nullptr; }
