#include "shell/reference_drawings.h"

#include "command/host_hooks.h"
#include "view/view_data.h"
#include "view/view_table.h"

void InstallReferenceDrawingService() {
    HostHooks().activeViewReadOnly = [] {
        ViewData* data = GetViewData(GetActiveView());
        return (data && data->readOnly) ? 1 : 0;
    };
}
