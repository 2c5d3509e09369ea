#include "shell/input_point_dialog.h"

#include <cstdlib>
#include <string>

#include "base/file_utils.h"
#include "base/running_settings.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"
#include "shell/calculator.h"
#include "shell/dialog_base.h"
#include "shell/dialog_ids.h"
#include "view/input_scale.h"
#include "view/view_coords.h"
#include "view/view_table.h"

namespace {

const int kSliderRange = 5000;
const int kXEdit = 1300, kYEdit = 1301, kXSlider = 500, kYSlider = 501, kOnceCheck = 1100;

double g_rememberedX = 0, g_rememberedY = 0;

std::string Format3(double v) { return FormatDouble(v, 3, 1); }

class CInputPointDlg : public CDialogBase<CInputPointDlg> {
public:
    explicit CInputPointDlg(int mode) : CDialogBase(IDD_INPUT_POINT), m_mode(mode) { m_centerFlag = 1; }

    double m_x = 0, m_y = 0;

    BEGIN_MSG_MAP(CInputPointDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_HSCROLL, OnHScroll)
    COMMAND_HANDLER(kXEdit, EN_CHANGE, OnEditChange)
    COMMAND_HANDLER(kYEdit, EN_CHANGE, OnEditChange)
    COMMAND_ID_HANDLER(1001, OnCalculator)
    COMMAND_ID_HANDLER(1002, OnCalculator)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CInputPointDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        SetItemText(kXEdit, Format3(m_x).c_str());
        SetItemText(kYEdit, Format3(m_y).c_str());
        for (int id : {kXSlider, kYSlider}) {
            ::SetScrollRange(GetDlgItem(id), SB_CTL, 0, kSliderRange, FALSE);
            EnableItem(id, false);
        }
        double w = 0, h = 0;
        if (HWND view = GetActiveView(); view && GetViewPaperSize(view, &w, &h)) {
            m_scaleX = m_scaleY = kSliderRange;
            EnableItem(kXSlider, true);
            EnableItem(kYSlider, true);
        }
        SlidersFromEdits();
        SetCheck(kOnceCheck, Running().bTmpOnece != 0);
        if (m_mode == 1) {
            ShowItem(kOnceCheck, false);
            ::SetWindowTextA(m_hWnd, "座標入力");
            SetItemText(1600, "X 座標");
            SetItemText(101, "Y 座標");
        } else {
            ShowItem(kOnceCheck, true);
        }
        handled = FALSE;  // the base colours OK and centres the dialog
        return 0;
    }

    double EditValue(int id) const { return std::strtod(GetItemText(id).c_str(), nullptr); }

    void SlidersFromEdits() {
        ::SetScrollPos(GetDlgItem(kXSlider), SB_CTL, SliderPositionOf(EditValue(kXEdit), m_scaleX), TRUE);
        ::SetScrollPos(GetDlgItem(kYSlider), SB_CTL, SliderPositionOf(EditValue(kYEdit), m_scaleY), TRUE);
    }

    LRESULT OnHScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
        HWND bar = (HWND)lParam;
        const int id = ::GetDlgCtrlID(bar);
        if (id != kXSlider && id != kYSlider) {
            handled = FALSE;
            return 0;
        }
        int pos = ::GetScrollPos(bar, SB_CTL);
        switch (LOWORD(wParam)) {
        case SB_LINELEFT: pos -= 1; break;
        case SB_LINERIGHT: pos += 1; break;
        case SB_PAGELEFT: pos -= 10; break;
        case SB_PAGERIGHT: pos += 10; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: pos = static_cast<short>(HIWORD(wParam)); break;
        default: return 0;
        }
        if (pos < 0) pos = 0;
        if (pos > kSliderRange) pos = kSliderRange;
        ::SetScrollPos(bar, SB_CTL, pos, TRUE);
        m_echoGuard = 0;  // the edit's change must not move the sliders back
        const double scale = id == kXSlider ? m_scaleX : m_scaleY;
        SetItemText(id == kXSlider ? kXEdit : kYEdit, Format3(SliderValueOf(pos, scale)).c_str());
        m_echoGuard = 1;
        return 0;
    }

    LRESULT OnEditChange(WORD, WORD, HWND, BOOL&) {
        if (m_echoGuard) SlidersFromEdits();
        m_echoGuard = 1;
        return 0;
    }

    LRESULT OnCalculator(WORD, WORD id, HWND, BOOL&) {
        char text[32] = "";
        if (RunCalculator(m_hWnd, 4, id == 1001 ? "X の入力" : "Y の入力", text) == 1)
            SetItemText(id == 1001 ? kXEdit : kYEdit, text);  // the sliders follow through EN_CHANGE
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        HWND xEdit = GetDlgItem(kXEdit);
        if (::GetFocus() == xEdit) {
            // Return in X goes on to Y.
            HWND yEdit = GetDlgItem(kYEdit);
            ::SetFocus(yEdit);
            ::SendMessageA(yEdit, EM_SETSEL, 0, -1);
            return 0;
        }
        m_x = EditValue(kXEdit);
        m_y = EditValue(kYEdit);
        if (m_mode == 0) {
            if (IsChecked(kOnceCheck)) {
                Running().bTmpOnece = 1;
                HWND toolPanel = (HWND)::SendMessageA(MainFrameWindow(), UM_GET_CMDPANEL, 1, 0);
                if (toolPanel) ::PostMessageA(toolPanel, WM_COMMAND, 3409, 0);
            } else {
                Running().bTmpOnece = 0;
            }
        }
        EndDialog(IDOK);
        return 0;
    }

    int m_mode;
    double m_scaleX = 0, m_scaleY = 0;
    int m_echoGuard = 1;
};

// 1 after OK with the typed values.
int RunPointEntry(int mode, double* x, double* y) {
    CInputPointDlg dlg(mode);
    dlg.m_x = g_rememberedX;
    dlg.m_y = g_rememberedY;
    if (dlg.DoModal(::GetActiveWindow()) != IDOK) return 0;
    *x = dlg.m_x;
    *y = dlg.m_y;
    g_rememberedX = dlg.m_x;
    g_rememberedY = dlg.m_y;
    return 1;
}

}  // namespace

int SliderPositionOf(double value, double scale) {
    if (scale == 0) return kSliderRange / 2;
    const double offset = value / scale * kSliderRange;
    if (offset > kSliderRange) return kSliderRange;
    if (offset < -kSliderRange) return 0;
    int pos = kSliderRange / 2 + static_cast<int>(offset);
    if (pos < 0) pos = 0;
    if (pos > kSliderRange) pos = kSliderRange;
    return pos;
}

double SliderValueOf(int position, double scale) {
    return (position - kSliderRange / 2) / static_cast<double>(kSliderRange) * scale;
}

void RememberedPointEntry(double* x, double* y) {
    if (x) *x = g_rememberedX;
    if (y) *y = g_rememberedY;
}

void SetRememberedPointEntry(int axis, double value) { (axis == 0 ? g_rememberedX : g_rememberedY) = value; }

int InputRelativePoint(double* x, double* y) {
    if (!GetActiveView() || !x || !y) return 0;
    double dx = 0, dy = 0;
    if (!RunPointEntry(0, &dx, &dy)) return 0;
    double r = GetDrawToInputRatio();
    if (r == 0) r = 1;
    *x += dx / r;
    *y += dy / r;
    return 1;
}

int InputTemporaryPoint() {
    if (!GetActiveView()) return 0;
    double x = 0, y = 0;
    WaitState& ws = CmdWaitState();
    if (RunPointEntry(1, &x, &y)) {
        ws.tempPoint[0] = x;
        ws.tempPoint[1] = y;
        ws.tempPoint[2] = 0;
        ws.tempPointFlag = 1;
    } else {
        ws.tempPointFlag = 0;
    }
    if (HWND frame = MainFrameWindow()) ::UpdateWindow(frame);
    return 1;
}
