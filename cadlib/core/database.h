// The inside of one drawing database: pooled element storage, the element
// chain, figure definitions, pages, layer names, undo chain and marks.
// No window code here: this compiles for Windows and natively with g++ -m32.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/observer.h"
#include "cadlib/core/pool.h"

namespace cad {

// Bits of StoredElement::state. The high half carries a tag so that a
// pointer that is not one of our elements is refused cheaply.
enum : uint32_t {
    kStateTag = 0xCADE0000u,
    kStateTagMask = 0xFFFF0000u,
    kStateInChain = 0x1,  // linked in the database's element chain
    kStateInGroup = 0x2,  // linked in a group's member list
    kStateHeader = 0x4,   // a figure definition (kind 31)
};

// Library data of an element that most elements do not have.
struct ElementExt {
    std::vector<std::pair<int32_t, int32_t>> tags;  // tag number -> value
    std::string tagText;
    bool hasTagText = false;
    std::unique_ptr<uint8_t[]> userData;             // 256 bytes when set
    std::vector<std::pair<int32_t, int32_t>> extra;  // extra-data slots
};

struct Database;

// Undo references and the owning database live in the element's reserved
// bytes, at offsets 220 and 224 of the slot, which are 4-byte aligned
// (slots are 240 bytes from an aligned chunk start).
inline uint32_t& UndoRefs(StoredElement* e) { return *reinterpret_cast<uint32_t*>(e->reserved + 2); }
inline Database*& DbOf(StoredElement* e) { return *reinterpret_cast<Database**>(e->reserved + 6); }
// A placed figure also keeps the number of its definition at offset 228,
// where callers do not write: a host that clears +190 and +198 while it
// takes a figure out of a group does not cut it from its definition.
inline int32_t& FigureRef(StoredElement* e) { return *reinterpret_cast<int32_t*>(e->reserved + 10); }
// The entry of a top-level element in its database's spatial index (1-based,
// 0: none), at offset 232, where callers do not write either.
inline uint32_t& IndexSlot(StoredElement* e) { return *reinterpret_cast<uint32_t*>(e->reserved + 14); }
inline bool IsGroupKind(uint16_t kind) { return kind == 21 || kind == 22 || kind == 70 || kind == 31; }

// Where each handle of a mark stands in its order: an open-addressed table
// in one block, so that marking a hundred thousand elements costs no
// allocation per element.
class MarkIndex {
public:
    // The position of `key`, or null.
    uint32_t* Find(const void* key);
    // Records `key` at `pos`; false when it was there already.
    bool Insert(void* key, uint32_t pos);
    void Erase(const void* key);
    void Clear();
    void Reserve(size_t n);

private:
    struct Slot {
        void* key;  // null: never used; kGone: erased
        uint32_t pos;
    };
    size_t Home(const void* key) const;
    void Grow(size_t capacity);
    std::vector<Slot> slots_;
    size_t filled_ = 0;  // keys and erased slots
};

struct MarkImpl : CadMark {
    Database* owner = nullptr;
    bool link = false;         // holds undo records
    std::vector<void*> items;  // order of insertion, null = removed
    MarkIndex index;
    uint32_t live = 0;
    size_t walked = 0;  // where the last step of a walk through the mark stood
};

struct Database {
    DbHeader* header = nullptr;  // the header it was created in
    // What the library last wrote into each header that reached it (windows
    // may hold copies of one header); never read through, only compared.
    std::vector<std::pair<DbHeader*, UndoRecord*>> published;
    SlotPool elements{sizeof(StoredElement), 4096};
    SlotPool undoRecords{sizeof(UndoRecord), 4096};
    SlotPool savedRecords{sizeof(ElementRecord), 1024};
    StoredElement* first = nullptr;
    StoredElement* last = nullptr;
    int32_t count = 0;
    uint32_t nextSerial = 1;
    std::vector<StoredElement*> figureHeaders;
    std::unique_ptr<DbInfo> page0;
    std::map<int, std::unique_ptr<PageRecord>> pages;
    std::vector<std::unique_ptr<char[]>> nameSlots;
    std::unordered_set<const char*> nameSet;
    int undoLevel = 0;
    UndoRecord* undoFirst = nullptr;
    UndoRecord* undoLast = nullptr;
    UndoRecord* undoCurrent = nullptr;
    std::unordered_set<MarkImpl*> marks;
    std::unordered_map<void*, int> rasterData;  // compressed data -> references
    std::unordered_map<void*, int> rasterBits;  // expanded bits -> references
    // Bits the host released after a compression -> the data made from them.
    std::unordered_map<void*, std::pair<void*, uint32_t>> compressedFrom;
    ElementObserver* observer = nullptr;
    bool resetPending = false;  // changed while in fast access

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
};

// Registry of live databases (a header that names no live database is refused).
Database* Lookup(DbHeader* header);
Database* Attach(DbHeader* header);
void Detach(DbHeader* header);
// Empty a database: no elements, definitions, pages, names or history.
void Clear(Database& db);
bool IsElement(const StoredElement* e);
// Whether a database is still alive (followers drop what they kept for it).
bool IsLiveDatabase(const Database* db);

// Bytes a database holds in its pools and side tables (for the figures of
// the benchmark): element slots, undo records, saved contents, extras.
struct MemoryUse {
    size_t elementSlots = 0, elementBytes = 0;
    size_t undoBytes = 0, savedBytes = 0, pageBytes = 0;
    size_t live = 0;
};
MemoryUse MeasureMemory(DbHeader* header);

// Process-wide settings.
struct Settings {
    int maxCoordFlag = 0;
    double maxCoord = 1.0e100;
    int elementCheckMode = 1;
    double eps = 1.0e-5;
    double angleEps = 1.0e-3;
    int highlightColour = 0;
    int transformFlag = 1;
    int fastAccess = 0;
    int pageDetect = 0;
    std::map<std::string, int> ints;
};
Settings& GlobalSettings();

// Element storage (elements.cpp).
StoredElement* NewElement(Database& db, const ElementRecord& rec);
void AdoptPayload(Database& db, ElementRecord& rec, const ElementRecord* previous);
void ReleasePayload(Database& db, ElementRecord& rec);
void LinkAfter(Database& db, StoredElement* e, StoredElement* after);
void Unlink(Database& db, StoredElement* e);
StoredElement* RootOf(StoredElement* node);
StoredElement* LastDescendant(StoredElement* node);
void LinkMember(StoredElement* group, StoredElement* m, StoredElement* after);
void UnlinkMember(StoredElement* m);
void TryFree(Database& db, StoredElement* e);
void FreeAllElements(Database& db);
bool CheckRecord(const ElementRecord& rec);
ElementExt* Ext(StoredElement* e, bool create);
void Notify(Database& db, ElementEvent ev, StoredElement* e);

// Figures (groups.cpp): the 1-based number of the definition a placed
// figure refers to (its link at +190, else its number at +198, else the
// library's own copy of it), 0 when none.
int FigureIndexOf(Database& db, StoredElement* e);

// Undo (undo.cpp).
bool UndoOn(const Database& db);
void Record(Database& db, int kind, StoredElement* e, void* addArg, void* memberArg, ElementRecord* saved,
            StoredElement* group);
void SyncUndo(Database& db, DbHeader* header);
void Publish(Database& db, DbHeader* header);
void ClearUndo(Database& db);

// Marks (marks.cpp).
void ForgetInMarks(Database& db, void* item);
void DestroyAllMarks(Database& db);

// Pages and layers (pages.cpp).
void InitDbInfo(DbInfo& info);
DbInfo* PageInfo(Database& db, int page);
const char* OwnedName(Database& db, const char* p);
char* StoreName(Database& db, char* slot, const char* text);
// A layer-name text of any live database (database.cpp), or null.
const char* LiveName(const void* p);

// Cut a code page 932 text to at most max bytes on a character boundary.
size_t CutDbcs(const char* s, size_t len, size_t max);

}  // namespace cad
