// The system log: one line per event in a daily file of the log folder and,
// while the external log viewer (a top-level window titled
// "KOLTA_LOGVIEWER") is open, one global atom per line posted to it with the
// registered message "CwEsLogMsg". Also the small clock functions other
// parts use for time stamps and intervals.
#pragma once

#include <windows.h>

#include <string>

// The log object of the run; its state is process-wide.
class CSystemLog {
public:
    static CSystemLog& Instance();
};

// Creates today's log file with its header, after deleting log files older
// than nLogKeepDays. 1 when open or switched off (LOG = 0), 0 when the file
// cannot be created.
int OpenSystemLog();

// A line of `level` with an optional category and a printf-style text (the
// system's bounded formatter). Lines with a category pass the LOG level,
// lines without the CMDLOG level.
void WriteSystemLog(int level, const char* category, const char* format, ...);

// The same for a finished text (no formatting), for callers that hold one.
void WriteSystemLogText(int level, const char* category, const char* text);

// Local time of now as "%02d:%02d:%02d" (out holds at least 9 bytes).
void FormatLogTime(char* out, size_t size);

// Seconds on a clock that only moves forward: intervals taken from it stay
// right across midnight and month ends.
long GetClockSeconds();
// The same clock in milliseconds.
double GetClockMilliseconds();

// Scales a byte count for the header: "byte", "KB", "MB" or "GB".
double FormatByteSize(double bytes, const char** unit);

// The full path of today's log file; empty until the log was opened.
std::string GetSystemLogPath();

// The message "CwEsLogMsg", registered once (the application object does it
// at start-up; the first post does it otherwise).
UINT RegisterLogMessage();

// Tests set the local time the log and the clock see; null restores the
// real clock.
void SetSystemLogClock(const SYSTEMTIME* localTime);
// Forgets the opened file (tests).
void ResetSystemLog();
