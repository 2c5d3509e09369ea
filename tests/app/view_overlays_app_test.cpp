// What the drawing views draw beside the drawing, in the running program:
// the test module shows a rubber band and a drag preview, opens the input
// scale, the cursor pop-up, the page overview, the loupe and the layout
// window through the host, and the test reads back what it answered; the
// mouse and keys go to the real drawing view.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "command/host_messages.h"
#include "tests/app/app_session.h"

namespace {

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

}  // namespace
