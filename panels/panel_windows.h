// The panel windows held by the main frame's panes: the command panels,
// the tool panel and the application panel.
#pragma once

#include <windows.h>

#include "command/cmd_switches.h"  // LayerFieldLock
#include "panels/cmd_panel.h"
#include "win/window.h"

// Has the tool panel read its fields again (wParam 0; lParam 1 after a
// layer name changed).
constexpr UINT UM_TOOL_PANEL_RESYNC = WM_USER;

// The tool panel (held by a CDrwPanelDockWin, id 200). For now: an
// empty panel that answers the commands the host sends it and keeps the
// state of its mode button 3409, grid button 3516 and mid-point button 3999.
class CToolPanel : public CWindowBase {
public:
    explicit CToolPanel(CWindow* pane = nullptr) : m_pane(pane) {}
    ~CToolPanel() override;
    HWND Create(HWND pane);
    void DestroyMembers();

    int ModeFlag() const { return m_modeFlag; }
    int GridButton() const { return m_gridOn; }
    int MidPointButton() const { return m_midPoint; }
    int KeyCursorButton() const { return m_keyCursor; }

    BEGIN_MSG_MAP(CToolPanel)
    MESSAGE_HANDLER(UM_TOOL_PANEL_RESYNC, OnResync)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnResync(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    CWindow* m_pane;
    int m_modeFlag = 0;
    int m_gridOn = 0;
    int m_midPoint = 0;
    int m_keyCursor = 0;
};

// The tool panel's window, or null before it exists.
HWND ToolPanelWindow();
// The 1-based first-selector value used while no view is open (start-up: 4).
extern int ToolPanelNoViewSelection;

// The snap-mode bits of the tool panel are the running word
// Running().snapModeFlags (base/running_settings.h), the one word the
// settings apply, the wait loop reads and the per-user save stores back:
// 1 end and intersection, 4 mid, 8 free point, 0x10 centre, 0x20 end only,
// 0x40 intersection only, 0x80 on-line.
// Bit 0 becomes 0x60; with `lockFreePoint` (the setting that locks the free
// point button) bit 0x08 is set first; then the tool panel's snap buttons
// follow the flags. For now: the setting is passed in by the caller.
void SyncSnapButtons(int lockFreePoint = 0);

// Raises the attribute-change input event when no event is pending and has
// the tool panel resync its fields (UM_TOOL_PANEL_RESYNC 0, 0).
void RefreshToolPanel();
// Refreshes the tool panel's paper fields. For now: nothing to refresh.
void UpdateToolPanelPaperActive();
// Raises the attribute-change input event when no event is pending. 1.
int PostSettingsChangedEvent();
// The paper fields after a drawing window closed. 1.
int UpdateToolPanelDrawingInfo();
// Shows a drawing point (x, y) in the tool panel's coordinate field; null
// clears it. The panel's answer.
LRESULT ShowToolPanelCoordinates(const double* point);

// Focus redirection read by the host's view-focus service: whether a panel
// asks for the focus back, and the window that last held input.
extern int PanelFocusRedirect;
extern HWND PanelInputWindow;

// The attribute pick-up dialog for an element; non-zero when confirmed,
// `takeLayer` tells whether the layer is to be taken. For now: 0.
int PickUpElementAttributes(const void* element, int* takeLayer);
