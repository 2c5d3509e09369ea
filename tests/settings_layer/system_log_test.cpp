// The system log on real files, with a real viewer window titled
// "KOLTA_LOGVIEWER" receiving the lines as global atoms.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/dbcs.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "test_files.h"

namespace {

SYSTEMTIME Local(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

// A fake log viewer: a top-level window with the viewer's title that
// collects the atoms it is sent.
class Viewer {
public:
    Viewer() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TestLogViewer";
        RegisterClassA(&wc);
        hwnd_ = CreateWindowA("TestLogViewer", "KOLTA_LOGVIEWER", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
        lines_ = &lines;
    }
    ~Viewer() {
        DestroyWindow(hwnd_);
        lines_ = nullptr;
    }
    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    HWND hwnd_;
    std::vector<std::string> lines;  // "<no atom>" for lParam 0

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == RegisterLogMessage() && lines_) {
            ATOM atom = static_cast<ATOM>(lParam);
            char text[300] = "";
            if (atom) {
                GlobalGetAtomNameA(atom, text, sizeof text);
                GlobalDeleteAtom(atom);
                lines_->push_back(text);
            } else {
                lines_->push_back("<no atom>");
            }
            EXPECT_EQ(0u, wParam);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    static std::vector<std::string>* lines_;
};
std::vector<std::string>* Viewer::lines_ = nullptr;

void SetFileAge(const std::string& path, const SYSTEMTIME& localNow, int days) {
    FILETIME local, utc;
    SystemTimeToFileTime(&localNow, &local);
    ULARGE_INTEGER t;
    t.LowPart = local.dwLowDateTime;
    t.HighPart = local.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(days) * 864000000000ULL;
    local.dwLowDateTime = t.LowPart;
    local.dwHighDateTime = t.HighPart;
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE f = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(f, nullptr, nullptr, &utc);
    CloseHandle(f);
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t at; (at = bytes.find("\r\n", start)) != std::string::npos; start = at + 2)
        out.push_back(bytes.substr(start, at - start));
    return out;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

size_t DbcsBoundaryOf(const std::string& text) { return DbcsBoundary(text, text.size()); }

}  // namespace

class SystemLog : public ::testing::Test {
protected:
    void SetUp() override {
        folder_.reset(new TestFolder());
        ResetSystemLog();
        now_ = Local(2024, 1, 5, 9, 8, 7);
        SetSystemLogClock(&now_);
        std::snprintf(Running().logDir, sizeof Running().logDir, "%s", folder_->Path().c_str());
        Running().LOG = 2;
        Running().CMDLOG = 0;
        LocalIni().nLogKeepDays = 7;
    }
    void TearDown() override {
        SetSystemLogClock(nullptr);
        ResetSystemLog();
        Running().LOG = 0;
        Running().CMDLOG = 0;
        folder_.reset();
    }
    std::string Today(const char* number) const { return folder_->File(std::string("@20240105_") + number + ".LOG"); }

    std::unique_ptr<TestFolder> folder_;
    SYSTEMTIME now_;
};

TEST_F(SystemLog, FileHeaderAndLevels) {
    ASSERT_EQ(1, OpenSystemLog());
    EXPECT_EQ(Today("00"), GetSystemLogPath());
    WriteSystemLog(0, "Error", "失敗 %d", 5);
    WriteSystemLog(2, "Open File", "C:\\図面\\表示.tcf");
    WriteSystemLog(3, "Lock File", "too detailed");
    WriteSystemLog(0, nullptr, "no category: CMDLOG is 0");
    WriteSystemLog(2, "A category longer than sixteen", "KOLTA and KOLTA");

    const std::vector<std::string> lines = Lines(ReadBytes(Today("00")));
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(";システム動作記録 by Qv VantrelV8", lines[0]);
    EXPECT_EQ(";" + std::string(60, '-'), lines[1]);
    EXPECT_EQ(";@起動日時: 2024年01月05日(金) 09時08分07秒", lines[2]);
    EXPECT_EQ(";@編集ファイル名: " + Today("00"), lines[3]);
    EXPECT_EQ(0u, lines[4].find(";@ユーザー名: \\\\"));
    EXPECT_EQ(0u, lines[5].find(";@プロセッサの種類: "));
    EXPECT_EQ(0u, lines[6].find(";@OS: "));
    size_t body = 0;
    while (body < lines.size() && lines[body][0] == ';')
        ++body;
    EXPECT_EQ(";" + std::string(60, '-'), lines[body - 1]);
    bool memory = false;
    for (const std::string& line : lines) {
        if (line.find(";@物理メモリ 合計: ") != 0) continue;
        memory = true;
        const std::string figure = line.substr(std::string(";@物理メモリ 合計: ").size());
        EXPECT_NE(std::string::npos, figure.find('.')) << figure;
        EXPECT_TRUE(figure.find(" MB") != std::string::npos || figure.find(" GB") != std::string::npos) << figure;
    }
    EXPECT_TRUE(memory);
    const std::vector<std::string> expected = {
        "09:08:07, Error           ,\"失敗 5\"",
        "09:08:07, Open File       ,\"C:\\図面\\表示.tcf\"",
        "09:08:07, A category longer than sixteen,\"VantrelV8 and VantrelV8\"",
    };
    EXPECT_EQ(expected, std::vector<std::string>(lines.begin() + body, lines.end()));

    // CMDLOG above 0 lets lines without a category through.
    Running().CMDLOG = 1;
    WriteSystemLog(1, nullptr, "module line");
    EXPECT_EQ("09:08:07, module line", Lines(ReadBytes(Today("00"))).back());

    // Past midnight the run keeps writing to the file it opened.
    SYSTEMTIME next = Local(2024, 1, 6, 0, 0, 5);
    SetSystemLogClock(&next);
    WriteSystemLog(2, "Save File", "after midnight");
    EXPECT_EQ("00:00:05, Save File       ,\"after midnight\"", Lines(ReadBytes(Today("00"))).back());
    EXPECT_FALSE(FileExists(folder_->File("@20240106_00.LOG")));
}

TEST_F(SystemLog, FileThatCannotBeCreated) {
    const std::string missing = folder_->File("no\\such\\folder");
    std::snprintf(Running().logDir, sizeof Running().logDir, "%s", missing.c_str());
    EXPECT_EQ(0, OpenSystemLog());
    EXPECT_EQ(missing + "\\@20240105_00.LOG", GetSystemLogPath()) << "the path stays set";
    WriteSystemLog(0, "Error", "dropped without a message");
    EXPECT_FALSE(FileExists(GetSystemLogPath()));
}

TEST_F(SystemLog, LogOffCreatesNothing) {
    Running().LOG = 0;
    WriteFile(folder_->File("@20230101_00.LOG"), "old");
    SetFileAge(folder_->File("@20230101_00.LOG"), now_, 30);
    EXPECT_EQ(1, OpenSystemLog());
    EXPECT_EQ("", GetSystemLogPath());
    EXPECT_FALSE(FileExists(Today("00")));
    EXPECT_TRUE(FileExists(folder_->File("@20230101_00.LOG"))) << "no clean-up either";
    WriteSystemLog(0, "Error", "dropped");
}

TEST_F(SystemLog, NumbersAndReuse) {
    for (int n = 0; n < 11; ++n) {
        char name[8];
        std::snprintf(name, sizeof name, "%02X", n);
        WriteFile(Today(name), "x");
    }
    ASSERT_EQ(1, OpenSystemLog());
    EXPECT_EQ(Today("0B"), GetSystemLogPath());

    for (int n = 0; n < 100; ++n) {
        char name[8];
        std::snprintf(name, sizeof name, "%02X", n);
        WriteFile(Today(name), "previous run");
    }
    ResetSystemLog();
    ASSERT_EQ(1, OpenSystemLog());
    EXPECT_EQ(Today("63"), GetSystemLogPath());
    EXPECT_EQ(std::string::npos, ReadBytes(Today("63")).find("previous run")) << "emptied and reused";
}

TEST_F(SystemLog, CleanUpByAge) {
    struct Row {
        int keepDays;
        bool oldKept;
        bool recentKept;
    } rows[] = {
        {7, false, true},
        {-1, true, true},
        {0, false, false},
        {40, true, true},
        // Ages beyond the calendar keep everything; 21350399 days once wrapped
        // the cut-off to 18 hours before now.
        {21350399, true, true},
        {2147483647, true, true},
    };
    for (const Row& row : rows) {
        const std::string old = folder_->File("@20231201_00.LOG");
        const std::string recent = folder_->File("@20240104_00.LOG");
        const std::string other = folder_->File("@20231201_000.LOG");  // 17 characters: not ours
        WriteFile(old, "o");
        WriteFile(recent, "r");
        WriteFile(other, "x");
        SetFileAge(old, now_, 35);
        SetFileAge(recent, now_, 1);
        SetFileAge(other, now_, 35);
        LocalIni().nLogKeepDays = row.keepDays;
        ResetSystemLog();
        ASSERT_EQ(1, OpenSystemLog());
        EXPECT_EQ(row.oldKept, FileExists(old)) << "keep days " << row.keepDays;
        EXPECT_EQ(row.recentKept, FileExists(recent)) << "keep days " << row.keepDays;
        EXPECT_TRUE(FileExists(other)) << "keep days " << row.keepDays;
        DeleteFileA(GetSystemLogPath().c_str());
    }
}

TEST_F(SystemLog, ViewerReceivesEveryLine) {
    Viewer viewer;
    ASSERT_TRUE(viewer.hwnd_);

    // Before the log is opened, lines reach only the viewer.
    WriteSystemLog(2, "System", "システム初期化 OK");
    viewer.Pump();
    ASSERT_EQ(1u, viewer.lines.size());
    EXPECT_EQ("System          ,\"システム初期化 OK\"", viewer.lines[0]);

    ASSERT_EQ(1, OpenSystemLog());
    WriteSystemLog(3, "Lock File", "above the level: still to both");
    WriteSystemLog(0, nullptr, "KOLTA module");
    viewer.Pump();
    ASSERT_EQ(3u, viewer.lines.size());
    EXPECT_EQ("Lock File       ,\"above the level: still to both\"", viewer.lines[1]);
    EXPECT_EQ("VantrelV8 module", viewer.lines[2]);
    const std::string file = ReadBytes(GetSystemLogPath());
    EXPECT_NE(std::string::npos, file.find("above the level: still to both"));
    EXPECT_EQ(std::string::npos, file.find("VantrelV8 module")) << "CMDLOG 0: no file line without category";

    // With the log switched off the viewer still gets the lines.
    Running().LOG = 0;
    WriteSystemLog(2, "DDE", "viewer only");
    viewer.Pump();
    EXPECT_EQ("DDE             ,\"viewer only\"", viewer.lines.back());
}

// Caller texts of any length: the file line is bounded, the viewer gets the
// line's beginning (an atom holds 255 characters), nothing is overrun.
TEST_F(SystemLog, LongTexts) {
    Viewer viewer;
    ASSERT_EQ(1, OpenSystemLog());
    std::string huge;
    while (huge.size() < 5000)
        huge += "表示ソ能力";
    WriteSystemLog(0, "Error", "%s", huge.c_str());
    WriteSystemLog(0, "Error", huge.c_str());  // as a format too
    WriteSystemLogText(0, std::string(3000, 'C').c_str(), huge.c_str());
    viewer.Pump();
    ASSERT_EQ(3u, viewer.lines.size());
    for (const std::string& line : viewer.lines) {
        EXPECT_LE(line.size(), 255u);
        EXPECT_GT(line.size(), 250u);
        EXPECT_EQ(line.size(), DbcsBoundaryOf(line)) << "cut on a character boundary";
    }
    const std::vector<std::string> lines = Lines(ReadBytes(GetSystemLogPath()));
    const std::string& formatted = lines[lines.size() - 3];
    EXPECT_LT(formatted.size(), 1100u);
    EXPECT_GT(formatted.size(), 1000u);
    EXPECT_EQ(3000u + 2 + huge.size() + 1 + 10, lines.back().size()) << "an unformatted text is written whole";
}

TEST_F(SystemLog, ClockAcrossMonthEnd) {
    struct Row {
        SYSTEMTIME from, to;
        long seconds;
    } rows[] = {
        {Local(2024, 1, 31, 23, 59, 59), Local(2024, 2, 1, 0, 0, 1), 2},
        {Local(2024, 2, 29, 23, 0, 0), Local(2024, 3, 1, 1, 0, 0), 7200},
        {Local(2023, 12, 31, 23, 59, 0), Local(2024, 1, 1, 0, 1, 0), 120},
        {Local(2024, 4, 30, 12, 0, 0), Local(2024, 4, 30, 12, 0, 30), 30},
    };
    for (const Row& row : rows) {
        SetSystemLogClock(&row.from);
        long a = GetClockSeconds();
        double am = GetClockMilliseconds();
        SetSystemLogClock(&row.to);
        EXPECT_EQ(row.seconds, GetClockSeconds() - a) << row.from.wMonth << "/" << row.from.wDay;
        EXPECT_DOUBLE_EQ(row.seconds * 1000.0, GetClockMilliseconds() - am);
    }
    char stamp[16];
    SYSTEMTIME t = Local(2024, 1, 5, 7, 5, 3);
    SetSystemLogClock(&t);
    FormatLogTime(stamp, sizeof stamp);
    EXPECT_STREQ("07:05:03", stamp);
    char tiny[4];
    FormatLogTime(tiny, sizeof tiny);
    EXPECT_STREQ("07:", tiny);
}

TEST(SystemLogSizes, FormatByteSize) {
    struct Row {
        double bytes;
        double value;
        const char* unit;
    } rows[] = {
        {0, 0, "byte"},
        {1023, 1023, "byte"},
        {1024, 1024, "byte"},
        {1536, 1.5, "KB"},
        {3.0 * 1024 * 1024, 3, "MB"},
        {5.0 * 1024 * 1024 * 1024, 5, "GB"},
        {8.0 * 1024 * 1024 * 1024 * 1024, 8192, "GB"},
    };
    for (const Row& row : rows) {
        const char* unit = nullptr;
        EXPECT_DOUBLE_EQ(row.value, FormatByteSize(row.bytes, &unit)) << row.bytes;
        EXPECT_STREQ(row.unit, unit) << row.bytes;
    }
}
