// The tool push-button classes: "PPush" (dialog), "NPush" (panel), "NPush2"
// (a pressed state that can be held: the snap buttons), "NPush3" (corner
// marker), "NPushCmdMenu" (image-list face) and "SCBTN" (scroll and zoom
// edge button with auto-repeat). Window words: 0 state (0 idle, 1 pressed on
// the button, 2 pressed off it; SCBTN 1 pressed, 2 repeating), 4 held state,
// 8 NPush3's corner marker.
#pragma once

#include <windows.h>

#include "panels/button_faces.h"

constexpr const char* kPPushClass = "PPush";
constexpr UINT kButtonHoverNotify = WM_USER + 39;  // 1063
constexpr UINT_PTR SCBTN_TIMER_ID = 30;

// Creates the panel fonts, then registers the six classes; 0 at the first
// class that fails (the rest are not registered), else 1.
int RegisterToolButtonClasses(HINSTANCE instance);
int UnregisterToolButtonClasses(HINSTANCE instance);

// The panel fonts (face SYSTEMFONT, Shift_JIS): small 12 px, medium 14 px
// and large 16 px (both 12 in low resolution).
extern HFONT PanelFontSmall;
extern HFONT PanelFontMedium;
extern HFONT PanelFontLarge;
// Low resolution of the command panel (smaller selector fonts).
extern int CmdPanelLowRes;
