// The line settings dialog ("線太細・線両端"): line width, line-start and
// line-end symbol chosen in three owner-drawn lists with their samples.
#pragma once

#include "panels/attr_selectors.h"
#include "win/dialog.h"

class CLineSettingsDlg : public CDialog {
public:
    CLineSettingsDlg();
    // Modal over `owner`: IDOK (the three values read back) or IDCANCEL.
    INT_PTR Run(HWND owner) { return DoModal(owner); }

    // Width 0..15, line-start and line-end types; set before, read after OK.
    int m_width = 0, m_start = 0, m_end = 0;

    BEGIN_MSG_MAP(CLineSettingsDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    REFLECT_NOTIFICATIONS()
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    AttrSelectorModel m_widths{AttrKind::LineWidth}, m_lineEnds{AttrKind::LineEnd};
    CLineWidthListBox m_widthList;
    CLineEndTypeListBox m_startList{0}, m_endList{1};
};
