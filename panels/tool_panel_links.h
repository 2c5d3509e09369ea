// What the tool panel and its selectors need of the layers above them (the
// views, the shell): one table, filled by the shell at start-up. Unit tests
// fill only what they use; an empty entry means "nothing there".
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The five attribute words at the head of a view's drawing attributes:
// colour number (1-256), line type, line width, line-start and line-end type.
struct AttrWords {
    int32_t color, lineType, lineWidth, lineStart, lineEnd;
};

// One row of the layer field's list: a page, a group or a layer of the
// active drawing's layer tree, in tree order. Choosing the row makes (page,
// layer) current; a page or group row stands for its first layer (-1 none).
struct LayerListRow {
    int kind;  // 0 page, 1 group, 2 layer
    int page, layer;
    std::string text;
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
    // The grid dialog over the active window: 0 after OK, -1 otherwise.
    int (*runGridDialog)() = nullptr;
    // Whether the grid dialog asked for the centre to be pointed at; the
    // request is cleared by the reading.
    int (*takeGridCenterRequest)() = nullptr;
    // 1 when the grid is only shown (no point detection on it).
    int (*gridDisplayOnly)() = nullptr;
    // Puts the grid origin back at (0, 0).
    void (*resetGridOrigin)() = nullptr;
    // The coordinate display dialog over the active window.
    int (*runCoordDispDialog)() = nullptr;
    // The rows of the active drawing's layer tree (none without a drawing).
    std::vector<LayerListRow> (*layerTreeRows)() = nullptr;
    // The per-user LocalSettings.ini (section "AttrSettings" of the pick-up).
    std::string (*localSettingsIniPath)() = nullptr;
};

ToolPanelLinks& ToolPanelHost();
// The names of the entries left empty (checked at start-up).
const char* const* EmptyToolPanelLinkNames();
