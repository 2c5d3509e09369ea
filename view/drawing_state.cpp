#include "view/drawing_state.h"

#include <initializer_list>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/dbcs.h"

#include "command/command_ids.h"
#include "panels/panel_windows.h"
#include "view/cadwin_frame.h"
#include "view/db_info.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

// Applies `fn` to every view of `view`'s drawing (the given view included).
template <class Fn>
void ForDrawingViews(HWND view, ViewData* mine, Fn fn) {
    const int id = mine->drawingId;
    bool sawGiven = false;
    for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
        ViewData* d = GetViewData(v);
        if (!d) break;
        if (d->drawingId != id) continue;
        if (v == view) sawGiven = true;
        fn(v, d);
    }
    if (!sawGiven) fn(view, mine);
}

std::string DrawingTitle(HWND view, DbHeader* db) {
    DbInfoHead head;
    if (db && DAriGetDBInfo(&head, db)) {
        std::string t(head.Title(), strnlen(head.Title(), 257));
        if (!t.empty()) return t;
    }
    // No drawing information yet: the title the frame was created with.
    if (auto* frame = dynamic_cast<CCadwinFrame*>(CWindowBase::FromHandle(::GetParent(view))))
        return frame->m_baseTitle;
    return std::string();
}

}  // namespace

int SetDrawingModified(HWND view) {
    if (!view) view = GetActiveView();
    ViewData* mine = GetViewData(view);
    if (!mine) return 0;
    ForDrawingViews(view, mine, [](HWND, ViewData* d) { d->modified = 1; });
    return 1;
}

int ClearDrawingModified(HWND view) {
    if (!view) view = GetActiveView();
    ViewData* mine = GetViewData(view);
    if (!mine) return 1;
    ForDrawingViews(view, mine, [](HWND, ViewData* d) { d->modified = 0; });
    return 1;
}

int SetDrawingFileName(HWND view, int reserved, const char* fileName, int) {
    if (reserved != 0) return 1;
    if (!view) view = GetActiveView();
    ViewData* mine = GetViewData(view);
    if (!mine) return 1;
    const char* name = fileName ? fileName : "";
    ForDrawingViews(view, mine, [name](HWND v, ViewData* d) {
        // A longer name is cut on a character boundary, never overrun.
        DbcsCopy(d->fileName, sizeof d->fileName, name);
        if (d->db) SetViewTitle(v, d->db, d->shared ? d->windowNumber : 0);
    });
    return 1;
}

void SetViewTitle(HWND view, DbHeader* db, int number) {
    HWND owner = FindViewByDb(db);
    ViewData* r = GetViewData(owner);
    if (!r || !view) return;
    std::string title = DrawingTitle(view, db);
    char buf[1024];
    DbInfoHead head;
    const bool titled = db && DAriGetDBInfo(&head, db) && head.Title()[0];
    if (!titled && r->fileName[0] && title == r->fileName) {
        // A window opened for a file whose drawing has no title of its own
        // is named by the file alone.
        if (number)
            snprintf(buf, sizeof buf, "%s : %d", r->fileName, number);
        else
            snprintf(buf, sizeof buf, "%s", r->fileName);
    } else if (r->fileName[0] && number)
        snprintf(buf, sizeof buf, "%s : %d -[%s]", title.c_str(), number, r->fileName);
    else if (r->fileName[0])
        snprintf(buf, sizeof buf, "%s -[%s]", title.c_str(), r->fileName);
    else if (number)
        snprintf(buf, sizeof buf, "%s : %d", title.c_str(), number);
    else
        snprintf(buf, sizeof buf, "%s", title.c_str());
    std::string text = buf;
    if (r->readOnly) text += " (参照)";
    HWND frame = ::GetParent(view);
    ::SetWindowTextA(frame, text.c_str());
    if (HWND client = ::GetParent(frame)) ::SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
}

int ResetViewAfterDbChange(void*, HWND view) {
    ViewData* mine = GetViewData(view);
    if (!mine) return 1;
    SetDrawingModified(view);
    if (!mine->shared) {
        SetViewTitle(view, mine->db, 0);
    } else {
        ForDrawingViews(view, mine, [mine](HWND v, ViewData* d) { SetViewTitle(v, mine->db, d->windowNumber); });
    }
    mine->untitledNumber = 0;
    ZoomViewToPaper();
    ::InvalidateRect(view, nullptr, FALSE);
    ::UpdateWindow(view);
    return 1;
}

void InvalidateDrawingViews(HWND view) {
    ViewData* mine = GetViewData(view);
    if (mine)
        ForDrawingViews(view, mine, [](HWND v, ViewData*) { ::InvalidateRect(v, nullptr, TRUE); });
    else if (view)
        ::InvalidateRect(view, nullptr, TRUE);
}

int CloseEmptyUntitledViews(int) {
    // Collected first: each close takes its view out of the table.
    std::vector<HWND> empty;
    for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
        ViewData* d = GetViewData(v);
        if (!d) break;
        if (d->fileName[0] == '\0' && d->modified == 0 && GetViewElementCount(v) == 0) empty.push_back(v);
    }
    // The frame decides a window's close (the view ignores WM_CLOSE).
    for (HWND v : empty)
        if (::IsWindow(v)) ::SendMessageA(::GetParent(v), WM_CLOSE, 0, 0);
    return 1;
}

long GetViewElementCount(HWND view) {
    if (!view) view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    return db ? DAriGetElmNum(db) : 0;
}

void CenterViewScrollBars(HWND view) {
    if (!GetViewData(view)) return;
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO si = {sizeof si, SIF_RANGE | SIF_POS, 0, 100, 0, 50, 0};
        ::SetScrollInfo(view, bar, &si, TRUE);
    }
}

int NotifyToolPanelViewChange() {
    if (HWND panel = ToolPanelWindow()) {
        ::SendMessageA(panel, WM_COMMAND, ID_PANEL_VIEW_CHANGED, 0);
        ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(ID_PANEL_VIEW_REFRESH, 1), 0);
    }
    return 1;
}
