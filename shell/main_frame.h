// The MDI main window: the one window every command id and host message of
// the system is sent to. It carries the rebar (command bar and toolbars),
// the prompt bar and the MDI client, routes WM_COMMAND ids by range, and
// filters the keys of the main message loop.
#pragma once

#include <windows.h>

#include <set>
#include <string>

#include "view/status_bar.h"
#include "shell/command_bar.h"
#include "shell/host_messages_shell.h"
#include "shell/host_seam.h"
#include "shell/main_accelerator.h"
#include "shell/main_layout.h"
#include "shell/toolbar_manager.h"
#include "command/command_ids.h"
#include "command/host_objects.h"
#include <memory>

#include "docking/docking_frame.h"
#include "panels/app_panel_dock.h"
#include "panels/cmd_panel_dock.h"
#include "panels/tool_panel_dock.h"
#include "win/mdi.h"
#include "win/message_loop.h"
#include "win/update_ui.h"

// The frame class the main window derives from: the MDI frame with docking.
typedef zav::CMDIDockingFrameImpl MainFrameBase;

// The window-class name of the main frame and of the running-copy search.
extern char MainFrameClassName[80];

class CMainFrame : public MainFrameBase, public CMessageFilter, public CIdleHandler {
public:
    CMainFrame();
    ~CMainFrame() override;

    HWND CreateEx(HWND parent, const RECT* rect, DWORD style, DWORD exStyle, void* param);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override;

    // The routing of one WM_COMMAND (every source). TRUE: handled, with the
    // result in `result`; FALSE: the frame's own entries and the chained maps
    // see the (possibly rewritten) message.
    BOOL RouteCommand(WPARAM& wParam, LPARAM& lParam, LRESULT& result);

    // A command the system posts or sends itself (start-up commands, BOOT,
    // DESTROY) passes the no-drawing filter once; user input stays filtered.
    static void AllowSystemCommand(int id);
    static bool TakeSystemCommand(int id);

    HWND NewDrawingWindow(HWND parent, int forFile, const RECT* rect, const RECT* createRect);

    int m_showCmd = SW_SHOWDEFAULT;
    std::string m_cmdLine;
    CMDICommandBarCtrlEx m_cmdBar;
    CCadStatusBar m_statusBar;
    ToolbarManager m_toolbars;
    CMainAccelerator m_accel;
    // The four docked panes by their frame commands 40000-40003: first
    // command panel, tool panel, application panel, second command panel.
    HWND m_panes[4] = {};
    std::unique_ptr<CCmdPanelDockWin> m_cmdPane;   // m_panes[0]
    std::unique_ptr<CDrwPanelDockWin> m_toolPane;  // m_panes[1]
    std::unique_ptr<CAppPanelDockWin> m_appPane;   // m_panes[2]
    std::unique_ptr<CCmdPanelDockWin> m_cmdPane2;  // m_panes[3]
    // The panel window of pane i (0-3 as m_panes), or null.
    HWND PanelWindow(int i) const;
    // The panes in the order of the stored layout.
    MainPanes LayoutPanes() const;
    // The main window, its toolbar bands and panes as "configMain.xml" keeps them.
    zav::CWindowStateMgr m_layoutState;
    CShellHostSeam m_shellHost;  // the shell's answers, asked before the command system
    CCommandHost m_commandHost;  // CCadSysCmd ... CCadInterruptCmd
    HWND m_modelessDialog = nullptr;
    int m_untitledCount = 0;
    // Check marks of the bar and pane toggles, applied to a menu as it opens.
    CUpdateUI m_ui;

    BEGIN_MSG_MAP(CMainFrame)
    if (uMsg == WM_COMMAND && RouteCommand(wParam, lParam, lResult)) return TRUE;
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_MDIGETACTIVE, OnMDIGetActive)
    MESSAGE_HANDLER(WM_CREATE, OnCreatePanes)
    MESSAGE_HANDLER(UM_MAINFRAME_INIT, OnMainFrameInit)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_INITMENU, OnInitMenu)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    MSG_WM_SIZE(OnSize)
    MESSAGE_HANDLER(WM_QUERYENDSESSION, OnQueryEndSession)
    MESSAGE_HANDLER(WM_ENDSESSION, OnEndSession)
    MESSAGE_HANDLER(UM_CMD_BUSY, OnCmdBusy)
    MESSAGE_HANDLER(WM_DROPFILES, OnDropFiles)
    MESSAGE_HANDLER(UM_CURSOR_SETTINGS, OnCursorSettings)
    MESSAGE_HANDLER(UM_GET_CMDPANEL, OnGetCmdPanel)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcButtonDown)
    MESSAGE_HANDLER(WM_NCRBUTTONDOWN, OnNcButtonDown)
    MESSAGE_HANDLER(UM_GET_ACCELERATOR, OnGetAccelerator)
    MESSAGE_HANDLER(UM_SET_MODELESS_DIALOG, OnSetModelessDialog)
    MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
    MESSAGE_HANDLER(WM_COPYDATA, OnCopyData)
    COMMAND_ID_HANDLER(ID_SVC_FEED_F10, OnFeedF10)
    COMMAND_ID_HANDLER(ID_CMD_EXIT, OnExit)
    COMMAND_ID_HANDLER(ID_CMD_NEW_DRAWING, OnNewDrawing)
    COMMAND_ID_HANDLER(ID_CMD_CLOSE_DRAWING, OnCloseDrawing)
    COMMAND_ID_HANDLER(ID_VIEW_TOOLBAR, OnToggleToolbar)
    COMMAND_ID_HANDLER(ID_VIEW_STATUS_BAR, OnToggleStatusBar)
    COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAbout)
    COMMAND_ID_HANDLER(ID_SVC_CASCADE, OnCascade)
    COMMAND_ID_HANDLER(ID_SVC_TILE, OnTile)
    COMMAND_ID_HANDLER(ID_WINDOW_ARRANGE, OnArrangeIcons)
    COMMAND_ID_HANDLER(ID_PANEL_ARROW_UP, OnArrowUpToViews)
    COMMAND_RANGE_HANDLER(ID_PANE_FIRST, ID_PANE_LAST, OnTogglePane)
    CHAIN_MSG_MAP_MEMBER(m_shellHost)
    CHAIN_MSG_MAP_MEMBER(m_commandHost)
    CHAIN_MSG_MAP_MEMBER(m_ui)
    CHAIN_MSG_MAP(MainFrameBase)
    END_MSG_MAP()

private:
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMDIGetActive(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCreatePanes(UINT, WPARAM, LPARAM, BOOL&);
    int OnCreate();
    // The panes in their creation order: first command panel, application
    // panel, tool panel, second command panel.
    void CreatePanes();
    LRESULT OnMainFrameInit(UINT, WPARAM, LPARAM, BOOL&);
    // Shows the hidden frame maximised, laid out at its maximised size first.
    void ShowMaximizedFromHidden();
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnInitMenu(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnInitMenuPopup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT type, int cx, int cy, BOOL&);
    LRESULT OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCmdBusy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDropFiles(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCursorSettings(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetCmdPanel(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetAccelerator(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetModelessDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCopyData(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFeedF10(WORD, WORD, HWND, BOOL&);
    LRESULT OnExit(WORD, WORD, HWND, BOOL&);
    LRESULT OnNewDrawing(WORD, WORD, HWND, BOOL&);
    LRESULT OnCloseDrawing(WORD, WORD, HWND, BOOL&);
    LRESULT OnToggleToolbar(WORD, WORD, HWND, BOOL&);
    LRESULT OnToggleStatusBar(WORD, WORD, HWND, BOOL&);
    LRESULT OnAbout(WORD, WORD, HWND, BOOL&);
    LRESULT OnCascade(WORD, WORD, HWND, BOOL&);
    LRESULT OnTile(WORD, WORD, HWND, BOOL&);
    LRESULT OnArrangeIcons(WORD, WORD, HWND, BOOL&);
    LRESULT OnArrowUpToViews(WORD, WORD, HWND, BOOL&);
    LRESULT OnTogglePane(WORD, WORD, HWND, BOOL&);

    // The close sequence of WM_CLOSE: a running command is ended first and
    // the close taken up again once it has returned; then every drawing
    // window closes (one veto keeps the application) and the DESTROY command
    // of the start switches runs.
    void CloseSequence(WPARAM wParam, LPARAM lParam);
    // The layout into configMain.xml by the launch kind (at WM_CLOSE).
    void StoreLayout();
    // Each pane's caption bar into the caption bits.
    void RecordCaptionBits();
    void OnCloseRetryTimer();
    // Closes every drawing window; false when one of them vetoed.
    bool CloseDrawingWindows();
    void RunDestroyCommand(bool saved);
    void SetCheck(UINT id, bool on);

    bool m_closing = false;
    bool m_closeWaiting = false;  // a close waits for the running command
    int m_closeRetries = 0;
    WPARAM m_closeWParam = 0;
    LPARAM m_closeLParam = 0;
    DWORD m_blinkPeriod = 500;
    DWORD m_lastBlink = 0;
    int m_blinkPhase = 0;
};

// Stamped by every command (time of the last user activity, for backups).
extern DWORD LastActivityTime;
// The view a drawing is still being loaded into (set by the open road);
// files dropped meanwhile are refused.
extern HWND LockedView;

void RegisterModelessDialog(HWND window);
// The command system's start for the main frame `frame`: its host objects,
// the executor's target and DDE (CommandSystemInit). 1 done, 0 when DDE
// could not start or `frame` is no main frame.
int StartFrameCommandSystem(HWND frame);
// The menu bar and its Window menu into the MDI client (a drawing window
// became active).
void InstallDrawingWindowMenu(HWND mdiClient);
int ShowErrorMessage(const char* text);
// The caption of the system's boxes: the title setting (TT), else the
// executable's own.
std::string AppTitleText();
