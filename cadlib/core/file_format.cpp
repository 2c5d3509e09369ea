// Writing and reading the drawing files: the header, the section table and
// the sections of the head (information, thumbnail) and of the pages; the
// trees of elements are written and read by file_trees*.cpp. The loader
// trusts nothing in the file: every count and length is checked against the
// bytes that remain, every section against its checksum, and a drawing is
// only swapped into the caller's header once it has been read completely.
#include "cadlib/core/file_format.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>
#include <vector>

#include "cadlib/core/block_codec.h"
#include "cadlib/core/bytes.h"
#include "cadlib/core/crc32.h"
#include "cadlib/core/database.h"
#include "cadlib/core/file_parts.h"
#include "cadlib/core/parallel.h"
#include "cadlib/core/platform.h"
#include "cadlib/core/raster.h"
#include "cadlib/core/spatial_index.h"

namespace cad {

void Fail(uint32_t bits) { throw LoadError{bits}; }

namespace {
LoadPhases gPhases;
double Clock() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }
}  // namespace

const LoadPhases& LastLoadPhases() { return gPhases; }

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

uint8_t ExtFlags(const ElementExt* x) {
    uint8_t flags = 0;
    if (x) {
        if (!x->tags.empty()) flags |= 1;
        if (x->hasTagText) flags |= 2;
        if (x->userData) flags |= 4;
        if (!x->extra.empty()) flags |= 8;
    }
    return flags;
}

bool ResolveFigure(Database& db, StoredElement* e, int32_t index) {
    if (index == 0) return true;  // a placed figure saved without a definition
    if (index < 1 || static_cast<size_t>(index) > db.figureHeaders.size()) return false;
    // A placed figure inside a group keeps its group link; the number finds
    // its definition.
    if (!(e->state & kStateInGroup)) e->owner = db.figureHeaders[index - 1];
    e->count = index;
    FigureRef(e) = index;
    return true;
}

namespace {

const char kMagic[8] = {'Z', 'A', 'V', 'C', 'A', 'D', 0x1A, 0};

// The head of a drawing file and the entries of its section table, as
// stored (little-endian). The writer fills these records and every reader
// goes through ReadHead and ReadEntry.
#pragma pack(push, 1)
struct FileHead {
    char magic[8];           // 0  kMagic
    char kind[4];            // 8  KindTag
    uint32_t headerSize;     // 12 where the section table starts
    uint32_t version;        // 16
    uint32_t minReader;      // 20 oldest reader that understands the file
    uint32_t sectionCount;   // 24
    uint32_t reserved28;     // 28
    uint64_t fileSize;       // 32
    uint8_t reserved40[20];  // 40
    uint32_t headCrc;        // 60 over the bytes before it
};
struct Entry {
    uint32_t id;      // 0  SectionId
    uint32_t codec;   // 4
    uint64_t offset;  // 8  from the start of the file
    uint64_t length;  // 16
    uint32_t items;   // 24
    uint32_t crc;     // 28
};
#pragma pack(pop)
static_assert(sizeof(FileHead) == 64 && offsetof(FileHead, headerSize) == 12 &&
                  offsetof(FileHead, sectionCount) == 24 && offsetof(FileHead, fileSize) == 32 &&
                  offsetof(FileHead, headCrc) == 60,
              "file head layout");
static_assert(sizeof(Entry) == 32 && offsetof(Entry, offset) == 8 && offsetof(Entry, length) == 16 &&
                  offsetof(Entry, items) == 24 && offsetof(Entry, crc) == 28,
              "section entry layout");

const size_t kHeaderSize = sizeof(FileHead);
const size_t kEntrySize = sizeof(Entry);

// The head of `bytes`, when they are long enough for one and start with the
// magic; false otherwise.
bool ReadHead(const std::string& bytes, FileHead& head) {
    if (bytes.size() < kHeaderSize || memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return false;
    memcpy(&head, bytes.data(), sizeof head);
    return true;
}

Entry ReadEntry(const char* at) {
    Entry e;
    memcpy(&e, at, sizeof e);
    return e;
}

uint32_t HeadCrc(const FileHead& head) { return Crc32(&head, offsetof(FileHead, headCrc)); }
const uint32_t kMaxSections = 64;
const size_t kMaxThumbnail = 4u << 20;
const size_t kMaxPagesBytes = 257u * 110000u;

enum SectionId : uint32_t {
    kSecInfo = 0x4F464E49,      // "INFO"
    kSecThumb = 0x424D4854,     // "THMB"
    kSecPages = 0x45474150,     // "PAGE"
    kSecFigures = 0x50524746,   // "FGRP"
    kSecElements = 0x4D454C45,  // "ELEM"
};
enum Codec : uint32_t { kStored = 0, kRle = 1 };

const char* KindTag(FileKind k) { return k == FileKind::Tcf ? "TCF " : "OTCF"; }

// ---- writing ---------------------------------------------------------------

void WriteDbInfo(ByteWriter& w, Database& db, const DbInfo& info) {
    size_t at = w.Size();
    w.Raw(&info, sizeof info);
    // Name pointers mean nothing in a file: the names follow as texts.
    memset(&w.Out()[at + offsetof(DbInfo, layers) + offsetof(LayerTable, names)], 0, sizeof info.layers.names);
    uint32_t n = 0;
    for (int l = 0; l < 1024; ++l)
        if (OwnedName(db, info.layers.names[l])) ++n;
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
    uint32_t id = 0;
    uint32_t codec = kStored;
    uint32_t items = 0;
    std::string data;
    uint32_t crc = 0;
    bool crcKnown = false;
};

Section FromTrees(uint32_t id, uint32_t codec, TreeSection&& t) {
    Section s;
    s.id = id;
    s.codec = codec;
    s.items = t.items;
    s.data = std::move(t.bytes);
    s.crc = t.crc;
    s.crcKnown = true;
    return s;
}

}  // namespace

std::string SerializeDrawing(DbHeader* header, FileKind kind, const std::string& thumbnail, uint32_t version) {
    Database* db = Lookup(header);
    if (!db) return std::string();
    if (version != 1) version = kFormatVersion;
    std::vector<Section> secs(5);

    secs[0].id = kSecInfo;
    {
        ByteWriter w(secs[0].data);
        w.Raw(db->page0.get(), kDbInfoHeadSize);
        w.Raw(&header->pages, sizeof header->pages);
        w.Raw(&header->frame, sizeof header->frame);
        w.U32(static_cast<uint32_t>(db->count));
    }
    secs[1].id = kSecThumb;
    secs[1].data = thumbnail.size() <= kMaxThumbnail ? thumbnail : std::string();

    secs[2].id = kSecPages;
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
        if (version == 1) {
            secs[2].codec = kRle;
            secs[2].data = CompressRaster(reinterpret_cast<const uint8_t*>(raw.data()), raw.size());
        } else {
            secs[2].codec = kCodecChunks;
            secs[2].data = CompressChunked(raw);
        }
        secs[2].items = static_cast<uint32_t>(db->pages.size() + 1);
    }
    if (version == 1) {
        secs[3] = FromTrees(kSecFigures, kStored, WriteTreesV1(*db, true));
        secs[4] = FromTrees(kSecElements, kStored, WriteTreesV1(*db, false));
    } else {
        secs[3] = FromTrees(kSecFigures, kCodecChunks, WriteTrees(*db, true));
        secs[4] = FromTrees(kSecElements, kCodecChunks, WriteTrees(*db, false));
    }

    std::string out;
    size_t total = kHeaderSize + secs.size() * kEntrySize + 4;
    for (auto& s : secs)
        total += s.data.size();
    out.reserve(total);
    ByteWriter w(out);
    FileHead head;
    memset(&head, 0, sizeof head);
    memcpy(head.magic, kMagic, sizeof head.magic);
    memcpy(head.kind, KindTag(kind), sizeof head.kind);
    head.headerSize = kHeaderSize;
    head.version = version;
    head.minReader = version;
    head.sectionCount = static_cast<uint32_t>(secs.size());
    head.fileSize = total;
    head.headCrc = HeadCrc(head);
    w.Raw(&head, sizeof head);
    uint64_t offset = kHeaderSize + secs.size() * kEntrySize + 4;
    size_t tableAt = out.size();
    for (auto& s : secs) {
        Entry e;
        e.id = s.id;
        e.codec = s.codec;
        e.offset = offset;
        e.length = s.data.size();
        e.items = s.items;
        e.crc = s.crcKnown ? s.crc : Crc32(s.data.data(), s.data.size());
        w.Raw(&e, sizeof e);
        offset += s.data.size();
    }
    w.U32(Crc32(out.data() + tableAt, secs.size() * kEntrySize));
    for (auto& s : secs) {
        w.Raw(s.data.data(), s.data.size());
        std::string().swap(s.data);
    }
    return out;
}

int SaveDrawing(DbHeader* header, const char* path, FileKind kind, const std::string& thumbnail, uint32_t* status) {
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
    const size_t chunk = 4 << 20;
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

struct Head {
    std::vector<Entry> entries;
    uint32_t version = 0;
};

void ParseHeader(const std::string& bytes, FileKind kind, uint32_t statusIn, Head& head) {
    FileHead h;
    if (!ReadHead(bytes, h)) Fail(kLoadNotDrawing);
    if (HeadCrc(h) != h.headCrc) Fail(kLoadNotDrawing);
    if (memcmp(h.kind, KindTag(kind), sizeof h.kind) != 0) Fail(kLoadUnknownFormat);
    if (h.minReader > kFormatVersion && statusIn != 1) throw LoadError{kLoadNewerFormat};
    const uint32_t count = h.sectionCount;
    if (h.headerSize < kHeaderSize || h.headerSize > bytes.size() || count == 0 || count > kMaxSections)
        Fail(kLoadInfoDamaged);
    // A file of a later version is read as the latest this reader knows.
    head.version = h.version >= 2 ? 2 : 1;
    size_t tableAt = h.headerSize;
    size_t tableSize = static_cast<size_t>(count) * kEntrySize;
    if (tableSize + 4 > bytes.size() - tableAt) Fail(kLoadInfoDamaged);
    uint32_t tableCrc;
    memcpy(&tableCrc, bytes.data() + tableAt + tableSize, 4);
    if (Crc32(bytes.data() + tableAt, tableSize) != tableCrc) Fail(kLoadInfoDamaged);
    for (uint32_t i = 0; i < count; ++i)
        head.entries.push_back(ReadEntry(bytes.data() + tableAt + i * kEntrySize));
}

const Entry* Find(const std::vector<Entry>& entries, uint32_t id) {
    for (auto& e : entries)
        if (e.id == id) return &e;
    return nullptr;
}

// The checked bytes of a section; `damage` names what a fault means. Stored
// sections are read in place; only coded ones are expanded into `owned`.
struct View {
    const char* data = nullptr;
    size_t size = 0;
    std::string owned;
};

const uint8_t* Locate(const std::string& bytes, const Entry& e, uint32_t damage) {
    if (e.offset > bytes.size() || e.length > bytes.size() - e.offset) Fail(damage);
    return reinterpret_cast<const uint8_t*>(bytes.data()) + e.offset;
}

void SectionBytes(const std::string& bytes, const Entry& e, uint32_t damage, size_t rawLimit, View& v) {
    const uint8_t* p = Locate(bytes, e, damage);
    size_t n = static_cast<size_t>(e.length);
    if (Crc32Split(p, n) != e.crc) Fail(damage);
    if (e.codec == kStored) {
        v.data = reinterpret_cast<const char*>(p);
        v.size = n;
        return;
    }
    if (e.codec == kCodecChunks) {
        if (!ExpandChunked(p, n, rawLimit ? rawLimit : size_t(1) << 30, v.owned)) Fail(damage);
    } else if (e.codec == kRle) {
        // A byte run expands at most 65-fold: the limit follows the file's size.
        size_t limit = std::min(rawLimit, n * 66 + 64);
        int rc = ExpandRaster(p, n, v.owned, limit);
        if (rc == -2) Fail(kLoadUnknownCompression);
        if (rc != 0) Fail(damage);
    } else {
        Fail(kLoadUnknownCompression);
    }
    v.data = v.owned.data();
    v.size = v.owned.size();
}

void ReadInfo(const View& sec, Database& db, DbHeader& tmp) {
    ByteReader r(sec.data, sec.size);
    if (!r.Raw(db.page0.get(), kDbInfoHeadSize)) Fail(kLoadInfoDamaged);
    r.Raw(&tmp.pages, sizeof tmp.pages);
    r.Raw(&tmp.frame, sizeof tmp.frame);
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

// The trees of a section in the file's version.
void ReadTreeSection(const std::string& bytes, const Entry& e, uint32_t version, Database& db, bool figures,
                     std::vector<IndexEntry>* boxes, std::vector<PlacedFigure>& refs, bool& badFigure) {
    const uint32_t damage = figures ? kLoadGroupDamaged : kLoadElementDamaged;
    if (version >= 2) {
        if (e.codec != kCodecChunks) Fail(e.codec == kStored || e.codec == kRle ? damage : kLoadUnknownCompression);
        ReadTrees(Locate(bytes, e, damage), static_cast<size_t>(e.length), e.crc, db, figures, boxes, refs, badFigure);
        return;
    }
    View v;
    SectionBytes(bytes, e, damage, 0, v);
    ReadTreesV1(v.data, v.size, db, figures, refs);
}

// The index boxes of the top-level elements of a drawing read without them
// (files of version 1), measured side by side in chain order.
void MeasureBoxes(Database& db, std::vector<IndexEntry>& boxes) {
    std::vector<StoredElement*> roots;
    roots.reserve(static_cast<size_t>(db.count > 0 ? db.count : 0));
    for (StoredElement* e = db.first; e; e = e->next)
        roots.push_back(e);
    const size_t piece = 8192;
    std::vector<std::vector<IndexEntry>> parts((roots.size() + piece - 1) / piece);
    ParallelFor(parts.size(), [&](size_t i) {
        size_t end = std::min(roots.size(), (i + 1) * piece);
        parts[i].reserve(end - i * piece);
        for (size_t k = i * piece; k < end; ++k) {
            Box b;
            if (ElementBox(roots[k], b)) parts[i].push_back(IndexEntryOf(roots[k], b));
        }
    });
    boxes.reserve(roots.size());
    for (auto& p : parts)
        boxes.insert(boxes.end(), p.begin(), p.end());
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
    header->frame = tmp.frame;
    db->header = header;
    tmp.core = nullptr;
    Notify(*db, ElementEvent::Reset, nullptr);
}

// A failed load leaves the header with a valid, empty drawing; a database
// that is already there is emptied in place rather than made anew.
void ResetEmpty(DbHeader* header) {
    memset(&header->pages, 0, sizeof header->pages);
    header->pages.display[0] = header->pages.detect[0] = 1;
    memset(&header->frame, 0, sizeof header->frame);
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
    FileHead h;
    if (!ReadHead(bytes, h)) return 0;
    const uint32_t count = h.sectionCount;
    if (count == 0 || count > kMaxSections || bytes.size() < kHeaderSize + count * kEntrySize) return 0;
    size_t end = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const Entry e = ReadEntry(bytes.data() + kHeaderSize + i * kEntrySize);
        if (e.id != kSecInfo && e.id != kSecThumb) continue;
        if (e.offset > (64u << 20) || e.length > kMaxThumbnail + (1u << 20)) return 0;
        end = std::max(end, static_cast<size_t>(e.offset + e.length));
    }
    return end;
}

}  // namespace

int LoadDrawingBytes(DbHeader* header, const std::string& bytes, FileKind kind, uint32_t* status, bool infoOnly,
                     std::string* thumbnail) {
    uint32_t dummy = 0;
    if (!status) status = &dummy;
    if (!header) return 0;
    uint32_t statusIn = *status;
    *status = 0;
    DbHeader tmp;
    memset(&tmp, 0, sizeof tmp);
    std::vector<IndexEntry> boxes;
    try {
        Head head;
        ParseHeader(bytes, kind, statusIn, head);
        const std::vector<Entry>& entries = head.entries;
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
                SectionBytes(bytes, *pages, kLoadInfoDamaged, kMaxPagesBytes, v);
                ReadPages(v, db);
            }
            std::vector<PlacedFigure> figureRefs, elementRefs;
            bool badFigure = false;
            ReadTreeSection(bytes, *figs, head.version, db, true, nullptr, figureRefs, badFigure);
            // Figures placed inside definitions are linked before the
            // drawing's elements measure their boxes through them.
            for (PlacedFigure& f : figureRefs)
                if (!ResolveFigure(db, f.element, f.index)) badFigure = true;
            const double t0 = Clock();
            ReadTreeSection(bytes, *elems, head.version, db, false, &boxes, elementRefs, badFigure);
            gPhases.elements = Clock() - t0;
            for (PlacedFigure& f : elementRefs)
                if (!ResolveFigure(db, f.element, f.index)) badFigure = true;
            if (badFigure) Fail(kLoadGroupDamaged);
            if (head.version < 2) MeasureBoxes(db, boxes);
        }
        Install(header, tmp);
        if (!infoOnly) {
            const double t0 = Clock();
            IndexLoaded(header, boxes);
            gPhases.index = Clock() - t0;
        }
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
            ok = ReadFileHead(path, bytes, kHeaderSize + kMaxSections * kEntrySize + 4, HeadEnd);
        } else {
            // Look at the head before reading a whole file that may not be ours.
            ok = ReadFilePrefix(path, bytes, kHeaderSize);
            FileHead h;
            if (!ok || !ReadHead(bytes, h)) {
                ResetEmpty(header);
                *status = kLoadNotDrawing;
                return 0;
            }
            const double t0 = Clock();
            const bool read = ReadWholeFile(path, bytes, size_t(1) << 30);
            gPhases.read = Clock() - t0;
            if (!read) {
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
    const double t0 = Clock();
    const int loaded = LoadDrawingBytes(header, bytes, kind, status, infoOnly, thumbnail);
    if (!infoOnly) gPhases.total = gPhases.read + Clock() - t0;
    return loaded;
}

}  // namespace cad
