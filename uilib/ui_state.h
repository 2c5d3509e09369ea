// State of the UI library shared by its parts: the main frame, the live
// settings record, the panel look, the current modeless window and the
// current drawing attributes. Internal.
#pragma once

#include <windows.h>

#include "uilib/WmCadApi.h"

struct ConfigData;

struct UiState {
    HWND mainFrame = nullptr;
    const ConfigData* config = nullptr;
    int lowResolutionPanels = 0;
    HWND modeless = nullptr;
    int layerSplit = 0;
    EsSysAtr attributes{};
};

UiState& Ui();

// The library's colours: from the settings record when it was handed over,
// else the platform's own.
COLORREF DialogColor();
COLORREF StaticTextColor();
// Row 0 of the button colours: text, background, disabled text.
void ButtonColors(COLORREF* text, COLORREF* background, COLORREF* disabled);
// A solid brush of the colour, kept by the library (one per colour in use).
HBRUSH LibraryBrush(COLORREF color);
