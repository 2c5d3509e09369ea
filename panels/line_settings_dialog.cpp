#include "panels/line_settings_dialog.h"

#include "panels/panel_dialog_ids.h"

namespace {

// The list position showing a line-end type (the first entry of that type).
int PositionOfType(const AttrSelectorModel& m, int type) {
    for (int i = 0; i < m.Count(); ++i)
        if (m.lineEnds[i].type == type) return i;
    return -1;
}

}  // namespace

CLineSettingsDlg::CLineSettingsDlg() : CDialog(IDD_LINE_SETTINGS) {}

LRESULT CLineSettingsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    m_lineEnds.Load();
    m_widthList.Attach(GetDlgItem(IDC_LINE_WIDTH_LIST), &m_widths);
    for (int i = 0;; ++i) {
        const std::string text = GetLineWidthText(i);
        if (text.empty()) break;
        SendItemMessage(IDC_LINE_WIDTH_LIST, LB_ADDSTRING, 0, (LPARAM)text.c_str());
    }
    m_startList.Attach(GetDlgItem(IDC_LINE_START_LIST), &m_lineEnds);
    m_endList.Attach(GetDlgItem(IDC_LINE_END_LIST), &m_lineEnds);
    for (const LineEndItem& item : m_lineEnds.lineEnds) {
        SendItemMessage(IDC_LINE_START_LIST, LB_ADDSTRING, 0, (LPARAM)item.name.c_str());
        SendItemMessage(IDC_LINE_END_LIST, LB_ADDSTRING, 0, (LPARAM)item.name.c_str());
    }
    SendItemMessage(IDC_LINE_WIDTH_LIST, LB_SETCURSEL, m_width);
    SendItemMessage(IDC_LINE_START_LIST, LB_SETCURSEL, PositionOfType(m_lineEnds, m_start));
    SendItemMessage(IDC_LINE_END_LIST, LB_SETCURSEL, PositionOfType(m_lineEnds, m_end));
    CenterWindow();
    return TRUE;
}

LRESULT CLineSettingsDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    // A list without a selection leaves its value as it was; the line ends
    // are stored as their types, not as list positions.
    const int width = (int)SendItemMessage(IDC_LINE_WIDTH_LIST, LB_GETCURSEL);
    if (width >= 0) m_width = width;
    const int start = (int)SendItemMessage(IDC_LINE_START_LIST, LB_GETCURSEL);
    if (m_lineEnds.Contains(start)) m_start = m_lineEnds.lineEnds[start].type;
    const int end = (int)SendItemMessage(IDC_LINE_END_LIST, LB_GETCURSEL);
    if (m_lineEnds.Contains(end)) m_end = m_lineEnds.lineEnds[end].type;
    EndDialog(IDOK);
    return 0;
}
