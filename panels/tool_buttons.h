// Tool-panel buttons: the "PPush" class and the gradient button face.
#pragma once

#include <windows.h>

// "PPush": left-button or key release sends WM_COMMAND with the control id
// to the parent; right-button release sends control id + 1.
constexpr const char* kPPushClass = "PPush";

// The tool-button classes ("PPush" among them); results not looked at.
int RegisterToolButtonClasses(HINSTANCE instance);
int UnregisterToolButtonClasses(HINSTANCE instance);

// Fills the rectangle inset by 2 pixels with an upper-half gradient of c1,c2
// and a lower-half gradient of c3,c4 (one solid fill when all four are
// equal), then draws two rounded frames (6 x 6): on the rectangle in
// `outer`, inset by 1 in `inner`. `painter` is the caller's painter object;
// for now: the gradients are filled here directly.
void PaintGradientButtonFace(void* painter, HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3,
                             COLORREF c4, COLORREF outer, COLORREF inner);
