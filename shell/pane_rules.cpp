#include "shell/pane_rules.h"

#include <cstring>

#include "base/local_settings_ini.h"
#include "command/host_messages.h"
#include "shell/cad_system.h"

int IsDockLayoutLocked() {
    const int mode = LocalIni().iLockPanelSliding;
    if (mode == 2) return 0;
    if (mode == 1) return 1;
    HWND frame = MainFrameWindow();
    if (!frame) return 1;
    for (WPARAM i = 0; i < 4; ++i) {
        HWND panel = (HWND)::SendMessageA(frame, UM_GET_CMDPANEL, i, 0);
        HWND pane = panel ? ::GetParent(panel) : nullptr;
        if (pane && ::SendMessageA(pane, WM_COMMAND, 1001, 0) == 1) return 0;
    }
    return 1;
}

int PaneCaptionColors(int kind, int side, const char* title, COLORREF* fill, COLORREF* text) {
    if (!title || !fill || !text) return 0;
    const COLORREF white = RGB(255, 255, 255);
    if (std::strcmp(title, "基本操作") == 0) {
        *fill = RGB(0, 128, 128);
        *text = white;
        return 1;
    }
    if (std::strcmp(title, "作図メニュー") == 0) {
        *fill = RGB(0, 128, 255);
        *text = white;
        return 1;
    }
    static const char kCommandMenu[] = "コマンドメニュー";
    if (std::strncmp(title, kCommandMenu, sizeof kCommandMenu - 1) == 0) {
        if (kind == 1 && (side == 0 || side == 2)) return 0;
        *fill = title[sizeof kCommandMenu - 1] ? RGB(255, 128, 0) : RGB(255, 200, 0);
        *text = white;
        return 1;
    }
    return 0;
}
