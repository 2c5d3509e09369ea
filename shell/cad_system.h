// The application object: one for the whole run, reached through
// GetCadSystem. It owns the menu bar object and the process-wide states of
// the shell, and offers the key pre-translation of the main message loop,
// the accelerator translation of nested command loops and the panel colours.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/paper_sizes.h"
#include "base/settings_files.h"
#include "command/cad_app_cmd.h"
#include "shell/main_menu.h"

class CMainAccelerator;


// One row of button colours (text, background, disabled).
struct ButtonColors {
    COLORREF text, background, disabled;
};

// The settings records are its first part (CCadSystemSettings).
class CCadSystem : public CCadSystemSettings {
public:
    CCadSystem();

    // Start-up phases and shut-down (process entry).
    int Init(HINSTANCE instance, HINSTANCE previous, const char* cmdLine, int showCmd);
    int SubInitialize(HWND frame, HWND statusBar, const char* cmdLine);
    int Term(HINSTANCE instance);

    // Key pre-translation of the main loop: 1 handled, -1 swallowed, 0 not.
    int PreTranslateKeys(HWND frame, MSG* msg, CMainAccelerator* accel);
    int PreTranslateKeyDown(HWND frame, MSG* msg);
    int PreTranslateChar(HWND frame, MSG* msg);
    // Accelerator translation for nested command loops; never for the
    // application panel's in-place edit field.
    int TranslateAccel(HWND window, HACCEL accel, MSG* msg);

    void EnableCmdPanelTips(int on);
    void SetCurrentPageLayer(int page, int layer);

    static int RegisterViewClasses(HINSTANCE instance);
    static void UnregisterViewClasses(HINSTANCE instance);

    int m_multiBoot = 0;
    int m_anotherCopy = 0;
    CCadAppCmd m_appCmd;  // the command registry
    HWND m_appPanelWindow = nullptr;
    CMainMenu m_mainMenu;
    int m_keyCursorMode = 0;
    double m_maxCoord = 1e100;
    int m_currentPage = 0;
    int m_currentLayer = 0;
    int m_drawingWindowsMaximized = 0;
    HINSTANCE m_instance = nullptr;
    int m_windowSizePreset = -1;
    int m_cmdPanelLowRes = 0;
    int StartupStatus = 0;
    int m_initResult = 1;  // what Init returned (Term saves only after 0)
};

CCadSystem& GetCadSystem();

// The main frame's windows (null until set), kept in their one home of the
// command system (command/command_system.h).
HWND MainFrameWindow();
HWND StatusBarWindow();
HWND MdiClientWindow();
void SetMainFrameWindow(HWND w);
void SetStatusBarWindow(HWND w);
void SetMdiClientWindow(HWND w);

// Launch mode from "to_cad.atr" and its kind (0 normal, 1 modes 99/0,
// 2 modes 1-5, 3 mode 10).
extern int LaunchMode;
int LaunchKind();
int IsCmdPanelLowRes();

COLORREF GetPanelColor();
COLORREF GetButtonBackColor(int kind);
COLORREF GetButtonTextColor(int kind);
COLORREF GetButtonDisabledColor(int kind);
int ButtonColorRow(int kind);
// The colours of a row of COLOR_BTN_ATTR (0 to 19).
ButtonColors ButtonColorsOfRow(int row);
void DrawColorButton(const DRAWITEMSTRUCT* item);
void DrawColorButtonByKind(const DRAWITEMSTRUCT* item, int kind);

// Keyboard-scroll mode of the interrupt commands (arrow keys scroll).
extern int KeyboardScrollMode;
// The two application-panel windows whose keys never reach the main loop,
// and its in-place edit field (set by the application panel).
extern HWND AppPanelListPopup;
extern HWND AppPanelFocusItem;
extern HWND AppPanelEditField;
