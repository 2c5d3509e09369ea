// Figures of the CAD database library on the bench drawing of a million
// elements drawn room by room: append, iterate, memory per element, the
// file's size in both layouts, saving, loading against reading the file's
// bytes, the information-and-thumbnail read, and the undo and redo of one
// 100,000-element step as the host replays it. Each figure is printed
// beside its reference from the same run and the aim it has to meet. The
// core is linked in, so that its pools can be counted exactly (the process
// figure under Wine counts reserved address space) and the old layout can
// be written for comparison. The two files stay in the temporary folder for
// the painting benchmark.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_drawing.h"
#include "cadlib/core/database.h"
#include "cadlib/core/file_format.h"
#include "cadlib/core/parallel.h"
#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

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

// Reading the file's bytes into memory: the yardstick of a load.
double ReadBytes(const std::string& path) {
    double t0 = Now();
    HANDLE in = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string buf(static_cast<size_t>(FileSize(path)), '\0');
    DWORD n = 0;
    size_t at = 0;
    while (at < buf.size() &&
           ReadFile(in, &buf[at], static_cast<DWORD>(std::min<size_t>(buf.size() - at, 1 << 24)), &n, nullptr) && n > 0)
        at += n;
    CloseHandle(in);
    return Now() - t0;
}

// A thumbnail as the file keeps it: a 176 x 126 DIB of 24 bits.
std::string Thumbnail() {
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = 176;
    bi.biHeight = 126;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    std::string dib(reinterpret_cast<const char*>(&bi), sizeof bi);
    for (int i = 0; i < 176 * 3 * 126; ++i)
        dib.push_back(static_cast<char>(i * 7));
    return dib;
}

void Figure(const char* what, double value, const char* unit, const char* reference, const char* aim, bool met) {
    printf("%-34s %10.3f %-3s  %-44s  aim %-18s %s\n", what, value, unit, reference, aim, met ? "met" : "MISSED");
}

}  // namespace

int main() {
    const int kElements = 1000000;
    const int kStep = 100000;
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    const std::string v1Path = std::string(tmp) + "cadlib_bench_v1.tcf";
    const std::string v2Path = std::string(tmp) + "cadlib_bench_v2.tcf";
    char ref[96];

    printf(
        "CAD database library, %d elements drawn room by room (lines 55%%, arcs 15%%, circles 15%%, texts 15%%), "
        "%u processors\n\n",
        kElements, static_cast<unsigned>(cad::ProcessorCount()));
    double mem0 = PrivateMB();
    double t0 = Now();
    {
        Db db;
        benchdrawing::Build(&db.h, kElements, benchdrawing::Layout::RoomByRoom);
        double tAppend = Now() - t0;
        double mem1 = PrivateMB();
        cad::MemoryUse use = cad::MeasureMemory(&db.h);
        double perElement = double(use.elementBytes) / kElements;
        printf("append:       %8.3f s  (%.0f ns per element)\n", tAppend, tAppend * 1e9 / kElements);
        printf(
            "memory:       %8.1f MB of element pools, %.1f bytes per element "
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
        printf("iterate:      %8.3f s  (%d elements read with their records, checksum %.0f)\n\n", tIter, n, sum);

        // The save first, before the comparison file below leaves its
        // hundreds of megabytes for the disk to write behind it.
        const std::string thumb = Thumbnail();
        uint32_t status = 0;
        t0 = Now();
        if (!cad::SaveDrawing(&db.h, v2Path.c_str(), cad::FileKind::Tcf, thumb, &status)) {
            printf("save failed, status %u\n", status);
            return 1;
        }
        double tSave = Now() - t0;
        // Today's layout, written as it always was, for the comparison.
        t0 = Now();
        std::string old = cad::SerializeDrawing(&db.h, cad::FileKind::Tcf, thumb, 1);
        double tSaveOld = Now() - t0;
        {
            HANDLE f = CreateFileA(v1Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD w = 0;
            WriteFile(f, old.data(), static_cast<DWORD>(old.size()), &w, nullptr);
            CloseHandle(f);
        }
        std::string().swap(old);
        long long size1 = FileSize(v1Path), size2 = FileSize(v2Path);
        snprintf(ref, sizeof ref, "today's layout %.1f B (%.1f MB)", double(size1) / kElements, size1 / 1048576.0);
        Figure("file size, bytes an element", double(size2) / kElements, "B", ref, "<= 64 B, 1/3",
               size2 <= 64LL * kElements && size2 * 3 <= size1);
        printf("%-34s %10.1f MB   %.2f of today's layout\n", "", size2 / 1048576.0, double(size2) / size1);
        snprintf(ref, sizeof ref, "today's layout serialized in %.3f s", tSaveOld);
        Figure("save (written and moved in place)", tSave, "s", ref, "< 0.5 s", tSave < 0.5);

        double tRead = ReadBytes(v2Path), tRead1 = ReadBytes(v1Path);
        // The first touch of as much fresh memory as the loaded elements
        // take, in blocks as the loader takes them: the floor of any load
        // that builds them, whatever the file.
        double tTouch = 0;
        {
            const size_t block = size_t(4096) * 240;
            std::vector<char*> blocks;
            t0 = Now();
            for (size_t done = 0; done < use.elementBytes; done += block) {
                char* b = new char[block];
                memset(b, 0, block);
                blocks.push_back(b);
            }
            tTouch = Now() - t0;
            volatile char sink = 0;
            for (char* b : blocks) {
                sink = sink + b[block - 1];
                delete[] b;
            }
        }
        Db back;
        t0 = Now();
        status = 0;
        if (!cad::LoadDrawing(&back.h, v2Path.c_str(), cad::FileKind::Tcf, &status, false, nullptr)) {
            printf("load failed, status %u\n", status);
            return 1;
        }
        double tLoad = Now() - t0;
        snprintf(ref, sizeof ref, "reading its bytes %.3f s: %.2fx", tRead, tLoad / tRead);
        Figure("load, index built", tLoad, "s", ref, "<= 1.5x reading", tLoad <= 1.5 * tRead);
        {
            const cad::LoadPhases& ph = cad::LastLoadPhases();
            printf("%-34s %10.3f s    read %.3f, elements %.3f, index %.3f, the rest %.3f\n", "  of which", ph.total,
                   ph.read, ph.elements, ph.index, ph.total - ph.read - ph.elements - ph.index);
            printf("%-34s %10.3f s    the first touch of %.1f MB of fresh memory (the elements' own size)\n", "",
                   tTouch, use.elementBytes / 1048576.0);
        }
        Db back1;
        t0 = Now();
        cad::LoadDrawing(&back1.h, v1Path.c_str(), cad::FileKind::Tcf, &status, false, nullptr);
        double tLoad1 = Now() - t0;
        printf("%-34s %10.3f s    reading its bytes %.3f s: %.2fx\n", "  load of today's layout", tLoad1, tRead1,
               tLoad1 / tRead1);
        // The same load on one thread: what the threads bring.
        {
            cad::SetWorkerCount(1);
            Db single;
            t0 = Now();
            cad::LoadDrawing(&single.h, v2Path.c_str(), cad::FileKind::Tcf, &status, false, nullptr);
            double tOne = Now() - t0;
            cad::SetWorkerCount(0);
            printf("%-34s %10.3f s    %.2fx the load on %u threads, %d elements each\n", "  load on one thread", tOne,
                   tOne / tLoad, static_cast<unsigned>(cad::WorkerCount()), DAriGetElmNum(&single.h));
            const cad::LoadPhases& ph = cad::LastLoadPhases();
            printf("%-34s %10.3f s    read %.3f, elements %.3f, index %.3f\n", "  of which", ph.total, ph.read,
                   ph.elements, ph.index);
        }

        // The information and thumbnail alone, as the open dialog's preview reads them.
        double best = 1e9;
        for (int i = 0; i < 5; ++i) {
            DbHeader info;
            memset(&info, 0, sizeof info);
            std::string th;
            status = 1;
            t0 = Now();
            cad::LoadDrawing(&info, v2Path.c_str(), cad::FileKind::Tcf, &status, true, &th);
            best = std::min(best, Now() - t0);
            DAriDeleteDB(&info);
        }
        // Its reference: opening the file and reading as many bytes as the
        // head holds (the thumbnail and a little more), without looking at them.
        double bestOpen = 1e9;
        {
            const size_t headBytes = Thumbnail().size() + 8192;
            std::string buf(headBytes, '\0');
            for (int i = 0; i < 5; ++i) {
                t0 = Now();
                HANDLE in =
                    CreateFileA(v2Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
                DWORD n = 0;
                ReadFile(in, &buf[0], static_cast<DWORD>(headBytes), &n, nullptr);
                CloseHandle(in);
                bestOpen = std::min(bestOpen, Now() - t0);
            }
        }
        snprintf(ref, sizeof ref, "opening and reading its head %.3f ms: %.1fx", bestOpen * 1000, best / bestOpen);
        Figure("information and thumbnail read", best * 1000, "ms", ref, "< 5 ms", best < 0.005);
        printf("%-34s %10s      of a %.1f MB file\n", "", "", size2 / 1048576.0);
        printf("\n");
    }

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
