#include "panels/panel_windows.h"

#include "base/running_settings.h"
#include "command/command_ids.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/pbox.h"
#include "panels/rp_menu.h"

int PanelFocusRedirect = 0;
HWND PanelInputWindow = nullptr;

namespace {

// A visible child of `pane` filling its client area.
HWND CreateFilling(CWindowBase& w, HWND pane, const char* className, UINT id) {
    WindowClassArgs wc;
    wc.name = className;
    wc.background = (HBRUSH)(COLOR_BTNFACE + 1);
    if (!win::RegisterWindowClass(wc)) return nullptr;
    CreateArgs a;
    a.className = className;
    a.parent = pane;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    a.id = id;
    RECT rc = {0, 0, 0, 0};
    if (pane) ::GetClientRect(pane, &rc);
    a.SetRect(rc);
    return w.Create(a);
}
}  // namespace

HWND CCmdPanel::Create(HWND pane) { return CreateFilling(*this, pane, "ZavCmdPanel", 0); }

LRESULT CCmdPanel::OnEnableTips(WORD code, WORD, HWND, BOOL&) {
    m_tips = code != 0;
    return 0;
}
