// A real MDI frame with drawing windows in it, and the view table emptied
// around each test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "view/cadwin_frame.h"
#include "win/mdi.h"

class CTestMainFrame : public CMDIFrameWindow {
 public:
    int endCommandCount = 0;
    BEGIN_MSG_MAP(CTestMainFrame)
        MESSAGE_HANDLER(UM_END_CMD, OnEndCmd)
        CHAIN_MSG_MAP(CMDIFrameWindow)
    END_MSG_MAP()
    LRESULT OnEndCmd(UINT, WPARAM, LPARAM, BOOL&) {
        ++endCommandCount;
        return 1;
    }
};

class MdiFixture : public ::testing::Test {
 protected:
    void SetUp() override;
    void TearDown() override;
    // A new drawing window in the table, titled `title`; its view.
    HWND NewDrawing(const char* title);
    static void Pump();

    CTestMainFrame m_main;
};
