// The commands:
//   CloseArgs    log the argument text (the BOOT and DESTROY commands)
//   CloseWait    wait for input until ended, logging each click's point
//   YesNo        ask a yes/no question, log the answer
//   YesNoCancel  ask a yes/no/cancel question, log the answer
//   DrawingInfo  log the active drawing's paper, scale and origin, and how
//                many windows show how many drawings
#include <cstring>
#include <set>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"
#include "view/view_data.h"

namespace testcmd {

namespace {

int WaitUntilEnded() {
    Log("TESTCMD close waiting id=%ld", static_cast<long>(Host(UM_GET_CUR_CMD_ID)));
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_POINT | CMD_WANT_CANCEL);
    CmdRequest req = {};
    for (;;) {
        const LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL) break;
        if (r == CMD_RES_POINT) {
            double pt[3];
            GetRequestPoint(req.point, pt);
            Log("TESTCMD close point %.1f %.1f", pt[0], pt[1]);
        }
    }
    Log("TESTCMD close ended");
    return 0;
}

int Ask(UINT message, const char* name) {
    CmdRequest req = {};
    req.word70 = reinterpret_cast<uint32_t>("テスト質問：続けますか？");
    const LRESULT answer = Host(message, 0, reinterpret_cast<LPARAM>(&req));
    Log("TESTCMD %s=%ld", name, static_cast<long>(answer));
    return 0;
}

// The drawing windows of the host: the MDI client's children, each with
// its view (the host answers 3524 with it) and the view's record.
BOOL CALLBACK FindClient(HWND w, LPARAM lp) {
    char cls[32] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (lstrcmpiA(cls, "MDIClient") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lp) = w;
    return FALSE;
}

HWND MdiClient() {
    HWND client = nullptr;
    EnumChildWindows(Frame(), FindClient, reinterpret_cast<LPARAM>(&client));
    return client;
}

int DrawingInfo() {
    HWND client = MdiClient();
    HWND active = client ? reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    int windows = 0;
    std::set<int> drawings;
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        HWND view = reinterpret_cast<HWND>(SendMessageA(child, 3524, 0, 0));
        const ViewData* d = view ? reinterpret_cast<const ViewData*>(GetWindowLongPtrA(view, 0)) : nullptr;
        if (!d) continue;
        ++windows;
        drawings.insert(d->drawingId);
    }
    HWND view = active ? reinterpret_cast<HWND>(SendMessageA(active, 3524, 0, 0)) : nullptr;
    const ViewData* d = view ? reinterpret_cast<const ViewData*>(GetWindowLongPtrA(view, 0)) : nullptr;
    if (!d || !d->db) {
        Log("TESTCMD info none");
        return 0;
    }
    unsigned char head[kDbInfoHeadSize];
    DAriGetDBInfo(head, d->db);
    const DbInfo* info = reinterpret_cast<const DbInfo*>(head);
    Log("TESTCMD info code=%u scale=%g paper=%gx%g drawing=%gx%g corner=%d windows=%d drawings=%d "
        "shared=%d number=%d",
        static_cast<unsigned>(info->paperCode), CadGetF64(head, kInfoScale), CadGetF64(head, kInfoPaperWmm),
        CadGetF64(head, kInfoPaperHmm), CadGetF64(head, kInfoDrawW), CadGetF64(head, kInfoDrawH),
        static_cast<int>(info->originAtCorner), windows, static_cast<int>(drawings.size()), static_cast<int>(d->shared),
        static_cast<int>(d->windowNumber));
    return 0;
}

}  // namespace

bool RunCloseCommand(const char* word, const char* args, int* result) {
    if (Is(word, "CloseArgs")) {
        Log("TESTCMD close args=%s", args ? args : "(null)");
        *result = 0;
    } else if (Is(word, "CloseWait")) {
        *result = WaitUntilEnded();
    } else if (Is(word, "YesNoCancel")) {
        *result = Ask(UM_CONFIRM_YESNO_EX, "yesnocancel");
    } else if (Is(word, "YesNo")) {
        *result = Ask(UM_CONFIRM_YESNO, "yesno");
    } else if (Is(word, "DrawingInfo")) {
        *result = DrawingInfo();
    } else {
        return false;
    }
    return true;
}

}  // namespace testcmd
