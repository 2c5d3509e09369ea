// Message maps: a window's routing written as a table that reads top to bottom.
//
//   BEGIN_MSG_MAP(CMainFrame)
//     MESSAGE_HANDLER(WM_CREATE, OnCreate)
//     COMMAND_ID_HANDLER(4006, OnFileExit)
//     COMMAND_RANGE_HANDLER(40000, 40003, OnPaneToggle)
//     CHAIN_MSG_MAP_MEMBER(m_sysCmd)      // a plain object with a map of its own
//     CHAIN_MSG_MAP(CMDIFrameWindow)      // the base class's map
//   END_MSG_MAP()
//
// Rules every map follows:
// - Entries are tried in order. Before a handler runs the map sets `handled`
//   to TRUE; a handler that leaves it TRUE ends routing and its return value
//   is the message result. A handler that clears it lets the following
//   entries and chained maps see the message.
// - A message that no entry takes goes to the window's default processing
//   (DefWindowProc, DefFrameProc, DefMDIChildProc, or FALSE for a dialog).
// - ALT_MSG_MAP(n) starts an alternate section reached only through
//   CHAIN_MSG_MAP_ALT / CHAIN_MSG_MAP_ALT_MEMBER with that number.
//
// Notify entries skip a WM_NOTIFY whose lParam is null (a broken sender).
//
// Handler signatures:
//   LRESULT OnMsg(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
//   LRESULT OnCmd(WORD code, WORD id, HWND ctl, BOOL& handled);
//   LRESULT OnNotify(int id, LPNMHDR nmh, BOOL& handled);
//
// Typed entries crack wParam and lParam once, in the map, so that handlers
// never decode them by hand:
//   MSG_WM_MOUSE(msg, f), MSG_WM_LBUTTONDOWN(f) ...  a client mouse message:
//       LRESULT f(UINT keys, POINT pt, BOOL& handled);  keys the MK_* flags,
//       pt signed (left of or above the client area is negative)
//   MSG_WM_SIZE(f)     LRESULT f(UINT type, int cx, int cy, BOOL& handled);
//   MSG_WM_COMMAND(f)  every WM_COMMAND: LRESULT f(WORD code, WORD id, HWND ctl, BOOL& handled);
//
// Any object can carry a map (derive from CMessageMap), not only a window,
// so that a frame can hand messages on to plain service objects.
#pragma once

#include <windows.h>

#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#endif
#ifndef GET_Y_LPARAM
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif

// Messages a frame forwards to a child so that the child may translate them
// (lParam is the MSG*); the child returns non-zero when it took the message.
#ifndef WM_FORWARDMSG
#define WM_FORWARDMSG 0x037F
#endif

// Notifications reflected back to the control that sent them are renumbered
// by this base so the control can tell them from its own messages.
#ifndef OCM__BASE
#define OCM__BASE (WM_USER + 0x1c00)
#endif
#define OCM_COMMAND (OCM__BASE + WM_COMMAND)
#define OCM_CTLCOLORBTN (OCM__BASE + WM_CTLCOLORBTN)
#define OCM_CTLCOLOREDIT (OCM__BASE + WM_CTLCOLOREDIT)
#define OCM_CTLCOLORDLG (OCM__BASE + WM_CTLCOLORDLG)
#define OCM_CTLCOLORLISTBOX (OCM__BASE + WM_CTLCOLORLISTBOX)
#define OCM_CTLCOLORMSGBOX (OCM__BASE + WM_CTLCOLORMSGBOX)
#define OCM_CTLCOLORSCROLLBAR (OCM__BASE + WM_CTLCOLORSCROLLBAR)
#define OCM_CTLCOLORSTATIC (OCM__BASE + WM_CTLCOLORSTATIC)
#define OCM_DRAWITEM (OCM__BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM (OCM__BASE + WM_MEASUREITEM)
#define OCM_DELETEITEM (OCM__BASE + WM_DELETEITEM)
#define OCM_VKEYTOITEM (OCM__BASE + WM_VKEYTOITEM)
#define OCM_CHARTOITEM (OCM__BASE + WM_CHARTOITEM)
#define OCM_COMPAREITEM (OCM__BASE + WM_COMPAREITEM)
#define OCM_HSCROLL (OCM__BASE + WM_HSCROLL)
#define OCM_VSCROLL (OCM__BASE + WM_VSCROLL)
#define OCM_PARENTNOTIFY (OCM__BASE + WM_PARENTNOTIFY)
#define OCM_NOTIFY (OCM__BASE + WM_NOTIFY)

// An object that answers window messages through its map.
class CMessageMap {
public:
    virtual ~CMessageMap() = default;
    // Returns TRUE when an entry took the message; its result is in `lResult`.
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                      DWORD dwMsgMapID = 0) = 0;
};

namespace win {
// Sends a notification that a parent received (WM_COMMAND from a control,
// WM_NOTIFY, owner-draw, scroll and colour messages) back to the control
// window as OCM__BASE + msg. `handled` is cleared when the message did not
// come from a child control.
LRESULT ReflectNotification(HWND parent, UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled);

// The client point of a mouse message's lParam, signed.
inline POINT PointFromLParam(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
}  // namespace win

#define BEGIN_MSG_MAP(theClass)                                                                     \
public:                                                                                             \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, \
                              DWORD dwMsgMapID = 0) override {                                      \
        BOOL bHandled = TRUE;                                                                       \
        (void)hWnd;                                                                                 \
        (void)uMsg;                                                                                 \
        (void)wParam;                                                                               \
        (void)lParam;                                                                               \
        (void)lResult;                                                                              \
        (void)bHandled;                                                                             \
        switch (dwMsgMapID) {                                                                       \
        case 0:

#define ALT_MSG_MAP(msgMapID) \
    break;                    \
    case msgMapID:

#define END_MSG_MAP() \
    break;            \
    default: break;   \
        }             \
        return FALSE; \
        }

// A handler ran: keep routing only if it cleared the flag.
#define ZAV_MSG_MAP_RUN_(call)     \
    {                              \
        bHandled = TRUE;           \
        lResult = call;            \
        if (bHandled) return TRUE; \
    }

#define MESSAGE_HANDLER(msg, func) \
    if (uMsg == (UINT)(msg)) ZAV_MSG_MAP_RUN_(func(uMsg, wParam, lParam, bHandled))

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func) \
    if (uMsg >= (UINT)(msgFirst) && uMsg <= (UINT)(msgLast)) ZAV_MSG_MAP_RUN_(func(uMsg, wParam, lParam, bHandled))

#define ZAV_CMD_CALL_(func) func(HIWORD(wParam), LOWORD(wParam), (HWND)lParam, bHandled)

#define COMMAND_HANDLER(id, code, func)                                                       \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (WORD)(id) && HIWORD(wParam) == (WORD)(code)) \
    ZAV_MSG_MAP_RUN_(ZAV_CMD_CALL_(func))

#define COMMAND_ID_HANDLER(id, func) \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (WORD)(id)) ZAV_MSG_MAP_RUN_(ZAV_CMD_CALL_(func))

#define COMMAND_CODE_HANDLER(code, func) \
    if (uMsg == WM_COMMAND && HIWORD(wParam) == (WORD)(code)) ZAV_MSG_MAP_RUN_(ZAV_CMD_CALL_(func))

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                                 \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= (WORD)(idFirst) && LOWORD(wParam) <= (WORD)(idLast)) \
    ZAV_MSG_MAP_RUN_(ZAV_CMD_CALL_(func))

#define COMMAND_RANGE_CODE_HANDLER(idFirst, idLast, code, func)                                      \
    if (uMsg == WM_COMMAND && HIWORD(wParam) == (WORD)(code) && LOWORD(wParam) >= (WORD)(idFirst) && \
        LOWORD(wParam) <= (WORD)(idLast))                                                            \
    ZAV_MSG_MAP_RUN_(ZAV_CMD_CALL_(func))

// Typed entries (see the top of this file).
#define MSG_WM_MOUSE(msg, func) \
    if (uMsg == (UINT)(msg)) ZAV_MSG_MAP_RUN_(func((UINT)wParam, win::PointFromLParam(lParam), bHandled))
#define MSG_WM_MOUSEMOVE(func) MSG_WM_MOUSE(WM_MOUSEMOVE, func)
#define MSG_WM_LBUTTONDOWN(func) MSG_WM_MOUSE(WM_LBUTTONDOWN, func)
#define MSG_WM_LBUTTONUP(func) MSG_WM_MOUSE(WM_LBUTTONUP, func)
#define MSG_WM_LBUTTONDBLCLK(func) MSG_WM_MOUSE(WM_LBUTTONDBLCLK, func)
#define MSG_WM_RBUTTONDOWN(func) MSG_WM_MOUSE(WM_RBUTTONDOWN, func)
#define MSG_WM_RBUTTONUP(func) MSG_WM_MOUSE(WM_RBUTTONUP, func)
#define MSG_WM_MBUTTONDOWN(func) MSG_WM_MOUSE(WM_MBUTTONDOWN, func)
#define MSG_WM_MBUTTONUP(func) MSG_WM_MOUSE(WM_MBUTTONUP, func)
#define MSG_WM_MOUSEHOVER(func) MSG_WM_MOUSE(WM_MOUSEHOVER, func)

#define MSG_WM_SIZE(func) \
    if (uMsg == WM_SIZE) ZAV_MSG_MAP_RUN_(func((UINT)wParam, (int)LOWORD(lParam), (int)HIWORD(lParam), bHandled))

#define MSG_WM_COMMAND(func) \
    if (uMsg == WM_COMMAND) ZAV_MSG_MAP_RUN_(ZAV_CMD_CALL_(func))

#define ZAV_NOTIFY_CALL_(func) func((int)wParam, (LPNMHDR)lParam, bHandled)

#define NOTIFY_HANDLER(id, cd, func)                                                       \
    if (uMsg == WM_NOTIFY && lParam != 0 && ((LPNMHDR)lParam)->idFrom == (UINT_PTR)(id) && \
        ((LPNMHDR)lParam)->code == (UINT)(cd))                                             \
    ZAV_MSG_MAP_RUN_(ZAV_NOTIFY_CALL_(func))

#define NOTIFY_ID_HANDLER(id, func)                                                      \
    if (uMsg == WM_NOTIFY && lParam != 0 && ((LPNMHDR)lParam)->idFrom == (UINT_PTR)(id)) \
    ZAV_MSG_MAP_RUN_(ZAV_NOTIFY_CALL_(func))

#define NOTIFY_CODE_HANDLER(cd, func)                                              \
    if (uMsg == WM_NOTIFY && lParam != 0 && ((LPNMHDR)lParam)->code == (UINT)(cd)) \
    ZAV_MSG_MAP_RUN_(ZAV_NOTIFY_CALL_(func))

#define NOTIFY_RANGE_HANDLER(idFirst, idLast, func)                                             \
    if (uMsg == WM_NOTIFY && lParam != 0 && ((LPNMHDR)lParam)->idFrom >= (UINT_PTR)(idFirst) && \
        ((LPNMHDR)lParam)->idFrom <= (UINT_PTR)(idLast))                                        \
    ZAV_MSG_MAP_RUN_(ZAV_NOTIFY_CALL_(func))

// Chains: the named map sees the message; TRUE from it ends routing.
#define CHAIN_MSG_MAP(theChainClass) \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define CHAIN_MSG_MAP_MEMBER(theChainMember) \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

// Chains to an object reached through a pointer; a null pointer is skipped.
#define CHAIN_MSG_MAP_PTR(theChainPtr)                                                                        \
    if ((theChainPtr) != nullptr && (theChainPtr)->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) \
        return TRUE;

#define CHAIN_MSG_MAP_ALT(theChainClass, msgMapID) \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) return TRUE;

#define CHAIN_MSG_MAP_ALT_MEMBER(theChainMember, msgMapID) \
    if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) return TRUE;

// Hands notifications of child controls back to the controls themselves.
#define REFLECT_NOTIFICATIONS() ZAV_MSG_MAP_RUN_(win::ReflectNotification(hWnd, uMsg, wParam, lParam, bHandled))

// For a control: reflected messages it has no entry for end here with the
// default answer instead of reaching the control's own window procedure.
#define DEFAULT_REFLECTION_HANDLER()                         \
    if (uMsg >= OCM__BASE && uMsg <= OCM__BASE + WM_APP - 1) \
    ZAV_MSG_MAP_RUN_(::DefWindowProcA(hWnd, uMsg - OCM__BASE, wParam, lParam))
