// Main frame: creation, routing of command ids, the main loop's filter,
// idle and timer work, dropped files, drawing windows and the close road.
#include "shell/main_frame.h"
#include "shell/file_backup.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/command_ids.h"
#include "shell/cad_system.h"
#include "shell/command_line.h"
#include "command/command_system.h"
#include "command/drawing_events.h"
#include "command/executor.h"
#include "panels/panel_windows.h"
#include "panels/panel_keys.h"
#include "panels/rp_menu.h"
#include "view/cadwin_frame.h"
#include "view/drawing_state.h"
#include "view/interrupt_cmds.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "shell/resource_ids.h"
#include "shell/save_road.h"
#include "view/db_info.h"
#include "shell/shell_seams.h"
#include "shell/system_commands.h"
#include "view/view_table.h"
#include "win/message_box.h"

char MainFrameClassName[80] = "Quillmar001";
DWORD LastActivityTime = 0;

namespace {
const UINT_PTR kTimerId = 1;
const UINT_PTR kCloseRetryTimerId = 2;
const UINT kCloseRetryMs = 50;
const int kCloseRetryLimit = 200;  // ten seconds
const int kUpdateUiIds[] = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR,   ID_PANE_COMMAND_MENU,
                            ID_PANE_BASIC,   ID_PANE_DRAWING_MENU, ID_PANE_COMMAND_MENU2};

std::multiset<int>& SystemCommandPasses() {
    static std::multiset<int> passes;
    return passes;
}

bool IsWindowHandle(LPARAM lParam) { return lParam != 0 && ::IsWindow((HWND)lParam); }

// An argument text for the call log (bounded); small values are no text.
std::string ArgText(LPARAM arg) {
    if ((ULONG_PTR)arg < 0x10000) return std::string();
    char buf[300];
    DbcsCopy(buf, sizeof buf, (const char*)arg);
    return buf;
}
}  // namespace

void CMainFrame::AllowSystemCommand(int id) { SystemCommandPasses().insert(id); }

bool CMainFrame::TakeSystemCommand(int id) {
    auto& passes = SystemCommandPasses();
    auto it = passes.find(id);
    if (it == passes.end()) return false;
    passes.erase(it);
    return true;
}

void InstallDrawingWindowMenu(HWND mdiClient) {
    CMainMenu& menu = GetCadSystem().m_mainMenu;
    if (!mdiClient || !menu.Handle()) return;
    SetMdiWindowMenu(mdiClient, menu.Handle(), menu.WindowMenuPos(), menu.WindowMenuName().c_str());
}

void RegisterModelessDialog(HWND window) {
    ::SendMessageA(MainFrameWindow(), UM_SET_MODELESS_DIALOG, 100, (LPARAM)window);
}

std::string AppTitleText() {
    // The application title of the settings, else the executable's own.
    char title[257] = {};
    DbcsCopy(title, sizeof title, Running().TT);
    if (!title[0]) LoadStringA(GetModuleHandleA(nullptr), IDR_MAINFRAME, title, sizeof title);
    return title;
}

int ShowErrorMessage(const char* text) {
    WriteSystemLog(0, "Error Message", "%s", text);
    ShellTrace("Error Message,\"%s\"", text);
    return ZavMessageBox(MainFrameWindow(), text, AppTitleText().c_str(), MB_OK);
}

CMainFrame::CMainFrame() { m_shellHost.frame = this; }

CMainFrame::~CMainFrame() {}

HWND CMainFrame::CreateEx(HWND parent, const RECT* rect, DWORD style, DWORD exStyle, void* param) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    WindowClassArgs wc;
    wc.name = MainFrameClassName;
    wc.style = 0;
    wc.background = (HBRUSH)(COLOR_WINDOW + 1);
    wc.icon = LoadIconA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.iconSmall = (HICON)LoadImageA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0);
    if (!win::RegisterWindowClass(wc)) return nullptr;
    char title[256] = {};
    LoadStringA(inst, IDR_MAINFRAME, title, sizeof title);
    CreateArgs a;
    a.className = MainFrameClassName;
    a.title = title;
    a.style = style ? style : (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    a.exStyle = exStyle ? exStyle : (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
    a.parent = parent;
    if (rect) a.SetRect(*rect);
    a.menu = LoadMenuA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME));
    a.param = param;
    if (!CFrameWindow::Create(a)) return nullptr;
    if (m_accel.Load("ZavIrurer.key") >= 0) m_hAccel = m_accel.Handle();
    m_modelessDialog = nullptr;
    return m_hWnd;
}

int StartFrameCommandSystem(HWND frame) {
    auto* main = dynamic_cast<CMainFrame*>(CWindowBase::FromHandle(frame));
    if (!main) return 0;
    // The host-interface objects work for this frame from now on, with the
    // shortcut table it loaded at its creation.
    return CommandSystemInit(frame, main->m_commandHost, main->m_hAccel, &main->m_accel);
}

// --- Routing -------------------------------------------------------------------------
BOOL CMainFrame::RouteCommand(WPARAM& wParam, LPARAM& lParam, LRESULT& result) {
    result = 0;
    int buttonId = 0;
    if (!m_toolbars.MapButtonCommand(wParam, lParam, buttonId)) return TRUE;  // dropped
    if (IsWindowHandle(lParam)) lParam = 0;
    const int id = LOWORD(wParam);

    // No drawing open: ids from 5000 on are dropped, except the pane and
    // status-bar toggles, About, and the commands the system itself started.
    if (m_hWnd && NeedsDrawing(id) && !GetActiveView()) {
        bool allowed = IsPaneToggle(id) || id == ID_APP_ABOUT || id == ID_VIEW_STATUS_BAR;
        if (!allowed && !TakeSystemCommand(id)) return TRUE;
    }
    LastActivityTime = GetTickCount();
    FileBackup().StampActivity();

    const bool accepting = ::SendMessageA(m_hWnd, UM_END_ACK_FLAG, 1, 0) != 0;
    if (id == ID_SVC_SETTINGS && !accepting) return TRUE;
    if (IsExecutorCommand(id)) {
        if (!accepting) return TRUE;
        ShellTrace("ExecCmd %d %s", id, ArgText(lParam).c_str());
        if (::SendMessageA(m_hWnd, UM_EXEC_CMD, wParam, lParam) == 1) return TRUE;
        if (!IsWindowVisible() || LaunchKind() != 0) {
            ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;  // the frame's own entry for the id runs
    }
    if (IsServiceCommand(id)) {
        return RunServiceCmd(m_hWnd, wParam, lParam) == 1 ? TRUE : FALSE;
    }
    if (IsPanelCommand(id)) {
        return ExecPanelInterruptCmd(m_hWnd, wParam, lParam) == 1 ? TRUE : FALSE;
    }
    if (m_hWndMDIClient) {
        HWND child = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0);
        if (child) ::SendMessageA(child, WM_COMMAND, wParam, lParam);
    }
    return FALSE;
}

// --- Main loop filter and idle -------------------------------------------------------------
BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (m_modelessDialog && ::IsWindow(m_modelessDialog) && IsDialogMessageA(m_modelessDialog, pMsg)) return TRUE;
    // Keys typed into a panel's editor, combo or list belong to it: no
    // shortcut or accelerator may take them first.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && IsPanelKeyTarget(pMsg->hwnd)) return FALSE;
    int keys = GetCadSystem().PreTranslateKeys(m_hWnd, pMsg, &m_accel);
    if (keys == 1 || keys == -1) return TRUE;
    if (m_hWndMDIClient) {
        if (m_hAccel && TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg)) return TRUE;
        if (TranslateMDISysAccel(pMsg)) return TRUE;
    }
    if (m_hWndMDIClient) {
        HWND child = (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0);
        if (child && ::SendMessageA(child, WM_FORWARDMSG, 0, (LPARAM)pMsg)) return TRUE;
    }
    return FALSE;
}

void CMainFrame::SetCheck(UINT id, bool on) { m_ui.UISetCheck(id, on ? 1 : 0); }

BOOL CMainFrame::OnIdle() {
    // Bars rebuilt since the last idle time are taken in; gone ones dropped.
    for (size_t i = 0; i < kToolbarGroupCount; ++i)
        m_ui.UIAddToolBar(m_toolbars.ToolbarWindow((int)i));
    m_ui.UIUpdateToolBar();
    m_ui.UIUpdateStatusBar();
    m_cmdBar.UpdateMdiButtons();
    bool bandShown = false;
    if (HWND rebar = m_toolbars.Rebar()) {
        int index = (int)::SendMessageA(rebar, RB_IDTOINDEX, kFirstBandId + 1, 0);
        if (index >= 0) {
            REBARBANDINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = RBBIM_STYLE;
            ::SendMessageA(rebar, RB_GETBANDINFOA, index, (LPARAM)&info);
            bandShown = !(info.fStyle & RBBS_HIDDEN);
        }
    }
    SetCheck(ID_VIEW_TOOLBAR, bandShown);
    SetCheck(ID_VIEW_STATUS_BAR, m_statusBar.m_hWnd && m_statusBar.IsWindowVisible());
    for (int i = 0; i < 4; ++i)
        SetCheck(ID_PANE_FIRST + i, m_panes[i] && ::IsWindowVisible(m_panes[i]));
    return FALSE;
}

// --- Creation ---------------------------------------------------------------------------------
int CMainFrame::OnCreate() {
    // A new main frame starts a new run: no close is under way.
    ApplicationClosingFlag = 0;
    DrawingEventClosingFlag = 0;
    CadwinHost().mainFrameClosing = 0;
    ShellSettingValues& settings = ShellSettings();
    ::SetTimer(m_hWnd, kTimerId, settings.TIMESTEP, nullptr);
    m_blinkPeriod = settings.TIMESTEP;
    m_lastBlink = GetTickCount();

    // The menu bar: the command bar takes the window's menu over.
    HWND cmdBar = m_cmdBar.Create(m_hWnd);
    HMENU resourceMenu = GetMenu();
    ::SetMenu(m_hWnd, nullptr);
    if (resourceMenu) DestroyMenu(resourceMenu);

    if (m_toolbars.Create(m_hWnd, cmdBar)) m_hWndToolBar = m_toolbars.Rebar();

    RECT sbRect = {0, 0, 200, 30};
    m_statusBar.Create(m_hWnd, sbRect);
    m_hWndStatusBar = m_statusBar.m_hWnd;

    CMainMenu& menu = GetCadSystem().m_mainMenu;
    menu.LoadDefault();
    m_cmdBar.AttachMenu(menu.Handle());

    // The Window menu joins the client as the first drawing window activates.
    MDIClientArgs mdi;
    mdi.id = 0xE900;
    mdi.firstChildId = 0xFF00;
    CreateMDIClient(mdi);
    CadwinHost().installWindowMenu = InstallDrawingWindowMenu;
    ::SetWindowPos(m_hWndMDIClient, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_hWndClient = m_hWndMDIClient;
    SetMdiClientWindow(m_hWndMDIClient);
    m_cmdBar.TrackMDIClient(m_hWndMDIClient);

    for (int id : kUpdateUiIds)
        m_ui.UIAdd(id, UPDUI_MENUPOPUP);
    for (size_t i = 0; i < kToolbarGroupCount; ++i)
        m_ui.UIAddToolBar(m_toolbars.ToolbarWindow((int)i));
    m_ui.UIAddStatusBar(m_statusBar.m_hWnd);
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_PANE_COMMAND_MENU, ID_PANE_BASIC, ID_PANE_COMMAND_MENU2})
        SetCheck(id, true);
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    DragAcceptFiles(m_hWnd, TRUE);
    return 0;
}

LRESULT CMainFrame::OnCreatePanes(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_showCmd = SW_SHOWNORMAL;
    OnCreate();
    // The docking frame is set up here rather than by its own WM_CREATE, so
    // that the panes can dock before the frame's start-up is posted.
    InitializeDockingFrame();
    CreatePanes();
    ShellTrace("MainFrame created");
    ::PostMessageA(m_hWnd, UM_MAINFRAME_INIT, 0, 0);
    return 0;
}

void CMainFrame::CreatePanes() {
    const int* pages = GetCadSystem().m_LocalSettingsSetup.iCmdPanelCurrPage;
    m_cmdPane.reset(CreateCmdPanelPane(m_hWnd, 0, pages[0]));
    if (m_cmdPane) m_panes[0] = m_cmdPane->m_hWnd;
    int thickness[4];
    StoredPaneThicknesses(200, thickness);
    m_appPane.reset(CreateAppPanelPane(m_hWnd, thickness[1]));
    if (m_appPane) m_panes[2] = m_appPane->m_hWnd;
    GetCadSystem().m_appPanelWindow = m_panes[2];
    m_toolPane.reset(CreateToolPanelPane(m_hWnd, thickness[2]));
    if (m_toolPane) m_panes[1] = m_toolPane->m_hWnd;
    m_cmdPane2.reset(CreateCmdPanelPane(m_hWnd, 1, pages[1]));
    if (m_cmdPane2) m_panes[3] = m_cmdPane2->m_hWnd;
    BuildMainLayoutState(m_layoutState, m_hWnd, m_toolbars.Rebar(), LayoutPanes());
    RedrawFrame();
}

MainPanes CMainFrame::LayoutPanes() const {
    MainPanes panes;
    const int order[4] = {0, 2, 1, 3};
    for (int i = 0; i < 4; ++i) {
        HWND pane = m_panes[order[i]];
        panes.pane[i] = pane ? dynamic_cast<zav::CDockingWindowBaseImpl*>(CWindowBase::FromHandle(pane)) : nullptr;
    }
    return panes;
}

HWND CMainFrame::PanelWindow(int i) const {
    if (i < 0 || i > 3 || !m_panes[i] || !::IsWindow(m_panes[i])) return nullptr;
    return ::GetDlgItem(m_panes[i], (i == 0 || i == 3) ? 0 : 200);
}

LRESULT CMainFrame::OnMainFrameInit(UINT, WPARAM, LPARAM, BOOL&) {
    ShellTrace("MainFrameInit");
    if (LaunchMode >= 1 && LaunchMode <= 5) m_showCmd = SW_HIDE;
    // Without a stored layout the frame starts maximised.
    // SW_SHOWDEFAULT is a normal start given by the starter of the process.
    if (m_showCmd == SW_SHOWNORMAL || m_showCmd == SW_SHOWDEFAULT) {
        int mdiMaximized = 0;
        const int perUser = Running().bWindowSz;
        const bool restored = RestoreMainLayout(GetConfigMainPath(perUser), m_layoutState, LayoutPanes(),
                                                &mdiMaximized, perUser != 0) == 1;
        // The stored bands bring back their order, sizes and the bar hidden
        // from the View menu; a toolbar the toolbar settings hide stays hidden.
        if (restored) m_toolbars.SettleRestoredBands();
        ShellTrace("Layout %s", restored ? "restored" : "default");
        // New drawing windows open maximised when they were at the last close.
        if (restored) CadwinHost().rememberedMaximized = mdiMaximized ? 1 : 0;
        m_showCmd = restored && LaunchKind() == 0 ? SW_SHOW : SW_SHOWMAXIMIZED;
    }
    if (!IsWindowVisible()) {
        if (m_showCmd == SW_SHOWMAXIMIZED)
            ShowMaximizedFromHidden();
        else
            ShowWindow(m_showCmd);
    }
    if (HWND panel = ToolPanelWindow()) ::PostMessageA(panel, WM_USER, 0, 0);
    if (GetCadSystem().SubInitialize(m_hWnd, m_statusBar.m_hWnd, m_cmdLine.c_str()) < 0)
        ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
    if (::IsWindow(m_hWnd)) {
        UpdateLayout();
        GetCadSystem().EnableCmdPanelTips(ShellSettings().bToolHlp);
    }
    return 0;
}

void CMainFrame::ShowMaximizedFromHidden() {
    // Maximising straight from the created size makes the bands, panes and
    // drawing area lay themselves out twice, the second time on screen with
    // every repaint that brings. Sized first to the rectangle maximising
    // gives, the frame shows with its layout already settled.
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    const bool placed = ::GetWindowPlacement(m_hWnd, &wp) != 0;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    if (!placed || !::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi)) {
        ShowWindow(SW_SHOWMAXIMIZED);
        return;
    }
    // A maximised frame hangs its side and bottom borders off the work area;
    // the caption stays inside it.
    const RECT win = GetWindowRect();
    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    const RECT client = GetClientRect();
    const int side = origin.x - win.left;
    const int bottom = win.bottom - (origin.y + client.bottom);
    const RECT& work = mi.rcWork;
    m_layOutHidden = true;
    ::SetWindowPos(m_hWnd, nullptr, work.left - side, work.top - side, (work.right - work.left) + 2 * side,
                   (work.bottom - work.top) + side + bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(SW_SHOWMAXIMIZED);
    m_layOutHidden = false;
    // Restoring goes back to the size the frame was created with. The
    // maximised corner is given as it now stands (in work-area coordinates);
    // a system that pulls a corner off the screen back onto it has the
    // frame put back where maximising placed it.
    const RECT maxed = GetWindowRect();
    wp.ptMaxPosition.x = maxed.left - (work.left - mi.rcMonitor.left);
    wp.ptMaxPosition.y = maxed.top - (work.top - mi.rcMonitor.top);
    wp.showCmd = SW_SHOWMAXIMIZED;
    wp.flags = 0;
    ::SetWindowPlacement(m_hWnd, &wp);
    const RECT placedRect = GetWindowRect();
    if (placedRect.left != maxed.left || placedRect.top != maxed.top)
        ::SetWindowPos(m_hWnd, nullptr, maxed.left, maxed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Close and destroy ------------------------------------------------------------------------
bool CMainFrame::CloseDrawingWindows() {
    if (!m_hWndMDIClient) return true;
    CadwinHostLinks& host = CadwinHost();
    host.closingAllDrawings = 1;
    std::vector<HWND> frames;
    for (HWND w = ::GetWindow(m_hWndMDIClient, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (!::GetWindow(w, GW_OWNER)) frames.push_back(w);
    bool closed = true;
    for (HWND w : frames) {
        if (!::IsWindow(w)) continue;
        int veto = 0;
        ::SendMessageA(w, WM_CLOSE, 100, (LPARAM)&veto);
        if (veto || ::IsWindow(w)) {
            closed = false;
            break;
        }
    }
    host.closingAllDrawings = 0;
    return closed;
}

void CMainFrame::RunDestroyCommand(bool saved) {
    int id = DestroyCommandId();
    if (!id) return;
    static std::string text;
    text = CommandLine.startSwitchText + (saved ? "/Save1" : "/Save0");
    ShellTrace("DESTROY %d %s", id, text.c_str());
    AllowSystemCommand(id);
    ::SendMessageA(m_hWnd, WM_COMMAND, (WPARAM)id, (LPARAM)text.c_str());
}

LRESULT CMainFrame::OnClose(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    ShellTrace("OnClose");
    int* pages = GetCadSystem().m_LocalSettingsSetup.iCmdPanelCurrPage;
    if (m_cmdPane && m_cmdPane->m_hWnd) pages[0] = m_cmdPane->Panel().GetCurrentPage();
    if (m_cmdPane2 && m_cmdPane2->m_hWnd) pages[1] = m_cmdPane2->Panel().GetCurrentPage();
    if (Running().bWindowSz && IsWindowVisible()) StoreLayout();
    CloseSequence(wParam, lParam);
    return 0;
}

void CMainFrame::StoreLayout() {
    const int kind = LaunchKind();
    if (kind == 2) return;
    int maximized = 0;
    HWND active = m_hWndMDIClient ? (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&maximized)
                                  : nullptr;
    // Without a drawing window the state the next one would open in is kept.
    if (!active) maximized = CadwinHost().rememberedMaximized;
    const int written = SaveMainLayout(m_layoutState, LayoutPanes(), maximized, kind != 0);
    ShellTrace("Layout saved %d", written);
}

void CMainFrame::RecordCaptionBits() {
    int& bits = panedock::CaptionBits();
    const int bitOf[4] = {4, 1, 2, 8};
    for (int i = 0; i < 4; ++i) {
        if (!m_panes[i] || !::IsWindow(m_panes[i])) continue;
        if ((::GetWindowLongA(m_panes[i], GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
            bits |= bitOf[i];
        else
            bits &= ~bitOf[i];
    }
}

void CMainFrame::CloseSequence(WPARAM wParam, LPARAM lParam) {
    RecordCaptionBits();
    // A command that waits for input runs inside its module, in a message loop
    // below this handler: the frame must outlive it. The command is ended
    // first; the close comes back once it has returned.
    if (IsAnyCmdRunning()) {
        ::SendMessageA(m_hWnd, UM_END_CMD, 0, 0);
        if (!m_closeWaiting) {
            m_closeWaiting = true;
            m_closeRetries = 0;
            m_closeWParam = wParam;
            m_closeLParam = lParam;
            ::SetTimer(m_hWnd, kCloseRetryTimerId, kCloseRetryMs, nullptr);
        }
        return;
    }
    m_closing = true;
    ApplicationClosingFlag = 1;
    CadwinHost().mainFrameClosing = 1;
    if (!CloseDrawingWindows()) {
        m_closing = false;
        ApplicationClosingFlag = 0;
        CadwinHost().mainFrameClosing = 0;
        ShellTrace("Close cancelled");
        return;
    }
    RunDestroyCommand(DrawingSavedFlag != 0);
    DestroyWindow();
}

// Timer of a close that waits for the running command to return.
void CMainFrame::OnCloseRetryTimer() {
    if (IsAnyCmdRunning()) {
        if (++m_closeRetries < kCloseRetryLimit) return;
        // The command ignores its end: the application stays open rather than
        // pulling the window from under it. Closing again retries.
        ::KillTimer(m_hWnd, kCloseRetryTimerId);
        m_closeWaiting = false;
        WriteSystemLog(0, "Warning", "終了時にコマンドがメモリに残っています EndCount=%ld", (long)m_closeRetries);
        ShellTrace("Close cancelled: command still running");
        return;
    }
    ::KillTimer(m_hWnd, kCloseRetryTimerId);
    m_closeWaiting = false;
    ::PostMessageA(m_hWnd, WM_CLOSE, m_closeWParam, m_closeLParam);
}

LRESULT CMainFrame::OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&) {
    // Logging off: the drawings are closed with their save questions; a veto
    // keeps the session (and the drawings) alive.
    ShellTrace("QueryEndSession");
    if (IsAnyCmdRunning()) ::SendMessageA(m_hWnd, UM_END_CMD, 0, 0);
    if (!CloseDrawingWindows()) return FALSE;
    return TRUE;
}

LRESULT CMainFrame::OnEndSession(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam) {
        // The session ends: shut down in order so that the settings are saved.
        RunDestroyCommand(DrawingSavedFlag != 0);
        DestroyWindow();
    }
    return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ShellTrace("OnDestroy");
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    ::KillTimer(m_hWnd, kTimerId);
    ::KillTimer(m_hWnd, kCloseRetryTimerId);
    m_cmdBar.AttachMenu(nullptr);
    PostQuitMessage(0);
    handled = FALSE;
    return 0;
}

// --- Timer, sizes, menus ------------------------------------------------------------------------
LRESULT CMainFrame::OnTimer(UINT, WPARAM id, LPARAM, BOOL&) {
    if (id == kCloseRetryTimerId) {
        OnCloseRetryTimer();
        return 0;
    }
    HWND popups[] = {LayoutViewWindow(), LoupeWindow()};
    if (PopupFullRepaintRequest) {
        PopupFullRepaintRequest = 0;
        for (HWND w : popups)
            if (w && ::IsWindowVisible(w)) ::InvalidateRect(w, nullptr, TRUE);
    }
    CursorTimerTick();
    if (ViewClosingFlag || m_closing) return 0;
    ServePopupTimer();
    if (PopupLightRepaintRequest) {
        for (HWND w : popups)
            if (w && ::IsWindowVisible(w)) ::InvalidateRect(w, nullptr, FALSE);
        PopupLightRepaintRequest = 0;
    }
    DWORD now = GetTickCount();
    DWORD limit = m_blinkPhase == 0 ? m_blinkPeriod : 2 * m_blinkPeriod;
    if (now - m_lastBlink > limit) {
        m_blinkPhase ^= 1;
        m_lastBlink = now;
        for (HWND v = GetActiveView(); v; v = GetNextView(v))
            DrawFlaggedElements(v, m_blinkPhase);
    }
    FileBackup().CheckTimeBackup();
    return 0;
}

LRESULT CMainFrame::OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    GetCadSystem().m_mainMenu.UpdateItems((HMENU)wParam);
    OnIdle();
    handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnSize(UINT type, int, int, BOOL& handled) {
    if (IsWindowVisible() && type == SIZE_RESTORED) {
        for (HWND pane : m_panes) {
            if (pane && ::IsWindowVisible(pane)) {
                ::SendMessageA(pane, WM_COMMAND, 1011, 0);
                ::PostMessageA(pane, WM_COMMAND, 1010, 0);
            }
        }
    }
    handled = FALSE;
    return 0;
}

// --- Host messages the frame answers itself ---------------------------------------------------
LRESULT CMainFrame::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    NMHDR* nm = (NMHDR*)lParam;
    if (!nm) return 0;
    if (nm->hwndFrom == m_hWnd) {
        if (nm->code == CMD_NOTIFY_START) m_toolbars.CheckCommandButtons((int)nm->idFrom, TRUE);
        if (nm->code == CMD_NOTIFY_END) m_toolbars.CheckCommandButtons((int)nm->idFrom, FALSE);
        if (nm->code == TOOLBARS_CHANGED) m_toolbars.Rebuild(m_hWnd);
    } else if (nm->code == TTN_GETDISPINFOA) {
        // The tooltip is the text after the line break of the button's string.
        NMTTDISPINFOA* tip = (NMTTDISPINFOA*)lParam;
        static char text[256];
        text[0] = 0;
        char buf[256] = {};
        if (LoadStringA(GetModuleHandleA(nullptr), (UINT)nm->idFrom, buf, sizeof buf) > 0) {
            const char* nl = DbcsFindChar(buf, '\n');
            DbcsCopy(text, sizeof text, nl ? nl + 1 : buf);
        }
        tip->lpszText = text;
    }
    return 0;
}

LRESULT CMainFrame::OnMDIGetActive(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return m_hWndMDIClient ? ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, wParam, lParam) : 0;
}

LRESULT CMainFrame::OnCmdBusy(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    for (int i : {0, 3})
        if (HWND panel = PanelWindow(i)) ::SendMessageA(panel, msg, wParam, lParam);
    return 0;
}

static BOOL CALLBACK ResendToChild(HWND w, LPARAM lp) {
    const MSG* m = (const MSG*)lp;
    ::SendMessageA(w, m->message, m->wParam, m->lParam);
    return TRUE;
}

LRESULT CMainFrame::OnCursorSettings(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (m_hWndMDIClient) {
        MSG m = {};
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        EnumChildWindows(m_hWndMDIClient, ResendToChild, (LPARAM)&m);
    }
    return 0;
}

LRESULT CMainFrame::OnGetCmdPanel(UINT, WPARAM wParam, LPARAM, BOOL&) {
    switch (wParam) {
    case 0: return (LRESULT)PanelWindow(0);
    case 1: return (LRESULT)PanelWindow(1);
    case 2: return (LRESULT)PanelWindow(2);
    case 3: return (LRESULT)PanelWindow(3);
    case 100: return (LRESULT)StatusBarWindow();
    }
    return 0;
}

LRESULT CMainFrame::OnNcButtonDown(UINT, WPARAM, LPARAM, BOOL& handled) {
    CloseRPMenu();
    handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnGetAccelerator(UINT, WPARAM, LPARAM, BOOL&) { return (LRESULT)&m_accel; }

LRESULT CMainFrame::OnSetModelessDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (wParam != 100) return 0;
    HWND previous = m_modelessDialog;
    m_modelessDialog = (HWND)lParam;
    return (LRESULT)previous;
}

LRESULT CMainFrame::OnSysCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    UINT cmd = (UINT)(wParam & 0xFFF0);
    if (LaunchKind() != 0 && (cmd == SC_MOVE || cmd == SC_MINIMIZE || cmd == SC_MAXIMIZE || cmd == SC_RESTORE))
        return 0;
    if (cmd == SC_KEYMENU && m_cmdBar.m_hWnd) {
        // Alt+letter opens the menu of the command bar; Alt or F10 alone the first.
        if (lParam == 0 ? (m_cmdBar.TrackPopup(0), true) : m_cmdBar.OpenByMnemonic((char)lParam) != 0) return 0;
    }
    handled = FALSE;
    return 0;
}

// A second start hands over a command line too long for a global atom as
// WM_COPYDATA; it is taken like the atom of the hand-over service command.
LRESULT CMainFrame::OnCopyData(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const COPYDATASTRUCT* cds = (const COPYDATASTRUCT*)lParam;
    if (!cds || cds->dwData != ID_SVC_HAND_OVER_COMMAND_LINE) {
        handled = FALSE;
        return 0;
    }
    std::string text((const char*)cds->lpData, strnlen((const char*)cds->lpData, cds->cbData));
    TakeOverCommandLine(m_hWnd, text.c_str());
    return 1;
}

// --- Dropped files --------------------------------------------------------------------------------
HWND LockedView = nullptr;

LRESULT CMainFrame::OnDropFiles(UINT, WPARAM wParam, LPARAM, BOOL&) {
    HDROP drop = (HDROP)wParam;
    HWND view = GetActiveView();
    if (view && view == LockedView) {
        ::SetActiveWindow(m_hWnd);
        ZavMessageBox(m_hWnd, GetMessageText(IDS_WINDOW_LOCKED_NO_LOAD), "Loading...", MB_OK);
    } else {
        ::PostMessageA(m_hWnd, UM_END_CMD, 0, 0);
        if (IsIconic(m_hWnd)) ShowWindow(SW_RESTORE);
        UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            char path[MAX_PATH + 1] = {};
            if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
            ::SendMessageA(m_hWnd, UM_OPEN_DRAWING_FILE, 0, (LPARAM)path);
        }
    }
    DragFinish(drop);
    return 0;
}

// --- The frame's own command entries ------------------------------------------------------------
// F10 goes to the key interpreter of the interrupt commands, as a key of
// the layout overview and loupe pop-ups does.
LRESULT CMainFrame::OnFeedF10(WORD, WORD, HWND, BOOL&) {
    ShellTrace("Key F10");
    OnCmdKeyDown(m_hWnd, VK_F10);
    return 0;
}

LRESULT CMainFrame::OnExit(WORD, WORD, HWND, BOOL&) {
    CloseApplication(m_hWnd);
    return 0;
}

// Reached only when the executor did not carry the command out (see
// RouteCommand): the bare window-making step of the new-drawing command,
// without its dialog.
LRESULT CMainFrame::OnNewDrawing(WORD, WORD, HWND, BOOL& handled) {
    if (!NewDrawingWindow(m_hWnd, 0, nullptr, nullptr)) handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnCloseDrawing(WORD, WORD, HWND, BOOL&) {
    CloseActiveDrawing();
    return 0;
}

LRESULT CMainFrame::OnToggleToolbar(WORD, WORD, HWND, BOOL&) {
    HWND rebar = m_toolbars.Rebar();
    if (!rebar) return 0;
    int index = (int)::SendMessageA(rebar, RB_IDTOINDEX, kFirstBandId + 1, 0);
    if (index < 0) return 0;
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    ::SendMessageA(rebar, RB_GETBANDINFOA, index, (LPARAM)&info);
    bool show = (info.fStyle & RBBS_HIDDEN) != 0;
    ::SendMessageA(rebar, RB_SHOWBAND, index, show);
    SetCheck(ID_VIEW_TOOLBAR, show);
    UpdateLayout();
    return 0;
}

LRESULT CMainFrame::OnToggleStatusBar(WORD, WORD, HWND, BOOL&) {
    bool show = !m_statusBar.IsWindowVisible();
    m_statusBar.ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    SetCheck(ID_VIEW_STATUS_BAR, show);
    UpdateLayout();
    return 0;
}

static INT_PTR CALLBACK AboutProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: CWindow(dlg).CenterWindow(); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, LOWORD(wp));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

LRESULT CMainFrame::OnAbout(WORD, WORD, HWND, BOOL&) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), GetActiveWindow(), AboutProc, 0);
    return 0;
}

LRESULT CMainFrame::OnCascade(WORD, WORD, HWND, BOOL&) {
    if (m_hWndMDIClient) ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnTile(WORD, WORD, HWND, BOOL&) {
    if (m_hWndMDIClient) ::SendMessageA(m_hWndMDIClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
    return 0;
}

LRESULT CMainFrame::OnArrangeIcons(WORD, WORD, HWND, BOOL&) {
    if (m_hWndMDIClient) ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnArrowUpToViews(WORD, WORD, HWND, BOOL&) {
    if (m_hWndMDIClient) {
        MSG m = {};
        m.message = WM_COMMAND;
        m.wParam = ID_PANEL_ARROW;
        EnumChildWindows(m_hWndMDIClient, ResendToChild, (LPARAM)&m);
    }
    return 0;
}

LRESULT CMainFrame::OnTogglePane(WORD, WORD id, HWND, BOOL& handled) {
    HWND pane = m_panes[id - ID_PANE_FIRST];
    if (pane) {
        if (::IsWindowVisible(pane)) {
            ::ShowWindow(pane, SW_HIDE);
            ::SetFocus(::GetParent(pane));
        } else {
            ::ShowWindow(pane, SW_SHOW);
        }
    }
    handled = FALSE;
    return 0;
}

// --- Drawing windows ----------------------------------------------------------------------------------
namespace {

// The paper of a new drawing fitted into its view with the drawing origin
// at the paper's lower-left corner: every view mode shows the paper centred.
void FitNewDrawingAtCorner(HWND view, ViewData* data, DbInfoHead& head) {
    RECT rc = {};
    ::GetClientRect(view, &rc);
    const int margin = ShellSettings().bScTestBtn ? 60 : 20;
    double pw = head.DrawingWidth(), ph = head.DrawingHeight();
    if (!(pw > 0) || !(ph > 0)) pw = ph = 1.0;
    double scale = std::min((rc.right - margin) / pw, (rc.bottom - margin) / ph);
    // A window too small to show anything keeps the plain scale.
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1.0;
    // Each set is three doubles (offset x, offset y, scale), the frame view's
    // at an odd offset of the packed record.
    char* record = reinterpret_cast<char*>(data);
    for (size_t at :
         {offsetof(ViewData, modelOffsetX), offsetof(ViewData, paperOffsetX), offsetof(ViewData, frameOffsetX)}) {
        WriteUnalignedDouble(record + at, -pw / 2);
        WriteUnalignedDouble(record + at + 8, -ph / 2);
        WriteUnalignedDouble(record + at + 16, scale);
    }
    head.Info()->originAtCorner = 1;
}

}  // namespace

HWND CMainFrame::NewDrawingWindow(HWND, int forFile, const RECT* rect, const RECT* createRect) {
    if (FindFreeViewSlot() < 0) return nullptr;
    ++DrawingIdCounter;
    CreatingDrawingWindow = 1;
    RECT rc;
    if (rect)
        rc = *rect;
    else
        ::GetClientRect(m_hWndMDIClient, &rc);
    (void)createRect;
    auto* drawing = new CCadwinFrame;
    drawing->m_autoDelete = true;
    if (!drawing->CreateEx(m_hWndMDIClient, rect ? &rc : nullptr, nullptr)) {
        delete drawing;
        CreatingDrawingWindow = 0;
        return nullptr;
    }
    HWND view = drawing->GetViewWindow();
    if (!view) {
        drawing->DestroyWindow();
        CreatingDrawingWindow = 0;
        return nullptr;
    }
    AddViewToTable(view);
    if (!forFile) {
        ++m_untitledCount;
        char title[64];
        wsprintfA(title, "%s%d", GetMessageText(IDS_UNTITLED), m_untitledCount);
        drawing->SetWindowText(title);
        drawing->m_baseTitle = title;
        // The Window menu lists the window under its new title.
        ::SendMessageA(m_hWndMDIClient, WM_MDIREFRESHMENU, 0, 0);
    }
    drawing->ShowWindow(SW_SHOW);
    // The drawing information carries the untitled name too (a file's own
    // title replaces it when the file is read into the window).
    ViewData* data = GetViewData(view);
    if (data && data->db) {
        DbInfoHead head;
        if (DAriGetDBInfo(&head, data->db)) {
            if (Running().bPaperOrg) FitNewDrawingAtCorner(view, data, head);
            char title[64];
            wsprintfA(title, "%s%d", GetMessageText(IDS_UNTITLED), m_untitledCount);
            DbcsCopy(reinterpret_cast<char*>(head.bytes) + kInfoTitle, 257, title);
            DAriSetDBInfo(&head, data->db);
        }
    }
    CreatingDrawingWindow = 0;
    NotifyToolPanelViewChange();
    ShellTrace("NewDrawingWindow");
    return view;
}
