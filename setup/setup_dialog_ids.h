// Resource numbers of the page and layer dialogs (shell/res/setup_dialogs.rc).
#pragma once

#define IDD_LAYER_MANAGER 225
#define IDD_ADD_LAYER 226
#define IDD_LAYER_PATTERN 227
#define IDD_INPUT_LAYER 246
#define IDD_PAGE_EDIT_NAME "PAGE_EDIT"
#define IDD_PAGE_APPEND_NAME "PAGE_APD"
#define IDD_ADD_PAGE_NAME "NEWDB"

// Page state icons (26 x 18): hidden, display only, display and detect.
// 216 also takes the place of a layer icon file that cannot be loaded.
#define IDI_PAGE_STATE_HIDDEN 216
#define IDI_PAGE_STATE_DISPLAY 206
#define IDI_PAGE_STATE_BOTH 210
// The icon of the layer dialogs.
#define IDI_LAYER_DIALOG 247
