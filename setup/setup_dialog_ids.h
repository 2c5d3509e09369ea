// Resource numbers of the drawing-setup dialogs (shell/res/setup_dialogs.rc):
// the page and layer dialogs.
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

// The settings dialogs (dialog templates are apart from icons, so the
// numbers may meet the icons' above).

#define IDD_CONFIG_05 203
#define IDD_CONFIG_03 204
#define IDD_CONFIG_01 205
#define IDD_CONFIG_04 206
#define IDD_CONFIG_06 207
#define IDD_CONFIG_07 208
#define IDD_CONFIG_08 209
#define IDD_CONFIG_02 210
#define IDD_CONFIG_09 211
#define IDD_CONFIG_10 212
#define IDD_MARGIN_LIST 213
#define IDD_MARGIN_LIST_NEW 214
#define IDD_MARGIN_SETTINGS 215
#define IDD_CURSOR_SETTINGS 216
#define IDD_GRID_SETTINGS 217
#define IDD_NEW_DRAWING 221
#define IDD_COORD_DISPLAY 222
#define IDD_START_MENU 232
