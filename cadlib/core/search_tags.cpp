// Tag search: the first element (or figure definition) in database order
// that carries a tag number.
#include <cstring>

#include "cadlib/core/database.h"

namespace cad {
namespace {

bool HasTag(StoredElement* e, int tag) {
    ElementExt* x = Ext(e, false);
    if (!x) return false;
    for (auto& t : x->tags)
        if (t.first == tag) return true;
    return false;
}

StoredElement* Found(StoredElement* e, void* record) {
    if (e && record) memcpy(record, &e->rec, sizeof(ElementRecord));
    return e;
}

}  // namespace
}  // namespace cad

using namespace cad;

CADAPI StoredElement* ZAVAPI DAriFFTagElement(void* record, int tag, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    for (StoredElement* e = db->first; e; e = e->next) {
        if (HasTag(e, tag)) return Found(e, record);
        if (IsGroupKind(e->rec.kind))
            for (StoredElement* m = e->member; m; m = m->member)
                if (HasTag(m, tag)) return Found(m, record);
    }
    return nullptr;
}

CADAPI StoredElement* ZAVAPI DAriFFTagFasHeader(void* record, int tag, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    for (StoredElement* h : db->figureHeaders)
        if (h && HasTag(h, tag)) return Found(h, record);
    return nullptr;
}
