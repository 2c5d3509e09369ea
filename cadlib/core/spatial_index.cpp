#include "cadlib/core/spatial_index.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>

// The R-tree's sorting helpers trip a false uninitialised-value warning.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>

#include "cadlib/core/database.h"
#include "cadlib/core/parallel.h"

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace cad {

namespace {

// Single-precision boxes, rounded outward, halve the memory of a million
// entries; the searches test the exact geometry afterwards.
struct BoxF {
    float l, b, r, t;
    bool Meets(const BoxF& o) const { return l <= o.r && o.l <= r && b <= o.t && o.b <= t; }
    void Add(const BoxF& o) {
        l = std::min(l, o.l);
        b = std::min(b, o.b);
        r = std::max(r, o.r);
        t = std::max(t, o.t);
    }
};

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

BoxF ToF(const Box& b) { return BoxF{Down(b.l), Down(b.b), Up(b.r), Up(b.t)}; }
BoxF OfEntry(const IndexEntry& x) { return BoxF{x.l, x.b, x.r, x.t}; }
Box FromF(const BoxF& b) { return Box{b.l, b.b, b.r, b.t}; }

// The dynamic tree beside the packed one: entry numbers by box.
using PointG = bg::model::point<float, 2, bg::cs::cartesian>;
using BoxG = bg::model::box<PointG>;
using Value = std::pair<BoxG, uint32_t>;
BoxG ToG(const BoxF& b) { return BoxG(PointG(b.l, b.b), PointG(b.r, b.t)); }

// Position along a Hilbert curve of a point on a 65,536 x 65,536 grid:
// neighbours on the curve are neighbours on the sheet. The curve turns each
// quarter by a swap and a mirror of both coordinates; a table of those four
// states walks four bits of each coordinate at a time.
struct HilbertTable {
    // state (bit 0: swapped, bit 1: mirrored) and four bits of each
    // coordinate -> eight bits of the position and the next state.
    uint16_t step[4 * 256];
    HilbertTable() {
        for (uint32_t state = 0; state < 4; ++state)
            for (uint32_t bx = 0; bx < 16; ++bx)
                for (uint32_t by = 0; by < 16; ++by) {
                    uint32_t st = state, digits = 0;
                    for (int b = 3; b >= 0; --b) {
                        uint32_t cx = (bx >> b) & 1, cy = (by >> b) & 1;
                        if (st & 1) std::swap(cx, cy);
                        if (st & 2) {
                            cx ^= 1;
                            cy ^= 1;
                        }
                        digits = digits * 4 + ((3 * cx) ^ cy);
                        if (cy == 0) st ^= cx ? 3 : 1;
                    }
                    step[state * 256 + bx * 16 + by] = static_cast<uint16_t>(digits | (st << 8));
                }
    }
};

uint32_t Hilbert(uint32_t x, uint32_t y) {
    static const HilbertTable table;
    uint32_t d = 0, state = 0;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const uint32_t e = table.step[state * 256 + ((x >> shift) & 15) * 16 + ((y >> shift) & 15)];
        d = (d << 8) | (e & 0xFF);
        state = e >> 8;
    }
    return d;
}

const size_t kFan = 16;       // children of a node of the packed tree
const size_t kPiece = 16384;  // entries a worker handles at a time

// Entry numbers in the order of their keys, equal keys in the order of the
// numbers: the order a sort by (key, number) gives. Two passes of a radix
// sort on sixteen bits each, every pass split into parts that count and
// place side by side; each part keeps its place in the order, so the result
// does not depend on how many threads took part.
void SortByKey(const std::vector<uint32_t>& keys, std::vector<uint32_t>& order) {
    const size_t n = keys.size();
    if (n < 65536) {
        // Small: the radix passes' tables would cost more than the sort.
        std::vector<uint64_t> pairs(n);
        for (size_t i = 0; i < n; ++i)
            pairs[i] = (static_cast<uint64_t>(keys[i]) << 32) | i;
        std::sort(pairs.begin(), pairs.end());
        order.resize(n);
        for (size_t i = 0; i < n; ++i)
            order[i] = static_cast<uint32_t>(pairs[i]);
        return;
    }
    const size_t kDigits = 65536;
    const size_t parts = std::max<size_t>(1, std::min<size_t>(8, n / kPiece));
    std::vector<uint32_t> from(n), to(n);
    for (size_t i = 0; i < n; ++i)
        from[i] = static_cast<uint32_t>(i);
    std::vector<uint32_t> counts(parts * kDigits);
    for (int shift = 0; shift < 32; shift += 16) {
        std::fill(counts.begin(), counts.end(), 0);
        ParallelFor(
            parts,
            [&](size_t p) {
                uint32_t* c = counts.data() + p * kDigits;
                for (size_t i = n * p / parts, e = n * (p + 1) / parts; i < e; ++i)
                    ++c[(keys[from[i]] >> shift) & 0xFFFF];
            },
            parts > 1);
        // Where each part's run of each digit starts: digit by digit, part by part.
        uint32_t at = 0;
        for (size_t d = 0; d < kDigits; ++d)
            for (size_t p = 0; p < parts; ++p) {
                uint32_t c = counts[p * kDigits + d];
                counts[p * kDigits + d] = at;
                at += c;
            }
        ParallelFor(
            parts,
            [&](size_t p) {
                uint32_t* c = counts.data() + p * kDigits;
                for (size_t i = n * p / parts, e = n * (p + 1) / parts; i < e; ++i)
                    to[c[(keys[from[i]] >> shift) & 0xFFFF]++] = from[i];
            },
            parts > 1);
        from.swap(to);
    }
    order.swap(from);
}

class PackedIndex : public SpatialIndex, public ElementObserver {
public:
    explicit PackedIndex(Database* db) : db_(db) {}

    Database* db_;
    ElementObserver* chained_ = nullptr;
    bool dirty_ = true;          // rebuild from the chain before the next use
    bool figuresDirty_ = false;  // a figure definition changed
    bool repack_ = false;        // pack again before the next use, measuring only what changed

    // Entries in chain order as of the last packing, then those added since.
    std::vector<IndexEntry> entries_;
    bool ordered_ = true;  // entries_ still follow the chain
    uint32_t lastSerial_ = 0;
    size_t live_ = 0;
    // The packed tree over entries [0, packed_): leaves in Hilbert order,
    // then levels of nodes of 16 children each, the root last.
    size_t packed_ = 0;
    std::vector<uint32_t> order_;
    std::vector<BoxF> leaves_;
    std::vector<BoxF> nodes_;
    std::vector<size_t> levelAt_;  // first node of each level, and the end
    std::vector<char> stale_;      // packed entries whose box or presence changed
    size_t staleCount_ = 0;
    bgi::rtree<Value, bgi::rstar<16>> overlay_;
    std::vector<uint32_t> figures_;  // entries of placed figures
    // Entries changed or added since, to be measured and placed at the next
    // use: a change costs no measuring and no tree work while it is made.
    std::vector<uint32_t> pending_;
    std::vector<char> queued_;

    // ---- building

    void Pack() {
        const size_t n = entries_.size();
        packed_ = n;
        stale_.assign(n, 0);
        staleCount_ = 0;
        pending_.clear();
        queued_.assign(n, 0);
        repack_ = false;
        overlay_.clear();
        figures_.clear();
        order_.clear();
        leaves_.assign(n, BoxF{});
        nodes_.clear();
        levelAt_.clear();
        live_ = n;
        lastSerial_ = n ? entries_.back().element->serial : 0;
        ordered_ = true;
        if (!n) return;
        const size_t pieces = (n + kPiece - 1) / kPiece;
        // Where the entries are, for the grid of the curve.
        std::vector<BoxF> spans(pieces);
        std::vector<std::vector<uint32_t>> figs(pieces);
        ParallelFor(pieces, [&](size_t p) {
            BoxF s{FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX};
            for (size_t i = p * kPiece, end = std::min(n, i + kPiece); i < end; ++i) {
                float cx = entries_[i].l / 2 + entries_[i].r / 2, cy = entries_[i].b / 2 + entries_[i].t / 2;
                s.Add(BoxF{cx, cy, cx, cy});
                StoredElement* e = entries_[i].element;
                IndexSlot(e) = static_cast<uint32_t>(i + 1);
                if (e->rec.kind == kElmFigure) figs[p].push_back(static_cast<uint32_t>(i));
            }
            spans[p] = s;
        });
        BoxF span = spans[0];
        for (const BoxF& s : spans)
            span.Add(s);
        for (auto& f : figs)
            figures_.insert(figures_.end(), f.begin(), f.end());
        const double w = std::max(1e-30, static_cast<double>(span.r) - span.l);
        const double h = std::max(1e-30, static_cast<double>(span.t) - span.b);
        std::vector<uint32_t> keys(n);
        ParallelFor(pieces, [&](size_t p) {
            for (size_t i = p * kPiece, end = std::min(n, i + kPiece); i < end; ++i) {
                double cx = entries_[i].l / 2.0 + entries_[i].r / 2.0, cy = entries_[i].b / 2.0 + entries_[i].t / 2.0;
                double gx = (cx - span.l) / w * 65535.0, gy = (cy - span.b) / h * 65535.0;
                uint32_t x = gx > 0 ? static_cast<uint32_t>(std::min(65535.0, gx)) : 0;
                uint32_t y = gy > 0 ? static_cast<uint32_t>(std::min(65535.0, gy)) : 0;
                keys[i] = Hilbert(x, y);
            }
        });
        SortByKey(keys, order_);
        std::vector<uint32_t>().swap(keys);
        ParallelFor(pieces, [&](size_t p) {
            for (size_t i = p * kPiece, end = std::min(n, i + kPiece); i < end; ++i)
                leaves_[i] = OfEntry(entries_[order_[i]]);
        });
        // Levels of nodes, bottom up.
        size_t below = n;
        const BoxF* child = leaves_.data();
        std::vector<size_t> counts;
        for (size_t m = n;;) {
            m = (m + kFan - 1) / kFan;
            counts.push_back(m);
            if (m == 1) break;
        }
        size_t total = 0;
        for (size_t c : counts)
            total += c;
        nodes_.assign(total, BoxF{});
        size_t at = 0;
        for (size_t c : counts) {
            levelAt_.push_back(at);
            BoxF* out = nodes_.data() + at;
            const size_t children = below;
            ParallelFor((c + kPiece - 1) / kPiece, [&](size_t p) {
                for (size_t i = p * kPiece, end = std::min(c, i + kPiece); i < end; ++i) {
                    BoxF b = child[i * kFan];
                    for (size_t k = i * kFan + 1, e = std::min(children, i * kFan + kFan); k < e; ++k)
                        b.Add(child[k]);
                    out[i] = b;
                }
            });
            child = out;
            below = c;
            at += c;
        }
        levelAt_.push_back(at);
    }

    // Measures every top-level element of the chain afresh.
    void Rebuild() {
        std::vector<StoredElement*> roots;
        roots.reserve(static_cast<size_t>(db_->count > 0 ? db_->count : 0));
        for (StoredElement* e = db_->first; e; e = e->next)
            roots.push_back(e);
        const size_t pieces = (roots.size() + kPiece - 1) / kPiece;
        std::vector<std::vector<IndexEntry>> parts(pieces);
        ParallelFor(pieces, [&](size_t p) {
            for (size_t i = p * kPiece, end = std::min(roots.size(), i + kPiece); i < end; ++i) {
                IndexSlot(roots[i]) = 0;
                Box b;
                if (ElementBox(roots[i], b)) parts[p].push_back(IndexEntryOf(roots[i], b));
            }
        });
        entries_.clear();
        entries_.reserve(roots.size());
        for (auto& part : parts)
            entries_.insert(entries_.end(), part.begin(), part.end());
        Pack();
        dirty_ = false;
        figuresDirty_ = false;
    }

    void Take(std::vector<IndexEntry>& loaded) {
        entries_.swap(loaded);
        std::vector<IndexEntry>().swap(loaded);
        Pack();
        dirty_ = false;
        figuresDirty_ = false;
    }

    // Back into chain order after elements came back in the middle of the
    // chain (undo), without measuring anything again.
    void Reorder() {
        std::vector<IndexEntry> keep;
        keep.reserve(live_);
        for (const IndexEntry& x : entries_)
            if (x.element) keep.push_back(x);
        std::sort(keep.begin(), keep.end(),
                  [](const IndexEntry& a, const IndexEntry& b) { return a.element->serial < b.element->serial; });
        entries_.swap(keep);
        Pack();
    }

    // ---- following changes

    // The entry of an element, or -1.
    long EntryOf(StoredElement* e) const {
        uint32_t slot = IndexSlot(e);
        if (slot == 0 || slot > entries_.size() || entries_[slot - 1].element != e) return -1;
        return static_cast<long>(slot - 1);
    }

    bool InPacked(size_t no) const { return no < packed_ && !stale_[no]; }

    void Unplace(size_t no) {
        if (InPacked(no)) {
            stale_[no] = 1;
            ++staleCount_;
        } else {
            overlay_.remove(Value(ToG(OfEntry(entries_[no])), static_cast<uint32_t>(no)));
        }
    }

    // The element is measured and placed at the next use (Settle).
    void Insert(StoredElement* e) {
        long no = EntryOf(e);
        if (no >= 0) {
            if (queued_[no]) return;
            Unplace(static_cast<size_t>(no));
        } else {
            no = static_cast<long>(entries_.size());
            entries_.push_back(IndexEntry{0, 0, 0, 0, e});
            queued_.push_back(0);
            IndexSlot(e) = static_cast<uint32_t>(no + 1);
            ++live_;
            if (e->serial < lastSerial_) ordered_ = false;
            lastSerial_ = std::max(lastSerial_, e->serial);
            if (e->rec.kind == kElmFigure) figures_.push_back(static_cast<uint32_t>(no));
        }
        queued_[no] = 1;
        pending_.push_back(static_cast<uint32_t>(no));
        MaybeRepack();
    }

    bool Erase(StoredElement* e) {
        long no = EntryOf(e);
        if (no < 0) return false;
        if (!queued_[no]) Unplace(static_cast<size_t>(no));
        entries_[no].element = nullptr;
        IndexSlot(e) = 0;
        --live_;
        MaybeRepack();
        return true;
    }

    // Many changes since the packing: pack again at the next use. One entry
    // of the overlay tree costs as much as some sixty of a packing, so a bulk
    // change (a hundred thousand elements moved, or undone) is packed anew,
    // measuring only what changed, instead of paying for each.
    void MaybeRepack() {
        if (staleCount_ + overlay_.size() + pending_.size() > 4096 + packed_ / 64) repack_ = true;
    }

    // Measures the queued entries; one that has no box any more leaves the index.
    void MeasurePending() {
        const size_t pieces = (pending_.size() + kPiece - 1) / kPiece;
        ParallelFor(
            pieces,
            [&](size_t p) {
                for (size_t i = p * kPiece, end = std::min(pending_.size(), i + kPiece); i < end; ++i) {
                    IndexEntry& x = entries_[pending_[i]];
                    if (!x.element) continue;
                    Box b;
                    if (ElementBox(x.element, b))
                        x = IndexEntryOf(x.element, b);
                    else
                        x.l = NAN;
                }
            },
            pending_.size() >= 4096);
        for (uint32_t no : pending_) {
            IndexEntry& x = entries_[no];
            queued_[no] = 0;
            if (x.element && std::isnan(x.l)) {
                IndexSlot(x.element) = 0;
                x.element = nullptr;
                --live_;
            }
        }
    }

    // Places what changed since the packing: in the overlay tree when it is
    // little, by packing again (without measuring the rest) when it is much.
    void Settle() {
        if (pending_.empty() && !repack_) return;
        MeasurePending();
        if (repack_) {
            std::vector<IndexEntry> keep;
            keep.reserve(live_);
            for (const IndexEntry& x : entries_)
                if (x.element) keep.push_back(x);
            if (!ordered_)
                std::sort(keep.begin(), keep.end(), [](const IndexEntry& a, const IndexEntry& b) {
                    return a.element->serial < b.element->serial;
                });
            entries_.swap(keep);
            Pack();
            return;
        }
        for (uint32_t no : pending_)
            if (entries_[no].element) overlay_.insert(Value(ToG(OfEntry(entries_[no])), no));
        pending_.clear();
    }

    void Refresh(StoredElement* e) {
        if (e->state & kStateInChain)
            Insert(e);
        else
            Erase(e);
    }

    void MemberMoved(StoredElement* m) {
        StoredElement* root = RootOf(m);
        if (!root) return;
        if (root->state & kStateHeader) {
            figuresDirty_ = true;
        } else if (EntryOf(root) >= 0 || (root->state & kStateInChain)) {
            Refresh(root);
        }
    }

    void OnElement(DbHeader* header, ElementEvent ev, StoredElement* e) override {
        if (chained_) chained_->OnElement(header, ev, e);
        if (dirty_ || !header || header->core != db_) return;
        switch (ev) {
        case ElementEvent::Cleared:
        case ElementEvent::Reset: dirty_ = true; break;
        case ElementEvent::Added:
        case ElementEvent::Changed:
            if (!e) break;
            if (e->state & kStateInChain)
                Refresh(e);
            else if (e->state & kStateInGroup)
                MemberMoved(e);
            else if (e->state & kStateHeader)
                figuresDirty_ = true;
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
            figuresDirty_ = false;
            std::vector<uint32_t> figs;
            figs.swap(figures_);
            for (uint32_t no : figs) {
                StoredElement* f = no < entries_.size() ? entries_[no].element : nullptr;
                if (f && f->rec.kind == kElmFigure) {
                    figures_.push_back(no);
                    Refresh(f);
                }
            }
            if (dirty_) Rebuild();
        }
        if (!dirty_) Settle();
    }

    // ---- queries

    template <class F>
    void Visit(const Box& area, F&& f) {
        Ready();
        const BoxF q = ToF(area);
        if (packed_) {
            const size_t levels = levelAt_.size() - 1;
            struct Item {
                uint32_t level, index;
            };
            std::vector<Item> stack;
            stack.push_back(Item{static_cast<uint32_t>(levels - 1), 0});
            while (!stack.empty()) {
                Item it = stack.back();
                stack.pop_back();
                if (!nodes_[levelAt_[it.level] + it.index].Meets(q)) continue;
                size_t first = it.index * kFan;
                if (it.level == 0) {
                    for (size_t k = first, e = std::min(packed_, first + kFan); k < e; ++k) {
                        if (!leaves_[k].Meets(q)) continue;
                        uint32_t no = order_[k];
                        if (!stale_[no]) f(entries_[no].element, leaves_[k]);
                    }
                } else {
                    size_t below = levelAt_[it.level] - levelAt_[it.level - 1];
                    for (size_t k = std::min(below, first + kFan); k-- > first;)
                        stack.push_back(Item{it.level - 1, static_cast<uint32_t>(k)});
                }
            }
        }
        for (auto it = overlay_.qbegin(bgi::intersects(ToG(q))); it != overlay_.qend(); ++it)
            f(entries_[it->second].element, OfEntry(entries_[it->second]));
    }

    void Query(const Box& area, std::vector<StoredElement*>& out) override {
        Visit(area, [&](StoredElement* e, const BoxF&) { out.push_back(e); });
    }

    void QueryEntries(const Box& area, std::vector<IndexEntry>& out) override {
        Visit(area, [&](StoredElement* e, const BoxF& b) { out.push_back(IndexEntry{b.l, b.b, b.r, b.t, e}); });
    }

    Box Bounds() override {
        Ready();
        if (live_ == 0) return Box::Empty();
        BoxF b{FLT_MAX, FLT_MAX, -FLT_MAX, -FLT_MAX};
        if (packed_ && staleCount_ < packed_) b.Add(nodes_.back());
        if (!overlay_.empty()) {
            BoxG o = overlay_.bounds();
            b.Add(BoxF{o.min_corner().get<0>(), o.min_corner().get<1>(), o.max_corner().get<0>(),
                       o.max_corner().get<1>()});
        }
        return FromF(b);
    }

    size_t Size() override {
        Ready();
        return live_;
    }

    bool BoxOf(StoredElement* e, Box& box) override {
        Ready();
        long no = EntryOf(e);
        if (no < 0) return false;
        box = BoxOfEntry(entries_[no]);
        return true;
    }

    const std::vector<IndexEntry>& InChainOrder() override {
        Ready();
        if (!ordered_) Reorder();
        return entries_;
    }
};

std::unordered_map<Database*, std::unique_ptr<PackedIndex>>& Indexes() {
    static std::unordered_map<Database*, std::unique_ptr<PackedIndex>> map;
    return map;
}

// The index that follows a database, made or taken over as needed; null
// while changes made in fast access are still untold.
PackedIndex* Follower(DbHeader* header, Database* db) {
    auto& map = Indexes();
    auto it = map.find(db);
    PackedIndex* idx = nullptr;
    auto ours = [&](ElementObserver* o) -> PackedIndex* {
        for (auto& kv : map)
            if (kv.second.get() == o) return kv.second.get();
        return nullptr;
    };
    if (it == map.end()) {
        // A loaded drawing keeps the follower of the drawing it replaced.
        if (PackedIndex* carried = ours(db->observer)) {
            for (auto m = map.begin(); m != map.end(); ++m) {
                if (m->second.get() == carried) {
                    std::unique_ptr<PackedIndex> keep = std::move(m->second);
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
            idx = new PackedIndex(db);
            map.emplace(db, std::unique_ptr<PackedIndex>(idx));
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
    return idx;
}

}  // namespace

Box IndexedBox(const Box& exact) { return FromF(ToF(exact)); }

IndexEntry IndexEntryOf(StoredElement* e, const Box& exact) {
    BoxF f = ToF(exact);
    return IndexEntry{f.l, f.b, f.r, f.t, e};
}

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
    PackedIndex* idx = Follower(header, db);
    idx->Ready();
    return idx;
}

void IndexLoaded(DbHeader* header, std::vector<IndexEntry>& boxes) {
    Database* db = Lookup(header);
    if (!db) return;
    PackedIndex* idx = Follower(header, db);
    idx->Take(boxes);
}

void SortByChainOrder(std::vector<StoredElement*>& v) {
    // Serial numbers follow the chain: appends take the next number and undo
    // brings an element back to its old place.
    std::sort(v.begin(), v.end(), [](const StoredElement* a, const StoredElement* b) { return a->serial < b->serial; });
}

}  // namespace cad
