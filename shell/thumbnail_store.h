// The thumbnail store: the process-wide list of drawing files the thumbnail
// list shows, each with its selection and, once read, its preview (the
// database header the library's drawing-information load fills, with its
// thumbnail bitmap).
//
// Entries live in a chain of large committed blocks of 101 slots: the first
// block holds entries 0 to 100, each further block the next 100 in its slots
// 1 to 100, so that a folder of many drawings needs few allocations.
#pragma once

#include <cstdint>

#include "cadlib/WmCadApiDb.h"

#pragma pack(push, 1)
struct ThumbnailEntry {
    char path[270];
    int32_t selected;
    int32_t spare;
    DbHeader preview;
};
#pragma pack(pop)
static_assert(sizeof(ThumbnailEntry) == 675, "ThumbnailEntry");

// Stores a path in the slot after the last entry; the caller then counts it
// (AddThumbnailCount). Nothing is stored when a block cannot be allocated.
void AddThumbnailEntry(const char* path);
void AddThumbnailCount();
int GetThumbnailCount();
// The path of entry n, or "" when there is none.
const char* GetThumbnailPath(int n);
ThumbnailEntry* GetThumbnailEntry(int n);
DbHeader* GetThumbnailPreview(int n);
int IsThumbnailSelected(int n);
// A selected entry becomes unselected (1); an unselected one selected (0);
// a missing entry 0.
int ToggleThumbnailSelection(int n);
// 1 while entry n has a preview loaded.
int IsThumbnailPreviewLoaded(int n);
void FreeThumbnailPreview(int n);
void FreeThumbnailStore();
// The block and slot entry n lives in (tests); -1 block when missing.
void ThumbnailSlotOf(int n, int* block, int* slot);
// The number of blocks allocated.
int GetThumbnailBlockCount();
