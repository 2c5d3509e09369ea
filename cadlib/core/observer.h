// The seam through which a spatial index or a renderer follows a database:
// one call per element that appears, changes or disappears, whether by an
// edit, an undo or redo step, or a load.
#pragma once

struct DbHeader;
struct StoredElement;

namespace cad {

// Cleared: every element went at once. Reset: the contents changed as a
// whole (a load, or bulk changes made in fast access): walk them afresh.
enum class ElementEvent { Added, Changed, Removed, Cleared, Reset };

class ElementObserver {
public:
    virtual ~ElementObserver() = default;
    // `element` is null for Cleared and Reset.
    virtual void OnElement(DbHeader* db, ElementEvent ev, StoredElement* element) = 0;
};

// Attach an observer to a database (null detaches). The observer is not owned.
bool SetElementObserver(DbHeader* db, ElementObserver* observer);

}  // namespace cad
