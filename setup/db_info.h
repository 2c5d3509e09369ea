// The drawing-information block of a page as the CAD library exchanges it
// (the 4,223-byte head), the live block's layer table, and the page state.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kLayerCount = 1024;

#pragma pack(push, 1)

// The head of a page's drawing information (DAriGetDBInfo / DAriSetDBInfo).
struct DbInfo {
    uint8_t unused0[2];        // 0
    char refFileName[260];     // 2    file of an external-reference page
    char shortText[32];        // 262
    char texts1[7][257];       // 294  slot 3 (1065) is the drawing title
    int16_t dates[14];         // 2093 creation and update dates
    char texts2[7][257];       // 2121 slot 10 (2892) number text, 11 (3149)
                               //      author, 13 (3663) remarks
    double drawingWidth;       // 3920 paper width in drawing units
    double drawingHeight;      // 3928
    double paperWidth;         // 3936 millimetres
    double paperHeight;        // 3944
    double scale;              // 3952 0.02 for 1/50
    uint16_t paperCode;        // 3960 0x10+n A n, 0x20+n B n, 0x8000 portrait
    uint8_t block3962[256];    // 3962
    uint8_t byte4218;          // 4218
    int32_t originAtCorner;    // 4219 origin at the paper's lower-left corner
};

// The layer table of a page (live block offset 4309).
struct LayerTable {
    int32_t inputLayer;                 // 0
    uint16_t displayBits[64];           // 4    bit L%16 of word L/16
    uint16_t detectBits[64];            // 132
    uint16_t lockBits[64];              // 260
    uint32_t namePointers[kLayerCount]; // 388  library-owned texts (32-bit)
    char groupNames[kLayerCount][11];   // 4484
    int32_t extra[kLayerCount];         // 15748
};

// The page state block of the active drawing.
struct PageState {
    uint8_t head[132];
    uint32_t editablePages[16];  // 132: bit p%32 of word p/32, pages 0-511
};

#pragma pack(pop)

static_assert(sizeof(DbInfo) == 4223, "DbInfo head is 4,223 bytes");
static_assert(offsetof(DbInfo, refFileName) == 2, "DbInfo layout");
static_assert(offsetof(DbInfo, shortText) == 262, "DbInfo layout");
static_assert(offsetof(DbInfo, texts1) == 294, "DbInfo layout");
static_assert(offsetof(DbInfo, texts1[3]) == 1065, "DbInfo layout");
static_assert(offsetof(DbInfo, dates) == 2093, "DbInfo layout");
static_assert(offsetof(DbInfo, dates[7]) == 2107, "DbInfo layout");
static_assert(offsetof(DbInfo, texts2) == 2121, "DbInfo layout");
static_assert(offsetof(DbInfo, texts2[3]) == 2892, "DbInfo layout");
static_assert(offsetof(DbInfo, texts2[4]) == 3149, "DbInfo layout");
static_assert(offsetof(DbInfo, texts2[6]) == 3663, "DbInfo layout");
static_assert(offsetof(DbInfo, drawingWidth) == 3920, "DbInfo layout");
static_assert(offsetof(DbInfo, drawingHeight) == 3928, "DbInfo layout");
static_assert(offsetof(DbInfo, paperWidth) == 3936, "DbInfo layout");
static_assert(offsetof(DbInfo, paperHeight) == 3944, "DbInfo layout");
static_assert(offsetof(DbInfo, scale) == 3952, "DbInfo layout");
static_assert(offsetof(DbInfo, paperCode) == 3960, "DbInfo layout");
static_assert(offsetof(DbInfo, block3962) == 3962, "DbInfo layout");
static_assert(offsetof(DbInfo, originAtCorner) == 4219, "DbInfo layout");

static_assert(sizeof(LayerTable) == 19844, "LayerTable is 19,844 bytes");
static_assert(offsetof(LayerTable, displayBits) == 4, "LayerTable layout");
static_assert(offsetof(LayerTable, detectBits) == 132, "LayerTable layout");
static_assert(offsetof(LayerTable, lockBits) == 260, "LayerTable layout");
static_assert(offsetof(LayerTable, namePointers) == 388, "LayerTable layout");
static_assert(offsetof(LayerTable, groupNames) == 4484, "LayerTable layout");
static_assert(offsetof(LayerTable, extra) == 15748, "LayerTable layout");

static_assert(sizeof(PageState) == 196, "PageState is 196 bytes");

// Offset of the LayerTable inside the library's live block of a page.
constexpr size_t kDbInfoLayerTableOffset = 4309;

// The live layer table of a live DbInfo block (null for null).
inline LayerTable* LayerTableOf(void* liveDbInfo) {
    return liveDbInfo ? reinterpret_cast<LayerTable*>(
                            static_cast<uint8_t*>(liveDbInfo) + kDbInfoLayerTableOffset)
                      : nullptr;
}
