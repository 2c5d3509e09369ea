// Closing, questions, drawings open for reference and the drawing windows
// the main frame makes, driven through the test module's commands in the
// running program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cadlib/WmCadApiDb.h"
#include "shell/cad_system.h"
#include "tests/app/app_session.h"

namespace {

// A drawing file of one line, written by the CAD library.
bool WriteDrawing(const std::string& path) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    if (!DAriCreateDB(&h)) return false;
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    CadSetF64(&line, kOffP2X, 100.0);
    CadSetF64(&line, kOffP2Y, 50.0);
    const bool appended = DAriAppendElement(&line, &h) != nullptr;
    uint32_t status = 0;
    const bool saved = DAriSaveFileOfCWX(path.c_str(), &h, &status) != 0;
    DAriDeleteDB(&h);
    return appended && saved;
}

class Closing : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Prepared()) << app.LastError();
        plan = app.UserDir() + "\\plan.tcf";
        ASSERT_TRUE(WriteDrawing(plan));
    }
    // The next message box of the program once its texts hold `expected`,
    // answered with `button`; its texts.
    std::string Answer(int button, const std::string& expected) {
        HWND box = app.WaitBox(60000);
        if (!box) return "<no box>";
        std::string text;
        for (int i = 0; i < 100 && (text = AppSession::WindowTexts(box)).find(expected) == std::string::npos; ++i)
            Sleep(50);
        PostMessageA(box, WM_COMMAND, button, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i)
            Sleep(50);
        return text;
    }
    bool WaitDrawings(size_t count) { return app.WaitDrawingCount(count); }
    // Closes the program; a save question of a changed drawing is answered No.
    void CloseAnsweringNo() {
        app.Post(app.Frame(), WM_CLOSE);
        if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
        EXPECT_TRUE(app.Close()) << app.LastError();
    }

    AppSession app{"closing"};
    std::string plan;
};

TEST_F(Closing, ClosingWhileACommandWaitsEndsItThenRunsTheDestroyCommand) {
    const std::string ini = app.InstallFile("ZavIrurer.ini");
    WritePrivateProfileStringA("BOOT", "/CLOSETEST", "30300", ini.c_str());
    WritePrivateProfileStringA("DESTROY", "/CLOSETEST", "30300", ini.c_str());
    ASSERT_TRUE(app.Start("\"" + plan + "\" /closetest")) << app.LastError();
    ASSERT_TRUE(app.WaitModuleText("TESTCMD close args=/C:CloseArgs /closetest\n")) << app.ModuleLog();
    ASSERT_TRUE(WaitDrawings(1));

    // A save during the run: the overwrite question, answered OK.
    app.Command(4012);
    EXPECT_NE(std::string::npos, Answer(IDOK, "plan.tcf").find("plan.tcf"));

    // A command waits for input when the user closes the program.
    app.Command(30301);
    ASSERT_TRUE(app.WaitModuleText("TESTCMD close waiting id=30301")) << app.ModuleLog();
    EXPECT_TRUE(app.Close()) << "the program closes\n" << app.ModuleLog();
    const std::string log = app.ModuleLog();
    const size_t ended = log.find("TESTCMD close ended");
    const size_t destroy = log.find("TESTCMD close args=/C:CloseArgs /closetest/Save1");
    ASSERT_NE(std::string::npos, ended) << log;
    ASSERT_NE(std::string::npos, destroy) << "the DESTROY command ran and knew of the save\n" << log;
    EXPECT_LT(ended, destroy) << "the waiting command ended first";
}

TEST_F(Closing, AYesNoQuestionIsShownAndItsAnswerGoesBackToTheModule) {
    ASSERT_TRUE(app.Start("\"" + plan + "\"")) << app.LastError();
    ASSERT_TRUE(WaitDrawings(1));
    // The question goes to the prompt bar; the dialogs offer the answers
    // (the plain one "Yes" 100 and "No" 102, the large one 6, 1001 and 2).
    struct {
        int command;
        int button;
        const char* logged;
    } rows[] = {
        {30302, 100, "TESTCMD yesno=1"},            {30302, 102, "TESTCMD yesno=0"},
        {30303, IDYES, "TESTCMD yesnocancel=1"},    {30303, 1001, "TESTCMD yesnocancel=0"},
        {30303, IDCANCEL, "TESTCMD yesnocancel=2"},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.logged);
        DeleteFileA(app.ModuleLogPath().c_str());
        app.Command(r.command);
        const std::string text = Answer(r.button, "Yes");
        EXPECT_NE(std::string::npos, text.find("Yes")) << text;
        EXPECT_TRUE(app.WaitModuleText(r.logged)) << app.ModuleLog();
    }
    CloseAnsweringNo();
}

TEST_F(Closing, ACommandRefusedOnAReferenceDrawingDoesNotRun) {
    // Another program holds the file for writing: it opens for reference.
    HANDLE holder = CreateFileA(plan.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ASSERT_TRUE(app.Start("\"" + plan + "\"")) << app.LastError();
    // The warning comes once the frame is up, while the file opens.
    const std::string warning = Answer(IDOK, "参照専用モードで開きます");
    EXPECT_NE(std::string::npos, warning.find("参照専用モードで開きます")) << warning;
    ASSERT_TRUE(WaitDrawings(1));
    EXPECT_NE(std::string::npos, app.DrawingTitles()[0].find("(参照)")) << app.DrawingTitles()[0];

    app.Command(30304);  // not allowed on reference drawings
    const char* refused = "この図面は参照モードで開かれています。";
    EXPECT_NE(std::string::npos, Answer(IDOK, refused).find(refused));
    app.Command(30002);  // allowed there
    EXPECT_TRUE(app.WaitModuleText("TESTCMD quick id=30002")) << app.ModuleLog();
    EXPECT_EQ(std::string::npos, app.ModuleLog().find("TESTCMD info")) << "the refused command never ran";
    CloseAnsweringNo();
    CloseHandle(holder);
}

TEST_F(Closing, ASecondWindowShowsTheActiveDrawingBesideTheFirst) {
    ASSERT_TRUE(app.Start("\"" + plan + "\"")) << app.LastError();
    ASSERT_TRUE(WaitDrawings(1));
    app.Command(4025);
    ASSERT_TRUE(WaitDrawings(2));
    for (const std::string& t : app.DrawingTitles())
        EXPECT_NE(std::string::npos, t.find("plan.tcf")) << t;
    app.Command(30304);
    ASSERT_TRUE(app.WaitModuleText("TESTCMD info")) << app.ModuleLog();
    EXPECT_NE(std::string::npos, app.ModuleLog().find("windows=2 drawings=1 shared=1 number=2")) << app.ModuleLog();
    CloseAnsweringNo();
}

TEST_F(Closing, NewDrawingsTakeTheRememberedPaperAndScale) {
    // The per-user settings are seeded from the installation's copy.
    const std::string file = app.InstallFile("LocalSettings.xml");
    std::string xml = ReadFileBytes(file);
    auto put = [&](const char* key, const char* value) {
        const std::string open = std::string("<") + key + ">", close = std::string("</") + key + ">";
        const size_t a = xml.find(open), b = xml.find(close);
        ASSERT_TRUE(a != std::string::npos && b != std::string::npos) << key;
        xml.replace(a + open.size(), b - a - open.size(), value);
    };
    put("iDefPaperType", "5");
    put("dDefPaperScale", "1.00000000000000002e-02");
    put("dDelPaperCx", "2.10000000000000000e+02");
    put("dDelPaperCy", "1.48000000000000000e+02");
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr);
    CloseHandle(h);
    BuildPaperSizeTable();
    char expected[200];
    std::snprintf(expected, sizeof expected,
                  "TESTCMD info code=%u scale=0.01 paper=210x148 drawing=21000x14800 corner=0",
                  static_cast<unsigned>(PaperSizeTable[5].code));

    ASSERT_TRUE(app.Start()) << app.LastError();
    // The start drawing is made from the same defaults.
    ASSERT_TRUE(WaitDrawings(1));
    app.Command(30304);
    ASSERT_TRUE(app.WaitModuleText("TESTCMD info")) << app.ModuleLog();
    EXPECT_NE(std::string::npos, app.ModuleLog().find(expected)) << app.ModuleLog();
    DeleteFileA(app.ModuleLogPath().c_str());
    ASSERT_NE(nullptr, app.NewDrawing()) << "the new-drawing dialog confirmed as it opens";
    ASSERT_TRUE(WaitDrawings(2));
    app.Command(30304);
    ASSERT_TRUE(app.WaitModuleText("TESTCMD info")) << app.ModuleLog();
    EXPECT_NE(std::string::npos, app.ModuleLog().find(expected)) << app.ModuleLog();
    CloseAnsweringNo();
}

}  // namespace
