#include "shell/save_road.h"

#include <windows.h>
#include <dlgs.h>  // the common dialogs' control ids

#include <cstdio>
#include <cstring>
#include <string>

#include "base/apply_settings.h"
#include "base/dbcs.h"
#include "base/handover_files.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/monitor.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "cadlib/WmCadApiDb.h"
#include "command/cad_app_cmd.h"
#include "command/drawing_events.h"
#include "command/executor.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/file_backup.h"
#include "shell/main_frame.h"
#include "shell/ui_library.h"
#include "view/cadwin_frame.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/file_lock.h"
#include "view/input_scale.h"
#include "view/rubber_band.h"
#include "command/status_codes.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/file_dialog.h"
#include "win/message_box.h"

char SaveRoadNameBuffer[260];
char TempSavePath[260];
int DrawingSavedFlag = 0;

namespace {

// The library's answer when it will not write to the path it was given.
const int kLibraryWriteRefused = 9999;
// Numbers of the temporary files of a save onto a removable disk.
const long kRemovableKeepNumber = 9998;
const long kRemovableWriteNumber = 9999;

int LibraryWrite(const char* path, void* db, uint32_t* status, int kind) {
    DbHeader* h = static_cast<DbHeader*>(db);
    return kind == kDrawingOtcf ? DAriSaveFileOfCWU(path, h, status) : DAriSaveFileOfCWX(path, h, status);
}

DrawingFileOps DefaultOps() {
    DrawingFileOps ops;
    ops.write = LibraryWrite;
    ops.replace = [](const char* from, const char* to) {
        return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    };
    ops.copy = [](const char* from, const char* to) { return ::CopyFileA(from, to, FALSE); };
    ops.driveType = [](const char* root) { return ::GetDriveTypeA(root); };
    return ops;
}

// Equal ignoring the case of single-byte letters; double-byte characters
// compare exactly.
bool SameName(const char* a, const char* b) {
    while (*a && *b) {
        const size_t la = DbcsCharLength(a), lb = DbcsCharLength(b);
        if (la != lb) return false;
        if (la == 1) {
            if (::CharUpperA((LPSTR)(UINT_PTR)(unsigned char)*a) != ::CharUpperA((LPSTR)(UINT_PTR)(unsigned char)*b))
                return false;
        } else if (std::memcmp(a, b, la) != 0) {
            return false;
        }
        a += la;
        b += lb;
    }
    return *a == *b;
}

std::string FolderOf(const char* path) {
    const char* slash = DbcsFindLastChar(path, '\\');
    return slash ? std::string(path, slash - path + 1) : std::string();
}

void DrawingTitle(HWND view, char* out, size_t size) {
    out[0] = '\0';
    ViewData* d = GetViewData(view);
    DbInfoHead head;
    if (d && d->db && DAriGetDBInfo(&head, d->db)) DbcsCopy(out, size, head.Title());
}

void ClearDrawingEvent(HWND view) { ExecDrawingEventCmd(GetViewData(view), 1); }

// A drawing whose saving a command module has taken over: the module's
// drawing-event command writes it.
int RunDrawingEventSave(HWND view) { return ExecDrawingEventCmd(GetViewData(view), 0); }

void RenderThumbnail(HWND view, DbHeader* db) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 176, 126);
    HDC mem = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (db->thumbnail) ::DeleteObject(static_cast<HBITMAP>(db->thumbnail));
    db->thumbnail = bmp;
    HGDIOBJ old = ::SelectObject(mem, bmp);
    RECT rc = {0, 0, 176, 126};
    HBRUSH brush = ::CreateSolidBrush(GetDrawBackColor());
    ::FillRect(mem, &rc, brush);
    ::DeleteObject(brush);
    DrawViewToDc(view, 0, 0, mem, 176, 126);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

// Writes through a temporary file beside the target and moves it over the
// target once complete. Returns the library's result (1 success).
int WriteReplacing(const char* target, DbHeader* db, uint32_t* status, int kind) {
    DrawingFileOps& ops = SaveRoadFiles();
    std::string temp = std::string(target) + ".~tmp";
    ::DeleteFileA(temp.c_str());
    const int r = ops.write(temp.c_str(), db, status, kind);
    if (r != 1) {
        ::DeleteFileA(temp.c_str());
        return r == kLibraryWriteRefused ? 0 : r;
    }
    if (!ops.replace(temp.c_str(), target)) {
        if (::GetLastError() == ERROR_DISK_FULL) *status |= 0x10;
        ::DeleteFileA(temp.c_str());
        if (!*status) *status = 0x20;
        return 0;
    }
    return 1;
}

bool IsRemovableTarget(const char* name) {
    if (!name || !name[0] || name[1] != ':' || name[2] != '\\') return false;
    const char root[4] = {name[0], ':', '\\', 0};
    return SaveRoadFiles().driveType(root) == DRIVE_REMOVABLE;
}

// A removable disk: the old file is kept as temporary file 9998 in the
// backup folder, the drawing is written as 9999 there first and then
// brought onto the disk beside the target and moved over it.
int WriteRemovable(const char* target, DbHeader* db, uint32_t* status, int kind) {
    DrawingFileOps& ops = SaveRoadFiles();
    TempSaveName(kRemovableKeepNumber);
    const std::string keep = TempSavePath;
    if (IsFileReadable(target)) ops.copy(target, keep.c_str());
    TempSaveName(kRemovableWriteNumber);
    const std::string fresh = TempSavePath;
    const int r = ops.write(fresh.c_str(), db, status, kind);
    if (r == kLibraryWriteRefused) return WriteReplacing(target, db, status, kind);
    if (r != 1) {
        ::DeleteFileA(fresh.c_str());
        return r;
    }
    const std::string beside = std::string(target) + ".~tmp";
    bool ok = ops.copy(fresh.c_str(), beside.c_str()) != 0;
    if (!ok && ::GetLastError() == ERROR_DISK_FULL) *status |= 0x10;
    if (ok) ok = ops.replace(beside.c_str(), target) != 0;
    if (!ok) {
        if (!*status) *status = 0x20;
        ::DeleteFileA(beside.c_str());
    }
    ::DeleteFileA(fresh.c_str());
    return ok ? 1 : 0;
}

// The file-name box of the explorer-style save dialog.
HWND FileNameBox(HWND dialog) {
    HWND box = ::GetDlgItem(dialog, edt1);
    if (!box) box = ::GetDlgItem(dialog, cmb13);
    return box;
}

void CentreOnMonitor(HWND dialog) {
    RECT monitor = {}, rc = {};
    GetWindowMonitorRect(dialog, &monitor);
    ::GetWindowRect(dialog, &rc);
    const int x = monitor.left + ((monitor.right - monitor.left) - (rc.right - rc.left)) / 2;
    const int y = monitor.top + ((monitor.bottom - monitor.top) - (rc.bottom - rc.top)) / 2;
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FollowFileType(HWND dialog, const OPENFILENAMEA* ofn) {
    if (!ofn) return;
    const std::string ext = FilterExtension(ofn->lpstrFilter, ofn->nFilterIndex);
    HWND box = FileNameBox(dialog);
    if (ext.empty() || !box) return;
    char name[1024] = "";
    ::GetWindowTextA(box, name, sizeof name);
    if (!name[0]) return;
    const std::string renamed = WithExtension(name, ext);
    if (renamed != name) ::SetWindowTextA(box, renamed.c_str());
}

}  // namespace

std::string FilterExtension(const char* filters, DWORD index) {
    if (!filters || index == 0) return std::string();
    const char* p = filters;
    for (DWORD pair = 1; *p; ++pair) {
        const char* pattern = p + std::strlen(p) + 1;
        if (!*pattern) break;
        if (pair == index) {
            std::string text(pattern);
            const size_t dot = text.find('.');
            if (dot == std::string::npos) return std::string();
            std::string ext = text.substr(dot);
            const size_t end = ext.find(';');
            if (end != std::string::npos) ext.resize(end);
            // "*.*" names no extension of its own.
            return ext.find('*') == std::string::npos ? ext : std::string();
        }
        p = pattern + std::strlen(pattern) + 1;
    }
    return std::string();
}

std::string WithExtension(const std::string& name, const std::string& ext) {
    if (name.empty() || ext.empty()) return name;
    const char* text = name.c_str();
    const char* slash = DbcsFindLastChar(text, '\\');
    const char* dot = DbcsFindLastChar(slash ? slash : text, '.');
    if (!dot) return name + ext;
    if (::lstrcmpiA(dot, ext.c_str()) == 0) return name;
    return name.substr(0, dot - text) + ext;
}

UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = ::GetParent(hook);
    switch (message) {
    case WM_INITDIALOG:
        CentreOnMonitor(dialog);
        UiChgBtnStyleOwnerDraw(hook, 1);
        return 0;
    case WM_NOTIFY: {
        const OFNOTIFYA* note = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (note && note->hdr.code == CDN_TYPECHANGE) FollowFileType(dialog, note->lpOFN);
        return 0;
    }
    case WM_DRAWITEM:
        if (wParam == 1) {
            DrawColorButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return 1;
        }
        return 0;
    case WM_ERASEBKGND: return UiOnEraseBkgnd(hook, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORBTN:
        return reinterpret_cast<UINT_PTR>(
            UiOnCtlColor(hook, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), 3));
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<UINT_PTR>(
            UiOnCtlColor(hook, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), 6));
    }
    return 0;
}

DrawingFileOps& SaveRoadFiles() {
    static DrawingFileOps ops = DefaultOps();
    return ops;
}
void ResetSaveRoadFiles() { SaveRoadFiles() = DefaultOps(); }

int TempSaveName(long number) {
    std::string folder = Running().backupDir;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    snprintf(TempSavePath, sizeof TempSavePath, "%stemp%ld%s", folder.c_str(), number, ".tcf");
    return 1;
}

int SaveDrawingFile(HWND view, char* fileName) {
    CloseInputScaleWindow();
    if (!view) return 0;
    HCURSOR before = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    WriteSystemLog(2, "Save File", "%s", fileName);
    // A crash during the write leaves the library's temporary file there.
    FileBackup().NoteSaveFolder(fileName);
    ViewData* d = GetViewData(view);
    if (!d || !d->db) {
        ::SetCursor(before);
        return 0;
    }
    // The lock is on the file the window holds; a save to that file must
    // let go of it first.
    const bool sameFile = SameName(d->fileName, fileName);
    if (sameFile) UnlockDrawingFile(view, d);
    auto relock = [&] {
        if (d->fileName[0] && !d->readOnly && !d->drawingEvent) LockDrawingFile(d);
    };
    if (!CheckFileWritable(fileName)) {
        ZavMessageBox(view, GetMessageText(IDS_CANNOT_WRITE_FILE), "Error", MB_OK);
        if (sameFile) relock();
        ::SetCursor(before);
        return 0;
    }
    RenderThumbnail(view, d->db);
    const int kind = DrawingTypeFromExtension(fileName);
    uint32_t status = 0;
    int result = 0;
    bool emptied = false;
    switch (kind) {
    case kDrawingOtcf:
    case kDrawingTcf: {
        // The input layer written with the drawing is the drawing's own
        // (the current layer of its windows lives in its layer table);
        // another drawing's current layer never goes into it.
        d->db->hostWord = (uint32_t)(uintptr_t)d;
        result = IsRemovableTarget(fileName) ? WriteRemovable(fileName, d->db, &status, kind)
                                             : WriteReplacing(fileName, d->db, &status, kind);
        d->db->hostWord = 0;
        break;
    }
    case kDrawingDxf:
    case kDrawingDwg:
        result = RunModuleForFile(ExportCommandOf(kind), fileName);
        if (HWND bar = StatusBarWindow()) SetStatusPrompt(bar, nullptr);
        break;
    case kDrawingJwc:
        ShowErrorMessage("現在、この図面フォーマットには対応していません");
        fileName[0] = '\0';
        emptied = true;
        break;
    default:
        ShowErrorMessage("ファイルの種類が判断できません");
        fileName[0] = '\0';
        emptied = true;
        break;
    }
    ::SetCursor(before);
    if (result == 1) {
        if (IsOwnDrawingKind(kind)) {
            // The library noted the file it wrote, which was the temporary
            // one: the drawing's name is the target's.
            if (DbInfo* info = DAriGetDbInfoPtr(0, d->db))
                DbcsCopy(info->extFileName, sizeof info->extFileName, fileName);
            if (!sameFile) UnlockDrawingFile(view, d);
            SetDrawingFileName(view, 0, fileName);
            d->untitledNumber = 0;
            if (!d->drawingEvent) LockDrawingFile(d);
            DAriClearUndoElement(d->db);
            ClearDrawingModified(view);
            DrawingSavedFlag = 1;
        }
        return 1;
    }
    // A failed write leaves the old file, and the window keeps its name and
    // takes its lock on that file back.
    if (sameFile) relock();
    if (emptied) return 0;
    if (status) {
        WriteSystemLog(0, "Error", "%ld ファイルの保存に失敗しました", (long)status);
        if (status & 0x10) {
            ShowErrorMessage(GetMessageText(IDS_DISK_FULL));
            return 0;
        }
    }
    ShowErrorMessage("ファイルの保存に失敗しました");
    return 0;
}

int SaveDrawingAs(HWND view, int mode) {
    if (mode == 4) mode = 0;
    if (Running().RDONLY) {
        // Nothing can be written in this set-up: saying "saved" would let a
        // closing window drop its edits.
        ZavMessageBox(view, "この環境では図面を保存できません (RDONLY)", "エラー", MB_OK | MB_ICONSTOP);
        return 0;
    }
    if (mode == 3) {
        view = FindViewByFileOrDrawing(SaveRoadNameBuffer, nullptr);
        if (!view) return 0;
    }
    if (mode < 0 || mode > 3) return 0;
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return 0;

    bool dialog = mode == 0;
    if (!dialog && !d->drawingEvent) {
        const int kind = DrawingTypeFromExtension(d->fileName);
        if (!d->fileName[0] || (Running().SAVENAME && !IsOwnDrawingKind(kind) && kind != kDrawingDwg)) dialog = true;
    }
    if (!dialog) {
        if (d->readOnly) {
            ZavMessageBox(view, "参照モードで開かれているので保存できません", "エラー", MB_OK);
            return 0;
        }
        char name[260];
        DbcsCopy(name, sizeof name, d->fileName);
        if (mode == 2 || mode == 3) return SaveDrawingFile(view, name);
        if (LaunchMode == 0) {
            if (d->drawingEvent) return RunDrawingEventSave(view);
            const int r = SaveDrawingFile(view, name);
            if (r == 1) CreateFromCadFile();
            return r;
        }
        char title[260];
        DrawingTitle(view, title, sizeof title);
        char question[1200], filled[700];
        if (d->fileName[0]) {
            snprintf(filled, sizeof filled, GetMessageText(IDS_OVERWRITE_QUESTION), d->fileName);
            snprintf(question, sizeof question, "%s\n\n%s\n\n[  OK  ]----保存する\n[ｷｬﾝｾﾙ ]--保存しない", title,
                     filled);
        } else {
            snprintf(question, sizeof question,
                     "%s\n上書きしていいですか？\n\n[  OK  ]----保存する\n[ｷｬﾝｾﾙ ]--保存しない", title);
        }
        if (ZavMessageBox(view, question, GetMessageText(IDS_OVERWRITE_SAVE), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return 0;
        if (d->drawingEvent) return RunDrawingEventSave(view);
        return SaveDrawingFile(view, name);
    }

    // The dialog road. The drawing keeps its name and lock while the user
    // chooses: a cancelled or failed save leaves it as it was.
    char oldName[260];
    DbcsCopy(oldName, sizeof oldName, std::strlen(d->fileName) > 4 ? d->fileName : "");
    char proposal[1020] = "";
    {
        DbInfoHead head;
        if (DAriGetDBInfo(&head, d->db)) {
            const char* stored = head.Info()->extFileName;
            const char* slash = DbcsFindLastChar(stored, '\\');
            DbcsCopy(proposal, sizeof proposal, slash ? slash + 1 : stored);
            if (char* dot = const_cast<char*>(DbcsFindLastChar(proposal, '.'))) *dot = '\0';
        }
    }
    const std::string startDir = oldName[0] ? FolderOf(oldName) : std::string(Running().zumenDir);
    const char* filters = Running().saveFilters[0] ? Running().saveFilters : "図面ファイル (*.tcf)\0*.tcf\0";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = view;
    ofn.lpstrFilter = filters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = proposal;
    ofn.nMaxFile = sizeof proposal;
    ofn.lpstrInitialDir = startDir.c_str();
    ofn.lpstrTitle = GetMessageText(IDS_SAVE_FILE_TITLE);
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_ENABLEHOOK;
    ofn.lpfnHook = SaveDialogHook;
    if (!ZavGetSaveFileName(&ofn)) return 0;
    // A name typed without an extension takes the chosen file type's.
    const char* slash = DbcsFindLastChar(proposal, '\\');
    const std::string named = DbcsFindLastChar(slash ? slash : proposal, '.')
                                  ? std::string(proposal)
                                  : WithExtension(proposal, FilterExtension(filters, ofn.nFilterIndex));
    if (named.size() >= 260) {
        // Cut short it would name another file.
        ZavMessageBox(view, "ファイル名が長すぎるため保存できません", "エラー", MB_OK | MB_ICONSTOP);
        return 0;
    }
    char chosen[260];
    DbcsCopy(chosen, sizeof chosen, named.c_str());
    if (d->readOnly) {
        // A reference window never writes its own file, however the name is spelt.
        if (oldName[0] && SameName(chosen, oldName)) {
            ZavMessageBox(view, GetMessageText(IDS_READ_ONLY_NO_SAVE), "ERR", MB_OK);
            return 0;
        }
        ClearDrawingEvent(view);
        const int r = SaveDrawingFile(view, chosen);
        if (r == 1) {
            d->readOnly = 0;
            SetViewTitle(view, d->db, d->shared ? d->windowNumber : 0);
        }
        return r;
    }
    if (oldName[0] && SameName(chosen, oldName)) {
        char question[700];
        snprintf(question, sizeof question, "%s\n上書きしていいですか？\n\n[  OK  ]----保存する\n[ｷｬﾝｾﾙ ]--保存しない",
                 chosen);
        if (ZavMessageBox(view, question, GetMessageText(IDS_OVERWRITE_SAVE), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return 0;
        if (d->drawingEvent) return RunDrawingEventSave(view);
        return SaveDrawingFile(view, chosen);
    }
    ClearDrawingEvent(view);
    return SaveDrawingFile(view, chosen);
}
