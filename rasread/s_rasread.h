// The TIFF reader s_rasread.dll: the header of a TIFF held in memory and its
// pixels as a packed one-bit image. The host loads the library by name and
// finds the two functions by their undecorated names; it declares the header
// layout itself (view/raster.h), so this header serves the library and tests.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "base/api_decl.h"

#pragma pack(push, 1)
struct TiffHeadRecord {
    uint32_t width;          // 0  pixels
    uint32_t height;         // 4
    uint16_t bitsPerSample;  // 8  1 for a bilevel scan
    uint16_t compression;    // 10 1 none, 2/3/4 fax codings, 5 LZW, 32773 PackBits ...
    uint16_t photometric;    // 12 0 white is zero, 1 black is zero
    uint32_t xResNum;        // 14
    uint32_t xResDen;        // 18
    uint32_t yResNum;        // 22
    uint32_t yResDen;        // 26
    uint16_t resUnit;        // 30 1 none, 2 inch, 3 centimetre
};
#pragma pack(pop)
static_assert(sizeof(TiffHeadRecord) == 32, "TIFF header record");
static_assert(offsetof(TiffHeadRecord, xResNum) == 14 && offsetof(TiffHeadRecord, yResDen) == 26 &&
                  offsetof(TiffHeadRecord, resUnit) == 30,
              "TIFF header record offsets");

// Fills `header` from the first image directory of the TIFF at `data`;
// non-zero on success, 0 for data that is not a TIFF or that ends early.
ZAV_EXTERN_C int ZAVAPI GetHeadfromTIFF(const void* data, uint32_t length, TiffHeadRecord* header);
// Decodes the first image: one bit per pixel, ink (black) set, most
// significant bit first, rows padded to 16-bit words. The bits live in
// locked moveable global memory, which the caller frees (GlobalHandle,
// GlobalUnlock, GlobalFree). Null when the image cannot be decoded.
ZAV_EXTERN_C void* ZAVAPI GetBMPfromTIFF(const void* data, uint32_t length, uint32_t* width, uint32_t* height);
