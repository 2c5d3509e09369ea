// Groups (kinds 21, 22, 70) and figure definitions (kind 31) with their
// members, and placed figures (kind 32) that refer to a definition.
#include "cadlib/core/database.h"

#include <cstring>

using namespace cad;

namespace cad {
StoredElement* AppendElementTo(Database& db, const void* record);
}

namespace {

bool InDb(Database* db, StoredElement* e) { return IsElement(e) && DbOf(e) == db; }

StoredElement* AddMember(Database& db, StoredElement* group, StoredElement* after, const void* record) {
    if (!InDb(&db, group) || !record) return nullptr;
    if (after && (!InDb(&db, after) || !(after->state & kStateInGroup) || RootOf(after) != RootOf(group)))
        after = nullptr;
    ElementRecord rec;
    memcpy(&rec, record, sizeof rec);
    if (!CheckRecord(rec)) return nullptr;
    AdoptPayload(db, rec, nullptr);
    StoredElement* m = NewElement(db, rec);
    if (!m) {
        ReleasePayload(db, rec);
        return nullptr;
    }
    LinkMember(group, m, after);
    // Membership changes of definitions are not steps of the drawing's history.
    if (UndoOn(db) && !(RootOf(group)->state & kStateHeader))
        Record(db, kUndoMemberAdd, m, nullptr, m->memberPrev ? m->memberPrev : RootOf(m), nullptr, group);
    Notify(db, ElementEvent::Added, m);
    return m;
}

}  // namespace

CADAPI StoredElement* ZAVAPI DAriCreateFgroupHead(const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !record) return nullptr;
    ElementRecord rec;
    memcpy(&rec, record, sizeof rec);
    if (rec.kind == kElmGroup || rec.kind == kElmGroup2 || rec.kind == kElmCompound) {
        StoredElement* g = AppendElementTo(*db, &rec);
        if (g) g->count = 0;
        Publish(*db, header);
        return g;
    }
    // Any other record starts a figure definition.
    rec.kind = kElmFigureHeader;
    if (!CheckRecord(rec)) return nullptr;
    StoredElement* h = NewElement(*db, rec);
    if (!h) return nullptr;
    h->state |= kStateHeader;
    h->count = 0;
    db->figureHeaders.push_back(h);
    return h;
}

CADAPI StoredElement* ZAVAPI DAriAppendFgroup(StoredElement* hdr, const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !InDb(db, hdr) || !(hdr->state & kStateHeader) || !record) return nullptr;
    ElementRecord rec;
    memcpy(&rec, record, sizeof rec);
    rec.kind = kElmFigure;
    StoredElement* e = AppendElementTo(*db, &rec);
    if (!e) return nullptr;
    e->owner = hdr;
    int index = 0;
    for (size_t i = 0; i < db->figureHeaders.size(); ++i)
        if (db->figureHeaders[i] == hdr) index = static_cast<int>(i) + 1;
    e->count = index;
    FigureRef(e) = index;
    Publish(*db, header);
    return e;
}

namespace cad {
int FigureIndexOf(Database& db, StoredElement* e) {
    if (!e || e->rec.kind != kElmFigure) return 0;
    const size_t n = db.figureHeaders.size();
    if (InDb(&db, e->owner) && (e->owner->state & kStateHeader)) {
        for (size_t i = 0; i < n; ++i)
            if (db.figureHeaders[i] == e->owner) return static_cast<int>(i) + 1;
    }
    if (e->count >= 1 && static_cast<size_t>(e->count) <= n) return e->count;
    int32_t own = FigureRef(e);
    if (own >= 1 && static_cast<size_t>(own) <= n) return own;
    return 0;
}
}  // namespace cad

CADAPI StoredElement* ZAVAPI DAriGetFgroupHeaderIdx(StoredElement* e, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !InDb(db, e)) return nullptr;
    int index = FigureIndexOf(*db, e);
    return index ? db->figureHeaders[index - 1] : nullptr;
}

CADAPI StoredElement* ZAVAPI DAriAppendMemberElement(StoredElement* group, const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    StoredElement* m = AddMember(*db, group, nullptr, record);
    Publish(*db, header);
    return m;
}

CADAPI StoredElement* ZAVAPI DAriAppendMemberElementExt(StoredElement* group, StoredElement* after, const void* record,
                                                        DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    StoredElement* m = AddMember(*db, group, after, record);
    Publish(*db, header);
    return m;
}

CADAPI int ZAVAPI DAriGetMemberNum(StoredElement* group, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !InDb(db, group) || !IsGroupKind(group->rec.kind)) return 0;
    return group->count;
}

// On a group, the first member; on a member, the next one in member order.
CADAPI StoredElement* ZAVAPI DAriReadFirstMember(StoredElement* node, void* buffer, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !InDb(db, node)) return nullptr;
    if (!(node->state & kStateInGroup) && !IsGroupKind(node->rec.kind)) return nullptr;
    if (!(node->state & kStateInGroup) && node->count <= 0) return nullptr;
    StoredElement* m = node->member;
    if (m && buffer) memcpy(buffer, &m->rec, sizeof(ElementRecord));
    return m;
}

CADAPI StoredElement* ZAVAPI DAriReadNextMember(StoredElement* member, void* buffer, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !InDb(db, member) || !(member->state & kStateInGroup)) return nullptr;
    StoredElement* m = member->member;
    if (m && buffer) memcpy(buffer, &m->rec, sizeof(ElementRecord));
    return m;
}
