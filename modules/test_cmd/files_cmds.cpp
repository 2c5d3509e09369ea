// The test module's commands for backups, file dialogs and placement (ids
// 30800-30849), chosen by the "/C:" word:
//   FilesLines N  appends N lines (0,i)-(100,i) to the active drawing as
//                 one undo step (the drawing becomes modified). Logs
//                 "FILES lines <count after>".
//   FilesImport   takes the import mark the host collected from the
//                 placement database and logs "FILES import <n> <x1> <y1>
//                 ..." with the first point of each marked element. It also
//                 stands in for the placement and paste commands that the
//                 host starts after reading a file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

int Lines(const char* args) {
    const char* n = args ? std::strstr(args, "FilesLines") : nullptr;
    int count = n ? std::atoi(n + 10) : 0;
    if (count <= 0) count = 1;
    for (int i = 0; i < count; ++i) {
        ElementRecord r;
        std::memset(&r, 0, sizeof r);
        r.kind = kElmLine;
        r.colour = 1;
        CadSetF64(&r, kOffP1X, 0);
        CadSetF64(&r, kOffP1Y, i);
        CadSetF64(&r, kOffP2X, 100);
        CadSetF64(&r, kOffP2Y, i);
        Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&r));
    }
    Host(UM_MAKE_UNDO_PASS);
    Log("TESTCMD FILES lines %ld", static_cast<long>(Host(UM_GET_ELEMENT_COUNT)));
    return 0;
}

int Import() {
    CadMark* mark = reinterpret_cast<CadMark*>(Host(UM_TAKE_IMPORT_MARK));
    std::string line = "TESTCMD FILES import";
    char part[64];
    std::snprintf(part, sizeof part, " %d", mark ? DAriGetMarkNum(mark) : -1);
    line += part;
    for (void* e = mark ? DAriGetNextMark(nullptr, mark) : nullptr; e; e = DAriGetNextMark(e, mark)) {
        const ElementRecord& r = static_cast<StoredElement*>(e)->rec;
        std::snprintf(part, sizeof part, " %g %g", CadGetF64(&r, kOffP1X), CadGetF64(&r, kOffP1Y));
        line += part;
    }
    Log("%s", line.c_str());
    return 0;
}

}  // namespace

bool RunFilesCommand(const char* word, const char* args, int* result) {
    if (Is(word, "FilesLines")) {
        *result = Lines(args);
        return true;
    }
    if (Is(word, "FilesImport")) {
        *result = Import();
        return true;
    }
    return false;
}

}  // namespace testcmd
