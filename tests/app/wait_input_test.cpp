// The modal wait of command modules in the running program: real mouse
// messages to the drawing view and keys reach a module waiting in
// UM_WAIT_INPUT as the points and codes it gets back; nested waits keep
// their own records; the interrupt commands step the drawing attributes;
// and the view, drawing and sub-code host services answer the test module
// with the values asserted here.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "tests/app/app_session.h"
#include "view/db_info.h"

namespace {

void AddLine(DbHeader* h, double x1, double y1, double x2, double y2) {
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    line.colour = 2;
    CadSetF64(&line, kOffP1X, x1);
    CadSetF64(&line, kOffP1Y, y1);
    CadSetF64(&line, kOffP2X, x2);
    CadSetF64(&line, kOffP2Y, y2);
    DAriAppendElement(&line, h);
}

// A drawing of two lines crossing at (5, 5), the upright one ending `rise`
// above the crossing, on a small paper so that the view shows it large.
bool WriteCrossingDrawing(const std::string& path, double rise = 0.4) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    if (!DAriCreateDB(&h)) return false;
    DbInfoHead head;
    if (DAriGetDBInfo(&head, &h)) {
        CadSetF64(head.bytes, kInfoDrawW, 40.0);
        CadSetF64(head.bytes, kInfoDrawH, 30.0);
        DAriSetDBInfo(&head, &h);
    }
    AddLine(&h, 2, 5, 9, 5);
    AddLine(&h, 5, 1, 5, 5 + rise);
    uint32_t status = 0;
    const bool saved = DAriSaveFileOfCWX(path.c_str(), &h, &status) != 0;
    DAriDeleteDB(&h);
    return saved;
}

class WaitInput : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }
    HWND StartWithDrawing(const std::string& file = std::string()) {
        if (!app.Start()) {
            ADD_FAILURE() << app.LastError();
            return nullptr;
        }
        HWND view = file.empty() ? app.NewDrawing() : app.OpenDrawing(file);
        EXPECT_NE(view, nullptr) << "no drawing window";
        return view;
    }
    void Run(int id, const char* key, size_t count = 1) {
        ASSERT_TRUE(app.Command(id));
        ASSERT_TRUE(app.WaitModuleLine(key, count)) << id << ":\n" << app.ModuleLog();
    }
    // The value line "hv <name> ..." of the HostViews command.
    std::vector<double> Hv(const std::string& name) {
        for (const std::string& line : app.ModuleLines("hv")) {
            if (line.compare(0, name.size() + 1, name + " ") != 0) continue;
            std::vector<double> values;
            const char* p = line.c_str() + name.size();
            char* end = nullptr;
            for (double v = std::strtod(p, &end); end != p; v = std::strtod(p, &end)) {
                values.push_back(v);
                p = end;
            }
            return values;
        }
        ADD_FAILURE() << "no line " << name << ":\n" << app.ModuleLog();
        return {};
    }
    AppSession app{"waitinput"};
};

TEST_F(WaitInput, ClicksComeBackAsPointsAndThePanelCancelEndsTheWait) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    Run(30500, "ready");
    RECT client = {};
    ASSERT_TRUE(GetClientRect(view, &client));
    const POINT pixels[] = {{client.right / 4, client.bottom / 3}, {client.right * 2 / 3, client.bottom * 3 / 4}};
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(app.ClickPixel(view, pixels[i]));
        double x = 0, y = 0;
        ASSERT_TRUE(app.DrawingPointOf(view, pixels[i], &x, &y));
        const auto got = app.WaitModuleValues("got", i + 1);
        ASSERT_EQ(got.size(), i + 1) << app.ModuleLog();
        EXPECT_EQ(got[i][0], 256) << "a plain point";
        EXPECT_NEAR(got[i][1], x, 1e-6);
        EXPECT_NEAR(got[i][2], y, 1e-6);
    }
    // The cancel button of the panels (interrupt command 3021).
    ASSERT_TRUE(app.Command(3021));
    const auto got = app.WaitModuleValues("got", 3);
    ASSERT_EQ(got.size(), 3u) << app.ModuleLog();
    EXPECT_EQ(got[2][0], 2) << "cancel";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(WaitInput, AShortcutKeyRunsTheCancelCommandInsideTheWait) {
    // A private shortcut: F9 runs interrupt command 3021.
    {
        const std::string path = app.InstallFile("ZavIrurer.key");
        std::ifstream in(path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const size_t begin = text.find("BEGIN");
        ASSERT_NE(begin, std::string::npos);
        const size_t lineEnd = text.find('\n', begin);
        ASSERT_NE(lineEnd, std::string::npos);
        text.insert(lineEnd + 1, "    \"VK_F9\",3021,VIRTKEY,NOINVERT\n");
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    Run(30500, "ready");
    ASSERT_TRUE(app.Post(view, WM_KEYDOWN, VK_F9, 0x00430001));
    ASSERT_TRUE(app.Post(view, WM_KEYUP, VK_F9, 0xC0430001));
    const auto got = app.WaitModuleValues("got", 1);
    ASSERT_EQ(got.size(), 1u) << app.ModuleLog();
    EXPECT_EQ(got[0][0], 2) << "the key's cancel reached the waiting module";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(WaitInput, ASnapTakesTheNearerOfEndPointAndCrossing) {
    const std::string probe = app.UserDir() + "\\probe.tcf";
    ASSERT_TRUE(WriteCrossingDrawing(probe));
    ASSERT_NE(StartWithDrawing(probe), nullptr);
    const double scale = app.ViewScale(app.ActiveView());
    ASSERT_GT(scale, 0);
    // The end point 5 pixels above the crossing at the scale the paper is
    // shown at: both lie within the pick aperture (8 pixels) of either click.
    const double rise = 5.0 / scale;
    const std::string file = app.UserDir() + "\\crossing.tcf";
    ASSERT_TRUE(WriteCrossingDrawing(file, rise));
    HWND view = app.OpenDrawing(file);
    ASSERT_NE(view, nullptr);
    POINT cross = {}, end = {};
    ASSERT_TRUE(app.ViewPixelOf(view, 5, 5, &cross));
    ASSERT_TRUE(app.ViewPixelOf(view, 5, 5 + rise, &end));
    ASSERT_GE(cross.y - end.y, 3) << "scale " << app.ViewScale(view);
    ASSERT_LE(cross.y - end.y, 7) << "scale " << app.ViewScale(view);
    Run(30501, "ready");
    struct Click {
        POINT pixel;
        double x, y;
    } clicks[] = {
        {{cross.x + 1, cross.y - 1}, 5, 5},  // nearer the crossing
        {{end.x + 1, end.y}, 5, 5 + rise},   // nearer the end point
    };
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(app.ClickPixel(view, clicks[i].pixel));
        const auto got = app.WaitModuleValues("got", i + 1);
        ASSERT_EQ(got.size(), i + 1) << app.ModuleLog();
        EXPECT_EQ(got[i][0], 512) << i;
        EXPECT_NEAR(got[i][1], clicks[i].x, 1e-9) << i;
        EXPECT_NEAR(got[i][2], clicks[i].y, 1e-9) << i;
    }
    ASSERT_TRUE(app.EndCommand());
    EXPECT_TRUE(app.WaitModuleLine("got", 3)) << app.ModuleLog();
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// With the last input point shown (bLastPosViewFg), its marker follows the
// snapped points: drawn at the second point, and gone from the first without
// a trace, also after the view has been painted again.
TEST_F(WaitInput, TheLastInputPointsMarkerFollowsTheSnappedPoint) {
    {
        const std::string path = app.InstallFile("LocalSettings.xml");
        std::ifstream in(path, std::ios::binary);
        std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const std::string off = "<bLastPosViewFg>0</bLastPosViewFg>";
        const size_t at = xml.find(off);
        ASSERT_NE(at, std::string::npos);
        xml.replace(at, off.size(), "<bLastPosViewFg>1</bLastPosViewFg>");
        std::ofstream(path, std::ios::binary | std::ios::trunc) << xml;
    }
    const std::string file = app.UserDir() + "\\marker.tcf";
    ASSERT_TRUE(WriteCrossingDrawing(file, 12));
    HWND view = StartWithDrawing(file);
    ASSERT_NE(view, nullptr);
    POINT cross = {}, end = {};
    ASSERT_TRUE(app.ViewPixelOf(view, 5, 5, &cross));
    ASSERT_TRUE(app.ViewPixelOf(view, 5, 17, &end));
    ASSERT_GE(cross.y - end.y, 30) << "scale " << app.ViewScale(view);
    Run(30501, "ready");
    ASSERT_TRUE(app.ClickPixel(view, {cross.x + 1, cross.y - 1}));
    ASSERT_TRUE(app.WaitModuleLine("got", 1)) << app.ModuleLog();
    ASSERT_TRUE(app.ClickPixel(view, {end.x + 1, end.y}));
    const auto got = app.WaitModuleValues("got", 2);
    ASSERT_EQ(got.size(), 2u) << app.ModuleLog();
    EXPECT_EQ(got[1][0], 512);
    EXPECT_NEAR(got[1][2], 17, 1e-9);
    ASSERT_TRUE(app.EndCommand());
    ASSERT_TRUE(app.WaitModuleLine("got", 3)) << app.ModuleLog();

    // The corners of the marker's square (4 pixels out), away from the
    // lines through the points, and a spot of bare background.
    std::string points;
    std::vector<POINT> probed;
    for (POINT c : {cross, end})
        for (int sx : {-4, 4})
            for (int sy : {-4, 4})
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        probed.push_back({c.x + sx + dx, c.y + sy + dy});
    const POINT bare = {cross.x - 25, cross.y + 25};
    probed.push_back(bare);
    for (POINT p : probed)
        points += std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
    std::ofstream(app.ModuleLogPath() + ".points", std::ios::binary) << points;
    ASSERT_TRUE(app.Command(30900));
    const auto pixels = app.WaitModuleValues("RASTER pixel", probed.size());
    ASSERT_EQ(pixels.size(), probed.size()) << app.ModuleLog();
    const double background = pixels.back()[2];
    int atCross = 0, atEnd = 0;
    for (size_t i = 0; i + 1 < pixels.size(); ++i)
        (i < 36 ? atCross : atEnd) += pixels[i][2] != background;
    EXPECT_EQ(atCross, 0) << "no trace where the marker was";
    EXPECT_GE(atEnd, 4) << "the marker at the last point";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(WaitInput, ANestedWaitDoesNotWriteIntoTheOuterRecord) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    Run(30502, "ready");
    ASSERT_TRUE(app.WaitModuleLine("innerready")) << app.ModuleLog();
    RECT client = {};
    GetClientRect(view, &client);
    const POINT first = {client.right / 3, client.bottom / 3}, second = {client.right * 3 / 4, client.bottom / 2};
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(app.DrawingPointOf(view, first, &x1, &y1));
    ASSERT_TRUE(app.DrawingPointOf(view, second, &x2, &y2));
    ASSERT_TRUE(app.ClickPixel(view, first));
    const auto inner = app.WaitModuleValues("inner", 1);
    ASSERT_EQ(inner.size(), 1u) << app.ModuleLog();
    ASSERT_TRUE(app.ClickPixel(view, second));
    const auto outer = app.WaitModuleValues("outer", 1);
    ASSERT_EQ(outer.size(), 1u) << app.ModuleLog();
    const auto kept = app.WaitModuleValues("innerkept", 1);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NEAR(inner[0][0], x1, 1e-6);
    EXPECT_EQ(inner[0][2], 256);
    EXPECT_NEAR(outer[0][0], x2, 1e-6) << "the outer wait got the second click";
    EXPECT_NEAR(outer[0][1], y2, 1e-6);
    EXPECT_EQ(outer[0][2], 256);
    EXPECT_NEAR(kept[0][0], x1, 1e-6) << "the inner record kept its own click";
    EXPECT_NEAR(kept[0][1], y1, 1e-6);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(WaitInput, PanelButtonsStepTheDrawingAttributes) {
    ASSERT_NE(StartWithDrawing(), nullptr);
    Run(30503, "attr");
    const auto before = app.ModuleValues("attr")[0];
    ASSERT_EQ(before[3], 1) << "the attributes were read";
    // Colour up, line type down twice, width up: each wraps within its range.
    for (int id : {3023, 3028, 3028, 3025})
        ASSERT_TRUE(app.Command(id));
    Run(30503, "attr", 2);
    const auto after = app.ModuleValues("attr")[1];
    const int colour = static_cast<int>(before[0]) + 1;
    EXPECT_EQ(after[0], colour > 256 ? 1 : colour);
    const int type = static_cast<int>(before[1]) - 2;
    EXPECT_EQ(after[1], type < 0 ? type + 32 : type);
    const int width = static_cast<int>(before[2]) + 1;
    EXPECT_EQ(after[2], width >= 16 ? 0 : width);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(WaitInput, ViewAndSubCodeServicesAnswerTheModule) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    Run(30504, "hv done");
    const auto color = Hv("color");
    ASSERT_EQ(color.size(), 4u);
    EXPECT_EQ(color[2], 0) << "an index past the pen table reads nothing";
    EXPECT_EQ(color[3], 0) << "a negative index reads nothing";
    const auto sys = Hv("systable");
    ASSERT_EQ(sys.size(), 3u);
    EXPECT_EQ(sys[0], 1);
    EXPECT_EQ(sys[1], color[0]) << "entry 0 is the background";
    EXPECT_EQ(sys[2], color[1]) << "entry 2 is pen 2";
    EXPECT_EQ(Hv("owntable")[0], 1);
    EXPECT_EQ(Hv("nulltable")[0], 0);
    const auto attr = Hv("attr");
    EXPECT_EQ(attr[0], 1);
    EXPECT_EQ(attr[1], attr[2]) << "the attributes set come back";
    EXPECT_EQ(Hv("viewevent"), (std::vector<double>{0, 1, 1, 0}));
    const auto read = Hv("viewread");
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(read[0], 0) << "not read-only";
    EXPECT_EQ(read[1], 0) << "lParam 5 is no read-only value";
    EXPECT_EQ(read[3], 0) << "sub-code 10";
    EXPECT_EQ(read[4], 30504) << "the running command";
    EXPECT_EQ(Hv("cmdline"), (std::vector<double>{1, 0}));
    // Keep word on and off, no sub-code 4, dialog word, a 3000-byte text
    // copied into 260-byte buffers without harm.
    EXPECT_EQ(Hv("filefunc"), (std::vector<double>{1, 1, 0, 1, 1, 0, 0}));
    const auto scale = Hv("inputscale");
    ASSERT_EQ(scale.size(), 5u);
    EXPECT_EQ(scale[0], 0);
    EXPECT_EQ(scale[1], 1);
    EXPECT_DOUBLE_EQ(scale[2], 1.0) << "no input scale";
    EXPECT_EQ(scale[3], 0) << "sub-code 20 answers 0";
    EXPECT_EQ(scale[4], 0);
    const auto font = Hv("fontdic");
    ASSERT_EQ(font.size(), 5u);
    EXPECT_TRUE(font[0] == 1 || font[0] == 123);
    EXPECT_EQ(font[1], 1) << "sub-code 21 with kind 7";
    EXPECT_EQ(font[2], 1);
    EXPECT_GE(font[3], 0);
    EXPECT_EQ(font[4], 0);
    EXPECT_EQ(Hv("select"), (std::vector<double>{1, 1, 1, 0, 1, 0, 0}));
    const auto draw = Hv("draw");
    EXPECT_EQ(draw[0], 1);
    EXPECT_EQ(draw[1], 1) << "one element in the drawing";
    const auto zoom = Hv("zoom");
    ASSERT_EQ(zoom.size(), 4u);
    EXPECT_EQ(zoom[0], 1);
    EXPECT_TRUE(std::isfinite(zoom[1]) && zoom[1] > 0) << "a rectangle without width still zooms";
    EXPECT_DOUBLE_EQ(zoom[2], 40) << "centred on the rectangle";
    EXPECT_DOUBLE_EQ(zoom[3], -10);
    EXPECT_NEAR(app.ViewScale(view), zoom[1], 1e-9);
    const auto paper = Hv("paper");
    ASSERT_EQ(paper.size(), 6u);
    EXPECT_EQ(paper[5], paper[0]) << "a null buffer answers as a filled one";
    if (paper[0] == 1) EXPECT_LT(paper[1], paper[3]);
    EXPECT_EQ(Hv("drag"), (std::vector<double>{1, 1})) << "a bad pointer does not stop the preview";
    EXPECT_EQ(Hv("filename")[0], 1);
    EXPECT_EQ(Hv("simple"), (std::vector<double>{1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(Hv("rpmenu"), (std::vector<double>{1, 1, 1, 1}));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(WaitInput, AModuleOpensActivatesAndClosesADrawingByName) {
    const std::string file = app.UserDir() + "\\wait_open.tcf";
    const std::string first = app.UserDir() + "\\first.tcf";
    ASSERT_TRUE(WriteCrossingDrawing(file));
    ASSERT_TRUE(WriteCrossingDrawing(first));
    // A drawing of a file: the open by name closes only untitled empty ones.
    ASSERT_NE(StartWithDrawing(first), nullptr);
    const size_t before = app.DrawingTitles().size();
    Run(30505, "openclose");
    const auto v = app.ModuleValues("openclose");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0], (std::vector<double>{1, 1, 1}));
    EXPECT_TRUE(app.WaitDrawingCount(before)) << "the drawing opened by name is closed again";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace

// The point-entry dialog's temporary point is the one the modal wait takes:
// typed while a command waits for snapped points, it comes back as one.
TEST_F(WaitInput, ATemporaryPointTypedInThePointEntryIsTheSnappedPoint) {
    ASSERT_NE(StartWithDrawing(), nullptr);
    Run(30501, "ready");
    ASSERT_TRUE(app.Command(3989));  // the tool panel's point button
    HWND dialog = app.WaitBox();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(AppSession::WindowTexts(dialog).find("座標入力"), std::string::npos);
    app.Send(GetDlgItem(dialog, 1300), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12.5"));
    app.Send(GetDlgItem(dialog, 1301), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("-7.25"));
    // OK while X has the focus only moves it on to Y; the second one closes.
    for (int press = 0; press < 2 && IsWindow(dialog); ++press) {
        app.Post(dialog, WM_COMMAND, IDOK);
        for (int i = 0; i < 40 && IsWindow(dialog); ++i)
            Sleep(50);
    }
    EXPECT_FALSE(IsWindow(dialog));
    const auto got = app.WaitModuleValues("got", 1);
    ASSERT_EQ(got.size(), 1u) << app.ModuleLog();
    EXPECT_EQ(got[0][0], 512);
    EXPECT_DOUBLE_EQ(got[0][1], 12.5);
    EXPECT_DOUBLE_EQ(got[0][2], -7.25);
    // Cancelled, the dialog leaves no point behind.
    ASSERT_TRUE(app.Command(3989));
    dialog = app.WaitBox();
    ASSERT_NE(dialog, nullptr);
    app.Post(dialog, WM_COMMAND, IDCANCEL);
    ASSERT_TRUE(app.EndCommand());
    const auto after = app.WaitModuleValues("got", 2);
    ASSERT_EQ(after.size(), 2u) << app.ModuleLog();
    EXPECT_EQ(after[1][0], 0) << "the end, not a point";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

namespace {

BOOL CALLBACK TakeSnapPopup(HWND w, LPARAM out) {
    char name[64] = "";
    GetClassNameA(w, name, sizeof name);
    if (std::string(name) != "ZavCursorSnapWin" || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

}  // namespace

// With the snap display set to follow the pointer, a drawing view shows the
// snap-kind pop-up where the element snap of the waits would snap: at the
// end point or the origin near the resting pointer, not at the pointer.
TEST_F(WaitInput, TheViewsSnapPreviewMarksTheSnappedPointNotThePointer) {
    {
        const std::string path = app.InstallFile("LocalSettings.xml");
        std::ifstream in(path, std::ios::binary);
        std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        const std::string open = "<iSnapShowMode>";
        const size_t at = xml.find(open);
        ASSERT_NE(at, std::string::npos);
        xml.replace(at + open.size(), 1, "2");
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << xml;
    }
    const std::string file = app.UserDir() + "\\preview.tcf";
    ASSERT_TRUE(WriteCrossingDrawing(file));
    HWND view = StartWithDrawing(file);
    ASSERT_NE(view, nullptr);
    // The preview serves a command that waits for snapped points: its wait
    // takes the view's mouse moves off the input record.
    Run(30501, "ready");
    POINT end = {};
    ASSERT_TRUE(app.ViewPixelOf(view, 9, 5, &end));
    // The pointer rests two pixels off the point, within the aperture; each
    // try rests a pixel nearer (a hover counts once per position). The left
    // edge of the last pop-up seen, which is `want` when the pop-up marks
    // the point (LONG_MIN when none was seen).
    auto previewAt = [&](POINT target, LONG want) {
        LONG seen = LONG_MIN;
        for (int attempt = 0; attempt < 3 && seen != want; ++attempt) {
            const POINT rest = {target.x + 2 - attempt, target.y + 2 - attempt};
            POINT screen = rest;
            ClientToScreen(view, &screen);
            SetCursorPos(screen.x, screen.y);
            app.Post(view, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
            app.Post(view, WM_MOUSEHOVER, 0, MAKELPARAM(rest.x, rest.y));
            const DWORD start = GetTickCount();
            while (seen != want && GetTickCount() - start < 3000) {
                HWND popup = nullptr;
                EnumThreadWindows(GetWindowThreadProcessId(view, nullptr), TakeSnapPopup,
                                  reinterpret_cast<LPARAM>(&popup));
                RECT r = {};
                if (popup && GetWindowRect(popup, &r)) seen = r.left;
                if (seen != want) Sleep(50);
            }
        }
        return seen;
    };
    // An element's end point, and the origin, which the end-point search
    // offers before any element.
    POINT origin = {};
    ASSERT_TRUE(app.ViewPixelOf(view, 0, 0, &origin));
    for (POINT target : {end, origin}) {
        POINT screen = target;
        ClientToScreen(view, &screen);
        EXPECT_EQ(previewAt(target, screen.x + 8), screen.x + 8) << "the pop-up marks the point, not the pointer";
    }
    EXPECT_TRUE(app.ModuleValues("got").empty()) << "the preview gives the command nothing";
    ASSERT_TRUE(app.EndCommand());
    EXPECT_TRUE(app.WaitModuleLine("got")) << app.ModuleLog();
    EXPECT_TRUE(app.Close()) << app.LastError();
}
