// Command ids of the host: the WM_COMMAND numbers the menus, shortcut keys,
// toolbars, DDE and command modules use, and the ranges that decide who
// runs an id.
//
// Defined as macros so that the resource script can use them too; the range
// helpers are for C++ only.
//
//   1000-1339  gesture commands of a drawing window (its own buttons, then
//              the service commands below)
//   1200-1500  service commands the main frame runs itself
//   3000-3999  interrupt commands of the tool panel
//   4000-4999  system commands, run by the executor in place
//   5000-39999 module commands, run inside their command module
//   40000-40003 the docked panes' show/hide switches
//   45100-45999 toolbar buttons, each standing for a command
//   57600-59999 the usual ids of a Win32 frame
#pragma once

// --- Usual ids of a Win32 frame ------------------------------------------------------
#define ID_WINDOW_ARRANGE 57649
#define ID_APP_ABOUT 57664
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// --- A drawing window's own buttons and switches -------------------------------------
// The frame's edge buttons: scroll arrows, then the zoom trio (in, out, fit)
// of the first edge; the other three edges repeat the trio
// ID_CADWIN_EDGE_STRIDE further on each (ID_CADWIN_ZOOM_IN + 3 * edge).
#define ID_CADWIN_SCROLL_UP 1000
#define ID_CADWIN_SCROLL_DOWN 1001
#define ID_CADWIN_SCROLL_LEFT 1002
#define ID_CADWIN_SCROLL_RIGHT 1003
#define ID_CADWIN_ZOOM_IN 1004
#define ID_CADWIN_ZOOM_OUT 1005
#define ID_CADWIN_ZOOM_FIT 1006
#define ID_CADWIN_EDGE_STRIDE 3
// The arrows of the second button set scroll like the first.
#define ID_CADWIN_SCROLL2_UP 1020
#define ID_CADWIN_SCROLL2_DOWN 1021
#define ID_CADWIN_SCROLL2_LEFT 1022
#define ID_CADWIN_SCROLL2_RIGHT 1023
// To the drawing frame: HIWORD 1 shows the edge buttons, 0 hides them; the
// edge zones to show (HIWORD, a mask of EdgeZoneAt's bits).
#define ID_CADWIN_EDGE_BUTTONS 1050
#define ID_CADWIN_EDGE_ZONES 1051

// --- Service commands (the main frame's own) -----------------------------------------
#define ID_SVC_FIRST 1200
#define ID_SVC_CASCADE 1200
#define ID_SVC_TILE 1201
#define ID_SVC_NEW_WINDOW 1203
#define ID_SVC_BASE_VIEW 1204
#define ID_SVC_ZOOM 1205
#define ID_SVC_SCROLL 1206
#define ID_SVC_REDO 1208
#define ID_SVC_UNDO 1209
#define ID_SVC_ZOOM_WINDOW 1210
#define ID_SVC_HELP_FILE 1212
#define ID_SVC_RIGHT_CLICK 1219
#define ID_SVC_LAYOUT_VIEW 1225
// A second start hands its command line over (lParam an atom; also the
// WM_COPYDATA dwData of the hand-over), or starts with none.
#define ID_SVC_HAND_OVER_COMMAND_LINE 1227
#define ID_SVC_SECOND_START 1228
#define ID_SVC_SETTINGS 1229
#define ID_SVC_LAYER_SPLIT 1230
#define ID_SVC_FEED_F10 1240
#define ID_SVC_LOUPE 1300
#define ID_SVC_DRAWING_MEMO_DELETE 1311
#define ID_SVC_REDRAW 1314  // 1315-1317: display modes 1-3 (1314 + mode)
#define ID_SVC_OVERVIEW 1330
#define ID_SVC_PREVIOUS_VIEW 1333
#define ID_SVC_INPUT_SCALE 1335
#define ID_SVC_TOOLBAR_SETTINGS 1337
#define ID_SVC_VIEW_LAST 1339
#define ID_SVC_LAST 1500

// --- Interrupt commands of the tool panel --------------------------------------------
#define ID_PANEL_FIRST 3000
#define ID_PANEL_ARROW 3000  // handed on to every drawing window
#define ID_PANEL_ARROW_UP 3001
#define ID_PANEL_ARROW_DOWN 3002
#define ID_PANEL_ARROW_LEFT 3003
#define ID_PANEL_ARROW_RIGHT 3004
#define ID_PANEL_LAYER_MANAGER 3310
#define ID_PANEL_VIEW_REFRESH 3311  // also the input-layer dialog (code 0 show, 1 refresh, 2 hide)
#define ID_PANEL_ADD_LAYER 3315
#define ID_PANEL_KEY_CURSOR 3406
#define ID_PANEL_MODE 3409
#define ID_PANEL_TEMPORARY_POINT 3989
#define ID_PANEL_GRID 3516
#define ID_PANEL_VIEW_CHANGED 3821
#define ID_PANEL_MID_POINT 3999
#define ID_PANEL_LAST 3999

// --- System commands ------------------------------------------------------------------
#define ID_SYSTEM_FIRST 4000
#define ID_CMD_NEW_DRAWING 4000
#define ID_CMD_OPEN_DRAWING 4001
#define ID_CMD_SAVE_DRAWING_AS 4002
#define ID_CMD_CLOSE_DRAWING 4005
#define ID_CMD_EXIT 4006
#define ID_CMD_VERSION 4008
#define ID_CMD_SAVE_DRAWING 4012
#define ID_CMD_DELETE_DRAWING_FILE 4013
#define ID_CMD_DRAWING_INFO 4021
#define ID_CMD_CURSOR_SETTINGS 4023
#define ID_CMD_MARGIN_SETTINGS 4024
#define ID_CMD_SPLIT_WINDOW 4025
#define ID_CMD_PASTE_DRAWING 4027
#define ID_CMD_COORD_DISPLAY 4036
#define ID_CMD_APPEND_PAGE 4037
#define ID_CMD_PAGE_INFO 4038
#define ID_CMD_PAPER_SPACE 4039
#define ID_CMD_MODEL_SPACE 4040
// The module registered under this id starts when a drawing window closes.
#define ID_CMD_WINDOW_CLOSED 4041
#define ID_CMD_START_DRAWING 4050
#define ID_CMD_PASTE_COPY_FILE 4051
#define ID_SYSTEM_LAST 4999

// --- Module commands the host itself starts or tells apart ----------------------------
#define ID_MODULE_FIRST 5000
#define ID_CMD_IGNORED 5005
#define ID_CMD_IMPORT_DXF 5103
#define ID_CMD_IMPORT_JWC 5104
#define ID_CMD_IMPORT_DWG 5105
#define ID_CMD_EXPORT_DWG 5106
#define ID_CMD_IMPORT_SFC 5107
#define ID_CMD_EXPORT_DXF 5111
#define ID_CMD_IMPORT_JWW 5112
#define ID_CMD_PRINT 5300
#define ID_CMD_PRINT_RANGE 5301
#define ID_CMD_PAPER_MODEL_SPACE 5955
#define ID_CMD_IMPORT_PDF 5992
// Drawing events (drawing_events.h).
#define ID_CMD_EVENT_SAVE 6200
#define ID_CMD_EVENT_SAVE_CLOSING 6201
#define ID_CMD_EVENT_ALL_CLOSED 6202
#define ID_CMD_EVENT_REQUEST 6203
#define ID_CMD_DDE_DRAWING_OPENED 9002
#define ID_MODULE_LAST 39999

// --- Docked panes ---------------------------------------------------------------------
#define ID_PANE_FIRST 40000
#define ID_PANE_COMMAND_MENU 40000
#define ID_PANE_BASIC 40001
#define ID_PANE_DRAWING_MENU 40002
#define ID_PANE_COMMAND_MENU2 40003
#define ID_PANE_LAST 40003

// --- Toolbar buttons ------------------------------------------------------------------
#define ID_TOOLBAR_BUTTON_FIRST 45100
#define ID_TOOLBAR_BUTTON_LAST 45999

// --- Menu file ------------------------------------------------------------------------
// A menu item with this id is a heading (grey, never chosen).
#define ID_MENU_HEADING 99999

#ifndef RC_INVOKED
constexpr bool IsGestureCommand(int id) { return id >= ID_CADWIN_SCROLL_UP && id <= ID_SVC_VIEW_LAST; }
// The zoom trio of an edge (0-3) of a drawing frame.
constexpr int CadwinZoomIn(int edge) { return ID_CADWIN_ZOOM_IN + ID_CADWIN_EDGE_STRIDE * edge; }
constexpr int CadwinZoomOut(int edge) { return ID_CADWIN_ZOOM_OUT + ID_CADWIN_EDGE_STRIDE * edge; }
constexpr int CadwinZoomFit(int edge) { return ID_CADWIN_ZOOM_FIT + ID_CADWIN_EDGE_STRIDE * edge; }
// Service commands a drawing window hands to the main frame.
constexpr bool IsViewServiceCommand(int id) { return id >= ID_SVC_FIRST && id <= ID_SVC_VIEW_LAST; }
constexpr bool IsServiceCommand(int id) { return id >= ID_SVC_FIRST && id <= ID_SVC_LAST; }
constexpr bool IsPanelCommand(int id) { return id >= ID_PANEL_FIRST && id <= ID_PANEL_LAST; }
constexpr bool IsSystemCommand(int id) { return id >= ID_SYSTEM_FIRST && id <= ID_SYSTEM_LAST; }
constexpr bool IsModuleCommand(int id) { return id >= ID_MODULE_FIRST && id <= ID_MODULE_LAST; }
// What the executor takes: system and module commands.
constexpr bool IsExecutorCommand(int id) { return id >= ID_SYSTEM_FIRST && id <= ID_MODULE_LAST; }
constexpr bool IsPaneToggle(int id) { return id >= ID_PANE_FIRST && id <= ID_PANE_LAST; }
constexpr bool IsToolbarButton(int id) { return id >= ID_TOOLBAR_BUTTON_FIRST && id <= ID_TOOLBAR_BUTTON_LAST; }
// Ids from here on need an open drawing (with the exceptions RouteCommand makes).
constexpr bool NeedsDrawing(int id) { return id >= ID_MODULE_FIRST; }
#endif
