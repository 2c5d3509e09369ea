// One run of the real program for a whole-program test.
//
// AppSession copies the installation folder (DistDir()) into a private
// folder, writes the test module's commands into that copy's CadAppCmd.def,
// switches the system log on there, and starts ZavIrurer.exe from it with a
// private per-user folder (local application data and documents). The test
// then drives it from outside as another program would, and reads back what
// the program and the test module wrote. Nothing is shared with the user's
// own folders or with another test.
//
//   AppSession app("clicks");
//   ASSERT_TRUE(app.Start());
//   HWND view = app.NewDrawing();
//   app.Command(30100);                        // a test-module command
//   ASSERT_TRUE(app.WaitModuleLine("ready"));
//   app.ClickAt(view, 100.0, 50.0);            // drawing coordinates
//   auto points = app.WaitModuleValues("point", 1);
//
// The test module (modules/test_cmd) writes its lines "TESTCMD <key> ..."
// into the file ModuleLogPath(); ModuleValues("point") parses the numbers of
// every "TESTCMD point x y" line. Every wait has a time-out, and a program
// that does not end when asked is killed, so no test hangs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A wait in milliseconds stretched by ZAV_TEST_TIME_SCALE (slow machines).
DWORD TestTimeScaled(DWORD ms);
// The whole file, read while others may write it ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);

class AppSession {
public:
    // `tag` names the private folders (for people looking at a failure).
    explicit AppSession(const char* tag);
    // Ends a program still running (killed when it does not close) and
    // removes the private folders.
    ~AppSession();
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;

    // --- The private folders (edit the installation before Start) --------
    const std::string& InstallDir() const { return m_install; }
    const std::string& UserDir() const { return m_user; }
    std::string InstallFile(const std::string& name) const { return m_install + "\\" + name; }
    // The per-user settings folder (local application data \ Qv \ VantrelV8).
    std::string UserSettingsDir() const;
    // Sets element <name> of the installation's ConfigData.xml (seeded into
    // the per-user copy at the first start). False when it is missing.
    bool SetSystemSetting(const std::string& name, const std::string& value);
    // The same for element <name> of the installation's LocalSettings.xml
    // (the per-user settings of the first start). Prepare sets
    // iStartOpenDlgFg to 1: the program starts without the start menu.
    bool SetUserSetting(const std::string& name, const std::string& value);
    // True when the copy and the test commands were written.
    bool Prepared() const { return m_prepared; }

    // --- The process --------------------------------------------------------
    // Starts the program with `args` and waits until its main frame is shown
    // and has finished its start-up. False (with the reason in LastError())
    // when it does not come up within the time-out.
    bool Start(const std::string& args = "", DWORD timeoutMs = 30000);
    // Asks the main frame to close and waits for the process; a program
    // still running after the time-out is killed. True when it ended by
    // itself; its exit code in ExitCode().
    bool Close(DWORD timeoutMs = 30000);
    // Close, then Start again with the same folders.
    bool Restart(const std::string& args = "", DWORD timeoutMs = 30000);
    bool Running() const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }
    DWORD ExitCode() const { return m_exitCode; }
    HWND Frame() const { return m_frame; }
    const std::string& LastError() const { return m_error; }

    // --- Messages and DDE ---------------------------------------------------
    // SendMessage with a time-out (0 when it timed out).
    LRESULT Send(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = 20000);
    LRESULT SendFrame(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return Send(m_frame, msg, wParam, lParam); }
    bool Post(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Posts WM_COMMAND `id` to the main frame (as a menu or panel does).
    bool Command(int id);
    // Ends the running command (UM_END_CMD, posted: a waiting command sees
    // it in its own loop).
    bool EndCommand();
    // An XTYP_EXECUTE to service "RAZE", topic "System"; true when it was
    // acknowledged.
    bool DdeExecute(const std::string& text, DWORD timeoutMs = 20000);

    // --- Drawing windows ----------------------------------------------------
    // The view of the active drawing window, or null.
    HWND ActiveView();
    // Titles of the drawing windows.
    std::vector<std::string> DrawingTitles();
    // Until there are `count` drawing windows.
    bool WaitDrawingCount(size_t count, DWORD timeoutMs = 20000);
    // A new untitled drawing window (system command 4000, its dialog
    // confirmed as it comes), once the drawings the program makes by itself
    // at start-up are there; its view, or null.
    HWND NewDrawing(DWORD timeoutMs = 20000);
    // Opens a drawing file (DDE "{Open(") and waits until its window is the
    // active one; its view, or null.
    HWND OpenDrawing(const std::string& path, DWORD timeoutMs = 20000);
    // A drawing point in client pixels of `view`, and back, through the
    // view's own record of scale and offsets (read from the process).
    bool ViewPixelOf(HWND view, double x, double y, POINT* pixel);
    bool DrawingPointOf(HWND view, POINT pixel, double* x, double* y);
    // Pixels per drawing unit of the view's current mode (0 when unknown).
    double ViewScale(HWND view);
    // A left click at a drawing point: the pointer is put there and the
    // view gets the move, press and release. The pixel clicked, or {-1,-1}.
    POINT ClickAt(HWND view, double x, double y);
    // The same at a pixel.
    bool ClickPixel(HWND view, POINT pixel);

    // --- Pictures -----------------------------------------------------------
    // Saves the screen part `window` covers as <name>.bmp into ZAV_SHOT_DIR
    // when that is set (the screenshot scripts run the tests on a virtual
    // display); nothing otherwise.
    static void Shot(HWND window, const char* name);

    // --- Message boxes ------------------------------------------------------
    // A message box (dialog class) of the program, or null after the time-out.
    HWND WaitBox(DWORD timeoutMs = 20000);
    static std::string WindowTexts(HWND window);

    // --- What the program and the test module wrote -------------------------
    std::string ModuleLogPath() const { return m_user + "\\testcmd.log"; }
    std::string ModuleLog() const;
    // The "TESTCMD <key>" lines (without that prefix and the key).
    std::vector<std::string> ModuleLines(const std::string& key) const;
    bool WaitModuleLine(const std::string& key, size_t count = 1, DWORD timeoutMs = 20000) const;
    // Until the module's output holds `text` anywhere.
    bool WaitModuleText(const std::string& text, DWORD timeoutMs = 20000) const;
    // The numbers of each "TESTCMD <key> v1 v2 ..." line.
    std::vector<std::vector<double>> ModuleValues(const std::string& key) const;
    std::vector<std::vector<double>> WaitModuleValues(const std::string& key, size_t count,
                                                      DWORD timeoutMs = 20000) const;
    // Every system-log file of the runs so far, oldest first.
    std::string SystemLog() const;
    std::vector<std::string> SystemLogLines(const std::string& part) const;
    // The shell's call log of the runs so far (start-up and shut-down steps).
    std::string ShellTrace() const;

private:
    bool Prepare();
    bool SetSettingIn(const std::string& file, const std::string& name, const std::string& value);
    void EndProcess(DWORD timeoutMs);
    bool ReadViewRecord(HWND view, void* record, size_t size);

    std::string m_root, m_install, m_user, m_error;
    PROCESS_INFORMATION m_pi = {};
    HWND m_frame = nullptr;
    DWORD m_exitCode = STILL_ACTIVE;
    bool m_prepared = false;
};
