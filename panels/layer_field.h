// The layer field (window class "cmdlayerclass"): shows the group and name
// of the current layer of the active drawing and drops down the layers of
// the current page on a click. Messages: 1025 reload from the drawing,
// 1026 set (wParam page, lParam layer), 1027 the layer, 1028 the page; a
// choice is told to the parent as WM_COMMAND (id, code 1).
#pragma once

#include <windows.h>

LRESULT CALLBACK LayerFieldProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LayerDropProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
