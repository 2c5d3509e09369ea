// Drawing files of both layouts in the running program: a drawing of the old
// layout and one of the new are each opened from the command line and by
// DDE, saved with command 4012, and every saved file is of the new layout
// and reopens with the same elements as the file that was opened.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "tests/app/app_session.h"

namespace {

std::string SourceFile(const char* relative) {
    const char* src = getenv("ZAV_SOURCE_DIR");
    std::string path = std::string(src ? src : ".") + "/" + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The last write of a file (0 when it cannot be read).
ULONGLONG WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &d)) return 0;
    return (static_cast<ULONGLONG>(d.ftLastWriteTime.dwHighDateTime) << 32) | d.ftLastWriteTime.dwLowDateTime;
}

uint32_t FileVersion(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    uint32_t version = 0;
    if (bytes.size() >= 20) std::memcpy(&version, bytes.data() + 16, 4);
    return version;
}

// One element and its members as text: the record with the fields that
// point into memory left out, the text of a text element, the link entry.
void DumpElement(StoredElement* e, DbHeader* db, int depth, std::string& out) {
    ElementRecord rec = e->rec;
    std::string text;
    switch (rec.kind) {
    case kElmText:
        if (const char* s = static_cast<const char*>(CadGetPtr(&rec, kOffTextPtr))) text = s;
        CadSetPtr(&rec, kOffTextPtr, nullptr);
        break;
    case kElmBlock: CadSetPtr(&rec, kOffBlockHandle, nullptr); break;
    case kElmRaster:
        CadSetPtr(&rec, kOffRasterComp, nullptr);
        CadSetPtr(&rec, kOffRasterBits, nullptr);
        CadSetU32(&rec, kOffRasterBitsSize, 0);
        reinterpret_cast<uint8_t*>(&rec)[kOffRasterExpanded] = 0;
        break;
    default: break;
    }
    char line[40];
    wsprintfA(line, "%d:%d:", depth, rec.kind);
    out += line;
    static const char hex[] = "0123456789abcdef";
    for (size_t i = 0; i < sizeof rec; ++i) {
        const uint8_t b = reinterpret_cast<const uint8_t*>(&rec)[i];
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    char tags[300] = {};
    DAriGetTagString(e, tags);
    out += " \"" + text + "\" [" + tags + "]\n";
    int left = DAriGetMemberNum(e, db);
    if (left <= 0 || rec.kind == kElmFigure) return;  // a placed figure's members are its definition's
    for (StoredElement* m = DAriReadFirstMember(e, nullptr, db); m && left > 0;
         m = DAriReadNextMember(m, nullptr, db), --left)
        DumpElement(m, db, depth + 1, out);
}

// The whole drawing as text; empty when it does not load.
std::string DumpDrawing(const std::string& path, int* elements) {
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    if (!DAriCreateDB(&db)) return std::string();
    uint32_t status = 0;
    std::string out;
    if (DAriLoadFileOfCWX(path.c_str(), &db, &status) == 1) {
        *elements = DAriGetElmNum(&db);
        for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, &db); e; e = DAriReadElement(e, 1, nullptr, &db))
            DumpElement(e, &db, 0, out);
    }
    DAriDeleteDB(&db);
    return out;
}

// Saves the active drawing over its file (4012 asks first) and waits until
// the frame has done it.
bool SaveActive(AppSession& app) {
    if (!app.Command(4012)) return false;
    HWND box = app.WaitBox();
    if (!box) return false;
    app.Post(box, WM_COMMAND, IDOK);
    for (DWORD start = GetTickCount(); app.WaitBox(0);) {
        if (GetTickCount() - start > 20000) return false;
        Sleep(50);
    }
    // The save runs on the frame's thread: a message that comes back has
    // waited for it.
    app.SendFrame(WM_NULL);
    return true;
}

// Makes the drawing window whose title names `file` the active one.
bool Activate(AppSession& app, const std::string& file) {
    HWND client = FindWindowExA(app.Frame(), nullptr, "MDIClient", nullptr);
    for (HWND w = client ? GetWindow(client, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT)) {
        char t[300] = {};
        DWORD_PTR r = 0;
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t), SMTO_NORMAL, 5000, &r);
        if (std::string(t).find(file) == std::string::npos) continue;
        app.Send(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w));
        return reinterpret_cast<HWND>(app.Send(client, WM_MDIGETACTIVE)) == w;
    }
    return false;
}

TEST(DrawingFileVersions, BothLayoutsOpenFromTheCommandLineAndByDdeAndSaveInTheNewOne) {
    const std::string oldLayout = SourceFile("tests/app/sample_v1.tcf");
    const std::string newLayout = SourceFile("data/samples/sample.tcf");
    ASSERT_EQ(1u, FileVersion(oldLayout)) << oldLayout;
    ASSERT_EQ(2u, FileVersion(newLayout)) << newLayout;
    int oldCount = 0, newCount = 0;
    const std::string oldDump = DumpDrawing(oldLayout, &oldCount);
    const std::string newDump = DumpDrawing(newLayout, &newCount);
    ASSERT_FALSE(oldDump.empty());
    ASSERT_FALSE(newDump.empty());
    EXPECT_EQ(oldDump, newDump) << "the fixture is the sample in the old layout";

    // Each session opens one layout from its command line and the other by
    // DDE, so that each layout comes in both ways.
    struct Case {
        const char* tag;
        const std::string* byCommandLine;
        const std::string* byDde;
    };
    const Case cases[] = {{"v1cmd", &oldLayout, &newLayout}, {"v2cmd", &newLayout, &oldLayout}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        AppSession app(c.tag);
        ASSERT_TRUE(app.Prepared()) << app.LastError();
        const std::string first = app.UserDir() + "\\cmdline.tcf";
        const std::string second = app.UserDir() + "\\bydde.tcf";
        ASSERT_TRUE(CopyFileA(c.byCommandLine->c_str(), first.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA(c.byDde->c_str(), second.c_str(), FALSE));
        // The copies keep the source's write time: a save moves it on.
        const ULONGLONG copied = std::max(WriteTime(first), WriteTime(second));
        ASSERT_TRUE(app.Start("\"" + first + "\"")) << app.LastError();
        ASSERT_TRUE(app.WaitDrawingCount(1));
        ASSERT_NE(nullptr, app.OpenDrawing(second)) << "opened by DDE";
        ASSERT_TRUE(app.WaitDrawingCount(2));

        ASSERT_TRUE(SaveActive(app)) << "the drawing opened by DDE";
        ASSERT_TRUE(Activate(app, "cmdline.tcf"));
        ASSERT_TRUE(SaveActive(app)) << "the drawing opened from the command line";
        ASSERT_TRUE(app.Close()) << app.LastError();

        for (const std::string* saved : {&first, &second}) {
            SCOPED_TRACE(*saved);
            EXPECT_GT(WriteTime(*saved), copied) << "written by the save";
            EXPECT_EQ(2u, FileVersion(*saved)) << "saved in the new layout";
            int count = 0;
            const std::string dump = DumpDrawing(*saved, &count);
            EXPECT_EQ(oldCount, count);
            EXPECT_EQ(oldDump, dump) << "the same elements";
        }
    }
}

}  // namespace
