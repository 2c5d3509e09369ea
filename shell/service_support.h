// Small routines of the service commands: the rubber rectangle while a
// window is dragged out, the drawing memo's information dialog, and the
// tool-panel and repaint helpers.
#pragma once

#include <windows.h>

// Draws the rectangle from the first corner (ServiceDragState) to the
// current point as four sides of the drag band (UM_DRAG_APPEND modes 0-3),
// then shows it (UM_DRAG_REDRAW). 1.
int DragRectangleCallback(double x, double y, double z);
// The side records the callback sends: the line element and the drag
// request (for tests).
const unsigned char* DragLineElement();  // 174 bytes

// Invalidates the window without erasing and updates it at once; nothing
// for null.
void RepaintWindowNow(HWND window);
// WM_COMMAND (wParam, 0) to the tool panel, when there is one.
void SendToolPanelCommand(WPARAM wParam);
// The on/off word of the tool panel's mid-point button (3999); 0 without
// panel or button.
int IsTwoPointMidButtonOn();

// The dialog procedure of "MEMODATA" (shown by service command 1318).
INT_PTR CALLBACK MemoInfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The memo's colour number at the start of its colour text ("3," is 3);
// 0 when the text holds no number.
int MemoColourNumber(const char* text);
