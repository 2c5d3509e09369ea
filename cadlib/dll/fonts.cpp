// Font calls: the fonts of the machine, listed once through GDI, and the
// text dictionary sub-codes the library answers.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/text_box.h"

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
// Shift_JIS fonts among them; 3 to 5: vector dictionaries (none here).
CADAPI int ZAVAPI DAriGetFontNum(int kind) {
    const FontList& f = Fonts();
    switch (kind) {
    case 0: return static_cast<int>(f.all.size());
    case 1: return static_cast<int>(f.halfWidth.size());
    case 2: return static_cast<int>(f.fullWidth.size());
    default: return 0;
    }
}

CADAPI const char* ZAVAPI DAriGetFontNm(int kind, int index, int) {
    const FontList& f = Fonts();
    const std::vector<std::string>* v = kind == 1 ? &f.halfWidth : kind == 2 ? &f.fullWidth : &f.all;
    if (index < 0 || static_cast<size_t>(index) >= v->size()) return nullptr;
    return (*v)[index].c_str();
}

CADAPI int ZAVAPI DAriDicFunction(int subCode, void* block) {
    if (!block) return 0;
    switch (subCode) {
    case 13: {
        // Block 0x14e names a font; block 0x008 receives its index or -1.
        uint8_t* b = static_cast<uint8_t*>(block);
        const char* name = static_cast<const char*>(CadGetPtr(b, 0x14e));
        int32_t index = -1;
        if (name) {
            const FontList& f = Fonts();
            std::string n(name, strnlen(name, LF_FACESIZE));
            for (size_t i = 0; i < f.all.size(); ++i)
                if (f.all[i] == n) index = static_cast<int32_t>(i);
        }
        CadSetU32(b, 0x008, static_cast<uint32_t>(index));
        return index >= 0 ? 1 : 0;
    }
    case 18: {
        const ElementRecord* rec = static_cast<const ElementRecord*>(CadGetPtr(block, 0));
        double* out = static_cast<double*>(CadGetPtr(block, sizeof(void*)));
        if (!rec || !out) return 0;
        double c[8];
        if (!cad::TextCorners(*rec, c)) return 0;
        memcpy(out, c, sizeof c);
        return 1;
    }
    default:
        return 0;
    }
}
