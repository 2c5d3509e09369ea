// Paper-margin presets: named sets of the eight paper margins kept in the
// per-user "margin.dat" and exchanged one at a time through ".mgn" files
// (the same text format), and the two dialogs that pick and add them.
//
// File: the header line "Quillmar Margin Data Ver.1.0", then one preset per
// line, "name, v1, ..., v8" (values in the order of CMarginData::values,
// each FormatDouble with trailing zeros removed).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/dialog_base.h"

extern const char kMarginFileHeader[];
constexpr size_t kMarginNameMax = 30;  // bytes typed in the new-preset dialog

class CMarginData {
public:
    virtual ~CMarginData() = default;
    std::string name;
    // Landscape top, bottom, left, right, then portrait top, bottom, left, right (mm).
    double values[8] = {};
};

class CMargin {
public:
    CMargin();  // path: the per-user settings folder + "margin.dat"
    virtual ~CMargin() = default;
    // 0 read, -1 the file cannot be opened or is empty, -2 its first line is
    // not the header (nothing is read then). A null path is the own path.
    int Load(const char* path = nullptr);
    // 0 written, -1 the file cannot be created.
    int Save(const char* path = nullptr) const;

    std::string path;
    std::vector<CMarginData> presets;
};

// One preset line: a name holding commas keeps them (the last eight fields
// are the values); fewer than nine fields give nothing.
bool ParseMarginLine(const std::string& line, CMarginData& out);
std::string MarginLine(const CMarginData& preset);
// The list text of a preset: the name in 30 bytes (cut on a character
// boundary), then each value "%6.2lf" after a blank.
std::string MarginItemText(const CMarginData& preset);

// 0 <= value < 100 (a value within 1e-8 of 100 counts as 100). A refused
// value shows "マージンの値が異常です ..." over `owner`.
bool MarginValueIsValid(double value, HWND owner);
// The decimal number at the start of the text (blanks skipped); 0 when it
// does not start with one.
double ReadDecimal(const char* text);

// "マージン枠パターン選択": the preset list over margin.dat. 1 ("選択") with
// the chosen preset in m_chosen, or 2.
class CMarginListDlg : public CDialogBase<CMarginListDlg> {
public:
    CMarginListDlg();
    ~CMarginListDlg() override;
    CMarginData m_chosen;

    BEGIN_MSG_MAP(CMarginListDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnChoose)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    COMMAND_ID_HANDLER(1001, OnNew)
    COMMAND_ID_HANDLER(1000, OnDelete)
    COMMAND_ID_HANDLER(1003, OnImport)
    COMMAND_ID_HANDLER(1004, OnExport)
    CHAIN_MSG_MAP(CDialogBase<CMarginListDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnNew(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnImport(WORD, WORD, HWND, BOOL&);
    LRESULT OnExport(WORD, WORD, HWND, BOOL&);
    LRESULT OnChoose(WORD, WORD, HWND, BOOL&);
    void AddPreset(const CMarginData& preset);
    void Rebuild() const;
    int Selection() const;

    // The presets as loaded or added, in list order: the list shows them,
    // the file is rebuilt from them, so nothing is lost to the list's text.
    std::vector<CMarginData> m_presets;
    HFONT m_fixedFont = nullptr;
};

// "新規登録": a name and the eight values. 1 ("登録") with m_preset, or 2.
class CMarginListNewDlg : public CDialogBase<CMarginListNewDlg> {
public:
    CMarginListNewDlg();
    CMarginData m_preset;

    BEGIN_MSG_MAP(CMarginListNewDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnRegister)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CMarginListNewDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnRegister(WORD, WORD, HWND, BOOL&);
};
