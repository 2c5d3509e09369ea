// The open and save file dialogs of the whole system go through these two
// functions, so that tests can answer them as they answer message boxes.
//
// A FileDialogTestHook, while it lives, shows no dialog: it records each
// call and fills the caller's OPENFILENAMEA from its queue of answers, with
// the same bounds and layout the platform uses (one full path, or for a
// multiple selection the folder and then each name, each ended by a zero,
// the list ended by a second zero). A buffer too small for the answer
// fails the call as the platform does (FNERR_BUFFERTOOSMALL, the needed size
// in the first two bytes).
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <deque>
#include <string>
#include <vector>

BOOL ZavGetOpenFileName(OPENFILENAMEA* ofn);
BOOL ZavGetSaveFileName(OPENFILENAMEA* ofn);

namespace win {

// Splits what a dialog returned into full paths (handles both the single
// path and the multiple-selection layout). Empty when nothing was chosen.
std::vector<std::string> SelectedFiles(const OPENFILENAMEA& ofn);

struct FileDialogCall {
    bool save = false;
    HWND owner = nullptr;
    std::string title;
    std::string initialDir;
    std::string initialFile;           // the buffer's content at the call
    std::vector<std::string> filters;  // name, pattern, name, pattern ...
    DWORD filterIndex = 0;
    DWORD flags = 0;
    std::string defExt;
};

class FileDialogTestHook {
public:
    FileDialogTestHook();
    ~FileDialogTestHook();
    FileDialogTestHook(const FileDialogTestHook&) = delete;
    FileDialogTestHook& operator=(const FileDialogTestHook&) = delete;

    // The next dialog returns this full path (with filter `filterIndex`, or
    // the caller's index when 0).
    FileDialogTestHook& Choose(const std::string& path, DWORD filterIndex = 0);
    // The next dialog returns several files of one folder.
    FileDialogTestHook& ChooseMany(const std::string& folder, const std::vector<std::string>& names);
    // The next dialog is cancelled. An empty queue also cancels.
    FileDialogTestHook& Cancel();

    const std::vector<FileDialogCall>& Calls() const { return m_calls; }
    BOOL Take(bool save, OPENFILENAMEA* ofn);

private:
    struct Answer {
        bool cancel = false;
        std::string folder;              // multiple selection only
        std::vector<std::string> names;  // one full path, or names in folder
        DWORD filterIndex = 0;
    };
    std::deque<Answer> m_answers;
    std::vector<FileDialogCall> m_calls;
    FileDialogTestHook* m_outer = nullptr;
};

// The extended error of the last hooked call (0, or FNERR_BUFFERTOOSMALL);
// when no hook is installed, CommDlgExtendedError().
DWORD FileDialogError();

}  // namespace win
