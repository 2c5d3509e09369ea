// The message loop of a UI thread: a filter chain that may swallow messages
// before they are translated and dispatched, and idle handlers that run
// whenever the queue has run empty.
//
// Filters and idle handlers may be added and removed at any time, also from
// inside a filter or handler while the loop walks its lists: a removed one
// is not called again, an added one takes part from the next message on.
//
// Private (nested) loops - waits for input, modal runs - use RunPrivateLoop
// or PumpMessages. Every private loop that takes WM_QUIT posts it again, so
// the loop outside it ends too; no quit request is ever lost.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class CMessageFilter {
public:
    virtual ~CMessageFilter() = default;
    // TRUE: the message was handled here; it is neither translated nor
    // dispatched and no later filter sees it.
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
};

class CIdleHandler {
public:
    virtual ~CIdleHandler() = default;
    // Runs once each time the queue has become empty after a message that
    // counts as activity. The result is for the handler's own use.
    virtual BOOL OnIdle() = 0;
};

class CMessageLoop {
public:
    CMessageLoop() = default;
    virtual ~CMessageLoop() = default;
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    // Filters are tried in the order they were added. Adding one twice is
    // refused (FALSE); removing an unknown one returns FALSE.
    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    BOOL AddIdleHandler(CIdleHandler* handler);
    BOOL RemoveIdleHandler(CIdleHandler* handler);

    // Pumps until WM_QUIT; returns its exit code. A loop run inside another
    // loop of this thread posts the WM_QUIT again before it returns.
    int Run();

    // The filter chain: TRUE when a filter took the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Calls every idle handler once; `idleCount` counts the calls since the
    // last activity. Returns FALSE: no further idle calls until activity.
    virtual BOOL OnIdle(int idleCount);
    // Messages that do not count as activity (mouse moves without change,
    // the caret's blink timer, paint) and so do not wake the idle handlers.
    static BOOL IsIdleMessage(const MSG* pMsg);

    // Translates and dispatches one message through the filter chain.
    void DispatchWithFilters(MSG* pMsg);

private:
    template <class T>
    static BOOL AddTo(std::vector<T*>& list, T* item);
    template <class T>
    static BOOL RemoveFrom(std::vector<T*>& list, T* item, int walking);
    template <class T>
    static void Compact(std::vector<T*>& list);

    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
    int m_walkingFilters = 0;
    int m_walkingIdle = 0;
    MSG m_lastMouseMove = {};
};

namespace win {

// The loop of the current thread, where windows register their filters and
// idle handlers. AddMessageLoop/RemoveMessageLoop bracket the thread's main
// loop; GetMessageLoop returns null when none is registered.
BOOL AddMessageLoop(CMessageLoop* loop);
BOOL RemoveMessageLoop();
CMessageLoop* GetMessageLoop();

// How many loops of this thread (Run or private) are pumping right now.
int LoopDepth();

enum class LoopEnd { Done, Quit };

// A private loop: pumps messages (through the thread's filter chain when
// `useFilters` and a loop is registered) until `done()` returns true, which
// is checked after every message, also after messages sent from elsewhere
// while it waits. With `runIdle` the registered loop's idle handlers run
// each time the queue empties, as in the main loop, so menus and toolbars
// stay current while, say, a command waits for input. On WM_QUIT it posts
// the quit again and returns LoopEnd::Quit.
LoopEnd RunPrivateLoop(const std::function<bool()>& done, bool useFilters = true, bool runIdle = true);

// Dispatches what is waiting now, without blocking. Returns FALSE when a
// WM_QUIT was taken (and posted again).
BOOL PumpMessages(bool useFilters = true);

}  // namespace win
