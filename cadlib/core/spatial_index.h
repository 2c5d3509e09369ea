// The spatial index of a database: a packed R-tree over the boxes of its
// top-level elements, bulk-loaded from the boxes the file loader measures
// (or from a walk of the drawing), with a small dynamic tree beside it for
// what edits, undo and redo change afterwards (followed through the
// observer seam), so that searches and the painting of a zoomed-in view
// touch only what lies near. Its entries in chain order are also the list
// a whole view paints from.
#pragma once

#include <functional>
#include <vector>

#include "cadlib/core/element_geometry.h"

struct DbHeader;
struct StoredElement;

namespace cad {

struct Database;

// A top-level element with its box as the index keeps it.
struct IndexEntry {
    float l, b, r, t;
    StoredElement* element;  // null: removed since the index was packed
};

class SpatialIndex {
public:
    virtual ~SpatialIndex() = default;
    // Top-level elements whose box meets `area`, in no particular order.
    virtual void Query(const Box& area, std::vector<StoredElement*>& out) = 0;
    // The same as entries with the stored box of each (single precision,
    // rounded outward), appended to `out`.
    virtual void QueryEntries(const Box& area, std::vector<IndexEntry>& out) = 0;
    // The box of every indexed element together (invalid when empty); it may
    // still hold elements removed since the last packing.
    virtual Box Bounds() = 0;
    virtual size_t Size() = 0;
    // The stored box of an element (false when it is not indexed).
    virtual bool BoxOf(StoredElement* e, Box& box) = 0;
    // Every indexed element in chain order (entries with no element are to
    // be skipped): a whole view paints from these instead of walking the chain.
    virtual const std::vector<IndexEntry>& InChainOrder() = 0;
};

// A box as the index keeps it (single precision, rounded outward), so that
// whoever scans without the index sees the same boxes.
Box IndexedBox(const Box& exact);
IndexEntry IndexEntryOf(StoredElement* e, const Box& exact);
inline Box BoxOfEntry(const IndexEntry& x) { return Box{x.l, x.b, x.r, x.t}; }

// The index of a live database, built on first use and followed from then on.
SpatialIndex* IndexOf(DbHeader* header);

// The index of a drawing just loaded, built from the boxes its loader
// measured as the records arrived (in chain order), instead of walking the
// drawing again at the first paint. Takes the boxes.
void IndexLoaded(DbHeader* header, std::vector<IndexEntry>& boxes);

// Elements back into database order (the order the chain shows them).
void SortByChainOrder(std::vector<StoredElement*>& v);

}  // namespace cad
