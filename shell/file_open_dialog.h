// The drawing file dialogs: the open dialog with the system's own panel
// under it (preview, drawing information, the thumbnail list and the import
// options) behind open (mode 0), placement (1), delete (10) and external
// reference (20); and the chooser of the drawing memo.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "view/db_info.h"

enum FileDialogMode { kFileDialogOpen = 0, kFileDialogPlace = 1, kFileDialogDelete = 10, kFileDialogExternalRef = 20 };

// Runs the dialog and acts on the chosen files; 0.
int RunFileOpenDialog(HWND owner, int mode);
// The memo chooser; the chosen path (empty when cancelled) in MemoFileName().
int ChooseMemoFile();
const char* MemoFileName();

// The dialog's file buffer as full paths: one path, or a folder followed by
// names; -1 for an empty buffer, else the number of paths.
int SplitDialogFileList(const char* buffer, std::vector<std::string>& out);
// A path of the form folder\"a.tcf" "b.tcf" becomes folder\a.tcf; any other
// path stays.
std::string StripQuotedName(const std::string& path);

// What the information panel shows.
struct OpenPanelInfo {
    int state = 0;  // 0 nothing, 1 a drawing's information, 3 a JW-CAD header
    DbInfoHead info = {};
    long elementCount = 0;
    bool fileFound = false;
    SYSTEMTIME lastWrite = {};  // local time
    unsigned long sizeLow = 0;
};
std::vector<std::string> OpenPanelLines(const OpenPanelInfo& panel);

// The dialog that is open (tests): its window, or null.
HWND OpenFileDialogWindow();
