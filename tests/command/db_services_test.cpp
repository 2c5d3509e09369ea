// The database services that do their own work: delete all, the drawing
// information exchange, layer names, new windows and databases, reset,
// reading elements and the modified switch.
#include <gtest/gtest.h>

#include <vector>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "command/host_hooks.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

using DbServices = DrawingFixture;

void LockLayer(DbHeader* db, int layer) {
    DbInfo* info = DAriGetDbInfoPtr(0, db);
    uint16_t w;
    std::memcpy(&w, &info->layers.lock[layer / 16], sizeof w);
    w = static_cast<uint16_t>(w | (1u << (layer % 16)));
    std::memcpy(&info->layers.lock[layer / 16], &w, sizeof w);
}

TEST_F(DbServices, DeleteAllAsksAndKeepsLockedLayers) {
    Add(Line(0, 0, 1, 1));
    Add(Line(2, 0, 3, 1, 0, 6));
    Send(UM_MAKE_UNDO_PASS);
    a.modified = 0;
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(Send(UM_DELETE_ALL), 1);
    EXPECT_EQ(DAriGetElmNum(&a.db), 2) << "cancelled";
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, std::string(GetMessageText(5122)));
    EXPECT_EQ(boxes.Calls()[0].caption, "全消去設定");
    EXPECT_EQ(a.modified, 0);

    LockLayer(&a.db, 6);
    boxes.Answer(IDOK);
    EXPECT_EQ(Send(UM_DELETE_ALL), 1);
    EXPECT_EQ(boxes.Calls().back().text, std::string(GetMessageText(5122)) + "\n※ロックレイヤは消去しません。");
    ASSERT_EQ(DAriGetElmNum(&a.db), 1);
    EXPECT_EQ(Records(&a.db)[0].layer, 6);
    EXPECT_GT(a.modified, 0) << "what was deleted is a change";
    EXPECT_EQ(DAriIsUndo(&a.db), 1) << "the history stays with locked layers";

    DbInfo* info = DAriGetDbInfoPtr(0, &a.db);
    std::memset(&info->layers.lock, 0, sizeof info->layers.lock);
    boxes.Answer(IDOK);
    a.modified = 0;
    EXPECT_EQ(Send(UM_DELETE_ALL), 1);
    EXPECT_EQ(DAriGetElmNum(&a.db), 0);
    EXPECT_EQ(DAriIsUndo(&a.db), 0) << "a full delete clears the history";
    EXPECT_GT(a.modified, 0);
    active = nullptr;
    EXPECT_EQ(Send(UM_DELETE_ALL), 0);
}

TEST_F(DbServices, DrawingInformationRoundTrip) {
    std::vector<uint8_t> before(kDbInfoHeadSize), buffer(kDbInfoHeadSize, 0xEE), after(kDbInfoHeadSize);
    DbInfo* live = DAriGetDbInfoPtr(0, &a.db);
    DbcsCopy(reinterpret_cast<char*>(live) + kInfoTitle, 257, "配管図");
    DbcsCopy(reinterpret_cast<char*>(live) + kInfoAuthor, 257, "設計者");
    DAriGetDBInfo(before.data(), &a.db);
    int resets = 0;
    HostHooks().resetViewAfterDbChange = [&](void*, HWND) {
        ++resets;
        return 1;
    };
    EXPECT_EQ(Send(UM_GET_DB_INFO, 0, buffer.data()), 1);
    EXPECT_STREQ(reinterpret_cast<const char*>(buffer.data() + kInfoTitle), "配管図");
    EXPECT_DOUBLE_EQ(CadGetF64(buffer.data(), kInfoDrawW), 841);
    a.modified = 0;
    EXPECT_EQ(Send(UM_SET_DB_INFO, 0, buffer.data()), 1);
    DAriGetDBInfo(after.data(), &a.db);
    EXPECT_EQ(before, after) << "the same buffer back changes nothing";
    EXPECT_GT(a.modified, 0);
    EXPECT_EQ(resets, 1);
    // A text field the module filled to its last byte is stored terminated.
    std::memset(buffer.data() + kInfoAuthor, 'A', 257);
    EXPECT_EQ(Send(UM_SET_DB_INFO, 0, buffer.data()), 1);
    DAriGetDBInfo(after.data(), &a.db);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(after.data() + kInfoAuthor)), std::string(256, 'A'));
    active = nullptr;
    EXPECT_EQ(Send(UM_GET_DB_INFO, 0, buffer.data()), 0);
}

TEST_F(DbServices, LayerNamesStayWithinTheTable) {
    DAriSetLayerName(0, 5, "配管", &a.db);
    int asked = 0;
    HostHooks().getLayerNameOfPage = [&](int, int layer, char* name, char* second) {
        ++asked;
        std::strcpy(name, layer == 5 ? "配管" : "");
        second[0] = 0;
        return 1;
    };
    CmdRequest req = {};
    char name[260] = {}, second[260] = "x";
    req.w.text = W(name);
    req.w.text2 = W(second);
    req.word6c = 5;
    EXPECT_STREQ(reinterpret_cast<const char*>(Send(UM_GET_LAYER_NAME, 1, &req)), "配管");
    EXPECT_EQ(Send(UM_GET_LAYER_NAME, 0, &req), 1);
    EXPECT_STREQ(name, "配管");
    EXPECT_STREQ(second, "");
    for (int layer : {1024, 1025, -1, 70000}) {
        req.word6c = layer;
        asked = 0;
        EXPECT_EQ(Send(UM_GET_LAYER_NAME, 1, &req), 0) << layer;
        EXPECT_EQ(Send(UM_GET_LAYER_NAME, 0, &req), 0) << layer;
        EXPECT_EQ(Send(UM_SET_LAYER_NAME, 0, &req), 0) << layer;
        EXPECT_EQ(asked, 0) << layer;
    }
    int usedPage = -1;
    HostHooks().collectUsedLayers = [&](int, unsigned char*, int page) {
        usedPage = page;
        return 3;
    };
    unsigned char flags[1024];
    EXPECT_EQ(Send(UM_GET_USED_LAYERS, 3, flags), 3);
    EXPECT_EQ(usedPage, 2);
    a.db.pages.currentPage = 1;
    Send(UM_GET_USED_LAYERS, 0, flags);
    EXPECT_EQ(usedPage, 1) << "0: the current page";
}

TEST_F(DbServices, NewWindowsAndDatabases) {
    DbInfo* info = DAriGetDbInfoPtr(0, &b.db);
    info->originAtCorner = 1;
    b.sets[0][0] = 11;
    b.sets[0][1] = 22;
    b.sets[0][2] = 3;
    int zooms = 0;
    HostHooks().newDrawingWindow = [this] { return b.view; };
    HostHooks().zoomViewToPaper = [&] { return ++zooms; };
    b.modified = 0;
    EXPECT_EQ(reinterpret_cast<DbHeader*>(Send(UM_NEW_DRAWING_WINDOW_DB)), &b.db);
    EXPECT_EQ(zooms, 1);
    EXPECT_GT(b.modified, 0);
    for (int mode : {1, 2}) {
        EXPECT_EQ(b.sets[mode][0], 11) << mode;
        EXPECT_EQ(b.sets[mode][2], 3) << mode;
    }
    EXPECT_EQ(Send(UM_NEW_DRAWING_WINDOW), 1);
    HostHooks().newDrawingWindow = [] { return HWND(nullptr); };
    EXPECT_EQ(Send(UM_NEW_DRAWING_WINDOW_DB), 0) << "no window";
    EXPECT_EQ(Send(UM_NEW_DRAWING_WINDOW), 1);
    EXPECT_EQ(reinterpret_cast<DbHeader*>(Send(UM_GET_VIEW_DB, 0, a.view)), &a.db);
}

TEST_F(DbServices, ResetReadAndTheModifiedSwitch) {
    DbHeader own;
    std::memset(&own, 0, sizeof own);
    EXPECT_EQ(Send(UM_RESET_DB, 0, &own), 1);
    EXPECT_EQ(own.core, nullptr) << "a header that names no database is not filled";
    ASSERT_EQ(DAriCreateDB(&own), 1);
    DAriAppendElement(Ptr(Line(0, 0, 1, 1)), &own);
    EXPECT_EQ(Send(UM_RESET_DB, 0, &own), 1);
    EXPECT_EQ(DAriGetElmNum(&own), 0);
    DAriAppendElement(Ptr(Line(0, 0, 1, 1)), &own);
    EXPECT_EQ(DAriIsUndo(&own), 1) << "recording at the undo level";
    DAriDeleteDB(&own);

    StoredElement* e = Add(Line(4, 0, 5, 1));
    ElementRecord out = {};
    CmdRequest req = RequestFor(a);
    req.element = W(e);
    req.element2 = 4;
    req.word6c = static_cast<int32_t>(W(&out));
    EXPECT_EQ(reinterpret_cast<StoredElement*>(Send(UM_READ_ELEMENT, 0, &req)), e);
    EXPECT_DOUBLE_EQ(CadGetF64(&out, kOffP1X), 4);

    CmdRequest flag = RequestFor(b);
    flag.w.mode = 1;
    EXPECT_EQ(Send(UM_SET_MODIFIED, 0, &flag), 1);
    EXPECT_EQ(b.modified, 1);
    flag.w.mode = 0;
    EXPECT_EQ(Send(UM_SET_MODIFIED, 0, &flag), 1);
    EXPECT_EQ(b.modified, 0);
    flag.view = nullptr;
    EXPECT_EQ(Send(UM_SET_MODIFIED, 0, &flag), 0) << "no view";
}

}  // namespace
