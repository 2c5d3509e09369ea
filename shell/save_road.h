// The drawing save road: SaveDrawingAs decides between saving under the
// window's name, asking first and the save-as dialog; SaveDrawingFile writes
// one file by its kind.
//
// Every write of the system's own kinds goes to a temporary file in the
// target's folder and is moved over the target only once complete, through
// the seam below, so that a refused write, a full disk or a crash between
// the two steps leaves the old file as it was.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// Modes: 0 save as (dialog), 1 overwrite save (asks; dialog without name),
// 2 under its own name without a question, 3 as 2 for the window showing
// SaveRoadNameBuffer, 4 as 0. 1 when saved, 0 refused or cancelled.
int SaveDrawingAs(HWND view, int mode);
// Writes the window's drawing to `fileName` (a 260-byte buffer, emptied for
// a refused kind). 1 on success.
int SaveDrawingFile(HWND view, char* fileName);
// Formats the name of removable-drive temporary file `number` into
// TempSavePath. 1.
int TempSaveName(long number);

// The extension of filter `index` (1-based) of a filter list (pairs of
// zero-terminated texts, the list ended by an empty one): its pattern from
// the first "." up to a ";" (".tcf" for "*.tcf"); "" when there is none.
std::string FilterExtension(const char* filters, DWORD index);
// `name` with the extension `ext`: an extension of its own (a "." after the
// last "") is replaced unless it already equals `ext` ignoring letter case;
// without one, `ext` is appended. An empty name stays empty.
std::string WithExtension(const std::string& name, const std::string& ext);
// The hook of the save dialog: centres the dialog on its monitor, gives
// its buttons the system's look, and when the user picks another file type
// puts that type's extension on the name in the file-name box.
UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);

extern char SaveRoadNameBuffer[260];
extern char TempSavePath[260];
// 1 after any successful save of an own kind.
extern int DrawingSavedFlag;

// The file steps of a save; tests inject failures here.
struct DrawingFileOps {
    // The library's write of kind 1 or 12 to `path`: 1 on success.
    std::function<int(const char* path, void* db, uint32_t* status, int kind)> write;
    // Moves the finished temporary file over the target (replacing it).
    std::function<BOOL(const char* from, const char* to)> replace;
    std::function<BOOL(const char* from, const char* to)> copy;
    std::function<UINT(const char* root)> driveType;
};
DrawingFileOps& SaveRoadFiles();
void ResetSaveRoadFiles();
