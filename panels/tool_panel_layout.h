// Where the tool panel's children stand: up to four blocks stacked from the
// top (paper and coordinates, attributes and layer, snap buttons, other tool
// buttons), chosen by the window setting ToolPanelDispMode.
#pragma once

#include <windows.h>

#include <vector>

enum ToolPanelBlock {
    kBlockPaper = 0x1,
    kBlockAttributes = 0x2,
    kBlockSnap = 0x4,
    kBlockTools = 0x8,
};

struct ToolPanelMetrics {
    int selectorWidth = 161;
    int lineEndWidth = 80;
    int smallHeight = 20;
    int layerHeight = 40;
    int coordRowHeight = 16;
    int rowPitch = 23;
    int buttonWidth = 94;
    // Start of each block (-1 when not shown), the separators (ended by the
    // first 0) and the mode they were computed for (0xFFFF before).
    int blockY[4] = {-1, -1, -1, -1};
    int separators[10] = {};
    int mode = 0xFFFF;
};

void ComputeToolPanelLayout(ToolPanelMetrics& m, int mode);

enum class PanelChildKind { Static, Button, ColourSelector, LineTypeSelector, WidthSelector, LineEndSelector, LayerField };

// One child of the panel as the layout creates it.
struct ToolPanelChild {
    PanelChildKind kind;
    int id;  // 0 for the selector labels
    const char* text;
    RECT rect;
    char font;  // 'A'..'D', the panel's fonts
};

// The height the chosen blocks need (the bottom of the lowest child plus a
// margin); 0 without blocks.
int ToolPanelContentHeight(const ToolPanelMetrics& m, bool lowRes);

// The children of the blocks of `m` (computed), in creation order.
std::vector<ToolPanelChild> ToolPanelChildren(const ToolPanelMetrics& m, bool lowRes);
