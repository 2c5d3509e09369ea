#include "command/undo_services.h"

#include <vector>

#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/host_hooks.h"
#include "command/mark_services.h"
#include "command/selection_services.h"
#include "command/wait_loop.h"
#include "win/message_box.h"

using namespace drawing;

namespace {

bool In(int kind, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (k == kind) return true;
    return false;
}

struct Replay {
    HWND view = nullptr;
    DbHeader* db = nullptr;
    int viewMode = 0;

    bool Visible(StoredElement* e) const {
        if (!e || !IsDisplayableKind(e->rec.kind)) return false;
        return DAriChkDspElement(e->rec.page, e->rec.layer, e->rec.attribute, viewMode, db) != 0;
    }

    // A raster element gives back its expanded bitmap before the library
    // takes or changes it; the compressed data stays.
    void CompressRaster(StoredElement* e) const {
        if (!e || e->rec.kind != kElmRaster) return;
        void* bits = CadGetPtr(&e->rec, kOffRasterBits);
        if (!bits) return;
        uint32_t size = 0;
        if (!DAriCompRstrData(db, e, 0, &size)) return;
        VirtualFree(bits, 0, MEM_RELEASE);
        CadSetPtr(&e->rec, kOffRasterBits, nullptr);
        CadSetU32(&e->rec, kOffRasterBitsSize, 0);
        reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded] = 0;
    }

    void ExpandRaster(StoredElement* e) const {
        if (!e || e->rec.kind != kElmRaster) return;
        if (CadGetPtr(&e->rec, kOffRasterComp) && !CadGetPtr(&e->rec, kOffRasterBits)) DAriExpandRstrData(db, e, 1);
    }

    // Replays one record back (undo) or again (redo); true when its element
    // is shown again afterwards and so belongs in the redraw mark.
    bool Record(UndoRecord* r, bool again) const {
        StoredElement* e = r->element;
        switch (r->kind) {
        case kUndoAdd:
        case kUndoDelete:
            if ((r->kind == kUndoAdd) == again) {
                DAriUndoAddElement(e, db, 1, r->addArg);
                ExpandRaster(e);
                return true;
            }
            DAriUndoDelElement(e, db);
            CompressRaster(e);
            return false;
        case kUndoChange:
            CompressRaster(e);
            DAriUndoChgElement(e, r->saved, db, 0);
            ExpandRaster(e);
            return true;
        case kUndoMemberAdd:
            if (!again) {
                DAriUndoDelMemberElement(e, nullptr, db, 0, r->groupArg);
                return false;
            }
            DAriUndoAddMemberElement(e, r->memberArg, db, 0, r->groupArg);
            return true;
        default: return false;
        }
    }
};

// The records of one step, in walking order: back from the current record
// to the end of the step before (undo), or on from the record after it to
// the end of the next step (redo).
std::vector<UndoRecord*> StepToUndo(DbHeader* db, UndoRecord** stop) {
    std::vector<UndoRecord*> step;
    UndoRecord* r = db->currentUndo;
    *stop = nullptr;
    while (r) {
        step.push_back(r);
        UndoRecord* older = r->prev;
        if (!older || older->stepEnd) {
            *stop = older;
            break;
        }
        r = older;
    }
    return step;
}

std::vector<UndoRecord*> StepToRedo(DbHeader* db) {
    std::vector<UndoRecord*> step;
    for (UndoRecord* r = db->currentUndo ? db->currentUndo->next : db->firstUndo; r; r = r->next) {
        step.push_back(r);
        if (r->stepEnd) break;
    }
    return step;
}

// The erase pass: every displayable element the step is about to take away
// or change is wiped from the views. false when no link mark is to be had.
bool ErasePass(const Replay& p, const std::vector<UndoRecord*>& step, std::initializer_list<int> kinds) {
    CadMark* link = DAriCreateLinkMark(p.db);
    if (!link) return false;
    for (UndoRecord* r : step)
        if (In(r->kind, kinds) && p.Visible(r->element)) DAriSetMark(r, link);
    DrawMark(0, link);
    DAriDestroyMark(link);
    return true;
}

void ReportNoLinkMark() {
    CmdLog(0, "Error", "UNDO内でマークハンドラが獲得できません");
    PlayBeep(2);
    ZavMessageBox(CmdMainFrame(), "Fatal error !\n一度図面を保存し、システムを起動し直してください", "UNDO ERROR",
                  MB_OK);
}

// The end of a replay in either direction: the replayed elements shown
// selected and the views repainted.
void Finish(const Replay& p, CadMark* redraw, bool invalidate) {
    if (redraw) {
        SelectMarked(0, redraw);
        DrawMark(-1, redraw);
        DAriDestroyMark(redraw);
    }
    MarkModified(p.view);
    if (HostHooks().showElementCount) HostHooks().showElementCount();
    if (invalidate && IsWindow(p.view)) {
        InvalidateRect(p.view, nullptr, FALSE);
        UpdateWindow(p.view);
    }
}

// The start of a replay: the switch, the band, the pop-ups, the drawing.
bool Begin(Replay* p) {
    if (CmdInput().wantedMask & CMD_WANT_TRACK) {
        if (HostHooks().updateRubberBandErase) HostHooks().updateRubberBandErase();
    }
    RefreshPopups();
    p->view = ActiveView();
    p->db = ViewDb(p->view);
    if (!p->view || !p->db) return false;
    p->viewMode = HostHooks().viewMode ? HostHooks().viewMode(p->view) : 0;
    if (p->viewMode < 0) p->viewMode = 0;
    return true;
}

}  // namespace

bool IsDisplayableKind(int kind) {
    return (kind >= 1 && kind <= 7) || kind == 21 || kind == 22 || kind == 32 || kind == 50 || kind == 55 || kind == 60;
}

int ClearUndoElements(DbHeader* db) {
    if (!db) db = ActiveDb();
    if (!db) return 1;
    return DAriClearUndoElement(db);
}

int MakeUndoPass() {
    if (Switches().undoPassSuppressed) return 1;
    DbHeader* db = ActiveDb();
    if (!db) return 1;
    DAriMakUndoPass(db);
    auto& level = HostHooks().undoLevel;
    if (!level) return 1;
    const int steps = level();
    if (steps > 0)
        DAriCheckUndo(steps, 0, db);
    else if (steps == 0)
        DAriClearUndoElement(db);
    return 1;
}

int CanUndo() {
    DbHeader* db = ActiveDb();
    return db ? DAriIsUndo(db) : 0;
}

int CanRedo() {
    DbHeader* db = ActiveDb();
    return db ? DAriIsRedo(db) : 0;
}

int UndoLastStep() {
    if (!Switches().enableUndo) return 1;
    Replay p;
    if (!Begin(&p)) return 0;
    if (!p.db->currentUndo) {
        PlayBeep(2);
        return 1;
    }
    UndoRecord* stop = nullptr;
    const std::vector<UndoRecord*> step = StepToUndo(p.db, &stop);
    if (!ErasePass(p, step, {300, 302, 303, 304, 306, 308})) {
        ReportNoLinkMark();
        return 1;
    }
    CadMark* redraw = DAriCreateMark(p.db);
    CmdInput().event = CMD_EV_UNDO;
    for (UndoRecord* r : step)
        if (p.Record(r, false) && redraw && p.Visible(r->element)) DAriSetMark(r->element, redraw);
    p.db->currentUndo = stop;
    Finish(p, redraw, true);
    return 1;
}

int RedoLastStep() {
    if (!Switches().enableUndo) return 1;
    Replay p;
    if (!Begin(&p)) return 0;
    if (!DAriIsRedo(p.db)) {
        PlayBeep(2);
        return 1;
    }
    const std::vector<UndoRecord*> step = StepToRedo(p.db);
    if (step.empty()) {
        PlayBeep(2);
        return 1;
    }
    if (!ErasePass(p, step, {301, 302, 305, 306, 307, 308})) {
        ReportNoLinkMark();
        return 1;
    }
    CadMark* redraw = DAriCreateMark(p.db);
    for (UndoRecord* r : step)
        if (p.Record(r, true) && redraw && p.Visible(r->element)) DAriSetMark(r->element, redraw);
    p.db->currentUndo = step.back();
    Finish(p, redraw, false);
    return 1;
}

int GetElementUserData(StoredElement* element, void* buffer) { return DAriGet256UserData(element, buffer); }

int SetElementUserData(StoredElement* element, const void* data) {
    const int result = DAriSet256UserData(element, data);
    if (result) MarkModified(nullptr);
    return result;
}

int GetElementTag(int tag, StoredElement* element) {
    if (tag == 0) return 0;
    return DAriGetTag(element, tag);
}

int SetElementTag(int tag, StoredElement* element, int value) {
    if (tag == 0) return 0;
    const int result = DAriSetTag(element, tag, value);
    if (result) MarkModified(nullptr);
    return result;
}

int GetElementTagString(const CmdRequest* req) {
    if (!req) return 0;
    return DAriGetTagString(Element(req->element), reinterpret_cast<char*>(req->w.text));
}

int SetElementTagString(const CmdRequest* req) {
    if (!req) return 0;
    const int result = DAriSetTagString(Element(req->element), reinterpret_cast<const char*>(req->w.text));
    if (result) MarkModified(nullptr);
    return result;
}
