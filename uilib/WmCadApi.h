// WmCadApi.dll: the UI and drawing-attribute library. The look of the
// system's dialogs and buttons, the data-folder table of the installation,
// the current drawing attributes that command modules share, and the
// current modeless window of a command module. One declaration for every
// caller; exports carry undecorated names.
#pragma once

#include <windows.h>

#include "base/api_decl.h"

#define UIAPI ZAV_EXTERN_C

// Colour kinds of Rodad_OnCtlColor.
enum { RODAD_CTL_BUTTON = 3, RODAD_CTL_STATIC = 6 };

// Indexes of EsGetSysColor.
enum {
    ES_SYSCOLOR_DRAW_BK = 0,  // drawing background (COLOR_SYS_BK)
    ES_SYSCOLOR_PANEL = 1,    // panels (COLOR_PANEL)
    ES_SYSCOLOR_DIALOG = 2,   // dialog background (COLOR_DLG_BK)
    ES_SYSCOLOR_BUTTON_TEXT = 3,
    ES_SYSCOLOR_BUTTON_BK = 4,
    ES_SYSCOLOR_BUTTON_DISABLED = 5,
};

// The current drawing attributes (colour, line type and width, layer,
// text attributes) that a drawing load may change; saved and restored
// around it as one block.
#pragma pack(push, 4)
struct EsSysAtr {
    int color;
    int lineType;
    int lineWidth;
    int layer;
    int page;
    int lineEnds;
    int pointMarker;
    char fontName[32];
    double textHeight;
    double textRatio;
    double textInterval;
    int textColor;
    int reserved[8];
};
#pragma pack(pop)
static_assert(sizeof(EsSysAtr) == 120, "EsSysAtr is shared with command modules");

// --- Set-up
// Once when the main frame starts.
UIAPI void ZAVAPI Rodad_InitCadApi(HWND mainFrame);
// The live system settings record (ConfigData); the library reads its
// colours from it until the process ends. Null forgets it.
UIAPI void ZAVAPI Rodad_SetTheConfigDataPtr(void* configData);
// 1 for the low-resolution look of the command panels.
UIAPI void ZAVAPI Rodad_SetCmdPanelType(int lowResolution);

// --- Data folders
// Fills out with data folder n's path relative to the installation folder
// (and to the per-user settings folder), with "\" and the file name when
// one is given. size is out's size in bytes, 0 meaning MAX_PATH. 0; -1 with
// an empty out for an unknown folder or a result that does not fit.
UIAPI int ZAVAPI Rodad_GetDataPath(int folder, char* out, const char* fileName, int size);

// --- Dialog look
// WM_ERASEBKGND: fills the window's client area with the dialog colour; 1.
UIAPI BOOL ZAVAPI Rodad_OnEraseBkgnd(HWND window, HDC dc);
// WM_CTLCOLORBTN (kind 3) / WM_CTLCOLORSTATIC (kind 6): sets the control's
// colours on dc and returns the background brush (owned by the library).
UIAPI HBRUSH ZAVAPI Rodad_OnCtlColor(HWND dialog, HDC dc, HWND control, int kind);
// mode 1: every push button of the dialog becomes owner-drawn and is drawn
// in the library's button colours (a dialog that draws a button itself
// still does, over it); mode 0 gives the buttons back their own look.
// Returns the number of buttons changed.
UIAPI int ZAVAPI Rodad_ChgBtnStyleOwnerDraw(HWND dialog, int mode);
// WM_DRAWITEM of a window: an owner-drawn button is drawn in the library's
// button colours; 1 when drawn, 0 for anything else.
UIAPI BOOL ZAVAPI Rodad_OnDrawItem(HWND window, const DRAWITEMSTRUCT* item);
// The control id of a WM_COMMAND's wParam.
UIAPI int ZAVAPI Rodad_wParamToCtrlID(WPARAM wParam);
// Draws a whole owner-drawn button: background, edge (pressed when
// selected), the button's text (in the disabled colour when disabled) and
// the focus frame.
UIAPI void ZAVAPI TqCadApi_ColorBtn_DrawItem(const DRAWITEMSTRUCT* item, COLORREF background, COLORREF text,
                                             COLORREF disabled);

// --- Drawing attributes and colours
UIAPI COLORREF ZAVAPI EsGetSysColor(int index);
// Copies the current attributes out / in; 1, or 0 for a null pointer.
UIAPI int ZAVAPI EsGET_SYS_ATR(EsSysAtr* out);
UIAPI int ZAVAPI EsSET_SYS_ATR(const EsSysAtr* in);
// Switches the layer split of the drawing views: 0 off, 1 on; returns the
// previous state.
UIAPI int ZAVAPI EsLayerSplit(int mode);

// Element record of a stored element of a drawing database (the CAD library's
// element and header pointers), read whole into 174 bytes: 1, or 0 when there
// is nothing to read. The highlight colour number of selected elements
// (the INI's "iHighlightColor", as the CAD library holds it).
enum { ES_ELEMENT_RECORD_SIZE = 174, ES_DEFAULT_HILIGHT_COLOR = 2 };
UIAPI int ZAVAPI EsGET_ELEMENT(void* element, void* record, void* db);
UIAPI int ZAVAPI EsGET_HILIGHT_COLOR(void);

// --- Modeless windows of command modules
// A command module names its modeless window (null when it closes).
UIAPI void ZAVAPI CwSetCurModelessWindow(HWND window);
// 0 disables the current modeless window, 1 enables it; returns whether it
// was enabled before (0 when there is none).
UIAPI int ZAVAPI CwEnableCurModelessWindow(int enable);
