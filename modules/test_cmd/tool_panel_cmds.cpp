// The tool-panel commands (31000-31099):
//   ToolAttr  logs the active view's drawing attributes and the input layer
//             of the current page as the host messages give them:
//             "TESTCMD tattr <colour> <type> <width> <start> <end> <layer>"
//   ToolLine  appends a line from (10, 20) to (110, 20) with colour 9, line
//             type 2, width 4, line start 1 and line end 5 on layer 7
//             ("TESTCMD tline <element count>")
#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"
#include "view/view_data.h"

namespace testcmd {

namespace {

int AttrProbe() {
    DrawAttr attr;
    std::memset(&attr, 0, sizeof attr);
    Host(UM_GET_DRAW_ATTR, 0, reinterpret_cast<LPARAM>(&attr));
    static LayerTable layers;
    std::memset(&layers, 0, sizeof layers);
    const LRESULT got = Host(UM_GET_LAYER_INFO, 0, reinterpret_cast<LPARAM>(&layers));
    Log("TESTCMD tattr %ld %ld %ld %ld %ld %ld", static_cast<long>(attr.color), static_cast<long>(attr.lineType),
        static_cast<long>(attr.lineWidth), static_cast<long>(attr.lineStartKind), static_cast<long>(attr.lineEndKind),
        got ? static_cast<long>(layers.inputLayer) : -1L);
    return 0;
}

int AttrLine() {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmLine;
    r.layer = 7;
    r.colour = 9;
    r.body[0] = 2;  // line type (offset 13)
    r.body[1] = 4;  // width
    r.body[2] = 1;  // line start
    r.body[3] = 5;  // line end
    CadSetF64(&r, kOffP1X, 10);
    CadSetF64(&r, kOffP1Y, 20);
    CadSetF64(&r, kOffP2X, 110);
    CadSetF64(&r, kOffP2Y, 20);
    Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&r));
    Host(UM_MAKE_UNDO_PASS);
    Log("TESTCMD tline %ld", static_cast<long>(Host(UM_GET_ELEMENT_COUNT)));
    return 0;
}

}  // namespace

bool RunToolPanelCommand(const char* word, const char*, int* result) {
    if (Is(word, "ToolAttr")) return *result = AttrProbe(), true;
    if (Is(word, "ToolLine")) return *result = AttrLine(), true;
    return false;
}

}  // namespace testcmd
