#include "shell/file_open_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <list>

#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/monitor.h"
#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "base/system_log.h"
#include "base/text_utils.h"
#include "command/cad_app_cmd.h"
#include "command/host_messages.h"
#include "setup/setup_dialogs.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/main_frame.h"
#include "shell/open_road.h"
#include "shell/placement_db.h"
#include "shell/resource_ids.h"
#include "shell/thumbnail_list.h"
#include "shell/thumbnail_store.h"
#include "shell/tiff_road.h"
#include "shell/ui_library.h"
#include "view/drawing_state.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/file_dialog.h"
#include "win/message_box.h"

namespace {

const char kDeleteQuestion[] = "選択されている図面を削除します。\n一度削除すると元に戻せません。よろしいですか？";
const char kFallbackFilters[] = "図面ファイル (*.tcf;*.otcf)\0*.tcf;*.otcf\0";

// The state of the one dialog open at a time.
struct DialogState {
    int mode = 0;
    char selected[260] = "";
    DbHeader preview = {};
    OpenPanelInfo panel;
    int filterIndex = -1;
    bool listSelection = false;
    bool listAccepted = false;
    const char* filters = kFallbackFilters;
    HWND hook = nullptr;
    HWND dialog = nullptr;
    WNDPROC parentProc = nullptr;
} g;

char g_memoFile[1024];

bool IsDelete() { return g.mode == kFileDialogDelete; }

void DeletePreview() {
    if (g.preview.thumbnail) ::DeleteObject(static_cast<HBITMAP>(g.preview.thumbnail));
    g.preview.thumbnail = nullptr;
    if (g.preview.core) DAriDeleteDB(&g.preview);
    std::memset(&g.preview, 0, sizeof g.preview);
    g.panel.state = 0;
}

const char* FiltersOf(int mode) {
    const int list = mode == kFileDialogPlace ? 1 : mode == kFileDialogExternalRef ? 2 : 0;
    const char* f = Running().openFilters[list];
    return f[0] ? f : kFallbackFilters;
}

const char* TitleOf(int mode) {
    switch (mode) {
    case kFileDialogPlace: return "図面配置";
    case kFileDialogDelete: return "図面削除";
    case kFileDialogExternalRef: return "外部参照";
    default: return GetMessageText(5123);
    }
}

// The pattern of filter pair `number` (0 first) of a double-NUL list.
std::string FilterPattern(const char* filters, int number) {
    const char* p = filters;
    for (int i = 0; p && *p; ++i) {
        const char* pattern = p + std::strlen(p) + 1;
        if (i == number) return pattern;
        p = pattern + std::strlen(pattern) + 1;
    }
    return std::string();
}

void FindFile(const char* path) {
    g.panel.fileFound = false;
    g.panel.sizeLow = 0;
    WIN32_FIND_DATAA data;
    HANDLE h = path[0] ? ::FindFirstFileA(path, &data) : INVALID_HANDLE_VALUE;
    if (h == INVALID_HANDLE_VALUE) return;
    ::FindClose(h);
    FILETIME local;
    ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    ::FileTimeToSystemTime(&local, &g.panel.lastWrite);
    g.panel.sizeLow = data.nFileSizeLow;
    g.panel.fileFound = true;
}

// The header of a JW-CAD file, read by the module of its import command.
int ReadJwcHeader() {
    CCadAppCmd* registry = GetCmdRegistry();
    if (!registry || !CmdModuleExists(5104)) {
        ShowErrorMessage(GetMessageText(IDS_CMD_NOT_REGISTERED));
        return -1;
    }
    std::string path, args;
    HMODULE module = registry->LoadCmdModule(5104, path, args);
    if (!module) return -1;
    typedef int(__stdcall * Fn)(const char*, void*);
    Fn fn = reinterpret_cast<Fn>(::GetProcAddress(module, "GetJWCHead"));
    if (fn) fn(g.selected, &g.panel.info);
    registry->ReleaseModule();
    return fn ? 0 : -1;
}

void RefreshInfo() {
    if (g.hook) ::InvalidateRect(::GetDlgItem(g.hook, IDC_OPEN_INFO), nullptr, TRUE);
}

void OnSelectionChange(HWND hook) {
    char path[512] = "";
    ::SendMessageA(::GetParent(hook), CDM_GETFILEPATH, sizeof path - 1, reinterpret_cast<LPARAM>(path));
    if (path[0]) {
        const std::string stripped = StripQuotedName(path);
        DbcsCopy(g.selected, sizeof g.selected, stripped.c_str());
    }
    DeletePreview();
    ::InvalidateRect(::GetDlgItem(hook, IDC_OPEN_PREVIEW), nullptr, FALSE);
    const int kind = DrawingTypeFromExtension(g.selected);
    uint32_t status = 1;  // newer versions load too
    int loaded = 0;
    if (kind == kDrawingTcf)
        loaded = DAriLoadInfoOfCWX(g.selected, &g.preview, &status);
    else if (kind == kDrawingOtcf)
        loaded = DAriLoadInfoOfCWU(g.selected, &g.preview, &status);
    else if (kind == kDrawingJwc && ReadJwcHeader() == 0)
        g.panel.state = 3;
    if (loaded) {
        g.panel.state = 1;
        DAriGetDBInfo(&g.panel.info, &g.preview);
        const DbInfo* live = DAriGetDbInfoPtr(0, &g.preview);
        g.panel.elementCount = live ? live->elementCount : 0;
        ::InvalidateRect(::GetDlgItem(hook, IDC_OPEN_PREVIEW), nullptr, FALSE);
    }
    FindFile(g.selected);
    RefreshInfo();
}

void DrawPreview(const DRAWITEMSTRUCT* item) {
    RECT rc = item->rcItem;
    if (HBITMAP bmp = static_cast<HBITMAP>(g.preview.thumbnail)) {
        HDC mem = ::CreateCompatibleDC(item->hDC);
        HGDIOBJ old = ::SelectObject(mem, bmp);
        ::SetStretchBltMode(item->hDC, HALFTONE);
        ::StretchBlt(item->hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0, 176, 124, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
        return;
    }
    HBRUSH brush = ::CreateSolidBrush(RGB(192, 192, 192));
    ::FillRect(item->hDC, &rc, brush);
    ::DeleteObject(brush);
    ::SetBkMode(item->hDC, TRANSPARENT);
    ::SetTextColor(item->hDC, RGB(0, 0, 0));
    ::TextOutA(item->hDC, rc.left + 30, rc.top + 55, "プレビュー表示無し", 18);
}

void DrawInfoPanel(const DRAWITEMSTRUCT* item) {
    RECT rc = item->rcItem;
    const COLORREF back = GetCadSystem().m_ConfigData.SystemColor.COLOR_DLG_BK.color;
    HBRUSH brush = ::CreateSolidBrush(back);
    ::FillRect(item->hDC, &rc, brush);
    ::DeleteObject(brush);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(item->hwndItem, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? ::SelectObject(item->hDC, font) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(item->hDC, &tm);
    const int step = static_cast<int>(tm.tmHeight * 1.5);
    ::SetTextColor(item->hDC, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkColor(item->hDC, back);
    int y = 0;
    for (const std::string& line : OpenPanelLines(g.panel)) {
        if (line.empty()) continue;
        ::TextOutA(item->hDC, 5, y, line.c_str(), static_cast<int>(line.size()));
        y += step;
    }
    if (oldFont) ::SelectObject(item->hDC, oldFont);
}

BOOL DrawOkButton(const DRAWITEMSTRUCT* item) {
    if (item->CtlID != IDOK) return FALSE;
    if (IsDelete())
        DrawColorButtonByKind(item, 0);
    else
        DrawColorButton(item);
    return TRUE;
}

LRESULT CALLBACK DeleteConfirmProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && IsDelete() &&
            ZavMessageBox(window, kDeleteQuestion, "削除確認", MB_YESNO | MB_ICONWARNING) != IDYES)
            return 0;
        break;
    case WM_DRAWITEM:
        if (DrawOkButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_ERASEBKGND:
        if (UiOnEraseBkgnd(window, reinterpret_cast<HDC>(wParam))) return TRUE;
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (HBRUSH b = UiOnCtlColor(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                    msg == WM_CTLCOLORBTN ? 3 : 6))
            return reinterpret_cast<LRESULT>(b);
        break;
    }
    return ::CallWindowProcA(g.parentProc, window, msg, wParam, lParam);
}

void CentreAbove(HWND dialog) {
    RECT monitor = {}, rc = {};
    GetWindowMonitorRect(dialog, &monitor);
    ::GetWindowRect(dialog, &rc);
    const int x = monitor.left + ((monitor.right - monitor.left) - (rc.right - rc.left)) / 2;
    int y = monitor.top + ((monitor.bottom - monitor.top) - (rc.bottom - rc.top)) / 2 - 100;
    if (y < monitor.top) y = monitor.top;
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnHookInit(HWND hook) {
    g.hook = hook;
    HWND dialog = ::GetParent(hook);
    g.dialog = dialog;
    g.listAccepted = false;
    HWND tabs = ::GetDlgItem(hook, IDC_OPEN_TABS);
    const char* names[] = {" 図面情報 ", "   用紙   ", " 拡張情報 "};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i]);
        ::SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    RefreshInfo();
    if (Running().LANGUAGE) {
        const struct {
            int id;
            const char* text;
            bool inHook;
        } english[] = {
            {1037, "Network...", false},  {IDC_OPEN_LIST, "List", true}, {IDC_OPEN_SETTINGS, "Setting", true},
            {1090, "&File Name:", false}, {10000, "&Directory:", false}, {1089, "File &Type", false},
            {1091, "&Drive", false},      {IDCANCEL, "Cancel", false}};
        for (const auto& e : english)
            ::SetDlgItemTextA(e.inHook ? hook : dialog, e.id, e.text);
    }
    CentreAbove(dialog);
    if (IsDelete()) {
        HWND ok = ::GetDlgItem(dialog, IDOK);
        ::SetWindowTextA(ok, "削除");
        ::SetWindowLongPtrA(ok, GWL_STYLE, (::GetWindowLongPtrA(ok, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
        ::ShowWindow(::GetDlgItem(hook, IDC_OPEN_SETTINGS), SW_HIDE);
    } else {
        UiChgBtnStyleOwnerDraw(dialog, 1);
    }
    g.parentProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DeleteConfirmProc)));
    ::ShowWindow(tabs, SW_HIDE);
    ::ShowWindow(::GetDlgItem(hook, IDC_OPEN_EDIT), SW_HIDE);
    for (int id = IDC_OPEN_STATIC_FIRST; id < IDC_OPEN_STATIC_FIRST + 6; ++id)
        ::ShowWindow(::GetDlgItem(hook, id), SW_HIDE);
}

void OnListButton(HWND hook) {
    HWND dialog = ::GetParent(hook);
    char folder[520] = "";
    ::SendMessageA(dialog, CDM_GETFOLDERPATH, 512, reinterpret_cast<LPARAM>(folder));
    std::string dir = folder;
    if (!dir.empty() && (dir.back() != '\\' || IsDbcsTrailAt(dir, dir.size() - 1))) dir += '\\';
    FreeThumbnailStore();
    int number = g.filterIndex - 1;
    if (g.filterIndex < 0) {
        HWND types = ::GetDlgItem(dialog, cmb1);
        number = types ? static_cast<int>(::SendMessageA(types, CB_GETCURSEL, 0, 0)) : 0;
        if (number < 0) number = 0;
    }
    if (RunThumbnailList(hook, dir, g.filters, number, g.mode) == 1) {
        g.listSelection = true;
        g.listAccepted = true;
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        FreeThumbnailStore();
    }
}

INT_PTR CALLBACK ImportOptionsProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDCANCEL || id == IDOK) {
        ::EndDialog(dialog, id);
        return TRUE;
    }
    const int command = id == 7002 ? 5103 : (id == 1001 || id == 1002) ? 5104 : 0;
    CCadAppCmd* registry = GetCmdRegistry();
    if (!command || !registry || !CmdModuleExists(command)) return TRUE;
    std::string path, args;
    HMODULE module = registry->LoadCmdModule(command, path, args);
    if (!module) return TRUE;
    if (id == 7002) {
        typedef int(__stdcall * Fn)(HWND, const char*);
        char text[] = "/C:LoadDwgOption";
        if (Fn fn = reinterpret_cast<Fn>(::GetProcAddress(module, "StartCmd"))) fn(MainFrameWindow(), text);
    } else {
        typedef int(__stdcall * Fn)(HWND, HWND);
        if (Fn fn = reinterpret_cast<Fn>(::GetProcAddress(module, id == 1001 ? "LoadJwcOption" : "LoadJwwOption")))
            fn(MainFrameWindow(), dialog);
    }
    registry->ReleaseModule();
    return TRUE;
}

UINT_PTR CALLBACK OpenDialogHook(HWND hook, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: OnHookInit(hook); return TRUE;
    case WM_SIZE: {
        HWND info = ::GetDlgItem(hook, IDC_OPEN_INFO);
        RECT client = {}, rc = {};
        ::GetClientRect(hook, &client);
        ::GetWindowRect(info, &rc);
        ::MapWindowPoints(nullptr, hook, reinterpret_cast<POINT*>(&rc), 2);
        const int right = client.right - ::GetSystemMetrics(SM_CXDLGFRAME) - 3;
        const int bottom = client.bottom - ::GetSystemMetrics(SM_CYDLGFRAME) - 3;
        if (right > rc.left && bottom > rc.top)
            ::SetWindowPos(info, nullptr, 0, 0, right - rc.left, bottom - rc.top, SWP_NOMOVE | SWP_NOZORDER);
        return 0;
    }
    case WM_NOTIFY: {
        const OFNOTIFYA* n = reinterpret_cast<const OFNOTIFYA*>(lParam);
        if (n->hdr.code == CDN_TYPECHANGE)
            g.filterIndex = static_cast<int>(n->lpOFN->nFilterIndex);
        else if (n->hdr.code == CDN_SELCHANGE)
            OnSelectionChange(hook);
        return 0;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_OPEN_PREVIEW)
            DrawPreview(item);
        else if (item->CtlID == IDC_OPEN_INFO)
            DrawInfoPanel(item);
        else
            return DrawOkButton(item);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_OPEN_LIST) OnListButton(hook);
        if (LOWORD(wParam) == IDC_OPEN_SETTINGS)
            ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_IMPORT_OPTIONS), ::GetActiveWindow(),
                              ImportOptionsProc, 0);
        return 0;
    case WM_ERASEBKGND: return UiOnEraseBkgnd(hook, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<UINT_PTR>(UiOnCtlColor(hook, reinterpret_cast<HDC>(wParam),
                                                       reinterpret_cast<HWND>(lParam), msg == WM_CTLCOLORBTN ? 3 : 6));
    case WM_DESTROY:
        DeletePreview();
        if (g.dialog && g.parentProc)
            ::SetWindowLongPtrA(g.dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g.parentProc));
        g.hook = g.dialog = nullptr;
        g.parentProc = nullptr;
        return 0;
    }
    return 0;
}

// The chosen files: the thumbnail list's selection or the dialog's.
std::vector<std::string> ChosenFiles(const char* buffer) {
    std::vector<std::string> files;
    if (g.listSelection) {
        for (int i = 0; i < GetThumbnailCount(); ++i)
            if (IsThumbnailSelected(i)) files.push_back(GetThumbnailPath(i));
    } else {
        SplitDialogFileList(buffer, files);
    }
    return files;
}

void DeleteFiles(HWND owner, const std::vector<std::string>& files) {
    for (const std::string& f : files) {
        if (::DeleteFileA(f.c_str())) continue;
        char text[700];
        std::snprintf(text, sizeof text,
                      Running().LANGUAGE ? "File could not be deleted.\n[%s]"
                                         : "ファイルの削除に失敗しました\n[%s]\n"
                                           "ファイルが使用中か、読取専用になっている可能性があります。",
                      f.c_str());
        ZavMessageBox(owner, text, "ERR", MB_OK | MB_ICONEXCLAMATION);
    }
    ZavMessageBox(owner, Running().LANGUAGE ? "File Delete Ok" : "ファイルの削除が終了しました。", "", MB_OK);
}

int ImportIdForPlacement(int kind) {
    switch (kind) {
    case kDrawingDxf: return 5103;
    case kDrawingJwc: return 5104;
    case kDrawingDwg: return 5105;
    case kDrawingSfc: return 5107;
    case kDrawingJww: return 5112;
    default: return 0;
    }
}

void PlaceFiles(HWND owner, const char* buffer, bool attributesSaved, const unsigned char* attributes) {
    HWND frame = MainFrameWindow() ? MainFrameWindow() : owner;
    int last = 0;
    RecreatePlacementDb();
    if (g.listSelection) {
        for (int i = 0; i < GetThumbnailCount(); ++i) {
            if (!IsThumbnailSelected(i)) continue;
            last = ReadIntoPlacementDb(owner, GetThumbnailPath(i), nullptr, nullptr);
            break;
        }
    } else {
        WriteSystemLog(2, "System Cmd", "ファイルを開く ディレクトリ名:%s", buffer);
        std::string text = buffer;
        size_t at = 0;
        while (at <= text.size()) {
            const size_t bar = text.find('|', at);
            const std::string piece = text.substr(at, bar == std::string::npos ? std::string::npos : bar - at);
            WriteSystemLog(2, "System Cmd", "ファイルを開く ファイル名:%s", piece.c_str());
            last = ReadIntoPlacementDb(owner, piece.c_str(), nullptr, nullptr);
            if (bar == std::string::npos) break;
            at = bar + 1;
        }
    }
    if (last != 1) {
        FreeTempDb();
        return;
    }
    CollectPlacementElements();
    if (attributesSaved) UiSetSysAtr(attributes);
    ::UpdateWindow(frame);
    ::PostMessageA(frame, WM_COMMAND, 5950, 0);
}

// A DWG import makes its own drawing window; only that window takes the
// file's name, never a drawing that was active before the import.
void OpenDwg(const std::string& file) {
    HWND before = GetActiveView();
    std::vector<HWND> existing;
    for (HWND v = GetActiveView(); v; v = GetNextView(v))
        existing.push_back(v);
    OpenRoadLinks& links = OpenRoad();
    const int ran = links.startModuleCmd ? links.startModuleCmd(5105, file.c_str()) : 0;
    HWND after = GetActiveView();
    bool isNew = after && after != before;
    for (HWND v : existing)
        if (v == after) isNew = false;
    if (!ran || !isNew) {
        WriteSystemLog(1, "Open File", "DWG の読み込みで図面ウィンドウができませんでした %s", file.c_str());
        return;
    }
    SetDrawingFileName(after, 0, file.c_str());
    if (HWND frame = MainFrameWindow()) ::PostMessageA(frame, UM_REDRAW_VIEW, 0, 0);
    // A scan of the same name belongs to the drawing; the user is asked.
    LoadLinkedTiffImage(file.c_str(), 0);
}

void OpenFiles(HWND owner, const std::vector<std::string>& files) {
    for (const std::string& f : files) {
        OpenRoadLinks& links = OpenRoad();
        auto runImport = [&](int id) {
            if (links.startModuleCmd) links.startModuleCmd(id, f.c_str());
        };
        switch (DrawingTypeFromExtension(f.c_str())) {
        case kDrawingOtcf:
        case kDrawingTif:
        case kDrawingTcf: OpenDrawingFile(owner, f.c_str()); break;
        case kDrawingDxf: runImport(5105); break;
        case kDrawingJwc: runImport(5104); break;
        case kDrawingDwg: OpenDwg(f); break;
        case kDrawingSfc: runImport(5107); break;
        case kDrawingJww: runImport(5112); break;
        case kDrawingPdf: runImport(5992); break;
        default: {
            char text[700];
            std::snprintf(text, sizeof text, "%s\nファイルは、図面と認識できません。", f.c_str());
            ShowErrorMessage(text);
        }
        }
    }
}

}  // namespace

HWND OpenFileDialogWindow() { return g.dialog; }

int RunFileOpenDialog(HWND owner, int mode) {
    static char buffer[2020];
    std::memset(buffer, 0, sizeof buffer);
    DeletePreview();
    g = DialogState();
    g.mode = mode;
    g.filters = FiltersOf(mode);
    SetOpenDialogFlag(1);
    // The panel under the dialog holds a tab control.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&icc);
    unsigned char attributes[120] = {};
    const bool attributesSaved = mode == kFileDialogPlace && GetActiveView() && UiGetSysAtr(attributes);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = ::GetModuleHandleA(nullptr);
    ofn.lpstrFilter = g.filters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = sizeof buffer;
    ofn.lpstrInitialDir = Running().zumenDir;
    ofn.lpstrTitle = TitleOf(mode);
    ofn.lpfnHook = OpenDialogHook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_OPEN_PANEL);
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    if (mode != kFileDialogPlace) ofn.Flags |= OFN_ENABLESIZING | OFN_ALLOWMULTISELECT;

    const BOOL chosen = ZavGetOpenFileName(&ofn);
    if (chosen || g.listAccepted) {
        switch (mode) {
        case kFileDialogDelete: DeleteFiles(owner, ChosenFiles(buffer)); break;
        case kFileDialogExternalRef:
            for (const std::string& f : ChosenFiles(buffer))
                AppendExternalRefEntry(f.c_str());
            break;
        case kFileDialogPlace: PlaceFiles(owner, buffer, attributesSaved, attributes); break;
        default:
            if (g.listSelection && !HasFreeViewSlot()) {
                ZavMessageBox(MainFrameWindow(), GetMessageText(IDS_NO_MORE_WINDOWS), "Open", MB_OK);
                break;
            }
            OpenFiles(owner, ChosenFiles(buffer));
        }
    }
    FreeThumbnailStore();
    DeletePreview();
    return 0;
}

int ChooseMemoFile() {
    std::memset(g_memoFile, 0, sizeof g_memoFile);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = MainFrameWindow();
    ofn.lpstrTitle = "メモの読込";
    ofn.lpstrFilter = "memoファイル\0*.mem*\0All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = g_memoFile;
    ofn.nMaxFile = sizeof g_memoFile;
    ofn.lpstrInitialDir = Running().zumenDir;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!ZavGetOpenFileName(&ofn)) g_memoFile[0] = 0;
    return 1;
}

const char* MemoFileName() { return g_memoFile; }

int SplitDialogFileList(const char* buffer, std::vector<std::string>& out) {
    out.clear();
    if (!buffer || !buffer[0]) return -1;
    const char* first = buffer;
    const char* next = first + std::strlen(first) + 1;
    if (!*next) {
        out.push_back(first);
        return 1;
    }
    std::string folder = first;
    if (folder.back() != '\\' || IsDbcsTrailAt(folder, folder.size() - 1)) folder += '\\';
    for (const char* name = next; *name; name += std::strlen(name) + 1)
        out.push_back(folder + name);
    return static_cast<int>(out.size());
}

std::string StripQuotedName(const std::string& path) {
    // The last separator outside double-byte characters.
    size_t slash = std::string::npos;
    for (size_t i = 0; i < path.size(); i += DbcsCharLength(path.c_str() + i))
        if (path[i] == '\\') slash = i;
    if (slash == std::string::npos) return path;
    size_t open = std::string::npos;
    for (size_t i = slash + 1; i < path.size(); i += DbcsCharLength(path.c_str() + i))
        if (path[i] == '"') {
            open = i;
            break;
        }
    if (open == std::string::npos) return path;
    size_t close = std::string::npos;
    for (size_t i = open + 1; i < path.size(); i += DbcsCharLength(path.c_str() + i))
        if (path[i] == '"') {
            close = i;
            break;
        }
    if (close == std::string::npos) return path;
    return path.substr(0, slash + 1) + path.substr(open + 1, close - open - 1);
}

std::vector<std::string> OpenPanelLines(const OpenPanelInfo& p) {
    std::vector<std::string> lines;
    char text[600];
    auto add = [&] { lines.push_back(text); };
    const DbInfoHead& h = p.info;
    static const char* const kDays[] = {"日", "月", "火", "水", "木", "金", "土"};
    if (p.state == 1 || p.state == 3) {
        const char* bytes = reinterpret_cast<const char*>(h.bytes);
        std::snprintf(text, sizeof text, "図面名：%.256s", bytes + kInfoTitle);
        add();
        std::snprintf(text, sizeof text, "作成者：%.256s", bytes + kInfoAuthor);
        add();
        std::snprintf(text, sizeof text, "備考  ：%.256s", bytes + kInfoRemarks);
        add();
        const char* paper = "その他";
        for (const PaperSizeRow& row : PaperSizeTable)
            if (row.code == h.Info()->paperCode) {
                paper = row.name;
                break;
            }
        std::snprintf(text, sizeof text, "用紙種別：%s", paper);
        add();
        std::snprintf(text, sizeof text, "用紙ｻｲｽﾞ：%g x %g mm", CadGetF64(h.bytes, kInfoPaperWmm),
                      CadGetF64(h.bytes, kInfoPaperHmm));
        add();
        std::snprintf(text, sizeof text, "図面ｻｲｽﾞ：%g x %g mm", h.DrawingWidth(), h.DrawingHeight());
        add();
        const double scale = CadGetF64(h.bytes, kInfoScale);
        std::list<std::string> scales;
        GetScaleList(scales);
        std::string named;
        for (const std::string& s : scales) {
            CSimpleCalc calc;
            if (std::fabs(calc.Evaluate(s.c_str()) - scale) <= 1e-7) {
                named = s;
                break;
            }
        }
        if (!named.empty())
            std::snprintf(text, sizeof text, "スケール：%s", named.c_str());
        else
            std::snprintf(text, sizeof text, "スケール：%g", scale);
        add();
    }
    auto dateLine = [&](const char* label, int y, int mo, int dow, int d, int hh, int mi, int ss) {
        std::snprintf(text, sizeof text, "%s：  %04d年%02d月%02d日(%2s) %02d:%02d:%02d", label, y, mo, d,
                      kDays[(dow % 7 + 7) % 7], hh, mi, ss);
        add();
    };
    if (p.state == 1) {
        const uint16_t* c = h.Info()->dates;
        const uint16_t* u = c + 7;
        dateLine("作成日", c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
        dateLine("更新日", u[0], u[1], u[2], u[3], u[4], u[5], u[6]);
        std::snprintf(text, sizeof text, "要素数：  %ld", p.elementCount);
        add();
    } else if (p.fileFound) {
        const SYSTEMTIME& t = p.lastWrite;
        dateLine("更新日", t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond);
    }
    if (p.fileFound && p.sizeLow != 0) {
        std::snprintf(text, sizeof text, "サイズ：  %s バイト",
                      InsertThousandsSeparators(std::to_string(p.sizeLow)).c_str());
        add();
    }
    return lines;
}
