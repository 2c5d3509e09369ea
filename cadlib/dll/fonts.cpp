// Font calls: the fonts of the machine, listed once through GDI, and the
// text dictionary sub-codes the library answers.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/text_box.h"
#include "cadlib/dll/vector_dictionary.h"

namespace {

struct FontList {
    std::vector<std::string> all, halfWidth, fullWidth;
};

int CALLBACK OnFont(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lp) {
    FontList* list = reinterpret_cast<FontList*>(lp);
    std::string name(lf->lfFaceName);
    if (name.empty() || name[0] == '@') return 1;  // vertical variants
    if (std::find(list->all.begin(), list->all.end(), name) != list->all.end()) return 1;
    list->all.push_back(name);
    (lf->lfCharSet == SHIFTJIS_CHARSET ? list->fullWidth : list->halfWidth).push_back(name);
    return 1;
}

const FontList& Fonts() {
    static FontList list;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        HDC dc = GetDC(nullptr);
        LOGFONTA lf = {};
        lf.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(dc, &lf, OnFont, reinterpret_cast<LPARAM>(&list), 0);
        ReleaseDC(nullptr, dc);
    }
    return list;
}

}  // namespace

// Kind 0: every font of the machine; 1 and 2: the half-width and the
// Shift_JIS fonts among them; 3 to 5: vector dictionaries 1 to 3, one font
// each while open (none until a caller opens one with sub-code 1).
CADAPI int ZAVAPI DAriGetFontNum(int kind) {
    if (kind >= 3 && kind <= 5) return cad::VectorDictionaryName(kind - 2) ? 1 : 0;
    const FontList& f = Fonts();
    switch (kind) {
    case 0: return static_cast<int>(f.all.size());
    case 1: return static_cast<int>(f.halfWidth.size());
    case 2: return static_cast<int>(f.fullWidth.size());
    default: return 0;
    }
}

CADAPI const char* ZAVAPI DAriGetFontNm(int kind, int index, int) {
    if (kind >= 3 && kind <= 5) return index == 0 ? cad::VectorDictionaryName(kind - 2) : nullptr;
    if (kind < 0 || kind > 5) return nullptr;
    const FontList& f = Fonts();
    const std::vector<std::string>* v = kind == 1 ? &f.halfWidth : kind == 2 ? &f.fullWidth : &f.all;
    if (index < 0 || static_cast<size_t>(index) >= v->size()) return nullptr;
    return (*v)[index].c_str();
}

namespace {

// A text named by a request field: at most `cap` bytes, cut on a character.
std::string TextAt(const char* p, size_t cap) {
    if (!p) return std::string();
    size_t n = strnlen(p, cap);
    std::string s(p, n);
    std::vector<unsigned> chars = cad::SplitCharacters(s.c_str());
    size_t bytes = 0;
    for (unsigned c : chars)
        bytes += c > 0xFF ? 2 : 1;
    s.resize(std::min(bytes, n));
    return s;
}

const size_t kTextCap = 65535;
const size_t kToEnd = static_cast<size_t>(-1);

size_t Count(int32_t v) { return v < 0 ? kToEnd : static_cast<size_t>(v); }

// Sub-codes that take the module's request itself.
int RequestCall(int subCode, FontDicRequest* q) {
    switch (subCode) {
    case 1:  // open dictionary value1 from the font of the machine named in text
        return cad::OpenVectorDictionary(q->value1, TextAt(q->text, sizeof q->text).c_str()) ? 1 : 0;
    case 2:  // close dictionary value1
        return cad::CloseVectorDictionary(q->value1) ? 1 : 0;
    case 20: {  // dictionary value1 (0: the first open): its number and face name
        int n = cad::ResolveVectorDictionary(q->value1);
        q->value2 = n;
        const char* name = n ? cad::VectorDictionaryName(n) : nullptr;
        lstrcpynA(q->text2, name ? name : "", sizeof q->text2);
        return n ? 1 : 0;
    }
    default: return 0;
    }
}

// Length of characters [first, first + count) at a height with a spacing
// between characters: side by side (horizontal) or one cell each (vertical).
bool TextLength(DicBlock* b, size_t first, size_t count, bool vertical) {
    int dic = cad::ResolveVectorDictionary(static_cast<int32_t>(b->word2));
    const char* text = static_cast<const char*>(CadGetPtr(b, 0x14e));
    if (!dic || !text) return false;
    std::vector<unsigned> chars = cad::SplitCharacters(TextAt(text, kTextCap).c_str());
    double h = CadGetF64(b, 0x126), gap = CadGetF64(b, 0x12e);
    size_t n = first >= chars.size() ? 0 : std::min(count, chars.size() - first);
    double len = vertical ? n * h : cad::TextAdvance(dic, chars, first, n) * h;
    if (n > 1) len += gap * (n - 1);
    CadSetF64(b, 0x136, len);
    return true;
}

// The box of the strokes of characters at height 1: width and height.
bool Box(DicBlock* b, int dicNumber, const char* text, size_t first, size_t count, bool vertical) {
    int dic = cad::ResolveVectorDictionary(dicNumber);
    if (!dic || !text) return false;
    std::vector<unsigned> chars = cad::SplitCharacters(TextAt(text, kTextCap).c_str());
    cad::TextBox box = cad::StrokeBox(dic, chars, first, count, vertical);
    CadSetF64(b, 0x126, box.width);
    CadSetF64(b, 0x12e, box.height);
    return true;
}

}  // namespace

CADAPI int ZAVAPI DAriDicFunction(int subCode, void* block) {
    if (!block) return 0;
    if (subCode == 1 || subCode == 2 || subCode == 20) return RequestCall(subCode, static_cast<FontDicRequest*>(block));
    DicBlock* b = static_cast<DicBlock*>(block);
    if (subCode == 18) {
        // The views pass only {record, corners}: nothing past them is read.
        if (!b->record || !b->corners) return 0;
        double c[8];
        if (!cad::TextCorners(*b->record, c)) return 0;
        memcpy(b->corners, c, sizeof c);
        return 1;
    }
    const char* word1Text = static_cast<const char*>(CadGetPtr(b, 0x14e));
    const char* word2Text = static_cast<const char*>(CadGetPtr(b, 0x152));
    switch (subCode) {
    case 3: {  // points of the strokes of the text word1 in dictionary word2
        int dic = cad::ResolveVectorDictionary(static_cast<int32_t>(b->word2));
        if (!dic || !word1Text) return 0;
        std::vector<unsigned> chars = cad::SplitCharacters(TextAt(word1Text, kTextCap).c_str());
        return static_cast<int>(cad::PointCount(dic, chars, 0, kToEnd));
    }
    case 4: return TextLength(b, 0, kToEnd, false) ? 1 : 0;
    case 6: return TextLength(b, 0, kToEnd, true) ? 1 : 0;
    case 5: return TextLength(b, Count(b->value1), Count(b->value2), false) ? 1 : 0;
    case 7: return TextLength(b, Count(b->value1), Count(b->value2), true) ? 1 : 0;
    case 8:    // horizontal length at height 1 in the first open dictionary
    case 9: {  // vertical length at height 1: the number of characters
        if (!word1Text) return 0;
        std::vector<unsigned> chars = cad::SplitCharacters(TextAt(word1Text, kTextCap).c_str());
        if (subCode == 9) {
            CadSetF64(b, 0x126, static_cast<double>(chars.size()));
            return 1;
        }
        int dic = cad::ResolveVectorDictionary(0);
        if (!dic) return 0;
        CadSetF64(b, 0x126, cad::TextAdvance(dic, chars, 0, kToEnd));
        return 1;
    }
    case 10: return Box(b, static_cast<int32_t>(b->word1), word2Text, 0, kToEnd, false) ? 1 : 0;
    case 12: return Box(b, static_cast<int32_t>(b->word1), word2Text, 0, kToEnd, true) ? 1 : 0;
    case 11:
        return Box(b, static_cast<int32_t>(b->word1), word2Text, Count(b->value1), Count(b->value2), b->value3 != 0)
                   ? 1
                   : 0;
    case 13: {
        // Block 0x14e names a font; block 0x008 receives its index or -1.
        int32_t index = -1;
        if (word1Text) {
            const FontList& f = Fonts();
            std::string n(word1Text, strnlen(word1Text, LF_FACESIZE));
            for (size_t i = 0; i < f.all.size(); ++i)
                if (f.all[i] == n) index = static_cast<int32_t>(i);
        }
        b->value1 = index;
        return index >= 0 ? 1 : 0;
    }
    case 14: {  // strokes of characters [value1, value1 + value2) of text word2
        int dic = cad::ResolveVectorDictionary(static_cast<int32_t>(b->word1));
        if (!dic || !word2Text) return 0;
        std::vector<unsigned> chars = cad::SplitCharacters(TextAt(word2Text, kTextCap).c_str());
        CadSetF64(b, 0x126, static_cast<double>(cad::StrokeCount(dic, chars, Count(b->value1), Count(b->value2))));
        return 1;
    }
    case 15: return Box(b, 0, word1Text, 0, kToEnd, false) ? 1 : 0;
    case 16: return Box(b, 0, word1Text, 0, kToEnd, true) ? 1 : 0;
    case 17: {  // character value1 of text word1: its advance and its offset from the start
        int dic = cad::ResolveVectorDictionary(0);
        if (!dic || !word1Text || b->value1 < 0) return 0;
        std::vector<unsigned> chars = cad::SplitCharacters(TextAt(word1Text, kTextCap).c_str());
        size_t i = static_cast<size_t>(b->value1);
        if (i >= chars.size()) return 0;
        CadSetF64(b, 0x126, cad::TextAdvance(dic, chars, i, 1));
        CadSetF64(b, 0x12e, cad::TextAdvance(dic, chars, 0, i));
        return 1;
    }
    case 21: {  // name of font value2 of kind value1 into the 262-byte area at word1
        char* out = reinterpret_cast<char*>(CadGetPtr(b, 0x14e));
        const char* name = DAriGetFontNm(b->value1, b->value2, 0);
        if (!out || !name) return 0;
        lstrcpynA(out, name, 262);
        return 1;
    }
    default:  // 22 releases a handle: dictionaries are numbers, nothing to release
        return 0;
    }
}
