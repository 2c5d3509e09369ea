#include "setup/small_settings_dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/file_utils.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "setup/color_number_list.h"
#include "setup/config_pages.h"
#include "setup/margin_presets.h"
#include "setup/setup_dialog_ids.h"
#include "view/db_info.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "win/dialog_base.h"
#include "win/message_box.h"

int GridCenterRequest = 0;

int GridPitchRefusal(double x, double y, double drawingWidth, double drawingHeight) {
    if (std::fabs(x) < 1e-8 || x < 0 || x > drawingWidth / 2) return 1;
    if (std::fabs(y) < 1e-8 || y < 0 || y > drawingHeight / 2) return 2;
    return 0;
}

namespace {

template <class Dialog>
int RunModal(Dialog& dialog) {
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}

std::string G(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// --- Coordinate display ---------------------------------------------------------

class CSetCoordDispDlg : public CDialogBase<CSetCoordDispDlg> {
public:
    CSetCoordDispDlg() : CDialogBase(IDD_COORD_DISPLAY) {}

    BEGIN_MSG_MAP(CSetCoordDispDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CSetCoordDispDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        CheckRadio(1200, 1201, Running().bDispLastPosFg ? 1201 : 1200);
        handled = FALSE;
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        Running().bDispLastPosFg = IsChecked(1200) ? 0 : 1;
        EndDialog(IDOK);
        return 0;
    }
};

// --- Cursor shape ---------------------------------------------------------------

class CSetCursorDlg : public CDialogBase<CSetCursorDlg> {
public:
    CSetCursorDlg() : CDialogBase(IDD_CURSOR_SETTINGS) {}

    BEGIN_MSG_MAP(CSetCursorDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CSetCursorDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config08Values v = ReadConfig08();
        if (v.cursor >= 0) CheckRadio(1200, 1202, 1200 + v.cursor);
        SetCheck(1101, v.hand);
        handled = FALSE;
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        StoreCursorShape(IsChecked(1200) ? 0 : IsChecked(1201) ? 1 : 2, IsChecked(1101));
        if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_CURSOR_SETTINGS, 0, 0);
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        EndDialog(IDOK);
        return 0;
    }
};

// --- Grid -------------------------------------------------------------------------

class CSetGridDlg : public CDialogBase<CSetGridDlg> {
public:
    CSetGridDlg() : CDialogBase(IDD_GRID_SETTINGS) {}

    BEGIN_MSG_MAP(CSetGridDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_RANGE_HANDLER(1001, 1002, OnCalculator)
    CHAIN_MSG_MAP(CDialogBase<CSetGridDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const RunningSettings& r = Running();
        for (int i = 0; i < 2; ++i) {
            SendItemMessage(1300 + i, EM_LIMITTEXT, 20);
            SetItemText(1300 + i, FormatDouble(i ? r.grid.y : r.grid.x, 15, 1).c_str());
        }
        if (r.iGridCutFg == 0) {
            for (int id : {1401, 1602, 1207, 1208, 1601})
                ShowItem(id, false);
        } else {
            for (const char* text : {"なし", "1/2", "1/3", "1/4", "1/5"})
                SendItemMessage(1401, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            SendItemMessage(1401, CB_SETCURSEL, r.iGridCutFg - 1);
            CheckRadio(1207, 1208, r.iGridNoDetFlg ? 1208 : 1207);
        }
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnCalculator(WORD, WORD id, HWND, BOOL&) {
        char result[32] = "";
        auto& run = HostHooks().runCalculator;
        if (run && run(m_hWnd, 4, id == 1001 ? "X の入力" : "Y の入力", result) == 1)
            SetItemText(id == 1001 ? 1300 : 1301, result);
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        // Enter in X goes on to Y.
        if (::GetFocus() == GetDlgItem(1300)) {
            ::SetFocus(GetDlgItem(1301));
            SendItemMessage(1301, EM_SETSEL, 0, -1);
            SendItemMessage(1301, EM_SCROLLCARET);
            return 0;
        }
        const double x = ReadDecimal(GetItemText(1300).c_str());
        const double y = ReadDecimal(GetItemText(1301).c_str());
        DbInfoHead info = {};
        HWND view = GetActiveView();
        ViewData* data = view ? GetViewData(view) : nullptr;
        if (data && data->db) DAriGetDBInfo(&info, data->db);
        const int refused = GridPitchRefusal(x, y, info.DrawingWidth(), info.DrawingHeight());
        if (refused) {
            ZavMessageBox(m_hWnd, GetMessageText(refused == 1 ? 7190 : 7192), GetMessageText(7207),
                          MB_OK | MB_ICONINFORMATION);
            ::SetFocus(GetDlgItem(refused == 1 ? 1300 : 1301));
            return 0;
        }
        RunningSettings& r = Running();
        r.grid.x = x;
        r.grid.y = y;
        GridCenterRequest = IsChecked(1103) ? 1 : 0;
        if (r.iGridCutFg > 0) {
            r.iGridCutFg = static_cast<int>(SendItemMessage(1401, CB_GETCURSEL)) + 1;
            r.iGridNoDetFlg = IsChecked(1207) ? 0 : 1;
        }
        EndDialog(IDOK);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        GridCenterRequest = 0;
        EndDialog(IDCANCEL);
        return 0;
    }
};

// --- Margins ----------------------------------------------------------------------

class CSetMarginDlg : public CDialogBase<CSetMarginDlg> {
public:
    CSetMarginDlg() : CDialogBase(IDD_MARGIN_SETTINGS) {}

    BEGIN_MSG_MAP(CSetMarginDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    COMMAND_HANDLER(1104, BN_CLICKED, OnShowMargin)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CSetMarginDlg>)
    END_MSG_MAP()

private:
    void EnableMarginColor(bool on) {
        EnableItem(1402, on);
        EnableItem(1700, on);
    }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const PaperMarginEx& m = Running().paperMargin;
        m_paper.combo = GetDlgItem(1400);
        m_paper.AddNumbers(0, 256);
        m_paper.AppendColors(PenColors(), 0, 256);
        m_paper.Select(m.papercolor);
        m_margin.combo = GetDlgItem(1402);
        m_margin.AddNumbers(1, 256);
        m_margin.AppendColors(PenColors(), 1, 256);
        m_margin.Select(m.color >= 1 ? m.color - 1 : 0);
        SetCheck(1104, m.color >= 1);
        EnableMarginColor(m.color >= 1);
        m_paper.ShowAtLeast(16);
        m_margin.ShowAtLeast(16);
        const double values[8] = {m.top, m.bottom, m.left, m.right, m.top2, m.bottom2, m.left2, m.right2};
        for (int i = 0; i < 8; ++i) {
            SendItemMessage(1305 + i, EM_LIMITTEXT, 5);
            SetItemText(1305 + i, G(values[i]).c_str());
        }
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == 1400) m_paper.DrawItem(item);
        if (wParam == 1402) m_margin.DrawItem(item);
        handled = FALSE;  // the base draws the OK button
        return TRUE;
    }

    LRESULT OnShowMargin(WORD, WORD, HWND, BOOL&) {
        EnableMarginColor(IsChecked(1104));
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        double values[8];
        for (int i = 0; i < 8; ++i) {
            values[i] = ReadDecimal(GetItemText(1305 + i).substr(0, 255).c_str());
            // A refused margin keeps the dialog open at that field: closing
            // with OK would tell the user the margins were taken.
            if (!MarginValueIsValid(values[i], m_hWnd)) {
                ::SetFocus(GetDlgItem(1305 + i));
                SendItemMessage(1305 + i, EM_SETSEL, 0, -1);
                return 0;
            }
        }
        PaperMarginEx& m = Running().paperMargin;
        m.color = IsChecked(1104) ? m_margin.Selected() + 1 : 0;
        m.papercolor = m_paper.Selected();
        double* slots[8] = {&m.top, &m.bottom, &m.left, &m.right, &m.top2, &m.bottom2, &m.left2, &m.right2};
        for (int i = 0; i < 8; ++i)
            *slots[i] = values[i];
        RequestPopupRefresh();
        if (HWND view = GetActiveView()) ::InvalidateRect(view, nullptr, FALSE);
        EndDialog(IDOK);
        return 0;
    }

    ColorNumberList m_paper, m_margin;
};

}  // namespace

int RunCoordDispDialog() {
    CSetCoordDispDlg dialog;
    return RunModal(dialog);
}

int RunCursorDialog() {
    CSetCursorDlg dialog;
    return RunModal(dialog);
}

int RunGridDialog() {
    CSetGridDlg dialog;
    return RunModal(dialog);
}

int RunMarginDialog() {
    CSetMarginDlg dialog;
    return RunModal(dialog);
}
