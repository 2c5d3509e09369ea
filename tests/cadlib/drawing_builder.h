// Test helpers over the public calls of the CAD database library: records of
// every element kind, a database in a header, the host's undo replay, a
// drawing with everything in it, and a dump of a database for comparisons.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cadlib/WmCadApiDb.h"

namespace cadtest {

inline ElementRecord Record(uint16_t kind, int page = 0, int layer = 0, uint16_t colour = 1) {
    ElementRecord r;
    memset(&r, 0, sizeof r);
    r.kind = kind;
    r.page = page;
    r.layer = static_cast<uint16_t>(layer);
    r.colour = colour;
    return r;
}

inline ElementRecord Line(double x1, double y1, double x2, double y2, int page = 0, int layer = 0) {
    ElementRecord r = Record(kElmLine, page, layer);
    CadSetF64(&r, kOffP1X, x1);
    CadSetF64(&r, kOffP1Y, y1);
    CadSetF64(&r, kOffP2X, x2);
    CadSetF64(&r, kOffP2Y, y2);
    return r;
}

// A record of `kind` whose every field the kind does not reserve carries a
// distinct value, so that a round trip that loses or moves a byte shows.
inline ElementRecord Full(uint16_t kind, int seed, int page = 0, int layer = 0) {
    ElementRecord r = Record(kind, page, layer, static_cast<uint16_t>(1 + seed % 255));
    r.subKind = static_cast<uint16_t>(seed);
    r.attribute = static_cast<uint8_t>(seed & 1);
    uint8_t* b = reinterpret_cast<uint8_t*>(&r);
    for (int i = 13; i < 172; ++i)
        b[i] = static_cast<uint8_t>((i * 7 + seed * 13) & 0x3F);
    r.tailWord = static_cast<uint16_t>(0x1234 + seed);
    // Doubles that hold coordinates must be finite numbers.
    const uint32_t coords[] = {11, 19, 33, 41, 49, 57, 65, 73, 112, 120};
    for (uint32_t off : coords)
        CadSetF64(&r, off, seed * 1.25 + off / 8.0);
    switch (kind) {
    case kElmText:
        CadSetPtr(&r, kOffTextPtr, nullptr);
        CadSetU32(&r, kOffTextLen, 0);
        break;
    case kElmBlock:
        CadSetPtr(&r, kOffBlockHandle, nullptr);
        CadSetU32(&r, kOffBlockSize, 0);
        break;
    case kElmRaster:
        CadSetPtr(&r, kOffRasterComp, nullptr);
        CadSetU32(&r, kOffRasterCompSize, 0);
        CadSetPtr(&r, kOffRasterBits, nullptr);
        CadSetU32(&r, kOffRasterBitsSize, 0);
        b[kOffRasterExpanded] = 0;
        break;
    default: break;
    }
    return r;
}

inline const std::vector<uint16_t>& AllKinds() {
    static const std::vector<uint16_t> k = {1, 2, 3, 4, 5, 6, 7, 21, 22, 31, 32, 50, 55, 60, 70};
    return k;
}

struct Db {
    DbHeader h;
    explicit Db(int undo = 0) {
        memset(&h, 0, sizeof h);
        DAriCreateDB(&h);
        DAriUndoFgSet(&h, undo);
    }
    ~Db() { DAriDeleteDB(&h); }
    DbHeader* operator&() { return &h; }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;
};

// The host's undo: newest record first, back to the previous step's end.
inline int HostUndo(DbHeader* db) {
    UndoRecord* r = db->currentUndo;
    if (!r) return 0;
    for (;;) {
        switch (r->kind) {
        case kUndoAdd: DAriUndoDelElement(r->element, db); break;
        case kUndoDelete: DAriUndoAddElement(r->element, db, 1, r->addArg); break;
        case kUndoChange: DAriUndoChgElement(r->element, r->saved, db, 0); break;
        case kUndoMemberAdd: DAriUndoDelMemberElement(r->element, nullptr, db, 0, r->groupArg); break;
        default: break;
        }
        UndoRecord* older = r->prev;
        if (!older || older->stepEnd) {
            db->currentUndo = older;
            return 1;
        }
        r = older;
    }
}

// The host's redo: from the record after the current one to the step's end.
inline int HostRedo(DbHeader* db) {
    if (!DAriIsRedo(db)) return 0;
    UndoRecord* r = db->currentUndo ? db->currentUndo->next : db->firstUndo;
    for (;;) {
        switch (r->kind) {
        case kUndoAdd: DAriUndoAddElement(r->element, db, 1, r->addArg); break;
        case kUndoDelete: DAriUndoDelElement(r->element, db); break;
        case kUndoChange: DAriUndoChgElement(r->element, r->saved, db, 0); break;
        case kUndoMemberAdd: DAriUndoAddMemberElement(r->element, r->memberArg, db, 0, r->groupArg); break;
        default: break;
        }
        if (r->stepEnd || !r->next) {
            db->currentUndo = r;
            return 1;
        }
        r = r->next;
    }
}

inline std::string Hex(const void* p, size_t n) {
    static const char* d = "0123456789abcdef";
    std::string s;
    const uint8_t* b = static_cast<const uint8_t*>(p);
    for (size_t i = 0; i < n; ++i) {
        s.push_back(d[b[i] >> 4]);
        s.push_back(d[b[i] & 15]);
    }
    return s;
}

// One element as text: its record with the library's pointers replaced by
// what they point to, its selection words, tags, tag text and user data.
inline std::string DumpElement(StoredElement* e) {
    ElementRecord r = e->rec;
    std::string extra;
    switch (r.kind) {
    case kElmText: {
        const char* t = static_cast<const char*>(CadGetPtr(&r, kOffTextPtr));
        extra = std::string(" text=") + (t ? t : "(null)");
        CadSetPtr(&r, kOffTextPtr, nullptr);
        break;
    }
    case kElmBlock: {
        void* h = CadGetPtr(&r, kOffBlockHandle);
        extra = " block=" + std::to_string(CadGetU32(&r, kOffBlockSize));
        if (h) {
#ifdef _WIN32
            void* p = GlobalLock(static_cast<HGLOBAL>(h));
            extra += ":" + Hex(p, CadGetU32(&r, kOffBlockSize));
            GlobalUnlock(static_cast<HGLOBAL>(h));
#endif
        }
        CadSetPtr(&r, kOffBlockHandle, nullptr);
        break;
    }
    case kElmRaster: {
        const void* bits = CadGetPtr(&r, kOffRasterBits);
        uint32_t n = CadGetU32(&r, kOffRasterBitsSize);
        extra = " bits=" + (bits ? Hex(bits, n) : std::string("none"));
        CadSetPtr(&r, kOffRasterComp, nullptr);
        CadSetU32(&r, kOffRasterCompSize, 0);
        CadSetPtr(&r, kOffRasterBits, nullptr);
        break;
    }
    default: break;
    }
    std::string s = Hex(&r, sizeof r) + extra;
    char buf[64];
    snprintf(buf, sizeof buf, " sel=%u/%u", e->selection, e->selColour);
    s += buf;
    if (r.kind == kElmFigure) s += " fig=" + std::to_string(e->count);
    for (int tag : {1, 2, 7, 100, 210}) {
        int v = DAriGetTag(e, tag);
        if (v) s += " tag" + std::to_string(tag) + "=" + std::to_string(v);
    }
    char text[300];
    if (DAriGetTagString(e, text)) s += std::string(" tagtext=") + text;
    uint8_t user[256];
    if (DAriGet256UserData(e, user)) s += " user=" + Hex(user, 256);
    return s;
}

inline std::string DumpMembers(StoredElement* group, DbHeader* db) {
    std::string s;
    int n = DAriGetMemberNum(group, db);
    s += " members=" + std::to_string(n) + "[";
    long long remaining = n;
    StoredElement* m = DAriReadFirstMember(group, nullptr, db);
    while (m && remaining > 0) {
        s += "{" + DumpElement(m) + "}";
        --remaining;
        if (m->rec.kind == 21 || m->rec.kind == 22 || m->rec.kind == 70) remaining += DAriGetMemberNum(m, db);
        m = DAriReadNextMember(m, nullptr, db);
    }
    return s + "]";
}

// `fileNote`: page 0's file-name field notes the file the drawing was last
// read from or written to, which is no part of the drawing.
inline std::string DumpInfo(DbInfo* info, bool fileNote = false) {
    DbInfo copy;
    memcpy(&copy, info, sizeof copy);
    if (fileNote) memset(copy.extFileName, 0, sizeof copy.extFileName);
    std::string names;
    for (int l = 0; l < 1024; ++l) {
        if (copy.layers.names[l]) names += " L" + std::to_string(l) + "=" + copy.layers.names[l];
        copy.layers.names[l] = nullptr;
    }
    copy.elementCount = 0;
    return Hex(&copy, sizeof copy) + names;
}

// Everything a file round trip must keep, as one text.
inline std::string Dump(DbHeader* db) {
    std::string s = "count=" + std::to_string(DAriGetElmNum(db)) + "\n";
    s += "page0 " + DumpInfo(DAriGetDbInfoPtr(0, db), true) + "\n";
    s += "state " + Hex(&db->pages, sizeof db->pages) + "\n";
    PageRecord* rec = new PageRecord;
    for (int p = DAriGetNextPage(0, rec, db); p; p = DAriGetNextPage(p, rec, db)) {
        s += "page" + std::to_string(p) + " " + Hex(rec, offsetof(PageRecord, info)) + " " +
             DumpInfo(DAriGetDbInfoPtr(p, db)) + "\n";
    }
    delete rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        s += DumpElement(e);
        if (e->rec.kind == 21 || e->rec.kind == 22 || e->rec.kind == 70) s += DumpMembers(e, db);
        if (e->rec.kind == kElmFigure) {
            StoredElement* h = DAriGetFgroupHeaderIdx(e, db);
            s += " def=" + (h ? DumpElement(h) + DumpMembers(h, db) : std::string("none"));
        }
        s += "\n";
    }
    return s;
}

// Attach expanded raster bits to every raster element (the host's road).
inline void AttachRasterBits(DbHeader* db) {
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        if (e->rec.kind != kElmRaster) continue;
        const uint32_t n = 512;
#ifdef _WIN32
        uint8_t* bits = static_cast<uint8_t*>(VirtualAlloc(nullptr, n, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
#else
        uint8_t* bits = static_cast<uint8_t*>(calloc(1, n));
#endif
        for (uint32_t i = 0; i < n; ++i)
            bits[i] = (i / 16) % 3 ? 0xFF : static_cast<uint8_t>(i);
        ElementRecord r = e->rec;
        CadSetPtr(&r, kOffRasterBits, bits);
        CadSetU32(&r, kOffRasterBitsSize, n);
        reinterpret_cast<uint8_t*>(&r)[kOffRasterExpanded] = 1;
        DAriMemChangeElement(e, &r, db);
    }
}

// A drawing with every element kind on three pages and several layers,
// groups nested two deep, a figure definition placed twice, tags, tag
// texts, user data, layer names and a raster image.
inline void BuildSample(DbHeader* db) {
    DbInfo* info = DAriGetDbInfoPtr(0, db);
    strcpy(info->texts0[3], "見本図面 ソ表");
    strcpy(info->texts7[4], "設計 太郎");
    CadSetF64(info, kInfoScale, 0.02);
    DAriSetLayerName(0, 0, "壁", db);
    DAriSetLayerName(0, 5, "ダクト\\配管", db);
    strcpy(info->layers.groupNames[5], "空調");
    info->layers.inputLayer = 5;
    for (int p = 1; p <= 2; ++p) {
        PageRecord* rec = new PageRecord;
        memset(rec, 0, sizeof *rec);
        rec->parent = p - 1;
        rec->number = p;
        CadSetF64(&rec->info, kInfoScale, 1.0 / p);
        CadSetF64(&rec->info, kInfoPlaceFactorX, 0.5 * p);
        DAriAddPage(p, rec, db);
        delete rec;
        DAriSetLayerName(p, 3, p == 1 ? "一階" : "二階", db);
        db->pages.display[0] |= 1u << p;
    }
    int seed = 1;
    for (int page = 0; page <= 2; ++page) {
        for (uint16_t kind : {1, 2, 3, 4, 6, 7, 60}) {
            int layer = (seed * 3) % 7;
            ElementRecord r = Full(kind, seed++, page, layer);
            StoredElement* e = DAriAppendElement(&r, db);
            if (kind == 1) {
                DAriSetTag(e, 7, 1000 + seed);
                DAriSetTagString(e, "KOLTA20000");
            }
        }
        ElementRecord t = Full(kElmText, seed++, page, 5);
        std::string text = "図面テキスト ソ表 page " + std::to_string(page);
        CadSetPtr(&t, kOffTextPtr, text.c_str());
        StoredElement* te = DAriAppendElement(&t, db);
        uint8_t user[256];
        for (int i = 0; i < 256; ++i)
            user[i] = static_cast<uint8_t>(i ^ page);
        DAriSet256UserData(te, user);
    }
    // Kind 50 with its memory block.
    ElementRecord b = Full(kElmBlock, seed++, 1, 2);
#ifdef _WIN32
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 40);
    uint8_t* bp = static_cast<uint8_t*>(GlobalLock(block));
    for (int i = 0; i < 40; ++i)
        bp[i] = static_cast<uint8_t>(200 - i);
    GlobalUnlock(block);
    CadSetPtr(&b, kOffBlockHandle, block);
    CadSetU32(&b, kOffBlockSize, 40);
#endif
    DAriAppendElement(&b, db);
#ifdef _WIN32
    GlobalFree(block);
#endif
    // A raster image with expanded bits.
    ElementRecord ras = Full(kElmRaster, seed++, 0, 1);
    DAriAppendElement(&ras, db);
    // Groups: a kind-21 group with a nested kind-22 group and a kind-70 compound.
    ElementRecord g = Record(kElmGroup, 0, 0);
    g.subKind = 905;
    StoredElement* group = DAriCreateFgroupHead(&g, db);
    ElementRecord l1 = Full(kElmLine, seed++, 0, 2);
    DAriAppendMemberElement(group, &l1, db);
    ElementRecord g2 = Record(kElmGroup2, 0, 0);
    StoredElement* inner = DAriAppendMemberElement(group, &g2, db);
    ElementRecord c1 = Full(kElmCircle, seed++, 0, 2);
    ElementRecord a1 = Full(kElmArc, seed++, 0, 2);
    StoredElement* cm = DAriAppendMemberElement(inner, &c1, db);
    DAriAppendMemberElement(inner, &a1, db);
    DAriSetTag(cm, 2, 77);
    ElementRecord p1 = Full(kElmPoint, seed++, 0, 2);
    DAriAppendMemberElement(group, &p1, db);
    ElementRecord comp = Record(kElmCompound, 2, 4);
    StoredElement* compound = DAriCreateFgroupHead(&comp, db);
    ElementRecord e1 = Full(kElmEllipse, seed++, 2, 4);
    DAriAppendMemberElement(compound, &e1, db);
    // A figure definition with two members, placed twice (once inside a group).
    ElementRecord hdr = Full(kElmFigureHeader, seed++, 0, 0);
    StoredElement* def = DAriCreateFgroupHead(&hdr, db);
    ElementRecord d1 = Full(kElmLine, seed++, 0, 0);
    ElementRecord d2 = Full(kElmEllipticArc, seed++, 0, 0);
    DAriAppendMemberElement(def, &d1, db);
    DAriAppendMemberElement(def, &d2, db);
    ElementRecord place = Full(kElmFigure, seed++, 0, 1);
    DAriAppendFgroup(def, &place, db);
    ElementRecord place2 = Full(kElmFigure, seed++, 1, 1);
    DAriAppendFgroup(def, &place2, db);
    // Selection words survive a round trip too.
    StoredElement* last = DAriReadElement(nullptr, 3, nullptr, db);
    last->selection = 1;
    last->selColour = 300;
    AttachRasterBits(db);
}

}  // namespace cadtest
