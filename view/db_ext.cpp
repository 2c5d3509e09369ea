#include "view/db_ext.h"

#include <initializer_list>

#include "view/view_data.h"
#include "view/view_table.h"

DbExtRecord* GetDbExtRecord(DbHeader* db) { return db ? static_cast<DbExtRecord*>(db->extRecord) : nullptr; }

int HasMemoDb(HWND view, DbHeader* db) {
    DbExtRecord* ext = GetDbExtRecord(view ? GetViewDb(view) : db);
    return (ext && ext->words[2] != 0) ? 1 : 0;
}

StoredElement* ReadMemoDbElement(HWND view, StoredElement* element, int direction, void* buffer) {
    DbExtRecord* ext = GetDbExtRecord(GetViewDb(view));
    if (!ext || !ext->words[2]) return nullptr;
    auto* memo = reinterpret_cast<DbHeader*>((uintptr_t)ext->words[2]);
    return DAriReadElement(element, direction, buffer, memo);
}

void ReleaseDbExtRecord(DbHeader* db) {
    DbExtRecord* ext = GetDbExtRecord(db);
    if (!ext) return;
    if (ext->words[10]) ::DeleteObject(reinterpret_cast<HGDIOBJ>((uintptr_t)ext->words[10]));
    ext->words[10] = 0;
    for (int i : {1, 3}) {
        if (!ext->words[i]) continue;
        HGLOBAL block = ::GlobalHandle(reinterpret_cast<void*>((uintptr_t)ext->words[i]));
        if (block) {
            ::GlobalUnlock(block);
            ::GlobalFree(block);
        }
        ext->words[i] = 0;
    }
    // The record itself is a block of its own (the raster load makes it).
    if (HGLOBAL block = ::GlobalHandle(ext)) {
        ::GlobalUnlock(block);
        ::GlobalFree(block);
        db->extRecord = nullptr;
    }
}
