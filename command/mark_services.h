// Element search, picking and mark lists: the search options the host hands
// the CAD library before every search, the pick aperture, the searches in a
// rectangle and around the cursor, the picking of one element at a point
// (asking the user among several candidates), the tag search, the mark-list
// wrappers and the selection of marked elements.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"
#include "command/pick_aperture.h"

// --- Search options and aperture -------------------------------------------
// code 0: the 60-byte record; 100: locked-layer mode (value 1 on, else off);
// 101: word 1 of the record = the kind mask of area mode word 0. 1.
int SetSearchOption(int code, LPARAM recordOrValue);
// code 0: the host's record out; 100: word 0 = the locked-layer mode. 1.
int SaveSearchOption(int code, SearchOptionRecord* record);
int SetGroupSearch(int on);
// The record the host hands the library before every search.
const SearchOptionRecord& CurrentSearchOptions();
// Whether point elements with colour word 0 may not be picked.
int& PointFilter();
// The pick aperture (command/pick_aperture.h) in drawing units of the
// active view's mode, or the loupe's distance while input comes from it.
double PickAreaInDrawing();

// --- Searches ----------------------------------------------------------------
// rect: left, top, right, bottom in drawing units. A new mark, or null.
CadMark* GetElementsInRect(const double* rect);
CadMark* GetElementsInRectEx(const double* rect, int mode);
int PickElementsAtCursor(CadMark** out);
int PickElementsAtCursorEx(CadMark** out);
int PickElementAtPoint(StoredElement** out, double x, double y);
StoredElement* FindTagElement(int header, void* record);
int SetFindTagKey(int key);
int IsPointInsideRect(double x, double y, const double* rect);
int DeleteElementAt(StoredElement* element, int closeStep);
CadMark* FindActiveLinkTags(const char* key, const char* value);

// --- Mark lists (the mark first) -------------------------------------------------
CadMark* CreateMark(DbHeader* db);
int DestroyMark(CadMark* mark);
int GetMarkCount(CadMark* mark);
void* GetNextMark(CadMark* mark, void* element);
void* GetBackMark(CadMark* mark, void* element);
void* GetExtNextMark(CadMark* mark, void* element);
int SetMark(CadMark* mark, void* element);
int DelMark(CadMark* mark, void* element);
int ChkMark(CadMark* mark, void* element);

// Selects (non-zero) or clears the selection of the marked elements and
// their members; 0 for a null mark.
int SelectMarked(int select, CadMark* mark);
