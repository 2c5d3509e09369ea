// What the command system needs from the rest of the host: the drawing
// windows, panels, setup dialogs, the application object, the settings layer,
// the system log and the CAD library. The command library sits below those
// subsystems, so it reaches them through this one table of functions.
//
// The table is one list (CMD_HOST_SERVICES): it declares the members and lets
// EmptyHostServices name the entries nobody filled. In the running program
// the shell fills every entry at start-up (InstallHostServices in
// shell/host_services.h) and logs each one left empty, which a whole-program
// test treats as a failure. Unit tests of this library fill only what they
// need: there an empty entry stands for "that service is not there" (no view,
// no selection, nothing to draw).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// X(name, signature, what it serves)
#define CMD_HOST_SERVICES(X)                                                                          \
    /* --- System log and messages ------------------------------------------------------ */       \
    X(writeLog, void(int level, const char* category, const char* text),                              \
      "one system-log line; category null for the lines without one")                                 \
    X(showErrorMessage, void(int messageId), "the numbered error message box (also logs)")            \
    X(showErrorText, void(const char* text), "a free-text error message box (also logs)")             \
    /* --- Application object ------------------------------------------------------------ */       \
    X(launchKind, int(), "0 normal start, 1-3 the launch kinds of the hand-over file")                \
    X(appTitleText, std::string(), "the application title (caption of the main frame)")               \
    X(appObject, void*(), "the application object, for modules")                                      \
    X(language, int(), "the LANGUAGE setting")                                                         \
    X(safeGuard, int(), "the SAFE setting (1: guard StartCmd)")                                        \
    X(rightButtonMode, int(), "the RMOUSE setting")                                                    \
    X(undoLevel, int(), "the iUndoCount setting: undo levels recorded per drawing")                   \
    X(layerPatternFile, std::string(), "the szLPatRd setting")                                         \
    X(translateAccel, BOOL(HWND frame, HACCEL table, MSG * msg),                                       \
      "accelerator translation of nested loops")                                                       \
    /* --- Windows known to the shell ---------------------------------------------------- */       \
    X(statusBarWindow, HWND(), "the prompt bar")                                                       \
    X(mdiClientWindow, HWND(), "the MDI client of the main frame")                                     \
    /* --- Drawing windows --------------------------------------------------------------- */       \
    X(activeView, HWND(), "the active drawing view; null when no drawing is open")                    \
    X(activeDb, void*(), "the database header of the active view's drawing, or null")                 \
    X(activateView, HWND(HWND view), "activates the drawing frame of a view; the view active before") \
    X(activeViewReadOnly, int(), "1 when the active drawing was opened read-only")                    \
    X(activeDrawingHasSelection, int(), "1 when the active drawing still holds selected elements")    \
    X(focusActiveView, void(), "keyboard focus to the active view")                                    \
    X(showElementCount, void(), "prompt bar: element count of the active drawing")                     \
    X(enableInputScale, void(int enable), "the input-scale combo box on or off")                       \
    X(inputScaleBlockingOff, void(), "ends the input-scale blocking")                                  \
    X(updateRubberBandErase, void(), "erases the rubber band of the active view")                      \
    X(unlockInput, void(), "releases the input lock of the views")                                     \
    X(loupeFlag, int(), "1 when the last input came from the loupe")                                   \
    X(clearLoupeFlag, void(), "clears the loupe flag")                                                 \
    X(gridSnapOn, int(), "1 while the tool panel's grid snap is on")                                   \
    X(keyboardCursorMode, int(), "1 while the drawing cursor is moved by keys")                        \
    X(getCursorWorldPoint, void(double pt[3]), "the cursor point in drawing units")                    \
    X(getInputCursorPoint, void(double pt[3]), "the cursor point for input (the loupe's point)")       \
    X(getGridSnappedCursorPoint, void(double pt[3]), "the cursor point on the grid")                   \
    X(drawInputBasePoint, void(int mode), "mode 0 hides the input base-point mark, 3 draws it")        \
    X(overviewPick, void(int* layer, int* page), "the layer and page of the last overview click")     \
    X(drawingRectToClient, int(void* request),                                                         \
      "world rectangle (+0x28) to client rectangle (+0x2c) of view +0x24")                             \
    X(setDbEpsilon, LRESULT(WPARAM, LPARAM request),                                                   \
      "UM_SET_EPS: the tolerances and number display settings (request record)")                      \
    /* --- Panels ------------------------------------------------------------------------- */      \
    X(closeRightClickPopup, void(), "closes the right-click pop-up")                                   \
    X(rightClickPopupOpen, int(), "1 while the right-click pop-up is shown")                           \
    X(resetRightClickEntries, void(), "drops the running command's right-click entries")               \
    X(clearPanelPages, void(), "closes every page of the application panel")                           \
    X(pushRecentCommand, void(int id, const char* name), "records a command on the recent list")      \
    /* --- Point searches and picking ---------------------------------------------------- */       \
    X(snapSearch, int(int kind, double pt[3]),                                                         \
      "kind 1 end point, 2 intersection, 3 centre, 4 mid point, 5 on line: takes the point in pt "   \
      "and writes the found one back; 1 found")                                                        \
    X(pickElement, uint32_t(const double pt[3], int lockedLayers),                                     \
      "the element picked at the point, or 0")                                                         \
    X(getLockLayerSearchMode, int(), "the library's locked-layer search mode")                         \
    X(setLockLayerSearchMode, void(int mode), "sets the locked-layer search mode")                     \
    /* --- CAD library -------------------------------------------------------------------- */      \
    X(fastAccessOn, void(), "fast access on, undo steps of the active drawing cleared, recording off") \
    X(fastAccessOff, void(), "fast access off, undo recording back to the undo level")                \
    X(destroyMark, void(uint32_t mark), "frees a mark list of the library")                            \
    X(setElementCheckMode, int(LPARAM mode), "the library's element check; its previous mode")        \
    /* --- Backups ------------------------------------------------------------------------ */      \
    X(countCommandForBackup, void(), "counts a command for the count-triggered backup")                \
    X(backupModified, void(), "backs up every modified drawing now")                                   \
    /* --- Dialogs and other services ---------------------------------------------------- */       \
    X(yesNoPlain, LRESULT(WPARAM, LPARAM), "the plain yes/no question: 0 no, 1 otherwise")            \
    X(yesNoCancel, LRESULT(WPARAM, LPARAM), "the yes/no/cancel question: 1 yes, 2 cancel, 0 no")      \
    X(rasterFunc, LRESULT(WPARAM, LPARAM), "a raster-image operation on a request")                    \
    X(systemCommand, int(int id, HWND owner, DWORD word),                                              \
      "the action of a system command (dialogs, save, new drawing ...): the executor's result for "  \
      "entries whose action decides it (4008), -1 when the action is not there")                      \
    X(ddeOpenDrawing, int(const char* path),                                                           \
      "DDE \"{Open(\" and \"{FM9002(\": activates the drawing's window or opens the file")             \
    /* --- Settings layer ---------------------------------------------------------------- */       \
    X(readSettingText, std::string(const char* section, const char* key, const char* def),             \
      "a setting by section and key (SYSTEM: ConfigData.xml, others: ProgramIni)")                    \
    X(writeSettingText, int(const char* section, const char* key, const char* value),                  \
      "writes a setting by section and key")                                                           \
    X(readSettingSection, std::string(const char* section),                                            \
      "the key names of a ProgramIni section, each zero-terminated")                                   \
    X(readCmdIniString, std::string(const char* section, const char* key, const char* def),            \
      "a value of the command INI")                                                                    \
    X(writeCmdIniString, int(const char* section, const char* key, const char* value),                 \
      "writes a value of the command INI")                                                             \
    X(readSettingFileName, std::string(const char* key), "a file-name setting as a full path")        \
    X(readSettingString,                                                                               \
      int(const char* section, const char* key, const char* def, char* buffer, int size,               \
          const char* fileSpec),                                                                       \
      "a value of the settings file a spec names")                                                     \
    X(writeSettingString,                                                                              \
      int(const char* section, const char* key, const char* value, const char* fileSpec),              \
      "writes a value of the settings file a spec names")

struct CmdHostHooks {
#define CMD_HOST_SERVICE_MEMBER(name, signature, what) std::function<signature> name;
    CMD_HOST_SERVICES(CMD_HOST_SERVICE_MEMBER)
#undef CMD_HOST_SERVICE_MEMBER
};

// The table in force; empty entries until set.
CmdHostHooks& HostHooks();

// The names of the entries left empty, in the order of the list.
std::vector<std::string> EmptyHostServices();

// Convenience calls that fall back to the "not there" answer.
void CmdLog(int level, const char* category, const char* format, ...);
HWND CmdActiveView();
HWND CmdStatusBar();
