// A pane that floats as a small tool window, docks into a bar of the docking
// frame, is pinned to an auto-hide strip, or is hidden. While docked it draws
// its own caption with a pin button. Pane classes derive from
// CTitleDockingWindowImpl and chain their maps to it.
#pragma once
#include <windows.h>
#include "docking/caption.h"
#include "docking/dock_protocol.h"
#include "win/window.h"

namespace zav {

class CDockingWindowBaseImpl : public CWindowBase {
public:
    static const DWORD kDefaultStyle = 0x96CF0000;  // popup tool window with caption and sizing border
    static const DWORD kDefaultExStyle = WS_EX_TOOLWINDOW;

    // Creates the pane as a pop-up owned by the docking frame.
    HWND CreatePane(HWND frame, const char* title, const RECT& rc, DWORD style = kDefaultStyle,
                    DWORD exStyle = kDefaultExStyle);

    virtual bool Undock();
    virtual bool Dock(DockRect& request);
    virtual bool Hide();
    virtual bool Show();

    void ToggleVisible();
    bool IsVisible() const;
    bool IsDocked() const { return m_hBar != nullptr; }
    bool IsPinned() const;
    bool PinUpAtCurrentSide();
    bool GetDockingWindowPlacement(DockWindowPlacement& out);
    bool SetDockingWindowPlacement(DockWindowPlacement& p);
    bool DockAtPosition(DockWindowPlacement& p);
    // Reads the docked position through the frame (code 4); false while floating.
    bool GetPosition(DockPosition& out) const;
    const DockPosition& LastDockedPosition() const { return m_lastPos; }
    const RECT& FloatingRect() const { return m_rcFloat; }
    HWND Bar() const { return m_hBar; }

    HWND m_hDockingFrame = nullptr;

protected:
    HWND m_hBar = nullptr;
    RECT m_rcFloat = {0, 0, 0, 0};
    DockPosition m_lastPos = {};
};

// A docking window with its own caption while docked.
class CTitleDockingWindowBaseImpl : public CDockingWindowBaseImpl {
public:
    CTitleDockingWindowBaseImpl();
    COutlookLikeExCaption& Caption() { return m_caption; }

protected:
    COutlookLikeExCaption m_caption;
};

class CTitleDockingWindowImpl : public CTitleDockingWindowBaseImpl {
public:
    BEGIN_MSG_MAP(CTitleDockingWindowImpl)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetTextOrIcon)
    MESSAGE_HANDLER(WM_SETICON, OnSetTextOrIcon)
    MESSAGE_HANDLER(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    MESSAGE_HANDLER(WM_NCCALCSIZE, OnNcCalcSize)
    MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
    MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
    MESSAGE_HANDLER(WM_NCACTIVATE, OnNcActivate)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    MESSAGE_HANDLER(UM_DOCK_STATE_CHANGED, OnDockStateChanged)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_PRINT, OnPrint)
    END_MSG_MAP()

    // The caption drag: float or dock at the place the mouse is released.
    // `start` is the cursor in screen coordinates.
    void DragWindow(POINT start);

protected:
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetTextOrIcon(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDockStateChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnPrint(UINT, WPARAM, LPARAM, BOOL&);
};

// The window class of docking panes ("ZavDockWin").
const char* DockingWindowClass();
// Registers (once) a double-click class with no background brush, as the
// docking windows paint everything themselves; returns the name.
const char* RegisterDockingClass(const char* name);

}  // namespace zav
