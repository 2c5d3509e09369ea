#include "view/interrupt_cmds.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/crossing_step.h"
#include "command/executor.h"
#include "command/host_messages.h"
#include "command/status_codes.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "panels/selector_classes.h"
#include "view/display_commands.h"
#include "view/drawing_state.h"
#include "view/key_cursor.h"
#include "view/point_search.h"
#include "view/rubber_band.h"
#include "view/status_bar.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"

int KeyMarkJumpArmed = 0;
int PanelMarkJumpArmed = 0;

KeyTable& CmdKeyTable() {
    static KeyTable table = {};
    return table;
}

bool AddKeyTableRecord(uint8_t modifiers, int command, const char* key) {
    KeyTable& t = CmdKeyTable();
    if (t.count < 0 || t.count >= 240 || !key) return false;
    KeyTableRecord& r = t.records[t.count++];
    r.modifiers = modifiers;
    r.command = command;
    lstrcpynA(r.key, key, sizeof r.key);
    return true;
}

KeyRoadState& KeyRoad() {
    static KeyRoadState state = {};
    return state;
}

int WrapPenColour(int colour) { return colour > 256 ? 1 : (colour <= 0 ? 256 : colour); }
int WrapLineType(int type) { return type >= 32 ? 0 : (type < 0 ? 31 : type); }
int WrapLineWidth(int width) { return width >= 16 ? 0 : (width < 0 ? 15 : width); }

namespace {

enum class Road { Key, Panel };

HWND Main() { return CmdMainFrame(); }
HWND Bar() { return CmdStatusBar(); }

// The key view: the active view as the command starts.
HWND g_keyView = nullptr;
void RememberKeyView() { g_keyView = GetActiveView(); }

void TypeIntoNumber(int ch) {
    if (HWND bar = Bar()) SendStatusCode(bar, StatusCode::TypeChar, ch);
}

void EnterKeyCursor(Road road, HWND view) {
    if (road == Road::Key) {
        EnterKeyCursorMode();
        return;
    }
    // The panel switches keyboard-cursor mode through its own button.
    if (view && !IsKeyCursorActive())
        if (HWND tool = ToolPanelWindow()) SendMessageA(tool, WM_COMMAND, MAKEWPARAM(3406, 0), 0);
}

// Keeps a typed key text within its 15 bytes.
void AppendKey(const char* name) {
    KeyRoadState& k = KeyRoad();
    const size_t used = std::strlen(k.keyText);
    lstrcpynA(k.keyText + used, name, static_cast<int>(sizeof k.keyText - used));
}

void ClearTyped() {
    if (HWND bar = Bar()) ClearStatusBarInput(bar);
}

DrawAttr* Attr(HWND view) {
    ViewData* d = GetViewData(view);
    return d ? &d->attr : nullptr;
}

double AttrDouble(DrawAttr* a, size_t at) {
    double v;
    std::memcpy(&v, reinterpret_cast<unsigned char*>(a) + at, sizeof v);
    return v;
}
void SetAttrDouble(DrawAttr* a, size_t at, double v) {
    std::memcpy(reinterpret_cast<unsigned char*>(a) + at, &v, sizeof v);
}

int KeySearch(int kind) {
    double at[3], found[3];
    GetCursorWorldPoint(at);
    if (!SearchPointOfKind(kind, at, found)) return 0;
    EnterKeyCursorMode();
    SetKeyCursorPoint(found);
    return 1;
}

// The command table both roads share; true when the id is one of it.
bool RunTableCommand(Road road, int id, int* result) {
    HWND view = GetActiveView();
    DrawAttr* a = Attr(view);
    int& armed = road == Road::Key ? KeyMarkJumpArmed : PanelMarkJumpArmed;
    *result = 1;
    switch (id) {
    case 3000:
        if (road == Road::Key)
            ToggleKeyCursorMode();
        else if (HWND tool = ToolPanelWindow())
            SendMessageA(tool, WM_COMMAND, MAKEWPARAM(3406, 1), 0);
        return true;
    case 3001:
    case 3002:
    case 3003:
    case 3004: {
        if (armed) {
            static const char* const kDir[] = {"UP", "DOWN", "LEFT", "RIGHT"};
            double found[3];
            if (FindMarkInDirection(kDir[id - 3001], found)) {
                EnterKeyCursor(road, view);
                SetKeyCursorPoint(found);
            }
            armed = 0;
            return true;
        }
        static const int kMove[] = {3005, 3006, 3007, 3008};
        static const int kScroll[] = {3052, 3053, 3050, 3051};
        return RunTableCommand(road, IsKeyCursorMode() ? kMove[id - 3001] : kScroll[id - 3001], result);
    }
    case 3005:
    case 3006:
    case 3007:
    case 3008:
    case 3009:
    case 3010:
    case 3011:
    case 3012: {
        static const int kDirection[] = {3, 4, 2, 1};
        const int i = (id - 3005) % 4;
        const double distance = id <= 3008 ? GetStatusBarNumber() : GetViewUnitsPerPixel();
        EnterKeyCursor(road, view);
        MoveKeyCursor(kDirection[i], distance);
        return true;
    }
    case 3013:
        EnterKeyCursor(road, view);
        ResetKeyCursor();
        return true;
    case 3014: KeySearch(kSearchEndPoint); return true;
    case 3015: KeySearch(kSearchCrossPoint); return true;
    case 3016: KeySearch(kSearchMidPoint); return true;
    case 3017:
        if (road == Road::Key)
            PostMessageA(Main(), WM_COMMAND, 4011, 0);
        else
            TypeIntoNumber(0);
        return true;
    case 3018: PostMessageA(Main(), UM_REDO, 0, 0); return true;
    case 3019: PostMessageA(Main(), UM_UNDO, 0, 0); return true;
    case 3020:
        EnterKeyCursor(road, view);
        CmdInput().event = CMD_EV_LBUTTON;
        return true;
    case 3021:
        CmdInput().event = CMD_EV_CANCEL;
        if (road == Road::Panel)
            if (HWND bar = Bar()) SendMessageA(bar, WM_COMMAND, 100, 0);
        return true;
    case 3022: SendMessageA(Main(), UM_END_CMD, 0, 0); return true;
    case 3023:
    case 3027:
    case 3024:
    case 3028:
    case 3025:
    case 3029:
    case 3031:
    case 3032:
    case 3033:
    case 3034:
    case 3035: {
        if (!a) return true;
        const long typed = GetStatusBarInteger();
        switch (id) {
        case 3023: a->color = WrapPenColour(a->color + 1); break;
        case 3027: a->color = WrapPenColour(a->color - 1); break;
        case 3024: a->lineType = WrapLineType(a->lineType + 1); break;
        case 3028: a->lineType = WrapLineType(a->lineType - 1); break;
        case 3025: a->lineWidth = WrapLineWidth(a->lineWidth + 1); break;
        case 3029: a->lineWidth = WrapLineWidth(a->lineWidth - 1); break;
        case 3031: a->color = WrapPenColour(typed >= 0 ? static_cast<int>(typed) : a->color); break;
        case 3032: a->lineType = WrapLineType(typed >= 0 ? static_cast<int>(typed) : a->lineType); break;
        case 3033: a->lineWidth = WrapLineWidth(typed >= 0 ? static_cast<int>(typed) : a->lineWidth); break;
        case 3034: a->lineStartKind = LineEndTypeFromIndex(LineEndIndexFromType(a->lineStartKind) + 1); break;
        case 3035: a->lineEndKind = LineEndTypeFromIndex(LineEndIndexFromType(a->lineEndKind) + 1); break;
        }
        RefreshToolPanel();
        return true;
    }
    case 3026:
    case 3030: return true;
    case 3036:
    case 3044:
    case 3045:
    case 3046: {
        if (!a) return true;
        const double typed = GetStatusBarNumber();
        if (id == 3036) {
            if (!(typed > 0)) return true;
            SetAttrDouble(a, 312, typed);
        } else if (id == 3044) {
            SetAttrDouble(a, 328, typed);
        } else if (id == 3045) {
            if (!(typed > 0 && typed <= 10)) return true;
            SetAttrDouble(a, 320, typed);
        } else {
            if (!(typed >= 0 && typed <= 255)) return true;
            const int16_t v = static_cast<int16_t>(std::trunc(typed));
            std::memcpy(a->reserved, &v, sizeof v);
            NotifyToolPanelViewChange();
        }
        CmdInput().event = CMD_EV_ATTR_CHANGED;
        return true;
    }
    case 3037: SetKeyCursorStep(GetStatusBarNumber()); return true;
    case 3038:
        UpdateRubberBand(view, 0, 0, 1);
        ZoomViewToPaper();
        if (view) UpdateWindow(view);
        RequestPopupRefresh();
        if (HWND layout = LayoutViewWindow()) {
            InvalidateRect(layout, nullptr, FALSE);
            UpdateWindow(layout);
        }
        return true;
    case 3039: DispCenterAtCursor(0); return true;
    case 3040: DispZoomIn(1, std::trunc(GetStatusBarNumber())); return true;
    case 3043: DispZoomOut(1, std::trunc(GetStatusBarNumber())); return true;
    case 3041:
        UpdateRubberBand(view, 0, 0, 1);
        CmdInput().event = CMD_EV_VIEW_CHANGED;
        if (view) {
            InvalidateRect(view, nullptr, TRUE);
            UpdateWindow(view);
        }
        return true;
    case 3042: PostMessageA(Main(), WM_COMMAND, 1205, 0); return true;
    case 3047: PostMessageA(Main(), UM_TOGGLE_LAYOUT_VIEW, 0, 0); return true;
    case 3048:
        UpdateRubberBand(view, 0, 0, 1);
        PostMessageA(Main(), WM_COMMAND, 1219, 0);
        return true;
    case 3049: PostMessageA(Main(), UM_TOGGLE_LOUPE, 0, 0); return true;
    case 3050:
    case 3051:
        if (view) PostMessageA(view, WM_HSCROLL, id == 3050 ? SB_LINELEFT : SB_LINERIGHT, 0);
        return true;
    case 3052:
    case 3053:
        if (view) PostMessageA(view, WM_VSCROLL, id == 3052 ? SB_LINEUP : SB_LINEDOWN, 0);
        return true;
    case 3054:
        armed = 1;
        *result = 0;
        return true;
    default: return false;
    }
}

}  // namespace

int ExecPanelCmd(unsigned short id) {
    if (id < 3000 || id > 3999) return 0;
    int result = 0;
    if (RunTableCommand(Road::Panel, id, &result)) return 0;
    HWND tool = ToolPanelWindow();
    if (!tool) return 0;
    switch (id) {
    case 3310:
    case 3311:
    case 3313:
    case 3314:
    case 3315:
    case 3404:
    case 3405:
    case 3406:
    case 3410:
    case 3411:
    case 3412:
    case 3418:
    case 3516:
    case 3989: PostMessageA(tool, WM_COMMAND, id, 0); break;
    case 3408:
    case 3409:
    case 3999: PostMessageA(tool, WM_COMMAND, id, reinterpret_cast<LPARAM>(GetDlgItem(tool, id))); break;
    default: break;
    }
    return 0;
}

int ExecInterruptCmd(int, int id) {
    RememberKeyView();
    if (id >= 4000 && id <= 39999) {
        ExecCadCmdBusy(nullptr, static_cast<DWORD>(id), nullptr);
        return 1;
    }
    if (id >= 1200 && id <= 1500) {
        SendMessageA(Main(), WM_COMMAND, id, 0);  // the frame runs its service commands
        return 1;
    }
    int result = 1;
    if (id >= 3000 && id <= 3054) RunTableCommand(Road::Key, id, &result);
    return result;
}

int MatchKeyTable() {
    KeyRoadState& k = KeyRoad();
    const KeyTable& t = CmdKeyTable();
    for (int i = 0; i < t.count && i < 240; ++i) {
        const KeyTableRecord& r = t.records[i];
        char key[sizeof r.key + 1] = {};
        std::memcpy(key, r.key, sizeof r.key);
        if (r.modifiers != k.modifiers || std::strcmp(key, k.keyText) != 0) continue;
        int32_t command;
        std::memcpy(&command, &r.command, sizeof command);
        const int result = ExecInterruptCmd(r.modifiers, command);
        k.keyText[0] = 0;
        ClearTyped();
        if (result) KeyMarkJumpArmed = 0;
        return 1;
    }
    if ((k.modifiers & 8) && !k.keyText[0]) return 1;
    KeyMarkJumpArmed = std::strcmp(k.keyText, "[=]") == 0 ? 1 : 0;
    k.modifiers = 0;
    k.keyText[0] = 0;
    ClearTyped();
    return 0;
}

int OnCmdKeyDown(HWND, int key) {
    RememberKeyView();
    KeyRoadState& k = KeyRoad();
    const char* name = nullptr;
    char fkey[8];
    switch (key) {
    case 0x1B: name = "[ESCAPE]"; break;
    case 0x21: name = "[RU]"; break;
    case 0x22: name = "[RD]"; break;
    case 0x2E: name = "[DEL]"; break;
    case 0x08: name = "[BS]"; break;
    case 0x09: name = "[TAB]"; break;
    case 0x0D: name = "[RET]"; break;
    case 0x13: name = "[PAUSE]"; break;
    case 0x20: name = "[SPACE]"; break;
    case 0x23: name = "[END]"; break;
    case 0x24: name = "[HOME]"; break;
    case 0x25: name = "[LEFT]"; break;
    case 0x26: name = "[UP]"; break;
    case 0x27: name = "[RIGHT]"; break;
    case 0x28: name = "[DOWN]"; break;
    case 0x2B: name = "[EXECUTE]"; break;
    case 0x2D: name = "[INS]"; break;
    case 0x2F: name = "[HELP]"; break;
    case 0x56: name = "[V]"; break;
    default:
        if (key >= 0x70 && key <= 0x87) {
            std::snprintf(fkey, sizeof fkey, "[F%ld]", static_cast<long>(key - 111));
            name = fkey;
        }
        break;
    }
    if (!name) return MatchKeyTable();
    AppendKey(name);
    const bool arrow = key >= 0x25 && key <= 0x28;
    if (arrow && Running().CURMOVE_CTRL && (GetAsyncKeyState(VK_CONTROL) & 0x8000)) {
        KeyMarkJumpArmed = 1;
        return MatchKeyTable();
    }
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) k.modifiers |= 1;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) k.modifiers |= 2;
    if (GetAsyncKeyState(VK_MENU) & 0x8000) k.modifiers |= 4;
    return MatchKeyTable();
}

int OnCmdChar(HWND, int character) {
    RememberKeyView();
    KeyRoadState& k = KeyRoad();
    int ch = character & 0xFF;
    if (ch >= 'a' && ch <= 'z') ch -= 'a' - 'A';
    if (ch >= 32 && ch <= 126) {
        if (ch == '.') {
            if (HasStatusBarInput()) {
                TypeIntoNumber('.');
            } else {
                k.modifiers = 0;
                AppendKey("[.]");
            }
        } else if (ch == '-') {
            k.modifiers = 8;
            TypeIntoNumber(0);
            TypeIntoNumber('-');
        } else if (ch >= '0' && ch <= '9') {
            k.modifiers = 8;
            TypeIntoNumber(ch);
        } else {
            char name[8];
            std::snprintf(name, sizeof name, "[%c]", ch);
            AppendKey(name);
            if (ch >= 'A' && ch <= 'Z') {
                if (GetAsyncKeyState(VK_SHIFT) & 0x8000) k.modifiers |= 1;
                if (GetAsyncKeyState(VK_CONTROL) & 0x8000) k.modifiers |= 2;
                if (GetAsyncKeyState(VK_MENU) & 0x8000) k.modifiers |= 4;
            }
        }
    }
    MatchKeyTable();
    return 1;
}

int IsKeyScrollMode() { return PanelMarkJumpArmed; }
