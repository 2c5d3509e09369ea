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

void EraseBand() {
    if (HostHooks().updateRubberBandErase) HostHooks().updateRubberBandErase();
}

void ClearLoupe() {
    if (HostHooks().clearLoupeFlag) HostHooks().clearLoupeFlag();
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

int Snap(CmdRequest* req) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    // The one snap-mode word: the settings apply it, the tool panel's snap
    // buttons change it, the per-user save stores it back.
    const unsigned long bits = static_cast<unsigned long>(Running().snapModeFlags);
    bool found = false;
    bool takeCursor = ws.snapBypass != 0;
    if (!takeCursor) {
        if (bits & (0x1 | 0x20)) found = Search(kSnapEnd, req);
        if (!found && (bits & (0x1 | 0x40))) found = Search(kSnapCross, req);
        if (!found && (bits & 0x10)) found = Search(kSnapCentre, req);
        if (!found && (bits & 0x4)) found = Search(kSnapMid, req);
        if (!found && (bits & 0x80)) found = Search(kSnapOnLine, req);
        if (!found) {
            if (!(bits & 0x8) && !ws.snapBypass) {
                in.event = 0;
                return kContinue;
            }
            takeCursor = true;
        }
    }
    if (takeCursor) RefreshPoint(req);
    if (h.drawInputBasePoint) h.drawInputBasePoint(0);
    ws.basePointShown = 1;
    GetRequestPoint(req->point, ws.inputBasePoint);
    if (h.drawInputBasePoint) h.drawInputBasePoint(3);
    ClearLoupe();
    in.event = 0;
    return CMD_RES_SNAPPED;
}

int Pick(CmdRequest* req, int lockMode) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    uint32_t element = 0;
    if (h.pickElement) {
        double pt[3];
        GetRequestPoint(req->point, pt);
        if (lockMode == 1) {
            element = h.pickElement(pt, 1);
        } else {
            if (h.setLockLayerSearchMode) h.setLockLayerSearchMode(0);
            element = h.pickElement(pt, 0);
            if (h.setLockLayerSearchMode) h.setLockLayerSearchMode(lockMode);
        }
    }
    if (!element) {
        in.event = 0;
        return kContinue;
    }
    req->picked = element;
    in.event = 0;
    return CMD_RES_PICKED;
}

// What the event word says, for this request's mask.
int Examine(CmdRequest* req, int lockMode) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    const uint32_t mask = in.wantedMask;
    const bool track = (mask & CMD_WANT_TRACK) != 0;
    switch (in.event) {
    case 0: return kContinue;
    case CMD_EV_END:
        if (track) EraseBand();
        if (h.unlockInput) h.unlockInput();
        in.event = 0;
        return CMD_RES_ENDED;
    case CMD_EV_CANCEL:
        if (track) EraseBand();
        if (mask & CMD_WANT_CANCEL) {
            in.event = 0;
            return CMD_RES_CANCEL;
        }
        break;
    case CMD_EV_VIEW_CHANGED:
        if (track) {
            RefreshPoint(req);
            ClearLoupe();
            in.event = 0;
            return CMD_RES_VIEW;
        }
        break;
    case CMD_EV_MOUSE_MOVE: {
        if (!track || Flag(h.rightClickPopupOpen)) break;
        POINT pos = {};
        GetCursorPos(&pos);
        if (!Flag(h.keyboardCursorMode) && pos.x == ws.lastMousePos.x && pos.y == ws.lastMousePos.y) break;
        ws.lastMousePos = pos;
        EraseBand();
        RefreshPoint(req);
        ClearLoupe();
        in.event = 0;
        return CMD_RES_MOVED;
    }
    case CMD_EV_UNDO:
        if (mask & CMD_WANT_UNDO) {
            in.event = 0;
            return CMD_RES_UNDO;
        }
        break;
    case CMD_EV_LBUTTON:
        RefreshPoint(req);
        if (track) EraseBand();
        if (mask & CMD_WANT_RAW) {
            if (Flag(h.loupeFlag))
                CallPoint(h.getInputCursorPoint, req);
            else
                CallPoint(h.getCursorWorldPoint, req);
            return CMD_RES_RAW;
        }
        if (mask & CMD_WANT_SNAP) {
            RefreshPoint(req);
            return Snap(req);
        }
        if (mask & CMD_WANT_PICK) return Pick(req, lockMode);
        if (mask & CMD_WANT_POINT) {
            PlainRefresh(req);
            in.event = 0;
            return CMD_RES_POINT;
        }
        break;
    case CMD_EV_RBUTTON:
        if (mask & CMD_WANT_SNAP) {
            const int mode = h.rightButtonMode ? h.rightButtonMode() : 0;
            if (mode == 8) {
                PlainRefresh(req);
                return CMD_RES_SNAPPED;
            }
            if (mode == 1) {
                PlainRefresh(req);
                if (Search(kSnapEnd, req)) return CMD_RES_SNAPPED;
                break;
            }
            if (mode == 255) {
                PlainRefresh(req);
                double keep[3];
                GetRequestPoint(req->point, keep);
                Search(kSnapEnd, req);
                SetRequestPoint(req->point, keep);
                return CMD_RES_SNAPPED;
            }
            break;
        }
        if (mask & CMD_WANT_RCLICK) {
            PlainRefresh(req);
            return CMD_RES_RPOINT;
        }
        break;
    case CMD_EV_PANEL:
        if (mask & CMD_WANT_PANEL) {
            req->panelKind = in.panelKind;
            req->panelValue = in.panelValue;
            req->panelExtra = in.panelExtra;
            return CMD_RES_PANEL;
        }
        break;
    case CMD_EV_OVERVIEW:
        if (mask & CMD_WANT_OVERVIEW) {
            int layer = 0, page = 0;
            if (h.overviewPick) h.overviewPick(&layer, &page);
            req->picked = static_cast<uint32_t>(layer);
            req->panelValue = page;
            in.event = 0;
            return CMD_RES_OVERVIEW;
        }
        break;
    case CMD_EV_SAVE_STATE:
        CmdLog(2, "Service Cmd Event", "コマンド状態保存要求");
        in.event = 0;
        return CMD_RES_SAVE;
    case CMD_EV_ESCAPE:
        CmdLog(2, "Service Cmd Event", "ESC");
        in.event = 0;
        return CMD_RES_ESCAPE;
    case CMD_EV_REPEAT_POINT: SetRequestPoint(req->point, ws.storedLastPoint); return CMD_RES_SNAPPED;
    default: break;
    }
    in.event = 0;  // dropped
    return kContinue;
}

}  // namespace

int WaitCmdEvent(CmdRequest* request, HACCEL accel) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    const int lockMode = h.getLockLayerSearchMode ? h.getLockLayerSearchMode() : 0;
    if ((in.wantedMask & CMD_WANT_LOCKED_LAYERS) && h.setLockLayerSearchMode) h.setLockLayerSearchMode(1);
    const int effectiveLock = (in.wantedMask & CMD_WANT_LOCKED_LAYERS) ? 1 : lockMode;
    struct Restore {
        int mode;
        ~Restore() {
            if (HostHooks().setLockLayerSearchMode) HostHooks().setLockLayerSearchMode(mode);
        }
    } restore{lockMode};
    struct Depth {
        Depth() { ++CmdWaitState().depth; }
        ~Depth() { --CmdWaitState().depth; }
    } depth;

    CmdRequest scratch = {};
    CmdRequest* req = request ? request : &scratch;
    in.event = 0;
    MSG msg;
    for (;;) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The application is ending: hand the quit on to the loop outside.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return CMD_RES_QUIT;
        }
        if (got == -1) return CMD_RES_QUIT;
        HWND frame = CmdMainFrame();
        if (accel && h.translateAccel && h.translateAccel(frame, accel, &msg)) continue;
        HWND mdi = CmdMdiClient();
        if (mdi && TranslateMDISysAccel(mdi, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        int result = Examine(req, effectiveLock);
        if (result != kContinue) return result;
    }
}

int RequestCmdEvent(CmdRequest* request) {
    return static_cast<int>(SendMessageA(CmdMainFrame(), UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(request)));
}

// --- The modal wait of command modules ---------------------------------------

namespace {

const char* const kSnapLogText[] = {"座標 任意(%g,%g)", "座標 端点(%g,%g)", "座標 交点(%g,%g)",      "座標 線上(%g,%g)",
                                    "座標 中点(%g,%g)", "座標 中心(%g,%g)", "座標 ラスター点(%g,%g)"};

void LogPoint(const char* format, const CmdRequest* req) {
    double pt[3];
    GetRequestPoint(req->point, pt);
    CmdLog(2, "Cmd Event", format, pt[0], pt[1]);
}

void ToInputScale(CmdRequest* req) {
    auto& h = HostHooks();
    if (!h.toInputScalePointOf) return;
    double pt[3];
    GetRequestPoint(req->point, pt);
    h.toInputScalePointOf(CmdActiveView(), pt);
    SetRequestPoint(req->point, pt);
}

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

// The request's point becomes the input base point, its mark drawn anew.
void MakeBasePoint(const CmdRequest* req) {
    auto& h = HostHooks();
    WaitState& ws = CmdWaitState();
    if (h.drawInputBasePoint) h.drawInputBasePoint(0);
    ws.basePointShown = 1;
    GetRequestPoint(req->point, ws.inputBasePoint);
    if (h.drawInputBasePoint) h.drawInputBasePoint(3);
}

void ApplyRelative(CmdRequest* req) {
    double dx = 0, dy = 0;
    if (!HostHooks().relativeInput || !HostHooks().relativeInput(&dx, &dy)) return;
    double pt[3];
    GetRequestPoint(req->point, pt);
    pt[0] += dx;
    pt[1] += dy;
    SetRequestPoint(req->point, pt);
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
    if (kind != SNAP_FOUND_FREE || !call.tempOldMode) ApplyRelative(req);
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

int LeftClick(CmdRequest* req, const SnapCall& call) {
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
        if (kind == CMD_RES_PICKED) {
            ClearLoupe();
            ToInputScale(req);
            in.event = 0;
            return CMD_RES_PICKED;
        }
        if (kind == SNAP_FOUND_NONE) {
            in.event = 0;
            return kContinue;
        }
        ClearLoupe();
        LogPoint(kSnapLogText[kind], req);
        in.event = 0;
        ToInputScale(req);
        if (call.showPopup) ShowSnapKind(kind, req);
        return CMD_RES_SNAPPED;
    }
    if (mask & CMD_WANT_PICK) {
        LogPoint("座標 要素点(%g,%g)", req);
        FullRefresh(req);
        if (uint32_t element = PickAt(req, call.lockMode)) {
            req->picked = element;
            CmdLog(2, "Cmd Event", "%ld 要素検出", static_cast<long>(element));
            ClearLoupe();
            ToInputScale(req);
            in.event = 0;
            return CMD_RES_PICKED;
        }
        CmdLog(2, "Cmd Event", "要素検出なし");
        in.event = 0;
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

int ExamineInput(CmdRequest* req, const SnapCall& call) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    const uint32_t mask = in.wantedMask;
    const bool track = (mask & CMD_WANT_TRACK) != 0;
    switch (in.event) {
    case 0: return kContinue;
    case CMD_EV_END:
        if (track) EraseBand();
        if (h.unlockInput) h.unlockInput();
        in.event = 0;
        return CMD_RES_ENDED;
    case CMD_EV_CANCEL:
        if (!(mask & CMD_WANT_CANCEL)) break;
        if (track) EraseBand();
        CmdLog(2, "Cmd Event", "ESC");
        in.event = 0;
        return CMD_RES_CANCEL;
    case CMD_EV_VIEW_CHANGED:
        if (!track) break;
        RefreshPoint(req);
        ClearLoupe();
        ToInputScale(req);
        in.event = 0;
        return CMD_RES_VIEW;
    case CMD_EV_MOUSE_MOVE: {
        if (!track || Flag(h.rightClickPopupOpen)) break;
        POINT pos = {};
        GetCursorPos(&pos);
        if (!Flag(h.keyboardCursorMode) && pos.x == ws.lastMousePos.x && pos.y == ws.lastMousePos.y) break;
        ws.lastMousePos = pos;
        EraseBand();
        FullRefresh(req);
        ClearLoupe();
        ToInputScale(req);
        in.event = 0;
        return CMD_RES_VIEW;  // a move answers as a view change here
    }
    case CMD_EV_UNDO:
        if (track) EraseBand();
        CmdLog(2, "Cmd Event", "Undo");
        in.event = 0;
        return CMD_RES_UNDO;
    case CMD_EV_LBUTTON:
        if (Flag(h.panelEditHoldsInput)) break;
        return LeftClick(req, call);
    case CMD_EV_RBUTTON:
        if (mask & CMD_WANT_SNAP) {
            const int mode = h.rightButtonMode ? h.rightButtonMode() : 0;
            if (mode != 8 && mode != 1 && mode != 255) break;
            PlainRefresh(req);
            if (mode == 1 || mode == 255) {
                double found[3];
                GetRequestPoint(req->point, found);
                const int ok = h.snapSearch ? h.snapSearch(1, found) : 0;
                // Mode 255 searches for the beep alone and keeps the cursor point.
                if (mode == 1) {
                    if (!ok) break;
                    SetRequestPoint(req->point, found);
                }
            }
            ToInputScale(req);
            in.event = 0;
            return CMD_RES_SNAPPED;
        }
        if (mask & CMD_WANT_RCLICK) {
            PlainRefresh(req);
            ToInputScale(req);
            in.event = 0;
            return CMD_RES_RPOINT;
        }
        break;
    case CMD_EV_PANEL:
        if (!(mask & CMD_WANT_PANEL)) break;
        if (track) EraseBand();
        req->panelKind = in.panelKind;
        req->panelValue = in.panelValue;
        req->panelExtra = in.panelExtra;
        if (h.relativeInput && h.takeRelativeFromPanel && (in.panelValue == 333 || in.panelValue == 444)) {
            double dx = 0, dy = 0;
            // Items 333 and 444 of the first page carry the typed offsets.
            if (h.relativeInput(&dx, &dy)) h.takeRelativeFromPanel(in.panelValue);
        }
        in.event = 0;
        return CMD_RES_PANEL;
    case CMD_EV_DDE:
        if (!(mask & CMD_WANT_DDE)) {
            ClearDdeData();
            break;
        }
        ClearDdeData();
        CmdLog(2, "Cmd Event", "%s DDEメッセージ", DdeInputText().c_str());
        req->picked = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(DdeInputText().c_str()));
        in.event = 0;
        return CMD_RES_DDE;
    case CMD_EV_ATTR_CHANGED:
        if (track) EraseBand();
        CmdLog(2, "Cmd Event", "作図情報の変更");
        in.event = 0;
        return CMD_RES_ATTR;
    case CMD_EV_OVERVIEW:
        if (!(mask & CMD_WANT_OVERVIEW)) break;
        {
            int layer = 0, page = 0;
            if (h.overviewPick) h.overviewPick(&layer, &page);
            req->picked = static_cast<uint32_t>(layer);
            req->panelValue = page;
        }
        in.event = 0;
        return CMD_RES_OVERVIEW;
    case CMD_EV_SAVE_STATE:
        CmdLog(2, "Cmd Event", "コマンド状態保存要求");
        in.event = 0;
        return CMD_RES_SAVE;
    case CMD_EV_ESCAPE:
        CmdLog(2, "Cmd Event", "ESC");
        in.event = 0;
        return CMD_RES_ESCAPE;
    case CMD_EV_REPEAT_POINT:
        SetRequestPoint(req->point, ws.storedLastPoint);
        ToInputScale(req);
        return CMD_RES_SNAPPED;
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

}  // namespace

int SnapAtCursor(CmdRequest* result, unsigned allowedKinds, int pickFirst, int* loupeFlag, int* secondFlag,
                 int showPopup, int updateBasePoint) {
    auto& h = HostHooks();
    if (!result) return 0;
    SnapCall call;
    call.kindMask = allowedKinds;
    call.pickFirst = pickFirst != 0;
    call.updateBase = updateBasePoint != 0;
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
    clearFlags();
    if (showPopup) ShowSnapKind(kind, result);
    return 0x200;
}

int WaitInput(CmdRequest* request, HACCEL accel, void* mainAccelerator) {
    auto& h = HostHooks();
    InputRecord& in = CmdInput();
    WaitState& ws = CmdWaitState();
    const int lockMode = h.getLockLayerSearchMode ? h.getLockLayerSearchMode() : 0;
    const bool lockedLayers = (in.wantedMask & CMD_WANT_LOCKED_LAYERS) != 0;
    if (lockedLayers && h.setLockLayerSearchMode) h.setLockLayerSearchMode(1);
    struct Restore {
        int mode;
        CmdRequest* outer;
        ~Restore() {
            if (HostHooks().setLockLayerSearchMode) HostHooks().setLockLayerSearchMode(mode);
            CmdWaitState().currentWaitRequest = outer;
            --CmdWaitState().depth;
        }
    } restore{lockMode, ws.currentWaitRequest};
    ++ws.depth;

    CmdRequest scratch = {};
    CmdRequest* req = request ? request : &scratch;
    ws.currentWaitRequest = req;
    ws.tempPointFlag = 0;
    in.event = 0;
    SnapCall call;
    call.kindMask = KindMaskOf(req);
    call.lockMode = lockedLayers ? 1 : lockMode;
    call.showPopup = Running().iSnapShowMode > 0;
    call.tempOldMode = Running().TEMPOLDMODE != 0;
    MSG msg;
    for (;;) {
        if (!ws.tempPointFlag && !in.event && !DdeDataPending()) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return CMD_RES_QUIT;
            }
            if (got == -1) return CMD_RES_QUIT;
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
        const int result = ExamineInput(req, call);
        if (result != kContinue) return result;
    }
}

LRESULT CCadSysCmdWait::OnWaitInput(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return WaitInput(reinterpret_cast<CmdRequest*>(lParam), m_accel, m_mainAccelerator);
}
