// The services the shell lends the command system, proven in the running
// program: every service is installed at start-up, clicks reach a waiting
// command in drawing coordinates (snapped with the shipped snap modes),
// undo recording comes back after a module command, and the element-check
// mode reaches the CAD library.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>

#include "cadlib/WmCadApiDb.h"
#include "shell/host_services.h"
#include "tests/app/app_session.h"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines)
        all += l + "\n";
    return all;
}

// An integer element of the installation's XML settings file.
int InstalledXmlInt(const AppSession& app, const char* file, const char* name) {
    char text[64] = {};
    HANDLE h =
        CreateFileA(app.InstallFile(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string xml;
    if (h != INVALID_HANDLE_VALUE) {
        char buf[4096];
        DWORD n = 0;
        while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n)
            xml.append(buf, n);
        CloseHandle(h);
    }
    const std::string open = std::string("<") + name + ">";
    const size_t at = xml.find(open);
    if (at == std::string::npos) return -1;
    std::strncpy(text, xml.c_str() + at + open.size(), sizeof text - 1);
    return std::atoi(text);
}

// A drawing file with one line, written by the CAD library.
bool WriteLineDrawing(const std::string& path, double x1, double y1, double x2, double y2) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    if (!DAriCreateDB(&h)) return false;
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    line.colour = 2;
    CadSetF64(&line, kOffP1X, x1);
    CadSetF64(&line, kOffP1Y, y1);
    CadSetF64(&line, kOffP2X, x2);
    CadSetF64(&line, kOffP2Y, y2);
    const bool appended = DAriAppendElement(&line, &h) != nullptr;
    uint32_t status = 0;
    const bool saved = DAriSaveFileOfCWX(path.c_str(), &h, &status) != 0;
    DAriDeleteDB(&h);
    return appended && saved;
}

class Wiring : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }
    // Starts the program with a drawing to work on.
    HWND StartWithDrawing(const std::string& file = std::string()) {
        if (!app.Start()) {
            ADD_FAILURE() << app.LastError();
            return nullptr;
        }
        HWND view = file.empty() ? app.NewDrawing() : app.OpenDrawing(file);
        EXPECT_NE(view, nullptr) << "no drawing window";
        return view;
    }
    void EndWaitingCommand() {
        ASSERT_TRUE(app.EndCommand());
        EXPECT_TRUE(app.WaitModuleLine("ended")) << app.ModuleLog();
    }
    // Runs a test-module command and waits for its line `key`.
    void RunCommand(int id, const char* key, size_t count = 1) {
        ASSERT_TRUE(app.Command(id));
        ASSERT_TRUE(app.WaitModuleLine(key, count)) << id << ":\n" << app.ModuleLog();
    }

    AppSession app{"wiring"};
};

TEST_F(Wiring, StartUpFindsEveryServiceInstalled) {
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(run == 0 ? app.Start() : app.Restart()) << app.LastError();
        // The log is written: the check had somewhere to write to.
        EXPECT_NE(app.SystemLog().find(";@"), std::string::npos) << "no system log";
        EXPECT_EQ(Joined(app.SystemLogLines(kEmptyServiceLogText)), "") << "run " << run;
    }
    EXPECT_TRUE(app.Close()) << app.LastError();
    EXPECT_EQ(app.ExitCode(), 0u);
}

TEST_F(Wiring, ClicksReachAWaitingCommandInDrawingCoordinates) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    RunCommand(30100, "ready");
    RECT client = {};
    ASSERT_TRUE(GetClientRect(view, &client));
    ASSERT_GT(client.right, 40);
    ASSERT_GT(client.bottom, 40);
    const double scale = app.ViewScale(view);
    ASSERT_GT(scale, 0);
    // Two places inside the view, given in drawing units.
    const POINT places[] = {{client.right / 3, client.bottom / 3}, {client.right * 3 / 4, client.bottom * 2 / 3}};
    for (size_t i = 0; i < 2; ++i) {
        double x = 0, y = 0;
        ASSERT_TRUE(app.DrawingPointOf(view, places[i], &x, &y));
        const POINT pixel = app.ClickAt(view, x, y);
        ASSERT_GE(pixel.x, 0);
        // The program's own conversion of the pixel clicked is the point.
        double px = 0, py = 0;
        ASSERT_TRUE(app.DrawingPointOf(view, pixel, &px, &py));
        const auto points = app.WaitModuleValues("point", i + 1);
        ASSERT_EQ(points.size(), i + 1) << app.ModuleLog();
        ASSERT_EQ(points[i].size(), 2u);
        EXPECT_NEAR(points[i][0], px, 1e-6) << "click " << i;
        EXPECT_NEAR(points[i][1], py, 1e-6) << "click " << i;
        EXPECT_NEAR(points[i][0], x, 1.0 / scale) << "click " << i;
        EXPECT_NEAR(points[i][1], y, 1.0 / scale) << "click " << i;
    }
    const auto points = app.ModuleValues("point");
    ASSERT_EQ(points.size(), 2u);
    EXPECT_GT(std::fabs(points[0][0] - points[1][0]), 10.0 / scale) << "two places, two points";
    EXPECT_GT(std::fabs(points[0][1] - points[1][1]), 10.0 / scale) << "two places, two points";
    EndWaitingCommand();
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(Wiring, ASnappedClickArrivesOnTheNearestEndPoint) {
    // The shipped snap modes: end points, intersections, free points.
    ASSERT_EQ(InstalledXmlInt(app, "LocalSettings.xml", "LMsFg"), 0x68);
    const std::string file = app.UserDir() + "\\line.tcf";
    const double end[2] = {60, 30};
    ASSERT_TRUE(WriteLineDrawing(file, -80, -40, end[0], end[1]));
    HWND view = StartWithDrawing(file);
    ASSERT_NE(view, nullptr);
    const double scale = app.ViewScale(view);
    ASSERT_GT(scale, 0);
    // The pick aperture (8 pixels) must not reach the origin, which the
    // end-point search tries first.
    ASSERT_LT(3 * 8 / scale, std::hypot(end[0], end[1])) << "scale " << scale;
    POINT endPixel = {};
    ASSERT_TRUE(app.ViewPixelOf(view, end[0], end[1], &endPixel));
    RECT client = {};
    GetClientRect(view, &client);
    ASSERT_TRUE(PtInRect(&client, endPixel)) << "the end point is not shown";

    RunCommand(30101, "ready");
    // Beside the end point, within the aperture.
    ASSERT_TRUE(app.ClickPixel(view, {endPixel.x + 3, endPixel.y - 2}));
    auto snapped = app.WaitModuleValues("snapped", 1);
    ASSERT_EQ(snapped.size(), 1u) << "the click was dropped:\n" << app.ModuleLog();
    EXPECT_DOUBLE_EQ(snapped[0][0], end[0]);
    EXPECT_DOUBLE_EQ(snapped[0][1], end[1]);
    // Far from the line, the origin and the paper's corners: the free point
    // is the cursor point.
    const POINT freePixel = app.ClickAt(view, -60, 40);
    ASSERT_TRUE(PtInRect(&client, freePixel)) << "the free point is not shown";
    double fx = 0, fy = 0;
    ASSERT_TRUE(app.DrawingPointOf(view, freePixel, &fx, &fy));
    snapped = app.WaitModuleValues("snapped", 2);
    ASSERT_EQ(snapped.size(), 2u) << app.ModuleLog();
    EXPECT_NEAR(snapped[1][0], fx, 1e-6);
    EXPECT_NEAR(snapped[1][1], fy, 1e-6);
    EndWaitingCommand();
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(Wiring, UndoRecordingComesBackAfterAModuleCommand) {
    const int undoCount = InstalledXmlInt(app, "LocalSettings.xml", "iUndoCount");
    ASSERT_GT(undoCount, 0) << "the shipped settings record undo steps";
    ASSERT_NE(StartWithDrawing(), nullptr);
    RunCommand(30102, "undoable");
    RunCommand(30103, "fastlevel");
    RunCommand(30102, "undoable", 2);
    const auto levels = app.ModuleValues("undolevel");
    const auto undoable = app.ModuleValues("undoable");
    const auto fast = app.ModuleValues("fastlevel");
    ASSERT_EQ(levels.size(), 2u) << app.ModuleLog();
    ASSERT_EQ(fast.size(), 1u);
    EXPECT_EQ(levels[0][0], undoCount) << "a new drawing records undo steps";
    EXPECT_EQ(fast[0][0], 0) << "fast access records none";
    EXPECT_EQ(levels[1][0], undoCount) << "recording is back once the command ended";
    EXPECT_EQ(undoable[0][0], 1);
    EXPECT_EQ(undoable[1][0], 1) << "a change after the fast command can be undone";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(Wiring, TheElementCheckModeReachesTheLibrary) {
    const int shipped =
        GetPrivateProfileIntA("System", "iElementCheckMode", -1, app.InstallFile("LocalSettings.ini").c_str());
    ASSERT_NE(shipped, 0) << "the shipped mode must differ from the 0 the command sets";
    ASSERT_NE(StartWithDrawing(), nullptr);
    RunCommand(30104, "checkmode");
    const auto modes = app.ModuleValues("checkmode");
    ASSERT_EQ(modes.size(), 1u);
    ASSERT_EQ(modes[0].size(), 2u);
    EXPECT_EQ(modes[0][0], shipped) << "the library holds the installed mode";
    EXPECT_EQ(modes[0][1], 0) << "the library took the mode the command set";
    EXPECT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
