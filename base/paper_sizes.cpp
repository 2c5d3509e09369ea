#include "base/paper_sizes.h"

#include <cstring>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"

namespace {
const PaperSizeRow kPaperRows[kPaperRowCount] = {
    {"A0 横", 16, 841, 1189},   {"A1 横", 17, 594, 841},      {"A2 横", 18, 420, 594},     {"A3 横", 19, 297, 420},
    {"A4 横", 20, 210, 297},    {"A5 横", 21, 148, 210},      {"A6 横", 22, 105, 148},     {"A0 縦", 32784, 1189, 841},
    {"A1 縦", 32785, 841, 594}, {"A2 縦", 32786, 594, 420},   {"A3 縦", 32787, 420, 297},  {"A4 縦", 32788, 297, 210},
    {"A5 縦", 32789, 210, 148}, {"A6 縦", 32790, 148, 105},   {"B0 横", 32, 1030, 1456},   {"B1 横", 33, 728, 1030},
    {"B2 横", 34, 515, 728},    {"B3 横", 35, 364, 515},      {"B4 横", 36, 257, 364},     {"B5 横", 37, 182, 257},
    {"B6 横", 38, 128, 182},    {"B0 縦", 32800, 1456, 1030}, {"B1 縦", 32801, 1030, 728}, {"B2 縦", 32802, 728, 515},
    {"B3 縦", 32803, 515, 364}, {"B4 縦", 32804, 364, 257},   {"B5 縦", 32805, 257, 182},  {"B6 縦", 32806, 182, 128},
    {"その他", 0, 0, 0},
};
}  // namespace

PaperSizeRow PaperSizeTable[kPaperRowCount];

void BuildPaperSizeTable() {
    std::memcpy(PaperSizeTable, kPaperRows, sizeof PaperSizeTable);
    for (int i = 0; i < kCustomPaperRow; ++i) {
        std::memset(PaperSizeTable[i].name, 0, sizeof PaperSizeTable[i].name);
        DbcsCopy(PaperSizeTable[i].name, sizeof PaperSizeTable[i].name, GetMessageText(IDS_PAPER_SIZE_FIRST + i));
    }
}
