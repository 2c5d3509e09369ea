#include "setup/config_sheet.h"

#include "win/dialog_base.h"

void FillPanelColor(HWND window, HDC dc) {
    RECT rc;
    ::GetClientRect(window, &rc);
    HBRUSH brush = ::CreateSolidBrush(DialogPanelColor());
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
}

// --- Page base ---------------------------------------------------------------

CSetConfigPropertyPage::~CSetConfigPropertyPage() {
    if (m_brush) ::DeleteObject(m_brush);
}

ColorNumberList& CSetConfigPropertyPage::AttachList(ColorNumberList& list, int id) {
    list.combo = GetDlgItem(id);
    list.colors.clear();
    return list;
}

LRESULT CSetConfigPropertyPage::OnBaseInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_brush) m_brush = ::CreateSolidBrush(DialogPanelColor());
    HWND sheet = GetSheet();
    HWND ok = ::GetDlgItem(sheet, IDOK), cancel = ::GetDlgItem(sheet, IDCANCEL);
    if (ok && cancel) {
        RECT a, b;
        ::GetWindowRect(ok, &a);
        ::GetWindowRect(cancel, &b);
        // OK stands where Cancel stood; once exchanged, later pages find OK
        // on the right and leave the buttons alone.
        if (a.left < b.left) {
            ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&a), 2);
            ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&b), 2);
            ::MoveWindow(ok, b.left, b.top, b.right - b.left, b.bottom - b.top, TRUE);
            ::MoveWindow(cancel, a.left, a.top, a.right - a.left, a.bottom - a.top, TRUE);
        }
        const LONG style = ::GetWindowLongA(ok, GWL_STYLE);
        ::SetWindowLongA(ok, GWL_STYLE, (style & ~0x0F) | BS_OWNERDRAW);
    }
    handled = FALSE;
    return TRUE;
}

LRESULT CSetConfigPropertyPage::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
    FillPanelColor(m_hWnd, reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CSetConfigPropertyPage::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, DialogPanelColor());
    ::SetTextColor(dc, RGB(0, 0, 0));
    if (!m_brush) m_brush = ::CreateSolidBrush(DialogPanelColor());
    return reinterpret_cast<LRESULT>(m_brush);
}

LRESULT CSetConfigPropertyPage::OnDrawListItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    for (const ColorNumberList& list : m_lists)
        if (list.combo && item && item->hwndItem == list.combo) {
            list.DrawItem(item);
            return TRUE;
        }
    handled = FALSE;
    return 0;
}

// --- Sheet -------------------------------------------------------------------

CSetConfigDlg::CSetConfigDlg(const char* caption) : CPropertySheet(caption, 0) {
    for (auto make : {MakeConfigPage01, MakeConfigPage02, MakeConfigPage03, MakeConfigPage04, MakeConfigPage05,
                      MakeConfigPage06, MakeConfigPage07, MakeConfigPage08, MakeConfigPage09, MakeConfigPage10}) {
        m_pages.push_back(make());
        AddPage(m_pages.back().get());
    }
    m_flags = PSH_NOAPPLYNOW;
    m_backgroundBrush = ::CreateSolidBrush(DialogPanelColor());
}

CSetConfigDlg::~CSetConfigDlg() {
    m_pages.clear();
    if (m_backgroundBrush) ::DeleteObject(m_backgroundBrush);
}

LRESULT CSetConfigDlg::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
    FillPanelColor(m_hWnd, reinterpret_cast<HDC>(wParam));
    return 1;
}

LRESULT CSetConfigDlg::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam == 1 && !m_centred) {
        CenterDialogOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
        m_centred = true;
    }
    handled = FALSE;
    return 0;
}

LRESULT CSetConfigDlg::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (wParam != IDOK) {
        handled = FALSE;
        return 0;
    }
    if (DialogLook().drawButton) DialogLook().drawButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

LRESULT CSetConfigDlg::OnCtlColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDOK) {
        handled = FALSE;
        return 0;
    }
    ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
    ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(m_backgroundBrush);
}

LRESULT CSetConfigDlg::OnOk(WORD, WORD, HWND, BOOL& handled) {
    // Every window repaints, so new colours and display modes show at once.
    ::InvalidateRect(nullptr, nullptr, TRUE);
    handled = FALSE;
    return 0;
}
