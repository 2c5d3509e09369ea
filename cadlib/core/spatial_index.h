// The spatial index of a database: an R-tree over the boxes of its top-level
// elements, kept current through the observer seam (appends, changes,
// deletes, undo, redo, loads), so that searches and the painting of a
// zoomed-in view touch only what lies near.
#pragma once

#include <functional>
#include <vector>

#include "cadlib/core/element_geometry.h"

struct DbHeader;
struct StoredElement;

namespace cad {

struct Database;

class SpatialIndex {
public:
    virtual ~SpatialIndex() = default;
    // Top-level elements whose box meets `area`, in no particular order.
    virtual void Query(const Box& area, std::vector<StoredElement*>& out) = 0;
    // The same with the stored box of each (single precision, rounded outward).
    virtual void QueryBoxes(const Box& area, std::vector<std::pair<StoredElement*, Box>>& out) = 0;
    // The box of every indexed element together (invalid when empty).
    virtual Box Bounds() = 0;
    virtual size_t Size() = 0;
    // The stored box of an element (false when it is not indexed).
    virtual bool BoxOf(StoredElement* e, Box& box) = 0;
};

// A box as the index keeps it (single precision, rounded outward), so that
// whoever scans without the index sees the same boxes.
Box IndexedBox(const Box& exact);

// The index of a live database, built on first use and followed from then on.
SpatialIndex* IndexOf(DbHeader* header);

// Elements back into database order (the order the chain shows them).
void SortByChainOrder(std::vector<StoredElement*>& v);

}  // namespace cad
