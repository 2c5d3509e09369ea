// Attribute pick-up: checks an element's attribute values, optionally shows
// them in the confirmation dialog "属性取り込み", and tells the caller
// whether the element's page and layer are to become current too.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The attribute part of an element record as the pick-up reads it.
#pragma pack(push, 1)
struct PickedElementAttrs {
    uint16_t type;  // 0: 1 line ... 7 elliptical arc
    uint16_t reserved2;
    uint16_t layer;  // 4: 0-based
    uint8_t pageKind;  // 6: 0 model page, else layout page
    int32_t page;      // 7
    uint16_t colour;   // 11
    uint8_t lineType;  // 13
    uint8_t lineWidth;  // 14
    uint8_t lineStart;  // 15
    uint8_t lineEnd;    // 16
    uint8_t rest[157];  // 17 .. 173: by kind (a text's settings: PickedTextOf)
};
#pragma pack(pop)
static_assert(sizeof(PickedElementAttrs) == 174, "element record");
static_assert(offsetof(PickedElementAttrs, page) == 7 && offsetof(PickedElementAttrs, colour) == 11, "layout");
static_assert(offsetof(PickedElementAttrs, lineEnd) == 16, "layout");

// A text's settings where the CAD library keeps them in its record:
// character height, the width over the height, spacing and the font name.
struct PickedText {
    double height = 0;
    double aspect = 0;
    double spacing = 0;
    char font[33] = {};
};
PickedText PickedTextOf(const void* element);

// The text naming the out-of-range values ("レイヤ:%d 色:%d ..." without
// leading and trailing blanks), empty when every value is in range. Layers
// 0..1023 pass (a refused one is shown numbered from 1), colours 1..256, line types 0..31,
// widths 0..15.
std::string AttrRangeErrors(const PickedElementAttrs& e);

// 1: take the attributes over; 0: rejected (message shown) or cancelled.
// *takeLayer (when given) says whether the element's page and layer become
// current; not written for a rejected element.
int PickUpElementAttributes(const void* element, int* takeLayer);

// The factor that the text sizes of a page are shown with: the drawing's
// scale, times the page's placement scale and own scale for a page above
// 0. 1 when found, 0 without an active drawing or with a scale below 1e-8.
int GetTextScaleFactor(int page, double* factor);
