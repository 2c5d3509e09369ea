// Raster images of drawings: the drawing's raster record (the scanned image
// a TIFF load attaches), the raster requests of the raster command module
// (UM_RASTER_FUNC), the raster snap of the input waits, the rendering of a
// turned and scaled image into a one-bit plane, the quarter turns of the
// stored image, and the work memory they share.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>

#include "cadlib/WmCadApiDb.h"

#pragma pack(push, 1)
// One per drawing, in the database header's extension record (its first
// words are the DbExtRecord words: 1 the TIFF copy, 2 the memo database,
// 3 the image bits, 10 a bitmap). Shared with the raster module by offset.
struct RasterRecord {
    uint32_t word0;         // 0
    uint8_t* tiffData;      // 4   copy of the TIFF file (locked global memory)
    uint32_t memoDb;        // 8   the memo sub-database (not the raster's)
    uint8_t* bits;          // 12  image bits, 1 bit per pixel, rows of (w + 15) / 16 * 2 bytes
    uint8_t reserved16[8];  // 16
    uint32_t tiffLength;    // 24
    uint8_t reserved28[20]; // 28  (word 10 at 40: a bitmap of the record)
    uint32_t width;         // 48  pixels
    uint32_t height;        // 52
    uint8_t reserved56[8];  // 56
    double widthMm;         // 64
    double heightMm;        // 72
    double factorX;         // 80
    double factorY;         // 88
    double left;            // 96
    double top;             // 104
    uint8_t reserved112[16];
};
static_assert(sizeof(RasterRecord) == 128, "raster record");
static_assert(offsetof(RasterRecord, tiffData) == 4 && offsetof(RasterRecord, bits) == 12 &&
                  offsetof(RasterRecord, tiffLength) == 24 && offsetof(RasterRecord, width) == 48 &&
                  offsetof(RasterRecord, height) == 52 && offsetof(RasterRecord, widthMm) == 64 &&
                  offsetof(RasterRecord, heightMm) == 72 && offsetof(RasterRecord, factorX) == 80 &&
                  offsetof(RasterRecord, factorY) == 88 && offsetof(RasterRecord, left) == 96 &&
                  offsetof(RasterRecord, top) == 104,
              "raster record offsets");

// What the TIFF reader's GetHeadfromTIFF fills.
struct RasterTiffHeader {
    uint32_t width;     // 0
    uint32_t height;    // 4
    uint8_t other[6];   // 8  the reader's own fields
    uint32_t xResNum;   // 14
    uint32_t xResDen;   // 18
    uint32_t yResNum;   // 22
    uint32_t yResDen;   // 26
    uint16_t resUnit;   // 30 2 inch, 3 centimetre
};
static_assert(sizeof(RasterTiffHeader) == 32 && offsetof(RasterTiffHeader, xResNum) == 14 &&
                  offsetof(RasterTiffHeader, resUnit) == 30,
              "TIFF header");

// The record of kind 7 (the raster described to the module).
struct RasterDescription {
    uint8_t reserved0[6];
    double left;             // 6
    double top;              // 14
    uint8_t reserved22[8];   // 22
    double factorX;          // 30
    double factorY;          // 38
    uint8_t reserved46[8];   // 46
    int16_t minusOne;        // 54
    int16_t zero;            // 56
    RasterRecord* record;    // 58
};
static_assert(offsetof(RasterDescription, left) == 6 && offsetof(RasterDescription, factorX) == 30 &&
                  offsetof(RasterDescription, minusOne) == 54 && offsetof(RasterDescription, record) == 58,
              "raster description");

// The data record of kind 14: the parameters of RenderRasterPlane.
struct RasterRenderRecord {
    int32_t a, b, c, d, e, f;  // 0 .. 20
    int32_t sourceWidth;       // 24
    int32_t sourceRows;        // 28
    const uint8_t* sourceBits; // 32
    const double* angleAndK;   // 36 two doubles: angle, k
    uint8_t reserved40[12];    // 40
    uint8_t* output;           // 52
    double sx;                 // 56
    double sy;                 // 64
};
static_assert(offsetof(RasterRenderRecord, sourceBits) == 32 && offsetof(RasterRenderRecord, angleAndK) == 36 &&
                  offsetof(RasterRenderRecord, output) == 52 && offsetof(RasterRenderRecord, sx) == 56 &&
                  offsetof(RasterRenderRecord, sy) == 64,
              "raster render record");
#pragma pack(pop)

// Bytes of one image row: pixels padded to 16-bit words.
inline uint32_t RasterRowBytes(uint32_t width) { return (width + 15) / 16 * 2; }

// The raster record of a drawing, null when it has none.
RasterRecord* GetRasterRecord(DbHeader* db);

// A raster operation by kind on the request record (a CmdRequest); the
// kind's result, 0 for an unknown kind.
int ExecRasterRequest(int operation, void* request);
// Kind 1: attaches the TIFF at `data` to the active drawing. 1 done; 0 when
// the reader is missing (the user is told), or the file cannot be read: the
// drawing keeps the image it had.
int LoadTiffRaster(const void* data, uint32_t length);

// The raster snap: the ink point of a raster element near the drawing
// point (x, y) into `out`; 1 when found, 0 when none.
int TransformRasterElement(double x, double y, double* out);
// The same on one raster element record.
int FindRasterInkPoint(const ElementRecord& element, double x, double y, double* out);
// A 3 x 3 cell grid (row-major, 9 cells, 1 = on) that ends or bends a
// stroke at its centre.
bool IsStrokeEndPattern(const int cells[9]);

// Renders a turned and scaled one-bit source into a destination plane:
// into `output` (then 0) or into the work plane, made a monochrome bitmap
// (returned). Null (0) on failure. Never reads outside the source.
uintptr_t RenderRasterPlane(int a, int b, int c, int d, int e, int f, int sourceWidth, int sourceRows,
                            const uint8_t* sourceBits, double angle, double k, uint8_t* output, double sx, double sy);

// Turns the active drawing's raster: asks the user (RotDialog), then turns
// by quarter turns. 1 (also without a raster), 0 when memory runs out.
int RotateActiveRaster(HWND owner = nullptr);
// Turns a raster record: 1 right, 2 left, 3 half a turn; 0 when memory runs out.
int RotateRasterRecord(RasterRecord* record, int turn);
// The rotation question: 1 right, 2 left, 3 half, 0 cancel. Tests replace it.
std::function<int(HWND owner)>& RasterRotateQuestion();

// Reserves the raster work memory sized from the screen; 1, 0 on failure.
int AllocRasterWorkMemory();
// Releases it. 1.
int FreeRasterWorkMemory();
// Size in bytes of the work plane (0 when none).
size_t RasterWorkMemorySize();
