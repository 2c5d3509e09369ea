// Index of every host message with the object that answers it, expanded
// from the one list (host_message_list.h).
#include "command/host_messages.h"

#include "command/host_objects.h"

#define HOST_MESSAGE_INDEX_ROW_(ctx, name, number, object, handler, kind) {name, #name, object::kId},
const HostMessageEntry kHostMessages[] = {HOST_MESSAGES(HOST_MESSAGE_INDEX_ROW_, ~)};
#undef HOST_MESSAGE_INDEX_ROW_
const size_t kHostMessageCount = sizeof(kHostMessages) / sizeof(kHostMessages[0]);

namespace {

// The rows stay in strictly rising number order, so no number is listed twice.
#define HOST_MESSAGE_NUMBER_ROW_(ctx, name, number, object, handler, kind) name,
constexpr UINT kNumbers[] = {HOST_MESSAGES(HOST_MESSAGE_NUMBER_ROW_, ~)};
#undef HOST_MESSAGE_NUMBER_ROW_

constexpr bool StrictlyRising(const UINT* numbers, size_t count) {
    for (size_t i = 1; i < count; ++i)
        if (numbers[i - 1] >= numbers[i]) return false;
    return true;
}
static_assert(StrictlyRising(kNumbers, sizeof(kNumbers) / sizeof(kNumbers[0])),
              "host_message_list.h: rows in rising number order, each number once");

}  // namespace
