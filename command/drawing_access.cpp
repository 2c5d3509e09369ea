#include "command/drawing_access.h"

#include "command/host_hooks.h"

namespace drawing {

HWND ActiveView() { return CmdActiveView(); }

DbHeader* ViewDb(HWND view) {
    auto& hook = HostHooks().viewDb;
    return (view && hook) ? hook(view) : nullptr;
}

DbHeader* ActiveDb() { return ViewDb(ActiveView()); }

HWND ViewOfDb(DbHeader* db) {
    auto& hook = HostHooks().findViewByDb;
    return (db && hook) ? hook(db) : nullptr;
}

void MarkModified(HWND view) {
    auto& hook = HostHooks().setDrawingModified;
    if (hook) hook(view);
}

void MarkDbModified(DbHeader* db) {
    if (HWND view = ViewOfDb(db)) MarkModified(view);
}

void RefreshPopups() {
    auto& hook = HostHooks().setPopupRefresh;
    if (hook) hook();
}

void DrawElement(HWND view, int colour, const void* element) {
    auto& hook = HostHooks().drawElementInViews;
    if (hook && element) hook(view, colour, element);
}

void DrawMark(int colour, CadMark* mark) {
    auto& hook = HostHooks().drawMarkInViews;
    if (hook && mark) hook(colour, mark);
}

int CurrentPage() {
    auto& hook = HostHooks().currentPage;
    return hook ? hook() : 0;
}

bool GetPageState(PageStateBlock* state) {
    auto& hook = HostHooks().getPageState;
    return hook && state && hook(state) != 0;
}

}  // namespace drawing
