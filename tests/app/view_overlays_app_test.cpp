// What the drawing views draw beside the drawing, in the running program:
// the test module shows a rubber band and a drag preview, opens the input
// scale, the cursor pop-up, the page overview, the loupe and the layout
// window through the host, and the test reads back what it answered; the
// mouse and keys go to the real drawing view.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <iterator>
#include <fstream>
#include <string>
#include <vector>

#include "command/host_messages.h"
#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"

namespace {

using appui::Ask;
using appui::WaitTop;

TEST(ViewOverlaysApp, TheViewsShowWhatTheModuleAsksFor) {
    AppSession app("overlays");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);

    // Rubber band and transformed preview: shown, then the preview's erase
    // pass leaves the view as the band left it.
    app.Command(30600);
    auto band = app.WaitModuleValues("band", 1);
    ASSERT_EQ(1u, band.size()) << app.ModuleLog();
    ASSERT_EQ(4u, band[0].size());
    EXPECT_GT(band[0][0], 0) << "the band changed the view";
    EXPECT_GT(band[0][1], 0) << "the preview changed the view";
    EXPECT_EQ(0, band[0][2]) << "the erase pass removed the preview exactly";

    // Input scale: open, "1/50" typed, a point there and back.
    app.Command(30601);
    auto scale = app.WaitModuleValues("scale", 1);
    ASSERT_EQ(1u, scale.size()) << app.ModuleLog();
    ASSERT_EQ(9u, scale[0].size());
    EXPECT_EQ(0, scale[0][0]);
    EXPECT_EQ(1, scale[0][1]);
    const double d = scale[0][2];
    ASSERT_GT(d, 0);
    EXPECT_NEAR(d / 0.02, scale[0][3], 1e-3);
    EXPECT_NEAR(10 * d / 0.02, scale[0][4], 1e-3);
    EXPECT_NEAR(20 * d / 0.02, scale[0][5], 1e-3);
    EXPECT_NEAR(10, scale[0][6], 1e-6);
    EXPECT_NEAR(20, scale[0][7], 1e-6);
    EXPECT_EQ(0, scale[0][8]) << "closed again";

    // The message pop-up below-right of the pointer, hidden again.
    app.Command(30602);
    auto popup = app.WaitModuleValues("popup", 1);
    ASSERT_EQ(1u, popup.size()) << app.ModuleLog();
    EXPECT_EQ(1, popup[0][0]);
    EXPECT_EQ(8, popup[0][1]);
    EXPECT_EQ(8, popup[0][2]);
    EXPECT_EQ(0, popup[0][3]);

    // The page overview: nine cells on, none off.
    app.Command(30603);
    auto overview = app.WaitModuleValues("overview", 1);
    ASSERT_EQ(1u, overview.size()) << app.ModuleLog();
    EXPECT_EQ(9, overview[0][0]);
    EXPECT_EQ(0, overview[0][1]);

    // The loupe and the layout window, toggled on and off.
    app.Command(30604);
    auto loupe = app.WaitModuleValues("loupe", 1);
    ASSERT_EQ(1u, loupe.size()) << app.ModuleLog();
    EXPECT_EQ(1, loupe[0][0]);
    EXPECT_EQ(1, loupe[0][1]);
    app.Command(30604);
    loupe = app.WaitModuleValues("loupe", 2);
    ASSERT_EQ(2u, loupe.size());
    EXPECT_EQ(0, loupe[1][0]);
    EXPECT_EQ(0, loupe[1][1]);

    // The cursor settings message reaches the views through the main frame.
    EXPECT_EQ(0, app.SendFrame(UM_CURSOR_SETTINGS, 1, 1));
    // The drawing the module edited asks to be saved: the session ends it.
}

HWND CaptureOf(HWND w) {
    GUITHREADINFO info = {sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) ? info.hwndCapture : nullptr;
}

// The pointer over a view is the view's choice: none for the cross-hair of
// cursor type 0; in the page overview the ordinary pointer of the cells.
TEST(ViewOverlaysApp, TheViewChoosesItsPointer) {
    AppSession app("pointer");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    app.Command(31450);
    auto cursor = app.WaitModuleValues("cursor", 1);
    ASSERT_EQ(1u, cursor.size()) << app.ModuleLog();
    EXPECT_EQ(0, cursor[0][0]) << "the cross-hair stands in for the pointer";
    EXPECT_EQ(1, cursor[0][1]) << "the overview shows the ordinary pointer";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// While the calculator is open, clicks in the layout window and the loupe
// neither activate them nor reach them; afterwards they do again.
TEST(ViewOverlaysApp, TheCalculatorKeepsClicksFromTheLayoutAndTheLoupe) {
    AppSession app("calc_loupe");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    app.Command(30604);
    ASSERT_EQ(1u, app.WaitModuleValues("loupe", 1).size()) << app.ModuleLog();
    HWND layout = FindWindowA("#LAYOUTVIEW#", nullptr), loupe = FindWindowA("#ROUPEVIEW#", nullptr);
    ASSERT_NE(nullptr, layout);
    ASSERT_NE(nullptr, loupe);
    const LPARAM inside = MAKELPARAM(40, 40);
    const LPARAM activate = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);

    app.Command(30850);
    HWND dlg = WaitTop(app, "#32770", "座標入力");
    ASSERT_NE(nullptr, dlg) << app.ModuleLog();
    PostMessageA(GetDlgItem(dlg, 1002), BM_CLICK, 0, 0);
    HWND calc = WaitTop(app, "DENTAKU", "Y の入力");
    ASSERT_NE(nullptr, calc);
    EXPECT_EQ(MA_NOACTIVATEANDEAT, Ask(layout, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(app.Frame()), activate));
    EXPECT_EQ(MA_NOACTIVATEANDEAT, Ask(loupe, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(app.Frame()), activate));
    EXPECT_EQ(4, Ask(loupe, WM_LBUTTONDOWN, MK_LBUTTON, inside));
    EXPECT_EQ(4, Ask(loupe, WM_LBUTTONUP, 0, inside));
    Ask(layout, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_NE(layout, CaptureOf(layout)) << "no drag starts under the calculator";

    PostMessageA(calc, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(calc); ++i)
        Sleep(50);
    ASSERT_FALSE(IsWindow(calc));
    PostMessageA(GetDlgItem(dlg, IDCANCEL), BM_CLICK, 0, 0);
    for (int i = 0; i < 200 && IsWindow(dlg); ++i)
        Sleep(50);
    EXPECT_NE(MA_NOACTIVATEANDEAT, Ask(layout, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(app.Frame()), activate));
    EXPECT_EQ(0, Ask(loupe, WM_LBUTTONDOWN, MK_LBUTTON, inside));
    Ask(layout, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_EQ(layout, CaptureOf(layout)) << "the drag starts";
    Ask(layout, WM_LBUTTONUP, 0, inside);
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// Pictures for people to look at (with ZAV_SHOT_DIR set, as the screenshot
// script runs it): the cursor pop-up, the page overview, the layout window,
// the loupe and the input-scale window over a drawing with a few lines.
TEST(ViewOverlaysApp, PicturesOfTheOverlaysInTheProgram) {
    AppSession app("overlay_shots");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    app.Command(30600);  // a band, a preview and three lines
    ASSERT_EQ(1u, app.WaitModuleValues("band", 1).size()) << app.ModuleLog();
    RECT rc;
    GetWindowRect(view, &rc);
    SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);

    app.Command(31451);
    auto popup = app.WaitModuleValues("popup", 1);
    ASSERT_EQ(1u, popup.size()) << app.ModuleLog();
    EXPECT_EQ(1, popup[0][3]) << "kept on the screen";
    AppSession::Shot(app.Frame(), "overlay-cursor-popup");
    app.Send(view, WM_COMMAND, MAKEWPARAM(8000, 0), 0);

    app.Command(31452);
    auto overview = app.WaitModuleValues("overview", 1);
    ASSERT_EQ(1u, overview.size()) << app.ModuleLog();
    EXPECT_EQ(9, overview[0][0]);
    AppSession::Shot(app.Frame(), "overlay-overview");
    app.Command(30603);  // on and off again
    ASSERT_EQ(2u, app.WaitModuleValues("overview", 2).size());

    app.Command(30604);
    ASSERT_EQ(1u, app.WaitModuleValues("loupe", 1).size()) << app.ModuleLog();
    HWND layout = FindWindowA("#LAYOUTVIEW#", nullptr), loupe = FindWindowA("#ROUPEVIEW#", nullptr);
    ASSERT_NE(nullptr, layout);
    ASSERT_NE(nullptr, loupe);
    app.Send(loupe, WM_COMMAND, 2222, 0);
    InvalidateRect(loupe, nullptr, FALSE);
    AppSession::Shot(GetDesktopWindow(), "overlay-screen");
    // A display without a window manager stacks the frame, activated after
    // the pop-ups were shown, over them: raised for the pictures.
    SetWindowPos(layout, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    AppSession::Shot(layout, "overlay-layout");
    SetWindowPos(loupe, HWND_TOP, 420, 40, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    AppSession::Shot(loupe, "overlay-loupe");
    app.Command(30604);

    app.SendFrame(UM_INPUT_SCALE_FUNC, 1);
    HWND scale = WaitTop(app, "#inputscaledisp#", "");
    ASSERT_NE(nullptr, scale) << "the input-scale window";
    AppSession::Shot(scale, "overlay-input-scale");
    app.SendFrame(UM_INPUT_SCALE_FUNC, 2);
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
