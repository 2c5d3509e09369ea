#include "shell/placement_db.h"

#include <cstring>
#include <string>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/user_folder.h"
#include "command/cad_app_cmd.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/main_frame.h"
#include "shell/thumbnail_store.h"
#include "view/db_info.h"
#include "win/message_box.h"

namespace {

DbHeader g_db;
int g_loaded = 0;
int g_openDialogFlag = 0;
char g_openDialogText[260];

void DeleteDb() {
    // A mark not yet taken lists elements of this database: it goes first.
    if (g_db.core) DropImportMark(1);
    if (g_db.core) DAriDeleteDB(&g_db);
    std::memset(&g_db, 0, sizeof g_db);
    g_loaded = 0;
}

const char* OwnLoadText(uint32_t status, int kind) {
    if (status & 0x80) return "図面情報が異常です";
    if (status & 0x100) return "シンボル情報が異常です";
    if (status & 0x02) return "要素情報が異常です";
    if (status & 0x10) return "ファイルが異常です。図面と認識できません。";
    if (kind == kDrawingTcf) {
        if (status & 0x400) return "未知の圧縮形式のファイルです。処理を続行できません。";
        if (status & 0x800) return "未知の形式のファイルです。処理を続行できません。";
    }
    return nullptr;
}

// The import command that reads a foreign kind, 0 for none.
int ReaderOf(int kind) {
    switch (kind) {
    case kDrawingDxf: return 5103;
    case kDrawingJwc: return 5104;
    case kDrawingDwg: return 5105;
    case kDrawingSfc: return 5107;
    case kDrawingJww: return 5112;
    default: return 0;
    }
}

}  // namespace

DbHeader* PlacementDb() { return &g_db; }
int IsPlacementDbLoaded() { return g_loaded; }

void SetOpenDialogFlag(int value) { g_openDialogFlag = value; }
int GetOpenDialogFlag() { return g_openDialogFlag; }
void SetOpenDialogText(const char* text) { DbcsCopy(g_openDialogText, sizeof g_openDialogText, text ? text : ""); }
const char* GetOpenDialogText() { return g_openDialogText; }

int LoadDrawingIntoTempDb(const char* fileName, int kind, HWND owner, void* infoOut, void* layersOut) {
    if (kind != kDrawingOtcf && kind != kDrawingTcf) return 0;
    auto load = [&](uint32_t* status) {
        return kind == kDrawingOtcf ? DAriLoadFileOfCWU(fileName, &g_db, status)
                                    : DAriLoadFileOfCWX(fileName, &g_db, status);
    };
    uint32_t status = 0;
    int result = 0;
    if (load(&status)) {
        if (const char* text = OwnLoadText(status, kind))
            ShowErrorMessage(text);
        else
            result = 1;
    } else if (status == 1) {
        if (ZavMessageBox(owner, GetMessageText(IDS_NEWER_FILE_VERSION), "LoadingError", MB_YESNO) == IDYES) {
            status = 1;
            result = load(&status) ? 1 : 0;
        }
    } else {
        result = load(&status) ? 1 : 0;
    }
    if (g_db.core) g_loaded = 1;
    if (DbInfo* live = g_db.core ? DAriGetDbInfoPtr(0, &g_db) : nullptr) {
        if (infoOut) std::memcpy(infoOut, live, kPlacementInfoBytes);
        if (layersOut) std::memcpy(layersOut, &live->layers, kPlacementLayerBytes);
    }
    return result;
}

int ReadIntoPlacementDb(HWND owner, const char* fileName, void* infoOut, void* layersOut) {
    const int kind = DrawingTypeFromExtension(fileName);
    if (kind == kDrawingOtcf || kind == kDrawingTcf)
        return LoadDrawingIntoTempDb(fileName, kind, owner, infoOut, layersOut);
    if (const int reader = ReaderOf(kind)) {
        if (!g_db.core) DAriCreateDB(&g_db);
        g_loaded = g_db.core ? 1 : 0;
        return CallLoadingDB(reader, fileName, &g_db, infoOut, layersOut) == 1 ? 1 : 0;
    }
    ShowErrorMessage("図面ファイルが識別できません");
    return 0;
}

void CollectPlacementElements() {
    DropImportMark(1);
    CadMark* mark = DAriCreateMark(&g_db);
    SetImportMark(reinterpret_cast<uint32_t>(mark));
    char record[174];
    for (StoredElement* e = DAriReadElement(nullptr, 0, record, &g_db); e; e = DAriReadElement(e, 1, record, &g_db))
        DAriSetMark(e, mark);
    g_loaded = 1;
}

void RecreatePlacementDb() {
    DeleteDb();
    DAriCreateDB(&g_db);
    g_loaded = g_db.core ? 1 : 0;
}

int LoadFileToTempDb(HWND owner, const char* fileName, void* infoOut, void* layersOut) {
    DeleteDb();
    if (!fileName) return 0;
    DAriCreateDB(&g_db);
    g_loaded = g_db.core ? 1 : 0;
    if (ReadIntoPlacementDb(owner, fileName, infoOut, layersOut) != 1) {
        // Nothing read: nothing stays behind either.
        DeleteDb();
        return 0;
    }
    CollectPlacementElements();
    return 1;
}

int PasteFromFile(HWND owner, const char* fileName) {
    HWND frame = MainFrameWindow() ? MainFrameWindow() : owner;
    auto& hook = HostHooks().readSettingFileName;
    const std::string cmdIni = hook ? hook("CMDINI") : std::string();
    for (int attempt = 0;; ++attempt) {
        if (::GetPrivateProfileIntA("COPY_SELECT", "FileWriting", 0, cmdIni.c_str()) == 0) break;
        if (ZavMessageBox(frame, "現在コピー選択中なので、貼り付けはできません。もう一度実行しますか？", "確認",
                          MB_YESNO | MB_ICONINFORMATION) != IDYES)
            return 0;
        if (attempt == 2) {
            ZavMessageBox(frame, "貼り付けに失敗しました。処理を中止します。", "確認", MB_OK | MB_ICONINFORMATION);
            return 0;
        }
    }
    SetOpenDialogFlag(1);
    char name[260];
    DbcsCopy(name, sizeof name, fileName ? fileName : "");
    RecreatePlacementDb();
    if (ReadIntoPlacementDb(owner, name, nullptr, nullptr) != 1) {
        DeleteDb();
        FreeThumbnailStore();
        return 0;
    }
    CollectPlacementElements();
    if (frame) {
        ::UpdateWindow(frame);
        ::PostMessageA(frame, WM_COMMAND, 7002, 0);
    }
    FreeThumbnailStore();
    return 0;
}

int PasteCopyFile(HWND owner) {
    const std::string stem = ExpandPathMacros("%USER_LOCAL_APPDATA%$CopyPaste", false);
    for (const char* ext : {".tcf", ".otcf"}) {
        const std::string path = stem + ext;
        if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return PasteFromFile(owner, path.c_str());
    }
    ZavMessageBox(MainFrameWindow() ? MainFrameWindow() : owner,
                  "貼り付ける図形が選択されていません。「コピー選択」を実行してください。", "確認",
                  MB_OK | MB_ICONINFORMATION);
    return 0;
}

void FreeTempDb() { DeleteDb(); }
