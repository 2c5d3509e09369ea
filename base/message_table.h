// The numbered texts of the system: errors, questions, prompts, captions,
// paper-size names and attribute words, in code page 932. Fixed at build time
// (generated from data/messages.txt) and valid for the whole run.
#pragma once

#include <cstddef>

struct MessageRow {
    int id;
    const char* text;
};

// Rows in ascending order of id.
extern const MessageRow MessageTable[];
extern const size_t MessageTableSize;

// The text of a message id, or "?ERROR?" when no row carries that id. The
// pointer stays valid for the rest of the run; never free or change it.
const char* GetMessageText(int id);
