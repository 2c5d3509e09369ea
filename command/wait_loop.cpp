// The nested wait loop of a running command.
#include "command/wait_loop.h"

#include <cmath>
#include <cstring>

#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/dde.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_objects.h"

InputRecord& CmdInput() {
    static InputRecord record = {};
    return record;
}

WaitState& CmdWaitState() {
    static WaitState state;
    return state;
}

void PostCmdEvent(int code) {
    // View activation and attribute changes never replace a pending event.
    if ((code == CMD_EV_VIEW_ACTIVATED || code == CMD_EV_ATTR_CHANGED) && CmdInput().event != 0) return;
    CmdInput().event = code;
}

void PostPanelEvent(int kind, int value, int extra) {
    InputRecord& in = CmdInput();
    in.panelKind = kind;
    in.panelValue = value;
    in.panelExtra = extra;
    in.event = CMD_EV_PANEL;
}

namespace {

const int kContinue = -1;

void CallPoint(const std::function<void(double[3])>& hook, CmdRequest* req) {
    if (!hook) return;
    double pt[3];
    GetRequestPoint(req->point, pt);
    hook(pt);
    SetRequestPoint(req->point, pt);
}

bool Flag(const std::function<int()>& hook) { return hook && hook() != 0; }

// Point refresh: loupe point, grid-snapped point or plain cursor point.
void RefreshPoint(CmdRequest* req) {
    auto& h = HostHooks();
    if (Flag(h.loupeFlag))
        CallPoint(h.getInputCursorPoint, req);
    else if (Flag(h.gridSnapOn))
        CallPoint(h.getGridSnappedCursorPoint, req);
    else
        CallPoint(h.getCursorWorldPoint, req);
}

void PlainRefresh(CmdRequest* req) { CallPoint(HostHooks().getCursorWorldPoint, req); }

// Full refresh: the loupe point, the grid point, or the cursor point that
// the snap key may put on the grid; true when the snap key did.
bool FullRefresh(CmdRequest* req, bool useLoupe = true) {
    auto& h = HostHooks();
    if (useLoupe && Flag(h.loupeFlag)) {
        CallPoint(h.getInputCursorPoint, req);
        return false;
    }
    if (Flag(h.gridSnapOn)) {
        CallPoint(h.getGridSnappedCursorPoint, req);
        return false;
    }
    if (!h.keySnappedCursorPoint) {
        PlainRefresh(req);
        return false;
    }
    double pt[3];
    GetRequestPoint(req->point, pt);
    const bool snapped = h.keySnappedCursorPoint(pt) != 0;
    SetRequestPoint(req->point, pt);
    return snapped;
}

void EraseBand() {
    if (HostHooks().updateRubberBandErase) HostHooks().updateRubberBandErase();
}

void ClearLoupe() {
    if (HostHooks().clearLoupeFlag) HostHooks().clearLoupeFlag();
}

void ToInputScale(CmdRequest* req) {
    auto& h = HostHooks();
    if (!h.toInputScalePointOf) return;
    double pt[3];
    GetRequestPoint(req->point, pt);
    h.toInputScalePointOf(CmdActiveView(), pt);
    SetRequestPoint(req->point, pt);
}

const char* const kSnapLogText[] = {"座標 任意(%g,%g)", "座標 端点(%g,%g)", "座標 交点(%g,%g)",      "座標 線上(%g,%g)",
                                    "座標 中点(%g,%g)", "座標 中心(%g,%g)", "座標 ラスター点(%g,%g)"};

void LogPoint(const char* format, const CmdRequest* req) {
    double pt[3];
    GetRequestPoint(req->point, pt);
    CmdLog(2, "Cmd Event", format, pt[0], pt[1]);
}

bool Search(int kind, CmdRequest* req) {
    auto& hook = HostHooks().snapSearch;
    if (!hook) return false;
    double pt[3];
    GetRequestPoint(req->point, pt);
    if (!hook(kind, pt)) return false;
    SetRequestPoint(req->point, pt);
    return true;
}

enum { kSnapEnd = 1, kSnapCross = 2, kSnapCentre = 3, kSnapMid = 4, kSnapOnLine = 5 };

// The request's point becomes the input base point, its mark drawn anew.
void MakeBasePoint(const CmdRequest* req) {
    auto& h = HostHooks();
    WaitState& ws = CmdWaitState();
    if (h.drawInputBasePoint) h.drawInputBasePoint(0);
    ws.basePointShown = 1;
    GetRequestPoint(req->point, ws.inputBasePoint);
    if (h.drawInputBasePoint) h.drawInputBasePoint(3);
}

// With relative input on, the offsets typed in the point-entry dialog are
// added to the snapped point.
void ApplyRelative(CmdRequest* req) {
    auto& h = HostHooks();
    if (!Flag(h.relativeInputOn) || !h.inputRelativePoint) return;
    double pt[3];
    GetRequestPoint(req->point, pt);
    if (h.inputRelativePoint(&pt[0], &pt[1])) SetRequestPoint(req->point, pt);
}

// Pick at the request's point: under lock-layer mode 1 in that mode,
// otherwise in mode 0 and the mode put back.
uint32_t PickAt(const CmdRequest* req, int lockMode) {
    auto& h = HostHooks();
    if (!h.pickElement) return 0;
    double pt[3];
    GetRequestPoint(req->point, pt);
    if (lockMode == 1) return h.pickElement(pt, 1);
    if (h.setLockLayerSearchMode) h.setLockLayerSearchMode(0);
    const uint32_t element = h.pickElement(pt, 0);
    if (h.setLockLayerSearchMode) h.setLockLayerSearchMode(lockMode);
    return element;
}

// Sets the locked-layer search mode for a wait (1 when the command wants
// locked layers) and puts the one found back on every way out.
struct LockModeScope {
    int before = 0;
    int effective = 0;
    explicit LockModeScope(bool lockedLayers) {
        auto& h = HostHooks();
        before = h.getLockLayerSearchMode ? h.getLockLayerSearchMode() : 0;
        effective = lockedLayers ? 1 : before;
        if (lockedLayers && h.setLockLayerSearchMode) h.setLockLayerSearchMode(1);
    }
    ~LockModeScope() {
        if (HostHooks().setLockLayerSearchMode) HostHooks().setLockLayerSearchMode(before);
    }
    LockModeScope(const LockModeScope&) = delete;
    LockModeScope& operator=(const LockModeScope&) = delete;
};

// Owns the mark of the elements around the cursor for one click.
struct CursorMark {
    uint32_t mark = 0;
    int count = 0;
    explicit CursorMark(const double pt[3]) {
        auto& h = HostHooks();
        if (h.markAtCursor) mark = h.markAtCursor(pt, &count);
    }
    ~CursorMark() {
        if (mark && HostHooks().destroyMark) HostHooks().destroyMark(mark);
    }
    CursorMark(const CursorMark&) = delete;
    CursorMark& operator=(const CursorMark&) = delete;
};

struct SnapCall {
    unsigned kindMask = 0xFF;
    int lockMode = 0;
    bool pickFirst = false;
    bool updateBase = true;
    bool showPopup = false;
    bool relative = true;      // the relative input applies (off for the views' preview)
    bool tempOldMode = false;  // free points take the relative input only with TEMPOLDMODE 0
};

// The element snap of a click: SNAP_FOUND_* with the point in the request,
// SNAP_FOUND_NONE when the click is to be dropped, or 4096 when the pick
// that comes first found an element.
int ElementSnap(CmdRequest* req, const SnapCall& call) {
    auto& h = HostHooks();
    const bool keySnapped = FullRefresh(req);
    if (call.pickFirst) {
        LogPoint("座標 要素点(%g,%g)", req);
        FullRefresh(req);
        if (uint32_t element = PickAt(req, call.lockMode)) {
            req->picked = element;
            CmdLog(2, "Cmd Event", "%ld 要素検出", static_cast<long>(element));
            return CMD_RES_PICKED;
        }
    }
    double cursor[3];
    GetRequestPoint(req->point, cursor);
    CursorMark around(cursor);
    SnapInputs in;
    in.snapBits = static_cast<unsigned>(Running().snapModeFlags) & 0xFF;
    in.kindMask = call.kindMask;
    in.keyCursor = Flag(h.keyboardCursorMode);
    in.gridTaken = keySnapped || (Flag(h.gridSnapOn) && Running().iGridNoDetFlg != 1);
    in.markEmpty = around.count == 0;
    const uint32_t mark = around.mark;
    SnapSearchFn search = [&](int kind, const double pt[3], double out[3]) {
        if (!h.searchInMark) return 0;
        if (kind != 6 && !mark) return 0;
        return h.searchInMark(kind, pt, out, mark);
    };
    double found[3];
    const int kind = ElementSnapOrder(in, cursor, search, found);
    if (kind == SNAP_FOUND_NONE) return SNAP_FOUND_NONE;
    if (kind == SNAP_FOUND_FREE)
        FullRefresh(req);
    else
        SetRequestPoint(req->point, found);
    if (call.updateBase) MakeBasePoint(req);
    if (call.relative && (kind != SNAP_FOUND_FREE || !call.tempOldMode)) ApplyRelative(req);
    return kind;
}

void ShowSnapKind(int kind, const CmdRequest* req) {
    if (kind == SNAP_FOUND_RASTER || !HostHooks().showSnapKind) return;
    double pt[3];
    GetRequestPoint(req->point, pt);
    HostHooks().showSnapKind(kind, pt);
}

// The kinds a request accepts: byte 7 of the request from a module that
// declares a newer version, all kinds otherwise.
unsigned KindMaskOf(const CmdRequest* req) {
    const unsigned char byte7 = reinterpret_cast<const unsigned char*>(req)[7];
    return (Executor().moduleVersionFlag && byte7) ? byte7 : 0xFFu;
}

// How a wait answers: UM_WAIT_CMD_EVENT (the service commands and older
// modules) or the modal UM_WAIT_INPUT, which also converts points to the
// input scale, logs what it returns, snaps to the elements around the
// cursor and returns DDE text and attribute changes.
struct WaitRules {
    bool modal = false;
    SnapCall call;  // the snap of the modal wait's clicks
    int lockMode = 0;
};

// A left click of UM_WAIT_CMD_EVENT: the snap searches of the tool panel's
// snap modes in turn, then a pick, then the plain point.
int CmdEventLeftClick(CmdRequest* req, const WaitRules& rules) {
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    const uint32_t mask = in.wantedMask;
    RefreshPoint(req);
    if (mask & CMD_WANT_TRACK) EraseBand();
    if (mask & CMD_WANT_RAW) {
        if (Flag(HostHooks().loupeFlag))
            CallPoint(HostHooks().getInputCursorPoint, req);
        else
            CallPoint(HostHooks().getCursorWorldPoint, req);
        return CMD_RES_RAW;
    }
    if (mask & CMD_WANT_SNAP) {
        RefreshPoint(req);
        // The one snap-mode word: the settings apply it, the tool panel's
        // snap buttons change it, the per-user save stores it back.
        const unsigned long bits = static_cast<unsigned long>(Running().snapModeFlags);
        bool found = false;
        const bool bypass = ws.snapBypass != 0;
        if (!bypass) {
            if (bits & (0x1 | 0x20)) found = Search(kSnapEnd, req);
            if (!found && (bits & (0x1 | 0x40))) found = Search(kSnapCross, req);
            if (!found && (bits & 0x10)) found = Search(kSnapCentre, req);
            if (!found && (bits & 0x4)) found = Search(kSnapMid, req);
            if (!found && (bits & 0x80)) found = Search(kSnapOnLine, req);
            if (!found && !(bits & 0x8)) {
                in.event = 0;
                return kContinue;
            }
        }
        if (!found) RefreshPoint(req);
        MakeBasePoint(req);
        ClearLoupe();
        in.event = 0;
        return CMD_RES_SNAPPED;
    }
    if (mask & CMD_WANT_PICK) {
        in.event = 0;
        const uint32_t element = PickAt(req, rules.lockMode);
        if (!element) return kContinue;
        req->picked = element;
        return CMD_RES_PICKED;
    }
    if (mask & CMD_WANT_POINT) {
        PlainRefresh(req);
        in.event = 0;
        return CMD_RES_POINT;
    }
    in.event = 0;
    return kContinue;
}

// A left click of UM_WAIT_INPUT: raw point, element snap, pick, point,
// elements around the cursor, in that order.
int ModalLeftClick(CmdRequest* req, const SnapCall& call) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    const uint32_t mask = in.wantedMask;
    if (mask & CMD_WANT_RAW) {
        LogPoint("座標 任意点(%g,%g)", req);
        if (Flag(h.loupeFlag))
            CallPoint(h.getInputCursorPoint, req);
        else
            FullRefresh(req, false);
        return CMD_RES_RAW;
    }
    if (mask & CMD_WANT_TRACK) EraseBand();
    if (mask & CMD_WANT_SNAP) {
        SnapCall snap = call;
        snap.pickFirst = (mask & CMD_WANT_PICK) != 0;
        const int kind = ElementSnap(req, snap);
        in.event = 0;
        if (kind == SNAP_FOUND_NONE) return kContinue;
        ClearLoupe();
        if (kind != CMD_RES_PICKED) LogPoint(kSnapLogText[kind], req);
        ToInputScale(req);
        if (kind == CMD_RES_PICKED) return CMD_RES_PICKED;
        if (call.showPopup) ShowSnapKind(kind, req);
        return CMD_RES_SNAPPED;
    }
    if (mask & CMD_WANT_PICK) {
        LogPoint("座標 要素点(%g,%g)", req);
        FullRefresh(req);
        in.event = 0;
        if (uint32_t element = PickAt(req, call.lockMode)) {
            req->picked = element;
            CmdLog(2, "Cmd Event", "%ld 要素検出", static_cast<long>(element));
            ClearLoupe();
            ToInputScale(req);
            return CMD_RES_PICKED;
        }
        CmdLog(2, "Cmd Event", "要素検出なし");
        return kContinue;
    }
    if (mask & CMD_WANT_POINT) {
        FullRefresh(req);
        LogPoint("座標 (%g,%g)", req);
        ClearLoupe();
        ToInputScale(req);
        in.event = 0;
        return CMD_RES_POINT;
    }
    if (mask & CMD_WANT_AREA_PICK) {
        double pt[3];
        CmdRequest probe = *req;
        FullRefresh(&probe);
        GetRequestPoint(probe.point, pt);
        int count = 0;
        const uint32_t mark = h.markAtCursor ? h.markAtCursor(pt, &count) : 0;
        if (mark && count > 0) {
            req->picked = mark;
            SetRequestPoint(req->point, pt);
            CmdLog(2, "Cmd Event", "%ld 要素検出", static_cast<long>(mark));
            ClearLoupe();
            ToInputScale(req);
            in.event = 0;
            return CMD_RES_AREA;
        }
        if (mark && h.destroyMark) h.destroyMark(mark);
        CmdLog(2, "Cmd Event", "選択要素検出なし");
    }
    in.event = 0;
    return kContinue;
}

// What the event word says, for the waiting command's mask: a result, or
// kContinue with the word cleared when the event is dropped.
int ExamineEvent(CmdRequest* req, const WaitRules& rules) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    const bool modal = rules.modal;
    const uint32_t mask = in.wantedMask;
    const bool track = (mask & CMD_WANT_TRACK) != 0;
    const char* category = modal ? "Cmd Event" : "Service Cmd Event";
    auto done = [&](int result) {
        in.event = 0;
        return result;
    };
    auto scaled = [&](int result) {
        if (modal) ToInputScale(req);
        return result;
    };
    switch (in.event) {
    case 0: return kContinue;
    case CMD_EV_END:
        if (track) EraseBand();
        if (h.unlockInput) h.unlockInput();
        return done(CMD_RES_ENDED);
    case CMD_EV_CANCEL:
        // The modal wait leaves the band alone when it drops the cancel.
        if (track && (!modal || (mask & CMD_WANT_CANCEL))) EraseBand();
        if (!(mask & CMD_WANT_CANCEL)) break;
        if (modal) CmdLog(2, category, "ESC");
        return done(CMD_RES_CANCEL);
    case CMD_EV_VIEW_CHANGED:
        if (!track) break;
        RefreshPoint(req);
        ClearLoupe();
        return done(scaled(CMD_RES_VIEW));
    case CMD_EV_MOUSE_MOVE: {
        if (!track || Flag(h.rightClickPopupOpen)) break;
        POINT pos = {};
        GetCursorPos(&pos);
        if (!Flag(h.keyboardCursorMode) && pos.x == ws.lastMousePos.x && pos.y == ws.lastMousePos.y) break;
        ws.lastMousePos = pos;
        EraseBand();
        if (modal)
            FullRefresh(req);
        else
            RefreshPoint(req);
        ClearLoupe();
        // The modal wait answers a move as a view change.
        return done(scaled(modal ? CMD_RES_VIEW : CMD_RES_MOVED));
    }
    case CMD_EV_UNDO:
        if (!modal && !(mask & CMD_WANT_UNDO)) break;
        if (modal) {
            if (track) EraseBand();
            CmdLog(2, category, "Undo");
        }
        return done(CMD_RES_UNDO);
    case CMD_EV_LBUTTON:
        if (!modal) return CmdEventLeftClick(req, rules);
        if (Flag(h.panelEditHoldsInput)) break;
        return ModalLeftClick(req, rules.call);
    case CMD_EV_RBUTTON:
        if (mask & CMD_WANT_SNAP) {
            const int mode = h.rightButtonMode ? h.rightButtonMode() : 0;
            if (mode != 8 && mode != 1 && mode != 255) break;
            PlainRefresh(req);
            if (mode == 1 && !Search(kSnapEnd, req)) break;
            if (mode == 255) {
                // The search sounds its beep; the cursor point is kept.
                double keep[3];
                GetRequestPoint(req->point, keep);
                Search(kSnapEnd, req);
                SetRequestPoint(req->point, keep);
            }
            if (modal) in.event = 0;
            return scaled(CMD_RES_SNAPPED);
        }
        if (mask & CMD_WANT_RCLICK) {
            PlainRefresh(req);
            if (modal) in.event = 0;
            return scaled(CMD_RES_RPOINT);
        }
        break;
    case CMD_EV_PANEL:
        if (!(mask & CMD_WANT_PANEL)) break;
        if (modal && track) EraseBand();
        req->panelKind = in.panelKind;
        req->panelValue = in.panelValue;
        req->panelExtra = in.panelExtra;
        if (!modal) return CMD_RES_PANEL;
        // Items 333 and 444 of the first page carry the relative offsets.
        if ((in.panelValue == 333 || in.panelValue == 444) && Flag(h.relativeInputOn) && h.takeRelativeFromPanel)
            h.takeRelativeFromPanel(in.panelValue);
        return done(CMD_RES_PANEL);
    case CMD_EV_DDE:
        if (!modal) break;
        ClearDdeData();
        if (!(mask & CMD_WANT_DDE)) break;
        CmdLog(2, category, "%s DDEメッセージ", DdeInputText().c_str());
        req->picked = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(DdeInputText().c_str()));
        return done(CMD_RES_DDE);
    case CMD_EV_ATTR_CHANGED:
        if (!modal) break;
        if (track) EraseBand();
        CmdLog(2, category, "作図情報の変更");
        return done(CMD_RES_ATTR);
    case CMD_EV_OVERVIEW:
        if (!(mask & CMD_WANT_OVERVIEW)) break;
        {
            int layer = 0, page = 0;
            if (h.overviewPick) h.overviewPick(&layer, &page);
            req->picked = static_cast<uint32_t>(layer);
            req->panelValue = page;
        }
        return done(CMD_RES_OVERVIEW);
    case CMD_EV_SAVE_STATE: CmdLog(2, category, "コマンド状態保存要求"); return done(CMD_RES_SAVE);
    case CMD_EV_ESCAPE: CmdLog(2, category, "ESC"); return done(CMD_RES_ESCAPE);
    case CMD_EV_REPEAT_POINT:
        // The word keeps the event: the stored point answers again.
        SetRequestPoint(req->point, ws.storedLastPoint);
        return scaled(CMD_RES_SNAPPED);
    default: break;
    }
    in.event = 0;  // dropped
    return kContinue;
}

// A point typed in the point-entry dialog: kContinue when the command
// does not take snapped points.
int TakeTemporaryPoint(CmdRequest* req) {
    WaitState& ws = CmdWaitState();
    InputRecord& in = CmdInput();
    ws.tempPointFlag = 0;
    const uint32_t mask = in.wantedMask;
    if (mask & CMD_WANT_TRACK) EraseBand();
    in.event = 0;
    if (!(mask & CMD_WANT_SNAP)) return kContinue;
    SetRequestPoint(req->point, ws.tempPoint);
    MakeBasePoint(req);
    ClearLoupe();
    LogPoint("座標 (%g,%g)", req);
    return CMD_RES_SNAPPED;
}

// The element snap on its own, from the cursor point; `relative` lets
// the relative input apply, `kindFound` receives the SNAP_FOUND_* kind.
int SnapAtCursorWith(CmdRequest* result, unsigned allowedKinds, int pickFirst, int* loupeFlag, int* secondFlag,
                     int showPopup, int updateBasePoint, bool relative, int* kindFound) {
    auto& h = HostHooks();
    if (kindFound) *kindFound = SNAP_FOUND_NONE;
    if (!result) return 0;
    SnapCall call;
    call.kindMask = allowedKinds;
    call.pickFirst = pickFirst != 0;
    call.updateBase = updateBasePoint != 0;
    call.relative = relative;
    call.lockMode = h.getLockLayerSearchMode ? h.getLockLayerSearchMode() : 0;
    call.tempOldMode = Running().TEMPOLDMODE != 0;
    // The loupe point only when the caller hands the flag in and it is set.
    if (loupeFlag && *loupeFlag)
        CallPoint(h.getInputCursorPoint, result);
    else
        FullRefresh(result, false);
    const int kind = ElementSnap(result, call);
    auto clearFlags = [&] {
        if (loupeFlag) *loupeFlag = 0;
        if (secondFlag) *secondFlag = 0;
    };
    if (kind == CMD_RES_PICKED) {
        clearFlags();
        ToInputScale(result);
        return 0x1000;
    }
    if (kind == SNAP_FOUND_NONE) return 0;
    if (kindFound) *kindFound = kind;
    clearFlags();
    if (showPopup) ShowSnapKind(kind, result);
    return 0x200;
}

// Counts a wait in progress and, for the modal wait, keeps its request as
// the current one, putting the outer one back when it returns.
struct WaitScope {
    CmdRequest* outer;
    explicit WaitScope(CmdRequest* current) : outer(CmdWaitState().currentWaitRequest) {
        ++CmdWaitState().depth;
        if (current) CmdWaitState().currentWaitRequest = current;
    }
    ~WaitScope() {
        CmdWaitState().currentWaitRequest = outer;
        --CmdWaitState().depth;
    }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};

// GetMessage for a wait; false (with the quit handed on to the loop
// outside) when the application is ending.
bool NextMessage(MSG* msg) {
    const BOOL got = GetMessageA(msg, nullptr, 0, 0);
    if (got == 0) PostQuitMessage(static_cast<int>(msg->wParam));
    return got > 0;
}

}  // namespace

int WaitCmdEvent(CmdRequest* request, HACCEL accel) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    const LockModeScope lock((in.wantedMask & CMD_WANT_LOCKED_LAYERS) != 0);
    const WaitScope scope(nullptr);
    CmdRequest scratch = {};
    CmdRequest* req = request ? request : &scratch;
    WaitRules rules;
    rules.lockMode = lock.effective;
    in.event = 0;
    MSG msg;
    for (;;) {
        if (!NextMessage(&msg)) return CMD_RES_QUIT;
        HWND frame = CmdMainFrame();
        if (accel && h.translateAccel && h.translateAccel(frame, accel, &msg)) continue;
        HWND mdi = CmdMdiClient();
        if (mdi && TranslateMDISysAccel(mdi, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        const int result = ExamineEvent(req, rules);
        if (result != kContinue) return result;
    }
}

int RequestCmdEvent(CmdRequest* request) {
    return static_cast<int>(SendMessageA(CmdMainFrame(), UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(request)));
}

// --- The modal wait of command modules ---------------------------------------

int SnapAtCursor(CmdRequest* result, unsigned allowedKinds, int pickFirst, int* loupeFlag, int* secondFlag,
                 int showPopup, int updateBasePoint) {
    return SnapAtCursorWith(result, allowedKinds, pickFirst, loupeFlag, secondFlag, showPopup, updateBasePoint, true,
                            nullptr);
}

int SearchElementsAtCursor(double point[3], uint32_t* element, int commit, int* kindFound) {
    auto& h = HostHooks();
    if (kindFound) *kindFound = SNAP_FOUND_NONE;
    if (Flag(h.panelEditHoldsInput)) return 1;
    const LockModeScope lock((CmdInput().wantedMask & CMD_WANT_LOCKED_LAYERS) != 0);
    RunningSettings& rs = Running();
    // The preview neither beeps nor asks for relative offsets, and leaves
    // the input base point where it is.
    const int keptBeep = rs.bBeepFind;
    if (!commit) rs.bBeepFind = 0;
    CmdRequest found = {};
    const int showPopup = !commit || rs.iSnapShowMode > 0;
    const int result = SnapAtCursorWith(&found, 0xFF, 0, nullptr, nullptr, showPopup, commit, commit != 0, kindFound);
    rs.bBeepFind = keptBeep;
    if (point) GetRequestPoint(found.point, point);
    if (element) *element = found.picked;
    return result;
}

int WaitInput(CmdRequest* request, HACCEL accel, void* mainAccelerator) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    const LockModeScope lock((in.wantedMask & CMD_WANT_LOCKED_LAYERS) != 0);
    CmdRequest scratch = {};
    CmdRequest* req = request ? request : &scratch;
    const WaitScope scope(req);
    ws.tempPointFlag = 0;
    in.event = 0;
    WaitRules rules;
    rules.modal = true;
    rules.lockMode = lock.effective;
    rules.call.kindMask = KindMaskOf(req);
    rules.call.lockMode = lock.effective;
    rules.call.showPopup = Running().iSnapShowMode > 0;
    rules.call.tempOldMode = Running().TEMPOLDMODE != 0;
    MSG msg;
    for (;;) {
        if (!ws.tempPointFlag && !in.event && !DdeDataPending()) {
            if (!NextMessage(&msg)) return CMD_RES_QUIT;
            HWND frame = CmdMainFrame();
            if (h.preTranslateKeys && h.preTranslateKeys(frame, &msg, mainAccelerator) == 1) continue;
            if (accel && h.translateAccel && h.translateAccel(frame, accel, &msg)) continue;
            HWND mdi = CmdMdiClient();
            if (mdi && TranslateMDISysAccel(mdi, &msg)) continue;
            if (!DdeDataPending()) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (ws.tempPointFlag) {
            const int result = TakeTemporaryPoint(req);
            if (result != kContinue) return result;
            continue;
        }
        if (DdeDataPending()) in.event = CMD_EV_DDE;
        const int result = ExamineEvent(req, rules);
        if (result != kContinue) return result;
    }
}

LRESULT CCadSysCmdWait::OnWaitInput(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return WaitInput(reinterpret_cast<CmdRequest*>(lParam), m_accel, m_mainAccelerator);
}
