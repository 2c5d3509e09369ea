// Element storage: checking records, taking over the memory that travels
// with them, the element chain, and releasing elements once nothing needs
// them any more.
#include "cadlib/core/database.h"

#include <cmath>
#include <cstring>

#include "cadlib/core/platform.h"

namespace cad {

namespace {

bool KnownKind(uint16_t k) {
    switch (k) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 21:
    case 22:
    case 31:
    case 32:
    case 50:
    case 55:
    case 60:
    case 70: return true;
    default: return false;
    }
}

// The coordinate fields of each kind, checked against the coordinate limit.
int CoordFields(uint16_t kind, uint32_t out[6]) {
    switch (kind) {
    case 1:
    case 50:
    case 60:
        out[0] = kOffP1X;
        out[1] = kOffP1Y;
        out[2] = kOffP1Z;
        out[3] = kOffP2X;
        out[4] = kOffP2Y;
        out[5] = kOffP2Z;
        return 6;
    case 2:
    case 3:
    case 4:
        out[0] = kOffP1X;
        out[1] = kOffP1Y;
        return 2;
    case 5:
        out[0] = kOffTextX;
        out[1] = kOffTextY;
        return 2;
    case 6:
    case 7:
    case 55:
        out[0] = kOffP1X;
        out[1] = kOffP1Y;
        out[2] = kOffP2X;
        out[3] = kOffP2Y;
        return 4;
    case 32:
        out[0] = kOffFigX;
        out[1] = kOffFigY;
        return 2;
    case 31:
        out[0] = kOffHdrBaseX;
        out[1] = kOffHdrBaseY;
        return 2;
    default: return 0;
    }
}

const size_t kMaxText = 65535;

}  // namespace

bool CheckRecord(const ElementRecord& rec) {
    if (!KnownKind(rec.kind)) return false;
    if (rec.page < 0 || rec.page > 511) return false;
    const Settings& s = GlobalSettings();
    if (s.elementCheckMode == 0 && !s.maxCoordFlag) return true;
    uint32_t f[6];
    int n = CoordFields(rec.kind, f);
    for (int i = 0; i < n; ++i) {
        double v = CadGetF64(&rec, f[i]);
        if (!std::isfinite(v)) return false;
        if (s.maxCoordFlag && std::fabs(v) > s.maxCoord) return false;
    }
    return true;
}

// Take over what the record points to: text and kind-50 blocks are copied
// into library memory, raster data is shared and counted. `previous` is the
// record whose contents the new one replaces (kept for undo), or null.
void AdoptPayload(Database& db, ElementRecord& rec, const ElementRecord* previous) {
    switch (rec.kind) {
    case kElmText: {
        const char* p = static_cast<const char*>(CadGetPtr(&rec, kOffTextPtr));
        char* copy = nullptr;
        uint32_t len = 0;
        if (p) {
            len = static_cast<uint32_t>(strnlen(p, kMaxText));
            copy = new (std::nothrow) char[len + 1];
            if (copy) {
                memcpy(copy, p, len);
                copy[len] = 0;
            } else {
                len = 0;
            }
        }
        CadSetPtr(&rec, kOffTextPtr, copy);
        CadSetU32(&rec, kOffTextLen, len);
        break;
    }
    case kElmBlock: {
        void* h = CadGetPtr(&rec, kOffBlockHandle);
        if (!h) {
            CadSetU32(&rec, kOffBlockSize, 0);
            break;
        }
        size_t size = BlockSize(h);
        uint32_t want = CadGetU32(&rec, kOffBlockSize);
        if (want && want < size) size = want;
        void* copy = BlockAlloc(size);
        if (copy) {
            void* src = BlockLock(h);
            void* dst = BlockLock(copy);
            if (src && dst) memcpy(dst, src, size);
            BlockUnlock(copy);
            BlockUnlock(h);
        }
        // The caller frees its own handle after a change; when that handle
        // is the one the replaced contents held, they get a copy of their own.
        if (previous && previous->kind == kElmBlock && CadGetPtr(previous, kOffBlockHandle) == h) {
            void* keep = BlockAlloc(size);
            if (keep) {
                void* src = BlockLock(copy);
                void* dst = BlockLock(keep);
                if (src && dst) memcpy(dst, src, size);
                BlockUnlock(keep);
                BlockUnlock(copy);
            }
            CadSetPtr(const_cast<ElementRecord*>(previous), kOffBlockHandle, keep);
        }
        CadSetPtr(&rec, kOffBlockHandle, copy);
        CadSetU32(&rec, kOffBlockSize, copy ? static_cast<uint32_t>(size) : 0);
        break;
    }
    case kElmRaster: {
        void* data = CadGetPtr(&rec, kOffRasterComp);
        void* bits = CadGetPtr(&rec, kOffRasterBits);
        if (data) ++db.rasterData[data];
        if (bits) ++db.rasterBits[bits];
        break;
    }
    default: break;
    }
}

void ReleasePayload(Database& db, ElementRecord& rec) {
    switch (rec.kind) {
    case kElmText:
        delete[] static_cast<char*>(CadGetPtr(&rec, kOffTextPtr));
        CadSetPtr(&rec, kOffTextPtr, nullptr);
        break;
    case kElmBlock:
        BlockFree(CadGetPtr(&rec, kOffBlockHandle));
        CadSetPtr(&rec, kOffBlockHandle, nullptr);
        break;
    case kElmRaster: {
        void* data = CadGetPtr(&rec, kOffRasterComp);
        void* bits = CadGetPtr(&rec, kOffRasterBits);
        auto d = db.rasterData.find(data);
        if (data && d != db.rasterData.end() && --d->second <= 0) {
            db.rasterData.erase(d);
            RasterFree(data);
        }
        // Bits the host took back (see DAriCompRstrData) are no longer listed.
        auto b = db.rasterBits.find(bits);
        if (bits && b != db.rasterBits.end() && --b->second <= 0) {
            db.rasterBits.erase(b);
            RasterFree(bits);
        }
        break;
    }
    default: break;
    }
}

ElementExt* Ext(StoredElement* e, bool create) {
    if (!e->ext && create) e->ext = new (std::nothrow) ElementExt;
    return static_cast<ElementExt*>(e->ext);
}

StoredElement* NewElement(Database& db, const ElementRecord& rec) {
    StoredElement* e = static_cast<StoredElement*>(db.elements.Alloc());
    if (!e) return nullptr;
    e->rec = rec;
    e->state = kStateTag;
    e->serial = db.nextSerial++;
    DbOf(e) = &db;
    return e;
}

void LinkAfter(Database& db, StoredElement* e, StoredElement* after) {
    StoredElement* next = after ? after->next : db.first;
    e->prev = after;
    e->next = next;
    if (after)
        after->next = e;
    else
        db.first = e;
    if (next)
        next->prev = e;
    else
        db.last = e;
    e->state |= kStateInChain;
    ++db.count;
    db.page0->elementCount = db.count;
}

void Unlink(Database& db, StoredElement* e) {
    if (!(e->state & kStateInChain)) return;
    if (e->prev)
        e->prev->next = e->next;
    else
        db.first = e->next;
    if (e->next)
        e->next->prev = e->prev;
    else
        db.last = e->prev;
    e->next = e->prev = nullptr;
    e->state &= ~kStateInChain;
    --db.count;
    db.page0->elementCount = db.count;
}

// Members of a group form one list in depth-first order: on the group at
// the top, 182 is the first and 186 the last node; on a node, 182 is the
// next and 186 the previous node. A nested group is followed by its own
// members; 198 counts a group's direct members; 190 names the direct group.
StoredElement* RootOf(StoredElement* node) {
    int guard = 0;
    while ((node->state & kStateInGroup) && node->owner && ++guard < 1000000)
        node = node->owner;
    return node;
}

StoredElement* LastDescendant(StoredElement* node) {
    if (!(node->state & kStateInGroup)) return node->memberPrev ? node->memberPrev : node;
    StoredElement* cur = node;
    long long remaining = IsGroupKind(node->rec.kind) ? node->count : 0;
    while (remaining > 0 && cur->member) {
        cur = cur->member;
        --remaining;
        if (IsGroupKind(cur->rec.kind) && cur->count > 0) remaining += cur->count;
    }
    return cur;
}

namespace {
void InsertSegment(StoredElement* root, StoredElement* first, StoredElement* last, StoredElement* after) {
    if (after == root) after = nullptr;
    StoredElement* next = after ? after->member : root->member;
    first->memberPrev = after;
    last->member = next;
    if (after)
        after->member = first;
    else
        root->member = first;
    if (next)
        next->memberPrev = last;
    else
        root->memberPrev = last;
}

void RemoveSegment(StoredElement* root, StoredElement* first, StoredElement* last) {
    StoredElement* before = first->memberPrev;
    StoredElement* next = last->member;
    if (before)
        before->member = next;
    else
        root->member = next;
    if (next)
        next->memberPrev = before;
    else
        root->memberPrev = before;
    first->memberPrev = nullptr;
    last->member = nullptr;
}
}  // namespace

void LinkMember(StoredElement* group, StoredElement* m, StoredElement* after) {
    StoredElement* root = RootOf(group);
    // A detached member keeps its own members behind it.
    StoredElement* last = m;
    long long remaining = IsGroupKind(m->rec.kind) ? m->count : 0;
    while (remaining > 0 && last->member) {
        last = last->member;
        --remaining;
        if (IsGroupKind(last->rec.kind) && last->count > 0) remaining += last->count;
    }
    if (!after) after = LastDescendant(group);
    InsertSegment(root, m, last, after);
    m->owner = group;
    m->state |= kStateInGroup;
    ++group->count;
}

void UnlinkMember(StoredElement* m) {
    if (!(m->state & kStateInGroup) || !m->owner) return;
    StoredElement* group = m->owner;
    StoredElement* root = RootOf(m);
    StoredElement* last = LastDescendant(m);
    RemoveSegment(root, m, last);
    m->state &= ~kStateInGroup;
    if (group->count > 0) --group->count;
}

void TryFree(Database& db, StoredElement* e) {
    if (!IsElement(e)) return;
    if (e->state & (kStateInChain | kStateInGroup | kStateHeader)) return;
    if (UndoRefs(e) > 0) return;
    // Free the members behind it first (each may still be held by undo).
    StoredElement* m = e->member;
    if (IsGroupKind(e->rec.kind)) {
        e->member = e->memberPrev = nullptr;
        while (m) {
            StoredElement* next = m->member;
            m->member = m->memberPrev = nullptr;
            m->state &= ~kStateInGroup;
            if (UndoRefs(m) == 0) {
                ReleasePayload(db, m->rec);
                delete static_cast<ElementExt*>(m->ext);
                ForgetInMarks(db, m);
                db.elements.Free(m);
            }
            m = next;
        }
    }
    ReleasePayload(db, e->rec);
    delete static_cast<ElementExt*>(e->ext);
    e->ext = nullptr;
    ForgetInMarks(db, e);
    db.elements.Free(e);
}

void FreeAllElements(Database& db) {
    StoredElement* e = db.first;
    while (e) {
        StoredElement* next = e->next;
        Unlink(db, e);
        UndoRefs(e) = 0;
        TryFree(db, e);
        e = next;
    }
    for (StoredElement* h : db.figureHeaders) {
        h->state &= ~kStateHeader;
        UndoRefs(h) = 0;
        TryFree(db, h);
    }
    db.figureHeaders.clear();
    for (auto& kv : db.rasterData)
        RasterFree(kv.first);
    for (auto& kv : db.rasterBits)
        RasterFree(kv.first);
    db.rasterData.clear();
    db.rasterBits.clear();
    db.first = db.last = nullptr;
    db.count = 0;
    db.page0->elementCount = 0;
}

}  // namespace cad

using namespace cad;

namespace {

StoredElement* AppendRecord(Database& db, const void* record, bool recordUndo) {
    if (!record) return nullptr;
    ElementRecord rec;
    memcpy(&rec, record, sizeof rec);
    if (!CheckRecord(rec)) return nullptr;
    AdoptPayload(db, rec, nullptr);
    StoredElement* e = NewElement(db, rec);
    if (!e) {
        ReleasePayload(db, rec);
        return nullptr;
    }
    StoredElement* after = db.last;
    LinkAfter(db, e, after);
    if (recordUndo) Record(db, kUndoAdd, e, after, nullptr, nullptr, nullptr);
    Notify(db, ElementEvent::Added, e);
    return e;
}

}  // namespace

namespace cad {
StoredElement* AppendElementTo(Database& db, const void* record) { return AppendRecord(db, record, UndoOn(db)); }
}  // namespace cad

CADAPI StoredElement* ZAVAPI DAriAppendElement(const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    StoredElement* e = AppendRecord(*db, record, UndoOn(*db));
    Publish(*db, header);
    return e;
}

CADAPI StoredElement* ZAVAPI DAriReadElement(StoredElement* element, int direction, void* buffer, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    if (element && (!IsElement(element) || DbOf(element) != db)) return nullptr;
    StoredElement* e = nullptr;
    switch (direction) {
    case 0: e = db->first; break;
    case 1:
        if (!element)
            e = db->first;
        else
            e = (element->state & kStateInChain) ? element->next : nullptr;
        break;
    case 2:
        if (!element)
            e = db->last;
        else
            e = (element->state & kStateInChain) ? element->prev : nullptr;
        break;
    case 3: e = db->last; break;
    case 4: e = element; break;
    default: e = element ? element : db->first; break;
    }
    if (e && buffer) memcpy(buffer, &e->rec, sizeof(ElementRecord));
    return e;
}

CADAPI StoredElement* ZAVAPI DAriChangeElement(StoredElement* e, const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !IsElement(e) || DbOf(e) != db || !record) return nullptr;
    ElementRecord rec;
    memcpy(&rec, record, sizeof rec);
    if (!CheckRecord(rec)) return nullptr;
    ElementRecord* saved = static_cast<ElementRecord*>(db->savedRecords.Alloc());
    if (!saved) return nullptr;
    *saved = e->rec;
    AdoptPayload(*db, rec, saved);
    e->rec = rec;
    if (UndoOn(*db)) {
        Record(*db, kUndoChange, e, nullptr, nullptr, saved, nullptr);
    } else {
        ReleasePayload(*db, *saved);
        db->savedRecords.Free(saved);
    }
    Notify(*db, ElementEvent::Changed, e);
    Publish(*db, header);
    return e;
}

CADAPI StoredElement* ZAVAPI DAriMemChangeElement(StoredElement* e, const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !IsElement(e) || DbOf(e) != db) return nullptr;
    if (record && record != &e->rec) {
        ElementRecord rec;
        memcpy(&rec, record, sizeof rec);
        if (!CheckRecord(rec)) return nullptr;
        AdoptPayload(*db, rec, nullptr);
        ReleasePayload(*db, e->rec);
        e->rec = rec;
    }
    Notify(*db, ElementEvent::Changed, e);
    return e;
}

CADAPI int ZAVAPI DAriDeleteElement(StoredElement* e, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !IsElement(e) || DbOf(e) != db) return 0;
    if (e->state & kStateInChain) {
        StoredElement* after = e->prev;
        Unlink(*db, e);
        if (UndoOn(*db)) Record(*db, kUndoDelete, e, after, nullptr, nullptr, nullptr);
    } else if (e->state & kStateInGroup) {
        UnlinkMember(e);
    } else {
        return 0;
    }
    Notify(*db, ElementEvent::Removed, e);
    TryFree(*db, e);
    Publish(*db, header);
    return 1;
}

CADAPI int ZAVAPI DAriAllDeleteElement(DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    ClearUndo(*db);
    StoredElement* e = db->first;
    while (e) {
        StoredElement* next = e->next;
        Unlink(*db, e);
        TryFree(*db, e);
        e = next;
    }
    Notify(*db, ElementEvent::Cleared, nullptr);
    Publish(*db, header);
    return 1;
}

CADAPI int ZAVAPI DAriGetElmNum(DbHeader* header) {
    Database* db = Lookup(header);
    return db ? db->count : 0;
}

CADAPI int ZAVAPI DAriElementParamCopy(StoredElement* target, StoredElement* source) {
    if (!IsElement(target) || !IsElement(source) || target == source) return 0;
    // A placed figure copied within its drawing (into a group, or out of one)
    // is rebuilt from its 174-byte record, which does not name a definition:
    // it takes the source's.
    if (target->rec.kind == kElmFigure && source->rec.kind == kElmFigure && DbOf(target) == DbOf(source) &&
        !FigureIndexOf(*DbOf(target), target)) {
        Database& db = *DbOf(target);
        int index = FigureIndexOf(db, source);
        if (index) {
            target->count = index;
            FigureRef(target) = index;
            if (!(target->state & kStateInGroup) && !target->owner) target->owner = db.figureHeaders[index - 1];
        }
    }
    ElementExt* from = Ext(source, false);
    if (!from) {
        delete static_cast<ElementExt*>(target->ext);
        target->ext = nullptr;
        return 1;
    }
    ElementExt* to = Ext(target, true);
    if (!to) return 0;
    to->tags = from->tags;
    to->tagText = from->tagText;
    to->hasTagText = from->hasTagText;
    to->extra = from->extra;
    to->userData.reset();
    if (from->userData) {
        to->userData.reset(new (std::nothrow) uint8_t[256]);
        if (to->userData) memcpy(to->userData.get(), from->userData.get(), 256);
    }
    return 1;
}

CADAPI int ZAVAPI DAriSetExtrData(StoredElement* e, int slot, int value, int, int) {
    if (!IsElement(e)) return 0;
    ElementExt* x = Ext(e, value != 0);
    if (!x) return 1;
    for (auto it = x->extra.begin(); it != x->extra.end(); ++it) {
        if (it->first == slot) {
            if (value)
                it->second = value;
            else
                x->extra.erase(it);
            return 1;
        }
    }
    if (value) x->extra.emplace_back(slot, value);
    return 1;
}

CADAPI int ZAVAPI DAriGetExtrData(StoredElement* e, int slot) {
    if (!IsElement(e)) return 0;
    ElementExt* x = Ext(e, false);
    if (!x) return 0;
    for (auto& kv : x->extra)
        if (kv.first == slot) return kv.second;
    return 0;
}
