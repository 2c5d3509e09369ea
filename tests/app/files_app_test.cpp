// Backups, the crash flag and the drawing file dialogs in the real program:
// the program is killed and started again, a second copy is started beside
// it, and the file dialogs and the thumbnail list are driven by clicks and
// keys from outside. The test module stands in for the placement and paste
// commands the host starts after reading a file (FilesImport).
#include <windows.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "cadlib/WmCadApiDb.h"
#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"
#include "tests/common/tiff_maker.h"

namespace {

using namespace appui;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file under `root` (all depths) whose name matches `pattern`.
void FindFiles(const std::string& root, const std::string& pattern, std::vector<std::string>& out) {
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((root + "\\" + pattern).c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(root + "\\" + f.cFileName);
        } while (FindNextFileA(h, &f));
        FindClose(h);
    }
    h = FindFirstFileA((root + "\\*").c_str(), &f);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if ((f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::strcmp(f.cFileName, ".") &&
            std::strcmp(f.cFileName, ".."))
            FindFiles(root + "\\" + f.cFileName, pattern, out);
    } while (FindNextFileA(h, &f));
    FindClose(h);
}

std::vector<std::string> Backups(AppSession& app) {
    std::vector<std::string> out;
    FindFiles(app.UserDir(), "$*.tcf", out);
    return out;
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

bool HasBackup(AppSession& app, const char* prefix) {
    for (const std::string& b : Backups(app))
        if (NameOf(b).compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
}

// A drawing of `lines` horizontal lines (0,i)-(100,i).
void SaveLines(const std::string& path, int lines) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    DAriCreateDB(&h);
    for (int i = 0; i < lines; ++i) {
        ElementRecord r;
        std::memset(&r, 0, sizeof r);
        r.kind = kElmLine;
        r.colour = 1;
        CadSetF64(&r, kOffP1X, 0);
        CadSetF64(&r, kOffP1Y, i);
        CadSetF64(&r, kOffP2X, 100);
        CadSetF64(&r, kOffP2Y, i);
        DAriAppendElement(&r, &h);
    }
    uint32_t status = 0;
    const bool otcf = path.size() > 5 && path.substr(path.size() - 5) == ".otcf";
    otcf ? DAriSaveFileOfCWU(path.c_str(), &h, &status) : DAriSaveFileOfCWX(path.c_str(), &h, &status);
    DAriDeleteDB(&h);
}

struct Found {
    DWORD pid;
    const char* title;
    HWND window;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM lp) {
    Found* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {}, title[600] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    if (pid == f->pid && IsWindowVisible(w) && std::strcmp(cls, "#32770") == 0 && std::strstr(title, f->title)) {
        f->window = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindFrame(HWND w, LPARAM lp) {
    Found* f = reinterpret_cast<Found*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == f->pid && std::strcmp(cls, "Quillmar001") == 0) {
        f->window = w;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the program whose title holds `title`.
HWND WaitDialog(AppSession& app, const char* title, DWORD timeoutMs = 20000) {
    Found f = {app.ProcessId(), title, nullptr};
    WaitUntil(
        [&] {
            f.window = nullptr;
            EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&f));
            return f.window != nullptr;
        },
        timeoutMs);
    return f.window;
}

struct ById {
    int id;
    HWND window;
};
BOOL CALLBACK FindById(HWND w, LPARAM lp) {
    ById* b = reinterpret_cast<ById*>(lp);
    if (GetDlgCtrlID(w) == b->id && !b->window) b->window = w;
    return TRUE;
}
// A control anywhere inside the dialog (the panel under the open dialog is
// a child dialog of its own).
HWND Control(HWND dialog, int id) {
    // The dialog's own controls first: a list or combo box inside it may hold
    // children with the same numbers.
    if (HWND own = GetDlgItem(dialog, id)) return own;
    ById b = {id, nullptr};
    EnumChildWindows(dialog, FindById, reinterpret_cast<LPARAM>(&b));
    return b.window;
}

// Types a path into the open dialog's file-name box and presses its OK.
void ChooseInDialog(HWND dialog, const std::string& path) {
    HWND box = GetDlgItem(dialog, edt1);
    if (!box) box = GetDlgItem(dialog, cmb13);
    ASSERT_NE(nullptr, box) << "the file-name box";
    SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, nullptr);
    PostMessageA(Control(dialog, IDOK), BM_CLICK, 0, 0);
}

// A box whose text holds `part`, answered with `button`.
bool Answer(AppSession& app, const char* part, int button, DWORD timeoutMs = 20000) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            box = app.WaitBox(200);
            return box && AppSession::WindowTexts(box).find(part) != std::string::npos;
        },
        timeoutMs);
    if (!box || AppSession::WindowTexts(box).find(part) == std::string::npos) return false;
    PostMessageA(box, WM_COMMAND, button, 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
    return true;
}

int IniInt(const std::string& ini, const char* section, const char* key) {
    return GetPrivateProfileIntA(section, key, -1, ini.c_str());
}

// Saves the screen part a window covers as a bitmap into ZAV_SHOT_DIR (when
// set); the screenshot script runs these tests on a virtual display.

// The paste and placement commands the host starts after a read: the test
// module's FilesImport stands in for them in this private installation.
bool MapFollowUpCommands(AppSession& app) {
    const std::string path = app.InstallFile("CadAppCmd.def");
    std::string def = ReadFileBytes(path);
    const std::string anchor = "/C:FilesImport,</item>";
    const size_t at = def.find(anchor);
    if (at == std::string::npos) return false;
    def.insert(at + anchor.size(),
               "<item>Paste;貼付,7002,ZavTestCmd.dll /C:FilesImport,</item>"
               "<item>Place;配置,5950,ZavTestCmd.dll /C:FilesImport,</item>");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << def;
    return static_cast<bool>(out);
}

std::string Docs(AppSession& app) {
    const std::string docs = app.UserDir() + "\\drawings";
    CreateDirectoryA(docs.c_str(), nullptr);
    return docs;
}

TEST(FilesApp, ACrashKeepsItsBackupsRemovesCutSavesAndTheNextCrashAddsItsOwn) {
    AppSession app("files_crash");
    ASSERT_TRUE(app.Start()) << app.LastError();
    const std::string ini = app.UserSettingsDir() + "\\Quillmar.ini";
    EXPECT_EQ(1, IniInt(ini, "System", "FatalError")) << "up while the program runs";

    const std::string plan = Docs(app) + "\\plan.tcf";
    SaveLines(plan, 2);
    ASSERT_NE(nullptr, app.OpenDrawing(plan));
    ASSERT_TRUE(app.Command(30800));
    ASSERT_TRUE(app.WaitModuleLine("FILES lines"));
    // An overwrite save records the drawing's folder for the crash check.
    const std::string original = ReadFileBytes(plan);
    ASSERT_TRUE(app.Command(4012));
    WaitUntil([&] {
        if (HWND box = app.WaitBox(100)) PostMessageA(box, WM_COMMAND, IDOK, 0);  // the overwrite question
        return ReadFileBytes(plan) != original;
    });
    Sleep(Scaled(500));
    const std::string saved = ReadFileBytes(plan);
    ASSERT_NE(original, saved) << "saved";

    // A module fault backs the modified drawing up at once.
    ASSERT_TRUE(app.Command(30800));
    ASSERT_TRUE(app.WaitModuleLine("FILES lines", 2));
    ASSERT_TRUE(app.Command(30004));
    ASSERT_TRUE(Answer(app, "コマンドを強制終了します", IDOK));
    ASSERT_TRUE(WaitUntil([&] { return HasBackup(app, "$0001_plan") || !Backups(app).empty(); }));
    std::vector<std::string> first = Backups(app);
    ASSERT_EQ(1u, first.size());
    const std::string firstBackup = first[0];
    const std::string firstBytes = ReadFileBytes(firstBackup);
    EXPECT_EQ(0u, NameOf(firstBackup).find("$0")) << NameOf(firstBackup);

    // A second copy runs beside the first (several copies are allowed) and
    // ends cleanly: it must leave the first one's flag and backups alone.
    {
        SetEnvironmentVariableA("ZAV_LOCAL_APPDATA", (app.UserDir() + "\\local").c_str());
        SetEnvironmentVariableA("ZAV_DOCUMENTS", (app.UserDir() + "\\docs").c_str());
        STARTUPINFOA si = {sizeof si};
        PROCESS_INFORMATION pi = {};
        std::string line = "\"" + app.InstallFile("ZavIrurer.exe") + "\"";
        std::vector<char> cmd(line.begin(), line.end());
        cmd.push_back(0);
        const BOOL started = CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                            app.InstallDir().c_str(), &si, &pi);
        SetEnvironmentVariableA("ZAV_LOCAL_APPDATA", nullptr);
        SetEnvironmentVariableA("ZAV_DOCUMENTS", nullptr);
        ASSERT_TRUE(started);
        Found frame = {pi.dwProcessId, "", nullptr};
        WaitUntil([&] {
            EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&frame));
            return frame.window != nullptr || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
        });
        Sleep(Scaled(1000));
        if (frame.window) PostMessageA(frame.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, Scaled(30000))) << "the second copy ends";
        TerminateProcess(pi.hProcess, 9);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        EXPECT_EQ(1, IniInt(ini, "System", "FatalError")) << "the second copy never clears the first one's flag";
        EXPECT_EQ(firstBytes, ReadFileBytes(firstBackup)) << "nor deletes its backups";
    }

    // The crash, in the middle of a save: the library's temporary file of
    // that process stays beside the drawing.
    const DWORD pid = app.ProcessId();
    char temp[64];
    std::snprintf(temp, sizeof temp, "\\~cad%lx_7.tmp", static_cast<unsigned long>(pid));
    const std::string cut = Docs(app) + temp;
    std::ofstream(cut, std::ios::binary) << "half a drawing";
    TerminateProcess(app.Process(), 9);
    WaitForSingleObject(app.Process(), Scaled(10000));

    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(Answer(app, "正常に終了しませんでした", IDOK)) << "the user is told";
    EXPECT_FALSE(Exists(cut)) << "the cut-off save is removed";
    EXPECT_EQ(saved, ReadFileBytes(plan)) << "the drawing stays as last saved";
    EXPECT_EQ(firstBytes, ReadFileBytes(firstBackup)) << "the crashed run's backup stays";

    // This run numbers its backups past the crashed run's, and crashes too.
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(30800));
    ASSERT_TRUE(app.WaitModuleText("FILES lines"));
    ASSERT_TRUE(app.Command(30004));
    ASSERT_TRUE(Answer(app, "コマンドを強制終了します", IDOK));
    ASSERT_TRUE(WaitUntil([&] { return HasBackup(app, "$03"); })) << "ids from 301 on";
    TerminateProcess(app.Process(), 9);
    WaitForSingleObject(app.Process(), Scaled(10000));

    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(Answer(app, "正常に終了しませんでした", IDOK));
    EXPECT_EQ(firstBytes, ReadFileBytes(firstBackup));
    EXPECT_TRUE(HasBackup(app, "$03")) << "the second crash's backup stays too";
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(30800));
    ASSERT_TRUE(app.WaitModuleText("FILES lines"));
    ASSERT_TRUE(app.Command(30004));
    ASSERT_TRUE(Answer(app, "コマンドを強制終了します", IDOK));
    EXPECT_TRUE(WaitUntil([&] { return HasBackup(app, "$06"); })) << "past both";
    EXPECT_EQ(3u, Backups(app).size());

    // A clean end clears the flag; the start after it deletes the backups.
    // The modified drawings ask before closing: not saved.
    app.Post(app.Frame(), WM_CLOSE);
    WaitUntil([&] {
        if (HWND box = app.WaitBox(100)) PostMessageA(box, WM_COMMAND, IDNO, 0);
        return !app.Running();
    });
    EXPECT_FALSE(app.Running());
    EXPECT_EQ(0, IniInt(ini, "System", "FatalError")) << "cleared by the copy that set it";
}

TEST(FilesApp, DeletePlacePasteThroughTheDialogs) {
    AppSession app("files_dialogs");
    ASSERT_TRUE(MapFollowUpCommands(app));
    ASSERT_TRUE(app.Start()) << app.LastError();
    const std::string docs = Docs(app);
    SaveLines(docs + "\\a.tcf", 1);
    SaveLines(docs + "\\b.tcf", 3);
    const std::string b = ReadFileBytes(docs + "\\b.tcf");
    ASSERT_NE(nullptr, app.NewDrawing());

    // Delete (4013): the dialog, the question, the end box.
    ASSERT_TRUE(app.Command(4013));
    HWND dialog = WaitDialog(app, "図面削除");
    ASSERT_NE(nullptr, dialog);
    EXPECT_NE(std::string::npos, AppSession::WindowTexts(Control(dialog, IDOK)).find("削除"));
    ShotWindow(dialog, "files-delete-dialog");
    ChooseInDialog(dialog, docs + "\\a.tcf");
    ASSERT_TRUE(Answer(app, "一度削除すると元に戻せません", IDYES));
    ASSERT_TRUE(Answer(app, "ファイルの削除が終了しました", IDOK));
    EXPECT_FALSE(Exists(docs + "\\a.tcf"));
    EXPECT_EQ(b, ReadFileBytes(docs + "\\b.tcf")) << "only the chosen file";

    // Placement (4027): the file is read into the placement database and
    // the placement command finds its elements in the import mark.
    ASSERT_TRUE(app.Command(4027));
    dialog = WaitDialog(app, "図面配置");
    ASSERT_NE(nullptr, dialog);
    ShotWindow(dialog, "files-place-dialog");
    ChooseInDialog(dialog, docs + "\\b.tcf");
    ASSERT_TRUE(app.WaitModuleLine("FILES import"));
    EXPECT_EQ("3 0 0 0 1 0 2", app.ModuleLines("FILES import").back()) << "three lines, their first points";

    // Paste (4051): first without a copy file, then with only the ".otcf"
    // one in the per-user folder.
    ASSERT_TRUE(app.Command(4051));
    ASSERT_TRUE(Answer(app, "貼り付ける図形が選択されていません", IDOK)) << "no copy file yet";
    SaveLines(app.UserSettingsDir() + "\\$CopyPaste.otcf", 2);
    ASSERT_TRUE(app.Command(4051));
    ASSERT_TRUE(app.WaitModuleLine("FILES import", 2));
    EXPECT_EQ("2 0 0 0 1", app.ModuleLines("FILES import").back());
}

TEST(FilesApp, TheThumbnailListScrollsToEveryFileAndOpensTheClickedOne) {
    AppSession app("files_list");
    ASSERT_TRUE(app.Start()) << app.LastError();
    const std::string docs = Docs(app);
    // The grid the list makes on this screen, and two files more than it
    // shows: the last row is only partly filled.
    const int columns = std::max(1, (GetSystemMetrics(SM_CXSCREEN) - GetSystemMetrics(SM_CXVSCROLL) - 20) / 184);
    const int rows = std::max(1, (GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYCAPTION) - 96) / 152);
    const int count = columns * rows + 2;
    for (int i = 0; i < count; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "\\d%02d.tcf", i);
        SaveLines(docs + name, i % 5 + 1);
    }
    // The list holds the folder's files in the order the folder gives them.
    std::vector<std::string> order;
    WIN32_FIND_DATAA f;
    HANDLE h = FindFirstFileA((docs + "\\*.tcf").c_str(), &f);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    do
        order.push_back(f.cFileName);
    while (FindNextFileA(h, &f));
    FindClose(h);
    ASSERT_EQ(static_cast<size_t>(count), order.size());
    ASSERT_NE(nullptr, app.NewDrawing());

    ASSERT_TRUE(app.Command(4001));
    HWND dialog = WaitDialog(app, "ファイルを開く");
    ASSERT_NE(nullptr, dialog);
    // Into the folder of the drawings (typed and Enter), then the list.
    HWND box = GetDlgItem(dialog, edt1) ? GetDlgItem(dialog, edt1) : GetDlgItem(dialog, cmb13);
    SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((docs + "\\").c_str()), SMTO_NORMAL, 5000,
                        nullptr);
    PostMessageA(Control(dialog, IDOK), BM_CLICK, 0, 0);
    Sleep(Scaled(1000));
    ShotWindow(dialog, "files-open-dialog");
    HWND listButton = Control(dialog, 6090);
    ASSERT_NE(nullptr, listButton);
    PostMessageA(listButton, BM_CLICK, 0, 0);
    HWND list = WaitDialog(app, "drawings");
    ASSERT_NE(nullptr, list) << "titled with the folder";
    HWND grid = GetDlgItem(list, 500);
    ASSERT_NE(nullptr, grid);
    Sleep(Scaled(500));
    ShotWindow(list, "files-thumbnail-list");

    // Down as far as the scroll bar goes; the last file is then on screen.
    for (int i = 0; i < 4; ++i)
        PostMessageA(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
    Sleep(Scaled(500));
    const int filled = (count + columns - 1) / columns;
    const int top = filled - rows;
    const int cell = (count - 1) - top * columns;
    ASSERT_GE(cell, 0);
    const LPARAM at = MAKELPARAM(5 + (cell % columns) * 184 + 90, (cell / columns) * 152 + 70);
    PostMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(grid, WM_LBUTTONUP, 0, at);
    Sleep(Scaled(300));
    ShotWindow(list, "files-thumbnail-list-scrolled");
    PostMessageA(GetDlgItem(list, IDOK), BM_CLICK, 0, 0);
    const std::string expected = order[count - 1].substr(0, 3);
    // The empty untitled drawing makes way for the opened one.
    bool found = false;
    WaitUntil([&] {
        for (const std::string& t : app.DrawingTitles())
            found = found || t.find(expected) != std::string::npos;
        return found;
    });
    EXPECT_TRUE(found) << expected << " (the last file)";

    // A DWG whose import makes no window never renames the active drawing.
    std::ofstream(docs + "\\x.dwg", std::ios::binary) << "not really";
    const std::vector<std::string> titles = app.DrawingTitles();
    ASSERT_TRUE(app.Command(4001));
    dialog = WaitDialog(app, "ファイルを開く");
    ASSERT_NE(nullptr, dialog);
    ChooseInDialog(dialog, docs + "\\x.dwg");
    Sleep(Scaled(2000));
    for (int i = 0; i < 3; ++i)
        if (HWND b = app.WaitBox(500)) PostMessageA(b, WM_COMMAND, IDOK, 0);
    for (const std::string& t : app.DrawingTitles())
        EXPECT_EQ(std::string::npos, t.find("x.dwg")) << "no drawing took the name of the failed import";
    EXPECT_EQ(titles.size(), app.DrawingTitles().size());
}

// A DWG chosen in the open dialog brings the scan of its name along when
// "dwgin.ini" links them: the user is asked, the import makes the drawing,
// and the image lands in that drawing, which keeps the DWG's name.
TEST(FilesApp, ADwgFromTheOpenDialogLoadsItsLinkedScan) {
    AppSession app("files_dwg_scan");
    ASSERT_TRUE(app.Prepared());
    ASSERT_TRUE(WritePrivateProfileStringA("TIFF", "LINKLOAD", "1", app.InstallFile("SETTEI\\dwgin.ini").c_str()));
    const std::string docs = Docs(app);
    std::ofstream(docs + "\\plan.dwg", std::ios::binary) << "drawing";
    std::vector<uint8_t> ink(64 * 32);
    for (int x = 0; x < 32; ++x)
        ink[x] = 1;  // the top row, half across
    std::ofstream(docs + "\\plan.tif", std::ios::binary)
        << tiffmaker::MakeTiff(tiffmaker::FromPixels(64, 32, ink), tiffmaker::kPackBits, 2, 100, 100);
    ASSERT_TRUE(app.Start()) << app.LastError();

    ASSERT_TRUE(app.Command(4001));
    HWND dialog = WaitDialog(app, "ファイルを開く");
    ASSERT_NE(nullptr, dialog);
    ChooseInDialog(dialog, docs + "\\plan.dwg");
    ASSERT_TRUE(app.WaitModuleLine("RASTER dwg")) << app.ModuleLog();
    EXPECT_EQ("1", app.ModuleLines("RASTER dwg").at(0));
    ASSERT_TRUE(Answer(app, "イメージデータが存在します", IDYES)) << "the user is asked first";
    ASSERT_TRUE(app.WaitModuleLine("RASTER appended")) << app.ModuleLog();
    EXPECT_EQ("1", app.ModuleLines("RASTER load").at(0));
    bool named = false;
    for (const std::string& t : app.DrawingTitles())
        named = named || t.find("plan.dwg") != std::string::npos;
    EXPECT_TRUE(named) << "the imported drawing keeps the DWG's name";

    // The scan is the DWG drawing's: 64 x 32 pixels, 0.64 x 0.32 inches.
    ASSERT_TRUE(app.Command(30900));
    auto record = app.WaitModuleValues("RASTER record", 1);
    ASSERT_EQ(1u, record.size()) << app.ModuleLog();
    EXPECT_EQ(64, record[0][0]);
    EXPECT_EQ(32, record[0][1]);
    EXPECT_NEAR(16.256, record[0][2], 1e-6);
    EXPECT_NEAR(8.128, record[0][3], 1e-6);
    auto element = app.ModuleValues("RASTER element");
    ASSERT_EQ(1u, element.size());
    EXPECT_EQ(32, element[0][6]) << "the ink of the scan";
    app.Post(app.Frame(), WM_CLOSE);
    for (int i = 0; i < 3; ++i)
        if (HWND q = app.WaitBox(3000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
