// Whole runs of ZavIrurer.exe from a private installation folder with a
// private per-user folder, driven from this process: start-up and shut-down
// order, commands from outside, the hand-over between two running copies,
// launch modes and several copies.
#include <gtest/gtest.h>

#include <windows.h>
#include <ddeml.h>

#include <algorithm>

#include "base/message_table.h"
#include "shell_fixture.h"
#include "tests/app/test_commands.h"

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
      ASSERT_TRUE(CopyFileA((DistDir() + "\\" + fd.cFileName).c_str(), inst.File(fd.cFileName).c_str(),
                            FALSE))
          << fd.cFileName;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    ASSERT_TRUE(InstallTestCommands(inst.Path())) << "the test module's commands";
    CreateDirectoryA(inst.File("SETTEI").c_str(), nullptr);
    for (const char* f : {"SETTEI\\rightmenu.ini", "SETTEI\\rirekimoji.ini", "SETTEI\\bottoncolor.ini"})
      CopyFileA((DistDir() + "\\" + f).c_str(), inst.File(f).c_str(), FALSE);
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
        for (auto& g : got) all += "[" + g + "]";
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

  // A command from another process.
  PostMessageA(frame, WM_COMMAND, 4000, 0);
  ASSERT_TRUE(WaitTitles(frame, {"無題1"}));

  // Requests over DDE from this process: a module command and a drawing.
  {
    DWORD inst = 0;
    ASSERT_EQ(DMLERR_NO_ERROR, DdeInitializeA(&inst, nullptr, APPCMD_CLIENTONLY, 0));
    HSZ service = DdeCreateStringHandleA(inst, "RAZE", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(inst, "System", CP_WINANSI);
    HCONV conv = DdeConnect(inst, service, topic, nullptr);
    ASSERT_NE(nullptr, conv) << "the DDE server answers";
    for (std::string req : {std::string("{ExecCmd(30002)}"), "{Open(" + ddeFile + ")}"}) {
      DWORD result = 0;
      HDDEDATA ok = DdeClientTransaction((BYTE*)req.c_str(), (DWORD)req.size() + 1, conv, nullptr, 0,
                                         XTYP_EXECUTE, 10000, &result);
      EXPECT_NE(nullptr, ok) << req;
    }
    DdeDisconnect(conv);
    DdeFreeStringHandle(inst, service);
    DdeFreeStringHandle(inst, topic);
    DdeUninitialize(inst);
  }
  ASSERT_TRUE(WaitTitles(frame, {"無題1", ddeFile}));
  EXPECT_NE(std::string::npos, Trace("a.log").find("Cmd End,OK"));

  // A second start hands its command line over and ends.
  ChildProcess b;
  ASSERT_TRUE(Start(b, "b.log", "\"" + plan + "\""));
  EXPECT_EQ(0u, b.Wait(30000));
  ASSERT_TRUE(WaitTitles(frame, {plan, "無題1", ddeFile}));

  // A line too long for a global atom still arrives whole.
  ChildProcess c;
  std::string longLine = "\"" + second + "\" /" + std::string(400, 'q');
  ASSERT_TRUE(Start(c, "c.log", longLine));
  EXPECT_EQ(0u, c.Wait(30000));
  ASSERT_TRUE(WaitTitles(frame, {plan, "無題1", second, ddeFile}));

  // An empty command line asks for a new drawing window.
  ChildProcess d;
  ASSERT_TRUE(Start(d, "d.log", ""));
  EXPECT_EQ(0u, d.Wait(30000));
  ASSERT_TRUE(WaitTitles(frame, {plan, "無題1", "無題2", second, ddeFile}));

  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, a.Wait(30000));

  ExpectInOrder(Trace("a.log"),
                {"Init", "Settings loaded", "InitSettings", "ReadDefFile", "LoadInputHistory",
                 "MainFrame created", "MainFrameInit", "SubInitialize", "DDE start",
                 "LoadRecentCommands", "Start command 4050,100", "ExecCmd 30002 /e2e",
                 "Cmd End,OK", "ExecCmd 4050 ", "OnClose", "DESTROY 30002 /e2e/Save0",
                 "ExecCmd 30002 /e2e/Save0", "Cmd End,OK", "OnDestroy", "Loop ended", "Term",
                 "SaveInputHistory", "SaveRecentCommands", "SaveUserSettings 0", "DDE stop",
                 "Exit 0"});
  for (const char* log : {"b.log", "c.log", "d.log"}) {
    std::string t = Trace(log);
    ExpectInOrder(t, {"Init", "Handed over", "Term", "DDE stop", "Exit 0"});
    EXPECT_EQ(std::string::npos, t.find("SaveUserSettings")) << log << ": a handed-over start saves nothing";
    EXPECT_EQ(std::string::npos, t.find("MainFrame created")) << log;
  }
  std::string saved = ReadWholeFile(user.File("Qv\\VantrelV8\\LocalSettings.xml"));
  EXPECT_NE(std::string::npos, saved.find("Setup")) << "the per-user settings were saved";
  EXPECT_EQ(ReadWholeFile(inst.File("ZavIrurer.key")),
            ReadWholeFile(user.File("Qv\\VantrelV8\\ZavIrurer.key")))
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
  ExpectInOrder(t, {"Init", "Frame style 06000000 ex 00000008", "SubInitialize",
                    "Start command 21221,0", "Start command 4050,100", "ExecCmd 21221 ",
                    std::string("Error Message,\"") + GetMessageText(5118) + "\"", "OnClose",
                    "Term", "SaveUserSettings 0"});
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

}  // namespace
