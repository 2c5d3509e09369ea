// The right-click menu file: read once into a buffer of tokens, turned into
// menu items or pop-up entries each time the pop-up opens.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "panels/rp_menu.h"

namespace {
constexpr size_t kBufferSize = 65535;

// The reader (one per run).
struct RPMenuFileRecord {
    char* writeCursor;
    char lineBuffer[257];
    char textBuffer[259];
    const char* readCursor;
    char* tokenBuffer;
} g_file = {};

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Writes tokens as one unit: all of them, or (when they would not leave room
// for the closing empty string) none.
bool WriteTokens(const char* a, const char* b = nullptr) {
    const size_t need = strlen(a) + 1 + (b ? strlen(b) + 1 : 0);
    char* end = g_file.tokenBuffer + kBufferSize - 1;  // the last byte ends the buffer
    if (g_file.writeCursor + need > end) return false;
    for (const char* t : {a, b}) {
        if (!t) continue;
        const size_t n = strlen(t) + 1;
        memcpy(g_file.writeCursor, t, n);
        g_file.writeCursor += n;
    }
    return true;
}

// The text of an item line into textBuffer (up to a comma or a control
// character); returns the id that follows a comma, 0 without one.
long ParseItem(const char* p) {
    while (*p == ' ' || *p == '\t')
        ++p;
    size_t n = 0;
    const size_t cap = sizeof g_file.textBuffer - 1;
    while (*p && *p != ',' && (unsigned char)*p >= 0x20) {
        if (IsLead((unsigned char)*p) && p[1]) {
            if (n + 2 > cap) break;
            g_file.textBuffer[n++] = *p++;
            g_file.textBuffer[n++] = *p++;
            continue;
        }
        if (n + 1 > cap) break;
        g_file.textBuffer[n++] = *p++;
    }
    g_file.textBuffer[n] = '\0';
    if (*p && (unsigned char)*p < 0x20) ++p;  // a tab before the comma
    if (*p != ',') return 0;
    ++p;
    while (*p == ' ' || *p == '\t')
        ++p;
    return atol(p);
}

// Next statement line, leading blanks gone; null at the end of the file.
const char* NextLine(FILE* f) {
    for (;;) {
        memset(g_file.lineBuffer, 0, sizeof g_file.lineBuffer);
        if (!fgets(g_file.lineBuffer, 255, f)) return nullptr;
        const char* p = g_file.lineBuffer;
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == ';' || strlen(p) < 3) continue;
        return p;
    }
}

void ReadLines(FILE* f, int depth) {
    while (const char* p = NextLine(f)) {
        if (strncmp(p, "[POPUP]", 7) == 0) {
            ParseItem(p + 7);
            WriteTokens("[POPUP]", g_file.textBuffer);
            ReadLines(f, depth + 1);
            continue;
        }
        if (depth > 0 && strncmp(p, "[END]", 5) == 0) {
            WriteTokens("[END]");
            return;
        }
        if (strncmp(p, "SEPARATOR", 9) == 0) {
            WriteTokens("SEPARATOR");
            continue;
        }
        const long id = ParseItem(p);
        char idText[24];
        snprintf(idText, sizeof idText, "%ld", id);
        WriteTokens(idText, g_file.textBuffer);
    }
}

const char* NextToken() {
    const char* t = g_file.readCursor;
    if (!t || !*t) return nullptr;
    g_file.readCursor = t + strlen(t) + 1;
    return t;
}

void AppendTokens(HANDLE target) {
    const bool panel = RPMenuState.windowOpen == 1;
    while (const char* t = NextToken()) {
        if (strcmp(t, "[END]") == 0) return;
        if (strcmp(t, "[POPUP]") == 0) {
            const char* title = NextToken();
            if (!title) return;
            if (panel) {
                AppendRPMenuItem(target, MF_POPUP, 0, title);
                AppendTokens(target);
            } else {
                HMENU sub = ::CreatePopupMenu();
                ::AppendMenuA((HMENU)target, MF_POPUP, (UINT_PTR)sub, title);
                AppendTokens(sub);
            }
            continue;
        }
        if (strcmp(t, "SEPARATOR") == 0) {
            if (panel)
                AppendRPMenuItem(target, MF_SEPARATOR, 0, "SEPARATOR");
            else
                ::AppendMenuA((HMENU)target, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const long id = atol(t);
        const char* text = NextToken();
        if (!text) return;
        const UINT flags = id == 99999 ? MF_GRAYED : 0;
        if (panel)
            AppendRPMenuItem(target, flags, (UINT_PTR)id, text);
        else
            ::AppendMenuA((HMENU)target, MF_STRING | flags, (UINT_PTR)id, text);
    }
}
}  // namespace

int AllocRPMenuBuffer() {
    if (g_file.tokenBuffer) return 1;
    g_file.tokenBuffer =
        static_cast<char*>(::VirtualAlloc(nullptr, kBufferSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    return g_file.tokenBuffer ? 1 : 0;
}

void FreeRPMenuBuffer() {
    if (g_file.tokenBuffer) ::VirtualFree(g_file.tokenBuffer, 0, MEM_RELEASE);
    g_file.tokenBuffer = nullptr;
}

const char* RPMenuBuffer() { return g_file.tokenBuffer; }

int LoadRPMenuFile(const char* path) {
    if (!g_file.tokenBuffer) return 0;
    g_file.writeCursor = g_file.tokenBuffer;
    g_file.tokenBuffer[0] = '\0';
    FILE* f = path ? fopen(path, "r") : nullptr;
    if (!f) return 0;
    ReadLines(f, 0);
    fclose(f);
    *g_file.writeCursor = '\0';
    return 1;
}

int AppendRPMenuFileItems(HANDLE target) {
    g_file.readCursor = g_file.tokenBuffer;
    if (g_file.tokenBuffer) AppendTokens(target);
    return 1;
}
