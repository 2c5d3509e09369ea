// Start-up phases, the loop, shut-down and the running-copy hand-over.
#include "shell/startup.h"

#include "setup/page_edit_records.h"
#include "base/message_ids.h"
#include "command/command_ids.h"
#include "shell/ui_library.h"

#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>
#include <cstring>

#include "base/file_utils.h"
#include "base/message_table.h"
#include "base/apply_settings.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "base/handover_files.h"
#include "base/local_settings_ini.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "panels/cmd_panel_editor.h"
#include "panels/panel_windows.h"
#include "panels/pbox.h"
#include "panels/rp_menu.h"
#include "panels/selector_classes.h"
#include "panels/tool_buttons.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/raster.h"
#include "view/rubber_band.h"
#include "view/view_popups.h"
#include "view/status_bar.h"
#include "shell/cad_system.h"
#include "shell/command_line.h"
#include "shell/host_services.h"
#include "shell/recent_commands.h"
#include "shell/host_messages_shell.h"
#include "shell/file_backup.h"
#include "shell/main_frame.h"
#include "shell/placement_db.h"
#include "shell/shell_seams.h"
#include "shell/calculator.h"
#include "shell/help_windows.h"
#include "shell/input_history.h"
#include "shell/splash_window.h"
#include "view/view_table.h"
#include "win/message_box.h"
#include "win/message_loop.h"

int Terminating = 0;

namespace {
// The one-shot timer that tells of a crashed run once the frame shows.
const UINT_PTR kCrashNoticeTimerId = 0x7A01;

void CALLBACK ShowCrashNoticeOnce(HWND frame, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(frame, id);
    FileBackup().ShowCrashNotice(frame);
}
}  // namespace

namespace {
UINT g_logMessage = 0;
std::string g_autoDrawing;
const size_t kMaxAtomText = 255;
const size_t kMaxHandOver = 32 * 1024;
}  // namespace

// --- Running copy ------------------------------------------------------------------------------
CMySemaphore::~CMySemaphore() {
    if (m_handle) CloseHandle(m_handle);
}

int CMySemaphore::Acquire() {
    if (m_name.empty()) {
        char exe[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        SplitPath(exe, nullptr, nullptr, &m_name, nullptr);
    }
    HANDLE h = OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, m_name.c_str());
    if (h) {
        m_handle = h;
        return 1;
    }
    h = CreateSemaphoreA(nullptr, 0, 1, m_name.c_str());
    if (!h) return -1;
    // Created by another copy between the two calls: that copy runs.
    int result = GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
    m_handle = h;
    return result;
}

CMySemaphore& RunningCopySemaphore() {
    static CMySemaphore semaphore;
    return semaphore;
}

int HandOverCommandLine(HWND running, const char* cmdLine) {
    if (!cmdLine || !*cmdLine) {
        SendMessageA(running, WM_COMMAND, ID_SVC_SECOND_START, 0);
        return 1;
    }
    size_t len = strnlen(cmdLine, kMaxHandOver);
    if (len <= kMaxAtomText) {
        ATOM atom = GlobalAddAtomA(cmdLine);
        if (atom) {
            SendMessageA(running, WM_COMMAND, ID_SVC_HAND_OVER_COMMAND_LINE, (LPARAM)atom);
            GlobalDeleteAtom(atom);
            return 1;
        }
    }
    // Too long for an atom (or no atom to be had): the text travels as data,
    // so that no file named on the command line is lost.
    COPYDATASTRUCT cds = {};
    cds.dwData = ID_SVC_HAND_OVER_COMMAND_LINE;
    std::string text(cmdLine, len);
    cds.cbData = (DWORD)text.size() + 1;
    cds.lpData = (void*)text.c_str();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(running, WM_COPYDATA, 0, (LPARAM)&cds, SMTO_NORMAL, 60000, &result) || result != 1) {
        ZavMessageBox(nullptr, GetMessageText(IDS_START_CHECK_FAILED), "ERROR", MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    return 1;
}

// --- CCadSystem::Init --------------------------------------------------------------------------
int CCadSystem::Init(HINSTANCE instance, HINSTANCE, const char* cmdLine, int) {
    m_initResult = 1;
    std::strcpy(MainFrameClassName, "Quillmar001");
    m_instance = instance;
    ShellTrace("Init");
    // Every service the lower layers borrow, before anything uses one (the
    // settings applied below hand their values to their neighbours).
    InstallHostServices();
    LaunchMode = ReadStartModeFile(0);
    g_logMessage = RegisterLogMessage();

    OSVERSIONINFOA ver = {sizeof ver};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&ver);
#pragma GCC diagnostic pop
    if (ver.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && ver.dwMajorVersion == 3) {
        ZavMessageBox(nullptr, "Windows 3.1 以前のOSでは動作しません", "エラー", MB_OK);
        return 1;
    }
    if (ver.dwPlatformId == VER_PLATFORM_WIN32_NT && ver.dwMajorVersion >= 5)
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, (PVOID)0, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);

    // Resolved forced, so that a newer installation copy reaches a user who
    // has the files already (the user's copy kept as ".bak"); a damaged file
    // is replaced by the loader itself. The records are applied once, below.
    GetConfigDataPath(true, true);
    LoadConfigData(false, nullptr);
    GetLocalSettingsPath(true, true);
    LoadLocalSettings(false, nullptr);
    ShellTrace("Settings loaded");
    m_multiBoot = m_ConfigData.MULTIBOOT;
    {
        // The largest coordinate the CAD library accepts, with its _FLG word.
        m_maxCoord = std::atof(ReadProgramIniText("CONFIG", "MAX_COORD_VALUE", "1.0e100").c_str());
        int flag = std::atoi(ReadProgramIniText("CONFIG", "MAX_COORD_VALUE_FLG", "0").c_str());
        DAriSetMaxCoord(flag, m_maxCoord);
    }

    if (HWND running = FindWindowA(MainFrameClassName, nullptr)) {
        if (m_multiBoot != 1) {
            if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
            SetWindowPos(running, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
            HandOverCommandLine(running, cmdLine);
            ShellTrace("Handed over");
            return 1;
        }
        m_anotherCopy = 1;
    }

    switch (RunningCopySemaphore().Acquire()) {
    case -1: ZavMessageBox(nullptr, GetMessageText(IDS_START_CHECK_FAILED), "ERROR", MB_OK); return 1;
    case 1:
        if (m_multiBoot == 0) {
            ZavMessageBox(nullptr, GetMessageText(IDS_ONE_INSTANCE_ONLY), GetMessageText(IDS_INSTANCE_CHECK), MB_OK);
            ShellTrace("Refused: another copy");
            return 1;
        }
        m_anotherCopy = 1;
        break;
    }

    UINT wheel = RegisterWindowMessageA("MSH_WHEELSUPPORT_MSG");
    HWND mouseZ = FindWindowA("MouseZ", "Magellan MSWHEEL");
    if (wheel && mouseZ) SendMessageA(mouseZ, wheel, 0, 0);
    for (HWND& slot : ViewTable)
        slot = nullptr;

    if (!InitSettings()) return -3;
    LoadShellSettings();
    ShellTrace("InitSettings");
    SetCmdRegistry(&m_appCmd);
    m_appCmd.ReadDefFile((ShellExeDir() + "\\CadAppCmd.def").c_str());
    ShellTrace("ReadDefFile");
    int lowResH = ShellSettings().iCmdPanelTypeLowResoH;
    if (lowResH >= 1) {
        m_cmdPanelLowRes = GetSystemMetrics(SM_CYSCREEN) <= lowResH ? 1 : 0;
        UiSetCmdPanelType(m_cmdPanelLowRes);
    }

    // The tool panel's first selector while no drawing is open, and the
    // cursors of the drawing views.
    ToolPanelNoViewSelection = 4;
    LoadViewCursors(instance);
    RegisterPanelClasses(instance);
    RegisterCalculatorClass(instance);
    OpenSystemLog();
    BuildPaperSizeTable();
    if (!ShellSettings().backupDir.empty()) {
        std::string inf = ShellSettings().backupDir;
        AppendPath(inf, "backupfile.inf");
        DeleteFileA(inf.c_str());
    }
    if (!(LaunchMode >= 1 && LaunchMode <= 5)) {
        LoadInputHistory();
        ShellTrace("LoadInputHistory");
    }
    RegisterInputScaleClass(instance);
    m_initResult = 0;
    return 0;
}

// --- CMainFrame::SubInitialize ----------------------------------------------------------------
int CCadSystem::SubInitialize(HWND frame, HWND statusBar, const char* cmdLine) {
    ShellTrace("SubInitialize");
    int result = 0;
    SetMainFrameWindow(frame);
    SetStatusBarWindow(statusBar);
    UiInitCadApi(frame);
    // The command system: its host objects, the executor's frame, DDE.
    StartFrameCommandSystem(frame);
    ShellTrace("DDE start");
    AllocRasterWorkMemory();
    ParseCommandLine(frame, cmdLine, -1);
    g_autoDrawing = ShellSettings().autoDrawing;
    if (!g_autoDrawing.empty()) PostMessageA(frame, UM_OPEN_DRAWING_FILE, 0, (LPARAM)g_autoDrawing.c_str());
    SyncSnapButtons();
    LoadRecentCommands();
    ShellTrace("LoadRecentCommands");
    if (LaunchKind() == 2) ShowWindow(frame, SW_MINIMIZE);
    if (!CreateRubberDbs()) {
        WriteSystemLog(0, "Error", "%s", "ラバーDBの初期化に失敗しました");
        ShellTrace("Error,ラバーDBの初期化に失敗しました");
        StartupStatus = -556;
        result = -556;
    }

    Terminating = 0;
    CreateViewPopups(frame);  // the hidden layout-view and loupe pop-ups
    SetActiveWindow(frame);
    UpdateWindow(frame);

    // The start command. Commands the system posts here pass the no-drawing
    // filter of the frame once.
    auto post = [&](int id, int code) {
        CMainFrame::AllowSystemCommand(id);
        PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, code), 0);
        ShellTrace("Start command %d,%d", id, code);
    };
    if (LaunchKind() == 2) {
        static const int kModeCommands[] = {20027, 21220, 21221, 21222, 21223};
        post(kModeCommands[LaunchMode - 1], 0);
        StartCommandPosted = 1;
    }
    int autoCmd = ShellSettings().AUTOCMD;
    if (autoCmd > 0 && !StartCommandPosted)
        post(autoCmd, 0);
    else if (CommandLineFileGiven)
        ;
    else if (ShellSettings().iStartOpenDlgFg)
        post(ID_CMD_START_DRAWING, 100);
    else if (!GetActiveView() && !StartCommandPosted)
        post(ID_CMD_START_DRAWING, 1);
    else
        post(ID_CMD_START_DRAWING, 100);

    // The right-click pop-up of the drawing views.
    CreateRPMenuWindow(frame, m_instance);

    // After a crash the user hears where the backups are, once the frame shows.
    if (!FileBackup().CrashNotice().empty())
        ::SetTimer(frame, kCrashNoticeTimerId, 50, ShowCrashNoticeOnce);

    // Every service is in place now: the empty ones are a fault of this
    // program and go to the log.
    CheckHostServices();

    if (result < 0)
        ZavMessageBox(frame, "システムの初期化に失敗しました。(CMainFrame::SubInitialize)\n作業を中止します。",
                      "エラー", MB_OK | MB_ICONEXCLAMATION);
    return result;
}

// --- CCadSystem::Term ------------------------------------------------------------------------------
int CCadSystem::Term(HINSTANCE instance) {
    Terminating = 1;
    ShellTrace("Term");
    if (m_initResult == 0 && StartupStatus == 0) {
        SaveInputHistory();
        ShellTrace("SaveInputHistory");
        SaveRecentCommands();
        ShellTrace("SaveRecentCommands");
        SaveUserSettingsSeam();
    }
    FreeRPMenuBuffer();
    FreeTempDb();
    FreePageEditRecords();
    CommandSystemTerm();
    ShellTrace("DDE stop");
    DAriAllFreeEBuffer();
    DeleteRubberDbs();
    FreeRasterWorkMemory();
    DestroyInputScaleWindow();
    DestroyViewPopups();
    HINSTANCE inst = instance ? instance : GetModuleHandleA(nullptr);
    UnregisterPanelClasses(inst);
    // Only the copy that set the crash flag clears it.
    FileBackup().EndSession();
    UnregisterCalculatorClass(inst);
    return 0;
}

// The window classes of the panels, their controls, the attribute selectors
// and the pop-ups; the panels and drawing windows created later need them.
void RegisterPanelClasses(HINSTANCE instance) {
    RegisterToolButtonClasses(instance);
    RegisterPBoxClasses(instance);
    RegisterLayerSelectorClasses(instance);
    RegisterColorSelectorClasses(instance);
    RegisterLineTypeSelectorClasses(instance);
    RegisterPointSelectorClasses(instance);
    RegisterLineWidthSelectorClasses(instance);
    RegisterLineStartSelectorClasses(instance);
    RegisterLineEndSelectorClasses(instance);
    RegisterRPMenuClasses(instance);
    RegisterPanelGridClass();
    // The command buttons' faces, before the first command panel.
    LoadCmdButtonImages();
    CCadSystem::RegisterViewClasses(instance);
}

void UnregisterPanelClasses(HINSTANCE instance) {
    UnregisterToolButtonClasses(instance);
    UnregisterPBoxClasses(instance);
    UnregisterLayerSelectorClasses(instance);
    UnregisterColorSelectorClasses(instance);
    UnregisterLineTypeSelectorClass(instance);
    UnregisterPointSelectorClass(instance);
    UnregisterLineWidthSelectorClass(instance);
    UnregisterLineStartSelectorClass(instance);
    UnregisterLineEndSelectorClass(instance);
    UnregisterRPMenuClasses(instance);
    UnregisterPanelGridClass();
    FreeCmdButtonImages();
    CCadSystem::UnregisterViewClasses(instance);
}

// --- Run and the process body ----------------------------------------------------------------------
int Run(const char* cmdLine, int showCmd) {
    CMessageLoop loop;
    win::AddMessageLoop(&loop);
    int result = 0;
    {
        CMainFrame frame;
        frame.m_cmdLine = cmdLine ? cmdLine : "";
        DWORD style = 0, exStyle = 0;
        if (LaunchKind() != 0) style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        if (LaunchKind() == 2) exStyle = WS_EX_TOPMOST;
        if (style || exStyle) ShellTrace("Frame style %08lX ex %08lX", style, exStyle);
        if (!frame.CreateEx(nullptr, nullptr, style, exStyle, nullptr)) {
            if (frame.m_hWnd) frame.DestroyWindow();
            win::RemoveMessageLoop();
            return 0;
        }
        frame.m_showCmd = showCmd;
        result = loop.Run();
        ShellTrace("Loop ended");
        win::RemoveMessageLoop();
        if (frame.m_hWnd && ::IsWindow(frame.m_hWnd)) frame.DestroyWindow();
    }
    return result;
}

int RunProcess(HINSTANCE instance, const char* cmdLine, int showCmd) {
    std::string line = cmdLine ? cmdLine : "";
    OleInitialize(nullptr);
    DefWindowProcA(nullptr, 0, 0, 0);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    int exitCode = 0;
    CCadSystem& system = GetCadSystem();
    if (system.Init(instance, nullptr, line.c_str(), showCmd) == 0) {
        ShowStartSplash();
        exitCode = Run(line.c_str(), showCmd);
    }
    system.Term(instance);
    // No help viewer this run opened outlives it.
    CadIntHelp().CloseHelpWindows();
    OleUninitialize();
    ShellTrace("Exit %d", exitCode);
    return exitCode;
}
