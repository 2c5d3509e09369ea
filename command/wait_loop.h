// The input record and the nested wait loop through which a running command
// receives its next input (UM_WAIT_CMD_EVENT).
#pragma once

#include <windows.h>

#include <functional>

#include "command/host_messages.h"

// The one process-wide input record.
InputRecord& CmdInput();

// Process state read by the wait loop. The relative-input switch and the
// loupe flag are the panels' and drawing windows' own
// (RPMenuState.relativeInput, InputFromLoupe); the relative offsets are the
// point-entry dialog's.
struct WaitState {
    double storedLastPoint[3] = {0, 0, 0};  // StoredLastPoint
    int snapBypass = 0;                     // SnapBypass
    double inputBasePoint[3] = {0, 0, 0};   // drawn by DrawInputBasePoint
    int basePointShown = 0;
    POINT lastMousePos = {-1, -1};  // last mouse position in screen pixels
    int depth = 0;                  // waits in progress
    // The request of the innermost UM_WAIT_INPUT, null outside one. Each
    // wait keeps its own and puts the outer one back when it returns, so a
    // nested wait never writes into the outer command's record.
    CmdRequest* currentWaitRequest = nullptr;
    // The temporary point: the point-entry dialog writes it and sets the
    // flag (cleared when the user cancels), the modal wait takes it.
    int tempPointFlag = 0;
    double tempPoint[3] = {0, 0, 0};
    // Set when a module switched the page/layer overview off.
    int overviewClosed = 0;
    // While 1, a pick among several candidates takes the first one without
    // asking (the attribute pick-up's first wait).
    int singlePick = 0;
};
WaitState& CmdWaitState();

// Writers: store an event code (a later write in the same message replaces
// an earlier one, except that view activation and attribute changes are
// written only when no event is pending). Panel writers pass kind, value
// and extra.
void PostCmdEvent(int code);
void PostPanelEvent(int kind, int value, int extra);

// `WaitCmdEvent`: runs the nested loop until an event the request's command
// wants arrives; returns the CMD_RES_* result. `accel` is the frame's
// accelerator table (may be null).
int WaitCmdEvent(CmdRequest* request, HACCEL accel);
// The service commands' short form: SendMessage to the main frame.
int RequestCmdEvent(CmdRequest* request);

// --- The modal wait of command modules (UM_WAIT_INPUT) ---------------------

// Mask bits and results beyond those of UM_WAIT_CMD_EVENT.
enum : uint32_t {
    CMD_WANT_DDE = 0x4000,        // return DDE text
    CMD_WANT_AREA_PICK = 0x20000  // a left click returns the elements around the cursor
};
enum : int {
    CMD_RES_DDE = 0x4000,
    CMD_RES_ATTR = 0x8000,
    CMD_RES_AREA = 0x20000,
};

// Snap kinds: bits of the tool panel's snap modes and of a request's kind mask.
enum : unsigned {
    SNAP_BIT_AUTO = 0x1,  // end point or intersection, whichever is nearer
    SNAP_BIT_MID = 0x4,
    SNAP_BIT_FREE = 0x8,
    SNAP_BIT_CENTRE = 0x10,
    SNAP_BIT_END = 0x20,
    SNAP_BIT_CROSS = 0x40,
    SNAP_BIT_ONLINE = 0x80,
};

// What a snap found, numbered as the snap-kind pop-up shows it.
enum SnapFound : int {
    SNAP_FOUND_NONE = -1,
    SNAP_FOUND_FREE = 0,
    SNAP_FOUND_END = 1,
    SNAP_FOUND_CROSS = 2,
    SNAP_FOUND_ONLINE = 3,
    SNAP_FOUND_MID = 4,
    SNAP_FOUND_CENTRE = 5,
    SNAP_FOUND_RASTER = 6,  // a raster image's point (no pop-up)
};

// The nearer of an end point and an intersection to the cursor (either may
// be null: not found); the intersection wins a tie. Copies the winner into
// `out`; SNAP_FOUND_END, SNAP_FOUND_CROSS or SNAP_FOUND_NONE.
int ChooseSnapPoint(const double* end, const double* cross, const double cursor[3], double out[3]);

// The searches of the element snap, limited to the elements around the
// cursor: kind 1 end point, 2 intersection, 3 centre, 4 mid point, 5 on
// line, 6 raster point; 1 and the point in `out` when found.
using SnapSearchFn = std::function<int(int kind, const double point[3], double out[3])>;

// What the element snap weighs besides the searches.
struct SnapInputs {
    unsigned snapBits = 0;     // the tool panel's snap modes
    unsigned kindMask = 0xFF;  // the kinds this wait accepts
    bool keyCursor = false;    // the keyboard cursor is on
    bool gridTaken = false;    // the point is already on the grid (snap key, or grid snap that skips searching)
    bool markEmpty = false;    // nothing lies around the cursor
};

// The order of the element snap: end point or intersection (nearer wins),
// else a raster point, centre, mid point (only with elements around),
// on-line point, and last the free point; a kind is tried only when the
// snap modes and the kind mask allow it and the keyboard cursor is off
// (the on-line search asks the snap modes alone). Writes the point into
// `out` (the cursor point for a free point) and returns the SnapFound.
int ElementSnapOrder(const SnapInputs& in, const double cursor[3], const SnapSearchFn& search, double out[3]);

// `SnapAtCursor`: the element snap on its own, from the cursor point.
// result: a request (point at 0x08, element at 0x20); 0x1000 picked, 0x200
// snapped, 0 nothing.
int SnapAtCursor(CmdRequest* result, unsigned allowedKinds, int pickFirst, int* loupeFlag, int* secondFlag,
                 int showPopup, int updateBasePoint);

// `SearchElementsAtCursor`: the element snap at the cursor with every kind
// allowed. commit 0 is the drawing views' preview: no find beep, no
// relative input, the snap-kind pop-up shown, the input base point left
// alone; commit 1 updates the base point and shows the pop-up as the
// settings say. The result of SnapAtCursor, or 1 at once while a panel
// edit field holds the input. The point, the picked element and the kind
// found (SNAP_FOUND_*) are copied out when asked for.
int SearchElementsAtCursor(double point[3], uint32_t* element, int commit, int* kindFound = nullptr);

// `UM_WAIT_INPUT`: the modal wait of command modules; the result code.
int WaitInput(CmdRequest* request, HACCEL accel, void* mainAccelerator = nullptr);
