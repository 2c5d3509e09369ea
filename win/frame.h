// A top-level frame: menu, accelerators, an optional toolbar and status bar
// along its edges, and one client window filling the rest.
//
// The frame lays its bars and client out on WM_SIZE (UpdateLayout, which a
// docking frame replaces), gives the focus to its client, and offers the
// accelerator step of a message filter (TranslateAccelerators). It does not
// end the thread's loop when destroyed: the application decides that.
#pragma once

#include "win/window.h"

class CFrameWindow : public CWindowBase {
public:
    // Creates the frame; a null className uses the framework's frame class
    // (application-workspace background). `menu` in args is taken as is.
    HWND Create(const CreateArgs& args);

    // Loads an accelerator table resource (instance null: the module).
    BOOL LoadAccelerators(UINT id, HINSTANCE instance = nullptr);
    // TRUE when the message was a key of the frame's accelerator table.
    BOOL TranslateAccelerators(MSG* pMsg);

    // Places toolbar (top), status bar (bottom) and the client between them.
    // `resizeBars` also lets the bars size themselves (WM_SIZE to them).
    virtual void UpdateLayout(BOOL resizeBars = TRUE);
    // The rectangle left for the client after the bars.
    RECT GetClientAreaForView() const;
    // Whether a bar takes room: when it is on screen, and while the frame is
    // readied hidden for its first show (m_layOutHidden) when its own style
    // says visible, so that the frame can take its final shape unseen.
    bool BarShown(HWND bar) const;

    HWND m_hWndClient = nullptr;     // the view or MDI client
    HWND m_hWndToolBar = nullptr;    // a toolbar or rebar along the top
    HWND m_hWndStatusBar = nullptr;  // a status bar along the bottom
    HACCEL m_hAccel = nullptr;
    bool m_layOutHidden = false;

    BEGIN_MSG_MAP(CFrameWindow)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    END_MSG_MAP()

protected:
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled);
};

namespace win {
// The class frames use when none is named: "ZavFrame".
const char* DefaultFrameClass();
}  // namespace win
