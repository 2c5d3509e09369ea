// A real MDI frame with drawing windows in it; the view table, the input
// record and the settings the views read are reset around each test.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/running_settings.h"
#include "command/host_messages.h"
#include "view/cadwin_frame.h"
#include "view/view_data.h"
#include "win/mdi.h"

class CViewTestFrame : public CMDIFrameWindow {
public:
    int endCommandCount = 0;
    BEGIN_MSG_MAP(CViewTestFrame)
    MESSAGE_HANDLER(UM_END_CMD, OnEndCmd)
    CHAIN_MSG_MAP(CMDIFrameWindow)
    END_MSG_MAP()
    LRESULT OnEndCmd(UINT, WPARAM, LPARAM, BOOL&) {
        ++endCommandCount;
        return 1;
    }
};

class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A new drawing window (through the drawing windows' own creation).
    HWND NewDrawing(const char* title = "図面");
    // Sizes the view so that its client area is w x h pixels.
    static void SetClientSize(HWND view, int w, int h);
    static void Pump();
    // All three scales 1, offsets 0 (a resize rescales the view).
    static void ResetScales(HWND view);
    // Paper of the view's drawing: width, height (drawing units), origin
    // at the paper corner or centred.
    static void SetPaper(HWND view, double w, double h, bool corner, double scale = 1.0);

    CViewTestFrame m_main;
    RunningSettings m_savedSettings;
};

// A folder under the temporary folder, removed with its files.
class TempDir {
public:
    explicit TempDir(const char* tag);
    ~TempDir();
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Whether another program could open the file for writing now.
bool OthersCanWrite(const std::string& path);
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// Writes a drawing with `lines` lines through the library; its bytes.
std::string WriteDrawingFile(const std::string& path, int lines);
