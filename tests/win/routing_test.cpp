// Routing through chained maps: each row sends one message to a real window
// and compares the handlers hit, in order, and the result.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "trace.h"
#include "win/window.h"

namespace {

const UINT kMsg = WM_APP + 100;

// The base window class: its own map plus an alternate section.
class CRouteBase : public CWindowBase {
public:
    BEGIN_MSG_MAP(CRouteBase)
    MESSAGE_HANDLER(kMsg + 1, OnBase1)
    COMMAND_ID_HANDLER(100, OnBaseCmd)
    COMMAND_RANGE_HANDLER(200, 299, OnBaseRange)
    ALT_MSG_MAP(1)
    MESSAGE_HANDLER(kMsg + 5, OnBaseAlt)
    END_MSG_MAP()

    LRESULT OnBase1(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("Base1");
        return 11;
    }
    LRESULT OnBaseCmd(WORD, WORD id, HWND, BOOL&) {
        g_trace.push_back("BaseCmd" + std::to_string(id));
        return 12;
    }
    LRESULT OnBaseRange(WORD, WORD id, HWND, BOOL&) {
        g_trace.push_back("BaseRange" + std::to_string(id));
        return 13;
    }
    LRESULT OnBaseAlt(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("BaseAlt");
        return 15;
    }
};

// Plain objects with maps, as a frame's service members are.
class CServiceA : public CMessageMap {
public:
    BEGIN_MSG_MAP(CServiceA)
    MESSAGE_HANDLER(kMsg + 2, OnA2)
    MESSAGE_HANDLER(kMsg + 3, OnA3)
    COMMAND_ID_HANDLER(100, OnACmd)
    END_MSG_MAP()

    LRESULT OnA2(UINT, WPARAM w, LPARAM l, BOOL&) {
        g_trace.push_back("A2(" + std::to_string(w) + "," + std::to_string(l) + ")");
        return 2;
    }
    LRESULT OnA3(UINT, WPARAM, LPARAM, BOOL& handled) {
        g_trace.push_back("A3");
        handled = FALSE;  // lets B answer too
        return 99;
    }
    LRESULT OnACmd(WORD, WORD, HWND, BOOL&) {
        g_trace.push_back("ACmd");
        return 21;
    }
};

class CServiceB : public CMessageMap {
public:
    BEGIN_MSG_MAP(CServiceB)
    MESSAGE_HANDLER(kMsg + 3, OnB3)
    MESSAGE_RANGE_HANDLER(kMsg + 10, kMsg + 19, OnBRange)
    END_MSG_MAP()

    LRESULT OnB3(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("B3");
        return 3;
    }
    LRESULT OnBRange(UINT msg, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("BRange" + std::to_string(msg - kMsg));
        return 30;
    }
};

class CRouteWnd : public CRouteBase {
public:
    CServiceA m_a;
    CServiceB m_b;
    CServiceB* m_optional = nullptr;

    BEGIN_MSG_MAP(CRouteWnd)
    MESSAGE_HANDLER(kMsg + 1, OnPass1)
    MESSAGE_HANDLER(kMsg + 4, OnStop4)
    MESSAGE_HANDLER(kMsg + 4, OnNever4)
    COMMAND_ID_HANDLER(100, OnCmd100)
    COMMAND_HANDLER(150, BN_DOUBLECLICKED, OnCmd150Dbl)
    COMMAND_RANGE_HANDLER(300, 399, OnRange300)
    COMMAND_CODE_HANDLER(EN_CHANGE, OnEnChange)
    NOTIFY_HANDLER(5, NM_RCLICK, OnRClick5)
    NOTIFY_CODE_HANDLER(NM_CLICK, OnClick)
    NOTIFY_ID_HANDLER(77, OnNotify77)
    CHAIN_MSG_MAP_MEMBER(m_a)
    CHAIN_MSG_MAP_MEMBER(m_b)
    CHAIN_MSG_MAP_PTR(m_optional)
    CHAIN_MSG_MAP_ALT(CRouteBase, 1)
    CHAIN_MSG_MAP(CRouteBase)
    END_MSG_MAP()

    LRESULT OnPass1(UINT, WPARAM, LPARAM, BOOL& handled) {
        g_trace.push_back("Pass1");
        handled = FALSE;
        return 0;
    }
    LRESULT OnStop4(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("Stop4");
        return 4;
    }
    LRESULT OnNever4(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("Never4");
        return -4;
    }
    LRESULT OnCmd100(WORD code, WORD id, HWND ctl, BOOL& handled) {
        g_trace.push_back("Cmd" + std::to_string(id) + "/" + std::to_string(code) + (ctl ? "/ctl" : "/noctl"));
        handled = FALSE;
        return 0;
    }
    LRESULT OnCmd150Dbl(WORD, WORD, HWND, BOOL&) {
        g_trace.push_back("Dbl150");
        return 150;
    }
    LRESULT OnRange300(WORD, WORD id, HWND, BOOL&) {
        g_trace.push_back("Range" + std::to_string(id));
        return 300;
    }
    LRESULT OnEnChange(WORD, WORD id, HWND, BOOL&) {
        g_trace.push_back("EnChange" + std::to_string(id));
        return 40;
    }
    LRESULT OnRClick5(int id, LPNMHDR, BOOL&) {
        g_trace.push_back("RClick" + std::to_string(id));
        return 50;
    }
    LRESULT OnClick(int id, LPNMHDR nmh, BOOL&) {
        g_trace.push_back("Click" + std::to_string(id) + "/" + std::to_string(nmh->idFrom));
        return 51;
    }
    LRESULT OnNotify77(int, LPNMHDR nmh, BOOL&) {
        g_trace.push_back("N77/" + std::to_string((int)nmh->code));
        return 52;
    }
};

struct RouteCase {
    const char* name;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;      // for WM_NOTIFY: ignored, an NMHDR is built
    UINT notifyCode;    // WM_NOTIFY only
    const char* trace;  // handlers hit, in order
    LRESULT result;
};

TEST(MessageMap, RoutesThroughChainedMapsInTableOrder) {
    CRouteWnd wnd;
    CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW;
    ASSERT_NE(nullptr, wnd.Create(args));
    CServiceB optional;

    const RouteCase cases[] = {
        {"passing handler then base", kMsg + 1, 0, 0, 0, "Pass1 Base1", 11},
        {"member map with arguments", kMsg + 2, 7, 9, 0, "A2(7,9)", 2},
        {"member clears handled, next member answers", kMsg + 3, 0, 0, 0, "A3 B3", 3},
        {"matched entry ends routing", kMsg + 4, 0, 0, 0, "Stop4", 4},
        {"alternate section of base", kMsg + 5, 0, 0, 0, "BaseAlt", 15},
        {"message range in member", kMsg + 12, 0, 0, 0, "BRange12", 30},
        {"range upper bound", kMsg + 19, 0, 0, 0, "BRange19", 30},
        {"past range: nobody, default", kMsg + 20, 0, 0, 0, "", 0},
        {"command passes to member", WM_COMMAND, MAKEWPARAM(100, 0), 0, 0, "Cmd100/0/noctl ACmd", 21},
        {"command range in base", WM_COMMAND, 250, 0, 0, "BaseRange250", 13},
        {"command range low edge", WM_COMMAND, 300, 0, 0, "Range300", 300},
        {"command range high edge", WM_COMMAND, 399, 0, 0, "Range399", 300},
        {"command above every range", WM_COMMAND, 400, 0, 0, "", 0},
        {"command id with code", WM_COMMAND, MAKEWPARAM(150, BN_DOUBLECLICKED), 0, 0, "Dbl150", 150},
        {"same id, other code", WM_COMMAND, MAKEWPARAM(150, BN_CLICKED), 0, 0, "", 0},
        {"command code handler", WM_COMMAND, MAKEWPARAM(500, EN_CHANGE), 0, 0, "EnChange500", 40},
        {"notify id and code", WM_NOTIFY, 5, 0, (UINT)NM_RCLICK, "RClick5", 50},
        {"notify code", WM_NOTIFY, 5, 0, (UINT)NM_CLICK, "Click5/5", 51},
        {"notify id", WM_NOTIFY, 77, 0, (UINT)NM_DBLCLK, "N77/-3", 52},
    };
    for (const auto& c : cases) {
        g_trace.clear();
        NMHDR nmh = {wnd.m_hWnd, (UINT_PTR)c.wParam, c.notifyCode};
        LPARAM l = c.msg == WM_NOTIFY ? (LPARAM)&nmh : c.lParam;
        LRESULT r = ::SendMessageA(wnd, c.msg, c.wParam, l);
        EXPECT_EQ(c.trace, JoinTrace(g_trace)) << c.name;
        EXPECT_EQ(c.result, r) << c.name;
    }

    // The alternate section is reached only through its number.
    CRouteBase base;
    ASSERT_NE(nullptr, base.Create(CreateArgs()));
    g_trace.clear();
    EXPECT_EQ(0, ::SendMessageA(base, kMsg + 5, 0, 0));
    EXPECT_EQ("", JoinTrace(g_trace));

    // A WM_NOTIFY without its record reaches no notify entry (and no crash).
    g_trace.clear();
    EXPECT_EQ(0, ::SendMessageA(wnd, WM_NOTIFY, 77, 0));
    EXPECT_EQ("", JoinTrace(g_trace));

    // A pointer chain takes part once it is set.
    g_trace.clear();
    wnd.m_optional = &optional;
    EXPECT_EQ(30, ::SendMessageA(wnd, kMsg + 11, 0, 0));
    EXPECT_EQ("BRange11", JoinTrace(g_trace));
}

// Typed entries hand their handlers the cracked values: signed client points
// (a point left of or above the window is negative), the MK_* flags, the
// size type and extent, and every part of a WM_COMMAND.
class CCrackWnd : public CWindowBase {
public:
    BEGIN_MSG_MAP(CCrackWnd)
    MSG_WM_LBUTTONDOWN(OnLDown)
    MSG_WM_LBUTTONDBLCLK(OnLDown)
    MSG_WM_MOUSEMOVE(OnMove)
    MSG_WM_RBUTTONUP(OnRUp)
    MSG_WM_SIZE(OnSize)
    MSG_WM_COMMAND(OnCommand)
    END_MSG_MAP()

    static std::string Point(const char* what, UINT keys, POINT pt) {
        return std::string(what) + "(" + std::to_string(keys) + "," + std::to_string(pt.x) + "," +
               std::to_string(pt.y) + ")";
    }
    LRESULT OnLDown(UINT keys, POINT pt, BOOL&) {
        g_trace.push_back(Point("L", keys, pt));
        return 1;
    }
    LRESULT OnMove(UINT keys, POINT pt, BOOL& handled) {
        g_trace.push_back(Point("M", keys, pt));
        handled = FALSE;  // the window's default processing follows
        return 0;
    }
    LRESULT OnRUp(UINT keys, POINT pt, BOOL&) {
        g_trace.push_back(Point("R", keys, pt));
        return 3;
    }
    LRESULT OnSize(UINT type, int cx, int cy, BOOL&) {
        g_trace.push_back("S(" + std::to_string(type) + "," + std::to_string(cx) + "," + std::to_string(cy) + ")");
        return 4;
    }
    LRESULT OnCommand(WORD code, WORD id, HWND ctl, BOOL&) {
        g_trace.push_back("C(" + std::to_string(code) + "," + std::to_string(id) +
                          (ctl == m_hWnd ? ",self)"
                           : ctl         ? ",other)"
                                         : ",none)"));
        return 5;
    }
};

TEST(MessageMap, TypedEntriesCrackTheirArguments) {
    CCrackWnd wnd;
    CreateArgs args;
    args.style = WS_OVERLAPPEDWINDOW;
    ASSERT_NE(nullptr, wnd.Create(args));
    const LPARAM self = (LPARAM)wnd.m_hWnd;

    const RouteCase cases[] = {
        {"left press", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20), 0, "L(1,10,20)", 1},
        {"left press above and left of the window", WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(-3, -4), 0,
         "L(9,-3,-4)", 1},
        {"double click shares the handler", WM_LBUTTONDBLCLK, MK_SHIFT, MAKELPARAM(5, 6), 0, "L(4,5,6)", 1},
        {"move passes on", WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(32767, -32768), 0, "M(2,32767,-32768)", 0},
        {"right release", WM_RBUTTONUP, 0, MAKELPARAM(7, 8), 0, "R(0,7,8)", 3},
        {"size", WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), 0, "S(2,640,480)", 4},
        {"size wider than a short", WM_SIZE, SIZE_RESTORED, MAKELPARAM(40000, 1), 0, "S(0,40000,1)", 4},
        {"command from a menu", WM_COMMAND, MAKEWPARAM(4006, 0), 0, 0, "C(0,4006,none)", 5},
        {"command from a control", WM_COMMAND, MAKEWPARAM(65535, BN_CLICKED), self, 0, "C(0,65535,self)", 5},
        {"command with a code", WM_COMMAND, MAKEWPARAM(1051, 255), 0, 0, "C(255,1051,none)", 5},
    };
    for (const auto& c : cases) {
        g_trace.clear();
        LRESULT r = ::SendMessageA(wnd, c.msg, c.wParam, c.lParam);
        EXPECT_EQ(c.trace, JoinTrace(g_trace)) << c.name;
        EXPECT_EQ(c.result, r) << c.name;
    }
}

// A control's notification, reflected by its parent, reaches the control
// as OCM_ message; messages without a control are left to the parent.
class CReflectChild : public CWindowBase {
public:
    BEGIN_MSG_MAP(CReflectChild)
    MESSAGE_HANDLER(OCM_COMMAND, OnReflected)
    MESSAGE_HANDLER(OCM_NOTIFY, OnReflected)
    DEFAULT_REFLECTION_HANDLER()
    END_MSG_MAP()
    LRESULT OnReflected(UINT msg, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back(msg == OCM_COMMAND ? "child:OCM_COMMAND" : "child:OCM_NOTIFY");
        return 77;
    }
};

class CReflectParent : public CWindowBase {
public:
    BEGIN_MSG_MAP(CReflectParent)
    MESSAGE_HANDLER(WM_COMMAND, OnCommandSeen)
    REFLECT_NOTIFICATIONS()
    MESSAGE_HANDLER(WM_COMMAND, OnCommandLeft)
    END_MSG_MAP()
    LRESULT OnCommandSeen(UINT, WPARAM, LPARAM, BOOL& handled) {
        g_trace.push_back("parent:seen");
        handled = FALSE;
        return 0;
    }
    LRESULT OnCommandLeft(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("parent:left");
        return 5;
    }
};

TEST(MessageMap, ReflectsNotificationsToTheSendingControl) {
    CReflectParent parent;
    ASSERT_NE(nullptr, parent.Create(CreateArgs()));
    CReflectChild child;
    CreateArgs ca;
    ca.parent = parent;
    ca.style = WS_CHILD;
    ca.id = 31;
    ASSERT_NE(nullptr, child.Create(ca));

    g_trace.clear();
    EXPECT_EQ(77, ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(31, 0), (LPARAM)child.m_hWnd));
    EXPECT_EQ("parent:seen child:OCM_COMMAND", JoinTrace(g_trace));

    g_trace.clear();
    NMHDR nmh = {child.m_hWnd, 31, (UINT)NM_CLICK};
    EXPECT_EQ(77, ::SendMessageA(parent, WM_NOTIFY, 31, (LPARAM)&nmh));
    EXPECT_EQ("child:OCM_NOTIFY", JoinTrace(g_trace));

    // A menu command has no control: the parent keeps it.
    g_trace.clear();
    EXPECT_EQ(5, ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(31, 0), 0));
    EXPECT_EQ("parent:seen parent:left", JoinTrace(g_trace));

    // A reflected message the control has no entry for ends with the default.
    EXPECT_EQ(0, ::SendMessageA(child, OCM_HSCROLL, 0, 0));
}

}  // namespace
