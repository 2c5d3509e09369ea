// The wait loop's dispatch rules: each row posts events (as the views,
// panels and keys do, one per dispatched message) and names the result the
// wait must give for the command's mask. Dropped events are followed by an
// end so that the wait returns 0.
#include <gtest/gtest.h>

#include <cmath>

#include "cmd_fixture.h"
#include "base/running_settings.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"

namespace {

using WaitLoop = CommandFixture;

struct Ev {
    int code;
};

struct WaitCase {
    const char* name;
    uint32_t mask;
    std::vector<int> events;
    int result;
    double x;  // expected point x (NAN: not checked)
    unsigned snapBits = 0;
    int rmouse = 0;
    int snapFinds = 0;  // the snap searches find (1,...) or nothing
    uint32_t pickFinds = 0;
};

TEST_F(WaitLoop, DispatchRules) {
    const double none = NAN;
    const WaitCase cases[] = {
        {"point wanted", CMD_WANT_POINT, {CMD_EV_LBUTTON}, 256, 10.0},
        {"click not wanted", 0, {CMD_EV_LBUTTON, CMD_EV_END}, 0, none},
        {"snap wins over pick", CMD_WANT_SNAP | CMD_WANT_PICK, {CMD_EV_LBUTTON}, 512, 10.0, 8, 0, 0, 0x77},
        {"raw wins over snap and pick", CMD_WANT_SNAP | CMD_WANT_PICK | CMD_WANT_RAW, {CMD_EV_LBUTTON}, 0x100000, 10.0},
        {"snap without searches drops", CMD_WANT_SNAP, {CMD_EV_LBUTTON, CMD_EV_END}, 0, none, 0},
        {"snap with free point", CMD_WANT_SNAP, {CMD_EV_LBUTTON}, 512, 10.0, 8},
        {"snap search finds", CMD_WANT_SNAP, {CMD_EV_LBUTTON}, 512, 99.0, 1, 0, 1},
        {"pick finds", CMD_WANT_PICK, {CMD_EV_LBUTTON}, 4096, none, 0, 0, 0, 0x1234},
        {"pick finds nothing", CMD_WANT_PICK, {CMD_EV_LBUTTON, CMD_EV_END}, 0, none},
        {"save state, mask 0", 0, {CMD_EV_SAVE_STATE}, 0x200000, none},
        {"escape, mask 0", 0, {CMD_EV_ESCAPE}, 0x400000, none},
        {"repeat point, mask 0", 0, {CMD_EV_REPEAT_POINT}, 512, 5.0},
        {"right click, mode 255, nothing found", CMD_WANT_SNAP, {CMD_EV_RBUTTON}, 512, 10.0, 0, 255},
        {"right click, mode 1, nothing found", CMD_WANT_SNAP, {CMD_EV_RBUTTON, CMD_EV_END}, 0, none, 0, 1},
        {"right click, mode 8", CMD_WANT_SNAP, {CMD_EV_RBUTTON}, 512, 10.0, 0, 8},
        {"right click point", CMD_WANT_RCLICK, {CMD_EV_RBUTTON}, 1024, 10.0},
        {"panel", CMD_WANT_PANEL, {CMD_EV_PANEL}, 8192, none},
        {"panel not wanted", CMD_WANT_POINT, {CMD_EV_PANEL, CMD_EV_END}, 0, none},
        {"cancel wanted", CMD_WANT_CANCEL, {CMD_EV_CANCEL}, 2, none},
        {"cancel not wanted", 0, {CMD_EV_CANCEL, CMD_EV_END}, 0, none},
        {"undo", CMD_WANT_UNDO, {CMD_EV_UNDO}, 128, none},
        {"view changed with tracking", CMD_WANT_TRACK, {CMD_EV_VIEW_CHANGED}, 32, 10.0},
        {"view changed without tracking", 0, {CMD_EV_VIEW_CHANGED, CMD_EV_END}, 0, none},
        {"mouse move with tracking", CMD_WANT_TRACK, {CMD_EV_MOUSE_MOVE}, 16, 10.0},
        {"DDE event is not a wait result",
         0xFFFFFFFFu & ~CMD_WANT_LOCKED_LAYERS,
         {CMD_EV_DDE, CMD_EV_VIEW_ACTIVATED, CMD_EV_ATTR_CHANGED, CMD_EV_END},
         0,
         none},
        {"overview", CMD_WANT_OVERVIEW, {CMD_EV_OVERVIEW}, 0x40000, none},
    };
    int snapFinds = 0;
    uint32_t pickFinds = 0;
    auto& h = HostHooks();
    h.getCursorWorldPoint = [](double pt[3]) {
        pt[0] = 10;
        pt[1] = 20;
        pt[2] = 0;
    };
    h.snapSearch = [&](int, double pt[3]) {
        if (!snapFinds) return 0;
        pt[0] = 99;
        return 1;
    };
    h.pickElement = [&](const double*, int) { return pickFinds; };
    h.overviewPick = [](int* layer, int* page) {
        *layer = 3;
        *page = 4;
    };
    int rmouse = 0;
    const long savedBits = Running().snapModeFlags;
    h.rightButtonMode = [&] { return rmouse; };
    CmdWaitState().storedLastPoint[0] = 5.0;

    for (const auto& c : cases) {
        Running().snapModeFlags = static_cast<long>(c.snapBits);
        rmouse = c.rmouse;
        snapFinds = c.snapFinds;
        pickFinds = c.pickFinds;
        CmdWaitState().lastMousePos = {-100, -100};
        CmdInput().wantedMask = c.mask;
        size_t next = 0;
        // One event per dispatched message, as the writers do.
        frame->inject = [&](WPARAM) {
            const int code = c.events[next++];
            if (code == CMD_EV_PANEL)
                PostPanelEvent(3, 7, 9);
            else
                PostCmdEvent(code);
            if (next < c.events.size()) PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        };
        PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        CmdRequest req = {};
        const LRESULT r = SendMessageA(frame->m_hWnd, UM_WAIT_CMD_EVENT, 0, (LPARAM)&req);
        EXPECT_EQ(r, c.result) << c.name;
        EXPECT_EQ(next, c.events.size()) << c.name << ": returned before the last event";
        if (!std::isnan(c.x)) {
            double pt[3];
            GetRequestPoint(req.point, pt);
            EXPECT_EQ(pt[0], c.x) << c.name;
        }
        if (c.result == 4096) {
            EXPECT_EQ(req.picked, c.pickFinds) << c.name;
        }
        if (c.result == 8192) {
            EXPECT_EQ(req.panelKind, 3) << c.name;
            EXPECT_EQ(req.panelValue, 7) << c.name;
            EXPECT_EQ(req.panelExtra, 9) << c.name;
        }
        if (c.result == 0x40000) {
            EXPECT_EQ(req.picked, 3u) << c.name;
            EXPECT_EQ(req.panelValue, 4) << c.name;
        }
        Drain();
    }
    Running().snapModeFlags = savedBits;
}

TEST_F(WaitLoop, UnchangedMousePositionIsDroppedUnlessKeyboardCursor) {
    int keyboard = 0;
    HostHooks().keyboardCursorMode = [&] { return keyboard; };
    POINT pos;
    GetCursorPos(&pos);
    for (int k : {0, 1}) {
        keyboard = k;
        CmdWaitState().lastMousePos = pos;
        CmdInput().wantedMask = CMD_WANT_TRACK;
        int step = 0;
        frame->inject = [&](WPARAM) {
            PostCmdEvent(step++ == 0 ? CMD_EV_MOUSE_MOVE : CMD_EV_END);
            if (step < 2) PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        };
        PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        CmdRequest req = {};
        EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_WAIT_CMD_EVENT, 0, (LPARAM)&req), k ? 16 : 0)
            << "keyboard cursor " << k;
        Drain();
    }
}

TEST_F(WaitLoop, LockLayerModeRestoredOnEveryReturn) {
    int mode = 0;
    std::vector<int> set;
    HostHooks().getLockLayerSearchMode = [&] { return mode; };
    HostHooks().setLockLayerSearchMode = [&](int m) {
        mode = m;
        set.push_back(m);
    };
    CmdInput().wantedMask = CMD_WANT_LOCKED_LAYERS;
    int seen = -1;
    frame->inject = [&](WPARAM) {
        seen = mode;
        PostCmdEvent(CMD_EV_END);
    };
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    CmdRequest req = {};
    EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_WAIT_CMD_EVENT, 0, (LPARAM)&req), 0);
    EXPECT_EQ(seen, 1) << "locked layers searched while waiting";
    EXPECT_EQ(mode, 0) << "mode from before the wait";
}

TEST_F(WaitLoop, LowPriorityWritersDoNotReplaceAPendingEvent) {
    struct Case {
        int first, second, expect;
    } cases[] = {
        {CMD_EV_LBUTTON, CMD_EV_VIEW_ACTIVATED, CMD_EV_LBUTTON},
        {CMD_EV_LBUTTON, CMD_EV_ATTR_CHANGED, CMD_EV_LBUTTON},
        {0, CMD_EV_VIEW_ACTIVATED, CMD_EV_VIEW_ACTIVATED},
        {CMD_EV_LBUTTON, CMD_EV_RBUTTON, CMD_EV_RBUTTON},
    };
    for (const auto& c : cases) {
        CmdInput().event = c.first;
        PostCmdEvent(c.second);
        EXPECT_EQ(CmdInput().event, c.expect) << c.first << " then " << c.second;
    }
}

TEST_F(WaitLoop, QuitIsHandedOn) {
    frame->inject = [&](WPARAM) { PostQuitMessage(3); };
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    CmdRequest req = {};
    EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_WAIT_CMD_EVENT, 0, (LPARAM)&req), CMD_RES_QUIT);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
