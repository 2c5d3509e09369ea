#include "shell/open_road.h"

#include <cstdio>
#include <cstring>

#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "cadlib/WmCadApiDb.h"
#include "command/cad_app_cmd.h"
#include "command/executor.h"
#include "setup/layers.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/main_frame.h"
#include "shell/tiff_road.h"
#include "view/cadwin_frame.h"
#include "view/drawing_state.h"
#include "view/file_lock.h"
#include "command/status_codes.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/message_box.h"
#include "panels/panel_windows.h"

int CloseUntitledWord = 1;
int OpenRoadKeepWord = 0;
int OpenRoadResultWord = 0;

namespace {

HWND MdiClientOf(HWND mainFrame) {
    if (HWND c = MdiClientWindow()) return c;
    return mainFrame ? ::FindWindowExA(mainFrame, nullptr, "MDIClient", nullptr) : nullptr;
}

HWND DefaultNewWindow(HWND mainFrame, const char* fileName) {
    HWND client = MdiClientOf(mainFrame);
    if (!client) return nullptr;
    ++DrawingIdCounter;
    HWND view = CreateDrawingWindow(client, nullptr, fileName);
    if (view) ::ShowWindow(::GetParent(view), SW_SHOW);
    return view;
}

void ClearPromptAndMessage() {
    if (HWND bar = StatusBarWindow()) SetStatusMessage(bar, " ");
    if (HWND bar = StatusBarWindow()) SetStatusPrompt(bar, nullptr);
}

void ShowElementCount() {
    if (HWND bar = StatusBarWindow()) SetStatusElementCount(bar, GetViewElementCount(nullptr));
}

// A window whose load failed or was declined must not keep the file's name:
// an overwrite save would replace the file with an empty drawing.
void DropFailedWindow(HWND view) {
    ViewData* d = GetViewData(view);
    if (d) {
        UnlockDrawingFile(view, d);
        d->readOnly = 0;
        d->modified = 0;
        d->fileName[0] = '\0';
    }
    HWND frame = ::GetParent(view);
    if (frame && ::IsWindow(frame)) ::SendMessageA(frame, WM_CLOSE, 0, 0);
}

void ShowLoadError(const char* fileName, const char* text) {
    WriteSystemLog(0, "Error", "%s %s", fileName, text);
    ShowErrorMessage(text);
}

}  // namespace

OpenRoadLinks& OpenRoad() {
    static OpenRoadLinks links{DefaultNewWindow, [](int id, const char* f) { return RunModuleForFile(id, f); }};
    return links;
}

int HasFreeViewSlot() { return FindFreeViewSlot() >= 0 ? 1 : 0; }

const char* LoadStatusText(uint32_t status, bool failedLoad) {
    struct Bit {
        uint32_t bit;
        const char* text;
    };
    static const Bit kLoaded[] = {
        {0x80, "図面情報が異常です"},
        {0x200, "メモリが不足しています\n読込を中断しました"},
        {0x100, "FGRP情報が異常です"},
        {0x02, "要素情報が異常です"},
        {0x400, "未知の圧縮形式のファイルです。処理を続行できません。"},
        {0x800, "未知の形式のファイルです。処理を続行できません。"},
        {0x10, "ファイルが異常です。図面と認識できません。"},
    };
    static const Bit kFailed[] = {
        kLoaded[0], kLoaded[1], kLoaded[2], kLoaded[3], kLoaded[6], kLoaded[4], kLoaded[5],
    };
    for (const Bit& b : failedLoad ? kFailed : kLoaded)
        if (status & b.bit) return b.text;
    return nullptr;
}

int OpenDrawingFile(HWND mainFrame, const char* fileName) {
    if (!fileName) return 0;
    const int kind = DrawingTypeFromExtension(fileName);
    OpenRoadLinks& links = OpenRoad();
    if (const int importId = ImportCommandOf(kind)) {
        if (!links.startModuleCmd || !links.startModuleCmd(importId, fileName)) return 0;
        ClearPromptAndMessage();
        return 1;
    }
    if (kind == kDrawingTif) return OpenTiffImageRoad(mainFrame, fileName);
    if (!IsOwnDrawingKind(kind)) {
        ClearPromptAndMessage();
        char text[400];
        snprintf(text, sizeof text, "%s\nファイルは、図面と認識できません。", fileName);
        ShowErrorMessage(text);
        return 0;
    }

    WriteSystemLog(2, "Open File", "%s", fileName);
    if (CloseUntitledWord == 1) CloseEmptyUntitledViews(0);
    if (!fileName[0]) return 0;
    if (!HasFreeViewSlot()) {
        WriteSystemLog(0, "Warning", "これ以上ウィンドウは開けません");
        return 0;
    }
    HCURSOR before = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    int result = 1;
    auto finish = [&](int r) {
        ::SetCursor(before);
        ShowElementCount();
        UpdateToolPanelPaperActive();
        return r;
    };
    if (!FileExists(fileName)) {
        char text[400];
        if (Running().LANGUAGE)
            snprintf(text, sizeof text, "file [%s] not found.", fileName);
        else
            snprintf(text, sizeof text, "ファイルが存在しません\n[%s]", fileName);
        ZavMessageBox(mainFrame, text, "ERROR", MB_OK);
        ::SetCursor(before);
        return 0;
    }
    if (HWND open = FindViewByFileOrDrawing(fileName, nullptr)) {
        HWND client = ::GetParent(::GetParent(open));
        if (client) ::PostMessageA(client, WM_MDIACTIVATE, (WPARAM)::GetParent(open), 0);
        return finish(1);
    }
    HWND view = links.newWindow ? links.newWindow(mainFrame, fileName) : nullptr;
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return finish(1);
    DbHeader* db = d->db;
    db->hostWord = (uint32_t)(uintptr_t)d;
    SetDrawingFileName(view, 0, fileName);
    d->untitledNumber = 0;

    bool readOnly = false;
    if (!CanLockDrawingFile(d)) {
        readOnly = true;
        if (!Running().bNoLoadErrMsg && LaunchKind() == 0)
            ZavMessageBox(mainFrame, GetMessageText(IDS_OPENED_READ_ONLY), GetMessageText(IDS_WARNING), MB_OK);
    }
    auto load = [&](uint32_t* status) {
        return kind == kDrawingTcf ? DAriLoadFileOfCWX(fileName, db, status) : DAriLoadFileOfCWU(fileName, db, status);
    };
    auto holdFile = [&] {
        if (readOnly)
            d->readOnly = 1;
        else
            LockDrawingFile(d);
    };
    uint32_t status = 0;
    bool loaded = false;
    if (load(&status)) {
        loaded = true;
        if (const char* text = LoadStatusText(status, false)) {
            ShowErrorMessage(text);
            result = 0;
        }
        holdFile();
    } else if (status == 1) {
        WriteSystemLog(0, "Warning", "ファイルバージョンが新しいフォーマットになっています");
        if (ZavMessageBox(mainFrame, GetMessageText(IDS_NEWER_FILE_VERSION), "LoadingError", MB_YESNO) == IDYES) {
            status = 1;
            if (!load(&status)) {
                ShowLoadError(fileName, GetMessageText(IDS_LOAD_FAILED));
                result = 0;
            } else {
                loaded = true;
                holdFile();
                if (status) {
                    const char* text = LoadStatusText(status, false);
                    ShowLoadError(fileName, text ? text : GetMessageText(IDS_LOAD_FAILED));
                    result = 0;
                }
            }
        }
    } else {
        result = 0;
        const char* text = LoadStatusText(status, true);
        ShowLoadError(fileName, text ? text : GetMessageText(IDS_LOAD_FAILED));
    }

    if (!loaded) {
        // Nothing was read: the window goes, and with it every way of saving
        // an empty drawing over the file.
        db->hostWord = 0;
        DropFailedWindow(view);
        return finish(result);
    }
    if (DbInfo* info = DAriGetDbInfoPtr(0, db)) {
        if (!Running().INPUTLAYERLOAD) info->layers.inputLayer = PickInitialInputLayer(db);
    }
    if (HWND panel = ToolPanelWindow()) ::PostMessageA(panel, UM_TOOL_PANEL_RESYNC, 0, 0);
    SetViewTitle(view, db, 0);
    if (kind == kDrawingOtcf || db->hostWord == 0) {
        ActivateViewFrame(view);
        ZoomViewToPaper();
    }
    ::InvalidateRect(view, nullptr, FALSE);
    db->hostWord = 0;
    return finish(result);
}
