// The CAD database library through its exports: databases, elements of
// every kind, groups and figures, marks, tags, pages and layers.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

TEST(CadDatabase, CreateFillsTheHeaderFieldsCallersRead) {
    Db db;
    ASSERT_NE(db.h.core, nullptr);
    EXPECT_EQ(db.h.info, DAriGetDbInfoPtr(0, &db));
    EXPECT_EQ(db.h.pages.display[0] & 1u, 1u);  // header word at +164
    EXPECT_EQ(db.h.pages.detect[0] & 1u, 1u);   // header word at +228
    EXPECT_EQ(DAriGetElmNum(&db), 0);
    EXPECT_DOUBLE_EQ(CadGetF64(db.h.info, kInfoScale), 1.0);
    // A second create in the same header replaces the database.
    ElementRecord r = Line(0, 0, 1, 1);
    DAriAppendElement(&r, &db);
    EXPECT_EQ(DAriCreateDB(&db.h), 1);
    EXPECT_EQ(DAriGetElmNum(&db), 0);
}

TEST(CadDatabase, CallsOnAHeaderWithoutDatabaseAreRefused) {
    DbHeader zero;
    memset(&zero, 0, sizeof zero);
    ElementRecord r = Line(0, 0, 1, 1);
    EXPECT_EQ(DAriAppendElement(&r, &zero), nullptr);
    EXPECT_EQ(DAriReadElement(nullptr, 0, nullptr, &zero), nullptr);
    EXPECT_EQ(DAriGetElmNum(&zero), 0);
    EXPECT_EQ(DAriDeleteDB(&zero), 0);
    EXPECT_EQ(DAriGetDbInfoPtr(0, nullptr), nullptr);
    Db db;
    DbHeader copy = db.h;
    DAriDeleteDB(&db.h);
    EXPECT_EQ(DAriGetElmNum(&copy), 0);  // a stale copy of a deleted header
    DAriCreateDB(&db.h);
}

TEST(CadElements, EveryKindRoundTripsEveryByte) {
    Db db;
    for (uint16_t kind : AllKinds()) {
        if (kind == kElmFigureHeader || kind == kElmFigure) continue;  // through their own calls
        SCOPED_TRACE("kind " + std::to_string(kind));
        ElementRecord r = Full(kind, kind, kind % 3, kind % 1024);
        StoredElement* e = DAriAppendElement(&r, &db);
        ASSERT_NE(e, nullptr);
        ElementRecord back;
        ASSERT_EQ(DAriReadElement(e, 4, &back, &db), e);
        EXPECT_EQ(Hex(&back, sizeof back), Hex(&r, sizeof r));
        EXPECT_EQ(Hex(&e->rec, sizeof r), Hex(&r, sizeof r));
    }
    EXPECT_EQ(DAriGetElmNum(&db), 13);
    EXPECT_EQ(db.h.info->elementCount, 13);
}

TEST(CadElements, ReadWalksBothWaysAndStopsAtTheEnds) {
    Db db;
    StoredElement* e[3];
    for (int i = 0; i < 3; ++i) {
        ElementRecord r = Line(i, 0, i, 1);
        e[i] = DAriAppendElement(&r, &db);
    }
    EXPECT_EQ(DAriReadElement(nullptr, 0, nullptr, &db), e[0]);
    EXPECT_EQ(DAriReadElement(e[0], 1, nullptr, &db), e[1]);
    EXPECT_EQ(DAriReadElement(e[2], 1, nullptr, &db), nullptr);
    EXPECT_EQ(DAriReadElement(e[2], 2, nullptr, &db), e[1]);
    EXPECT_EQ(DAriReadElement(nullptr, 3, nullptr, &db), e[2]);
    EXPECT_EQ(e[0]->next, e[1]);  // the link at +174 the views walk
    DAriDeleteElement(e[1], &db);
    EXPECT_EQ(DAriReadElement(e[0], 1, nullptr, &db), e[2]);
    EXPECT_EQ(DAriGetElmNum(&db), 2);
}

TEST(CadElements, RecordsThatBreakTheLimitsAreRefused) {
    Db db;
    struct Case {
        const char* name;
        ElementRecord rec;
    } cases[] = {
        {"unknown kind", Record(9)},
        {"page 512", Line(0, 0, 1, 1, 512)},
        {"negative page", Line(0, 0, 1, 1, -1)},
        {"NaN point", Line(NAN, 0, 1, 1)},
        {"infinite point", Line(0, INFINITY, 1, 1)},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DAriAppendElement(&c.rec, &db), nullptr);
    }
    DAriSetMaxCoord(1, 1000.0);
    ElementRecord outside = Line(0, 0, 1001, 0);
    ElementRecord inside = Line(0, 0, 999, 0);
    EXPECT_EQ(DAriAppendElement(&outside, &db), nullptr);
    EXPECT_NE(DAriAppendElement(&inside, &db), nullptr);
    DAriSetMaxCoord(0, 1.0e100);
    EXPECT_NE(DAriAppendElement(&outside, &db), nullptr);
    EXPECT_EQ(DAriGetElmNum(&db), 2);
}

TEST(CadElements, TextAndBlockAreCopiedIntoLibraryMemory) {
    Db db;
    char text[] = "ダクト 表示";
    ElementRecord t = Full(kElmText, 3);
    CadSetPtr(&t, kOffTextPtr, text);
    StoredElement* te = DAriAppendElement(&t, &db);
    text[0] = 'X';
    const char* stored = static_cast<const char*>(CadGetPtr(&te->rec, kOffTextPtr));
    ASSERT_NE(stored, text);
    EXPECT_STREQ(stored, "ダクト 表示");
    EXPECT_EQ(CadGetU32(&te->rec, kOffTextLen), strlen(stored));

    // Kind 50: the caller frees its block after a change; the library keeps
    // its own copies, also of the contents an undo brings back.
    Db undoDb(1);
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
    memcpy(GlobalLock(h), "ABCDEFGH", 8);
    GlobalUnlock(h);
    ElementRecord b = Full(kElmBlock, 4);
    CadSetPtr(&b, kOffBlockHandle, h);
    CadSetU32(&b, kOffBlockSize, 8);
    StoredElement* be = DAriAppendElement(&b, &undoDb);
    GlobalFree(h);
    DAriMakUndoPass(&undoDb);
    HGLOBAL mine = static_cast<HGLOBAL>(CadGetPtr(&be->rec, kOffBlockHandle));
    ASSERT_NE(mine, nullptr);
    ElementRecord change = be->rec;  // the host changes with the library's own handle
    DAriChangeElement(be, &change, &undoDb);
    GlobalFree(mine);  // as the host does after a change
    DAriMakUndoPass(&undoDb);
    HGLOBAL now = static_cast<HGLOBAL>(CadGetPtr(&be->rec, kOffBlockHandle));
    EXPECT_EQ(memcmp(GlobalLock(now), "ABCDEFGH", 8), 0);
    GlobalUnlock(now);
    ASSERT_EQ(HostUndo(&undoDb), 1);
    HGLOBAL back = static_cast<HGLOBAL>(CadGetPtr(&be->rec, kOffBlockHandle));
    ASSERT_NE(back, mine);
    EXPECT_EQ(memcmp(GlobalLock(back), "ABCDEFGH", 8), 0);
    GlobalUnlock(back);
}

TEST(CadElements, RasterDataCompressesAndExpandsBack) {
    Db db;
    ElementRecord r = Full(kElmRaster, 5);
    StoredElement* e = DAriAppendElement(&r, &db);
    AttachRasterBits(&db);
    std::string before = Hex(CadGetPtr(&e->rec, kOffRasterBits), 512);
    uint32_t packed = 0;
    ASSERT_EQ(DAriCompRstrData(&db, e, 0, &packed), 1);
    EXPECT_GT(packed, 0u);
    EXPECT_LT(packed, 512u);
    // The host releases the bits after a compression.
    VirtualFree(CadGetPtr(&e->rec, kOffRasterBits), 0, MEM_RELEASE);
    CadSetPtr(&e->rec, kOffRasterBits, nullptr);
    reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded] = 0;
    ASSERT_EQ(DAriExpandRstrData(&db, e, 1), 1);
    EXPECT_EQ(Hex(CadGetPtr(&e->rec, kOffRasterBits), 512), before);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded], 1);
}

TEST(CadGroups, MembersFollowInDepthFirstOrderWithCounts) {
    Db db;
    ElementRecord g = Record(kElmGroup);
    StoredElement* group = DAriCreateFgroupHead(&g, &db);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(DAriGetElmNum(&db), 1);
    ElementRecord a = Line(1, 0, 1, 1), b = Line(2, 0, 2, 1), c = Line(3, 0, 3, 1), n = Record(kElmGroup2);
    StoredElement* ma = DAriAppendMemberElement(group, &a, &db);
    StoredElement* inner = DAriAppendMemberElement(group, &n, &db);
    StoredElement* mb = DAriAppendMemberElement(inner, &b, &db);
    StoredElement* mc = DAriAppendMemberElement(group, &c, &db);
    EXPECT_EQ(DAriGetMemberNum(group, &db), 3);
    EXPECT_EQ(DAriGetMemberNum(inner, &db), 1);
    // The chain at +182: a, inner, b, c; 190 names the direct group.
    EXPECT_EQ(group->member, ma);
    EXPECT_EQ(ma->member, inner);
    EXPECT_EQ(inner->member, mb);
    EXPECT_EQ(mb->member, mc);
    EXPECT_EQ(mc->member, nullptr);
    EXPECT_EQ(mb->owner, inner);
    EXPECT_EQ(mc->owner, group);
    ElementRecord buf;
    EXPECT_EQ(DAriReadFirstMember(group, &buf, &db), ma);
    EXPECT_DOUBLE_EQ(CadGetF64(&buf, kOffP1X), 1.0);
    EXPECT_EQ(DAriReadNextMember(inner, &buf, &db), mb);
    // Members are not elements of the drawing's own chain.
    EXPECT_EQ(DAriGetElmNum(&db), 1);
    // Inserting after a given member keeps the order.
    ElementRecord d = Line(4, 0, 4, 1);
    StoredElement* md = DAriAppendMemberElementExt(group, ma, &d, &db);
    EXPECT_EQ(ma->member, md);
    EXPECT_EQ(md->member, inner);
    EXPECT_EQ(DAriGetMemberNum(group, &db), 4);
    // Deleting a member takes it out of its group.
    EXPECT_EQ(DAriDeleteElement(md, &db), 1);
    EXPECT_EQ(ma->member, inner);
    EXPECT_EQ(DAriGetMemberNum(group, &db), 3);
}

TEST(CadGroups, PlacedFiguresFindTheirDefinition) {
    Db db;
    ElementRecord h1 = Full(kElmFigureHeader, 1), h2 = Full(kElmFigureHeader, 2);
    StoredElement* d1 = DAriCreateFgroupHead(&h1, &db);
    StoredElement* d2 = DAriCreateFgroupHead(&h2, &db);
    ElementRecord m = Line(0, 0, 5, 5);
    DAriAppendMemberElement(d2, &m, &db);
    EXPECT_EQ(DAriGetElmNum(&db), 0);  // definitions are not drawing elements
    ElementRecord place = Full(kElmFigure, 3);
    StoredElement* f = DAriAppendFgroup(d2, &place, &db);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->owner, d2);
    EXPECT_EQ(f->count, 2);  // the definition's number, counted from the first
    EXPECT_EQ(DAriGetFgroupHeaderIdx(f, &db), d2);
    EXPECT_EQ(DAriGetMemberNum(d2, &db), 1);
    f->owner = nullptr;  // the index alone still finds it
    EXPECT_EQ(DAriGetFgroupHeaderIdx(f, &db), d2);
    EXPECT_EQ(DAriAppendFgroup(nullptr, &place, &db), nullptr);
    ElementRecord l = Line(0, 0, 1, 1);
    StoredElement* line = DAriAppendElement(&l, &db);
    EXPECT_EQ(DAriGetFgroupHeaderIdx(line, &db), nullptr);
    (void)d1;
}

TEST(CadMarks, OrderedSetOfElements) {
    Db db;
    StoredElement* e[4];
    for (int i = 0; i < 4; ++i) {
        ElementRecord r = Line(i, 0, i, 1);
        e[i] = DAriAppendElement(&r, &db);
    }
    CadMark* m = DAriCreateMark(&db);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->db, &db.h);  // first field: the database header
    for (int i : {2, 0, 3, 0})
        DAriSetMark(e[i], m);
    EXPECT_EQ(DAriGetMarkNum(m), 3);
    EXPECT_EQ(DAriGetNextMark(nullptr, m), e[2]);
    EXPECT_EQ(DAriGetNextMark(e[2], m), e[0]);
    EXPECT_EQ(DAriGetBackMark(nullptr, m), e[3]);
    EXPECT_EQ(DAriGetBackMark(e[3], m), e[0]);
    EXPECT_EQ(DAriChkMark(e[1], m), 0);
    EXPECT_EQ(DAriDelMark(e[0], m), 1);
    EXPECT_EQ(DAriGetNextMark(e[2], m), e[3]);
    // An element deleted for good leaves every mark.
    DAriDeleteElement(e[3], &db);
    EXPECT_EQ(DAriGetMarkNum(m), 1);
    EXPECT_EQ(DAriGetNextMark(e[2], m), nullptr);
    Db other;
    EXPECT_EQ(DAriSetMark(e[1], DAriCreateMark(&other)), 0);  // another drawing's element
    EXPECT_EQ(DAriDestroyMark(m), 1);
    EXPECT_EQ(DAriDestroyMark(m), 0);
    EXPECT_EQ(DAriGetMarkNum(m), 0);
}

TEST(CadMarks, ExtendedWalkSkipsElementsNoLongerInTheDrawing) {
    Db db(1);
    ElementRecord r = Line(0, 0, 1, 1);
    StoredElement* a = DAriAppendElement(&r, &db);
    StoredElement* b = DAriAppendElement(&r, &db);
    CadMark* m = DAriCreateMark(&db);
    DAriSetMark(a, m);
    DAriSetMark(b, m);
    DAriDeleteElement(a, &db);  // kept alive by undo
    EXPECT_EQ(DAriGetExtNextMark(nullptr, m), b);
    CadMark* link = DAriCreateLinkMark(&db);
    EXPECT_EQ(DAriSetMark(db.h.currentUndo, link), 1);
    EXPECT_EQ(DAriGetNextMark(nullptr, link), db.h.currentUndo);
}

TEST(CadTags, TagsTextsAndUserDataPerElement) {
    Db db;
    ElementRecord r = Line(0, 0, 1, 1);
    StoredElement* e = DAriAppendElement(&r, &db);
    StoredElement* f = DAriAppendElement(&r, &db);
    EXPECT_EQ(DAriGetTag(e, 210), 0);
    DAriSetTag(e, 210, 1);
    DAriSetTag(e, 3, -5);
    EXPECT_EQ(DAriGetTag(e, 210), 1);
    EXPECT_EQ(DAriGetTag(e, 3), -5);
    DAriSetTag(e, 210, 0);
    EXPECT_EQ(DAriGetTag(e, 210), 0);
    char buf[300];
    EXPECT_EQ(DAriGetTagString(e, buf), 0);
    EXPECT_STREQ(buf, "");
    DAriSetTagString(e, "KOLTA21000");
    EXPECT_EQ(DAriGetTagString(e, buf), 1);
    EXPECT_STREQ(buf, "KOLTA21000");
    // A long text is cut to fit the callers' 300-byte buffers, never inside
    // a double-byte character.
    std::string longText(298, 'a');
    longText += "表表";
    DAriSetTagString(e, longText.c_str());
    DAriGetTagString(e, buf);
    EXPECT_EQ(strlen(buf), 298u);
    DAriSetTagString(e, nullptr);
    EXPECT_EQ(DAriGetTagString(e, buf), 0);
    uint8_t user[256], back[256];
    for (int i = 0; i < 256; ++i)
        user[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(DAriGet256UserData(e, back), 0);
    DAriSet256UserData(e, user);
    EXPECT_EQ(DAriGet256UserData(e, back), 1);
    EXPECT_EQ(memcmp(user, back, 256), 0);
    // Parameters copy to another element.
    DAriSetTag(e, 9, 99);
    EXPECT_EQ(DAriElementParamCopy(f, e), 1);
    EXPECT_EQ(DAriGetTag(f, 9), 99);
    EXPECT_EQ(DAriGet256UserData(f, back), 1);
    DAriSetExtrData(f, 39, 5, 1, 0);
    EXPECT_EQ(DAriGetExtrData(f, 39), 5);
    DAriSetExtrData(f, 39, 0, 1, 0);
    EXPECT_EQ(DAriGetExtrData(f, 39), 0);
}

TEST(CadPages, AddReadChangeWalkAndDelete) {
    Db db;
    PageRecord* rec = new PageRecord;
    memset(rec, 0, sizeof *rec);
    EXPECT_EQ(DAriChkPage(0, &db), 1);
    EXPECT_EQ(DAriChkPage(3, &db), 0);
    rec->parent = 0;
    ASSERT_EQ(DAriAddPage(3, rec, &db), 1);
    rec->parent = 3;
    ASSERT_EQ(DAriAddPage(7, rec, &db), 1);
    rec->parent = 3;
    ASSERT_EQ(DAriAddPage(5, rec, &db), 1);
    EXPECT_EQ(DAriAddPage(5, rec, &db), 0);    // exists
    EXPECT_EQ(DAriAddPage(257, rec, &db), 0);  // out of range
    EXPECT_EQ(DAriAddPage(0, rec, &db), 0);
    EXPECT_EQ(DAriGetPageCount(&db), 3);
    EXPECT_EQ(DAriGetNextPage(0, rec, &db), 3);
    EXPECT_EQ(rec->number, 3);
    EXPECT_EQ(DAriGetNextPage(3, nullptr, &db), 5);
    EXPECT_EQ(DAriGetNextPage(7, nullptr, &db), 0);
    EXPECT_EQ(DAriGetPageLv(0, &db), 0);
    EXPECT_EQ(DAriGetPageLv(3, &db), 1);
    EXPECT_EQ(DAriGetPageLv(7, &db), 2);
    EXPECT_EQ(DAriGetDownNextPage(3, 0, &db), 5);
    EXPECT_EQ(DAriGetDownNextPage(3, 5, &db), 7);
    EXPECT_EQ(DAriGetDownNextPage(3, 7, &db), 0);
    ASSERT_EQ(DAriGetPage(5, rec, &db), 1);
    rec->externalRef = 1;
    strcpy(rec->info.extFileName, "C:\\図面\\外部.tcf");
    ASSERT_EQ(DAriChgPage(5, rec, &db), 1);
    PageRecord* live = DAriGetPtPage(5, &db);
    ASSERT_NE(live, nullptr);
    EXPECT_EQ(live->externalRef, 1);
    EXPECT_EQ(&live->info, DAriGetDbInfoPtr(5, &db));
    EXPECT_STREQ(DAriGetDbInfoPtr(5, &db)->extFileName, "C:\\図面\\外部.tcf");
    EXPECT_EQ(DAriDelPage(5, &db), 1);
    EXPECT_EQ(DAriChkPage(5, &db), 0);
    EXPECT_EQ(DAriGetDbInfoPtr(5, &db), nullptr);
    EXPECT_EQ(DAriGetPage(0, rec, &db), 0);
    delete rec;
}

TEST(CadPages, DrawingInformationHeadIsExchangedByCopy) {
    Db db;
    std::vector<uint8_t> head(kDbInfoHeadSize);
    ASSERT_EQ(DAriGetDBInfo(head.data(), &db), 1);
    CadSetF64(head.data(), kInfoScale, 0.02);
    strcpy(reinterpret_cast<char*>(head.data()) + kInfoTitle, "タイトル");
    ASSERT_EQ(DAriSetDBInfo(head.data(), &db), 1);
    EXPECT_DOUBLE_EQ(CadGetF64(db.h.info, kInfoScale), 0.02);
    EXPECT_STREQ(reinterpret_cast<char*>(db.h.info) + kInfoTitle, "タイトル");
    // Only the head travels: the layer table behind it stays.
    EXPECT_EQ(db.h.info->layers.display[0], 0xFFFF);
}

TEST(CadLayers, NamesStayValidAndForeignPointersAreDropped) {
    Db db;
    ASSERT_EQ(DAriSetLayerName(0, 7, "", &db), 1);  // a null slot gets storage even for ""
    char* slot = db.h.info->layers.names[7];
    ASSERT_NE(slot, nullptr);
    EXPECT_STREQ(slot, "");
    DAriSetLayerName(0, 7, "空調ダクト", &db);
    EXPECT_EQ(db.h.info->layers.names[7], slot);  // renamed in place
    EXPECT_STREQ(slot, "空調ダクト");
    char buf[260];
    EXPECT_EQ(DAriGetLayerName(0, 7, 1, buf, &db), 1);
    EXPECT_STREQ(buf, "空調ダクト");
    EXPECT_EQ(DAriGetLayerName(0, 8, 1, buf, &db), 0);
    EXPECT_EQ(DAriSetLayerName(0, 1024, "x", &db), 0);
    EXPECT_EQ(DAriSetLayerName(9, 0, "x", &db), 0);  // no such page
    std::string longName(300, 'n');
    DAriSetLayerName(0, 8, longName.c_str(), &db);
    EXPECT_EQ(strlen(db.h.info->layers.names[8]), 259u);
    // A table snapshot goes back whole; a pointer that is not ours is dropped.
    LayerTable* t = new LayerTable;
    ASSERT_EQ(DAriGetLayerInfo(0, t, &db), 1);
    static char foreign[] = "foreign";
    t->names[9] = foreign;
    t->display[0] = 0x0001;
    strcpy(t->groupNames[7], "空調");
    ASSERT_EQ(DAriSetLayerInfo(0, t, &db), 1);
    EXPECT_EQ(db.h.info->layers.names[9], nullptr);
    EXPECT_EQ(db.h.info->layers.names[7], slot);
    EXPECT_EQ(db.h.info->layers.display[0], 1);
    EXPECT_STREQ(db.h.info->layers.groupNames[7], "空調");
    delete t;
    EXPECT_EQ(DAriChkDspElement(0, 0, 0, 0, &db), 1);
    EXPECT_EQ(DAriChkDspElement(0, 1, 0, 0, &db), 0);  // layer 1 hidden now
    db.h.pages.display[0] &= ~1u;
    EXPECT_EQ(DAriChkDspElement(0, 0, 0, 0, &db), 0);  // page 0 hidden
}

// A layer table copied from another page or drawing brings its names as
// texts: each layer keeps a slot of its own, so renaming a layer of one page
// never renames another page's layer, and names survive the drawing they
// came from.
TEST(CadLayers, CopiedTablesGetTheirOwnNameSlots) {
    Db db;
    ASSERT_EQ(DAriSetLayerName(0, 1, "衛生", &db), 1);
    ASSERT_EQ(DAriSetLayerName(0, 2, "電気", &db), 1);
    ASSERT_EQ(DAriAddPage(1, nullptr, &db), 1);
    std::unique_ptr<LayerTable> t(new LayerTable);
    ASSERT_EQ(DAriGetLayerInfo(0, t.get(), &db), 1);
    ASSERT_EQ(DAriSetLayerInfo(1, t.get(), &db), 1);  // page 0's table onto page 1
    LayerTable* p1 = &DAriGetDbInfoPtr(1, &db)->layers;
    char* page0Slot = db.h.info->layers.names[1];
    ASSERT_NE(p1->names[1], nullptr);
    EXPECT_NE(p1->names[1], page0Slot);
    EXPECT_STREQ(p1->names[1], "衛生");
    ASSERT_EQ(DAriSetLayerName(1, 1, "空調", &db), 1);
    char buf[260];
    DAriGetLayerName(0, 1, 1, buf, &db);
    EXPECT_STREQ(buf, "衛生");  // page 0 untouched
    DAriGetLayerName(1, 1, 1, buf, &db);
    EXPECT_STREQ(buf, "空調");

    // Names swapped between two layers of one page: each keeps its slot.
    char* s1 = db.h.info->layers.names[1];
    char* s2 = db.h.info->layers.names[2];
    ASSERT_EQ(DAriGetLayerInfo(0, t.get(), &db), 1);
    t->names[1] = s2;
    t->names[2] = s1;
    ASSERT_EQ(DAriSetLayerInfo(0, t.get(), &db), 1);
    EXPECT_EQ(db.h.info->layers.names[1], s1);
    EXPECT_EQ(db.h.info->layers.names[2], s2);
    EXPECT_STREQ(s1, "電気");
    EXPECT_STREQ(s2, "衛生");

    // A table from another drawing (a referenced file loaded elsewhere).
    {
        Db other;
        ASSERT_EQ(DAriSetLayerName(0, 5, "外部参照", &other), 1);
        ASSERT_EQ(DAriGetLayerInfo(0, t.get(), &other), 1);
        PageRecord* rec = new PageRecord;
        ASSERT_EQ(DAriGetPage(1, rec, &db), 1);
        memcpy(&rec->info.layers, t.get(), sizeof(LayerTable));
        ASSERT_EQ(DAriChgPage(1, rec, &db), 1);
        delete rec;
    }
    p1 = &DAriGetDbInfoPtr(1, &db)->layers;
    ASSERT_NE(p1->names[5], nullptr);
    EXPECT_STREQ(p1->names[5], "外部参照");  // outlives the other drawing
    EXPECT_EQ(p1->names[1], nullptr);        // the other drawing had no name there
}

TEST(CadStyles, DefaultTablesReachCallersAndNewDrawings) {
    std::vector<ColourEntry> pens(257);
    std::vector<LineTypeEntry> types(32);
    double widths[16];
    ASSERT_EQ(DariStyleGet(pens.data(), types.data(), widths), 1);
    EXPECT_EQ(pens[2].red, 255);
    EXPECT_EQ(pens[2].green, 0);
    EXPECT_EQ(types[0].segments, 0);  // solid
    EXPECT_GT(types[1].segments, 0);
    EXPECT_GT(widths[0], 0.0);
    Db db;
    EXPECT_EQ(memcmp(db.h.info->colours, pens.data(), sizeof(ColourEntry) * 257), 0);
    EXPECT_EQ(DariStyleGet(nullptr, nullptr, nullptr), 1);
}

TEST(CadFonts, FontsOfTheMachineAreListed) {
    int n = DAriGetFontNum(0);
    EXPECT_GE(n, 0);
    if (n > 0) {
        const char* name = DAriGetFontNm(0, 0, 0);
        ASSERT_NE(name, nullptr);
        EXPECT_GT(strlen(name), 0u);
    }
    EXPECT_EQ(DAriGetFontNm(0, n, 0), nullptr);
    EXPECT_EQ(DAriGetFontNm(0, -1, 0), nullptr);
    EXPECT_EQ(DAriGetFontNum(3), 0);
    ElementRecord t = Full(kElmText, 1);
    CadSetPtr(&t, kOffTextPtr, "ABCD");
    CadSetF64(&t, kOffTextSize1, 2.0);
    CadSetF64(&t, kOffTextSize2, 1.0);
    CadSetF64(&t, kOffTextSize3, 0.5);
    CadSetF64(&t, kOffTextAngle, 0.0);
    CadSetF64(&t, kOffTextX, 10.0);
    CadSetF64(&t, kOffTextY, 20.0);
    double corners[8];
    void* block[2] = {&t, corners};
    ASSERT_EQ(DAriDicFunction(18, block), 1);
    EXPECT_DOUBLE_EQ(corners[2], 10.0 + 4 * 1.0 + 3 * 0.5);
    EXPECT_DOUBLE_EQ(corners[5], 22.0);
}

// Vector dictionaries: opened from a font of the machine by a module's
// request, measured and outlined through the dictionary block, closed again.
TEST(CadFonts, VectorDictionaryOpensMeasuresAndCloses) {
    FontDicRequest q;
    memset(&q, 0, sizeof q);
    q.value1 = 2;
    strcpy(q.text, "No Such Font Here");
    EXPECT_EQ(DAriDicFunction(1, &q), 0);
    EXPECT_EQ(DAriGetFontNum(4), 0);
    // The first TrueType font of the machine that gives outlines.
    std::string face;
    for (int i = 0; i < DAriGetFontNum(0) && face.empty(); ++i) {
        const char* name = DAriGetFontNm(0, i, 0);
        memset(q.text, 0, sizeof q.text);
        strncpy(q.text, name, sizeof q.text - 1);
        if (DAriDicFunction(1, &q) != 1) continue;
        DicBlock b = {};
        b.word1 = reinterpret_cast<uintptr_t>("A");
        b.word2 = 2;
        if (DAriDicFunction(3, &b) > 0)
            face = name;
        else
            DAriDicFunction(2, &q);
    }
    ASSERT_FALSE(face.empty()) << "no font of the machine gives outlines";
    EXPECT_EQ(DAriGetFontNum(4), 1);
    EXPECT_EQ(DAriGetFontNum(3), 0);
    ASSERT_NE(DAriGetFontNm(4, 0, 0), nullptr);
    EXPECT_EQ(face, DAriGetFontNm(4, 0, 0));
    EXPECT_EQ(DAriGetFontNm(4, 1, 0), nullptr);
    FontDicRequest state;
    memset(&state, 0, sizeof state);
    ASSERT_EQ(DAriDicFunction(20, &state), 1);  // 0: the first open dictionary
    EXPECT_EQ(state.value2, 2);
    EXPECT_EQ(face, state.text2);

    auto text = [](DicBlock& b, uint32_t word, const char* t) { CadSetPtr(&b, word, t); };
    auto length = [&](int code, const char* t, int first, int count) {
        DicBlock b = {};
        text(b, 0x14e, t);
        b.word2 = 2;
        b.value1 = first;
        b.value2 = count;
        CadSetF64(&b, 0x126, 10.0);
        CadSetF64(&b, 0x12e, 1.0);
        EXPECT_EQ(DAriDicFunction(code, &b), 1) << code << " " << t;
        return CadGetF64(&b, 0x136);
    };
    double a = length(4, "A", 0, 0), ab = length(4, "AB", 0, 0);
    EXPECT_GT(a, 0.0);
    EXPECT_NEAR(ab, a + length(5, "AB", 1, 1) + 1.0, 1e-9);  // advances side by side plus the spacing
    EXPECT_NEAR(length(5, "AB", 0, -1), ab, 1e-9);
    EXPECT_NEAR(length(6, "AB", 0, 0), 21.0, 1e-9);   // two cells of 10 and a spacing
    EXPECT_NEAR(length(7, "ABC", 1, 5), 21.0, 1e-9);  // a count past the end stops there
    // With the vector-font width setting at 0 the pitch is fixed: half a
    // cell for a single-byte character, a whole one for a double-byte one.
    ASSERT_EQ(DAriSetSettingsDataInt("iVectFontWidth", 0), 1);
    EXPECT_NEAR(length(4, "Wi表", 0, 0), 5.0 + 5.0 + 10.0 + 2.0, 1e-9);
    DAriSetSettingsDataInt("iVectFontWidth", 1);
    EXPECT_NEAR(length(4, "AB", 0, 0), ab, 1e-9);

    auto box = [&](int code, const char* t) {
        DicBlock b = {};
        b.word1 = 2;
        text(b, 0x152, t);
        EXPECT_EQ(DAriDicFunction(code, &b), 1) << code << " " << t;
        return std::make_pair(CadGetF64(&b, 0x126), CadGetF64(&b, 0x12e));
    };
    auto wide = box(10, "W"), narrow = box(10, "i");
    EXPECT_GT(wide.first, narrow.first);
    EXPECT_GT(wide.second, 0.3);
    EXPECT_LE(wide.second, 1.0);
    EXPECT_NEAR(box(12, "WW").second, wide.second + 1.0, 1e-9);  // one cell lower
    EXPECT_EQ(box(10, " ").first, 0.0);

    // Characters are split on code page 932: the trail byte of 表 is '\'.
    DicBlock b = {};
    text(b, 0x14e, "表A\\");
    ASSERT_EQ(DAriDicFunction(9, &b), 1);
    EXPECT_EQ(CadGetF64(&b, 0x126), 3.0);
    b = {};
    text(b, 0x14e, "AB");
    b.value1 = 1;
    ASSERT_EQ(DAriDicFunction(17, &b), 1);
    EXPECT_NEAR(CadGetF64(&b, 0x12e) * 10.0, a, 1e-9);  // offset of B = advance of A
    b.value1 = 2;
    EXPECT_EQ(DAriDicFunction(17, &b), 0);

    char name[262] = {};
    b = {};
    b.value1 = 4;
    text(b, 0x14e, name);
    ASSERT_EQ(DAriDicFunction(21, &b), 1);
    EXPECT_EQ(face, name);
    b.value2 = 1;
    EXPECT_EQ(DAriDicFunction(21, &b), 0);

    EXPECT_EQ(DAriDicFunction(2, &q), 1);
    EXPECT_EQ(DAriDicFunction(2, &q), 0);
    EXPECT_EQ(DAriGetFontNum(4), 0);
    EXPECT_EQ(DAriGetFontNm(4, 0, 0), nullptr);
    b = {};
    text(b, 0x14e, "A");
    b.word2 = 2;
    EXPECT_EQ(DAriDicFunction(4, &b), 0);  // closed
}

// Every function the header declares is exported under its plain name, as
// callers that load the library by name expect.
TEST(CadExports, EveryDeclaredFunctionIsExportedUndecorated) {
    const char* src = getenv("ZAV_SOURCE_DIR");
    ASSERT_NE(src, nullptr);
    FILE* f = fopen((std::string(src) + "/cadlib/WmCadApiDb.h").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        text.append(buf, n);
    fclose(f);
    HMODULE lib = GetModuleHandleA("WmCadApiDb.dll");
    ASSERT_NE(lib, nullptr);
    int count = 0;
    for (size_t at = text.find("ZAVAPI "); at != std::string::npos; at = text.find("ZAVAPI ", at + 1)) {
        size_t start = at + 7;
        size_t paren = text.find('(', start);
        if (paren == std::string::npos) continue;
        std::string name = text.substr(start, paren - start);
        if (name.find(' ') != std::string::npos || name.empty()) continue;
        SCOPED_TRACE(name);
        EXPECT_NE(GetProcAddress(lib, name.c_str()), nullptr);
        ++count;
    }
    EXPECT_GT(count, 80);
}

// Handles that no longer name an element of the drawing are refused by
// every call instead of being followed.
TEST(CadElements, StaleAndForeignHandlesAreRefused) {
    Db db;
    Db other;
    ElementRecord r = Line(0, 0, 1, 1);
    StoredElement* gone = DAriAppendElement(&r, &db);
    StoredElement* foreign = DAriAppendElement(&r, &other);
    ASSERT_EQ(DAriDeleteElement(gone, &db), 1);  // released at once: no undo
    ElementRecord buf;
    uint8_t user[256] = {};
    char text[300];
    for (StoredElement* e : {gone, foreign}) {
        SCOPED_TRACE(e == gone ? "deleted" : "other drawing");
        EXPECT_EQ(DAriReadElement(e, 1, &buf, &db), nullptr);
        EXPECT_EQ(DAriChangeElement(e, &r, &db), nullptr);
        EXPECT_EQ(DAriMemChangeElement(e, &r, &db), nullptr);
        EXPECT_EQ(DAriDeleteElement(e, &db), 0);
        EXPECT_EQ(DAriAppendMemberElement(e, &r, &db), nullptr);
        EXPECT_EQ(DAriGetFgroupHeaderIdx(e, &db), nullptr);
        EXPECT_EQ(DAriUndoAddElement(e, &db, 1, nullptr), 0);
        EXPECT_EQ(DAriCompRstrData(&db, e, 0, nullptr), 0);
    }
    EXPECT_EQ(DAriSetTag(gone, 1, 1), 0);
    EXPECT_EQ(DAriGetTagString(gone, text), 0);
    EXPECT_EQ(DAriSet256UserData(gone, user), 0);
    EXPECT_EQ(DAriElementParamCopy(gone, foreign), 0);
    EXPECT_EQ(DAriGetElmNum(&db), 0);
    EXPECT_EQ(DAriGetElmNum(&other), 1);
}
