// What the command system needs from the rest of the host: the drawing
// windows, panels, setup dialogs, the application object, the settings layer,
// the system log and the CAD library. The command library sits below those
// subsystems, so it reaches them through this one table of functions, which
// the shell fills at start-up (CommandSystemInit). An empty entry means "that
// service is not there": the command system then behaves as with no drawing
// open (no view, no selection, nothing to draw), which is also what the tests
// of this library rely on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

struct CmdHostHooks {
    // --- System log and messages -----------------------------------------
    // One system-log line; category null for the lines without a category.
    std::function<void(int level, const char* category, const char* text)> writeLog;
    // The numbered error message box (also logs); text by message id.
    std::function<void(int messageId)> showErrorMessage;
    // A free-text error message box (also logs).
    std::function<void(const char* text)> showErrorText;

    // --- Application object -------------------------------------------------
    std::function<int()> launchKind;              // 0 normal start
    std::function<std::string()> appTitleText;    // caption of the main frame
    std::function<void*()> appObject;             // the CCadSystem, for modules
    std::function<int()> language;                // LANGUAGE setting
    std::function<int()> safeGuard;               // SAFE setting (1: guard StartCmd)
    std::function<int()> rightButtonMode;         // RMOUSE setting
    std::function<int()> undoLevel;               // iUndoCount setting
    std::function<std::string()> layerPatternFile;  // szLPatRd setting
    std::function<BOOL(HWND frame, HACCEL table, MSG* msg)> translateAccel;

    // --- Windows known to the shell -------------------------------------------
    std::function<HWND()> statusBarWindow;
    std::function<HWND()> mdiClientWindow;

    // --- Drawing windows ------------------------------------------------------
    std::function<HWND()> activeView;                 // null: no drawing open
    std::function<int()> activeViewReadOnly;          // 1: opened read-only
    std::function<int()> activeDrawingHasSelection;
    std::function<void()> focusActiveView;
    std::function<void()> showElementCount;           // prompt bar element count
    std::function<void(int enable)> enableInputScale; // input-scale combo box
    std::function<void()> inputScaleBlockingOff;
    std::function<void()> updateRubberBandErase;      // erase the band of the active view
    std::function<void()> unlockInput;
    std::function<int()> loupeFlag;
    std::function<void()> clearLoupeFlag;
    std::function<int()> gridSnapOn;
    std::function<int()> keyboardCursorMode;
    std::function<void(double pt[3])> getCursorWorldPoint;
    std::function<void(double pt[3])> getInputCursorPoint;
    std::function<void(double pt[3])> getGridSnappedCursorPoint;
    std::function<void(int mode)> drawInputBasePoint;
    std::function<void(int* layer, int* page)> overviewPick;
    std::function<void(int countChange)> refreshPopups;
    // UM_SET_EPS: the tolerances and number display settings (request record).
    std::function<LRESULT(WPARAM, LPARAM request)> setDbEpsilon;

    // --- Panels -------------------------------------------------------------
    std::function<void()> closeRightClickPopup;
    std::function<int()> rightClickPopupOpen;
    std::function<void()> resetRightClickEntries;
    std::function<void()> clearPanelPages;
    std::function<unsigned()> snapModeFlags;
    std::function<void(int id, const char* name)> pushRecentCommand;

    // --- Point searches and picking (snap services) ------------------------
    // kind: 1 end point, 2 intersection, 3 centre, 4 mid point, 5 on line.
    // Each takes the point in pt and writes the found point back; 1 found.
    std::function<int(int kind, double pt[3])> snapSearch;
    // Element search at the point; returns the element or 0.
    std::function<uint32_t(const double pt[3], int lockedLayers)> pickElement;
    std::function<int()> getLockLayerSearchMode;
    std::function<void(int mode)> setLockLayerSearchMode;

    // --- CAD library ---------------------------------------------------------
    std::function<void()> fastAccessOn;      // on + clear undo + recording off
    std::function<void()> fastAccessOff;     // off + recording back to the setting
    std::function<void(uint32_t mark)> destroyMark;
    std::function<int(LPARAM mode)> setElementCheckMode;

    // --- Backups -------------------------------------------------------------
    std::function<void()> countCommandForBackup;
    std::function<void()> backupModified;

    // --- Dialogs and other services served elsewhere -------------------------
    std::function<LRESULT(WPARAM, LPARAM)> yesNoPlain;
    std::function<LRESULT(WPARAM, LPARAM)> yesNoCancel;
    std::function<LRESULT(WPARAM, LPARAM)> rasterFunc;
    // A system command's action (dialogs, save, new drawing ...): returns
    // the executor's result for entries whose action decides it (4008),
    // -1 when the action is not available.
    std::function<int(int id, HWND owner, DWORD word)> systemCommand;
    // DDE "{Open(" and "{FM9002(": opens a drawing file that no window shows.
    // Empty: UM_OPEN_DRAWING_FILE is sent to the frame.
    std::function<int(const char* path)> ddeOpenDrawing;
    std::function<void()> clearServiceWait;

    // --- Settings layer --------------------------------------------------------
    std::function<std::string(const char* section, const char* key, const char* def)> readSettingText;
    std::function<int(const char* section, const char* key, const char* value)> writeSettingText;
    // section with a null key: the key names, each zero-terminated (INI sections).
    std::function<std::string(const char* section)> readSettingSection;
    std::function<std::string(const char* section, const char* key, const char* def)> readCmdIniString;
    std::function<int(const char* section, const char* key, const char* value)> writeCmdIniString;
    std::function<std::string(const char* key)> readSettingFileName;
    std::function<int(const char* section, const char* key, const char* def, char* buffer,
                      int size, const char* fileSpec)> readSettingString;
    std::function<int(const char* section, const char* key, const char* value,
                      const char* fileSpec)> writeSettingString;
};

// The table in force; empty entries until set.
CmdHostHooks& HostHooks();

// Fills the entries served by the drawing windows, panels and the CAD
// library. The shell adds its own after this call: the running settings
// (LANGUAGE, SAFE, RMOUSE, iUndoCount, szLPatRd, the title), log, error
// boxes, application object, launch kind, accelerators, MDI client,
// backups, dialogs and settings files.
void InstallHostServices();

// Convenience calls that fall back to the "not there" answer.
void CmdLog(int level, const char* category, const char* format, ...);
HWND CmdActiveView();
HWND CmdStatusBar();
