// The panel windows held by the main frame's panes: the command panels,
// the tool panel and the application panel.
#pragma once

#include <windows.h>

#include "command/cmd_switches.h"  // LayerFieldLock
#include "panels/attr_pickup.h"
#include "panels/tool_panel.h"
#include "win/window.h"

// A command panel (held by a CCmdPanelDockWin): a visible child with id 0
// filling its pane. WM_COMMAND 100 with code 1/0 turns its tooltips on/off.
// For now: an empty panel that keeps its page index and tooltip switch.
class CCmdPanel : public CWindowBase {
public:
    HWND Create(HWND pane);
    int GetCurrentPage() const { return m_page; }
    void SetCurrentPage(int index) { m_page = index < 0 ? 0 : index; }
    bool TipsEnabled() const { return m_tips; }

    BEGIN_MSG_MAP(CCmdPanel)
    COMMAND_ID_HANDLER(100, OnEnableTips)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()

private:
    LRESULT OnEnableTips(WORD code, WORD, HWND, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    int m_page = 0;
    bool m_tips = true;
};

// Focus redirection read by the host's view-focus service: whether a panel
// asks for the focus back, and the window that last held input.
extern int PanelFocusRedirect;
extern HWND PanelInputWindow;
