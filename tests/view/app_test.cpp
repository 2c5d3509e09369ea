// The real application end to end: it opens the sample drawing named on its
// command line and by DDE, zooms, saves with command 4012, and a second copy
// finds the file locked.
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <cstring>

#include "shell/cad_system.h"
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

// --- Closing, questions, reference drawings and drawing windows, driven
// through the test module's commands (their lines go to a log file).
class AppRunTest : public AppTest {
 protected:
    void SetUp() override {
        AppTest::SetUp();
        logFile = user.File("testcmd.log");
        SetEnv("ZAV_TESTCMD_LOG", logFile.c_str());
        SetEnv("ZAV_SHELL_TRACE", user.File("shell.log").c_str());
        const std::string src = getenv("ZAV_SOURCE_DIR") ? getenv("ZAV_SOURCE_DIR") : ".";
        std::string sample = src + "/data/samples/sample.tcf";
        for (char& c : sample)
            if (c == '/') c = '\\';
        plan = docs.File("plan.tcf");
        ASSERT_TRUE(CopyFileA(sample.c_str(), plan.c_str(), FALSE));
    }
    void TearDown() override {
        SetEnv("ZAV_TESTCMD_LOG", nullptr);
        SetEnv("ZAV_SHELL_TRACE", nullptr);
        AppTest::TearDown();
    }
    // Starts the program; its main frame, or null.
    HWND Start(ChildProcess& p, const std::string& args) {
        if (!p.Start(exe, args)) return nullptr;
        return FindProcessWindow("Quillmar001", p.pi.dwProcessId, 30000);
    }
    std::string Log() { return ReadWholeFile(logFile); }
    // What the program did, for a failure's message.
    std::string Trace() { return ReadWholeFile(user.File("shell.log")); }
    // Generous: the first run of a fresh machine may be slow to start.
    bool WaitLog(const std::string& part, DWORD ms = 60000) {
        return PumpUntil([&] { return Log().find(part) != std::string::npos; }, ms);
    }
    // The next message box of the process with its texts (once they hold
    // `expected`); answered with `button`.
    std::string Answer(DWORD pid, int button, const std::string& expected) {
        HWND box = FindProcessWindow("#32770", pid, 60000);
        if (!box) return "<no box>";
        std::string text;
        PumpUntil([&] { return (text = BoxText(box)).find(expected) != std::string::npos; }, 5000);
        SendMessageA(box, WM_COMMAND, button, 0);
        PumpUntil([&] { return !IsWindow(box); }, 5000);
        return text;
    }
    void Close(ChildProcess& p, HWND frame) {
        PostMessageA(frame, WM_CLOSE, 0, 0);
        if (p.Wait(20000) == STILL_ACTIVE) {
            if (HWND q = FindProcessWindow("#32770", p.pi.dwProcessId, 0)) SendMessageA(q, WM_COMMAND, IDNO, 0);
            EXPECT_EQ(0u, p.Wait(20000));
        }
    }

    std::string logFile, plan;
};

TEST_F(AppRunTest, ClosingWhileACommandWaitsEndsItThenRunsTheDestroyCommand) {
    const std::string ini = inst.File("ZavIrurer.ini");
    WritePrivateProfileStringA("BOOT", "/CLOSETEST", "30300", ini.c_str());
    WritePrivateProfileStringA("DESTROY", "/CLOSETEST", "30300", ini.c_str());
    ChildProcess a;
    HWND frame = Start(a, "\"" + plan + "\" /closetest");
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(WaitLog("TESTCMD close args=/C:CloseArgs /closetest\n")) << Log() << Trace();
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));

    // A save during the run: the overwrite question, answered OK.
    PostMessageA(frame, WM_COMMAND, 4012, 0);
    EXPECT_NE(std::string::npos, Answer(a.pi.dwProcessId, IDOK, "plan.tcf").find("plan.tcf"));

    // A command waits for input when the user closes the program.
    PostMessageA(frame, WM_COMMAND, 30301, 0);
    ASSERT_TRUE(WaitLog("TESTCMD close waiting id=30301")) << Log();
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, a.Wait(30000)) << "the program closes\n" << Log();
    const std::string log = Log();
    const size_t ended = log.find("TESTCMD close ended");
    const size_t destroy = log.find("TESTCMD close args=/C:CloseArgs /closetest/Save1");
    ASSERT_NE(std::string::npos, ended) << log;
    ASSERT_NE(std::string::npos, destroy) << "the DESTROY command ran and knew of the save\n" << log;
    EXPECT_LT(ended, destroy) << "the waiting command ended first";
}

TEST_F(AppRunTest, AYesNoQuestionIsShownAndItsAnswerGoesBackToTheModule) {
    ChildProcess a;
    HWND frame = Start(a, "\"" + plan + "\"");
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));
    struct {
        int command;
        int button;
        const char* logged;
    } rows[] = {
        {30302, IDYES, "TESTCMD yesno=1"},
        {30302, IDNO, "TESTCMD yesno=0"},
        {30303, IDYES, "TESTCMD yesnocancel=1"},
        {30303, IDNO, "TESTCMD yesnocancel=0"},
        {30303, IDCANCEL, "TESTCMD yesnocancel=2"},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.logged);
        DeleteFileA(logFile.c_str());
        PostMessageA(frame, WM_COMMAND, r.command, 0);
        const std::string text = Answer(a.pi.dwProcessId, r.button, "テスト質問：続けますか？");
        EXPECT_NE(std::string::npos, text.find("テスト質問：続けますか？")) << text;
        EXPECT_TRUE(WaitLog(r.logged)) << Log();
    }
    Close(a, frame);
}

TEST_F(AppRunTest, ACommandRefusedOnAReferenceDrawingDoesNotRun) {
    // Another program holds the file for writing: it opens for reference.
    HANDLE holder = CreateFileA(plan.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ChildProcess a;
    ASSERT_TRUE(a.Start(exe, "\"" + plan + "\""));
    EXPECT_NE(std::string::npos,
              Answer(a.pi.dwProcessId, IDOK, "参照専用モードで開きます").find("参照専用モードで開きます"));
    HWND frame = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));
    EXPECT_NE(std::string::npos, DrawingTitles(frame)[0].find("(参照)"));

    PostMessageA(frame, WM_COMMAND, 30304, 0);  // not allowed on reference drawings
    const char* refused = "この図面は参照モードで開かれています。";
    EXPECT_NE(std::string::npos, Answer(a.pi.dwProcessId, IDOK, refused).find(refused));
    PostMessageA(frame, WM_COMMAND, 30002, 0);  // allowed there
    EXPECT_TRUE(WaitLog("TESTCMD quick id=30002")) << Log();
    EXPECT_EQ(std::string::npos, Log().find("TESTCMD info")) << "the refused command never ran";
    Close(a, frame);
    CloseHandle(holder);
}

TEST_F(AppRunTest, ASecondWindowShowsTheActiveDrawingBesideTheFirst) {
    ChildProcess a;
    HWND frame = Start(a, "\"" + plan + "\"");
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));
    PostMessageA(frame, WM_COMMAND, 4025, 0);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 2; }, 20000));
    for (const std::string& t : DrawingTitles(frame)) EXPECT_NE(std::string::npos, t.find("plan.tcf")) << t;
    PostMessageA(frame, WM_COMMAND, 30304, 0);
    ASSERT_TRUE(WaitLog("TESTCMD info")) << Log();
    EXPECT_NE(std::string::npos, Log().find("windows=2 drawings=1 shared=1 number=2")) << Log();
    Close(a, frame);
}

TEST_F(AppRunTest, NewDrawingsTakeTheRememberedPaperAndScale) {
    // The per-user settings are seeded from the installation's copy.
    std::string xml = ReadWholeFile(inst.File("LocalSettings.xml"));
    auto put = [&](const char* key, const char* value) {
        const std::string open = std::string("<") + key + ">", close = std::string("</") + key + ">";
        const size_t a = xml.find(open), b = xml.find(close);
        ASSERT_TRUE(a != std::string::npos && b != std::string::npos) << key;
        xml.replace(a + open.size(), b - a - open.size(), value);
    };
    put("iDefPaperType", "5");
    put("dDefPaperScale", "1.00000000000000002e-02");
    put("dDelPaperCx", "2.10000000000000000e+02");
    put("dDelPaperCy", "1.48000000000000000e+02");
    inst.Write("LocalSettings.xml", xml);
    BuildPaperSizeTable();
    char expected[200];
    snprintf(expected, sizeof expected, "TESTCMD info code=%u scale=0.01 paper=210x148 drawing=21000x14800 corner=0",
             static_cast<unsigned>(PaperSizeTable[5].code));

    ChildProcess a;
    HWND frame = Start(a, "");
    ASSERT_NE(nullptr, frame);
    // The start drawing is made from the same defaults.
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 1; }, 20000));
    PostMessageA(frame, WM_COMMAND, 30304, 0);
    ASSERT_TRUE(WaitLog("TESTCMD info")) << Log();
    EXPECT_NE(std::string::npos, Log().find(expected)) << Log();
    DeleteFileA(logFile.c_str());
    PostMessageA(frame, WM_COMMAND, 4000, 0);
    ASSERT_TRUE(PumpUntil([&] { return DrawingTitles(frame).size() == 2; }, 20000));
    PostMessageA(frame, WM_COMMAND, 30304, 0);
    ASSERT_TRUE(WaitLog("TESTCMD info")) << Log();
    EXPECT_NE(std::string::npos, Log().find(expected)) << Log();
    Close(a, frame);
}

}  // namespace
