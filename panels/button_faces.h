// The gradient face shared by the owner-drawn buttons: a rounded rectangle
// whose upper and lower halves each carry a vertical gradient, framed twice.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Face colours (COLORREF, 0x00BBGGRR).
constexpr COLORREF kFaceYellow = 0x00DEFF;
constexpr COLORREF kFaceOrange = 0x00A8FF;
constexpr COLORREF kFaceDisabled = 0xE7E7E7;
constexpr COLORREF kFaceText = 0x323232;

// One vertical two-colour gradient over the rectangle.
void PaintVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
// The face: halves of the rectangle inset by 2 (one flat fill when the four
// colours are equal), then rounded frames on the rectangle (outer) and inset
// by 1 (inner). The null brush stays selected.
void PaintGradientButtonFace(HDC dc, const RECT& rect, COLORREF upperTop, COLORREF upperBottom, COLORREF lowerTop,
                             COLORREF lowerBottom, COLORREF outer, COLORREF inner);
// Older form with the caller's painter object (unused).
void PaintGradientButtonFace(void* painter, HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3,
                             COLORREF c4, COLORREF outer, COLORREF inner);
// Paints into a child's device context what its parent paints behind it
// (the parent's WM_ERASEBKGND): the corners a rounded face leaves open then
// show the panel, never pixels left from an earlier layout.
void PaintParentBackground(HWND child, HDC dc);
void PaintButtonFaceNormal(HDC dc, const RECT& rect);
void PaintButtonFaceYellow(HDC dc, const RECT& rect);
void PaintButtonFaceOrange(HDC dc, const RECT& rect);
void PaintButtonFacePressed(COLORREF pressedColor, HDC dc, const RECT& rect);
void PaintButtonFaceDisabled(HDC dc, const RECT& rect);

// Font height of a gradient button's caption for a client height h:
// h - 2 up to 13, 12 from 14 to 18, 14 from 19 on.
int GradientButtonFontHeight(int h);
// Face and caption of a gradient push button over its parent's background
// (pressed look while window word 0 or 4 is non-zero), with the focus mark
// while it has the focus; a caption too long is cut on a character boundary.
void DrawGradientPushButton(HDC dc, HWND button);
// Image i of the push-button image list at (x, y) and, for a width above
// 76, image i + 2 at (width - 76, y).
void DrawButtonImagePair(int image, HDC dc, int x, int y, int width);
// The push-button image list (starts empty).
HIMAGELIST& PushButtonImageList();
// Upper-half row count of a face of height h (inner height * 0.5).
inline int GradientUpperRows(int height) { return (int)((height - 4) * 0.5); }
