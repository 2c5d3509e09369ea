#include "shell/dialog_base.h"

void DrawDialogBaseButton(const DRAWITEMSTRUCT* item) {
    if (!item) return;
    if (item->CtlID == IDOK)
        DrawColorButton(item);
    else if (item->CtlID == 1000)
        DrawColorButtonByKind(item, 0);
}
