// Mark lists: ordered sets of element handles (or undo records, for a link
// mark) of one database. Membership is hashed so that large selections stay
// fast; removed entries leave a hole that a compaction closes later.
#include "cadlib/core/database.h"

namespace cad {

namespace {

void* const kGone = reinterpret_cast<void*>(1);  // handles are aligned: never 1

}  // namespace

size_t MarkIndex::Home(const void* key) const {
    // Fibonacci hashing spreads the aligned addresses over the table.
    uint32_t h = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key)) * 0x9E3779B1u;
    return (h ^ (h >> 15)) & (slots_.size() - 1);
}

uint32_t* MarkIndex::Find(const void* key) {
    if (slots_.empty() || !key) return nullptr;
    const size_t mask = slots_.size() - 1;
    for (size_t i = Home(key);; i = (i + 1) & mask) {
        Slot& s = slots_[i];
        if (s.key == key) return &s.pos;
        if (!s.key) return nullptr;
    }
}

void MarkIndex::Grow(size_t capacity) {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(capacity, Slot{nullptr, 0});
    filled_ = 0;
    const size_t mask = capacity - 1;
    for (const Slot& s : old) {
        if (!s.key || s.key == kGone) continue;
        size_t i = Home(s.key);
        while (slots_[i].key)
            i = (i + 1) & mask;
        slots_[i] = s;
        ++filled_;
    }
}

void MarkIndex::Reserve(size_t n) {
    size_t capacity = 16;
    while (capacity < 2 * n + 2)
        capacity *= 2;
    if (capacity > slots_.size()) Grow(capacity);
}

bool MarkIndex::Insert(void* key, uint32_t pos) {
    if (2 * (filled_ + 1) > slots_.size()) {
        size_t live = 0;
        for (const Slot& s : slots_)
            if (s.key && s.key != kGone) ++live;
        size_t capacity = 16;
        while (capacity < 4 * (live + 1))
            capacity *= 2;
        Grow(capacity);
    }
    const size_t mask = slots_.size() - 1;
    size_t gone = SIZE_MAX;
    size_t i = Home(key);
    for (;; i = (i + 1) & mask) {
        Slot& s = slots_[i];
        if (s.key == key) return false;
        if (!s.key) break;
        if (s.key == kGone && gone == SIZE_MAX) gone = i;
    }
    if (gone != SIZE_MAX)
        i = gone;
    else
        ++filled_;
    slots_[i] = Slot{key, pos};
    return true;
}

void MarkIndex::Erase(const void* key) {
    if (slots_.empty() || !key) return;
    const size_t mask = slots_.size() - 1;
    for (size_t i = Home(key);; i = (i + 1) & mask) {
        Slot& s = slots_[i];
        if (s.key == key) {
            s.key = kGone;
            return;
        }
        if (!s.key) return;
    }
}

void MarkIndex::Clear() {
    slots_.clear();
    filled_ = 0;
}

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
    m.index.Clear();
    m.index.Reserve(m.live);
    for (void* p : m.items) {
        if (!p) continue;
        m.index.Insert(p, static_cast<uint32_t>(items.size()));
        items.push_back(p);
    }
    m.items.swap(items);
    m.walked = 0;
}

// Where an item stands; a walk through the mark finds the item it was just
// handed where it left off, without hashing.
size_t Position(MarkImpl& m, void* item) {
    if (m.walked < m.items.size() && m.items[m.walked] == item) return m.walked;
    uint32_t* at = m.index.Find(item);
    return at ? *at : SIZE_MAX;
}

void Remove(MarkImpl& m, void* item) {
    uint32_t* at = m.index.Find(item);
    if (!at) return;
    m.items[*at] = nullptr;
    m.index.Erase(item);
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
    if (!m->index.Insert(item, static_cast<uint32_t>(m->items.size()))) return 1;
    m->items.push_back(item);
    ++m->live;
    return 1;
}

CADAPI int ZAVAPI DAriDelMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m || !m->index.Find(item)) return 0;
    Remove(*m, item);
    return 1;
}

CADAPI int ZAVAPI DAriChkMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    return (m && m->index.Find(item)) ? 1 : 0;
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
        i = Position(*m, item);
        if (i == SIZE_MAX) return nullptr;
        ++i;
    }
    for (; i < m->items.size(); ++i)
        if (m->items[i]) {
            m->walked = i;
            return m->items[i];
        }
    return nullptr;
}

CADAPI void* ZAVAPI DAriGetBackMark(void* item, CadMark* mark) {
    MarkImpl* m = Valid(mark);
    if (!m) return nullptr;
    size_t i = m->items.size();
    if (item) {
        i = Position(*m, item);
        if (i == SIZE_MAX) return nullptr;
    }
    while (i-- > 0)
        if (m->items[i]) {
            m->walked = i;
            return m->items[i];
        }
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
