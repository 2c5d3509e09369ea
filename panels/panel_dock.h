// The family of the main frame's panel panes: a titled docking window that
// holds one panel window of this folder, shows or hides its caption bar by
// one bit of the process-wide caption bits (the per-user iPanelCaption: 1
// tool panel, 2 application panel, 4 first and 8 second command panel), and
// can hold its current size while the frame lays itself out.
//
// WM_COMMAND codes the frame and the layout rules send a pane:
//   1000 toggles the caption bar (the frame hears WM_NOTIFY 1000 pinned,
//        1001 hidden, 1002 shown); 1001 asks the caption state (-1 not
//        visible, 0 pinned, 1 caption shown, 2 not); 1010 releases the fixed
//        size; 1011 fixes the current docked thickness.
#pragma once

#include <windows.h>

#include "docking/docking_window.h"

namespace panedock {

// The process-wide caption bits.
int& CaptionBits();

// One docking placement at first creation: side 0 bottom, 1 right, 2 top,
// 3 left; bar 0; start 0.0.
struct FirstDocking {
    int side;
    int thickness;
    int length;
};

}  // namespace panedock

class CPanelDockWinBase : public zav::CTitleDockingWindowImpl {
public:
    explicit CPanelDockWinBase(int captionBit) : m_captionBit(captionBit) {}

    // Creates the pane over the docking frame with the styles of the panes
    // and docks it as `first` says. False when the window was not made.
    bool CreateDocked(HWND frame, const char* title, const RECT& rect, const panedock::FirstDocking& first);

    // 1000, 1001, 1010 and 1011 (see above).
    LRESULT ToggleCaption();
    LRESULT CaptionState();
    void ReleaseFixedSize();
    void FixCurrentSize();
    // WS_CAPTION after the caption bits (at creation).
    void ApplyCaptionBit();
    bool ShowsCaption() const { return (GetStyle() & WS_CAPTION) == WS_CAPTION; }

    BEGIN_MSG_MAP(CPanelDockWinBase)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    CHAIN_MSG_MAP(zav::CTitleDockingWindowImpl)
    END_MSG_MAP()

    int m_captionBit;
    int m_fixedFlags = 0, m_fixedWidth = 0, m_fixedHeight = 0;

protected:
    // The panel window of the pane (made as a child with an empty rectangle).
    virtual HWND CreatePanel() = 0;
    virtual HWND PanelWindow() const = 0;
    // A pane that paints its own background answers true with its colour.
    virtual bool OwnBackground(COLORREF*) const { return false; }

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
};

constexpr DWORD kPanelPaneStyle =
    WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
