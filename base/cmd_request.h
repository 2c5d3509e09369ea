// The request record a command module passes by address with most host
// messages (command/host_messages.h). It lives in the lowest layer so that
// every layer that answers a host message reads its fields by name.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <cstring>

// A byte layout shared with modules built apart from the host: i686, packed.
// The same offset carries different things for different messages; fields are
// named for their main uses. Doubles may sit at offsets that are not 8-aligned:
// use the memcpy helpers below when taking their address.
#pragma pack(push, 1)
struct CmdRequest {
    int32_t kind;         // 0x00 colour index / raster request kind
    int32_t arg;          // 0x04 page number, drawing mode, sub-argument
    union {               // 0x08
        double point[3];  //      input point (x, y, z) written by the waits
        struct {
            uint32_t text;      // 0x08 text or buffer pointer, first page argument
            uint32_t text2;     // 0x0c second text buffer
            int32_t mode;       // 0x10 colour / mode / operation code / on-off flag
            uint32_t word14;    // 0x14
            uint32_t word18;    // 0x18
            uint32_t anglePtr;  // 0x1c pointer to double (angle)
        } w;
    };
    uint32_t picked;        // 0x20 picked element / overview layer / scale pointer
    HWND view;              // 0x24 drawing view the request concerns
    union {                 // 0x28
        int32_t panelKind;  //      panel event kind
        uint32_t element;   //      element, record or database pointer
    };
    union {                  // 0x2c
        int32_t panelExtra;  //      panel event extra
        uint32_t element2;   //      second element, read direction or output record
    };
    union {                  // 0x30
        int32_t panelValue;  //      panel event value, overview page
        uint32_t mark;       //      mark list (or a source database)
    };
    uint32_t record;     // 0x34 further element or record
    uint32_t word38;     // 0x38
    double pt1[3];       // 0x3c first point
    double pt2[3];       // 0x54 second point
    int32_t word6c;      // 0x6c layer / flag / further argument
    uint32_t word70;     // 0x70 prompt or text pointer / further argument
    uint32_t word74;     // 0x74
    int32_t itemX;       // 0x78 panel item placement
    int32_t itemY;       // 0x7c
    int32_t itemWidth;   // 0x80
    int32_t itemHeight;  // 0x84
    uint8_t reserved88[0x108 - 0x88];
    uint32_t dataLength;  // 0x108 raster data length
    uint32_t word10c;     // 0x10c
    uint32_t dataPtr;     // 0x110 raster data pointer
    uint8_t reserved114[0x15c - 0x114];
    uint32_t firstPointPtr;   // 0x15c
    uint32_t secondPointPtr;  // 0x160
    HWND rasterView;          // 0x164
};
#pragma pack(pop)

static_assert(sizeof(void*) == 4, "the host interface is 32-bit");
static_assert(offsetof(CmdRequest, arg) == 0x04, "CmdRequest layout");
static_assert(offsetof(CmdRequest, point) == 0x08, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.text) == 0x08, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.text2) == 0x0c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.mode) == 0x10, "CmdRequest layout");
static_assert(offsetof(CmdRequest, w.anglePtr) == 0x1c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, picked) == 0x20, "CmdRequest layout");
static_assert(offsetof(CmdRequest, view) == 0x24, "CmdRequest layout");
static_assert(offsetof(CmdRequest, panelKind) == 0x28, "CmdRequest layout");
static_assert(offsetof(CmdRequest, panelExtra) == 0x2c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, panelValue) == 0x30, "CmdRequest layout");
static_assert(offsetof(CmdRequest, element) == 0x28 && offsetof(CmdRequest, element2) == 0x2c &&
                  offsetof(CmdRequest, mark) == 0x30,
              "CmdRequest layout");
static_assert(offsetof(CmdRequest, record) == 0x34, "CmdRequest layout");
static_assert(offsetof(CmdRequest, pt1) == 0x3c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, pt2) == 0x54, "CmdRequest layout");
static_assert(offsetof(CmdRequest, word6c) == 0x6c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, word70) == 0x70, "CmdRequest layout");
static_assert(offsetof(CmdRequest, word74) == 0x74, "CmdRequest layout");
static_assert(offsetof(CmdRequest, itemX) == 0x78, "CmdRequest layout");
static_assert(offsetof(CmdRequest, itemHeight) == 0x84, "CmdRequest layout");
static_assert(offsetof(CmdRequest, dataLength) == 0x108, "CmdRequest layout");
static_assert(offsetof(CmdRequest, dataPtr) == 0x110, "CmdRequest layout");
static_assert(offsetof(CmdRequest, firstPointPtr) == 0x15c, "CmdRequest layout");
static_assert(offsetof(CmdRequest, secondPointPtr) == 0x160, "CmdRequest layout");
static_assert(offsetof(CmdRequest, rasterView) == 0x164, "CmdRequest layout");
static_assert(sizeof(CmdRequest) == 0x168, "CmdRequest layout");

// Unaligned-safe access to the three-double points of a request.
inline void GetRequestPoint(const void* field, double out[3]) { std::memcpy(out, field, 24); }
inline void SetRequestPoint(void* field, const double in[3]) { std::memcpy(field, in, 24); }
