// The application panel and the right-click pop-up in the running program:
// the test module opens pages, the test clicks and types into the item
// windows with mouse and key messages, and the module reads the values back.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/app/app_session.h"
#include "tests/app/app_windows.h"

namespace {

void Type(AppSession& app, HWND w, const char* text) {
    for (const char* p = text; *p; ++p)
        app.Post(w, WM_CHAR, (unsigned char)*p, 1);
}

// The screen as a BMP beside the installation (for people to look at; the
// picture is empty where the program has no real display).
void Shot(const char* name) {
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const char* dist = std::getenv("ZAV_DIST_DIR");
    std::string path = (dist ? std::string(dist) + "\\..\\" : std::string()) + name;
    if (FILE* f = fopen(path.c_str(), "wb")) {
        BITMAPFILEHEADER fh = {};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
        fh.bfSize = fh.bfOffBits + w * h * 4;
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, 4, (size_t)w * h, f);
        fclose(f);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
}

// A push event leaves the extra field as it was: kind, sub-kind and id.
std::vector<double> First3(std::vector<double> v) {
    v.resize(3);
    return v;
}

std::string LastLine(AppSession& app, const char* key) {
    std::vector<std::string> lines = app.ModuleLines(key);
    return lines.empty() ? std::string() : lines.back();
}

class AppPanel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }
    AppSession app{"apppanel"};
};

TEST_F(AppPanel, ModuleReadsBackWhatIsClickedAndTypedIntoEveryItemKind) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(30700));
    ASSERT_TRUE(app.WaitModuleLine("ppage"));
    EXPECT_EQ("1 1 0", LastLine(app, "ppage"));

    // The pane docked at the right of the main window holds the page.
    HWND check = FindAppWindow(app, "AppPanelItem", 3);
    ASSERT_NE(nullptr, check);
    RECT fr, cr;
    ::GetWindowRect(app.Frame(), &fr);
    ::GetWindowRect(check, &cr);
    EXPECT_GT(cr.left, (fr.left + fr.right) / 2);
    Shot("apppanel-docked.bmp");

    ClickWindow(app, check, 5, 5);
    ASSERT_TRUE(app.WaitModuleValues("pevent", 1).size() >= 1);
    EXPECT_EQ((std::vector<double>{8192, 16, 3, 1}), app.ModuleValues("pevent").back());

    HWND radio = FindAppWindow(app, "AppPanelItem", 4);
    ASSERT_NE(nullptr, radio);
    ClickWindow(app, radio, 60, 5);  // 78 pixels in three: segment 2
    app.WaitModuleValues("pevent", 2);
    EXPECT_EQ((std::vector<double>{8192, 256, 4, 2}), app.ModuleValues("pevent").back());

    // The selection list: open it with the mouse, pick with the keys.
    HWND listItem = FindAppWindow(app, "AppPanelItem", 5);
    ASSERT_NE(nullptr, listItem);
    HWND combo = FindAppWindow(app, "ComboBox", 1111, nullptr, listItem);
    ASSERT_NE(nullptr, combo);
    ClickWindow(app, combo, 10, 5);
    Sleep(300);
    KeyWindow(app, combo, VK_DOWN);
    KeyWindow(app, combo, VK_RETURN);
    app.WaitModuleValues("pevent", 3);
    EXPECT_EQ((std::vector<double>{8192, 4096, 5, 1}), app.ModuleValues("pevent").back());

    // The edit field: its editor takes the typed text, Enter confirms.
    HWND edit = FindAppWindow(app, "AppPanelItem", 6);
    ASSERT_NE(nullptr, edit);
    ClickWindow(app, edit, 5, 5);
    HWND editor = FindAppWindow(app, "Edit", 5000, nullptr, edit);
    ASSERT_NE(nullptr, editor);
    Type(app, editor, "25");
    KeyWindow(app, editor, VK_RETURN);
    app.WaitModuleValues("pevent", 4);
    EXPECT_EQ(65536, app.ModuleValues("pevent").back()[1]);

    // The combo: typed into its editor.
    HWND comboItem = FindAppWindow(app, "AppPanelItem", 7);
    ASSERT_NE(nullptr, comboItem);
    ClickWindow(app, comboItem, 5, 5);
    HWND comboEditor = FindAppWindow(app, "Edit", 5000, nullptr, comboItem);
    ASSERT_NE(nullptr, comboEditor);
    Type(app, comboEditor, "50");
    KeyWindow(app, comboEditor, VK_RETURN);
    app.WaitModuleValues("pevent", 5);
    EXPECT_EQ(0x100000, app.ModuleValues("pevent").back()[1]);

    // The space key on a push item reaches the module.
    HWND push = FindAppWindow(app, "AppPanelItem", 2);
    ASSERT_NE(nullptr, push);
    KeyWindow(app, push, VK_SPACE);
    app.WaitModuleValues("pevent", 6);
    EXPECT_EQ((std::vector<double>{8192, 1, 2}), First3(app.ModuleValues("pevent").back()));
    Shot("apppanel-filled.bmp");

    HWND done = FindAppWindow(app, "AppPanelItem", 9);
    ASSERT_NE(nullptr, done);
    ClickWindow(app, done, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("ptext"));
    EXPECT_EQ((std::vector<double>{1, 2, 1}), app.ModuleValues("pvalues").back());
    EXPECT_EQ("edit=25 combo=50", LastLine(app, "ptext"));
    // The page is closed: its windows are gone.
    for (int i = 0; i < 50 && ::IsWindow(check); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindow(check));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, RightClickOpensThePopupAndAChosenEntryRunsItsCommand) {
    // The installation's menu file, with an entry for a test command.
    const std::string menu = app.InstallFile("SETTEI\\rightmenu.ini");
    FILE* f = fopen(menu.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputs("; test menu\n[POPUP]編集\n元に戻す,1209\n[END]\nテスト項目,30702\nSEPARATOR\n灰色,99999\n", f);
    fclose(f);
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    RECT vr;
    ::GetWindowRect(view, &vr);
    ::SetCursorPos(vr.left + 120, vr.top + 100);
    const LPARAM at = MAKELPARAM(120, 100);
    app.Post(view, WM_RBUTTONDOWN, MK_RBUTTON, at);
    app.Post(view, WM_RBUTTONUP, 0, at);
    HWND popup = FindAppWindow(app, "MyRPitem");
    ASSERT_NE(nullptr, popup);
    HWND entry = FindAppWindow(app, "RPMENU", -1, "テスト項目", popup);
    ASSERT_NE(nullptr, entry);
    EXPECT_NE(nullptr, FindAppWindow(app, "RPMENU", -1, "コマンド履歴", popup, 2000));
    EXPECT_NE(nullptr, FindAppWindow(app, "RPMENU", -1, "編集", popup, 2000));
    // Opened at the cursor: its top two pixels above it.
    RECT pr;
    ::GetWindowRect(popup, &pr);
    EXPECT_EQ(vr.top + 100 - 2, pr.top);
    Shot("apppanel-popup.bmp");
    ClickWindow(app, entry, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("pmenu"));
    for (int i = 0; i < 50 && ::IsWindowVisible(popup); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(popup));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, ThePopupCopyOfThePageActsOnTheModulePageAndLeavesPageFourAlone) {
    ASSERT_TRUE(app.SetSystemSetting("RightMenuMode", "2"));  // the command's items are offered
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    ASSERT_TRUE(app.Command(30703));
    ASSERT_TRUE(app.WaitModuleLine("ppage"));
    EXPECT_EQ("1 1 4", LastLine(app, "ppage"));
    RECT vr;
    ::GetWindowRect(view, &vr);
    ::SetCursorPos(vr.left + 150, vr.top + 150);
    const LPARAM at = MAKELPARAM(150, 150);
    app.Post(view, WM_RBUTTONDOWN, MK_RBUTTON, at);
    app.Post(view, WM_RBUTTONUP, 0, at);
    HWND popup = FindAppWindow(app, "MyRPitem");
    ASSERT_NE(nullptr, popup);
    HWND copy = FindAppWindow(app, "AppPanelItem", 3, nullptr, popup);
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(nullptr, FindAppWindow(app, "RPMENU", -1, "コマンド終了", popup, 2000));
    Shot("apppanel-popup-copy.bmp");
    ClickWindow(app, copy, 5, 5);
    app.WaitModuleValues("pevent", 1);
    EXPECT_EQ((std::vector<double>{8192, 16, 3, 1}), app.ModuleValues("pevent").back());
    for (int i = 0; i < 50 && ::IsWindowVisible(popup); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(popup));
    HWND done = FindAppWindow(app, "AppPanelItem", 9);
    ASSERT_NE(nullptr, done);
    ClickWindow(app, done, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("pown"));
    EXPECT_EQ(1, app.ModuleValues("pvalues").back()[0]);  // the docked page's box was checked
    EXPECT_EQ("1 1 自分の頁", LastLine(app, "pown"));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, TallPageFloatsInItsOwnFormOverTheDrawingArea) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(30701));
    ASSERT_TRUE(app.WaitModuleLine("pfloat"));
    HWND next = FindAppWindow(app, "AppPanelItem", 2);
    ASSERT_NE(nullptr, next);
    HWND form = ::GetParent(next);
    EXPECT_EQ(app.Frame(), ::GetParent(form));
    RECT fr, ir;
    ::GetClientRect(form, &fr);
    EXPECT_EQ(153 - (::GetSystemMetrics(SM_CXDLGFRAME) * 2), fr.right);
    ::GetWindowRect(next, &ir);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&ir), 2);
    EXPECT_EQ(5, ir.top);  // y 20, raised by 15 once though shown twice
    Shot("apppanel-float.bmp");
    ClickWindow(app, next, 5, 5);
    app.WaitModuleValues("pevent", 1);
    EXPECT_EQ((std::vector<double>{8192, 1, 2}), First3(app.ModuleValues("pevent").back()));
    for (int i = 0; i < 50 && ::IsWindowVisible(form); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(form));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
