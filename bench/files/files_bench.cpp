// What a backup costs against the save it stands beside, for a drawing of a
// million elements, and how long the thumbnail list takes to come up over a
// folder of 1,000 drawings (enumeration, drawing information and thumbnails
// of the painted cells, the first paint), against reading one whole drawing.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/bench_drawing.h"
#include "shell/file_backup.h"
#include "shell/thumbnail_list.h"
#include "shell/thumbnail_store.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string TempFolder(const char* tag) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    std::string dir = std::string(base) + tag + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}

void RemoveFolder(const std::string& dir) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((dir + f.cFileName).c_str());
        while (FindNextFileA(h, &f));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

HBITMAP Thumbnail() {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 176, 126);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT rc = {0, 0, 176, 126};
    FillRect(mem, &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Ellipse(mem, 20, 20, 150, 100);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return bmp;
}

void BackupAgainstSave() {
    const std::string dir = TempFolder("zavbk");
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    DAriCreateDB(&db);
    benchdrawing::Build(&db, 1000000, benchdrawing::Layout::RoomByRoom);
    uint32_t status = 0;
    auto t = std::chrono::steady_clock::now();
    DAriSaveFileOfCWX((dir + "plan.tcf").c_str(), &db, &status);
    const double save = Seconds(t);
    // The backup pass of one drawing: the backup file, then its generation.
    t = std::chrono::steady_clock::now();
    DAriSaveFileOfCWX((dir + "$0001_plan.tcf").c_str(), &db, &status);
    const double write = Seconds(t);
    t = std::chrono::steady_clock::now();
    const int n = StockBackupGeneration(dir, "plan", dir + "$0001_plan.tcf", 1, 5);
    const double generation = Seconds(t);
    // Beside it, what a plain copy of the backup file costs.
    t = std::chrono::steady_clock::now();
    CopyFileA((dir + "$0001_plan.tcf").c_str(), (dir + "copy.tcf").c_str(), FALSE);
    const double copy = Seconds(t);
    std::printf(
        "backup of 1,000,000 elements: save %.2f s; backup write %.2f s + generation %.3f s (%d) = "
        "%.2f x the save (with a copy of the file instead: %.2f x)\n",
        save, write, generation, n, (write + generation) / save, (write + copy) / save);
    DAriDeleteDB(&db);
    RemoveFolder(dir);
}

const char kFilters[] = "図面ファイル (*.tcf)\0*.tcf\0";
std::chrono::steady_clock::time_point g_start;
double g_listUp = 0;

void CALLBACK EndList(HWND, UINT, UINT_PTR id, DWORD) {
    HWND list = ThumbnailListWindow();
    if (!list) return;
    KillTimer(nullptr, id);
    UpdateWindow(list);
    UpdateWindow(GetDlgItem(list, 500));
    g_listUp = Seconds(g_start);
    EndDialog(list, 0);
}

void ThumbnailListOfAFolder() {
    const std::string dir = TempFolder("zavthumb");
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    DAriCreateDB(&db);
    benchdrawing::Build(&db, 20000, benchdrawing::Layout::RoomByRoom);
    db.thumbnail = Thumbnail();
    uint32_t status = 0;
    DAriSaveFileOfCWX((dir + "first.tcf").c_str(), &db, &status);
    for (int i = 1; i < 1000; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "d%04d.tcf", i);
        CopyFileA((dir + "first.tcf").c_str(), (dir + name).c_str(), FALSE);
    }
    DeleteObject(static_cast<HBITMAP>(db.thumbnail));
    DAriDeleteDB(&db);

    DbHeader whole;
    std::memset(&whole, 0, sizeof whole);
    DAriCreateDB(&whole);
    auto t = std::chrono::steady_clock::now();
    DAriLoadFileOfCWX((dir + "first.tcf").c_str(), &whole, &status);
    const double one = Seconds(t);
    DAriDeleteDB(&whole);

    g_start = std::chrono::steady_clock::now();
    SetTimer(nullptr, 0, 1, EndList);
    RunThumbnailList(nullptr, dir, kFilters, 0, 0);
    const int count = GetThumbnailCount();
    FreeThumbnailStore();
    std::printf(
        "thumbnail list of %d drawings (20,000 elements each) up and painted in %.3f s; reading one whole "
        "drawing takes %.3f s\n",
        count, g_listUp, one);
    RemoveFolder(dir);
}

}  // namespace

int main() {
    BackupAgainstSave();
    ThumbnailListOfAFolder();
    return 0;
}
