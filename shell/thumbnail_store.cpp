#include "shell/thumbnail_store.h"

#include <windows.h>

#include <cstring>

#include "base/dbcs.h"

namespace {

const int kSlots = 101;
const SIZE_T kBlockBytes = 92159;

struct Block {
    ThumbnailEntry slots[kSlots];
    Block* next;
};
static_assert(sizeof(Block) <= kBlockBytes, "a block fits its allocation");

Block* g_first = nullptr;
int g_count = 0;

Block* NewBlock() { return static_cast<Block*>(::VirtualAlloc(nullptr, kBlockBytes, MEM_COMMIT, PAGE_READWRITE)); }

// The walk of the chain: start at the first block, step on while n > 100.
// With `grow`, missing blocks are allocated on the way.
ThumbnailEntry* Walk(int n, bool grow, int* blockOut = nullptr) {
    if (n < 0) return nullptr;
    if (!g_first) {
        if (!grow) return nullptr;
        g_first = NewBlock();
        if (!g_first) return nullptr;
    }
    Block* b = g_first;
    int index = 0;
    while (n > 100) {
        if (!b->next) {
            if (!grow) return nullptr;
            b->next = NewBlock();
            if (!b->next) return nullptr;
        }
        b = b->next;
        n -= 100;
        ++index;
    }
    if (blockOut) *blockOut = index;
    return &b->slots[n];
}

ThumbnailEntry* Find(int n) { return n < g_count ? Walk(n, false) : nullptr; }

void DropPreview(ThumbnailEntry& e) {
    if (e.preview.thumbnail) ::DeleteObject(static_cast<HBITMAP>(e.preview.thumbnail));
    e.preview.thumbnail = nullptr;
    if (e.preview.core) DAriDeleteDB(&e.preview);
    std::memset(&e.preview, 0, sizeof e.preview);
}

}  // namespace

void AddThumbnailEntry(const char* path) {
    ThumbnailEntry* e = Walk(g_count, true);
    if (!e) return;
    std::memset(e, 0, sizeof *e);
    DbcsCopy(e->path, sizeof e->path, path ? path : "");
}

void AddThumbnailCount() { ++g_count; }

int GetThumbnailCount() { return g_count; }

const char* GetThumbnailPath(int n) {
    ThumbnailEntry* e = Find(n);
    return e ? e->path : "";
}

ThumbnailEntry* GetThumbnailEntry(int n) { return Find(n); }

DbHeader* GetThumbnailPreview(int n) {
    ThumbnailEntry* e = Find(n);
    return e ? &e->preview : nullptr;
}

int IsThumbnailSelected(int n) {
    ThumbnailEntry* e = Find(n);
    return e ? e->selected : 0;
}

int ToggleThumbnailSelection(int n) {
    ThumbnailEntry* e = Find(n);
    if (!e) return 0;
    if (e->selected) {
        e->selected = 0;
        return 1;
    }
    e->selected = 1;
    return 0;
}

int IsThumbnailPreviewLoaded(int n) {
    ThumbnailEntry* e = Find(n);
    return e && (e->preview.core || e->preview.info) ? 1 : 0;
}

void FreeThumbnailPreview(int n) {
    if (ThumbnailEntry* e = Find(n)) DropPreview(*e);
}

void FreeThumbnailStore() {
    g_count = 0;
    for (Block* b = g_first; b;) {
        for (int i = kSlots - 1; i >= 0; --i)
            if (b->slots[i].preview.core || b->slots[i].preview.thumbnail) DropPreview(b->slots[i]);
        Block* next = b->next;
        ::VirtualFree(b, 0, MEM_RELEASE);
        b = next;
    }
    g_first = nullptr;
}

void ThumbnailSlotOf(int n, int* block, int* slot) {
    *block = -1;
    *slot = -1;
    int index = 0;
    ThumbnailEntry* e = Find(n) ? Walk(n, false, &index) : nullptr;
    if (!e) return;
    *block = index;
    Block* b = g_first;
    for (int i = 0; i < index; ++i)
        b = b->next;
    *slot = static_cast<int>(e - b->slots);
}

int GetThumbnailBlockCount() {
    int n = 0;
    for (Block* b = g_first; b; b = b->next)
        ++n;
    return n;
}
