// An element record cut into the cells of its kind's fields (a double, a
// word, a byte, or up to eight bytes of what the kind leaves unused), so
// that a file stores only the cells that are not zero: a line keeps its
// colour and four coordinates, not 174 bytes. Every byte after the kind
// word belongs to exactly one cell, so nothing a caller put in a record is
// lost, whatever its kind uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cadlib/WmCadApiDb.h"

namespace cad {

struct CellLayout {
    uint8_t count;       // cells of the kind (at most 64)
    uint8_t offset[64];  // first byte of each cell, ascending from 2
    uint8_t length[64];  // 1 to 8
};

// The cells of a kind (every kind number has a layout; unknown kinds use
// the plain eight-byte grid).
const CellLayout& CellsOf(uint16_t kind);

// Bit i set: cell i holds a byte that is not zero. Appends those cells'
// bytes to `out` (which must have room for 172 bytes) and returns the end.
uint8_t* PackCells(const ElementRecord& rec, uint64_t& mask, uint8_t* out);

// Fills the cells that `mask` names from `in` (the others stay as they are:
// the caller starts from a zeroed record) and tells the bytes read. False
// when the mask names a cell the kind does not have or `size` is too short.
bool UnpackCells(ElementRecord& rec, uint64_t mask, const uint8_t* in, size_t size, size_t& used);

}  // namespace cad
