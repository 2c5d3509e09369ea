// The paper sizes offered wherever a drawing's paper is chosen: 28 named
// rows (A0-A6, B0-B6, landscape and upright) and the custom row last.
// Every layer that shows or stores a paper reads this one table.
#pragma once

#include <cstdint>

#pragma pack(push, 1)
struct PaperSizeRow {
    char name[30];
    uint16_t code;  // low byte: series (1 A, 2 B) << 4 | size; bit 15 upright
    double height;  // mm
    double width;   // mm
};
#pragma pack(pop)
static_assert(sizeof(PaperSizeRow) == 48, "paper size row");

constexpr int kPaperRowCount = 29;
constexpr int kCustomPaperRow = 28;

extern PaperSizeRow PaperSizeTable[kPaperRowCount];
// Fills the table, the names from the message table (so a translated
// message file renames them).
void BuildPaperSizeTable();
