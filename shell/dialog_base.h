// The system's dialog look (win/dialog_base.h) with the application's
// painter of its OK button and button 1000.
#pragma once

#include <windows.h>

#include "shell/cad_system.h"
#include "win/dialog_base.h"

// Paints the owner-drawn OK button (row 0 of the button colours) and button
// 1000 (button kind 0); other controls are left alone. The dialogs reach it
// through DialogLook(), which InstallHostServices fills.
void DrawDialogBaseButton(const DRAWITEMSTRUCT* item);
