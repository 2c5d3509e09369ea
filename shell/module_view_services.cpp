#include "shell/module_view_services.h"

#include <cstring>
#include <string>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "shell/cad_system.h"
#include "shell/open_road.h"
#include "shell/save_road.h"
#include "view/cadwin_frame.h"
#include "view/drawing_state.h"
#include "view/host_view_service.h"
#include "view/view_popups.h"
#include "view/view_data.h"
#include "view/view_table.h"

int OpenDialogStateWord = 0;
char OpenDialogText[260] = "";
char ImageModulePath[260] = "";

namespace {

// The host's buffer for the name being opened or closed.
char g_pathBuffer[260];

// A module's text, taken up to the buffer's size whatever its length.
const char* TakeText(LPARAM lParam, char* buffer, size_t size) {
    buffer[0] = 0;
    if (lParam) lstrcpynA(buffer, reinterpret_cast<const char*>(lParam), static_cast<int>(size));
    return buffer;
}

std::string InDrawingFolder(const char* name) {
    std::string folder = Running().zumenDir;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + name;
}

// The name counts as absolute with a drive ("x:") or a leading backslash.
bool OpenNameIsAbsolute(const char* name) { return std::strlen(name) > 3 && (name[1] == ':' || name[0] == '\\'); }

// The name counts as absolute when it holds a backslash anywhere (the
// trail bytes of double-byte characters do not count).
bool CloseNameIsAbsolute(const char* name) {
    for (const char* p = name; *p; ++p) {
        if (IsSjisLeadByte(static_cast<unsigned char>(*p)) && p[1]) {
            ++p;
            continue;
        }
        if (*p == '\\') return true;
    }
    return false;
}

// The view showing a file, compared without case; the highest window
// number among several.
HWND ViewShowing(const std::string& path) { return FindViewByFileOrDrawing(path.c_str(), nullptr); }

LRESULT OpenDrawing(const CmdRequest* req) {
    RequestPopupRefresh();
    if (!req) return 0;
    const char* name = TakeText(req->w.text, g_pathBuffer, sizeof g_pathBuffer);
    const std::string path = OpenNameIsAbsolute(name) ? std::string(name) : InDrawingFolder(name);
    if (HWND view = ViewShowing(path)) {
        if (HWND mdi = CmdMdiClient()) PostMessageA(mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetParent(view)), 0);
        return 1;
    }
    const bool noUntitled = Running().CMDFILEOPN_NOZUMEN != 0;
    if (noUntitled) {
        CloseUntitledWord = 1;
        KeepCmdOnCloseFlag = 1;
    } else {
        CloseUntitledWord = 0;
    }
    const int result = OpenDrawingFile(CmdMainFrame(), path.c_str());
    if (noUntitled) {
        if (OpenRoadKeepWord != 1) CloseEmptyUntitledViews(0);
        CloseUntitledWord = 1;
        PostMessageA(CmdMainFrame(), UM_RESET_OPEN_FLAG, 0, 0);
    } else {
        CloseUntitledWord = 1;
    }
    return result;
}

LRESULT CloseDrawing(const CmdRequest* req) {
    RequestPopupRefresh();
    if (!req) return 1;
    const char* name = TakeText(req->w.text, g_pathBuffer, sizeof g_pathBuffer);
    const std::string path = CloseNameIsAbsolute(name) ? std::string(name) : InDrawingFolder(name);
    if (HWND view = ViewShowing(path)) {
        CadwinHost().commandInitiatedClose = 1;
        SendMessageA(GetParent(view), WM_CLOSE, 0, 0);
        CadwinHost().commandInitiatedClose = 0;
    }
    return 1;
}

LRESULT ForceSave(LPARAM lParam) {
    HWND view = GetActiveView();
    if (!view) return 1;
    WriteSystemLog(2, "System Cmd", "強制保存");
    if (!lParam) return SaveDrawingAs(view, 2);
    TakeText(lParam, SaveRoadNameBuffer, sizeof SaveRoadNameBuffer);
    return SaveDrawingAs(view, 3);
}

LRESULT FileFunc(WPARAM code, LPARAM lParam) {
    char path[260];
    switch (code) {
    case 0: {
        // The linked image beside a drawing: loaded by the image module,
        // which this installation does not have; nothing is loaded.
        TakeText(lParam, path, sizeof path);
        return 0;
    }
    case 1: OpenRoadKeepWord = 1; return 1;
    case 2: OpenRoadKeepWord = 0; return 1;
    case 3: return OpenRoadResultWord;
    case 5:
        // The image module is not installed: the path is kept, nothing runs.
        TakeText(lParam, ImageModulePath, sizeof ImageModulePath);
        return 0;
    case 6: OpenDialogStateWord = static_cast<int>(lParam); return 1;
    case 7: TakeText(lParam, OpenDialogText, sizeof OpenDialogText); return 1;
    default: return 0;
    }
}

}  // namespace

LRESULT ModuleViewService(UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto* req = reinterpret_cast<const CmdRequest*>(lParam);
    switch (msg) {
    case UM_OPEN_DRAWING: return OpenDrawing(req);
    case UM_CLOSE_DRAWING: return CloseDrawing(req);
    case UM_FORCE_SAVE: return ForceSave(lParam);
    case UM_FILE_FUNC: return FileFunc(wParam, lParam);
    case UM_VIEW_FUNC:
        if (wParam == 7) {
            HWND view = GetActiveView();
            return view ? SaveDrawingAs(view, 4) : 0;
        }
        break;
    default: break;
    }
    bool handled = false;
    const LRESULT result = ViewHostService(msg, wParam, lParam, &handled);
    return handled ? result : 0;
}
