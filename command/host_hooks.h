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

#include "cadlib/WmCadApiDb.h"

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

    // --- Drawing windows for the element, undo, page and temporary-database
    // services. A view without record (or no view) gives null / 0 / -1.
    std::function<DbHeader*(HWND view)> viewDb;               // database of a view's record
    std::function<void*(HWND view)> viewRecord;               // the record itself, for the library
    std::function<HWND(DbHeader* db)> findViewByDb;           // first view showing it
    std::function<HWND(HWND view)> activateViewFrame;         // the view active before
    std::function<int(HWND view)> setDrawingModified;         // null: the active view
    std::function<int(HWND view)> clearDrawingModified;
    // Colour 0 erases, 1-256 a pen, negative the elements' own colours.
    std::function<int(HWND view, int colour, const void* element)> drawElementInViews;
    std::function<int(int colour, CadMark* mark)> drawMarkInViews;
    std::function<int(HWND view, int colour, CadMark* mark)> drawMarkInViewsAlt;
    std::function<int(HWND view)> viewMode;                   // 0, 1, 2 (as stored); -1 no record
    std::function<void(HWND view, int mode)> setViewMode;
    // Offset x, offset y and scale of one view mode (0-2); 0 without record.
    std::function<int(HWND view, int mode, double set[3])> getViewSet;
    // Sets them after saving the mode's set as its previous one.
    std::function<int(HWND view, int mode, const double set[3])> setViewSet;
    std::function<double(HWND view)> zoomFitRatio;            // room for the edge buttons
    std::function<void()> setPopupRefresh;                    // the pop-ups repaint on the next tick
    std::function<int()> zoomViewToPaper;
    std::function<HWND()> newDrawingWindow;                   // a new untitled drawing window
    std::function<int(const char* path)> openDrawingFile;     // the open road
    std::function<int(void* dbInfo, HWND view)> resetViewAfterDbChange;
    std::function<int()> notifyToolPanelViewChange;
    std::function<HWND()> toolPanelWindow;
    std::function<int(WPARAM, LPARAM)> lockInputToActiveView;
    std::function<int(WPARAM, LPARAM)> setDbEpsilon;          // UM_SET_EPS
    std::function<double(HWND view)> inputToDrawRatioOf;
    std::function<void(HWND view, double* point)> toInputScalePointOf;
    std::function<void(HWND view, double* point)> fromInputScalePointOf;
    // Pick distance of the loupe (drawing units) while input comes from
    // it; negative otherwise.
    std::function<double()> loupePickDistance;
    std::function<int()> uiHighlightColor;                    // the UI library's highlight colour
    // The yes/no/cancel question of element picking: 6 yes, 7 or 1001 no,
    // 2 cancel; the placement flag and position are read and written back.
    std::function<int(int* placed, int* x, int* y, const char* title)> runYesNoDialog;

    // --- 2-D geometry of the drawing windows (points of three doubles) ---------
    std::function<double()> drawingTolerance;
    std::function<void(double* x, double* y, const double* t11)> transformPointAffine;
    std::function<int(void* element, double angle, double scaleX, double scaleY, double placeX,
                      double placeY, double baseX, double baseY)> transformElementCoords;
    std::function<int(double* crossing, const double* a1, const double* a2, const double* b1,
                      const double* b2)> intersectLines;
    std::function<int(double* first, double* second, const double* a, const double* b,
                      const double* centre, double radius)> intersectLineCircle;
    std::function<int(const double* point, const double* a, const double* b)> isPointOnSegment;
    std::function<void(double* point, double angle)> rotatePoint2D;
    std::function<double(double y, double x)> vectorAngle;
    std::function<double(double y, double x)> safeAtan2;      // 0 for (0, 0) or not finite

    // --- Drawing setup: pages and layers of the active drawing ---------------
    std::function<int()> currentPage;
    std::function<int(int page)> setCurrentPage;
    std::function<int(PageStateBlock* state)> getPageState;
    std::function<int(const PageStateBlock* state)> setPageState;
    std::function<int(int page, int sourcePage)> addPageFrom;
    std::function<int(int page, void* info4223)> getPageDbInfo;
    std::function<int(int page, const void* info4223)> setPageDbInfo;
    std::function<int()> showPaperSpace;
    std::function<int()> showModelSpace;
    std::function<int(const void* frameElement)> showFrameView;
    std::function<int(CadMark* mark, int page)> markPageElements;
    std::function<int(int page)> pageAttribute;
    std::function<int(int page, int* values6, double* scale, double* angle)> getPagePlacement;
    std::function<int(int page, const int* values6, const double* scale, const double* angle)>
        setPagePlacement;
    std::function<int(StoredElement** first)> countFrameElements;
    std::function<int(HWND window)> updateFrameViewFlag;
    std::function<int(int page, int reserved)> deletePage;
    std::function<int(int page, int layer, char* name, char* second)> getLayerNameOfPage;
    std::function<int(int page, int layer, const char* name, const char* groupName)> setLayerNameOfPage;
    std::function<int(int reserved, unsigned char* flags1024, int page)> collectUsedLayers;

    // --- Running settings of the element services ---------------------------
    std::function<int()> highlightColorSetting;   // iHighlightColor
    std::function<int()> pointScaleFlag;          // POINTSCALEFG
    std::function<int()> elementHitFirst;         // bElmHit
    std::function<std::string()> yesNoTitle;      // YESNOMSG
    std::function<std::string()> soundFile;       // the beep's wave file, "" for none

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
