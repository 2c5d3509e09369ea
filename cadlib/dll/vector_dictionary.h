// Vector dictionaries (font kinds 3 to 5): the strokes of the characters of
// a font of the machine, taken once from its outlines and kept as polylines
// in units of the character height, for text drawn and measured as lines.
#pragma once

#include <string>
#include <vector>

namespace cad {

struct VecPoint {
    double x, y;
};

// One character: its advance and its strokes, at character height 1 with
// the origin on the baseline at the left and y up.
struct VectorGlyph {
    double advance = 0.0;
    std::vector<std::vector<VecPoint>> strokes;
};

struct TextBox {
    double width = 0.0, height = 0.0;
};

// Dictionaries 1 to 3 (font kinds 3 to 5). A dictionary is open while it
// holds a font; the calls below take 0 for the first open dictionary.
bool OpenVectorDictionary(int number, const char* faceName);
bool CloseVectorDictionary(int number);
// The face name of an open dictionary, or null.
const char* VectorDictionaryName(int number);
// The number of an open dictionary (the first open one for 0), or 0.
int ResolveVectorDictionary(int number);

// Characters of a code page 932 text, each one or two bytes.
std::vector<unsigned> SplitCharacters(const char* text);
// The glyph of a character in an open dictionary (an empty glyph with the
// advance of a blank when the font lacks it), or null when not open.
const VectorGlyph* GlyphOf(int number, unsigned ch);

// Measures of characters [first, first + count) of a text (count < 0: to
// its end) at character height 1. Horizontal: advances side by side (each
// character's own, or a fixed pitch while the "iVectFontWidth" setting is
// 0); vertical: one full cell per character, top to bottom.
double TextAdvance(int number, const std::vector<unsigned>& chars, size_t first, size_t count);
TextBox StrokeBox(int number, const std::vector<unsigned>& chars, size_t first, size_t count, bool vertical);
size_t StrokeCount(int number, const std::vector<unsigned>& chars, size_t first, size_t count);
size_t PointCount(int number, const std::vector<unsigned>& chars, size_t first, size_t count);

}  // namespace cad
