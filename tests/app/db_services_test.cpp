// The drawing services in the running program: a module edits the active
// drawing through the host's messages, the user undoes and redoes from
// outside the command, and the saved file holds the result.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "tests/app/app_session.h"

namespace {

// A group of a saved drawing: its member lines as "kind:x1,y1-x2,y2", in
// member order; the number of top-level elements and the group's kind.
std::vector<std::string> SavedGroupLines(DbHeader* db, StoredElement* group, int* topLevel, int* kind) {
    std::vector<std::string> lines;
    *topLevel = DAriGetElmNum(db);
    *kind = group ? group->rec.kind : 0;
    if (!group) return lines;
    ElementRecord rec;
    int left = DAriGetMemberNum(group, db);
    for (StoredElement* m = DAriReadFirstMember(group, &rec, db); m && left > 0;
         m = DAriReadNextMember(m, &rec, db), --left) {
        char text[80];
        wsprintfA(text, "%d:%d,%d-%d,%d", rec.kind, (int)CadGetF64(&rec, kOffP1X), (int)CadGetF64(&rec, kOffP1Y),
                  (int)CadGetF64(&rec, kOffP2X), (int)CadGetF64(&rec, kOffP2Y));
        lines.push_back(text);
    }
    return lines;
}

// An empty drawing file written by the CAD library.
bool WriteEmptyDrawing(const std::string& path) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    if (!DAriCreateDB(&h)) return false;
    uint32_t status = 0;
    const bool saved = DAriSaveFileOfCWX(path.c_str(), &h, &status) != 0;
    DAriDeleteDB(&h);
    return saved;
}

TEST(DrawingServices, AModuleEditsTheDrawingThroughTheHostAndTheSavedFileHoldsTheResult) {
    AppSession app("dbsvc");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    const std::string plan = app.UserDir() + "\\edited.tcf";
    ASSERT_TRUE(WriteEmptyDrawing(plan));
    ASSERT_TRUE(app.Start("\"" + plan + "\"")) << app.LastError();
    ASSERT_TRUE(app.WaitDrawingCount(1));

    // The module appends, changes, deletes and groups, and walks the last
    // step back and forth through the undo services.
    app.Command(30400);
    ASSERT_TRUE(app.WaitModuleText("DBSVC edit")) << app.ModuleLog();
    EXPECT_NE(app.ModuleLog().find("DBSVC edit 3 1 2 1 2 1 changed=1 deleted=1 group=1"), std::string::npos)
        << app.ModuleLog();

    // Undo and redo of the grouping step from outside the command (each
    // message waits until the module's command has ended).
    auto count = [&] { return static_cast<int>(app.SendFrame(UM_GET_ELEMENT_COUNT)); };
    EXPECT_EQ(1, count());
    EXPECT_EQ(1, app.SendFrame(UM_UNDO));
    EXPECT_EQ(3, count()) << "two lines and the circle again";
    EXPECT_EQ(1, app.SendFrame(UM_REDO));
    EXPECT_EQ(1, count()) << "the group again";

    // Link entries, a moved copy, page services and a temporary database.
    app.Command(30401);
    ASSERT_TRUE(app.WaitModuleText("DBSVC more")) << app.ModuleLog();
    EXPECT_NE(app.ModuleLog().find("DBSVC more tag=1/1 copied=1 page=0 wide=1 temp=1/1/1/1/0"), std::string::npos)
        << app.ModuleLog();
    EXPECT_EQ(2, count()) << "the group and its copy";

    // Save over the file (4012 asks before it overwrites).
    app.Command(4012);
    HWND box = app.WaitBox();
    ASSERT_NE(nullptr, box) << "the overwrite question";
    app.Post(box, WM_COMMAND, IDOK);
    ASSERT_TRUE(app.Close()) << app.LastError();

    DbHeader saved;
    std::memset(&saved, 0, sizeof saved);
    ASSERT_EQ(1, DAriCreateDB(&saved));
    uint32_t status = 0;
    ASSERT_EQ(1, DAriLoadFileOfCWX(plan.c_str(), &saved, &status));
    int topLevel = 0, kind = 0;
    const std::vector<std::string> members =
        SavedGroupLines(&saved, DAriReadElement(nullptr, 0, nullptr, &saved), &topLevel, &kind);
    EXPECT_EQ(2, topLevel) << "the group and its copy: the circle deleted, the third line undone";
    EXPECT_EQ(kElmGroup, kind);
    EXPECT_EQ(members, (std::vector<std::string>{"1:0,0-100,0", "1:0,50-100,50"}))
        << "the first line as appended, the second as changed";
    StoredElement* first = DAriReadElement(nullptr, 0, nullptr, &saved);
    char text[300] = {};
    DAriGetTagString(first, text);
    EXPECT_STREQ("KOLTA21000PART    A-100           ", text) << "the link entry";
    EXPECT_EQ(1, DAriGetTag(first, 210));
    const std::vector<std::string> copy =
        SavedGroupLines(&saved, DAriReadElement(first, 1, nullptr, &saved), &topLevel, &kind);
    EXPECT_EQ(kElmGroup, kind);
    EXPECT_EQ(copy, (std::vector<std::string>{"1:200,100-300,100", "1:200,150-300,150"})) << "the moved copy";
    DAriDeleteDB(&saved);
}

}  // namespace
