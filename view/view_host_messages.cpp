#include "view/view_host_messages.h"

#include <cstring>

#include "base/cmd_request.h"
#include "base/system_log.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "command/safe_call.h"
#include "view/input_scale.h"
#include "view/layout_loupe.h"
#include "view/overview.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"

namespace {
const CmdRequest* Req(LPARAM l) { return reinterpret_cast<const CmdRequest*>(l); }

double DoubleAt(uint32_t address, double fallback) {
    if (!address) return fallback;
    double v;
    std::memcpy(&v, reinterpret_cast<const void*>(address), sizeof v);
    return v;
}

// The pop-ups show or hide with the band redrawn around them.
void PrepareToggle() {
    DocumentChangedFlag = 1;
    RequestPopupRefresh();
    UpdateRubberBand(GetActiveView(), 0, 0, 1);
}

void ActivateMainFrame() {
    if (HWND frame = CmdMainFrame()) ::SetActiveWindow(frame);
}

LRESULT ToggleLoupe() {
    HWND loupe = LoupeWindow();
    if (!loupe) return 1;
    PrepareToggle();
    if (::IsWindowVisible(loupe)) {
        ShowLoupe(0);
        return 1;
    }
    // Shown with its centre on the cursor.
    POINT c;
    ::GetCursorPos(&c);
    RECT wr;
    ::GetWindowRect(loupe, &wr);
    ::SetWindowPos(loupe, nullptr, c.x - (wr.right - wr.left) / 2, c.y - (wr.bottom - wr.top) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowLoupe(1);
    ActivateMainFrame();
    return 1;
}
}  // namespace

LRESULT HandleViewHostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const CmdRequest* req = Req(lParam);
    switch (message) {
    case UM_DRAG_APPEND:
        if (req && req->view) AppendRubberElement(req->view, req->w.mode, reinterpret_cast<const void*>(req->record));
        return 1;
    case UM_DRAG_REDRAW:
        // Always the show mode: the band the wait loop erased is shown anew.
        if (req && req->view) UpdateRubberBand(req->view, static_cast<int>(wParam), req->w.mode, 0);
        return 1;
    case UM_DRAG_TRANSFORM: {
        if (!req) return 1;
        const CmdRequest r = *req;
        int result = 0;
        DWORD code = 0;
        GuardedCall(
            [&] {
                return DrawTransformedPreview(r.pt1, r.pt2, DoubleAt(r.w.anglePtr, 0), DoubleAt(r.picked, 1), r.w.mode,
                                              reinterpret_cast<void*>(r.mark), r.view);
            },
            // Faults in the host's own image count too: the pointers are the
            // module's, the reads are ours.
            &result, &code, ::GetModuleHandleA(nullptr));
        return 1;
    }
    case UM_DRAW_DB_IN_VIEW: return DrawRegionInView(nullptr, 0, reinterpret_cast<void*>(lParam));
    case UM_DRAW_DB_IN_VIEW_EX:
        return wParam == 1 ? DrawRegionFittedAlt(nullptr, 0, reinterpret_cast<void*>(lParam))
                           : DrawRegionFitted(nullptr, 0, reinterpret_cast<void*>(lParam));
    case UM_SET_OVERVIEW: {
        ViewData* d = req ? GetViewData(req->view) : nullptr;
        if (!d) return 0;
        HWND frame = CmdMainFrame();
        if ((d->overviewLevel != 0 && req->w.mode == 0) || (d->overviewLevel == 0 && req->w.mode == 1))
            if (frame) ::SendMessageA(frame, WM_COMMAND, 1230, 0);
        return 1;
    }
    case UM_TOGGLE_LAYOUT_VIEW: {
        HWND layout = LayoutViewWindow();
        if (!layout) return 1;
        const bool visible = ::IsWindowVisible(layout) != 0;
        PrepareToggle();
        WriteSystemLog(2, "Layoutview", visible ? "%ld Off" : "%ld On", 1L);
        ShowLayoutView(visible ? 0 : 1);
        if (!visible) ActivateMainFrame();
        return 1;
    }
    case UM_SHOW_LAYOUT_VIEW:
        PrepareToggle();
        WriteSystemLog(2, "Layoutview", "%ld On", 2L);
        ShowLayoutView(1);
        ActivateMainFrame();
        return 1;
    case UM_HIDE_LAYOUT_VIEW:
        PrepareToggle();
        WriteSystemLog(2, "Layoutview", "%ld Off", 0L);
        ShowLayoutView(0);
        return 1;
    case UM_TOGGLE_LOUPE:
    case UM_TOGGLE_LOUPE_2:
    case UM_TOGGLE_LOUPE_3: return ToggleLoupe();
    case UM_INPUT_SCALE_FUNC: return InputScaleFunc(wParam, lParam);
    default: return 0;
    }
}
