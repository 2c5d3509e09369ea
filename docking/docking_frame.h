// The MDI frame base of the main window: auto-hide strips along its edges,
// bars docked in two packages (top/bottom around left/right around the MDI
// client), splitters between them, and the placement requests of the panes.
// A derived frame chains its map to this one and lets WM_CREATE through.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "docking/auto_hide.h"
#include "docking/dock_protocol.h"
#include "docking/frames_package.h"
#include "win/mdi.h"

namespace zav {

class CDockingFrameImplBase : public CMDIFrameWindow {
public:
    static const DWORD kDefaultStyle = 0x06CF0000;
    static const DWORD kDefaultExStyle = 0x40100;

    CDockingFrameImplBase() : m_tb(false), m_lr(true) {}

    void InitializeDockingFrame();
    void UpdateLayout(BOOL resizeBars = TRUE) override;
    // Repaints the whole frame (requests that change the layout end here).
    void RedrawFrame();

    CWndFramesPackageBase& TopBottomPackage() { return m_tb; }
    CWndFramesPackageBase& LeftRightPackage() { return m_lr; }
    CAutoHideManager& AutoHide() { return m_autoHide; }

    BEGIN_MSG_MAP(CDockingFrameImplBase)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseHover)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(UM_DOCKING_REQUEST, OnDockingRequest)
    NOTIFY_CODE_HANDLER(RBN_AUTOSIZE, OnRebarAutoSize)
    CHAIN_MSG_MAP(CMDIFrameWindow)
    END_MSG_MAP()

protected:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM w, LPARAM, BOOL&) {
        PaintDocking(reinterpret_cast<HDC>(w));
        return 0;
    }
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseHover(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDockingRequest(UINT, WPARAM, LPARAM, BOOL&);
    // A rebar that changed its height: the bars and the client move with it.
    LRESULT OnRebarAutoSize(int, LPNMHDR, BOOL& handled) {
        UpdateLayout(FALSE);
        handled = FALSE;
        return 0;
    }

    void PaintDocking(HDC dc);
    // The package splitter under a client point, or -1.
    CWndFramesPackageBase* SplitterAt(POINT pt, int* index);

    CWndFramesPackageBase m_tb;  // bars of the top edge, centre, bars of the bottom edge
    CWndFramesPackageBase m_lr;  // bars of the left edge, MDI client, bars of the right edge
    CAutoHideManager m_autoHide;
};

class CMDIDockingFrameImpl : public CDockingFrameImplBase {
public:
    // Creates the frame with the docking frame's styles unless args name others.
    HWND CreateFrame(CreateArgs args);
};

// Requests at one of the frame's packages (client coordinates of the frame).
bool FramePackageAccept(CWndFramesPackageBase& pkg, DockRect& r);
bool FramePackageDock(CWndFramesPackageBase& pkg, DockRect& r, HWND frame);
bool FramePackageSetPosition(CWndFramesPackageBase& pkg, DockPosition& p, HWND frame);
bool FramePackageGetPosition(CWndFramesPackageBase& pkg, DockPosition& p);
bool FramePackageRemoveBar(CWndFramesPackageBase& pkg, HWND bar);
// Keeps a dragged outline between the system minimum and a third of the client.
void LimitDragRect(RECT& r, int clientWidth, int clientHeight);

}  // namespace zav
