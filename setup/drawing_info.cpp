// Drawing information of a drawing, read and written through the CAD library.
#include "setup/drawing_info.h"

#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/status_codes.h"
#include "panels/panel_windows.h"
#include "view/db_info.h"
#include "setup/layers.h"
#include "setup/setup_dialogs.h"
#include "view/drawing_state.h"
#include "view/input_scale.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_table.h"

int ReadDrawingInfo(void* db, void* block) { return db ? DAriGetDBInfo(block, static_cast<DbHeader*>(db)) : 0; }

int ApplyDrawingInfo(HWND view, const void* block, int loadPattern) {
    ViewData* data = GetViewData(view);
    if (!data) return 1;
    SetDrawingModified(view);
    if (data->db) DAriSetDBInfo(block, static_cast<DbHeader*>(data->db));
    RefreshToolPanel();
    if (CountDrawingViews(view) > 1) {
        for (HWND v = GetNextView(nullptr); v; v = GetNextView(v)) {
            ViewData* other = GetViewData(v);
            if (other && other->db == data->db) SetViewTitle(v, other->db, other->windowNumber);
        }
    } else {
        SetViewTitle(view, data->db, 0);
    }
    const std::string pattern = HostHooks().layerPatternFile ? HostHooks().layerPatternFile() : std::string();
    if (loadPattern && !pattern.empty()) LoadLayerPatternToDb(GetParent(view), pattern.c_str(), data->db);
    data->untitledNumber = 0;
    ZoomViewToPaper();
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    return 0;
}

SystemCmdOutcome RunDrawingInfoCommand() {
    SystemCmdOutcome out;
    CloseInputScaleWindow();
    HWND view = GetActiveView();
    if (!view) {
        if (HWND bar = CmdStatusBar()) SetStatusMessage(bar, "");
        out.finish = CmdFinish::Keep;
        return out;
    }
    ViewData* data = GetViewData(view);
    if (!data || !data->db) {
        out.finish = CmdFinish::Keep;
        return out;
    }
    std::vector<char> block(sizeof(DbInfoHead), 0);
    ReadDrawingInfo(data->db, block.data());
    if (RunDrawingInfoDialog(reinterpret_cast<DbInfoHead*>(block.data())) == 0) ApplyDrawingInfo(view, block.data(), 0);
    return out;
}
