#include "view/file_lock.h"

#include <cstring>

#include "base/running_settings.h"
#include "base/system_log.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {
bool LocksOn(const char* name) { return Running().SHARE == 1 && name && std::strlen(name) > 2; }
}  // namespace

int FileExists(const char* fileName) {
    if (!fileName || !fileName[0]) return 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA(fileName, &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    ::FindClose(h);
    return 1;
}

int IsFileReadable(const char* fileName) {
    if (!fileName || !fileName[0]) return 0;
    HANDLE h =
        ::CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    ::CloseHandle(h);
    return 1;
}

HANDLE OpenLockHandle(const char* fileName) {
    HANDLE h = ::CreateFileA(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

int CanLockDrawingFile(ViewData* d) {
    if (!d || !LocksOn(d->fileName)) return 1;
    HANDLE h = OpenLockHandle(d->fileName);
    if (!h) return 0;
    ::CloseHandle(h);
    return 1;
}

int LockDrawingFile(ViewData* d) {
    if (!d || !LocksOn(d->fileName)) return 1;
    WriteSystemLog(3, "Lock File", "ファイルをロックしました (%s)", d->fileName);
    if (d->fileLocked && d->lockHandle) {
        ::CloseHandle(d->lockHandle);
    }
    HANDLE h = OpenLockHandle(d->fileName);
    d->lockHandle = h;
    d->fileLocked = h ? 1 : 0;
    return h ? 1 : 0;
}

namespace {
void Release(ViewData* d) {
    // A lock taken while SHARE was on is released even when it is off now.
    if (d->fileLocked != 1 && !d->lockHandle) return;
    WriteSystemLog(3, "UnLock File", "ロックしたファイルを解除しました (%s)", d->fileName);
    if (d->fileLocked == 1 && d->lockHandle) ::CloseHandle(d->lockHandle);
    d->fileLocked = 0;
    d->lockHandle = nullptr;
}
}  // namespace

int UnlockDrawingFile(HWND, ViewData* d) {
    if (!d) return 1;
    Release(d);
    // One window of a drawing shown several times holds its lock: the
    // drawing's file is free only when that one lets go too.
    if (d->shared) {
        for (HWND v = GetActiveView(); v; v = GetNextView(v))
            if (ViewData* o = GetViewData(v))
                if (o != d && o->drawingId == d->drawingId) Release(o);
    }
    return 1;
}

int CheckFileWritable(const char* fileName) {
    if (Running().WRITECHK != 1 || !fileName || std::strlen(fileName) <= 2) return 1;
    HANDLE r = ::CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (r == INVALID_HANDLE_VALUE) return 1;  // no such file yet: writable
    ::CloseHandle(r);
    HANDLE w = OpenLockHandle(fileName);
    if (!w) return 0;
    ::CloseHandle(w);
    return 1;
}
