// What the test module's command files share: the host (the main frame
// StartCmd was given), the log line every step leaves, and the "/C:" word
// that picks a command. Each area keeps its commands in <area>_cmds.cpp with
// its own range of ids (listed in tests/app/TestCmd.def) and a dispatcher
// that StartCmd asks in turn.
#pragma once

#include <windows.h>

namespace testcmd {

// The main frame of the running command.
HWND Frame();
// SendMessage to the main frame.
LRESULT Host(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// One line into the host's log and into the file that ZAV_TESTCMD_LOG names
// ("TESTCMD <key> ..." lines, which the whole-program tests parse).
void Log(const char* format, ...);
// The word is `name`, followed by nothing or a blank.
bool Is(const char* word, const char* name);

// The wiring commands (30100-30199): true when `word` named one of them,
// with its StartCmd result in `result`.
bool RunWiringCommand(const char* word, const char* args, int* result);

// The settings commands (30200-30299): true when `word` named one of them,
// with its StartCmd result in `result`.
bool RunSettingsCommand(const char* word, const char* args, int* result);

// The closing, drawing-window and question commands (30300-30399): true
// when `word` named one of them, with its StartCmd result in `result`.
bool RunCloseCommand(const char* word, const char* args, int* result);

// The drawing-service commands (30400-30499): true when `word` named one of
// them, with its StartCmd result in `result`.
bool RunDbServiceCommand(const char* word, const char* args, int* result);

// The backup, file-dialog and placement commands (30800-30849): true when
// `word` named one of them, with its StartCmd result in `result`.
bool RunFilesCommand(const char* word, const char* args, int* result);
// The drawing-view commands (30600-30699): true when `word` named one of
// them, with its StartCmd result in `result`.
bool RunViewCommand(const char* word, const char* args, int* result);
// The dialog commands (30850-30899): true when `word` named one of them,
// with its StartCmd result in `result`.
bool RunDialogCommand(const char* word, const char* args, int* result);
// The service-command partners (30550-30599): true when `word` named one of
// them, with its StartCmd result in `result`.
bool RunServiceCommand(const char* word, const char* args, int* result);
// The raster commands (30900-30949, and the raster module's id in the
// tests' installation): true when `word` named one of them, with its
// StartCmd result in `result`.
bool RunRasterCommand(const char* word, const char* args, int* result);
// The modal-wait and view-service commands (30500-30549): true when `word`
// named one of them, with its StartCmd result in `result`.
bool RunWaitCommand(const char* word, const char* args, int* result);
// The application-panel commands (30700-30799): true when `word` named one
// of them, with its StartCmd result in `result`.
bool RunPanelCommand(const char* word, const char* args, int* result);
// The tool-panel commands (31000-31099): true when `word` named one of them,
// with its StartCmd result in `result`.
bool RunToolPanelCommand(const char* word, const char* args, int* result);

// The page and layer commands (31200-31299): true when `word` named one of
// them, with its StartCmd result in `result`.
bool RunLayerCommand(const char* word, const char* args, int* result);

}  // namespace testcmd
