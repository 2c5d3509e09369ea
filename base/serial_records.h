// Small value records stored inside the settings files, and the colour texts
// they carry (#RRGGBB or "COLOR_3DFACE").
#pragma once

#include <windows.h>

#include <string>

// Colour text -> COLORREF. Empty or unknown texts give black.
COLORREF ParseColorText(const std::string& text);

// One colour: the value the system paints with and the text the file keeps.
struct ColorRefEx {
    COLORREF color = 0;
    std::string text;

    ColorRefEx() = default;
    explicit ColorRefEx(const char* t) : color(ParseColorText(t)), text(t) {}
    void Update() { color = ParseColorText(text); }

    template <class Ar>
    void save(Ar& ar, unsigned) const;
    template <class Ar>
    void load(Ar& ar, unsigned);
    template <class Ar>
    void serialize(Ar& ar, unsigned v);
};

// The colours of one kind of button.
struct ColorBtnAttrEx {
    COLORREF text = 0;
    COLORREF bkgnd = 0;
    COLORREF disabled = 0;
    std::string textText;
    std::string bkgndText;
    std::string disabledText;

    ColorBtnAttrEx() = default;
    ColorBtnAttrEx(const char* t, const char* b, const char* d) : textText(t), bkgndText(b), disabledText(d) {
        Update();
    }
    void Update() {
        text = ParseColorText(textText);
        bkgnd = ParseColorText(bkgndText);
        disabled = ParseColorText(disabledText);
    }

    template <class Ar>
    void save(Ar& ar, unsigned) const;
    template <class Ar>
    void load(Ar& ar, unsigned);
    template <class Ar>
    void serialize(Ar& ar, unsigned v);
};

// Paper margins of both orientations and the two paper-frame colour numbers.
struct PaperMarginEx {
    double left, right, top, bottom;
    double left2, right2, top2, bottom2;
    int color, papercolor;

    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// A point, or a pair of spacings with a third value.
struct DPointEx {
    double x, y, z;

    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// A rectangle of screen pixels; its users decide whether the last two members
// are an edge or a size.
struct RectEx {
    long left, top, right, bottom;

    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

bool operator==(const ColorRefEx& a, const ColorRefEx& b);
bool operator==(const ColorBtnAttrEx& a, const ColorBtnAttrEx& b);
bool operator==(const PaperMarginEx& a, const PaperMarginEx& b);
bool operator==(const DPointEx& a, const DPointEx& b);
bool operator==(const RectEx& a, const RectEx& b);
