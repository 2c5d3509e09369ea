// The drawing memo (delete, choose a file, show), the help file, the
// settings property sheet and the pattern-save toggle of the running module
// command.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "setup/setup_dialogs.h"
#include "shell/service_cmds.h"
#include "shell/file_open_dialog.h"
#include "shell/help_windows.h"
#include "shell/service_frame.h"
#include "shell/service_support.h"
#include "shell/settings_services.h"
#include "shell/ui_library.h"
#include "view/db_ext.h"
#include "view/db_info.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

HWND Frame() { return CmdMainFrame(); }

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The name with its extension replaced by ".mem" (the last dot after the
// last folder separator).
std::string MemName(const std::string& name) {
    const char* begin = name.c_str();
    const char* dot = nullptr;
    for (const char* p = begin; *p; p = DbcsNext(p)) {
        if (*p == '\\' || *p == '/') dot = nullptr;
        if (*p == '.') dot = p;
    }
    return (dot ? name.substr(0, static_cast<size_t>(dot - begin)) : name) + ".mem";
}

// True when the file can go now: it is not read-only and no one holds it
// open against deletion.
bool CanDelete(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;  // nothing to delete
    if (attributes & FILE_ATTRIBUTE_READONLY) return false;
    HANDLE h = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}


}  // namespace

int ServiceDeleteMemo() {
    DbHeader* db = GetActiveViewDb();
    DbExtRecord* ext = GetDbExtRecord(db);
    if (!ext || !ext->words[2]) {
        ZavMessageBox(Frame(), "この図面にメモ情報は含まれていません", "確認", MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    auto* memo = reinterpret_cast<DbHeader*>(static_cast<uintptr_t>(ext->words[2]));
    DbInfoHead info;
    std::memset(&info, 0, sizeof info);
    DAriGetDBInfo(&info, memo);
    char name[261] = "";
    DbcsCopy(name, sizeof name, reinterpret_cast<const char*>(info.bytes + 2));
    if (ZavMessageBox(Frame(), "この図面のメモ情報を削除します。よろしいですか？", "削除の確認",
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    if (std::strlen(name) >= 4) {
        // Both files go, or neither: a memo whose drawing went but whose
        // own file stayed could no longer be shown or deleted.
        std::vector<std::string> files = {name};
        const std::string mem = MemName(name);
        if (lstrcmpiA(mem.c_str(), name) != 0) files.push_back(mem);
        bool deletable = true;
        for (const std::string& f : files)
            deletable = deletable && CanDelete(f);
        for (const std::string& f : files) {
            if (!deletable) break;
            if (FileExists(f) && !DeleteFileA(f.c_str())) deletable = false;
        }
        if (!deletable) {
            ZavMessageBox(Frame(),
                          "この図面のメモ情報ファイルの削除に失敗しました\nこのドライブへ書き込みできないか、"
                          "ファイルが使用中の場合があります\nメモは削除されません",
                          "確認", MB_OK | MB_ICONEXCLAMATION);
            return 1;
        }
    }
    DAriDeleteDB(memo);
    ext->words[2] = 0;
    if (HWND view = GetActiveView()) InvalidateRect(view, nullptr, TRUE);
    return 0;
}

const char* ChosenMemoFile() { return MemoFileName(); }

int ServiceChooseMemo() { return ChooseMemoFile(); }

int ServiceShowMemo() {
    if (HasMemoDb(GetActiveView(), nullptr)) {
        DialogBoxParamA(GetModuleHandleA(nullptr), "MEMODATA", Frame(), MemoInfoDlgProc, 0);
    } else {
        ZavMessageBox(Frame(), "この図面にはメモデータが存在しません", "メモ", MB_OK | MB_ICONINFORMATION);
    }
    return 1;
}

// The file is the module's when it names one; the menu's entry (a
// WM_COMMAND, whose lParam is a control) opens the default help file.
int ServiceHelpFile(const char* path) {
    RunHelpFileCommand(path);
    return 1;
}

int ServiceSettingsSheet() {
    const int wasEnabled = UiEnableCurModelessWindow(0);
    CSetConfigDlg dialog("環境設定");
    dialog.DoModal(GetActiveWindow());
    if (wasEnabled) UiEnableCurModelessWindow(1);
    return 1;
}

int ServicePatternSaveToggle() {
    ExecutorState& ex = Executor();
    if (!ex.moduleCmdRunning) return 1;
    char key[16];
    std::snprintf(key, sizeof key, "%ld", static_cast<long>(ex.runningModuleCmdId));
    const std::string value = ModuleReadCmdIniString("PTNSAVE", key, "1");
    ModuleWriteCmdIniString("PTNSAVE", key, std::atoi(value.c_str()) == 0 ? "1" : "0");
    return 1;
}
