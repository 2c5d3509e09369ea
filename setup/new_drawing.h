// The data of a new drawing as the new-drawing and start dialogs fill it:
// the paper rows offered, the remembered defaults, the check of the scale
// and custom sizes, and what OK remembers for the next new drawing.
#pragma once

#include <string>
#include <vector>

#include "view/db_info.h"

// The size names of the paper rows 0-27 ("A0" .. "A6", "B0" .. "B6").
std::vector<std::string> PaperSizeNames();
// The row named size + " " + orientation ("A3", "横" → "A3 横"); -1 none.
int PaperRowOf(const std::string& size, const std::string& orientation);
// The standard row (0-27) of a paper code; -1 for a custom or unknown code.
int PaperRowOfCode(int code);
// The remembered scale when it can divide, else the shipped 1/50.
double UsableDefaultScale(double scale);
// The record takes the remembered paper row, scale and sizes (its texts stay).
void TakeNewDrawingDefaults(DbInfoHead& record);

// Title, author and remarks of the record, at most 256 bytes, cut on a
// character boundary.
void SetRecordText(DbInfoHead& record, size_t offset, const std::string& text);
std::string RecordText(const DbInfoHead& record, size_t offset);

// What OK checks: the scale (above 0) and, for the custom row 28, the
// paper and drawing sizes (each above 0).
enum class NewDrawingProblem { None, Scale, PaperSize };
struct NewDrawingChoice {
    int row = 0;         // 0-27 a standard paper, 28 custom
    double scale = 0;    // fraction (0.02 for 1/50)
    double customSize[4] = {};  // paper width, height, drawing width, height (row 28)
};
// Writes the paper, scale and sizes into the record; the record's paper is
// left as it was when a problem is found.
NewDrawingProblem ApplyNewDrawingChoice(DbInfoHead& record, const NewDrawingChoice& choice);
// The next new drawing starts with this record's paper row, scale, sizes and texts.
void RememberNewDrawing(const DbInfoHead& record, int row);
