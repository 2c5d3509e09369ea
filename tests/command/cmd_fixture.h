// A small host for the command system: a real frame whose map chains the
// host objects, a status bar that records its texts, the system log and the
// error boxes captured in memory, and the registry of the test module.
#pragma once

#include "tests/common/dist_dir.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "command/cad_app_cmd.h"
#include "command/host_objects.h"
#include "win/frame.h"

class CTestStatusBar : public CWindowBase {
public:
    std::string name, prompt;
    int promptResets = 0;
    BEGIN_MSG_MAP(CTestStatusBar)
    MESSAGE_HANDLER(WM_USER, OnText)
    END_MSG_MAP()
    LRESULT OnText(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
};

class CTestFrame : public CFrameWindow {
public:
    CCommandHost m_host;
    std::vector<std::string> notes;      // notifications, busy marks, defaults
    std::function<void(WPARAM)> inject;  // run on kInjectMsg inside any loop
    std::vector<std::string> opened;     // UM_OPEN_DRAWING_FILE paths

    static const UINT kInjectMsg = WM_APP + 500;
    bool finished = false;  // the framework let go of the window
    void OnFinalMessage(HWND) override { finished = true; }

    BEGIN_MSG_MAP(CTestFrame)
    MESSAGE_HANDLER(kInjectMsg, OnInject)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(UM_CMD_BUSY, OnBusy)
    MESSAGE_HANDLER(UM_OPEN_DRAWING_FILE, OnOpenDrawingFile)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP_MEMBER(m_host)
    MESSAGE_RANGE_HANDLER(WM_USER + 1000, WM_APP + 2000, OnUnanswered)
    CHAIN_MSG_MAP(CFrameWindow)
    END_MSG_MAP()

    LRESULT OnInject(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnBusy(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnOpenDrawingFile(UINT, WPARAM, LPARAM lParam, BOOL&) {
        opened.push_back(reinterpret_cast<const char*>(lParam));
        return 1;
    }
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnUnanswered(UINT msg, WPARAM, LPARAM, BOOL&);
};

class CommandFixture : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    // Pumps until pred() holds or the time runs out (then fails).
    bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 10000);
    // Pumps what is waiting now.
    void Drain();

    bool LogHas(const std::string& part) const;
    int LogIndex(const std::string& part) const;  // -1 when absent
    std::string LogText() const;

    std::unique_ptr<CTestFrame> frame;
    std::unique_ptr<CTestStatusBar> statusBar;
    std::unique_ptr<CCadAppCmd> registry;
    std::vector<std::string> log;     // "category|text"
    std::vector<std::string> errors;  // "msg:<id>" or the text
    int backups = 0;
    int panelClears = 0;
    int safe = 1;
    HWND view = nullptr;  // the "active view" (null: none)
    int readOnly = 0;
    int launchKind = 0;
};

// The test module's commands as registered by the fixture.
enum TestCmdIds {
    kCmdWait = 30001,
    kCmdQuick = 30002,
    kCmdFail = 30003,
    kCmdFault = 30004,
    kCmdSwitches = 30005,
    kCmdBroken = 30006,
    kCmdLinger = 30008,
    kCmdProbe = 30009,
    kCmdFaultInWindow = 30010,
    kCmdFaultInTimer = 30011,
    kCmdFaultInRuntime = 30012
};
