// The selection state of elements (flag word bit 0 and highlight colour,
// carried into group members) and the beep of the element services.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

// Kinds whose members take the selection of the group.
inline bool IsSelectionGroupKind(int kind) { return kind == kElmGroup || kind == kElmGroup2 || kind == kElmCompound; }

// Calls fn(member) for every member of a group through the member links,
// nested members included (a nested group adds its own count).
template <class Fn>
void ForEachMemberLink(StoredElement* group, Fn fn) {
    if (!group) return;
    long left = group->count;
    for (StoredElement* m = group->member; m && left > 0; m = m->member) {
        --left;
        if (IsSelectionGroupKind(m->rec.kind)) left += m->count;
        fn(m);
    }
}

// Selects the element (bit 0 and the current highlight colour, members
// too) and draws it in the views of `view` (null: the active view). 0 for
// a null element.
int SelectElement(HWND view, StoredElement* element);
// Reads and writes back a remembered selection state.
int GetElementSelection(StoredElement* element, uint32_t* flags, uint32_t* colour);
int SetElementSelection(HWND view, StoredElement* element, uint32_t flags, uint32_t colour);

// kind 2: the error beep; others: the plain beep; a configured sound file
// is played instead.
void PlayBeep(int kind);
