// The one message through which docking windows, bars, the frame and the
// auto-hide manager negotiate places, and the records it carries. The records
// travel by pointer inside the process, and DockWindowPlacement is also the
// byte-for-byte form of a pane's place in configMain.xml, so the layouts are
// fixed and checked here.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>

namespace zav {

const UINT UM_DOCK_STATE_CHANGED = WM_USER;   // 0x400
const UINT UM_DOCKING_REQUEST = WM_USER + 1;  // 0x401

enum DockCode : uint32_t {
    DOCK_CODE_ACCEPT = 1,
    DOCK_CODE_DOCK = 2,
    DOCK_CODE_UNDOCK = 3,
    DOCK_CODE_GET_POSITION = 4,
    DOCK_CODE_SET_POSITION = 5,
    DOCK_CODE_ADJUST_DRAG_RECT = 7,
    DOCK_CODE_QUERY_PINNED = 11,
    DOCK_CODE_PIN_UP = 12,
    DOCK_CODE_MIN_DISTANCE = 13,
};

// Side word: bits 0-1 the edge; bit 0 = left or right edge, bit 1 = near edge.
enum DockSide : uint32_t {
    DOCK_SIDE_BOTTOM = 0,
    DOCK_SIDE_RIGHT = 1,
    DOCK_SIDE_TOP = 2,
    DOCK_SIDE_LEFT = 3,
    DOCK_SIDE_MASK = 3,
    DOCK_FLAG_SINGLE = 0x04,
    DOCK_FLAG_KEEP_SIZE = 0x08,
    DOCK_FLAG_PINNED = 0x20,
};

inline bool DockSideIsColumns(uint32_t side) { return (side & 1) != 0; }  // left/right
inline bool DockSideIsNear(uint32_t side) { return (side & 2) != 0; }     // top/left

const uint32_t DOCK_RECT_FAR = 0x1;
const uint32_t DOCK_RECT_COLUMNS = 0x80000000u;

const int DOCK_SPLITTER = 5;  // width of every splitter, in pixels

#pragma pack(push, 1)
struct DockRequestHeader {
    HWND window;
    HWND bar;
    uint32_t code;
};

struct DockRect {
    DockRequestHeader hdr;
    RECT rect;
    uint32_t flags;
};

struct DockPosition {
    DockRequestHeader hdr;
    uint32_t side;
    uint32_t barIndex;
    float fraction;
    int32_t thickness;
    int32_t length;
    uint32_t groupIndex;
};

struct DockWindowPlacement {
    DockPosition position;
    RECT floatRect;
    uint32_t docked;
    uint32_t visible;
};

struct DockPinRequest {
    DockRequestHeader hdr;
    uint32_t side;
    int32_t thickness;
    uint32_t show;
    uint32_t count;
};
#pragma pack(pop)

static_assert(sizeof(DockRequestHeader) == 12, "header");
static_assert(offsetof(DockRequestHeader, bar) == 4 && offsetof(DockRequestHeader, code) == 8, "header");
static_assert(sizeof(DockRect) == 32, "DockRect");
static_assert(offsetof(DockRect, rect) == 12 && offsetof(DockRect, flags) == 28, "DockRect");
static_assert(sizeof(DockPosition) == 36, "DockPosition");
static_assert(offsetof(DockPosition, side) == 12 && offsetof(DockPosition, barIndex) == 16 &&
                  offsetof(DockPosition, fraction) == 20 && offsetof(DockPosition, thickness) == 24 &&
                  offsetof(DockPosition, length) == 28 && offsetof(DockPosition, groupIndex) == 32,
              "DockPosition");
static_assert(sizeof(DockWindowPlacement) == 60, "DockWindowPlacement");
static_assert(offsetof(DockWindowPlacement, floatRect) == 36 && offsetof(DockWindowPlacement, docked) == 52 &&
                  offsetof(DockWindowPlacement, visible) == 56,
              "DockWindowPlacement");
static_assert(sizeof(DockPinRequest) == 28, "DockPinRequest");
static_assert(offsetof(DockPinRequest, side) == 12 && offsetof(DockPinRequest, thickness) == 16 &&
                  offsetof(DockPinRequest, show) == 20 && offsetof(DockPinRequest, count) == 24,
              "DockPinRequest");
static_assert(sizeof(float) == 4, "fraction is a 32-bit float");

inline LRESULT SendDockRequest(HWND to, void* record) {
    return to ? ::SendMessageA(to, UM_DOCKING_REQUEST, 0, reinterpret_cast<LPARAM>(record)) : 0;
}

// Records travel in screen coordinates; receivers work in client coordinates.
inline void RectScreenToClient(HWND w, RECT& r) { ::MapWindowPoints(HWND_DESKTOP, w, reinterpret_cast<POINT*>(&r), 2); }
inline void RectClientToScreen(HWND w, RECT& r) { ::MapWindowPoints(w, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2); }

}  // namespace zav
