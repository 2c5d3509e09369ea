#include "command/element_services.h"

#include <cstdio>
#include <cstring>

#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "win/message_box.h"

using namespace drawing;

namespace {

const int kPageLimit = 512;

bool English() { return HostHooks().language && HostHooks().language() != 0; }

void SetF64(void* rec, uint32_t off, double v) { CadSetF64(rec, off, v); }

// The three doubles of a direction vector set to the plane's normal.
void Normal(void* rec, uint32_t off) {
    SetF64(rec, off, 0.0);
    SetF64(rec, off + 8, 0.0);
    SetF64(rec, off + 16, 1.0);
}

DbHeader* DbOfRequest(const CmdRequest* req, HWND* view = nullptr) {
    HWND v = RequestView(req);
    if (view) *view = v;
    return ViewDb(v);
}

const void* RecordAt(uint32_t word) { return reinterpret_cast<const void*>(word); }

int RecordPage(const void* record) { return static_cast<const ElementRecord*>(record)->page; }

// Appends the record as a plain element of `db` after the page check and
// the flattening; marks the drawing modified.
StoredElement* AppendChecked(HWND view, DbHeader* db, const void* record) {
    if (!db || !record) return nullptr;
    ElementRecord rec;
    std::memcpy(&rec, record, sizeof rec);
    if (!CheckPageEditable(rec.page, db)) return nullptr;
    FlattenRecord(&rec);
    StoredElement* e = DAriAppendElement(&rec, db);
    if (e) {
        MarkModified(view);
        RefreshPopups();
    }
    return e;
}

// Moves the marked elements into `group` as members (MakeGroup, AddToGroup).
int MoveMarkedIntoGroup(DbHeader* db, StoredElement* group, CadMark* mark) {
    if (!mark) return 0;
    DrawMark(0, mark);
    int moved = 0;
    for (void* e = DAriGetNextMark(nullptr, mark); e;) {
        void* next = DAriGetNextMark(e, mark);
        auto* element = static_cast<StoredElement*>(e);
        uint8_t buffer[176] = {};
        if (DAriReadElement(element, 4, buffer, db)) {
            DAriSetTransFg(0);
            StoredElement* member = DAriAppendMemberElement(group, buffer, db);
            DAriSetTransFg(1);
            if (member) {
                DAriElementParamCopy(member, element);
                member->owner = group;
                // A group taken into a group keeps what it holds.
                if (IsGroupElementKind(element->rec.kind)) CopyMembersInto(db, element, member);
                DAriDeleteElement(element, db);
                ++moved;
            }
        }
        e = next;
    }
    return moved;
}

// MakeGroup and AddToGroup: the marked elements into the group, which is
// shown as it now is.
void GatherIntoGroup(HWND view, DbHeader* db, StoredElement* group, CadMark* mark) {
    MoveMarkedIntoGroup(db, group, mark);
    DrawElement(view, -1, group);
    MarkModified(view);
    RefreshPopups();
}

}  // namespace

std::vector<StoredElement*> DirectMembers(StoredElement* group) {
    std::vector<StoredElement*> out;
    StoredElement* m = group ? group->member : nullptr;
    auto holds = [](StoredElement* e) { return IsGroupElementKind(e->rec.kind) || e->rec.kind == kElmCompound; };
    for (int i = 0; group && i < group->count && m; ++i) {
        out.push_back(m);
        // The next direct member follows m's own members in the list.
        long left = holds(m) ? m->count : 0;
        StoredElement* n = m->member;
        while (left > 0 && n) {
            --left;
            if (holds(n)) left += n->count;
            n = n->member;
        }
        m = n;
    }
    return out;
}

int CopyMembersInto(DbHeader* db, StoredElement* from, StoredElement* into) {
    // The members are read where they are; `db` is the database of `into`.
    int copied = 0;
    for (StoredElement* m : DirectMembers(from)) {
        ElementRecord rec = m->rec;
        DAriSetTransFg(0);
        StoredElement* copy = DAriAppendMemberElement(into, &rec, db);
        DAriSetTransFg(1);
        if (!copy) continue;
        DAriElementParamCopy(copy, m);
        ++copied;
        if (IsGroupElementKind(rec.kind)) copied += CopyMembersInto(db, m, copy);
    }
    return copied;
}

int& ExtraDataSwitch() {
    static int value = 0;
    return value;
}

HWND RequestView(const CmdRequest* req) {
    if (req && req->view) return req->view;
    return ActiveView();
}

int CheckPageEditable(int page, DbHeader* db) {
    HWND frame = CmdMainFrame();
    // A page number outside the set indexes nothing: refused before the set
    // is looked at.
    if (page < 0 || page >= kPageLimit) {
        char text[80];
        std::snprintf(text, sizeof text, "現在のページ[%d]は不適切です。", page);
        ZavMessageBox(frame, text, "エラー", MB_OK);
        return 0;
    }
    PageStateBlock state;
    if (db) {
        state = db->pages;
    } else if (!GetPageState(&state)) {
        return 0;
    }
    if (state.detect[page / 32] & (1u << (page % 32))) return 1;
    ExecutorState& ex = Executor();
    if (ex.pageEditWarningArmed) {
        ex.pageEditWarningArmed = 0;
        if (English())
            ZavMessageBox(frame, "Read Only.", "Check", MB_OK);
        else
            ZavMessageBox(frame, "現在のページは参照のため要素の編集はできません。", "要素チェック", MB_OK);
    }
    return 0;
}

void FlattenRecord(void* record) {
    if (!record || Switches().appendKeepFields) return;
    switch (static_cast<ElementRecord*>(record)->kind) {
    case kElmLine:
    case kElmBlock:
        SetF64(record, kOffP1Z, 0.0);
        SetF64(record, kOffP2Z, 0.0);
        break;
    case kElmPoint: SetF64(record, kOffP1Z, 0.0); break;
    case kElmCircle:
        SetF64(record, kOffP1Z, 0.0);
        Normal(record, 65);
        break;
    case kElmArc:
        SetF64(record, kOffP1Z, 0.0);
        Normal(record, 83);
        break;
    case kElmText:
        SetF64(record, kOffTextZ, 0.0);
        Normal(record, 140);
        break;
    case kElmEllipse:
        SetF64(record, kOffP1Z, 0.0);
        SetF64(record, kOffP2Z, 0.0);
        Normal(record, 89);
        break;
    case kElmEllipticArc:
        SetF64(record, kOffP1Z, 0.0);
        SetF64(record, kOffP2Z, 0.0);
        Normal(record, 107);
        break;
    case kElmFigure: SetF64(record, kOffFigZ, 0.0); break;
    default: break;
    }
}

StoredElement* AppendElementToActive(const void* record) {
    HWND view = ActiveView();
    return AppendChecked(view, ViewDb(view), record);
}

StoredElement* AppendRequestElement(const CmdRequest* req) {
    if (!req) return nullptr;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    return AppendChecked(view, db, RecordAt(req->word6c));
}

int ChangeRequestElement(const CmdRequest* req) {
    if (!req || !req->word6c) return 0;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    if (!db) return 0;
    StoredElement* element = DAriReadElement(Element(req->element), static_cast<int>(req->element2), nullptr, db);
    if (!element) return 0;
    // The element's stored form with the module's record over its start.
    StoredElement contents = *element;
    std::memcpy(&contents.rec, RecordAt(req->word6c), sizeof(ElementRecord));
    if (!CheckPageEditable(contents.rec.page, db)) return 0;
    FlattenRecord(&contents.rec);
    StoredElement* changed = DAriChangeElement(element, &contents.rec, db);
    if (contents.rec.kind == kElmBlock) {
        // The library keeps its own copy of the block the record carried.
        if (HGLOBAL block = static_cast<HGLOBAL>(CadGetPtr(&contents.rec, kOffBlockHandle))) GlobalFree(block);
    }
    if (!changed) return 0;
    MarkModified(view);
    RefreshPopups();
    return 1;
}

int DeleteRequestElement(WPARAM flags, const CmdRequest* req) {
    if (!req || !req->element) return 0;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    StoredElement* element = Element(req->element);
    ElementRecord rec;
    if (!ReadOwn(element, db, &rec)) return 0;
    // A refused element stays in the drawing, so it stays on the screen too.
    if (!CheckPageEditable(rec.page, db)) return 0;
    if (!(flags & 1)) DrawElement(view, 0, element);
    const int result = DAriDeleteElement(element, db);
    if (result) {
        MarkModified(view);
        RefreshPopups();
    }
    return result;
}

int DeleteMarkedElements(CadMark* mark) {
    if (!mark || !mark->db) return 0;
    DbHeader* db = mark->db;
    HWND view = ViewOfDb(db);
    DrawMark(0, mark);
    int deleted = 0;
    int result = 1;
    for (void* e = DAriGetNextMark(nullptr, mark); e;) {
        void* next = DAriGetNextMark(e, mark);
        auto* element = static_cast<StoredElement*>(e);
        ElementRecord rec;
        if (!ReadOwn(element, db, &rec)) {
            e = next;
            continue;
        }
        if (!CheckPageEditable(rec.page, db)) {
            // The deletions made so far stay; what remains is shown again.
            for (void* r = e; r; r = DAriGetNextMark(r, mark))
                DrawElement(view, -1, r);
            result = 0;
            break;
        }
        if (DAriDeleteElement(element, db)) ++deleted;
        e = next;
    }
    if (deleted) {
        MarkDbModified(db);
        RefreshPopups();
    }
    return result;
}

StoredElement* MakeGroup(const CmdRequest* req) {
    if (!req || !req->record) return nullptr;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    if (!db) return nullptr;
    const void* header = RecordAt(req->record);
    if (!CheckPageEditable(RecordPage(header), db)) return nullptr;
    StoredElement* group = DAriCreateFgroupHead(header, db);
    if (!group) return nullptr;
    GatherIntoGroup(view, db, group, Mark(req->mark));
    return group;
}

int AddToGroup(const CmdRequest* req) {
    if (!req) return 0;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    StoredElement* group = Element(req->element);
    ElementRecord head, tested;
    if (!ReadOwn(group, db, &head)) return 0;
    // The page tested is that of the element the request names (+0x34).
    const int page = ReadOwn(Element(req->record), db, &tested) ? tested.page : head.page;
    if (!CheckPageEditable(page, db)) return 0;
    GatherIntoGroup(view, db, group, Mark(req->mark));
    return 1;
}

StoredElement* AppendGroup(const CmdRequest* req) {
    if (!req || !req->record) return nullptr;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    if (!db) return nullptr;
    ElementRecord rec;
    std::memcpy(&rec, RecordAt(req->record), sizeof rec);
    if (!CheckPageEditable(rec.page, db)) return nullptr;
    if (!Switches().appendKeepFields && rec.kind == kElmFigure) SetF64(&rec, kOffFigZ, 0.0);
    StoredElement* e = DAriAppendFgroup(Element(req->element), &rec, db);
    if (e) {
        MarkModified(view);
        RefreshPopups();
    }
    return e;
}

int ExplodeFigure(const CmdRequest* req) {
    if (!req) return 0;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    StoredElement* figure = Element(req->record);
    ElementRecord place;
    if (!ReadOwn(figure, db, &place) || place.kind != kElmFigure) return 0;
    if (!CheckPageEditable(place.page, db)) return 0;
    StoredElement* header = DAriGetFgroupHeaderIdx(figure, db);
    if (!header) return 0;
    DrawElement(view, 0, figure);
    const double scale = CadGetF64(&place, kOffFigScale), angle = CadGetF64(&place, kOffFigAngle);
    const double px = CadGetF64(&place, kOffFigX), py = CadGetF64(&place, kOffFigY);
    const double bx = CadGetF64(&header->rec, kOffHdrBaseX), by = CadGetF64(&header->rec, kOffHdrBaseY);
    auto& transform = HostHooks().transformElementCoords;
    ForEachMember(header, db, [&](StoredElement*, ElementRecord& rec) {
        // A nested group's members come one by one; its own record holds nothing.
        if (IsGroupElementKind(rec.kind)) return;
        if (transform) transform(&rec, angle, scale, scale, px, py, bx, by);
        if (StoredElement* plain = DAriAppendElement(&rec, db)) DrawElement(view, -1, plain);
    });
    DAriDeleteElement(figure, db);
    MarkModified(view);
    RefreshPopups();
    return 1;
}

int ExplodeGroup(const CmdRequest* req) {
    if (!req) return 0;
    ExtraDataSwitch() = 1;
    HWND view = nullptr;
    DbHeader* db = DbOfRequest(req, &view);
    StoredElement* group = Element(req->record);
    ElementRecord head;
    if (!ReadOwn(group, db, &head) || !IsGroupElementKind(head.kind)) return 0;
    if (!CheckPageEditable(head.page, db)) return 0;
    CadMark* mark = DAriCreateMark(db);
    if (!mark) return 0;
    ForEachMember(group, db, [&](StoredElement* member, ElementRecord& rec) {
        const int kind = rec.kind;
        if (IsGroupElementKind(kind)) return;
        if (kind >= kElmLine && kind <= kElmEllipticArc && rec.colour == 0) return;
        StoredElement* plain = DAriAppendElement(&rec, db);
        if (!plain) return;
        DAriElementParamCopy(plain, member);
        ResetExtraData(plain, 3);
        DAriSetMark(plain, mark);
        plain->count = 0;
        plain->owner = nullptr;
        plain->member = nullptr;
        plain->memberPrev = nullptr;
    });
    DAriDeleteElement(group, db);
    DrawMark(-1, mark);
    DAriDestroyMark(mark);
    MarkModified(view);
    RefreshPopups();
    return 1;
}

StoredElement* GetGroupHeaderOf(const CmdRequest* req) {
    if (!req) return nullptr;
    DbHeader* db = req->view ? ViewDb(req->view) : reinterpret_cast<DbHeader*>(req->word6c);
    return db ? DAriGetFgroupHeaderIdx(Element(req->element), db) : nullptr;
}

namespace {
// The record of the member last read for a module.
ElementRecord g_memberBuffer;
}  // namespace

StoredElement* ReadFirstMember(const CmdRequest* req) {
    if (!req) return nullptr;
    DbHeader* db = DbOfRequest(req);
    return db ? DAriReadFirstMember(Element(req->element), &g_memberBuffer, db) : nullptr;
}

StoredElement* ReadNextMember(const CmdRequest* req) {
    if (!req || req->w.mode != 1) return nullptr;
    DbHeader* db = DbOfRequest(req);
    return db ? DAriReadNextMember(Element(req->record), &g_memberBuffer, db) : nullptr;
}

int ResetExtraData(StoredElement* element, int mode) {
    if (!element) return 0;
    ElementRecord& rec = element->rec;
    const int kind = rec.kind;
    if (kind >= kElmLine && kind <= kElmEllipticArc) {
        if (mode & 3) DAriSetExtrData(element, 39, 0, 1, 0);
        return 0;
    }
    if (kind != kElmGroup) return 0;
    if (rec.subKind >= 905 && rec.subKind <= 907) {
        if (!(mode & 1)) return 0;
        rec.subKind = 0;
        for (int slot = 39; slot <= 43; ++slot)
            DAriSetExtrData(element, slot, 0, 1, 0);
        DAriSetExtrData(element, 38, 0, 1, 0);
        return 1;
    }
    if (ExtraDataSwitch() == 1) DAriSetExtrData(element, 38, 0, 1, 0);
    return 0;
}

StoredElement* CopyFigureDefinition(DbHeader* source, DbHeader* target, StoredElement* figure) {
    StoredElement* from = (source && target) ? DAriGetFgroupHeaderIdx(figure, source) : nullptr;
    if (!from) return nullptr;
    StoredElement* header = DAriCreateFgroupHead(&from->rec, target);
    if (!header) return nullptr;
    DAriElementParamCopy(header, from);
    header->count = 0;
    CopyMembersInto(target, from, header);
    return header;
}
