#include "shell/service_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "shell/cad_system.h"
#include "shell/service_frame.h"
#include "shell/ui_library.h"
#include "view/db_ext.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/view_table.h"

namespace {

// The side of the rectangle being sent and the request that carries it; the
// process keeps one of each for every drag.
ElementRecord& SideRecord() {
    static ElementRecord record = [] {
        ElementRecord r;
        std::memset(&r, 0, sizeof r);
        r.kind = kElmLine;
        r.layer = 0;
        r.colour = 3;
        return r;
    }();
    return record;
}

CmdRequest& DragRequest() {
    static CmdRequest request = {};
    return request;
}

void AppendSide(const double* from, const double* to, int mode) {
    ElementRecord& side = SideRecord();
    CadSetF64(&side, kOffP1X, from[0]);
    CadSetF64(&side, kOffP1X + 8, from[1]);
    CadSetF64(&side, kOffP1X + 16, from[2]);
    CadSetF64(&side, kOffP2X, to[0]);
    CadSetF64(&side, kOffP2X + 8, to[1]);
    CadSetF64(&side, kOffP2X + 16, to[2]);
    CmdRequest& req = DragRequest();
    req.view = ServiceDragState().view;
    req.record = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&side));
    req.w.mode = mode;
    if (HWND frame = CmdMainFrame()) SendMessageA(frame, UM_DRAG_APPEND, 0, reinterpret_cast<LPARAM>(&req));
}

HWND ToolPanel() {
    HWND frame = CmdMainFrame();
    return frame ? reinterpret_cast<HWND>(SendMessageA(frame, UM_GET_CMDPANEL, 1, 0)) : nullptr;
}

const int kMemoColours = 14;
const int kSwatchWidth = 32;

DbHeader* ActiveMemoDb() {
    DbExtRecord* ext = GetDbExtRecord(GetActiveViewDb());
    return (ext && ext->words[2]) ? reinterpret_cast<DbHeader*>(static_cast<uintptr_t>(ext->words[2])) : nullptr;
}

void InitMemoDialog(HWND dialog) {
    HWND list = GetDlgItem(dialog, 400);
    for (int i = 1; i <= kMemoColours; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", i);
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(list, CB_SETCURSEL, 6, 0);
    if (DbHeader* memo = ActiveMemoDb()) {
        DbInfoHead info;
        std::memset(&info, 0, sizeof info);
        DAriGetDBInfo(&info, memo);
        SetDlgItemTextA(dialog, 200, info.Title());
        const int n = MemoColourNumber(reinterpret_cast<const char*>(info.bytes + kInfoMemoColour));
        SendMessageA(list, CB_SETCURSEL, n >= 1 && n <= kMemoColours ? n - 1 : -1, 0);
        char count[32];
        std::snprintf(count, sizeof count, "%ld", static_cast<long>(DAriGetElmNum(memo)));
        SetDlgItemTextA(dialog, 600, count);
    }
    UiChgBtnStyleOwnerDraw(dialog, 0);
}

void DrawMemoColourItem(const DRAWITEMSTRUCT* item) {
    if (static_cast<int>(item->itemID) < 0) return;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    RECT swatch = {r.left + 2, r.top + 2, r.left + 2 + kSwatchWidth, r.bottom - 2};
    HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_MENUTEXT));
    FrameRect(dc, &swatch, frame);
    DeleteObject(frame);
    RECT inside = {swatch.left + 1, swatch.top + 1, swatch.right - 1, swatch.bottom - 1};
    const int pen = static_cast<int>(item->itemID) + 1;
    HBRUSH fill = CreateSolidBrush(Running().penColors[pen]);
    FillRect(dc, &inside, fill);
    DeleteObject(fill);
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(pen));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT label = {swatch.right + 10, r.top, r.right, r.bottom};
    DrawTextA(dc, text, -1, &label, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void StoreMemoColour(HWND dialog) {
    const int k = static_cast<int>(SendDlgItemMessageA(dialog, 400, CB_GETCURSEL, 0, 0));
    if (DbHeader* memo = ActiveMemoDb()) {
        DbInfoHead info;
        std::memset(&info, 0, sizeof info);
        DAriGetDBInfo(&info, memo);
        // The whole text becomes the number and a comma.
        char* text = reinterpret_cast<char*>(info.bytes + kInfoMemoColour);
        std::memset(text, 0, 257);
        std::snprintf(text, 257, "%ld,", static_cast<long>(k + 1));
        DAriSetDBInfo(&info, memo);
        SetDrawingModified(GetActiveView());
    }
    if (HWND view = GetActiveView()) InvalidateRect(view, nullptr, TRUE);
}

}  // namespace

const unsigned char* DragLineElement() { return reinterpret_cast<const unsigned char*>(&SideRecord()); }

int DragRectangleCallback(double x, double y, double z) {
    const double* s = ServiceDragState().start;
    const double c[3] = {x, y, z};
    const double sc[3] = {s[0], c[1], 0};  // the corners that are neither S nor C
    const double cs[3] = {c[0], s[1], 0};
    AppendSide(s, sc, 0);
    AppendSide(sc, c, 1);
    AppendSide(c, cs, 2);
    AppendSide(cs, s, 3);
    CmdRequest& req = DragRequest();
    req.w.mode = 4;
    if (HWND frame = CmdMainFrame()) SendMessageA(frame, UM_DRAG_REDRAW, 0, reinterpret_cast<LPARAM>(&req));
    return 1;
}

void RepaintWindowNow(HWND window) {
    if (!window) return;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void SendToolPanelCommand(WPARAM wParam) {
    if (HWND panel = ToolPanel()) SendMessageA(panel, WM_COMMAND, wParam, 0);
}

int IsTwoPointMidButtonOn() {
    HWND panel = ToolPanel();
    HWND button = panel ? GetDlgItem(panel, 3999) : nullptr;
    return button ? static_cast<int>(GetWindowLongA(button, 4)) : 0;
}

int MemoColourNumber(const char* text) {
    if (!text || *text < '0' || *text > '9') return 0;
    return std::atoi(text);
}

INT_PTR CALLBACK MemoInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: InitMemoDialog(dialog); return TRUE;
    case WM_MEASUREITEM: {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (m->CtlID == 400) m->itemHeight = 18;
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDOK)
            DrawColorButton(item);
        else if (item->CtlID == 400)
            DrawMemoColourItem(item);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            StoreMemoColour(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL: EndDialog(dialog, 1); return TRUE;
        case 2000: return TRUE;
        default: return FALSE;
        }
    case WM_ERASEBKGND:
        if (UiOnEraseBkgnd(dialog, reinterpret_cast<HDC>(wParam))) {
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        HBRUSH brush = UiOnCtlColor(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                    message == WM_CTLCOLORBTN ? 3 : 6);
        return reinterpret_cast<INT_PTR>(brush);
    }
    default: return FALSE;
    }
}
