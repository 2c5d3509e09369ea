// Database life: creation in a caller's header, deletion, the registry that
// lets every call refuse a header or element that is not ours, and the
// process-wide settings.
#include "cadlib/core/database.h"

#include <cstring>

#include "cadlib/core/parallel.h"

namespace cad {

namespace {
std::unordered_set<Database*>& Registry() {
    static std::unordered_set<Database*> r;
    return r;
}
}  // namespace

Settings& GlobalSettings() {
    static Settings s;
    return s;
}

Database::Database() : page0(new DbInfo) { InitDbInfo(*page0); }

Database::~Database() {
    DestroyAllMarks(*this);
    ClearUndo(*this);
    FreeAllElements(*this);
}

Database* Lookup(DbHeader* header) {
    if (!header || !header->core) return nullptr;
    Database* db = static_cast<Database*>(header->core);
    if (!Registry().count(db)) return nullptr;
    SyncUndo(*db, header);
    return db;
}

Database* Attach(DbHeader* header) {
    std::unique_ptr<Database> db(new (std::nothrow) Database);
    if (!db) return nullptr;
    db->header = header;
    header->core = db.get();
    header->info = db->page0.get();
    header->firstUndo = nullptr;
    header->currentUndo = nullptr;
    // Page 0 is shown and can be picked from the start.
    header->pages.display[0] |= 1;
    header->pages.detect[0] |= 1;
    Registry().insert(db.get());
    return db.release();
}

void Detach(DbHeader* header) {
    Database* db = static_cast<Database*>(header->core);
    Registry().erase(db);
    delete db;
    header->core = nullptr;
    header->info = nullptr;
    header->firstUndo = nullptr;
    header->currentUndo = nullptr;
}

void Clear(Database& db) {
    ClearUndo(db);
    FreeAllElements(db);
    db.pages.clear();
    db.nameSet.clear();
    db.nameSlots.clear();
    InitDbInfo(*db.page0);
    db.nextSerial = 1;
    Notify(db, ElementEvent::Cleared, nullptr);
}

const char* LiveName(const void* p) {
    if (!p) return nullptr;
    for (Database* db : Registry())
        if (db->nameSet.count(static_cast<const char*>(p))) return static_cast<const char*>(p);
    return nullptr;
}

bool IsLiveDatabase(const Database* db) { return Registry().count(const_cast<Database*>(db)) != 0; }

bool IsElement(const StoredElement* e) { return e && (e->state & kStateTagMask) == kStateTag; }

MemoryUse MeasureMemory(DbHeader* header) {
    MemoryUse m;
    Database* db = Lookup(header);
    if (!db) return m;
    m.elementBytes = db->elements.ReservedBytes();
    m.live = db->elements.Live();
    m.undoBytes = db->undoRecords.ReservedBytes();
    m.savedBytes = db->savedRecords.ReservedBytes();
    m.pageBytes = sizeof(DbInfo) + db->pages.size() * sizeof(PageRecord);
    return m;
}

bool SetElementObserver(DbHeader* header, ElementObserver* observer) {
    Database* db = Lookup(header);
    if (!db) return false;
    db->observer = observer;
    return true;
}

void Notify(Database& db, ElementEvent ev, StoredElement* e) {
    if (!db.observer) return;
    // Bulk changes in fast access are reported once, when it ends.
    if (GlobalSettings().fastAccess && ev != ElementEvent::Reset) {
        db.resetPending = true;
        return;
    }
    db.observer->OnElement(db.header, ev, e);
}

size_t CutDbcs(const char* s, size_t len, size_t max) {
    if (len <= max) return len;
    size_t i = 0;
    while (i < max) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        size_t w = lead ? 2 : 1;
        if (i + w > max) break;
        i += w;
    }
    return i;
}

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DAriCreateDB(DbHeader* header) {
    if (!header) return 0;
    // A header that still names a live database is reused: delete it first.
    if (header->core && Lookup(header)) Detach(header);
    header->core = nullptr;
    return Attach(header) ? 1 : 0;
}

CADAPI int ZAVAPI DAriDeleteDB(DbHeader* header) {
    if (!Lookup(header)) return 0;
    Detach(header);
    return 1;
}

CADAPI int ZAVAPI DAriUndoFgSet(DbHeader* header, int level) {
    Database* db = Lookup(header);
    if (!db) return 0;
    int old = db->undoLevel;
    db->undoLevel = level;
    return old;
}

CADAPI int ZAVAPI DAriFastAccessOn(void) {
    GlobalSettings().fastAccess = 1;
    return 1;
}

CADAPI int ZAVAPI DAriFastAccessOff(void) {
    GlobalSettings().fastAccess = 0;
    for (Database* db : Registry()) {
        if (!db->resetPending) continue;
        db->resetPending = false;
        Notify(*db, ElementEvent::Reset, nullptr);
    }
    return 1;
}

CADAPI int ZAVAPI DAriSetMaxCoord(int flag, double largest) {
    Settings& s = GlobalSettings();
    s.maxCoordFlag = flag;
    if (largest > 0 && largest == largest) s.maxCoord = largest;
    return 1;
}

CADAPI int ZAVAPI DAriSetElementCheckMode(int mode) {
    int old = GlobalSettings().elementCheckMode;
    GlobalSettings().elementCheckMode = mode;
    return old;
}

CADAPI int ZAVAPI DAriSetSettingsDataInt(const char* name, int value) {
    if (!name) return 0;
    std::string key(name, strnlen(name, 256));
    GlobalSettings().ints[key] = value;
    // "Threads": how many threads load, save and paint (0: one per processor).
    if (key == "Threads") SetWorkerCount(value > 0 ? static_cast<size_t>(value) : 0);
    return 1;
}

CADAPI int ZAVAPI DAriSetEps(double eps, double angleEps) {
    Settings& s = GlobalSettings();
    if (eps > 0) s.eps = eps;
    if (angleEps > 0) s.angleEps = angleEps;
    return 1;
}

CADAPI int ZAVAPI TqSetHighlightColor(int colour) {
    int old = GlobalSettings().highlightColour;
    GlobalSettings().highlightColour = colour;
    return old;
}

// Pools are per database and grow on demand; nothing to prepare.
CADAPI int ZAVAPI TqCreateMemPools(DbHeader*) { return 1; }

CADAPI int ZAVAPI DAriAllFreeEBuffer(void) { return 1; }

// Deleted elements are released as soon as no undo record needs them.
CADAPI int ZAVAPI DAriClearDustMemory(void) { return 1; }

CADAPI int ZAVAPI DAriSetTransFg(int flag) {
    int old = GlobalSettings().transformFlag;
    GlobalSettings().transformFlag = flag;
    return old;
}

CADAPI int ZAVAPI DAriSetPageDetFlag(int flag) {
    int old = GlobalSettings().pageDetect;
    GlobalSettings().pageDetect = flag;
    return old;
}
