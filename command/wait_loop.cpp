// The nested wait loop of a running command.
#include "command/wait_loop.h"

#include <cstring>

#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_hooks.h"

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
