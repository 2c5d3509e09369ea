// WmCadApiDb.dll: the CAD database library. One declaration per function for
// every caller (host, views, panels, command modules), and the records that
// cross the DLL boundary, laid out byte for byte with their sizes asserted.
//
// Argument order: the database header comes last in every call. Mark calls
// take the element first and the mark second.
//
// The records are 32-bit layouts (pointers are 4 bytes): the library builds
// for i686 only, whether cross-compiled for Windows or with g++ -m32.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "base/api_decl.h"

#define CADAPI ZAV_EXTERN_C

#pragma pack(push, 1)

// ---------------------------------------------------------------------------
// Element record: what command modules pass and the library stores (174 bytes).
// Doubles sit at odd offsets: reach them through CadGetF64 / CadSetF64.
struct ElementRecord {
    uint16_t kind;      // 0
    uint16_t subKind;   // 2
    uint16_t layer;     // 4
    uint8_t attribute;  // 6
    int32_t page;       // 7
    uint16_t colour;    // 11  0 = background colour (dropped by some copies)
    uint8_t body[159];  // 13 .. 171: kind-specific fields (offsets below)
    uint16_t tailWord;  // 172
};
static_assert(sizeof(ElementRecord) == 174, "ElementRecord is 174 bytes");
static_assert(offsetof(ElementRecord, layer) == 4, "layer");
static_assert(offsetof(ElementRecord, attribute) == 6, "attribute");
static_assert(offsetof(ElementRecord, page) == 7, "page");
static_assert(offsetof(ElementRecord, colour) == 11, "colour");
static_assert(offsetof(ElementRecord, tailWord) == 172, "tail word");

// Element kinds.
enum CadElementKind : uint16_t {
    kElmLine = 1,
    kElmPoint = 2,
    kElmCircle = 3,
    kElmArc = 4,
    kElmText = 5,
    kElmEllipse = 6,
    kElmEllipticArc = 7,
    kElmGroup = 21,
    kElmGroup2 = 22,
    kElmFigureHeader = 31,
    kElmFigure = 32,
    kElmBlock = 50,
    kElmRaster = 55,
    kElmFrame = 60,
    kElmCompound = 70,
};

// Byte offsets of the kind-specific fields inside ElementRecord.
enum CadElementOffset : uint32_t {
    kOffP1X = 33,
    kOffP1Y = 41,
    kOffP1Z = 49,  // kinds 1-7, 50, 55, 60
    kOffP2X = 57,
    kOffP2Y = 65,
    kOffP2Z = 73,  // kinds 1, 6, 7, 50, 60
    kOffRadius = 57,
    kOffArcStart = 65,
    kOffArcEnd = 73,
    kOffArcDir = 81,
    kOffEllRatio = 81,
    kOffEllStart = 89,
    kOffEllEnd = 97,
    kOffEllDir = 105,
    // Stroke bytes of the drawn kinds 1, 3, 4, 6 and 7: line type and line
    // width index; a line (kind 1) also has the marks drawn at its two ends.
    kOffLineType = 13,
    kOffLineWidth = 14,
    kOffLineStartMark = 15,
    kOffLineEndMark = 16,
    kOffStyle1 = 17,
    kOffStyle2 = 25,  // line style scalars
    kOffPointSize = 66,
    kOffPointAngle = 58,
    // Text (kind 5): sizes, angle, insertion point; the characters live in
    // library memory, reached through the pointer at kOffTextPtr.
    kOffTextSize1 = 14,
    kOffTextSize2 = 22,
    kOffTextAngle = 30,
    kOffTextSize3 = 46,
    kOffTextSize4 = 62,
    kOffTextPtr = 70,   // const char*: NUL-terminated code page 932 text
    kOffTextLen = 74,   // uint32: its length in bytes (set by the library)
    kOffTextFont = 78,  // char[32]: font name
    kOffTextX = 112,
    kOffTextY = 120,
    kOffTextZ = 128,
    // Placed figure (kind 32).
    kOffFigScale = 33,
    kOffFigAngle = 49,
    kOffFigX = 57,
    kOffFigY = 65,
    kOffFigZ = 73,
    // Figure header (kind 31): base point and box.
    kOffHdrBaseX = 11,
    kOffHdrBaseY = 19,
    kOffHdrBox = 35,
    // Block (kind 50): a global memory block that travels with the record.
    kOffBlockHandle = 113,
    kOffBlockSize = 125,
    // Raster (kind 55).
    kOffRasterAngle = 73,
    kOffRasterComp = 115,
    kOffRasterCompSize = 119,
    kOffRasterBits = 123,
    kOffRasterBitsSize = 127,
    kOffRasterPixW = 131,
    kOffRasterPixH = 135,
    kOffRasterExpanded = 173,
    // Frame (kind 60).
    kOffFrameScale = 81,
    kOffFrameAngle = 97,
    kOffFrameOrgX = 105,
    kOffFrameOrgY = 113,
    // Second group kind (22): a word a copy of the group keeps.
    kOffGroupWord = 33,
};

// Unaligned field access: the records are packed and doubles may start at
// odd offsets, so every access goes through memcpy.
inline double CadGetF64(const void* rec, uint32_t off) {
    double v;
    memcpy(&v, static_cast<const uint8_t*>(rec) + off, 8);
    return v;
}
inline void CadSetF64(void* rec, uint32_t off, double v) { memcpy(static_cast<uint8_t*>(rec) + off, &v, 8); }
inline uint32_t CadGetU32(const void* rec, uint32_t off) {
    uint32_t v;
    memcpy(&v, static_cast<const uint8_t*>(rec) + off, 4);
    return v;
}
inline void CadSetU32(void* rec, uint32_t off, uint32_t v) { memcpy(static_cast<uint8_t*>(rec) + off, &v, 4); }
inline uint16_t CadGetU16(const void* rec, uint32_t off) {
    uint16_t v;
    memcpy(&v, static_cast<const uint8_t*>(rec) + off, 2);
    return v;
}
inline void CadSetU16(void* rec, uint32_t off, uint16_t v) { memcpy(static_cast<uint8_t*>(rec) + off, &v, 2); }
inline void* CadGetPtr(const void* rec, uint32_t off) {
    void* v;
    memcpy(&v, static_cast<const uint8_t*>(rec) + off, sizeof v);
    return v;
}
inline void CadSetPtr(void* rec, uint32_t off, const void* v) {
    memcpy(static_cast<uint8_t*>(rec) + off, &v, sizeof v);
}

// The stroke bytes by name (kOffLineType .. kOffLineEndMark), raw: callers
// reduce them to the range of their tables.
inline uint8_t CadGetU8(const void* rec, uint32_t off) { return static_cast<const uint8_t*>(rec)[off]; }
inline uint8_t ElementLineType(const ElementRecord& r) { return CadGetU8(&r, kOffLineType); }
inline uint8_t ElementLineWidth(const ElementRecord& r) { return CadGetU8(&r, kOffLineWidth); }
inline uint8_t ElementLineStartMark(const ElementRecord& r) { return CadGetU8(&r, kOffLineStartMark); }
inline uint8_t ElementLineEndMark(const ElementRecord& r) { return CadGetU8(&r, kOffLineEndMark); }

// ---------------------------------------------------------------------------
// Stored element: the record followed by the library's links (238 bytes).
// Stored elements never move while the database lives: their addresses are
// the element handles that callers, marks and undo records hold.
struct StoredElement {
    ElementRecord rec;          // 0
    StoredElement* next;        // 174 next element of the database
    StoredElement* prev;        // 178 previous element
    StoredElement* member;      // 182 group: first member; member: next member
    StoredElement* memberPrev;  // 186 group: last member; member: previous member
    StoredElement* owner;       // 190 member: its group; kind 32: figure header
    void* ext;                  // 194 library: tags, tag text, user data
    int32_t count;              // 198 group: member count; kind 32: header index
    uint32_t serial;            // 202 library: serial number in the database
    uint32_t state;             // 206 library: CadElementState bits
    uint32_t selection;         // 210 bit 0 selected (low byte: blink flag)
    uint32_t selColour;         // 214 selection colour / element id
    uint8_t reserved[20];       // 218
};
static_assert(sizeof(StoredElement) == 238, "stored element is 238 bytes");
static_assert(offsetof(StoredElement, next) == 174, "next");
static_assert(offsetof(StoredElement, member) == 182, "member link");
static_assert(offsetof(StoredElement, owner) == 190, "group link");
static_assert(offsetof(StoredElement, count) == 198, "count/index");
static_assert(offsetof(StoredElement, selection) == 210, "selection");
static_assert(offsetof(StoredElement, selColour) == 214, "selection colour");

// ---------------------------------------------------------------------------
// Undo record: a chain in time order, walked and moved by the host's replay.
enum CadUndoKind : int32_t {
    kUndoAdd = 300,
    kUndoDelete = 301,
    kUndoChange = 302,
    kUndoNote = 303,
    kUndoMemberAdd = 304,
};
struct UndoRecord {
    int32_t kind;             // 0x00 300..308
    uint32_t reserved04;      // 0x04
    uint32_t reserved08;      // 0x08
    int32_t stepEnd;          // 0x0c 1 on the last record of a step
    uint32_t reserved10[3];   // 0x10
    StoredElement* element;   // 0x1c
    void* addArg;             // 0x20 element before it in the database
    uint32_t reserved24;      // 0x24
    void* memberArg;          // 0x28 member before it in its group
    uint32_t reserved2c;      // 0x2c
    ElementRecord* saved;     // 0x30 contents before a change
    StoredElement* groupArg;  // 0x34 group of a member operation
    UndoRecord* next;         // 0x38 newer record
    UndoRecord* prev;         // 0x3c older record
};
static_assert(sizeof(UndoRecord) == 0x40, "undo record");
static_assert(offsetof(UndoRecord, stepEnd) == 0x0c, "step end");
static_assert(offsetof(UndoRecord, element) == 0x1c, "element");
static_assert(offsetof(UndoRecord, addArg) == 0x20, "add argument");
static_assert(offsetof(UndoRecord, memberArg) == 0x28, "member argument");
static_assert(offsetof(UndoRecord, saved) == 0x30, "saved contents");
static_assert(offsetof(UndoRecord, groupArg) == 0x34, "group argument");
static_assert(offsetof(UndoRecord, next) == 0x38, "next");
static_assert(offsetof(UndoRecord, prev) == 0x3c, "previous");

// ---------------------------------------------------------------------------
// Layer table of a page (19,844 bytes).
struct LayerTable {
    int32_t inputLayer;         // 0
    uint16_t display[64];       // 4
    uint16_t detect[64];        // 132
    uint16_t lock[64];          // 260
    char* names[1024];          // 388 library-owned texts, valid for the drawing's life
    char groupNames[1024][11];  // 4484
    uint32_t extra[1024];       // 15748
};
static_assert(sizeof(LayerTable) == 19844, "LayerTable");
static_assert(offsetof(LayerTable, display) == 4, "display bits");
static_assert(offsetof(LayerTable, detect) == 132, "detect bits");
static_assert(offsetof(LayerTable, lock) == 260, "lock bits");
static_assert(offsetof(LayerTable, names) == 388, "names");
static_assert(offsetof(LayerTable, groupNames) == 4484, "group names");
static_assert(offsetof(LayerTable, extra) == 15748, "extra");

struct LineTypeEntry {  // 389 bytes
    char name[257];
    int32_t segments;
    double lengths[16];
};
static_assert(sizeof(LineTypeEntry) == 389, "line type entry");

struct ColourEntry {  // 269 bytes
    char name[257];
    int32_t red, green, blue;
};
static_assert(sizeof(ColourEntry) == 269, "colour entry");

// ---------------------------------------------------------------------------
// Drawing information of a page (106,321 bytes; its first 4,223 bytes are
// the head that DAriGetDBInfo / DAriSetDBInfo exchange).
enum { kDbInfoHeadSize = 4223, kDbInfoSize = 106321 };
struct DbInfo {
    uint16_t reserved0;           // 0
    char extFileName[260];        // 2
    char shortText[32];           // 262
    char texts0[7][257];          // 294 (slot 3 at 1065: title)
    uint16_t dates[14];           // 2093 creation and update dates
    char texts7[7][257];          // 2121 (2892 memo colour, 3149 author, 3663 remarks)
    uint8_t drawW[8];             // 3920 doubles: use CadGetF64 with the offsets below
    uint8_t drawH[8];             // 3928
    uint8_t paperWmm[8];          // 3936
    uint8_t paperHmm[8];          // 3944
    uint8_t scale[8];             // 3952
    uint16_t paperCode;           // 3960
    uint8_t block3962[256];       // 3962
    uint8_t byte4218;             // 4218
    int32_t originAtCorner;       // 4219
    int32_t elementCount;         // 4223 (first word of the 84-byte block)
    uint8_t block4227[8];         // 4227
    uint8_t epsDistance[8];       // 4235 double: the drawing's distance tolerance
    uint8_t epsAngleCos[8];       // 4243 double: its angle tolerance as cosine
    uint8_t epsAngleSin[8];       // 4251 double: and sine
    uint8_t block4259[48];        // 4259
    uint16_t word4307;            // 4307
    LayerTable layers;            // 4309
    LineTypeEntry lineTypes[32];  // 24153
    ColourEntry colours[257];     // 36601
    uint8_t widths[128];          // 105734 sixteen doubles
    uint8_t placement[459];       // 105862 page placement tail
};
static_assert(sizeof(DbInfo) == kDbInfoSize, "DbInfo");
static_assert(offsetof(DbInfo, extFileName) == 2, "file name");
static_assert(offsetof(DbInfo, shortText) == 262, "short text");
static_assert(offsetof(DbInfo, texts0) == 294, "texts 0-6");
static_assert(offsetof(DbInfo, dates) == 2093, "dates");
static_assert(offsetof(DbInfo, texts7) == 2121, "texts 7-13");
static_assert(offsetof(DbInfo, drawW) == 3920, "drawing width");
static_assert(offsetof(DbInfo, scale) == 3952, "scale");
static_assert(offsetof(DbInfo, paperCode) == 3960, "paper code");
static_assert(offsetof(DbInfo, block3962) == 3962, "block");
static_assert(offsetof(DbInfo, originAtCorner) == 4219, "origin flag");
static_assert(offsetof(DbInfo, elementCount) == 4223, "element count");
static_assert(offsetof(DbInfo, epsDistance) == 4235, "distance tolerance");
static_assert(offsetof(DbInfo, epsAngleCos) == 4243, "angle tolerance cosine");
static_assert(offsetof(DbInfo, epsAngleSin) == 4251, "angle tolerance sine");
static_assert(offsetof(DbInfo, word4307) == 4307, "word 4307");
static_assert(offsetof(DbInfo, layers) == 4309, "layer table");
static_assert(offsetof(DbInfo, layers) + offsetof(LayerTable, names) == 4697, "layer names");
static_assert(offsetof(DbInfo, layers) + offsetof(LayerTable, groupNames) == 8793, "group names");
static_assert(offsetof(DbInfo, lineTypes) == 24153, "line types");
static_assert(offsetof(DbInfo, colours) == 36601, "colours");
static_assert(offsetof(DbInfo, colours) + sizeof(ColourEntry) + 257 == 37127, "pen 1 red");
static_assert(offsetof(DbInfo, widths) == 105734, "widths");
static_assert(offsetof(DbInfo, placement) == 105862, "placement");
enum CadDbInfoOffset : uint32_t {
    kInfoTitle = 1065,
    kInfoMemoColour = 2892,
    kInfoAuthor = 3149,
    kInfoRemarks = 3663,
    kInfoDrawW = 3920,
    kInfoDrawH = 3928,
    kInfoPaperWmm = 3936,
    kInfoPaperHmm = 3944,
    kInfoScale = 3952,
    kInfoWidths = 105734,
    kInfoPlaceFactorX = 106127,
    kInfoPlaceFactorY = 106135,
    kInfoPlaceAngle = 106143,
    kInfoPlaceOrigin = 106175,
    kInfoPlaceCos = 106199,
    kInfoPlaceSin = 106207,
    kInfoPlaceSeparate = 106223,
    kInfoPlaceComposed = 106224,
};

// ---------------------------------------------------------------------------
// Page record (106,349 bytes) and the page state block of the header.
struct PageRecord {
    uint32_t reserved0;   // 0
    int32_t externalRef;  // 4
    int32_t modified;     // 8
    int32_t attribute;    // 12
    int32_t kind;         // 16
    int32_t parent;       // 20
    int32_t number;       // 24
    DbInfo info;          // 28
};
static_assert(sizeof(PageRecord) == 106349, "PageRecord");
static_assert(offsetof(PageRecord, parent) == 20, "parent");
static_assert(offsetof(PageRecord, info) == 28, "page info");

struct PageStateBlock {
    int32_t currentPage;   // 0
    uint32_t spare[16];    // 4
    uint32_t display[16];  // 68 page n: bit n % 32 of word n / 32
    uint32_t detect[16];   // 132
};
static_assert(sizeof(PageStateBlock) == 196, "PageStateBlock");

// The frame view of a drawing: the word that turns it on and the frame's
// transform. Stored with the drawing's information and copied whole.
struct DbFrame {
    int32_t view;            // 0   1: the drawing shows its frame view
    uint8_t scale[8];        // 4   double
    uint8_t reserved12[8];   // 12
    uint8_t angle[8];        // 20  double
    uint8_t reserved28[24];  // 28
    uint8_t x[8];            // 52  double
    uint8_t y[8];            // 60  double
    uint8_t extra[8];        // 68
    uint8_t cos[8];          // 76  double
    uint8_t sin[8];          // 84  double
};
static_assert(sizeof(DbFrame) == 92, "DbFrame");
static_assert(offsetof(DbFrame, scale) == 4 && offsetof(DbFrame, angle) == 20, "frame scale, angle");
static_assert(offsetof(DbFrame, x) == 52 && offsetof(DbFrame, y) == 60, "frame origin");
static_assert(offsetof(DbFrame, cos) == 76 && offsetof(DbFrame, sin) == 84, "frame cos, sin");

// ---------------------------------------------------------------------------
// Database header (397 bytes), allocated and zero-filled by the caller.
struct DbHeader {
    uint32_t hostWord;         // 0   free for the host (its ViewData during load/save)
    void* core;                // 4   library: the database behind this header
    void* thumbnail;           // 8   HBITMAP 176 x 126, owned by the host
    uint8_t reserved12[44];    // 12
    void* extRecord;           // 56  raster and memo extension record (host's)
    int32_t selectionChanged;  // 60  (0x3c) also the flagged-elements word
    uint8_t reserved64[8];     // 64
    UndoRecord* firstUndo;     // 72  (0x48)
    UndoRecord* currentUndo;   // 76  (0x4c)
    uint8_t reserved80[12];    // 80
    DbInfo* info;              // 92  live DbInfo of page 0
    PageStateBlock pages;      // 96
    uint8_t reserved292[4];    // 292
    DbFrame frame;             // 296 frame view word and transform
    uint8_t reserved388[9];    // 388
};
static_assert(sizeof(DbHeader) == 397, "DbHeader");
static_assert(offsetof(DbHeader, extRecord) == 56, "extension record");
static_assert(offsetof(DbHeader, selectionChanged) == 0x3c, "selection word");
static_assert(offsetof(DbHeader, firstUndo) == 0x48, "first undo");
static_assert(offsetof(DbHeader, currentUndo) == 0x4c, "current undo");
static_assert(offsetof(DbHeader, info) == 92, "DbInfo pointer");
static_assert(offsetof(DbHeader, pages) == 96, "page state");
static_assert(offsetof(DbHeader, pages) + offsetof(PageStateBlock, display) == 164, "page display word");
static_assert(offsetof(DbHeader, pages) + offsetof(PageStateBlock, detect) == 228, "page detect word");
static_assert(offsetof(DbHeader, frame) == 296, "frame view");
static_assert(offsetof(DbHeader, frame) + offsetof(DbFrame, scale) == 300, "frame scale");
static_assert(offsetof(DbHeader, frame) + offsetof(DbFrame, angle) == 316, "frame angle");
static_assert(offsetof(DbHeader, frame) + offsetof(DbFrame, x) == 348, "frame x");
static_assert(offsetof(DbHeader, frame) + offsetof(DbFrame, cos) == 372, "frame cos");
static_assert(offsetof(DbHeader, frame) + offsetof(DbFrame, sin) == 380, "frame sin");
static_assert(offsetof(DbHeader, reserved388) == 388, "after the frame");

// ---------------------------------------------------------------------------
// Mark list: an ordered set of stored elements (or undo records, for a link
// mark) of one database; its first field is that database's header.
struct CadMark {
    DbHeader* db;
};

// Search options: fifteen 32-bit words that the host copies whole.
struct SearchOptionRecord {
    int32_t words[15];
};
static_assert(sizeof(SearchOptionRecord) == 60, "search options");

// Font dictionary requests. A module's request (690 bytes) goes to the
// library whole for sub-codes 1, 2 and 20; for the others the host moves its
// fields into a 364-byte block (zero-filled first) as the sub-code needs.
// Vector dictionaries 1 to 3 (font kinds 3 to 5) hold the strokes of a font
// of the machine; "dictionary" 0 means the first open one. Measures are in
// units of the character height (the font's cell) unless a height is given.
//   request  1: open dictionary value1 from the font named in text; 2: close
//               it; 20: value2 = number of dictionary value1, text2 = its font
//   block    3: points of the strokes of text word1 in dictionary word2 (result)
//            4/6: length of text word1 (dictionary word2) at height double1
//                 with spacing double2, horizontal/vertical, into double3;
//            5/7: the same for characters [value1, value1 + value2)
//            8: horizontal length of text word1; 9: its number of characters
//            10/12: stroke box (double1 width, double2 height) of text word2 in
//                 dictionary word1, horizontal/vertical; 11: characters
//                 [value1, value1 + value2), vertical when value3 is non-zero
//            13: index of the font named by word1 into value1
//            14: number of strokes of the characters of 11 into double1
//            15/16: as 10/12 for text word1 in the first open dictionary
//            17: character value1 of text word1: advance (double1), offset (double2)
//            18: corners of a text element (views: {record, corners} at 0)
//            21: name of font value2 of kind value1 into the area at word1
struct FontDicRequest {
    uint8_t reserved0[8];     // 0x000
    int32_t value1;           // 0x008 font kind, dictionary, index or count
    int32_t value2;           // 0x00c
    int32_t value3;           // 0x010
    uint8_t reserved14[4];    // 0x014
    char text[356];           // 0x018 text of the request
    char text2[262];          // 0x17c second text area
    uint8_t double1[8];       // 0x282
    uint8_t double2[8];       // 0x28a
    uint8_t result[8];        // 0x292
    uint8_t reserved29a[16];  // 0x29a
    int32_t handle;           // 0x2aa font handle or index
    int32_t further;          // 0x2ae
};
static_assert(sizeof(FontDicRequest) == 0x2b2, "font dictionary request");
static_assert(offsetof(FontDicRequest, text) == 0x018, "request text");
static_assert(offsetof(FontDicRequest, text2) == 0x17c, "request second text");
static_assert(offsetof(FontDicRequest, double1) == 0x282, "request first double");
static_assert(offsetof(FontDicRequest, result) == 0x292, "request result");
static_assert(offsetof(FontDicRequest, handle) == 0x2aa, "request handle");
static_assert(offsetof(FontDicRequest, further) == 0x2ae, "request further value");

struct DicBlock {
    const ElementRecord* record;  // 0x000 sub-code 18 from the views: the text element
    double* corners;              // 0x004 sub-code 18: eight doubles out
    int32_t value1;               // 0x008
    int32_t value2;               // 0x00c
    int32_t value3;               // 0x010
    uint8_t reserved14[274];      // 0x014
    uint8_t double1[8];           // 0x126
    uint8_t double2[8];           // 0x12e
    uint8_t double3[8];           // 0x136
    uint8_t reserved13e[16];      // 0x13e
    uint32_t word1;               // 0x14e a value or an address, by sub-code
    uint32_t word2;               // 0x152
    uint32_t word3;               // 0x156
    uint8_t reserved15a[18];      // 0x15a
};
static_assert(sizeof(DicBlock) == 364, "dictionary block");
static_assert(offsetof(DicBlock, value1) == 0x008, "block first value");
static_assert(offsetof(DicBlock, double1) == 0x126, "block first double");
static_assert(offsetof(DicBlock, double3) == 0x136, "block third double");
static_assert(offsetof(DicBlock, word1) == 0x14e, "block first word");
static_assert(offsetof(DicBlock, word3) == 0x156, "block third word");

#pragma pack(pop)

// Load status bits (and the value 1 for a newer format).
enum CadLoadStatus : uint32_t {
    kLoadNewerFormat = 0x1,
    kLoadElementDamaged = 0x02,
    kLoadNotDrawing = 0x10,
    kLoadInfoDamaged = 0x80,
    kLoadGroupDamaged = 0x100,
    kLoadOutOfMemory = 0x200,
    kLoadUnknownCompression = 0x400,
    kLoadUnknownFormat = 0x800,
};
// Save status bit.
enum CadSaveStatus : uint32_t { kSaveDiskFull = 0x10, kSaveWriteFailed = 0x20 };

// ---------------------------------------------------------------------------
// Process
CADAPI int ZAVAPI DAriSetMaxCoord(int flag, double largest);
CADAPI int ZAVAPI DAriSetElementCheckMode(int mode);
CADAPI int ZAVAPI DAriSetSettingsDataInt(const char* name, int value);
CADAPI int ZAVAPI DAriSetEps(double eps, double angleEps);
CADAPI int ZAVAPI TqSetHighlightColor(int colour);
CADAPI int ZAVAPI TqCreateMemPools(DbHeader* db);
CADAPI int ZAVAPI DariStyleGet(void* pens, void* lineTypes, void* widths);
CADAPI int ZAVAPI DAriAllFreeEBuffer(void);
CADAPI int ZAVAPI DAriClearDustMemory(void);
CADAPI int ZAVAPI DAriSetTransFg(int flag);

// Databases
CADAPI int ZAVAPI DAriCreateDB(DbHeader* db);
CADAPI int ZAVAPI DAriDeleteDB(DbHeader* db);
CADAPI int ZAVAPI DAriUndoFgSet(DbHeader* db, int level);
CADAPI int ZAVAPI DAriFastAccessOn(void);
CADAPI int ZAVAPI DAriFastAccessOff(void);

// Files (status word in/out)
CADAPI int ZAVAPI DAriLoadFileOfCWX(const char* path, DbHeader* db, uint32_t* status);
CADAPI int ZAVAPI DAriLoadFileOfCWU(const char* path, DbHeader* db, uint32_t* status);
CADAPI int ZAVAPI DAriSaveFileOfCWX(const char* path, DbHeader* db, uint32_t* status);
CADAPI int ZAVAPI DAriSaveFileOfCWU(const char* path, DbHeader* db, uint32_t* status);
CADAPI int ZAVAPI DAriLoadInfoOfCWX(const char* path, DbHeader* db, uint32_t* status);
CADAPI int ZAVAPI DAriLoadInfoOfCWU(const char* path, DbHeader* db, uint32_t* status);

// Drawing information
CADAPI int ZAVAPI DAriGetDBInfo(void* head4223, DbHeader* db);
CADAPI int ZAVAPI DAriSetDBInfo(const void* head4223, DbHeader* db);
CADAPI DbInfo* ZAVAPI DAriGetDbInfoPtr(int page, DbHeader* db);

// Elements. direction: 0 first (element ignored), 1 next, 2 previous, 3 last,
// 4 the element itself (re-read).
CADAPI StoredElement* ZAVAPI DAriReadElement(StoredElement* element, int direction, void* buffer174, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriAppendElement(const void* record, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriChangeElement(StoredElement* element, const void* record, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriMemChangeElement(StoredElement* element, const void* record, DbHeader* db);
CADAPI int ZAVAPI DAriDeleteElement(StoredElement* element, DbHeader* db);
CADAPI int ZAVAPI DAriAllDeleteElement(DbHeader* db);
CADAPI int ZAVAPI DAriGetElmNum(DbHeader* db);
CADAPI int ZAVAPI DAriElementParamCopy(StoredElement* target, StoredElement* source);
CADAPI int ZAVAPI DAriSetExtrData(StoredElement* element, int slot, int value, int flag, int reserved);
CADAPI int ZAVAPI DAriGetExtrData(StoredElement* element, int slot);
CADAPI int ZAVAPI DAriChkDspElement(int page, int layer, int attribute, int viewMode, DbHeader* db);

// Groups and placed figures
CADAPI StoredElement* ZAVAPI DAriCreateFgroupHead(const void* record, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriAppendFgroup(StoredElement* header, const void* record, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriGetFgroupHeaderIdx(StoredElement* element, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriAppendMemberElement(StoredElement* group, const void* record, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriAppendMemberElementExt(StoredElement* group, StoredElement* after, const void* record,
                                                        DbHeader* db);
CADAPI int ZAVAPI DAriGetMemberNum(StoredElement* group, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriReadFirstMember(StoredElement* groupOrMember, void* buffer174, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriReadNextMember(StoredElement* member, void* buffer174, DbHeader* db);

// Undo
CADAPI int ZAVAPI DAriMakUndoPass(DbHeader* db);
CADAPI int ZAVAPI DAriIsUndo(DbHeader* db);
CADAPI int ZAVAPI DAriIsRedo(DbHeader* db);
CADAPI int ZAVAPI DAriClearUndoElement(DbHeader* db);
CADAPI int ZAVAPI DAriCheckUndo(int steps, int reserved, DbHeader* db);
CADAPI int ZAVAPI DAriUndoAddElement(StoredElement* element, DbHeader* db, int flag, void* after);
CADAPI int ZAVAPI DAriUndoDelElement(StoredElement* element, DbHeader* db);
CADAPI int ZAVAPI DAriUndoChgElement(StoredElement* element, ElementRecord* saved, DbHeader* db, int reserved);
CADAPI int ZAVAPI DAriUndoAddMemberElement(StoredElement* member, void* after, DbHeader* db, int reserved,
                                           StoredElement* group);
CADAPI int ZAVAPI DAriUndoDelMemberElement(StoredElement* member, void* reserved1, DbHeader* db, int reserved2,
                                           StoredElement* group);

// Marks (element first, mark second)
CADAPI CadMark* ZAVAPI DAriCreateMark(DbHeader* db);
CADAPI CadMark* ZAVAPI DAriCreateLinkMark(DbHeader* db);
CADAPI int ZAVAPI DAriDestroyMark(CadMark* mark);
CADAPI int ZAVAPI DAriSetMark(void* element, CadMark* mark);
CADAPI int ZAVAPI DAriDelMark(void* element, CadMark* mark);
CADAPI int ZAVAPI DAriChkMark(void* element, CadMark* mark);
CADAPI int ZAVAPI DAriGetMarkNum(CadMark* mark);
CADAPI void* ZAVAPI DAriGetNextMark(void* element, CadMark* mark);
CADAPI void* ZAVAPI DAriGetBackMark(void* element, CadMark* mark);
CADAPI void* ZAVAPI DAriGetExtNextMark(void* element, CadMark* mark);

// Tags, tag text, user data
CADAPI int ZAVAPI DAriGetTag(StoredElement* element, int tag);
CADAPI int ZAVAPI DAriSetTag(StoredElement* element, int tag, int value);
CADAPI int ZAVAPI DAriGetTagString(StoredElement* element, char* buffer);
CADAPI int ZAVAPI DAriSetTagString(StoredElement* element, const char* text);
CADAPI int ZAVAPI DAriGet256UserData(StoredElement* element, void* buffer256);
CADAPI int ZAVAPI DAriSet256UserData(StoredElement* element, const void* data256);

// Pages and layers
CADAPI int ZAVAPI DAriChkPage(int page, DbHeader* db);
CADAPI int ZAVAPI DAriGetPage(int page, PageRecord* record, DbHeader* db);
CADAPI PageRecord* ZAVAPI DAriGetPtPage(int page, DbHeader* db);
CADAPI int ZAVAPI DAriChgPage(int page, const PageRecord* record, DbHeader* db);
CADAPI int ZAVAPI DAriAddPage(int page, const PageRecord* record, DbHeader* db);
CADAPI int ZAVAPI DAriDelPage(int page, DbHeader* db);
CADAPI int ZAVAPI DAriGetNextPage(int page, PageRecord* record, DbHeader* db);
CADAPI int ZAVAPI DAriGetPageCount(DbHeader* db);
CADAPI int ZAVAPI DAriGetPageLv(int page, DbHeader* db);
CADAPI int ZAVAPI DAriGetDownNextPage(int page, int after, DbHeader* db);
CADAPI int ZAVAPI DAriSetPageDetFlag(int flag);
CADAPI int ZAVAPI DAriGetLayerInfo(int page, LayerTable* table, DbHeader* db);
CADAPI int ZAVAPI DAriSetLayerInfo(int page, const LayerTable* table, DbHeader* db);
CADAPI int ZAVAPI DAriSetLayerName(int page, int layer, const char* name, DbHeader* db);
CADAPI int ZAVAPI DAriGetLayerName(int page, int layer, int kind, char* buffer260, DbHeader* db);

// Raster data (kind 55): compressed data at 115/119, expanded bits at 123/127.
CADAPI int ZAVAPI DAriCompRstrData(DbHeader* db, StoredElement* element, int reserved, uint32_t* compressedSize);
CADAPI int ZAVAPI DAriExpandRstrData(DbHeader* db, StoredElement* element, int flag);

// Fonts and text dictionary
CADAPI int ZAVAPI DAriGetFontNum(int kind);
// The name of font `index` of a kind (0: fonts of the machine), or null.
CADAPI const char* ZAVAPI DAriGetFontNm(int kind, int index, int reserved);
// Sub-code 18: the block starts with {const ElementRecord* text; double* corners8}
// (a null record gives 0, so a zero-filled dictionary block is safe);
// sub-code 13: block 0x14e names a font, block 0x008 receives its index.
CADAPI int ZAVAPI DAriDicFunction(int subCode, void* block);

// ===========================================================================
// Painting and searching
// ===========================================================================
#pragma pack(push, 1)

// The painting request every painter fills (2,372 bytes, zero-filled by the
// caller). World values are drawing units with y up; rectangles are left,
// top, right, bottom; pixel = centre + (world + offset) * scale (y flipped).
enum CadDrawWhat : int32_t {
    kDrawDatabase = 0,
    kDrawElement = 1,
    kDrawMark = 2,
    kDrawRecords = 3,
    kDrawRecords2 = 4,
};
enum CadDrawTarget : int32_t { kDrawToWindow = 1, kDrawToDc = 2 };
struct DrawParam {
    int32_t size;               // 0x000 2372
    int32_t paperSpace;         // 0x004 view mode 1
    int32_t rubberBand;         // 0x008
    uint8_t reserved00c[8];     // 0x00c
    int32_t colourOverride;     // 0x014 draw everything in overrideColour
    int32_t overrideColour;     // 0x018 colour index; 0 = background (erases), < 0 own colours
    int32_t reserved01c;        // 0x01c
    int32_t colourMode;         // 0x020 1 monochrome, 2 grey
    int32_t xorMode;            // 0x024
    int32_t pageOnly;           // 0x028
    int32_t page;               // 0x02c
    int32_t layerOnly;          // 0x030
    int32_t layer;              // 0x034
    int32_t termDraw;           // 0x038 draw line-start and line-end marks
    int32_t pointSize;          // 0x03c points at their own size
    int32_t lineWidthSize;      // 0x040 non-zero: widths at paper size
    uint8_t reserved044[48];    // 0x044
    int32_t targetKind;         // 0x074 CadDrawTarget
    void* window;               // 0x078 HWND
    void* dc;                   // 0x07c HDC
    int32_t paperFrame;         // 0x080
    double paperRect[4];        // 0x084
    int32_t paperKind;          // 0x0a4 line kind of the paper frame
    int32_t marginFrame;        // 0x0a8
    double marginRect[4];       // 0x0ac
    int32_t marginKind;         // 0x0cc
    int32_t originMarker;       // 0x0d0
    double origin[2];           // 0x0d4
    uint8_t reserved0e4[8];     // 0x0e4
    int32_t furtherMarker;      // 0x0ec
    uint8_t reserved0f0[8];     // 0x0f0
    int32_t baseMarker;         // 0x0f8 last input point
    int32_t baseStyle;          // 0x0fc
    double basePoint[3];        // 0x100
    int32_t client[4];          // 0x118 pixels
    int32_t centre[2];          // 0x128 pixels
    double scale;               // 0x130 pixels per drawing unit
    double drawScale;           // 0x138
    double pixelsPerMm;         // 0x140 scale / drawing scale
    double visible[4];          // 0x148
    double offsetX;             // 0x168
    double offsetY;             // 0x170
    uint8_t reserved178[12];    // 0x178
    double visible2[4];         // 0x184
    double topLeft[3];          // 0x1a4
    double bottomRight[3];      // 0x1bc
    int32_t overlayFlag;        // 0x1d4
    uint32_t background;        // 0x1d8 COLORREF
    int32_t what;               // 0x1dc CadDrawWhat
    void* element;              // 0x1e0
    void* mark;                 // 0x1e4
    void* records;              // 0x1e8 ElementRecord array (kind 3)
    void* records2;             // 0x1ec
    int32_t count;              // 0x1f0
    char font[64];              // 0x1f4
    uint8_t reserved234[376];   // 0x234
    int32_t overlayDb;          // 0x3ac
    uint8_t reserved3b0[1428];  // 0x3b0
};
static_assert(sizeof(DrawParam) == 2372, "DrawParam");
static_assert(offsetof(DrawParam, colourOverride) == 0x014, "colour override");
static_assert(offsetof(DrawParam, colourMode) == 0x020, "colour mode");
static_assert(offsetof(DrawParam, xorMode) == 0x024, "xor");
static_assert(offsetof(DrawParam, layer) == 0x034, "layer filter");
static_assert(offsetof(DrawParam, lineWidthSize) == 0x040, "width size");
static_assert(offsetof(DrawParam, targetKind) == 0x074, "target kind");
static_assert(offsetof(DrawParam, dc) == 0x07c, "dc");
static_assert(offsetof(DrawParam, paperRect) == 0x084, "paper rect");
static_assert(offsetof(DrawParam, paperKind) == 0x0a4, "paper kind");
static_assert(offsetof(DrawParam, marginRect) == 0x0ac, "margin rect");
static_assert(offsetof(DrawParam, marginKind) == 0x0cc, "margin kind");
static_assert(offsetof(DrawParam, origin) == 0x0d4, "origin");
static_assert(offsetof(DrawParam, furtherMarker) == 0x0ec, "further marker");
static_assert(offsetof(DrawParam, baseMarker) == 0x0f8, "base marker");
static_assert(offsetof(DrawParam, basePoint) == 0x100, "base point");
static_assert(offsetof(DrawParam, client) == 0x118, "client");
static_assert(offsetof(DrawParam, centre) == 0x128, "centre");
static_assert(offsetof(DrawParam, scale) == 0x130, "scale");
static_assert(offsetof(DrawParam, pixelsPerMm) == 0x140, "ratio");
static_assert(offsetof(DrawParam, visible) == 0x148, "visible");
static_assert(offsetof(DrawParam, offsetX) == 0x168, "offset x");
static_assert(offsetof(DrawParam, visible2) == 0x184, "visible again");
static_assert(offsetof(DrawParam, topLeft) == 0x1a4, "top left");
static_assert(offsetof(DrawParam, bottomRight) == 0x1bc, "bottom right");
static_assert(offsetof(DrawParam, overlayFlag) == 0x1d4, "overlay flag");
static_assert(offsetof(DrawParam, background) == 0x1d8, "background");
static_assert(offsetof(DrawParam, what) == 0x1dc, "what");
static_assert(offsetof(DrawParam, element) == 0x1e0, "element");
static_assert(offsetof(DrawParam, mark) == 0x1e4, "mark");
static_assert(offsetof(DrawParam, records) == 0x1e8, "records");
static_assert(offsetof(DrawParam, count) == 0x1f0, "count");
static_assert(offsetof(DrawParam, font) == 0x1f4, "font");
static_assert(offsetof(DrawParam, overlayDb) == 0x3ac, "overlay database");

// The caller's drawing surface (153 bytes); the slots belong to the library
// while it draws.
struct RenderSurface {
    uint8_t ownsDcs;     // 0x00
    int32_t backEnd;     // 0x01 0 = GDI
    uint8_t one;         // 0x05
    void* window;        // 0x06
    int32_t dcSlots[4];  // 0x0a
    uint8_t pad1a[3];    // 0x1a
    int32_t objectSlot;  // 0x1d
    int32_t client[4];   // 0x21
    int32_t spare[6];    // 0x31
    void* cache[20];     // 0x49
};
static_assert(sizeof(RenderSurface) == 153, "RenderSurface");
static_assert(offsetof(RenderSurface, window) == 0x06, "surface window");
static_assert(offsetof(RenderSurface, client) == 0x21, "surface client");
static_assert(offsetof(RenderSurface, cache) == 0x49, "surface cache");

// A point passed by value to the point searches (z is carried, not used).
struct CadPoint3 {
    double x, y, z;
};
static_assert(sizeof(CadPoint3) == 24, "point");

#pragma pack(pop)

// Search-option words (SearchOptionRecord::words):
//  0 area mode: bit 0 elements crossing the rectangle, bit 1 elements inside it
//  1 kind mask: bit k-1 for kinds 1..16, 0x10000 kinds 50/60, 0x20000 kind 70,
//    0x40000 raster (55), 0x80000 groups and placed figures (21, 22, 32)
//  2 layer: -1 every layer, else only that layer
//  3 line-type mask: bit (type % 16)
//  4 colour mask: bit 0 lets elements of colour 0 through, other bits reserved
//  5 line-width mask: bit (width % 8); 6 reserved (255)
// Words 0, 1, 3, 4 and 5 left at 0 restrict nothing.
enum CadSearchArea : int32_t { kAreaCrossing = 1, kAreaInside = 2 };
enum : uint32_t {
    kFindKindBlock = 0x10000,
    kFindKindCompound70 = 0x20000,
    kFindKindRaster = 0x40000,
    kFindKindGroup = 0x80000,
};
// ViewData of a drawing window: the database header pointer at +20.
enum { kViewDataDbOffset = 20 };

// Painting (the database header first).
CADAPI int ZAVAPI DAriDrawPre(DbHeader* db, DrawParam* param);
CADAPI int ZAVAPI DAriDraw(DbHeader* db, DrawParam* param);
CADAPI int ZAVAPI DAriDrawAll(DbHeader* db, DrawParam* param, RenderSurface* surface);

// Search options and switches.
CADAPI int ZAVAPI DAriDbSetSerch(const SearchOptionRecord* options);
CADAPI int ZAVAPI DAriDbGetSerch(SearchOptionRecord* options);
CADAPI int ZAVAPI DAriDbSetSerchOption(int areaMode);
CADAPI int ZAVAPI DAriSerchSetGrpFind(int on);
CADAPI int ZAVAPI TqGetLockLaySearchMode(void);
CADAPI int ZAVAPI TqSetLockLaySearchMode(int mode);
CADAPI int ZAVAPI TqIsLockLayer(const void* record174, DbHeader* db);

// Point searches: 1 and the point in result (x, y, z) when one was found.
CADAPI int ZAVAPI DAriSerchPoint(CadPoint3 point, double* result, double aperture, DbHeader* db, DbHeader* tempDb,
                                 void* viewData, CadMark* mark);
CADAPI int ZAVAPI DAriSerchPoint2(CadPoint3 point, double* result, double aperture, void* viewData, int divisions,
                                  CadMark* mark);
CADAPI int ZAVAPI DAriSerchPoint2_2(CadPoint3 point, double* result, double aperture, void* viewData, CadMark* mark);
CADAPI int ZAVAPI DAriSerchPoint3(CadPoint3 point, double* result, double aperture, void* viewData, CadMark* mark);
CADAPI int ZAVAPI DAriSerchPoint4(CadPoint3 point, double* result, double aperture, void* viewData, CadMark* mark);

// Element searches: a new mark of the elements found (database order), or null.
CADAPI CadMark* ZAVAPI DAriGetWakuElement(const double* rect4, DbHeader* db);
CADAPI CadMark* ZAVAPI DAriGetWakuElementEx(const double* rect4, int mode, DbHeader* db);
CADAPI CadMark* ZAVAPI DAriGetElementMarkByPointWithMark(CadPoint3 point, double distance, DbHeader* db, void* viewData,
                                                         CadMark* among);
CADAPI StoredElement* ZAVAPI DAriFFTagElement(void* record174, int tag, DbHeader* db);
CADAPI StoredElement* ZAVAPI DAriFFTagFasHeader(void* record174, int tag, DbHeader* db);
