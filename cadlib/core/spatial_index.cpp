#include "cadlib/core/spatial_index.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>
#include <unordered_set>

// The R-tree's sorting helpers trip a false uninitialised-value warning.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

#include "cadlib/core/database.h"

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace cad {

namespace {

// Single-precision boxes, rounded outward, halve the memory of a million
// entries; the searches test the exact geometry afterwards.
using PointF = bg::model::point<float, 2, bg::cs::cartesian>;
using BoxF = bg::model::box<PointF>;
using Value = std::pair<BoxF, StoredElement*>;

// One step of a finite float towards minus or plus infinity (the library's
// nextafter is slow enough to show when a million boxes are rounded).
float StepDown(float f) {
    if (f == 0) return -std::numeric_limits<float>::denorm_min();
    uint32_t u;
    memcpy(&u, &f, 4);
    u = f > 0 ? u - 1 : u + 1;
    memcpy(&f, &u, 4);
    return f;
}
float StepUp(float f) { return -StepDown(-f); }

float Down(double v) {
    if (!(v > -FLT_MAX)) return -FLT_MAX;
    if (v >= FLT_MAX) return FLT_MAX;
    float f = static_cast<float>(v);
    return f > v ? StepDown(f) : f;
}
float Up(double v) {
    if (v <= -FLT_MAX) return -FLT_MAX;
    if (!(v < FLT_MAX)) return FLT_MAX;
    float f = static_cast<float>(v);
    return f < v ? StepUp(f) : f;
}

BoxF ToF(const Box& b) { return BoxF(PointF(Down(b.l), Down(b.b)), PointF(Up(b.r), Up(b.t))); }
Box FromF(const BoxF& b) {
    return Box{b.min_corner().get<0>(), b.min_corner().get<1>(), b.max_corner().get<0>(),
               b.max_corner().get<1>()};
}

class RTreeIndex : public SpatialIndex, public ElementObserver {
public:
    RTreeIndex(Database* db) : db_(db) {}

    Database* db_;
    ElementObserver* chained_ = nullptr;
    bool dirty_ = true;            // rebuild before the next query
    bool figuresDirty_ = false;    // a figure definition changed
    bgi::rtree<Value, bgi::rstar<16>> tree_;
    std::unordered_map<StoredElement*, BoxF> boxes_;
    std::unordered_set<StoredElement*> figures_;

    void Rebuild() {
        std::vector<Value> values;
        values.reserve(static_cast<size_t>(db_->count > 0 ? db_->count : 0));
        boxes_.clear();
        figures_.clear();
        for (StoredElement* e = db_->first; e; e = e->next) {
            Box b;
            if (!ElementBox(e, b)) continue;
            BoxF f = ToF(b);
            values.emplace_back(f, e);
            boxes_.emplace(e, f);
            if (e->rec.kind == kElmFigure) figures_.insert(e);
        }
        tree_ = decltype(tree_)(values.begin(), values.end());   // packed bulk load
        dirty_ = false;
        figuresDirty_ = false;
    }

    void Insert(StoredElement* e) {
        Box b;
        if (!ElementBox(e, b)) return;
        BoxF f = ToF(b);
        tree_.insert(Value(f, e));
        boxes_[e] = f;
        if (e->rec.kind == kElmFigure) figures_.insert(e);
    }

    bool Erase(StoredElement* e) {
        auto it = boxes_.find(e);
        if (it == boxes_.end()) return false;
        tree_.remove(Value(it->second, e));
        boxes_.erase(it);
        figures_.erase(e);
        return true;
    }

    void Refresh(StoredElement* e) {
        Erase(e);
        if (e->state & kStateInChain) Insert(e);
    }

    void MemberMoved(StoredElement* m) {
        StoredElement* root = RootOf(m);
        if (!root) return;
        if (root->state & kStateHeader) {
            figuresDirty_ = true;
        } else if (boxes_.count(root) || (root->state & kStateInChain)) {
            Refresh(root);
        }
    }

    void OnElement(DbHeader* header, ElementEvent ev, StoredElement* e) override {
        if (chained_) chained_->OnElement(header, ev, e);
        if (dirty_ || !header || header->core != db_) return;
        switch (ev) {
        case ElementEvent::Cleared:
        case ElementEvent::Reset:
            dirty_ = true;
            tree_.clear();
            boxes_.clear();
            figures_.clear();
            break;
        case ElementEvent::Added:
        case ElementEvent::Changed:
            if (!e) break;
            if (e->state & kStateInChain) Refresh(e);
            else if (e->state & kStateInGroup) MemberMoved(e);
            else if (e->state & kStateHeader) figuresDirty_ = true;
            break;
        case ElementEvent::Removed:
            // A member that left its group leaves the group's box as large as
            // it was: the box still holds the group, and searches test exactly.
            if (e) Erase(e);
            break;
        }
    }

    void Ready() {
        if (dirty_) {
            Rebuild();
        } else if (figuresDirty_) {
            std::vector<StoredElement*> figs(figures_.begin(), figures_.end());
            for (StoredElement* f : figs) Refresh(f);
            figuresDirty_ = false;
        }
    }

    void Query(const Box& area, std::vector<StoredElement*>& out) override {
        Ready();
        BoxF q = ToF(area);
        for (auto it = tree_.qbegin(bgi::intersects(q)); it != tree_.qend(); ++it)
            out.push_back(it->second);
    }

    void QueryBoxes(const Box& area, std::vector<std::pair<StoredElement*, Box>>& out) override {
        Ready();
        BoxF q = ToF(area);
        for (auto it = tree_.qbegin(bgi::intersects(q)); it != tree_.qend(); ++it)
            out.emplace_back(it->second, FromF(it->first));
    }

    Box Bounds() override {
        Ready();
        if (tree_.empty()) return Box::Empty();
        return FromF(tree_.bounds());
    }

    size_t Size() override {
        Ready();
        return tree_.size();
    }

    bool BoxOf(StoredElement* e, Box& box) override {
        Ready();
        auto it = boxes_.find(e);
        if (it == boxes_.end()) return false;
        box = FromF(it->second);
        return true;
    }
};

std::unordered_map<Database*, std::unique_ptr<RTreeIndex>>& Indexes() {
    static std::unordered_map<Database*, std::unique_ptr<RTreeIndex>> map;
    return map;
}

}  // namespace

Box IndexedBox(const Box& exact) { return FromF(ToF(exact)); }

SpatialIndex* IndexOf(DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    // Changes made in fast access are told only when it ends: until then the
    // callers scan, and the index is built afresh afterwards.
    if (GlobalSettings().fastAccess && db->resetPending) {
        auto it = Indexes().find(db);
        if (it != Indexes().end()) it->second->dirty_ = true;
        return nullptr;
    }
    auto& map = Indexes();
    auto it = map.find(db);
    RTreeIndex* idx = nullptr;
    auto ours = [&](ElementObserver* o) -> RTreeIndex* {
        for (auto& kv : map)
            if (kv.second.get() == o) return kv.second.get();
        return nullptr;
    };
    if (it == map.end()) {
        // A loaded drawing keeps the follower of the drawing it replaced.
        if (RTreeIndex* carried = ours(db->observer)) {
            for (auto m = map.begin(); m != map.end(); ++m) {
                if (m->second.get() == carried) {
                    std::unique_ptr<RTreeIndex> keep = std::move(m->second);
                    map.erase(m);
                    idx = keep.get();
                    map.emplace(db, std::move(keep));
                    break;
                }
            }
            idx->db_ = db;
            idx->dirty_ = true;
        } else {
            // Indexes of deleted drawings go when a new one is made.
            for (auto m = map.begin(); m != map.end();)
                m = IsLiveDatabase(m->first) ? std::next(m) : map.erase(m);
            idx = new RTreeIndex(db);
            map.emplace(db, std::unique_ptr<RTreeIndex>(idx));
        }
    } else {
        idx = it->second.get();
    }
    if (db->observer != idx || idx->db_ != db) {
        // New here, a database that took the address of a deleted one, or an
        // observer set by someone else since: follow again, passing events on.
        idx->db_ = db;
        idx->chained_ = ours(db->observer) ? nullptr : db->observer;
        idx->dirty_ = true;
        SetElementObserver(header, idx);
    }
    idx->Ready();
    return idx;
}

void SortByChainOrder(std::vector<StoredElement*>& v) {
    // Serial numbers follow the chain: appends take the next number and undo
    // brings an element back to its old place.
    std::sort(v.begin(), v.end(),
              [](const StoredElement* a, const StoredElement* b) { return a->serial < b->serial; });
}

}  // namespace cad
