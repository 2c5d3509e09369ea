// Creation binds object and window from the first message; subclassing;
// the final message after destruction; registered class names.
#include <gtest/gtest.h>

#include "trace.h"
#include "win/window.h"

namespace {

class CEarlyWnd : public CWindowBase {
public:
    std::vector<UINT> seen;  // messages that reached the map, in order
    void* createParam = nullptr;
    HWND handleInCreate = nullptr;

    BEGIN_MSG_MAP(CEarlyWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_RANGE_HANDLER(0, 0xFFFF, OnAny)
    END_MSG_MAP()

    LRESULT OnCreate(UINT msg, WPARAM, LPARAM l, BOOL& handled) {
        seen.push_back(msg);
        createParam = ((CREATESTRUCTA*)l)->lpCreateParams;
        handleInCreate = m_hWnd;
        handled = FALSE;
        return 0;
    }
    LRESULT OnAny(UINT msg, WPARAM, LPARAM, BOOL& handled) {
        seen.push_back(msg);
        handled = FALSE;
        return 0;
    }
};

TEST(WindowBinding, ObjectSeesEveryMessageFromTheFirstOn) {
    CEarlyWnd wnd;
    int param = 0;
    CreateArgs a;
    a.title = "binding";
    a.param = &param;
    HWND h = wnd.Create(a);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(h, wnd.m_hWnd);
    EXPECT_EQ(h, wnd.handleInCreate);
    EXPECT_EQ(&param, wnd.createParam);  // lpCreateParams stays the caller's
    EXPECT_EQ(&wnd, CWindowBase::FromHandle(h));
    ASSERT_FALSE(wnd.seen.empty());
    // Top-level windows get WM_GETMINMAXINFO before WM_NCCREATE; both reach us.
    EXPECT_EQ((UINT)WM_GETMINMAXINFO, wnd.seen.front());
    auto pos = [&](UINT m) { return std::find(wnd.seen.begin(), wnd.seen.end(), m) - wnd.seen.begin(); };
    EXPECT_LT(pos(WM_NCCREATE), pos(WM_CREATE));
    EXPECT_LT(pos(WM_CREATE), (long)wnd.seen.size());
    EXPECT_EQ("binding", wnd.GetWindowText());

    // Destroying the window lets go of the handle.
    ::DestroyWindow(h);
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWindowBase::FromHandle(h));
}

class CRefusingWnd : public CWindowBase {
public:
    bool finalSeen = false;
    BEGIN_MSG_MAP(CRefusingWnd)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    END_MSG_MAP()
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return -1; }
    void OnFinalMessage(HWND) override { finalSeen = true; }
};

TEST(WindowBinding, FailedCreationLeavesTheObjectFree) {
    CRefusingWnd wnd;
    EXPECT_EQ(nullptr, wnd.Create(CreateArgs()));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    // The object is still the caller's: no final message that might free it.
    EXPECT_FALSE(wnd.finalSeen);
    // The next window of the class is not bound to the failed object.
    CEarlyWnd other;
    ASSERT_NE(nullptr, other.Create(CreateArgs()));
    EXPECT_EQ(&other, CWindowBase::FromHandle(other));

    CEarlyWnd unknown;
    CreateArgs bad;
    bad.className = "NoSuchClassAnywhere";
    EXPECT_EQ(nullptr, unknown.Create(bad));
    EXPECT_EQ(nullptr, unknown.m_hWnd);
}

// The final message runs after the outermost message of the window has
// returned, even when the window destroys itself in a handler.
class CSelfDeleting : public CWindowBase {
public:
    BEGIN_MSG_MAP(CSelfDeleting)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_NCDESTROY, OnNcDestroy)
    END_MSG_MAP()
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("close");
        ::DestroyWindow(m_hWnd);
        // Still bound: the object must be alive and keep its handle here.
        g_trace.push_back(m_hWnd != nullptr ? "after-destroy:bound" : "after-destroy:free");
        return 0;
    }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
        g_trace.push_back("destroy");
        handled = FALSE;
        return 0;
    }
    LRESULT OnNcDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
        g_trace.push_back("ncdestroy");
        handled = FALSE;
        return 0;
    }
    void OnFinalMessage(HWND) override {
        g_trace.push_back(m_hWnd == nullptr ? "final" : "final-with-handle");
        delete this;
    }
};

TEST(WindowBinding, FinalMessageAfterOutermostMessageReturns) {
    auto* wnd = new CSelfDeleting;
    HWND h = wnd->Create(CreateArgs());
    ASSERT_NE(nullptr, h);
    g_trace.clear();
    ::SendMessageA(h, WM_CLOSE, 0, 0);
    EXPECT_EQ("close destroy ncdestroy after-destroy:bound final", JoinTrace(g_trace));
    EXPECT_FALSE(::IsWindow(h));

    // Destroyed from outside: final at once.
    wnd = new CSelfDeleting;
    h = wnd->Create(CreateArgs());
    g_trace.clear();
    ::DestroyWindow(h);
    EXPECT_EQ("destroy ncdestroy final", JoinTrace(g_trace));
}

TEST(WindowBinding, ObjectDestroyedFirstTakesItsWindowAlong) {
    HWND h;
    {
        CEarlyWnd wnd;
        h = wnd.Create(CreateArgs());
        ASSERT_TRUE(::IsWindow(h));
    }
    EXPECT_FALSE(::IsWindow(h));
}

// A subclassed control: our map first, the control's own procedure after.
class CEditSpy : public CWindowBase {
public:
    BEGIN_MSG_MAP(CEditSpy)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_APP + 1, OnApp)
    END_MSG_MAP()
    LRESULT OnSetText(UINT, WPARAM, LPARAM l, BOOL& handled) {
        g_trace.push_back(std::string("settext:") + (const char*)l);
        handled = FALSE;  // the edit control still stores the text
        return 0;
    }
    LRESULT OnApp(UINT, WPARAM, LPARAM, BOOL&) { return 42; }
};

TEST(WindowBinding, SubclassedControlKeepsItsOwnBehaviour) {
    CWindowBase parent;
    ASSERT_NE(nullptr, parent.Create(CreateArgs()));
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, parent, (HMENU)10, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    CEditSpy spy;
    ASSERT_TRUE(spy.SubclassWindow(edit));
    CEditSpy second;
    EXPECT_FALSE(second.SubclassWindow(edit));  // one object per window

    g_trace.clear();
    ::SetWindowTextA(edit, "図面");
    EXPECT_EQ("settext:図面", JoinTrace(g_trace));
    EXPECT_EQ("図面", CWindow(edit).GetWindowText());
    EXPECT_EQ(42, ::SendMessageA(edit, WM_APP + 1, 0, 0));

    EXPECT_EQ(edit, spy.UnsubclassWindow());
    g_trace.clear();
    ::SetWindowTextA(edit, "x");
    EXPECT_EQ("", JoinTrace(g_trace));
    EXPECT_EQ(0, ::SendMessageA(edit, WM_APP + 1, 0, 0));
    EXPECT_EQ("x", CWindow(edit).GetWindowText());

    // A system class named in CreateArgs is created and subclassed.
    CEditSpy made;
    CreateArgs a;
    a.className = "EDIT";
    a.parent = parent;
    a.style = WS_CHILD;
    a.id = 11;
    ASSERT_NE(nullptr, made.Create(a));
    EXPECT_EQ(11, made.GetDlgCtrlID());
    EXPECT_EQ(42, made.SendMessage(WM_APP + 1));
}

TEST(WindowClasses, RegisteredUnderTheCallersName) {
    WindowClassArgs c;
    c.name = "CadwinView";
    ATOM atom = win::RegisterWindowClass(c);
    ASSERT_NE(0, atom);
    EXPECT_EQ(atom, win::RegisterWindowClass(c));  // again: accepted

    CEarlyWnd wnd;
    CreateArgs a;
    a.className = "CadwinView";
    ASSERT_NE(nullptr, wnd.Create(a));
    char name[64] = {};
    ::GetClassNameA(wnd, name, sizeof(name));
    EXPECT_STREQ("CadwinView", name);
    wnd.DestroyWindow();
    EXPECT_TRUE(win::UnregisterWindowClass("CadwinView"));

    WindowClassArgs none;
    EXPECT_EQ(0, win::RegisterWindowClass(none));

    // The framework's own classes go at shutdown and come back when needed.
    win::DefaultWindowClass();
    win::UnregisterFrameworkClasses();
    EXPECT_FALSE(win::IsWindowClassRegistered("ZavWindow"));
    CEarlyWnd later;
    EXPECT_NE(nullptr, later.Create(CreateArgs()));
    EXPECT_TRUE(win::IsWindowClassRegistered("ZavWindow"));
}

}  // namespace

namespace {

TEST(WindowHelpers, CenterOverOwnerInsideTheWorkArea) {
    CWindowBase owner;
    CreateArgs oa;
    oa.style = WS_POPUP | WS_VISIBLE;
    oa.x = 100;
    oa.y = 100;
    oa.cx = 400;
    oa.cy = 300;
    ASSERT_NE(nullptr, owner.Create(oa));
    CWindowBase popup;
    CreateArgs pa;
    pa.style = WS_POPUP;
    pa.parent = owner;  // owner of a popup
    pa.x = 0;
    pa.y = 0;
    pa.cx = 200;
    pa.cy = 100;
    ASSERT_NE(nullptr, popup.Create(pa));
    ASSERT_TRUE(popup.CenterWindow());
    RECT rc = popup.GetWindowRect();
    EXPECT_EQ(200, rc.left);
    EXPECT_EQ(200, rc.top);

    // An owner half off the screen: the window stays inside the work area.
    owner.SetWindowPos(nullptr, -300, -250, 400, 300, SWP_NOZORDER);
    popup.CenterWindow();
    rc = popup.GetWindowRect();
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(rc.left, work.left);
    EXPECT_GE(rc.top, work.top);
}

}  // namespace
