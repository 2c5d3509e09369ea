// Version-1 trees of elements: every node as its whole 174-byte record with
// its selection words, figure number, payload and extras (FORMAT.md). The
// loader reads the files of that version; the writer stays for the test
// fixtures that prove it.
#include <cstring>
#include <new>

#include "cadlib/core/bytes.h"
#include "cadlib/core/crc32.h"
#include "cadlib/core/database.h"
#include "cadlib/core/file_parts.h"
#include "cadlib/core/platform.h"
#include "cadlib/core/raster.h"

namespace cad {

namespace {

const size_t kNodeMin = sizeof(ElementRecord) + 12 + 1;

// ---- writing ---------------------------------------------------------------

void WriteNodeBody(ByteWriter& w, StoredElement* e) {
    ElementRecord rec = e->rec;
    ClearPointers(rec);
    w.Raw(&rec, sizeof rec);
    w.U32(e->selection);
    w.U32(e->selColour);
    // The definition the library resolves, so that a stray number at +198
    // never makes a file that cannot be read back.
    w.U32(static_cast<uint32_t>(FigureIndexOf(*DbOf(e), e)));
    switch (e->rec.kind) {
    case kElmText: {
        const char* t = static_cast<const char*>(CadGetPtr(&e->rec, kOffTextPtr));
        uint32_t n = t ? static_cast<uint32_t>(strnlen(t, kMaxText)) : 0;
        w.U32(n);
        if (n) w.Raw(t, n);
        break;
    }
    case kElmBlock: {
        void* h = CadGetPtr(&e->rec, kOffBlockHandle);
        uint32_t n = h ? CadGetU32(&e->rec, kOffBlockSize) : 0;
        if (n > BlockSize(h)) n = static_cast<uint32_t>(BlockSize(h));
        void* p = BlockLock(h);
        if (!p) n = 0;
        w.U32(n);
        if (n) w.Raw(p, n);
        BlockUnlock(h);
        break;
    }
    case kElmRaster: {
        const uint8_t* data = static_cast<const uint8_t*>(CadGetPtr(&e->rec, kOffRasterComp));
        uint32_t n = CadGetU32(&e->rec, kOffRasterCompSize);
        const uint8_t* bits = static_cast<const uint8_t*>(CadGetPtr(&e->rec, kOffRasterBits));
        uint8_t expanded = reinterpret_cast<const uint8_t*>(&e->rec)[kOffRasterExpanded] && bits;
        if (!data && bits) {
            std::string packed = CompressRaster(bits, CadGetU32(&e->rec, kOffRasterBitsSize));
            w.U32(static_cast<uint32_t>(packed.size()));
            w.Raw(packed.data(), packed.size());
        } else {
            if (!data) n = 0;
            w.U32(n);
            if (n) w.Raw(data, n);
        }
        w.U8(expanded);
        break;
    }
    default: break;
    }
    ElementExt* x = static_cast<ElementExt*>(e->ext);
    uint8_t flags = ExtFlags(x);
    w.U8(flags);
    if (flags & 1) {
        w.U32(static_cast<uint32_t>(x->tags.size()));
        for (auto& kv : x->tags) {
            w.U32(kv.first);
            w.U32(kv.second);
        }
    }
    if (flags & 2) {
        w.U32(static_cast<uint32_t>(x->tagText.size()));
        w.Raw(x->tagText.data(), x->tagText.size());
    }
    if (flags & 4) w.Raw(x->userData.get(), 256);
    if (flags & 8) {
        w.U32(static_cast<uint32_t>(x->extra.size()));
        for (auto& kv : x->extra) {
            w.U32(kv.first);
            w.U32(kv.second);
        }
    }
}

int Depth(StoredElement* node, StoredElement* root) {
    int d = 0;
    for (StoredElement* p = node; p && p != root && d < 65535; p = p->owner)
        ++d;
    return d;
}

void WriteTree(ByteWriter& w, StoredElement* root) {
    WriteNodeBody(w, root);
    uint32_t n = 0;
    if (IsGroupKind(root->rec.kind))
        for (StoredElement* m = root->member; m; m = m->member)
            ++n;
    w.U32(n);
    if (!n) return;
    for (StoredElement* m = root->member; m; m = m->member) {
        w.U16(static_cast<uint16_t>(Depth(m, root)));
        WriteNodeBody(w, m);
    }
}

// ---- reading ---------------------------------------------------------------

StoredElement* ReadNodeBody(ByteReader& r, Database& db, uint32_t damage, int32_t* figIndex) {
    ElementRecord rec;
    if (!r.Raw(&rec, sizeof rec)) Fail(damage);
    uint32_t selection = r.U32();
    uint32_t selColour = r.U32();
    *figIndex = static_cast<int32_t>(r.U32());
    ClearPointers(rec);
    if (!CheckRecord(rec)) Fail(damage);
    std::string text;
    void* block = nullptr;
    uint8_t* data = nullptr;
    uint8_t expand = 0;
    switch (rec.kind) {
    case kElmText: {
        uint32_t n = r.U32();
        if (n > kMaxText) Fail(damage);
        const uint8_t* p = r.Take(n);
        if (!p) Fail(damage);
        text.assign(reinterpret_cast<const char*>(p), n);
        CadSetPtr(&rec, kOffTextPtr, n ? text.c_str() : nullptr);
        break;
    }
    case kElmBlock: {
        uint32_t n = r.U32();
        const uint8_t* p = r.Take(n);
        if (!p) Fail(damage);
        if (n) {
            block = BlockAlloc(n);
            if (!block) Fail(kLoadOutOfMemory);
            void* dst = BlockLock(block);
            if (dst) memcpy(dst, p, n);
            BlockUnlock(block);
        }
        CadSetU32(&rec, kOffBlockSize, n);
        break;
    }
    case kElmRaster: {
        uint32_t n = r.U32();
        const uint8_t* p = r.Take(n);
        expand = r.U8();
        if (!p) Fail(damage);
        if (n) {
            if (n < 8 || memcmp(p, "RLE", 3) != 0) Fail(damage);
            if (p[3] != '1') Fail(kLoadUnknownCompression);
            data = static_cast<uint8_t*>(RasterAlloc(n));
            if (!data) Fail(kLoadOutOfMemory);
            memcpy(data, p, n);
        }
        CadSetU32(&rec, kOffRasterCompSize, n);
        break;
    }
    default: break;
    }
    if (!r.ok) Fail(damage);
    StoredElement* e = NewElement(db, rec);
    if (!e) {
        BlockFree(block);
        RasterFree(data);
        Fail(kLoadOutOfMemory);
    }
    // The record owns its memory from here on.
    AdoptPayload(db, e->rec, nullptr);
    if (rec.kind == kElmBlock) {
        CadSetPtr(&e->rec, kOffBlockHandle, block);
        CadSetU32(&e->rec, kOffBlockSize, block ? CadGetU32(&rec, kOffBlockSize) : 0);
    }
    if (rec.kind == kElmRaster && data) {
        CadSetPtr(&e->rec, kOffRasterComp, data);
        ++db.rasterData[data];
    }
    e->selection = selection;
    e->selColour = selColour;
    // Read the extras before anything can fail with the element unowned.
    uint8_t flags = r.U8();
    if (flags & ~0x0Fu) {
        TryFree(db, e);
        Fail(damage);
    }
    ElementExt* x = flags ? Ext(e, true) : nullptr;
    if (flags && !x) {
        TryFree(db, e);
        Fail(kLoadOutOfMemory);
    }
    bool bad = false;
    if (flags & 1) {
        uint32_t n = r.U32();
        if (n > r.Left() / 8) bad = true;
        for (uint32_t i = 0; !bad && i < n; ++i) {
            int32_t k = static_cast<int32_t>(r.U32());
            int32_t v = static_cast<int32_t>(r.U32());
            x->tags.emplace_back(k, v);
        }
    }
    if (!bad && (flags & 2)) {
        uint32_t n = r.U32();
        const uint8_t* p = n <= 299 ? r.Take(n) : nullptr;
        if (!p)
            bad = true;
        else {
            x->tagText.assign(reinterpret_cast<const char*>(p), n);
            x->hasTagText = true;
        }
    }
    if (!bad && (flags & 4)) {
        x->userData.reset(new (std::nothrow) uint8_t[256]);
        if (!x->userData || !r.Raw(x->userData.get(), 256)) bad = true;
    }
    if (!bad && (flags & 8)) {
        uint32_t n = r.U32();
        if (n > r.Left() / 8) bad = true;
        for (uint32_t i = 0; !bad && i < n; ++i) {
            int32_t k = static_cast<int32_t>(r.U32());
            int32_t v = static_cast<int32_t>(r.U32());
            x->extra.emplace_back(k, v);
        }
    }
    if (bad || !r.ok) {
        TryFree(db, e);
        Fail(damage);
    }
    if (expand && data) {
        DbHeader* h = db.header;
        if (!DAriExpandRstrData(h, e, 1)) {
            TryFree(db, e);
            Fail(damage);
        }
    }
    return e;
}

// A tree: its root, then its members in depth-first order with their depth.
StoredElement* ReadTree(ByteReader& r, Database& db, uint32_t damage, bool header, std::vector<PlacedFigure>& refs) {
    int32_t fig = 0;
    StoredElement* root = ReadNodeBody(r, db, damage, &fig);
    if (header) {
        root->state |= kStateHeader;
        db.figureHeaders.push_back(root);
    } else {
        LinkAfter(db, root, db.last);
    }
    if (root->rec.kind == kElmFigure) refs.push_back(PlacedFigure{root, fig});
    uint32_t n = r.U32();
    if (!r.ok || n > r.Left() / kNodeMin) Fail(damage);
    if (n && !IsGroupKind(root->rec.kind)) Fail(damage);
    std::vector<StoredElement*> stack;
    stack.push_back(root);
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t depth = r.U16();
        if (!r.ok || depth < 1 || depth > stack.size()) Fail(damage);
        StoredElement* parent = stack[depth - 1];
        if (!IsGroupKind(parent->rec.kind)) Fail(damage);
        StoredElement* m = ReadNodeBody(r, db, damage, &fig);
        if (m->rec.kind == kElmFigure) refs.push_back(PlacedFigure{m, fig});
        LinkMember(parent, m, root->memberPrev ? root->memberPrev : root);
        stack.resize(depth);
        stack.push_back(m);
    }
    return root;
}

}  // namespace

TreeSection WriteTreesV1(Database& db, bool figures) {
    TreeSection out;
    ByteWriter w(out.bytes);
    if (figures) {
        w.U32(static_cast<uint32_t>(db.figureHeaders.size()));
        for (StoredElement* h : db.figureHeaders)
            WriteTree(w, h);
        out.items = static_cast<uint32_t>(db.figureHeaders.size());
    } else {
        w.U32(static_cast<uint32_t>(db.count));
        // Reserve once: most elements write about 190 bytes.
        out.bytes.reserve(static_cast<size_t>(db.count) * 192 + 16);
        for (StoredElement* e = db.first; e; e = e->next)
            WriteTree(w, e);
        out.items = static_cast<uint32_t>(db.count);
    }
    out.crc = Crc32(out.bytes.data(), out.bytes.size());
    return out;
}

void ReadTreesV1(const char* data, size_t size, Database& db, bool figures, std::vector<PlacedFigure>& refs) {
    const uint32_t damage = figures ? kLoadGroupDamaged : kLoadElementDamaged;
    ByteReader r(data, size);
    uint32_t n = r.U32();
    if (!r.ok || n > r.Left() / kNodeMin) Fail(damage);
    for (uint32_t i = 0; i < n; ++i) {
        StoredElement* root = ReadTree(r, db, damage, figures, refs);
        if (figures && root->rec.kind != kElmFigureHeader) Fail(damage);
    }
    if (!r.AtEnd()) Fail(damage);
}

}  // namespace cad
