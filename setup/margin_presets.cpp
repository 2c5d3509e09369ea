#include "setup/margin_presets.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/message_table.h"
#include "base/user_folder.h"
#include "setup/setup_dialog_ids.h"
#include "win/file_dialog.h"
#include "win/message_box.h"

const char kMarginFileHeader[] = "Quillmar Margin Data Ver.1.0";

namespace {

// Blanks, tabs and line ends; none of them can be the second byte of a
// double-byte character, so cutting them from the end is safe.
void TrimRight(std::string& text) {
    while (!text.empty() && std::strchr(" \t\r\n", text.back()))
        text.pop_back();
}

std::vector<std::string> SplitAtCommas(const std::string& line) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); i += DbcsCharLength(line.c_str() + i)) {
        const size_t n = DbcsCharLength(line.c_str() + i);
        if (n == 1 && line[i] == ',')
            fields.emplace_back();
        else
            fields.back().append(line, i, n ? n : 1);
        if (n == 0) break;
    }
    return fields;
}

const char kFilter[] = "マージン ファイル (*.mgn)\0*.mgn\0すべてのファイル (*.*)\0*.*\0";

bool AskFile(HWND owner, bool save, std::string& path) {
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrDefExt = "txt";
    ofn.Flags = OFN_HIDEREADONLY | (save ? 0 : OFN_FILEMUSTEXIST);  // the chosen file is replaced without a question
    if (!(save ? ZavGetSaveFileName(&ofn) : ZavGetOpenFileName(&ofn))) return false;
    path = file;
    return true;
}

std::string EditText(HWND dialog, int id) {
    const int n = ::GetWindowTextLengthA(::GetDlgItem(dialog, id));
    std::string text(n + 1, '\0');
    ::GetDlgItemTextA(dialog, id, &text[0], n + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
}

}  // namespace

double ReadDecimal(const char* text) { return text ? std::strtod(text, nullptr) : 0.0; }

bool ParseMarginLine(const std::string& raw, CMarginData& out) {
    std::string line = raw;
    TrimRight(line);
    std::vector<std::string> fields = SplitAtCommas(line);
    if (fields.size() < 9) return false;
    // The last eight fields are the values; a name with commas keeps them.
    const size_t nameFields = fields.size() - 8;
    out.name = fields[0];
    for (size_t i = 1; i < nameFields; ++i)
        out.name += "," + fields[i];
    for (int i = 0; i < 8; ++i)
        out.values[i] = ReadDecimal(fields[nameFields + i].c_str());
    return true;
}

std::string MarginLine(const CMarginData& preset) {
    std::string line = preset.name;
    for (double v : preset.values)
        line += ", " + FormatDouble(v, 15, 1);
    return line;
}

std::string MarginItemText(const CMarginData& preset) {
    std::string name = preset.name.substr(0, DbcsBoundary(preset.name, kMarginNameMax));
    char text[256];
    std::snprintf(text, sizeof text, "%-30s", name.c_str());
    std::string out = text;
    for (double v : preset.values) {
        std::snprintf(text, sizeof text, " %6.2lf", v);
        out += text;
    }
    return out;
}

CMargin::CMargin() : path(GetUserSettingsDir(true) + "\\margin.dat") {}

int CMargin::Load(const char* from) {
    FILE* f = std::fopen(from ? from : path.c_str(), "r");
    if (!f) return -1;
    char buffer[1024];
    if (!std::fgets(buffer, 1023, f)) {
        std::fclose(f);
        return -1;
    }
    std::string header = buffer;
    TrimRight(header);
    if (header != kMarginFileHeader) {
        std::fclose(f);
        return -2;
    }
    while (std::fgets(buffer, 1023, f)) {
        CMarginData preset;
        if (ParseMarginLine(buffer, preset)) presets.push_back(preset);
    }
    std::fclose(f);
    return 0;
}

int CMargin::Save(const char* to) const {
    FILE* f = std::fopen(to ? to : path.c_str(), "w");
    if (!f) return -1;
    std::fprintf(f, "%s\n", kMarginFileHeader);
    for (const CMarginData& p : presets)
        std::fprintf(f, "%s\n", MarginLine(p).c_str());
    std::fclose(f);
    return 0;
}

bool MarginValueIsValid(double value, HWND owner) {
    if (value >= 0 && value < 100 && std::fabs(value - 100) > 1e-8) return true;
    ZavMessageBox(owner, "マージンの値が異常です 0以上100未満の値を入力してください", "入力チェック", MB_OK);
    return false;
}

// --- The preset list ----------------------------------------------------------

CMarginListDlg::CMarginListDlg() : CDialogBase(IDD_MARGIN_LIST) {}

CMarginListDlg::~CMarginListDlg() {
    if (m_fixedFont) ::DeleteObject(m_fixedFont);
}

LRESULT CMarginListDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    // The item texts are columns of fixed widths: they line up only in a
    // font of one pitch, whichever font the template's name finds.
    m_fixedFont = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
    for (int id : {1500, 1601})
        SendItemMessage(id, WM_SETFONT, reinterpret_cast<WPARAM>(m_fixedFont), FALSE);
    SendItemMessage(1500, LB_SETITEMHEIGHT, 0, 16);
    CMargin file;
    // The file is read, not rewritten: its presets stay as they are until
    // the user changes the list.
    if (file.Load() == 0)
        for (const CMarginData& p : file.presets)
            AddPreset(p);
    handled = FALSE;
    return 0;
}

void CMarginListDlg::AddPreset(const CMarginData& preset) {
    m_presets.push_back(preset);
    const std::string text = MarginItemText(preset);
    SendItemMessage(1500, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMarginListDlg::Rebuild() const {
    CMargin file;
    file.presets = m_presets;
    file.Save();
}

int CMarginListDlg::Selection() const { return static_cast<int>(SendItemMessage(1500, LB_GETCURSEL)); }

LRESULT CMarginListDlg::OnNew(WORD, WORD, HWND, BOOL&) {
    CMarginListNewDlg dialog;
    if (dialog.DoModal(::GetActiveWindow()) == IDOK) {
        AddPreset(dialog.m_preset);
        Rebuild();
    }
    return 0;
}

LRESULT CMarginListDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    const int at = Selection();
    if (at < 0 || at >= static_cast<int>(m_presets.size())) {
        ZavMessageBox(m_hWnd, GetMessageText(7420), GetMessageText(7416), MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    if (ZavMessageBox(m_hWnd, GetMessageText(7418), GetMessageText(7416), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    SendItemMessage(1500, LB_DELETESTRING, at);
    m_presets.erase(m_presets.begin() + at);
    Rebuild();
    return 0;
}

LRESULT CMarginListDlg::OnImport(WORD, WORD, HWND, BOOL&) {
    std::string path;
    if (!AskFile(::GetActiveWindow(), false, path)) return 0;
    CMargin file;
    if (file.Load(path.c_str()) != 0) return 0;
    for (const CMarginData& p : file.presets)
        AddPreset(p);
    Rebuild();
    return 0;
}

LRESULT CMarginListDlg::OnExport(WORD, WORD, HWND, BOOL&) {
    const int at = Selection();
    if (at < 0 || at >= static_cast<int>(m_presets.size())) {
        ZavMessageBox(m_hWnd, "書き出す項目が選択されていません", "ファイルへ書き出す", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    std::string path;
    if (!AskFile(::GetActiveWindow(), true, path)) return 0;
    CMargin one;
    one.presets.push_back(m_presets[at]);
    one.Save(path.c_str());
    return 0;
}

LRESULT CMarginListDlg::OnChoose(WORD, WORD, HWND, BOOL&) {
    const int at = Selection();
    if (at < 0 || at >= static_cast<int>(m_presets.size())) {
        ZavMessageBox(m_hWnd, "項目が選択されていません", "選択", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    m_chosen = m_presets[at];
    EndDialog(IDOK);
    return 0;
}

// --- A new preset ---------------------------------------------------------------

CMarginListNewDlg::CMarginListNewDlg() : CDialogBase(IDD_MARGIN_LIST_NEW) {}

LRESULT CMarginListNewDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    SendItemMessage(1300, EM_LIMITTEXT, kMarginNameMax);
    SetItemText(1300, m_preset.name.c_str());
    for (int i = 0; i < 8; ++i) {
        SendItemMessage(1305 + i, EM_LIMITTEXT, 5);
        SetItemText(1305 + i, FormatDouble(m_preset.values[i], 15, 1).c_str());
    }
    handled = FALSE;
    return 0;
}

LRESULT CMarginListNewDlg::OnRegister(WORD, WORD, HWND, BOOL&) {
    std::string name = EditText(m_hWnd, 1300);
    if (name.empty()) {
        ZavMessageBox(m_hWnd, "登録名称を入力してください", "確認", MB_OK | MB_ICONINFORMATION);
        ::SetFocus(GetDlgItem(1300));
        return 0;
    }
    // A comma would split the name in the file.
    if (DbcsFindChar(name.c_str(), ',')) {
        ZavMessageBox(m_hWnd, "登録名称に「,」は使えません", "確認", MB_OK | MB_ICONINFORMATION);
        ::SetFocus(GetDlgItem(1300));
        return 0;
    }
    double values[8];
    for (int i = 0; i < 8; ++i) {
        values[i] = ReadDecimal(EditText(m_hWnd, 1305 + i).c_str());
        if (!MarginValueIsValid(values[i], m_hWnd)) {
            ::SetFocus(GetDlgItem(1305 + i));
            return 0;
        }
    }
    TruncateDbcsText(name, kMarginNameMax);
    m_preset.name = name;
    std::memcpy(m_preset.values, values, sizeof values);
    EndDialog(IDOK);
    return 0;
}
