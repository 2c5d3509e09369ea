// The fields of a drawing's database header that the host reads, and its
// extension record (raster image and memo sub-database).
#pragma once

#include <windows.h>

#include <cstdint>

// Byte offsets inside the library's database header.
constexpr int kDbHeaderExtRecord = 56;   // pointer to the extension record
constexpr int kDbHeaderDbInfo = 92;      // pointer to the live DbInfo of page 0
constexpr int kDbHeaderCurrentPage = 96; // current page number
constexpr int kDbHeaderFlags1 = 164;
constexpr int kDbHeaderFlags2 = 228;

// The header's extension record, read as 32-bit words: word 1 is non-zero
// while a raster image is attached, word 2 holds the memo sub-database.
struct DbExtRecord {
    uint32_t words[16];
};

// The header's extension record, null when none (or no header).
DbExtRecord* GetDbExtRecord(void* db);
// 1 when the extension record of the view's database (or of `db` when the
// view is null) holds a memo sub-database.
int HasMemoDb(HWND view, void* db);
// An element of the view's memo sub-database. Interim form: null, as no
// library reads sub-databases yet.
void* ReadMemoDbElement(HWND view, void* element, int direction, void* buffer);
// The live DbInfo block of page 0 held by the header, null when none.
void* GetDbInfoPtrOf(void* db);
