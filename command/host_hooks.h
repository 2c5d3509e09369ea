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

#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"  // the main frame's windows

struct ViewData;

// How a system command finishes: Clear empties the command-name field of the
// prompt bar and refreshes the tool panel, Keep leaves both. An action that
// returns Table lets the command's row in the executor's table decide.
enum class CmdFinish : char { Table = 0, Clear = 'A', Keep = 'B' };

// What the action of a system command answers the executor: `answer` 0 when
// the action ran, -1 when there is no action for the id (the command is not
// done), for the version command the executor's result; `finish` says how the
// command ends. An answer alone converts, leaving the end to the table.
struct SystemCmdOutcome {
    int answer = 0;
    CmdFinish finish = CmdFinish::Table;
    SystemCmdOutcome(int answerOfAction = 0, CmdFinish finishOfAction = CmdFinish::Table)
        : answer(answerOfAction), finish(finishOfAction) {}
};

// X(name, signature, what it serves)
#define CMD_HOST_SERVICES(X)                                                                                           \
    /* --- System log and messages ------------------------------------------------------ */                           \
    X(writeLog, void(int level, const char* category, const char* text),                                               \
      "one system-log line; category null for the lines without one")                                                  \
    X(showErrorMessage, void(int messageId), "the numbered error message box (also logs)")                             \
    X(showErrorText, void(const char* text), "a free-text error message box (also logs)")                              \
    /* --- Application object ------------------------------------------------------------ */                          \
    X(launchKind, int(), "0 normal start, 1-3 the launch kinds of the hand-over file")                                 \
    X(appTitleText, std::string(), "the application title (caption of the main frame)")                                \
    X(appObject, void*(), "the application object, for modules")                                                       \
    X(language, int(), "the LANGUAGE setting")                                                                         \
    X(safeGuard, int(), "the SAFE setting (1: guard StartCmd)")                                                        \
    X(rightButtonMode, int(), "the RMOUSE setting")                                                                    \
    X(undoLevel, int(), "the iUndoCount setting: undo levels recorded per drawing")                                    \
    X(layerPatternFile, std::string(), "the szLPatRd setting")                                                         \
    X(translateAccel, BOOL(HWND frame, HACCEL table, MSG* msg), "accelerator translation of nested loops")             \
    /* --- Drawing windows --------------------------------------------------------------- */                          \
    X(activeView, HWND(), "the active drawing view; null when no drawing is open")                                     \
    X(activeDb, void*(), "the database header of the active view's drawing, or null")                                  \
    X(activateView, HWND(HWND view), "activates the drawing frame of a view; the view active before")                  \
    X(activeViewReadOnly, int(), "1 when the active drawing was opened read-only")                                     \
    X(activeDrawingHasSelection, int(), "1 when the active drawing still holds selected elements")                     \
    X(focusActiveView, void(), "keyboard focus to the active view")                                                    \
    X(showElementCount, void(), "prompt bar: element count of the active drawing")                                     \
    X(enableInputScale, void(int enable), "the input-scale combo box on or off")                                       \
    X(inputScaleBlockingOff, void(), "ends the input-scale blocking")                                                  \
    X(updateRubberBandErase, void(), "erases the rubber band of the active view")                                      \
    X(unlockInput, void(), "releases the input lock of the views")                                                     \
    X(loupeFlag, int(), "1 when the last input came from the loupe")                                                   \
    X(clearLoupeFlag, void(), "clears the loupe flag")                                                                 \
    X(gridSnapOn, int(), "1 while the tool panel's grid snap is on")                                                   \
    X(keyboardCursorMode, int(), "1 while the drawing cursor is moved by keys")                                        \
    X(getCursorWorldPoint, void(double pt[3]), "the cursor point in drawing units")                                    \
    X(getInputCursorPoint, void(double pt[3]), "the cursor point for input (the loupe's point)")                       \
    X(getGridSnappedCursorPoint, void(double pt[3]), "the cursor point on the grid")                                   \
    X(drawInputBasePoint, void(int mode), "toggles the input base-point mark (XOR) at the wait's point")              \
    X(overviewPick, void(int* layer, int* page), "the layer and page of the last overview click")                      \
    X(findDrawingView, HWND(const char* path), "the drawing view showing the file or drawing of that name, or null")   \
    X(clearDrawingEvent, void(ViewData * data),                                                                        \
      "clears the drawing-event word of every window of the record's drawing")                                         \
    X(drawingRectToClient, int(void* request), "world rectangle (+0x28) to client rectangle (+0x2c) of view +0x24")    \
    X(setDbEpsilon, LRESULT(WPARAM, LPARAM request),                                                                   \
      "UM_SET_EPS: the tolerances and number display settings (request record)")                                       \
    /* --- Panels ------------------------------------------------------------------------- */                         \
    X(closeRightClickPopup, void(), "closes the right-click pop-up")                                                   \
    X(rightClickPopupOpen, int(), "1 while the right-click pop-up is shown")                                           \
    X(resetRightClickEntries, void(), "drops the running command's right-click entries")                               \
    X(clearPanelPages, void(), "closes every page of the application panel")                                           \
    X(pushRecentCommand, void(int id, const char* name), "records a command on the recent list")                       \
    X(refreshToolPanel, void(), "the tool panel shows the active drawing's state again")                               \
    X(resetRightClickSwitches, void(), "the right-click pop-up's OK mode and hide flags back to rest")                 \
    X(rightClickSwitchesAtRest, int(), "1 while the OK mode and hide flags are at rest")                               \
    X(panelMessage, LRESULT(UINT msg, WPARAM wParam, LPARAM lParam),                                                   \
      "the application-panel and right-click pop-up host messages (one road for all of them)")                        \
    /* --- Point searches and picking ---------------------------------------------------- */                          \
    X(snapSearch, int(int kind, double pt[3]),                                                                         \
      "kind 1 end point, 2 intersection, 3 centre, 4 mid point, 5 on line: takes the point in pt "                     \
      "and writes the found one back; 1 found")                                                                        \
    X(pickElement, uint32_t(const double pt[3], int lockedLayers), "the element picked at the point, or 0")            \
    X(getLockLayerSearchMode, int(), "the library's locked-layer search mode")                                         \
    X(preTranslateKeys, int(HWND frame, MSG* msg, void* accelerator), "the application's key pre-translation; 1 handled")\
    X(keySnappedCursorPoint, int(double pt[3]), "the cursor point, on the grid while the snap key is held; 1 snapped") \
    X(markAtCursor, uint32_t(const double pt[3], int* count),                                                          \
      "a new mark of the elements around the point and their count; 0 without a drawing")                             \
    X(searchInMark, int(int kind, const double pt[3], double out[3], uint32_t mark),                                   \
      "the point searches limited to a mark: 1-5 as snapSearch, 6 a raster point; 1 found")                           \
    X(showSnapKind, void(int code, const double pt[3]), "the snap-kind pop-up: 1-5 a kind, 0 hides it")               \
    X(panelEditHoldsInput, int(), "1 while a panel edit field holds the input")                                        \
    X(relativeInputOn, int(), "1 while the tool panel's relative input is on")                                        \
    X(takeRelativeFromPanel, void(int item),                                                                          \
      "item 333 (x) or 444 (y) of the first panel page, read as a number, becomes the offset the point entry offers") \
    X(viewService, LRESULT(UINT msg, WPARAM wParam, LPARAM lParam),                                                    \
      "the host messages of the drawing views, drawings, rubber band, previews, pop-ups and their sub-codes")                                \
    X(setLockLayerSearchMode, void(int mode), "sets the locked-layer search mode")                                     \
    /* --- CAD library -------------------------------------------------------------------- */                         \
    X(fastAccessOn, void(), "fast access on, undo steps of the active drawing cleared, recording off")                 \
    X(fastAccessOff, void(), "fast access off, undo recording back to the undo level")                                 \
    X(destroyMark, void(uint32_t mark), "frees a mark list of the library")                                            \
    X(setElementCheckMode, int(LPARAM mode), "the library's element check; its previous mode")                         \
    /* --- Backups ------------------------------------------------------------------------ */                         \
    X(countCommandForBackup, void(), "counts a command for the count-triggered backup")                                \
    X(backupModified, void(), "backs up every modified drawing now")                                                   \
    /* --- Dialogs and other services ---------------------------------------------------- */                          \
    X(yesNoPlain, LRESULT(WPARAM, LPARAM), "the plain yes/no question: 0 no, 1 otherwise")                             \
    X(yesNoCancel, LRESULT(WPARAM, LPARAM), "the yes/no/cancel question: 1 yes, 2 cancel, 0 no")                       \
    X(rasterFunc, LRESULT(WPARAM, LPARAM), "a raster-image operation on a request")                                    \
    X(systemCommand, SystemCmdOutcome(int id, HWND owner, DWORD word),                                                 \
      "the action of a system command (dialogs, save, new drawing, close, exit ...)")                                  \
    X(ddeOpenDrawing, int(const char* path),                                                                           \
      "DDE \"{Open(\" and \"{FM9002(\": activates the drawing's window or opens the file")                             \
    /* --- Drawing windows for the element, undo, page and temporary-database services --- */                          \
    X(viewDb, DbHeader*(HWND view), "the database of a view's record; null without record or view")                    \
    X(viewRecord, void*(HWND view), "the view's record itself, for the library; null without one")                     \
    X(findViewByDb, HWND(DbHeader* db), "the first view showing the database, or null")                                \
    X(setDrawingModified, int(HWND view), "marks the view's drawing modified (null: the active view)")                 \
    X(clearDrawingModified, int(HWND view), "clears the modified mark of the view's drawing (null: the active view)")  \
    X(drawElementInViews, int(HWND view, int colour, const void* element),                                             \
      "draws an element in the views of its drawing: colour 0 erases, 1-256 a pen, negative its own colours")          \
    X(drawMarkInViews, int(int colour, CadMark* mark), "draws the marked elements in every view of their drawing")     \
    X(drawMarkInViewsAlt, int(HWND view, int colour, CadMark* mark),                                                   \
      "draws the marked elements in the views of one view's drawing")                                                  \
    X(viewMode, int(HWND view), "the view mode 0, 1 or 2 as stored; -1 without record")                                \
    X(setViewMode, void(HWND view, int mode), "sets the view mode")                                                    \
    X(getViewSet, int(HWND view, int mode, double set[3]),                                                             \
      "offset x, offset y and scale of one view mode (0-2); 0 without record")                                         \
    X(setViewSet, int(HWND view, int mode, const double set[3]),                                                       \
      "sets them after keeping the mode's set as its previous one")                                                    \
    X(zoomFitRatio, double(HWND view), "the fit ratio that leaves room for the edge buttons")                          \
    X(setPopupRefresh, void(), "the pop-ups repaint on the next tick")                                                 \
    X(zoomViewToPaper, int(), "fits the active view to its paper")                                                     \
    X(newDrawingWindow, HWND(), "a new untitled drawing window; its view")                                             \
    X(openDrawingFile, int(const char* path), "the open road for a file")                                              \
    X(resetViewAfterDbChange, int(void* dbInfo, HWND view), "the view takes a changed drawing information block")      \
    X(notifyToolPanelViewChange, int(), "tells the tool panel that the active view changed")                           \
    X(toolPanelWindow, HWND(), "the tool panel")                                                                       \
    X(lockInputToActiveView, int(WPARAM, LPARAM), "locks the input to the active view")                                \
    X(inputToDrawRatioOf, double(HWND view), "the input-scale ratio of a view")                                        \
    X(toInputScalePointOf, void(HWND view, double* point), "a drawing point into the view's input scale")              \
    X(fromInputScalePointOf, void(HWND view, double* point), "a point of the view's input scale into drawing units")   \
    X(loupePickDistance, double(),                                                                                     \
      "the loupe's pick distance (drawing units) while input comes from it; negative otherwise")                       \
    X(uiHighlightColor, int(), "the UI library's highlight colour")                                                    \
    X(runYesNoDialog, int(int* placed, int* x, int* y, const char* title),                                             \
      "the yes/no/cancel question of element picking: 6 yes, 7 or 1001 no, 2 cancel; placement read and written back") \
    X(runCalculator, int(HWND parent, int mode, const char* title, char* result32),                                   \
      "the on-screen calculator: 1 after OK with the number as text, 0 otherwise")                                     \
    X(isCalculatorOpen, int(), "1 while the on-screen calculator runs")                                                \
    X(inputRelativePoint, int(double* x, double* y),                                                                   \
      "the point entry dialog: adds the typed offset to the point; 1 after OK")                                        \
    X(inputTemporaryPoint, int(), "the point entry dialog for the temporary point; 0 without an active view")          \
    X(addInputHistory, void(const char* value, const char* key), "puts a confirmed value in front of a field's history") \
    X(showInputHistoryMenu, int(HWND owner, const char* key, LPARAM point),                                            \
      "a field's history as a pop-up menu; the choice comes as WM_COMMAND 1236-1255")                                  \
    X(getInputHistoryItem, void(char* buffer300, int i), "entry i of the history shown last")                          \
    /* --- 2-D geometry of the drawing windows (points of three doubles) --- */                                        \
    X(drawingTolerance, double(), "the distance tolerance of the drawing geometry")                                    \
    X(transformPointAffine, void(double* x, double* y, const double* t11), "applies an affine transform to a point")   \
    X(transformElementCoords,                                                                                          \
      int(void* element, double angle, double scaleX, double scaleY, double placeX, double placeY, double baseX,       \
          double baseY),                                                                                               \
      "rotates, scales and places an element's coordinates")                                                           \
    X(intersectLines, int(double* crossing, const double* a1, const double* a2, const double* b1, const double* b2),   \
      "the crossing of two lines; 1 found")                                                                            \
    X(intersectLineCircle,                                                                                             \
      int(double* first, double* second, const double* a, const double* b, const double* centre, double radius),       \
      "the crossings of a line and a circle; their count")                                                             \
    X(isPointOnSegment, int(const double* point, const double* a, const double* b),                                    \
      "1 when the point lies on the segment")                                                                          \
    X(rotatePoint2D, void(double* point, double angle), "rotates a point about the origin")                            \
    X(vectorAngle, double(double y, double x), "the angle of a vector")                                                \
    X(safeAtan2, double(double y, double x), "atan2, 0 for (0, 0) or values not finite")                               \
    /* --- Drawing setup: pages and layers of the active drawing --- */                                                \
    X(currentPage, int(), "the active drawing's current page")                                                         \
    X(setCurrentPage, int(int page), "sets the current page")                                                          \
    X(getPageState, int(PageStateBlock * state), "the page state block")                                               \
    X(setPageState, int(const PageStateBlock* state), "sets the page state block")                                     \
    X(addPageFrom, int(int page, int sourcePage), "adds a page copied from another")                                   \
    X(getPageDbInfo, int(int page, void* info4223), "a page's drawing information block")                              \
    X(setPageDbInfo, int(int page, const void* info4223), "sets a page's drawing information block")                   \
    X(showPaperSpace, int(), "shows paper space")                                                                      \
    X(showModelSpace, int(), "shows model space")                                                                      \
    X(showFrameView, int(const void* frameElement), "shows the view of a frame element")                               \
    X(markPageElements, int(CadMark * mark, int page), "marks the elements of a page")                                 \
    X(pageAttribute, int(int page), "a page's attribute")                                                              \
    X(getPagePlacement, int(int page, int* values6, double* scale, double* angle),                                     \
      "a page's placement values, scale and angle")                                                                    \
    X(setPagePlacement, int(int page, const int* values6, const double* scale, const double* angle),                   \
      "sets a page's placement values, scale and angle")                                                               \
    X(countFrameElements, int(StoredElement * *first), "counts the frame elements; the first one written back")        \
    X(updateFrameViewFlag, int(HWND window), "updates the frame-view flag of a window")                                \
    X(deletePage, int(int page, int reserved), "deletes a page")                                                       \
    X(getLayerNameOfPage, int(int page, int layer, char* name, char* second), "a layer's names on a page")             \
    X(setLayerNameOfPage, int(int page, int layer, const char* name, const char* groupName),                           \
      "sets a layer's names on a page")                                                                                \
    X(collectUsedLayers, int(int reserved, unsigned char* flags1024, int page),                                        \
      "flags of the layers used on a page (1024 bytes)")                                                               \
    X(loadFileToTempDb, int(HWND owner, const char* fileName, void* info4223, void* layerTable),                     \
      "loads a drawing file into the temporary database; its head and layer table")                                    \
    X(runFileOpenDialog, int(HWND owner, int mode), "the drawing file dialog in a mode (20: external references)")    \
    X(drawingTypeFromExtension, int(const char* path), "the drawing kind of a file name (7: DWG)")                     \
    X(setCurrentPageLayer, void(int page, int layer), "the application's current page and input layer")               \
    X(enableModelessWindow, int(int enable), "the UI library's current modeless window on or off; its state before")  \
    X(runLayerManager, INT_PTR(HWND parent), "the layer manager over a window; its end code")                          \
    X(runAddLayerDialog, INT_PTR(HWND parent), "the add-layer dialog over a window; its end code")                     \
    X(inputLayerDialog, void(int code), "the input-layer dialog: 0 show, 1 refresh, 2 hide")                           \
    /* --- Running settings of the element services --- */                                                             \
    X(highlightColorSetting, int(), "the iHighlightColor setting")                                                     \
    X(pointScaleFlag, int(), "the POINTSCALEFG setting")                                                               \
    X(elementHitFirst, int(), "the bElmHit setting")                                                                   \
    X(yesNoTitle, std::string(), "the YESNOMSG setting")                                                               \
    X(soundFile, std::string(), "the beep's wave file, empty for none")                                                \
    /* --- Settings layer ---------------------------------------------------------------- */                          \
    X(readSettingText, std::string(const char* section, const char* key, const char* def),                             \
      "a setting by section and key (SYSTEM: ConfigData.xml, others: ProgramIni)")                                     \
    X(writeSettingText, int(const char* section, const char* key, const char* value),                                  \
      "writes a setting by section and key")                                                                           \
    X(readSettingSection, std::string(const char* section),                                                            \
      "the key names of a ProgramIni section, each zero-terminated")                                                   \
    X(readCmdIniString, std::string(const char* section, const char* key, const char* def),                            \
      "a value of the command INI")                                                                                    \
    X(writeCmdIniString, int(const char* section, const char* key, const char* value),                                 \
      "writes a value of the command INI")                                                                             \
    X(readSettingFileName, std::string(const char* key), "a file-name setting as a full path")                         \
    X(readSettingString,                                                                                               \
      int(const char* section, const char* key, const char* def, char* buffer, int size, const char* fileKey),         \
      "a value of the settings file a file key names")                                                                 \
    X(writeSettingString, int(const char* section, const char* key, const char* value, const char* fileKey),           \
      "writes a value of the settings file a file key names")

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
