// Element editing and groups for command modules: append, change and
// delete elements, build and take apart groups and placed figures. Every
// operation guards the element's page, brings new records into the plane
// and marks the drawing that changed as modified.
#pragma once

#include <windows.h>

#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"

// 1 when `page` of the drawing `db` (null: the active drawing) may be
// edited; otherwise 0 after telling the user: a page outside 0-511 always,
// a reference page once per command.
int CheckPageEditable(int page, DbHeader* db = nullptr);

// Brings an element record into the plane (z 0, normals along z) unless
// the module asked for records to be kept as passed.
void FlattenRecord(void* record174);

// The drawing a request names: its view (+0x24) or, when it names none,
// the active view.
HWND RequestView(const CmdRequest* req);

StoredElement* AppendElementToActive(const void* record);       // UM_APPEND_ELEMENT
StoredElement* AppendRequestElement(const CmdRequest* req);     // UM_APPEND_ELEMENT_EX
int ChangeRequestElement(const CmdRequest* req);                // UM_CHANGE_ELEMENT
int DeleteRequestElement(WPARAM flags, const CmdRequest* req);  // UM_DELETE_ELEMENT
int DeleteMarkedElements(CadMark* mark);                        // UM_DELETE_MARKED
StoredElement* MakeGroup(const CmdRequest* req);                // UM_MAKE_GROUP
int AddToGroup(const CmdRequest* req);                          // UM_ADD_TO_GROUP
StoredElement* AppendGroup(const CmdRequest* req);              // UM_APPEND_GROUP
int ExplodeFigure(const CmdRequest* req);                       // UM_EXPLODE_FIGURE
int ExplodeGroup(const CmdRequest* req);                        // UM_EXPLODE_GROUP
StoredElement* GetGroupHeaderOf(const CmdRequest* req);         // UM_GET_GROUP_HEADER
StoredElement* ReadFirstMember(const CmdRequest* req);          // UM_READ_FIRST_MEMBER
StoredElement* ReadNextMember(const CmdRequest* req);           // UM_READ_NEXT_MEMBER

// Resets the extra data of a copied element by its mode bits (bit 0: the
// transform is not the identity; bit 1: a layer, page or drawing changed).
int ResetExtraData(StoredElement* element, int mode);
// Set by explosion and by the copies: other kind-21 groups lose slot 38 too.
int& ExtraDataSwitch();

// A new figure definition in `target` holding copies of the members of the
// definition that `figure` (a placed figure of `source`) uses; null when
// that figure names none.
StoredElement* CopyFigureDefinition(DbHeader* source, DbHeader* target, StoredElement* figure);

// Calls fn(member, record) for every member of a group, nested members
// included, in member order (record: the member's 174 bytes).
template <class Fn>
void ForEachMember(StoredElement* group, DbHeader* db, Fn fn);

// Element kinds that hold members.
inline bool IsGroupElementKind(int kind) { return kind == kElmGroup || kind == kElmGroup2; }

// The direct members of a group, without the members of nested groups.
std::vector<StoredElement*> DirectMembers(StoredElement* group);
// Copies the members of `from` (nested groups with their members) under
// `into`, a group of `db` (`from` may belong to another database); the
// count copied.
int CopyMembersInto(DbHeader* db, StoredElement* from, StoredElement* into);

// ---------------------------------------------------------------------------
template <class Fn>
void ForEachMember(StoredElement* group, DbHeader* db, Fn fn) {
    if (!group) return;
    // The members form one list in depth-first order; the counts say where
    // the group's own part of it ends.
    long left = group->count;
    ElementRecord rec;
    for (StoredElement* m = DAriReadFirstMember(group, &rec, db); m && left > 0; m = DAriReadNextMember(m, &rec, db)) {
        --left;
        const int kind = rec.kind;
        if (kind == kElmGroup || kind == kElmGroup2 || kind == kElmCompound) left += m->count;
        fn(m, rec);
    }
}
