// Element link tags: short key/value entries kept in the tag text of an
// element under tag 210, in a fixed layout peers read too:
//   "KOLTA", width code ('1': values of 10 bytes, else 16), entry count
//   '0'-'9', "000", then per entry the key (8 bytes) and the value (width
//   bytes), blank-padded. The value of a "Z01LINK" entry is never cut: it
//   may run on, and the entries added after it start where it ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"

const int kLinkTag = 210;
extern const char kLinkMagic[];  // "KOLTA"
extern const char kLinkKey[];    // "Z01LINK"

struct LinkEntry {
    size_t start = 0;   // byte offset of the key in the text
    size_t span = 0;    // bytes of the value (the width, more for a long link value)
    std::string key;    // 8 bytes as stored
    std::string value;  // span bytes as stored
};

struct LinkText {
    int width = 16;
    int declared = 0;                // the count digit
    std::vector<LinkEntry> entries;  // those the text really holds
};

// Splits a link text into its entries; false when it does not start with
// the magic. Entries the text is too short for are left out.
bool ParseLinkText(const std::string& text, LinkText* out);
// An entry as stored: key cut or padded to 8 bytes, value padded to the
// width and cut to it unless `keepLong` (a link value being added).
std::string BuildLinkEntry(const char* key, const char* value, int width, bool keepLong);

// The host messages (request: view +0x24, element +0x28, key +0x08,
// value +0x0c, entry index +0x10).
int LinkTagAdd(WPARAM, const CmdRequest* req);  // 1 added, 0 refused
int LinkTagGet(WPARAM, const CmdRequest* req);  // key and value into +0x08 / +0x0c
int LinkTagCount(WPARAM, const CmdRequest* req);
int LinkTagSet(WPARAM, const CmdRequest* req);
int LinkTagClear(WPARAM, const CmdRequest* req);

// Mark of the elements of the view's drawing whose link text matches, or
// null: key only, value only, both, or neither (every linked element).
CadMark* FindLinkTagElements(HWND view, const char* key, const char* value);
CadMark* FindLinkTagElementsFor(const CmdRequest* req);  // UM_LINKTAG_FIND
// 1 when an element with a link entry lies at the point of the view.
int FindLinkTagAtPoint(HWND view, const double* point);
