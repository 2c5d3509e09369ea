#include "win/dialog_base.h"

#include "base/monitor.h"

void CenterDialogOver(HWND dialog, HWND parent) {
    RECT self;
    if (!::GetWindowRect(dialog, &self)) return;
    const int w = self.right - self.left, h = self.bottom - self.top;
    const bool child = (::GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) != 0;
    RECT area;
    if (child && parent) {
        ::GetClientRect(parent, &area);
        ::MapWindowPoints(parent, ::GetParent(dialog), reinterpret_cast<POINT*>(&area), 2);
    } else if (parent && ::IsWindowVisible(parent) && !::IsIconic(parent)) {
        ::GetWindowRect(parent, &area);
    } else {
        GetMonitorRect((self.left + self.right) / 2, (self.top + self.bottom) / 2, &area, 1);
    }
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    if (!child) {
        RECT work;
        GetMonitorRect(x + w / 2, y + h / 2, &work, 1);
        if (x + w > work.right) x = work.right - w;
        if (y + h > work.bottom) y = work.bottom - h;
        if (x < work.left) x = work.left;
        if (y < work.top) y = work.top;
    }
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DialogLookHooks& DialogLook() {
    static DialogLookHooks hooks;
    return hooks;
}

COLORREF DialogPanelColor() {
    return DialogLook().panelColor ? DialogLook().panelColor() : ::GetSysColor(COLOR_BTNFACE);
}

void DrawDialogBaseButton(const DRAWITEMSTRUCT* item) {
    if (!item) return;
    const DialogLookHooks& look = DialogLook();
    if (item->CtlID == IDOK && look.drawOkButton)
        look.drawOkButton(item);
    else if (item->CtlID == 1000 && look.drawKindButton)
        look.drawKindButton(item, 0);
}
