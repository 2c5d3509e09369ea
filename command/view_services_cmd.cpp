// The host messages of the drawing views, drawings, pop-ups and the view,
// file, input-scale and font sub-codes: the command system hands every one
// on to the one view-service hook, which the shell fills.
#include "command/host_hooks.h"
#include "command/host_objects.h"

namespace {

LRESULT ViewService(UINT msg, WPARAM wParam, LPARAM lParam) {
    auto& hook = HostHooks().viewService;
    return hook ? hook(msg, wParam, lParam) : 0;
}

}  // namespace

#define VIEW_SERVICE_HANDLER(handler)                                            \
    LRESULT CCadSysCmd::handler(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) { \
        return ViewService(msg, wParam, lParam);                                 \
    }

VIEW_SERVICE_HANDLER(OnCloseDrawing)
VIEW_SERVICE_HANDLER(OnDeselectAll)
VIEW_SERVICE_HANDLER(OnDeselectElement)
VIEW_SERVICE_HANDLER(OnDrawElement)
VIEW_SERVICE_HANDLER(OnDrawElementColor)
VIEW_SERVICE_HANDLER(OnDrawMark)
VIEW_SERVICE_HANDLER(OnDrawMarkColor)
VIEW_SERVICE_HANDLER(OnDrawingFileName)
VIEW_SERVICE_HANDLER(OnFileFunc)
VIEW_SERVICE_HANDLER(OnFocusView)
VIEW_SERVICE_HANDLER(OnFontDicFunc)
VIEW_SERVICE_HANDLER(OnForceSave)
VIEW_SERVICE_HANDLER(OnGetColor)
VIEW_SERVICE_HANDLER(OnGetColorTable)
VIEW_SERVICE_HANDLER(OnGetDbInfoNumber)
VIEW_SERVICE_HANDLER(OnGetDrawAttr)
VIEW_SERVICE_HANDLER(OnGetDrawAttrOpt)
VIEW_SERVICE_HANDLER(OnGetElementExtent)
VIEW_SERVICE_HANDLER(OnGetPaperRect)
VIEW_SERVICE_HANDLER(OnMaximizeView)
VIEW_SERVICE_HANDLER(OnMinimizeMain)
VIEW_SERVICE_HANDLER(OnOpenDrawing)
VIEW_SERVICE_HANDLER(OnReadElementInView)
VIEW_SERVICE_HANDLER(OnRedrawView)
VIEW_SERVICE_HANDLER(OnRefreshView)
VIEW_SERVICE_HANDLER(OnResetOpenFlag)
VIEW_SERVICE_HANDLER(OnSelectElement)
VIEW_SERVICE_HANDLER(OnSetDrawAttr)
VIEW_SERVICE_HANDLER(OnShowMain)
VIEW_SERVICE_HANDLER(OnUpdateElementCount)
VIEW_SERVICE_HANDLER(OnViewFunc)
