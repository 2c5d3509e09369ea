#include "setup/layer_pattern_dialog.h"

#include <string>

#include "setup/layer_patterns.h"
#include "setup/setup_dialog_ids.h"

int ListLayerPatterns(HWND dialog) {
    char names[kLayerPatternListMax][kLayerPatternNameMax + 1];
    const int count = ReadLayerPatternNames(names);
    for (int i = 0; i < count; ++i)
        ::SendDlgItemMessageA(dialog, 403, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
    return count;
}

void PreviewLayerPattern(HWND dialog, const char* name) {
    std::string text = LayerPatternPreviewText(name);
    // A static shows line breaks as "\r\n".
    std::string shown;
    for (char c : text)
        shown += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ::SetDlgItemTextA(dialog, 407, shown.c_str());
}

CLayerDataFileDlg::CLayerDataFileDlg() : CDialogBase<CLayerDataFileDlg>(IDD_LAYER_PATTERN) {}

LRESULT CLayerDataFileDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;  // the base draws buttons 1 and 1000
    SendItemMessage(404, EM_LIMITTEXT, kLayerPatternNameMax);
    ListLayerPatterns(m_hWnd);
    if (HWND save = GetDlgItem(401)) {
        const LONG style = ::GetWindowLongA(save, GWL_STYLE);
        ::SetWindowLongA(save, GWL_STYLE, (style & ~0x0F) | BS_OWNERDRAW);
    }
    return TRUE;
}

// "保存" takes the OK button's colours; the base goes on to button 1000.
LRESULT CLayerDataFileDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item && item->CtlID == 401 && DialogLook().drawButton) {
        DRAWITEMSTRUCT asOk = *item;
        asOk.CtlID = IDOK;
        DialogLook().drawButton(&asOk);
        handled = TRUE;
        return TRUE;
    }
    return 0;
}

std::string CLayerDataFileDlg::CaretName() const {
    const LRESULT caret = SendItemMessage(403, LB_GETCURSEL);
    if (caret < 0) return std::string();
    char name[300] = "";
    SendItemMessage(403, LB_GETTEXT, caret, reinterpret_cast<LPARAM>(name));
    return name;
}

void CLayerDataFileDlg::Relist() {
    SendItemMessage(403, LB_RESETCONTENT);
    SetItemText(404, "");
    SetItemText(407, "");
    ListLayerPatterns(m_hWnd);
}

LRESULT CLayerDataFileDlg::OnLoad(WORD, WORD, HWND, BOOL&) {
    const std::string name = CaretName();
    if (!name.empty() && LoadLayerPatternToTree(m_hWnd, name.c_str())) EndDialog(1);
    return 0;
}

LRESULT CLayerDataFileDlg::OnSave(WORD, WORD, HWND, BOOL&) {
    std::string name = GetItemText(404);
    if (name.size() > 259) name.resize(259);
    if (SaveLayerPattern(m_hWnd, name.c_str())) Relist();
    return 0;
}

LRESULT CLayerDataFileDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    const std::string name = CaretName();
    if (!name.empty() && !DeleteLayerPattern(m_hWnd, name.c_str())) return 0;
    Relist();
    return 0;
}

LRESULT CLayerDataFileDlg::OnImport(WORD, WORD, HWND, BOOL&) {
    if (ImportExportLayerPatterns(m_hWnd, 0) == 1) Relist();
    return 0;
}

LRESULT CLayerDataFileDlg::OnExport(WORD, WORD, HWND, BOOL&) {
    ImportExportLayerPatterns(m_hWnd, 1);
    return 0;
}

LRESULT CLayerDataFileDlg::OnListNotify(WORD, WORD, HWND, BOOL&) {
    const std::string name = CaretName();
    if (!name.empty()) PreviewLayerPattern(m_hWnd, name.c_str());
    return 0;
}
