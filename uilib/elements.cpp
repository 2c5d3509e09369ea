// Element records and the highlight colour for the command modules. Both live
// in the CAD database library; this library reaches it in the process when it
// is loaded (the host links it) and answers "nothing" without it.
#include <cstring>

#include "base/library_lookup.h"
#include "uilib/WmCadApi.h"

namespace {

FARPROC CadFunction(const char* name) { return LoadedLibraryFunction("WmCadApiDb.dll", name); }

}  // namespace

int ZAVAPI EsGET_ELEMENT(void* element, void* record, void* db) {
    if (!element || !record || !db) return 0;
    // Direction 4 re-reads the element itself into the 174-byte record.
    using ReadFn = void*(ZAVAPI*)(void*, int, void*, void*);
    auto read = reinterpret_cast<ReadFn>(CadFunction("DAriReadElement"));
    if (!read) return 0;
    unsigned char buffer[ES_ELEMENT_RECORD_SIZE];
    if (!read(element, 4, buffer, db)) return 0;
    std::memcpy(record, buffer, sizeof buffer);
    return 1;
}

int ZAVAPI EsGET_HILIGHT_COLOR(void) {
    // The library keeps the colour the host handed it from LocalSettings.ini;
    // its setter answers the previous value, so a set and a set back read it.
    using SetFn = int(ZAVAPI*)(int);
    auto set = reinterpret_cast<SetFn>(CadFunction("TqSetHighlightColor"));
    if (!set) return ES_DEFAULT_HILIGHT_COLOR;
    const int colour = set(ES_DEFAULT_HILIGHT_COLOR);
    set(colour);
    return colour;
}
