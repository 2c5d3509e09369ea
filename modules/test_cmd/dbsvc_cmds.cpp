// The test module's commands for the drawing services (ids 30400-30499),
// chosen by the "/C:" word:
//   DbEdit  in the active drawing: appends two lines and a circle (one
//           undo step), then changes the second line, deletes the circle
//           and groups the lines (a second step); then appends a third line
//           as a step of its own, undoes it, redoes it and undoes it again.
//           Logs "DBSVC edit" with the element counts seen along the way.
//   DbMore  on the first element of the active drawing (the group DbEdit
//           made): adds a link entry, copies the group moved by (200, 100)
//           (one undo step), reads the current page and the visible area,
//           and builds, draws and deletes a temporary database. Logs
//           "DBSVC more" with what each service answered.
#include <cstdio>
#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

using testcmd::Host;

template <class T>
LRESULT Host(UINT msg, WPARAM wParam, const T* lParam) {
    return Host(msg, wParam, reinterpret_cast<LPARAM>(lParam));
}

uint32_t W(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

ElementRecord Line(double x1, double y1, double x2, double y2) {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmLine;
    r.colour = 1;
    CadSetF64(&r, kOffP1X, x1);
    CadSetF64(&r, kOffP1Y, y1);
    CadSetF64(&r, kOffP2X, x2);
    CadSetF64(&r, kOffP2Y, y2);
    return r;
}

int Count() { return static_cast<int>(Host(UM_GET_ELEMENT_COUNT)); }

int DbEdit() {
    HWND view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    const LRESULT db = Host(UM_GET_ACTIVE_DB);
    if (!view || !db) {
        Log("DBSVC edit: no drawing");
        return 0;
    }
    // First two lines and a circle.
    const ElementRecord first = Line(0, 0, 100, 0);
    const ElementRecord second = Line(0, 20, 100, 20);
    ElementRecord circle;
    std::memset(&circle, 0, sizeof circle);
    circle.kind = kElmCircle;
    circle.colour = 3;
    CadSetF64(&circle, kOffP1X, 50);
    CadSetF64(&circle, kOffP1Y, 50);
    CadSetF64(&circle, kOffRadius, 10);
    const LRESULT a = Host(UM_APPEND_ELEMENT, 0, &first);
    CmdRequest req = {};
    req.view = view;
    req.word6c = static_cast<int32_t>(W(&second));
    const LRESULT b = Host(UM_APPEND_ELEMENT_EX, 0, &req);
    const LRESULT c = Host(UM_APPEND_ELEMENT, 0, &circle);
    Host(UM_MAKE_UNDO_PASS);
    const int afterAppend = Count();
    // Then change, delete, group.
    const ElementRecord moved = Line(0, 50, 100, 50);
    req = CmdRequest();
    req.view = view;
    req.element = static_cast<uint32_t>(b);
    req.element2 = 4;
    req.word6c = static_cast<int32_t>(W(&moved));
    const LRESULT changed = Host(UM_CHANGE_ELEMENT, 0, &req);
    req = CmdRequest();
    req.view = view;
    req.element = static_cast<uint32_t>(c);
    const LRESULT deleted = Host(UM_DELETE_ELEMENT, 0, &req);
    const LRESULT mark = Host(UM_CREATE_MARK, 0, db);
    CmdRequest add = {};
    add.word6c = static_cast<int32_t>(mark);
    add.word70 = static_cast<uint32_t>(a);
    Host(UM_SET_MARK, 0, &add);
    add.word70 = static_cast<uint32_t>(b);
    Host(UM_SET_MARK, 0, &add);
    ElementRecord head;
    std::memset(&head, 0, sizeof head);
    head.kind = kElmGroup;
    req = CmdRequest();
    req.view = view;
    req.mark = static_cast<uint32_t>(mark);
    req.record = W(&head);
    const LRESULT group = Host(UM_MAKE_GROUP, 0, &req);
    Host(UM_DESTROY_MARK, 0, mark);
    Host(UM_MAKE_UNDO_PASS);
    const int afterGroup = Count();
    // Last a line that does not stay.
    const ElementRecord passing = Line(0, -30, 100, -30);
    Host(UM_APPEND_ELEMENT, 0, &passing);
    Host(UM_MAKE_UNDO_PASS);
    const int withThird = Count();
    Host(UM_UNDO);
    const int undone = Count();
    Host(UM_REDO);
    const int redone = Count();
    Host(UM_UNDO);
    char line[200];
    std::snprintf(line, sizeof line, "DBSVC edit %d %d %d %d %d %d changed=%d deleted=%d group=%d", afterAppend,
                  afterGroup, withThird, undone, redone, Count(), static_cast<int>(changed), static_cast<int>(deleted),
                  group != 0);
    Log("%s", line);
    return 0;
}

int DbMore() {
    HWND view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    const LRESULT db = Host(UM_GET_ACTIVE_DB);
    if (!view || !db) {
        Log("DBSVC more: no drawing");
        return 0;
    }
    ElementRecord buffer;
    CmdRequest req = {};
    req.view = view;
    req.element2 = 0;  // the first element
    req.word6c = static_cast<int32_t>(W(&buffer));
    const LRESULT group = Host(UM_READ_ELEMENT, 0, &req);
    // A link entry on the group.
    CmdRequest tag = {};
    tag.view = view;
    tag.element = static_cast<uint32_t>(group);
    tag.w.text = W("PART");
    tag.w.text2 = W("A-100");
    const LRESULT added = Host(UM_LINKTAG_ADD, 0, &tag);
    const LRESULT entries = Host(UM_LINKTAG_COUNT, 0, &tag);
    // A copy of the group, moved.
    const double move[11] = {1, 1, 0, 0, 1, 0, 0, 200, 100, 1, 1};
    Host(UM_SET_TRANSFORM, 1, move);
    const LRESULT mark = Host(UM_CREATE_MARK, 0, db);
    CmdRequest add = {};
    add.word6c = static_cast<int32_t>(mark);
    add.word70 = static_cast<uint32_t>(group);
    Host(UM_SET_MARK, 0, &add);
    const LRESULT copies = Host(UM_COPY_MARKED, 0, mark);
    const LRESULT copied = copies ? Host(UM_MARK_COUNT, 0, copies) : 0;
    if (copies) Host(UM_DESTROY_MARK, 0, copies);
    Host(UM_DESTROY_MARK, 0, mark);
    Host(UM_MAKE_UNDO_PASS);
    // Page services: the current page and the visible area of model space.
    const LRESULT page = Host(UM_PAGE_FUNC, 0, &req);
    CmdRequest area = {};
    area.arg = 0;
    Host(UM_PAGE_FUNC, 20, &area);
    double left[3], right[3];
    GetRequestPoint(area.pt1, left);
    GetRequestPoint(area.pt2, right);
    // A temporary database over the view.
    CmdRequest temp = {};
    temp.view = view;
    temp.w.mode = 1;
    const LRESULT created = Host(UM_TEMP_DB, 0, &temp);
    const ElementRecord preview = Line(0, 0, 50, 50);
    temp.w.mode = 3;
    temp.element = W(&preview);
    const LRESULT appended = Host(UM_TEMP_DB, 0, &temp);
    temp.w.mode = 6;
    temp.arg = -1;  // in the elements' own colours
    const LRESULT drawn = Host(UM_TEMP_DB, 0, &temp);
    const LRESULT header = Host(UM_GET_TEMP_DB);
    temp.w.mode = 2;
    Host(UM_TEMP_DB, 0, &temp);
    temp.w.mode = 1;
    const LRESULT gone = Host(UM_TEMP_DB, 1, &temp);
    char line[200];
    std::snprintf(line, sizeof line, "DBSVC more tag=%d/%d copied=%d page=%d wide=%d temp=%d/%d/%d/%d/%d",
                  static_cast<int>(added), static_cast<int>(entries), static_cast<int>(copied), static_cast<int>(page),
                  right[0] > left[0], static_cast<int>(created), appended != 0, static_cast<int>(drawn), header != 0,
                  static_cast<int>(gone));
    Log("%s", line);
    return 0;
}

}  // namespace

bool RunDbServiceCommand(const char* word, const char*, int* result) {
    if (Is(word, "DbEdit")) {
        *result = DbEdit();
    } else if (Is(word, "DbMore")) {
        *result = DbMore();
    } else {
        return false;
    }
    return true;
}

}  // namespace testcmd
