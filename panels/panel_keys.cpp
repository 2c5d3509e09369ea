#include "panels/panel_keys.h"

#include <cstring>

#include "panels/app_panel_dlg.h"
#include "panels/pbox.h"
#include "panels/pbox_input_items.h"
#include "panels/rp_menu.h"

namespace {
bool IsPanelRoot(HWND w) {
    if (!w) return false;
    if (w == PBoxPanelWindow() || w == RPMenuWindow() || w == PBoxEditState.dropWindow) return true;
    for (const PBoxPage& page : PBoxPageTable)
        if (page.form && page.form->m_hWnd == w) return true;
    return false;
}
}  // namespace

bool IsPanelKeyTarget(HWND w) {
    if (!w) return false;
    char cls[32] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    // A dropped combo list is a pop-up of its own; its keys are its own too.
    if (_stricmp(cls, "ComboLBox") == 0) return true;
    for (HWND p = w; p; p = ::GetParent(p))
        if (IsPanelRoot(p)) return true;
    return false;
}
