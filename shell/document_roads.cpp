#include "shell/document_roads.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "base/message_table.h"
#include "base/running_settings.h"
#include "command/command_ids.h"
#include "shell/cad_system.h"
#include "shell/main_accelerator.h"
#include "shell/open_road.h"
#include "shell/save_road.h"
#include "view/input_scale.h"
#include "view/view_table.h"
#include "win/file_dialog.h"

namespace {

int OpenByDialog(HWND owner) {
    char buffer[1020] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    const char* filters =
        Running().openFilters[0][0] ? Running().openFilters[0] : "図面ファイル (*.tcf;*.otcf)\0*.tcf;*.otcf\0";
    ofn.lpstrFilter = filters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = Running().zumenDir;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!ZavGetOpenFileName(&ofn)) return 0;
    for (const std::string& f : win::SelectedFiles(ofn))
        OpenDrawingFile(MainFrameWindow() ? MainFrameWindow() : owner, f.c_str());
    return 0;
}

}  // namespace

// The frame owns its own copy of the table: the loader's goes with it.
HACCEL LoadFrameAccelerator(const char* fileName) {
    CMainAccelerator loader;
    if (loader.Load(fileName) < 0 || !loader.Handle()) return nullptr;
    const int n = ::CopyAcceleratorTableA(loader.Handle(), nullptr, 0);
    if (n <= 0) return nullptr;
    std::vector<ACCEL> entries(n);
    ::CopyAcceleratorTableA(loader.Handle(), entries.data(), n);
    return ::CreateAcceleratorTableA(entries.data(), n);
}

int RunDocumentCommand(int id, HWND owner, DWORD) {
    switch (id) {
    case ID_CMD_OPEN_DRAWING: return OpenByDialog(owner);
    case ID_CMD_SAVE_DRAWING_AS:
    case ID_CMD_SAVE_DRAWING: {
        CloseInputScaleWindow();
        HWND view = GetActiveView();
        if (!view) return 0;
        SaveDrawingAs(view, id == ID_CMD_SAVE_DRAWING_AS ? 0 : 1);
        return 0;
    }
    default: return -1;
    }
}

int OpenOrActivateDrawing(const char* path) {
    if (HWND open = FindViewByFileOrDrawing(path, nullptr)) {
        ActivateViewFrame(open);
        return 1;
    }
    return OpenDrawingFile(MainFrameWindow(), path);
}
