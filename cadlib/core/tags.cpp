// Numbered tags, the tag text and the 256-byte user data of an element.
#include "cadlib/core/database.h"

#include <cstring>

using namespace cad;

namespace {
// Callers read tag texts into buffers of 300 bytes.
const size_t kMaxTagText = 299;
}  // namespace

CADAPI int ZAVAPI DAriGetTag(StoredElement* e, int tag) {
    if (!IsElement(e)) return 0;
    ElementExt* x = Ext(e, false);
    if (!x) return 0;
    for (auto& kv : x->tags)
        if (kv.first == tag) return kv.second;
    return 0;
}

CADAPI int ZAVAPI DAriSetTag(StoredElement* e, int tag, int value) {
    if (!IsElement(e)) return 0;
    ElementExt* x = Ext(e, value != 0);
    if (!x) return value == 0 ? 1 : 0;
    for (auto it = x->tags.begin(); it != x->tags.end(); ++it) {
        if (it->first == tag) {
            if (value)
                it->second = value;
            else
                x->tags.erase(it);
            return 1;
        }
    }
    if (value) x->tags.emplace_back(tag, value);
    return 1;
}

CADAPI int ZAVAPI DAriGetTagString(StoredElement* e, char* buffer) {
    if (!IsElement(e) || !buffer) return 0;
    ElementExt* x = Ext(e, false);
    if (!x || !x->hasTagText) {
        buffer[0] = 0;
        return 0;
    }
    memcpy(buffer, x->tagText.c_str(), x->tagText.size() + 1);
    return 1;
}

CADAPI int ZAVAPI DAriSetTagString(StoredElement* e, const char* text) {
    if (!IsElement(e)) return 0;
    if (!text) {
        if (ElementExt* x = Ext(e, false)) {
            x->tagText.clear();
            x->hasTagText = false;
        }
        return 1;
    }
    ElementExt* x = Ext(e, true);
    if (!x) return 0;
    size_t len = strnlen(text, kMaxTagText + 1);
    x->tagText.assign(text, CutDbcs(text, len, kMaxTagText));
    x->hasTagText = true;
    return 1;
}

CADAPI int ZAVAPI DAriGet256UserData(StoredElement* e, void* buffer) {
    if (!IsElement(e) || !buffer) return 0;
    ElementExt* x = Ext(e, false);
    if (!x || !x->userData) {
        memset(buffer, 0, 256);
        return 0;
    }
    memcpy(buffer, x->userData.get(), 256);
    return 1;
}

CADAPI int ZAVAPI DAriSet256UserData(StoredElement* e, const void* data) {
    if (!IsElement(e)) return 0;
    if (!data) {
        if (ElementExt* x = Ext(e, false)) x->userData.reset();
        return 1;
    }
    ElementExt* x = Ext(e, true);
    if (!x) return 0;
    if (!x->userData) x->userData.reset(new (std::nothrow) uint8_t[256]);
    if (!x->userData) return 0;
    memcpy(x->userData.get(), data, 256);
    return 1;
}
