// The real host program from the installation folder, driven from this
// process as another program would: DDE requests and WM_COMMAND start the
// test module's commands; the module's own log file shows what ran.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cmd_fixture.h"

namespace {


HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct WindowSearch {
    DWORD pid;
    const char* cls;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND wnd, LPARAM lp) {
    auto* s = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (pid == s->pid && std::string(cls) == s->cls && IsWindowVisible(wnd)) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitWindowOf(DWORD pid, const char* cls, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        WindowSearch search = {pid, cls, nullptr};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

TEST(HostProcess, RealProgramRunsModuleCommands) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string user = std::string(temp) + "zav_cmd_host_user";
    CreateDirectoryA(user.c_str(), nullptr);
    const std::string logFile = user + "\\testcmd.log";
    DeleteFileA(logFile.c_str());
    SetEnvironmentVariableA("ZAV_LOCAL_APPDATA", user.c_str());
    SetEnvironmentVariableA("ZAV_TESTCMD_LOG", logFile.c_str());

    const std::string dist = DistDir();
    const std::string exe = dist + "\\ZavIrurer.exe";
    std::string cmd = "\"" + exe + "\"";
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               dist.c_str(), &si, &pi));
    SetEnvironmentVariableA("ZAV_TESTCMD_LOG", nullptr);
    SetEnvironmentVariableA("ZAV_LOCAL_APPDATA", nullptr);

    DWORD instance = 0;
    ASSERT_EQ(DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0), DMLERR_NO_ERROR);
    HSZ service = DdeCreateStringHandleA(instance, "RAZE", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
    HCONV conv = nullptr;
    for (int i = 0; i < 200 && !conv; ++i) {
        conv = DdeConnect(instance, service, topic, nullptr);
        if (!conv) Sleep(100);
    }
    EXPECT_NE(conv, nullptr) << "the host serves DDE";
    auto execute = [&](const std::string& text) {
        DWORD result = 0;
        return DdeClientTransaction((LPBYTE)text.c_str(), (DWORD)text.size() + 1, conv, nullptr, 0,
                                    XTYP_EXECUTE, 20000, &result) != nullptr;
    };
    auto waitLog = [&](const std::string& part) {
        for (int i = 0; i < 200; ++i) {
            if (ReadText(logFile).find(part) != std::string::npos) return true;
            Sleep(100);
        }
        return false;
    };
    if (conv) {
        EXPECT_TRUE(execute("{ExecCmd(30001,alpha)}"));
        EXPECT_TRUE(waitLog("TESTCMD start id=30001 args=/C:Wait alpha"));
        EXPECT_TRUE(execute("{DDEPUT(テスト表示データ)}"));
        EXPECT_TRUE(execute("{ExecCmd(30002,beta)}")) << "a second command ends the first";
        EXPECT_TRUE(waitLog("TESTCMD quick id=30002 args=/C:Quick beta"));
        EXPECT_TRUE(execute("{ExecCmd(30004)}"));
        EXPECT_TRUE(waitLog("TESTCMD fault"));
        // The fault is reported in a box; the next command waits for it.
        HWND box = WaitWindowOf(pi.dwProcessId, "#32770", 20000);
        ASSERT_NE(box, nullptr) << "the fault is reported";
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_NE(std::string(text).find("コマンドを強制終了します"), std::string::npos) << text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(execute("{ExecCmd(30002,after)}")) << "still serving after the fault";
        EXPECT_TRUE(waitLog("TESTCMD quick id=30002 args=/C:Quick after"));
        // A fault in the module's own window procedure, which the wait loop
        // dispatches, ends that command the same way.
        EXPECT_TRUE(execute("{ExecCmd(30010)}"));
        EXPECT_TRUE(waitLog("TESTCMD fault in window"));
        box = WaitWindowOf(pi.dwProcessId, "#32770", 20000);
        ASSERT_NE(box, nullptr) << "the fault in the window procedure is reported";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(execute("{ExecCmd(30002,after2)}"));
        EXPECT_TRUE(waitLog("TESTCMD quick id=30002 args=/C:Quick after2"));
        EXPECT_EQ(ReadText(logFile).find("TESTCMD survived its fault"), std::string::npos);
        EXPECT_FALSE(execute("{execcmd(30002)}"));
        HWND frame = WaitWindowOf(pi.dwProcessId, "Quillmar001", 20000);
        ASSERT_NE(frame, nullptr);
        // Module commands from the menu need a drawing: open a new one first.
        SendMessageTimeoutA(frame, WM_COMMAND, 4000, 0, SMTO_NORMAL, 20000, nullptr);
        PostMessageA(frame, WM_COMMAND, 30002, 0);
        EXPECT_TRUE(waitLog("TESTCMD quick id=30002 args=/C:Quick\n"));
        const std::string log = ReadText(logFile);
        EXPECT_LT(log.find("TESTCMD ended"), log.find("args=/C:Quick beta")) << log;
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), (DWORD)WAIT_TIMEOUT) << "still running";
        DdeDisconnect(conv);
        PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
}

}  // namespace
