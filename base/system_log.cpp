#include "base/system_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/dbcs.h"
#include "base/local_settings_ini.h"
#include "base/os_version.h"
#include "base/running_settings.h"
#include "base/text_utils.h"

namespace {

// The vendor and product folder names of the per-user folder; the header
// names the product by them and "KOLTA" in a line becomes the product name.
const char kVendorName[] = "Qv";
const char kProductName[] = "VantrelV8";
const char kViewerTitle[] = "KOLTA_LOGVIEWER";

struct LogState {
    std::string path;  // today's file, fixed for the run
    std::string dayPrefix;
    UINT message = 0;
    bool clockFixed = false;
    SYSTEMTIME clock{};
};

LogState& State() {
    static LogState state;
    return state;
}

void LocalNow(SYSTEMTIME* out) {
    if (State().clockFixed)
        *out = State().clock;
    else
        GetLocalTime(out);
}

ULONGLONG ToTicks(const FILETIME& t) {
    ULARGE_INTEGER u;
    u.LowPart = t.dwLowDateTime;
    u.HighPart = t.dwHighDateTime;
    return u.QuadPart;
}

std::string ExeFolder() {
    char module[MAX_PATH * 2] = "";
    GetModuleFileNameA(nullptr, module, sizeof module - 1);
    std::string path = module;
    size_t slash = DbcsFindLast(path, '\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string JoinFolder(std::string folder, const std::string& name) {
    if (!folder.empty() && DbcsFindLast(folder, '\\') != folder.size() - 1) folder += '\\';
    return folder + name;
}

// The log folder as a full path.
std::string LogFolder() {
    std::string dir = Running().logDir;
    if (dir.size() < 2) return ExeFolder();
    if (dir[0] == '\\' || (dir.size() > 2 && dir[2] == '\\' && !IsDbcsTrailAt(dir, 2))) return dir;
    return JoinFolder(ExeFolder(), dir);
}

void DeleteOldLogs(const std::string& folder, int keepDays) {
    SYSTEMTIME now;
    LocalNow(&now);
    FILETIME nowFile;
    if (!SystemTimeToFileTime(&now, &nowFile)) return;
    const ULONGLONG day = 864000000000ULL;
    const ULONGLONG nowTicks = ToTicks(nowFile);
    // An age reaching back before the calendar's start keeps every file (the
    // product could wrap and cut recent files).
    if (static_cast<ULONGLONG>(keepDays) > nowTicks / day) return;
    const ULONGLONG cutoff = nowTicks - static_cast<ULONGLONG>(keepDays) * day;

    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinFolder(folder, "@*.LOG").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (std::strlen(data.cFileName) != 16) continue;  // never a name of ours
        FILETIME local;
        if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) continue;
        if (ToTicks(local) < cutoff) DeleteFileA(JoinFolder(folder, data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

void WriteHeader(FILE* file, const std::string& path) {
    char line[1024];
    auto put = [&](const char* text) {
        std::fputs(text, file);
        std::fputs("\n", file);
    };
    FormatText(line, ";システム動作記録 by %s %s", kVendorName, kProductName);
    put(line);
    const char* rule = ";------------------------------------------------------------";
    put(rule);

    SYSTEMTIME now;
    LocalNow(&now);
    static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    char when[128];
    FormatText(when, "%04d年%02d月%02d日(%2s) %02d時%02d分%02d秒", now.wYear, now.wMonth, now.wDay,
               kWeekdays[now.wDayOfWeek % 7], now.wHour, now.wMinute, now.wSecond);
    FormatText(line, ";@起動日時: %s", when);
    put(line);
    FormatText(line, ";@編集ファイル名: %s", path.c_str());
    put(line);

    char computer[250] = "";
    DWORD computerSize = sizeof computer;
    if (!GetComputerNameA(computer, &computerSize)) computer[0] = '\0';
    char user[250] = "";
    DWORD userSize = sizeof user;
    if (WNetGetUserA(nullptr, user, &userSize) != NO_ERROR) user[0] = '\0';
    FormatText(line, ";@ユーザー名: \\\\%s\\%s", computer, user);
    put(line);

    SYSTEM_INFO info;
    GetSystemInfo(&info);
    char processor[64];
    switch (info.dwProcessorType) {
    case 386: FormatText(processor, "Intel 386"); break;
    case 486: FormatText(processor, "Intel 486"); break;
    case 586: FormatText(processor, "Intel Pentium"); break;
    default: FormatText(processor, "Type %ld", static_cast<long>(info.dwProcessorType)); break;
    }
    FormatText(line, ";@プロセッサの種類: %s", processor);
    put(line);

    OsVersionRecord record;
    ReadOsVersionRecord(&record);
    std::string osText;
    CGetOsVersion().GetVersionText(osText);
    FormatText(line, ";@OS: %s (v%ld.%ld)", osText.c_str(), static_cast<long>(record.major),
               static_cast<long>(record.minor));
    put(line);
    if (!record.servicePack.empty()) {
        FormatText(line, ";@CSDのバージョン: %s", record.servicePack.c_str());
        put(line);
    }

    const char* unit = "";
    if (path.empty() || path[0] != '\\') {
        char drive[3] = "";
        if (path.size() > 1 && path[1] == ':') {
            drive[0] = path[0];
            drive[1] = '\0';
        }
        char root[4] = {path.empty() ? 'C' : path[0], ':', '\\', '\0'};
        DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
        double freeBytes = 0;
        if (GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters))
            freeBytes = static_cast<double>(sectors) * bytes * freeClusters;
        double scaled = FormatByteSize(freeBytes, &unit);
        FormatText(line, ";@%sドライブの空き容量: %.2lf %s", drive, scaled, unit);
        put(line);
    }

    MEMORYSTATUSEX memory;
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    struct {
        const char* format;
        double value;
    } rows[] = {
        {";@物理メモリ 合計: %.2lf %s", static_cast<double>(memory.ullTotalPhys)},
        {";@物理メモリ 空き: %.2lf %s", static_cast<double>(memory.ullAvailPhys)},
        {";@ページングファイル 合計: %.2lf %s", static_cast<double>(memory.ullTotalPageFile)},
        {";@ページングファイル 空き: %.2lf %s", static_cast<double>(memory.ullAvailPageFile)},
    };
    for (const auto& row : rows) {
        double scaled = FormatByteSize(row.value, &unit);
        FormatText(line, row.format, scaled, unit);
        put(line);
    }
    put(rule);
}

// Replaces every "KOLTA" (on character boundaries) by the product name.
void ReplaceProductWord(std::string& text) {
    const char word[] = "KOLTA";
    const size_t n = sizeof word - 1;
    for (size_t i = 0; i + n <= text.size();) {
        if (text.compare(i, n, word) == 0) {
            text.replace(i, n, kProductName);
            i += sizeof kProductName - 1;
            continue;
        }
        size_t step = DbcsCharLength(text.c_str() + i);
        i += step ? step : 1;
    }
}

void PostToViewer(HWND viewer, const std::string& line) {
    // An atom holds at most 255 characters: a longer line reaches the viewer
    // cut on a character boundary rather than not at all.
    std::string text = line.substr(0, DbcsBoundary(line, 255));
    ATOM atom = GlobalAddAtomA(text.c_str());
    const UINT message = RegisterLogMessage();
    if (PostMessageA(viewer, message, 0, atom)) return;
    Sleep(50);
    if (PostMessageA(viewer, message, 0, atom)) return;
    if (atom) GlobalDeleteAtom(atom);
}

void WriteLine(int level, const char* category, const char* text) {
    const RunningSettings& running = Running();
    const int threshold = category ? running.LOG : running.CMDLOG;
    HWND viewer = FindWindowA(nullptr, kViewerTitle);
    const std::string& path = State().path;
    if (!viewer && (level > threshold || path.size() < 3)) return;

    std::string line;
    if (category) {
        line = category;
        if (line.size() < 16) line.append(16 - line.size(), ' ');
        line += ",\"";
        line += text;
        line += '"';
    } else {
        line = text;
    }
    ReplaceProductWord(line);

    if (threshold > 0 && !path.empty()) {
        if (FILE* file = std::fopen(path.c_str(), "a")) {
            char stamp[16];
            FormatLogTime(stamp, sizeof stamp);
            std::fputs(stamp, file);
            std::fputs(", ", file);
            std::fputs(line.c_str(), file);
            std::fputs("\n", file);
            std::fclose(file);
        }
    }
    if (viewer) PostToViewer(viewer, line);
}

}  // namespace

CSystemLog& CSystemLog::Instance() {
    static CSystemLog log;
    return log;
}

int OpenSystemLog() {
    if (Running().LOG == 0) return 1;
    const std::string folder = LogFolder();
    SYSTEMTIME now;
    LocalNow(&now);
    char prefix[32];
    FormatText(prefix, "@%04d%02d%02d_", now.wYear, now.wMonth, now.wDay);
    State().dayPrefix = prefix;

    const int keepDays = LocalIni().nLogKeepDays;
    if (keepDays >= 0) DeleteOldLogs(folder, keepDays);

    std::string path;
    for (int n = 0; n < 100; ++n) {
        char name[32];
        FormatText(name, "%s%02X.LOG", prefix, n);
        path = JoinFolder(folder, name);
        FILE* probe = std::fopen(path.c_str(), "r");
        if (!probe) break;
        std::fclose(probe);  // taken; with all 100 present the last one is reused
    }
    if (path.size() > 255) path.resize(DbcsBoundary(path, 255));
    State().path = path;

    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return 0;
    WriteHeader(file, path);
    std::fclose(file);
    return 1;
}

void WriteSystemLog(int level, const char* category, const char* format, ...) {
    const int threshold = category ? Running().LOG : Running().CMDLOG;
    if (level > threshold && !FindWindowA(nullptr, kViewerTitle)) return;  // neither formatted nor written
    char text[1024];
    va_list args;
    va_start(args, format);
    FormatTextV(text, sizeof text, format ? format : "", args);
    va_end(args);
    WriteLine(level, category, text);
}

void WriteSystemLogText(int level, const char* category, const char* text) {
    WriteLine(level, category, text ? text : "");
}

void FormatLogTime(char* out, size_t size) {
    SYSTEMTIME now;
    LocalNow(&now);
    FormatText(out, size, "%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
}

namespace {

// Seconds and milliseconds since 1 January 2000, local time.
bool ClockParts(long* seconds, int* milliseconds) {
    SYSTEMTIME now;
    LocalNow(&now);
    FILETIME file;
    if (!SystemTimeToFileTime(&now, &file)) {
        *seconds = 0;
        *milliseconds = now.wMilliseconds;
        return false;
    }
    SYSTEMTIME base = {2000, 1, 6, 1, 0, 0, 0, 0};
    FILETIME baseFile;
    SystemTimeToFileTime(&base, &baseFile);
    ULONGLONG t = ToTicks(file), b = ToTicks(baseFile);
    ULONGLONG since = t > b ? t - b : 0;
    *seconds = static_cast<long>(since / 10000000ULL);
    *milliseconds = now.wMilliseconds;
    return true;
}

}  // namespace

long GetClockSeconds() {
    long seconds = 0;
    int ms = 0;
    ClockParts(&seconds, &ms);
    return seconds;
}

double GetClockMilliseconds() {
    long seconds = 0;
    int ms = 0;
    if (!ClockParts(&seconds, &ms)) return ms;
    return static_cast<double>(seconds) * 1000.0 + ms;
}

double FormatByteSize(double bytes, const char** unit) {
    static const char* const kUnits[] = {"byte", "KB", "MB", "GB"};
    double value = bytes;
    int index = 0;
    for (int i = 0; i < 3; ++i) {
        double quotient = value / 1024.0;
        if (quotient < 1.0 + 1e-8) break;
        value = quotient;
        index = i + 1;
    }
    if (unit) *unit = kUnits[index];
    return value;
}

std::string GetSystemLogPath() { return State().path; }

UINT RegisterLogMessage() {
    if (!State().message) State().message = RegisterWindowMessageA("CwEsLogMsg");
    return State().message;
}

void SetSystemLogClock(const SYSTEMTIME* localTime) {
    State().clockFixed = localTime != nullptr;
    if (localTime) {
        State().clock = *localTime;
        // Keep the weekday right for the header.
        FILETIME file;
        if (SystemTimeToFileTime(localTime, &file)) FileTimeToSystemTime(&file, &State().clock);
    }
}

void ResetSystemLog() {
    State().path.clear();
    State().dayPrefix.clear();
}
