// Property sheets with dialog-object pages: notification order per scenario.
#include <gtest/gtest.h>

#include <functional>

#include "test_resources.h"
#include "trace.h"
#include "win/property_sheet.h"

namespace {

class CTestPage : public CPropertyPage {
public:
    CTestPage(UINT id, const char* name) : CPropertyPage(id), m_name(name) {}
    bool refuseLeave = false;
    int applyResult = PSNRET_NOERROR;

    BEGIN_MSG_MAP(CTestPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CPropertyPage)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back(m_name + ":init");
        return TRUE;
    }
    BOOL OnSetActive() override {
        g_trace.push_back(m_name + ":set");
        return TRUE;
    }
    BOOL OnKillActive() override {
        g_trace.push_back(m_name + ":kill");
        return refuseLeave;
    }
    int OnApply() override {
        g_trace.push_back(m_name + ":apply");
        return applyResult;
    }
    void OnReset() override { g_trace.push_back(m_name + ":reset"); }

private:
    std::string m_name;
};

const UINT kStep = WM_APP + 7;

// A sheet that plays a script of user actions once it is up.
class CScriptedSheet : public CPropertySheet {
public:
    CScriptedSheet() : CPropertySheet("環境設定") {}
    std::vector<std::function<void(CScriptedSheet&)>> steps;
    std::string caption;

    BEGIN_MSG_MAP(CScriptedSheet)
    MESSAGE_HANDLER(kStep, OnStep)
    MESSAGE_HANDLER(WM_TIMER, OnSafetyTimer)
    END_MSG_MAP()

    // Ends a run whose script did not: the test then fails instead of hanging.
    LRESULT OnSafetyTimer(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("safety-timer");
        PressButton(PSBTN_CANCEL);
        return 0;
    }

    void OnSheetInitialized() override {
        g_trace.push_back("sheet:init");
        ::SetTimer(m_hWnd, 1, 3000, nullptr);
        m_next = 0;
        PostMessage(kStep);
    }
    LRESULT OnStep(UINT, WPARAM, LPARAM, BOOL&) {
        if (m_next == 0) caption = GetWindowText();
        if (m_next < steps.size()) {
            steps[m_next++](*this);
            PostMessage(kStep);
        }
        return 0;
    }

private:
    size_t m_next = 0;
};

struct SheetCase {
    const char* name;
    std::vector<std::function<void(CScriptedSheet&)>> steps;
    bool refuseLeaveFirst;
    const char* trace;
    bool accepted;  // the run ended with OK
};

TEST(PropertySheets, PagesFollowTheSheetLifecycle) {
    auto toPage2 = [](CScriptedSheet& s) { s.SetActivePage(1); };
    auto ok = [](CScriptedSheet& s) { s.PressButton(PSBTN_OK); };
    auto cancel = [](CScriptedSheet& s) { s.PressButton(PSBTN_CANCEL); };
    const SheetCase cases[] = {
        {"OK after both pages",
         {toPage2, ok},
         false,
         "sheet:init p1:init p1:set p1:kill p2:init p2:set p2:kill p1:apply p2:apply",
         true},
        {"cancel on the first page", {cancel}, false, "sheet:init p1:init p1:set p1:reset", false},
        {"page keeps the user", {toPage2, cancel}, true, "sheet:init p1:init p1:set p1:kill p1:reset", false},
    };
    for (const auto& c : cases) {
        CTestPage p1(IDD_TEST_PAGE1, "p1"), p2(IDD_TEST_PAGE2, "p2");
        p1.refuseLeave = c.refuseLeaveFirst;
        CScriptedSheet sheet;
        sheet.AddPage(&p1);
        sheet.AddPage(&p2);
        sheet.steps = c.steps;
        g_trace.clear();
        INT_PTR r = sheet.DoModal(nullptr);
        EXPECT_EQ(c.trace, JoinTrace(g_trace)) << c.name;
        EXPECT_EQ(c.accepted, r > 0) << c.name << " result " << r;
        EXPECT_EQ("環境設定", sheet.caption) << c.name;
        EXPECT_EQ(nullptr, sheet.m_hWnd) << c.name;
        EXPECT_EQ(nullptr, p1.m_hWnd) << c.name;
    }
}

TEST(PropertySheets, PagesAreMadeAgainForEachRun) {
    CTestPage p1(IDD_TEST_PAGE1, "p1");
    CScriptedSheet sheet;
    sheet.AddPage(&p1);
    sheet.steps = {[](CScriptedSheet& s) { s.PressButton(PSBTN_CANCEL); }};
    g_trace.clear();
    sheet.DoModal(nullptr);
    sheet.DoModal(nullptr);
    EXPECT_EQ("sheet:init p1:init p1:set p1:reset sheet:init p1:init p1:set p1:reset", JoinTrace(g_trace));

    CScriptedSheet empty;
    EXPECT_EQ(-1, empty.DoModal(nullptr));
}

}  // namespace

namespace {

TEST(PropertySheets, QuitDuringASheetReachesTheOuterLoop) {
    CTestPage p1(IDD_TEST_PAGE1, "p1");
    CScriptedSheet sheet;
    sheet.AddPage(&p1);
    // The quit arrives while the sheet runs and must end it.
    sheet.steps = {[](CScriptedSheet&) { ::PostQuitMessage(8); }};
    g_trace.clear();
    sheet.DoModal(nullptr);
    EXPECT_EQ("sheet:init p1:init p1:set", JoinTrace(g_trace));
    MSG m;
    bool quit = ::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    EXPECT_TRUE(quit);
    if (quit) {
        EXPECT_EQ(8u, m.wParam);
    }
}

}  // namespace
