// The open road: kinds, load status texts, locks, read-only reference and
// what a failed load leaves behind, with real files.
#include <cstring>

#include "base/message_table.h"
#include "shell/drawing_types.h"
#include "shell/open_road.h"
#include "view/drawing_state.h"
#include "view/file_lock.h"
#include "view/view_table.h"
#include "view_fixture.h"
#include "win/message_box.h"

namespace {

using OpenRoadTest = ViewFixture;

std::string Title(HWND view) {
    char t[512] = {};
    ::GetWindowTextA(::GetParent(view), t, sizeof t);
    return t;
}

int ViewCount() {
    int n = 0;
    while (n < 256 && ViewTable[n])
        ++n;
    return n;
}

TEST(OpenRoadTables, KindsByExtension) {
    struct Case {
        const char* name;
        int kind;
    } cases[] = {
        {"a.tcf", 12}, {"a.b.tcf", 12}, {"PLAN.OTCF", 1},   {"x.otcf", 1},         {"C:\\x.dir\\file", 0},
        {"a.tcfx", 0}, {"noext", 0},    {"a.dxf", 4},       {"a.JWC", 5},          {"a.jwk", 5},
        {"a.dwg", 7},  {"a.tif", 8},    {"a.sfc", 13},      {"a.P21", 13},         {"a.jww", 15},
        {"a.pdf", 16}, {"a.txt", 0},    {"図面ソ.tcf", 12}, {"C:\\表\\図.dxf", 4}, {"", 0},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.kind, DrawingTypeFromExtension(k.name)) << k.name;
}

TEST(OpenRoadTables, LoadStatusTextsByOrder) {
    struct Case {
        uint32_t status;
        bool failed;
        const char* text;
    } cases[] = {
        {0x80 | 0x02, false, "図面情報が異常です"},
        {0x200, false, "メモリが不足しています\n読込を中断しました"},
        {0x100 | 0x02, true, "FGRP情報が異常です"},
        {0x02, true, "要素情報が異常です"},
        {0x10 | 0x400, true, "ファイルが異常です。図面と認識できません。"},
        {0x10 | 0x400, false, "未知の圧縮形式のファイルです。処理を続行できません。"},
        {0x800 | 0x10, false, "未知の形式のファイルです。処理を続行できません。"},
        {0x800, true, "未知の形式のファイルです。処理を続行できません。"},
        {0x10, false, "ファイルが異常です。図面と認識できません。"},
        {0, false, nullptr},
        {0x1000, true, nullptr},
    };
    for (const Case& k : cases) {
        const char* t = LoadStatusText(k.status, k.failed);
        if (!k.text)
            EXPECT_EQ(nullptr, t) << k.status;
        else
            EXPECT_STREQ(k.text, t) << std::hex << k.status << (k.failed ? " failed" : " loaded");
    }
}

TEST_F(OpenRoadTest, ADrawingOpensLockedAndASecondOpenOnlyActivatesIt) {
    Running().SHARE = 1;
    TempDir dir("open");
    const std::string path = dir.File("plan.tcf");
    WriteDrawingFile(path, 3);
    win::MessageBoxTestHook boxes;
    ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, path.c_str()));
    ASSERT_EQ(1, ViewCount());
    HWND view = ViewTable[0];
    ViewData* d = GetViewData(view);
    EXPECT_EQ(path, d->fileName);
    EXPECT_EQ(3, GetViewElementCount(view));
    EXPECT_EQ(path, Title(view));
    EXPECT_EQ(1, d->fileLocked);
    EXPECT_EQ(0, d->readOnly);
    EXPECT_FALSE(OthersCanWrite(path)) << "the lock keeps other writers out";
    EXPECT_TRUE(boxes.Calls().empty());
    std::string upper = path;
    for (char& ch : upper)
        ch = (char)::toupper((unsigned char)ch);
    EXPECT_EQ(1, OpenDrawingFile(m_main.m_hWnd, upper.c_str()));
    Pump();
    EXPECT_EQ(1, ViewCount()) << "the open drawing is only activated";
    ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(OthersCanWrite(path)) << "closing releases the lock";
}

TEST_F(OpenRoadTest, AFileHeldByAnotherProgramOpensForReferenceOnly) {
    Running().SHARE = 1;
    Running().bNoLoadErrMsg = 0;
    TempDir dir("held");
    const std::string path = dir.File("held.tcf");
    WriteDrawingFile(path, 1);
    HANDLE other = OpenLockHandle(path.c_str());  // another copy holds it
    ASSERT_NE(nullptr, other);
    win::MessageBoxTestHook boxes;
    ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, path.c_str()));
    ASSERT_EQ(1u, boxes.Calls().size());
    EXPECT_EQ(GetMessageText(7222), boxes.Calls()[0].text);
    EXPECT_EQ(GetMessageText(7380), boxes.Calls()[0].caption);
    ViewData* d = GetViewData(ViewTable[0]);
    EXPECT_EQ(1, d->readOnly);
    EXPECT_EQ(0, d->fileLocked);
    EXPECT_EQ(path + " (参照)", Title(ViewTable[0]));
    ::CloseHandle(other);
}

TEST_F(OpenRoadTest, LocksHoldForLongJapanesePaths) {
    Running().SHARE = 1;
    TempDir dir("long");
    std::string folder = dir.Path();
    for (int i = 0; folder.size() < 150; ++i) {
        folder += "\\空調設備図面フォルダ" + std::to_string(i);
        ::CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string path = folder + "\\ダクト平面図ソ表.tcf";
    ASSERT_GE(path.size(), 128u);
    WriteDrawingFile(path, 2);
    ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, path.c_str()));
    ViewData* d = GetViewData(ViewTable[0]);
    EXPECT_EQ(1, d->fileLocked);
    EXPECT_FALSE(OthersCanWrite(path));
    ::SendMessageA(::GetParent(ViewTable[0]), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(OthersCanWrite(path));
    ::DeleteFileA(path.c_str());
    while (folder.size() > dir.Path().size()) {
        ::RemoveDirectoryA(folder.c_str());
        folder.resize(folder.rfind('\\'));
    }
}

TEST_F(OpenRoadTest, AFailedLoadLeavesNoWindowThatCouldSaveOverTheFile) {
    Running().SHARE = 1;
    TempDir dir("bad");
    struct Case {
        const char* name;
        std::string bytes;
        int answer;  // to the newer-format question, if asked
    } cases[] = {
        {"not a drawing", "this is no drawing at all", IDNO},
        {"empty file", "", IDNO},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::string path = dir.File("broken.tcf");
        WriteBytes(path, k.bytes);
        win::MessageBoxTestHook boxes;
        boxes.Answer(k.answer);
        EXPECT_EQ(0, OpenDrawingFile(m_main.m_hWnd, path.c_str()));
        Pump();
        EXPECT_FALSE(boxes.Calls().empty()) << "the failure is reported";
        EXPECT_EQ(0, ViewCount()) << "no window is left to save over the file";
        EXPECT_TRUE(OthersCanWrite(path)) << "no lock is held";
        EXPECT_EQ(k.bytes, ReadBytes(path));
    }
}

TEST_F(OpenRoadTest, MissingFilesAndUnknownKindsAreRefused) {
    TempDir dir("refused");
    struct Case {
        std::string name;
        const char* textPart;
        const char* caption;
    } cases[] = {
        {dir.File("nosuch.tcf"), "ファイルが存在しません", "ERROR"},
        {dir.File("notes.txt"), "ファイルは、図面と認識できません。", nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        win::MessageBoxTestHook boxes;
        EXPECT_EQ(0, OpenDrawingFile(m_main.m_hWnd, k.name.c_str()));
        ASSERT_EQ(1u, boxes.Calls().size());
        EXPECT_NE(std::string::npos, boxes.Calls()[0].text.find(k.textPart));
        if (k.caption) EXPECT_EQ(k.caption, boxes.Calls()[0].caption);
        EXPECT_EQ(0, ViewCount());
    }
}

TEST_F(OpenRoadTest, WithoutShareNoLockIsTaken) {
    Running().SHARE = 0;
    TempDir dir("noshare");
    const std::string path = dir.File("free.tcf");
    WriteDrawingFile(path, 1);
    ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, path.c_str()));
    EXPECT_EQ(0, GetViewData(ViewTable[0])->fileLocked);
    EXPECT_TRUE(OthersCanWrite(path));
}

TEST_F(OpenRoadTest, ForeignKindsGoToTheirImportCommands) {
    std::vector<std::pair<int, std::string>> started;
    auto saved = OpenRoad().startModuleCmd;
    OpenRoad().startModuleCmd = [&](int id, const char* f) {
        started.push_back({id, f});
        return 1;
    };
    for (const char* name : {"a.dxf", "b.JWC", "c.dwg", "d.p21", "e.jww", "f.pdf"})
        EXPECT_EQ(1, OpenDrawingFile(m_main.m_hWnd, name)) << name;
    OpenRoad().startModuleCmd = saved;
    const std::vector<std::pair<int, std::string>> want = {{5103, "a.dxf"}, {5104, "b.JWC"}, {5105, "c.dwg"},
                                                           {5107, "d.p21"}, {5112, "e.jww"}, {5992, "f.pdf"}};
    EXPECT_EQ(want, started);
    EXPECT_EQ(0, ViewCount());
}

}  // namespace
