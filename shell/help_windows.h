// Help windows: help documents that are not Windows help files are opened
// through the shell in the program the user has registered for them. The
// names of the documents so opened are remembered, and when the process
// ends the viewer windows this process started for them are closed, so
// that no help viewer outlives the application.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CCadIntHelp {
public:
    CCadIntHelp() = default;
    ~CCadIntHelp();
    CCadIntHelp(const CCadIntHelp&) = delete;
    CCadIntHelp& operator=(const CCadIntHelp&) = delete;

    // Opens the path with verb "open"; the shell's result (above 32 is
    // success). With `remember` the file name, lower-cased, is kept once.
    int OpenHelpFile(const char* path, bool remember);
    // Closes the viewer windows: top-level windows whose title shows a
    // remembered name and that belong to a viewer process this process
    // started. Posts WM_CLOSE, so a hung viewer never holds the exit up.
    // Runs once; the number of windows asked to close.
    int CloseHelpWindows();

    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::vector<std::string> m_names;
    std::vector<DWORD> m_viewers;  // process ids of the viewers started
    bool m_closed = false;
};

// The process-wide instance.
CCadIntHelp& CadIntHelp();
int OpenHelpFile(const char* path, bool remember);

// The file-name part of a path (after the last folder separator), lower
// case; Shift_JIS characters stay intact.
std::string HelpFileNameKey(const char* path);

// Service command 1212: the path, or the default help file when null.
// Nothing happens when the file does not exist; ".hlp" files go to the
// Windows help program, the others to OpenHelpFile.
int RunHelpFileCommand(const char* path);
