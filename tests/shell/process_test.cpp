// Whole runs of ZavIrurer.exe from a private installation folder with a
// private per-user folder, driven from this process: start-up and shut-down
// order, commands from outside, the hand-over between two running copies,
// launch modes and several copies.
#include <gtest/gtest.h>

#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <vector>

#include "base/message_table.h"
#include "shell_fixture.h"
#include "tests/common/dde_conversation.h"
#include "tests/app/test_commands.h"

#include <cstdio>
#include <cstring>

#include "cadlib/WmCadApiDb.h"

namespace {

BOOL CALLBACK CollectText(HWND w, LPARAM lp) {
    char t[512] = {};
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, (LPARAM)t, SMTO_NORMAL, 2000, &r);
    *(std::string*)lp += std::string("[") + t + "]";
    return TRUE;
}

// The first drawing view among the children of a window.
BOOL CALLBACK CollectDrawingViews(HWND w, LPARAM lp) {
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "CadwinView") == 0) ((std::vector<HWND>*)lp)->push_back(w);
    return TRUE;
}

std::vector<HWND> DrawingViews(HWND frame) {
    std::vector<HWND> views;
    EnumChildWindows(frame, CollectDrawingViews, (LPARAM)&views);
    return views;
}

// The texts of a process's message boxes, for failure reports.
std::string OpenBoxes(DWORD pid) {
    std::string all;
    if (HWND box = FindProcessWindow("#32770", pid, 0)) EnumChildWindows(box, CollectText, (LPARAM)&all);
    return all;
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The installation folder's files (programs, modules, data), not its
        // sub-folders.
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((DistDir() + "\\*").c_str(), &fd);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            if (lstrcmpiA(fd.cFileName, "ZavIrurer.ini") == 0) continue;
            ASSERT_TRUE(CopyFileA((DistDir() + "\\" + fd.cFileName).c_str(), inst.File(fd.cFileName).c_str(), FALSE))
                << fd.cFileName;
        } while (FindNextFileA(h, &fd));
        FindClose(h);
        ASSERT_TRUE(InstallTestCommands(inst.Path())) << "the test module's commands";
        CreateDirectoryA(inst.File("SETTEI").c_str(), nullptr);
        for (const char* f : {"SETTEI\\rightmenu.ini", "SETTEI\\rirekimoji.ini", "SETTEI\\bottoncolor.ini"})
            CopyFileA((DistDir() + "\\" + f).c_str(), inst.File(f).c_str(), FALSE);
        // The start drawing is made without the start menu.
        EditInstalled("LocalSettings.xml", "<iStartOpenDlgFg>0<", "<iStartOpenDlgFg>1<");
        exe = inst.File("ZavIrurer.exe");
        SetEnv("ZAV_INSTALL_DIR", nullptr);
        SetEnv("ZAV_LOCAL_APPDATA", user.Path().c_str());
    }
    void TearDown() override {
        SetEnv("ZAV_LOCAL_APPDATA", nullptr);
        SetEnv("ZAV_SHELL_TRACE", nullptr);
    }
    void Ini(const std::string& text) { inst.Write("ZavIrurer.ini", text); }
    // The MULTIBOOT setting of the installed ConfigData.xml (the per-user copy
    // is seeded from it).
    void MultiBoot(int value) {
        std::string xml = ReadWholeFile(inst.File("ConfigData.xml"));
        size_t a = xml.find("<MULTIBOOT>");
        size_t b = xml.find("</MULTIBOOT>");
        ASSERT_TRUE(a != std::string::npos && b != std::string::npos);
        xml.replace(a, b - a, "<MULTIBOOT>" + std::to_string(value));
        inst.Write("ConfigData.xml", xml);
    }

    // Starts a copy whose call log goes to `trace` (in the per-user folder).
    bool Start(ChildProcess& p, const char* trace, const std::string& args) {
        SetEnv("ZAV_SHELL_TRACE", user.File(trace).c_str());
        return p.Start(exe, args);
    }
    std::string Trace(const char* name) {
        std::string t = ReadWholeFile(user.File(name));
        t.erase(std::remove(t.begin(), t.end(), '\r'), t.end());
        return t;
    }
    bool WaitTrace(const char* name, const char* line, DWORD ms = 20000) {
        DWORD start = GetTickCount();
        while (Trace(name).find(line) == std::string::npos) {
            if (GetTickCount() - start > ms) return false;
            Sleep(50);
        }
        return true;
    }
    bool WaitTitles(HWND frame, std::vector<std::string> want, DWORD ms = 20000) {
        std::sort(want.begin(), want.end());
        DWORD start = GetTickCount();
        for (;;) {
            std::vector<std::string> got = DrawingTitles(frame);
            std::sort(got.begin(), got.end());
            if (got == want) return true;
            if (GetTickCount() - start > ms) {
                std::string all;
                for (auto& g : got)
                    all += "[" + g + "]";
                ADD_FAILURE() << "drawing windows: " << all;
                return false;
            }
            Sleep(50);
        }
    }
    // The lines appear in this order (other lines may stand between them).
    static void ExpectInOrder(const std::string& trace, const std::vector<std::string>& lines) {
        size_t pos = 0;
        for (const std::string& l : lines) {
            size_t at = trace.find(l + "\n", pos);
            ASSERT_NE(std::string::npos, at) << "missing or out of order: " << l << "\n" << trace;
            pos = at + l.size();
        }
    }

    // One DDE request to the running copy; true when taken.
    static bool Execute(const std::string& request) { return DdeConversation().Execute(request); }
    // The per-user settings folder of the private user.
    std::string UserFile(const char* name) { return user.File("Qv\\VantrelV8\\") + name; }
    // Replaces the first `from` of an installed file by `to`.
    void EditInstalled(const char* name, const std::string& from, const std::string& to) {
        std::string text = ReadWholeFile(inst.File(name));
        size_t at = text.find(from);
        ASSERT_NE(std::string::npos, at) << name << ": " << from;
        text.replace(at, from.size(), to);
        inst.Write(name, text);
    }
    // Gives a file a last write time `seconds` from now.
    static void TouchFile(const std::string& path, int seconds) {
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
        FILETIME ft;
        GetSystemTimeAsFileTime(&ft);
        ULARGE_INTEGER t{{ft.dwLowDateTime, ft.dwHighDateTime}};
        t.QuadPart += (ULONGLONG)(LONGLONG)seconds * 10000000ULL;
        ft.dwLowDateTime = t.LowPart;
        ft.dwHighDateTime = t.HighPart;
        SetFileTime(h, nullptr, nullptr, &ft);
        CloseHandle(h);
    }
    // The last value the test module logged as "TESTCMD <prefix>...".
    static std::string Logged(const std::string& log, const std::string& prefix) {
        size_t at = log.rfind("TESTCMD " + prefix);
        if (at == std::string::npos) return "(not logged)";
        at += 8 + prefix.size();
        return log.substr(at, log.find('\n', at) - at);
    }
    bool WaitFileText(const std::string& path, const std::string& part, DWORD ms = 30000) {
        DWORD start = GetTickCount();
        while (ReadWholeFile(path).find(part) == std::string::npos) {
            if (GetTickCount() - start > ms) return false;
            Sleep(50);
        }
        return true;
    }
    // Once the start command ran: a new drawing (command 4000) and its view.
    // The views that were there are counted once the new drawing's dialog is
    // up: the trace line of the start command comes before its drawing, and
    // on a loaded machine a count taken then took the start drawing for the
    // new one.
    HWND NewDrawingView(HWND frame, const char* trace) {
        if (!WaitTrace(trace, "ExecCmd 4050")) return nullptr;
        std::vector<HWND> before;
        NewDrawingCommand(frame, &before);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50))
            for (HWND view : DrawingViews(frame))
                if (std::find(before.begin(), before.end(), view) == before.end()) return view;
        return nullptr;
    }
    // Command 4000 as another program gives it: the new-drawing dialog comes
    // up and is confirmed as it stands. `viewsBefore` receives the drawing
    // views that were there while the dialog was up.
    static void NewDrawingCommand(HWND frame, std::vector<HWND>* viewsBefore = nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(frame, &pid);
        PostMessageA(frame, WM_COMMAND, 4000, 0);
        HWND dialog = FindProcessWindow("#32770", pid, 20000);
        if (viewsBefore) *viewsBefore = DrawingViews(frame);
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    // Starts a copy and waits for its main frame.
    HWND StartAndWaitFrame(ChildProcess& p, const char* trace) {
        if (!Start(p, trace, "")) return nullptr;
        return FindProcessWindow("Quillmar001", p.pi.dwProcessId, 30000);
    }

    TempFolder inst{"inst"};
    TempFolder user{"user"};
    std::string exe;
};

TEST_F(ProcessTest, StartCommandsHandOverAndShutDownInOrder) {
    TempFolder docs("docs");
    std::string plan = WriteDrawing(docs, "plan.tcf");
    std::string second = WriteDrawing(docs, "第二 図面.tcf");
    std::string ddeFile = WriteDrawing(docs, "dde.tcf");
    MultiBoot(0);
    Ini("[BOOT]\r\n/EE=30002\r\n[DESTROY]\r\n/EE=30002  // digits are no part of the key\r\n");

    ChildProcess a;
    ASSERT_TRUE(Start(a, "a.log", "/e2e"));
    HWND frame = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, frame) << OpenBoxes(a.pi.dwProcessId) << Trace("a.log");
    ASSERT_TRUE(WaitTrace("a.log", "ExecCmd 4050"));
    // The start drawing.
    ASSERT_TRUE(WaitTitles(frame, {"無題1"}));

    // A command from another process.
    NewDrawingCommand(frame);
    ASSERT_TRUE(WaitTitles(frame, {"無題1", "無題2"}));

    // Requests over DDE from this process: a module command and a drawing.
    {
        DdeConversation conv(0);
        ASSERT_TRUE(conv.Connected()) << "the DDE server answers";
        for (std::string req : {std::string("{ExecCmd(30002)}"), "{Open(" + ddeFile + ")}"})
            EXPECT_TRUE(conv.Execute(req, 10000)) << req;
    }
    // The empty untitled windows made way for the file.
    ASSERT_TRUE(WaitTitles(frame, {ddeFile}));
    EXPECT_NE(std::string::npos, Trace("a.log").find("Cmd End,OK"));

    // A second start hands its command line over and ends.
    ChildProcess b;
    ASSERT_TRUE(Start(b, "b.log", "\"" + plan + "\""));
    EXPECT_EQ(0u, b.Wait(30000));
    ASSERT_TRUE(WaitTitles(frame, {plan, ddeFile}));

    // A line too long for a global atom still arrives whole.
    ChildProcess c;
    std::string longLine = "\"" + second + "\" /" + std::string(400, 'q');
    ASSERT_TRUE(Start(c, "c.log", longLine));
    EXPECT_EQ(0u, c.Wait(30000));
    ASSERT_TRUE(WaitTitles(frame, {plan, second, ddeFile}));

    // An empty command line asks for a new drawing window.
    ChildProcess d;
    ASSERT_TRUE(Start(d, "d.log", ""));
    EXPECT_EQ(0u, d.Wait(30000));
    ASSERT_TRUE(WaitTitles(frame, {plan, "無題3", second, ddeFile}));

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, a.Wait(30000));

    ExpectInOrder(Trace("a.log"), {"Init",
                                   "Settings loaded",
                                   "InitSettings",
                                   "ReadDefFile",
                                   "LoadInputHistory",
                                   "MainFrame created",
                                   "MainFrameInit",
                                   "SubInitialize",
                                   "DDE start",
                                   "LoadRecentCommands",
                                   "Start command 4050,100",
                                   "ExecCmd 30002 /e2e",
                                   "Cmd End,OK",
                                   "ExecCmd 4050 ",
                                   "OnClose",
                                   "DESTROY 30002 /e2e/Save0",
                                   "ExecCmd 30002 /e2e/Save0",
                                   "Cmd End,OK",
                                   "OnDestroy",
                                   "Loop ended",
                                   "Term",
                                   "SaveInputHistory",
                                   "SaveRecentCommands",
                                   "SaveUserSettings 0",
                                   "DDE stop",
                                   "Exit 0"});
    for (const char* log : {"b.log", "c.log", "d.log"}) {
        std::string t = Trace(log);
        ExpectInOrder(t, {"Init", "Handed over", "Term", "DDE stop", "Exit 0"});
        EXPECT_EQ(std::string::npos, t.find("SaveUserSettings")) << log << ": a handed-over start saves nothing";
        EXPECT_EQ(std::string::npos, t.find("MainFrame created")) << log;
    }
    std::string saved = ReadWholeFile(user.File("Qv\\VantrelV8\\LocalSettings.xml"));
    EXPECT_NE(std::string::npos, saved.find("Setup")) << "the per-user settings were saved";
    EXPECT_EQ(ReadWholeFile(inst.File("ZavIrurer.key")), ReadWholeFile(user.File("Qv\\VantrelV8\\ZavIrurer.key")))
        << "the per-user key file was seeded";
}

TEST_F(ProcessTest, LaunchModeCommandNotDoneEndsTheApplication) {
    MultiBoot(0);
    inst.Write("SETTEI\\to_cad.atr", "5\r\n");
    ChildProcess a;
    ASSERT_TRUE(Start(a, "a.log", ""));
    // Command 21221 is not installed here: the user is told so, and since
    // the executor did not report it done, the application ends.
    HWND box = FindProcessWindow("#32770", a.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, a.Wait(30000));
    std::string t = Trace("a.log");
    ExpectInOrder(
        t, {"Init", "Frame style 06000000 ex 00000008", "SubInitialize", "Start command 21221,0",
            "Start command 4050,100", "ExecCmd 21221 ", std::string("Error Message,\"") + GetMessageText(5118) + "\"",
            "OnClose", "Term", "SaveUserSettings 0"});
    EXPECT_EQ(std::string::npos, t.find("LoadInputHistory")) << "launch modes load no histories";
}

TEST_F(ProcessTest, SeveralCopiesRunWhenAllowed) {
    MultiBoot(1);
    ChildProcess a, b;
    ASSERT_TRUE(Start(a, "a.log", ""));
    HWND fa = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, fa);
    ASSERT_TRUE(Start(b, "b.log", ""));
    HWND fb = FindProcessWindow("Quillmar001", b.pi.dwProcessId, 30000);
    ASSERT_NE(nullptr, fb);
    EXPECT_NE(fa, fb);
    PostMessageA(fa, WM_CLOSE, 0, 0);
    PostMessageA(fb, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, a.Wait(30000));
    EXPECT_EQ(0u, b.Wait(30000));
    EXPECT_EQ(std::string::npos, Trace("b.log").find("Handed over"));
}

// A command module writes its own option, a setting of the host's INI, a
// per-user setting through a LocalSettings.xml file key and a system setting;
// each reads back at once, and again after a restart (the shutdown save
// keeps what the module wrote). SYSTEMDIR is the installation folder, and
// the tolerances a module reads are those of the settings.
TEST_F(ProcessTest, ModuleSettingsReadBackAndSurviveARestart) {
    Ini(ReadWholeFile(DistDir() + "\\ZavIrurer.ini"));
    const std::string log = user.File("testcmd.log");
    SetEnv("ZAV_TESTCMD_LOG", log.c_str());
    struct Want {
        const char* name;
        std::string value;
    } wants[] = {
        {"cmdini=", "7"},
        {"profile=", "7"},
        {"local=", "7"},
        {"system=", "user7"},
        {"systemdir=", inst.Path() + "\\"},
        {"keys=", "Value,Other"},
        {"cmdinifile=", UserFile("sonota.ini")},
    };
    auto expectLogged = [&](const char* when) {
        const std::string text = ReadWholeFile(log);
        for (const Want& w : wants)
            EXPECT_EQ(0, lstrcmpiA(w.value.c_str(), Logged(text, std::string("setting ") + w.name).c_str()))
                << when << ": " << w.name << " " << Logged(text, std::string("setting ") + w.name);
    };

    ChildProcess a;
    HWND frame = StartAndWaitFrame(a, "a.log");
    ASSERT_NE(nullptr, frame) << OpenBoxes(a.pi.dwProcessId);
    // The frame shows before the start-up command has ended and the DDE
    // server answers: try for a while.
    auto executeSoon = [](const char* command) {
        bool executed = false;
        for (int i = 0; i < 40 && !(executed = Execute(command)); ++i) Sleep(250);
        return executed;
    };
    ASSERT_TRUE(executeSoon("{ExecCmd(30200,7)}"));
    ASSERT_TRUE(WaitFileText(log, "TESTCMD setting cmdinifile=")) << ReadWholeFile(log);
    EXPECT_EQ("1", Logged(ReadWholeFile(log), "settings written local="));
    expectLogged("written");
    ASSERT_TRUE(Execute("{ExecCmd(30202)}"));
    ASSERT_TRUE(WaitFileText(log, "TESTCMD eps set"));
    {
        // The start-up values: 5 digits give 1e-6, 3 give 1e-4; then as set.
        long got = 0;
        double eps = 0, angle = 0;
        int digits = 0;
        const std::string first = Logged(ReadWholeFile(log), "eps result=");
        ASSERT_EQ(4, std::sscanf(first.c_str(), "%ld eps=%lf angle=%lf digits=%d", &got, &eps, &angle, &digits))
            << first;
        EXPECT_EQ(1, got);
        EXPECT_DOUBLE_EQ(1e-6, eps);
        EXPECT_DOUBLE_EQ(1e-4, angle);
        EXPECT_EQ(5, digits);
        const std::string set = Logged(ReadWholeFile(log), "eps set ");
        ASSERT_EQ(2, std::sscanf(set.c_str(), "eps=%lf digits=%d", &eps, &digits)) << set;
        EXPECT_DOUBLE_EQ(1e-4, eps);
        EXPECT_EQ(3, digits);
    }
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, a.Wait(30000));

    // In the files, after the shutdown save.
    EXPECT_NE(std::string::npos, ReadWholeFile(UserFile("LocalSettings.xml")).find("<iUndoCount>7</iUndoCount>"));
    EXPECT_NE(std::string::npos, ReadWholeFile(UserFile("ConfigData.xml")).find("<USERNAME>user7</USERNAME>"));
    EXPECT_NE(std::string::npos, ReadWholeFile(UserFile("sonota.ini")).find("Value=7"));
    EXPECT_NE(std::string::npos, ReadWholeFile(inst.File("ZavIrurer.ini")).find("Value=7"));

    DeleteFileA(log.c_str());
    ChildProcess b;
    frame = StartAndWaitFrame(b, "b.log");
    ASSERT_NE(nullptr, frame) << OpenBoxes(b.pi.dwProcessId);
    ASSERT_TRUE(executeSoon("{ExecCmd(30201)}"));
    ASSERT_TRUE(WaitFileText(log, "TESTCMD setting cmdinifile=")) << ReadWholeFile(log);
    expectLogged("after the restart");
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, b.Wait(30000));
    SetEnv("ZAV_TESTCMD_LOG", nullptr);
}

// A newer installation copy of either settings file reaches a user who has
// the files already; the user's old copy is kept as ".bak".
TEST_F(ProcessTest, NewerInstallationSettingsReachExistingUsers) {
    ChildProcess a;
    HWND frame = StartAndWaitFrame(a, "a.log");
    ASSERT_NE(nullptr, frame) << OpenBoxes(a.pi.dwProcessId);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, a.Wait(30000));
    const std::string oldConfig = ReadWholeFile(UserFile("ConfigData.xml"));
    const std::string oldLocal = ReadWholeFile(UserFile("LocalSettings.xml"));
    ASSERT_FALSE(oldConfig.empty());
    ASSERT_NE(std::string::npos, oldLocal.find("<iUndoCount>10</iUndoCount>"));

    EditInstalled("ConfigData.xml", "<COMPANY>", "<COMPANY>v2 ");  // ASCII: the file is UTF-8
    EditInstalled("LocalSettings.xml", "<iUndoCount>10</iUndoCount>", "<iUndoCount>12</iUndoCount>");
    TouchFile(inst.File("ConfigData.xml"), 3600);
    TouchFile(inst.File("LocalSettings.xml"), 3600);

    ChildProcess b;
    frame = StartAndWaitFrame(b, "b.log");
    ASSERT_NE(nullptr, frame) << OpenBoxes(b.pi.dwProcessId);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(0u, b.Wait(30000));
    EXPECT_EQ(ReadWholeFile(inst.File("ConfigData.xml")), ReadWholeFile(UserFile("ConfigData.xml")));
    EXPECT_EQ(oldConfig, ReadWholeFile(UserFile("ConfigData.bak")));
    EXPECT_EQ(oldLocal, ReadWholeFile(UserFile("LocalSettings.bak")));
    EXPECT_NE(std::string::npos, ReadWholeFile(UserFile("LocalSettings.xml")).find("<iUndoCount>12</iUndoCount>"))
        << "the new copy was loaded, run and saved again";
}

// The settings are applied once at start-up: a backup folder that cannot
// be written is reported once, and the start goes on.
TEST_F(ProcessTest, UnwritableBackupFolderIsReportedOnce) {
    inst.Write("blocked", "a file where the backup folder should be");
    EditInstalled("ConfigData.xml", "<BACKUPDIR>TEMP</BACKUPDIR>",
                  "<BACKUPDIR>" + inst.File("blocked") + "\\sub</BACKUPDIR>");
    ChildProcess a;
    ASSERT_TRUE(Start(a, "a.log", ""));
    int boxes = 0;
    HWND frame = nullptr;
    const DWORD start = GetTickCount();
    while (!frame && GetTickCount() - start < 60000) {
        if (HWND box = FindProcessWindow("#32770", a.pi.dwProcessId, 0)) {
            // The caption is set while the box starts up.
            char caption[128] = {};
            for (DWORD t = GetTickCount(); !caption[0] && GetTickCount() - t < 10000; Sleep(50))
                GetWindowTextA(box, caption, sizeof caption);
            EXPECT_STREQ("テンポラリチェックエラー", caption) << OpenBoxes(a.pi.dwProcessId);
            ++boxes;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            while (IsWindow(box) && GetTickCount() - start < 60000)
                Sleep(20);
        }
        frame = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 0);
        Sleep(20);
    }
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(1, boxes);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, a.Wait(30000));
}

// Hand-over values 1 and 2 empty the companion's tally file and start in
// launch kind 1 (no sizing border, no system menu).
TEST_F(ProcessTest, HandOverValuesOneAndTwoEmptyTheTallyFile) {
    for (const char* value : {"1", "2"}) {
        SCOPED_TRACE(value);
        inst.Write("SETTEI\\to_cad.atr", std::string(value) + "\r\n");
        const std::string tally = inst.Write("DENKID\\hiroisyuukei.csv", "1,2,3\r\n");
        ChildProcess a;
        const std::string trace = std::string("mode") + value + ".log";
        ASSERT_TRUE(Start(a, trace.c_str(), ""));
        EXPECT_TRUE(WaitTrace(trace.c_str(), "SubInitialize")) << Trace(trace.c_str());
        EXPECT_EQ("", ReadWholeFile(tally));
        EXPECT_NE(std::string::npos, Trace(trace.c_str()).find("Frame style 06000000 ex 00000000"));
        if (HWND frame = FindProcessWindow("Quillmar001", a.pi.dwProcessId, 0)) PostMessageA(frame, WM_CLOSE, 0, 0);
        if (a.Wait(30000) == STILL_ACTIVE) a.Kill();
    }
}

// A two-button drag in a drawing view runs the gesture command that the
// settings name (MOUSEMOVECMD), not a built-in one.
TEST_F(ProcessTest, GestureRunsTheCommandTheSettingsName) {
    EditInstalled("ConfigData.xml", "<MOUSEMOVECMD>\n\t\t<count>10</count>\n\t\t<item>1204</item>",
                  "<MOUSEMOVECMD>\n\t\t<count>10</count>\n\t\t<item>1251</item>");
    ChildProcess a;
    HWND frame = StartAndWaitFrame(a, "a.log");
    ASSERT_NE(nullptr, frame) << OpenBoxes(a.pi.dwProcessId);
    HWND view = NewDrawingView(frame, "a.log");
    ASSERT_NE(nullptr, view) << "a drawing window";
    // Both buttons down, a drag up and to the right, the left button up.
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    PostMessageA(view, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(100, 100));
    PostMessageA(view, WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(130, 70));
    PostMessageA(view, WM_LBUTTONUP, MK_RBUTTON, MAKELPARAM(130, 70));
    PostMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(130, 70));
    EXPECT_TRUE(WaitTrace("a.log", "Service 1251")) << Trace("a.log");
    EXPECT_EQ(std::string::npos, Trace("a.log").find("Service 1204"));
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, a.Wait(30000));
}

// A right click reaches a command that asks for a snapped point as the
// RMOUSE setting says: 8 takes the clicked point as it is.
TEST_F(ProcessTest, RightClickFollowsTheRightButtonSetting) {
    EditInstalled("ConfigData.xml", "<RMOUSE>1</RMOUSE>", "<RMOUSE>8</RMOUSE>");
    const std::string log = user.File("testcmd.log");
    SetEnv("ZAV_TESTCMD_LOG", log.c_str());
    ChildProcess a;
    HWND frame = StartAndWaitFrame(a, "a.log");
    ASSERT_NE(nullptr, frame) << OpenBoxes(a.pi.dwProcessId);
    HWND view = NewDrawingView(frame, "a.log");
    ASSERT_NE(nullptr, view) << "a drawing window";
    ASSERT_TRUE(Execute("{ExecCmd(30203)}"));
    ASSERT_TRUE(WaitFileText(log, "TESTCMD rbutton waiting"));
    PostMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 90));
    PostMessageA(view, WM_RBUTTONUP, 0, MAKELPARAM(120, 90));
    EXPECT_TRUE(WaitFileText(log, "TESTCMD rbutton result=", 20000)) << ReadWholeFile(log) << Trace("a.log");
    EXPECT_EQ("512", Logged(ReadWholeFile(log), "rbutton result=").substr(0, 3)) << "a snapped point";
    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, a.Wait(30000));
    SetEnv("ZAV_TESTCMD_LOG", nullptr);
}

}  // namespace
