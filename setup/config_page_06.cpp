// Page 06 "マージン / 用紙枠": the paper-frame and margin-frame colours, the
// paper origin and the eight margins, with the preset list.
#include <cstdio>

#include "base/running_settings.h"
#include "panels/panel_windows.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/margin_presets.h"
#include "setup/setup_dialog_ids.h"
#include "view/drawing_state.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"

namespace {

DbInfo* ActivePageZeroInfo() {
    HWND view = GetActiveView();
    ViewData* data = view ? GetViewData(view) : nullptr;
    return data && data->db ? DAriGetDbInfoPtr(0, static_cast<DbHeader*>(data->db)) : nullptr;
}

// The margins in the order of the edits 1305-1312.
double* MarginSlot(PaperMarginEx& m, int i) {
    double* slots[8] = {&m.top, &m.bottom, &m.left, &m.right, &m.top2, &m.bottom2, &m.left2, &m.right2};
    return slots[i];
}

std::string G(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

}  // namespace

int SetActiveDrawingOrigin(int lowerLeft) {
    DbInfo* info = ActivePageZeroInfo();
    if (!info) return -1;
    info->originAtCorner = lowerLeft;
    SetDrawingModified(GetActiveView());
    UpdateToolPanelPaperActive();
    ZoomViewToPaper();
    return 0;
}

Config06Values ReadConfig06() {
    RunningSettings& r = Running();
    // The page shows the drawing's own origin, and the setting takes it.
    if (const DbInfo* info = ActivePageZeroInfo()) r.bPaperOrg = info->originAtCorner;
    Config06Values v;
    PaperMarginEx& m = r.paperMargin;
    v.paperColor = m.papercolor - 1;
    v.marginShown = m.color >= 1;
    v.marginColor = m.color >= 1 ? m.color - 1 : 0;
    v.lowerLeft = r.bPaperOrg != 0;
    for (int i = 0; i < 8; ++i)
        v.margins[i] = G(*MarginSlot(m, i));
    return v;
}

bool StoreConfig06(const Config06Values& v, HWND owner, int* refused) {
    RunningSettings& r = Running();
    r.bPaperOrg = v.lowerLeft ? 1 : 0;
    PaperMarginEx& m = r.paperMargin;
    m.color = v.marginShown ? v.marginColor + 1 : 0;
    m.papercolor = v.paperColor + 1;
    double values[8];
    for (int i = 0; i < 8; ++i) {
        values[i] = ReadDecimal(v.margins[i].substr(0, 255).c_str());
        if (!MarginValueIsValid(values[i], owner)) {
            if (refused) *refused = i;
            return false;
        }
    }
    for (int i = 0; i < 8; ++i)
        *MarginSlot(m, i) = values[i];
    if (GetActiveView()) SetActiveDrawingOrigin(r.bPaperOrg);
    RequestPopupRefresh();
    return true;
}

namespace {

class CSetConfig06Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig06Dlg() : CSetConfigPropertyPage(IDD_CONFIG_06) {}

    BEGIN_MSG_MAP(CSetConfig06Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(1104, BN_CLICKED, OnShowMargin)
    COMMAND_ID_HANDLER(1001, OnPresets)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    ColorNumberList& Paper() { return m_lists[0]; }
    ColorNumberList& Margin() { return m_lists[1]; }

    void EnableMarginColor(bool on) {
        EnableItem(1402, on);
        EnableItem(1601, on);
    }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config06Values v = ReadConfig06();
        CheckRadio(1204, 1205, v.lowerLeft ? 1204 : 1205);
        for (ColorNumberList* list : {&Paper(), &Margin()}) {
            AttachList(*list, list == &Paper() ? 1400 : 1402).AddNumbers(1, 256);
            list->AppendColors(PenColors(), 1, 256);
            list->ShowAtLeast(16);
        }
        Paper().Select(v.paperColor);
        Margin().Select(v.marginShown ? v.marginColor : 0);
        SetCheck(1104, v.marginShown);
        EnableMarginColor(v.marginShown);
        for (int i = 0; i < 8; ++i) {
            SendItemMessage(1305 + i, EM_LIMITTEXT, 5);
            SetItemText(1305 + i, v.margins[i].c_str());
        }
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnShowMargin(WORD, WORD, HWND, BOOL&) {
        EnableMarginColor(IsChecked(1104));
        return 0;
    }

    LRESULT OnPresets(WORD, WORD, HWND, BOOL&) {
        CMarginListDlg list;
        if (list.DoModal(::GetActiveWindow()) != IDOK) return 0;
        for (int i = 0; i < 8; ++i)
            SetItemText(1305 + i, G(list.m_chosen.values[i]).c_str());
        return 0;
    }

    bool Store() override {
        Config06Values v;
        v.lowerLeft = !IsChecked(1205);
        v.marginShown = IsChecked(1104);
        v.marginColor = Margin().Selected();
        v.paperColor = Paper().Selected();
        for (int i = 0; i < 8; ++i)
            v.margins[i] = GetItemText(1305 + i);
        int refused = -1;
        if (StoreConfig06(v, m_hWnd, &refused)) return true;
        // The user stays on the page at the refused margin.
        ::SetFocus(GetDlgItem(1305 + refused));
        SendItemMessage(1305 + refused, EM_SETSEL, 0, -1);
        return false;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage06() { return std::make_unique<CSetConfig06Dlg>(); }
