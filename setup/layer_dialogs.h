// The layer dialogs as the tool panel starts them: the layer manager, the
// add-layer dialog and the input-layer dialog.
#pragma once

#include <windows.h>

#include "setup/input_layer_dialog.h"
#include "setup/layer_edit_dialogs.h"
#include "setup/layer_manager_dialog.h"
#include "setup/layer_pattern_dialog.h"

// The layer manager over `parent` with the input-layer dialog hidden, the
// rubber band erased and the UI library's modeless window off while it
// runs; its end code, 0 without an active drawing.
INT_PTR RunLayerManagerDialog(HWND parent);
// The add-layer dialog over `parent`; its end code, 0 without a drawing.
INT_PTR RunAddLayerDialog(HWND parent);
