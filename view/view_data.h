// The per-window record of a drawing view and the object that owns it.
//
// Every drawing window's frame holds one CCadDatabase; the view stores the
// address of its ViewData in window long 0, which is how every caller that
// holds a view handle (command modules included) reaches it. The layout is
// shared with command modules byte for byte, hence packed and pinned.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cadlib/WmCadApiDb.h"

#pragma pack(push, 1)

// The current drawing attributes of a window, exchanged whole with command
// modules: colour 1-256, line type 0-31, width 0-15, line-start and line-end
// kinds 0-15, then two word tables carried only for the modules and a copy
// of the paper-margin settings record.
struct DrawAttr {
    int32_t color;             // +0
    int32_t lineType;          // +4
    int32_t lineWidth;         // +8
    int32_t lineStartKind;     // +12
    int32_t lineEndKind;       // +16
    uint8_t reserved[2];       // +20 (modules keep a 16-bit value here)
    int16_t moduleWords1[64];  // +22
    int16_t moduleWords2[64];  // +150
    uint8_t paperMargin[61];   // +278
};

struct ViewData {
    HGLOBAL dbBlock;             // +0   movable block of the database header
    uint8_t reserved4[16];       // +4
    DbHeader* db;                // +20  database header (library handle), null when none
    int32_t dbKind;              // +24  3 after Create
    uint8_t reserved28[12];      // +28
    double modelOffsetX;         // +40  view mode 0
    double modelOffsetY;         // +48
    double modelScale;           // +56  pixels per drawing unit
    double paperOffsetX;         // +64  view mode 1
    double paperOffsetY;         // +72
    double paperScale;           // +80
    DrawAttr attr;               // +88 .. +426
    int32_t modified;            // +427 1 = unsaved changes
    char fileName[260];          // +431 full path, "" when never saved
    int32_t windowNumber;        // +691 1, 2, ... among the windows of a drawing
    int32_t shared;              // +695 the drawing is shown in several windows
    int32_t untitledNumber;      // +699 cleared by the open and save roads
    int32_t drawingId;           // +703 equal in all windows of one drawing
    int32_t readOnly;            // +707 opened for reference only
    int32_t overviewLevel;       // +711 0 normal, 1 page, 2 layer overview
    int32_t fileLocked;          // +715 file held open against writers
    HANDLE lockHandle;           // +719 handle of that lock
    int32_t lastClientWidth;     // +723
    int32_t lastClientHeight;    // +727
    uint8_t reserved731[12];     // +731
    int32_t overviewFirstGroup;  // +743
    int32_t overviewPage;        // +747
    int32_t drawingEvent;        // +751 command flag set by modules, read by save
    double prevModel[3];         // +755 saved x offset, y offset, scale
    double prevPaper[3];         // +779
    int32_t viewMode;            // +803 0 model, 1 paper, 2 frame view
    int32_t frameViewWord1;      // +807
    int32_t frameViewWord2;      // +811
    double frameOffsetX;         // +815 view mode 2
    double frameOffsetY;         // +823
    double frameScale;           // +831
    double prevFrame[3];         // +839
    int32_t displayMode;         // +863 1, 2 or 3 (service commands 1315-1317); 0 until set
    int32_t reserved867;         // +867
};

#pragma pack(pop)

static_assert(sizeof(DrawAttr) == 339, "DrawAttr is 339 bytes");
static_assert(offsetof(DrawAttr, lineType) == 4, "DrawAttr layout");
static_assert(offsetof(DrawAttr, lineWidth) == 8, "DrawAttr layout");
static_assert(offsetof(DrawAttr, lineStartKind) == 12, "DrawAttr layout");
static_assert(offsetof(DrawAttr, lineEndKind) == 16, "DrawAttr layout");
static_assert(offsetof(DrawAttr, reserved) == 20, "DrawAttr layout");
static_assert(offsetof(DrawAttr, moduleWords1) == 22, "DrawAttr layout");
static_assert(offsetof(DrawAttr, moduleWords2) == 150, "DrawAttr layout");
static_assert(offsetof(DrawAttr, paperMargin) == 278, "DrawAttr layout");

static_assert(sizeof(ViewData) == 871, "ViewData is 871 bytes");
static_assert(offsetof(ViewData, db) == 20, "ViewData layout");
static_assert(offsetof(ViewData, dbKind) == 24, "ViewData layout");
static_assert(offsetof(ViewData, modelOffsetX) == 40, "ViewData layout");
static_assert(offsetof(ViewData, modelScale) == 56, "ViewData layout");
static_assert(offsetof(ViewData, paperOffsetX) == 64, "ViewData layout");
static_assert(offsetof(ViewData, paperScale) == 80, "ViewData layout");
static_assert(offsetof(ViewData, attr) == 88, "ViewData layout");
static_assert(offsetof(ViewData, modified) == 427, "ViewData layout");
static_assert(offsetof(ViewData, fileName) == 431, "ViewData layout");
static_assert(offsetof(ViewData, windowNumber) == 691, "ViewData layout");
static_assert(offsetof(ViewData, shared) == 695, "ViewData layout");
static_assert(offsetof(ViewData, untitledNumber) == 699, "ViewData layout");
static_assert(offsetof(ViewData, drawingId) == 703, "ViewData layout");
static_assert(offsetof(ViewData, readOnly) == 707, "ViewData layout");
static_assert(offsetof(ViewData, overviewLevel) == 711, "ViewData layout");
static_assert(offsetof(ViewData, fileLocked) == 715, "ViewData layout");
static_assert(offsetof(ViewData, lockHandle) == 719, "ViewData layout");
static_assert(offsetof(ViewData, lastClientWidth) == 723, "ViewData layout");
static_assert(offsetof(ViewData, overviewFirstGroup) == 743, "ViewData layout");
static_assert(offsetof(ViewData, drawingEvent) == 751, "ViewData layout");
static_assert(offsetof(ViewData, prevModel) == 755, "ViewData layout");
static_assert(offsetof(ViewData, prevPaper) == 779, "ViewData layout");
static_assert(offsetof(ViewData, viewMode) == 803, "ViewData layout");
static_assert(offsetof(ViewData, frameViewWord1) == 807, "ViewData layout");
static_assert(offsetof(ViewData, frameViewWord2) == 811, "ViewData layout");
static_assert(offsetof(ViewData, frameOffsetX) == 815, "ViewData layout");
static_assert(offsetof(ViewData, frameScale) == 831, "ViewData layout");
static_assert(offsetof(ViewData, prevFrame) == 839, "ViewData layout");
static_assert(offsetof(ViewData, reserved867) == 867, "ViewData layout");

// Size of the database header block the host allocates for the library.
constexpr size_t kDbHeaderSize = sizeof(DbHeader);

// One drawing window's database object: the record, and the library
// database behind it.
class CCadDatabase {
public:
    CCadDatabase();           // every field zero, file name empty
    virtual ~CCadDatabase();  // deletes the database unless another window shows it

    // Sets the record up for a new drawing and allocates the database
    // header. drawingIdCounter: the process-wide counter (read only);
    // undoLevel: the undo-level setting; marginRecord: the 61-byte
    // paper-margin record; attributeDefaults: five values (colour, line
    // type, width, line-start kind, line-end kind), out-of-range ones
    // replaced. Always 0; on allocation failure the header stays null.
    int Create(const int* drawingIdCounter, const int* undoLevel, const void* marginRecord,
               const int* attributeDefaults);
    // Frees the database and the header block; nothing when there is none.
    void Delete();

    ViewData m_data;
};

// The record of a view window (window long 0), or null.
ViewData* GetViewData(HWND view);

// Frees the library database of a record and its header block (nothing
// when there is none).
void DeleteRecordDatabase(ViewData& data);
// Makes `view` one more window of the drawing shown in `source`: its own
// database goes, it takes a copy of the source's record (same database,
// same drawing id) numbered one above it, and both count as windows of a
// drawing shown several times. The file lock stays where it is. 1, or 0
// without both records.
int ShareDrawingOfView(HWND view, HWND source);

// Doubles inside packed records may sit at odd offsets: copy them whole.
inline double ReadUnalignedDouble(const void* p) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void WriteUnalignedDouble(void* p, double v) { std::memcpy(p, &v, sizeof v); }
