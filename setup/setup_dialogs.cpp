#include "setup/setup_dialogs.h"

int RunNewDrawingDialog(DbInfoHead* info) { return info ? 0 : 1; }
int RunDrawingInfoDialog(DbInfoHead*) { return 1; }
int RunCoordDispDialog() { return IDCANCEL; }
int RunCursorDialog() { return IDCANCEL; }
int RunMarginDialog() { return IDCANCEL; }

INT_PTR CCreateOpenZumenDlg::DoModal(HWND) { return 1; }

CSetConfigDlg::CSetConfigDlg(const char* caption) : m_caption(caption) {}
INT_PTR CSetConfigDlg::DoModal(HWND) { return IDCANCEL; }
