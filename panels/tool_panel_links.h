// What the tool panel and its selectors need of the layers above them (the
// views, the shell): one table, filled by the shell at start-up. Unit tests
// fill only what they use; an empty entry means "nothing there".
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The five attribute words at the head of a view's drawing attributes:
// colour number (1-256), line type, line width, line-start and line-end type.
struct AttrWords {
    int32_t color, lineType, lineWidth, lineStart, lineEnd;
};

struct ToolPanelLinks {
    // The attribute words of the active view's record; null when no drawing
    // view is active or it has no record.
    AttrWords* (*activeAttrWords)() = nullptr;
    // The overview level of the active view (0 without one).
    int (*activeOverviewLevel)() = nullptr;
    // Background colour of the panels.
    COLORREF (*panelColor)() = nullptr;
    // 1 when the panels run in their small sizes (low-resolution screens).
    int (*lowRes)() = nullptr;
    // A drawing colour made visible on the drawing background.
    COLORREF (*contrastColor)(COLORREF colour) = nullptr;
    // A scale value as the panels show it ("1/50").
    void (*formatScale)(double value, char* text, size_t size) = nullptr;
    // The last point accepted by the wait loops.
    void (*lastInputPoint)(double* x, double* y) = nullptr;
    // Makes a page and layer current in the active drawing.
    void (*setCurrentPageLayer)(int page, int layer) = nullptr;
    // Switches between mouse and keyboard cursor; 1 when now in keyboard mode.
    int (*toggleKeyCursorMode)(int fromKeyboard) = nullptr;
    // The grid-shown flag of the view painter.
    void (*setGridShown)(int shown) = nullptr;
    // Repaints the drawing views of the active view's drawing.
    void (*invalidateActiveViews)() = nullptr;
    // The per-user LocalSettings.ini (section "AttrSettings" of the pick-up).
    std::string (*localSettingsIniPath)() = nullptr;
};

ToolPanelLinks& ToolPanelHost();
// The names of the entries left empty (checked at start-up).
const char* const* EmptyToolPanelLinkNames();
