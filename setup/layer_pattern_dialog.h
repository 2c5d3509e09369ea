// The pattern dialog of the layer manager (resource 227): the patterns of
// the pattern file, saved from or loaded into the manager's tree.
#pragma once

#include <windows.h>

#include "win/dialog_base.h"

// The names of the pattern file into list 403; their number.
int ListLayerPatterns(HWND dialog);
// The first entries of a pattern into static 407.
void PreviewLayerPattern(HWND dialog, const char* name);

class CLayerDataFileDlg : public CDialogBase<CLayerDataFileDlg> {
public:
    CLayerDataFileDlg();

    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM param = 0) { return CDialog::DoModal(parent, param); }

    BEGIN_MSG_MAP(CLayerDataFileDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    COMMAND_ID_HANDLER(400, OnLoad)
    COMMAND_ID_HANDLER(401, OnSave)
    COMMAND_ID_HANDLER(1000, OnDelete)
    COMMAND_ID_HANDLER(405, OnImport)
    COMMAND_ID_HANDLER(406, OnExport)
    COMMAND_ID_HANDLER(403, OnListNotify)
    COMMAND_ID_HANDLER(IDOK, OnEnd)
    COMMAND_ID_HANDLER(IDCANCEL, OnEnd)
    CHAIN_MSG_MAP(CDialogBase<CLayerDataFileDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLoad(WORD, WORD, HWND, BOOL&);
    LRESULT OnSave(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnImport(WORD, WORD, HWND, BOOL&);
    LRESULT OnExport(WORD, WORD, HWND, BOOL&);
    LRESULT OnListNotify(WORD, WORD, HWND, BOOL&);
    LRESULT OnEnd(WORD, WORD id, HWND, BOOL&) {
        EndDialog(id == IDOK ? 1 : 2);
        return 0;
    }
    std::string CaretName() const;
    void Relist();
};
