// The new-drawing dialog "新規図面を開く" (also the drawing-information
// dialog of an open drawing) and the start menu "スタート". Both fill a
// drawing-information record that the caller owns and, for a new drawing,
// remember the choices as the defaults of the next one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "view/db_info.h"
#include "win/dialog_base.h"

class CCreateZumenDlg : public CDialogBase<CCreateZumenDlg> {
public:
    // `newDrawing` 1: a new drawing; 0: the drawing information of an open one.
    explicit CCreateZumenDlg(DbInfoHead* record, int newDrawing = 1);

    BEGIN_MSG_MAP(CCreateZumenDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    COMMAND_ID_HANDLER(1803, OnOpenInstead)
    COMMAND_HANDLER(1400, CBN_SELCHANGE, OnPaperChanged)
    COMMAND_HANDLER(502, CBN_SELCHANGE, OnPaperChanged)
    COMMAND_HANDLER(1401, CBN_SELCHANGE, OnScaleChosen)
    COMMAND_HANDLER(1401, CBN_EDITUPDATE, OnScaleChosen)
    COMMAND_HANDLER(1303, EN_CHANGE, OnCustomSizeChanged)
    COMMAND_HANDLER(1304, EN_CHANGE, OnCustomSizeChanged)
    COMMAND_ID_HANDLER(1001, OnHistory)
    COMMAND_ID_HANDLER(1002, OnHistory)
    COMMAND_ID_HANDLER(7002, OnHistory)
    COMMAND_ID_HANDLER(1003, OnHistory)
    COMMAND_RANGE_HANDLER(1236, 1259, OnHistoryEntry)
    CHAIN_MSG_MAP(CDialogBase<CCreateZumenDlg>)
    END_MSG_MAP()

protected:
    CCreateZumenDlg(DbInfoHead* record, UINT templateId, bool startMenu);
    DbInfoHead* Record() const { return m_record; }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnOpenInstead(WORD, WORD, HWND, BOOL&);
    LRESULT OnPaperChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnScaleChosen(WORD, WORD, HWND, BOOL&);
    LRESULT OnCustomSizeChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnHistory(WORD, WORD id, HWND, BOOL&);
    LRESULT OnHistoryEntry(WORD, WORD id, HWND, BOOL&);

    int SelectedRow() const;
    void ShowSizes(double scale);
    void ShowDouble(int id, double value) const;
    double Evaluate(int id) const;

    DbInfoHead* m_record;
    int m_newDrawing;
    bool m_startMenu;
    std::vector<std::string> m_patterns;
    int m_historyKey = 0;
    HBITMAP m_picture = nullptr;

public:
    ~CCreateZumenDlg() override;
};

// The start menu of command 4050 on the caller's record: 1 OK (record
// filled), 2 cancel, 100 "開　く" (open a drawing instead).
class CCreateOpenZumenDlg : public CCreateZumenDlg {
public:
    explicit CCreateOpenZumenDlg(DbInfoHead* record);
};

// 0 after OK, -1 otherwise.
int RunNewDrawingDialog(DbInfoHead* record);
int RunDrawingInfoDialog(DbInfoHead* record);
