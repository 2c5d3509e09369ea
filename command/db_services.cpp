// CCadSysCmdDb: the messages through which a command module reaches the
// drawing databases (new windows and databases, drawing information and
// layers, elements, groups, mark lists, tags, searches, undo); and the
// element services that CCadSysCmd answers (link tags, user data, group
// search, the active view and its database).
#include <cstring>
#include <memory>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "command/cmd_switches.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "command/host_hooks.h"
#include "command/host_objects.h"
#include "command/link_tags.h"
#include "command/mark_services.h"
#include "command/transform_services.h"
#include "command/undo_services.h"
#include "win/message_box.h"

using namespace drawing;

namespace {

const CmdRequest* Req(LPARAM lParam) { return reinterpret_cast<const CmdRequest*>(lParam); }
LRESULT Result(const void* p) { return reinterpret_cast<LRESULT>(p); }

const int kLayerCount = 1024;
bool ValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }

// The fields of the drawing information that modules exchange, by offset
// and size; texts are copied up to their zero.
struct InfoField {
    size_t offset;
    size_t size;
    bool text;
};
const InfoField kInfoFields[] = {
    {0x000, 2, false},  {0x002, 260, true},  {0x106, 32, true},  {0x126, 257, true}, {0x227, 257, true},
    {0x328, 257, true}, {0x429, 257, true},  {0x52a, 257, true}, {0x62b, 257, true}, {0x72c, 257, true},
    {0x82d, 28, false}, {0x849, 257, true},  {0x94a, 257, true}, {0xa4b, 257, true}, {0xb4c, 257, true},
    {0xc4d, 257, true}, {0xd4e, 257, true},  {0xe4f, 257, true}, {0xf50, 32, false}, {0xf70, 8, false},
    {0xf78, 2, false},  {0xf7a, 257, false}, {0x107b, 4, false},
};
static_assert(0x107b + 4 == kDbInfoHeadSize, "the exchanged fields end with the head");

// A text field: its bytes up to the zero, never beyond the field, always
// terminated inside it.
void CopyInfoText(uint8_t* to, const uint8_t* from, size_t size) {
    const char* text = reinterpret_cast<const char*>(from);
    const size_t length = DbcsBoundary(std::string(text, strnlen(text, size)), size - 1);
    std::memset(to, 0, size);
    std::memcpy(to, from, length);
}

void CopyInfoFields(uint8_t* to, const uint8_t* from) {
    for (const InfoField& f : kInfoFields) {
        if (f.text)
            CopyInfoText(to + f.offset, from + f.offset, f.size);
        else
            std::memcpy(to + f.offset, from + f.offset, f.size);
    }
}

// Delete all: elements on locked layers stay.
bool HasLockedElements(DbHeader* db) {
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e; e = DAriReadElement(e, 1, &rec, db))
        if (TqIsLockLayer(&rec, db)) return true;
    return false;
}

void DeleteAllPages(DbHeader* db) {
    std::unique_ptr<PageRecord> record(new PageRecord);
    auto& deletePage = HostHooks().deletePage;
    int from = 0;
    for (int guard = 0; guard < 1024; ++guard) {
        const int page = DAriGetNextPage(from, record.get(), db);
        if (page <= 0) break;
        if (deletePage) deletePage(page, 0);
        // A page that stays is stepped over, so the walk always ends.
        if (DAriChkPage(page, db)) from = page;
    }
}

// A new drawing window and its paper fitted into it.
HWND NewWindowWithPaper() {
    auto& h = HostHooks();
    HWND view = h.newDrawingWindow ? h.newDrawingWindow() : nullptr;
    if (!view) return nullptr;
    if (h.zoomViewToPaper) h.zoomViewToPaper();
    DbHeader* db = ViewDb(view);
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    if (info && info->originAtCorner && h.getViewSet && h.setViewSet) {
        double set[3];
        if (h.getViewSet(view, 0, set)) {
            h.setViewSet(view, 1, set);
            h.setViewSet(view, 2, set);
        }
    }
    return view;
}

}  // namespace

// --- Drawings and databases -------------------------------------------------------

LRESULT CCadSysCmdDb::OnNewDrawingWindow(UINT, WPARAM, LPARAM, BOOL&) {
    NewWindowWithPaper();
    return 1;
}

LRESULT CCadSysCmdDb::OnNewDrawingWindowDb(UINT, WPARAM, LPARAM, BOOL&) {
    HWND view = NewWindowWithPaper();
    DbHeader* db = ViewDb(view);
    if (!db) return 0;
    MarkModified(view);
    return Result(db);
}

LRESULT CCadSysCmdDb::OnOpenDrawingFile(UINT, WPARAM, LPARAM lParam, BOOL&) {
    auto& open = HostHooks().openDrawingFile;
    if (open && lParam) {
        char path[MAX_PATH];
        DbcsCopy(path, sizeof path, reinterpret_cast<const char*>(lParam));
        open(path);
    }
    return 1;
}

LRESULT CCadSysCmdDb::OnGetViewDb(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(ViewDb(reinterpret_cast<HWND>(lParam)));
}

LRESULT CCadSysCmdDb::OnResetDb(UINT, WPARAM, LPARAM lParam, BOOL&) {
    auto* db = reinterpret_cast<DbHeader*>(lParam);
    // Only a live database is re-created: a header that names none is not
    // the library's to fill.
    if (!db || !DAriDeleteDB(db)) return 1;
    DAriCreateDB(db);
    if (HostHooks().undoLevel) DAriUndoFgSet(db, HostHooks().undoLevel());
    MarkDbModified(db);
    return 1;
}

LRESULT CCadSysCmdDb::OnDbNop(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CCadSysCmdDb::OnSetModified(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    if (!req || !req->view) return 0;
    auto& h = HostHooks();
    if (req->w.mode) {
        if (h.setDrawingModified) h.setDrawingModified(req->view);
    } else if (h.clearDrawingModified) {
        h.clearDrawingModified(req->view);
    }
    return 1;
}

LRESULT CCadSysCmdDb::OnSetEps(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    auto& eps = HostHooks().setDbEpsilon;
    return eps ? eps(wParam, lParam) : 0;
}

// --- Drawing information and layers ------------------------------------------------

LRESULT CCadSysCmdDb::OnGetDbInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    DbHeader* db = ActiveDb();
    if (!db || !lParam) return 0;
    std::unique_ptr<uint8_t[]> work(new uint8_t[kDbInfoHeadSize]());
    DAriGetDBInfo(work.get(), db);
    CopyInfoFields(reinterpret_cast<uint8_t*>(lParam), work.get());
    return 1;
}

LRESULT CCadSysCmdDb::OnSetDbInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!db || !lParam) return 0;
    std::unique_ptr<uint8_t[]> work(new uint8_t[kDbInfoHeadSize]());
    DAriGetDBInfo(work.get(), db);
    CopyInfoFields(work.get(), reinterpret_cast<const uint8_t*>(lParam));
    DAriSetDBInfo(work.get(), db);
    if (HostHooks().resetViewAfterDbChange) HostHooks().resetViewAfterDbChange(work.get(), view);
    MarkModified(view);
    return 1;
}

LRESULT CCadSysCmdDb::OnGetLayerInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    DbHeader* db = ActiveDb();
    if (!db) return 0;
    DAriGetLayerInfo(CurrentPage(), reinterpret_cast<LayerTable*>(lParam), db);
    return 1;
}

LRESULT CCadSysCmdDb::OnSetLayerInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!db) return 0;
    DAriSetLayerInfo(CurrentPage(), reinterpret_cast<const LayerTable*>(lParam), db);
    if (HostHooks().notifyToolPanelViewChange) HostHooks().notifyToolPanelViewChange();
    MarkModified(view);
    return 1;
}

LRESULT CCadSysCmdDb::OnGetLayerName(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    DbHeader* db = ActiveDb();
    if (!db || !req) return 0;
    const int layer = req->word6c;
    // The layer indexes a table of 1,024 entries: nothing outside it is read.
    if (!ValidLayer(layer)) return 0;
    if (wParam == 1) {
        DbInfo* info = DAriGetDbInfoPtr(CurrentPage(), db);
        return info ? Result(info->layers.names[layer]) : 0;
    }
    auto& get = HostHooks().getLayerNameOfPage;
    return get ? get(CurrentPage(), layer, reinterpret_cast<char*>(req->w.text), reinterpret_cast<char*>(req->w.text2))
               : 0;
}

LRESULT CCadSysCmdDb::OnSetLayerName(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    HWND view = ActiveView();
    if (!req || !ViewDb(view) || !ValidLayer(req->word6c)) return 0;
    auto& set = HostHooks().setLayerNameOfPage;
    if (!set) return 0;
    // The group name lives in an 11-byte slot.
    char group[11] = {};
    if (req->w.text2) DbcsCopy(group, sizeof group, reinterpret_cast<const char*>(req->w.text2));
    const int result = set(CurrentPage(), req->word6c, reinterpret_cast<const char*>(req->w.text), group);
    if (HostHooks().toolPanelWindow) {
        if (HWND panel = HostHooks().toolPanelWindow()) SendMessageA(panel, WM_COMMAND, 65736, 0);
    }
    if (result) MarkModified(view);
    return result;
}

LRESULT CCadSysCmdDb::OnGetUsedLayers(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    auto& collect = HostHooks().collectUsedLayers;
    if (!collect || !ActiveDb()) return 0;
    const int page = wParam == 0 ? CurrentPage() : static_cast<int>(wParam) - 1;
    return collect(0, reinterpret_cast<unsigned char*>(lParam), page);
}

// --- Elements and groups ------------------------------------------------------------

LRESULT CCadSysCmdDb::OnAppendElement(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(AppendElementToActive(reinterpret_cast<const void*>(lParam)));
}
LRESULT CCadSysCmdDb::OnAppendElementEx(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(AppendRequestElement(Req(lParam)));
}
LRESULT CCadSysCmdDb::OnChangeElement(UINT, WPARAM, LPARAM lParam, BOOL&) { return ChangeRequestElement(Req(lParam)); }
LRESULT CCadSysCmdDb::OnDeleteElement(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return DeleteRequestElement(wParam, Req(lParam));
}

LRESULT CCadSysCmdDb::OnReadElement(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    if (!req) return 0;
    HWND view = RequestView(req);
    if (HostHooks().updateFrameViewFlag) HostHooks().updateFrameViewFlag(view);
    DbHeader* db = ViewDb(view);
    if (!db) return 0;
    return Result(DAriReadElement(Element(req->element), static_cast<int>(req->element2),
                                  reinterpret_cast<void*>(req->word6c), db));
}

LRESULT CCadSysCmdDb::OnDeleteAll(UINT, WPARAM, LPARAM, BOOL&) {
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!db) return 0;
    std::string text = GetMessageText(IDS_ERASE_ALL_QUESTION);
    const bool locked = HasLockedElements(db);
    if (locked) text += "\n※ロックレイヤは消去しません。";
    if (ZavMessageBox(view, text.c_str(), "全消去設定", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 1;
    if (locked) {
        int deleted = 0;
        ElementRecord rec;
        for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e;) {
            const bool keep = TqIsLockLayer(&rec, db) != 0;
            StoredElement* next = DAriReadElement(e, 1, &rec, db);
            if (!keep && DAriDeleteElement(e, db)) ++deleted;
            e = next;
        }
        if (deleted) {
            MarkModified(view);
            RefreshPopups();
        }
        return 1;
    }
    MarkModified(view);
    DAriAllDeleteElement(db);
    DAriClearUndoElement(db);
    DAriClearDustMemory();
    DeleteAllPages(db);
    RefreshPopups();
    return 1;
}

LRESULT CCadSysCmdDb::OnMakeGroup(UINT, WPARAM, LPARAM lParam, BOOL&) { return Result(MakeGroup(Req(lParam))); }
LRESULT CCadSysCmdDb::OnAddToGroup(UINT, WPARAM, LPARAM lParam, BOOL&) { return AddToGroup(Req(lParam)); }
LRESULT CCadSysCmdDb::OnAppendGroup(UINT, WPARAM, LPARAM lParam, BOOL&) { return Result(AppendGroup(Req(lParam))); }
LRESULT CCadSysCmdDb::OnExplodeFigure(UINT, WPARAM, LPARAM lParam, BOOL&) { return ExplodeFigure(Req(lParam)); }
LRESULT CCadSysCmdDb::OnExplodeGroup(UINT, WPARAM, LPARAM lParam, BOOL&) { return ExplodeGroup(Req(lParam)); }
LRESULT CCadSysCmdDb::OnGetGroupHeader(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(GetGroupHeaderOf(Req(lParam)));
}
LRESULT CCadSysCmdDb::OnReadFirstMember(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(ReadFirstMember(Req(lParam)));
}
LRESULT CCadSysCmdDb::OnReadNextMember(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(ReadNextMember(Req(lParam)));
}

LRESULT CCadSysCmdDb::OnCopyAsGroup(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const bool own = !Switches().fastAccess;
    if (own) DAriFastAccessOn();
    StoredElement* group = CopyAsGroup(nullptr, Req(lParam), kElmGroup, 0);
    if (own) DAriFastAccessOff();
    return Result(group);
}

// --- Mark lists, copies and transforms --------------------------------------------

LRESULT CCadSysCmdDb::OnCreateMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(CreateMark(reinterpret_cast<DbHeader*>(lParam)));
}
LRESULT CCadSysCmdDb::OnDestroyMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return DestroyMark(Mark(static_cast<uint32_t>(lParam)));
}
LRESULT CCadSysCmdDb::OnMarkCount(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return GetMarkCount(Mark(static_cast<uint32_t>(lParam)));
}
LRESULT CCadSysCmdDb::OnSetMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    return req ? SetMark(Mark(static_cast<uint32_t>(req->word6c)), Element(req->word70)) : 0;
}
LRESULT CCadSysCmdDb::OnDelMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    return req ? DelMark(Mark(static_cast<uint32_t>(req->word6c)), Element(req->word70)) : 0;
}
LRESULT CCadSysCmdDb::OnNextMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    return req ? Result(GetNextMark(Mark(static_cast<uint32_t>(req->word6c)), Element(req->word70))) : 0;
}
LRESULT CCadSysCmdDb::OnExtNextMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    return req ? Result(GetExtNextMark(Mark(static_cast<uint32_t>(req->word6c)), Element(req->word70))) : 0;
}
LRESULT CCadSysCmdDb::OnCheckMark(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    return req ? ChkMark(Mark(req->element2), Element(req->element)) : 0;
}
LRESULT CCadSysCmdDb::OnSetTransform(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return SetTransformParams(wParam, reinterpret_cast<const void*>(lParam));
}
LRESULT CCadSysCmdDb::OnCopyMarked(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(CopyMarked(Mark(static_cast<uint32_t>(lParam)), -1));
}
LRESULT CCadSysCmdDb::OnMoveMarked(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Result(MoveMarked(static_cast<int>(wParam), Mark(static_cast<uint32_t>(lParam)), -1));
}
LRESULT CCadSysCmdDb::OnTransformMarked(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Result(TransformMarked(reinterpret_cast<DbHeader*>(wParam), Mark(static_cast<uint32_t>(lParam)), -1));
}
LRESULT CCadSysCmdDb::OnCopyMarkedEx(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    if (!req) return 0;
    if (wParam == 0) return Result(CopyMarked(Mark(req->mark), req->word6c));
    if (wParam == 1)
        return Result(CopyMarkedToLayer(Mark(req->mark), req->word6c, static_cast<int>(req->word70),
                                        static_cast<int>(req->word74)));
    return 0;
}
LRESULT CCadSysCmdDb::OnMoveMarkedEx(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    if (!req) return 0;
    if (wParam == 0) return Result(MoveMarked(0, Mark(req->mark), req->word6c));
    if (wParam == 1)
        return Result(MoveMarkedToLayer(1, Mark(req->mark), req->word6c, static_cast<int>(req->word70),
                                        static_cast<int>(req->word74)));
    return 0;
}
LRESULT CCadSysCmdDb::OnDeleteMarked(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return DeleteMarkedElements(Mark(static_cast<uint32_t>(lParam)));
}
LRESULT CCadSysCmdDb::OnSelectMarked(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return SelectMarked(wParam != 0, Mark(static_cast<uint32_t>(lParam)));
}

// --- Tags, search and input lock ------------------------------------------------------

LRESULT CCadSysCmdDb::OnGetTag(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return GetElementTag(static_cast<int>(wParam), Element(static_cast<uint32_t>(lParam)));
}
LRESULT CCadSysCmdDb::OnSetTag(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const CmdRequest* req = Req(lParam);
    return req ? SetElementTag(static_cast<int>(wParam), Element(static_cast<uint32_t>(req->word6c)),
                               static_cast<int>(req->word70))
               : 0;
}
LRESULT CCadSysCmdDb::OnGetTagString(UINT, WPARAM, LPARAM lParam, BOOL&) { return GetElementTagString(Req(lParam)); }
LRESULT CCadSysCmdDb::OnSetTagString(UINT, WPARAM, LPARAM lParam, BOOL&) { return SetElementTagString(Req(lParam)); }
LRESULT CCadSysCmdDb::OnSetFindTagKey(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return SetFindTagKey(static_cast<int>(lParam));
}
LRESULT CCadSysCmdDb::OnFindTagElement(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return Result(FindTagElement(wParam != 0, reinterpret_cast<void*>(lParam)));
}
LRESULT CCadSysCmdDb::OnGetElementsInRect(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(GetElementsInRect(reinterpret_cast<const double*>(lParam)));
}
LRESULT CCadSysCmdDb::OnSetSearchOption(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return SetSearchOption(static_cast<int>(wParam), lParam);
}
LRESULT CCadSysCmdDb::OnGetSearchOption(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return SaveSearchOption(static_cast<int>(wParam), reinterpret_cast<SearchOptionRecord*>(lParam));
}
LRESULT CCadSysCmdDb::OnLinktagFind(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return Result(FindLinkTagElementsFor(Req(lParam)));
}
LRESULT CCadSysCmdDb::OnLockInputView(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    auto& lock = HostHooks().lockInputToActiveView;
    return lock ? lock(wParam, lParam) : 0;
}
LRESULT CCadSysCmdDb::OnUnlockInputView(UINT, WPARAM, LPARAM, BOOL&) {
    if (!HostHooks().unlockInput) return 0;
    HostHooks().unlockInput();
    return 1;
}

// --- Undo and per-command switches ---------------------------------------------------

LRESULT CCadSysCmdDb::OnMakeUndoPass(UINT, WPARAM, LPARAM, BOOL&) { return MakeUndoPass(); }
LRESULT CCadSysCmdDb::OnUndo(UINT, WPARAM, LPARAM, BOOL&) { return UndoLastStep(); }
LRESULT CCadSysCmdDb::OnRedo(UINT, WPARAM, LPARAM, BOOL&) { return RedoLastStep(); }
LRESULT CCadSysCmdDb::OnClearUndo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return ClearUndoElements(reinterpret_cast<DbHeader*>(lParam));
}

LRESULT CCadSysCmdDb::OnEnableUndo(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (wParam != 1) return 0;
    Switches().enableUndo = static_cast<int>(lParam);
    return 1;
}

LRESULT CCadSysCmdDb::OnHighlightColor(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (wParam == 1) return HostHooks().highlightColorSetting ? HostHooks().highlightColorSetting() : 0;
    Switches().highlightColor = static_cast<int>(lParam);
    return 1;
}

// --- Element services of CCadSysCmd --------------------------------------------------

LRESULT CCadSysCmd::OnLinktagAdd(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return LinkTagAdd(wParam, Req(lParam)); }
LRESULT CCadSysCmd::OnLinktagGet(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return LinkTagGet(wParam, Req(lParam)); }
LRESULT CCadSysCmd::OnLinktagCount(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return LinkTagCount(wParam, Req(lParam));
}
LRESULT CCadSysCmd::OnLinktagSet(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return LinkTagSet(wParam, Req(lParam)); }
LRESULT CCadSysCmd::OnLinktagClear(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return LinkTagClear(wParam, Req(lParam));
}
LRESULT CCadSysCmd::OnGetUserData(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return GetElementUserData(Element(static_cast<uint32_t>(wParam)), reinterpret_cast<void*>(lParam));
}
LRESULT CCadSysCmd::OnSetUserData(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return SetElementUserData(Element(static_cast<uint32_t>(wParam)), reinterpret_cast<const void*>(lParam));
}
LRESULT CCadSysCmd::OnSetGroupSearch(UINT, WPARAM, LPARAM lParam, BOOL&) {
    SetGroupSearch(static_cast<int>(lParam));
    return 0;
}

LRESULT CCadSysCmd::OnGetElementCount(UINT, WPARAM, LPARAM, BOOL&) {
    DbHeader* db = ActiveDb();
    return db ? DAriGetElmNum(db) : 0;
}
