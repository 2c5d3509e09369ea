// Link texts of drawing elements: short key/value entries that command
// modules attach to an element as its tag string (tag 210). An entry with
// the key "Z01LINK" marks the element as linked: a left click on it while
// no command runs is taken by the link and reaches no command.
//
// Layout of a link text: "KOLTA", a value-width code ('1': values of 10
// characters, anything else 16), the entry count as one digit, three
// reserved characters, then the entries (an 8-character key padded with
// blanks, then the value padded to the width).
#pragma once

#include <windows.h>

#include <string>

#include "cadlib/WmCadApiDb.h"

// The tag number that marks an element as carrying a link text.
constexpr int kLinkTag = 210;

// A link text taken apart, for the search; keys and values cut at their
// first blank. The entries after the first "Z01LINK" entry are left out.
struct LinkTagEntries {
    bool valid = false;     // the text starts with the magic
    int count = 0;          // the count digit
    struct Entry {
        std::string key, value;
    } entries[9];
    int parsed = 0;         // entries taken (at most count, at most 9)
};
LinkTagEntries ParseLinkText(const char* text);

// The elements of `db` whose link text has an entry matching `key` and
// `value` (null: not given). Neither given, or both empty: every element
// with a link text. A new mark, or null when nothing matches.
CadMark* FindLinkTagElements(DbHeader* db, const char* key, const char* value);

// 1 when a linked element of `view`'s drawing lies within the pick
// aperture around the drawing point `point` (x, y, z); 0 otherwise or
// without a drawing. `mode` is 1 for a click in the view.
int FindLinkTagAtPoint(HWND view, const double point[3], int mode);
