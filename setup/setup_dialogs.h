// The drawing-setup dialogs that commands open.
#pragma once

#include <windows.h>

#include "setup/config_sheet.h"
#include "setup/new_drawing_dialog.h"
#include "setup/small_settings_dialogs.h"
#include "view/db_info.h"

// Page dialogs (commands 4037, 4038). For now: IDCANCEL.
int RunPageAppendDialog();
int RunPageEditDialog();
// Adds a page entry for a chosen drawing to the append-page dialog's list
// (first free page 1-256, scale 1.0, external reference); at most 254
// entries; 0 when full.
int AppendExternalRefEntry(const char* fileName);
int ExternalRefEntryCount();
void ClearExternalRefEntries();
