// State of one drawing kept equal across all of its windows: modified flag,
// file name, titles; and small services over the views of a drawing.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

// Sets the modified flag in every view of the drawing of `view` (null: the
// active view). 1, or 0 without view or record.
int SetDrawingModified(HWND view);
// Clears the modified flag in every view of `view`'s drawing (null: the
// active view). 1.
int ClearDrawingModified(HWND view = nullptr);
// Copies `fileName` into every view of `view`'s drawing and retitles them;
// an empty name clears it. A non-zero `reserved` changes nothing. 1.
int SetDrawingFileName(HWND view, int reserved, const char* fileName, int reserved2 = 0);
// Titles the view's frame "title : n -[file]" from the drawing title, the
// window number (0 for none) and the file name, with " (参照)" when the
// drawing is read-only. A drawing without a title keeps the name its
// frame was created with.
void SetViewTitle(HWND view, DbHeader* db, int number);
// After a command replaced a drawing's contents: marks it modified, retitles
// its views, clears the untitled number, fits the paper and repaints. 1.
int ResetViewAfterDbChange(void* dbInfo, HWND view);
// Repaints every view of `view`'s drawing.
void InvalidateDrawingViews(HWND view);
// Closes every drawing window without file name, not modified and whose
// drawing holds no element (WM_CLOSE sent to its frame). 1.
int CloseEmptyUntitledViews(int ignored = 0);
// Number of elements of the view's drawing (null: the active view); 0
// without view or database.
long GetViewElementCount(HWND view);
// Both scroll bars of the view to position 50 of 0-100.
void CenterViewScrollBars(HWND view);
// Tells the tool panel that the active view changed (WM_COMMAND 3821 sent,
// WM_COMMAND 3311 with code 1 posted). 1.
int NotifyToolPanelViewChange();
