#include "shell/thumbnail_list.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

#include "base/dbcs.h"
#include "base/monitor.h"
#include "base/running_settings.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/resource_ids.h"
#include "shell/thumbnail_store.h"
#include "shell/ui_library.h"
#include "win/message_box.h"

namespace {

const UINT UM_GRID_CLICK = WM_USER + 50;
const UINT UM_GRID_SCROLL = WM_USER + 51;
const int kMaxLoaded = 64;

struct ListState {
    std::string folder;
    const char* filters = nullptr;
    int filterNumber = 0;
    int mode = 0;
    int columns = 1, rows = 1, top = 0;
    HBITMAP marks[2] = {nullptr, nullptr};
    HWND dialog = nullptr;
    WNDPROC gridProc = nullptr;
    std::set<int> loaded;  // entries whose preview is loaded
} g;

bool SingleSelection() { return g.mode == 1; }
bool DeleteMode() { return g.mode == 10; }

std::string PatternOf(const char* filters, int number) {
    const char* p = filters;
    for (int i = 0; p && *p; ++i) {
        const char* pattern = p + std::strlen(p) + 1;
        if (i == number) return pattern;
        p = pattern + std::strlen(pattern) + 1;
    }
    return std::string();
}

RECT CellRect(int cell) {
    const int col = cell % g.columns, row = cell / g.columns;
    RECT rc;
    rc.left = col * kThumbCellW + 3;
    rc.top = row * kThumbCellH + 3;
    rc.right = rc.left + 183;
    rc.bottom = rc.top + 151;
    return rc;
}

void InvalidateThumbnailCell(int cell) {
    HWND grid = ::GetDlgItem(g.dialog, IDC_FLIST_GRID);
    RECT rc = CellRect(cell);
    ::InvalidateRect(grid, &rc, FALSE);
    ::UpdateWindow(grid);
}

int MaxTop() { return ThumbnailMaxTopRow(GetThumbnailCount(), g.columns, g.rows); }

void UpdateScrollBar() {
    HWND grid = ::GetDlgItem(g.dialog, IDC_FLIST_GRID);
    SCROLLINFO si = {sizeof si};
    si.fMask = SIF_RANGE | SIF_POS | SIF_PAGE | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = MaxTop();
    si.nPage = 1;
    si.nPos = g.top;
    ::SetScrollInfo(grid, SB_VERT, &si, TRUE);
}

// Frees previews far from the one being painted once many are loaded.
void TrimPreviews(int painting) {
    if (static_cast<int>(g.loaded.size()) <= kMaxLoaded) return;
    const int keep = std::max(32, g.columns * g.rows);
    for (auto it = g.loaded.begin(); it != g.loaded.end();) {
        if (std::abs(*it - painting) > keep) {
            FreeThumbnailPreview(*it);
            if (ThumbnailEntry* e = GetThumbnailEntry(*it)) e->spare = 0;
            it = g.loaded.erase(it);
        } else {
            ++it;
        }
    }
}

// The drawing information and thumbnail only: the cell needs no elements.
void LoadPreview(int entry) {
    ThumbnailEntry* e = GetThumbnailEntry(entry);
    if (!e || e->spare) return;
    e->spare = 1;  // tried: a file that cannot be read is not read again on every paint
    const int kind = DrawingTypeFromExtension(e->path);
    uint32_t status = 1;
    if (kind == kDrawingTcf)
        DAriLoadInfoOfCWX(e->path, &e->preview, &status);
    else if (kind == kDrawingOtcf)
        DAriLoadInfoOfCWU(e->path, &e->preview, &status);
    else
        return;
    g.loaded.insert(entry);
}

void PaintCell(HDC dc, int cell, HFONT font) {
    const int entry = cell + g.columns * g.top;
    ThumbnailEntry* e = GetThumbnailEntry(entry);
    if (!e || !e->path[0]) return;
    const RECT rc = CellRect(cell);
    const bool selected = e->selected != 0;
    const CCadSystem& sys = GetCadSystem();
    const COLORREF back = selected ? sys.m_ConfigData.SystemColor.COLOR_BTN_ATTR[0].bkgnd
                                   : sys.m_ConfigData.SystemColor.COLOR_DLG_BK.color;
    HBRUSH brush = ::CreateSolidBrush(back);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);

    TrimPreviews(entry);
    LoadPreview(entry);
    const int x = rc.left, y = rc.top;
    HBITMAP thumb = static_cast<HBITMAP>(e->preview.thumbnail);
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    if (!e->preview.core && !thumb) {
        RECT face = {x + 4, y + 4, x + 180, y + 128};
        ::FillRect(dc, &face, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SetTextColor(dc, RGB(128, 128, 128));
        ::TextOutA(dc, x + 38, y + 55, "プレビュー表示無し", 18);
    } else if (!thumb) {
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::TextOutA(dc, x + 30, y + 55, "プレビュー表示無し", 18);
    } else {
        HDC mem = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(mem, thumb);
        ::BitBlt(dc, x + 4, y + 4, 176, 124, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
    }
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(160, 160, 160));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    const POINT lines[4][2] = {
        {{180, 4}, {180, 128}}, {{181, 5}, {181, 129}}, {{4, 128}, {181, 128}}, {{5, 129}, {182, 129}}};
    for (const auto& l : lines) {
        ::MoveToEx(dc, x + l[0].x, y + l[0].y, nullptr);
        ::LineTo(dc, x + l[1].x, y + l[1].y);
    }
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    if (HBITMAP mark = g.marks[selected ? 1 : 0]) {
        HDC mem = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(mem, mark);
        ::BitBlt(dc, x + 4, y + 132, 13, 13, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteDC(mem);
    }
    const char* slash = DbcsFindLastChar(e->path, '\\');
    std::string name;
    ShortenWithDots(16, slash ? slash + 1 : e->path, name);
    ::SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    ::TextOutA(dc, x + 105, y + 131, name.c_str(), static_cast<int>(name.size()));
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    ::SelectObject(dc, oldFont);
}

void PaintGrid(const DRAWITEMSTRUCT* item) {
    RECT rc = item->rcItem;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HDC mem = ::CreateCompatibleDC(item->hDC);
    HBITMAP bmp = ::CreateCompatibleBitmap(item->hDC, w, h);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    HBRUSH brush = ::CreateSolidBrush(GetCadSystem().m_ConfigData.SystemColor.COLOR_DLG_BK.color);
    RECT all = {0, 0, w, h};
    ::FillRect(mem, &all, brush);
    ::DeleteObject(brush);
    const char* face = Running().SYSTEMFONT[0] ? Running().SYSTEMFONT : "ＭＳ ゴシック";
    HFONT font = ::CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, face);
    for (int cell = 0; cell < g.columns * g.rows; ++cell)
        PaintCell(mem, cell, font);
    ::DeleteObject(font);
    ::BitBlt(item->hDC, rc.left, rc.top, w, h, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
}

LRESULT CALLBACK ThumbnailGridProc(HWND grid, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN: {
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        ::SendMessageA(::GetParent(grid), UM_GRID_CLICK, (x > 5 ? x - 5 : 0) / kThumbCellW, y / kThumbCellH);
        return 0;
    }
    case WM_VSCROLL: ::PostMessageA(::GetParent(grid), UM_GRID_SCROLL, wParam, lParam); return 0;
    case WM_MOUSEWHEEL:
        ::PostMessageA(::GetParent(grid), UM_GRID_SCROLL,
                       static_cast<short>(HIWORD(wParam)) > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
        return 0;
    }
    return ::CallWindowProcA(g.gridProc, grid, msg, wParam, lParam);
}

void OnInit(HWND dialog) {
    g.dialog = dialog;
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    g.marks[0] = ::LoadBitmapA(inst, MAKEINTRESOURCEA(IDB_FLIST_UNSELECTED));
    g.marks[1] = ::LoadBitmapA(inst, MAKEINTRESOURCEA(IDB_FLIST_SELECTED));
    g.top = 0;
    HWND grid = ::GetDlgItem(dialog, IDC_FLIST_GRID);
    g.gridProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(grid, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ThumbnailGridProc)));

    const int scrollW = ::GetSystemMetrics(SM_CXVSCROLL), caption = ::GetSystemMetrics(SM_CYCAPTION);
    ThumbnailGridSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), scrollW, caption, &g.columns,
                      &g.rows);
    const int gridW = scrollW + g.columns * kThumbCellW + 5, gridH = g.rows * kThumbCellH;
    ::SetWindowPos(grid, nullptr, 0, 0, gridW, gridH, SWP_NOZORDER | SWP_NOMOVE);
    ::SetWindowPos(dialog, nullptr, 0, 0, scrollW + g.columns * kThumbCellW + 25, caption + gridH + 58,
                   SWP_NOZORDER | SWP_NOMOVE);
    RECT client;
    ::GetClientRect(dialog, &client);
    ::SetWindowPos(::GetDlgItem(dialog, IDCANCEL), nullptr, client.right - 170, client.bottom - 33, 80, 28,
                   SWP_NOZORDER);
    ::SetWindowPos(::GetDlgItem(dialog, IDOK), nullptr, client.right - 88, client.bottom - 33, 80, 28, SWP_NOZORDER);
    RECT monitor = {}, rc = {};
    GetWindowMonitorRect(dialog, &monitor);
    ::GetWindowRect(dialog, &rc);
    ::SetWindowPos(dialog, nullptr, monitor.left + ((monitor.right - monitor.left) - (rc.right - rc.left)) / 2,
                   monitor.top + ((monitor.bottom - monitor.top) - (rc.bottom - rc.top)) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    ::SetWindowTextA(dialog, g.folder.c_str());

    const std::string patterns = PatternOf(g.filters, g.filterNumber);
    size_t at = 0;
    while (at <= patterns.size()) {
        const size_t semi = patterns.find(';', at);
        const std::string part = patterns.substr(at, semi == std::string::npos ? std::string::npos : semi - at);
        if (!part.empty()) EnumerateIntoStore(g.folder, part);
        if (semi == std::string::npos) break;
        at = semi + 1;
    }
    UpdateScrollBar();

    if (Running().LANGUAGE) ::SetDlgItemTextA(dialog, IDCANCEL, "CANCEL");
    if (DeleteMode()) {
        HWND ok = ::GetDlgItem(dialog, IDOK);
        ::SetWindowTextA(ok, "削除");
        ::SetWindowLongPtrA(ok, GWL_STYLE, (::GetWindowLongPtrA(ok, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
    } else {
        UiChgBtnStyleOwnerDraw(dialog, 1);
    }
}

void OnClick(int column, int row) {
    if (column >= g.columns) return;
    if (SingleSelection()) {
        for (int i = 0; i < GetThumbnailCount(); ++i) {
            if (!IsThumbnailSelected(i)) continue;
            ToggleThumbnailSelection(i);
            const int cell = i - g.columns * g.top;
            if (cell >= 0 && cell < g.columns * g.rows) InvalidateThumbnailCell(cell);
            break;
        }
    }
    const int entry = column + (row + g.top) * g.columns;
    if (entry < GetThumbnailCount()) {
        ToggleThumbnailSelection(entry);
        InvalidateThumbnailCell(column + row * g.columns);
    }
}

void OnScroll(WPARAM wParam) {
    HWND grid = ::GetDlgItem(g.dialog, IDC_FLIST_GRID);
    int top = g.top;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= g.rows; break;
    case SB_PAGEDOWN: top += g.rows; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: top = HIWORD(wParam); break;
    default: return;
    }
    if (top > MaxTop()) top = MaxTop();
    if (top < 0) top = 0;
    if (top == g.top) return;
    g.top = top;
    ::SetScrollPos(grid, SB_VERT, top, TRUE);
    ::InvalidateRect(grid, nullptr, FALSE);
}

INT_PTR CALLBACK ThumbnailListProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: OnInit(dialog); return TRUE;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_FLIST_GRID)
            PaintGrid(item);
        else if (item->CtlID == IDOK && DeleteMode())
            DrawColorButtonByKind(item, 0);
        else
            DrawColorButton(item);
        return TRUE;
    }
    case UM_GRID_CLICK: OnClick(static_cast<int>(wParam), static_cast<int>(lParam)); return TRUE;
    case UM_GRID_SCROLL: OnScroll(wParam); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (DeleteMode() && ZavMessageBox(dialog,
                                              "選択されている図面を削除します。\n一度削除すると元に戻せません。"
                                              "よろしいですか？",
                                              "削除確認", MB_YESNO | MB_ICONWARNING) != IDYES)
                return TRUE;
            for (int i = 0; i < GetThumbnailCount(); ++i)
                if (IsThumbnailSelected(i)) {
                    ::EndDialog(dialog, 1);
                    return TRUE;
                }
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    case WM_ERASEBKGND:
        if (UiOnEraseBkgnd(dialog, reinterpret_cast<HDC>(wParam))) return TRUE;
        return FALSE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(UiOnCtlColor(dialog, reinterpret_cast<HDC>(wParam),
                                                      reinterpret_cast<HWND>(lParam), msg == WM_CTLCOLORBTN ? 3 : 6));
    case WM_DESTROY:
        for (HBITMAP& b : g.marks) {
            if (b) ::DeleteObject(b);
            b = nullptr;
        }
        g.dialog = nullptr;
        return FALSE;
    }
    return FALSE;
}

}  // namespace

int RunThumbnailList(HWND owner, const std::string& folder, const char* filters, int filterNumber, int mode) {
    g = ListState();
    g.folder = folder;
    g.filters = filters;
    g.filterNumber = filterNumber;
    g.mode = mode;
    const INT_PTR r = ::DialogBoxParamA(::GetModuleHandleA(nullptr), "FLISTDLG", owner, ThumbnailListProc, 0);
    g.loaded.clear();
    return r == 1 ? 1 : 0;
}

HWND ThumbnailListWindow() { return g.dialog; }

void ThumbnailGridSize(int screenW, int screenH, int scrollW, int captionH, int* columns, int* rows) {
    *columns = std::max(1, (screenW - scrollW - 20) / kThumbCellW);
    *rows = std::max(1, (screenH - captionH - 96) / kThumbCellH);
}

int ThumbnailMaxTopRow(int count, int columns, int rows) {
    if (columns < 1 || rows < 1 || count <= 0) return 0;
    // Rows the files fill, the last one perhaps partly.
    const int filled = (count + columns - 1) / columns;
    return filled > rows ? filled - rows : 0;
}

int ThumbnailEntryAt(int x, int y, int columns, int topRow, int count) {
    const int column = (x > 5 ? x - 5 : 0) / kThumbCellW, row = y / kThumbCellH;
    if (column >= columns) return -1;
    const int entry = column + (row + topRow) * columns;
    return entry < count ? entry : -1;
}

int EnumerateIntoStore(const std::string& folder, const std::string& pattern) {
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((folder + pattern).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return 1;
    do {
        if (data.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            AddThumbnailEntry((folder + data.cFileName).c_str());
            AddThumbnailCount();
        }
    } while (::FindNextFileA(h, &data));
    ::FindClose(h);
    return 1;
}

int ShortenWithDots(size_t limit, const char* text, std::string& out) {
    const size_t length = std::strlen(text);
    if (length < limit) {
        out = text;
        return 1;
    }
    out.clear();
    const size_t budget = limit >= 3 ? limit - 3 : 0;
    const char* p = text;
    while (*p && out.size() <= budget) {
        const size_t n = DbcsCharLength(p);
        out.append(p, n);
        p += n;
    }
    if (!*p && out.size() <= budget) {
        out = text;
        return 0;
    }
    out += "..";
    return 1;
}
