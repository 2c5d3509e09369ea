// The real application end to end: it opens the sample drawing named on its
// command line and by DDE, zooms, saves with command 4012, and a second copy
// finds the file locked.
#include <windows.h>
#include <ddeml.h>

#include <cstring>

#include "command/host_messages.h"
#include "tests/shell/shell_fixture.h"
#include "view_fixture.h"

namespace {

struct WindowSearch {
    DWORD pid;
    const char* cls;
    std::vector<HWND> out;
};

BOOL CALLBACK ChildWindow(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<WindowSearch*>(lp);
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, c->cls) == 0) c->out.push_back(w);
    return TRUE;
}

BOOL CALLBACK TopWindow(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != c->pid) return TRUE;
    ChildWindow(w, lp);
    EnumChildWindows(w, ChildWindow, lp);
    return TRUE;
}

BOOL CALLBACK CollectText(HWND w, LPARAM lp) {
    char t[512] = {};
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, (LPARAM)t, SMTO_NORMAL, 2000, &r);
    *(std::string*)lp += t;
    return TRUE;
}

HDDEDATA CALLBACK DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// The installation folder's sub-folders (settings, images) come along.
void CopyFolder(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((from + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (fd.cFileName[0] == '.') continue;
        const std::string a = from + "\\" + fd.cFileName, b = to + "\\" + fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CopyFolder(a, b);
        else CopyFileA(a.c_str(), b.c_str(), FALSE);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

class AppTest : public ::testing::Test {
 protected:
    void SetUp() override {
        // Copy only a real installation folder: a wrong folder here would be
        // copied whole, sub-folders and all.
        ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((DistDir() + "\\ZavIrurer.exe").c_str()))
            << "no installation folder at " << DistDir();
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((DistDir() + "\\*").c_str(), &fd);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (fd.cFileName[0] != '.') CopyFolder(DistDir() + "\\" + fd.cFileName, inst.File(fd.cFileName));
                continue;
            }
            ASSERT_TRUE(CopyFileA((DistDir() + "\\" + fd.cFileName).c_str(), inst.File(fd.cFileName).c_str(), FALSE));
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        exe = inst.File("ZavIrurer.exe");
        SetEnv("ZAV_INSTALL_DIR", nullptr);
        SetEnv("ZAV_LOCAL_APPDATA", user.Path().c_str());
    }
    void TearDown() override { SetEnv("ZAV_LOCAL_APPDATA", nullptr); }

    // All windows of a class in a process (child windows included).
    static std::vector<HWND> ProcessWindows(DWORD pid, const char* cls) {
        WindowSearch ctx{pid, cls, {}};
        EnumWindows(TopWindow, reinterpret_cast<LPARAM>(&ctx));
        return ctx.out;
    }
    static std::string BoxText(HWND box) {
        std::string all;
        EnumChildWindows(box, CollectText, (LPARAM)&all);
        return all;
    }
    bool DdeOpen(const std::string& path) {
        DWORD inst = 0;
        if (DdeInitializeA(&inst, DdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
            return false;
        HSZ service = DdeCreateStringHandleA(inst, "RAZE", CP_WINANSI);
        HSZ topic = DdeCreateStringHandleA(inst, "System", CP_WINANSI);
        HCONV conv = DdeConnect(inst, service, topic, nullptr);
        bool ok = false;
        if (conv) {
            std::string req = "{Open(" + path + ")}";
            ok = DdeClientTransaction((LPBYTE)req.c_str(), (DWORD)req.size() + 1, conv, nullptr, 0, XTYP_EXECUTE,
                                      10000, nullptr) != nullptr;
            DdeDisconnect(conv);
        }
        DdeFreeStringHandle(inst, service);
        DdeFreeStringHandle(inst, topic);
        DdeUninitialize(inst);
        return ok;
    }

    TempFolder inst{"view_inst"};
    TempFolder user{"view_user"};
    TempFolder docs{"view_docs"};
    std::string exe;
};

TEST_F(AppTest, OpensZoomsSavesAndASecondCopyFindsTheFileLocked) {
    const std::string src = std::string(getenv("ZAV_SOURCE_DIR") ? getenv("ZAV_SOURCE_DIR") : ".");
    std::string sample = src + "/data/samples/sample.tcf";
    for (char& c : sample)
        if (c == '/') c = '\\';
    const std::string plan = docs.File("plan.tcf");
    const std::string second = docs.File("second.tcf");
    ASSERT_TRUE(CopyFileA(sample.c_str(), plan.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(sample.c_str(), second.c_str(), FALSE));

    ChildProcess a;
    ASSERT_TRUE(a.Start(exe, "\"" + plan + "\""));
    HWND frame = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 30000);
    if (!frame) {
        HWND box = FindProcessWindow("#32770", a.pi.dwProcessId, 0);
        ADD_FAILURE() << "no main frame; box: " << (box ? BoxText(box) : std::string("none"))
                      << " exit " << a.Wait(0);
    }
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));
    EXPECT_NE(std::string::npos, DrawingTitles(frame)[0].find("plan.tcf"));

    // A drawing by DDE.
    ASSERT_TRUE(DdeOpen(second));
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 2; }, 20000));

    // Zoom the active view with its own command, then save it with 4012.
    std::vector<HWND> views = ProcessWindows(a.pi.dwProcessId, "CadwinView");
    ASSERT_EQ(2u, views.size());
    for (HWND v : views) SendMessageA(v, WM_COMMAND, 1004, 0);
    PumpFor(300);
    const std::string before = ReadWholeFile(second);
    PostMessageA(frame, WM_COMMAND, 4012, 0);
    HWND box = FindProcessWindow("#32770", a.pi.dwProcessId, 10000);
    ASSERT_NE(nullptr, box) << "the overwrite question";
    PumpUntil([&] { return BoxText(box).find("second.tcf") != std::string::npos; }, 5000);
    EXPECT_NE(std::string::npos, BoxText(box).find("second.tcf"));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    PumpFor(1000);
    EXPECT_EQ(nullptr, FindProcessWindow("#32770", a.pi.dwProcessId, 0));
    const std::string after = ReadWholeFile(second);
    EXPECT_FALSE(after.empty());
    {
        DbHeader h;
        std::memset(&h, 0, sizeof h);
        DAriCreateDB(&h);
        uint32_t st = 0;
        EXPECT_EQ(1, DAriLoadFileOfCWX(second.c_str(), &h, &st)) << "the saved file is a drawing";
        DbHeader s;
        std::memset(&s, 0, sizeof s);
        DAriCreateDB(&s);
        DAriLoadFileOfCWX(sample.c_str(), &s, &st);
        EXPECT_EQ(DAriGetElmNum(&s), DAriGetElmNum(&h));
        DAriDeleteDB(&h);
        DAriDeleteDB(&s);
    }

    // The file is held: another program cannot write it, and a second copy
    // of the application opens it for reference only.
    HANDLE w = CreateFileA(plan.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, w);
    if (w != INVALID_HANDLE_VALUE) CloseHandle(w);
    ChildProcess b;
    ASSERT_TRUE(b.Start(exe, "\"" + plan + "\""));
    HWND warn = FindProcessWindow("#32770", b.pi.dwProcessId, 30000);
    if (warn) {
        // The box's texts arrive just after the box itself.
        PumpUntil([&] { return BoxText(warn).find("参照専用モードで開きます") != std::string::npos; }, 5000);
        EXPECT_NE(std::string::npos, BoxText(warn).find("参照専用モードで開きます")) << BoxText(warn);
        SendMessageA(warn, WM_COMMAND, IDOK, 0);
    } else {
        ADD_FAILURE() << "the second copy did not report the lock";
    }
    HWND frameB = FindProcessWindow("Quillmar001", b.pi.dwProcessId, 20000);
    if (frameB) {
        PumpUntil([&] { return DrawingTitles(frameB).size() == 1; }, 10000);
        auto titles = DrawingTitles(frameB);
        ASSERT_EQ(1u, titles.size());
        EXPECT_NE(std::string::npos, titles[0].find("(参照)"));
        PostMessageA(frameB, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, b.Wait(20000));
    }
    PostMessageA(frame, WM_CLOSE, 0, 0);
    if (a.Wait(20000) == STILL_ACTIVE) {
        // A save question of a changed drawing: answer No.
        if (HWND q = FindProcessWindow("#32770", a.pi.dwProcessId, 0)) SendMessageA(q, WM_COMMAND, IDNO, 0);
        EXPECT_EQ(0u, a.Wait(20000));
    }
}

}  // namespace

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

TEST_F(AppTest, AModuleEditsTheDrawingThroughTheHostAndTheSavedFileHoldsTheResult) {
    // The drawing-service commands of the test module: 30400 edits, 30401 the rest.
    const std::string plan = WriteDrawing(docs, "edited.tcf");
    const std::string log = user.File("testcmd.log");
    SetEnv("ZAV_TESTCMD_LOG", log.c_str());
    ChildProcess app;
    ASSERT_TRUE(app.Start(exe, "\"" + plan + "\""));
    SetEnv("ZAV_TESTCMD_LOG", nullptr);
    HWND frame = FindProcessWindow("Quillmar001", app.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));

    // The module appends, changes, deletes and groups, and walks the last
    // step back and forth through the undo services.
    PostMessageA(frame, WM_COMMAND, 30400, 0);
    ASSERT_TRUE(PumpUntil([&] { return ReadWholeFile(log).find("DBSVC edit") != std::string::npos; }, 20000));
    EXPECT_NE(ReadWholeFile(log).find("DBSVC edit 3 1 2 1 2 1 changed=1 deleted=1 group=1"), std::string::npos)
        << ReadWholeFile(log);
    PumpFor(300);

    // Undo and redo of the grouping step from outside the command.
    auto count = [&] {
        DWORD_PTR n = 0;
        SendMessageTimeoutA(frame, UM_GET_ELEMENT_COUNT, 0, 0, SMTO_NORMAL, 10000, &n);
        return (int)n;
    };
    auto send = [&](UINT msg) {
        DWORD_PTR r = 0;
        SendMessageTimeoutA(frame, msg, 0, 0, SMTO_NORMAL, 10000, &r);
        return (int)r;
    };
    EXPECT_EQ(1, count());
    EXPECT_EQ(1, send(UM_UNDO));
    EXPECT_EQ(3, count()) << "two lines and the circle again";
    EXPECT_EQ(1, send(UM_REDO));
    EXPECT_EQ(1, count()) << "the group again";

    // Link entries, a moved copy, page services and a temporary database.
    PostMessageA(frame, WM_COMMAND, 30401, 0);
    ASSERT_TRUE(PumpUntil([&] { return ReadWholeFile(log).find("DBSVC more") != std::string::npos; }, 20000));
    EXPECT_NE(ReadWholeFile(log).find("DBSVC more tag=1/1 copied=1 page=0 wide=1 temp=1/1/1/1/0"), std::string::npos)
        << ReadWholeFile(log);
    PumpFor(300);
    EXPECT_EQ(2, count()) << "the group and its copy";

    // Save over the file (4012 asks before it overwrites).
    PostMessageA(frame, WM_COMMAND, 4012, 0);
    HWND box = FindProcessWindow("#32770", app.pi.dwProcessId, 10000);
    ASSERT_NE(nullptr, box) << "the overwrite question";
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return FindProcessWindow("#32770", app.pi.dwProcessId, 0) == nullptr; }, 10000);
    PumpFor(500);

    DbHeader saved;
    std::memset(&saved, 0, sizeof saved);
    ASSERT_EQ(1, DAriCreateDB(&saved));
    uint32_t status = 0;
    ASSERT_EQ(1, DAriLoadFileOfCWX(plan.c_str(), &saved, &status));
    int topLevel = 0, kind = 0;
    const std::vector<std::string> members = SavedGroupLines(&saved, DAriReadElement(nullptr, 0, nullptr, &saved),
                                                             &topLevel, &kind);
    EXPECT_EQ(2, topLevel) << "the group and its copy: the circle deleted, the third line undone";
    EXPECT_EQ(kElmGroup, kind);
    EXPECT_EQ(members, (std::vector<std::string>{"1:0,0-100,0", "1:0,50-100,50"}))
        << "the first line as appended, the second as changed";
    StoredElement* first = DAriReadElement(nullptr, 0, nullptr, &saved);
    char text[300] = {};
    DAriGetTagString(first, text);
    EXPECT_STREQ("KOLTA21000PART    A-100           ", text) << "the link entry";
    EXPECT_EQ(1, DAriGetTag(first, 210));
    const std::vector<std::string> copy = SavedGroupLines(&saved, DAriReadElement(first, 1, nullptr, &saved),
                                                          &topLevel, &kind);
    EXPECT_EQ(kElmGroup, kind);
    EXPECT_EQ(copy, (std::vector<std::string>{"1:200,100-300,100", "1:200,150-300,150"})) << "the moved copy";
    DAriDeleteDB(&saved);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    if (app.Wait(20000) == STILL_ACTIVE) {
        if (HWND q = FindProcessWindow("#32770", app.pi.dwProcessId, 0)) SendMessageA(q, WM_COMMAND, IDNO, 0);
        EXPECT_EQ(0u, app.Wait(20000));
    }
}

}  // namespace
