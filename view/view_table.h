// The table of open drawing views and the lookups over it.
//
// The occupied slots form one run from slot 0: a new view takes the first
// free slot, closing a view moves the later slots down, and GetActiveView
// swaps the view it returns into slot 0. The standard walk over all views:
//   for (HWND v = GetActiveView(); v; v = GetNextView(v)) ...
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

constexpr int kViewTableSize = 256;

// Message a drawing frame answers with its view window.
constexpr UINT UM_GET_VIEW = 3524;

// Each slot holds a view window or null (free).
extern HWND ViewTable[kViewTableSize];

// Index of the first free slot, -1 when all 256 are taken.
int FindFreeViewSlot();
// Puts a view into the first free slot; its index, or -1 (nothing stored)
// when the table is full or the view is null.
int AddViewToTable(HWND view);

// The active drawing view (swapped into slot 0), or null when no drawing
// window is open. The MDI client is reached through the frames of the views
// in the table, so the lookup needs no frame of its own.
HWND GetActiveView();
// The view of the MDI client's active drawing window, or null; the table is
// left as it is (painters ask while the table is walked).
HWND PeekActiveView();
// The next view after `view` in table order, null at the end or when
// `view` is not in the table.
HWND GetNextView(HWND view);

// The database header held in the view's record, null for a null window or
// a window without record.
DbHeader* GetViewDb(HWND view);
// GetViewDb of the active view.
DbHeader* GetActiveViewDb();

// The first view in the walk whose record holds `db`; null when none.
HWND FindViewByDb(DbHeader* db);
// With a non-empty file name: the view whose file name equals it ignoring
// letter case; otherwise the view of `view`'s drawing. Among several the one
// with the highest window number (the earlier on a tie); null when none.
HWND FindViewByFileOrDrawing(const char* fileName, HWND view);
// Number of views showing `view`'s drawing (itself included); 0 without
// record.
int CountDrawingViews(HWND view);

// Activates the view's frame in the MDI client; returns the view that was
// active before.
HWND ActivateViewFrame(HWND view);

// Input lock: while set, only the locked view turns clicks into input.
int LockInputToActiveView(WPARAM wParam = 0, LPARAM lParam = 0);
int UnlockInput();
int IsInputLocked();
// Non-zero when `window` is the view input is locked to.
int IsInputLockView(HWND window);

// Takes a closing view out of the system: ends a running command, retitles
// and renumbers the other windows of its drawing (or, as its last window,
// releases the drawing's file lock), clears its window long 0, tells the
// tool panel and removes it from the table, moving later slots down. 1.
int CloseView(HWND view);

// The overview children of a view: child windows whose class is not
// "SCBTN", in z-order; null at the end.
HWND GetFirstChildWindow(HWND view);
HWND GetNextChildWindow(HWND child);
