// Template numbers of the drawing-setup dialogs (shell/res/setup_dialogs.rc).
#pragma once

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
