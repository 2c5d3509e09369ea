#include "win/message_loop.h"

#include <algorithm>

namespace {

thread_local CMessageLoop* t_threadLoop = nullptr;
thread_local int t_loopDepth = 0;

// Counts a loop as pumping for as long as it is in scope.
struct LoopDepthScope {
    LoopDepthScope() { ++t_loopDepth; }
    ~LoopDepthScope() { --t_loopDepth; }
};

}  // namespace

template <class T>
BOOL CMessageLoop::AddTo(std::vector<T*>& list, T* item) {
    if (item == nullptr) return FALSE;
    if (std::find(list.begin(), list.end(), item) != list.end()) return FALSE;
    list.push_back(item);
    return TRUE;
}

// While a list is walked, a removed entry only becomes null so that the
// walk's indices stay valid; the holes are closed once no walk is running.
template <class T>
BOOL CMessageLoop::RemoveFrom(std::vector<T*>& list, T* item, int walking) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end() || item == nullptr) return FALSE;
    if (walking > 0)
        *it = nullptr;
    else
        list.erase(it);
    return TRUE;
}

template <class T>
void CMessageLoop::Compact(std::vector<T*>& list) {
    list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* f) { return AddTo(m_filters, f); }
BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* f) { return RemoveFrom(m_filters, f, m_walkingFilters); }
BOOL CMessageLoop::AddIdleHandler(CIdleHandler* h) { return AddTo(m_idleHandlers, h); }
BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* h) { return RemoveFrom(m_idleHandlers, h, m_walkingIdle); }

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg) {
    BOOL taken = FALSE;
    ++m_walkingFilters;
    // Filters added during the walk wait for the next message.
    size_t n = m_filters.size();
    for (size_t i = 0; i < n && i < m_filters.size(); ++i) {
        CMessageFilter* f = m_filters[i];
        if (f != nullptr && f->PreTranslateMessage(pMsg)) {
            taken = TRUE;
            break;
        }
    }
    if (--m_walkingFilters == 0) Compact(m_filters);
    return taken;
}

BOOL CMessageLoop::OnIdle(int /*idleCount*/) {
    ++m_walkingIdle;
    size_t n = m_idleHandlers.size();
    for (size_t i = 0; i < n && i < m_idleHandlers.size(); ++i) {
        CIdleHandler* h = m_idleHandlers[i];
        if (h != nullptr) h->OnIdle();
    }
    if (--m_walkingIdle == 0) Compact(m_idleHandlers);
    return FALSE;
}

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg) {
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // WM_SYSTIMER: the caret's blink
        return FALSE;
    default: return TRUE;
    }
}

void CMessageLoop::DispatchWithFilters(MSG* pMsg) {
    if (!PreTranslateMessage(pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
    }
}

int CMessageLoop::Run() {
    LoopDepthScope depth;
    bool nested = t_loopDepth > 1;
    bool doIdle = true;
    int idleCount = 0;
    MSG msg = {};
    for (;;) {
        while (doIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) doIdle = false;
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) continue;  // a bad handle given to GetMessage: keep going
        if (got == 0) break;      // WM_QUIT
        DispatchWithFilters(&msg);
        if (IsIdleMessage(&msg)) {
            doIdle = true;
            idleCount = 0;
        } else if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            // A move to a new point is activity; the same point again is not.
            if (msg.message != m_lastMouseMove.message || msg.pt.x != m_lastMouseMove.pt.x ||
                msg.pt.y != m_lastMouseMove.pt.y) {
                doIdle = true;
                idleCount = 0;
            }
            m_lastMouseMove = msg;
        }
    }
    if (nested) ::PostQuitMessage((int)msg.wParam);
    return (int)msg.wParam;
}

namespace win {

BOOL AddMessageLoop(CMessageLoop* loop) {
    if (loop == nullptr || t_threadLoop != nullptr) return FALSE;
    t_threadLoop = loop;
    return TRUE;
}

BOOL RemoveMessageLoop() {
    if (t_threadLoop == nullptr) return FALSE;
    t_threadLoop = nullptr;
    return TRUE;
}

CMessageLoop* GetMessageLoop() { return t_threadLoop; }

int LoopDepth() { return t_loopDepth; }

static void DispatchOne(MSG* msg, bool useFilters) {
    CMessageLoop* loop = useFilters ? t_threadLoop : nullptr;
    if (loop != nullptr) {
        loop->DispatchWithFilters(msg);
    } else {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
    }
}

LoopEnd RunPrivateLoop(const std::function<bool()>& done, bool useFilters, bool runIdle) {
    LoopDepthScope depth;
    bool idlePending = true;
    int idleCount = 0;
    MSG msg = {};
    while (!done()) {
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage((int)msg.wParam);
                return LoopEnd::Quit;
            }
            DispatchOne(&msg, useFilters);
            if (CMessageLoop::IsIdleMessage(&msg)) {
                idlePending = true;
                idleCount = 0;
            }
            continue;
        }
        if (done()) break;  // a message sent to us during the peek may end it
        CMessageLoop* loop = t_threadLoop;
        if (runIdle && idlePending && loop != nullptr) {
            idlePending = loop->OnIdle(idleCount++) != FALSE;
            continue;  // the handlers may have posted something or ended the wait
        }
        // Wakes for posted and for sent messages (the latter are delivered by
        // the next PeekMessage), so `done` is looked at again after either.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    return LoopEnd::Done;
}

BOOL PumpMessages(bool useFilters) {
    LoopDepthScope depth;
    MSG msg = {};
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            return FALSE;
        }
        DispatchOne(&msg, useFilters);
    }
    return TRUE;
}

}  // namespace win
