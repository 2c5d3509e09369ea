// The extension record of a drawing's database header: the raster image
// and the memo sub-database attached to a drawing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "cadlib/WmCadApiDb.h"

// The extension record read as 32-bit words: word 1 is non-zero while a
// raster image is attached, word 2 holds the memo sub-database; words 1 and
// 3 are memory blocks and word 10 a bitmap that the record owns.
struct DbExtRecord {
    uint32_t words[16];
};

// The header's extension record, null when none (or no header).
DbExtRecord* GetDbExtRecord(DbHeader* db);
// 1 when the extension record of the view's database (or of `db` when the
// view is null) holds a memo sub-database.
int HasMemoDb(HWND view, DbHeader* db);
// DAriReadElement on the view's memo sub-database; null when it has none.
StoredElement* ReadMemoDbElement(HWND view, StoredElement* element, int direction, void* buffer);
// Frees what the extension record holds (bitmap, memory blocks).
void ReleaseDbExtRecord(DbHeader* db);
