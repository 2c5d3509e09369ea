#include "view/db_ext.h"

#include <cstring>

#include "view/view_data.h"
#include "view/view_table.h"

namespace {
void* PointerAt(void* db, int offset) {
    if (!db) return nullptr;
    void* p;
    std::memcpy(&p, static_cast<char*>(db) + offset, sizeof p);
    return p;
}
}  // namespace

DbExtRecord* GetDbExtRecord(void* db) {
    return static_cast<DbExtRecord*>(PointerAt(db, kDbHeaderExtRecord));
}

int HasMemoDb(HWND view, void* db) {
    void* source = view ? GetViewDb(view) : db;
    DbExtRecord* ext = GetDbExtRecord(source);
    return (ext && ext->words[2] != 0) ? 1 : 0;
}

void* ReadMemoDbElement(HWND, void*, int, void*) { return nullptr; }

void* GetDbInfoPtrOf(void* db) { return PointerAt(db, kDbHeaderDbInfo); }
