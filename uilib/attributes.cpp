// System colours, the current drawing attributes, the layer split and the
// current modeless window of a command module.
#include <cstring>

#include "base/config_data.h"
#include "uilib/ui_state.h"

COLORREF ZAVAPI EsGetSysColor(int index) {
    const ConfigData* config = Ui().config;
    COLORREF text, background, disabled;
    ButtonColors(&text, &background, &disabled);
    switch (index) {
    case ES_SYSCOLOR_DRAW_BK: return config ? config->SystemColor.COLOR_SYS_BK.color : RGB(0, 0, 0);
    case ES_SYSCOLOR_PANEL: return config ? config->SystemColor.COLOR_PANEL.color : GetSysColor(COLOR_BTNFACE);
    case ES_SYSCOLOR_DIALOG: return DialogColor();
    case ES_SYSCOLOR_BUTTON_TEXT: return text;
    case ES_SYSCOLOR_BUTTON_BK: return background;
    case ES_SYSCOLOR_BUTTON_DISABLED: return disabled;
    default: return RGB(0, 0, 0);
    }
}

int ZAVAPI EsGET_SYS_ATR(EsSysAtr* out) {
    if (!out) return 0;
    std::memcpy(out, &Ui().attributes, sizeof *out);
    return 1;
}

int ZAVAPI EsSET_SYS_ATR(const EsSysAtr* in) {
    if (!in) return 0;
    std::memcpy(&Ui().attributes, in, sizeof *in);
    Ui().attributes.fontName[sizeof Ui().attributes.fontName - 1] = '\0';
    return 1;
}

int ZAVAPI EsLayerSplit(int mode) {
    const int previous = Ui().layerSplit;
    Ui().layerSplit = mode ? 1 : 0;
    return previous;
}

void ZAVAPI CwSetCurModelessWindow(HWND window) { Ui().modeless = window; }

int ZAVAPI CwEnableCurModelessWindow(int enable) {
    HWND window = Ui().modeless;
    if (!window || !IsWindow(window)) return 0;
    const int wasEnabled = IsWindowEnabled(window) ? 1 : 0;
    EnableWindow(window, enable ? TRUE : FALSE);
    return wasEnabled;
}
