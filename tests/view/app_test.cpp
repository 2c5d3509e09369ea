// The real application end to end: it opens the sample drawing named on its
// command line and by DDE, zooms, saves with command 4012, and a second copy
// finds the file locked.
#include <windows.h>
#include <ddeml.h>

#include <cstring>

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
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyFolder(a, b);
        else
            CopyFileA(a.c_str(), b.c_str(), FALSE);
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
        if (DdeInitializeA(&inst, DdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return false;
        HSZ service = DdeCreateStringHandleA(inst, "RAZE", CP_WINANSI);
        HSZ topic = DdeCreateStringHandleA(inst, "System", CP_WINANSI);
        HCONV conv = DdeConnect(inst, service, topic, nullptr);
        bool ok = false;
        if (conv) {
            std::string req = "{Open(" + path + ")}";
            ok = DdeClientTransaction((LPBYTE)req.c_str(), (DWORD)req.size() + 1, conv, nullptr, 0, XTYP_EXECUTE, 10000,
                                      nullptr) != nullptr;
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
    // The same drawing in the old file layout: opened by DDE and saved, it
    // takes the new one.
    std::string sampleOld = src + "/tests/app/sample_v1.tcf";
    for (char& c : sample)
        if (c == '/') c = '\\';
    for (char& c : sampleOld)
        if (c == '/') c = '\\';
    const std::string plan = docs.File("plan.tcf");
    const std::string second = docs.File("second.tcf");
    ASSERT_TRUE(CopyFileA(sample.c_str(), plan.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(sampleOld.c_str(), second.c_str(), FALSE));

    ChildProcess a;
    ASSERT_TRUE(a.Start(exe, "\"" + plan + "\""));
    HWND frame = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 30000);
    if (!frame) {
        HWND box = FindProcessWindow("#32770", a.pi.dwProcessId, 0);
        ADD_FAILURE() << "no main frame; box: " << (box ? BoxText(box) : std::string("none")) << " exit " << a.Wait(0);
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
    for (HWND v : views)
        SendMessageA(v, WM_COMMAND, 1004, 0);
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
    ASSERT_GE(after.size(), 24u);
    uint32_t versionBefore = 0, versionAfter = 0;
    std::memcpy(&versionBefore, before.data() + 16, 4);
    std::memcpy(&versionAfter, after.data() + 16, 4);
    EXPECT_EQ(1u, versionBefore);
    EXPECT_EQ(2u, versionAfter) << "saved in the new layout";
    {
        DbHeader h;
        std::memset(&h, 0, sizeof h);
        DAriCreateDB(&h);
        uint32_t st = 0;
        EXPECT_EQ(1, DAriLoadFileOfCWX(second.c_str(), &h, &st)) << "the saved file is a drawing";
        DbHeader s;
        std::memset(&s, 0, sizeof s);
        DAriCreateDB(&s);
        DAriLoadFileOfCWX(sampleOld.c_str(), &s, &st);
        EXPECT_EQ(DAriGetElmNum(&s), DAriGetElmNum(&h));
        // The same elements, record by record.
        StoredElement* a = DAriReadElement(nullptr, 0, nullptr, &s);
        StoredElement* b = DAriReadElement(nullptr, 0, nullptr, &h);
        for (; a && b; a = DAriReadElement(a, 1, nullptr, &s), b = DAriReadElement(b, 1, nullptr, &h)) {
            EXPECT_EQ(a->rec.kind, b->rec.kind);
            EXPECT_EQ(0, std::memcmp(&a->rec.body[20], &b->rec.body[20], 32)) << "coordinates of kind " << a->rec.kind;
        }
        EXPECT_TRUE(!a && !b);
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
