// Where the values of the line-attribute selectors come from: the active
// drawing's tables, or the CAD library's defaults without one, and the
// fixed list of line ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"

enum class AttrKind { Colour, LineType, LineWidth, LineEnd };

struct LineEndItem {
    int number;
    std::string name;
    int type;
};

// The fixed list of line-end symbols (15 entries, positions 0 to 14).
const std::vector<LineEndItem>& DefaultLineEndItems();
// Builds a list from "number,name,type" texts; fields are trimmed and an
// entry with fewer than 3 fields is skipped.
std::vector<LineEndItem> ParseLineEndItems(const char* const* texts, int count);

// The 256 colours of pens 1..256 of the active drawing (passed through the
// contrast rule unless `contrast` is false), or the library's default pens
// without one.
std::vector<COLORREF> SelectorColours(bool contrast = true);
// Line type `number` (0..31) of the active drawing or the library; an index
// outside the list gives entry 0.
LineTypeEntry SelectorLineType(int number);
// Width `index` (0..15) in millimetres; any other index gives index 0's.
double GetLineWidthValue(int index);
// Its text (15 digits, trailing zeros stripped); "" outside 0..15.
std::string GetLineWidthText(int index);

// One selector's or dialog list's state: the current index and flags
// (0x1 button mode, 0x2 compact look), the items of its kind.
struct AttrSelectorModel {
    enum { kButtonMode = 0x1, kCompact = 0x2 };
    explicit AttrSelectorModel(AttrKind k) : kind(k) {}
    AttrKind kind;
    int index = 0;
    int flags = kCompact;
    std::vector<COLORREF> colours;      // colours: entry i is colour number i + 1
    std::vector<LineEndItem> lineEnds;  // line ends

    // Loads the items of the kind (colours and line ends; line types and
    // widths are read afresh at each use).
    void Load();
    // Number of entries of the drop list.
    int Count() const;
    // The number shown for an index (colour number, else the index).
    int NumberOf(int i) const { return kind == AttrKind::Colour ? i + 1 : i; }
    bool Contains(int i) const { return i >= 0 && i < Count(); }
};
