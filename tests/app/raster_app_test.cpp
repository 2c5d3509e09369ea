// The real program opens TIFF images made by the test: from its command
// line and by DDE, through the image road, the raster module (the test
// module in the raster module's place) and the TIFF reader. The drawing's
// raster is read back: its size, its place and the pixels painted in the
// view. A missing reader is reported, and a failed load keeps the image.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"
#include "tests/common/tiff_maker.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string QuarterImage(tiffmaker::Coding coding) {
    std::vector<uint8_t> ink(200 * 100);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) ink[y * 200 + x] = 1;
    return tiffmaker::MakeTiff(tiffmaker::FromPixels(200, 100, ink), coding, 2, 100, 100);
}

bool AnyTitleHas(AppSession& app, const std::string& part) {
    for (const std::string& t : app.DrawingTitles())
        if (t.find(part) != std::string::npos) return true;
    return false;
}

TEST(RasterImages, CommandLineImportShowsTheImageAndKeepsItOnAFailedLoad) {
    AppSession app("raster");
    ASSERT_TRUE(app.Prepared());
    const std::string image = app.UserDir() + "\\scan.tif";
    WriteBytes(image, QuarterImage(tiffmaker::kG4));
    // A drawing of the image's name exists: the new drawing must not take it.
    const std::string existing = app.UserDir() + "\\scan.tcf";
    WriteBytes(existing, "not to be overwritten");
    ASSERT_TRUE(app.Start("\"" + image + "\"")) << app.LastError();
    ASSERT_TRUE(app.WaitModuleLine("RASTER appended")) << app.ModuleLog();
    EXPECT_EQ(app.ModuleLines("RASTER load").at(0), "1");
    EXPECT_TRUE(AnyTitleHas(app, "scan(2).tcf")) << "named after a free file";
    EXPECT_FALSE(AnyTitleHas(app, "scan.tcf"));
    HWND view = app.ActiveView();
    ASSERT_NE(view, nullptr);

    // The element: 50.8 x 25.4 mm, 200 x 100 pixels, 5,000 of them ink.
    app.Command(30900);
    auto element = app.WaitModuleValues("RASTER element", 1);
    ASSERT_EQ(element.size(), 1u) << app.ModuleLog();
    const std::vector<double>& e = element[0];
    ASSERT_EQ(e.size(), 7u);
    EXPECT_NEAR(e[2], 50.8, 1e-6);
    EXPECT_NEAR(e[3], 25.4, 1e-6);
    EXPECT_EQ(e[4], 200);
    EXPECT_EQ(e[5], 100);
    EXPECT_EQ(e[6], 5000);
    // No A paper is smaller both ways than the image: A6, landscape.
    // The module writes its lines one by one: each is waited for.
    auto paper = app.WaitModuleValues("RASTER paper", 1);
    ASSERT_EQ(paper.size(), 1u);
    EXPECT_EQ(paper[0], (std::vector<double>{22, 148, 105}));
    auto record = app.WaitModuleValues("RASTER record", 1);
    ASSERT_EQ(record.size(), 1u);
    EXPECT_NEAR(record[0][2], 50.8, 1e-6);
    EXPECT_NEAR(record[0][3], 25.4, 1e-6);

    // The painted view: the top-left quarter of the image shows ink, the
    // two bottom quarters show the same paper colour.
    const double ox = e[0], oy = e[1], w = e[2], h = e[3];
    POINT tl, br, bl;
    ASSERT_TRUE(app.ViewPixelOf(view, ox - w / 4, oy + h / 4, &tl));
    ASSERT_TRUE(app.ViewPixelOf(view, ox + w / 4, oy - h / 4, &br));
    ASSERT_TRUE(app.ViewPixelOf(view, ox - w / 4, oy - h / 4, &bl));
    WriteBytes(app.ModuleLogPath() + ".points", std::to_string(tl.x) + " " + std::to_string(tl.y) + "\n" +
                                                    std::to_string(br.x) + " " + std::to_string(br.y) + "\n" +
                                                    std::to_string(bl.x) + " " + std::to_string(bl.y) + "\n");
    app.Command(30900);
    auto pixels = app.WaitModuleValues("RASTER pixel", 3);
    ASSERT_EQ(pixels.size(), 3u) << app.ModuleLog();
    EXPECT_NE(pixels[0][2], pixels[1][2]) << "ink at the top left";
    AppSession::Shot(app.Frame(), "raster-drawing");
    EXPECT_EQ(pixels[1][2], pixels[2][2]) << "no ink in the bottom half";

    // A damaged file loads nothing and leaves the image as it was.
    std::string damaged = QuarterImage(tiffmaker::kG4);
    damaged.resize(20);
    WriteBytes(app.UserDir() + "\\damaged.tif", damaged);
    WriteBytes(app.ModuleLogPath() + ".file", app.UserDir() + "\\damaged.tif");
    app.Command(30901);
    ASSERT_TRUE(app.WaitModuleLine("RASTER load", 2));
    EXPECT_EQ(app.ModuleLines("RASTER load").at(1), "0");
    app.Command(30900);
    auto after = app.WaitModuleValues("RASTER record", 3);
    ASSERT_GE(after.size(), 3u);
    EXPECT_EQ(after.back()[0], 200);
    EXPECT_EQ(after.back()[1], 100);
    EXPECT_NEAR(after.back()[2], 50.8, 1e-6);

    EXPECT_EQ(ReadFileBytes(existing), "not to be overwritten");
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// A snapped click near the end of a drawn stroke of the scan lands on the
// stroke's end pixel; the rotation service turns the image a quarter.
TEST(RasterImages, ASnapFindsTheStrokeEndAndTheRotationTurnsTheImage) {
    AppSession app("raster_snap");
    ASSERT_TRUE(app.Prepared());
    // 200 x 100 pixels at 10 dots per inch (a pixel of the image is about
    // as large as one of the view): one stroke along row 50 from column 40
    // to column 159.
    std::vector<uint8_t> ink(200 * 100);
    for (int x = 40; x < 160; ++x)
        ink[50 * 200 + x] = 1;
    const std::string image = app.UserDir() + "\\stroke.tif";
    WriteBytes(image, tiffmaker::MakeTiff(tiffmaker::FromPixels(200, 100, ink), tiffmaker::kG4, 2, 10, 10));
    ASSERT_TRUE(app.Start("\"" + image + "\"")) << app.LastError();
    ASSERT_TRUE(app.WaitModuleLine("RASTER appended")) << app.ModuleLog();
    HWND view = app.ActiveView();
    ASSERT_NE(view, nullptr);
    app.Command(30900);
    auto element = app.WaitModuleValues("RASTER element", 1);
    ASSERT_EQ(element.size(), 1u) << app.ModuleLog();
    // 508 x 254 mm: A4 is the first A paper smaller both ways, so A3 holds it.
    // The module writes its lines one by one: each is waited for.
    auto paper = app.WaitModuleValues("RASTER paper", 1);
    ASSERT_EQ(paper.size(), 1u);
    EXPECT_EQ(paper[0], (std::vector<double>{19, 420, 297}));
    const double ox = element[0][0], oy = element[0][1], mm = 25.4 / 10;  // one pixel
    // The stroke's end pixel (column 40, row 50) as the snap gives it: its
    // centre across, its lower edge up and down.
    const double endX = ox + (40 - 100 + 0.5) * mm, endY = oy + (50 - 50 - 1) * mm;

    app.Command(30501);
    ASSERT_TRUE(app.WaitModuleLine("ready")) << app.ModuleLog();
    POINT pixel;
    ASSERT_TRUE(app.ViewPixelOf(view, endX - 4 * mm, oy - mm / 2, &pixel));  // 4 pixels short of the stroke
    ASSERT_TRUE(app.ClickPixel(view, pixel));
    auto got = app.WaitModuleValues("got", 1);
    ASSERT_EQ(got.size(), 1u) << app.ModuleLog();
    EXPECT_EQ(got[0][0], 512) << "snapped";
    EXPECT_NEAR(got[0][1], endX, 1e-6) << app.ModuleLog();
    EXPECT_NEAR(got[0][2], endY, 1e-6);
    ASSERT_TRUE(app.EndCommand());
    ASSERT_TRUE(app.WaitModuleLine("got", 2));

    // Turned right by a quarter: 100 x 200 pixels, the sizes swapped.
    app.Command(1320);
    HWND ask = appui::WaitTop(app, "#32770", "ラスターの回転");
    ASSERT_NE(ask, nullptr) << "the rotation is asked";
    PostMessageA(ask, WM_COMMAND, 1000, 0);
    for (int i = 0; i < 200 && IsWindow(ask); ++i)
        Sleep(50);
    app.Command(30900);
    auto record = app.WaitModuleValues("RASTER record", 2);
    ASSERT_EQ(record.size(), 2u) << app.ModuleLog();
    EXPECT_EQ(record[1][0], 100);
    EXPECT_EQ(record[1][1], 200);
    EXPECT_NEAR(record[1][2], 254, 1e-6);
    EXPECT_NEAR(record[1][3], 508, 1e-6);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// Without the reader the user is told, and the module hears of no load.
// The DDE request is answered before the open asks anything: a client does
// not wait for the user.
TEST(RasterImages, MissingReaderIsReportedOnADdeOpen) {
    AppSession app("raster_noreader");
    ASSERT_TRUE(app.Prepared());
    ASSERT_TRUE(DeleteFileA(app.InstallFile("s_rasread.dll").c_str()));
    const std::string image = app.UserDir() + "\\plain.tif";
    WriteBytes(image, QuarterImage(tiffmaker::kNone));
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(app.DdeExecute("{Open(" + image + ")}"));
    HWND box = app.WaitBox();
    ASSERT_NE(box, nullptr) << "the user is told";
    EXPECT_NE(AppSession::WindowTexts(box).find("ラスター機能が使用できません"), std::string::npos)
        << AppSession::WindowTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(app.WaitModuleLine("RASTER load"));
    EXPECT_EQ(app.ModuleLines("RASTER load").at(0), "0") << "not passed as a success";
    EXPECT_TRUE(app.ModuleLines("RASTER appended").empty());
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
