// The drawing-setup dialogs that commands open. The present forms show nothing
// and answer as stated on each.
#pragma once

#include <windows.h>

#include "view/db_info.h"

// New-drawing dialog: 0 when confirmed (block filled). For now: the
// block is kept as given and taken as confirmed.
int RunNewDrawingDialog(DbInfoHead* info);
// Drawing-information dialog: 0 when confirmed. For now: 1 (not
// confirmed).
int RunDrawingInfoDialog(DbInfoHead* info);
// Coordinate-display, cursor and margin dialogs. For now: IDCANCEL.
int RunCoordDispDialog();
int RunCursorDialog();
int RunMarginDialog();
// The page dialogs (commands 4037, 4038) and the external-reference entry
// of the page manager.
#include "setup/page_dialogs.h"

// The start dialog of command 4050: 1 use the new drawing, 2 cancel, 100
// open a file instead. For now: 1 without showing anything.
class CCreateOpenZumenDlg {
public:
    INT_PTR DoModal(HWND parent = nullptr);
};

// The configuration property sheet. For now: IDCANCEL.
class CSetConfigDlg {
public:
    explicit CSetConfigDlg(const char* caption = nullptr);
    INT_PTR DoModal(HWND parent = nullptr);
    const char* Caption() const { return m_caption; }

private:
    const char* m_caption;
};
