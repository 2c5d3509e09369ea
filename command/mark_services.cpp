#include "command/mark_services.h"

#include <string>
#include <vector>

#include "base/local_settings_ini.h"
#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "command/host_hooks.h"
#include "command/link_tags.h"
#include "command/selection_services.h"
#include "command/wait_loop.h"

using namespace drawing;

namespace {

// The wanted-event bit under which picking finds groups as wholes.
const uint32_t kWantGroupFind = 0x800000;

struct SearchState {
    bool taken = false;  // the record was read from the library once
    SearchOptionRecord options{};
    int tagKey = 0;
    int placed = 0;  // the confirmation dialog's placement
    int dialogX = 0, dialogY = 0;
};

SearchState& State() {
    static SearchState s;
    if (!s.taken) {
        // Until the host hands one, the library's own record is the one in force.
        DAriDbGetSerch(&s.options);
        s.taken = true;
    }
    return s;
}

void HandOptions() { DAriDbSetSerch(&State().options); }

void RectAround(double x, double y, double d, double rect[4]) {
    rect[0] = x - d;
    rect[1] = y + d;
    rect[2] = x + d;
    rect[3] = y - d;
}

void CursorPoint(double pt[3]) {
    auto& h = HostHooks();
    pt[0] = pt[1] = pt[2] = 0;
    if (h.loupeFlag && h.loupeFlag()) {
        if (h.getInputCursorPoint) h.getInputCursorPoint(pt);
    } else if (h.gridSnapOn && h.gridSnapOn()) {
        if (h.getGridSnappedCursorPoint) h.getGridSnappedCursorPoint(pt);
    } else if (h.getCursorWorldPoint) {
        h.getCursorWorldPoint(pt);
    }
}

bool OnLockedLayer(StoredElement* e, DbHeader* db) {
    ElementRecord rec;
    return ReadOwn(e, db, &rec) && TqIsLockLayer(&rec, db) != 0;
}

bool FilterRejects(StoredElement* e) { return PointFilter() && e->rec.kind == kElmPoint && e->rec.colour == 0; }

int Answer(int* placed, int* x, int* y) {
    auto& h = HostHooks();
    const std::string title = h.yesNoTitle ? h.yesNoTitle() : std::string();
    return h.runYesNoDialog ? h.runYesNoDialog(placed, x, y, title.c_str()) : IDCANCEL;
}

// Shows each candidate highlighted and asks; the element taken, or
// null when every one was declined or the user cancelled.
StoredElement* AskAmong(const std::vector<StoredElement*>& candidates, HWND view) {
    SearchState& s = State();
    CmdSwitches& sw = Switches();
    auto& h = HostHooks();
    for (StoredElement* e : candidates) {
        uint32_t flags = 0, colour = 0;
        GetElementSelection(e, &flags, &colour);
        DrawElement(view, 2, e);
        const int kept = sw.highlightColor;
        sw.highlightColor = (h.uiHighlightColor ? h.uiHighlightColor() : 0) + 257;
        SelectElement(view, e);
        sw.highlightColor = kept;
        const int answer = Answer(&s.placed, &s.dialogX, &s.dialogY);
        SetElementSelection(view, e, flags, colour);
        if (answer == IDYES) return e;
        if (answer == IDCANCEL) return nullptr;
    }
    s.placed = 0;
    return nullptr;
}

// The outcome of a count test: 0 none, 1 the single one, 2 ask.
int CountOutcome(size_t left) { return left == 0 ? 0 : (left == 1 ? 1 : 2); }

}  // namespace

int SetSearchOption(int code, LPARAM value) {
    SearchState& s = State();
    switch (code) {
    case 0:
        if (value) {
            s.options = *reinterpret_cast<const SearchOptionRecord*>(value);
            HandOptions();
        }
        break;
    case 100: TqSetLockLaySearchMode(value == 1 ? 1 : 0); break;
    case 101:
        if (value) {
            auto* record = reinterpret_cast<SearchOptionRecord*>(value);
            record->words[1] = DAriDbSetSerchOption(record->words[0]);
        }
        break;
    default: break;
    }
    return 1;
}

int SaveSearchOption(int code, SearchOptionRecord* record) {
    if (!record) return 1;
    if (code == 0)
        *record = State().options;
    else if (code == 100)
        record->words[0] = TqGetLockLaySearchMode();
    return 1;
}

const SearchOptionRecord& CurrentSearchOptions() { return State().options; }

int SetGroupSearch(int on) { return DAriSerchSetGrpFind(on); }

int& PointFilter() {
    static int on = 0;
    return on;
}

double PickAreaInDrawing() {
    auto& h = HostHooks();
    if (h.loupePickDistance) {
        const double loupe = h.loupePickDistance();
        if (loupe >= 0) return loupe;
    }
    HWND view = ActiveView();
    double set[3] = {0, 0, 1};
    const int mode = h.viewMode ? h.viewMode(view) : 0;
    if (h.getViewSet) h.getViewSet(view, mode >= 0 && mode <= 2 ? mode : 0, set);
    const double scale = set[2] != 0 ? set[2] : 1.0;
    return GetCursorFindArea() / scale;
}

CadMark* GetElementsInRect(const double* rect) {
    DbHeader* db = ActiveDb();
    if (!db || !rect) return nullptr;
    HandOptions();
    return DAriGetWakuElement(rect, db);
}

CadMark* GetElementsInRectEx(const double* rect, int mode) {
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!db || !rect) return nullptr;
    if (GetFocus() != view) SetFocus(view);
    HandOptions();
    return DAriGetWakuElementEx(rect, mode, db);
}

namespace {
int PickAtCursor(CadMark** out, bool extended) {
    if (out) *out = nullptr;
    double pt[3];
    CursorPoint(pt);
    double rect[4];
    RectAround(pt[0], pt[1], PickAreaInDrawing(), rect);
    CadMark* mark = extended ? GetElementsInRectEx(rect, 100) : GetElementsInRect(rect);
    if (!mark) return 0;
    if (DAriGetMarkNum(mark) == 0) {
        DAriDestroyMark(mark);
        return 0;
    }
    if (out)
        *out = mark;
    else
        DAriDestroyMark(mark);
    return 1;
}
}  // namespace

int PickElementsAtCursor(CadMark** out) { return PickAtCursor(out, false); }
int PickElementsAtCursorEx(CadMark** out) { return PickAtCursor(out, true); }

int PickElementAtPoint(StoredElement** out, double x, double y) {
    if (out) *out = nullptr;
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!db) return 0;
    const bool groupFind = (CmdInput().wantedMask & kWantGroupFind) != 0;
    DAriSerchSetGrpFind(groupFind ? 1 : 0);
    POINT mouse = {0, 0};
    GetCursorPos(&mouse);
    double rect[4];
    RectAround(x, y, PickAreaInDrawing(), rect);
    HandOptions();
    CadMark* found = DAriGetWakuElement(rect, db);
    StoredElement* result = nullptr;
    const bool hitFirst = HostHooks().elementHitFirst && HostHooks().elementHitFirst() != 0;

    // The candidates in the order they are offered.
    std::vector<StoredElement*> all;
    if (found) {
        if (groupFind || hitFirst) {
            for (void* e = groupFind ? DAriGetExtNextMark(nullptr, found) : DAriGetNextMark(nullptr, found); e;
                 e = groupFind ? DAriGetExtNextMark(e, found) : DAriGetNextMark(e, found))
                all.push_back(static_cast<StoredElement*>(e));
        } else {
            for (void* e = DAriGetBackMark(nullptr, found); e; e = DAriGetBackMark(e, found))
                all.push_back(static_cast<StoredElement*>(e));
        }
    }
    const bool lockMode = TqGetLockLaySearchMode() == 1;
    const size_t count = found ? static_cast<size_t>(DAriGetMarkNum(found)) : 0;
    if (count == 1 && !all.empty()) {
        StoredElement* only = all.front();
        if (!groupFind || !FilterRejects(only)) result = only;
    } else if (count > 1) {
        std::vector<StoredElement*> open;     // not on a locked layer
        std::vector<StoredElement*> passing;  // let through by the point filter
        for (StoredElement* e : all) {
            if (!(lockMode && OnLockedLayer(e, db))) open.push_back(e);
            if (!FilterRejects(e)) passing.push_back(e);
        }
        int outcome = 2;
        StoredElement* single = nullptr;
        if (lockMode) {
            outcome = CountOutcome(open.size());
            if (outcome == 1) single = open.front();
        }
        if (groupFind && PointFilter()) {
            outcome = CountOutcome(passing.size());
            if (outcome == 1) single = passing.front();
        }
        if (outcome == 1) {
            result = single;
        } else if (outcome == 2) {
            std::vector<StoredElement*> asked;
            for (StoredElement* e : all) {
                if (lockMode && OnLockedLayer(e, db)) continue;
                if (groupFind && FilterRejects(e)) continue;
                asked.push_back(e);
            }
            result = AskAmong(asked, view);
        }
    }
    DAriSerchSetGrpFind(0);
    SetCursorPos(mouse.x, mouse.y);
    if (found) DAriDestroyMark(found);
    if (out) *out = result;
    return result ? 1 : 0;
}

StoredElement* FindTagElement(int header, void* record) {
    DbHeader* db = ActiveDb();
    if (!db) return nullptr;
    return header ? DAriFFTagFasHeader(record, State().tagKey, db) : DAriFFTagElement(record, State().tagKey, db);
}

int SetFindTagKey(int key) {
    State().tagKey = key;
    return 1;
}

int IsPointInsideRect(double x, double y, const double* rect) {
    return (x > rect[0] && x < rect[2] && y > rect[3] && y < rect[1]) ? 1 : 0;
}

int DeleteElementAt(StoredElement* element, int closeStep) {
    HWND frame = CmdMainFrame();
    if (closeStep && frame) SendMessageA(frame, UM_MAKE_UNDO_PASS, 0, 0);
    CmdRequest req = {};
    req.view = frame ? reinterpret_cast<HWND>(SendMessageA(frame, UM_ACTIVE_VIEW, 0, 0)) : ActiveView();
    req.element = Word(element);
    return DeleteRequestElement(0, &req);
}

CadMark* FindActiveLinkTags(const char* key, const char* value) {
    HWND frame = CmdMainFrame();
    HWND view = frame ? reinterpret_cast<HWND>(SendMessageA(frame, UM_ACTIVE_VIEW, 0, 0)) : ActiveView();
    return FindLinkTagElements(view, key, value);
}

CadMark* CreateMark(DbHeader* db) { return DAriCreateMark(db); }
int DestroyMark(CadMark* mark) { return DAriDestroyMark(mark); }
int GetMarkCount(CadMark* mark) { return DAriGetMarkNum(mark); }
void* GetNextMark(CadMark* mark, void* element) { return DAriGetNextMark(element, mark); }
void* GetBackMark(CadMark* mark, void* element) { return DAriGetBackMark(element, mark); }
void* GetExtNextMark(CadMark* mark, void* element) { return DAriGetExtNextMark(element, mark); }
int SetMark(CadMark* mark, void* element) { return DAriSetMark(element, mark); }
int DelMark(CadMark* mark, void* element) { return DAriDelMark(element, mark); }
int ChkMark(CadMark* mark, void* element) { return DAriChkMark(element, mark); }

int SelectMarked(int select, CadMark* mark) {
    if (!mark) return 0;
    if (mark->db) mark->db->selectionChanged = 1;
    const uint32_t colour = static_cast<uint32_t>(Switches().highlightColor);
    auto apply = [&](StoredElement* e) {
        if (select) {
            e->selection |= 1u;
            e->selColour = colour;
        } else {
            e->selection &= ~1u;
        }
    };
    for (void* p = DAriGetExtNextMark(nullptr, mark); p; p = DAriGetExtNextMark(p, mark)) {
        auto* e = static_cast<StoredElement*>(p);
        apply(e);
        if (IsSelectionGroupKind(e->rec.kind)) ForEachMemberLink(e, apply);
    }
    return 1;
}
