// The block a painter fills to have the CAD library draw a database, and
// the drawing surface a view hands to the library. Both are byte layouts
// the library reads, hence packed and pinned.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct DrawParam {
    int32_t size;              // 0x000 2372
    int32_t paperSpace;        // 0x004 1 in view mode 1
    int32_t rubberBand;        // 0x008
    uint8_t r00c[8];           // 0x00c
    int32_t singleColour;      // 0x014
    int32_t singleColourIndex; // 0x018
    uint8_t r01c[4];           // 0x01c
    int32_t colourMode;        // 0x020
    int32_t xorDraw;           // 0x024
    int32_t onlyPage;          // 0x028
    int32_t page;              // 0x02c
    int32_t onlyLayer;         // 0x030
    int32_t layer;             // 0x034
    int32_t termDraw;          // 0x038
    int32_t pointSize;         // 0x03c
    int32_t lineWidthSize;     // 0x040
    uint8_t r044[0x30];        // 0x044
    int32_t targetKind;        // 0x074 1 window, 2 device context
    HWND targetWindow;         // 0x078
    HDC targetDc;              // 0x07c
    int32_t paperFrame;        // 0x080
    double paperRect[4];       // 0x084
    int32_t paperFrameKind;    // 0x0a4
    int32_t marginFrame;       // 0x0a8
    double marginRect[4];      // 0x0ac
    int32_t marginFrameKind;   // 0x0cc
    int32_t originMarker;      // 0x0d0
    double originPoint[2];     // 0x0d4
    uint8_t r0e4[8];           // 0x0e4
    int32_t furtherMarker;     // 0x0ec
    uint8_t r0f0[8];           // 0x0f0
    int32_t lastPointMarker;   // 0x0f8
    int32_t lastPointStyle;    // 0x0fc
    double lastPoint[3];       // 0x100
    int32_t clientRect[4];     // 0x118
    int32_t centre[2];         // 0x128
    double scale;              // 0x130
    double drawingScale;       // 0x138
    double scaleRatio;         // 0x140
    double visibleRect[4];     // 0x148 left x, top y, right x, bottom y
    double offsetX;            // 0x168
    double offsetY;            // 0x170
    uint8_t r178[12];          // 0x178
    double visibleRect2[4];    // 0x184
    double topLeft[3];         // 0x1a4
    double bottomRight[3];     // 0x1bc
    int32_t furtherOverlay;    // 0x1d4
    COLORREF background;       // 0x1d8
    int32_t what;              // 0x1dc
    int32_t storedElement;     // 0x1e0
    int32_t mark;              // 0x1e4
    int32_t records;           // 0x1e8
    int32_t records4;          // 0x1ec
    int32_t count;             // 0x1f0
    char fontFace[64];         // 0x1f4
    uint8_t r234[0x178];       // 0x234
    int32_t overlayDb;         // 0x3ac
    uint8_t r3b0[0x944 - 0x3b0];  // 0x3b0 .. 2372
};

// The view's drawing surface, handed to DAriDrawAll.
struct RenderSurface {
    uint8_t ownsDcs;           // 0x00 1
    int32_t backEnd;           // 0x01 0 = GDI
    uint8_t one;               // 0x05 1
    HWND window;               // 0x06
    int32_t slots[4];          // 0x0a
    uint8_t r1a[3];            // 0x1a
    int32_t gdiObject;         // 0x1d
    int32_t clientRect[4];     // 0x21
    int32_t r31[6];            // 0x31
    void* cache[20];           // 0x49
};
#pragma pack(pop)

static_assert(sizeof(DrawParam) == 2372, "DrawParam is 2,372 bytes");
static_assert(offsetof(DrawParam, colourMode) == 0x020, "DrawParam layout");
static_assert(offsetof(DrawParam, onlyPage) == 0x028, "DrawParam layout");
static_assert(offsetof(DrawParam, lineWidthSize) == 0x040, "DrawParam layout");
static_assert(offsetof(DrawParam, targetKind) == 0x074, "DrawParam layout");
static_assert(offsetof(DrawParam, targetDc) == 0x07c, "DrawParam layout");
static_assert(offsetof(DrawParam, paperRect) == 0x084, "DrawParam layout");
static_assert(offsetof(DrawParam, paperFrameKind) == 0x0a4, "DrawParam layout");
static_assert(offsetof(DrawParam, marginRect) == 0x0ac, "DrawParam layout");
static_assert(offsetof(DrawParam, marginFrameKind) == 0x0cc, "DrawParam layout");
static_assert(offsetof(DrawParam, originPoint) == 0x0d4, "DrawParam layout");
static_assert(offsetof(DrawParam, furtherMarker) == 0x0ec, "DrawParam layout");
static_assert(offsetof(DrawParam, lastPointMarker) == 0x0f8, "DrawParam layout");
static_assert(offsetof(DrawParam, lastPoint) == 0x100, "DrawParam layout");
static_assert(offsetof(DrawParam, clientRect) == 0x118, "DrawParam layout");
static_assert(offsetof(DrawParam, centre) == 0x128, "DrawParam layout");
static_assert(offsetof(DrawParam, scale) == 0x130, "DrawParam layout");
static_assert(offsetof(DrawParam, visibleRect) == 0x148, "DrawParam layout");
static_assert(offsetof(DrawParam, offsetX) == 0x168, "DrawParam layout");
static_assert(offsetof(DrawParam, visibleRect2) == 0x184, "DrawParam layout");
static_assert(offsetof(DrawParam, topLeft) == 0x1a4, "DrawParam layout");
static_assert(offsetof(DrawParam, bottomRight) == 0x1bc, "DrawParam layout");
static_assert(offsetof(DrawParam, furtherOverlay) == 0x1d4, "DrawParam layout");
static_assert(offsetof(DrawParam, background) == 0x1d8, "DrawParam layout");
static_assert(offsetof(DrawParam, what) == 0x1dc, "DrawParam layout");
static_assert(offsetof(DrawParam, count) == 0x1f0, "DrawParam layout");
static_assert(offsetof(DrawParam, fontFace) == 0x1f4, "DrawParam layout");
static_assert(offsetof(DrawParam, overlayDb) == 0x3ac, "DrawParam layout");
static_assert(sizeof(RenderSurface) == 153, "RenderSurface is 153 bytes");
static_assert(offsetof(RenderSurface, window) == 0x06, "RenderSurface layout");
static_assert(offsetof(RenderSurface, gdiObject) == 0x1d, "RenderSurface layout");
static_assert(offsetof(RenderSurface, clientRect) == 0x21, "RenderSurface layout");
static_assert(offsetof(RenderSurface, cache) == 0x49, "RenderSurface layout");
