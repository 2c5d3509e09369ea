// The test module's commands for the services the shell lends the command
// system (ids 30100-30199):
//   Points     wait for plain points; "TESTCMD point x y" for each
//   SnapPoints wait for snapped points; "TESTCMD snapped x y" for each
//   UndoLevel  the active drawing's undo level as the library holds it
//              ("TESTCMD undolevel n"), then a line appended through the
//              library and whether it can be undone ("TESTCMD undoable 0|1")
//   FastAccess fast access on, the undo level while it lasts
//              ("TESTCMD fastlevel n"); the executor ends it afterwards
//   CheckMode  the library's element-check mode set to 0 and back; the two
//              previous modes the library answers ("TESTCMD checkmode a b")
// The waiting commands first write "TESTCMD ready <word>" and end with
// "TESTCMD ended".
#include <windows.h>

#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

// Waits for inputs of `mask` until the command is ended; each result
// `wanted` logs the point under `key`.
int WaitForPoints(const char* key, uint32_t mask, LRESULT wanted) {
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, mask | CMD_WANT_CANCEL);
    Host(UM_SET_PROMPT, 0, reinterpret_cast<LPARAM>("点を指示してください"));
    Log("TESTCMD ready %s", key);
    CmdRequest req = {};
    for (;;) {
        const LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL) {
            Log("TESTCMD ended");
            return 0;
        }
        if (r == wanted) {
            double pt[3];
            GetRequestPoint(req.point, pt);
            Log("TESTCMD %s %.9f %.9f", key, pt[0], pt[1]);
        } else {
            Log("TESTCMD result %ld", static_cast<long>(r));
        }
    }
}

DbHeader* ActiveDb() { return reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB)); }

// The undo level the library records for `db`, left as it was.
int UndoLevelOf(DbHeader* db) {
    const int level = DAriUndoFgSet(db, 1);
    DAriUndoFgSet(db, level);
    return level;
}

int UndoLevel() {
    DbHeader* db = ActiveDb();
    if (!db) {
        Log("TESTCMD undolevel none");
        return 0;
    }
    Log("TESTCMD undolevel %d", UndoLevelOf(db));
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    line.colour = 2;
    CadSetF64(&line, kOffP1X, 10.0);
    CadSetF64(&line, kOffP2X, 20.0);
    CadSetF64(&line, kOffP2Y, 10.0);
    const bool appended = DAriAppendElement(&line, db) != nullptr;
    DAriMakUndoPass(db);
    Log("TESTCMD undoable %d", appended && DAriIsUndo(db) ? 1 : 0);
    return 0;
}

int FastAccess() {
    Host(UM_FAST_ACCESS_ON);
    DbHeader* db = ActiveDb();
    if (db)
        Log("TESTCMD fastlevel %d", UndoLevelOf(db));
    else
        Log("TESTCMD fastlevel none");
    return 0;
}

int CheckMode() {
    const LRESULT before = Host(UM_SET_ELEMENT_CHECK_MODE, 100, 0);
    const LRESULT set = Host(UM_SET_ELEMENT_CHECK_MODE, 100, before);
    Log("TESTCMD checkmode %ld %ld", static_cast<long>(before), static_cast<long>(set));
    return 0;
}

}  // namespace

bool RunWiringCommand(const char* word, const char*, int* result) {
    if (Is(word, "Points"))
        *result = WaitForPoints("point", CMD_WANT_POINT, CMD_RES_POINT);
    else if (Is(word, "SnapPoints"))
        *result = WaitForPoints("snapped", CMD_WANT_SNAP, CMD_RES_SNAPPED);
    else if (Is(word, "UndoLevel"))
        *result = UndoLevel();
    else if (Is(word, "FastAccess"))
        *result = FastAccess();
    else if (Is(word, "CheckMode"))
        *result = CheckMode();
    else
        return false;
    return true;
}

}  // namespace testcmd
