// A real main frame in this process, with the executor scripted and every
// command that reaches a receiver written down.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "shell/cad_system.h"
#include "shell/host_seam.h"
#include "shell/main_frame.h"
#include "shell/shell_seams.h"
#include "shell_fixture.h"
#include "win/message_loop.h"

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // What reached the receivers since the last call, joined by blanks (the
    // executor and drawing records first, then the shell's own records):
    // "exec <id>[:<arg>]", "child <id>", "fwd <key>", "Service <id>", ...
    std::string Taken();
    HWND NewDrawing();             // a new untitled drawing window; its view in lastView
    void SetModified(HWND child);  // the drawing has unsaved changes
    HWND ActiveChild() const;
    void Command(int id, LPARAM lp = 0) { SendMessageA(frame->m_hWnd, WM_COMMAND, id, lp); }

public:
    static std::vector<std::string> log;

protected:
    ShellEnvironment env;
    CMessageLoop loop;
    CMainFrame* frame = nullptr;
    std::map<int, int> execAnswers;  // executor answers; 1 when not listed
    HWND lastView = nullptr;
};
