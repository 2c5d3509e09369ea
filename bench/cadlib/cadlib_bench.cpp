// Figures of the CAD database library at a million elements: append,
// iterate, save and load against a plain copy of the file's bytes, memory
// per element, and the undo and redo of one 100,000-element step as the
// host replays it. The core is linked in, so that its pools can be counted
// exactly (the process figure under Wine counts reserved address space).
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "cadlib/core/database.h"
#include "cadlib/core/file_format.h"
#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double PrivateMB() {
    PROCESS_MEMORY_COUNTERS_EX pmc;
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
    return pmc.PrivateUsage / (1024.0 * 1024.0);
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return -1;
    return (static_cast<long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

// Read the file's bytes and write them to another file: the yardstick of save and load.
double CopyBytes(const std::string& from, const std::string& to) {
    double t0 = Now();
    HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string buf(1 << 20, '\0');
    DWORD n = 0, w = 0;
    while (ReadFile(in, &buf[0], static_cast<DWORD>(buf.size()), &n, nullptr) && n > 0)
        WriteFile(out, buf.data(), n, &w, nullptr);
    CloseHandle(in);
    CloseHandle(out);
    return Now() - t0;
}

}  // namespace

int main() {
    const int kElements = 1000000;
    const int kStep = 100000;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string path = std::string(tmp) + "cadlib_bench.tcf";
    std::string copyPath = std::string(tmp) + "cadlib_bench_copy.tcf";

    printf("CAD database library, %d elements\n", kElements);
    double mem0 = PrivateMB();
    double t0 = Now();
    {
        Db db;
        for (int i = 0; i < kElements; ++i) {
            ElementRecord r = Line(i, i * 0.5, i + 10.0, i * 0.5 + 3.0, 0, i % 1024);
            if (!DAriAppendElement(&r, &db)) {
                printf("append failed at %d\n", i);
                return 1;
            }
        }
        double tAppend = Now() - t0;
        double mem1 = PrivateMB();
        cad::MemoryUse use = cad::MeasureMemory(&db.h);
        double perElement = double(use.elementBytes) / kElements;
        printf("append:       %8.3f s  (%.0f ns per element)\n", tAppend, tAppend * 1e9 / kElements);
        printf("memory:       %8.1f MB of element pools, %.1f bytes per element "
               "(%.1f beyond the 174-byte record); process grew %.1f MB\n",
               use.elementBytes / 1048576.0, perElement, perElement - 174, mem1 - mem0);

        t0 = Now();
        ElementRecord buf;
        double sum = 0;
        int n = 0;
        for (StoredElement* e = DAriReadElement(nullptr, 0, &buf, &db); e; e = DAriReadElement(e, 1, &buf, &db)) {
            sum += CadGetF64(&buf, kOffP1X);
            ++n;
        }
        double tIter = Now() - t0;
        printf("iterate:      %8.3f s  (%d elements read with their records, checksum %.0f)\n", tIter, n, sum);

        t0 = Now();
        uint32_t status = 0;
        if (!cad::SaveDrawing(&db.h, path.c_str(), cad::FileKind::Tcf, "", &status)) {
            printf("save failed, status %u\n", status);
            return 1;
        }
        double tSave = Now() - t0;
        long long size = FileSize(path);
        double tCopy = CopyBytes(path, copyPath);
        DeleteFileA(copyPath.c_str());
        printf("file:         %8.1f MB, %.1f bytes per element\n", size / 1048576.0, double(size) / kElements);
        printf("copy bytes:   %8.3f s  (the yardstick)\n", tCopy);
        printf("save:         %8.3f s  (%.2fx the copy)\n", tSave, tSave / tCopy);

        Db back;
        t0 = Now();
        status = 0;
        if (!cad::LoadDrawing(&back.h, path.c_str(), cad::FileKind::Tcf, &status, false, nullptr)) {
            printf("load failed, status %u\n", status);
            return 1;
        }
        double tLoad = Now() - t0;
        printf("load:         %8.3f s  (%.2fx the copy), %d elements\n", tLoad, tLoad / tCopy, DAriGetElmNum(&back));
    }
    DeleteFileA(path.c_str());

    {
        Db db(1);
        for (int i = 0; i < kStep; ++i) {
            ElementRecord r = Line(i, 0, i, 1);
            DAriAppendElement(&r, &db);
        }
        DAriMakUndoPass(&db);
        t0 = Now();
        HostUndo(&db);
        double tUndo = Now() - t0;
        int left = DAriGetElmNum(&db);
        t0 = Now();
        HostRedo(&db);
        double tRedo = Now() - t0;
        cad::MemoryUse use = cad::MeasureMemory(&db.h);
        printf("undo step:    %8.1f ms for %d elements (%d left)\n", tUndo * 1000, kStep, left);
        printf("undo journal: %8.1f bytes per recorded change\n", double(use.undoBytes) / kStep);
        printf("redo step:    %8.1f ms (%d back)\n", tRedo * 1000, DAriGetElmNum(&db));
    }
    return 0;
}
