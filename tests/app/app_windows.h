// Finding, clicking and photographing the windows of the running program
// from the test process.
#pragma once

#include <windows.h>

#include "tests/app/app_session.h"
#include "tests/app/app_shots.h"

// A visible window of the program by class (and control id, text, parent);
// null after the time-out.
HWND FindAppWindow(AppSession& app, const char* cls, int id = -1, const char* text = nullptr, HWND parent = nullptr,
                   DWORD timeoutMs = 20000);
// A visible top-level window of the program with that caption, or null.
HWND FindAppTopWindow(AppSession& app, const char* caption, DWORD timeoutMs = 20000);
// A left press and release at client point (x, y), posted.
void ClickWindow(AppSession& app, HWND w, int x, int y);
// A key pressed and released, posted.
void KeyWindow(AppSession& app, HWND w, WPARAM vk);
// Until `done` holds or the (time-scaled) time-out; whether it held.
bool WaitUntil(bool (*done)(void*), void* context, DWORD timeoutMs = 20000);
