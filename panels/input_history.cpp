#include "panels/input_history.h"

#include <deque>
#include <map>
#include <string>

#include "base/dbcs.h"

namespace {
std::map<std::string, std::deque<std::string>>& Lists() {
    static std::map<std::string, std::deque<std::string>> lists;
    return lists;
}
}  // namespace

bool IsInputHistoryEnabled(const char* key) { return key && key[0] && key[0] != '~'; }

void AddInputHistory(const char* key, const char* text) {
    if (!IsInputHistoryEnabled(key) || !text || !text[0]) return;
    std::deque<std::string>& list = Lists()[key];
    for (auto it = list.begin(); it != list.end(); ++it)
        if (*it == text) {
            list.erase(it);
            break;
        }
    list.push_front(text);
    while (list.size() > (size_t)kInputHistoryMax)
        list.pop_back();
}

bool GetInputHistoryItem(const char* key, int k, char* out, size_t size) {
    if (!out || size == 0) return false;
    out[0] = '\0';
    if (!IsInputHistoryEnabled(key)) return false;
    auto found = Lists().find(key);
    if (found == Lists().end() || k < 0 || (size_t)k >= found->second.size()) return false;
    DbcsCopy(out, size, found->second[k].c_str());
    return true;
}

int ShowInputHistoryMenu(const char* key, HWND owner) {
    if (!IsInputHistoryEnabled(key)) return 0;
    auto found = Lists().find(key);
    if (found == Lists().end() || found->second.empty()) return 0;
    HMENU menu = ::CreatePopupMenu();
    int k = 0;
    for (const std::string& s : found->second)
        ::AppendMenuA(menu, MF_STRING, kInputHistoryFirstId + k++, s.c_str());
    POINT pt;
    ::GetCursorPos(&pt);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
    ::DestroyMenu(menu);
    return 1;
}

void ClearInputHistory() { Lists().clear(); }
