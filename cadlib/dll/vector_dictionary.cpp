// Vector dictionaries built from the outlines of a font of the machine: a
// character is drawn once as a flattened GDI path into a memory device
// context and kept as polylines; later requests use the kept strokes.
#include "cadlib/dll/vector_dictionary.h"

#include "cadlib/core/database.h"

#include <windows.h>

#include <algorithm>
#include <cfloat>
#include <map>
#include <memory>
#include <mutex>

namespace cad {
namespace {

const int kEm = 256;  // height of the outlines taken, in pixels

struct Dictionary {
    std::string face;
    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ oldFont = nullptr;
    double cell = kEm;
    std::map<unsigned, VectorGlyph> glyphs;
    ~Dictionary() {
        if (dc) {
            SelectObject(dc, oldFont);
            DeleteDC(dc);
        }
        if (font) DeleteObject(font);
    }
};

std::mutex g_lock;
std::unique_ptr<Dictionary> g_dicts[3];

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

void Outline(Dictionary& d, unsigned ch, VectorGlyph& g) {
    char bytes[2];
    int n = 0;
    if (ch > 0xFF) bytes[n++] = static_cast<char>(ch >> 8);
    bytes[n++] = static_cast<char>(ch & 0xFF);
    wchar_t wide[2];
    int wn = MultiByteToWideChar(932, 0, bytes, n, wide, 2);
    if (wn <= 0) return;
    SIZE size = {};
    if (GetTextExtentPoint32W(d.dc, wide, wn, &size)) g.advance = size.cx / d.cell;
    if (!BeginPath(d.dc)) return;
    TextOutW(d.dc, 0, 0, wide, wn);
    EndPath(d.dc);
    FlattenPath(d.dc);
    int count = GetPath(d.dc, nullptr, nullptr, 0);
    if (count <= 0) return;
    std::vector<POINT> pts(count);
    std::vector<BYTE> types(count);
    count = GetPath(d.dc, pts.data(), types.data(), count);
    std::vector<VecPoint>* stroke = nullptr;
    for (int i = 0; i < count; ++i) {
        // Outlines are y down from the cell top; strokes are y up from the cell bottom.
        VecPoint p = {pts[i].x / d.cell, (d.cell - pts[i].y) / d.cell};
        BYTE t = types[i] & ~PT_CLOSEFIGURE;
        if (t == PT_MOVETO || !stroke) {
            g.strokes.emplace_back();
            stroke = &g.strokes.back();
        }
        stroke->push_back(p);
        if ((types[i] & PT_CLOSEFIGURE) && !stroke->empty()) {
            stroke->push_back(stroke->front());
            stroke = nullptr;
        }
    }
}

Dictionary* Get(int number) {
    int n = ResolveVectorDictionary(number);
    return n ? g_dicts[n - 1].get() : nullptr;
}

template <typename F>
void ForEachChar(int number, const std::vector<unsigned>& chars, size_t first, size_t count, F f) {
    size_t end = count > chars.size() - std::min(first, chars.size()) ? chars.size() : first + count;
    for (size_t i = first; i < end; ++i) {
        const VectorGlyph* g = GlyphOf(number, chars[i]);
        if (g) f(i, *g);
    }
}

}  // namespace

bool OpenVectorDictionary(int number, const char* faceName) {
    if (number < 1 || number > 3 || !faceName) return false;
    size_t len = strnlen(faceName, LF_FACESIZE);
    if (len == 0 || len >= LF_FACESIZE) return false;
    std::unique_ptr<Dictionary> d(new Dictionary);
    d->face.assign(faceName, len);
    d->font = CreateFontA(-kEm, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                          ANTIALIASED_QUALITY, DEFAULT_PITCH, d->face.c_str());
    d->dc = CreateCompatibleDC(nullptr);
    if (!d->font || !d->dc) return false;
    d->oldFont = SelectObject(d->dc, d->font);
    // The font mapper substitutes a font it lacks: only the font asked for opens.
    char actual[LF_FACESIZE] = {};
    GetTextFaceA(d->dc, LF_FACESIZE, actual);
    if (lstrcmpiA(actual, d->face.c_str()) != 0) return false;
    TEXTMETRICA tm = {};
    if (GetTextMetricsA(d->dc, &tm) && tm.tmHeight > 0) d->cell = tm.tmHeight;
    SetBkMode(d->dc, TRANSPARENT);
    std::lock_guard<std::mutex> hold(g_lock);
    g_dicts[number - 1] = std::move(d);
    return true;
}

bool CloseVectorDictionary(int number) {
    if (number < 1 || number > 3) return false;
    std::lock_guard<std::mutex> hold(g_lock);
    bool was = g_dicts[number - 1] != nullptr;
    g_dicts[number - 1].reset();
    return was;
}

const char* VectorDictionaryName(int number) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (number < 1 || number > 3 || !g_dicts[number - 1]) return nullptr;
    return g_dicts[number - 1]->face.c_str();
}

int ResolveVectorDictionary(int number) {
    if (number >= 1 && number <= 3) return g_dicts[number - 1] ? number : 0;
    if (number != 0) return 0;
    for (int i = 0; i < 3; ++i)
        if (g_dicts[i]) return i + 1;
    return 0;
}

std::vector<unsigned> SplitCharacters(const char* text) {
    std::vector<unsigned> out;
    if (!text) return out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; p[i] && i < 65535; ++i) {
        if (IsLead(p[i]) && p[i + 1]) {
            out.push_back((p[i] << 8) | p[i + 1]);
            ++i;
        } else {
            out.push_back(p[i]);
        }
    }
    return out;
}

const VectorGlyph* GlyphOf(int number, unsigned ch) {
    std::lock_guard<std::mutex> hold(g_lock);
    Dictionary* d = Get(number);
    if (!d) return nullptr;
    auto it = d->glyphs.find(ch);
    if (it != d->glyphs.end()) return &it->second;
    VectorGlyph& g = d->glyphs[ch];
    Outline(*d, ch, g);
    return &g;
}

bool ProportionalWidths() {
    // The "iVectFontWidth" setting: non-zero (the default) takes each
    // character's own advance, 0 a fixed pitch of half a cell for a
    // single-byte and a whole cell for a double-byte character.
    const auto& ints = GlobalSettings().ints;
    auto it = ints.find("iVectFontWidth");
    return it == ints.end() || it->second != 0;
}

double TextAdvance(int number, const std::vector<unsigned>& chars, size_t first, size_t count) {
    double sum = 0.0;
    bool proportional = ProportionalWidths();
    ForEachChar(number, chars, first, count, [&](size_t i, const VectorGlyph& g) {
        sum += proportional ? g.advance : (chars[i] > 0xFF ? 1.0 : 0.5);
    });
    return sum;
}

TextBox StrokeBox(int number, const std::vector<unsigned>& chars, size_t first, size_t count, bool vertical) {
    double x0 = DBL_MAX, y0 = DBL_MAX, x1 = -DBL_MAX, y1 = -DBL_MAX;
    double pen = 0.0;
    bool proportional = ProportionalWidths();
    ForEachChar(number, chars, first, count, [&](size_t i, const VectorGlyph& g) {
        double dx = vertical ? 0.0 : pen, dy = vertical ? -static_cast<double>(i - first) : 0.0;
        for (auto& s : g.strokes)
            for (auto& p : s) {
                x0 = std::min(x0, p.x + dx);
                x1 = std::max(x1, p.x + dx);
                y0 = std::min(y0, p.y + dy);
                y1 = std::max(y1, p.y + dy);
            }
        pen += proportional ? g.advance : (chars[i] > 0xFF ? 1.0 : 0.5);
    });
    TextBox box;
    if (x1 >= x0) {
        box.width = x1 - x0;
        box.height = y1 - y0;
    }
    return box;
}

size_t StrokeCount(int number, const std::vector<unsigned>& chars, size_t first, size_t count) {
    size_t n = 0;
    ForEachChar(number, chars, first, count, [&](size_t, const VectorGlyph& g) { n += g.strokes.size(); });
    return n;
}

size_t PointCount(int number, const std::vector<unsigned>& chars, size_t first, size_t count) {
    size_t n = 0;
    ForEachChar(number, chars, first, count, [&](size_t, const VectorGlyph& g) {
        for (auto& s : g.strokes)
            n += s.size();
    });
    return n;
}

}  // namespace cad
