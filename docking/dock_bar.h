// A bar: a child window of the docking frame that holds docked windows side
// by side behind 5-pixel splitters, and carries out the placement requests
// that concern them. It deletes itself when its window is destroyed.
#pragma once
#include <windows.h>
#include "docking/dock_protocol.h"
#include "docking/frames_package.h"
#include "win/window.h"

namespace zav {

// What every bar window does: its package of docked windows, its splitters
// and the placement requests at a bar.
class CPackageWindowImpl : public CWindowBase {
public:
    CWndFramesPackageBase& Package() { return m_pkg; }

    BEGIN_MSG_MAP(CPackageWindowImpl)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(UM_DOCKING_REQUEST, OnDockingRequest)
    MESSAGE_HANDLER(WM_PARENTNOTIFY, OnParentNotify)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

protected:
    explicit CPackageWindowImpl(bool horizontal) : m_pkg(horizontal) {}

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM w, LPARAM, BOOL&) {
        m_pkg.PaintSplitters(reinterpret_cast<HDC>(w));
        return 0;
    }
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDockingRequest(UINT, WPARAM, LPARAM, BOOL&);
    // A docked window destroyed on its own leaves the bar like an undock.
    LRESULT OnParentNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
        m_destroying = true;
        handled = FALSE;
        return 0;
    }

    bool Accept(DockRect& r);
    bool DockAt(DockRect& r);
    bool Undock(HWND w);
    // An emptied bar asks the frame to drop it and closes.
    void DropIfEmpty();
    bool GetPosition(DockPosition& p);
    bool SetPosition(DockPosition& p);
    void TakeWindow(HWND w);
    void ShowDocked(HWND w);

    CSubWndFramesPackage m_pkg;
    bool m_destroying = false;
};

// The bar window itself: made for one place in the frame, it lives as long as
// its window and deletes itself when the window is destroyed.
class CPackageWindowT final : public CPackageWindowImpl {
public:
    // Creates a bar in `frame`; `horizontal`: its windows lie left to right.
    static CPackageWindowT* CreateBar(HWND frame, bool horizontal);
    void OnFinalMessage(HWND) override { delete this; }

private:
    explicit CPackageWindowT(bool horizontal) : CPackageWindowImpl(horizontal) {}
};

// Reparenting of docked windows, shared by the bars and the auto-hide manager.
void AttachDockedWindow(HWND w, HWND holder, WORD orientation);
void ReleaseDockedWindow(HWND w, DWORD popupStyle = WS_POPUP);

// The entry of a bar in one of the frame's packages.
class CPackageWindowFrame : public IFrame {
public:
    CPackageWindowFrame(HWND bar, bool outerHorizontal) : m_bar(bar), m_outerHorizontal(outerHorizontal) {}
    HWND WindowHandle() override { return m_bar; }
    bool AcceptDrop(DockRect* r) override;  // r in the frame's client coordinates
    int MinExtent() override;
    void QueryMinTrackSize(MINMAXINFO* mmi) override;

private:
    HWND m_bar;
    bool m_outerHorizontal;
};

}  // namespace zav
