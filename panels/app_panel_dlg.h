// The floating form of a page taller than 79 pixels: a child of the main
// frame that the user can drag within the main window and whose context
// menu ends the running command.
#pragma once

#include <windows.h>

#include "win/message_loop.h"
#include "win/window.h"

constexpr UINT kFormEndCommand = 1000;

class CAppPanelDlg : public CWindowBase, public CMessageFilter, public CIdleHandler {
public:
    ~CAppPanelDlg() override;
    // Creates the hidden form as a child of the main frame.
    HWND CreateForm(HWND frame);
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle() override { return FALSE; }
    // The drag frame's next rectangle: moved so that its corner follows the
    // cursor, or the previous one when the moved one would leave `bounds`
    // (right and left edges may pass by up to 5 pixels).
    static RECT DragStep(const RECT& previous, POINT cursor, int grabX, int grabY, const RECT& bounds);

    BEGIN_MSG_MAP(CAppPanelDlg)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    END_MSG_MAP()

    int m_dragging = 0;
    POINT m_cursor = {};
    RECT m_frameRect = {};
    int m_grabX = 0, m_grabY = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    void DrawDragFrame();
};
