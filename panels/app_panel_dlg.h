// The floating form of a page taller than 79 pixels: a modeless dialog from
// template IDD_APP_PANEL_FORM, a child of the main frame that the user can
// drag within the main window and whose context menu ends the running
// command.
#pragma once

#include <windows.h>

#include "win/dialog.h"
#include "win/message_loop.h"

constexpr UINT kFormEndCommand = 1000;

class CAppPanelDlg : public CDialog, public CIdleHandler {
public:
    CAppPanelDlg();
    ~CAppPanelDlg() override;
    // Creates the form from its template as a child of the main frame; a
    // module without the template (a test program) builds the same one in
    // memory.
    HWND CreateForm(HWND frame);
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle() override { return FALSE; }
    // The drag frame's next rectangle: moved so that its corner follows the
    // cursor, or the previous one when the moved one would leave `bounds`
    // (right and left edges may pass by up to 5 pixels).
    static RECT DragStep(const RECT& previous, POINT cursor, int grabX, int grabY, const RECT& bounds);

    BEGIN_MSG_MAP(CAppPanelDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
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
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    void DrawDragFrame();
};
