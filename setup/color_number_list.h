// An owner-drawn drop-down list of colour numbers, each item with a swatch:
// the background, rubber-band, highlight, paper-frame and margin-frame
// colours of the configuration sheet and the margin dialog.
#pragma once

#include <windows.h>

#include <vector>

class ColorNumberList {
public:
    HWND combo = nullptr;
    std::vector<COLORREF> colors;  // colors[i] is the swatch of item i

    // Appends the items first..last ("%d", item data = the number).
    void AddNumbers(int first, int last) const;
    // Appends source[first..last] to the swatches.
    void AppendColors(const COLORREF* source, int first, int last);
    // Overwrites every swatch i with source[first + i].
    void ReplaceColors(const COLORREF* source, int first);
    // colors[index], 0 outside.
    COLORREF ColorAt(int index) const;
    // Paints one combo-box item of WM_DRAWITEM.
    void DrawItem(const DRAWITEMSTRUCT* item) const;

    // The selected index (CB_ERR: none) and selecting one.
    int Selected() const;
    void Select(int index) const;
    // At least `items` items show when the list drops down.
    void ShowAtLeast(int items) const;
};

// The pen colours 0..256 of the running settings.
const COLORREF* PenColors();
// The drawing background of a background setting: 0 black, 1 white, 2 the
// system background colour.
COLORREF BackgroundColorOf(int mode);
// Swatches of the rubber-band colours 1..15: each pen colour with its three
// bytes XORed with the red byte of the background (the band is drawn in
// XOR mode).
std::vector<COLORREF> RubberBandSwatches(COLORREF background);
