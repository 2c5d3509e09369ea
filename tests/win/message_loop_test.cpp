// The message loop: the filter chain, idle handlers, and private loops that
// hand WM_QUIT on to the loop outside them.
#include <gtest/gtest.h>

#include "trace.h"
#include "win/message_loop.h"
#include "win/window.h"

namespace {

const UINT kPing = WM_APP + 1;
const UINT kPong = WM_APP + 2;

class CRecordingWnd : public CWindowBase {
public:
    std::function<void(UINT, WPARAM)> onMessage;
    BEGIN_MSG_MAP(CRecordingWnd)
    MESSAGE_RANGE_HANDLER(WM_APP, WM_APP + 50, OnApp)
    MESSAGE_HANDLER(WM_TIMER, OnSafetyTimer)
    END_MSG_MAP()
    // A lost WM_QUIT would leave a loop waiting for ever: the safety timer
    // ends every loop with -1 instead, so the test fails rather than hangs.
    void ArmSafetyTimer() { ::SetTimer(m_hWnd, 1, 3000, nullptr); }
    LRESULT OnSafetyTimer(UINT, WPARAM, LPARAM, BOOL&) {
        g_trace.push_back("safety-timer");
        ::PostQuitMessage(-1);
        return 0;
    }
    LRESULT OnApp(UINT msg, WPARAM w, LPARAM, BOOL&) {
        g_trace.push_back("wnd:" + std::to_string(msg - WM_APP) + "/" + std::to_string(w));
        if (onMessage) onMessage(msg, w);
        return 0;
    }
};

class CNamedFilter : public CMessageFilter {
public:
    CNamedFilter(const char* name, UINT swallow = 0) : m_name(name), m_swallow(swallow) {}
    std::function<void()> onCall;
    BOOL PreTranslateMessage(MSG* m) override {
        if (m->message < WM_APP) return FALSE;
        g_trace.push_back(m_name + ":" + std::to_string(m->message - WM_APP));
        if (onCall) onCall();
        return m->message == m_swallow;
    }

private:
    std::string m_name;
    UINT m_swallow;
};

// Drains leftovers so each test starts with an empty queue.
void DrainQueue() {
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {}
}

TEST(MessageLoop, FiltersRunInOrderAndMaySwallow) {
    DrainQueue();
    CRecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(CreateArgs()));
    CMessageLoop loop;
    CNamedFilter f1("f1"), f2("f2", kPing), f3("f3");
    ASSERT_TRUE(loop.AddMessageFilter(&f1));
    ASSERT_TRUE(loop.AddMessageFilter(&f2));
    ASSERT_TRUE(loop.AddMessageFilter(&f3));
    EXPECT_FALSE(loop.AddMessageFilter(&f2));  // no double entry

    g_trace.clear();
    wnd.PostMessage(kPing, 1);
    wnd.PostMessage(kPong, 2);
    ::PostQuitMessage(7);
    EXPECT_EQ(7, loop.Run());
    EXPECT_EQ("f1:1 f2:1 f1:2 f2:2 f3:2 wnd:2/2", JoinTrace(g_trace));

    EXPECT_TRUE(loop.RemoveMessageFilter(&f1));
    EXPECT_FALSE(loop.RemoveMessageFilter(&f1));
}

TEST(MessageLoop, FiltersAddedOrRemovedWhileRunningAreSafe) {
    DrainQueue();
    CRecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(CreateArgs()));
    CMessageLoop loop;
    CNamedFilter f1("f1"), f2("f2"), f3("f3"), late("late");
    // f1 removes itself and f3 and adds `late` on its first call: f2 must
    // still see that message, f3 and `late` must not; `late` sees the next.
    bool once = false;
    f1.onCall = [&] {
        if (once) return;
        once = true;
        loop.RemoveMessageFilter(&f1);
        loop.RemoveMessageFilter(&f3);
        loop.AddMessageFilter(&late);
    };
    loop.AddMessageFilter(&f1);
    loop.AddMessageFilter(&f2);
    loop.AddMessageFilter(&f3);
    g_trace.clear();
    wnd.PostMessage(kPing, 1);
    wnd.PostMessage(kPing, 2);
    ::PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ("f1:1 f2:1 wnd:1/1 f2:1 late:1 wnd:1/2", JoinTrace(g_trace));
}

class CCountingIdle : public CIdleHandler {
public:
    std::function<void(int)> onIdle;
    int calls = 0;
    BOOL OnIdle() override {
        ++calls;
        g_trace.push_back("idle");
        if (onIdle) onIdle(calls);
        return FALSE;
    }
};

TEST(MessageLoop, IdleHandlersRunWhenTheQueueEmpties) {
    DrainQueue();
    CRecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(CreateArgs()));
    CMessageLoop loop;
    CCountingIdle idle, second;
    // First idle: queue two messages; second idle: quit.
    idle.onIdle = [&](int n) {
        if (n == 1) {
            wnd.PostMessage(kPing, 1);
            wnd.PostMessage(kPing, 2);
        } else if (n == 2) {
            ::PostQuitMessage(3);
        }
    };
    loop.AddIdleHandler(&idle);
    loop.AddIdleHandler(&second);
    g_trace.clear();
    EXPECT_EQ(3, loop.Run());
    // Each emptying of the queue calls every handler once.
    EXPECT_EQ("idle idle wnd:1/1 wnd:1/2 idle idle", JoinTrace(g_trace));

    // An idle handler that removes itself is not called again.
    DrainQueue();
    CCountingIdle once;
    once.onIdle = [&](int) {
        loop.RemoveIdleHandler(&once);
        wnd.PostMessage(kPing, 9);
    };
    loop.RemoveIdleHandler(&second);
    idle.onIdle = [&](int n) {
        if (n >= 4) ::PostQuitMessage(0);
    };
    loop.AddIdleHandler(&once);
    g_trace.clear();
    loop.Run();
    EXPECT_EQ(1, once.calls);
}

// Private loops inside message handlers: a WM_QUIT taken by an inner loop
// must reach every loop outside it.
enum class Inner { PrivateLoop, NestedRun, Pump };

struct NestedCase {
    const char* name;
    Inner kind;
};

TEST(MessageLoop, NestedLoopsHandQuitOutwards) {
    const NestedCase cases[] = {
        {"private loop", Inner::PrivateLoop},
        {"nested Run", Inner::NestedRun},
        {"pump", Inner::Pump},
    };
    for (const auto& c : cases) {
        DrainQueue();
        CRecordingWnd wnd;
        ASSERT_NE(nullptr, wnd.Create(CreateArgs()));
        CMessageLoop loop;
        ASSERT_TRUE(win::AddMessageLoop(&loop));
        wnd.ArmSafetyTimer();
        g_trace.clear();
        // Ping 1 opens a loop, ping 2 inside opens a second, ping 3 quits.
        wnd.onMessage = [&](UINT msg, WPARAM w) {
            if (msg != kPing) return;
            if (w == 1 || w == 2) {
                wnd.PostMessage(kPing, w + 1);
                std::string depth = std::to_string(win::LoopDepth());
                bool quit = false;
                switch (c.kind) {
                case Inner::PrivateLoop: quit = win::RunPrivateLoop([] { return false; }) == win::LoopEnd::Quit; break;
                case Inner::NestedRun: {
                    CMessageLoop inner;
                    inner.Run();
                    quit = true;
                    break;
                }
                case Inner::Pump:
                    while (win::PumpMessages())
                        ::WaitMessage();
                    quit = true;
                    break;
                }
                g_trace.push_back("end" + std::to_string(w) + (quit ? ":quit" : ":done") + "@" + depth);
            } else if (w == 3) {
                ::PostQuitMessage(9);
            }
        };
        wnd.PostMessage(kPing, 1);
        int code = loop.Run();
        win::RemoveMessageLoop();
        EXPECT_EQ(9, code) << c.name;
        EXPECT_EQ("wnd:1/1 wnd:1/2 wnd:1/3 end2:quit@2 end1:quit@1", JoinTrace(g_trace)) << c.name;
        MSG m;
        EXPECT_FALSE(::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << c.name << ": quit left over";
    }
}

TEST(MessageLoop, PrivateLoopEndsWhenDoneAndUsesTheFilters) {
    DrainQueue();
    CRecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(CreateArgs()));
    CMessageLoop loop;
    CNamedFilter filter("filter", kPong);
    loop.AddMessageFilter(&filter);
    ASSERT_TRUE(win::AddMessageLoop(&loop));
    EXPECT_FALSE(win::AddMessageLoop(&loop));  // one per thread
    EXPECT_EQ(&loop, win::GetMessageLoop());

    bool done = false;
    wnd.onMessage = [&](UINT, WPARAM w) {
        if (w == 2) done = true;
    };
    g_trace.clear();
    wnd.PostMessage(kPong, 0);
    wnd.PostMessage(kPing, 1);
    wnd.PostMessage(kPing, 2);
    wnd.PostMessage(kPing, 3);  // stays queued
    EXPECT_EQ(win::LoopEnd::Done, win::RunPrivateLoop([&] { return done; }));
    EXPECT_EQ("filter:2 filter:1 wnd:1/1 filter:1 wnd:1/2", JoinTrace(g_trace));

    // Without filters the swallowing filter is passed by.
    g_trace.clear();
    wnd.PostMessage(kPong, 4);
    EXPECT_TRUE(win::PumpMessages(false));
    EXPECT_EQ("wnd:1/3 wnd:2/4", JoinTrace(g_trace));
    win::RemoveMessageLoop();
    EXPECT_EQ(nullptr, win::GetMessageLoop());
}

}  // namespace

namespace {

class CQuitIdle : public CIdleHandler {
public:
    int calls = 0;
    BOOL OnIdle() override {
        ++calls;
        g_trace.push_back("idle");
        return FALSE;
    }
};

DWORD WINAPI SendPingFromThread(LPVOID target) {
    ::Sleep(50);
    ::SendMessageA((HWND)target, kPing, 5, 0);
    return 0;
}

TEST(MessageLoop, PrivateLoopRunsIdleHandlersAndSeesSentMessages) {
    DrainQueue();
    CRecordingWnd wnd;
    ASSERT_NE(nullptr, wnd.Create(CreateArgs()));
    CMessageLoop loop;
    CQuitIdle idle;
    loop.AddIdleHandler(&idle);
    ASSERT_TRUE(win::AddMessageLoop(&loop));

    // Idle runs when the queue empties; the wait ends after ping 2.
    bool done = false;
    wnd.onMessage = [&](UINT, WPARAM w) {
        if (w == 2) done = true;
    };
    int step = 0;
    struct Poster : CIdleHandler {
        std::function<void()> f;
        BOOL OnIdle() override {
            f();
            return FALSE;
        }
    } poster;
    poster.f = [&] {
        ++step;
        wnd.PostMessage(kPing, step);
    };
    loop.AddIdleHandler(&poster);
    g_trace.clear();
    EXPECT_EQ(win::LoopEnd::Done, win::RunPrivateLoop([&] { return done; }));
    EXPECT_EQ("idle wnd:1/1 idle wnd:1/2", JoinTrace(g_trace));
    loop.RemoveIdleHandler(&poster);

    // A message sent from another thread ends the wait although nothing is
    // ever posted.
    done = false;
    wnd.onMessage = [&](UINT, WPARAM w) {
        if (w == 5) done = true;
    };
    HWND target = wnd;
    HANDLE thread = ::CreateThread(nullptr, 0, &SendPingFromThread, target, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    g_trace.clear();
    EXPECT_EQ(win::LoopEnd::Done, win::RunPrivateLoop([&] { return done; }, true, false));
    EXPECT_EQ("wnd:1/5", JoinTrace(g_trace));
    ::WaitForSingleObject(thread, 5000);
    ::CloseHandle(thread);
    win::RemoveMessageLoop();
}

}  // namespace
