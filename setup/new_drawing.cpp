#include "setup/new_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/dbcs.h"
#include "base/paper_sizes.h"
#include "base/running_settings.h"

namespace {
constexpr double kShippedScale = 0.02;

void Put(DbInfoHead& r, size_t at, double v) { CadSetF64(r.bytes, at, v); }
}  // namespace

std::vector<std::string> PaperSizeNames() {
    std::vector<std::string> names;
    for (int row = 0; row < kCustomPaperRow; ++row) {
        const std::string name(PaperSizeTable[row].name, DbcsBoundary(PaperSizeTable[row].name, 2));
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

int PaperRowOf(const std::string& size, const std::string& orientation) {
    const std::string wanted = size + " " + orientation;
    for (int row = 0; row < kCustomPaperRow; ++row)
        if (wanted == PaperSizeTable[row].name) return row;
    return -1;
}

int PaperRowOfCode(int code) {
    for (int row = 0; row < kCustomPaperRow; ++row)
        if (PaperSizeTable[row].code == code) return row;
    return -1;
}

double UsableDefaultScale(double scale) { return scale > 0 && std::isfinite(scale) ? scale : kShippedScale; }

void TakeNewDrawingDefaults(DbInfoHead& record) {
    const RunningSettings& r = Running();
    const int row = r.iDefPaperType < 0 || r.iDefPaperType > kCustomPaperRow ? 0 : r.iDefPaperType;
    const double scale = UsableDefaultScale(r.dDefPaperScale);
    record.Info()->paperCode = PaperSizeTable[row].code;
    Put(record, kInfoScale, scale);
    Put(record, kInfoPaperWmm, r.dDelPaperCx);
    Put(record, kInfoPaperHmm, r.dDelPaperCy);
    Put(record, kInfoDrawW, r.dDelPaperCx / scale);
    Put(record, kInfoDrawH, r.dDelPaperCy / scale);
}

void SetRecordText(DbInfoHead& record, size_t offset, const std::string& text) {
    char* field = reinterpret_cast<char*>(record.bytes + offset);
    std::memset(field, 0, 257);
    DbcsCopy(field, 257, text.c_str());
}

std::string RecordText(const DbInfoHead& record, size_t offset) {
    const char* field = reinterpret_cast<const char*>(record.bytes + offset);
    return std::string(field, strnlen(field, 256));
}

NewDrawingProblem ApplyNewDrawingChoice(DbInfoHead& record, const NewDrawingChoice& c) {
    if (!(c.scale > 0) || !std::isfinite(c.scale)) return NewDrawingProblem::Scale;
    double w, h;
    int code;
    if (c.row >= 0 && c.row < kCustomPaperRow) {
        w = PaperSizeTable[c.row].width;
        h = PaperSizeTable[c.row].height;
        code = PaperSizeTable[c.row].code;
    } else {
        for (double v : c.customSize)
            if (!(v > 0)) return NewDrawingProblem::PaperSize;
        w = c.customSize[0];
        h = c.customSize[1];
        code = 0;
    }
    record.Info()->paperCode = static_cast<uint16_t>(code);
    Put(record, kInfoPaperWmm, w);
    Put(record, kInfoPaperHmm, h);
    Put(record, kInfoScale, c.scale);
    Put(record, kInfoDrawW, w / c.scale);
    Put(record, kInfoDrawH, h / c.scale);
    return NewDrawingProblem::None;
}

void RememberNewDrawing(const DbInfoHead& record, int row) {
    RunningSettings& r = Running();
    r.dDelPaperCx = CadGetF64(record.bytes, kInfoPaperWmm);
    r.dDelPaperCy = CadGetF64(record.bytes, kInfoPaperHmm);
    r.iDefPaperType = row;
    r.dDefPaperScale = CadGetF64(record.bytes, kInfoScale);
    DbcsCopy(r.szDefPaperStr1, sizeof r.szDefPaperStr1, RecordText(record, kInfoTitle).c_str());
    DbcsCopy(r.szDefPaperStr2, sizeof r.szDefPaperStr2, RecordText(record, kInfoAuthor).c_str());
    DbcsCopy(r.szDefPaperStr3, sizeof r.szDefPaperStr3, RecordText(record, kInfoRemarks).c_str());
}
