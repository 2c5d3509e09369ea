#include "command/transform_services.h"

#include <cmath>
#include <cstring>
#include <map>
#include <vector>

#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "command/host_hooks.h"
#include "command/mark_services.h"
#include "command/selection_services.h"
#include "win/message_box.h"

using namespace drawing;

namespace {

// Call-scoped overrides of the to-layer services (-1: none).
int g_pageOverride = -1;
int g_attributeOverride = -1;
// The copy-group switches, set for the duration of one group copy.
bool g_groupCopy = false;
bool g_sameDrawing = false;
bool g_pointDrop = false;

double F(const void* rec, uint32_t off) { return CadGetF64(rec, off); }
void Set(void* rec, uint32_t off, double v) { CadSetF64(rec, off, v); }

bool KindIn(int kind, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (k == kind) return true;
    return false;
}

// Kinds whose page the mapping and the overrides set, by operation.
const std::initializer_list<int> kCopyPageKinds = {1, 2, 3, 4, 5, 6, 7, 21, 22, 31, 32, 40, 50, 55, 60};
const std::initializer_list<int> kMovePageKinds = {1, 2, 3, 4, 5, 6, 7, 21, 22, 31, 32, 40, 50, 60};
const std::initializer_list<int> kGroupPageKinds = {1, 2, 3, 4, 5, 6, 7, 21, 22, 31, 32, 40, 50};

int PointScale() { return HostHooks().pointScaleFlag ? HostHooks().pointScaleFlag() : 0; }

// Every operation leaves the transform record as it found it: the
// cross-drawing copy adjusts it for its own call.
struct KeepTransform {
    TransformParams saved = CurrentTransform();
    ~KeepTransform() { CurrentTransform() = saved; }
};

// Where copied or moved elements go and how their pages are mapped.
struct Destination {
    DbHeader* source = nullptr;
    DbHeader* target = nullptr;
    HWND sourceView = nullptr;
    HWND targetView = nullptr;
    bool otherDrawing = false;
    bool toCurrentPage = false;  // the page mapping sends elements to the current page
    int currentPage = 0;
    int mappedAttribute = 0;
    int layer = -1;
    int modeBits = 0;

    void Map(ElementRecord& rec, std::initializer_list<int> kinds) const {
        if (!KindIn(rec.kind, kinds)) return;
        if (g_pageOverride >= 0) {
            rec.page = g_pageOverride;
        } else if (toCurrentPage) {
            rec.page = currentPage;
            rec.attribute = static_cast<uint8_t>(mappedAttribute);
        }
        if (g_attributeOverride >= 0) {
            rec.attribute = static_cast<uint8_t>(g_attributeOverride);
            if (g_attributeOverride == 1) rec.page = 0;
        }
        if (layer >= 0) rec.layer = static_cast<uint16_t>(layer);
    }

    // The page an element is checked against: its own, the current page
    // the mapping sends it to, or none when an override page was tested
    // beforehand.
    bool PagePasses(const ElementRecord& rec, std::initializer_list<int> kinds) const {
        if (g_pageOverride >= 0 && KindIn(rec.kind, kinds)) return true;
        if (!CheckPageEditable(rec.page, source)) return false;
        if (toCurrentPage && KindIn(rec.kind, kinds) && rec.page != currentPage)
            return CheckPageEditable(currentPage, target);
        return true;
    }
};

Destination MakeDestination(DbHeader* source, HWND targetView, int layer) {
    Destination d;
    d.source = source;
    d.targetView = targetView;
    d.target = ViewDb(targetView);
    d.sourceView = ViewOfDb(source);
    d.otherDrawing = d.source && d.target && d.source != d.target;
    d.layer = layer;
    d.toCurrentPage = d.otherDrawing && g_pageOverride < 0;
    d.currentPage = CurrentPage();
    const int mode = HostHooks().viewMode ? HostHooks().viewMode(targetView) : 0;
    d.mappedAttribute = mode == 1 ? 1 : 0;
    return d;
}

// A copy into another drawing: a transform made in one drawing's input scale lands
// in the other's.
void AdjustForOtherDrawing(const Destination& d, TransformParams& p) {
    if (!d.otherDrawing) return;
    auto& h = HostHooks();
    if (h.inputToDrawRatioOf) {
        const double from = h.inputToDrawRatioOf(d.sourceView), to = h.inputToDrawRatioOf(d.targetView);
        if (from != 0) p.t[0] *= to / from;
    }
    double centre[3] = {p.t[5], p.t[6], 0}, point[3] = {p.t[7], p.t[8], 0};
    if (h.toInputScalePointOf) {
        h.toInputScalePointOf(d.targetView, centre);
        h.toInputScalePointOf(d.targetView, point);
    }
    if (h.fromInputScalePointOf) {
        h.fromInputScalePointOf(d.sourceView, centre);
        h.fromInputScalePointOf(d.targetView, point);
    }
    p.t[5] = centre[0];
    p.t[6] = centre[1];
    p.t[7] = point[0];
    p.t[8] = point[1];
}

int ModeBits(const Destination& d) {
    int bits = 0;
    if (d.layer >= 0 || g_pageOverride >= 0 || d.otherDrawing) bits |= 2;
    if (!IsIdentityTransform(CurrentTransform())) bits |= 1;
    return bits;
}

// New memory for the raster data a copy carries, so that each drawing owns
// its own.
void DuplicateRaster(ElementRecord& rec) {
    auto copy = [&](uint32_t ptrOff, uint32_t sizeOff) {
        const void* from = CadGetPtr(&rec, ptrOff);
        const uint32_t size = CadGetU32(&rec, sizeOff);
        if (!from || !size) return;
        void* to = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (to) std::memcpy(to, from, size);
        CadSetPtr(&rec, ptrOff, to);
        if (!to) CadSetU32(&rec, sizeOff, 0);
    };
    copy(kOffRasterComp, kOffRasterCompSize);
    copy(kOffRasterBits, kOffRasterBitsSize);
}

struct GroupCopy {
    const Destination& d;
    DbHeader* target;
    bool failed = false;

    // Copies the direct members of `from` under `into`; false when the
    // library could not take one.
    bool Members(StoredElement* from, StoredElement* into) {
        for (StoredElement* m : DirectMembers(from)) {
            ElementRecord rec = m->rec;
            if (g_groupCopy) {
                if (g_pointDrop && rec.kind == kElmPoint && rec.colour == 0) continue;
                d.Map(rec, kGroupPageKinds);
                TransformRecordByKind(&rec, CurrentTransform(), false, PointScale());
            }
            // Each copy goes to the end of the new group's own members.
            StoredElement* copy = DAriAppendMemberElementExt(into, nullptr, &rec, target);
            if (!copy) {
                ZavMessageBox(CmdMainFrame(), "メモリーが不足しています。", "エラー", MB_OK | MB_ICONERROR);
                return false;
            }
            DAriElementParamCopy(copy, m);
            ResetExtraData(copy, d.modeBits);
            if (IsGroupElementKind(rec.kind) && !Members(m, copy)) return false;
        }
        return true;
    }
};

// The library's fast access for a bulk copy, unless a module has it on.
struct FastAccess {
    bool own = !Switches().fastAccess;
    FastAccess() {
        if (own) DAriFastAccessOn();
    }
    ~FastAccess() {
        if (own) DAriFastAccessOff();
    }
};

// User data of a group copy that carries a scaled size and an angle.
void AdjustGroupUserData(StoredElement* copy) {
    uint8_t data[256];
    if (!DAriGet256UserData(copy, data)) return;
    if (std::memcmp(data + 3, "ES_E", 4) != 0 || std::memcmp(data + 7, "CAD", 3) != 0 ||
        std::memcmp(data + 12, "02", 2) != 0)
        return;
    const TransformParams& p = CurrentTransform();
    Set(data, 63, F(data, 63) * p.t[0]);
    Set(data, 71, F(data, 71) + TransformRotation(p));
    DAriSet256UserData(copy, data);
}

// A group of the copy or the move: copied as a new group (group-copy mode).
StoredElement* CopyGroupOf(const Destination& d, StoredElement* source, const ElementRecord& rec, bool sameDrawing) {
    CmdRequest req = {};
    req.view = d.targetView;
    req.mark = Word(d.source);
    const bool drop = rec.kind == kElmGroup && rec.subKind >= 905 && rec.subKind <= 907 && (d.modeBits & 1);
    g_groupCopy = true;
    g_sameDrawing = sameDrawing;
    g_pointDrop = drop;
    StoredElement* copy;
    {
        FastAccess fast;
        copy = CopyAsGroup(source, &req, rec.kind, d.modeBits);
    }
    g_groupCopy = g_sameDrawing = g_pointDrop = false;
    if (!copy) return nullptr;
    copy->rec.subKind = rec.subKind;
    if (rec.kind == kElmGroup2) CadSetU32(&copy->rec, kOffGroupWord, CadGetU32(&rec, kOffGroupWord));
    DAriElementParamCopy(copy, source);
    ResetExtraData(copy, d.modeBits);
    AdjustGroupUserData(copy);
    return copy;
}

// Groups are transformed in memory member by member; the group element
// itself stays as it is.
void TransformMembersInMemory(StoredElement* group, DbHeader* db, const TransformParams& p, int pointScale) {
    ForEachMemberLink(group, [&](StoredElement* m) {
        if (IsGroupElementKind(m->rec.kind)) return;
        ElementRecord rec = m->rec;
        TransformRecordByKind(&rec, p, false, pointScale);
        DAriMemChangeElement(m, &rec, db);
    });
}

struct ClearOverrides {
    ~ClearOverrides() { g_pageOverride = g_attributeOverride = -1; }
};

}  // namespace

TransformParams& CurrentTransform() {
    static TransformParams p = {{1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1}};
    return p;
}

int SetTransformParams(WPARAM all, const void* record) {
    if (!record) return 1;
    TransformParams& p = CurrentTransform();
    if (all == 1) {
        std::memcpy(p.t, record, 88);
    } else {
        std::memcpy(p.t, record, 72);
        p.t[9] = p.t[10] = p.t[0];
    }
    return 1;
}

bool IsIdentityTransform(const TransformParams& p) {
    const double e = 1e-7;
    return std::fabs(p.t[0] - 1) <= e && std::fabs(p.t[1] - 1) <= e && std::fabs(p.t[2]) <= e &&
           std::fabs(p.t[3]) <= e && std::fabs(p.t[4] - 1) <= e;
}

double TransformRotation(const TransformParams& p) {
    auto& atan = HostHooks().safeAtan2;
    return atan ? atan(p.t[3], p.t[1]) : 0.0;
}

void TransformRecordByKind(ElementRecord* rec, const TransformParams& p, bool copying, int pointScale) {
    auto& affine = HostHooks().transformPointAffine;
    const double rotation = TransformRotation(p);
    auto point = [&](uint32_t ox, uint32_t oy) {
        double x = F(rec, ox), y = F(rec, oy);
        if (affine) affine(&x, &y, p.t);
        Set(rec, ox, x);
        Set(rec, oy, y);
    };
    auto size = [&](uint32_t off) { Set(rec, off, F(rec, off) * p.t[0]); };
    auto angle = [&](uint32_t off) { Set(rec, off, F(rec, off) + rotation); };
    // What each kind stores: points (x offset; y follows 8 bytes on), sizes,
    // sizes that follow only with the point-scale setting, angles.
    struct KindFields {
        uint16_t kind;
        std::initializer_list<uint32_t> points, sizes, pointSizes, angles;
    };
    static const KindFields kFields[] = {
        {kElmLine, {kOffP1X, kOffP2X}, {}, {kOffStyle1, kOffStyle2}, {}},
        {kElmPoint, {kOffP1X}, {}, {kOffPointSize}, {kOffPointAngle}},
        {kElmCircle, {kOffP1X}, {kOffRadius}, {}, {}},
        {kElmArc, {kOffP1X}, {kOffRadius}, {kOffStyle1, kOffStyle2}, {kOffArcStart, kOffArcEnd}},
        {kElmText, {kOffTextX}, {kOffTextSize3, kOffTextSize4, kOffTextSize1, kOffTextSize2}, {}, {kOffTextAngle}},
        {kElmEllipse, {kOffP1X, kOffP2X}, {}, {}, {}},
        {kElmEllipticArc, {kOffP1X, kOffP2X}, {}, {kOffStyle1, kOffStyle2}, {kOffEllStart, kOffEllEnd}},
        {kElmFigure, {kOffFigX}, {kOffFigScale}, {}, {kOffFigAngle}},
    };
    for (const KindFields& f : kFields) {
        if (f.kind != rec->kind) continue;
        for (uint32_t off : f.points)
            point(off, off + 8);
        for (uint32_t off : f.sizes)
            size(off);
        if (pointScale)
            for (uint32_t off : f.pointSizes)
                size(off);
        for (uint32_t off : f.angles)
            angle(off);
        return;
    }
    switch (rec->kind) {
    case kElmBlock: {
        if (!copying) break;
        // The box moves with its centre and grows by the size factor; it is
        // never turned.
        const double x1 = F(rec, kOffP1X), y1 = F(rec, kOffP1Y), x2 = F(rec, kOffP2X), y2 = F(rec, kOffP2Y);
        double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
        const double hx = (x2 - x1) / 2 * p.t[0], hy = (y2 - y1) / 2 * p.t[0];
        if (affine) affine(&cx, &cy, p.t);
        Set(rec, kOffP1X, cx - hx);
        Set(rec, kOffP1Y, cy - hy);
        Set(rec, kOffP2X, cx + hx);
        Set(rec, kOffP2Y, cy + hy);
        break;
    }
    case kElmRaster: {
        if (!copying) break;
        point(kOffP1X, kOffP1Y);
        size(97);
        size(105);
        // The size in drawing units that the views show follows too.
        size(kOffP2X);
        size(kOffP2Y);
        angle(kOffRasterAngle);
        const double a = F(rec, kOffRasterAngle);
        Set(rec, 81, std::sin(a));
        Set(rec, 89, std::cos(a));
        break;
    }
    default: break;
    }
}

CadMark* TransformMarked(DbHeader* target, CadMark* mark, int layer) {
    if (!mark || !mark->db) return mark;
    KeepTransform keep;
    DbHeader* db = mark->db;
    if (!target) target = db;
    const TransformParams& p = CurrentTransform();
    const int pointScale = PointScale();
    std::map<StoredElement*, StoredElement*> definitions;
    bool changed = false;
    for (void* v = DAriGetNextMark(nullptr, mark); v; v = DAriGetNextMark(v, mark)) {
        auto* e = static_cast<StoredElement*>(v);
        ElementRecord rec;
        if (!ReadOwn(e, db, &rec) || !CheckPageEditable(rec.page, db)) continue;
        if (layer >= 0) rec.layer = static_cast<uint16_t>(layer);
        if (IsGroupElementKind(rec.kind)) {
            TransformMembersInMemory(e, db, p, pointScale);
        } else {
            if (rec.kind == kElmFigure && target != db) {
                StoredElement* from = DAriGetFgroupHeaderIdx(e, db);
                if (from && !definitions.count(from)) definitions[from] = CopyFigureDefinition(db, target, e);
            }
            TransformRecordByKind(&rec, p, false, pointScale);
        }
        if (DAriMemChangeElement(e, &rec, db)) changed = true;
    }
    if (changed) MarkDbModified(db);
    return mark;
}

namespace {

// Appends a copied record (not a group) to the target; the new element or
// null. Figure definitions follow a placed figure into another drawing once
// per call.
StoredElement* AppendCopy(const Destination& d, StoredElement* source, ElementRecord& rec,
                          std::map<StoredElement*, StoredElement*>& definitions) {
    StoredElement* added = nullptr;
    if (rec.kind == kElmFigure) {
        StoredElement* header = DAriGetFgroupHeaderIdx(source, d.source);
        if (header && d.otherDrawing) {
            auto found = definitions.find(header);
            if (found == definitions.end())
                found = definitions.emplace(header, CopyFigureDefinition(d.source, d.target, source)).first;
            header = found->second;
        }
        added = header ? DAriAppendFgroup(header, &rec, d.target) : DAriAppendElement(&rec, d.target);
    } else {
        if (rec.kind == kElmRaster) DuplicateRaster(rec);
        added = DAriAppendElement(&rec, d.target);
        if (!added && rec.kind == kElmRaster) {
            if (void* p = CadGetPtr(&rec, kOffRasterComp)) VirtualFree(p, 0, MEM_RELEASE);
            if (void* p = CadGetPtr(&rec, kOffRasterBits)) VirtualFree(p, 0, MEM_RELEASE);
        }
    }
    if (!added) return nullptr;
    DAriElementParamCopy(added, source);
    ResetExtraData(added, d.modeBits);
    return added;
}

// The result mark in the target, with the transform adjusted for another
// drawing and the mode bits of the copies; null without a target.
CadMark* Prepare(Destination& d) {
    if (!d.target) return nullptr;
    CadMark* result = DAriCreateMark(d.target);
    if (!result) return nullptr;
    AdjustForOtherDrawing(d, CurrentTransform());
    d.modeBits = ModeBits(d);
    return result;
}

std::vector<StoredElement*> MarkedElements(CadMark* mark) {
    std::vector<StoredElement*> out;
    for (void* v = DAriGetNextMark(nullptr, mark); v; v = DAriGetNextMark(v, mark))
        out.push_back(static_cast<StoredElement*>(v));
    return out;
}

}  // namespace

CadMark* CopyMarked(CadMark* mark, int layer) {
    RefreshPopups();
    ExtraDataSwitch() = 1;
    if (!mark || !mark->db) return nullptr;
    KeepTransform keep;
    HWND targetView = ActiveView();
    Destination d = MakeDestination(mark->db, targetView, layer);
    CadMark* result = Prepare(d);
    if (!result) return nullptr;
    const int pointScale = PointScale();
    std::map<StoredElement*, StoredElement*> definitions;
    int copied = 0;
    for (StoredElement* e : MarkedElements(mark)) {
        ElementRecord rec;
        if (!ReadOwn(e, d.source, &rec) || !d.PagePasses(rec, kCopyPageKinds)) continue;
        d.Map(rec, kCopyPageKinds);
        if (IsGroupElementKind(rec.kind)) {
            StoredElement* copy = CopyGroupOf(d, e, rec, false);
            if (!copy) {
                DAriDestroyMark(result);
                if (copied) MarkModified(targetView);
                return nullptr;
            }
            DAriSetMark(copy, result);
            ++copied;
            continue;
        }
        TransformRecordByKind(&rec, CurrentTransform(), true, pointScale);
        if (StoredElement* added = AppendCopy(d, e, rec, definitions)) {
            DAriSetMark(added, result);
            ++copied;
        }
    }
    DrawMark(-1, result);
    if (copied) MarkModified(targetView);
    return result;
}

CadMark* MoveMarked(int flags, CadMark* mark, int layer) {
    RefreshPopups();
    ExtraDataSwitch() = 1;
    if (!mark || !mark->db) return nullptr;
    KeepTransform keep;
    Destination d;
    if (flags & 2) {
        // Within the mark's own drawing, whichever view is active.
        d = MakeDestination(mark->db, ViewOfDb(mark->db), layer);
        d.target = mark->db;
        d.otherDrawing = false;
        d.toCurrentPage = false;
    } else {
        d = MakeDestination(mark->db, ActiveView(), layer);
    }
    CadMark* result = Prepare(d);
    if (!result) return nullptr;
    const int pointScale = PointScale();
    const TransformParams& p = CurrentTransform();
    if (!(flags & 1)) DrawMark(0, mark);
    std::map<StoredElement*, StoredElement*> definitions;
    int moved = 0;
    CadMark* failed = nullptr;
    for (StoredElement* e : MarkedElements(mark)) {
        ElementRecord rec;
        if (!ReadOwn(e, d.source, &rec) || !d.PagePasses(rec, kMovePageKinds)) continue;
        if (IsGroupElementKind(rec.kind)) {
            d.Map(rec, kMovePageKinds);
            StoredElement* copy = CopyGroupOf(d, e, rec, (flags & 2) != 0);
            if (!copy) {
                failed = result;
                break;
            }
            DAriSetMark(copy, result);
            DAriDeleteElement(e, d.source);
            ++moved;
            continue;
        }
        d.Map(rec, kMovePageKinds);
        if (d.otherDrawing) {
            TransformRecordByKind(&rec, p, true, pointScale);
            if (StoredElement* added = AppendCopy(d, e, rec, definitions)) {
                DAriSetMark(added, result);
                DAriDeleteElement(e, d.source);
                ++moved;
            }
            continue;
        }
        if (KindIn(rec.kind, {1, 2, 3, 4, 5, 6, 7, 32})) TransformRecordByKind(&rec, p, false, pointScale);
        const int32_t figureIndex = e->count;
        if (!DAriChangeElement(e, &rec, d.source)) continue;
        e->owner = rec.kind == kElmFigure ? e->owner : nullptr;
        if (rec.kind == kElmFigure) e->count = figureIndex;
        DAriSetMark(e, result);
        ++moved;
    }
    if (moved) {
        MarkDbModified(d.source);
        if (d.otherDrawing) MarkModified(d.targetView);
    }
    if (failed) {
        DAriDestroyMark(failed);
        return nullptr;
    }
    if (!(flags & 1)) {
        SelectMarked(1, result);
        DrawMark(-1, result);
    }
    return result;
}

CadMark* CopyMarkedToLayer(CadMark* mark, int layer, int page, int attribute) {
    ClearOverrides clear;
    g_pageOverride = page;
    g_attributeOverride = attribute;
    if (!CheckPageEditable(page, ActiveDb())) return nullptr;
    return CopyMarked(mark, layer);
}

CadMark* MoveMarkedToLayer(int flags, CadMark* mark, int layer, int page, int attribute) {
    ClearOverrides clear;
    g_pageOverride = page;
    g_attributeOverride = attribute;
    DbHeader* target = (flags & 2) && mark ? mark->db : ActiveDb();
    if (!CheckPageEditable(page, target)) return nullptr;
    return MoveMarked(flags, mark, layer);
}

StoredElement* CopyAsGroup(StoredElement* sourceGroup, const CmdRequest* req, int kind, int modeBits) {
    RefreshPopups();
    if (!req) return nullptr;
    HWND view = RequestView(req);
    DbHeader* target = ViewDb(view);
    DbHeader* source = g_groupCopy ? reinterpret_cast<DbHeader*>(req->mark) : target;
    if (g_groupCopy && g_sameDrawing) target = source;
    if (!target || !source) return nullptr;
    Destination d;
    d.source = source;
    d.target = target;
    d.targetView = view;
    d.sourceView = ViewOfDb(source);
    d.otherDrawing = source != target;
    d.toCurrentPage = d.otherDrawing && g_pageOverride < 0;
    d.currentPage = CurrentPage();
    d.mappedAttribute = (HostHooks().viewMode && HostHooks().viewMode(view) == 1) ? 1 : 0;
    d.modeBits = modeBits;
    CadMark* mark = g_groupCopy ? nullptr : Mark(req->mark);
    std::vector<StoredElement*> marked = mark ? MarkedElements(mark) : std::vector<StoredElement*>();

    ElementRecord header = {};
    header.kind = static_cast<uint16_t>(kind);
    ElementRecord first;
    if (g_groupCopy && ReadOwn(sourceGroup, source, &first))
        header.page = first.page;
    else if (!marked.empty() && ReadOwn(marked.front(), target, &first))
        header.page = first.page;
    if (g_pageOverride >= 0)
        header.page = g_pageOverride;
    else if (d.toCurrentPage)
        header.page = d.currentPage;
    if (!CheckPageEditable(header.page, target)) return nullptr;
    StoredElement* group = DAriAppendElement(&header, target);
    if (!group) return nullptr;

    GroupCopy copier{d, target};
    bool ok = true;
    if (g_groupCopy) {
        ok = copier.Members(sourceGroup, group);
    } else {
        for (StoredElement* e : marked) {
            ElementRecord rec;
            if (!ReadOwn(e, target, &rec)) continue;
            StoredElement* copy = DAriAppendMemberElementExt(group, nullptr, &rec, target);
            if (!copy) {
                ZavMessageBox(CmdMainFrame(), "メモリーが不足しています。", "エラー", MB_OK | MB_ICONERROR);
                ok = false;
                break;
            }
            DAriElementParamCopy(copy, e);
            ResetExtraData(copy, modeBits);
            if (IsGroupElementKind(rec.kind) && !copier.Members(e, copy)) {
                ok = false;
                break;
            }
        }
    }
    if (!ok) {
        // Nothing of a group that could not be completed stays behind.
        DAriDeleteElement(group, target);
        return nullptr;
    }
    DAriMemChangeElement(group, nullptr, target);
    if (!g_groupCopy && mark) {
        DrawMark(0, mark);
        for (StoredElement* e : marked)
            DAriDeleteElement(e, target);
    }
    MarkDbModified(target);
    return group;
}
