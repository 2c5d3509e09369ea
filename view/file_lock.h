// Drawing-file locks: while a drawing window holds its file open, no other
// program (or second copy of this one) can open the file for writing.
//
// The handle is opened for reading and writing with read sharing only, so
// readers still see the file; it works for every path the file system
// takes, long and Japanese names included (the multimedia-file open stops at
// 127 bytes). Every operation succeeds at once and does nothing unless the
// setting SHARE (for CheckFileWritable: WRITECHK) is 1 and the name has
// more than 2 characters.
#pragma once

#include <windows.h>

struct ViewData;

// 1 when a directory search finds the name.
int FileExists(const char* fileName);
// 1 when the file opens for reading with read sharing.
int IsFileReadable(const char* fileName);
// 1 when the file could be locked now (the handle is closed again).
int CanLockDrawingFile(ViewData* data);
// Takes the lock for the window's file name: flag 1 and the handle kept;
// 0 (both cleared) when the file cannot be held.
int LockDrawingFile(ViewData* data);
// Releases the lock of the window's drawing (whichever of its windows holds
// it); flag and handle cleared. 1.
int UnlockDrawingFile(HWND view, ViewData* data);
// Before a save: 0 when another program holds the file against writing.
int CheckFileWritable(const char* fileName);

// The lock handle of a file name held open as a lock (tests).
HANDLE OpenLockHandle(const char* fileName);
