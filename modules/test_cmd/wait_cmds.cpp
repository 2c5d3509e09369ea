// The test module's commands for the modal wait and the view, drawing and
// sub-code host services (ids 30500-30549):
//   WaitPoints  UM_WAIT_INPUT for points, right clicks and cancel: each
//               result "TESTCMD got r x y"; ends on end, quit or cancel
//   WaitSnaps   the same for snapped points
//   WaitNested  waits for a point; a timer that fires inside that wait
//               waits again ("TESTCMD innerready"): the first click is the
//               inner wait's ("TESTCMD inner x y"), the second the outer's
//               ("TESTCMD outer x y", then "TESTCMD innerkept x y")
//   AttrProbe   the active view's drawing attributes: "TESTCMD attr colour
//               type width"
//   HostViews   the view, drawing and sub-code services, one value line
//               "TESTCMD hv <name> <values>" each
//   OpenClose   opens "wait_open.tcf" beside the log by name, twice, then
//               closes it: "TESTCMD openclose a b c"
// The waiting commands first write "TESTCMD ready <word>".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"
#include "view/view_data.h"

namespace testcmd {

namespace {

const uint32_t kWantDde = 0x4000;

int WaitLoop(const char* word, uint32_t mask) {
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, mask | CMD_WANT_CANCEL);
    Log("TESTCMD ready %s", word);
    CmdRequest req = {};
    for (;;) {
        const LRESULT r = Host(UM_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&req));
        double pt[3];
        GetRequestPoint(req.point, pt);
        Log("TESTCMD got %ld %.9f %.9f", static_cast<long>(r), pt[0], pt[1]);
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL) return 0;
    }
}

CmdRequest g_inner;

void CALLBACK InnerWait(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    std::memset(&g_inner, 0, sizeof g_inner);
    Log("TESTCMD innerready");
    const LRESULT r = Host(UM_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&g_inner));
    double pt[3];
    GetRequestPoint(g_inner.point, pt);
    Log("TESTCMD inner %.9f %.9f %ld", pt[0], pt[1], static_cast<long>(r));
}

int WaitNested() {
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_POINT | CMD_WANT_CANCEL);
    CmdRequest outer = {};
    SetTimer(nullptr, 0, 50, InnerWait);
    Log("TESTCMD ready nested");
    const LRESULT r = Host(UM_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&outer));
    double pt[3];
    GetRequestPoint(outer.point, pt);
    Log("TESTCMD outer %.9f %.9f %ld", pt[0], pt[1], static_cast<long>(r));
    GetRequestPoint(g_inner.point, pt);
    Log("TESTCMD innerkept %.9f %.9f", pt[0], pt[1]);
    return 0;
}

ViewData* ActiveViewData() {
    HWND view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    return view ? reinterpret_cast<ViewData*>(GetWindowLongPtrA(view, 0)) : nullptr;
}

int AttrProbe() {
    DrawAttr attr;
    std::memset(&attr, 0, sizeof attr);
    const LRESULT r = Host(UM_GET_DRAW_ATTR, 0, reinterpret_cast<LPARAM>(&attr));
    Log("TESTCMD attr %ld %ld %ld %ld", static_cast<long>(attr.color), static_cast<long>(attr.lineType),
        static_cast<long>(attr.lineWidth), static_cast<long>(r));
    return 0;
}

// A module text far longer than any host buffer.
std::string LongText() { return std::string(3000, 'x'); }

void ColourLines() {
    Log("TESTCMD hv color %lu %lu %lu %lu", static_cast<unsigned long>(Host(UM_GET_COLOR, 0, 0)),
        static_cast<unsigned long>(Host(UM_GET_COLOR, 0, 2)), static_cast<unsigned long>(Host(UM_GET_COLOR, 0, 257)),
        static_cast<unsigned long>(Host(UM_GET_COLOR, 0, -5)));
    COLORREF table[257] = {};
    const LRESULT system = Host(UM_GET_COLOR_TABLE, 0, reinterpret_cast<LPARAM>(table));
    Log("TESTCMD hv systable %ld %lu %lu", static_cast<long>(system), static_cast<unsigned long>(table[0]),
        static_cast<unsigned long>(table[2]));
    COLORREF own[257] = {};
    const LRESULT drawing = Host(UM_GET_COLOR_TABLE, 1, reinterpret_cast<LPARAM>(own));
    Log("TESTCMD hv owntable %ld %lu", static_cast<long>(drawing), static_cast<unsigned long>(own[0]));
    Log("TESTCMD hv nulltable %ld", static_cast<long>(Host(UM_GET_COLOR_TABLE, 0, 0)));
}

void AttrLines() {
    DrawAttr attr, back;
    Host(UM_GET_DRAW_ATTR, 0, reinterpret_cast<LPARAM>(&attr));
    DrawAttr changed = attr;
    changed.color = attr.color == 7 ? 8 : 7;
    const LRESULT set = Host(UM_SET_DRAW_ATTR, 0, reinterpret_cast<LPARAM>(&changed));
    Host(UM_GET_DRAW_ATTR_OPT, 0, reinterpret_cast<LPARAM>(&back));
    Log("TESTCMD hv attr %ld %ld %ld", static_cast<long>(set), static_cast<long>(changed.color),
        static_cast<long>(back.color));
    Host(UM_SET_DRAW_ATTR, 0, reinterpret_cast<LPARAM>(&attr));
}

void ViewFuncLines() {
    const LRESULT event0 = Host(UM_VIEW_FUNC, 0, 0);
    const LRESULT set = Host(UM_VIEW_FUNC, 1, 1);
    const LRESULT event1 = Host(UM_VIEW_FUNC, 0, 0);
    const LRESULT badSet = Host(UM_VIEW_FUNC, 1, 5);
    Host(UM_VIEW_FUNC, 1, 0);
    Log("TESTCMD hv viewevent %ld %ld %ld %ld", static_cast<long>(event0), static_cast<long>(set),
        static_cast<long>(event1), static_cast<long>(badSet));
    Log("TESTCMD hv viewread %ld %ld %ld %ld %ld", static_cast<long>(Host(UM_VIEW_FUNC, 3, 2)),
        static_cast<long>(Host(UM_VIEW_FUNC, 3, 5)), static_cast<long>(Host(UM_VIEW_FUNC, 6, 0)),
        static_cast<long>(Host(UM_VIEW_FUNC, 10, 0)), static_cast<long>(Host(UM_VIEW_FUNC, 2, 0)));
    const char* line = reinterpret_cast<const char*>(Host(UM_VIEW_FUNC, 4, 30504));
    Log("TESTCMD hv cmdline %d %ld", line && std::strstr(line, "/C:HostViews") ? 1 : 0,
        static_cast<long>(Host(UM_VIEW_FUNC, 4, 1)));
}

void FileFuncLines() {
    const std::string text = LongText();
    const LPARAM p = reinterpret_cast<LPARAM>(text.c_str());
    Log("TESTCMD hv filefunc %ld %ld %ld %ld %ld %ld %ld", static_cast<long>(Host(UM_FILE_FUNC, 1, 0)),
        static_cast<long>(Host(UM_FILE_FUNC, 2, 0)), static_cast<long>(Host(UM_FILE_FUNC, 4, 0)),
        static_cast<long>(Host(UM_FILE_FUNC, 6, 3)), static_cast<long>(Host(UM_FILE_FUNC, 7, p)),
        static_cast<long>(Host(UM_FILE_FUNC, 5, p)), static_cast<long>(Host(UM_FILE_FUNC, 0, p)));
}

void ScaleAndFontLines() {
    double ratio = -1;
    const LRESULT r4 = Host(UM_INPUT_SCALE_FUNC, 4, reinterpret_cast<LPARAM>(&ratio));
    Log("TESTCMD hv inputscale %ld %ld %.6f %ld %ld", static_cast<long>(Host(UM_INPUT_SCALE_FUNC, 3, 0)),
        static_cast<long>(r4), ratio, static_cast<long>(Host(UM_INPUT_SCALE_FUNC, 20, 0)),
        static_cast<long>(Host(UM_INPUT_SCALE_FUNC, 99, 0)));
    static unsigned char font[0x300];
    std::memset(font, 0, sizeof font);
    const int32_t seven = 7;
    std::memcpy(font + 8, &seven, sizeof seven);
    const LRESULT r21 = Host(UM_FONT_DIC_FUNC, 21, reinterpret_cast<LPARAM>(font));
    const LRESULT r23 = Host(UM_FONT_DIC_FUNC, 23, reinterpret_cast<LPARAM>(font));
    int32_t count = 0;
    std::memcpy(&count, font + 8, sizeof count);
    Log("TESTCMD hv fontdic %ld %ld %ld %ld %ld", static_cast<long>(Host(UM_FONT_DIC_FUNC, 19, 0)),
        static_cast<long>(r21), static_cast<long>(r23), static_cast<long>(count),
        static_cast<long>(Host(UM_FONT_DIC_FUNC, 99, reinterpret_cast<LPARAM>(font))));
}

void SelectionLines() {
    DbHeader* db = reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB));
    if (!db) {
        Log("TESTCMD hv select none");
        return;
    }
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    line.colour = 2;
    CadSetF64(&line, kOffP2X, 30.0);
    StoredElement* e = DAriAppendElement(&line, db);
    if (!e) {
        Log("TESTCMD hv select none");
        return;
    }
    const LRESULT s1 = Host(UM_SELECT_ELEMENT, 0, reinterpret_cast<LPARAM>(e));
    const unsigned bit1 = e->selection & 1u;
    const LRESULT d1 = Host(UM_DESELECT_ELEMENT, 0, reinterpret_cast<LPARAM>(e));
    const unsigned bit2 = e->selection & 1u;
    Host(UM_SELECT_ELEMENT, 0, reinterpret_cast<LPARAM>(e));
    const LRESULT all = Host(UM_DESELECT_ALL, 0, 0);
    const unsigned bit3 = e->selection & 1u;
    Log("TESTCMD hv select %ld %u %ld %u %ld %u %ld", static_cast<long>(s1), bit1, static_cast<long>(d1), bit2,
        static_cast<long>(all), bit3, static_cast<long>(Host(UM_SELECT_ELEMENT, 0, 0)));
    CmdRequest draw = {};
    draw.view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    draw.element = reinterpret_cast<uint32_t>(e);
    Log("TESTCMD hv draw %ld %ld", static_cast<long>(Host(UM_DRAW_ELEMENT, 0, reinterpret_cast<LPARAM>(&draw))),
        static_cast<long>(Host(UM_GET_ELEMENT_COUNT)));
}

void ViewLines() {
    ViewData* data = ActiveViewData();
    CmdRequest zoom = {};
    const double p1[3] = {-40, -10, 0}, p2[3] = {-40, 30, 0};  // no width at all
    SetRequestPoint(zoom.pt1, p1);
    SetRequestPoint(zoom.pt2, p2);
    const LRESULT z = Host(UM_ZOOM_TO_RECT, 0, reinterpret_cast<LPARAM>(&zoom));
    const double scale = data ? data->modelScale : -1;
    Log("TESTCMD hv zoom %ld %.9g %.9g %.9g", static_cast<long>(z), scale, data ? data->modelOffsetX : 0.0,
        data ? data->modelOffsetY : 0.0);

    double paper[4] = {0, 0, 0, 0};
    Log("TESTCMD hv paper %ld %.6f %.6f %.6f %.6f %ld",
        static_cast<long>(Host(UM_GET_PAPER_RECT, 0, reinterpret_cast<LPARAM>(paper))), paper[0], paper[1], paper[2],
        paper[3], static_cast<long>(Host(UM_GET_PAPER_RECT, 0, 0)));

    // A drag preview handed a bad angle pointer must not end the command.
    CmdRequest drag = {};
    drag.view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    drag.w.anglePtr = 0x10;
    drag.picked = 0x10;
    const LRESULT bad = Host(UM_DRAG_TRANSFORM, 0, reinterpret_cast<LPARAM>(&drag));
    static double angle = 0.5, factor = 2.0;
    drag.w.anglePtr = reinterpret_cast<uint32_t>(&angle);
    drag.picked = reinterpret_cast<uint32_t>(&factor);
    const LRESULT good = Host(UM_DRAG_TRANSFORM, 0, reinterpret_cast<LPARAM>(&drag));
    Log("TESTCMD hv drag %ld %ld", static_cast<long>(bad), static_cast<long>(good));

    char name[260] = "?";
    const LRESULT read = Host(UM_DRAWING_FILE_NAME, 0, reinterpret_cast<LPARAM>(name));
    Log("TESTCMD hv filename %ld %u", static_cast<long>(read), static_cast<unsigned>(std::strlen(name)));

    CmdRequest overview = {};
    overview.view = drag.view;
    overview.w.mode = 2;
    Log("TESTCMD hv simple %ld %ld %ld %ld %ld %ld", static_cast<long>(Host(UM_REDRAW_VIEW)),
        static_cast<long>(Host(UM_UPDATE_ELEMENT_COUNT)), static_cast<long>(Host(UM_SHOW_MAIN)),
        static_cast<long>(Host(UM_FOCUS_VIEW)),
        static_cast<long>(Host(UM_SET_OVERVIEW, 0, reinterpret_cast<LPARAM>(&overview))),
        static_cast<long>(Host(UM_RESET_OPEN_FLAG)));

    CmdRequest item = {};
    item.w.text = reinterpret_cast<uint32_t>("項目");
    item.panelKind = 1;
    item.panelExtra = 77;
    Log("TESTCMD hv rpmenu %ld %ld %ld %ld", static_cast<long>(Host(UM_RPMENU_CLEAR_ITEMS)),
        static_cast<long>(Host(UM_RPMENU_ADD_ITEM, 0, reinterpret_cast<LPARAM>(&item))),
        static_cast<long>(Host(UM_RPMENU_USE_ITEMS, 0, 0)), static_cast<long>(Host(UM_RPMENU_CLEAR_ITEMS)));
}

int HostViews() {
    ColourLines();
    AttrLines();
    ViewFuncLines();
    FileFuncLines();
    ScaleAndFontLines();
    SelectionLines();
    ViewLines();
    Log("TESTCMD hv done");
    return 0;
}

int OpenClose() {
    char log[MAX_PATH] = "";
    GetEnvironmentVariableA("ZAV_TESTCMD_LOG", log, sizeof log);
    std::string path = log;
    const size_t slash = path.rfind('\\');
    path = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "wait_open.tcf";
    CmdRequest req = {};
    req.w.text = reinterpret_cast<uint32_t>(path.c_str());
    const LRESULT a = Host(UM_OPEN_DRAWING, 0, reinterpret_cast<LPARAM>(&req));
    const LRESULT b = Host(UM_OPEN_DRAWING, 0, reinterpret_cast<LPARAM>(&req));
    const LRESULT c = Host(UM_CLOSE_DRAWING, 0, reinterpret_cast<LPARAM>(&req));
    Log("TESTCMD openclose %ld %ld %ld", static_cast<long>(a), static_cast<long>(b), static_cast<long>(c));
    return 0;
}

}  // namespace

bool RunWaitCommand(const char* word, const char*, int* result) {
    if (Is(word, "WaitPoints"))
        *result = WaitLoop("points", CMD_WANT_POINT | CMD_WANT_RCLICK | kWantDde);
    else if (Is(word, "WaitSnaps"))
        *result = WaitLoop("snaps", CMD_WANT_SNAP);
    else if (Is(word, "WaitNested"))
        *result = WaitNested();
    else if (Is(word, "AttrProbe"))
        *result = AttrProbe();
    else if (Is(word, "HostViews"))
        *result = HostViews();
    else if (Is(word, "OpenClose"))
        *result = OpenClose();
    else
        return false;
    return true;
}

}  // namespace testcmd
