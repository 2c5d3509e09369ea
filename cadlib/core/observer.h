// The seam through which a spatial index or a renderer follows a database:
// one call per element that appears, changes or disappears, whether by an
// edit, an undo or redo step, or a load.
#pragma once

struct DbHeader;
struct StoredElement;

namespace cad {

enum class ElementEvent { Added, Changed, Removed, Cleared };

class ElementObserver {
public:
    virtual ~ElementObserver() = default;
    // `element` is null for Cleared (every element went at once).
    virtual void OnElement(DbHeader* db, ElementEvent ev, StoredElement* element) = 0;
};

// Attach an observer to a database (null detaches). The observer is not owned.
bool SetElementObserver(DbHeader* db, ElementObserver* observer);

}  // namespace cad
