// The drawing-setup dialogs in the running program, driven by clicks, keys
// and window messages from this process: a new drawing made through the
// new-drawing dialog (command 4000) and the start menu (command 4050, at
// start-up and on request), saved and read back from its file; the
// configuration sheet's pages changed and their settings read back from the
// files the program writes; the margin presets written to "margin.dat";
// and the small settings dialogs.
//
// With ZAV_SHOT_DIR set (tests/app/config_screenshots.sh on a virtual
// display), every page and dialog is kept as a picture.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <prsht.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/file_utils.h"
#include "base/message_table.h"
#include "base/paper_sizes.h"
#include "cadlib/WmCadApiDb.h"
#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"
#include "view/db_info.h"

namespace {

using namespace appui;

const char kNewDrawingCaption[] = "新規図面を開く（各種設定後 [OK] ｸﾘｯｸしてください。）";

// Selects item `index` of a drop-down list as the user's choice does: the
// list changes and tells its dialog.
void Choose(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    Ask(combo, CB_SETCURSEL, index);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

// Clicks a check box or radio button and waits until it shows the click,
// so that a page switch sent afterwards cannot overtake it.
void Tick(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    const LRESULT before = Ask(button, BM_GETCHECK);
    Click(button);
    WaitUntil([&] { return Ask(button, BM_GETCHECK) != before; }, 5000);
}

// Replaces an edit's text by typing (ASCII) after selecting all of it.
void TypeOver(HWND dialog, int id, const char* text) {
    HWND edit = GetDlgItem(dialog, id);
    Ask(edit, EM_SETSEL, 0, -1);
    Type(edit, text);
    WaitUntil([&] { return Text(edit) == text; }, 5000);
}

// Japanese text goes in as the input method would leave it.
void Put(HWND dialog, int id, const char* text) {
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        nullptr);
}

// The drawing information stored in a drawing file.
bool ReadFileInfo(const std::string& path, DbInfoHead* info) {
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    if (!DAriCreateDB(&db)) return false;
    uint32_t status = 0;
    const bool ok = DAriLoadFileOfCWX(path.c_str(), &db, &status) == 1 && DAriGetDBInfo(info, &db) != 0;
    DAriDeleteDB(&db);
    return ok;
}

std::string InfoText(const DbInfoHead& info, size_t offset) {
    return std::string(reinterpret_cast<const char*>(info.bytes + offset));
}

// Every shown window of the program, for a failure's message.
std::string TopWindows(AppSession& app) {
    struct All {
        DWORD pid;
        std::string text;
    } all = {app.ProcessId(), app.Running() ? "running:" : "ended:"};
    EnumWindows(
        [](HWND w, LPARAM lp) WINAPI -> BOOL {
            auto* a = reinterpret_cast<All*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid != a->pid || !IsWindowVisible(w)) return TRUE;
            char cls[64] = "", title[256] = "";
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, title, sizeof title);
            a->text += std::string(" [") + cls + " " + title + "]";
            if (std::string(cls) == "#32770") a->text += "{" + AppSession::WindowTexts(w) + "}";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all.text;
}

// The message box a dialog shows (owned by it), or null after the time-out.
HWND WaitOwnedBox(AppSession& app, HWND owner, DWORD ms = 20000) {
    struct Owned {
        DWORD pid;
        HWND owner, found;
    } o = {app.ProcessId(), GetAncestor(owner, GA_ROOT), nullptr};
    WaitUntil(
        [&] {
            EnumWindows(
                [](HWND w, LPARAM lp) WINAPI -> BOOL {
                    auto* o = reinterpret_cast<Owned*>(lp);
                    DWORD pid = 0;
                    GetWindowThreadProcessId(w, &pid);
                    if (pid == o->pid && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == o->owner) o->found = w;
                    return o->found ? FALSE : TRUE;
                },
                reinterpret_cast<LPARAM>(&o));
            return o.found != nullptr;
        },
        ms);
    return o.found;
}

class ConfigDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Prepared()) << app.LastError();
        BuildPaperSizeTable();
    }
    // Saves the active drawing under `path` through "名前を付けて保存" (4002).
    bool SaveAs(const std::string& path) {
        if (!app.Command(4002)) return false;
        HWND dialog = WaitTop(app, "#32770", GetMessageText(5124));
        if (!dialog) return false;
        HWND box = GetDlgItem(dialog, edt1) ? GetDlgItem(dialog, edt1) : GetDlgItem(dialog, cmb13);
        SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_NORMAL, 5000, nullptr);
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        return WaitGone(dialog) && WaitUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
    }
    std::string UserFile(const char* name) const { return app.UserSettingsDir() + "\\" + name; }
    void CloseAsking() {
        app.Post(app.Frame(), WM_CLOSE);
        for (int i = 0; i < 4; ++i)
            if (HWND q = app.WaitBox(3000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
        EXPECT_TRUE(app.Close()) << app.LastError();
    }

    AppSession app{"config"};
};

TEST_F(ConfigDialogs, ANewDrawingTakesPaperScaleAndTextsFromTheDialogIntoItsFile) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(app.Command(4000));
    HWND dlg = WaitTop(app, "#32770", kNewDrawingCaption);
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    EXPECT_EQ(15, Ask(GetDlgItem(dlg, 1400), CB_GETCOUNT)) << "14 sizes and \"その他\"";
    TypeOver(dlg, 1300, "Plan-7");
    Put(dlg, 1301, "設計　太郎");
    Put(dlg, 1302, "備考の行");
    Put(dlg, 1401, "1/100");
    Choose(dlg, 1400, 11);  // "B4"
    Choose(dlg, 502, 1);    // "縦"
    const int row = 7 + 7 + 7 + 4;  // "B4 縦"
    ASSERT_STREQ("B4 縦", PaperSizeTable[row].name);
    const std::string drawingWidth = FormatDouble(PaperSizeTable[row].width / (1.0 / 100), 15, 1);
    EXPECT_TRUE(WaitUntil([&] { return Text(dlg, 802) == drawingWidth; })) << Text(dlg, 802);
    Tick(dlg, 1200);  // "左下"
    ShotWindow(dlg, "config-new-drawing");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitGone(dlg));

    const std::string path = app.UserDir() + "\\new4000.tcf";
    ASSERT_TRUE(SaveAs(path));
    DbInfoHead info = {};
    ASSERT_TRUE(ReadFileInfo(path, &info));
    EXPECT_EQ(PaperSizeTable[row].code, info.Info()->paperCode);
    EXPECT_DOUBLE_EQ(0.01, CadGetF64(info.bytes, kInfoScale));
    EXPECT_DOUBLE_EQ(PaperSizeTable[row].width, CadGetF64(info.bytes, kInfoPaperWmm));
    EXPECT_DOUBLE_EQ(PaperSizeTable[row].height / 0.01, CadGetF64(info.bytes, kInfoDrawH));
    EXPECT_EQ("Plan-7", InfoText(info, kInfoTitle));
    EXPECT_EQ("設計　太郎", InfoText(info, kInfoAuthor));
    EXPECT_EQ("備考の行", InfoText(info, kInfoRemarks));
    EXPECT_EQ(1, info.Info()->originAtCorner);

    // The next new drawing starts with what was chosen.
    ASSERT_TRUE(app.Command(4000));
    dlg = WaitTop(app, "#32770", kNewDrawingCaption);
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    EXPECT_EQ(11, Ask(GetDlgItem(dlg, 1400), CB_GETCURSEL));
    EXPECT_EQ(1, Ask(GetDlgItem(dlg, 502), CB_GETCURSEL));
    EXPECT_EQ("1/100", Text(dlg, 1401));
    // A scale of 0 is refused and the dialog stays.
    Put(dlg, 1401, "0");
    Click(dlg, IDOK);
    HWND box = WaitOwnedBox(app, dlg);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, AppSession::WindowTexts(box).find("正しいスケールを入力してください。"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(box));
    EXPECT_TRUE(IsWindow(dlg));
    Click(dlg, IDCANCEL);
    EXPECT_TRUE(WaitGone(dlg));

    // The saved drawing opens again with its paper.
    ASSERT_NE(nullptr, app.OpenDrawing(path));
    CloseAsking();
    EXPECT_NE(std::string::npos, ReadFileBytes(UserFile("LocalSettings.xml")).find("<iDefPaperType>25</iDefPaperType>"));
}

TEST_F(ConfigDialogs, TheStartMenuRunsAtStartUpAndOnRequest) {
    ASSERT_TRUE(app.SetUserSetting("iStartOpenDlgFg", "0"));
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND dlg = WaitTop(app, "#32770", "スタート");
    ASSERT_NE(nullptr, dlg) << "the start menu at start-up" << TopWindows(app);
    EXPECT_NE(0, Ask(GetDlgItem(dlg, 1807), STM_GETIMAGE, IMAGE_BITMAP)) << "start.bmp is shown";
    EXPECT_EQ(14, Ask(GetDlgItem(dlg, 1400), CB_GETCOUNT)) << "no custom size";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1303)));
    Put(dlg, 1300, "スタート図面");
    Choose(dlg, 1400, 4);  // "A4"
    Choose(dlg, 502, 1);   // "縦"
    Put(dlg, 1401, "1/20");
    ShotWindow(dlg, "config-start-menu");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitGone(dlg));
    ASSERT_TRUE(app.WaitDrawingCount(1));
    const std::string path = app.UserDir() + "\\start.tcf";
    ASSERT_TRUE(SaveAs(path));
    DbInfoHead info = {};
    ASSERT_TRUE(ReadFileInfo(path, &info));
    const int row = 7 + 4;  // "A4 縦"
    EXPECT_EQ(PaperSizeTable[row].code, info.Info()->paperCode);
    EXPECT_DOUBLE_EQ(0.05, CadGetF64(info.bytes, kInfoScale));
    EXPECT_DOUBLE_EQ(PaperSizeTable[row].width / 0.05, CadGetF64(info.bytes, kInfoDrawW));
    EXPECT_EQ("スタート図面", InfoText(info, kInfoTitle));

    // On request: "開　く" gives the start drawing's place to the open dialog.
    const size_t before = app.DrawingTitles().size();
    ASSERT_TRUE(app.Command(4050));
    dlg = WaitTop(app, "#32770", "スタート");
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    EXPECT_EQ(row, 7 * (Ask(GetDlgItem(dlg, 502), CB_GETCURSEL)) + Ask(GetDlgItem(dlg, 1400), CB_GETCURSEL))
        << "the remembered paper";
    Click(dlg, 1803);
    HWND open = WaitTop(app, "#32770", GetMessageText(5123));
    ASSERT_NE(nullptr, open) << TopWindows(app);
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitGone(open));
    EXPECT_TRUE(WaitUntil([&] { return app.DrawingTitles().size() == before; })) << "the start drawing is closed";

    // Cancelled at start-up, the start menu ends the program.
    ASSERT_TRUE(app.Close()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    dlg = WaitTop(app, "#32770", "スタート");
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    Click(dlg, IDCANCEL);
    EXPECT_TRUE(WaitUntil([&] { return !app.Running(); }, 30000)) << "the program ends";
}

// The page shown by the sheet after choosing tab `index`.
HWND ShowPage(HWND sheet, int index) {
    Ask(sheet, PSM_SETCURSEL, index);
    HWND page = nullptr;
    WaitUntil([&] {
        page = reinterpret_cast<HWND>(Ask(sheet, PSM_GETCURRENTPAGEHWND));
        return page && Ask(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page)) == index;
    }, 5000);
    return page;
}

TEST_F(ConfigDialogs, TheSheetsPagesStoreTheirSettingsWhenLeft) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(1229));
    HWND sheet = WaitTop(app, "#32770", "環境設定");
    ASSERT_NE(nullptr, sheet);
    RECT ok, cancel;
    GetWindowRect(GetDlgItem(sheet, IDOK), &ok);
    GetWindowRect(GetDlgItem(sheet, IDCANCEL), &cancel);
    EXPECT_GT(ok.left, cancel.left) << "OK stands right of Cancel";

    HWND page = ShowPage(sheet, 0);
    ASSERT_NE(nullptr, page);
    Tick(page, 1102);  // the number dialog off
    Choose(page, 1401, 1);   // white background
    Choose(page, 1403, 9);   // highlight colour 10
    ShotWindow(sheet, "config-page-01");
    page = ShowPage(sheet, 1);
    ShotWindow(sheet, "config-page-02");
    page = ShowPage(sheet, 2);
    TypeOver(page, 1300, "7");
    ShotWindow(sheet, "config-page-03");
    page = ShowPage(sheet, 3);
    TypeOver(page, 1300, "2.5");
    TypeOver(page, 1301, "abc");  // not a number: Y keeps its pitch
    ShotWindow(sheet, "config-page-04");
    page = ShowPage(sheet, 4);
    ShotWindow(sheet, "config-page-05");

    // A margin of 100 keeps the user on page 06.
    page = ShowPage(sheet, 5);
    TypeOver(page, 1305, "100");
    PostMessageA(sheet, PSM_SETCURSEL, 6, 0);
    HWND box = WaitOwnedBox(app, sheet);
    ASSERT_NE(nullptr, box);
    EXPECT_NE(std::string::npos, AppSession::WindowTexts(box).find("マージンの値が異常です"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(box));
    Sleep(Scaled(300));
    EXPECT_EQ(page, reinterpret_cast<HWND>(Ask(sheet, PSM_GETCURRENTPAGEHWND))) << "still on the margins";
    TypeOver(page, 1305, "12.5");
    ShotWindow(sheet, "config-page-06");
    page = ShowPage(sheet, 6);
    ShotWindow(sheet, "config-page-07");
    page = ShowPage(sheet, 7);
    Tick(page, 1101);  // the hand cursor off: written at once
    ShotWindow(sheet, "config-page-08");
    page = ShowPage(sheet, 8);
    ShotWindow(sheet, "config-page-09");
    page = ShowPage(sheet, 9);
    Tick(page, 1207);  // "線幅を表現しない"
    ShotWindow(sheet, "config-page-10");
    Click(sheet, IDOK);
    ASSERT_TRUE(WaitGone(sheet));
    EXPECT_EQ("0", Element(ReadFileBytes(UserFile("ConfigData.xml")), "CURSOR02TYPE"));
    EXPECT_EQ(10, GetPrivateProfileIntA("System", "iHighlightColor", -1, UserFile("LocalSettings.ini").c_str()))
        << "written when page 01 was left";

    CloseAsking();
    const std::string xml = ReadFileBytes(UserFile("LocalSettings.xml"));
    EXPECT_EQ("0", Element(xml, "bDspNumDlgFg"));
    EXPECT_EQ("1", Element(xml, "bBkColor"));
    EXPECT_EQ("7", Element(xml, "iUndoCount"));
    EXPECT_DOUBLE_EQ(2.5, std::atof(Element(xml, "x").c_str()));
    EXPECT_DOUBLE_EQ(910, std::atof(Element(xml, "y").c_str()));
    EXPECT_DOUBLE_EQ(12.5, std::atof(Element(xml, "top").c_str()));
    EXPECT_EQ("1", Element(xml, "bLineWidthSize"));
}

TEST_F(ConfigDialogs, MarginPresetsAreAddedToMarginDatAndFillThePage) {
    // A preset of more decimals than the list shows, and a long name.
    const std::string dat = UserFile("margin.dat");
    ASSERT_TRUE(app.Start()) << app.LastError();
    const std::string seeded =
        "Quillmar Margin Data Ver.1.0\r\n"
        "とても長い名前のマージン設定その一番目, 12.375, 1, 2, 3, 4, 5, 6, 7\r\n";
    {
        HANDLE f = CreateFileA(dat.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        DWORD n = 0;
        WriteFile(f, seeded.data(), static_cast<DWORD>(seeded.size()), &n, nullptr);
        CloseHandle(f);
    }
    ASSERT_TRUE(app.Command(1229));
    HWND sheet = WaitTop(app, "#32770", "環境設定");
    ASSERT_NE(nullptr, sheet);
    HWND page = ShowPage(sheet, 5);
    Click(page, 1001);
    HWND list = WaitTop(app, "#32770", "マージン枠パターン選択");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(1, Ask(GetDlgItem(list, 1500), LB_GETCOUNT));
    EXPECT_EQ(seeded, ReadFileBytes(dat)) << "opening the list writes nothing";

    Click(list, 1001);
    HWND add = WaitTop(app, "#32770", "新規登録");
    ASSERT_NE(nullptr, add);
    Put(add, 1300, "社内,標準");
    const char* values[] = {"10", "12.5", "0", "99.5", "5", "6", "7", "8"};
    for (int i = 0; i < 8; ++i)
        TypeOver(add, 1305 + i, values[i]);
    ShotWindow(add, "config-margin-new");
    Click(add, IDOK);
    HWND box = WaitOwnedBox(app, add);
    ASSERT_NE(nullptr, box) << "a name with a comma is refused";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(box));
    Put(add, 1300, "社内標準");
    Click(add, IDOK);
    ASSERT_TRUE(WaitGone(add));
    EXPECT_TRUE(WaitUntil([&] { return Ask(GetDlgItem(list, 1500), LB_GETCOUNT) == 2; }));
    EXPECT_EQ(seeded + "社内標準, 10, 12.5, 0, 99.5, 5, 6, 7, 8\r\n", ReadFileBytes(dat))
        << "the first preset keeps its name and decimals";
    ShotWindow(list, "config-margin-list");

    Ask(GetDlgItem(list, 1500), LB_SETCURSEL, 1);
    Click(list, IDOK);
    ASSERT_TRUE(WaitGone(list));
    EXPECT_TRUE(WaitUntil([&] { return Text(page, 1306) == "12.5"; })) << Text(page, 1306);
    EXPECT_EQ("99.5", Text(page, 1308));
    Click(sheet, IDCANCEL);
    EXPECT_TRUE(WaitGone(sheet));
    CloseAsking();
}

TEST_F(ConfigDialogs, TheSmallSettingsDialogsStoreWhatTheyShow) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());

    // Margins: 100 is refused and the dialog stays open; 40 is taken.
    ASSERT_TRUE(app.Command(4024));
    HWND dlg = WaitTop(app, "#32770", "マージンの設定（指定後 [OK] ｸﾘｯｸしてください。）");
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    ShotWindow(dlg, "config-margin-dialog");
    TypeOver(dlg, 1307, "100");
    Click(dlg, IDOK);
    HWND box = WaitOwnedBox(app, dlg);
    ASSERT_NE(nullptr, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitGone(box));
    Sleep(Scaled(300));
    EXPECT_TRUE(IsWindow(dlg)) << "a refused margin does not close the dialog as if it were taken";
    TypeOver(dlg, 1307, "40");
    Click(dlg, IDOK);
    EXPECT_TRUE(WaitGone(dlg));

    // Cursor shape and coordinate display.
    ASSERT_TRUE(app.Command(4023));
    dlg = WaitTop(app, "#32770", "カーソル形状の設定（指定後 [OK] ｸﾘｯｸしてください。）");
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    Tick(dlg, 1202);
    ShotWindow(dlg, "config-cursor-dialog");
    Click(dlg, IDOK);
    EXPECT_TRUE(WaitGone(dlg));
    ASSERT_TRUE(app.Command(4036));
    dlg = WaitTop(app, "#32770", "座標表示モード（指定後 [OK] ｸﾘｯｸしてください。）");
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    Tick(dlg, 1201);
    ShotWindow(dlg, "config-coord-dialog");
    Click(dlg, IDOK);
    EXPECT_TRUE(WaitGone(dlg));

    // The drawing information of the open drawing: the same dialog under
    // its own caption, without the layer pattern; its title goes into the
    // drawing and shows in the window's caption.
    ASSERT_TRUE(app.Command(4021));
    dlg = WaitTop(app, "#32770", GetMessageText(5115));
    ASSERT_NE(nullptr, dlg) << TopWindows(app);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1402)));
    Put(dlg, 1300, "情報図面");
    ShotWindow(dlg, "config-drawing-info");
    Click(dlg, IDOK);
    EXPECT_TRUE(WaitGone(dlg));
    EXPECT_TRUE(WaitUntil([&] {
        for (const std::string& t : app.DrawingTitles())
            if (t.find("情報図面") != std::string::npos) return true;
        return false;
    })) << "the window shows the new title";

    CloseAsking();
    const std::string xml = ReadFileBytes(UserFile("LocalSettings.xml"));
    EXPECT_DOUBLE_EQ(40, std::atof(Element(xml, "left").c_str()));
    EXPECT_EQ("2", Element(xml, "MOUSE"));
    EXPECT_EQ("1", Element(xml, "bDispLastPosFg"));
}

}  // namespace
