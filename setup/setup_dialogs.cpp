#include "setup/setup_dialogs.h"

#include <string>
#include <vector>

namespace {
struct ExternalRefEntry {
    int page;
    double scale;
    int externalRef;
    std::string fileName;
};
std::vector<ExternalRefEntry> g_refEntries;
constexpr size_t kMaxRefEntries = 254;
}  // namespace

int RunPageAppendDialog() { return IDCANCEL; }
int RunPageEditDialog() { return IDCANCEL; }

int AppendExternalRefEntry(const char* fileName) {
    if (!fileName || g_refEntries.size() >= kMaxRefEntries) return 0;
    // First page number 1-256 not taken by an entry.
    for (int page = 1; page <= 256; ++page) {
        bool taken = false;
        for (const auto& e : g_refEntries)
            taken = taken || e.page == page;
        if (taken) continue;
        g_refEntries.push_back({page, 1.0, 1, fileName});
        return 1;
    }
    return 0;
}

int ExternalRefEntryCount() { return (int)g_refEntries.size(); }
void ClearExternalRefEntries() { g_refEntries.clear(); }

