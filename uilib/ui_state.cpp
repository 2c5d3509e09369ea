#include "uilib/ui_state.h"

#include <map>

#include "base/config_data.h"

UiState& Ui() {
    static UiState state;
    return state;
}

COLORREF DialogColor() {
    return Ui().config ? Ui().config->SystemColor.COLOR_DLG_BK.color : GetSysColor(COLOR_BTNFACE);
}

COLORREF StaticTextColor() { return GetSysColor(COLOR_WINDOWTEXT); }

void ButtonColors(COLORREF* text, COLORREF* background, COLORREF* disabled) {
    if (Ui().config) {
        const ColorBtnAttrEx& row = Ui().config->SystemColor.COLOR_BTN_ATTR[0];
        *text = row.text;
        *background = row.bkgnd;
        *disabled = row.disabled;
    } else {
        *text = GetSysColor(COLOR_BTNTEXT);
        *background = GetSysColor(COLOR_BTNFACE);
        *disabled = GetSysColor(COLOR_GRAYTEXT);
    }
}

HBRUSH LibraryBrush(COLORREF color) {
    // Few colours are ever in use; the brushes live as long as the process.
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH& brush = brushes[color];
    if (!brush) brush = CreateSolidBrush(color);
    return brush;
}

void ZAVAPI Rodad_InitCadApi(HWND mainFrame) { Ui().mainFrame = mainFrame; }

void ZAVAPI Rodad_SetTheConfigDataPtr(void* configData) { Ui().config = static_cast<const ConfigData*>(configData); }

void ZAVAPI Rodad_SetCmdPanelType(int lowResolution) { Ui().lowResolutionPanels = lowResolution ? 1 : 0; }
