#include "view/drag_preview.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/command_system.h"
#include "view/element_transform.h"
#include "view/geometry.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_table.h"
#include "view/view_transform.h"

int PreviewDrawnCount = 0;
PreviewTransform PreviewTransformRecord;

namespace {
constexpr int kStopStep = 200;

bool IsCompound(int kind) { return kind == kElmGroup || kind == kElmGroup2; }

// Draws the transformed records of one pass in batches: the library is
// asked once per batch instead of once per element, with the same result.
class PreviewBatch {
public:
    PreviewBatch(HWND view, ViewData* data, DbHeader* db) : m_view(view), m_data(data), m_db(db) {
        m_records.reserve(kStopStep);
    }
    ~PreviewBatch() { Flush(); }
    void Add(const ElementRecord& r) {
        m_records.push_back(r);
        if (m_records.size() >= kStopStep) Flush();
    }
    void Flush() {
        if (m_records.empty()) return;
        DrawInViewRecords();
        m_records.clear();
    }

private:
    void DrawInViewRecords() {
        const int colour = Running().rubberColor > 0 ? Running().rubberColor : 3;
        DrawInView(m_view, m_data, m_db, kDrawRecords, m_records.data(), static_cast<int>(m_records.size()), colour, 1,
                   0);
    }
    HWND m_view;
    ViewData* m_data;
    DbHeader* m_db;
    std::vector<ElementRecord> m_records;
};

void TransformAndDrawRecord(ElementRecord* record, const double* transform, PreviewBatch& batch) {
    record->page = 0;
    TransformRecord(record, transform);
    batch.Add(*record);
}

void TransformAndDrawGroup(DbHeader* db, StoredElement* header, const ElementRecord& ref, const double* transform,
                           PreviewBatch& batch) {
    const int count = DAriGetMemberNum(header, db);
    const double scale = CadGetF64(&ref, kOffFigScale), angle = CadGetF64(&ref, kOffFigAngle);
    const double c = std::cos(angle), n = std::sin(angle);
    const double group[9] = {scale,
                             c,
                             -n,
                             n,
                             c,
                             CadGetF64(&header->rec, kOffHdrBaseX),
                             CadGetF64(&header->rec, kOffHdrBaseY),
                             CadGetF64(&ref, kOffFigX),
                             CadGetF64(&ref, kOffFigY)};
    ElementRecord member;
    StoredElement* m = DAriReadFirstMember(header, &member, db);
    for (int i = 0; m && i < count; ++i) {
        if (member.kind >= 1 && member.kind <= 7) {
            TransformRecord(&member, group);
            TransformAndDrawRecord(&member, transform, batch);
        }
        m = DAriReadNextMember(m, &member, db);
    }
}

bool InputWaiting() {
    HWND bar = CmdStatusBar();
    if (!bar) return false;
    MSG msg;
    return ::PeekMessageA(&msg, bar, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE | PM_NOYIELD) ||
           ::PeekMessageA(&msg, bar, WM_RBUTTONDOWN, WM_RBUTTONDOWN, PM_NOREMOVE | PM_NOYIELD) ||
           ::PeekMessageA(&msg, bar, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE | PM_NOYIELD);
}

int ToPixel(double v) { return static_cast<int>(std::trunc(v)); }
}  // namespace

// --- CoincidenceList ----------------------------------------------------------------------

int CoincidenceList::Begin(HWND view, ViewData* data, CadMark* mark, DbHeader* db, int lim) {
    enabled = 0;
    if (lim <= 1 || !view || !data) return -1;
    m_view = view;
    m_data = data;
    m_mark = mark;
    m_db = db;
    limit = lim;
    RECT rc;
    ::GetClientRect(view, &rc);
    m_cx = rc.right / 2;
    m_cy = rc.bottom / 2;
    ViewSet set = CurrentViewSet(data);
    m_s = *set.scale;
    m_offX = *set.offsetX;
    m_offY = *set.offsetY;
    enabled = 1;
    return 0;
}

int CoincidenceList::Geometry(const ElementRecord& r, int* out) const {
    auto px = [&](double x) { return m_cx + ToPixel((m_offX + x) * m_s); };
    auto py = [&](double y) { return m_cy - ToPixel(m_s * (m_offY + y)); };
    if (r.kind == kElmLine) {
        out[0] = px(CadGetF64(&r, kOffP1X));
        out[1] = py(CadGetF64(&r, kOffP1Y));
        out[2] = px(CadGetF64(&r, kOffP2X));
        out[3] = py(CadGetF64(&r, kOffP2Y));
        return 1;
    }
    if (r.kind == kElmCircle) {
        out[0] = px(CadGetF64(&r, kOffP1X));
        out[1] = py(CadGetF64(&r, kOffP1Y));
        out[2] = ToPixel(m_s * CadGetF64(&r, kOffRadius));
        out[3] = 0;
        return 1;
    }
    return 0;
}

int CoincidenceList::ComputePixelGeometry(const ElementRecord& r) {
    geometryValid = Geometry(r, geometry);
    geometryKind = geometryValid ? r.kind : 0;
    return geometryValid;
}

int CoincidenceList::MatchesPixelGeometry(const ElementRecord& r) const {
    if (!geometryValid || r.kind != geometryKind) return 0;
    int g[4];
    if (!Geometry(r, g)) return 0;
    auto within = [&](int a, int b) { return std::abs(a - b) < tolerance; };
    if (r.kind == kElmLine) {
        const bool same = within(g[0], geometry[0]) && within(g[1], geometry[1]) && within(g[2], geometry[2]) &&
                          within(g[3], geometry[3]);
        const bool reversed = within(g[0], geometry[2]) && within(g[1], geometry[3]) && within(g[2], geometry[0]) &&
                              within(g[3], geometry[1]);
        return same || reversed ? 1 : 0;
    }
    return within(g[0], geometry[0]) && within(g[1], geometry[1]) && within(g[2], geometry[2]) ? 1 : 0;
}

int CoincidenceList::Contains(const StoredElement* e) const {
    for (const StoredElement* s : m_seen)
        if (s == e) return 1;
    return 0;
}

void CoincidenceList::Add(const StoredElement* e) { m_seen.push_back(e); }
void CoincidenceList::Clear() { m_seen.clear(); }

bool CoincidenceList::Test(const StoredElement* e, const StoredElement* candidate, int* failed) {
    if (candidate == e) return false;
    if (MatchesPixelGeometry(candidate->rec)) {
        Add(candidate);
        return true;
    }
    ++*failed;
    return false;
}

int CoincidenceList::ShouldSkip(const StoredElement* e) {
    if (!enabled || !e) return 0;
    if (!ComputePixelGeometry(e->rec)) return 0;
    if (Contains(e)) return 0;
    int failed = 0;
    for (void* it = DAriGetNextMark(nullptr, m_mark); it; it = DAriGetNextMark(it, m_mark)) {
        auto* other = static_cast<const StoredElement*>(it);
        if (other == e) continue;
        const int kind = other->rec.kind;
        if (kind == kElmFigure && !other->owner) continue;
        if (IsCompound(kind)) {
            for (const StoredElement* m = other->member; m; m = m->member) {
                if (m == e || IsCompound(m->rec.kind)) continue;
                if (Test(e, m, &failed)) return 1;
                if (failed > limit) break;
            }
        } else if (Test(e, other, &failed)) {
            return 1;
        }
        if (failed > limit) {
            // Too many elements to compare: every element is drawn from here.
            Clear();
            enabled = 0;
            return 0;
        }
    }
    return 0;
}

// --- The passes ------------------------------------------------------------------------------

int DrawMarkTransformed(const double* transform, CadMark* mark, DbHeader* db, HWND view, ViewData* data, int limit) {
    CoincidenceList list;
    list.Begin(view, data, mark, db, 500);
    const bool drawing = limit < 0;
    const bool keyMode = IsKeyCursorMode() != 0;
    POINT cursorAtStart;
    ::GetCursorPos(&cursorAtStart);
    PreviewBatch batch(view, data, db);
    int count = 0;
    bool stop = false;
    // The stop rules before each element or member: a drawing pass gives up
    // (every 200 elements) when the user moved on; a pass that repeats one
    // draws exactly as many as that one did.
    auto mayGoOn = [&]() {
        if (!drawing) return count < limit;
        if (count % kStopStep == 0 && count > 0) {
            POINT now;
            ::GetCursorPos(&now);
            if (!keyMode && (now.x != cursorAtStart.x || now.y != cursorAtStart.y)) return false;
            if (InputWaiting()) return false;
        }
        return true;
    };
    static ElementRecord buffer;
    for (void* it = DAriGetNextMark(nullptr, mark); it && !stop; it = DAriGetNextMark(it, mark)) {
        if (!mayGoOn()) break;
        auto* e = static_cast<StoredElement*>(it);
        std::memcpy(&buffer, &e->rec, sizeof buffer);
        ++count;
        if (buffer.kind == kElmFigure) {
            StoredElement* header = DAriGetFgroupHeaderIdx(e, db);
            if (!header) {
                WriteSystemLog(0, "Error", "ラバー要素移動にヘッダーが見つかりません(%lf,%lf)",
                               CadGetF64(&buffer, kOffFigX), CadGetF64(&buffer, kOffFigY));
                continue;
            }
            TransformAndDrawGroup(db, header, buffer, transform, batch);
        } else if (IsCompound(buffer.kind)) {
            for (StoredElement* m = e->member; m; m = m->member) {
                if (!mayGoOn()) {
                    stop = true;
                    break;
                }
                ++count;
                if (IsCompound(m->rec.kind) || list.ShouldSkip(m)) continue;
                ElementRecord r = m->rec;
                TransformAndDrawRecord(&r, transform, batch);
            }
        } else if (!list.ShouldSkip(e)) {
            TransformAndDrawRecord(&buffer, transform, batch);
        }
    }
    batch.Flush();
    return count;
}

int DrawTransformedPreview(const double* source, const double* target, double angle, double scale, int erase,
                           void* markList, HWND view) {
    auto* mark = static_cast<CadMark*>(markList);
    PreviewTransform& keep = PreviewTransformRecord;
    if (source) std::memcpy(keep.source, source, sizeof keep.source);
    if (target) std::memcpy(keep.target, target, sizeof keep.target);
    keep.angle = angle;
    keep.scale = scale;
    keep.mark = mark;
    keep.view = view;
    DAriSetTransFg(1);
    ViewData* d = GetViewData(view);
    if (!d || !mark || !source || !target) return 0;
    DbHeader* markDb = mark->db;
    HWND markView = FindViewByDb(markDb);
    const double c = std::cos(angle), n = std::sin(angle);
    const double s = scale * GetInputToDrawRatioOf(view) / GetInputToDrawRatioOf(markView);
    double from[3] = {source[0], source[1], 0}, to[3] = {target[0], target[1], 0};
    ToInputScalePointOf(view, from);
    ToInputScalePointOf(view, to);
    FromInputScalePointOf(markView, from);
    FromInputScalePointOf(view, to);
    const double transform[9] = {s, c, -n, n, c, from[0], from[1], to[0], to[1]};
    // The erase pass is told apart by its flag, never by the count: a drawing
    // pass that drew nothing leaves nothing for the erase pass to draw.
    const bool erasePass = erase > 0;
    int limit = erasePass ? PreviewDrawnCount : -1;
    if (!erasePass) PreviewDrawnCount = 0;
    auto pass = [&](HWND v, ViewData* vd) {
        const int drawn = DrawMarkTransformed(transform, mark, markDb, v, vd, limit);
        if (!erasePass && limit < 0) {
            // Later views of the drawing draw exactly as many as the first.
            PreviewDrawnCount = drawn;
            limit = drawn;
        }
    };
    if (d->shared) {
        for (int i = 0; i < kViewTableSize && ViewTable[i]; ++i) {
            ViewData* o = GetViewData(ViewTable[i]);
            if (!o) break;
            if (o->drawingId == d->drawingId) pass(ViewTable[i], o);
        }
    } else {
        pass(view, d);
    }
    return 1;
}

void ErasePreviewOnScreen() {
    const PreviewTransform k = PreviewTransformRecord;
    if (PreviewDrawnCount >= 1) DrawTransformedPreview(k.source, k.target, k.angle, k.scale, 1, k.mark, k.view);
}
