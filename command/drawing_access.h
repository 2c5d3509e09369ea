// The drawings as the element, undo, page and temporary-database services
// see them: views, their databases, the modified state, the painters and
// the page state, reached through the host services table (host_hooks.h).
// Every call answers "nothing there" (null, 0) when its service is empty.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

namespace drawing {

HWND ActiveView();
DbHeader* ViewDb(HWND view);  // null: no view, no record or no database
DbHeader* ActiveDb();
HWND ViewOfDb(DbHeader* db);  // first view showing the database, or null

// The drawing of `view` (null: the active one) changed: it is marked
// modified in every window that shows it.
void MarkModified(HWND view);
// The same for the drawing that holds `db`; nothing for a database no
// window shows (a module's scratch database, the temporary database).
void MarkDbModified(DbHeader* db);
// What a drawing shows changed: the layout-view and loupe pop-ups follow.
void RefreshPopups();

// The painters: colour 0 erases, 1-256 a pen, negative the own colours.
void DrawElement(HWND view, int colour, const void* element);
void DrawMark(int colour, CadMark* mark);

// The active drawing's current page and page state.
int CurrentPage();
bool GetPageState(PageStateBlock* state);

// Reads an element of `db` (a member too) into `rec`; false when the handle
// is not an element of that database.
inline bool ReadOwn(StoredElement* e, DbHeader* db, ElementRecord* rec) {
    return e && db && DAriReadElement(e, 4, rec, db) != nullptr;
}

// Element and mark handles travel in 32-bit request words.
inline StoredElement* Element(uint32_t word) { return reinterpret_cast<StoredElement*>(word); }
inline CadMark* Mark(uint32_t word) { return reinterpret_cast<CadMark*>(word); }
inline uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace drawing
