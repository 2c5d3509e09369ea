#include <windowsx.h>

#include "shell/input_history.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/dbcs.h"
#include "base/settings_layer.h"

namespace {

char g_entries[kInputHistoryCount][kInputHistoryEntrySize];
// The section the working list holds; empty when nothing was loaded.
std::string g_loadedSection;

const char* SectionOf(const char* key) { return key && key[0] ? key : "DATA"; }

void LoadSection(const char* section) {
    std::memset(g_entries, 0, sizeof g_entries);
    // Read with the entries' own size: the settings layer's value buffer is
    // shorter than an entry.
    const std::string file = GetTextHistoryIniPath();
    for (int i = 0; i < kInputHistoryCount; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%d", i);
        char value[kInputHistoryEntrySize + 8] = "";
        ::GetPrivateProfileStringA(section, name, "", value, sizeof value, file.c_str());
        if (!value[0]) break;
        DbcsCopy(g_entries[i], sizeof g_entries[i], value);
    }
    g_loadedSection = section;
}

void WriteSection(const char* section) {
    for (int i = 0; i < kInputHistoryCount; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%d", i);
        WriteTextHistoryString(section, name, g_entries[i]);
    }
}

}  // namespace

bool IsInputHistoryEnabled(const char* key) { return !(key && key[0] == '~'); }

void LoadInputHistory() { LoadSection("DATA"); }

void AddInputHistory(const char* value, const char* key) {
    if (!IsInputHistoryEnabled(key)) return;
    const char* section = SectionOf(key);
    LoadSection(section);
    if (value && value[0]) {
        char entry[kInputHistoryEntrySize];
        DbcsCopy(entry, sizeof entry, value);
        int at = kInputHistoryCount - 1;
        for (int i = kInputHistoryCount - 1; i >= 0; --i) {
            if (std::strcmp(g_entries[i], entry) == 0) {
                at = i;
                break;
            }
        }
        for (int k = at; k > 0; --k)
            std::memcpy(g_entries[k], g_entries[k - 1], kInputHistoryEntrySize);
        std::memcpy(g_entries[0], entry, kInputHistoryEntrySize);
    }
    WriteSection(section);
}

int ShowInputHistoryMenu(HWND owner, const char* key, LPARAM point) {
    if (!IsInputHistoryEnabled(key)) return 0;
    LoadSection(SectionOf(key));
    HMENU menu = ::CreatePopupMenu();
    if (!menu) return 0;
    for (int i = 0; i < kInputHistoryCount; ++i)
        if (g_entries[i][0]) ::AppendMenuA(menu, MF_STRING, kInputHistoryFirstMenuId + i, g_entries[i]);
    POINT pt = {GET_X_LPARAM(point), GET_Y_LPARAM(point) - 5};
    if (owner) ::ClientToScreen(owner, &pt);
    ::TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, owner, nullptr);
    ::DestroyMenu(menu);
    return 0;
}

void GetInputHistoryItem(char* buffer, int i) {
    if (!buffer) return;
    if (i < 0 || i >= kInputHistoryCount) {
        buffer[0] = '\0';
        return;
    }
    std::memcpy(buffer, g_entries[i], kInputHistoryEntrySize);
}

void SaveInputHistory() {
    if (g_loadedSection != "DATA") return;
    WriteSection("DATA");
}
