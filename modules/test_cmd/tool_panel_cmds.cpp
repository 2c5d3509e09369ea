// The tool-panel commands (31000-31099):
//   ToolAttr  logs the active view's drawing attributes and the input layer
//             of the current page as the host messages give them:
//             "TESTCMD tattr <colour> <type> <width> <start> <end> <layer>"
//   ToolLine  appends a line from (10, 20) to (110, 20) with colour 9, line
//             type 2, width 4, line start 1 and line end 5 on layer 7
//             ("TESTCMD tline <element count>")
//   ToolField places a line-end field (id 77, set to type 5) and a point
//             field (id 78, set to 2) of the host's global classes in a
//             window of its own, logs "TESTCMD tfieldready", and when the
//             line-end field reports a choice logs
//             "TESTCMD tfield <line-end type> <point value>"
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

HWND g_endField = nullptr, g_pointField = nullptr;
int g_chosen = 0;

LRESULT CALLBACK FieldHostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && LOWORD(wp) == 77 && HIWORD(wp) == 1) {
        g_chosen = 1;
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

int FieldsInOwnWindow() {
    HINSTANCE inst = GetModuleHandleA("ZavTestCmd.dll");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FieldHostProc;
    wc.hInstance = inst;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "ZavTestFieldHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "テスト属性欄", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                200, 200, 260, 120, Frame(), nullptr, inst, nullptr);
    g_endField = CreateWindowExA(0, "cmdltermeclass", "", WS_CHILD | WS_VISIBLE, 10, 10, 150, 22, host, (HMENU)77,
                                 inst, nullptr);
    g_pointField = CreateWindowExA(0, "cmdpointclass", "", WS_CHILD | WS_VISIBLE, 10, 40, 200, 22, host, (HMENU)78,
                                   inst, nullptr);
    SendMessageA(g_endField, WM_USER + 2, 0, 5);
    SendMessageA(g_pointField, WM_USER + 2, 0, 2);
    Log("TESTCMD tfieldready %d %d", g_endField ? 1 : 0, g_pointField ? 1 : 0);
    g_chosen = 0;
    const DWORD start = GetTickCount();
    MSG msg;
    while (!g_chosen && GetTickCount() - start < 120000) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(10);
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam);  // the host's loop takes it
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Log("TESTCMD tfield %ld %ld", static_cast<long>(SendMessageA(g_endField, WM_USER + 3, 0, 0)),
        static_cast<long>(SendMessageA(g_pointField, WM_USER + 3, 0, 0)));
    DestroyWindow(host);
    return 0;
}

}  // namespace

bool RunToolPanelCommand(const char* word, const char*, int* result) {
    if (Is(word, "ToolAttr")) return *result = AttrProbe(), true;
    if (Is(word, "ToolLine")) return *result = AttrLine(), true;
    if (Is(word, "ToolField")) return *result = FieldsInOwnWindow(), true;
    return false;
}

}  // namespace testcmd
