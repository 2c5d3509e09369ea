#include "command/link_tags.h"

#include <cstring>

#include "base/local_settings_ini.h"
#include "view/view_coords.h"
#include "view/view_data.h"

namespace {

constexpr const char kMagic[] = "KOLTA";
constexpr size_t kHead = 10;      // magic, width code, count, reserved
constexpr size_t kKeyWidth = 8;
constexpr size_t kTextBuffer = 300;

// The part of [from, from + n) inside the text, cut at its first blank.
std::string Field(const char* text, size_t length, size_t from, size_t n) {
    if (from >= length) return std::string();
    if (from + n > length) n = length - from;
    std::string field(text + from, n);
    const size_t blank = field.find(' ');
    if (blank != std::string::npos) field.resize(blank);
    return field;
}

bool Matches(const LinkTagEntries& link, const char* key, const char* value) {
    if (!link.valid) return false;
    const bool all = (!key && !value) || (key && value && !key[0] && !value[0]);
    if (all) return true;
    for (int i = 0; i < link.parsed; ++i) {
        const auto& e = link.entries[i];
        if (key && e.key != key) continue;
        if (value && e.value != value) continue;
        return true;
    }
    return false;
}

// The temporary search settings of the link click: every kind of element,
// on every page and layer, locked layers included.
SearchOptionRecord LinkClickSearch() {
    SearchOptionRecord r = {};
    const int32_t words[7] = {3, 0xCFFFF, -1, 0xFFFF, 0xFFFFFE, 255, 255};
    std::memcpy(r.words, words, sizeof words);
    return r;
}

}  // namespace

LinkTagEntries ParseLinkText(const char* text) {
    LinkTagEntries link;
    if (!text) return link;
    const size_t length = strnlen(text, kTextBuffer);
    if (length < kHead || std::strncmp(text, kMagic, 5) != 0) return link;
    link.valid = true;
    const size_t width = text[5] == '1' ? 10 : 16;
    link.count = (text[6] >= '0' && text[6] <= '9') ? text[6] - '0' : 0;
    for (int i = 0; i < link.count && i < 9; ++i) {
        const size_t at = kHead + static_cast<size_t>(i) * (kKeyWidth + width);
        if (at >= length) break;
        auto& e = link.entries[link.parsed++];
        e.key = Field(text, length, at, kKeyWidth);
        e.value = Field(text, length, at + kKeyWidth, width);
        if (e.key == "Z01LINK") break;
    }
    return link;
}

CadMark* FindLinkTagElements(DbHeader* db, const char* key, const char* value) {
    if (!db) return nullptr;
    CadMark* mark = nullptr;
    ElementRecord record;
    char text[kTextBuffer];
    for (StoredElement* e = DAriReadElement(nullptr, 0, &record, db); e;
         e = DAriReadElement(e, 1, &record, db)) {
        if (!DAriGetTag(e, kLinkTag)) continue;
        text[0] = '\0';
        if (!DAriGetTagString(e, text)) continue;
        text[kTextBuffer - 1] = '\0';
        if (!Matches(ParseLinkText(text), key, value)) continue;
        if (!mark) mark = DAriCreateMark(db);
        if (!mark) return nullptr;
        if (!DAriChkMark(e, mark)) DAriSetMark(e, mark);
    }
    return mark;
}

int FindLinkTagAtPoint(HWND view, const double point[3], int) {
    ViewData* data = GetViewData(view);
    if (!data || !data->db) return 0;
    CadMark* linked = FindLinkTagElements(data->db, "Z01LINK", nullptr);
    if (!linked) return 0;
    SearchOptionRecord saved = {};
    DAriDbGetSerch(&saved);
    const SearchOptionRecord search = LinkClickSearch();
    DAriDbSetSerch(&search);
    const double distance = LocalIni().iCursorFindArea * GetViewUnitsPerPixel();
    CadMark* hit = DAriGetElementMarkByPointWithMark({point[0], point[1], point[2]}, distance,
                                                     data->db, data, linked);
    DAriDbSetSerch(&saved);
    int result = 0;
    if (hit && DAriGetMarkNum(hit) > 0 && DAriGetBackMark(nullptr, hit)) result = 1;
    if (hit) DAriDestroyMark(hit);
    DAriDestroyMark(linked);
    return result;
}
