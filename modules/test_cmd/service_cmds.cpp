// The test module's commands for the host's built-in service commands
// (ids 30550-30599), chosen by the "/C:" word:
//   SvcLines      appends the lines (10,20)-(110,20) and (10,20)-(10,70) to
//                 the active drawing; logs "svclines <element count>"
//   SvcWait       logs "svcstart <its pattern-save setting>", then waits for
//                 snapped points and panel events ("svcpoint x y",
//                 "svcpanel v") until it is ended or cancelled ("svcend")
//   SvcMemo       attaches a memo drawing to the active drawing whose file
//                 is <the folder of ZAV_TESTCMD_LOG>\memo\plan.tcf, memo
//                 colour "3,"; logs "svcmemo attached"
//   SvcMemoProbe  logs "svcmemoprobe <1 when the active drawing has a memo>
//                 <its colour number>"
// and (ids 31400-31449):
//   SvcProbe      logs "svcprobe <display mode> <colour> <line type> <width>
//                 <line start> <line end> <double at 328>" of the active view
//   SvcAttrLines  appends two lines over each other from (10,40) to (110,40)
//                 with line type 3, width 2, line ends 1 and 2, colours 5
//                 and 6; logs "svcattrlines <element count>"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"
#include "view/view_data.h"

namespace testcmd {

namespace {

// The host's extension record of a database header, as 32-bit words: word
// 2 holds the memo drawing.
struct ExtWords {
    uint32_t words[16];
};

DbHeader* ActiveDb() { return reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB)); }

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

int Lines() {
    const ElementRecord a = Line(10, 20, 110, 20), b = Line(10, 20, 10, 70);
    Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&a));
    Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&b));
    Host(UM_MAKE_UNDO_PASS);
    Log("TESTCMD svclines %ld", static_cast<long>(Host(UM_GET_ELEMENT_COUNT)));
    return 0;
}

int Probe() {
    HWND view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    const auto* data = view ? reinterpret_cast<const ViewData*>(GetWindowLongPtrA(view, 0)) : nullptr;
    if (!data) {
        Log("TESTCMD svcprobe none");
        return 0;
    }
    DrawAttr attr;
    std::memset(&attr, 0, sizeof attr);
    Host(UM_GET_DRAW_ATTR, 0, reinterpret_cast<LPARAM>(&attr));
    double spacing = 0;
    std::memcpy(&spacing, reinterpret_cast<const unsigned char*>(&attr) + 328, sizeof spacing);
    Log("TESTCMD svcprobe %ld %ld %ld %ld %ld %ld %.6f", static_cast<long>(data->displayMode),
        static_cast<long>(attr.color), static_cast<long>(attr.lineType), static_cast<long>(attr.lineWidth),
        static_cast<long>(attr.lineStartKind), static_cast<long>(attr.lineEndKind), spacing);
    return 0;
}

int AttrLines() {
    const int colours[] = {5, 6};
    for (int colour : colours) {
        ElementRecord r = Line(10, 40, 110, 40);
        r.colour = static_cast<uint16_t>(colour);
        auto* bytes = reinterpret_cast<unsigned char*>(&r);
        bytes[kOffLineType] = 3;
        bytes[kOffLineWidth] = 2;
        bytes[kOffLineStartMark] = 1;
        bytes[kOffLineEndMark] = 2;
        Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&r));
    }
    Host(UM_MAKE_UNDO_PASS);
    Log("TESTCMD svcattrlines %ld", static_cast<long>(Host(UM_GET_ELEMENT_COUNT)));
    return 0;
}

int WaitForService() {
    const LRESULT id = Host(UM_GET_CUR_CMD_ID);
    Log("TESTCMD svcstart %ld", static_cast<long>(Host(UM_GET_PTNSAVE, id)));
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_SNAP | CMD_WANT_CANCEL | CMD_WANT_PANEL);
    CmdRequest req = {};
    for (;;) {
        const LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL) break;
        if (r == CMD_RES_SNAPPED) {
            double pt[3];
            GetRequestPoint(req.point, pt);
            Log("TESTCMD svcpoint %.6f %.6f", pt[0], pt[1]);
        } else if (r == CMD_RES_PANEL) {
            Log("TESTCMD svcpanel %d", req.panelValue);
        }
    }
    Log("TESTCMD svcend");
    return 0;
}

int AttachMemo() {
    DbHeader* db = ActiveDb();
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZAV_TESTCMD_LOG", path, sizeof path);
    char* slash = n && n < sizeof path ? std::strrchr(path, '\\') : nullptr;
    if (!db || !slash) {
        Log("TESTCMD svcmemo no drawing");
        return 0;
    }
    std::strcpy(slash, "\\memo\\plan.tcf");
    // Process memory: the host owns both once they are attached.
    HANDLE heap = GetProcessHeap();
    auto* ext = static_cast<ExtWords*>(db->extRecord);
    if (!ext) {
        ext = static_cast<ExtWords*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(ExtWords)));
        db->extRecord = ext;
    }
    auto* memo = static_cast<DbHeader*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(DbHeader)));
    DAriCreateDB(memo);
    static unsigned char info[4223];
    std::memset(info, 0, sizeof info);
    DAriGetDBInfo(info, memo);
    std::strcpy(reinterpret_cast<char*>(info + 2), path);
    std::strcpy(reinterpret_cast<char*>(info + kInfoMemoColour), "3,");
    DAriSetDBInfo(info, memo);
    ext->words[2] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(memo));
    Log("TESTCMD svcmemo attached");
    return 0;
}

int ProbeMemo() {
    DbHeader* db = ActiveDb();
    auto* ext = db ? static_cast<ExtWords*>(db->extRecord) : nullptr;
    auto* memo = ext ? reinterpret_cast<DbHeader*>(static_cast<uintptr_t>(ext->words[2])) : nullptr;
    int colour = 0;
    if (memo) {
        static unsigned char info[4223];
        DAriGetDBInfo(info, memo);
        colour = std::atoi(reinterpret_cast<const char*>(info + kInfoMemoColour));
    }
    Log("TESTCMD svcmemoprobe %d %d", memo ? 1 : 0, colour);
    return 0;
}

}  // namespace

bool RunServiceCommand(const char* word, const char*, int* result) {
    if (Is(word, "SvcLines")) return *result = Lines(), true;
    if (Is(word, "SvcWait")) return *result = WaitForService(), true;
    if (Is(word, "SvcMemo")) return *result = AttachMemo(), true;
    if (Is(word, "SvcMemoProbe")) return *result = ProbeMemo(), true;
    if (Is(word, "SvcProbe")) return *result = Probe(), true;
    if (Is(word, "SvcAttrLines")) return *result = AttrLines(), true;
    return false;
}

}  // namespace testcmd
