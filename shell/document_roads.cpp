#include "shell/document_roads.h"

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "base/message_table.h"
#include "base/running_settings.h"
#include "command/command_ids.h"
#include "shell/cad_system.h"
#include "shell/file_open_dialog.h"
#include "shell/main_accelerator.h"
#include "shell/placement_db.h"
#include "shell/open_road.h"
#include "shell/save_road.h"
#include "view/input_scale.h"
#include "view/view_table.h"
#include "win/file_dialog.h"


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
    case ID_CMD_OPEN_DRAWING: return RunFileOpenDialog(owner, kFileDialogOpen);
    case ID_CMD_DELETE_DRAWING_FILE: return RunFileOpenDialog(owner, kFileDialogDelete);
    case ID_CMD_PASTE_DRAWING:
        if (GetActiveView()) RunFileOpenDialog(owner, kFileDialogPlace);
        return 0;
    case ID_CMD_PASTE_COPY_FILE:
        if (GetActiveView()) PasteCopyFile(owner);
        return 0;
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
