// The drawing-setup dialogs that commands open.
#pragma once

#include <windows.h>

#include "setup/config_sheet.h"
#include "setup/new_drawing_dialog.h"
#include "setup/small_settings_dialogs.h"
#include "view/db_info.h"

// The page dialogs (commands 4037, 4038) and the external-reference entry
// of the page manager.
#include "setup/page_dialogs.h"
