// The undo journal: one record per change in time order, closed into steps.
// The host replays it (reverse or repeat one record at a time) and moves the
// current-record word of the header itself; the journal keeps every element
// it names alive until the record goes.
#include "cadlib/core/database.h"

#include <cstring>

namespace cad {

namespace {

const uint32_t kUndoTag = 0x554E444Fu;  // marks a live record of ours

bool IsOurRecord(const Database& db, const UndoRecord* r) {
    return r && r->reserved04 == kUndoTag && r->reserved08 == static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&db));
}

void FreeRecord(Database& db, UndoRecord* r) {
    ForgetInMarks(db, r);
    StoredElement* e = r->element;
    StoredElement* g = r->groupArg;
    if (r->saved) {
        ReleasePayload(db, *r->saved);
        db.savedRecords.Free(r->saved);
    }
    db.undoRecords.Free(r);
    if (e && UndoRefs(e) > 0) --UndoRefs(e);
    if (g && UndoRefs(g) > 0) --UndoRefs(g);
    if (e) TryFree(db, e);
    if (g) TryFree(db, g);
}

// Remove records from `from` to the newest.
void DropFrom(Database& db, UndoRecord* from) {
    if (!from) return;
    UndoRecord* before = from->prev;
    if (before)
        before->next = nullptr;
    else
        db.undoFirst = nullptr;
    db.undoLast = before;
    while (from) {
        UndoRecord* next = from->next;
        FreeRecord(db, from);
        from = next;
    }
}

// Remove the oldest records up to and including `to`.
void DropThrough(Database& db, UndoRecord* to) {
    UndoRecord* r = db.undoFirst;
    UndoRecord* after = to->next;
    bool currentGone = false;
    while (r) {
        UndoRecord* next = r->next;
        if (r == db.undoCurrent) currentGone = true;
        FreeRecord(db, r);
        if (r == to) break;
        r = next;
    }
    db.undoFirst = after;
    if (after)
        after->prev = nullptr;
    else
        db.undoLast = nullptr;
    if (currentGone) db.undoCurrent = nullptr;
}

}  // namespace

bool UndoOn(const Database& db) { return db.undoLevel != 0; }

void Record(Database& db, int kind, StoredElement* e, void* addArg, void* memberArg, ElementRecord* saved,
            StoredElement* group) {
    // A new change ends what could have been redone.
    DropFrom(db, db.undoCurrent ? db.undoCurrent->next : db.undoFirst);
    UndoRecord* r = static_cast<UndoRecord*>(db.undoRecords.Alloc());
    if (!r) {
        if (saved) {
            ReleasePayload(db, *saved);
            db.savedRecords.Free(saved);
        }
        return;
    }
    r->kind = kind;
    r->reserved04 = kUndoTag;
    r->reserved08 = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&db));
    r->element = e;
    r->addArg = addArg;
    r->memberArg = memberArg;
    r->saved = saved;
    r->groupArg = group;
    r->prev = db.undoLast;
    if (db.undoLast)
        db.undoLast->next = r;
    else
        db.undoFirst = r;
    db.undoLast = r;
    db.undoCurrent = r;
    if (e) ++UndoRefs(e);
    if (group) ++UndoRefs(group);
}

// Several windows may hold copies of one header. The journal's position is
// the library's; the host moves it in the header it replays with. A header
// whose position differs from what the library last wrote into it carries
// such a move; a copy that merely missed changes made through another copy
// is brought up to date instead.
void SyncUndo(Database& db, DbHeader* header) {
    UndoRecord* cur = header->currentUndo;
    if (cur == db.undoCurrent && header->firstUndo == db.undoFirst) return;
    for (auto& p : db.published) {
        if (p.first != header) continue;
        if (cur != p.second && (cur == nullptr || IsOurRecord(db, cur))) db.undoCurrent = cur;
        break;
    }
    Publish(db, header);
}

// Only the header of the call is written: another copy may have been freed.
void Publish(Database& db, DbHeader* header) {
    if (!header) return;
    header->firstUndo = db.undoFirst;
    header->currentUndo = db.undoCurrent;
    for (auto& p : db.published) {
        if (p.first == header) {
            p.second = db.undoCurrent;
            return;
        }
    }
    if (db.published.size() >= 64) db.published.erase(db.published.begin());
    db.published.emplace_back(header, db.undoCurrent);
}

void ClearUndo(Database& db) {
    DropFrom(db, db.undoFirst);
    db.undoFirst = db.undoLast = db.undoCurrent = nullptr;
}

}  // namespace cad

using namespace cad;

namespace {
bool Mine(Database* db, StoredElement* e) { return IsElement(e) && DbOf(e) == db; }
}  // namespace

CADAPI int ZAVAPI DAriMakUndoPass(DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    if (db->undoCurrent) db->undoCurrent->stepEnd = 1;
    Publish(*db, header);
    return 1;
}

CADAPI int ZAVAPI DAriIsUndo(DbHeader* header) {
    Database* db = Lookup(header);
    return db && db->undoCurrent ? 1 : 0;
}

CADAPI int ZAVAPI DAriIsRedo(DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    return (db->undoCurrent ? db->undoCurrent->next : db->undoFirst) ? 1 : 0;
}

CADAPI int ZAVAPI DAriClearUndoElement(DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    ClearUndo(*db);
    Publish(*db, header);
    return 1;
}

// Keep at most `steps` closed steps before the current position.
CADAPI int ZAVAPI DAriCheckUndo(int steps, int, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    if (steps <= 0) {
        ClearUndo(*db);
        Publish(*db, header);
        return 1;
    }
    for (;;) {
        int closed = 0;
        UndoRecord* oldestEnd = nullptr;
        for (UndoRecord* r = db->undoFirst; r; r = r->next) {
            if (r->stepEnd) {
                ++closed;
                if (!oldestEnd) oldestEnd = r;
            }
            if (r == db->undoCurrent) break;
        }
        if (closed <= steps || !oldestEnd) break;
        DropThrough(*db, oldestEnd);
    }
    Publish(*db, header);
    return 1;
}

CADAPI int ZAVAPI DAriUndoDelElement(StoredElement* e, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !Mine(db, e)) return 0;
    if (e->state & kStateInChain) {
        Unlink(*db, e);
        Notify(*db, ElementEvent::Removed, e);
    }
    TryFree(*db, e);
    return 1;
}

CADAPI int ZAVAPI DAriUndoAddElement(StoredElement* e, DbHeader* header, int, void* after) {
    Database* db = Lookup(header);
    if (!db || !Mine(db, e)) return 0;
    if (e->state & (kStateInChain | kStateInGroup)) return 1;
    StoredElement* a = static_cast<StoredElement*>(after);
    if (a && !(Mine(db, a) && (a->state & kStateInChain))) a = db->last;
    LinkAfter(*db, e, a);
    Notify(*db, ElementEvent::Added, e);
    return 1;
}

CADAPI int ZAVAPI DAriUndoChgElement(StoredElement* e, ElementRecord* saved, DbHeader* header, int) {
    Database* db = Lookup(header);
    if (!db || !Mine(db, e) || !saved) return 0;
    ElementRecord t = e->rec;
    e->rec = *saved;
    *saved = t;
    // Raster bits that the host took back and released are gone: clear them
    // so that the host expands the data afresh.
    if (e->rec.kind == kElmRaster) {
        void* bits = CadGetPtr(&e->rec, kOffRasterBits);
        if (bits && !db->rasterBits.count(bits)) {
            auto from = db->compressedFrom.find(bits);
            if (!CadGetPtr(&e->rec, kOffRasterComp) && from != db->compressedFrom.end() &&
                db->rasterData.count(from->second.first)) {
                CadSetPtr(&e->rec, kOffRasterComp, from->second.first);
                CadSetU32(&e->rec, kOffRasterCompSize, from->second.second);
                ++db->rasterData[from->second.first];
            }
            CadSetPtr(&e->rec, kOffRasterBits, nullptr);
            CadSetU32(&e->rec, kOffRasterBitsSize, 0);
            reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded] = 0;
        }
    }
    Notify(*db, ElementEvent::Changed, e);
    return 1;
}

CADAPI int ZAVAPI DAriUndoAddMemberElement(StoredElement* m, void* after, DbHeader* header, int, StoredElement* group) {
    Database* db = Lookup(header);
    if (!db || !Mine(db, m) || !Mine(db, group)) return 0;
    if (m->state & (kStateInGroup | kStateInChain)) return 1;
    StoredElement* a = static_cast<StoredElement*>(after);
    StoredElement* root = RootOf(group);
    if (a && a != root && !(Mine(db, a) && (a->state & kStateInGroup) && RootOf(a) == root)) a = nullptr;
    LinkMember(group, m, a);
    Notify(*db, ElementEvent::Added, m);
    return 1;
}

CADAPI int ZAVAPI DAriUndoDelMemberElement(StoredElement* m, void*, DbHeader* header, int, StoredElement*) {
    Database* db = Lookup(header);
    if (!db || !Mine(db, m)) return 0;
    if (m->state & kStateInGroup) {
        UnlinkMember(m);
        Notify(*db, ElementEvent::Removed, m);
    }
    TryFree(*db, m);
    return 1;
}
