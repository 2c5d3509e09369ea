// The library's default pen colours, line types and line widths: the tables
// every new drawing starts with and DariStyleGet hands out.
#include "cadlib/core/styles.h"

#include <cmath>
#include <cstring>

namespace cad {

namespace {

void HueColour(int i, int& r, int& g, int& b) {
    // Entries past the basic eight walk the colour wheel at three lightnesses.
    int n = i - 9;
    double h = (n % 62) / 62.0 * 6.0;
    double l = 1.0 - 0.3 * ((n / 62) % 4);
    double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
    double rr = 0, gg = 0, bb = 0;
    switch (static_cast<int>(h)) {
    case 0:
        rr = 1;
        gg = x;
        break;
    case 1:
        rr = x;
        gg = 1;
        break;
    case 2:
        gg = 1;
        bb = x;
        break;
    case 3:
        gg = x;
        bb = 1;
        break;
    case 4:
        rr = x;
        bb = 1;
        break;
    default:
        rr = 1;
        bb = x;
        break;
    }
    r = static_cast<int>(rr * l * 255 + 0.5);
    g = static_cast<int>(gg * l * 255 + 0.5);
    b = static_cast<int>(bb * l * 255 + 0.5);
}

}  // namespace

void DefaultColours(ColourEntry* table) {
    static const int basic[9][3] = {{0, 0, 0},     {255, 255, 255}, {255, 0, 0},   {255, 255, 0},  {0, 255, 0},
                                    {0, 255, 255}, {0, 0, 255},     {255, 0, 255}, {128, 128, 128}};
    for (int i = 0; i < 257; ++i) {
        ColourEntry& c = table[i];
        memset(&c, 0, sizeof c);
        if (i < 9) {
            c.red = basic[i][0];
            c.green = basic[i][1];
            c.blue = basic[i][2];
        } else {
            int r, g, b;  // the entry's fields are packed: no references to them
            HueColour(i, r, g, b);
            c.red = r;
            c.green = g;
            c.blue = b;
        }
    }
}

void DefaultLineTypes(LineTypeEntry* table) {
    struct Def {
        const char* name;
        int n;
        double len[6];
    };
    static const Def defs[] = {
        {"実線", 0, {0}},
        {"破線", 2, {3.0, 1.5}},
        {"点線", 2, {0.5, 1.0}},
        {"一点鎖線", 4, {6.0, 1.0, 0.5, 1.0}},
        {"二点鎖線", 6, {6.0, 1.0, 0.5, 1.0, 0.5, 1.0}},
        {"長破線", 2, {6.0, 2.0}},
    };
    const int nDefs = static_cast<int>(sizeof defs / sizeof defs[0]);
    for (int i = 0; i < 32; ++i) {
        LineTypeEntry& t = table[i];
        memset(&t, 0, sizeof t);
        const Def& d = defs[i < nDefs ? i : (i % (nDefs - 1)) + 1];
        strncpy(t.name, d.name, sizeof t.name - 1);
        t.segments = d.n;
        // Further entries repeat the patterns at larger pitches.
        double k = i < nDefs ? 1.0 : 1.0 + (i - nDefs) / (nDefs - 1) + 1;
        for (int s = 0; s < d.n; ++s)
            t.lengths[s] = d.len[s] * k;
    }
}

void DefaultWidths(double* widths) {
    static const double w[16] = {0.13, 0.18, 0.25, 0.35, 0.5, 0.7, 1.0, 1.4, 2.0, 0.1, 0.2, 0.3, 0.4, 0.6, 0.8, 1.2};
    memcpy(widths, w, sizeof w);
}

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DariStyleGet(void* pens, void* lineTypes, void* widths) {
    if (pens) DefaultColours(static_cast<ColourEntry*>(pens));
    if (lineTypes) DefaultLineTypes(static_cast<LineTypeEntry*>(lineTypes));
    if (widths) {
        double w[16];
        DefaultWidths(w);
        memcpy(widths, w, sizeof w);
    }
    return 1;
}
