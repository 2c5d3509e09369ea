// The page dialogs of the active drawing: the page information dialog
// ("PAGE_EDIT", command 4038), the page manager ("PAGE_APD", command 4037)
// and its add-page dialog ("NEWDB"). They edit the work records of
// setup/page_edit_records.h and write them back only on OK.
#pragma once

#include <windows.h>

#include "setup/page_edit_records.h"

// Command 4038; 0.
int RunPageEditDialog();
// Command 4037; 0.
int RunPageAppendDialog();
// A drawing chosen in the file dialog's external-reference mode becomes a
// new page entry of the open page manager; 0 when the list is full (254
// entries) or no page number is free, else 1.
int AppendExternalRefEntry(const char* fileName);
int ExternalRefEntryCount();
void ClearExternalRefEntries();

// The page information dialog's and the page manager's windows while open.
HWND PageEditDialogWindow();
HWND PageAppendDialogWindow();
