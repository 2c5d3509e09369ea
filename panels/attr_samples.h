// The samples every line-attribute control draws: a line type's dash
// pattern, a line width's bar and a line-end symbol.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

// The dash pattern of a line type from xFrom to xTo at y, in a 1-pixel pen
// of `colour`. Each element is trunc((length + 0.4) * 2) pixels, at least
// 1; even elements are drawn, odd ones are gaps; the pattern repeats at most
// 500 times. A type without elements is one straight line.
void DrawLinePattern(HDC dc, const LineTypeEntry& pattern, COLORREF colour, int xFrom, int xTo, int y);

// Thickness of a width's bar: trunc(millimetres / 0.3), at most `limit`.
int WidthBarThickness(double millimetres, int limit);
// n = 0: one line at y; else n + 1 horizontal lines from y - n/2 - 1 down.
void DrawWidthBar(COLORREF colour, int y, int n, HDC dc, int xFrom, int xTo);

// A horizontal line through the middle of the box with the symbol of
// line-end `type` at its left end (endFlag 0, line start) or right end
// (endFlag 1); filled parts in the context's brush, outlines in its pen.
void DrawLineEndShape(int type, HDC dc, int endFlag, int left, int top, int right, int bottom);

// A point marker (0 X, 1 asterisk, 2 circle, 3 dot, 4 plus, 5 square,
// 6 triangle; others X) around (x, y) in the context's pen.
void DrawPointMarker(HDC dc, int kind, int x, int y);

// The frame of a selector field: sunken over the client area and, unless
// in button mode, the raised drop button from faceEnd - 2 to the right
// edge (2 pixels in).
void PaintSelectorFrame(HDC dc, const RECT& client, int faceEnd, bool dropButton);

// Rows of the owner-drawn attribute lists (the tool panel's selectors and
// the modules' selector fields draw the same rows). The background of a row
// in the list's colours; the colour its samples are drawn in.
COLORREF PaintAttrRowBackground(const DRAWITEMSTRUCT& d);
// "色n" (n = index + 1) and a patch of `colour`.
void DrawColourRow(HDC dc, const RECT& r, int index, COLORREF colour);
// "線種n" and the type's dash pattern.
void DrawLineTypeRow(HDC dc, const RECT& r, int index, COLORREF sample);
// "線幅n", the width in millimetres and its bar.
void DrawLineWidthRow(HDC dc, const RECT& r, int index, COLORREF sample);
