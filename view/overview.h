// The page and layer overview of a drawing view: nine thumbnail windows
// ("LAY_WND") in place of the drawing, one per page at the first level, one
// per used layer of a page at the second; the tables of used layers behind
// them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "cadlib/WmCadApiDb.h"

struct ViewData;

constexpr int kOverviewPages = 257;    // pages 0-256
constexpr int kOverviewLayers = 1024;  // layers 0-1023

// A layer-use bitmap: bit (L mod 16) of word L / 16 for layer L.
struct LayerBits {
    uint16_t words[64];
};

struct PageUsageEntry {
    int32_t page;
    char number[11];
    char title[259];
    LayerBits layers;
};
struct PageUsageTableRecord {
    PageUsageEntry entries[kOverviewPages];
    int count;
};
extern PageUsageTableRecord PageUsageTable;
extern LayerBits LayerUseScratch[kOverviewPages];

// The layer and page of the last left click on a layer cell.
struct OverviewPickRecord {
    int layer;
    int page;
};
extern OverviewPickRecord OverviewPick;

// The overview of the view on (pages) or off. 1, 0 for a null window.
int ToggleOverviewMode(HWND view);
// 1 + the number of pages 1-256 that exist.
int CountPages(ViewData* data);
// Fills PageUsageTable; the number of entries.
int BuildPageUsageTable(ViewData* data);
int CountUsedLayers(ViewData* data, int entry);
// The n-th (0-based) used layer of the overview page; -1 when none.
int GetNthUsedLayer(ViewData* data, int n);
int OverviewCellHasContent(ViewData* data, int cell);
int GetOverviewEntryPage(ViewData* data, int index);
void GetOverviewCellLabel(ViewData* data, int cell, char* text, int size);
// The layers used by the elements of a drawing, group members included,
// into 257 bitmaps indexed by page (cleared first): the one walk every user
// of used layers shares. 0 without a drawing.
int CollectUsedLayersOfDb(DbHeader* db, LayerBits* found);
// The layers used on all pages into 257 bitmaps (indexed by page). A
// repeated call for the same window hands out what the last collection
// found. 1, 0 without a view or record.
int CollectUsedLayersAll(HWND view, LayerBits* scratch);
// Forgets the remembered collection (the drawing changed).
void ForgetUsedLayerCollection();
// 1 when no page has a layer name.
int HasNoLayerNames(ViewData* data);
// Entry index of a cell at the view's scroll base.
int OverviewEntryOfCell(ViewData* data, int cell);

LRESULT CALLBACK OverviewCellProc(HWND, UINT, WPARAM, LPARAM);
void DrawOverviewCell(HWND cell, ViewData* data, int entryPlus100);
// Registers "LAY_WND"; 0 when it fails.
int RegisterOverviewCellClass(HINSTANCE instance);
