#include "panels/attr_selector_model.h"

#include <cstring>

#include "base/csv_parser.h"
#include "base/file_utils.h"
#include "command/host_hooks.h"
#include "panels/tool_panel_links.h"

namespace {

const char* const kLineEndTexts[] = {
    "0,無し,0",     "1,矢印,1",     "2,黒丸,2",   "3,四角,3",   "4,斜め,4",
    "5,黒三角,5",   "6,丸,6",       "7,白丸,7",   "8,黒四角,8", "9,片矢印,9",
    "10,上付き線,10", "11,三角,11", "12,三角２,12", "13,波線,13", "14,無し,0",
};

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

DbInfo* ActiveInfo() {
    DbHeader* db = HostHooks().activeDb ? static_cast<DbHeader*>(HostHooks().activeDb()) : nullptr;
    return db ? DAriGetDbInfoPtr(0, db) : nullptr;
}

}  // namespace

std::vector<LineEndItem> ParseLineEndItems(const char* const* texts, int count) {
    std::vector<LineEndItem> items;
    CCsvParser csv;
    for (int i = 0; i < count; ++i) {
        csv.Parse(texts[i]);
        if (csv.GetCount() < 3) continue;
        items.push_back({atoi(Trim(csv[0]).c_str()), Trim(csv[1]), atoi(Trim(csv[2]).c_str())});
    }
    return items;
}

const std::vector<LineEndItem>& DefaultLineEndItems() {
    static const std::vector<LineEndItem> items =
        ParseLineEndItems(kLineEndTexts, sizeof kLineEndTexts / sizeof kLineEndTexts[0]);
    return items;
}

std::vector<COLORREF> SelectorColours(bool contrast) {
    std::vector<COLORREF> out(256);
    if (DbInfo* info = ActiveInfo()) {
        auto adjust = contrast ? ToolPanelHost().contrastColor : nullptr;
        for (int n = 1; n <= 256; ++n) {
            const ColourEntry& e = info->colours[n];
            const COLORREF c = RGB(e.red & 0xFF, e.green & 0xFF, e.blue & 0xFF);
            out[n - 1] = adjust ? adjust(c) : c;
        }
        return out;
    }
    static std::vector<ColourEntry> pens;
    if (pens.empty()) {
        pens.resize(257);
        DariStyleGet(pens.data(), nullptr, nullptr);
    }
    for (int n = 1; n <= 256; ++n)
        out[n - 1] = RGB(pens[n].red & 0xFF, pens[n].green & 0xFF, pens[n].blue & 0xFF);
    return out;
}

LineTypeEntry SelectorLineType(int number) {
    if (number < 0 || number >= 32) number = 0;
    if (DbInfo* info = ActiveInfo()) return info->lineTypes[number];
    static std::vector<LineTypeEntry> types;
    if (types.empty()) {
        types.resize(32);
        DariStyleGet(nullptr, types.data(), nullptr);
    }
    return types[number];
}

double GetLineWidthValue(int index) {
    if (index < 0 || index >= 16) index = 0;
    double widths[16];
    if (DbInfo* info = ActiveInfo())
        std::memcpy(widths, info->widths, sizeof widths);
    else
        DariStyleGet(nullptr, nullptr, widths);
    return widths[index];
}

std::string GetLineWidthText(int index) {
    if (index < 0 || index >= 16) return std::string();
    return FormatDouble(GetLineWidthValue(index), 15, 1);
}

void AttrSelectorModel::Load() {
    if (kind == AttrKind::Colour) colours = SelectorColours();
    if (kind == AttrKind::LineEnd) lineEnds = DefaultLineEndItems();
}

int AttrSelectorModel::Count() const {
    switch (kind) {
    case AttrKind::Colour: return (int)colours.size();
    case AttrKind::LineType: return 32;
    case AttrKind::LineWidth: return 16;
    case AttrKind::LineEnd: return (int)lineEnds.size();
    }
    return 0;
}
