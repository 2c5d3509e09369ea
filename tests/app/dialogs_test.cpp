// The shared small dialogs in the running program, driven as a user drives
// them: clicks on their controls and keys, with the answers read back from
// the real windows, the test module and the files the program writes.
//
// With ZAV_SHOT_DIR set (a run on a real display), each dialog asks for a
// screenshot: the test writes <name>.req there and waits a moment for the
// <name>.png that a watcher beside the display takes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "shell/calculator.h"
#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"

namespace {

using namespace appui;

class AppDialogs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }
    AppSession app{"dialogs"};
};

TEST_F(AppDialogs, TheVersionCommandShowsTheTitleAndVersion) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(app.Command(4008));
    HWND box = WaitTop(app, "#32770", "バージョン情報");
    ASSERT_NE(nullptr, box);
    // The title and the version of the installed settings, the version up
    // to its first blank.
    const std::string xml = ReadFileBytes(app.InstallFile("ConfigData.xml"));
    std::string version = Element(xml, "Version");
    version = version.substr(0, version.find(' '));
    EXPECT_EQ(Element(xml, "TT") + " " + version, Text(box, 1600));
    EXPECT_NE(0, GetWindowLongA(GetDlgItem(box, IDOK), GWL_STYLE) & BS_OWNERDRAW) << "OK is the coloured button";
    Shot("version");
    Click(box, IDOK);
    EXPECT_TRUE(WaitGone(box)) << "a click on OK closes it";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// A 24-bit bitmap file of w x h pixels in one colour.
bool WriteBitmapFile(const std::string& path, int w, int h, BYTE blue, BYTE green, BYTE red) {
    BITMAPINFOHEADER bi = {};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = h;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    const int stride = (w * 3 + 3) & ~3;
    std::string bits(static_cast<size_t>(stride) * h, '\0');
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            char* px = &bits[static_cast<size_t>(y) * stride + x * 3];
            px[0] = static_cast<char>(blue);
            px[1] = static_cast<char>(green);
            px[2] = static_cast<char>(red);
        }
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits.size());
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    bool ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && WriteFile(f, &bi, sizeof bi, &n, nullptr) &&
              WriteFile(f, bits.data(), static_cast<DWORD>(bits.size()), &n, nullptr);
    CloseHandle(f);
    return ok;
}

struct SplashSeen {
    HWND window = nullptr;
    RECT rect = {};
    DWORD pid = 0;
};

BOOL CALLBACK FindSplash(HWND w, LPARAM lp) {
    auto* seen = reinterpret_cast<SplashSeen*>(lp);
    if (!IsWindowVisible(w) || !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return TRUE;
    RECT rc;
    GetWindowRect(w, &rc);
    if (rc.right - rc.left != 40 || rc.bottom - rc.top != 20) return TRUE;
    seen->window = w;
    seen->rect = rc;
    GetWindowThreadProcessId(w, &seen->pid);
    return FALSE;
}

TEST_F(AppDialogs, TheStartBitmapOfTheFolderIsShownCentredAndGoesByItself) {
    ASSERT_TRUE(WriteBitmapFile(app.InstallFile("start.bmp"), 40, 20, 0x40, 0x80, 0xC0));
    // The splash stands for a second only: watched from the moment the
    // program starts.
    SplashSeen seen;
    std::atomic<bool> stop{false}, found{false};
    std::thread watch([&] {
        while (!stop) {
            SplashSeen now;
            EnumWindows(FindSplash, reinterpret_cast<LPARAM>(&now));
            if (now.window) {
                seen = now;
                found = true;
                return;
            }
            Sleep(10);
        }
    });
    const bool started = app.Start();
    WaitUntil([&] { return found.load(); }, 5000);
    stop = true;
    watch.join();
    ASSERT_TRUE(started) << app.LastError();
    ASSERT_NE(nullptr, seen.window) << "no 40 x 20 splash was seen";
    EXPECT_EQ(app.ProcessId(), seen.pid);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ((cx - 40) / 2, seen.rect.left) << "centred on the screen";
    EXPECT_EQ((cy - 20) / 2, seen.rect.top);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(seen.window); }, 10000)) << "its second is over";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

struct TitleSeen {
    DWORD skipPid;
    HWND window;
};

BOOL CALLBACK FindHelpViewer(HWND w, LPARAM lp) {
    auto* seen = reinterpret_cast<TitleSeen*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == seen->skipPid || !IsWindowVisible(w)) return TRUE;
    char title[260] = "";
    GetWindowTextA(w, title, sizeof title);
    std::string lower = title;
    for (char& c : lower)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (lower.find("zavhelp.zavhelp") == std::string::npos) return TRUE;
    seen->window = w;
    return FALSE;
}

// A viewer registered for an extension of the test's
// own, as an installed help viewer is (the test's machine need not have one
// for any common kind); removed again at the end.
struct RegisteredViewer {
    RegisteredViewer() {
        ok = Set(".zavhelp", "ZavHelpTestFile") &&
             Set("ZavHelpTestFile\\shell\\open\\command",
                 "\"C:\\windows\\system32\\notepad.exe\" \"%1\"");
    }
    ~RegisteredViewer() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "ZavHelpTestFile");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".zavhelp");
    }
    static bool Set(const char* key, const char* value) {
        HKEY k = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
            return false;
        const LONG r = RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                      static_cast<DWORD>(std::strlen(value) + 1));
        RegCloseKey(k);
        return r == ERROR_SUCCESS;
    }
    bool ok = false;
};

TEST_F(AppDialogs, TheHelpCommandOpensTheHelpFileAndItsViewerClosesWithTheProgram) {
    RegisteredViewer viewer;
    ASSERT_TRUE(viewer.ok);
    HANDLE f = CreateFileA(app.InstallFile("ZavHelp.ZAVHELP").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                           nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    DWORD n = 0;
    WriteFile(f, "help\r\n", 6, &n, nullptr);
    CloseHandle(f);
    ASSERT_TRUE(app.SetSystemSetting("HELPFILE", "ZavHelp.ZAVHELP"));
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(app.Command(1212));
    TitleSeen seen = {app.ProcessId(), nullptr};
    EXPECT_TRUE(WaitUntil([&] {
        seen.window = nullptr;
        EnumWindows(FindHelpViewer, reinterpret_cast<LPARAM>(&seen));
        return seen.window != nullptr;
    })) << "the registered viewer shows the help file";
    EXPECT_TRUE(app.Close()) << app.LastError();
    if (seen.window) EXPECT_TRUE(WaitGone(seen.window)) << "the viewer this run opened went with it";
}

TEST_F(AppDialogs, YesNoDialogsAreAnsweredByClicksAndKeys) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    struct Row {
        int command;
        const char* caption;
        int control;  // clicked; 0: the key below
        UINT key;
        const char* logged;
    } rows[] = {
        {30302, "", 100, 0, "TESTCMD yesno=1"},            // the plain dialog: "Yes"
        {30302, "", 102, 0, "TESTCMD yesno=0"},            // "No"
        {30303, "確認 ?", 6, 0, "TESTCMD yesnocancel=1"},  // the large buttons
        {30303, "確認 ?", 1001, 0, "TESTCMD yesnocancel=0"},
        {30303, "確認 ?", 0, 'Y', "TESTCMD yesnocancel=1"},  // and their keys
        {30303, "確認 ?", 0, 'N', "TESTCMD yesnocancel=0"},
        {30303, "確認 ?", 0, VK_ESCAPE, "TESTCMD yesnocancel=2"},
    };
    bool shotPlain = false, shotLarge = false;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.logged);
        DeleteFileA(app.ModuleLogPath().c_str());
        ASSERT_TRUE(app.Command(r.command));
        HWND dlg = WaitTop(app, "#32770", r.caption);
        ASSERT_NE(nullptr, dlg);
        if (r.command == 30302) EXPECT_NE(nullptr, GetDlgItem(dlg, 100)) << "the plain dialog's Yes";
        if (r.command == 30302 && !shotPlain) Shot("yesno_plain"), shotPlain = true;
        if (r.command == 30303 && !shotLarge) Shot("yesno_cancel"), shotLarge = true;
        if (r.control)
            Click(dlg, r.control);
        else
            Key(dlg, r.key);
        EXPECT_TRUE(WaitGone(dlg));
        EXPECT_TRUE(app.WaitModuleText(r.logged)) << app.ModuleLog();
    }
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppDialogs, TheOneButtonQuestionTakesLeftAndRightClicks) {
    ASSERT_TRUE(app.SetSystemSetting("YNCMSG", "1"));
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    const struct {
        UINT down, up;
        const char* logged;
    } rows[] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, "TESTCMD yesnocancel=1"},
                {WM_RBUTTONDOWN, WM_RBUTTONUP, "TESTCMD yesnocancel=0"}};
    for (auto& r : rows) {
        SCOPED_TRACE(r.logged);
        DeleteFileA(app.ModuleLogPath().c_str());
        ASSERT_TRUE(app.Command(30303));
        HWND dlg = WaitTop(app, "#32770", "?");
        ASSERT_NE(nullptr, dlg);
        HWND button = GetDlgItem(dlg, 1803);
        ASSERT_NE(nullptr, button) << "the big button";
        if (r.down == WM_LBUTTONDOWN) Shot("yesno_one");
        PostMessageA(button, r.down, 0, MAKELPARAM(5, 5));
        PostMessageA(button, r.up, 0, MAKELPARAM(5, 5));
        EXPECT_TRUE(WaitGone(dlg));
        EXPECT_TRUE(app.WaitModuleText(r.logged)) << app.ModuleLog();
    }
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// The calculator's key in the middle of its rectangle.
void ClickKey(HWND calc, int id) {
    RECT rc;
    ASSERT_TRUE(CalculatorKeyRect(id, &rc));
    ClickAt(calc, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

TEST_F(AppDialogs, PointEntryTakesKeysAndTheCalculatorAndRemembersThePoint) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(30850));
    HWND dlg = WaitTop(app, "#32770", "座標入力");  // the temporary point's caption
    ASSERT_NE(nullptr, dlg) << app.ModuleLog();
    EXPECT_EQ("X 座標", Text(dlg, 1600));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1100))) << "no \"今回のみ\" for the temporary point";

    // X by keys; Return in X goes on to Y.
    HWND xEdit = GetDlgItem(dlg, 1300);
    Click(xEdit);
    PostMessageA(xEdit, EM_SETSEL, 0, -1);  // after the click, as a user selects the text
    Type(xEdit, "12.5");
    EXPECT_TRUE(WaitUntil([&] { return Text(xEdit) == "12.5"; })) << Text(xEdit);
    Key(xEdit, VK_RETURN);
    Sleep(500);
    EXPECT_TRUE(IsWindow(dlg)) << "Return in X does not close the dialog";
    if (IsWindowEnabled(GetDlgItem(dlg, 500)))
        EXPECT_EQ(2512, Ask(GetDlgItem(dlg, 500), SBM_GETPOS)) << "the X slider follows";

    // Y on the calculator: 5 － 5 － 3 ＝ shows -3.
    Click(dlg, 1002);
    HWND calc = WaitTop(app, "DENTAKU", "Y の入力");
    ASSERT_NE(nullptr, calc);
    for (int key : {2005, 2014, 2005, 2014, 2003, 2011})
        ClickKey(calc, key);
    EXPECT_TRUE(WaitUntil([&] { return Text(calc, 1000) == "-3"; })) << Text(calc, 1000);
    Shot("calculator");
    ClickKey(calc, 2017);  // OK
    EXPECT_TRUE(WaitGone(calc));
    EXPECT_TRUE(WaitUntil([&] { return Text(dlg, 1301) == "-3"; })) << Text(dlg, 1301);
    Shot("point_entry");
    Click(dlg, IDOK);
    EXPECT_TRUE(WaitGone(dlg));
    EXPECT_TRUE(app.WaitModuleText("TESTCMD dialog pointentry done")) << app.ModuleLog();

    // The next entry offers the point typed.
    ASSERT_TRUE(app.Command(30850));
    dlg = WaitTop(app, "#32770", "座標入力");
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ("12.5", Text(dlg, 1300));
    EXPECT_EQ("-3", Text(dlg, 1301));
    Click(dlg, IDCANCEL);
    EXPECT_TRUE(WaitGone(dlg));
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// The captions of the shown toolbars of the main frame, in the order their
// bands stand (top to bottom, left to right).
struct Bands {
    std::vector<std::pair<std::pair<LONG, LONG>, std::string>> found;
    std::string order;
};
BOOL CALLBACK CollectToolbar(HWND w, LPARAM lp) {
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "ToolbarWindow32" && IsWindowVisible(w)) {
        char title[64] = "";
        GetWindowTextA(w, title, sizeof title);
        RECT rc;
        GetWindowRect(w, &rc);
        if (title[0]) reinterpret_cast<Bands*>(lp)->found.push_back({{rc.top, rc.left}, title});
    }
    return TRUE;
}
std::string BandOrder(HWND frame) {
    Bands bands;
    EnumChildWindows(frame, CollectToolbar, reinterpret_cast<LPARAM>(&bands));
    std::sort(bands.found.begin(), bands.found.end());
    for (auto& b : bands.found)
        bands.order += b.second + " ";
    return bands.order;
}

TEST_F(AppDialogs, ToolbarSettingsAreStoredAndShownAfterARestart) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(app.Command(1337));
    HWND dlg = WaitTop(app, "#32770", "ツールバー設定");
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(BST_CHECKED, Ask(GetDlgItem(dlg, 1811), BM_GETCHECK)) << "no stored list: all shown";
    EXPECT_EQ(BST_CHECKED, Ask(GetDlgItem(dlg, 1862), BM_GETCHECK)) << "and the medium size";
    Click(dlg, 1811);  // "計測" off
    EXPECT_TRUE(WaitUntil([&] { return Ask(GetDlgItem(dlg, 1811), BM_GETCHECK) == BST_UNCHECKED; }));
    // "作図" (row 7) up to the top.
    Ask(GetDlgItem(dlg, 1136), LB_SETCURSEL, 7);
    for (int i = 0; i < 8; ++i)  // once more than needed: "上" on the first item changes nothing
        Click(dlg, 1803);
    EXPECT_TRUE(WaitUntil([&] { return Ask(GetDlgItem(dlg, 1136), LB_GETCURSEL) == 0; }));
    Shot("toolbar_settings");
    Click(dlg, IDOK);
    EXPECT_TRUE(WaitGone(dlg));

    char value[64] = "";
    const std::string ini = app.InstallFile("ZavIrurer.ini");
    GetPrivateProfileStringA("TOOLBAR", "TB01", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("1,作図", value);
    GetPrivateProfileStringA("TOOLBAR", "TB02", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("1,ファイル", value) << "the others shifted down by one";
    GetPrivateProfileStringA("TOOLBAR", "TB06", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("0,計測", value);

    ASSERT_TRUE(app.Restart()) << app.LastError();
    const std::string order = BandOrder(app.Frame());
    EXPECT_EQ(0u, order.find("作図 ファイル ")) << "作図 stands first: " << order;
    EXPECT_EQ(std::string::npos, order.find("計測")) << order;
    ASSERT_TRUE(app.Command(1337));
    dlg = WaitTop(app, "#32770", "ツールバー設定");
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(BST_UNCHECKED, Ask(GetDlgItem(dlg, 1811), BM_GETCHECK)) << "read back after the restart";
    Click(dlg, IDCANCEL);
    EXPECT_TRUE(WaitGone(dlg));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
