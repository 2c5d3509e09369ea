#include "setup/new_drawing_dialog.h"

#include <cmath>
#include <cstring>
#include <list>
#include <memory>

#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/message_table.h"
#include "base/paper_sizes.h"
#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "base/text_utils.h"
#include "base/user_folder.h"
#include "command/host_hooks.h"
#include "panels/panel_windows.h"
#include "setup/layer_patterns.h"
#include "setup/new_drawing.h"
#include "setup/setup_dialog_ids.h"
#include "setup/setup_hooks.h"
#include "view/scale_value.h"
#include "win/message_box.h"

namespace {

// The history key of each field and the button that shows it.
struct HistoryField {
    int button;
    int field;
    const char* key;
};
constexpr HistoryField kHistory[] = {
    {1001, 1300, "NZ_STR1"}, {1002, 1301, "NZ_STR2"}, {7002, 1302, "NZ_STR3"}, {1003, 1401, "NZ_STR4"}};

void AddHistory(const char* key, const std::string& text) {
    if (HostHooks().addInputHistory) HostHooks().addInputHistory(text.c_str(), key);
}

double EvaluateText(const std::string& text) {
    CSimpleCalc calc;
    const double v = calc.Evaluate(text.c_str());
    return calc.m_error ? 0.0 : v;
}

constexpr int kSizeEdits[] = {1303, 1304, 802, 803};
const char kCustomName[] = "その他";
const char kNoPattern[] = "設定しない";

}  // namespace

CCreateZumenDlg::CCreateZumenDlg(DbInfoHead* record, int newDrawing)
    : CDialogBase(IDD_NEW_DRAWING), m_record(record), m_newDrawing(newDrawing), m_startMenu(false) {}

CCreateZumenDlg::CCreateZumenDlg(DbInfoHead* record, UINT templateId, bool startMenu)
    : CDialogBase(templateId), m_record(record), m_newDrawing(1), m_startMenu(startMenu) {}

CCreateZumenDlg::~CCreateZumenDlg() {
    if (m_picture) ::DeleteObject(m_picture);
}

void CCreateZumenDlg::ShowDouble(int id, double value) const { SetItemText(id, FormatDouble(value, 15, 1).c_str()); }

double CCreateZumenDlg::Evaluate(int id) const { return EvaluateText(GetItemText(id)); }

int CCreateZumenDlg::SelectedRow() const {
    const int size = static_cast<int>(SendItemMessage(1400, CB_GETCURSEL));
    const int orient = static_cast<int>(SendItemMessage(502, CB_GETCURSEL));
    if (size < 0) return 0;
    char name[64] = "", side[16] = "";
    SendItemMessage(1400, CB_GETLBTEXT, size, reinterpret_cast<LPARAM>(name));
    if (std::strcmp(name, kCustomName) == 0) return kCustomPaperRow;
    SendItemMessage(502, CB_GETLBTEXT, orient < 0 ? 0 : orient, reinterpret_cast<LPARAM>(side));
    const int row = PaperRowOf(name, side);
    return row < 0 ? 0 : row;
}

void CCreateZumenDlg::ShowSizes(double s) {
    if (std::fabs(s) < 1e-8 || s < 0) return;
    const int row = SelectedRow();
    double w, h;
    if (row == kCustomPaperRow) {
        w = Evaluate(1303);
        h = Evaluate(1304);
        if (std::fabs(w) < 1e-8 || w < 0) w = 0;
        if (std::fabs(h) < 1e-8 || h < 0) h = 0;
    } else {
        w = PaperSizeTable[row].width;
        h = PaperSizeTable[row].height;
    }
    ShowDouble(802, w / s);
    ShowDouble(803, h / s);
}

LRESULT CCreateZumenDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    DbInfoHead& r = *m_record;
    for (int id : kSizeEdits)
        EnableItem(id, false);
    for (const std::string& name : PaperSizeNames())
        SendItemMessage(1400, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (!m_startMenu) SendItemMessage(1400, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kCustomName));
    SendItemMessage(1400, CB_SETCURSEL, 0);
    for (const char* side : {"横", "縦"})
        SendItemMessage(502, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(side));
    SendItemMessage(502, CB_SETCURSEL, 0);

    SendItemMessage(1402, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoPattern));
    {
        auto names = std::make_unique<char[][kLayerPatternNameMax + 1]>(kLayerPatternListMax);
        const int count = ReadLayerPatternNames(names.get());
        int chosen = 0;
        for (int i = 0; i < count; ++i) {
            m_patterns.push_back(names[i]);
            SendItemMessage(1402, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
            if (!chosen && std::strcmp(names[i], Running().szLPatRd) == 0) chosen = i + 1;
        }
        SendItemMessage(1402, CB_SETCURSEL, chosen);
    }

    if (m_newDrawing) TakeNewDrawingDefaults(r);
    const double scale = CadGetF64(r.bytes, kInfoScale);
    std::list<std::string> scales;
    GetScaleList(scales);
    int scaleItem = -1, index = 0;
    for (const std::string& text : scales) {
        SendItemMessage(1401, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (std::fabs(EvaluateText(text) - scale) < 1e-8) scaleItem = index;
        ++index;
    }
    SendItemMessage(1401, CB_LIMITTEXT, 256);
    for (const HistoryField& f : kHistory)
        if (f.field != 1401) SendItemMessage(f.field, EM_LIMITTEXT, 256);
    SetItemText(1300, RecordText(r, kInfoTitle).c_str());
    SetItemText(1301, RecordText(r, kInfoAuthor).c_str());
    SetItemText(1302, RecordText(r, kInfoRemarks).c_str());
    CheckRadio(1200, 1201, r.Info()->originAtCorner ? 1200 : 1201);
    ShowDouble(1303, CadGetF64(r.bytes, kInfoPaperWmm));
    ShowDouble(1304, CadGetF64(r.bytes, kInfoPaperHmm));
    ShowDouble(802, CadGetF64(r.bytes, kInfoDrawW));
    ShowDouble(803, CadGetF64(r.bytes, kInfoDrawH));
    char scaleText[64] = "";
    FormatScaleValue(scale, scaleText, sizeof scaleText);
    if (scaleItem >= 0) SendItemMessage(1401, CB_SETCURSEL, scaleItem);
    SetItemText(1401, scaleText);

    const int row = PaperRowOfCode(r.Info()->paperCode);
    if (row >= 0) {
        const std::string name = PaperSizeTable[row].name;
        const size_t blank = name.find(' ');
        SendItemMessage(1400, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(name.substr(0, blank).c_str()));
        SendItemMessage(502, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(name.substr(blank + 1).c_str()));
        EnableItem(502, true);
    } else {
        // The start menu offers no custom size: the first size stands in.
        if (!m_startMenu)
            SendItemMessage(1400, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kCustomName));
        EnableItem(502, false);
        if (!m_startMenu) {
            EnableItem(1303, true);
            EnableItem(1304, true);
        }
    }
    if (!m_newDrawing) {
        ::SetWindowTextA(m_hWnd, GetMessageText(5115));
        ShowItem(1402, false);
        ShowItem(1603, false);
    }
    if (m_startMenu) {
        const std::string path = GetExeDir() + "\\start.bmp";
        m_picture = static_cast<HBITMAP>(::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (m_picture) SendItemMessage(1807, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_picture));
        HWND open = GetDlgItem(1803);
        ::SetWindowLongA(open, GWL_STYLE, (::GetWindowLongA(open, GWL_STYLE) & ~0x0F) | BS_OWNERDRAW);
    }
    handled = FALSE;
    return TRUE;
}

LRESULT CCreateZumenDlg::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (wParam != 1803 || !m_startMenu) return 0;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    auto& draw = SetupHost().drawColorButton;
    if (draw && draw(item, RGB(0, 0, 0), RGB(255, 255, 255), RGB(125, 125, 125))) {
        handled = TRUE;
        return TRUE;
    }
    // Without the UI library the button is painted in the same colours here.
    ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    char text[64] = "";
    ::GetWindowTextA(item->hwndItem, text, sizeof text);
    ::SetBkMode(item->hDC, TRANSPARENT);
    ::SetTextColor(item->hDC, RGB(255, 255, 255));
    RECT rc = item->rcItem;
    ::DrawTextA(item->hDC, text, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    handled = TRUE;
    return TRUE;
}

LRESULT CCreateZumenDlg::OnPaperChanged(WORD, WORD, HWND, BOOL&) {
    const int row = SelectedRow();
    if (row == kCustomPaperRow) {
        EnableItem(1303, true);
        EnableItem(1304, true);
        EnableItem(502, false);
        return 0;
    }
    ShowDouble(1303, PaperSizeTable[row].width);
    ShowDouble(1304, PaperSizeTable[row].height);
    ShowSizes(Evaluate(1401));
    EnableItem(1303, false);
    EnableItem(1304, false);
    EnableItem(502, true);
    return 0;
}

LRESULT CCreateZumenDlg::OnScaleChosen(WORD, WORD, HWND, BOOL&) {
    const LRESULT at = SendItemMessage(1401, CB_GETCURSEL);
    if (at < 0) return 0;
    char text[300] = "";
    if (SendItemMessage(1401, CB_GETLBTEXTLEN, at) < static_cast<LRESULT>(sizeof text))
        SendItemMessage(1401, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
    ShowSizes(EvaluateText(text));
    return 0;
}

LRESULT CCreateZumenDlg::OnCustomSizeChanged(WORD, WORD, HWND, BOOL&) {
    ShowSizes(Evaluate(1401));
    return 0;
}

LRESULT CCreateZumenDlg::OnHistory(WORD, WORD id, HWND, BOOL&) {
    for (int k = 0; k < 4; ++k) {
        if (kHistory[k].button != id) continue;
        m_historyKey = k;
        RECT rc;
        ::GetWindowRect(GetDlgItem(id), &rc);
        POINT at = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ::ScreenToClient(m_hWnd, &at);
        if (HostHooks().showInputHistoryMenu)
            HostHooks().showInputHistoryMenu(m_hWnd, kHistory[k].key, MAKELPARAM(at.x, at.y));
    }
    return 0;
}

LRESULT CCreateZumenDlg::OnHistoryEntry(WORD, WORD id, HWND, BOOL&) {
    char entry[300] = "";
    if (HostHooks().getInputHistoryItem) HostHooks().getInputHistoryItem(entry, id - 1236);
    const HistoryField& f = kHistory[m_historyKey];
    AddHistory(f.key, entry);
    SetItemText(f.field, entry);
    return 0;
}

LRESULT CCreateZumenDlg::OnOpenInstead(WORD, WORD, HWND, BOOL&) {
    if (m_startMenu) EndDialog(100);
    return 0;
}

LRESULT CCreateZumenDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    DbInfoHead& r = *m_record;
    const int textFields[3][2] = {{1300, kInfoTitle}, {1301, kInfoAuthor}, {1302, kInfoRemarks}};
    for (int i = 0; i < 3; ++i) {
        const std::string text = GetItemText(textFields[i][0]);
        SetRecordText(r, textFields[i][1], text);
        AddHistory(kHistory[i].key, RecordText(r, textFields[i][1]));
    }
    NewDrawingChoice choice;
    const std::string scaleText = GetItemText(1401);
    choice.scale = EvaluateText(scaleText);
    choice.row = SelectedRow();
    if (choice.scale <= 0) {
        ZavMessageBox(m_hWnd, GetMessageText(7490), GetMessageText(5150), MB_OK | MB_ICONWARNING);
        ::SetFocus(GetDlgItem(1401));
        return 0;
    }
    AddHistory("NZ_STR4", scaleText);
    if (choice.row == kCustomPaperRow) {
        bool bad = false;
        for (int i = 3; i >= 0; --i) {
            choice.customSize[i] = Evaluate(kSizeEdits[i]);
            if (choice.customSize[i] > 0) continue;
            bad = true;
            SetItemText(kSizeEdits[i], "0");
            if (i < 2) {
                ::SetFocus(GetDlgItem(kSizeEdits[i]));
                SendItemMessage(kSizeEdits[i], EM_SETSEL, 0, -1);
            }
        }
        if (bad) {
            ZavMessageBox(m_hWnd, GetMessageText(7491), GetMessageText(5150), MB_OK | MB_ICONWARNING);
            return 0;
        }
    }
    ApplyNewDrawingChoice(r, choice);
    UpdateToolPanelPaperActive();
    r.Info()->originAtCorner = IsChecked(1200) ? 1 : 0;
    RememberNewDrawing(r, choice.row);
    const int pattern = static_cast<int>(SendItemMessage(1402, CB_GETCURSEL));
    const std::string name = pattern > 0 && pattern <= static_cast<int>(m_patterns.size()) ? m_patterns[pattern - 1] : "";
    DbcsCopy(Running().szLPatRd, sizeof Running().szLPatRd, name.c_str());
    EndDialog(IDOK);
    return 0;
}

CCreateOpenZumenDlg::CCreateOpenZumenDlg(DbInfoHead* record) : CCreateZumenDlg(record, IDD_START_MENU, true) {}

int RunNewDrawingDialog(DbInfoHead* record) {
    if (!record) return -1;
    CCreateZumenDlg dialog(record, 1);
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}

int RunDrawingInfoDialog(DbInfoHead* record) {
    if (!record) return -1;
    CCreateZumenDlg dialog(record, 0);
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}
