// The byte-value codec of the storage nodes, the restore queue and scaling of
// the state objects, and a save/load round trip of configMain.xml on disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "docking/dock_wnd_state.h"
#include "docking/stg_xml.h"

using namespace zav;

namespace {

struct ComScope {
    ComScope() { ::CoInitialize(nullptr); }
    ~ComScope() { ::CoUninitialize(); }
};

std::string TempPath(const char* name) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

size_t Count(const std::string& s, const std::string& what) {
    size_t n = 0;
    for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1))
        ++n;
    return n;
}

}  // namespace

TEST(StgXml, ByteValuesAsHexText) {
    ComScope com;
    CStgXML root;
    ASSERT_EQ(0, root.CreateDocument("config"));
    const unsigned char two[] = {0x2C, 0x00};
    ASSERT_EQ(0, root.SetBinary("v", two, 2));
    char text[16] = {};
    unsigned long size = sizeof text;
    ASSERT_EQ(0, root.GetString("v", text, &size));
    EXPECT_EQ(std::string("2c 00 "), std::string(text, size));
    int k = 1024;
    EXPECT_EQ("00 04 00 00 ", EncodeStgBytes(&k, 4));

    struct Row {
        const char* name;
        const char* stored;  // nullptr: attribute absent
        unsigned long bufferSize;
        long result;
        unsigned long sizeOut;  // checked when the result is 0 or 234
        std::vector<int> bytes;
    } rows[] = {
        {"fits exactly", "2c 00 ", 2, 0, 2, {0x2C, 0x00}},
        {"buffer too small", "2c 00 ", 1, 234, 2, {}},
        {"missing attribute", nullptr, 8, 2, 0, {}},
        {"empty attribute", "", 8, 87, 0, {}},
        {"stops at a token that is not hex", "2C 0 1ff zz 05", 8, 0, 3, {0x2C, 0x00, 0xFF}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CStgXML node;
        ASSERT_EQ(0, node.Create(root, "rows"));
        if (r.stored) {
            ASSERT_EQ(0, node.SetString("x", r.stored));
        }
        unsigned char buf[8] = {};
        unsigned long n = r.bufferSize;
        CStgXML again;
        ASSERT_EQ(0, again.Open(root, "rows"));
        long res = again.GetBinary(r.stored ? "x" : "absent", buf, &n);
        EXPECT_EQ(r.result, res);
        if (res == 0 || res == 234) {
            EXPECT_EQ(r.sizeOut, n);
        }
        for (size_t i = 0; i < r.bytes.size(); ++i)
            EXPECT_EQ(r.bytes[i], buf[i]) << "byte " << i;
    }
}

TEST(StgXml, NodesOpenCreateAndRefuseCommas) {
    ComScope com;
    CStgXML root;
    ASSERT_EQ(0, root.CreateDocument("config"));
    CStgXML a, b, c;
    EXPECT_EQ(2, a.Open(root, "General"));
    EXPECT_EQ(0, a.Create(root, "General"));
    EXPECT_EQ(0, a.SetString("k", "one"));
    EXPECT_EQ(0, b.Create(root, "General")) << "an existing child is reused";
    char buf[8];
    unsigned long n = sizeof buf;
    EXPECT_EQ(0, b.GetString("k", buf, &n));
    EXPECT_EQ("one", std::string(buf, n));
    EXPECT_EQ(-1, c.Open(root, "a,b"));
    EXPECT_EQ(-1, c.Create(root, "a,b"));
    EXPECT_TRUE(c.IsEmpty());
    n = 2;
    EXPECT_EQ(234, b.GetString("k", buf, &n));
    EXPECT_EQ(3u, n);
}

namespace {

// A fake pane: records the order and values its placement is applied with.
struct FakePane : CStateBase<IDockWndState> {
    std::vector<int>* order;
    int tag;
    DockWindowPlacement current = {};
    DockWindowPlacement applied = {};
    int applies = 0, defaults = 0, captures = 0;
    FakePane(std::vector<int>* o, int t) : order(o), tag(t) {}
    bool CaptureDefault() override {
        ++captures;
        return true;
    }
    bool GetPlacement(DockWindowPlacement& out) override {
        out = current;
        return true;
    }
    bool ApplyPlacement(const DockWindowPlacement& p, StateRatio x, StateRatio y) override {
        applied = ScaleDockPlacement(p, x, y);
        ++applies;
        order->push_back(tag);
        return true;
    }
    bool RestoreDefault() override {
        ++defaults;
        return true;
    }
    bool Store(IStorge&) override { return true; }
    bool Restore(IStorge&, StateRatio, StateRatio) override { return true; }
};

DockWindowPlacement Docked(uint32_t side, uint32_t bar, float fraction, int thickness = 100, int length = 200) {
    DockWindowPlacement p = {};
    p.position.side = side;
    p.position.barIndex = bar;
    p.position.fraction = fraction;
    p.position.thickness = thickness;
    p.position.length = length;
    p.docked = 1;
    p.visible = 1;
    p.floatRect = {300, 200, 500, 400};
    return p;
}

}  // namespace

TEST(DockWndMgr, RestoreQueueOrder) {
    ComScope com;
    std::vector<int> order;
    // Stored: a top-single pane, two panes of one left bar (0.5 before 0.0 in id order),
    // a bottom pane, a second left bar, and a floating pane.
    struct Row {
        int tag;
        DockWindowPlacement p;
    } rows[] = {
        {1, Docked(DOCK_SIDE_TOP | DOCK_FLAG_SINGLE, 0, 0.0f)},
        {2, Docked(DOCK_SIDE_LEFT, 0, 0.5f)},
        {3, Docked(DOCK_SIDE_LEFT, 0, 0.0f)},
        {4, Docked(DOCK_SIDE_BOTTOM, 0, 0.0f)},
        {5, Docked(DOCK_SIDE_LEFT, 1, 0.0f)},
        {6, {}},
        {7, Docked(DOCK_SIDE_RIGHT, 0, 0.25f)},
    };
    rows[5].p.floatRect = {10, 10, 110, 110};
    CStgXML root;
    ASSERT_EQ(0, root.CreateDocument("config"));
    CDockWndMgr mgr;
    std::vector<FakePane*> panes;
    for (Row& r : rows) {
        FakePane* p = new FakePane(&order, r.tag);
        p->current = r.p;
        mgr.Add(p);
        panes.push_back(p);
        p->Release();  // the manager holds the only reference now
    }
    FakePane* missing = new FakePane(&order, 8);  // added after the save: no stored value
    ASSERT_TRUE(mgr.Impl()->Store(root));
    mgr.Add(missing);
    missing->Release();
    ASSERT_TRUE(mgr.Impl()->Restore(root, StateRatio(), StateRatio()));
    // Floating first (applied at once), then left (outer bar first, start first), top, right, bottom.
    EXPECT_EQ((std::vector<int>{6, 3, 2, 5, 1, 7, 4}), order);
    for (FakePane* p : panes)
        EXPECT_EQ(1, p->captures);
    EXPECT_EQ(1, missing->defaults);
    EXPECT_EQ(0, missing->applies);
    EXPECT_LT(DockRestoreKey(Docked(DOCK_SIDE_LEFT, 0, 0.999f)), DockRestoreKey(Docked(DOCK_SIDE_LEFT, 1, 0.0f)));
}

TEST(DockWndMgr, ScalingFollowsTheWorkArea) {
    struct Row {
        const char* name;
        StateRatio x, y;
        DockWindowPlacement in;
        int thickness, length;
        RECT floatRect;
    } rows[] = {
        {"left pane: thickness by x, length by y",
         MakeStateRatio(1280, true, 1920),
         MakeStateRatio(984, true, 1040),
         Docked(DOCK_SIDE_LEFT, 0, 0.0f, 300, 520),
         200,
         492,
         {200, 189, 333, 378}},
        {"top pane: thickness by y, length by x",
         MakeStateRatio(1280, true, 1920),
         MakeStateRatio(984, true, 1040),
         Docked(DOCK_SIDE_TOP, 0, 0.0f, 104, 960),
         98,
         640,
         {200, 189, 333, 378}},
        {"keep-size flag",
         MakeStateRatio(1280, true, 1920),
         MakeStateRatio(984, true, 1040),
         Docked(DOCK_SIDE_LEFT | DOCK_FLAG_KEEP_SIZE, 0, 0.0f, 300, 520),
         300,
         520,
         {200, 189, 333, 378}},
        {"same work area: unchanged",
         MakeStateRatio(1280, true, 1280),
         MakeStateRatio(984, true, 984),
         Docked(DOCK_SIDE_LEFT, 0, 0.0f, 300, 520),
         300,
         520,
         {300, 200, 500, 400}},
        {"stored extent 0 counts as unchanged",
         MakeStateRatio(1280, true, 0),
         MakeStateRatio(984, true, 0),
         Docked(DOCK_SIDE_LEFT, 0, 0.0f, 300, 520),
         300,
         520,
         {300, 200, 500, 400}},
        {"stored extent missing",
         MakeStateRatio(1280, false, 1920),
         MakeStateRatio(984, false, 1040),
         Docked(DOCK_SIDE_LEFT, 0, 0.0f, 300, 520),
         300,
         520,
         {300, 200, 500, 400}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        DockWindowPlacement s = ScaleDockPlacement(r.in, r.x, r.y);
        EXPECT_EQ(r.thickness, s.position.thickness);
        EXPECT_EQ(r.length, s.position.length);
        EXPECT_EQ(r.floatRect.left, s.floatRect.left);
        EXPECT_EQ(r.floatRect.top, s.floatRect.top);
        EXPECT_EQ(r.floatRect.right, s.floatRect.right);
        EXPECT_EQ(r.floatRect.bottom, s.floatRect.bottom);
    }
}

namespace {

struct MainWindow {
    HWND hwnd;
    MainWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZavStateTestMain";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, "main", WS_OVERLAPPEDWINDOW, 100, 80, 640, 480, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~MainWindow() { ::DestroyWindow(hwnd); }
};

// Writes a configMain.xml the way the shell does: state tree plus the pane values.
void SaveLayout(const std::string& path, CWindowStateMgr& mgr) {
    CStgXML root;
    ASSERT_EQ(0, root.CreateDocument("config"));
    ASSERT_TRUE(mgr.Store(root));
    DockWindowPlacement p = Docked(DOCK_SIDE_RIGHT, 0, 0.0f);
    for (int i = 0; i < 4; ++i) {
        std::string name = "DfdockPos" + std::to_string(i);
        ASSERT_EQ(0, root.SetBinary(name.c_str(), &p, sizeof p));
    }
    int maximized = 0;
    ASSERT_EQ(0, root.SetBinary("MDIWinMaximized", &maximized, 4));
    ASSERT_EQ(0, root.SaveDocument(path.c_str()));
}

}  // namespace

TEST(ConfigMainXml, SaveLoadRoundTripOnDisk) {
    ComScope com;
    const std::string path = TempPath("zav_configMain_test.xml");
    ::DeleteFileA(path.c_str());
    MainWindow main;
    ASSERT_TRUE(main.hwnd);
    std::vector<int> order;
    CWindowStateMgr mgr;
    mgr.Initialize(main.hwnd, SW_SHOWDEFAULT);
    CDockWndMgr panes;
    FakePane* left = new FakePane(&order, 1);
    left->current = Docked(DOCK_SIDE_LEFT | DOCK_FLAG_SINGLE, 0, 0.0f, 210, 400);
    FakePane* floating = new FakePane(&order, 2);
    floating->current.floatRect = {40, 50, 240, 350};
    panes.Add(left);
    panes.Add(floating);
    left->Release();
    floating->Release();
    uint32_t id = mgr.Add(panes.Impl());
    EXPECT_EQ(0xFFFFFFFFu, id);
    SaveLayout(path, mgr);

    const std::string text = ReadAll(path);
    EXPECT_NE(std::string::npos, text.find("<?xml version=\"1.0\"?>")) << text;
    EXPECT_NE(std::string::npos, text.find("<config")) << text;
    EXPECT_NE(std::string::npos, text.find("<General SM_CXSCREEN=\"")) << text;
    EXPECT_NE(std::string::npos, text.find("<MainWindow placement=\"2c 00 00 00 ")) << text;
    EXPECT_NE(std::string::npos, text.find("<Wnd-0xffffffff Wnd-0xfffffffe=\"")) << text;
    EXPECT_LT(text.find("Wnd-0xfffffffe=\""), text.find("Wnd-0xffffffff=\"")) << "ascending ids";
    EXPECT_NE(std::string::npos, text.find("DfdockPos3=\"")) << text;

    // Move the window, then restore: the stored placement comes back.
    ::SetWindowPos(main.hwnd, nullptr, 5, 5, 300, 200, SWP_NOZORDER);
    CStgXML loaded;
    ASSERT_EQ(0, loaded.LoadDocument(path.c_str(), "config"));
    ASSERT_TRUE(mgr.Restore(loaded));
    WINDOWPLACEMENT wp = {sizeof wp};
    ::GetWindowPlacement(main.hwnd, &wp);
    EXPECT_EQ(100, wp.rcNormalPosition.left);
    EXPECT_EQ(80, wp.rcNormalPosition.top);
    EXPECT_EQ(740, wp.rcNormalPosition.right);
    EXPECT_EQ(560, wp.rcNormalPosition.bottom);
    EXPECT_EQ((std::vector<int>{2, 1}), order) << "the floating pane at once, the docked one from the queue";
    EXPECT_EQ(210, left->applied.position.thickness);
    EXPECT_EQ(240, floating->applied.floatRect.right);
    DockWindowPlacement p = {};
    unsigned long size = sizeof p;
    EXPECT_EQ(0, loaded.GetBinary("DfdockPos2", &p, &size));
    EXPECT_EQ(60u, size);
    EXPECT_EQ(static_cast<uint32_t>(DOCK_SIDE_RIGHT), p.position.side);

    // Saving the loaded document again changes values in place, duplicating nothing.
    ASSERT_TRUE(mgr.Store(loaded));
    ASSERT_EQ(0, loaded.SaveDocument(path.c_str()));
    const std::string again = ReadAll(path);
    EXPECT_EQ(1u, Count(again, "<General")) << again;
    EXPECT_EQ(1u, Count(again, "<MainWindow")) << again;
    EXPECT_EQ(1u, Count(again, "<?xml")) << again;
    EXPECT_EQ(1u, Count(again, "DfdockPos0=")) << again;
    ::DeleteFileA(path.c_str());
}

TEST(ConfigMainXml, ZeroOrMissingStoredWorkAreaDoesNotScale) {
    ComScope com;
    struct Row {
        const char* name;
        const char* cx;
        const char* cy;
    } rows[] = {
        {"zero width and height", "00 00 00 00 ", "00 00 00 00 "},
        {"values of the wrong size", "00 04 ", "01 "},
        {"values absent", nullptr, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string path = TempPath("zav_configMain_zero.xml");
        MainWindow main;
        std::vector<int> order;
        CWindowStateMgr mgr;
        mgr.Initialize(main.hwnd, SW_SHOWDEFAULT);
        CDockWndMgr panes;
        FakePane* left = new FakePane(&order, 1);
        left->current = Docked(DOCK_SIDE_LEFT, 0, 0.0f, 210, 400);
        panes.Add(left);
        left->Release();
        mgr.Add(panes.Impl());
        SaveLayout(path, mgr);
        CStgXML loaded, general;
        ASSERT_EQ(0, loaded.LoadDocument(path.c_str(), "config"));
        ASSERT_EQ(0, general.Open(loaded, "General"));
        if (r.cx) {
            general.SetString("SM_CXSCREEN", r.cx);
            general.SetString("SM_CYSCREEN", r.cy);
        } else {
            ASSERT_EQ(0, loaded.SaveDocument(path.c_str()));
            // Rewrite the file without the two values.
            std::string t = ReadAll(path);
            for (const char* attr : {" SM_CXSCREEN=\"", " SM_CYSCREEN=\""}) {
                size_t a = t.find(attr);
                ASSERT_NE(std::string::npos, a);
                size_t b = t.find('"', a + std::strlen(attr));
                t.erase(a, b + 1 - a);
            }
            std::ofstream(path, std::ios::binary) << t;
            ASSERT_EQ(0, loaded.LoadDocument(path.c_str(), "config"));
        }
        ASSERT_TRUE(mgr.Restore(loaded));
        WINDOWPLACEMENT wp = {sizeof wp};
        ::GetWindowPlacement(main.hwnd, &wp);
        EXPECT_EQ(100, wp.rcNormalPosition.left);
        EXPECT_EQ(740, wp.rcNormalPosition.right);
        EXPECT_EQ(210, left->applied.position.thickness);
        EXPECT_EQ(400, left->applied.position.length);
        EXPECT_EQ(300, left->applied.floatRect.left);
        ::DeleteFileA(path.c_str());
    }
}
