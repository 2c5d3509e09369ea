// Version-2 trees of elements. The trees of a section are cut into batches
// of about 16,000 nodes; a batch holds whole trees in two parts, the
// structure (kinds, cell masks, counts, lengths) and the data (the cells and
// payload bytes), so that the compressor finds the repeating structure
// together. Batches are packed and read side by side: each reader decodes
// its batch straight into element slots of its own, links its trees and
// measures the boxes of its top-level elements for the spatial index; the
// batches are then joined in file order, so the drawing is the same however
// many threads read it.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>

#include "cadlib/core/block_codec.h"
#include "cadlib/core/crc32.h"
#include "cadlib/core/database.h"
#include "cadlib/core/element_geometry.h"
#include "cadlib/core/file_parts.h"
#include "cadlib/core/parallel.h"
#include "cadlib/core/platform.h"
#include "cadlib/core/raster.h"
#include "cadlib/core/record_cells.h"

namespace cad {

namespace {

const uint32_t kBatchNodes = 16384;
uint32_t gBatchNodes = 0;  // test seam
const size_t kSlotBytes = (sizeof(StoredElement) + 3) & ~size_t(3);
const size_t kBlockSlots = 4096;
const size_t kBatchHead = 8;  // trees(u32) structureSize(u32)

enum HeadBits : uint8_t {
    kHeadSelection = 1,
    kHeadSelColour = 2,
    kHeadFigure = 4,
    kHeadExtras = 8,
    kHeadMembers = 16,
    kHeadExpanded = 32,
    kHeadUnknown = 0xC0,
};

// ---- writing ---------------------------------------------------------------

void PutVar(std::string& s, uint64_t v) {
    while (v >= 0x80) {
        s.push_back(static_cast<char>(v | 0x80));
        v >>= 7;
    }
    s.push_back(static_cast<char>(v));
}
void PutRaw(std::string& s, const void* p, size_t n) { s.append(static_cast<const char*>(p), n); }
void PutU32(std::string& s, uint32_t v) { PutRaw(s, &v, 4); }

int Depth(StoredElement* node, StoredElement* root) {
    int d = 0;
    for (StoredElement* p = node; p && p != root && d < 65535; p = p->owner)
        ++d;
    return d;
}

struct BatchWriter {
    Database& db;
    std::string structure, data;

    void Node(StoredElement* e, bool root) {
        ElementRecord rec = e->rec;
        ClearPointers(rec);
        uint8_t cells[sizeof(ElementRecord)];
        uint64_t mask = 0;
        uint8_t* end = PackCells(rec, mask, cells);
        const ElementExt* x = static_cast<const ElementExt*>(e->ext);
        const uint8_t extFlags = ExtFlags(x);
        // The definition the library resolves, so that a stray number at
        // +198 never makes a file that cannot be read back.
        const int32_t figure = rec.kind == kElmFigure ? FigureIndexOf(db, e) : 0;
        uint32_t members = 0;
        if (root && IsGroupKind(rec.kind))
            for (StoredElement* m = e->member; m; m = m->member)
                ++members;

        // What travels with the record.
        const void* payload = nullptr;
        uint32_t payloadSize = 0;
        std::string packed;
        void* locked = nullptr;
        bool expanded = false;
        switch (rec.kind) {
        case kElmText: {
            const char* t = static_cast<const char*>(CadGetPtr(&e->rec, kOffTextPtr));
            payload = t;
            payloadSize = t ? static_cast<uint32_t>(strnlen(t, kMaxText)) : 0;
            break;
        }
        case kElmBlock: {
            void* h = CadGetPtr(&e->rec, kOffBlockHandle);
            uint32_t n = h ? CadGetU32(&e->rec, kOffBlockSize) : 0;
            if (n > BlockSize(h)) n = static_cast<uint32_t>(BlockSize(h));
            locked = h;
            payload = n ? BlockLock(h) : nullptr;
            payloadSize = payload ? n : 0;
            break;
        }
        case kElmRaster: {
            const uint8_t* comp = static_cast<const uint8_t*>(CadGetPtr(&e->rec, kOffRasterComp));
            const uint8_t* bits = static_cast<const uint8_t*>(CadGetPtr(&e->rec, kOffRasterBits));
            expanded = reinterpret_cast<const uint8_t*>(&e->rec)[kOffRasterExpanded] && bits;
            if (!comp && bits) {
                packed = CompressRaster(bits, CadGetU32(&e->rec, kOffRasterBitsSize));
                payload = packed.data();
                payloadSize = static_cast<uint32_t>(packed.size());
            } else if (comp) {
                payload = comp;
                payloadSize = CadGetU32(&e->rec, kOffRasterCompSize);
            }
            break;
        }
        default: break;
        }

        uint8_t head = 0;
        if (e->selection) head |= kHeadSelection;
        if (e->selColour) head |= kHeadSelColour;
        if (figure) head |= kHeadFigure;
        if (extFlags) head |= kHeadExtras;
        if (members) head |= kHeadMembers;
        if (expanded) head |= kHeadExpanded;
        PutVar(structure, rec.kind);
        structure.push_back(static_cast<char>(head));
        PutVar(structure, mask);
        PutRaw(data, cells, static_cast<size_t>(end - cells));
        if (e->selection) PutU32(data, e->selection);
        if (e->selColour) PutU32(data, e->selColour);
        if (figure) PutVar(structure, static_cast<uint32_t>(figure));
        if (rec.kind == kElmText || rec.kind == kElmBlock || rec.kind == kElmRaster) {
            PutVar(structure, payloadSize);
            if (payloadSize) PutRaw(data, payload, payloadSize);
        }
        if (locked) BlockUnlock(locked);
        if (extFlags) {
            structure.push_back(static_cast<char>(extFlags));
            if (extFlags & 1) {
                PutVar(structure, x->tags.size());
                for (auto& kv : x->tags) {
                    PutU32(data, static_cast<uint32_t>(kv.first));
                    PutU32(data, static_cast<uint32_t>(kv.second));
                }
            }
            if (extFlags & 2) {
                PutVar(structure, x->tagText.size());
                PutRaw(data, x->tagText.data(), x->tagText.size());
            }
            if (extFlags & 4) PutRaw(data, x->userData.get(), 256);
            if (extFlags & 8) {
                PutVar(structure, x->extra.size());
                for (auto& kv : x->extra) {
                    PutU32(data, static_cast<uint32_t>(kv.first));
                    PutU32(data, static_cast<uint32_t>(kv.second));
                }
            }
        }
        if (members) {
            PutVar(structure, members);
            for (StoredElement* m = e->member; m; m = m->member) {
                PutVar(structure, static_cast<uint32_t>(Depth(m, e)));
                Node(m, false);
            }
        }
    }
};

// The roots of a section one after the other: the chain of the drawing's
// elements, or the list of figure definitions.
struct Roots {
    Database& db;
    bool figures;
    StoredElement* First() const {
        if (figures) return db.figureHeaders.empty() ? nullptr : db.figureHeaders[0];
        return db.first;
    }
    StoredElement* Next(StoredElement* e, size_t& index) const {
        if (figures) return ++index < db.figureHeaders.size() ? db.figureHeaders[index] : nullptr;
        return e->next;
    }
};

// Buffers that outlive one batch, handed from batch to batch among the
// threads of one pass and freed with the shelf.
template <class T>
class Shelf {
public:
    // Null when memory is exhausted.
    std::unique_ptr<T> Take() {
        {
            std::lock_guard<std::mutex> lk(m_);
            if (!items_.empty()) {
                std::unique_ptr<T> t = std::move(items_.back());
                items_.pop_back();
                return t;
            }
        }
        return std::unique_ptr<T>(new (std::nothrow) T);
    }
    // Never throws: what finds no room on the shelf is freed.
    void Put(std::unique_ptr<T> t) {
        std::lock_guard<std::mutex> lk(m_);
        try {
            items_.push_back(std::move(t));
        } catch (const std::bad_alloc&) {}
    }

private:
    std::mutex m_;
    std::vector<std::unique_ptr<T>> items_;
};

struct WriterBuffers {
    std::string structure, data, raw;
};
using WriterShelf = Shelf<WriterBuffers>;
using ScratchShelf = Shelf<std::vector<uint8_t>>;

struct Plan {
    StoredElement* first;
    size_t firstIndex;
    uint32_t trees = 0, nodes = 0;
};

}  // namespace

void SetTreeBatchNodes(uint32_t nodes) { gBatchNodes = nodes; }

TreeSection WriteTrees(Database& db, bool figures) {
    // Cut the section into batches of whole trees.
    const uint32_t batchNodes = gBatchNodes ? gBatchNodes : kBatchNodes;
    Roots roots{db, figures};
    std::vector<Plan> plans;
    size_t index = 0;
    uint32_t total = 0;
    for (StoredElement* e = roots.First(); e; e = roots.Next(e, index)) {
        uint32_t nodes = 1;
        if (IsGroupKind(e->rec.kind))
            for (StoredElement* m = e->member; m; m = m->member)
                ++nodes;
        if (plans.empty() || plans.back().nodes >= batchNodes) plans.push_back(Plan{e, index});
        ++plans.back().trees;
        plans.back().nodes += nodes;
        ++total;
    }
    std::vector<std::string> stored(plans.size());
    std::vector<uint32_t> rawSizes(plans.size()), items(plans.size());
    std::vector<char> failed(plans.size(), 0);
    // The buffers of a batch go back on a shelf for the next one: fresh
    // memory costs more than the packing.
    WriterShelf shelf;
    ParallelFor(
        plans.size(),
        [&](size_t i) {
            std::unique_ptr<WriterBuffers> buffers = shelf.Take();
            if (!buffers) {
                failed[i] = 1;
                return;
            }
            {
                std::string& raw = buffers->raw;
                BatchWriter w{db, std::move(buffers->structure), std::move(buffers->data)};
                try {
                    w.structure.clear();
                    w.data.clear();
                    w.structure.reserve(plans[i].nodes * 6);
                    w.data.reserve(plans[i].nodes * 48);
                    size_t at = plans[i].firstIndex;
                    StoredElement* e = plans[i].first;
                    for (uint32_t t = 0; t < plans[i].trees; ++t, e = roots.Next(e, at))
                        w.Node(e, true);
                    raw.clear();
                    raw.reserve(kBatchHead + w.structure.size() + w.data.size());
                    PutU32(raw, plans[i].trees);
                    PutU32(raw, static_cast<uint32_t>(w.structure.size()));
                    raw += w.structure;
                    raw += w.data;
                    rawSizes[i] = static_cast<uint32_t>(raw.size());
                    items[i] = plans[i].nodes;
                    if (!CompressBlock(raw.data(), raw.size(), stored[i])) failed[i] = 1;
                } catch (const std::bad_alloc&) {
                    failed[i] = 1;
                }
                buffers->structure = std::move(w.structure);
                buffers->data = std::move(w.data);
            }
            shelf.Put(std::move(buffers));
        },
        total >= 32768);
    if (std::find(failed.begin(), failed.end(), 1) != failed.end()) throw std::bad_alloc();
    TreeSection out;
    out.bytes = JoinChunks(stored, rawSizes, items);
    out.items = total;
    out.crc = Crc32Split(out.bytes.data(), out.bytes.size());
    return out;
}

// ---- reading ---------------------------------------------------------------

namespace {

// Bounds-checked reading of one part of a batch; a read past the end fails
// the load with the section's damage bits.
struct Cursor {
    const uint8_t* p;
    const uint8_t* end;
    uint32_t damage;

    size_t Left() const { return static_cast<size_t>(end - p); }
    uint8_t U8() {
        if (p == end) Fail(damage);
        return *p++;
    }
    uint32_t U32() {
        uint32_t v;
        memcpy(&v, Take(4), 4);
        return v;
    }
    uint64_t Var(uint64_t most) {
        uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            uint8_t b = U8();
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) {
                if (v > most) Fail(damage);
                return v;
            }
        }
        Fail(damage);
    }
    const uint8_t* Take(size_t n) {
        if (n > Left()) Fail(damage);
        const uint8_t* r = p;
        p += n;
        return r;
    }
};

void FreeNodePayload(StoredElement* e) {
    switch (e->rec.kind) {
    case kElmText: delete[] static_cast<char*>(CadGetPtr(&e->rec, kOffTextPtr)); break;
    case kElmBlock: BlockFree(CadGetPtr(&e->rec, kOffBlockHandle)); break;
    case kElmRaster: RasterFree(CadGetPtr(&e->rec, kOffRasterComp)); break;
    default: break;
    }
    delete static_cast<ElementExt*>(e->ext);
}

struct BatchReader {
    Database* db = nullptr;
    bool figures = false;
    ChunkInfo chunk{};
    const uint8_t* section = nullptr;
    uint32_t serial = 0;  // of the batch's first node
    uint32_t damage = 0;

    uint32_t error = 0;
    bool badFigure = false;
    struct Block {
        std::unique_ptr<uint8_t[]> bytes;
        size_t slots, used;
    };
    std::vector<Block> blocks;
    size_t made = 0;
    StoredElement* first = nullptr;
    StoredElement* last = nullptr;
    uint32_t trees = 0;
    std::vector<StoredElement*> roots;   // definitions (figures)
    std::vector<PlacedFigure> refs;      // placed figures in definitions
    std::vector<void*> rasters;          // compressed data to count
    std::vector<StoredElement*> expand;  // rasters to expand again
    std::vector<IndexEntry> boxes;
    // Texts are read into a few blocks of the batch (threads that allocate
    // every text wait on each other at the heap) and get their own copies
    // when the batches are joined (OwnTexts); until then no text pointer
    // of the batch may be freed.
    std::vector<std::unique_ptr<char[]>> textBlocks;
    char* textAt = nullptr;
    size_t textLeft = 0;
    std::vector<StoredElement*> texts;

    char* TextSpace(size_t n) {
        if (n > textLeft) {
            const size_t size = std::max<size_t>(n, std::min<size_t>(65536, chunk.rawSize));
            std::unique_ptr<char[]> block(new (std::nothrow) char[size]);
            if (!block) Fail(kLoadOutOfMemory);
            textAt = block.get();
            textBlocks.push_back(std::move(block));
            textLeft = size;
        }
        char* p = textAt;
        textAt += n;
        textLeft -= n;
        return p;
    }

    void DropTextBlocks() {
        textBlocks.clear();
        textAt = nullptr;
        textLeft = 0;
    }

    void ForgetTexts() {
        for (StoredElement* e : texts)
            CadSetPtr(&e->rec, kOffTextPtr, nullptr);
        texts.clear();
    }

    // Gives each text of the batch its own allocation; false when memory
    // is exhausted (the texts not yet copied are then forgotten).
    bool OwnTexts() {
        for (size_t i = 0; i < texts.size(); ++i) {
            StoredElement* e = texts[i];
            const char* t = static_cast<const char*>(CadGetPtr(&e->rec, kOffTextPtr));
            const size_t len = strlen(t);
            char* copy = new (std::nothrow) char[len + 1];
            if (!copy) {
                for (size_t k = i; k < texts.size(); ++k)
                    CadSetPtr(&texts[k]->rec, kOffTextPtr, nullptr);
                texts.clear();
                return false;
            }
            memcpy(copy, t, len + 1);
            CadSetPtr(&e->rec, kOffTextPtr, copy);
        }
        texts.clear();
        DropTextBlocks();
        return true;
    }

    StoredElement* NewSlot() {
        if (made == chunk.items) Fail(damage);
        if (blocks.empty() || blocks.back().used == blocks.back().slots) {
            size_t n = std::min(kBlockSlots, static_cast<size_t>(chunk.items) - made);
            Block b{std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[n * kSlotBytes]), n, 0};
            if (!b.bytes) Fail(kLoadOutOfMemory);
            blocks.push_back(std::move(b));
        }
        Block& b = blocks.back();
        StoredElement* e = reinterpret_cast<StoredElement*>(b.bytes.get() + b.used++ * kSlotBytes);
        memset(e, 0, kSlotBytes);
        ++made;
        return e;
    }

    StoredElement* Node(Cursor& s, Cursor& d, bool root, uint32_t* members) {
        const uint16_t kind = static_cast<uint16_t>(s.Var(0xFFFF));
        const uint8_t head = s.U8();
        const uint64_t mask = s.Var(~uint64_t(0));
        if (head & kHeadUnknown) Fail(damage);
        StoredElement* e = NewSlot();
        ElementRecord& rec = e->rec;
        rec.kind = kind;
        size_t used = 0;
        if (!UnpackCells(rec, mask, d.p, d.Left(), used)) Fail(damage);
        d.p += used;
        ClearPointers(rec);
        if (!CheckRecord(rec)) Fail(damage);
        e->state = kStateTag;
        e->serial = serial++;
        DbOf(e) = db;
        if (head & kHeadSelection) e->selection = d.U32();
        if (head & kHeadSelColour) e->selColour = d.U32();
        if (head & kHeadFigure) {
            if (kind != kElmFigure) Fail(damage);
            int32_t index = static_cast<int32_t>(s.Var(0x7FFFFFFF));
            if (figures)
                refs.push_back(PlacedFigure{e, index});
            else if (!ResolveFigure(*db, e, index))
                badFigure = true;
        }
        if ((head & kHeadExpanded) && kind != kElmRaster) Fail(damage);
        switch (kind) {
        case kElmText: {
            uint32_t n = static_cast<uint32_t>(s.Var(kMaxText));
            const uint8_t* p = d.Take(n);
            if (n) {
                // The text ends at its first zero byte, as it does in memory.
                size_t len = strnlen(reinterpret_cast<const char*>(p), n);
                char* copy = TextSpace(len + 1);
                memcpy(copy, p, len);
                copy[len] = 0;
                CadSetPtr(&rec, kOffTextPtr, copy);
                CadSetU32(&rec, kOffTextLen, static_cast<uint32_t>(len));
                texts.push_back(e);
            } else {
                CadSetU32(&rec, kOffTextLen, 0);
            }
            break;
        }
        case kElmBlock: {
            uint32_t n = static_cast<uint32_t>(s.Var(0xFFFFFFFFu));
            const uint8_t* p = d.Take(n);
            void* block = nullptr;
            if (n) {
                block = BlockAlloc(n);
                if (!block) Fail(kLoadOutOfMemory);
                CadSetPtr(&rec, kOffBlockHandle, block);
                void* dst = BlockLock(block);
                if (dst) memcpy(dst, p, n);
                BlockUnlock(block);
            }
            CadSetU32(&rec, kOffBlockSize, block ? n : 0);
            break;
        }
        case kElmRaster: {
            uint32_t n = static_cast<uint32_t>(s.Var(0xFFFFFFFFu));
            const uint8_t* p = d.Take(n);
            if (n) {
                if (n < 8 || memcmp(p, "RLE", 3) != 0) Fail(damage);
                if (p[3] != '1') Fail(kLoadUnknownCompression);
                uint8_t* data = static_cast<uint8_t*>(RasterAlloc(n));
                if (!data) Fail(kLoadOutOfMemory);
                memcpy(data, p, n);
                CadSetPtr(&rec, kOffRasterComp, data);
                rasters.push_back(data);
                if (head & kHeadExpanded) expand.push_back(e);
            }
            CadSetU32(&rec, kOffRasterCompSize, n);
            break;
        }
        default: break;
        }
        if (head & kHeadExtras) Extras(s, d, e);
        *members = 0;
        if (head & kHeadMembers) {
            if (!root || !IsGroupKind(kind)) Fail(damage);
            *members = static_cast<uint32_t>(s.Var(chunk.items - made));
        }
        return e;
    }

    void Extras(Cursor& s, Cursor& d, StoredElement* e) {
        uint8_t flags = s.U8();
        if (flags == 0 || (flags & ~0x0Fu)) Fail(damage);
        ElementExt* x = new (std::nothrow) ElementExt;
        if (!x) Fail(kLoadOutOfMemory);
        e->ext = x;
        if (flags & 1) {
            size_t n = static_cast<size_t>(s.Var(d.Left() / 8));
            x->tags.reserve(n);
            for (size_t i = 0; i < n; ++i) {
                int32_t k = static_cast<int32_t>(d.U32());
                x->tags.emplace_back(k, static_cast<int32_t>(d.U32()));
            }
        }
        if (flags & 2) {
            size_t n = static_cast<size_t>(s.Var(299));
            x->tagText.assign(reinterpret_cast<const char*>(d.Take(n)), n);
            x->hasTagText = true;
        }
        if (flags & 4) {
            const uint8_t* p = d.Take(256);
            x->userData.reset(new (std::nothrow) uint8_t[256]);
            if (!x->userData) Fail(kLoadOutOfMemory);
            memcpy(x->userData.get(), p, 256);
        }
        if (flags & 8) {
            size_t n = static_cast<size_t>(s.Var(d.Left() / 8));
            x->extra.reserve(n);
            for (size_t i = 0; i < n; ++i) {
                int32_t k = static_cast<int32_t>(d.U32());
                x->extra.emplace_back(k, static_cast<int32_t>(d.U32()));
            }
        }
    }

    // A tree: its root, then its members in depth-first order with their depth.
    void Tree(Cursor& s, Cursor& d) {
        uint32_t n = 0, none = 0;
        StoredElement* root = Node(s, d, true, &n);
        if (figures) {
            if (root->rec.kind != kElmFigureHeader) Fail(damage);
            root->state |= kStateHeader;
            roots.push_back(root);
        } else {
            root->prev = last;
            if (last)
                last->next = root;
            else
                first = root;
            last = root;
            root->state |= kStateInChain;
        }
        StoredElement* stack[64];
        std::vector<StoredElement*> deep;  // beyond 64 levels (rare)
        size_t height = 1;
        stack[0] = root;
        auto at = [&](size_t i) { return i < 64 ? stack[i] : deep[i - 64]; };
        for (uint32_t i = 0; i < n; ++i) {
            uint32_t depth = static_cast<uint32_t>(s.Var(65535));
            if (depth < 1 || depth > height) Fail(damage);
            StoredElement* parent = at(depth - 1);
            if (!IsGroupKind(parent->rec.kind)) Fail(damage);
            StoredElement* m = Node(s, d, false, &none);
            LinkMember(parent, m, root->memberPrev ? root->memberPrev : root);
            height = depth;
            if (height < 64)
                stack[height] = m;
            else {
                deep.resize(height - 64);
                deep.push_back(m);
            }
            ++height;
        }
        if (!figures) {
            Box b;
            if (ElementBox(root, b)) boxes.push_back(IndexEntryOf(root, b));
        }
    }

    // `scratch` holds the expanded batch while it is read; it is reused from
    // batch to batch, since fresh memory costs more than the expanding.
    void Decode(std::vector<uint8_t>& scratch) {
        if (chunk.rawSize < kBatchHead) Fail(damage);
        if (scratch.size() < chunk.rawSize) {
            std::vector<uint8_t>().swap(scratch);
            scratch.resize(chunk.rawSize);
        }
        uint8_t* const raw = scratch.data();
        if (!ExpandBlock(section + chunk.at, chunk.storedSize, raw, chunk.rawSize)) Fail(damage);
        Cursor h{raw, raw + kBatchHead, damage};
        const uint32_t count = h.U32();
        const uint32_t structure = h.U32();
        // A tree takes at least three bytes of structure (kind, head, mask).
        if (structure > chunk.rawSize - kBatchHead || count > chunk.items || count > structure / 3) Fail(damage);
        Cursor s{raw + kBatchHead, raw + kBatchHead + structure, damage};
        Cursor d{s.end, raw + chunk.rawSize, damage};
        boxes.reserve(count);
        for (uint32_t t = 0; t < count; ++t)
            Tree(s, d);
        trees = count;
        if (s.p != s.end || d.p != d.end || made != chunk.items) Fail(damage);
    }

    void Run(std::vector<uint8_t>& scratch) {
        try {
            Decode(scratch);
        } catch (const LoadError& e) {
            error = e.bits;
        } catch (const std::bad_alloc&) {
            error = kLoadOutOfMemory;
        } catch (const std::length_error&) {
            error = damage;
        }
        if (error) Discard();
    }

    // Frees what the batch made; its slots go with their blocks.
    void Discard() {
        ForgetTexts();
        DropTextBlocks();
        for (Block& b : blocks)
            for (size_t i = 0; i < b.used; ++i)
                FreeNodePayload(reinterpret_cast<StoredElement*>(b.bytes.get() + i * kSlotBytes));
        blocks.clear();
        first = last = nullptr;
        roots.clear();
        rasters.clear();
        expand.clear();
        refs.clear();
        boxes.clear();
    }
};

}  // namespace

void ReadTrees(const uint8_t* stored, size_t size, uint32_t crc, Database& db, bool figures,
               std::vector<IndexEntry>* boxes, std::vector<PlacedFigure>& refs, bool& badFigure) {
    const uint32_t damage = figures ? kLoadGroupDamaged : kLoadElementDamaged;
    std::vector<ChunkInfo> chunks;
    if (!SplitChunks(stored, size, chunks)) Fail(damage);
    if (Crc32Split(stored, size) != crc) Fail(damage);
    std::vector<BatchReader> batches(chunks.size());
    uint32_t serial = db.nextSerial;
    for (size_t i = 0; i < chunks.size(); ++i) {
        BatchReader& b = batches[i];
        b.db = &db;
        b.figures = figures;
        b.chunk = chunks[i];
        b.section = stored;
        b.serial = serial;
        b.damage = damage;
        if (chunks[i].items > 0xFFFFFFFFu - serial) Fail(damage);
        serial += chunks[i].items;
    }
    // The texts of the batches read so far get their own copies, in file
    // order, on one thread at a time (threads that allocate side by side
    // wait on each other at the heap), while the other threads go on
    // reading: whichever thread finishes a batch takes over the copying
    // when no other has it.
    std::unique_ptr<std::atomic<bool>[]> read(new std::atomic<bool>[batches.size()]);
    for (size_t i = 0; i < batches.size(); ++i)
        read[i].store(false);
    std::mutex owning;
    size_t owned = 0;  // batches [0, owned) have their own texts (under `owning`)
    bool ownFailed = false;
    auto ownRead = [&] {
        for (; owned < batches.size() && read[owned].load(std::memory_order_acquire); ++owned)
            if (!ownFailed && !batches[owned].OwnTexts()) ownFailed = true;
    };
    // Threads pay from a few tens of thousands of elements on.
    ScratchShelf shelf;
    ParallelFor(
        batches.size(),
        [&](size_t i) {
            std::unique_ptr<std::vector<uint8_t>> scratch = shelf.Take();
            if (!scratch) {
                batches[i].error = kLoadOutOfMemory;
            } else {
                batches[i].Run(*scratch);
                shelf.Put(std::move(scratch));
            }
            read[i].store(true, std::memory_order_release);
            if (owning.try_lock()) {
                ownRead();
                owning.unlock();
            }
        },
        serial - db.nextSerial >= 32768);
    ownRead();
    // The first failure in file order is the one a single reader meets.
    for (BatchReader& b : batches) {
        if (!b.error) continue;
        uint32_t bits = b.error;
        for (BatchReader& other : batches)
            other.Discard();
        Fail(bits);
    }
    // Every batch made the elements its directory claims: the claim is real now.
    try {
        if (boxes) boxes->reserve(boxes->size() + (serial - db.nextSerial));
    } catch (const std::bad_alloc&) {
        // Then the boxes grow as they are joined.
    }
    if (ownFailed) {
        for (BatchReader& other : batches)
            other.Discard();
        Fail(kLoadOutOfMemory);
    }
    for (BatchReader& b : batches) {
        for (auto& block : b.blocks)
            db.elements.Adopt(std::move(block.bytes), block.slots, block.used);
        b.blocks.clear();
        if (figures) {
            for (StoredElement* r : b.roots)
                db.figureHeaders.push_back(r);
        } else if (b.first) {
            b.first->prev = db.last;
            if (db.last)
                db.last->next = b.first;
            else
                db.first = b.first;
            db.last = b.last;
            db.count += static_cast<int32_t>(b.trees);
        }
        for (void* data : b.rasters)
            ++db.rasterData[data];
        refs.insert(refs.end(), b.refs.begin(), b.refs.end());
        badFigure = badFigure || b.badFigure;
        if (boxes) boxes->insert(boxes->end(), b.boxes.begin(), b.boxes.end());
        b.boxes = std::vector<IndexEntry>();
    }
    db.page0->elementCount = db.count;
    db.nextSerial = serial;
    // Images that were expanded in memory are expanded again.
    for (BatchReader& b : batches)
        for (StoredElement* e : b.expand)
            if (!DAriExpandRstrData(db.header, e, 1)) Fail(damage);
}

}  // namespace cad
