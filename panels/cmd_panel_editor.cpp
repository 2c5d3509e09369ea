#include "panels/cmd_panel_editor.h"

#include <algorithm>

#include "base/csv_parser.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "panels/key_editor_model.h"
#include "panels/panel_editor_ids.h"
#include "win/message_box.h"

namespace {

PanelGridModel* GridModel(HWND grid) { return (PanelGridModel*)::GetWindowLongPtrA(grid, 4); }
int VisibleColumns(HWND grid) { return (int)::GetWindowLongA(grid, 8); }
int VisibleRows(HWND grid) { return (int)::GetWindowLongA(grid, 12); }
HWND ScrollBarOf(HWND grid) { return ::GetDlgItem(grid, 1); }
int FirstRow(HWND grid) { return ::GetScrollPos(ScrollBarOf(grid), SB_CTL); }

void PaintCell(HDC dc, const RECT& rc, const PanelGridModel* model, int column, int row) {
    HBRUSH face = ::CreateSolidBrush(::GetSysColor(COLOR_3DFACE));
    ::FillRect(dc, &rc, face);
    ::DeleteObject(face);
    HPEN light = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DHIGHLIGHT));
    HPEN dark = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
    HGDIOBJ old = ::SelectObject(dc, light);
    ::MoveToEx(dc, rc.left, rc.bottom - 1, nullptr);
    ::LineTo(dc, rc.left, rc.top);
    ::LineTo(dc, rc.right - 1, rc.top);
    ::SelectObject(dc, dark);
    ::LineTo(dc, rc.right - 1, rc.bottom - 1);
    ::LineTo(dc, rc.left, rc.bottom - 1);
    ::SelectObject(dc, old);
    ::DeleteObject(light);
    ::DeleteObject(dark);
    if (!model) return;
    const int state = model->CellState(column, row);
    const int height = rc.bottom - rc.top;
    if (state == 0) {
        LOGFONTA lf = {};
        lf.lfHeight = height < 14 ? height - 2 : height < 19 ? 12 : 14;
        lf.lfWeight = 700;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        lstrcpynA(lf.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
        HFONT font = ::CreateFontIndirectA(&lf);
        HGDIOBJ oldFont = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, 0x323232);
        RECT r = rc;
        const std::string name = model->Name();
        ::DrawTextA(dc, name.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::SelectObject(dc, oldFont);
        ::DeleteObject(font);
    } else if (state == 1 || state == 2) {
        CmdPanelItem item;
        const PanelGridCell* cell = model->Find(column, row);
        if (cell) ParseCmdPanelItem(cell->text, &item);
        // A line of exactly 4 fields carries its style; others get 0.
        CCmdPnlButton face;
        face.SetData(state == 1 ? item.label.c_str() : "", item.id, "", item.style);
        face.m_marked = (model->m_column == column && model->m_row == row) ? 1 : 0;
        RECT inner = {rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
        face.PaintInto(dc, inner, face.m_label.c_str(), false);
    }
}

void PaintGrid(HWND grid) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(grid, &ps);
    const PanelGridModel* model = GridModel(grid);
    const int first = FirstRow(grid);
    for (int c = 0; c < VisibleColumns(grid); ++c)
        for (int r = 0; r < VisibleRows(grid); ++r) {
            RECT rc = {c * kGridCellWidth, r * kGridCellHeight, (c + 1) * kGridCellWidth, (r + 1) * kGridCellHeight};
            PaintCell(dc, rc, model, c, r + first);
        }
    ::EndPaint(grid, &ps);
}

void ScrollTo(HWND grid, int pos) {
    int lo = 0, hi = 0;
    ::GetScrollRange(ScrollBarOf(grid), SB_CTL, &lo, &hi);
    pos = std::max(lo, std::min(hi, pos));
    ::SetScrollPos(ScrollBarOf(grid), SB_CTL, pos, TRUE);
    ::InvalidateRect(grid, nullptr, FALSE);
}

LRESULT CALLBACK GridProc(HWND grid, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        RECT rc;
        ::GetClientRect(grid, &rc);
        const int columns = std::max(1, (int)rc.right / kGridCellWidth);
        const int rows = std::max(1, (int)rc.bottom / kGridCellHeight);
        ::SetWindowLongA(grid, 8, columns);
        ::SetWindowLongA(grid, 12, rows);
        const int sb = ::GetSystemMetrics(SM_CXVSCROLL);
        ::CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, columns * kGridCellWidth, 0, sb,
                          rows * kGridCellHeight, grid, (HMENU)1, nullptr, nullptr);
        // The grid shrinks to whole cells and its scroll bar.
        RECT win, client;
        ::GetWindowRect(grid, &win);
        ::GetClientRect(grid, &client);
        const int frameX = (win.right - win.left) - client.right, frameY = (win.bottom - win.top) - client.bottom;
        ::SetWindowPos(grid, nullptr, 0, 0, columns * kGridCellWidth + sb + frameX,
                       rows * kGridCellHeight + frameY, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case kGridSetModel:
        if (!GridModel(grid)) return 0;
        ::SetScrollRange(ScrollBarOf(grid), SB_CTL, 0, PanelGridModel::kRowCapacity, FALSE);
        if (wParam == 1) ::InvalidateRect(grid, nullptr, FALSE);
        return 1;
    case WM_COMMAND: {
        PanelGridModel* model = GridModel(grid);
        if (!model) return -1;
        const std::string line = lParam ? (const char*)lParam : "";
        int result = -1;
        switch (LOWORD(wParam)) {
        case 101: result = model->MoveUp(); break;
        case 102: result = model->MoveDown(); break;
        case 103: result = model->Delete(); break;
        case 104: result = model->Change(line); break;
        case 105: result = model->Insert(line); break;
        default: return 0;
        }
        if (result == 0) {
            ::InvalidateRect(grid, nullptr, FALSE);
            ::UpdateWindow(grid);
        }
        return result;
    }
    case WM_LBUTTONDOWN: {
        const int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
        const int column = x / kGridCellWidth, visibleRow = y / kGridCellHeight;
        if (column == 0 && visibleRow == 0) break;
        PanelGridModel* model = GridModel(grid);
        if (model && column < VisibleColumns(grid) && model->Select(column, visibleRow + FirstRow(grid))) {
            ::InvalidateRect(grid, nullptr, FALSE);
            ::PostMessageA(::GetParent(grid), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(grid), kGridSelected),
                           (LPARAM)grid);
        }
        return 0;
    }
    case WM_VSCROLL: {
        const int pos = FirstRow(grid);
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
        case SB_PAGEUP: ScrollTo(grid, pos - 1); break;
        case SB_LINEDOWN:
        case SB_PAGEDOWN: ScrollTo(grid, pos + 1); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: ScrollTo(grid, HIWORD(wParam)); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL: ScrollTo(grid, FirstRow(grid) + ((short)HIWORD(wParam) > 0 ? -1 : 1)); return 0;
    case WM_PAINT: PaintGrid(grid); return 0;
    default: break;
    }
    return ::DefWindowProcA(grid, msg, wParam, lParam);
}

}  // namespace

void RegisterPanelGridClass() {
    WindowClassArgs wc;
    wc.name = kPanelGridClass;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.windowExtra = 32;
    wc.background = (HBRUSH)::GetStockObject(GRAY_BRUSH);
    wc.proc = GridProc;
    win::RegisterWindowClass(wc);
}

void UnregisterPanelGridClass() { win::UnregisterWindowClass(kPanelGridClass); }

CCmdPanelSet* LiveCmdPanelSet() {
    HWND frame = CmdMainFrame();
    HWND panel = frame ? (HWND)::SendMessageA(frame, UM_GET_CMDPANEL, 0, 0) : nullptr;
    return panel ? (CCmdPanelSet*)::SendMessageA(panel, WM_COMMAND, 101, 0) : nullptr;
}

namespace {
const CCmdPanelData* CataloguePage(HWND dialog, int category, const CCmdPanelSet& catalogue) {
    char name[256] = {};
    ::GetDlgItemTextA(dialog, category, name, sizeof name);
    for (int i = 0; i < catalogue.PageCount(); ++i)
        if (catalogue.Page(i)->m_name == name) return catalogue.Page(i);
    return nullptr;
}
}  // namespace

void FillCatalogueList(HWND dialog, int list, int category, const CCmdPanelSet& catalogue) {
    ::SendDlgItemMessageA(dialog, list, LB_RESETCONTENT, 0, 0);
    const CCmdPanelData* page = CataloguePage(dialog, category, catalogue);
    if (!page) return;
    for (size_t i = 0; i < page->m_items.size(); ++i) {
        if (IsCmdPanelRowBreak(page->m_items[i])) continue;
        CCsvParser csv(page->m_items[i]);
        const std::string text = CatalogueLine(csv.GetField(0), csv.GetField(2));
        const LRESULT at = ::SendDlgItemMessageA(dialog, list, LB_ADDSTRING, 0, (LPARAM)text.c_str());
        if (at >= 0) ::SendDlgItemMessageA(dialog, list, LB_SETITEMDATA, (WPARAM)at, (LPARAM)i);
    }
}

bool ChosenCatalogueLine(HWND dialog, int list, int category, const CCmdPanelSet& catalogue, std::string* line) {
    const LRESULT sel = ::SendDlgItemMessageA(dialog, list, LB_GETCURSEL, 0, 0);
    if (sel < 0) return false;
    const LRESULT index = ::SendDlgItemMessageA(dialog, list, LB_GETITEMDATA, (WPARAM)sel, 0);
    const CCmdPanelData* page = CataloguePage(dialog, category, catalogue);
    if (!page || index < 0 || index >= (LRESULT)page->m_items.size()) return false;
    if (line) *line = page->m_items[index];
    return true;
}

CCustCmdPanelDlg::CCustCmdPanelDlg(CCmdPanelSet* pages)
    : CCmdEditorDialog(IDD_CUST_CMD_PANEL), m_pages(pages) {
    // Registered at start-up; again here for a dialog made before that.
    RegisterPanelGridClass();
}

LRESULT CCustCmdPanelDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CenterWindow(GetParent());
    CCmdPanelSet& catalogue = CmdPanelCatalogue();
    if (!m_pages) m_pages = LiveCmdPanelSet();
    m_models.clear();
    if (m_pages)
        for (int i = 0; i < m_pages->PageCount(); ++i)
            m_models.emplace_back(new PanelGridModel(m_pages->Page(i)->m_name, m_pages->Page(i)->m_items));
    AttachModel(0);
    if (m_pages)
        for (const std::string& name : m_pages->m_names) SendItemMessage(1400, CB_ADDSTRING, 0, (LPARAM)name.c_str());
    for (const std::string& name : catalogue.m_names) SendItemMessage(1401, CB_ADDSTRING, 0, (LPARAM)name.c_str());
    SendItemMessage(1400, CB_SETCURSEL, 0, 0);
    SendItemMessage(1401, CB_SETCURSEL, 0, 0);
    FillCatalogueList(m_hWnd, 1136, 1401, catalogue);
    SendItemMessage(1136, LB_SETCURSEL, 0, 0);
    return TRUE;
}

void CCustCmdPanelDlg::AttachModel(int i) {
    HWND grid = GetDlgItem(1809);
    if (!grid) return;
    ::SetWindowLongPtrA(grid, 4, (LONG_PTR)Model(i));
    ::SendMessageA(grid, kGridSetModel, 0, 0);
    ::InvalidateRect(grid, nullptr, FALSE);
}

LRESULT CCustCmdPanelDlg::OnPageChanged(WORD, WORD, HWND, BOOL&) {
    AttachModel((int)SendItemMessage(1400, CB_GETCURSEL));
    return 0;
}

LRESULT CCustCmdPanelDlg::OnCategoryChanged(WORD, WORD, HWND, BOOL&) {
    FillCatalogueList(m_hWnd, 1136, 1401, CmdPanelCatalogue());
    ::SetFocus(GetDlgItem(1136));
    SendItemMessage(1136, LB_SETCURSEL, 0, 0);
    return 0;
}

bool CCustCmdPanelDlg::ChosenLine(std::string* line) {
    return ChosenCatalogueLine(m_hWnd, 1136, 1401, CmdPanelCatalogue(), line);
}

LRESULT CCustCmdPanelDlg::OnGridCommand(WORD, WORD id, HWND, BOOL&) {
    int op = 0;
    std::string line;
    switch (id) {
    case 1803: op = 101; break;
    case 1003: op = 102; break;
    case 1804: op = 103; break;
    case 1805:
    case 1806:
        if (!ChosenLine(&line)) {
            ZavMessageBox(m_hWnd,
                          id == 1805 ? "設定コマンド一覧から変更するコマンドを選択してください"
                                     : "設定コマンド一覧から挿入するコマンドを選択してください",
                          "確認", MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        op = id == 1805 ? 104 : 105;
        break;
    default: return 0;
    }
    if (SendItemMessage(1809, WM_COMMAND, op, (LPARAM)line.c_str()) == 0) m_modified = 1;
    return 0;
}

LRESULT CCustCmdPanelDlg::OnReset(WORD, WORD, HWND, BOOL&) {
    const int i = (int)SendItemMessage(1400, CB_GETCURSEL);
    CCmdPanelSet& catalogue = CmdPanelCatalogue();
    if (i < 0 || i >= (int)m_models.size() || i >= catalogue.PageCount()) return 0;
    char text[512];
    wsprintfA(text, "[%s] メニューを初期状態に戻します", m_models[i]->Name().c_str());
    if (ZavMessageBox(m_hWnd, text, "確認", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
    m_models[i].reset(new PanelGridModel(catalogue.Page(i)->m_name, catalogue.Page(i)->m_items));
    AttachModel(i);
    ::SendMessageA(GetDlgItem(1809), kGridSetModel, 1, 0);
    m_modified = 1;
    return 0;
}

LRESULT CCustCmdPanelDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    if (!m_modified) {
        EndDialog(1);
        return 0;
    }
    if (!ConfirmSave()) return 0;
    if (m_pages) {
        for (size_t i = 0; i < m_models.size() && (int)i < m_pages->PageCount(); ++i)
            m_pages->Page((int)i)->m_items = m_models[i]->Entries();
        m_pages->Save();
    }
    EndDialog(1);
    return 0;
}

INT_PTR RunCmdPanelEditor(HWND parent) { return RunEditorModal<CCustCmdPanelDlg>(parent); }
