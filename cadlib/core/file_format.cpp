// Writing and reading the drawing files. The loader trusts nothing in the
// file: every count and length is checked against the bytes that remain,
// every section against its checksum, and a drawing is only swapped into
// the caller's header once it has been read completely.
#include "cadlib/core/file_format.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "cadlib/core/bytes.h"
#include "cadlib/core/crc32.h"
#include "cadlib/core/database.h"
#include "cadlib/core/platform.h"
#include "cadlib/core/raster.h"

namespace cad {

namespace {

const char kMagic[8] = {'Z', 'A', 'V', 'C', 'A', 'D', 0x1A, 0};
const size_t kHeaderSize = 64;
const size_t kEntrySize = 32;
const uint32_t kMaxSections = 64;
const size_t kMaxThumbnail = 4u << 20;
const size_t kMaxText = 65535;
const size_t kNodeMin = sizeof(ElementRecord) + 12 + 1;

enum SectionId : uint32_t {
    kSecInfo = 0x4F464E49,   // "INFO"
    kSecThumb = 0x424D4854,  // "THMB"
    kSecPages = 0x45474150,  // "PAGE"
    kSecFigures = 0x50524746,  // "FGRP"
    kSecElements = 0x4D454C45, // "ELEM"
};
enum Codec : uint32_t { kStored = 0, kRle = 1 };

const char* KindTag(FileKind k) { return k == FileKind::Tcf ? "TCF " : "OTCF"; }

// ---- writing ---------------------------------------------------------------

void ClearPointers(ElementRecord& rec) {
    switch (rec.kind) {
    case kElmText: CadSetPtr(&rec, kOffTextPtr, nullptr); break;
    case kElmBlock: CadSetPtr(&rec, kOffBlockHandle, nullptr); break;
    case kElmRaster:
        CadSetPtr(&rec, kOffRasterComp, nullptr);
        CadSetPtr(&rec, kOffRasterBits, nullptr);
        CadSetU32(&rec, kOffRasterBitsSize, 0);
        reinterpret_cast<uint8_t*>(&rec)[kOffRasterExpanded] = 0;
        break;
    default: break;
    }
}

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
    uint8_t flags = 0;
    if (x) {
        if (!x->tags.empty()) flags |= 1;
        if (x->hasTagText) flags |= 2;
        if (x->userData) flags |= 4;
        if (!x->extra.empty()) flags |= 8;
    }
    w.U8(flags);
    if (flags & 1) {
        w.U32(static_cast<uint32_t>(x->tags.size()));
        for (auto& kv : x->tags) { w.U32(kv.first); w.U32(kv.second); }
    }
    if (flags & 2) {
        w.U32(static_cast<uint32_t>(x->tagText.size()));
        w.Raw(x->tagText.data(), x->tagText.size());
    }
    if (flags & 4) w.Raw(x->userData.get(), 256);
    if (flags & 8) {
        w.U32(static_cast<uint32_t>(x->extra.size()));
        for (auto& kv : x->extra) { w.U32(kv.first); w.U32(kv.second); }
    }
}

int Depth(StoredElement* node, StoredElement* root) {
    int d = 0;
    for (StoredElement* p = node; p && p != root && d < 65535; p = p->owner) ++d;
    return d;
}

void WriteTree(ByteWriter& w, StoredElement* root) {
    WriteNodeBody(w, root);
    uint32_t n = 0;
    if (IsGroupKind(root->rec.kind))
        for (StoredElement* m = root->member; m; m = m->member) ++n;
    w.U32(n);
    if (!n) return;
    for (StoredElement* m = root->member; m; m = m->member) {
        w.U16(static_cast<uint16_t>(Depth(m, root)));
        WriteNodeBody(w, m);
    }
}

void WriteDbInfo(ByteWriter& w, Database& db, const DbInfo& info) {
    size_t at = w.Size();
    w.Raw(&info, sizeof info);
    // Name pointers mean nothing in a file: the names follow as texts.
    memset(&w.Out()[at + offsetof(DbInfo, layers) + offsetof(LayerTable, names)], 0,
           sizeof info.layers.names);
    uint32_t n = 0;
    for (int l = 0; l < 1024; ++l) if (OwnedName(db, info.layers.names[l])) ++n;
    w.U32(n);
    for (int l = 0; l < 1024; ++l) {
        const char* s = OwnedName(db, info.layers.names[l]);
        if (!s) continue;
        uint16_t len = static_cast<uint16_t>(strnlen(s, 259));
        w.U16(static_cast<uint16_t>(l));
        w.U16(len);
        w.Raw(s, len);
    }
}

struct Section {
    uint32_t id;
    uint32_t codec;
    uint32_t items;
    std::string data;
};

}  // namespace

std::string SerializeDrawing(DbHeader* header, FileKind kind, const std::string& thumbnail) {
    Database* db = Lookup(header);
    if (!db) return std::string();
    std::vector<Section> secs(5);

    secs[0].id = kSecInfo;
    {
        ByteWriter w(secs[0].data);
        w.Raw(db->page0.get(), kDbInfoHeadSize);
        w.Raw(&header->pages, sizeof header->pages);
        w.Raw(reinterpret_cast<const uint8_t*>(header) + offsetof(DbHeader, frameView),
              offsetof(DbHeader, reserved388) - offsetof(DbHeader, frameView));
        w.U32(static_cast<uint32_t>(db->count));
    }
    secs[1].id = kSecThumb;
    secs[1].data = thumbnail.size() <= kMaxThumbnail ? thumbnail : std::string();

    secs[2].id = kSecPages;
    secs[2].codec = kRle;
    {
        std::string raw;
        ByteWriter w(raw);
        w.U32(static_cast<uint32_t>(db->pages.size() + 1));
        w.U32(0);
        WriteDbInfo(w, *db, *db->page0);
        for (auto& kv : db->pages) {
            w.U32(static_cast<uint32_t>(kv.first));
            w.Raw(kv.second.get(), offsetof(PageRecord, info));
            WriteDbInfo(w, *db, kv.second->info);
        }
        secs[2].data = CompressRaster(reinterpret_cast<const uint8_t*>(raw.data()), raw.size());
        secs[2].items = static_cast<uint32_t>(db->pages.size() + 1);
    }
    secs[3].id = kSecFigures;
    {
        ByteWriter w(secs[3].data);
        w.U32(static_cast<uint32_t>(db->figureHeaders.size()));
        for (StoredElement* h : db->figureHeaders) WriteTree(w, h);
        secs[3].items = static_cast<uint32_t>(db->figureHeaders.size());
    }
    secs[4].id = kSecElements;
    {
        ByteWriter w(secs[4].data);
        w.U32(static_cast<uint32_t>(db->count));
        // Reserve once: most elements write about 190 bytes.
        secs[4].data.reserve(static_cast<size_t>(db->count) * 192 + 16);
        for (StoredElement* e = db->first; e; e = e->next) WriteTree(w, e);
        secs[4].items = static_cast<uint32_t>(db->count);
    }

    std::string out;
    size_t total = kHeaderSize + secs.size() * kEntrySize + 4;
    for (auto& s : secs) total += s.data.size();
    out.reserve(total);
    ByteWriter w(out);
    w.Raw(kMagic, 8);
    w.Raw(KindTag(kind), 4);
    w.U32(kHeaderSize);
    w.U32(kFormatVersion);
    w.U32(kFormatVersion);  // oldest reader that understands this file
    w.U32(static_cast<uint32_t>(secs.size()));
    w.U32(0);
    w.U64(total);
    for (int i = 0; i < 20; ++i) w.U8(0);
    w.U32(Crc32(out.data(), 60));
    uint64_t offset = kHeaderSize + secs.size() * kEntrySize + 4;
    size_t tableAt = out.size();
    for (auto& s : secs) {
        w.U32(s.id);
        w.U32(s.codec);
        w.U64(offset);
        w.U64(s.data.size());
        w.U32(s.items);
        w.U32(Crc32(s.data.data(), s.data.size()));
        offset += s.data.size();
    }
    w.U32(Crc32(out.data() + tableAt, secs.size() * kEntrySize));
    for (auto& s : secs) w.Raw(s.data.data(), s.data.size());
    return out;
}

int SaveDrawing(DbHeader* header, const char* path, FileKind kind, const std::string& thumbnail,
                uint32_t* status) {
    uint32_t dummy = 0;
    if (!status) status = &dummy;
    *status = 0;
    if (!path || !*path || !Lookup(header)) {
        *status = kSaveWriteFailed;
        return 0;
    }
    std::string bytes;
    try {
        bytes = SerializeDrawing(header, kind, thumbnail);
    } catch (const std::bad_alloc&) {
        *status = kSaveWriteFailed;
        return 0;
    }
    std::string target(path);
    std::string temp = TempNameBeside(target);
    FileWriter* f = OpenFileWriter(temp);
    if (!f) {
        *status = kSaveWriteFailed;
        return 0;
    }
    bool ok = true;
    const size_t chunk = 1 << 20;
    for (size_t at = 0; ok && at < bytes.size(); at += chunk)
        ok = f->Write(bytes.data() + at, std::min(chunk, bytes.size() - at));
    bool full = f->DiskFull();
    ok = f->Close() && ok;
    full = full || f->DiskFull();
    delete f;
    if (ok) ok = MoveIntoPlace(temp, target);
    if (!ok) {
        RemoveFile(temp);
        *status = full ? kSaveDiskFull : kSaveWriteFailed;
        return 0;
    }
    return 1;
}

// ---- reading ---------------------------------------------------------------

namespace {

struct LoadError {
    uint32_t bits;
};

void Fail(uint32_t bits) { throw LoadError{bits}; }

void ReadDbInfo(ByteReader& r, Database& db, DbInfo& info) {
    if (!r.Raw(&info, sizeof info)) Fail(kLoadInfoDamaged);
    memset(info.layers.names, 0, sizeof info.layers.names);
    uint32_t n = r.U32();
    if (n > 1024) Fail(kLoadInfoDamaged);
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t layer = r.U16();
        uint16_t len = r.U16();
        if (layer >= 1024 || len > 259) Fail(kLoadInfoDamaged);
        const uint8_t* s = r.Take(len);
        if (!s) Fail(kLoadInfoDamaged);
        std::string text(reinterpret_cast<const char*>(s), len);
        char* slot = StoreName(db, info.layers.names[layer], text.c_str());
        if (!slot) Fail(kLoadOutOfMemory);
        info.layers.names[layer] = slot;
    }
    if (!r.ok) Fail(kLoadInfoDamaged);
}

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
    if (flags && !x) { TryFree(db, e); Fail(kLoadOutOfMemory); }
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
        if (!p) bad = true;
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
StoredElement* ReadTree(ByteReader& r, Database& db, uint32_t damage, bool header,
                        std::vector<std::pair<StoredElement*, int32_t>>* figures) {
    int32_t fig = 0;
    StoredElement* root = ReadNodeBody(r, db, damage, &fig);
    if (header) {
        root->state |= kStateHeader;
        db.figureHeaders.push_back(root);
    } else {
        LinkAfter(db, root, db.last);
    }
    if (root->rec.kind == kElmFigure && figures) figures->emplace_back(root, fig);
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
        if (m->rec.kind == kElmFigure && figures) figures->emplace_back(m, fig);
        LinkMember(parent, m, root->memberPrev ? root->memberPrev : root);
        stack.resize(depth);
        stack.push_back(m);
    }
    return root;
}

struct Entry {
    uint32_t id, codec;
    uint64_t offset, length;
    uint32_t items, crc;
};

void ParseHeader(const std::string& bytes, FileKind kind, uint32_t statusIn, std::vector<Entry>& entries,
                 bool& newer) {
    if (bytes.size() < kHeaderSize || memcmp(bytes.data(), kMagic, 8) != 0) Fail(kLoadNotDrawing);
    ByteReader r(bytes.data(), bytes.size());
    r.Take(8);
    char tag[4];
    r.Raw(tag, 4);
    uint32_t headerSize = r.U32();
    uint32_t version = r.U32();
    uint32_t minReader = r.U32();
    uint32_t count = r.U32();
    r.U32();
    r.U64();
    uint32_t headerCrc;
    memcpy(&headerCrc, bytes.data() + 60, 4);
    if (Crc32(bytes.data(), 60) != headerCrc) Fail(kLoadNotDrawing);
    if (memcmp(tag, KindTag(kind), 4) != 0) Fail(kLoadUnknownFormat);
    newer = minReader > kFormatVersion || version > kFormatVersion;
    if (minReader > kFormatVersion && statusIn != 1) throw LoadError{kLoadNewerFormat};
    if (headerSize < kHeaderSize || headerSize > bytes.size() || count == 0 || count > kMaxSections)
        Fail(kLoadInfoDamaged);
    size_t tableAt = headerSize;
    size_t tableSize = static_cast<size_t>(count) * kEntrySize;
    if (tableSize + 4 > bytes.size() - tableAt) Fail(kLoadInfoDamaged);
    uint32_t tableCrc;
    memcpy(&tableCrc, bytes.data() + tableAt + tableSize, 4);
    if (Crc32(bytes.data() + tableAt, tableSize) != tableCrc) Fail(kLoadInfoDamaged);
    ByteReader t(bytes.data() + tableAt, tableSize);
    for (uint32_t i = 0; i < count; ++i) {
        Entry e;
        e.id = t.U32();
        e.codec = t.U32();
        e.offset = t.U64();
        e.length = t.U64();
        e.items = t.U32();
        e.crc = t.U32();
        entries.push_back(e);
    }
}

const Entry* Find(const std::vector<Entry>& entries, uint32_t id) {
    for (auto& e : entries) if (e.id == id) return &e;
    return nullptr;
}

// The checked bytes of a section; `damage` names what a fault means. Stored
// sections are read in place; only coded ones are expanded into `owned`.
struct View {
    const char* data = nullptr;
    size_t size = 0;
    std::string owned;
};

void SectionBytes(const std::string& bytes, const Entry& e, uint32_t damage, size_t rawLimit, View& v) {
    if (e.offset > bytes.size() || e.length > bytes.size() - e.offset) Fail(damage);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data()) + e.offset;
    size_t n = static_cast<size_t>(e.length);
    if (Crc32(p, n) != e.crc) Fail(damage);
    if (e.codec == kStored) {
        v.data = reinterpret_cast<const char*>(p);
        v.size = n;
        return;
    }
    if (e.codec != kRle) Fail(kLoadUnknownCompression);
    // A byte run expands at most 65-fold: the limit follows the file's size.
    size_t limit = std::min(rawLimit, n * 66 + 64);
    int rc = ExpandRaster(p, n, v.owned, limit);
    if (rc == -2) Fail(kLoadUnknownCompression);
    if (rc != 0) Fail(damage);
    v.data = v.owned.data();
    v.size = v.owned.size();
}

void ReadInfo(const View& sec, Database& db, DbHeader& tmp) {
    ByteReader r(sec.data, sec.size);
    if (!r.Raw(db.page0.get(), kDbInfoHeadSize)) Fail(kLoadInfoDamaged);
    r.Raw(&tmp.pages, sizeof tmp.pages);
    r.Raw(reinterpret_cast<uint8_t*>(&tmp) + offsetof(DbHeader, frameView),
          offsetof(DbHeader, reserved388) - offsetof(DbHeader, frameView));
    r.U32();
    if (!r.ok) Fail(kLoadInfoDamaged);
}

void ReadPages(const View& sec, Database& db) {
    ByteReader r(sec.data, sec.size);
    uint32_t n = r.U32();
    if (!r.ok || n < 1 || n > 257) Fail(kLoadInfoDamaged);
    bool seen0 = false;
    for (uint32_t i = 0; i < n; ++i) {
        int32_t number = static_cast<int32_t>(r.U32());
        if (number == 0) {
            if (seen0) Fail(kLoadInfoDamaged);
            seen0 = true;
            ReadDbInfo(r, db, *db.page0);
            continue;
        }
        if (number < 1 || number > 256 || db.pages.count(number)) Fail(kLoadInfoDamaged);
        std::unique_ptr<PageRecord> p(new PageRecord);
        if (!r.Raw(p.get(), offsetof(PageRecord, info))) Fail(kLoadInfoDamaged);
        ReadDbInfo(r, db, p->info);
        p->number = number;
        db.pages[number] = std::move(p);
    }
    if (!seen0 || !r.AtEnd()) Fail(kLoadInfoDamaged);
}

void ReadFigures(const View& sec, Database& db,
                 std::vector<std::pair<StoredElement*, int32_t>>& figures) {
    ByteReader r(sec.data, sec.size);
    uint32_t n = r.U32();
    if (!r.ok || n > r.Left() / kNodeMin) Fail(kLoadGroupDamaged);
    for (uint32_t i = 0; i < n; ++i) {
        StoredElement* h = ReadTree(r, db, kLoadGroupDamaged, true, &figures);
        if (h->rec.kind != kElmFigureHeader) Fail(kLoadGroupDamaged);
    }
    if (!r.AtEnd()) Fail(kLoadGroupDamaged);
}

void ReadElements(const View& sec, Database& db,
                  std::vector<std::pair<StoredElement*, int32_t>>& figures) {
    ByteReader r(sec.data, sec.size);
    uint32_t n = r.U32();
    if (!r.ok || n > r.Left() / kNodeMin) Fail(kLoadElementDamaged);
    for (uint32_t i = 0; i < n; ++i) ReadTree(r, db, kLoadElementDamaged, false, &figures);
    if (!r.AtEnd()) Fail(kLoadElementDamaged);
}

// Put the loaded database `tmp` in place of whatever `header` held.
void Install(DbHeader* header, DbHeader& tmp) {
    ElementObserver* observer = nullptr;
    int undoLevel = 0;
    if (Database* old = Lookup(header)) {
        observer = old->observer;
        undoLevel = old->undoLevel;
        Detach(header);
    }
    Database* db = static_cast<Database*>(tmp.core);
    // Whoever followed the old drawing follows the loaded one, and the
    // window's undo setting stays: a loaded drawing records its changes.
    db->observer = observer;
    db->undoLevel = undoLevel;
    header->core = db;
    header->info = db->page0.get();
    header->firstUndo = header->currentUndo = nullptr;
    header->pages = tmp.pages;
    memcpy(reinterpret_cast<uint8_t*>(header) + offsetof(DbHeader, frameView),
           reinterpret_cast<uint8_t*>(&tmp) + offsetof(DbHeader, frameView),
           offsetof(DbHeader, reserved388) - offsetof(DbHeader, frameView));
    db->header = header;
    tmp.core = nullptr;
    Notify(*db, ElementEvent::Reset, nullptr);
}

// A failed load leaves the header with a valid, empty drawing; a database
// that is already there is emptied in place rather than made anew.
void ResetEmpty(DbHeader* header) {
    memset(&header->pages, 0, sizeof header->pages);
    header->pages.display[0] = header->pages.detect[0] = 1;
    memset(reinterpret_cast<uint8_t*>(header) + offsetof(DbHeader, frameView), 0,
           offsetof(DbHeader, reserved388) - offsetof(DbHeader, frameView));
    if (Database* db = Lookup(header)) {
        Clear(*db);
        Publish(*db, header);
        return;
    }
    header->core = nullptr;
    Attach(header);
}

// Where the INFO and THMB sections end, from a file's first bytes; 0 when
// the table cannot be read (the loader then reports why).
size_t HeadEnd(const std::string& bytes) {
    if (bytes.size() < kHeaderSize || memcmp(bytes.data(), kMagic, 8) != 0) return 0;
    uint32_t count;
    memcpy(&count, bytes.data() + 24, 4);
    if (count == 0 || count > kMaxSections || bytes.size() < kHeaderSize + count * kEntrySize) return 0;
    size_t end = 0;
    for (uint32_t i = 0; i < count; ++i) {
        Entry e;
        const char* p = bytes.data() + kHeaderSize + i * kEntrySize;
        memcpy(&e.id, p, 4);
        memcpy(&e.offset, p + 8, 8);
        memcpy(&e.length, p + 16, 8);
        if (e.id != kSecInfo && e.id != kSecThumb) continue;
        if (e.offset > (64u << 20) || e.length > kMaxThumbnail + (1u << 20)) return 0;
        end = std::max(end, static_cast<size_t>(e.offset + e.length));
    }
    return end;
}

}  // namespace

int LoadDrawingBytes(DbHeader* header, const std::string& bytes, FileKind kind, uint32_t* status,
                     bool infoOnly, std::string* thumbnail) {
    uint32_t dummy = 0;
    if (!status) status = &dummy;
    if (!header) return 0;
    uint32_t statusIn = *status;
    *status = 0;
    DbHeader tmp;
    memset(&tmp, 0, sizeof tmp);
    try {
        std::vector<Entry> entries;
        bool newer = false;
        ParseHeader(bytes, kind, statusIn, entries, newer);
        const Entry* info = Find(entries, kSecInfo);
        if (!info) Fail(kLoadInfoDamaged);
        View infoBytes;
        SectionBytes(bytes, *info, kLoadInfoDamaged, 1 << 20, infoBytes);
        if (!Attach(&tmp)) Fail(kLoadOutOfMemory);
        Database& db = *static_cast<Database*>(tmp.core);
        db.header = &tmp;
        ReadInfo(infoBytes, db, tmp);
        if (thumbnail) {
            thumbnail->clear();
            if (const Entry* th = Find(entries, kSecThumb)) {
                if (th->length <= kMaxThumbnail) {
                    View v;
                    SectionBytes(bytes, *th, kLoadInfoDamaged, kMaxThumbnail, v);
                    thumbnail->assign(v.data, v.size);
                }
            }
        }
        if (!infoOnly) {
            const Entry* pages = Find(entries, kSecPages);
            const Entry* figs = Find(entries, kSecFigures);
            const Entry* elems = Find(entries, kSecElements);
            if (!pages) Fail(kLoadInfoDamaged);
            if (!figs) Fail(kLoadGroupDamaged);
            if (!elems) Fail(kLoadElementDamaged);
            {
                View v;
                SectionBytes(bytes, *pages, kLoadInfoDamaged, 257u * 110000u, v);
                ReadPages(v, db);
            }
            std::vector<std::pair<StoredElement*, int32_t>> figures;
            View fv, ev;
            SectionBytes(bytes, *figs, kLoadGroupDamaged, 0, fv);
            ReadFigures(fv, db, figures);
            SectionBytes(bytes, *elems, kLoadElementDamaged, 0, ev);
            ReadElements(ev, db, figures);
            for (auto& f : figures) {
                if (f.second == 0) continue;  // a placed figure saved without a definition
                if (f.second < 1 || static_cast<size_t>(f.second) > db.figureHeaders.size())
                    Fail(kLoadGroupDamaged);
                // A placed figure inside a group keeps its group link; the
                // index finds its definition.
                if (!(f.first->state & kStateInGroup)) f.first->owner = db.figureHeaders[f.second - 1];
                f.first->count = f.second;
                FigureRef(f.first) = f.second;
            }
        }
        (void)newer;
        Install(header, tmp);
        return 1;
    } catch (const LoadError& e) {
        if (tmp.core) Detach(&tmp);
        ResetEmpty(header);
        *status = e.bits;
        return 0;
    } catch (const std::bad_alloc&) {
        if (tmp.core) Detach(&tmp);
        ResetEmpty(header);
        *status = kLoadOutOfMemory;
        return 0;
    }
}

int LoadDrawing(DbHeader* header, const char* path, FileKind kind, uint32_t* status, bool infoOnly,
                std::string* thumbnail) {
    uint32_t dummy = 0;
    if (!status) status = &dummy;
    if (!header) return 0;
    std::string bytes;
    bool ok = false;
    if (path && *path) {
        if (infoOnly) {
            // The head only: header and table first, then up to the end of
            // the information and thumbnail sections.
            ok = ReadFilePrefix(path, bytes, kHeaderSize + kMaxSections * kEntrySize + 4);
            size_t end = HeadEnd(bytes);
            if (ok && end > bytes.size()) ok = ReadFilePrefix(path, bytes, end);
        } else {
            // Look at the head before reading a whole file that may not be ours.
            ok = ReadFilePrefix(path, bytes, kHeaderSize);
            if (!ok || bytes.size() < kHeaderSize || memcmp(bytes.data(), kMagic, 8) != 0) {
                ResetEmpty(header);
                *status = kLoadNotDrawing;
                return 0;
            }
            if (!ReadWholeFile(path, bytes, size_t(1) << 30)) {
                ResetEmpty(header);
                *status = kLoadOutOfMemory;
                return 0;
            }
        }
    }
    if (!ok) {
        ResetEmpty(header);
        *status = kLoadNotDrawing;
        return 0;
    }
    return LoadDrawingBytes(header, bytes, kind, status, infoOnly, thumbnail);
}

}  // namespace cad
