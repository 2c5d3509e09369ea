// Lookup in the message table; the rows themselves are generated at build
// time from data/messages.txt.
#include "base/message_table.h"

#include <algorithm>

const char* GetMessageText(int id) {
    // The rows stand in ascending id order, so a binary search finds the
    // same row the table order defines.
    const MessageRow* end = MessageTable + MessageTableSize;
    const MessageRow* row =
        std::lower_bound(MessageTable, end, id, [](const MessageRow& r, int key) { return r.id < key; });
    if (row != end && row->id == id) return row->text;
    return "?ERROR?";
}
