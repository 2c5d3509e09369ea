// What the two versions of the drawing file share inside the library: the
// failure that ends a load, the record fields that point into memory, and
// the sections of trees of elements (figure definitions, the drawing's
// elements) as each version writes and reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/spatial_index.h"

namespace cad {

struct Database;

const size_t kMaxText = 65535;

// A load ends with these status bits.
struct LoadError {
    uint32_t bits;
};
[[noreturn]] void Fail(uint32_t bits);

struct ElementExt;
// Which extras an element carries: bit 0 tags, 1 tag text, 2 user data,
// 3 extra-data slots.
uint8_t ExtFlags(const ElementExt* x);

// The fields of a record that point into memory, zeroed.
void ClearPointers(ElementRecord& rec);

// A placed figure read from a file and the 1-based number of the definition
// it names (0: none). Resolved once every definition is known.
struct PlacedFigure {
    StoredElement* element;
    int32_t index;
};
// Links a placed figure to definition `index`; false when there is none.
bool ResolveFigure(Database& db, StoredElement* e, int32_t index);

// A section of trees as the file stores it.
struct TreeSection {
    std::string bytes;
    uint32_t items = 0;  // top-level elements
    uint32_t crc = 0;    // of `bytes`
};

// Version 1: every node as its whole record. Kept for reading the files of
// that version and for writing the fixtures that prove it. Placed figures
// are listed in `refs`.
TreeSection WriteTreesV1(Database& db, bool figures);
void ReadTreesV1(const char* data, size_t size, Database& db, bool figures, std::vector<PlacedFigure>& refs);

// Version 2: nodes as the cells their kinds use, in compressed batches
// written and read side by side. `stored` is the section as the file has it
// (checked against `crc` here). Placed figures inside definitions are listed
// in `refs`; those among the drawing's elements are linked at once (the
// definitions are read by then), and `badFigure` tells that one named a
// definition the file does not hold. `boxes` receives the index boxes of the
// top-level elements in chain order (may be null).
TreeSection WriteTrees(Database& db, bool figures);
// Test seam: nodes a batch aims at (0: the usual 16,384), so that small
// drawings make files of many batches.
void SetTreeBatchNodes(uint32_t nodes);
void ReadTrees(const uint8_t* stored, size_t size, uint32_t crc, Database& db, bool figures,
               std::vector<IndexEntry>* boxes, std::vector<PlacedFigure>& refs, bool& badFigure);

}  // namespace cad
