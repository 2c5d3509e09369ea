#include "shell/system_command_actions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "command/command_ids.h"
#include "setup/drawing_info.h"
#include "panels/panel_windows.h"
#include "setup/layers.h"
#include "setup/new_drawing.h"
#include "setup/setup_dialogs.h"
#include "shell/cad_system.h"
#include "shell/main_frame.h"
#include "shell/shell_seams.h"
#include "shell/ui_library.h"
#include "view/drawing_state.h"
#include "command/status_codes.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

CMainFrame* Frame() {
    HWND w = MainFrameWindow();
    return w ? static_cast<CMainFrame*>(CWindowBase::FromHandle(w)) : nullptr;
}

// The fields of the drawing information that a new drawing takes over.
void TakeNewDrawingFields(DbInfoHead& work, const DbInfoHead& source) {
    char* to = reinterpret_cast<char*>(work.bytes);
    const char* from = reinterpret_cast<const char*>(source.bytes);
    if (from[kInfoTitle]) std::memcpy(to + kInfoTitle, from + kInfoTitle, 257);
    std::memcpy(to + kInfoAuthor, from + kInfoAuthor, 257);
    std::memcpy(to + kInfoRemarks, from + kInfoRemarks, 257);
    work.Info()->paperCode = source.Info()->paperCode;
    for (size_t at : {kInfoDrawW, kInfoDrawH, kInfoPaperWmm, kInfoPaperHmm, kInfoScale})
        std::memcpy(to + at, from + at, 8);
    work.Info()->originAtCorner = source.Info()->originAtCorner;
}

void LoadNewDrawingPattern(HWND owner, DbHeader* db) {
    const char* pattern = Running().szLPatRd;
    if (pattern[0]) LoadLayerPatternToDb(owner, pattern, db);
}

}  // namespace

void FillNewDrawingBlock(DbInfoHead& block) {
    std::memset(&block, 0, sizeof block);
    TakeNewDrawingDefaults(block);
    block.Info()->originAtCorner = Running().bPaperOrg ? 1 : 0;
}

HWND NewDrawingFromInfo(DbInfoHead& work, HWND owner, const DbInfoHead& source) {
    CMainFrame* frame = Frame();
    HWND view = frame ? frame->NewDrawingWindow(owner, 0, nullptr, nullptr) : nullptr;
    ViewData* data = GetViewData(view);
    if (!data || !data->db) return nullptr;
    DAriGetDBInfo(&work, data->db);
    TakeNewDrawingFields(work, source);
    DAriSetDBInfo(&work, data->db);
    ActivateViewFrame(view);
    // The fit puts the paper's centre in the middle of the view, whichever
    // corner the origin lies at.
    ZoomViewToPaper();
    SetViewTitle(view, data->db, 0);
    LoadNewDrawingPattern(owner, data->db);
    UpdateToolPanelPaperActive();
    return view;
}

int RunNewDrawingCommand(HWND owner) {
    DbInfoHead block;
    FillNewDrawingBlock(block);
    if (RunNewDrawingDialog(&block) != 0) return 0;
    DbInfoHead work;
    NewDrawingFromInfo(work, owner, block);
    return 0;
}

int RunStartDrawingCommand(HWND owner, DWORD word) {
    const int flags = HIWORD(word);
    DbInfoHead block, work;
    FillNewDrawingBlock(block);
    HWND view = NewDrawingFromInfo(work, owner, block);
    // The start drawing holds nothing the user made: it is not modified,
    // so opening a file instead closes it without a question.
    auto apply = [&] {
        if (HWND active = GetActiveView()) {
            ApplyDrawingInfo(active, &work, 1);
            ClearDrawingModified(active);
        }
    };
    if (flags == 100) {
        apply();
        return 0;
    }
    for (;;) {
        CCreateOpenZumenDlg dialog(&work);
        const INT_PTR answer = dialog.DoModal(::GetActiveWindow());
        if (answer == 1) {
            apply();
            break;
        }
        // A dialog that cannot be shown (-1) counts as cancelled: shown
        // again it would fail again, for ever.
        if (answer == 2 || answer < 0) {
            if (view && ::IsWindow(view)) ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
            if (flags == 1 && MainFrameWindow()) ::PostMessageA(MainFrameWindow(), WM_COMMAND, ID_CMD_EXIT, 0);
            break;
        }
        if (answer == 100) {
            if (MainFrameWindow()) ::SendMessageA(MainFrameWindow(), WM_COMMAND, ID_CMD_OPEN_DRAWING, 0);
            if (view && ::IsWindow(view)) ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
            break;
        }
    }
    return 0;
}

int RunSecondWindowCommand() {
    HWND active = GetActiveView();
    if (!active) return 0;
    HWND activeFrame = ::GetParent(active);
    RECT fr = {};
    ::GetWindowRect(activeFrame, &fr);
    if (fr.right - fr.left < 100 || fr.bottom - fr.top < 100) return 0;
    UiLayerSplit(0);
    if (IsInputLocked()) return 0;
    HWND found = FindViewByFileOrDrawing(nullptr, active);
    CMainFrame* frame = Frame();
    if (!found || !frame) return 0;
    HWND view = frame->NewDrawingWindow(frame->m_hWnd, 1, nullptr, nullptr);
    if (!view) return 0;
    if (!ShareDrawingOfView(view, found)) {
        ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
        return 0;
    }
    ViewData* mine = GetViewData(view);
    ViewData* theirs = GetViewData(found);
    DbInfoHead info;
    const bool hasInfo = DAriGetDBInfo(&info, mine->db) != 0;
    const char* untitled = GetMessageText(IDS_UNTITLED);
    if (!theirs->fileName[0] && !(hasInfo && info.Title()[0])) {
        // An untitled drawing keeps its number in both titles.
        char text[256] = "";
        ::GetWindowTextA(activeFrame, text, sizeof text);
        const size_t len = std::strlen(untitled);
        const int n = std::strncmp(text, untitled, len) == 0 ? std::atoi(text + len) : 0;
        char mineTitle[300], theirTitle[300];
        if (n) {
            snprintf(mineTitle, sizeof mineTitle, "%s%d : %d", untitled, n, mine->windowNumber);
            snprintf(theirTitle, sizeof theirTitle, "%s%d : %d", untitled, n, theirs->windowNumber);
        } else {
            snprintf(mineTitle, sizeof mineTitle, "%s : %d", untitled, mine->windowNumber);
            snprintf(theirTitle, sizeof theirTitle, "%s : %d", untitled, theirs->windowNumber);
        }
        ::SetWindowTextA(::GetParent(view), mineTitle);
        ::SetWindowTextA(activeFrame, theirTitle);
    } else {
        SetViewTitle(view, mine->db, mine->windowNumber);
        SetViewTitle(found, theirs->db, theirs->windowNumber);
    }
    ActivateViewFrame(view);
    ZoomViewToPaper();
    if (HWND bar = StatusBarWindow()) SetStatusElementCount(bar, GetViewElementCount(view));
    // Side by side in the place of the first: halves of its rectangle.
    HWND client = ::GetParent(activeFrame);
    POINT clientTop = {0, 0};
    ::ClientToScreen(client, &clientTop);
    if (fr.top < clientTop.y) fr.top = clientTop.y;
    ::MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&fr), 2);
    const int w = fr.right - fr.left, h = fr.bottom - fr.top;
    const UINT how = SWP_NOZORDER | SWP_NOCOPYBITS | SWP_NOACTIVATE;
    if (h <= w) {
        ::SetWindowPos(activeFrame, nullptr, fr.left, fr.top, w / 2, h, how);
        ::SetWindowPos(::GetParent(view), nullptr, fr.left + w / 2, fr.top, w / 2, h, how);
    } else {
        ::SetWindowPos(activeFrame, nullptr, fr.left, fr.top, w, h / 2, how);
        ::SetWindowPos(::GetParent(view), nullptr, fr.left, fr.top + h / 2, w, h / 2, how);
    }
    return 0;
}
