// Mark lists: ordered sets of element handles (or undo records, for a link
// mark) of one database. Membership is hashed so that large selections stay
// fast; removed entries leave a hole that a compaction closes later.
#include "cadlib/core/database.h"

namespace cad {

namespace {

std::unordered_set<MarkImpl*>& AllMarks() {
    static std::unordered_set<MarkImpl*> m;
    return m;
}

MarkImpl* Valid(CadMark* mark) {
    MarkImpl* m = static_cast<MarkImpl*>(mark);
    return (m && AllMarks().count(m)) ? m : nullptr;
}

void Compact(MarkImpl& m) {
    std::vector<void*> items;
    items.reserve(m.live);
    m.index.clear();
    for (void* p : m.items) {
        if (!p) continue;
        m.index[p] = static_cast<uint32_t>(items.size());
        items.push_back(p);
    }
    m.items.swap(items);
}

void Remove(MarkImpl& m, void* item) {
    auto it = m.index.find(item);
    if (it == m.index.end()) return;
    m.items[it->second] = nullptr;
    m.index.erase(it);
    --m.live;
    if (m.items.size() > 64 && m.live < m.items.size() / 4) Compact(m);
}

CadMark* Create(DbHeader* header, bool link) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    MarkImpl* m = new (std::nothrow) MarkImpl;
    if (!m) return nullptr;
    m->db = header;
    m->owner = db;
    m->link = link;
    db->marks.insert(m);
    AllMarks().insert(m);
    return m;
}

}  // namespace

void ForgetInMarks(Database& db, void* item) {
    for (MarkImpl* m : db.marks)
        Remove(*m, item);
}

void DestroyAllMarks(Database& db) {
    for (MarkImpl* m : db.marks) {
        AllMarks().erase(m);
        delete m;
    }
    db.marks.clear();
}

}  // namespace cad

using namespace cad;

CADAPI CadMark* ZAVAPI DAriCreateMark(DbHeader* header) { return Create(header, false); }
CADAPI CadMark* ZAVAPI DAriCreateLinkMark(DbHeader* header) { return Create(header, true); }

CADAPI int ZAVAPI DAriDestroyMark(CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m) return 0;
    m->owner->marks.erase(m);
    AllMarks().erase(m);
    delete m;
    return 1;
}

CADAPI int ZAVAPI DAriSetMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m || !item) return 0;
    if (!m->link) {
        StoredElement* e = static_cast<StoredElement*>(item);
        if (!IsElement(e) || DbOf(e) != m->owner) return 0;
    }
    if (m->index.count(item)) return 1;
    m->index[item] = static_cast<uint32_t>(m->items.size());
    m->items.push_back(item);
    ++m->live;
    return 1;
}

CADAPI int ZAVAPI DAriDelMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m || !m->index.count(item)) return 0;
    Remove(*m, item);
    return 1;
}

CADAPI int ZAVAPI DAriChkMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    return (m && m->index.count(item)) ? 1 : 0;
}

CADAPI int ZAVAPI DAriGetMarkNum(CadMark* mark) {
    MarkImpl* m = Valid(mark);
    return m ? static_cast<int>(m->live) : 0;
}

CADAPI void* ZAVAPI DAriGetNextMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m) return nullptr;
    size_t i = 0;
    if (item) {
        auto it = m->index.find(item);
        if (it == m->index.end()) return nullptr;
        i = it->second + 1;
    }
    for (; i < m->items.size(); ++i)
        if (m->items[i]) return m->items[i];
    return nullptr;
}

CADAPI void* ZAVAPI DAriGetBackMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m) return nullptr;
    size_t i = m->items.size();
    if (item) {
        auto it = m->index.find(item);
        if (it == m->index.end()) return nullptr;
        i = it->second;
    }
    while (i-- > 0)
        if (m->items[i]) return m->items[i];
    return nullptr;
}

// As DAriGetNextMark, passing over elements that are no longer in the drawing.
CADAPI void* ZAVAPI DAriGetExtNextMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m) return nullptr;
    void* p = DAriGetNextMark(item, mark);
    while (p && !m->link) {
        StoredElement* e = static_cast<StoredElement*>(p);
        if (e->state & (kStateInChain | kStateInGroup)) break;
        p = DAriGetNextMark(p, mark);
    }
    return p;
}
