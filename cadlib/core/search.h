// What the searches share: the library's search options and switches, the
// test whether an element may be found, and the collection of candidates
// near a box (through the spatial index, or by a plain scan when the setting
// "NoSpatialIndex" is 1, which tests and benchmarks compare against).
#pragma once

#include <vector>

#include "cadlib/core/database.h"
#include "cadlib/core/element_geometry.h"

namespace cad {

struct SearchState {
    SearchOptionRecord options;
    int lockMode = 0;   // 1: elements on locked layers are not found
    int groupFind = 0;  // 1: groups are found as wholes
};
SearchState& Search();

// The option words in force (a word left at 0 restricts nothing).
const int32_t* Words();
// Kind bit of the option's kind mask.
uint32_t KindBit(uint16_t kind);
// A top-level (or member) element that the options, the page and layer
// display and detect bits and the locked-layer mode let be found.
bool Findable(Database& db, DbHeader* header, const StoredElement* e);
// Leaf records of a found element that the options let through.
bool LeafFindable(const ElementRecord& rec);
bool LayerLocked(Database& db, int page, int layer);

// Top-level elements whose box meets `area`, in database order, that are
// findable; restricted to the elements of `mark` when given.
void Candidates(Database& db, DbHeader* header, const Box& area, CadMark* mark, std::vector<StoredElement*>& out);

// View modes: what a view shows of the pages (model space, the composed
// sheet of paper space, the frame view).
enum { kViewModel = 0, kViewPaper = 1, kViewFrame = 2 };
enum { kViewDataModeOffset = 803 };
int ViewModeOfViewData(void* viewData);
// The mode a painting block selects: its paper-space flag, else the frame
// view while the header's frame-view flag is 1, else model space.
int ViewModeOfDraw(const DbHeader* header, int paperSpaceFlag);
// Placement of every page's elements in a view mode (identity in model space).
struct ViewPlacements {
    Placement page[257];
    bool any = false;
    void Build(Database& db, const DbHeader* header, int mode);
    const Placement* Of(int n) const { return any && n >= 0 && n <= 256 && !page[n].identity ? &page[n] : nullptr; }
};
bool SamePlacement(const Placement& a, const Placement& b);
Box PlacedBox(const Box& b, const Placement& p);
Box UnplacedBox(const Box& b, const Placement& p);
void Unplace(const Placement& p, double& x, double& y);
// Candidates for an area given in view coordinates, in database order.
void ViewCandidates(Database& db, DbHeader* header, const Box& area, CadMark* mark, const ViewPlacements& vp,
                    std::vector<StoredElement*>& out);

// The database behind a drawing window's ViewData (its header at +20).
DbHeader* HeaderOfViewData(void* viewData);
bool UseIndex();

}  // namespace cad
