#include "command/link_tags.h"

#include <algorithm>
#include <cstring>

#include "base/dbcs.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "command/host_hooks.h"
#include "command/mark_services.h"

using namespace drawing;

const char kLinkMagic[] = "KOLTA";
const char kLinkKey[] = "Z01LINK";

namespace {

const size_t kKeyWidth = 8;
const size_t kHeadSize = 10;
// The library keeps tag texts of at most 299 bytes; the host reads them
// into buffers of 300.
const size_t kTextLimit = 299;
const size_t kReadBuffer = 300;
const size_t kModuleField = 30;      // what a module's key and value buffers hold at least
const size_t kFileValueLimit = 259;  // a file-name value of a link entry
const char* const kFilePrefixes[] = {"C&OP_FN:", "OPEN_FN:"};

// Up to the first blank (a blank is never the second byte of a character).
std::string UpToBlank(const std::string& s) {
    const size_t at = DbcsFind(s, ' ');
    return at == std::string::npos ? s : s.substr(0, at);
}

std::string Fit(const char* text, size_t width, bool keepLong) {
    std::string s = text ? text : "";
    if (!keepLong && s.size() > width) s.resize(DbcsBoundary(s, width));
    if (s.size() < width) s.append(width - s.size(), ' ');
    return s;
}

bool ReadLinkText(StoredElement* element, std::string* text) {
    if (!element || !DAriGetTag(element, kLinkTag)) return false;
    char buffer[kReadBuffer] = {};
    DAriGetTagString(element, buffer);
    buffer[kTextLimit] = 0;
    *text = buffer;
    return true;
}

struct Target {
    HWND view = nullptr;
    StoredElement* element = nullptr;
};

// The element the request names, when it is one of its view's drawing.
Target TargetOf(const CmdRequest* req) {
    Target t;
    if (!req) return t;
    t.view = RequestView(req);
    ElementRecord rec;
    StoredElement* e = Element(req->element);
    if (ReadOwn(e, ViewDb(t.view), &rec)) t.element = e;
    return t;
}

bool Store(const Target& t, const std::string& text) {
    if (text.size() > kTextLimit) return false;
    if (!DAriSetTagString(t.element, text.c_str())) return false;
    MarkModified(t.view);
    return true;
}

void CopyField(uint32_t word, const std::string& text) {
    char* out = reinterpret_cast<char*>(word);
    if (!out) return;
    std::memset(out, 0, kModuleField);
    DbcsCopy(out, kModuleField, text.c_str());
}

bool IsFileValue(const std::string& value) {
    for (const char* prefix : kFilePrefixes)
        if (value.compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
}

std::string TrimTrailingBlanks(const std::string& s) {
    size_t end = s.size();
    while (end > 0 && s[end - 1] == ' ' && !IsDbcsTrailAt(s, end - 1))
        --end;
    return s.substr(0, end);
}

}  // namespace

bool ParseLinkText(const std::string& text, LinkText* out) {
    *out = LinkText();
    if (text.compare(0, 5, kLinkMagic) != 0) return false;
    if (text.size() > 5) out->width = text[5] == '1' ? 10 : 16;
    if (text.size() > 6 && text[6] >= '0' && text[6] <= '9') out->declared = text[6] - '0';
    const size_t w = static_cast<size_t>(out->width);
    const size_t plain = kHeadSize + static_cast<size_t>(out->declared) * (kKeyWidth + w);
    // Whatever the text holds beyond the plain layout belongs to the first
    // link value that was stored whole.
    size_t overflow = text.size() > plain ? text.size() - plain : 0;
    size_t pos = kHeadSize;
    for (int i = 0; i < out->declared && pos + kKeyWidth <= text.size(); ++i) {
        LinkEntry e;
        e.start = pos;
        e.key = text.substr(pos, kKeyWidth);
        e.span = w;
        if (overflow && UpToBlank(e.key) == kLinkKey) {
            e.span += overflow;
            overflow = 0;
        }
        // Only whole entries count: a text cut short ends before its last one.
        if (pos + kKeyWidth + e.span > text.size()) break;
        e.value = text.substr(pos + kKeyWidth, e.span);
        out->entries.push_back(e);
        pos += kKeyWidth + e.span;
    }
    return true;
}

std::string BuildLinkEntry(const char* key, const char* value, int width, bool keepLong) {
    const std::string k = Fit(key, kKeyWidth, false);
    const bool link = UpToBlank(k) == kLinkKey;
    return k + Fit(value, static_cast<size_t>(width), keepLong && link);
}

int LinkTagAdd(WPARAM, const CmdRequest* req) {
    Target t = TargetOf(req);
    if (!t.element) return 0;
    std::string text;
    const bool had = ReadLinkText(t.element, &text);
    if (!had) text = "KOLTA20000";
    LinkText parsed;
    // A tag text that is not a link text belongs to someone else: keep it.
    if (!ParseLinkText(text, &parsed) || text.size() < kHeadSize) return 0;
    if (parsed.declared > 8) return 0;
    // A text shorter than its count says is damaged: adding would misplace.
    if (parsed.entries.size() != static_cast<size_t>(parsed.declared)) return 0;
    text[6] = static_cast<char>('0' + parsed.declared + 1);
    text += BuildLinkEntry(reinterpret_cast<const char*>(req->w.text), reinterpret_cast<const char*>(req->w.text2),
                           parsed.width, true);
    if (!Store(t, text)) return 0;
    if (!had) DAriSetTag(t.element, kLinkTag, 1);
    return 1;
}

namespace {
// The link text of the element a request names, read and split.
struct LinkOf {
    Target t;
    std::string text;
    LinkText parsed;
    bool found = false;

    explicit LinkOf(const CmdRequest* req) : t(TargetOf(req)) {
        found = t.element && ReadLinkText(t.element, &text) && ParseLinkText(text, &parsed);
    }
    // Entry +0x10 of the request, null when the index names none: nothing
    // outside the text is read or written.
    const LinkEntry* Entry(const CmdRequest* req) const {
        const int index = req->w.mode;
        if (!found || index < 0 || static_cast<size_t>(index) >= parsed.entries.size()) return nullptr;
        return &parsed.entries[static_cast<size_t>(index)];
    }
};
}  // namespace

int LinkTagGet(WPARAM, const CmdRequest* req) {
    LinkOf link(req);
    if (!link.found) return 1;
    const LinkEntry* e = link.Entry(req);
    if (!e) return 0;
    const std::string key = UpToBlank(e->key);
    std::string value = e->value.substr(0, DbcsBoundary(e->value, static_cast<size_t>(link.parsed.width)));
    if (key == kLinkKey && IsFileValue(e->value)) {
        // A file name may hold blanks: the whole value, without the padding.
        value = TrimTrailingBlanks(e->value);
        value.resize(DbcsBoundary(value, kFileValueLimit));
        CopyField(req->w.text, key);
        if (char* out = reinterpret_cast<char*>(req->w.text2)) {
            std::memset(out, 0, kModuleField);
            std::memcpy(out, value.c_str(), value.size() + 1);
        }
        return 1;
    }
    CopyField(req->w.text, key);
    CopyField(req->w.text2, UpToBlank(value));
    return 1;
}

int LinkTagCount(WPARAM, const CmdRequest* req) {
    LinkOf link(req);
    return link.found ? static_cast<int>(link.parsed.entries.size()) : 0;
}

int LinkTagSet(WPARAM, const CmdRequest* req) {
    LinkOf link(req);
    const LinkEntry* e = link.Entry(req);
    if (!e) return 0;
    const std::string entry = BuildLinkEntry(reinterpret_cast<const char*>(req->w.text),
                                             reinterpret_cast<const char*>(req->w.text2), link.parsed.width, false);
    // The whole old entry goes, a long link value included, so that the
    // entries after it keep their places.
    link.text.replace(e->start, std::min(kKeyWidth + e->span, link.text.size() - e->start), entry);
    return Store(link.t, link.text) ? 1 : 0;
}

int LinkTagClear(WPARAM, const CmdRequest* req) {
    Target t = TargetOf(req);
    if (!t.element) return 0;
    DAriSetTagString(t.element, nullptr);
    DAriSetTag(t.element, kLinkTag, 0);
    MarkModified(t.view);
    return 1;
}

CadMark* FindLinkTagElements(HWND view, const char* key, const char* value) {
    DbHeader* db = ViewDb(view);
    if (!db) return nullptr;
    const bool everything = (!key && !value) || (key && value && !*key && !*value);
    CadMark* result = nullptr;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        std::string text;
        LinkText parsed;
        if (!ReadLinkText(e, &text) || !ParseLinkText(text, &parsed)) continue;
        bool match = everything;
        for (size_t i = 0; !match && i < parsed.entries.size(); ++i) {
            const std::string k = UpToBlank(parsed.entries[i].key);
            const std::string v = UpToBlank(parsed.entries[i].value);
            match = (!key || k == key) && (!value || v == value);
            if (k == kLinkKey) break;
        }
        if (!match) continue;
        if (!result) result = DAriCreateMark(db);
        if (!result) return nullptr;
        DAriSetMark(e, result);
    }
    return result;
}

CadMark* FindLinkTagElementsFor(const CmdRequest* req) {
    if (!req) return nullptr;
    return FindLinkTagElements(RequestView(req), reinterpret_cast<const char*>(req->w.text),
                               reinterpret_cast<const char*>(req->w.text2));
}

int FindLinkTagAtPoint(HWND view, const double* point) {
    DbHeader* db = ViewDb(view);
    void* record = HostHooks().viewRecord ? HostHooks().viewRecord(view) : nullptr;
    if (!db || !record || !point) return 0;
    CadMark* linked = FindLinkTagElements(view, kLinkKey, nullptr);
    if (!linked) return 0;
    SearchOptionRecord saved, temporary = {};
    DAriDbGetSerch(&saved);
    const int32_t words[7] = {3, 0xCFFFF, -1, 0xFFFF, 0xFFFFFE, 255, 255};
    std::memcpy(temporary.words, words, sizeof words);
    DAriDbSetSerch(&temporary);
    CadPoint3 at = {point[0], point[1], point[2]};
    CadMark* hit = DAriGetElementMarkByPointWithMark(at, PickAreaInDrawing(), db, record, linked);
    DAriDbSetSerch(&saved);
    int result = 0;
    if (hit && DAriGetMarkNum(hit) >= 1 && DAriGetBackMark(nullptr, hit)) result = 1;
    if (hit) DAriDestroyMark(hit);
    DAriDestroyMark(linked);
    return result;
}
