// Windows as small C++ objects.
//
// CWindow      a plain window handle with a few conveniences; owns nothing.
// CWindowBase  an object bound to its window: the window's messages go
//              through the object's message map (msg_map.h), then to the
//              default processing. Derive, write a map, call Create().
//
// Binding needs no thunk: Create() leaves the object in a per-thread slot and
// the shared window procedure binds it to the new window on the window's
// very first message (before WM_NCCREATE, so even WM_GETMINMAXINFO reaches
// the map); from then on a window property leads from the handle to the
// object. An existing window (a control, a dialog item) can be subclassed
// with SubclassWindow(). After WM_NCDESTROY the object lets go of the
// handle and OnFinalMessage() runs once the outermost message has returned,
// so a handler may destroy its own window and `delete this` is safe there.
#pragma once

#include <windows.h>

#include <string>

#include "win/msg_map.h"

// A window handle with conveniences. Copying copies the handle only.
class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    operator HWND() const { return m_hWnd; }
    HWND Handle() const { return m_hWnd; }

    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    LRESULT SendMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, msg, w, l); }
    BOOL PostMessage(UINT msg, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, msg, w, l); }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL DestroyWindow() const { return ::DestroyWindow(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    BOOL SetWindowText(const char* text) const { return ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    BOOL MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) const {
        return ::MoveWindow(m_hWnd, x, y, cx, cy, repaint);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    // Adds and removes style bits; returns FALSE when nothing changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) const;
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    BOOL SetMenu(HMENU menu) const { return ::SetMenu(m_hWnd, menu); }
    // Centres the window over `over` (default: its owner or parent, else the
    // work area), kept inside the work area of that monitor.
    BOOL CenterWindow(HWND over = nullptr) const;
};

// Everything CreateWindowEx takes, gathered so callers name what they set.
struct CreateArgs {
    const char* className = nullptr;  // null: the framework's plain class
    const char* title = "";
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    int cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    HMENU menu = nullptr;   // a menu, or for a child window its control id
    UINT id = 0;            // control id of a child window (used when menu is null)
    void* param = nullptr;  // CREATESTRUCT::lpCreateParams, left to the caller

    // Position and size from a rectangle (right/bottom exclusive).
    CreateArgs& SetRect(const RECT& rc) {
        x = rc.left;
        y = rc.top;
        cx = rc.right - rc.left;
        cy = rc.bottom - rc.top;
        return *this;
    }
};

// A window class registered under a name chosen by the caller (the system
// needs fixed names such as "CadwinView"). Windows of such a class made by
// CWindowBase::Create() route through their object's map.
struct WindowClassArgs {
    const char* name = nullptr;
    UINT style = CS_DBLCLKS;
    HCURSOR cursor = nullptr;  // null: the arrow
    HBRUSH background = (HBRUSH)(COLOR_WINDOW + 1);
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    const char* menuName = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    WNDPROC proc = nullptr;        // null: the framework's shared procedure
    HINSTANCE instance = nullptr;  // null: win::ModuleInstance()
};

namespace win {
// The module (exe or DLL) this framework is linked into: owner of the
// classes it registers and the default source of resources.
HINSTANCE ModuleInstance();
// Registers the class; a class of that name already registered by this
// module is accepted and its atom returned. 0 on failure.
ATOM RegisterWindowClass(const WindowClassArgs& args);
BOOL UnregisterWindowClass(const char* name, HINSTANCE instance = nullptr);
bool IsWindowClassRegistered(const char* name, HINSTANCE instance = nullptr);
// The plain class used when CreateArgs::className is null ("ZavWindow";
// registered on first use, as are "ZavFrame" and "ZavMDIChild").
const char* DefaultWindowClass();
// Unregisters those framework classes (at shutdown, after the last window
// of them is gone); they are registered again when next needed.
void UnregisterFrameworkClasses();
}  // namespace win

class CWindowBase : public CWindow, public CMessageMap {
public:
    CWindowBase() = default;
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;
    // A window still alive is let go; when this object created it, it is
    // destroyed too (OnFinalMessage does not run then).
    ~CWindowBase() override;

    // Creates the window and binds it to this object. A class registered
    // through win::RegisterWindowClass binds from the first message; any other
    // class (a system control) is created and then subclassed.
    HWND Create(const CreateArgs& args);
    // Routes an existing window through this object. FALSE when this object
    // already has a window or the window is already bound to an object.
    BOOL SubclassWindow(HWND hWnd);
    // Gives the window back its own procedure; returns the handle.
    HWND UnsubclassWindow();

    // The object bound to a window, or null.
    static CWindowBase* FromHandle(HWND hWnd);

    // What the window does with a message no map entry took.
    virtual LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc();  // the current message, unchanged

    // Called after the last message of the window (WM_NCDESTROY) has been
    // handled; the handle is already cleared. Owners use it to `delete this`.
    // Not called for a window that died inside its own Create(): the caller
    // sees null and still owns the object.
    virtual void OnFinalMessage(HWND hWnd) { (void)hWnd; }

    // The message being routed now (innermost), or null outside routing.
    const MSG* GetCurrentMessage() const { return m_currentMsg; }

    // Routing in progress on this thread. A fault guard that jumps back over
    // the frames of windows routing messages notes the count before its call
    // and afterwards has the routes beyond it taken as left, so that those
    // windows' bookkeeping (current message, final message) is whole again.
    static size_t RoutesInProgress();
    static void AbandonRoutesBeyond(size_t count);

    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD = 0) override { return FALSE; }

    // The shared procedure of classes registered by this framework.
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);

protected:
    // Binding used by the window kinds below (dialogs, pages, sheets).
    void Bind(HWND hWnd);
    void Unbind();
    // Runs the map with bookkeeping for the current message and the final
    // message. Returns TRUE when the map took it.
    BOOL Route(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called by routers after WM_NCDESTROY was seen at the outermost level.
    void FinishIfDestroyed(HWND hWnd);
    // Hands this object to the next window created on this thread.
    void SetPendingCreate();
    static CWindowBase* TakePendingCreate();
    static void ClearPendingCreate(CWindowBase* expected);

    WNDPROC m_superProc = nullptr;  // procedure of a subclassed window
    bool m_ownsWindow = false;      // created by Create(): destroyed with the object
    bool m_inCreate = false;        // inside Create(): no final message yet

private:
    const MSG* m_currentMsg = nullptr;
    int m_routeDepth = 0;
    bool m_destroyed = false;
};
