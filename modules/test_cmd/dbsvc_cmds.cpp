// The test module's commands for the drawing services (ids 30400-30499),
// chosen by the "/C:" word:
//   DbEdit  in the active drawing: appends two lines and a circle (one
//           undo step), then changes the second line, deletes the circle
//           and groups the lines (a second step); then appends a third line
//           as a step of its own, undoes it, redoes it and undoes it again.
//           Logs "DBSVC edit" with the element counts seen along the way.
#include "modules/test_cmd/dbsvc_cmds.h"

#include <cstdio>
#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"

namespace {

HWND g_frame = nullptr;

LRESULT Host(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageA(g_frame, msg, wParam, lParam);
}

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
        TestCmdLog("DBSVC edit: no drawing");
        return 0;
    }
    // Step 1: two lines and a circle.
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
    // Step 2: change, delete, group.
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
    // Step 3: a line that does not stay.
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
                  afterGroup, withThird, undone, redone, Count(), static_cast<int>(changed),
                  static_cast<int>(deleted), group != 0);
    TestCmdLog(line);
    return 0;
}

}  // namespace

int RunDbServiceCmd(HWND frame, const char* word) {
    g_frame = frame;
    if (std::strncmp(word, "DbEdit", 6) == 0) return DbEdit();
    return kNotDbServiceCmd;
}
