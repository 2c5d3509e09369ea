#include "setup/layer_dialogs.h"

#include "command/host_hooks.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {
bool ActiveDrawingWithRecord() {
    HWND view = GetActiveView();
    return view && GetViewData(view);
}
void EraseRubberBand() {
    if (HostHooks().updateRubberBandErase) HostHooks().updateRubberBandErase();
}
}  // namespace

INT_PTR RunLayerManagerDialog(HWND parent) {
    if (!GetActiveView()) return 0;
    ShowInputLayerDialog(2);
    if (!ActiveDrawingWithRecord()) return 0;
    EraseRubberBand();
    auto& modeless = HostHooks().enableModelessWindow;
    const int wasEnabled = modeless ? modeless(0) : 0;
    CLayerManagerDlg dlg;
    const INT_PTR result = dlg.DoModal(parent);
    if (modeless && wasEnabled) modeless(1);
    return result;
}

INT_PTR RunAddLayerDialog(HWND parent) {
    if (!ActiveDrawingWithRecord()) return 0;
    EraseRubberBand();
    CAddLayerDlg dlg;
    return dlg.DoModal(parent);
}
